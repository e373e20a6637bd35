#pragma once

#include "AAX_IDisplayDelegate.h"

#include <algorithm>
#include <vector>

/** Shows an on/off value as one of two texts, with optional shorter texts for narrow displays. */
template <typename T>
class AAX_CBinaryDisplayDelegate : public AAX_IDisplayDelegate<T>
{
public:
    AAX_CBinaryDisplayDelegate (const char* falseString, const char* trueString)
        : falseText (falseString), trueText (trueString),
          longestTextLength (std::max (falseText.length(), trueText.length()))
    {
    }

    AAX_CBinaryDisplayDelegate* clone() const override { return new AAX_CBinaryDisplayDelegate (*this); }

    /** Adds a pair of texts for displays of at most maxLength characters. Pairs are looked up from the
        last added to the first, so add them from the shortest to the longest. */
    void addShortTextPair (int32_t maxLength, const char* shortFalseText, const char* shortTrueText)
    {
        shortTexts.push_back ({ maxLength, AAX_CString (shortFalseText), AAX_CString (shortTrueText) });
    }

    bool formatValue (T value, AAX_CString* out) const override
    {
        *out = value ? trueText : falseText;
        return true;
    }

    bool formatValue (T value, int32_t maxChars, AAX_CString* out) const override
    {
        const auto limit = static_cast<uint32_t> (maxChars < 0 ? 0 : maxChars);

        if (shortTexts.empty() || limit >= longestTextLength)
            return formatValue (value, out);

        const auto fitting = std::find_if (shortTexts.rbegin(), shortTexts.rend(),
                                           [maxChars] (const ShortTextPair& pair) { return pair.maxLength <= maxChars; });
        const auto& pair = fitting != shortTexts.rend() ? *fitting : shortTexts.front();

        *out = value ? pair.trueText : pair.falseText;
        return true;
    }

    bool parseValue (const AAX_CString& text, T* out) const override
    {
        if (text == trueText)
        {
            *out = true;
            return true;
        }

        *out = false;
        return text == falseText;
    }

private:
    struct ShortTextPair
    {
        int32_t maxLength;
        AAX_CString falseText;
        AAX_CString trueText;
    };

    AAX_CString falseText;
    AAX_CString trueText;
    uint32_t longestTextLength;
    std::vector<ShortTextPair> shortTexts;
};
