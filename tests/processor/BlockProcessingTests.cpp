#include "ProcessorTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
    struct PreparedProcessor : ::testing::Test
    {
        void SetUp() override
        {
            processor.prepareToPlay (48000.0, 512);
            processor.setPlayHead (&playHead);
            processor.addListener (&listener);
        }

        void TearDown() override { processor.removeListener (&listener); }

        void process (juce::AudioSampleBuffer& buffer, juce::MidiBuffer midi = {})
        {
            processor.processBlock (buffer, midi);
            EXPECT_TRUE (midi.isEmpty()) << "the processor passes no MIDI on";
        }

        void processSilence (int numSamples, juce::MidiBuffer midi = {})
        {
            juce::AudioSampleBuffer buffer (2, numSamples);
            buffer.clear();
            process (buffer, std::move (midi));
        }

        /** Index of the loudest sample of a channel. */
        static int peakIndex (const juce::AudioSampleBuffer& buffer, int channel)
        {
            int best = 0;
            for (int i = 1; i < buffer.getNumSamples(); ++i)
                if (std::abs (buffer.getSample (channel, i)) > std::abs (buffer.getSample (channel, best)))
                    best = i;
            return best;
        }

        SorvaneAudioProcessor processor;
        FakePlayHead playHead;
        RecordingListener listener;
    };
}

TEST_F (PreparedProcessor, ControllersDriveTheirBoundParameters)
{
    processor.midiMap[7] = 7;
    processor.midiMap[8] = 7;

    processSilence (32, controllerMessages ({ juce::MidiMessage::controllerEvent (1, 7, 127) }));

    EXPECT_EQ (processor.getParameter (7), 1.0f);
    EXPECT_EQ (processor.getParameter (8), 1.0f);
    EXPECT_FLOAT_EQ (processor.targetGain, 3.1622777f) << "+10 dB";
    ASSERT_EQ (listener.changes.size(), 2u);
    EXPECT_EQ (listener.changes[0].index, 7);
}

TEST_F (PreparedProcessor, GainFollowsTheSquareRootOfItsController)
{
    processor.midiMap[8] = 11;
    processSilence (32, controllerMessages ({ juce::MidiMessage::controllerEvent (2, 11, 64) }));
    EXPECT_NEAR (processor.getParameter (8), 0.7099f, 1e-4f);
}

TEST_F (PreparedProcessor, OtherMessagesChangeNothing)
{
    processor.midiMap[0] = 1;
    processor.parametersChanged = false;
    processSilence (32, controllerMessages ({ juce::MidiMessage::noteOn (1, 60, (juce::uint8) 100),
                                              juce::MidiMessage::pitchWheel (1, 9000),
                                              juce::MidiMessage::programChange (1, 3) }));
    EXPECT_FALSE (processor.parametersChanged);
    EXPECT_TRUE (listener.changes.empty());
}

TEST_F (PreparedProcessor, LearningBindsTheControllerToTheTarget)
{
    processor.midiLearnActive = true;
    processor.midiLearnIndex = 4;

    processSilence (32, controllerMessages ({ juce::MidiMessage::controllerEvent (1, 20, 127) }));

    EXPECT_EQ (processor.midiMap[4], 20);
    EXPECT_EQ (processor.getParameter (4), 1.0f);
    EXPECT_EQ (processor.midiLearnIndex, 4) << "learning stays on the same target";
}

TEST_F (PreparedProcessor, LearningGainSendsTheRawValueAfterTheMapping)
{
    processor.midiMap[8] = 30;
    processor.midiLearnActive = true;
    processor.midiLearnIndex = 8;

    processSilence (32, controllerMessages ({ juce::MidiMessage::controllerEvent (1, 30, 64) }));

    ASSERT_EQ (listener.changes.size(), 2u);
    EXPECT_NEAR (listener.changes[0].value, 0.7099f, 1e-4f);
    EXPECT_FLOAT_EQ (listener.changes[1].value, 64.0f / 127.0f);
}

TEST_F (PreparedProcessor, AnOutOfRangeLearnTargetBindsNothing)
{
    processor.midiLearnActive = true;
    processor.midiLearnIndex = 9;
    processSilence (32, controllerMessages ({ juce::MidiMessage::controllerEvent (1, 20, 127) }));
    EXPECT_TRUE (listener.changes.empty());
}

TEST_F (PreparedProcessor, TheChannelFilterAlsoAppliesToLearning)
{
    processor.idxMidiChannel = 3;
    processor.midiMap[3] = 10;
    processor.midiLearnActive = true;
    processor.midiLearnIndex = 1;

    processSilence (32, controllerMessages ({ juce::MidiMessage::controllerEvent (4, 10, 0) }));
    EXPECT_EQ (processor.getParameter (3), 0.5f);
    EXPECT_EQ (processor.midiMap[1], -1);

    processSilence (32, controllerMessages ({ juce::MidiMessage::controllerEvent (3, 10, 0) }));
    EXPECT_EQ (processor.getParameter (3), 0.0f);
    EXPECT_EQ (processor.midiMap[1], 10);
}

TEST_F (PreparedProcessor, SyncAtOneTwentyGivesAQuarterNoteEcho)
{
    playHead.bpm = 120.0;
    playHead.signature = juce::AudioPlayHead::TimeSignature { 4, 4 };
    processor.setParameter (2, 1.0f);
    processor.setParameter (0, 15.0f / 24.0f);
    ASSERT_EQ (noteValueNames[(size_t) processor.noteIndex], "1/4");

    processSilence (16);
    EXPECT_EQ (processor.delayLine.targetDelay, 24000.0f);
}

TEST_F (PreparedProcessor, SyncHoldsTheLongestDelayForSlowTempos)
{
    playHead.bpm = 20.0;
    playHead.signature = juce::AudioPlayHead::TimeSignature { 4, 4 };
    processor.setParameter (2, 1.0f);
    processor.setParameter (0, 1.0f);

    processSilence (16);
    EXPECT_EQ (processor.delayLine.targetDelay, 480000.0f) << "24 s asked";

    playHead.bpm = 0.0;
    processSilence (16);
    EXPECT_EQ (processor.delayLine.targetDelay, 480000.0f) << "a tempo of 0 is infinitely slow";
}

TEST_F (PreparedProcessor, SyncNeverTargetsANaN)
{
    playHead.bpm = 120.0;
    playHead.signature = juce::AudioPlayHead::TimeSignature { 4, 4 };
    processor.setParameter (2, 1.0f);
    processor.setParameter (0, 15.0f / 24.0f);
    processSilence (16);

    playHead.bpm = 0.0;
    playHead.signature = juce::AudioPlayHead::TimeSignature { 4, 0 };
    processSilence (16);
    EXPECT_EQ (processor.delayLine.targetDelay, 24000.0f) << "0 / 0 keeps the previous target";
}

TEST_F (PreparedProcessor, SyncKeepsWhatThePlayHeadDoesNotReport)
{
    playHead.bpm = 60.0;
    playHead.signature = juce::AudioPlayHead::TimeSignature { 3, 8 };
    processor.setParameter (2, 1.0f);
    processor.setParameter (0, 15.0f / 24.0f);
    processSilence (16);
    const float expected = 0.25f * 60.0f / 60.0f * 8.0f * 48000.0f;
    EXPECT_EQ (processor.delayLine.targetDelay, expected);

    playHead.reports = false;
    processSilence (16);
    EXPECT_EQ (processor.delayLine.targetDelay, expected);

    playHead.reports = true;
    playHead.bpm = 120.0;
    playHead.signature.reset();
    processSilence (16);
    EXPECT_EQ (processor.delayLine.targetDelay, expected / 2.0f) << "the 3/8 signature stays";
}

TEST_F (PreparedProcessor, SyncWithoutAPlayHeadKeepsTheTarget)
{
    processor.setPlayHead (nullptr);
    processor.setParameter (0, 0.5f);
    const float before = processor.delayLine.targetDelay;
    processor.setParameter (2, 1.0f);
    processSilence (16);
    EXPECT_EQ (processor.delayLine.targetDelay, before);
}

TEST_F (PreparedProcessor, AFreshInstanceEchoesAtItsDefaultDelayFromItsFirstBlock)
{
    // Nothing was heard before the first block, so nothing glides into it: the echo is 0.1 s late.
    juce::AudioSampleBuffer buffer (2, 6000);
    buffer.clear();
    buffer.setSample (0, 0, 1.0f);
    process (buffer);

    int firstEcho = 1;
    while (firstEcho < buffer.getNumSamples() && buffer.getSample (0, firstEcho) == 0.0f)
        ++firstEcho;

    EXPECT_EQ (firstEcho, 4800);
    EXPECT_EQ (processor.delayLine.delay, 4800.0f);
    EXPECT_TRUE (processor.delayLine.isSettled());
}

TEST_F (PreparedProcessor, SyncedImpulseEchoesOnTheBeat)
{
    playHead.bpm = 120.0;
    playHead.signature = juce::AudioPlayHead::TimeSignature { 4, 4 };
    processor.setParameter (2, 1.0f);
    processor.setParameter (0, 15.0f / 24.0f);
    processor.setParameter (7, 1.0f);
    processSilence (16);
    settleProcessor (processor);

    juce::AudioSampleBuffer longer (2, 16384);
    for (int block = 0; block < 3; ++block)
    {
        longer.clear();
        if (block == 0)
            longer.setSample (0, 0, 1.0f);
        process (longer);
        if (block == 1)
        {
            EXPECT_EQ (peakIndex (longer, 0), 24000 - 16384);
        }
    }
}

TEST_F (PreparedProcessor, OutputGainGlidesWithinOneBlock)
{
    processSilence (0); // a first block would start the gain on its target
    processor.setParameter (7, 0.0f);
    settleProcessor (processor);
    processor.targetGain = 0.5f;

    juce::AudioSampleBuffer buffer (2, 512);
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < 512; ++i)
            buffer.setSample (channel, i, 1.0f);
    process (buffer);

    EXPECT_NEAR (processor.gain, 0.5384f, 5e-5f);
    EXPECT_EQ (buffer.getSample (1, 511), processor.gain) << "each sample takes the gain of its step";
    EXPECT_FLOAT_EQ (buffer.getSample (0, 0), (float) (0.995 + 0.5 * 0.005));
}

TEST_F (PreparedProcessor, TheGainGlideAdvancesWithoutChannels)
{
    processSilence (0);
    processor.gain = 1.0f;
    processor.targetGain = 0.5f;
    juce::AudioSampleBuffer buffer (0, 512);
    juce::MidiBuffer midi;
    processor.processBlock (buffer, midi);
    EXPECT_NEAR (processor.gain, 0.5384f, 5e-5f);
}

TEST_F (PreparedProcessor, TheGainSettlesOntoItsTarget)
{
    processor.gain = 1.0f;
    processor.targetGain = 0.5f;
    for (int block = 0; block < 20; ++block)
        processSilence (512);
    EXPECT_EQ (processor.gain, 0.5f);
}

TEST_F (PreparedProcessor, ABlockLongerThanTheLimitLeavesTheRestUntouched)
{
    juce::AudioSampleBuffer buffer (2, 20000);
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < 20000; ++i)
            buffer.setSample (channel, i, 1.5f);

    process (buffer);

    EXPECT_EQ (buffer.getSample (0, 16383), 1.0f) << "limited";
    EXPECT_EQ (buffer.getSample (0, 16384), 1.5f) << "untouched";
    EXPECT_EQ (buffer.getSample (1, 19999), 1.5f);
    EXPECT_EQ (processor.scopeBuffer.arrivedFrame()->sampleCount, 512);
}

TEST_F (PreparedProcessor, TheScopeHoldsTheStartOfTheLastBlock)
{
    juce::AudioSampleBuffer buffer (2, 100);
    for (int i = 0; i < 100; ++i)
    {
        buffer.setSample (0, i, 0.001f * (float) i);
        buffer.setSample (1, i, -0.001f * (float) i);
    }

    process (buffer);

    const auto* frame = processor.scopeBuffer.arrivedFrame();
    ASSERT_NE (frame, nullptr);
    EXPECT_EQ (frame->sampleCount, 100);
    EXPECT_EQ (frame->samples[0][99], buffer.getSample (0, 99));
    EXPECT_EQ (frame->samples[1][99], buffer.getSample (1, 99));

    // The frame stays as the editor found it while later blocks play, until it asks for the next.
    processSilence (300);
    EXPECT_EQ (frame->sampleCount, 100);
    EXPECT_EQ (frame->samples[0][99], buffer.getSample (0, 99));

    processor.scopeBuffer.askForNext();
    EXPECT_EQ (processor.scopeBuffer.arrivedFrame(), nullptr) << "nothing has arrived yet";
    processSilence (300);
    ASSERT_NE (processor.scopeBuffer.arrivedFrame(), nullptr);
    EXPECT_EQ (frame->sampleCount, 300);
    EXPECT_EQ (frame->samples[0][99], 0.0f);
}

TEST_F (PreparedProcessor, FullLeftBalanceSumsBothInputsIntoTheLeft)
{
    processor.setParameter (3, 0.0f);
    settleProcessor (processor);

    juce::AudioSampleBuffer buffer (2, 8);
    for (int i = 0; i < 8; ++i)
    {
        buffer.setSample (0, i, 0.25f);
        buffer.setSample (1, i, 0.125f);
    }
    process (buffer);

    EXPECT_EQ (processor.workBuffer[0][7], 0.375f);
    EXPECT_EQ (processor.workBuffer[1][7], 0.0f);
    EXPECT_EQ (buffer.getSample (1, 7), 0.0f) << "no echo has come back yet";
}

TEST_F (PreparedProcessor, ALimitedOutputNeverCarriesNaN)
{
    processor.setParameter (8, 11.0f);
    processor.setParameter (1, 1.0e30f);
    processor.setParameter (3, -1.0e30f);
    juce::AudioSampleBuffer buffer (2, 512);

    for (int block = 0; block < 4; ++block)
    {
        buffer.clear();
        buffer.setSample (0, 3, 0.7f);
        buffer.setSample (1, 9, -0.7f);
        process (buffer);

        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < 512; ++i)
                ASSERT_TRUE (std::abs (buffer.getSample (channel, i)) <= 1.0f) << channel << ":" << i;
    }
}

TEST (MonoProcessor, OneOutputChannelRunsTheMonoLine)
{
    SorvaneAudioProcessor processor;
    processor.setPlayConfigDetails (1, 1, 44100.0, 256);
    processor.prepareToPlay (44100.0, 256);
    processor.setParameter (3, 0.0f);
    processor.setParameter (4, 1.0f);
    processor.setParameter (7, 0.0f);
    settleProcessor (processor);

    juce::AudioSampleBuffer buffer (1, 64);
    for (int i = 0; i < 64; ++i)
        buffer.setSample (0, i, 0.5f);
    juce::MidiBuffer midi;
    processor.processBlock (buffer, midi);

    EXPECT_EQ (buffer.getSample (0, 63), 0.5f) << "balance has no effect on one channel";
    EXPECT_EQ (processor.scopeBuffer.arrivedFrame()->sampleCount, 64);
}
