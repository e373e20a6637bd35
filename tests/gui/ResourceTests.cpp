#include "BinaryData.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

namespace
{
struct ImageResource
{
    const char* name;
    const unsigned char* data;
    int size;
    int width, height;
};

const ImageResource images[] = {
    ImageResource { "modePlaceholderPng", BinaryData::modePlaceholderPng, BinaryData::modePlaceholderPngSize, 113, 110 },
    ImageResource { "modePlaceholderDownPng", BinaryData::modePlaceholderDownPng, BinaryData::modePlaceholderDownPngSize, 113, 110 },
    ImageResource { "gearIconPng", BinaryData::gearIconPng, BinaryData::gearIconPngSize, 22, 22 },
    ImageResource { "backgroundVariant0Jpg", BinaryData::backgroundVariant0Jpg, BinaryData::backgroundVariant0JpgSize, 620, 305 },
    ImageResource { "welcomePicturePng", BinaryData::welcomePicturePng, BinaryData::welcomePicturePngSize, 220, 280 },
    ImageResource { "sliderThumbPng", BinaryData::sliderThumbPng, BinaryData::sliderThumbPngSize, 27, 27 },
    ImageResource { "backgroundVariant1Jpg", BinaryData::backgroundVariant1Jpg, BinaryData::backgroundVariant1JpgSize, 620, 305 },
    ImageResource { "knobFeedbackFilmstripPng", BinaryData::knobFeedbackFilmstripPng, BinaryData::knobFeedbackFilmstripPngSize, 70, 8890 },
    ImageResource { "knobDelayTimeFilmstripPng", BinaryData::knobDelayTimeFilmstripPng, BinaryData::knobDelayTimeFilmstripPngSize, 70, 8890 },
    ImageResource { "modeLongPng", BinaryData::modeLongPng, BinaryData::modeLongPngSize, 53, 18 },
    ImageResource { "modeLongDownPng", BinaryData::modeLongDownPng, BinaryData::modeLongDownPngSize, 53, 18 },
    ImageResource { "modeNormalPng", BinaryData::modeNormalPng, BinaryData::modeNormalPngSize, 53, 18 },
    ImageResource { "modeNormalDownPng", BinaryData::modeNormalDownPng, BinaryData::modeNormalDownPngSize, 53, 18 },
    ImageResource { "modeShortPng", BinaryData::modeShortPng, BinaryData::modeShortPngSize, 53, 18 },
    ImageResource { "modeShortDownPng", BinaryData::modeShortDownPng, BinaryData::modeShortDownPngSize, 53, 18 },
    ImageResource { "modeSyncPng", BinaryData::modeSyncPng, BinaryData::modeSyncPngSize, 53, 18 },
    ImageResource { "modeSyncDownPng", BinaryData::modeSyncDownPng, BinaryData::modeSyncDownPngSize, 53, 18 },
};

/** How many pixels of a filmstrip frame carry the knob's lit accent (its value arc). */
int litPixels (const juce::Image& strip, int frame, juce::Colour accent)
{
    int count = 0;
    const juce::Image::BitmapData pixels (strip, 0, frame * 70, 70, 70);
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 70; ++x)
        {
            const auto c = pixels.getPixelColour (x, y);
            if (c.getAlpha() > 200 && std::abs (c.getHue() - accent.getHue()) < 0.03f
                && c.getSaturation() > 0.6f && c.getBrightness() > 0.55f)
                ++count;
        }
    return count;
}
} // namespace

TEST (Resources, EveryImageDecodesAtItsSizeAndLoadsOnceFromTheCache)
{
    for (const auto& resource : images)
    {
        SCOPED_TRACE (resource.name);
        const auto image = juce::ImageCache::getFromMemory (resource.data, resource.size);
        ASSERT_TRUE (image.isValid());
        EXPECT_EQ (image.getWidth(), resource.width);
        EXPECT_EQ (image.getHeight(), resource.height);

        // Same shared pixels: the second load is a cache hit, not a second decode.
        EXPECT_TRUE (image == juce::ImageCache::getFromMemory (resource.data, resource.size));
    }
}

TEST (Resources, BackgroundsAreOpaqueSoTheyCoverTheWholeWindow)
{
    for (const auto& resource : { images[3], images[6] })
    {
        const auto image = juce::ImageCache::getFromMemory (resource.data, resource.size);
        EXPECT_FALSE (image.hasAlphaChannel()) << resource.name;
    }
}

TEST (Resources, TheEmbeddedFontIsATypefaceThatDrawsText)
{
    const auto typeface = juce::Typeface::createSystemTypefaceFor (BinaryData::guiTypefaceTtf,
                                                                   (size_t) BinaryData::guiTypefaceTtfSize);
    ASSERT_NE (typeface, nullptr);
    EXPECT_EQ (typeface->getName(), "Roboto");

    const juce::Font font (typeface);
    EXPECT_GT (font.withHeight (13.0f).getStringWidthFloat ("DELAY TIME"), 40.0f);
}

TEST (Resources, KnobFramesTurnWithTheirIndex)
{
    // Frame i shows the knob at i / 126 of its travel: its lit arc never shrinks from one
    // frame to the next, is dark at the minimum and grows to its longest at the maximum.
    const std::pair<const ImageResource*, juce::Colour> strips[] = {
        { &images[8], juce::Colour (0xffe10035) },
        { &images[7], juce::Colour (0xff2a9fc0) },
    };

    for (const auto& [resource, accent] : strips)
    {
        SCOPED_TRACE (resource->name);
        const auto strip = juce::ImageCache::getFromMemory (resource->data, resource->size);
        int previous = litPixels (strip, 0, accent);
        EXPECT_LT (previous, 10);
        for (int frame = 1; frame < 127; ++frame)
        {
            const int lit = litPixels (strip, frame, accent);
            EXPECT_GE (lit + 4, previous) << "frame " << frame;
            previous = juce::jmax (previous, lit);
        }
        EXPECT_GT (litPixels (strip, 126, accent), 10 * litPixels (strip, 10, accent) / 2);
    }
}
