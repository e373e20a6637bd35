// Draws the plug-in's pictures into resources/images. Run through
// scripts/generate-resources.sh whenever the artwork changes; the output is committed.

#include "ArtworkPainter.h"

#include <iostream>

namespace
{
juce::Typeface::Ptr loadTypeface (const juce::File& file)
{
    juce::MemoryBlock data;
    if (! file.loadFileAsData (data))
    {
        std::cerr << "cannot read " << file.getFullPathName() << "\n";
        return nullptr;
    }
    return juce::Typeface::createSystemTypefaceFor (data.getData(), data.getSize());
}

bool write (const juce::Image& image, const juce::File& file)
{
    file.deleteFile();
    juce::FileOutputStream out (file);
    if (out.failedToOpen())
        return false;

    if (file.hasFileExtension ("jpg"))
    {
        juce::JPEGImageFormat jpeg;
        jpeg.setQuality (0.93f);
        return jpeg.writeImageToStream (image.convertedToFormat (juce::Image::RGB), out);
    }

    juce::PNGImageFormat png;
    return png.writeImageToStream (image, out);
}
} // namespace

int main (int argc, char* argv[])
{
    if (argc != 4)
    {
        std::cerr << "usage: " << argv[0] << " <output folder> <Roboto-Regular.ttf> <folder with Roboto-Medium.ttf and Roboto-Bold.ttf>\n";
        return 2;
    }

    const juce::ScopedJuceInitialiser_GUI juce;
    const juce::File outputFolder (juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]));
    const juce::File cwd = juce::File::getCurrentWorkingDirectory();
    const juce::File extraFonts (cwd.getChildFile (argv[3]));

    ArtworkPainter::Typefaces faces { loadTypeface (cwd.getChildFile (argv[2])),
                                      loadTypeface (extraFonts.getChildFile ("Roboto-Medium.ttf")),
                                      loadTypeface (extraFonts.getChildFile ("Roboto-Bold.ttf")) };
    if (faces.regular == nullptr || faces.medium == nullptr || faces.bold == nullptr)
        return 1;

    const ArtworkPainter painter (faces);
    const std::pair<const char*, juce::Image> images[] = {
        { "backgroundVariant0.jpg", painter.background (Palette::graphite(), 0) },
        { "backgroundVariant1.jpg", painter.background (Palette::midnight(), 1) },
        { "knobDelayTimeFilmstrip.png", painter.knobFilmstrip (Palette::accentRed) },
        { "knobFeedbackFilmstrip.png", painter.knobFilmstrip (Palette::feedbackTeal) },
        { "sliderThumb.png", painter.sliderThumb() },
        { "gearIcon.png", painter.gearIcon() },
        { "modeShort.png", painter.modeButton ("SHORT", false) },
        { "modeShortDown.png", painter.modeButton ("SHORT", true) },
        { "modeNormal.png", painter.modeButton ("NORMAL", false) },
        { "modeNormalDown.png", painter.modeButton ("NORMAL", true) },
        { "modeLong.png", painter.modeButton ("LONG", false) },
        { "modeLongDown.png", painter.modeButton ("LONG", true) },
        { "modeSync.png", painter.modeButton ("SYNC", false) },
        { "modeSyncDown.png", painter.modeButton ("SYNC", true) },
        { "modePlaceholder.png", painter.modePlaceholder (false) },
        { "modePlaceholderDown.png", painter.modePlaceholder (true) },
        { "welcomePicture.png", painter.welcomePicture() },
    };

    outputFolder.createDirectory();
    for (const auto& [name, image] : images)
    {
        const auto file = outputFolder.getChildFile (name);
        if (! write (image, file))
        {
            std::cerr << "cannot write " << file.getFullPathName() << "\n";
            return 1;
        }
        std::cout << file.getFileName() << " " << image.getWidth() << "x" << image.getHeight()
                  << " " << file.getSize() << " bytes\n";
    }
    return 0;
}
