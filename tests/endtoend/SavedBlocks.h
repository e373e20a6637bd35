#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

/** A saved block with one parameter's controller binding set: the block is a magic number, the
    text's byte count, the XML text and a zero byte.
*/
inline std::vector<char> withBinding (const std::vector<char>& block, const std::string& element, int controller)
{
    int32_t length = 0;
    std::memcpy (&length, block.data() + 4, 4);
    std::string text (block.data() + 8, (size_t) length);

    const auto open = "<" + element + ">";
    const auto start = text.find (open);
    const auto end = text.find ("</" + element + ">");
    EXPECT_TRUE (start != std::string::npos && end != std::string::npos) << element;

    if (start == std::string::npos || end == std::string::npos)
        return block;

    text.replace (start + open.size(), end - start - open.size(), std::to_string (controller));

    length = (int32_t) text.size();
    std::vector<char> result (8 + text.size() + 1, 0);
    std::memcpy (result.data(), block.data(), 4);
    std::memcpy (result.data() + 4, &length, 4);
    std::memcpy (result.data() + 8, text.data(), text.size());
    return result;
}
