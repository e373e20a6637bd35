#include "GuiTestSupport.h"
#include "Oscillo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using GuiTestSupport::render;

namespace
{
/** Scope arrays of exactly 512 floats, as the processor allocates them, so any read past
    their end shows up under the address sanitizer.
*/
struct ScopeArrays
{
    void fill (int channel, float value) { buffer[(size_t) channel].fill (value); }

    Oscillo::ScopeSamples buffer {};
};

juce::Image paintScope (Oscillo& scope, int width = 236, int height = 83)
{
    scope.setSize (width, height);
    return render (scope);
}

/** The rows of a column that carry paint. */
int paintedRows (const juce::Image& image, int x)
{
    int rows = 0;
    for (int y = 0; y < image.getHeight(); ++y)
        rows += image.getPixelAt (x, y).getAlpha() > 128 ? 1 : 0;
    return rows;
}

bool isBlankImage (const juce::Image& image)
{
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixelAt (x, y).getAlpha() != 0)
                return false;
    return true;
}
} // namespace

TEST (Oscillo, ColumnsSpreadTheBlockOverTheWidth)
{
    EXPECT_EQ (Oscillo::sampleIndexForColumn (1.0f, 236.0f, 512), 2);
    EXPECT_EQ (Oscillo::sampleIndexForColumn (235.0f, 236.0f, 512), 508);
    EXPECT_EQ (Oscillo::sampleIndexForColumn (118.0f, 236.0f, 512), 255);

    // Drawn: a lone spike at sample 2 shows in column 1 and nowhere else.
    ScopeArrays arrays;
    arrays.buffer[0][2] = 1.0f;
    Oscillo scope (&arrays.buffer, 512);
    const auto image = paintScope (scope);
    EXPECT_GT (paintedRows (image, 1), 0);
    for (int x = 2; x < 236; ++x)
        ASSERT_EQ (paintedRows (image, x), 0) << "column " << x;
    EXPECT_EQ (paintedRows (image, 0), 0);
}

TEST (Oscillo, BarsFadeInAndOutAtTheEdges)
{
    ScopeArrays arrays;
    arrays.fill (0, 1.0f);
    Oscillo scope (&arrays.buffer, 512);
    const auto image = paintScope (scope, 236, 84);

    // Full scale reaches the top edge: 42 rows above the zero line.
    EXPECT_EQ (paintedRows (image, 100), 42);
    EXPECT_EQ (paintedRows (image, 5), 21);   // 5 / 10 of full height
    EXPECT_EQ (paintedRows (image, 232), 21); // (236 - 232) * 0.125
    EXPECT_LT (paintedRows (image, 1), paintedRows (image, 5));
    GuiTestSupport::saveArtefact (image, "scope-fades");
}

TEST (Oscillo, TheRightTraceCoversTheLeftInItsOwnColour)
{
    ScopeArrays arrays;
    for (int i = 0; i < Oscillo::scopeSize; ++i)
    {
        arrays.buffer[0][i] = 0.8f * std::sin ((float) i * 0.05f);
        arrays.buffer[1][i] = 0.5f * std::sin ((float) i * 0.05f + 0.6f);
    }
    Oscillo scope (&arrays.buffer, 512);
    const auto image = paintScope (scope);
    GuiTestSupport::saveArtefact (image, "scope");

    // Column 60 shows sample 130: left 0.8 sin 6.5 = 0.17, right 0.5 sin 7.1 = 0.37,
    // both above the zero line; the right bar is the taller and covers the left one.
    const int mid = 41;
    EXPECT_EQ (image.getPixelAt (60, mid - 3), Oscillo::rightColour);
    EXPECT_EQ (image.getPixelAt (60, 1), juce::Colour());

    // Where only the left trace reaches, it shows in blue-grey.
    bool leftSeen = false;
    for (int x = 10; x < 228 && ! leftSeen; ++x)
        for (int y = 0; y < image.getHeight(); ++y)
            leftSeen = leftSeen || image.getPixelAt (x, y) == Oscillo::leftColour;
    EXPECT_TRUE (leftSeen);
}

TEST (Oscillo, SilenceAndMissingDataDrawNothing)
{
    ScopeArrays arrays;
    Oscillo silent (&arrays.buffer, 512);
    EXPECT_TRUE (isBlankImage (paintScope (silent)));

    Oscillo unattached (nullptr, 512);
    EXPECT_TRUE (isBlankImage (paintScope (unattached)));

    arrays.fill (0, 1.0f);
    Oscillo narrow (&arrays.buffer, 512);
    EXPECT_TRUE (isBlankImage (paintScope (narrow, 1, 83)));
}

TEST (Oscillo, AnySampleCountStaysInsideTheArrays)
{
    ScopeArrays arrays;
    arrays.fill (0, 0.9f);
    arrays.fill (1, -0.9f);
    Oscillo scope (&arrays.buffer, 0);

    for (const int count : { 0, 1, -1, -100000, std::numeric_limits<int32_t>::min() })
    {
        scope.sampleCount = count;
        EXPECT_TRUE (isBlankImage (paintScope (scope))) << count;
    }

    // More samples than the arrays hold draw as a full block.
    scope.sampleCount = 512;
    const auto full = paintScope (scope);
    for (const int count : { 513, 4096, std::numeric_limits<int32_t>::max() })
    {
        scope.sampleCount = count;
        const auto image = paintScope (scope);
        EXPECT_EQ (paintedRows (image, 120), paintedRows (full, 120)) << count;
    }

    EXPECT_EQ (Oscillo::sampleIndexForColumn (1.0f, 236.0f, 1), -1);
    EXPECT_EQ (Oscillo::sampleIndexForColumn (235.0f, 236.0f, 100000), 508);
}

TEST (Oscillo, NonFiniteSamplesNeverDrawOutsideTheView)
{
    ScopeArrays arrays;
    arrays.fill (0, std::numeric_limits<float>::quiet_NaN());
    arrays.fill (1, std::numeric_limits<float>::infinity());
    Oscillo scope (&arrays.buffer, 512);
    const auto image = paintScope (scope, 236, 84);
    EXPECT_EQ (paintedRows (image, 100), 42);
}

TEST (Oscillo, DrawsWhatTheProcessorLastPlayed)
{
    SorvaneAudioProcessor processor;
    processor.prepareToPlay (44100.0, 512);
    Oscillo scope (nullptr, 0);
    juce::MidiBuffer midi;

    const auto showNewestFrame = [&]
    {
        const auto* frame = processor.scopeBuffer.arrivedFrame();
        ASSERT_NE (frame, nullptr);
        scope.scopeData = &frame->samples;
        scope.sampleCount = frame->sampleCount;
    };

    // A host may hand over a single sample; the scope then has nothing to spread.
    juce::AudioSampleBuffer one (2, 1);
    one.setSample (0, 0, 0.8f);
    one.setSample (1, 0, 0.8f);
    processor.processBlock (one, midi);
    showNewestFrame();
    EXPECT_TRUE (isBlankImage (paintScope (scope)));

    juce::AudioSampleBuffer block (2, 256);
    for (int i = 0; i < 256; ++i)
        for (int channel = 0; channel < 2; ++channel)
            block.setSample (channel, i, 0.5f * std::sin ((float) i * 0.1f));
    processor.scopeBuffer.askForNext();
    processor.processBlock (block, midi);
    showNewestFrame();
    EXPECT_FALSE (isBlankImage (paintScope (scope)));
}
