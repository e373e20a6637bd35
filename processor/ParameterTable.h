#pragma once

#include "SorvaneAudioProcessor.h"

#include <array>
#include <cmath>
#include <utility>

/** The note values of Sync mode: names for display and lengths in whole notes. */
constexpr int numNoteValues = 25;
extern const std::array<juce::String, numNoteValues> noteValueNames;
extern const std::array<float, numNoteValues> noteValueLengths;

namespace lumarro
{

/** A normalised value spread linearly from low (at 0) to high (at 1): a mode's delay in seconds,
    or what a control reads, in percent, dB or Hz.
*/
struct LinearRange
{
    float low, high;

    /** The reading for a normalised value. From a low end of 0 it is the plain product: adding
        that zero would turn a -0 into +0.
    */
    constexpr float fromNormalised (float value) const noexcept
    {
        return low == 0.0f ? high * value : (high - low) * value + low;
    }

    /** The normalised value for a control's reading, in double as a slider gives it; the span is
        taken in float, as the engine takes it.
    */
    constexpr double toNormalised (double reading) const noexcept
    {
        return (reading - low) / (high - low);
    }
};

//==============================================================================
/*  What each parameter's value means to the engine and on screen. The processor and the editor
    both read these, so a range changed here changes what is heard and what is shown together.
    The engine's renders depend on every float operation below, and on their order.
*/

/** DelayTime in seconds, in each mode but Sync, which keeps the range it had and reads
    DelayTime as a note value instead.
*/
inline constexpr LinearRange modeRanges[] { { 0.005f, 0.1f }, { 0.1f, 1.0f }, { 1.0f, 3.0f } };

/** DelayTime in Sync: a row of the note-value tables, before rounding. */
inline constexpr LinearRange noteIndexRange { 0.0f, (float) (numNoteValues - 1) };

/** The delay range a processor is in now: its mode's, or in Sync the one it had before. */
inline LinearRange currentDelayRange (const SorvaneAudioProcessor& processor) noexcept
{
    return { processor.minDelaySeconds, processor.maxDelaySeconds };
}

/** DelayFeedback in percent: 0 to 110 %, a feedback gain of 0 to 1.1. */
inline constexpr LinearRange feedbackPercent { 0.0f, 110.0f };

/** The feedback gain: the percent shown, over 100. */
inline float feedbackGain (float value) noexcept
{
    return feedbackPercent.fromNormalised (value) / 100.0f;
}

/** Balance, PingPong and DryWet in percent; the engine takes the value itself. */
inline constexpr LinearRange percent { 0.0f, 100.0f };

/** HighCut: the feedback's low-pass cutoff in Hz, falling on a curve from 20 kHz at 0 to 500 Hz at 1. */
inline float highCutHz (float value) noexcept
{
    return (std::pow (11.0f, 1.0f - value) - 1.0f) * 1950.0f + 500.0f;
}

/** LowCut: the feedback's high-pass cutoff in Hz. */
inline constexpr LinearRange lowCutHz { 20.0f, 500.0f };

/** Gain in dB: 0 dB at the default 0.9. */
inline constexpr LinearRange gainDecibels { -90.0f, 10.0f };

/** The linear output gain; -100 dB and below is silence. */
inline float outputGain (float value) noexcept
{
    const float decibels = gainDecibels.fromNormalised (value);
    return decibels > -100.0f ? std::pow (10.0f, decibels * 0.05f) : 0.0f;
}

/** The value labels' texts. The note name in Sync is picked within the 25 names whatever a
    restored value holds; seconds are ignored there.
*/
juce::String delayTimeText (int32_t mode, float storedValue, float seconds);
juce::String feedbackText (float value);
juce::String percentText (float value);
juce::String highCutText (float value);
juce::String lowCutText (float value);
juce::String gainText (float value);

/** The texts of a mode's (Short to Sync) shortest and longest delay, as the mode buttons' hover
    labels show them.
*/
std::pair<juce::String, juce::String> modeRangeTexts (int32_t mode);

/** How a mapped controller's value, 0 to 1, becomes a parameter value. */
enum class ControllerCurve
{
    linear,
    squareRoot  // a controller's middle lands at -19 dB rather than -40 dB of the gain's 100 dB span
};

/** What the host, a saved state and the MIDI mapping know of one parameter. */
struct ParameterInfo
{
    SorvaneAudioProcessor::ParameterIndex index;
    const char* name;           // the host's name
    float defaultValue;
    const char* stateElement;   // the saved state's element for the value
    const char* midiMapElement; // the saved state's element for the bound controller
    ControllerCurve controllerCurve;

    /** The value a mapped controller sends. Learning sends the plain controller value instead. */
    float valueFromController (float controllerValue) const noexcept
    {
        return controllerCurve == ControllerCurve::squareRoot ? std::sqrt (controllerValue) : controllerValue;
    }
};

/** One row per parameter, in the host's index order.

    The filters keep crossed names from the first release: the high cut is the feedback path's
    low-pass, so its value is saved as "LowPass" (and its slider is "sliderLowPass"), while the
    low cut is the high-pass, saved as "HighPass". Saved sessions hold these names, so they stay.
*/
inline constexpr std::array<ParameterInfo, SorvaneAudioProcessor::numParameters> parameterTable {{
    { SorvaneAudioProcessor::delayTimeIndex,     "DelayTime",     0.0f,  "DelayTime",     "midiMapDelayTime",     ControllerCurve::linear },
    { SorvaneAudioProcessor::delayFeedbackIndex, "DelayFeedback", 0.5f,  "DelayFeedback", "midiMapDelayFeedback", ControllerCurve::linear },
    { SorvaneAudioProcessor::modeIndex,          "Mode",          0.33f, "Mode",          "midiMapMode",          ControllerCurve::linear },
    { SorvaneAudioProcessor::balanceIndex,       "Balance",       0.5f,  "Balance",       "midiMapBalance",       ControllerCurve::linear },
    { SorvaneAudioProcessor::pingPongIndex,      "PingPong",      0.0f,  "PingPong",      "midiMapPingPong",      ControllerCurve::linear },
    { SorvaneAudioProcessor::highCutIndex,       "HighCut",       0.0f,  "LowPass",       "midiMapLowPass",       ControllerCurve::linear },
    { SorvaneAudioProcessor::lowCutIndex,        "LowCut",        0.0f,  "HighPass",      "midiMapHighPass",      ControllerCurve::linear },
    { SorvaneAudioProcessor::dryWetIndex,        "DryWet",        0.5f,  "DryWet",        "midiMapDryWet",        ControllerCurve::linear },
    { SorvaneAudioProcessor::gainIndex,          "Gain",          0.9f,  "Gain",          "midiMapGain",          ControllerCurve::squareRoot },
}};

static_assert ([]
{
    for (size_t i = 0; i < parameterTable.size(); ++i)
        if (parameterTable[i].index != (int) i)
            return false;

    return true;
}(), "each row stands at its parameter's index");

/** The defaults alone, in index order: what a new processor starts from. */
inline constexpr auto parameterDefaults = []
{
    std::array<float, parameterTable.size()> defaults {};

    for (size_t i = 0; i < defaults.size(); ++i)
        defaults[i] = parameterTable[i].defaultValue;

    return defaults;
}();

} // namespace lumarro
