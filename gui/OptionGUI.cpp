#include "OptionGUI.h"

#include "SorvaneAudioProcessorEditor.h"

OptionGUI::OptionGUI (SorvaneAudioProcessor& processorToUse)
{
    presetList = std::make_unique<juce::ComboBox> ("presetList");
    addAndMakeVisible (presetList.get());
    presetList->setEditableText (false);
    presetList->setJustificationType (juce::Justification::centredLeft);
    presetList->setTextWhenNothingSelected ({});
    presetList->setTextWhenNoChoicesAvailable (juce::translate ("(no choices)"));
    presetList->addListener (this);

    makeLabel (midiChannel, "midiChannel", "MIDI Channel", 13.0f);
    makeLabel (labelDelayTime, "labelDelayTime", "Time: N/A", 12.0f);
    makeLabel (labelPingPong, "labelPingPong", "L/R Cross: N/A", 12.0f);
    makeLabel (labelGain, "labelGain", "Gain: N/A", 12.0f);
    makeLabel (labelHighPass, "labelHighPass", "Low cut: N/A", 12.0f);
    makeButton (unlearnButton, "unlearnButton", "Unlearn All");
    makeLabel (labelDryWet, "labelDryWet", "Output: N/A", 12.0f);
    makeLabel (labelDelayFeedback, "labelDelayFeedback", "Feedback: N/A", 12.0f);
    makeLabel (labelLowPass, "labelLowPass", "High cut: N/A", 12.0f);
    makeLabel (labelBalance, "labelBalance", "Input Balance: N/A", 12.0f);
    makeButton (learnButton, "learnButton", "MIDI learn");
    makeLabel (labelMode, "labelMode", "Mode: N/A", 12.0f);

    setSize (320, 82);

    processor = &processorToUse;

    learnButton->setClickingTogglesState (true);

    presetList->addItem ("All", 1);
    for (int channel = 1; channel <= 16; ++channel)
        presetList->addItem (juce::String (channel), channel + 1);

    // An index outside the list selects nothing and leaves the processor's channel as it is.
    presetList->setSelectedItemIndex (processor->idxMidiChannel, juce::sendNotificationAsync);

    startTimer (timerIntervalMs);
}

OptionGUI::~OptionGUI()
{
    presetList = nullptr;
    midiChannel = nullptr;
    labelDelayTime = nullptr;
    labelPingPong = nullptr;
    labelGain = nullptr;
    labelHighPass = nullptr;
    unlearnButton = nullptr;
    labelDryWet = nullptr;
    labelDelayFeedback = nullptr;
    labelLowPass = nullptr;
    labelBalance = nullptr;
    learnButton = nullptr;
    labelMode = nullptr;
}

juce::Label* OptionGUI::makeLabel (std::unique_ptr<juce::Label>& member, const char* name, const char* text,
                                   float fontHeight)
{
    member = std::make_unique<juce::Label> (name, juce::translate (text));
    auto& label = *member;
    addAndMakeVisible (label);
    label.setFont (juce::Font (fontHeight, juce::Font::plain));
    label.setJustificationType (juce::Justification::centredLeft);
    label.setEditable (false, false, false);
    label.setColour (juce::Label::textColourId, juce::Colour (0xfffcfcfc));
    label.setColour (juce::TextEditor::textColourId, juce::Colour (0xff000000));
    label.setColour (juce::TextEditor::backgroundColourId, juce::Colour (0x00000000));
    return &label;
}

juce::TextButton* OptionGUI::makeButton (std::unique_ptr<juce::TextButton>& member, const char* name,
                                         const char* text)
{
    member = std::make_unique<juce::TextButton> (name);
    auto& button = *member;
    addAndMakeVisible (button);
    button.setButtonText (juce::translate (text));
    button.setConnectedEdges (juce::Button::ConnectedOnLeft | juce::Button::ConnectedOnRight
                              | juce::Button::ConnectedOnTop | juce::Button::ConnectedOnBottom);
    button.addListener (this);
    button.setColour (juce::TextButton::buttonColourId, juce::Colour (0xff000000));
    button.setColour (juce::TextButton::buttonOnColourId, juce::Colour (0xff000000));
    button.setColour (juce::TextButton::textColourOnId, juce::Colour (0xffffffff));
    button.setColour (juce::TextButton::textColourOffId, juce::Colour (0xffffffff));
    return &button;
}

//==============================================================================
void OptionGUI::paint (juce::Graphics& g)
{
    g.setColour (juce::Colour (0xd4000000));
    g.fillRect (-59, -31, 616, 221);
}

void OptionGUI::resized()
{
    presetList->setBounds (11, 62, 68, 16);
    midiChannel->setBounds (8, 43, 74, 24);
    labelDelayTime->setBounds (226, 17, 116, 24);
    labelPingPong->setBounds (94, 17, 82, 24);
    labelGain->setBounds (184, 59, 82, 24);
    labelHighPass->setBounds (94, 38, 82, 24);
    unlearnButton->setBounds (11, 25, 68, 17);
    labelDryWet->setBounds (226, 38, 98, 24);
    labelDelayFeedback->setBounds (226, -4, 102, 24);
    labelLowPass->setBounds (94, 59, 82, 24);
    labelBalance->setBounds (94, -4, 114, 24);
    learnButton->setBounds (11, 2, 68, 17);
    labelMode->setBounds (253, 59, 68, 24);
}

//==============================================================================
juce::String OptionGUI::controllerText (const juce::String& caption, int32_t controller)
{
    return caption + (controller == -1 ? juce::String ("N/A ") : "CC " + juce::String (controller));
}

void OptionGUI::timerCallback()
{
    const std::pair<juce::Label*, const char*> rows[] = {
        { labelLowPass.get(), "High Cut: " },
        { labelDelayTime.get(), "Time: " },
        { labelDelayFeedback.get(), "Feedback: " },
        { labelPingPong.get(), "L/R Cross: " },
        { labelGain.get(), "Gain: " },
        { labelHighPass.get(), "Low Cut: " },
        { labelDryWet.get(), "Output: " },
        { labelBalance.get(), "Input Balance: " },
        { labelMode.get(), "Mode: " },
    };
    constexpr int parameters[] = {
        SorvaneAudioProcessor::highCutIndex, SorvaneAudioProcessor::delayTimeIndex,
        SorvaneAudioProcessor::delayFeedbackIndex, SorvaneAudioProcessor::pingPongIndex,
        SorvaneAudioProcessor::gainIndex, SorvaneAudioProcessor::lowCutIndex,
        SorvaneAudioProcessor::dryWetIndex, SorvaneAudioProcessor::balanceIndex,
        SorvaneAudioProcessor::modeIndex,
    };

    for (size_t row = 0; row < std::size (rows); ++row)
        rows[row].first->setText (controllerText (rows[row].second, processor->midiMap[parameters[row]]),
                                  juce::dontSendNotification);
}

void OptionGUI::comboBoxChanged (juce::ComboBox* box)
{
    // Nothing selected (an out-of-range channel from a saved session) keeps the stored channel.
    if (box == presetList.get() && presetList->getSelectedItemIndex() >= 0)
        processor->idxMidiChannel = presetList->getSelectedItemIndex();
}

void OptionGUI::buttonClicked (juce::Button* button)
{
    if (button == unlearnButton.get())
    {
        for (auto& controller : processor->midiMap)
            controller = -1;
    }
    else if (button == learnButton.get())
    {
        // Only the editor switches learn; any other parent is left alone.
        if (auto* editor = dynamic_cast<SorvaneAudioProcessorEditor*> (getParentComponent()))
            editor->setMidiLearnMode (learnButton->getToggleState());
    }
}

void OptionGUI::switchLearnOff()
{
    learnButton->setToggleState (false, juce::sendNotificationSync);
}
