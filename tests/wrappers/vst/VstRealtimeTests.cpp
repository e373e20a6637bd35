// The wrapper's MIDI road under the allocation-and-lock watch: event lists and the blocks after them,
// sent through the effect record's entries as a host sends them.
#include "AudioThreadLocks.h"
#include "LumarroVSTWrapper.h"
#include "SorvaneAudioProcessor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using realtimewatch::watchWhile;

namespace
{
    constexpr int blockLength = 512;

    /** A host whose own side neither allocates nor locks, so that whatever the watch sees is the
        plug-in's: it counts the changes it is told of and reports a steady transport. */
    struct QuietHost
    {
        static intptr_t callback (VstEffectRecord*, int32_t opcode, int32_t index, intptr_t, void*, float)
        {
            switch (opcode)
            {
                case AudioEffect::versionHostOpcode:
                    return 2400;

                case AudioEffect::automateHostOpcode:
                    ++numChanges;
                    lastIndex = index;
                    return 0;

                case AudioEffectX::timeInfoHostOpcode:
                    return (intptr_t) &time;

                default:
                    return 0;
            }
        }

        static inline int numChanges = 0;
        static inline int32_t lastIndex = -1;
        static inline VstTimeInfoRecord time {};
    };

    /** A host's event list: the count and the pointers laid out as the host lays them out. */
    class EventList
    {
    public:
        void addController (int controller, int value)
        {
            VstMidiEventRecord event {};
            event.type = VstMidiEventRecord::midiType;
            event.byteSize = (int32_t) sizeof (event);
            event.midiData[0] = 0xB0;
            event.midiData[1] = (uint8_t) controller;
            event.midiData[2] = (uint8_t) value;
            events.push_back (event);
        }

        /** The list as the host hands it over; valid until the events change. */
        void* record()
        {
            words.assign (2 + events.size(), nullptr);
            const auto count = (int32_t) events.size();
            std::memcpy (words.data(), &count, sizeof (count));

            for (size_t i = 0; i < events.size(); ++i)
                words[2 + i] = &events[i];

            return words.data();
        }

        std::vector<VstMidiEventRecord> events;

    private:
        std::vector<void*> words;
    };

    class VstRealtime : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            QuietHost::numChanges = 0;
            QuietHost::time.tempo = 120.0;
            QuietHost::time.sampleRate = 48000.0;
            QuietHost::time.timeSignatureNumerator = QuietHost::time.timeSignatureDenominator = 4;
            QuietHost::time.flags = VstTimeInfoRecord::tempoValid | VstTimeInfoRecord::timeSignatureValid;

            dispatch (AudioEffect::setSampleRateOpcode, 0, nullptr, 48000.0f);
            dispatch (AudioEffect::setBlockSizeOpcode, blockLength);
            dispatch (AudioEffect::switchProcessingOpcode, 1);
        }

        intptr_t dispatch (int32_t opcode, intptr_t value = 0, void* ptr = nullptr, float opt = 0.0f)
        {
            return record->dispatch (record, opcode, 0, value, ptr, opt);
        }

        /** One block as a host runs it: the event list, then the audio. */
        void runBlock (void* events)
        {
            dispatch (AudioEffectX::processEventsOpcode, 0, events);
            record->processReplacing (record, channels, channels, blockLength);
        }

        LumarroVSTWrapper wrapper { QuietHost::callback, std::unique_ptr<juce::AudioProcessor> (createPluginFilter()) };
        VstEffectRecord* record = wrapper.effectRecord();
        SorvaneAudioProcessor& processor = dynamic_cast<SorvaneAudioProcessor&> (wrapper.getProcessor());
        const AudioThreadLocks locks { processor };

        float left[blockLength] {}, right[blockLength] {};
        float* channels[2] { left, right };
    };
}

TEST_F (VstRealtime, MappedControllersLearningAndModeChangesFromMidiOnlyLockToNotifyTheHost)
{
    constexpr int dryWetController = 7, modeController = 20, learnedController = 30;
    processor.midiMap[SorvaneAudioProcessor::dryWetIndex] = dryWetController;
    processor.midiMap[SorvaneAudioProcessor::modeIndex] = modeController;
    processor.midiLearnIndex = SorvaneAudioProcessor::pingPongIndex;
    processor.midiLearnActive = true;

    // The Mode controller walks Short, Normal, Long and Sync, and back.
    const int modeValues[] { 0, 43, 85, 127, 0, 127, 85, 43 };

    for (int block = 0; block < 8; ++block)
    {
        EventList list;
        list.addController (dryWetController, 16 * block);
        list.addController (modeController, modeValues[block]);
        list.addController (learnedController, 10 * block);
        auto* events = list.record();
        left[0] = 0.5f;

        QuietHost::numChanges = 0;
        const auto seen = watchWhile ([&] { runBlock (events); });

        // Each message is learned, each mapped one drives its parameter, and every Mode value re-sends the delay time.
        ASSERT_EQ (QuietHost::numChanges, 3 + 1 + 2) << "block " << block;
        ASSERT_TRUE (locks.allowedOnly (seen, 1, QuietHost::numChanges)) << "block " << block;
        ASSERT_EQ (processor.currentMode, (int) std::round (3.0f * (float) modeValues[block] / 127.0f)) << "block " << block;
    }

    EXPECT_EQ (processor.midiMap[SorvaneAudioProcessor::pingPongIndex], learnedController);
}

TEST_F (VstRealtime, EventsBeyondTheLimitOfABlockAreDroppedAndTheFirstOnesKeptWithoutAllocating)
{
    constexpr int boundController = 7, unboundController = 99;
    processor.midiMap[SorvaneAudioProcessor::dryWetIndex] = boundController;

    // Only the last event within the limit and the one after it drive DryWet.
    EventList list;

    for (int i = 0; i < LumarroVSTWrapper::maxMidiEventsPerBlock - 1; ++i)
        list.addController (unboundController, 0);

    list.addController (boundController, 50);
    list.addController (boundController, 127);

    // One list, or the same events spread over two lists within one block: the limit is the block's.
    const auto split = list.events.size() / 2;
    EventList first, second;
    first.events.assign (list.events.begin(), list.events.begin() + (long) split);
    second.events.assign (list.events.begin() + (long) split, list.events.end());

    for (const bool inTwoLists : { false, true })
    {
        processor.setParameter (SorvaneAudioProcessor::dryWetIndex, 0.0f);
        auto* whole = list.record();
        auto* firstPart = first.record();
        auto* secondPart = second.record();
        QuietHost::numChanges = 0;

        const auto seen = watchWhile ([&]
        {
            if (inTwoLists)
                dispatch (AudioEffectX::processEventsOpcode, 0, firstPart);

            runBlock (inTwoLists ? secondPart : whole);
        });

        const auto* way = inTwoLists ? "two lists" : "one list";
        EXPECT_EQ (seen.allocations, 0) << way;
        EXPECT_EQ (QuietHost::numChanges, 1) << way;
        EXPECT_EQ (QuietHost::lastIndex, SorvaneAudioProcessor::dryWetIndex) << way;
        EXPECT_EQ (processor.getParameter (SorvaneAudioProcessor::dryWetIndex), 50.0f / 127.0f) << way;
    }

    // The next block takes a full list again.
    QuietHost::numChanges = 0;
    runBlock (list.record());
    EXPECT_EQ (QuietHost::numChanges, 1);
}
