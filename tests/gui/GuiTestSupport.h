#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace GuiTestSupport
{
/** Writes an image as a PNG into the build tree's artefact folder, for people to look at. */
inline void saveArtefact (const juce::Image& image, const juce::String& name)
{
    const juce::File folder (LUMARRO_ARTEFACT_DIR);
    folder.createDirectory();
    const auto file = folder.getChildFile (name + ".png");
    file.deleteFile();
    juce::FileOutputStream out (file);
    juce::PNGImageFormat().writeImageToStream (image, out);
}

/** Renders a component, with its children, at its own size. */
inline juce::Image render (juce::Component& component)
{
    return component.createComponentSnapshot (component.getLocalBounds(), true, 1.0f);
}

/** Pixels with no visible paint. */
inline bool isBlank (juce::Colour c) { return c.getAlpha() == 0; }
} // namespace GuiTestSupport
