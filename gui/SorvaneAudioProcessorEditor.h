#pragma once

#include "AltLookAndFeel.h"
#include "SharedDefaultLookAndFeel.h"
#include "SorvaneAudioProcessor.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

class OptionGUI;
class Oscillo;
class WelcomeGUI;

/** Lumarro's window: a fixed 620 x 305 picture with two knobs, six sliders, four mode
    buttons, value and range labels, the scope, and the hidden options and about panels.

    It keeps no settings of its own: control moves go to the processor as normalised
    parameter values, and a 50 ms timer brings the controls back in line whenever the
    processor reports a change.
*/
class SorvaneAudioProcessorEditor : public juce::AudioProcessorEditor,
                                    public juce::Timer,
                                    public juce::Slider::Listener,
                                    public juce::Button::Listener
{
public:
    explicit SorvaneAudioProcessorEditor (SorvaneAudioProcessor& processor);
    ~SorvaneAudioProcessorEditor() override;

    static constexpr int editorWidth = 620;
    static constexpr int editorHeight = 305;
    static constexpr int timerIntervalMs = 50;

    void paint (juce::Graphics& g) override;
    void resized() override;
    int getControlParameterIndex (juce::Component& control) override;
    void timerCallback() override;
    void sliderDragStarted (juce::Slider* slider) override;
    void sliderDragEnded (juce::Slider* slider) override;
    void sliderValueChanged (juce::Slider* slider) override;
    void buttonClicked (juce::Button* button) override;

    /** Applies the processor's mode to the mode buttons and to the delay-time knob's range. */
    void refreshModeControls();

    /** Switches MIDI learn in the processor and marks the learnable sliders. Switching
        off also clears the learn target.
    */
    void setMidiLearnMode (bool on);

    /** The parameter a control drives, by its component name; -1 for none. */
    static int parameterIndexForName (const juce::String& componentName);

    /** The background variant shown, as read from the processor or set by the switch. */
    int32_t getGuiVariant() const noexcept { return guiVariant; }

    /** The image painted behind everything. */
    const juce::Image& getBackgroundImage() const noexcept { return backgroundImage; }

private:
    SorvaneAudioProcessor& sorvane;

    std::unique_ptr<OptionGUI> optionPanel;
    std::unique_ptr<WelcomeGUI> aboutPanel;
    // One default look-and-feel for every open editor: it outlives each of them, and JUCE's
    // previous default comes back when the last one closes.
    juce::SharedResourcePointer<SharedDefaultLookAndFeel> mainLookAndFeel;
    AltLookAndFeelDelayTime delayTimeLookAndFeel;
    AltLookAndFeelDelayFeedback delayFeedbackLookAndFeel;
    AltLookAndFeel_transparentButton transparentLookAndFeel;
    int32_t cachedMode = 0;
    int32_t guiVariant = 0;
    ScopeBuffer::Frame scopeFrame; // the editor's copy of the last frame, which the scope draws

    std::unique_ptr<juce::Slider> sliderDelayTime;
    std::unique_ptr<juce::Slider> sliderDelayFeedback;
    std::unique_ptr<Oscillo> oscillo;
    std::unique_ptr<juce::ImageButton> buttonModeShort;
    std::unique_ptr<juce::ImageButton> buttonModeMedium;
    std::unique_ptr<juce::ImageButton> buttonModeLong;
    std::unique_ptr<juce::ImageButton> buttonModeSync;
    std::unique_ptr<juce::Label> labelTmin;
    std::unique_ptr<juce::Label> labelTmax;
    std::unique_ptr<juce::TextButton> buttonAbout;
    std::unique_ptr<juce::Label> labelDelayTime;
    std::unique_ptr<juce::Label> labelDelayFeedback;
    std::unique_ptr<juce::Label> labelBalance;
    std::unique_ptr<juce::Label> labelPingPong;
    std::unique_ptr<juce::Label> labelLowCut;
    std::unique_ptr<juce::Label> labelHighCut;
    std::unique_ptr<juce::Label> labelOutput;
    std::unique_ptr<juce::Label> labelGainValue;
    std::unique_ptr<juce::TextButton> buttonSwitchGUI;
    std::unique_ptr<juce::ImageButton> buttonEngrenage;
    std::unique_ptr<juce::Slider> sliderBalance;
    std::unique_ptr<juce::Slider> sliderPingPong;
    std::unique_ptr<juce::Slider> sliderHighPass;
    std::unique_ptr<juce::Slider> sliderLowPass;
    std::unique_ptr<juce::Slider> sliderDryWet;
    std::unique_ptr<juce::Slider> sliderGain;
    std::unique_ptr<juce::Slider> sliderMode;

    juce::Image backgroundImage;

    juce::Slider* makeSlider (std::unique_ptr<juce::Slider>& member, const char* name,
                              juce::Slider::SliderStyle style, juce::uint32 trackColour);
    juce::Label* makeLabel (std::unique_ptr<juce::Label>& member, const char* name, const char* text,
                            float fontHeight);
    juce::ImageButton* makeModeButton (std::unique_ptr<juce::ImageButton>& member, const char* name);

    void sendSliderValue (juce::Slider& slider);
    void sendGesture (juce::Slider& slider, bool starting);
    void updateRangeLabels();
    void updateValueLabels();
    void refreshFromProcessor();
    void takeScopeFrame();
    void showBackground();

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SorvaneAudioProcessorEditor)
};
