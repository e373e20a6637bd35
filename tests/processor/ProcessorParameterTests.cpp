#include "ProcessorTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST (ProcessorParameters, AFreshProcessorHoldsTheDefaults)
{
    SorvaneAudioProcessor processor;
    const float expected[] { 0.0f, 0.5f, 0.33f, 0.5f, 0.0f, 0.0f, 0.0f, 0.5f, 0.9f };
    const char* const names[] { "DelayTime", "DelayFeedback", "Mode", "Balance", "PingPong", "HighCut", "LowCut", "DryWet", "Gain" };

    ASSERT_EQ (processor.getNumParameters(), 9);
    for (int i = 0; i < 9; ++i)
    {
        EXPECT_EQ (processor.getParameter (i), expected[i]) << i;
        EXPECT_EQ (processor.getParameterDefaultValue (i), expected[i]) << i;
        EXPECT_EQ (processor.getParameterName (i), names[i]) << i;
    }

    EXPECT_EQ (processor.currentMode, Normal);
    EXPECT_EQ (processor.minDelaySeconds, 0.1f);
    EXPECT_EQ (processor.maxDelaySeconds, 1.0f);
    EXPECT_EQ (processor.getParameterText (2), "0.33");
    EXPECT_EQ (processor.getParameterName (5), "HighCut");
    EXPECT_EQ (processor.getParameterName (6), "LowCut");
    EXPECT_EQ (processor.currentSampleRate, 44100.0f) << "a usable rate before the host prepares";
    EXPECT_EQ (processor.getTotalNumInputChannels(), 2);
    EXPECT_EQ (processor.getTotalNumOutputChannels(), 2);
    EXPECT_TRUE (processor.parametersChanged);
}

TEST (ProcessorParameters, OutOfRangeIndicesAreIgnored)
{
    SorvaneAudioProcessor processor;
    processor.parametersChanged = false;

    processor.setParameter (9, 0.5f);
    processor.setParameter (-1, 0.5f);

    EXPECT_FALSE (processor.parametersChanged);
    EXPECT_EQ (processor.getParameter (9), 0.0f);
    EXPECT_EQ (processor.getParameter (-1), 0.0f);
    EXPECT_TRUE (processor.getParameterName (9).isEmpty());
    EXPECT_TRUE (processor.getParameterText (-3).isEmpty());
    EXPECT_EQ (processor.getParameterDefaultValue (12), 0.0f);
}

TEST (ProcessorParameters, NonFiniteValuesChangeNothing)
{
    SorvaneAudioProcessor processor;
    processor.parametersChanged = false;

    for (int i = 0; i < 9; ++i)
    {
        processor.setParameter (i, std::numeric_limits<float>::quiet_NaN());
        processor.setParameter (i, std::numeric_limits<float>::infinity());
        processor.setParameter (i, -std::numeric_limits<float>::infinity());
    }

    EXPECT_FALSE (processor.parametersChanged);
    EXPECT_EQ (processor.getParameter (7), 0.5f);
    EXPECT_EQ (processor.delayLine.targetMix, 0.5f);
    EXPECT_EQ (processor.targetGain, 1.0f);
}

TEST (ProcessorParameters, ModeValuesSelectTheFourModes)
{
    SorvaneAudioProcessor processor;
    const struct { float value; int mode; float minSeconds, maxSeconds; } cases[] {
        { 0.0f, Short, 0.005f, 0.1f }, { 0.33f, Normal, 0.1f, 1.0f }, { 0.66f, Long, 1.0f, 3.0f },
        { 0.16f, Short, 0.005f, 0.1f }, { 0.17f, Normal, 0.1f, 1.0f },
    };

    for (const auto& c : cases)
    {
        processor.setParameter (2, c.value);
        EXPECT_EQ (processor.currentMode, c.mode) << c.value;
        EXPECT_EQ (processor.minDelaySeconds, c.minSeconds) << c.value;
        EXPECT_EQ (processor.maxDelaySeconds, c.maxSeconds) << c.value;
    }

    processor.setParameter (2, 1.0f);
    EXPECT_EQ (processor.currentMode, Sync);
    EXPECT_EQ (processor.maxDelaySeconds, 1.0f) << "Sync keeps the previous range";

    processor.setParameter (2, 2.0f);
    EXPECT_EQ (processor.currentMode, Sync) << "round(6) is no mode";
}

TEST (ProcessorParameters, AModeChangeResendsTheDelayTimeToTheHost)
{
    SorvaneAudioProcessor processor;
    RecordingListener listener;
    processor.addListener (&listener);

    processor.setParameter (0, 0.5f);
    processor.setParameter (2, 0.0f);
    ASSERT_EQ (listener.changes.size(), 1u);
    EXPECT_EQ (listener.changes[0].index, 0);
    EXPECT_EQ (listener.changes[0].value, 0.5f);
    EXPECT_FLOAT_EQ (processor.delayLine.targetDelay, (0.095f * 0.5f + 0.005f) * 44100.0f);

    processor.setParameter (2, 5.0f);
    EXPECT_EQ (listener.changes.size(), 2u) << "even a value that is no mode re-sends DelayTime";

    processor.removeListener (&listener);
}

TEST (ProcessorParameters, DelayTimeMapsIntoTheModeRange)
{
    SorvaneAudioProcessor processor;

    processor.setParameter (2, 0.0f);
    processor.setParameter (0, 0.0f);
    EXPECT_FLOAT_EQ (processor.delayLine.targetDelay, 220.5f);

    processor.prepareToPlay (192000.0, 512);
    processor.setParameter (2, 0.66f);
    processor.setParameter (0, 1.0f);
    EXPECT_EQ (processor.delayLine.targetDelay, 480000.0f) << "2.5 s is the longest the line holds";

    processor.setParameter (2, 1.0f);
    processor.setParameter (0, 0.5f);
    EXPECT_EQ (processor.noteIndex, 12);
    EXPECT_EQ (noteValueNames[(size_t) processor.noteIndex], "1/8");
    processor.setParameter (0, 1.0f);
    EXPECT_EQ (processor.noteIndex, 24);
}

TEST (ProcessorParameters, RestoredDelayTimesOutsideTheRangeStayWithinTheNoteTable)
{
    SorvaneAudioProcessor processor;
    processor.setParameter (2, 1.0f);

    processor.setParameter (0, 7.5f);
    EXPECT_EQ (processor.noteIndex, 24);
    processor.setParameter (0, -1.0e30f);
    EXPECT_EQ (processor.noteIndex, 0);
    EXPECT_EQ (SorvaneAudioProcessor::noteIndexForValue (1.0e30f), 24);
}

TEST (ProcessorParameters, GainFeedbackAndFilterMappings)
{
    SorvaneAudioProcessor processor;

    processor.setParameter (8, 0.9f);
    EXPECT_EQ (processor.targetGain, 1.0f);
    processor.setParameter (8, 1.0f);
    EXPECT_FLOAT_EQ (processor.targetGain, 3.1622777f);
    processor.setParameter (8, 0.0f);
    EXPECT_FLOAT_EQ (processor.targetGain, 3.1622777e-5f);

    processor.setParameter (1, 1.0f);
    EXPECT_FLOAT_EQ (processor.delayLine.targetFeedback, 1.1f);

    processor.setParameter (5, 0.0f);
    EXPECT_NEAR (processor.delayLine.lowPassL.targetCoefficient, 0.0579f, 5e-5f);
    EXPECT_EQ (processor.delayLine.lowPassR.targetCoefficient, processor.delayLine.lowPassL.targetCoefficient);
    processor.setParameter (5, 1.0f);
    EXPECT_FLOAT_EQ (processor.delayLine.lowPassL.targetCoefficient, std::exp (-6.2831855f * 500.0f / 44100.0f));

    processor.setParameter (6, 1.0f);
    EXPECT_FLOAT_EQ (processor.delayLine.highPassR.targetCoefficient, std::exp (-6.2831855f * 500.0f / 44100.0f));

    processor.prepareToPlay (8000.0, 64);
    processor.setParameter (5, 0.0f);
    EXPECT_NEAR (processor.delayLine.lowPassL.targetCoefficient, 0.00187f, 1e-5f) << "a cutoff above the rate";
}

TEST (ProcessorParameters, DryWetIsStoredAsSentButClampedInTheEngine)
{
    SorvaneAudioProcessor processor;
    processor.setParameter (7, 1.7f);
    EXPECT_EQ (processor.getParameter (7), 1.7f);
    EXPECT_EQ (processor.delayLine.targetMix, 1.0f);
}

TEST (ProcessorParameters, AGainFarAboveOneStaysFinite)
{
    SorvaneAudioProcessor processor;
    processor.setParameter (8, 11.0f);
    EXPECT_TRUE (std::isfinite (processor.targetGain));
}

TEST (ProcessorParameters, PrepareRecomputesRateDependentTargets)
{
    SorvaneAudioProcessor processor;
    processor.setParameter (0, 1.0f);
    processor.prepareToPlay (48000.0, 256);
    EXPECT_EQ (processor.currentSampleRate, 48000.0f);
    EXPECT_EQ (processor.delayLine.targetDelay, 48000.0f);
}

TEST (ProcessorParameters, OneProgramNamedDefault)
{
    SorvaneAudioProcessor processor;
    EXPECT_EQ (processor.getNumPrograms(), 1);
    EXPECT_EQ (processor.getProgramName (0), "default");
    EXPECT_EQ (processor.getProgramName (3), "other");
    processor.setCurrentProgram (2);
    EXPECT_EQ (processor.getCurrentProgram(), 0);
}

TEST (ProcessorParameters, TheNoteTablesRunFromA128thToTwoWholeNotes)
{
    EXPECT_EQ (noteValueNames.front(), "1/128");
    EXPECT_EQ (noteValueNames[1], "1/128d");
    EXPECT_EQ (noteValueNames[2], "1/64t");
    EXPECT_EQ (noteValueNames[15], "1/4");
    EXPECT_EQ (noteValueNames.back(), "2/1");

    for (size_t i = 0; i < noteValueNames.size(); ++i)
    {
        const auto name = noteValueNames[i];
        const auto plain = name.trimCharactersAtEnd ("td");
        const float base = (float) plain.upToFirstOccurrenceOf ("/", false, false).getIntValue()
                         / (float) plain.fromFirstOccurrenceOf ("/", false, false).getIntValue();
        const float factor = name.endsWith ("t") ? 2.0f / 3.0f : name.endsWith ("d") ? 1.5f : 1.0f;
        EXPECT_FLOAT_EQ (noteValueLengths[i], base * factor) << name;
    }
}
