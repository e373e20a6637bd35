#include "StateTextScreen.h"

#include <juce_core/juce_core.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace lumarro
{
namespace
{
    constexpr size_t maxTextBytes = 64 * 1024;
    constexpr int maxDepth = 16;
    constexpr int maxNames = 256;

    bool isSpace (char c) noexcept           { return c == ' ' || (c >= '\t' && c <= '\r'); }
    bool isDecimalDigit (char c) noexcept    { return c >= '0' && c <= '9'; }
    bool isHexDigit (char c) noexcept        { return isDecimalDigit (c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

    /** The characters JUCE's parser takes into a name, as far as ASCII goes. A name with any other
        character is refused, so that the parser and this screen always end a name at one place.
    */
    bool isNameChar (char c) noexcept
    {
        return isDecimalDigit (c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')
            || c == '_' || c == '-' || c == '.' || c == ':';
    }

    /** Walks the text once, the way JUCE's parser will read it, over the small part of XML that a
        saved state may use; anything outside that part is refused.
    */
    class Screen
    {
    public:
        Screen (const char* text, size_t numBytes) noexcept : pos (text), end (text + numBytes) {}

        bool acceptsDocument() noexcept
        {
            if (! skipProlog() || ! openElement())
                return false;

            while (depth > 0)
                if (! stepThroughContent())
                    return false;

            return true;
        }

    private:
        const char* pos;
        const char* const end;
        int depth = 0;
        int names = 0;

        bool skip (const char* prefix) noexcept
        {
            const auto length = std::strlen (prefix);

            if ((size_t) (end - pos) < length || std::memcmp (pos, prefix, length) != 0)
                return false;

            pos += length;
            return true;
        }

        bool skipPast (const char* terminator) noexcept
        {
            const auto* found = std::search (pos, end, terminator, terminator + std::strlen (terminator));

            if (found == end)
                return false;

            pos = found + std::strlen (terminator);
            return true;
        }

        void skipSpaces() noexcept
        {
            while (pos < end && isSpace (*pos))
                ++pos;
        }

        bool skipRun (bool (*belongs) (char), int maxLength) noexcept
        {
            const auto* start = pos;

            while (pos < end && belongs (*pos))
                ++pos;

            return pos > start && pos - start <= maxLength;
        }

        bool skipName() noexcept
        {
            return skipRun (isNameChar, std::numeric_limits<int>::max());
        }

        /** Whitespace, comments and instructions, up to the '<' of the root element. */
        bool skipProlog() noexcept
        {
            for (;;)
            {
                skipSpaces();

                if (skip ("<!--"))
                {
                    if (! skipPast ("-->"))
                        return false;
                }
                else if (skip ("<?"))
                {
                    if (! skipPast ("?>"))
                        return false;
                }
                else
                {
                    return skip ("<");
                }
            }
        }

        /** After an element's '<': its name and attributes, through its '>' or '/>'. */
        bool openElement() noexcept
        {
            if (depth >= maxDepth || ++names > maxNames || ! skipName())
                return false;

            for (;;)
            {
                skipSpaces();

                if (skip ("/>"))
                    return true;

                if (skip (">"))
                {
                    ++depth;
                    return true;
                }

                if (! skipAttribute())
                    return false;
            }
        }

        bool skipAttribute() noexcept
        {
            if (++names > maxNames || ! skipName())
                return false;

            skipSpaces();

            if (! skip ("="))
                return false;

            skipSpaces();

            if (pos == end || (*pos != '"' && *pos != '\''))
                return false;

            const char quote = *pos++;

            while (pos < end && *pos != quote)
            {
                if (*pos != '&')
                    ++pos;
                else if (! skipReference())
                    return false;
            }

            return pos < end && *pos++ == quote;
        }

        /** After '&': a character reference within the digits the parser reads, or a name, then ';'. */
        bool skipReference() noexcept
        {
            ++pos;

            if (skip ("#x") || skip ("#X"))
                return skipRun (isHexDigit, 8) && skip (";");

            if (skip ("#"))
                return skipRun (isDecimalDigit, 12) && skip (";");

            return skipName() && skip (";");
        }

        /** One step through an element's content: text, a reference, a comment, CDATA, a closing
            tag or a child element.
        */
        bool stepThroughContent() noexcept
        {
            if (pos == end)
                return false;

            if (*pos == '&')
                return skipReference();

            if (*pos != '<')
            {
                ++pos;
                return true;
            }

            if (skip ("<!--"))
                return skipPast ("-->");

            if (skip ("<![CDATA["))
                return skipPast ("]]>");

            if (skip ("</"))
            {
                --depth;
                return skipPast (">");
            }

            // An instruction here is what the parser reads without end; any other '<!' is a declaration.
            if (skip ("<?") || skip ("<!"))
                return false;

            ++pos;
            return openElement();
        }
    };
}

bool isSafeStateText (const char* text, size_t numBytes) noexcept
{
    return numBytes <= maxTextBytes
        && juce::CharPointer_UTF8::isValidString (text, (int) numBytes)
        && Screen (text, numBytes).acceptsDocument();
}

} // namespace lumarro
