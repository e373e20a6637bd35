#include "AltLookAndFeel.h"
#include "BinaryData.h"
#include "GuiTestSupport.h"
#include "HeadlessWindow.h"

#include <gtest/gtest.h>

#include <limits>

using GuiTestSupport::render;

namespace
{
const juce::Colour opaqueRed (0xffff0000);

/** A window-sized parent at (0, 0) with one slider, on a peer the test drives the mouse through. */
struct SliderStage
{
    SliderStage (juce::Slider::SliderStyle style, juce::Rectangle<int> sliderBounds, juce::LookAndFeel* lookAndFeel)
        : window ({ 0, 0, sliderBounds.getRight() + 10, sliderBounds.getBottom() + 10 })
    {
        slider.setSliderStyle (style);
        slider.setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
        slider.setRange (0.0, 1.0, 0.0);
        slider.setColour (juce::Slider::backgroundColourId, juce::Colour (0x00ffffff));
        slider.setColour (juce::Slider::trackColourId, juce::Colour (0xfffff200));
        if (lookAndFeel != nullptr)
            slider.setLookAndFeel (lookAndFeel);
        slider.setBounds (sliderBounds);
        window.addAndMakeVisible (slider);
    }

    ~SliderStage()
    {
        window.removeChildComponent (&slider);
        slider.setLookAndFeel (nullptr);
    }

    void setLearn (bool on) { slider.getProperties().set ("midiLearnOn", on); }
    void hover() { window.moveMouseTo (slider.getBounds().getCentre().toFloat()); }
    void leave() { window.moveMouseAway(); }
    juce::Image snapshot() { return render (slider); }

    HeadlessWindow window;
    juce::Slider slider;
};

bool sameImage (const juce::Image& a, const juce::Image& b)
{
    if (a.getBounds() != b.getBounds())
        return false;
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
            if (a.getPixelAt (x, y).getARGB() != b.getPixelAt (x, y).getARGB())
                return false;
    return true;
}

juce::Image frameOf (const unsigned char* strip, int size, int sourceY)
{
    auto frame = juce::Image (juce::Image::ARGB, 70, 70, true);
    juce::Graphics g (frame);
    g.drawImage (juce::ImageCache::getFromMemory (strip, size), 0, 0, 70, 70, 0, sourceY, 70, 70, false);
    return frame;
}

juce::Image drawKnob (juce::LookAndFeel& lookAndFeel, juce::Slider& slider, float position)
{
    juce::Image image (juce::Image::ARGB, 70, 70, true);
    juce::Graphics g (image);
    lookAndFeel.drawRotarySlider (g, 0, 0, 70, 70, position, 0.0f, 1.0f, slider);
    return image;
}
} // namespace

TEST (LookAndFeel, KnobPositionsPickTheirFilmstripFrames)
{
    EXPECT_EQ (AltLookAndFeel::filmstripFrameFor (0.0f), 0);
    EXPECT_EQ (AltLookAndFeel::filmstripFrameFor (0.5f), 63);
    EXPECT_EQ (AltLookAndFeel::filmstripFrameFor (1.0f), 126);

    AltLookAndFeelDelayTime delayTime;
    AltLookAndFeelDelayFeedback feedback;
    AltLookAndFeel_transparentButton transparent;
    juce::Slider slider;

    const struct { float position; int sourceY; } cases[] = { { 0.0f, 0 }, { 0.5f, 4410 }, { 1.0f, 8820 } };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.position);
        const juce::String percent (juce::roundToInt (c.position * 100.0f));
        GuiTestSupport::saveArtefact (drawKnob (delayTime, slider, c.position), "knob-delaytime-" + percent);
        GuiTestSupport::saveArtefact (drawKnob (feedback, slider, c.position), "knob-feedback-" + percent);
        EXPECT_TRUE (sameImage (drawKnob (delayTime, slider, c.position),
                                frameOf (BinaryData::knobDelayTimeFilmstripPng, BinaryData::knobDelayTimeFilmstripPngSize, c.sourceY)));
        const auto feedbackFrame = frameOf (BinaryData::knobFeedbackFilmstripPng, BinaryData::knobFeedbackFilmstripPngSize, c.sourceY);
        EXPECT_TRUE (sameImage (drawKnob (feedback, slider, c.position), feedbackFrame));
        EXPECT_TRUE (sameImage (drawKnob (transparent, slider, c.position), feedbackFrame));
    }
}

TEST (LookAndFeel, KnobPositionsFromACorruptStateStayInsideTheStrip)
{
    AltLookAndFeelDelayTime delayTime;
    juce::Slider slider;
    const auto first = frameOf (BinaryData::knobDelayTimeFilmstripPng, BinaryData::knobDelayTimeFilmstripPngSize, 0);
    const auto last = frameOf (BinaryData::knobDelayTimeFilmstripPng, BinaryData::knobDelayTimeFilmstripPngSize, 8820);

    EXPECT_TRUE (sameImage (drawKnob (delayTime, slider, -0.5f), first));
    EXPECT_TRUE (sameImage (drawKnob (delayTime, slider, std::numeric_limits<float>::quiet_NaN()), first));
    EXPECT_TRUE (sameImage (drawKnob (delayTime, slider, 1.7f), last));
    EXPECT_TRUE (sameImage (drawKnob (delayTime, slider, std::numeric_limits<float>::infinity()), last));
    EXPECT_EQ (AltLookAndFeel::filmstripFrameFor (-std::numeric_limits<float>::infinity()), 0);
}

TEST (LookAndFeel, AKnobOfAnotherSizeShowsTheWholeFrameScaled)
{
    AltLookAndFeelDelayFeedback feedback;
    juce::Slider slider;
    juce::Image small (juce::Image::ARGB, 35, 35, true);
    {
        juce::Graphics g (small);
        feedback.drawRotarySlider (g, 0, 0, 35, 35, 1.0f, 0.0f, 1.0f, slider);
    }
    const auto full = drawKnob (feedback, slider, 1.0f);
    // The knob's centre and its lit arc's start land on the halved positions.
    EXPECT_NEAR (small.getPixelAt (17, 17).getBrightness(), full.getPixelAt (35, 35).getBrightness(), 0.15f);
    EXPECT_GT (small.getPixelAt (7, 28).getAlpha(), 0);
    EXPECT_GT (full.getPixelAt (14, 56).getAlpha(), 0);
}

TEST (LookAndFeel, KnobLearnMarksNeedLearnOnAnEnabledKnobUnderTheMouse)
{
    AltLookAndFeelDelayTime delayTime;
    SliderStage stage (juce::Slider::RotaryVerticalDrag, { 20, 20, 70, 70 }, &delayTime);
    auto cornerIsRed = [&stage]
    {
        const auto c = stage.snapshot().getPixelAt (0, 0);
        return c.getRed() > 200 && c.getGreen() < 40 && c.getBlue() < 40;
    };

    stage.setLearn (true);
    stage.hover();
    EXPECT_TRUE (cornerIsRed());
    GuiTestSupport::saveArtefact (stage.snapshot(), "knob-delaytime-learn");

    stage.leave();
    EXPECT_FALSE (cornerIsRed());

    stage.hover();
    stage.setLearn (false);
    EXPECT_FALSE (cornerIsRed());

    stage.setLearn (true);
    stage.slider.setEnabled (false);
    EXPECT_FALSE (cornerIsRed());
}

TEST (LookAndFeel, TheModeControlDrawsOnlyItsLearnMarks)
{
    AltLookAndFeel main;
    SliderStage stage (juce::Slider::RotaryVerticalDrag, { 10, 10, 54, 82 }, &main);
    stage.hover();

    auto paintedPixels = [&stage]
    {
        const auto image = stage.snapshot();
        int count = 0;
        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                count += image.getPixelAt (x, y).getAlpha() > 0 ? 1 : 0;
        return count;
    };

    EXPECT_EQ (paintedPixels(), 0);

    stage.setLearn (true);
    const auto image = stage.snapshot();
    EXPECT_GT (image.getPixelAt (0, 0).getAlpha(), 100);
    EXPECT_GT (image.getPixelAt (0, 81).getAlpha(), 100);
    // The right-hand arms stand two pixels outside the control: only their top and
    // bottom strokes show, clipped at its edge.
    EXPECT_EQ (image.getPixelAt (53, 40).getAlpha(), 0);
    EXPECT_GT (image.getPixelAt (50, 0).getAlpha(), 100);
    EXPECT_EQ (image.getPixelAt (40, 0).getAlpha(), 0);
}

TEST (LookAndFeel, ALinearSliderUnderLearnDrawsItsTrackAndThumbOpaqueRed)
{
    AltLookAndFeel main;
    SliderStage stage (juce::Slider::LinearHorizontal, { 0, 0, 142, 40 }, &main);
    stage.slider.setValue (0.8, juce::dontSendNotification);
    const juce::Point<int> onTrack (30, 20);

    stage.hover();
    EXPECT_EQ (stage.snapshot().getPixelAt (onTrack.x, onTrack.y), juce::Colour (0xfffff200));

    stage.setLearn (true);
    const auto learning = stage.snapshot();
    EXPECT_EQ (learning.getPixelAt (onTrack.x, onTrack.y), opaqueRed);
    GuiTestSupport::saveArtefact (learning, "slider-learn");

    // The thumb's coloured centre shows through the ring of the thumb picture.
    const float thumbX = stage.slider.getPositionOfValue (0.8);
    EXPECT_EQ (learning.getPixelAt ((int) thumbX, 20), opaqueRed);

    stage.leave();
    const auto idle = stage.snapshot();
    EXPECT_EQ (idle.getPixelAt ((int) thumbX, 20), juce::Colour (0xfffff200));
    GuiTestSupport::saveArtefact (idle, "slider");
}

TEST (LookAndFeel, TheVerticalTrackRunsFromTheThumbToThirteenBelowTheSlider)
{
    AltLookAndFeel main;
    juce::Slider slider (juce::Slider::LinearVertical, juce::Slider::NoTextBox);
    slider.setColour (juce::Slider::trackColourId, juce::Colour (0xff00fff5));
    juce::Image image (juce::Image::ARGB, 37, 240, true);
    {
        juce::Graphics g (image);
        main.drawLinearSlider (g, 0, 9, 37, 178, 100.0f, 187.0f, 9.0f, juce::Slider::LinearVertical, slider);
    }
    // Track centre at x = 18.5; painted from the thumb down to y = 178 + 13 = 191.
    EXPECT_EQ (image.getPixelAt (18, 150), juce::Colour (0xff00fff5));
    EXPECT_EQ (image.getPixelAt (18, 189), juce::Colour (0xff00fff5));
    EXPECT_EQ (image.getPixelAt (18, 195).getAlpha(), 0);
    EXPECT_EQ (image.getPixelAt (18, 80).getAlpha(), 0);
}

TEST (LookAndFeel, TheEmbeddedTypefaceServesOnlyTheDefaultSansSerifName)
{
    AltLookAndFeel lookAndFeel;
    EXPECT_EQ (lookAndFeel.getTypefaceForFont (juce::Font (13.0f))->getName(), "Roboto");
    EXPECT_NE (lookAndFeel.getTypefaceForFont (juce::Font ("DejaVu Serif", 13.0f, juce::Font::plain))->getName(), "Roboto");

    // Installed as the default, it is what every plain font of the plug-in draws with.
    juce::Typeface::clearTypefaceCache();
    EXPECT_EQ (juce::Font (20.0f).getTypefacePtr()->getName(), "Roboto");
}

TEST (LookAndFeel, ComboBoxArrowsKeepTheirStrengthWhenDisabled)
{
    juce::ComboBox box;
    box.setBounds (0, 0, 120, 20);
    box.setEnabled (true);
    const auto enabled = render (box);
    box.setEnabled (false);
    const auto disabled = render (box);

    // Find the arrow's solid middle: white at 0.7 over the black box.
    const auto arrowArea = box.getLocalBounds().removeFromRight (20);
    const juce::Point<int> arrowPoint (arrowArea.getCentreX(), (int) (arrowArea.getHeight() * 0.42f));
    EXPECT_NEAR (enabled.getPixelAt (arrowPoint.x, arrowPoint.y).getBrightness(), 0.7f, 0.06f);
    EXPECT_EQ (enabled.getPixelAt (arrowPoint.x, arrowPoint.y), disabled.getPixelAt (arrowPoint.x, arrowPoint.y));
    EXPECT_EQ (enabled.getPixelAt (0, 10), juce::Colour (0xfff5f5f5));
}

TEST (LookAndFeel, AToggledTextButtonShowsTheRedFrame)
{
    juce::TextButton button ("learn");
    button.setBounds (0, 0, 80, 24);
    button.setColour (juce::TextButton::buttonColourId, juce::Colour (0xff3a3a3a));

    const auto off = render (button);
    EXPECT_EQ (off.getPixelAt (40, 0).getRed(), off.getPixelAt (40, 0).getGreen());

    button.setToggleState (true, juce::dontSendNotification);
    const auto on = render (button);
    const auto frame = on.getPixelAt (40, 0);
    EXPECT_GT (frame.getRed(), 200);
    EXPECT_LT (frame.getGreen(), 60);
    GuiTestSupport::saveArtefact (on, "text-button-toggled");

    AltLookAndFeel_transparentButton transparent;
    button.setLookAndFeel (&transparent);
    button.setButtonText ({});
    const auto hidden = render (button);
    button.setLookAndFeel (nullptr);
    EXPECT_EQ (hidden.getPixelAt (40, 0).getAlpha(), 0);
    EXPECT_EQ (hidden.getPixelAt (40, 12).getAlpha(), 0);
}

TEST (LookAndFeel, TheGainValueBoxCopiesTheSliderColoursAndIgnoresTheWheel)
{
    AltLookAndFeel_transparentButton transparent;
    HeadlessWindow window ({ 0, 0, 100, 250 });
    juce::Slider slider (juce::Slider::LinearVertical, juce::Slider::TextBoxBelow);
    slider.setColour (juce::Slider::textBoxTextColourId, juce::Colour (0x0000fff5));
    slider.setColour (juce::Slider::textBoxHighlightColourId, juce::Colour (0x3affffff));
    slider.setLookAndFeel (&transparent);
    slider.setTextBoxStyle (juce::Slider::TextBoxBelow, true, 80, 20);
    slider.setRange (-90.0, 10.0, 1.0);
    slider.setValue (0.0, juce::dontSendNotification);
    slider.setBounds (12, 10, 37, 196);
    window.addAndMakeVisible (slider);

    juce::Label* box = nullptr;
    for (auto* child : slider.getChildren())
        if (auto* label = dynamic_cast<juce::Label*> (child))
            box = label;
    ASSERT_NE (box, nullptr);
    ASSERT_NE (dynamic_cast<AltLookAndFeel_transparentButton::SliderLabelComp*> (box), nullptr);
    EXPECT_EQ (box->findColour (juce::Label::textColourId), juce::Colour (0x0000fff5));
    EXPECT_EQ (box->findColour (juce::TextEditor::highlightColourId), juce::Colour (0x3affffff));
    EXPECT_EQ (box->getFont().getHeight(), 11.0f);

    window.wheel (box->getBounds().translated (slider.getX(), slider.getY()).getCentre().toFloat(), 1.0f);
    EXPECT_EQ (slider.getValue(), 0.0);

    // Over the slider itself the wheel still works, so the box is what stops it.
    window.wheel ({ 30.0f, 60.0f }, 1.0f);
    EXPECT_NE (slider.getValue(), 0.0);

    window.removeChildComponent (&slider);
    slider.setLookAndFeel (nullptr);
}
