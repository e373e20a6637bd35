#include "LumarroVSTWrapper.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
    struct Call
    {
        int32_t opcode;
        int32_t index;
        intptr_t value;
        float opt;
    };

    /** Records every host call, and reports the transport it is given. */
    struct Host
    {
        Host()  { active = this; }
        ~Host() { active = nullptr; }

        static intptr_t callback (VstEffectRecord*, int32_t opcode, int32_t index, intptr_t value, void*, float opt)
        {
            active->calls.push_back ({ opcode, index, value, opt });

            if (opcode == AudioEffectX::timeInfoHostOpcode)
                return active->reportTime ? (intptr_t) &active->time : 0;

            return 0;
        }

        std::vector<Call> calls;
        VstTimeInfoRecord time {};
        bool reportTime = true;

        static inline Host* active = nullptr;
    };

    class Wrapper : public ::testing::Test
    {
    protected:
        Host host;
        LumarroVSTWrapper wrapper { Host::callback, std::unique_ptr<juce::AudioProcessor> (createPluginFilter()) };
        juce::AudioProcessor& processor = wrapper.getProcessor();
    };
}

TEST_F (Wrapper, GesturesInsideThePlugInReachTheHostAsBeginAndEndEdit)
{
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    processor.beginParameterChangeGesture (4);
    processor.endParameterChangeGesture (4);
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE

    ASSERT_EQ (host.calls.size(), 2u);
    EXPECT_EQ (host.calls[0].opcode, 43);
    EXPECT_EQ (host.calls[0].index, 4);
    EXPECT_EQ (host.calls[1].opcode, 44);
    EXPECT_EQ (host.calls[1].index, 4);
}

TEST_F (Wrapper, ALatencyChangeUpdatesTheRecordAndTheHostsDisplay)
{
    processor.setLatencySamples (128);

    EXPECT_EQ (wrapper.effectRecord()->initialDelay, 128);
    ASSERT_FALSE (host.calls.empty());
    EXPECT_EQ (host.calls.back().opcode, 42);
}

TEST_F (Wrapper, ThePlayHeadReportsOnlyWhatTheHostMarksValid)
{
    auto* playHead = processor.getPlayHead();
    ASSERT_NE (playHead, nullptr);

    host.time.samplePosition = 96000.0;
    host.time.sampleRate = 48000.0;
    host.time.tempo = 90.0;
    host.time.timeSignatureNumerator = 6;
    host.time.timeSignatureDenominator = 8;
    host.time.ppqPosition = 3.0;
    host.time.barStartPosition = 2.0;
    host.time.cycleStartPosition = 1.0;
    host.time.cycleEndPosition = 5.0;
    host.time.flags = VstTimeInfoRecord::transportPlaying;

    auto position = playHead->getPosition();
    ASSERT_TRUE (position.hasValue());
    EXPECT_EQ (host.calls.back().opcode, 7);
    EXPECT_EQ (host.calls.back().value, 0xfe00);
    EXPECT_EQ (*position->getTimeInSamples(), 96000);
    EXPECT_EQ (*position->getTimeInSeconds(), 2.0);
    EXPECT_TRUE (position->getIsPlaying());
    EXPECT_FALSE (position->getIsRecording());
    EXPECT_FALSE (position->getBpm().hasValue());
    EXPECT_FALSE (position->getTimeSignature().hasValue());
    EXPECT_FALSE (position->getPpqPosition().hasValue());
    EXPECT_FALSE (position->getPpqPositionOfLastBarStart().hasValue());
    EXPECT_FALSE (position->getLoopPoints().hasValue());

    host.time.flags = VstTimeInfoRecord::tempoValid | VstTimeInfoRecord::timeSignatureValid | VstTimeInfoRecord::ppqPositionValid
                    | VstTimeInfoRecord::barsValid | VstTimeInfoRecord::cyclePositionValid | VstTimeInfoRecord::transportCycleActive
                    | VstTimeInfoRecord::transportRecording;

    position = playHead->getPosition();
    ASSERT_TRUE (position.hasValue());
    EXPECT_EQ (*position->getBpm(), 90.0);
    EXPECT_EQ (position->getTimeSignature()->numerator, 6);
    EXPECT_EQ (position->getTimeSignature()->denominator, 8);
    EXPECT_EQ (*position->getPpqPosition(), 3.0);
    EXPECT_EQ (*position->getPpqPositionOfLastBarStart(), 2.0);
    EXPECT_EQ (position->getLoopPoints()->ppqStart, 1.0);
    EXPECT_EQ (position->getLoopPoints()->ppqEnd, 5.0);
    EXPECT_FALSE (position->getIsPlaying());
    EXPECT_TRUE (position->getIsRecording());
    EXPECT_TRUE (position->getIsLooping());

    // A position no sample count can hold is left out rather than converted.
    host.time.samplePosition = 1.0e300;
    position = playHead->getPosition();
    ASSERT_TRUE (position.hasValue());
    EXPECT_FALSE (position->getTimeInSamples().hasValue());

    host.reportTime = false;
    EXPECT_FALSE (playHead->getPosition().hasValue());
}

TEST_F (Wrapper, EventListsPassOnlyMidiEventsAndSurviveOddEntries)
{
    // Bind controller 7 to DryWet through the state, then send it among other events.
    juce::MemoryBlock state;
    processor.getStateInformation (state);
    auto xml = processor.getXmlFromBinary (state.getData(), (int) state.getSize());
    ASSERT_NE (xml, nullptr);
    xml->getChildByName ("midiMapDryWet")->getFirstChildElement()->setText ("7");
    juce::MemoryBlock bound;
    juce::AudioProcessor::copyXmlToBinary (*xml, bound);
    processor.setStateInformation (bound.getData(), (int) bound.getSize());

    VstMidiEventRecord controller {}, sysex {};
    controller.type = VstMidiEventRecord::midiType;
    controller.deltaFrames = -5; // before the block: taken at its start
    controller.midiData[0] = 0xB0;
    controller.midiData[1] = 7;
    controller.midiData[2] = 0;
    sysex.type = 6;

    struct { int32_t numEvents; intptr_t reserved; VstMidiEventRecord* events[3]; } list { 3, 0, { &sysex, nullptr, &controller } };
    wrapper.dispatchHostOpcode (12, 0, 1, nullptr, 0.0f);
    host.calls.clear();
    EXPECT_EQ (wrapper.dispatchHostOpcode (25, 0, 0, &list, 0.0f), 1);

    float left[64] {}, right[64] {};
    float* channels[] { left, right };
    wrapper.processFloatBlock (channels, channels, 64);

    ASSERT_EQ (host.calls.size(), 1u);
    EXPECT_EQ (host.calls[0].opcode, 0);
    EXPECT_EQ (host.calls[0].index, 7);
    EXPECT_EQ (host.calls[0].opt, 0.0f);
}

TEST_F (Wrapper, ProcessingIgnoresMissingBuffersAndEmptyBlocks)
{
    float left[16], right[16];
    std::fill (std::begin (left), std::end (left), 0.5f);
    std::fill (std::begin (right), std::end (right), 0.5f);
    float* channels[] { left, right };
    float* missing[] { left, nullptr };

    wrapper.processFloatBlock (nullptr, channels, 16);
    wrapper.processFloatBlock (channels, nullptr, 16);
    wrapper.processFloatBlock (channels, channels, 0);
    wrapper.processFloatBlock (channels, channels, -16);
    wrapper.processFloatBlock (channels, missing, 16);
    EXPECT_EQ (right[0], 0.5f);

    // A missing input channel is silence.
    float* someInputs[] { nullptr, right };
    float outL[16], outR[16];
    std::fill (std::begin (outL), std::end (outL), 9.0f);
    float* outputs[] { outL, outR };
    wrapper.processFloatBlock (someInputs, outputs, 16);
    EXPECT_EQ (outL[0], 0.0f);
}

TEST_F (Wrapper, HostRequestsWithANullPointerAreDeclinedWithoutHarm)
{
    juce::MemoryBlock before;
    processor.getStateInformation (before);

    // Every operation of the wrapper that reads or writes through the host's pointer.
    for (const int32_t opcode : { 4, 5, 6, 7, 8, 23, 24, 25, 29, 33, 34, 45, 47, 48, 51 })
        EXPECT_EQ (wrapper.dispatchHostOpcode (opcode, 0, 100, nullptr, 0.0f), 0) << opcode;

    juce::MemoryBlock after;
    processor.getStateInformation (after);
    EXPECT_EQ (after, before);
}
