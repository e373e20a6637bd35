// An editor opened into a process that has already drawn text with JUCE's own look, as a
// host or an earlier caller leaves it. This program has its own main: unlike the other GUI
// tests, nothing installs the plug-in's look before the tests run.

#include "BinaryData.h"
#include "EditorTestSupport.h"
#include "GuiTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

using EditorTestSupport::OpenEditor;

namespace
{
juce::Typeface::Ptr embeddedTypeface()
{
    return juce::Typeface::createSystemTypefaceFor (BinaryData::guiTypefaceTtf,
                                                    (size_t) BinaryData::guiTypefaceTtfSize);
}

/** Resolves the default sans-serif typeface and draws with it, so JUCE keeps both the
    typeface and its glyphs.
*/
juce::String drawWithTheDefaultSansSerif()
{
    juce::Image image (juce::Image::ARGB, 120, 20, true);
    juce::Graphics g (image);
    g.setColour (juce::Colours::white);

    for (const auto height : { 11.0f, 12.0f, 13.0f })
    {
        g.setFont (juce::Font (height));
        g.drawText ("100 ms 500 Hz -90 dB", image.getBounds(), juce::Justification::centred);
    }

    return juce::Font().getTypefacePtr()->getName();
}

void collectLabels (juce::Component& parent, std::vector<juce::Label*>& labels)
{
    for (auto* child : parent.getChildren())
    {
        if (auto* label = dynamic_cast<juce::Label*> (child))
            labels.push_back (label);

        collectLabels (*child, labels);
    }
}

/** The label drawn again on its own, with the embedded typeface handed to its font directly. */
juce::Image drawnWithTheEmbeddedTypeface (juce::Label& label)
{
    juce::Label copy (label.getName(), label.getText());
    copy.setFont (juce::Font (embeddedTypeface()).withHeight (label.getFont().getHeight()));
    copy.setJustificationType (label.getJustificationType());
    copy.setBorderSize (label.getBorderSize());
    copy.setMinimumHorizontalScale (label.getMinimumHorizontalScale());

    for (const auto id : { juce::Label::textColourId, juce::Label::backgroundColourId, juce::Label::outlineColourId })
        copy.setColour (id, label.findColour (id));

    copy.setBounds (label.getLocalBounds());
    return GuiTestSupport::render (copy);
}

bool samePixels (const juce::Image& a, const juce::Image& b)
{
    if (a.getBounds() != b.getBounds())
        return false;

    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
            if (a.getPixelAt (x, y) != b.getPixelAt (x, y))
                return false;

    return true;
}
} // namespace

TEST (EditorTypeface, LabelsDrawInTheEmbeddedTypefaceAfterTheProcessDrewInItsOwn)
{
    ASSERT_NE (drawWithTheDefaultSansSerif(), "Roboto") << "the system's default must differ for this to show anything";

    OpenEditor open;
    std::vector<juce::Label*> labels;
    collectLabels (*open.editor, labels);
    ASSERT_GT (labels.size(), 20u);

    for (auto* label : labels)
    {
        SCOPED_TRACE (label->getName() + " \"" + label->getText() + "\"");
        EXPECT_EQ (label->getFont().getTypefacePtr()->getName(), "Roboto");

        if (label->getText().isNotEmpty() && ! label->getBounds().isEmpty())
        {
            EXPECT_TRUE (samePixels (GuiTestSupport::render (*label), drawnWithTheEmbeddedTypeface (*label)));
        }
    }
}

int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);

    // As for the other GUI tests: a display that cannot exist keeps JUCE display-less.
    setenv ("DISPLAY", ":65535", 1);

    const juce::ScopedJuceInitialiser_GUI juceGui;
    return RUN_ALL_TESTS();
}
