#pragma once

#include <cstddef>

namespace lumarro
{

/** Decides whether the text of a saved state may be handed to JUCE's XML parser, in one pass
    that does not recurse.

    The parser has no defence against a hostile text. It recurses once per nested element, so
    deep nesting overflows the stack. Each new element or attribute name goes into a shared,
    sorted string pool, which makes many names cost time that grows with their square. It reads
    an instruction inside an element again and again, without end. It expands the entities that
    a document type defines, which can nest without end. A broken reference ('&' with no proper
    ';' ending) makes it take the characters after it, markup included, into the reference, or
    step past the end of the text, and so does a broken UTF-8 sequence.

    A state this plug-in writes is about 600 bytes of plain UTF-8, two levels deep, with 21
    elements and no attributes. So the screen refuses a text longer than 64 KiB, nested deeper
    than 16 elements, holding more than 256 element and attribute names, that is not valid UTF-8,
    or that holds a document type or other declaration, an instruction inside an element, or a
    broken reference. Comments, CDATA sections and instructions before or after the root element
    pass; what follows the root element is never parsed.
*/
bool isSafeStateText (const char* text, size_t numBytes) noexcept;

} // namespace lumarro
