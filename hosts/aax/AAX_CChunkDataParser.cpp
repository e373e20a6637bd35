#include "AAX_CChunkDataParser.h"

#include "AAX_Results.h"
#include "AAX_VHostServices.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

namespace
{
constexpr unsigned char marker[] = { 1, 1, 1, 1 };
constexpr int32_t tracePriority = 0x8000000;

constexpr int64_t roundUpTo4 (int64_t n) { return (n + 3) & ~int64_t (3); }

char tagLetter (AAX_CChunkDataParser::ChunkEntryType type)
{
    switch (type)
    {
        case AAX_CChunkDataParser::Float:  return 'f';
        case AAX_CChunkDataParser::Int32:  return 'l';
        case AAX_CChunkDataParser::Double: return 'd';
        case AAX_CChunkDataParser::Int16:  return 's';
        case AAX_CChunkDataParser::String: return 'r';
        case AAX_CChunkDataParser::None:   break;
    }

    return 0;
}

int64_t valueSize (AAX_CChunkDataParser::ChunkEntryType type, const AAX_CString& text)
{
    switch (type)
    {
        case AAX_CChunkDataParser::Float:
        case AAX_CChunkDataParser::Int32:
        case AAX_CChunkDataParser::Int16:  return 4;
        case AAX_CChunkDataParser::Double: return 8;
        case AAX_CChunkDataParser::String: return roundUpTo4 (int64_t (text.length()) + 1);
        case AAX_CChunkDataParser::None:   break;
    }

    return 0;
}

/** Bytes an entry takes when it starts on a multiple of 4: tag, name, NUL and padding, then the value
    with its own padding. */
int64_t entrySize (AAX_CChunkDataParser::ChunkEntryType type, const AAX_CString& name, const AAX_CString& text)
{
    return roundUpTo4 (int64_t (name.length()) + 3) + valueSize (type, text);
}

void writeBigEndian (unsigned char* destination, uint64_t value, int numBytes)
{
    for (int i = numBytes - 1; i >= 0; --i)
    {
        destination[i] = static_cast<unsigned char> (value & 0xff);
        value >>= 8;
    }
}

uint64_t readBigEndian (const unsigned char* source, int numBytes)
{
    uint64_t value = 0;

    for (int i = 0; i < numBytes; ++i)
        value = (value << 8) | source[i];

    return value;
}
} // namespace

void AAX_CChunkDataParser::ClearEntries()
{
    lastFoundIndex = -1;
    chunkVersion = -1;
    entries.clear();
}

void AAX_CChunkDataParser::AppendDouble (const char* name, double value)
{
    uint64_t bits;
    std::memcpy (&bits, &value, sizeof (bits));
    entries.push_back ({ Double, AAX_CString (name), bits, {} });
}

void AAX_CChunkDataParser::AppendInt32 (const char* name, int32_t value)
{
    entries.push_back ({ Int32, AAX_CString (name), static_cast<uint64_t> (static_cast<int64_t> (value)), {} });
}

void AAX_CChunkDataParser::AppendString (const char* name, const AAX_CString& text)
{
    entries.push_back ({ String, AAX_CString (name), 0, text });
}

int32_t AAX_CChunkDataParser::ComputeChunkDataSize() const
{
    int64_t size = sizeof (marker);

    for (const auto& entry : entries)
        if (entry.type != None)
            size += entrySize (entry.type, entry.name, entry.stringValue);

    return size > std::numeric_limits<int32_t>::max() ? -1 : static_cast<int32_t> (size);
}

int32_t AAX_CChunkDataParser::GetChunkData (StateChunkRecord* chunk) const
{
    const auto size = ComputeChunkDataSize();

    if (size < 0)
        return resultChunkOverflow;

    chunk->size = size;
    return writeDataArea (chunk->data(), size);
}

int32_t AAX_CChunkDataParser::writeDataArea (unsigned char* data, int32_t capacity) const
{
    if (capacity < static_cast<int32_t> (sizeof (marker)))
        return resultChunkOverflow;

    std::fill (data, data + capacity, static_cast<unsigned char> (0));
    std::memcpy (data, marker, sizeof (marker));
    int64_t offset = sizeof (marker);

    for (const auto& entry : entries)
    {
        if (entry.type == None)
            continue;

        if (offset + entrySize (entry.type, entry.name, entry.stringValue) > capacity)
        {
            traceToHost (tracePriority, "AAX_CChunkDataParser::GetChunkData ERROR: %s",
                         "aborting: chunk data will overflow buffer");
            return resultChunkOverflow;
        }

        data[offset] = static_cast<unsigned char> (tagLetter (entry.type));
        data[offset + 1] = '_';
        std::memcpy (data + offset + 2, entry.name.cText(), entry.name.length());
        offset = roundUpTo4 (offset + 2 + entry.name.length() + 1);

        switch (entry.type)
        {
            case Float:
            case Int32:
                writeBigEndian (data + offset, entry.value & 0xffffffffu, 4);
                offset += 4;
                break;
            case Int16:
                writeBigEndian (data + offset, entry.value & 0xffffu, 2);
                offset += 4;
                break;
            case Double:
                writeBigEndian (data + offset, entry.value, 8);
                offset += 8;
                break;
            case String:
                std::memcpy (data + offset, entry.stringValue.cText(), entry.stringValue.length());
                offset = roundUpTo4 (offset + entry.stringValue.length() + 1);
                break;
            case None:
                break;
        }
    }

    return resultSuccess;
}

bool AAX_CChunkDataParser::ParseChunk (const StateChunkRecord* chunk)
{
    ClearEntries();

    if (chunk == nullptr)
        return false;

    chunkVersion = chunk->version;
    const int64_t size = chunk->size;
    const auto* data = chunk->data();

    if (size < static_cast<int64_t> (sizeof (marker)) || std::memcmp (data, marker, sizeof (marker)) != 0)
        return false;

    // Every read below is checked against the data area's end first.
    const auto textLengthAt = [&] (int64_t start, int64_t maxLength) -> int64_t
    {
        const auto* end = static_cast<const unsigned char*> (std::memchr (data + start, 0, static_cast<size_t> (maxLength)));
        return end == nullptr ? -1 : end - (data + start);
    };

    for (int64_t offset = sizeof (marker); offset < size;)
    {
        const auto tagAndNameLength = textLengthAt (offset, std::min<int64_t> (size - offset, 255));

        if (tagAndNameLength < 0)
            return false;

        ChunkEntry entry;
        const auto* tagAndName = reinterpret_cast<const char*> (data + offset);
        entry.name = AAX_CString (tagAndNameLength > 2 ? std::string (tagAndName + 2, static_cast<size_t> (tagAndNameLength - 2)).c_str() : "");

        const auto valueOffset = roundUpTo4 (offset + tagAndNameLength + 1);
        const auto hasRoomFor = [&] (int64_t numBytes) { return valueOffset + numBytes <= size; };
        offset = valueOffset;

        switch (tagAndNameLength > 0 ? tagAndName[0] : 0)
        {
            case 'd':
                if (! hasRoomFor (8))
                    return false;
                entry.type = Double;
                entry.value = readBigEndian (data + valueOffset, 8);
                offset += 8;
                break;
            case 'f':
            case 'l':
                if (! hasRoomFor (4))
                    return false;
                entry.type = tagAndName[0] == 'f' ? Float : Int32;
                entry.value = readBigEndian (data + valueOffset, 4);
                offset += 4;
                break;
            case 's':
                if (! hasRoomFor (2))
                    return false;
                entry.type = Int16;
                entry.value = readBigEndian (data + valueOffset, 2);
                offset += 4;
                break;
            case 'r':
            {
                const auto textLength = valueOffset < size ? textLengthAt (valueOffset, size - valueOffset) : -1;

                if (textLength < 0)
                    return false;

                entry.type = String;
                entry.stringValue = AAX_CString (reinterpret_cast<const char*> (data + valueOffset));
                offset = roundUpTo4 (valueOffset + textLength + 1);
                break;
            }
            default:
                // An unknown tag is kept as an entry no lookup answers, so newer chunks still load.
                break;
        }

        entries.push_back (std::move (entry));
    }

    return true;
}

int32_t AAX_CChunkDataParser::FindEntryIndex (const AAX_CString& name)
{
    const auto count = static_cast<int32_t> (entries.size());

    if (lastFoundIndex >= count - 1)
        lastFoundIndex = -1;

    // Start just after the last hit, then wrap round to it.
    for (auto i = lastFoundIndex + 1; i < count; ++i)
        if (entries[static_cast<size_t> (i)].name == name)
            return lastFoundIndex = i;

    for (auto i = 0; i <= lastFoundIndex; ++i)
        if (entries[static_cast<size_t> (i)].name == name)
            return lastFoundIndex = i;

    return -1;
}

const AAX_CChunkDataParser::ChunkEntry* AAX_CChunkDataParser::findEntry (const char* name, ChunkEntryType type)
{
    const auto index = FindEntryIndex (AAX_CString (name));

    if (index < 0 || entries[static_cast<size_t> (index)].type != type)
        return nullptr;

    return &entries[static_cast<size_t> (index)];
}

bool AAX_CChunkDataParser::LookupDouble (const char* name, double* out)
{
    const auto* entry = findEntry (name, Double);

    if (entry == nullptr)
        return false;

    std::memcpy (out, &entry->value, sizeof (double));
    return true;
}

bool AAX_CChunkDataParser::LookupInt32 (const char* name, int32_t* out)
{
    const auto* entry = findEntry (name, Int32);

    if (entry == nullptr)
        return false;

    *out = static_cast<int32_t> (static_cast<uint32_t> (entry->value & 0xffffffffu));
    return true;
}

bool AAX_CChunkDataParser::LookupString (const char* name, AAX_IString* out)
{
    const auto* entry = findEntry (name, String);

    if (entry == nullptr || out == nullptr)
        return false;

    out->setText (entry->stringValue.cText());
    return true;
}
