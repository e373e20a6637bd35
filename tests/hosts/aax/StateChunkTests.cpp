#include "ChunkRecordBuffer.h"
#include "TestEffect.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

namespace
{
constexpr uint32_t elck = 0x656C636B;

/** The effect's chunk as a host fetches it: size first, then a record of that size. */
ChunkRecordBuffer savedChunk (TestEffect& effect)
{
    uint32_t size = 0;
    EXPECT_EQ (effect.stateChunkSize (elck, &size), resultSuccess);
    ChunkRecordBuffer buffer (size);
    EXPECT_EQ (effect.saveStateChunk (elck, buffer.record()), resultSuccess);
    return buffer;
}

std::array<float, 9> values (TestEffect& effect)
{
    std::array<float, 9> result {};
    for (int i = 0; i < 9; ++i)
        result[static_cast<size_t> (i)] = effect.value (std::to_string (i).c_str());
    return result;
}

bool compare (TestEffect& effect, ChunkRecordBuffer& chunk)
{
    bool isEqual = false;
    EXPECT_EQ (effect.compareStateChunk (chunk.record(), &isEqual), resultSuccess);
    return isEqual;
}

/** A data area of double entries, in the given order. */
ChunkRecordBuffer chunkOfDoubles (std::initializer_list<std::pair<const char*, double>> entries)
{
    AAX_CChunkDataParser writer;
    for (const auto& [name, value] : entries)
        writer.AppendDouble (name, value);

    ChunkRecordBuffer buffer (static_cast<size_t> (writer.ComputeChunkDataSize()));
    writer.GetChunkData (buffer.record());
    buffer.record()->chunkId = elck;
    return buffer;
}
} // namespace

TEST (StateChunk, TheProgramsChunkHasItsFixedLayout)
{
    TestEffect effect;
    effect.setUpWithoutHost();
    effect.setValue ("1", 0.5f);
    effect.setValue ("2", 0.9f);

    uint32_t size = 0;
    ASSERT_EQ (effect.stateChunkSize (elck, &size), resultSuccess);
    EXPECT_EQ (size, 112u);

    auto chunk = savedChunk (effect);
    const auto header = chunk.header();
    const auto data = chunk.data();

    EXPECT_EQ (std::vector<unsigned char> (header.begin(), header.begin() + 8),
               (std::vector<unsigned char> { 0x70, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF }));
    EXPECT_EQ (std::string (reinterpret_cast<const char*> (header.data()) + 24), "Complete Controls State");
    for (size_t i = 24 + 23; i < 56; ++i)
        EXPECT_EQ (header[i], 0) << i;

    EXPECT_EQ (std::vector<unsigned char> (data.begin(), data.begin() + 4), (std::vector<unsigned char> { 1, 1, 1, 1 }));
    EXPECT_EQ (std::vector<unsigned char> (data.begin() + 16, data.begin() + 28),
               (std::vector<unsigned char> { 0x64, 0x5F, 0x31, 0x00, 0x3F, 0xE0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00 }));
    EXPECT_EQ (std::vector<unsigned char> (data.begin() + 28, data.begin() + 40),
               (std::vector<unsigned char> { 0x64, 0x5F, 0x32, 0x00, 0x3F, 0xEC, 0xCC, 0xCC, 0xC0, 0x00, 0x00, 0x00 }));

    // Every entry is a double named after its parameter, and the bypass is not among them.
    for (int i = 0; i < 9; ++i)
    {
        EXPECT_EQ (data[static_cast<size_t> (4 + 12 * i)], 'd');
        EXPECT_EQ (data[static_cast<size_t> (6 + 12 * i)], '0' + i);
    }
}

TEST (StateChunk, RestoringASavedChunkGivesTheSameValues)
{
    TestEffect effect;
    effect.setUpWithoutHost();
    effect.setValue ("2", 0.9f);
    effect.setValue ("7", 0.123456f);
    const auto before = values (effect);
    auto chunk = savedChunk (effect);
    EXPECT_TRUE (compare (effect, chunk));

    for (int i = 0; i < 9; ++i)
        effect.setValue (std::to_string (i).c_str(), 0.0f);
    EXPECT_FALSE (compare (effect, chunk));

    EXPECT_EQ (effect.loadStateChunk (elck, chunk.record()), resultSuccess);
    EXPECT_EQ (values (effect), before);
    EXPECT_TRUE (compare (effect, chunk));

    // The bypass is kept out of the chunk: switching it changes nothing in the comparison.
    effect.parameter (kMasterBypassId)->setBool (true);
    EXPECT_TRUE (compare (effect, chunk));
}

TEST (StateChunk, EntriesInAnotherOrderOrMissingOrMistypedAreHandledByName)
{
    TestEffect effect;
    effect.setUpWithoutHost();

    auto reordered = chunkOfDoubles ({ { "8", 0.8 }, { "0", 0.25 }, { "4", 0.75 } });
    EXPECT_EQ (effect.loadStateChunk (elck, reordered.record()), resultSuccess);
    EXPECT_EQ (effect.value ("8"), 0.8f);
    EXPECT_EQ (effect.value ("0"), 0.25f);
    EXPECT_EQ (effect.value ("4"), 0.75f);
    EXPECT_EQ (effect.value ("3"), 0.3f); // no entry: left as it was
    EXPECT_FALSE (compare (effect, reordered));

    // An integer entry for a float parameter is not used, and compares as different.
    AAX_CChunkDataParser writer;
    for (int i = 0; i < 9; ++i)
        if (i == 5)
            writer.AppendInt32 ("5", 1);
        else
            writer.AppendDouble (std::to_string (i).c_str(), effect.value (std::to_string (i).c_str()));

    ChunkRecordBuffer mistyped (static_cast<size_t> (writer.ComputeChunkDataSize()));
    writer.GetChunkData (mistyped.record());
    mistyped.record()->chunkId = elck;
    EXPECT_EQ (effect.loadStateChunk (elck, mistyped.record()), resultSuccess);
    EXPECT_EQ (effect.value ("5"), 0.5f);
    EXPECT_FALSE (compare (effect, mistyped));
}

TEST (StateChunk, ACorruptOrShortRecordIsRefusedAndChangesNothing)
{
    TestEffect effect;
    effect.setUpWithoutHost();
    effect.setValue ("4", 0.75f);
    auto good = savedChunk (effect);
    const auto goodData = good.data();

    for (int i = 0; i < 9; ++i)
        effect.setValue (std::to_string (i).c_str(), 0.0f);
    const auto cleared = values (effect);

    // Every size the record could be cut to: only a cut between entries leaves a readable chunk.
    for (size_t size = 0; size < goodData.size(); ++size)
    {
        ChunkRecordBuffer cut (size);
        std::copy (goodData.begin(), goodData.begin() + static_cast<std::ptrdiff_t> (size), cut.record()->data());
        const bool betweenEntries = size >= 4 && (size - 4) % 12 == 0;

        if (betweenEntries)
            continue;

        EXPECT_EQ (effect.loadStateChunk (elck, cut.record()), resultBadChunkSize) << size;
        EXPECT_EQ (values (effect), cleared) << size;
    }

    auto wrongMarker = ChunkRecordBuffer::withData ({ 0x01, 0x01, 0x00, 0x01, 'd', '_', '1', 0x00, 0x3F, 0xE0, 0, 0, 0, 0, 0, 0 });
    EXPECT_EQ (effect.loadStateChunk (elck, wrongMarker.record()), resultBadChunkSize);
    EXPECT_EQ (effect.loadStateChunk (elck, nullptr), resultBadChunkSize);

    ChunkRecordBuffer negative (8, -8);
    EXPECT_EQ (effect.loadStateChunk (elck, negative.record()), resultBadChunkSize);

    // Values no float parameter can hold spoil the whole chunk, the readable entries before them too.
    for (const auto bad : { std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1.0e300 })
    {
        auto poisoned = chunkOfDoubles ({ { "0", 0.5 }, { "1", bad } });
        EXPECT_EQ (effect.loadStateChunk (elck, poisoned.record()), resultBadChunkSize);
        EXPECT_EQ (values (effect), cleared);
        EXPECT_FALSE (compare (effect, poisoned));
    }

    EXPECT_FALSE (compare (effect, wrongMarker));
}

TEST (StateChunk, ChunkIdsIndicesAndSizesAreChecked)
{
    TestEffect effect;
    effect.setUpWithoutHost();
    constexpr uint32_t juce = 0x6A756365;

    int32_t count = 0;
    uint32_t id = 99;
    EXPECT_EQ (effect.stateChunkCount (&count), resultSuccess);
    EXPECT_EQ (count, 1);
    EXPECT_EQ (effect.stateChunkId (0, &id), resultSuccess);
    EXPECT_EQ (id, elck);
    EXPECT_EQ (effect.stateChunkId (1, &id), resultBadChunkIndex);
    EXPECT_EQ (id, 0u);

    ChunkRecordBuffer chunk (112);
    const auto untouched = chunk.data();
    EXPECT_EQ (effect.saveStateChunk (elck, chunk.record()), resultBadChunkSize); // no size asked for yet
    EXPECT_EQ (chunk.data(), untouched);

    uint32_t size = 7;
    EXPECT_EQ (effect.stateChunkSize (juce, &size), resultBadChunkId);
    EXPECT_EQ (size, 0u);
    EXPECT_EQ (effect.saveStateChunk (juce, chunk.record()), resultBadChunkId);
    EXPECT_EQ (effect.loadStateChunk (juce, chunk.record()), resultBadChunkId);

    // Another chunk's record is its owner's to compare: no claim that it is equal.
    auto other = savedChunk (effect);
    other.record()->chunkId = juce;
    bool isEqual = true;
    EXPECT_EQ (effect.compareStateChunk (other.record(), &isEqual), resultBadChunkId);
    EXPECT_FALSE (isEqual);

    // A size that changed since the host asked for it is refused.
    effect.stateChunkSize (elck, &size);
    effect.addParameter (std::make_unique<AAX_CParameter<float>> ("extra", AAX_CString ("Extra"), 0.0f,
                                                                  AAX_CLinearTaperDelegate<float, 0> (0.0f, 1.0f),
                                                                  AAX_CNumberDisplayDelegate<float, 3, 0>(), true));
    EXPECT_EQ (effect.saveStateChunk (elck, chunk.record()), resultBadChunkSize);
}
