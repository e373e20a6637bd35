#pragma once

#include "SorvaneAudioProcessor.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

/** The MIDI options panel: the MIDI channel that controller bindings listen to, the
    MIDI-learn switch, "Unlearn All", and the controller bound to each parameter.

    It works directly on the processor's MIDI fields and keeps no settings of its own.
    Learn is switched through the editor it sits in; anywhere else the switch only
    changes the button.
*/
class OptionGUI : public juce::Component,
                  public juce::Timer,
                  public juce::ComboBox::Listener,
                  public juce::Button::Listener
{
public:
    explicit OptionGUI (SorvaneAudioProcessor& processor);
    ~OptionGUI() override;

    static constexpr int timerIntervalMs = 20;

    void paint (juce::Graphics& g) override;
    void resized() override;
    void timerCallback() override;
    void comboBoxChanged (juce::ComboBox* box) override;
    void buttonClicked (juce::Button* button) override;

    /** Turns the learn button off, switching learn off through the editor when it was on. */
    void switchLearnOff();

    /** The text a controller label shows for a caption and a midiMap entry. */
    static juce::String controllerText (const juce::String& caption, int32_t controller);

private:
    SorvaneAudioProcessor* processor = nullptr;

    std::unique_ptr<juce::ComboBox> presetList;
    std::unique_ptr<juce::Label> midiChannel;
    std::unique_ptr<juce::Label> labelDelayTime;
    std::unique_ptr<juce::Label> labelPingPong;
    std::unique_ptr<juce::Label> labelGain;
    std::unique_ptr<juce::Label> labelHighPass;
    std::unique_ptr<juce::TextButton> unlearnButton;
    std::unique_ptr<juce::Label> labelDryWet;
    std::unique_ptr<juce::Label> labelDelayFeedback;
    std::unique_ptr<juce::Label> labelLowPass;
    std::unique_ptr<juce::Label> labelBalance;
    std::unique_ptr<juce::TextButton> learnButton;
    std::unique_ptr<juce::Label> labelMode;

    juce::Label* makeLabel (std::unique_ptr<juce::Label>& member, const char* name, const char* text, float fontHeight);
    juce::TextButton* makeButton (std::unique_ptr<juce::TextButton>& member, const char* name, const char* text);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OptionGUI)
};
