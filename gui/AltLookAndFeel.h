#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The plug-in's look: text buttons, the combo box, linear sliders, the red MIDI-learn
    marks and the embedded typeface.

    The editor installs one as JUCE's default look-and-feel, which is also what makes
    JUCE ask it for typefaces. A slider is marked as the learn target while the mouse is
    over it or dragging it, it is enabled, and its component property "midiLearnOn" is
    true.
*/
class AltLookAndFeel : public juce::LookAndFeel_V3
{
public:
    AltLookAndFeel();
    ~AltLookAndFeel() override;

    /** The embedded typeface for the default sans-serif name, the base's answer otherwise. */
    juce::Typeface::Ptr getTypefaceForFont (const juce::Font& font) override;

    void drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                               bool isMouseOverButton, bool isButtonDown) override;
    juce::Font getTextButtonFont (juce::TextButton& button, int buttonHeight) override;

    void drawComboBox (juce::Graphics& g, int width, int height, bool isButtonDown, int buttonX, int buttonY,
                       int buttonW, int buttonH, juce::ComboBox& box) override;
    juce::Font getComboBoxFont (juce::ComboBox& box) override;

    void drawLinearSlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                           float minSliderPos, float maxSliderPos, juce::Slider::SliderStyle style,
                           juce::Slider& slider) override;

    /** Draws no knob, only the learn marks (for the mode control shown over the mode buttons). */
    void drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPosProportional,
                           float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider) override;

    /** True while the slider should show that the next MIDI controller binds to it. */
    static bool isLearnTarget (const juce::Slider& slider);

    /** The filmstrip frame, 0 to numFilmstripFrames - 1, for a knob position. Positions
        outside [0, 1], and NaN, pick the nearest end so no read leaves the strip.
    */
    static int filmstripFrameFor (float sliderPosProportional) noexcept;

    static constexpr int numFilmstripFrames = 127;
    static constexpr int filmstripFrameSize = 70;

    static const juce::Colour learnRed;

protected:
    /** Draws one frame of a vertical filmstrip scaled into (0, 0, width, height). */
    static void drawFilmstripFrame (juce::Graphics& g, const void* data, int dataSize, int width, int height,
                                    float sliderPosProportional);

    /** Corner marks: arms of the given length, the right-hand ones at x = rightX. */
    static void drawLearnCorners (juce::Graphics& g, float rightX, float height, float arm);

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AltLookAndFeel)
};

//==============================================================================
/** The delay-time knob: frames of the delay-time filmstrip, with learn marks. */
class AltLookAndFeelDelayTime : public AltLookAndFeel
{
public:
    ~AltLookAndFeelDelayTime() override;

    void drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPosProportional,
                           float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider) override;
};

//==============================================================================
/** The feedback knob: frames of the feedback filmstrip, with learn marks. */
class AltLookAndFeelDelayFeedback : public AltLookAndFeel
{
public:
    ~AltLookAndFeelDelayFeedback() override;

    void drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPosProportional,
                           float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider) override;
};

//==============================================================================
/** For hotspot buttons and the sliders whose picture is all in the background: button
    backgrounds are not drawn, and slider value boxes ignore the mouse wheel.
*/
class AltLookAndFeel_transparentButton : public AltLookAndFeel
{
public:
    ~AltLookAndFeel_transparentButton() override;

    void drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                               bool isMouseOverButton, bool isButtonDown) override;

    /** Feedback filmstrip frames, never learn marks. */
    void drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPosProportional,
                           float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider) override;

    juce::Label* createSliderTextBox (juce::Slider& slider) override;

    /** A slider's value box that lets the mouse wheel pass by unused. */
    class SliderLabelComp : public juce::Label
    {
    public:
        SliderLabelComp();
        ~SliderLabelComp() override;

        void mouseWheelMove (const juce::MouseEvent& event, const juce::MouseWheelDetails& wheel) override;
    };
};
