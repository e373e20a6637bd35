#include "Oscillo.h"

#include <cmath>

const juce::Colour Oscillo::leftColour { 0xff3e6484 };
const juce::Colour Oscillo::rightColour { 0xffe10035 };

Oscillo::Oscillo (const ScopeSamples* scopeDataToUse, int32_t initialSampleCount)
    : scopeData (scopeDataToUse), sampleCount (initialSampleCount)
{
}

Oscillo::~Oscillo() = default;

int Oscillo::sampleIndexForColumn (float x, float width, int32_t count) noexcept
{
    // Blocks of 0 or 1 samples leave nothing to spread over the width; a count from a
    // corrupt or future processor must not reach past the arrays either.
    const int32_t usable = juce::jmin (count, (int32_t) scopeSize);
    if (usable < 2)
        return -1;

    return (int) std::round ((float) (usable - 2) * x / width);
}

void Oscillo::paint (juce::Graphics& g)
{
    if (scopeData == nullptr)
        return;

    const float w = (float) getWidth();
    const float mid = (float) getHeight() * 0.5f;

    g.setColour (leftColour);
    drawChannel (g, (*scopeData)[0].data(), w, mid);
    g.setColour (rightColour);
    drawChannel (g, (*scopeData)[1].data(), w, mid);
}

void Oscillo::drawChannel (juce::Graphics& g, const float* samples, float w, float mid) const
{
    if (samples == nullptr)
        return;

    for (float x = 1.0f; x < w; x += 1.0f)
    {
        const int index = sampleIndexForColumn (x, w, sampleCount);
        if (index < 0)
            return;

        // The processor limits its output to [-1, 1]; hold that here too so a bar never
        // leaves the view.
        float s = juce::jlimit (-1.0f, 1.0f, samples[index]);

        // Fade in over the first ten columns and out over the last eight.
        if (x < 10.0f)
            s = s * x / 10.0f;
        else if (x > w - 8.0f)
            s = s * (w - x) * 0.125f;

        const float y = mid - mid * s;
        if (std::isnan (y))
            continue;

        if (s > 0.0f)
            g.drawVerticalLine ((int) x, y, mid);
        else
            g.drawVerticalLine ((int) x, mid, y);
    }
}

void Oscillo::resized() {}
