#pragma once

#include "SorvaneAudioProcessor.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdint>

/** A small two-channel scope of the processor's last output block: left in blue-grey,
    right in red over it, each drawn as one bar per pixel column from the zero line to
    the sample. It owns nothing; the editor hands it the processor's scope buffer and
    updates the sample count before each repaint.
*/
class Oscillo : public juce::Component
{
public:
    /** A scope frame's arrays: left then right, scopeSize floats each. */
    using ScopeSamples = decltype (ScopeBuffer::Frame::samples);

    static constexpr int scopeSize = SorvaneAudioProcessor::scopeSize;

    Oscillo (const ScopeSamples* scopeData, int32_t sampleCount);
    ~Oscillo() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    static const juce::Colour leftColour;
    static const juce::Colour rightColour;

    /** The sample a pixel column shows, or -1 when there are too few samples to spread.
        Counts above scopeSize are read as scopeSize, so the index stays inside the arrays.
    */
    static int sampleIndexForColumn (float x, float width, int32_t sampleCount) noexcept;

    const ScopeSamples* scopeData;
    int32_t sampleCount;

private:
    void drawChannel (juce::Graphics& g, const float* samples, float width, float mid) const;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Oscillo)
};
