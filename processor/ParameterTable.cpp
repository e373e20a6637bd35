#include "ParameterTable.h"

const std::array<juce::String, numNoteValues> noteValueNames {
    "1/128", "1/128d",
    "1/64t", "1/64", "1/64d",
    "1/32t", "1/32", "1/32d",
    "1/16t", "1/16", "1/16d",
    "1/8t",  "1/8",  "1/8d",
    "1/4t",  "1/4",  "1/4d",
    "1/2t",  "1/2",  "1/2d",
    "1/1t",  "1/1",  "1/1d",
    "2/1t",  "2/1"
};

const std::array<float, numNoteValues> noteValueLengths {
    0.0078125f, 0.01171875f,
    0.010416667f, 0.015625f, 0.0234375f,
    0.020833334f, 0.03125f, 0.046875f,
    0.041666668f, 0.0625f, 0.09375f,
    0.083333336f, 0.125f, 0.1875f,
    0.16666667f, 0.25f, 0.375f,
    0.33333334f, 0.5f, 0.75f,
    0.6666667f, 1.0f, 1.5f,
    1.3333334f, 2.0f
};

namespace lumarro
{

namespace
{
    /** A reading truncated to whole units, as the value labels show it. */
    juce::String wholeUnitsText (float reading, const char* unit)
    {
        return juce::String ((int) reading) + unit;
    }

    juce::String millisecondsText (float seconds)
    {
        return wholeUnitsText (seconds * 1000.0f, " ms");
    }
}

juce::String delayTimeText (int32_t mode, float storedValue, float seconds)
{
    switch (mode)
    {
        case Normal:
        case Long:
            return juce::String (std::round (seconds * 100.0f) / 100.0f, 2) + " s";

        case Sync:
            return noteValueNames[(size_t) SorvaneAudioProcessor::noteIndexForValue (storedValue)];

        default:
            return millisecondsText (seconds);
    }
}

juce::String feedbackText (float value)
{
    return wholeUnitsText (feedbackPercent.fromNormalised (value), " %");
}

juce::String percentText (float value)
{
    return wholeUnitsText (percent.fromNormalised (value), " %");
}

juce::String highCutText (float value)
{
    const float frequency = highCutHz (value);

    if (frequency > 1000.0f)
        return juce::String (frequency / 1000.0f, 1) + " kHz";

    return wholeUnitsText (frequency, " Hz");
}

juce::String lowCutText (float value)
{
    // The label has always read from 0 Hz, not from the filter's low end: 0 to 500 Hz across the
    // slider, although the artwork's scale (like the filter) runs from 20 Hz.
    return wholeUnitsText (LinearRange { 0.0f, lowCutHz.high }.fromNormalised (value), " Hz");
}

juce::String gainText (float value)
{
    return wholeUnitsText (gainDecibels.fromNormalised (value), " dB");
}

std::pair<juce::String, juce::String> modeRangeTexts (int32_t mode)
{
    if (mode == Sync)
        return { noteValueNames.front(), noteValueNames.back() };

    // Short reads in milliseconds, like its delay label; the longer modes in seconds, as briefly as they print.
    const auto text = [mode] (float seconds)
    {
        return mode == Short ? millisecondsText (seconds) : juce::String (seconds) + " s";
    };

    const auto& range = modeRanges[mode];
    return { text (range.low), text (range.high) };
}

} // namespace lumarro
