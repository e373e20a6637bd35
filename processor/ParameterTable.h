#pragma once

#include "SorvaneAudioProcessor.h"

#include <array>
#include <cmath>

/** The note values of Sync mode: names for display and lengths in whole notes. */
constexpr int numNoteValues = 25;
extern const std::array<juce::String, numNoteValues> noteValueNames;
extern const std::array<float, numNoteValues> noteValueLengths;

namespace lumarro
{

/** The delay range of each mode but Sync, which keeps the range it had. */
struct ModeRange
{
    float minSeconds, maxSeconds;
};

inline constexpr ModeRange modeRanges[] { { 0.005f, 0.1f }, { 0.1f, 1.0f }, { 1.0f, 3.0f } };

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
