#include "AAX_CChunkDataParser.h"
#include "AAX_Results.h"
#include "ChunkRecordBuffer.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
ChunkRecordBuffer written (const AAX_CChunkDataParser& parser)
{
    ChunkRecordBuffer buffer (static_cast<size_t> (parser.ComputeChunkDataSize()));
    EXPECT_EQ (parser.GetChunkData (buffer.record()), resultSuccess);
    return buffer;
}
} // namespace

TEST (ChunkDataParser, WritesTaggedBigEndianEntriesPaddedToFour)
{
    AAX_CChunkDataParser parser;
    parser.AppendDouble ("1", 0.5);
    parser.AppendInt32 ("ab", -2);
    parser.AppendString ("s", AAX_CString ("text"));
    EXPECT_EQ (parser.ComputeChunkDataSize(), 4 + 12 + 12 + 12);

    const std::vector<unsigned char> expected {
        0x01, 0x01, 0x01, 0x01,
        'd', '_', '1', 0x00, 0x3F, 0xE0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        'l', '_', 'a', 'b', 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFE,
        'r', '_', 's', 0x00, 't', 'e', 'x', 't', 0x00, 0x00, 0x00, 0x00,
    };
    EXPECT_EQ (written (parser).data(), expected);
}

TEST (ChunkDataParser, ReadsBackWhatItWrote)
{
    AAX_CChunkDataParser writer;
    writer.AppendDouble ("level", 0.9f);
    writer.AppendInt32 ("mode", 3);
    writer.AppendString ("name", AAX_CString ("abcd"));
    writer.AppendDouble ("", -1.25);

    auto buffer = written (writer);
    AAX_CChunkDataParser reader;
    ASSERT_TRUE (reader.ParseChunk (buffer.record()));
    EXPECT_EQ (reader.getNumEntries(), 4);

    double d = 0;
    int32_t i = 0;
    AAX_CString s;
    EXPECT_TRUE (reader.LookupDouble ("level", &d));
    EXPECT_EQ (static_cast<float> (d), 0.9f);
    EXPECT_TRUE (reader.LookupInt32 ("mode", &i));
    EXPECT_EQ (i, 3);
    EXPECT_TRUE (reader.LookupString ("name", &s));
    EXPECT_STREQ (s.cText(), "abcd");
    EXPECT_TRUE (reader.LookupDouble ("", &d));
    EXPECT_EQ (d, -1.25);

    // A lookup of the wrong type or an absent name finds nothing and writes nothing.
    i = 77;
    EXPECT_FALSE (reader.LookupInt32 ("level", &i));
    EXPECT_FALSE (reader.LookupInt32 ("absent", &i));
    EXPECT_EQ (i, 77);
}

TEST (ChunkDataParser, TheWriterChecksEachEntryAtItsFullPaddedSize)
{
    // Names and texts of every length modulo 4, so every amount of padding is met.
    for (int length = 0; length < 8; ++length)
    {
        AAX_CChunkDataParser parser;
        const std::string name (static_cast<size_t> (length), 'n');
        parser.AppendString (name.c_str(), AAX_CString (std::string (static_cast<size_t> (length), 't').c_str()));
        parser.AppendInt32 (name.c_str(), length);

        const auto size = parser.ComputeChunkDataSize();
        std::vector<unsigned char> exact (static_cast<size_t> (size));
        EXPECT_EQ (parser.writeDataArea (exact.data(), size), resultSuccess) << length;

        // One byte short must be refused before anything is written past the buffer.
        std::vector<unsigned char> shortBuffer (static_cast<size_t> (size - 1));
        EXPECT_EQ (parser.writeDataArea (shortBuffer.data(), size - 1), resultChunkOverflow) << length;
    }
}

TEST (ChunkDataParser, FindsRepeatedNamesInTurnAndStartsAfterTheLastHit)
{
    AAX_CChunkDataParser writer;
    writer.AppendInt32 ("a", 1);
    writer.AppendInt32 ("b", 2);
    writer.AppendInt32 ("a", 3);
    auto buffer = written (writer);

    AAX_CChunkDataParser reader;
    ASSERT_TRUE (reader.ParseChunk (buffer.record()));
    EXPECT_EQ (reader.FindEntryIndex (AAX_CString ("a")), 0);
    EXPECT_EQ (reader.FindEntryIndex (AAX_CString ("a")), 2);
    EXPECT_EQ (reader.FindEntryIndex (AAX_CString ("a")), 0);
    EXPECT_EQ (reader.FindEntryIndex (AAX_CString ("b")), 1);
    EXPECT_EQ (reader.FindEntryIndex (AAX_CString ("B")), -1);
    EXPECT_EQ (reader.FindEntryIndex (AAX_CString ("a")), 2);
}

TEST (ChunkDataParser, KeepsUnknownAndUnreturnedEntryTypesOutOfLookups)
{
    auto buffer = ChunkRecordBuffer::withData ({
        0x01, 0x01, 0x01, 0x01,
        'x', '_', 'a', 0x00,                                   // unknown tag: no value follows
        'f', '_', 'b', 0x00, 0x3F, 0x80, 0x00, 0x00,           // float entries are read, never returned
        's', '_', 'c', 0x00, 0x00, 0x07, 0x00, 0x00,           // as are 16-bit ones
        'l', '_', 'd', 'd', 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05,
    });

    AAX_CChunkDataParser reader;
    ASSERT_TRUE (reader.ParseChunk (buffer.record()));
    EXPECT_EQ (reader.getNumEntries(), 4);

    double d = 0;
    int32_t i = 0;
    EXPECT_FALSE (reader.LookupDouble ("a", &d));
    EXPECT_FALSE (reader.LookupDouble ("b", &d));
    EXPECT_FALSE (reader.LookupInt32 ("c", &i));
    EXPECT_TRUE (reader.LookupInt32 ("dd", &i));
    EXPECT_EQ (i, 5);
}

TEST (ChunkDataParser, RefusesRecordsThatAreShortUnmarkedOrCutInsideAnEntry)
{
    AAX_CChunkDataParser reader;
    EXPECT_FALSE (reader.ParseChunk (nullptr));

    // Only the marker: a valid chunk with no entries.
    auto onlyMarker = ChunkRecordBuffer::withData ({ 0x01, 0x01, 0x01, 0x01 });
    EXPECT_TRUE (reader.ParseChunk (onlyMarker.record()));
    EXPECT_EQ (reader.getNumEntries(), 0);

    auto wrongMarker = ChunkRecordBuffer::withData ({ 0x01, 0x01, 0x01, 0x02, 'l', '_', 'a', 0x00, 0, 0, 0, 1 });
    EXPECT_FALSE (reader.ParseChunk (wrongMarker.record()));
    EXPECT_EQ (reader.getNumEntries(), 0);

    for (const int32_t size : { -1, 0, 3 })
    {
        ChunkRecordBuffer tooShort (0, size);
        EXPECT_FALSE (reader.ParseChunk (tooShort.record())) << size;
    }

    // A name with no NUL before the end, a value running past it, a text with no NUL.
    auto unterminatedName = ChunkRecordBuffer::withData ({ 0x01, 0x01, 0x01, 0x01, 'd', '_', 'a', 'b' });
    auto shortDouble = ChunkRecordBuffer::withData ({ 0x01, 0x01, 0x01, 0x01, 'd', '_', 'a', 0x00, 0x3F, 0xF0, 0, 0 });
    auto shortInt = ChunkRecordBuffer::withData ({ 0x01, 0x01, 0x01, 0x01, 'l', '_', 'a', 0x00, 0x00, 0x01 });
    auto unterminatedText = ChunkRecordBuffer::withData ({ 0x01, 0x01, 0x01, 0x01, 'r', '_', 'a', 0x00, 'x', 'y', 'z', 'w' });

    for (auto* record : { unterminatedName.record(), shortDouble.record(), shortInt.record(), unterminatedText.record() })
        EXPECT_FALSE (reader.ParseChunk (record));

    // A size field larger than the bytes the host really gave cannot be checked; one that is smaller
    // than the data is: the reader stops at it.
    auto cutBySize = ChunkRecordBuffer::withData ({ 0x01, 0x01, 0x01, 0x01, 'l', '_', 'a', 0x00, 0, 0, 0, 1 });
    cutBySize.record()->size = 10;
    EXPECT_FALSE (reader.ParseChunk (cutBySize.record()));
}
