#include "BlockSlicer.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace
{
    constexpr int slice = BlockSlicer::maxSliceLength;

    /** Keeps each call's slice instead of processing it: where its channel starts, its length and where its events fall. */
    struct RecordingProcessor : SorvaneAudioProcessor
    {
        using Call = std::tuple<const float*, int, std::vector<int>>;

        void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override
        {
            calls.emplace_back (buffer.getReadPointer (0), buffer.getNumSamples(), std::vector<int>());

            for (const auto event : midi)
                std::get<2> (calls.back()).push_back (event.samplePosition);
        }

        std::vector<Call> calls;
    };

    /** The calls a block of this length makes with controller events at these positions, listed as a host
        lists them or already in a buffer as a VST host's arrive. */
    std::vector<RecordingProcessor::Call> callsFor (int blockLength, const std::vector<int>& positions, bool inABuffer,
                                                    std::vector<float>& channel)
    {
        static const juce::uint8 controller[] { 0xB0, 7, 0 };
        std::vector<juce::MidiMessageMetadata> events;
        juce::MidiBuffer buffer;

        for (const auto position : positions)
        {
            events.emplace_back (controller, 3, position);
            buffer.addEvent (controller, 3, position);
        }

        channel.assign ((size_t) blockLength, 0.0f);
        float* const channels[] { channel.data() };
        RecordingProcessor processor;
        BlockSlicer slicer;

        if (inABuffer)
            slicer.process (processor, channels, 1, blockLength, buffer);
        else
            slicer.process (processor, channels, 1, blockLength, events.begin(), events.end(), [] (auto event) { return event; });

        return processor.calls;
    }
}

TEST (BlockSlicer, SlicesLongBlocksAndPlacesEachEventInTheSliceItFallsIn)
{
    struct Case { int blockLength; std::vector<int> positions; std::vector<std::tuple<int, int, std::vector<int>>> slices; };

    const Case cases[] {
        { slice, { 0, slice - 1 }, { { 0, slice, { 0, slice - 1 } } } },
        // One sample over: an event past the end counts on the last sample, so in the last slice.
        { slice + 1, { slice, 0, slice - 1, slice + 7 }, { { 0, slice, { 0, slice - 1 } }, { slice, 1, { 0, 0 } } } },
        { 2 * slice + 10, { 2 * slice + 3 }, { { 0, slice, {} }, { slice, slice, {} }, { 2 * slice, 10, { 3 } } } },
    };

    for (const auto& test : cases)
    {
        for (const bool inABuffer : { false, true })
        {
            std::vector<float> channel;
            const auto calls = callsFor (test.blockLength, test.positions, inABuffer, channel);
            std::vector<RecordingProcessor::Call> expected;

            for (const auto& [start, length, positions] : test.slices)
                expected.emplace_back (channel.data() + start, length, positions);

            EXPECT_EQ (calls, expected) << test.blockLength << (inABuffer ? " samples, in a buffer" : " samples, in a list");
        }
    }
}

TEST (BlockSlicer, EachSliceTakesTheFirstEventsUpToItsLimitInTheHostsOrder)
{
    // One more than the limit in the first slice, listed from its last position down, and one in the next.
    std::vector<int> positions;

    for (int position = BlockSlicer::maxMidiEventsPerSlice; position >= 0; --position)
        positions.push_back (position);

    positions.push_back (slice);
    std::vector<float> channel;
    const auto calls = callsFor (slice + 1, positions, false, channel);

    ASSERT_EQ (calls.size(), 2u);
    const auto& first = std::get<2> (calls[0]);
    ASSERT_EQ (first.size(), (size_t) BlockSlicer::maxMidiEventsPerSlice);
    EXPECT_EQ (first.front(), 1) << "the event listed last is the one dropped";
    EXPECT_EQ (std::get<2> (calls[1]), std::vector<int> { 0 });
}
