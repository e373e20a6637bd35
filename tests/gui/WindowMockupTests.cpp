// Lays the controls out at the editor's bounds over each background, to see (and keep as
// artefacts) how the artwork and the drawn controls sit together.

#include "AltLookAndFeel.h"
#include "BinaryData.h"
#include "GuiTestSupport.h"
#include "Oscillo.h"
#include "WelcomeGUI.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
juce::Image resourceImage (const unsigned char* data, int size)
{
    return juce::ImageCache::getFromMemory (data, size);
}

class Mockup : public juce::Component
{
public:
    explicit Mockup (int variant)
        : background (variant == 1 ? resourceImage (BinaryData::backgroundVariant1Jpg, BinaryData::backgroundVariant1JpgSize)
                                   : resourceImage (BinaryData::backgroundVariant0Jpg, BinaryData::backgroundVariant0JpgSize))
    {
        setSize (620, 305);

        addKnob (delayTime, delayTimeLookAndFeel, { 446, 124, 70, 70 }, 0.62);
        addKnob (feedback, feedbackLookAndFeel, { 295, 124, 70, 70 }, 0.5);

        const struct { juce::Rectangle<int> bounds; juce::uint32 track; double value; } linear[] = {
            { { 48, 47, 142, 40 }, 0xfffff200, 0.5 },
            { { 48, 90, 142, 40 }, 0xfffff200, 0.3 },
            { { 48, 149, 142, 40 }, 0xffff00a1, 0.15 },
            { { 48, 193, 142, 40 }, 0xffff00a1, 0.2 },
            { { 48, 251, 142, 40 }, 0xff00ff7c, 0.5 },
        };
        for (const auto& s : linear)
        {
            auto* slider = sliders.add (std::make_unique<juce::Slider> (juce::Slider::LinearHorizontal, juce::Slider::NoTextBox));
            slider->setRange (0.0, 1.0);
            slider->setValue (s.value, juce::dontSendNotification);
            slider->setColour (juce::Slider::backgroundColourId, juce::Colour (0x00ffffff));
            slider->setColour (juce::Slider::trackColourId, juce::Colour (s.track));
            slider->setBounds (s.bounds);
            addAndMakeVisible (*slider);
        }

        gain.setSliderStyle (juce::Slider::LinearVertical);
        gain.setLookAndFeel (&transparentLookAndFeel);
        gain.setTextBoxStyle (juce::Slider::TextBoxBelow, true, 80, 20);
        gain.setColour (juce::Slider::textBoxTextColourId, juce::Colour (0x0000fff5));
        gain.setColour (juce::Slider::textBoxBackgroundColourId, juce::Colour (0x00000000));
        gain.setColour (juce::Slider::textBoxOutlineColourId, juce::Colour (0x00000000));
        gain.setColour (juce::Slider::backgroundColourId, juce::Colour (0x00ffffff));
        gain.setColour (juce::Slider::trackColourId, juce::Colour (0xff00fff5));
        gain.setRange (-90.0, 10.0, 1.0);
        gain.setSkewFactor (3.0);
        gain.setValue (0.0, juce::dontSendNotification);
        gain.setBounds (12, 71, 37, 196);
        addAndMakeVisible (gain);

        const std::pair<const unsigned char*, int> modeImages[] = {
            { BinaryData::modeShortPng, BinaryData::modeShortPngSize },     { BinaryData::modeShortDownPng, BinaryData::modeShortDownPngSize },
            { BinaryData::modeNormalPng, BinaryData::modeNormalPngSize },   { BinaryData::modeNormalDownPng, BinaryData::modeNormalDownPngSize },
            { BinaryData::modeLongPng, BinaryData::modeLongPngSize },       { BinaryData::modeLongDownPng, BinaryData::modeLongDownPngSize },
            { BinaryData::modeSyncPng, BinaryData::modeSyncPngSize },       { BinaryData::modeSyncDownPng, BinaryData::modeSyncDownPngSize },
        };
        for (int i = 0; i < 4; ++i)
        {
            auto* button = modes.add (std::make_unique<juce::ImageButton>());
            const auto normal = resourceImage (modeImages[2 * i].first, modeImages[2 * i].second);
            const auto down = resourceImage (modeImages[2 * i + 1].first, modeImages[2 * i + 1].second);
            button->setImages (false, true, true, normal, 1.0f, {}, normal, 1.0f, {}, down, 1.0f, {}, 0.0f);
            button->setClickingTogglesState (true);
            button->setToggleState (i == 1, juce::dontSendNotification);
            button->setBounds (569, 177 + 20 * i, 53, 18);
            addAndMakeVisible (*button);
        }

        const auto gearImage = resourceImage (BinaryData::gearIconPng, BinaryData::gearIconPngSize);
        gear.setImages (false, true, true, gearImage, 0.85f, {}, gearImage, 1.0f, {}, gearImage, 1.0f, {}, 0.0f);
        gear.setBounds (593, 6, 18, 18);
        addAndMakeVisible (gear);

        addLabel (delayTimeLabel, "0.62 s", { 459, 199, 47, 18 }, juce::Colour (0xffe20036));
        addLabel (feedbackLabel, "55 %", { 307, 199, 47, 18 }, juce::Colour (0xff124250));

        for (int i = 0; i < Oscillo::scopeSize; ++i)
        {
            const float t = (float) i;
            scopeData[0][i] = 0.55f * std::sin (t * 0.071f) * std::exp (-t * 0.002f) + 0.12f * std::sin (t * 0.63f);
            scopeData[1][i] = 0.4f * std::sin (t * 0.071f + 1.9f) * std::exp (-t * 0.003f) + 0.1f * std::sin (t * 0.41f);
        }
        scope.setBounds (286, 224, 236, 83);
        addAndMakeVisible (scope);
    }

    ~Mockup() override
    {
        delayTime.setLookAndFeel (nullptr);
        feedback.setLookAndFeel (nullptr);
        gain.setLookAndFeel (nullptr);
    }

    void paint (juce::Graphics& g) override
    {
        g.setColour (juce::Colours::black);
        g.drawImage (background, 0, 0, 620, 305, 0, 0, background.getWidth(), background.getHeight(), false);
    }

private:
    void addKnob (juce::Slider& knob, juce::LookAndFeel& lookAndFeel, juce::Rectangle<int> bounds, double value)
    {
        knob.setSliderStyle (juce::Slider::RotaryVerticalDrag);
        knob.setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
        knob.setLookAndFeel (&lookAndFeel);
        knob.setRange (0.0, 1.0);
        knob.setValue (value, juce::dontSendNotification);
        knob.setBounds (bounds);
        addAndMakeVisible (knob);
    }

    void addLabel (juce::Label& label, const juce::String& text, juce::Rectangle<int> bounds, juce::Colour background)
    {
        label.setText (text, juce::dontSendNotification);
        label.setFont (juce::Font (13.0f));
        label.setJustificationType (juce::Justification::centred);
        label.setColour (juce::Label::backgroundColourId, background);
        label.setColour (juce::Label::textColourId, juce::Colours::white);
        label.setBounds (bounds);
        addAndMakeVisible (label);
    }

    juce::Image background;
    AltLookAndFeelDelayTime delayTimeLookAndFeel;
    AltLookAndFeelDelayFeedback feedbackLookAndFeel;
    AltLookAndFeel_transparentButton transparentLookAndFeel;
    juce::Slider delayTime, feedback, gain;
    juce::OwnedArray<juce::Slider> sliders;
    juce::OwnedArray<juce::ImageButton> modes;
    juce::ImageButton gear;
    juce::Label delayTimeLabel, feedbackLabel;
    Oscillo::ScopeSamples scopeData {};
    Oscillo scope { &scopeData, Oscillo::scopeSize };
};
} // namespace

TEST (WindowMockup, BothSchemesCoverTheWholeWindow)
{
    for (int variant = 0; variant < 2; ++variant)
    {
        Mockup window (variant);
        const auto image = GuiTestSupport::render (window);
        GuiTestSupport::saveArtefact (image, "window-variant" + juce::String (variant));

        for (int y = 0; y < 305; y += 4)
            for (int x = 0; x < 620; x += 4)
                ASSERT_EQ (image.getPixelAt (x, y).getAlpha(), 255) << x << ", " << y;

        WelcomeGUI about;
        window.addAndMakeVisible (about);
        GuiTestSupport::saveArtefact (GuiTestSupport::render (window), "window-variant" + juce::String (variant) + "-about");
        window.removeChildComponent (&about);
    }
}
