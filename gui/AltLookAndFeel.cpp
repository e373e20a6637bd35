#include "AltLookAndFeel.h"

#include "BinaryData.h"

#include <cmath>

const juce::Colour AltLookAndFeel::learnRed { 0xffff0000 };

AltLookAndFeel::AltLookAndFeel()
{
    setColour (juce::ComboBox::backgroundColourId, juce::Colour (0xff000000));
    setColour (juce::ComboBox::buttonColourId, juce::Colour (0xff000000));
    setColour (juce::ComboBox::outlineColourId, juce::Colour (0xfff5f5f5));
    setColour (juce::ComboBox::arrowColourId, juce::Colour (0xffffffff));
    setColour (juce::ComboBox::textColourId, juce::Colour (0xffffffff));
    setColour (juce::PopupMenu::highlightedBackgroundColourId, juce::Colour (0xffe10037));
    setColour (juce::TextButton::buttonColourId, juce::Colour (0xffffffff));
    setColour (juce::TextButton::buttonOnColourId, juce::Colour (0xffffffff));
    setColour (juce::TextButton::textColourOnId, juce::Colour (0xffffffff));
    setColour (juce::TextButton::textColourOffId, juce::Colour (0xffffffff));
}

AltLookAndFeel::~AltLookAndFeel() = default;

juce::Typeface::Ptr AltLookAndFeel::getTypefaceForFont (const juce::Font& font)
{
    // JUCE keeps typefaces in its own cache, so this runs once per font style, not per draw.
    if (font.getTypefaceName() == juce::Font::getDefaultSansSerifFontName())
        return juce::Typeface::createSystemTypefaceFor (BinaryData::guiTypefaceTtf,
                                                        (size_t) BinaryData::guiTypefaceTtfSize);

    return juce::LookAndFeel::getTypefaceForFont (font);
}

void AltLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button,
                                           const juce::Colour& backgroundColour, bool isMouseOverButton,
                                           bool isButtonDown)
{
    auto baseColour = backgroundColour.withMultipliedSaturation (button.hasKeyboardFocus (true) ? 1.3f : 0.9f)
                                      .withMultipliedAlpha (button.isEnabled() ? 0.9f : 0.5f);

    if (isButtonDown || isMouseOverButton)
        baseColour = baseColour.contrasting (isButtonDown ? 0.2f : 0.1f);

    const float w = (float) button.getWidth() - 1.0f;
    const float h = (float) button.getHeight() - 1.0f;

    if (w > 0.0f && h > 0.0f)
    {
        const bool flatLeft = button.isConnectedOnLeft();
        const bool flatRight = button.isConnectedOnRight();
        const bool flatTop = button.isConnectedOnTop();
        const bool flatBottom = button.isConnectedOnBottom();

        juce::Path outline;
        outline.addRoundedRectangle (0.5f, 0.5f, w, h, 4.0f, 4.0f,
                                     ! (flatLeft || flatTop), ! (flatRight || flatTop),
                                     ! (flatLeft || flatBottom), ! (flatRight || flatBottom));

        g.setGradientFill (juce::ColourGradient (baseColour.brighter (0.2f), 0.0f, 0.0f,
                                                 baseColour.darker (0.25f), 0.0f, h, false));
        g.fillPath (outline);

        const float brightness = baseColour.getBrightness();
        g.setColour (juce::Colours::white.withAlpha (0.4f * baseColour.getFloatAlpha() * brightness * brightness));
        g.strokePath (outline, juce::PathStrokeType (1.0f),
                      juce::AffineTransform::translation (0.0f, 1.0f).scaled (1.0f, (h - 1.6f) / h));

        g.setColour (juce::Colour (0xffffffff));
        g.strokePath (outline, juce::PathStrokeType (1.0f));
    }

    // A toggled button (the options panel's learn switch) shows the learn frame.
    if (button.getToggleState())
    {
        g.setColour (learnRed.withAlpha (0.9f));
        g.drawRect (0, 0, button.getWidth(), button.getHeight(), 1);
    }
}

juce::Font AltLookAndFeel::getTextButtonFont (juce::TextButton&, int)
{
    return juce::Font (13.0f);
}

void AltLookAndFeel::drawComboBox (juce::Graphics& g, int width, int height, bool, int buttonX, int buttonY,
                                   int buttonW, int buttonH, juce::ComboBox& box)
{
    g.fillAll (box.findColour (juce::ComboBox::backgroundColourId));

    g.setColour (box.findColour (juce::ComboBox::outlineColourId));
    g.drawRect (0, 0, width, height, 1);

    const float x = (float) buttonX;
    const float y = (float) buttonY;
    const float w = (float) buttonW;
    const float h = (float) buttonH;

    juce::Path arrows;
    arrows.addTriangle (x + w * 0.5f, y + h * (0.45f - 0.2f), x + w * 0.7f, y + h * 0.45f, x + w * 0.3f, y + h * 0.45f);
    arrows.addTriangle (x + w * 0.5f, y + h * 0.75f, x + w * 0.7f, y + h * 0.55f, x + w * 0.3f, y + h * 0.55f);

    // Same strength whether or not the box is enabled.
    g.setColour (box.findColour (juce::ComboBox::arrowColourId).withMultipliedAlpha (0.7f));
    g.fillPath (arrows);
}

juce::Font AltLookAndFeel::getComboBoxFont (juce::ComboBox&)
{
    return juce::Font (13.0f);
}

bool AltLookAndFeel::isLearnTarget (const juce::Slider& slider)
{
    return slider.isMouseOverOrDragging() && slider.isEnabled()
           && (bool) slider.getProperties().getWithDefault ("midiLearnOn", false);
}

void AltLookAndFeel::drawLinearSlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                                       float, float, juce::Slider::SliderStyle, juce::Slider& slider)
{
    g.fillAll (slider.findColour (juce::Slider::backgroundColourId));

    const bool horizontal = slider.isHorizontal();

    // The vertical track runs from the thumb down past the slider's end, to height + 13.
    juce::Path path;
    if (horizontal)
        path.addRectangle ((float) x, (float) y + (float) height * 0.5f, sliderPos - (float) x, 1.0f);
    else
        path.addRectangle ((float) x + (float) width * 0.5f, sliderPos, 1.0f, (float) (height + 12 + 1) - sliderPos);

    const auto colour = isLearnTarget (slider) ? learnRed : slider.findColour (juce::Slider::trackColourId);
    g.setColour (colour);
    g.strokePath (path, juce::PathStrokeType (1.0f));

    const float cx = horizontal ? sliderPos : (float) x + (float) width * 0.5f;
    const float cy = horizontal ? (float) y + (float) height * 0.5f : sliderPos;

    path.clear();
    path.addEllipse (cx - 5.75f, cy - 5.75f, 11.5f, 11.5f);
    g.fillPath (path);

    const auto thumb = juce::ImageCache::getFromMemory (BinaryData::sliderThumbPng, BinaryData::sliderThumbPngSize);
    const int thumbX = horizontal ? (int) (cx - 10.0f) : (int) (cx - 10.0f + 1.0f);
    const int thumbY = (int) (cy - 10.0f + 2.0f);
    g.drawImage (thumb, thumbX, thumbY, 20, 20, 0, 0, 27, 27, false);
}

void AltLookAndFeel::drawRotarySlider (juce::Graphics& g, int, int, int width, int height, float, float, float,
                                       juce::Slider& slider)
{
    if (isLearnTarget (slider))
        drawLearnCorners (g, (float) width + 2.0f, (float) height, 8.0f);
}

int AltLookAndFeel::filmstripFrameFor (float sliderPosProportional) noexcept
{
    // A restored state can carry any float, NaN included: keep the frame inside the strip.
    if (! (sliderPosProportional >= 0.0f))
        return 0;

    const float frame = std::floor (juce::jmin (sliderPosProportional, 1.0f) * (float) (numFilmstripFrames - 1));
    return (int) frame;
}

void AltLookAndFeel::drawFilmstripFrame (juce::Graphics& g, const void* data, int dataSize, int width, int height,
                                         float sliderPosProportional)
{
    const auto strip = juce::ImageCache::getFromMemory (data, dataSize);
    const int sourceY = (int) (filmstripFrameFor (sliderPosProportional) * (double) filmstripFrameSize);
    g.drawImage (strip, 0, 0, width, height, 0, sourceY, filmstripFrameSize, filmstripFrameSize, false);
}

void AltLookAndFeel::drawLearnCorners (juce::Graphics& g, float rightX, float height, float arm)
{
    const float r = rightX;
    const float h = height;
    const juce::Line<float> arms[] = {
        { 0.0f, arm, 0.0f, 0.0f },     { 0.0f, 0.0f, arm, 0.0f },
        { r, arm, r, 0.0f },           { r, 0.0f, r - arm, 0.0f },
        { r, h - arm, r, h },          { r, h, r - arm, h },
        { 0.0f, h - arm, 0.0f, h },    { 0.0f, h, arm, h },
    };

    juce::Path marks;
    for (const auto& line : arms)
        marks.addLineSegment (line, 1.0f);

    g.setColour (learnRed.withAlpha (0.9f));
    g.strokePath (marks, juce::PathStrokeType (1.0f));
}

//==============================================================================
AltLookAndFeelDelayTime::~AltLookAndFeelDelayTime() = default;

void AltLookAndFeelDelayTime::drawRotarySlider (juce::Graphics& g, int, int, int width, int height,
                                                float sliderPosProportional, float, float, juce::Slider& slider)
{
    drawFilmstripFrame (g, BinaryData::knobDelayTimeFilmstripPng, BinaryData::knobDelayTimeFilmstripPngSize,
                        width, height, sliderPosProportional);

    if (isLearnTarget (slider))
        drawLearnCorners (g, (float) width, (float) height, 5.0f);
}

//==============================================================================
AltLookAndFeelDelayFeedback::~AltLookAndFeelDelayFeedback() = default;

void AltLookAndFeelDelayFeedback::drawRotarySlider (juce::Graphics& g, int, int, int width, int height,
                                                    float sliderPosProportional, float, float, juce::Slider& slider)
{
    drawFilmstripFrame (g, BinaryData::knobFeedbackFilmstripPng, BinaryData::knobFeedbackFilmstripPngSize,
                        width, height, sliderPosProportional);

    if (isLearnTarget (slider))
        drawLearnCorners (g, (float) width, (float) height, 5.0f);
}

//==============================================================================
AltLookAndFeel_transparentButton::~AltLookAndFeel_transparentButton() = default;

void AltLookAndFeel_transparentButton::drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour&,
                                                             bool, bool)
{
}

void AltLookAndFeel_transparentButton::drawRotarySlider (juce::Graphics& g, int, int, int width, int height,
                                                         float sliderPosProportional, float, float, juce::Slider&)
{
    drawFilmstripFrame (g, BinaryData::knobFeedbackFilmstripPng, BinaryData::knobFeedbackFilmstripPngSize,
                        width, height, sliderPosProportional);
}

juce::Label* AltLookAndFeel_transparentButton::createSliderTextBox (juce::Slider& slider)
{
    auto* label = new SliderLabelComp();
    label->setFont (juce::Font (11.0f, juce::Font::plain));
    label->setJustificationType (juce::Justification::centred);
    label->setKeyboardType (juce::TextInputTarget::decimalKeyboard);

    const bool isBar = slider.getSliderStyle() == juce::Slider::LinearBar
                       || slider.getSliderStyle() == juce::Slider::LinearBarVertical;

    label->setColour (juce::Label::textColourId, slider.findColour (juce::Slider::textBoxTextColourId));
    label->setColour (juce::Label::backgroundColourId,
                      isBar ? juce::Colour (0x00000000) : slider.findColour (juce::Slider::textBoxBackgroundColourId));
    label->setColour (juce::Label::outlineColourId, slider.findColour (juce::Slider::textBoxOutlineColourId));
    label->setColour (juce::TextEditor::textColourId, slider.findColour (juce::Slider::textBoxTextColourId));
    label->setColour (juce::TextEditor::backgroundColourId,
                      slider.findColour (juce::Slider::textBoxBackgroundColourId).withAlpha (isBar ? 0.7f : 1.0f));
    label->setColour (juce::TextEditor::outlineColourId, slider.findColour (juce::Slider::textBoxOutlineColourId));
    label->setColour (juce::TextEditor::highlightColourId, slider.findColour (juce::Slider::textBoxHighlightColourId));
    return label;
}

AltLookAndFeel_transparentButton::SliderLabelComp::SliderLabelComp() : juce::Label ({}, {}) {}

AltLookAndFeel_transparentButton::SliderLabelComp::~SliderLabelComp() = default;

void AltLookAndFeel_transparentButton::SliderLabelComp::mouseWheelMove (const juce::MouseEvent&,
                                                                        const juce::MouseWheelDetails&)
{
    // Deliberately swallowed: the wheel over the value box neither edits it nor moves the slider.
}
