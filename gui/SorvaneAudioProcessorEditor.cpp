#include "SorvaneAudioProcessorEditor.h"

#include "BinaryData.h"
#include "OptionGUI.h"
#include "Oscillo.h"
#include "ParameterTable.h"
#include "WelcomeGUI.h"

namespace
{
    constexpr juce::uint32 knobTrack = 0xff00ff7c;
    constexpr juce::uint32 cutTrack = 0xffff00a1;
    constexpr juce::uint32 inputTrack = 0xfffff200;
    constexpr juce::uint32 gainTrack = 0xff00fff5;

    constexpr float modeValues[] = { 0.0f, 0.33f, 0.66f, 1.0f };

    juce::Image loadImage (const void* data, int size)
    {
        return juce::ImageCache::getFromMemory (data, size);
    }

    void setModeImages (juce::ImageButton& button, const void* normal, int normalSize, const void* down, int downSize)
    {
        const auto up = loadImage (normal, normalSize);
        button.setImages (false, true, true,
                          up, 1.0f, juce::Colour (0x00000000),
                          up, 1.0f, juce::Colour (0x00000000),
                          loadImage (down, downSize), 1.0f, juce::Colour (0x00000000));
    }

    constexpr int allEdges = juce::Button::ConnectedOnLeft | juce::Button::ConnectedOnRight
                             | juce::Button::ConnectedOnTop | juce::Button::ConnectedOnBottom;
}

//==============================================================================
SorvaneAudioProcessorEditor::SorvaneAudioProcessorEditor (SorvaneAudioProcessor& processorToEdit)
    : juce::AudioProcessorEditor (processorToEdit),
      sorvane (processorToEdit)
{
    makeSlider (sliderDelayTime, "sliderDelayTime", juce::Slider::RotaryVerticalDrag, knobTrack);

    makeSlider (sliderDelayFeedback, "sliderDelayFeedback", juce::Slider::RotaryVerticalDrag, knobTrack)
        ->setRange (lumarro::feedbackPercent.low, lumarro::feedbackPercent.high, 1.0);

    oscillo = std::make_unique<Oscillo> (&scopeFrame.samples, scopeFrame.sampleCount);
    takeScopeFrame();
    addAndMakeVisible (oscillo.get());
    oscillo->setName ("oscillo");

    makeModeButton (buttonModeShort, "buttonModeShort");
    makeModeButton (buttonModeMedium, "buttonModeMedium");
    makeModeButton (buttonModeLong, "buttonModeLong");
    makeModeButton (buttonModeSync, "buttonModeSync");

    for (auto* label : { makeLabel (labelTmin, "labelTmin", "1/128", 13.0f),
                         makeLabel (labelTmax, "labelTmax", "100 ms", 13.0f) })
    {
        label->setColour (juce::Label::textColourId, juce::Colour (0xffffffff));
        label->setColour (juce::Label::outlineColourId, juce::Colour (0xffe20036));
    }

    buttonAbout = std::make_unique<juce::TextButton> ("new button");
    addAndMakeVisible (buttonAbout.get());
    buttonAbout->setButtonText ({});
    buttonAbout->setConnectedEdges (allEdges);
    buttonAbout->addListener (this);
    buttonAbout->setColour (juce::TextButton::buttonColourId, juce::Colour (0x00bbbbff));
    buttonAbout->setColour (juce::TextButton::buttonOnColourId, juce::Colour (0x48e8e8e8));

    makeLabel (labelDelayTime, "labelDelayTime", "100 ms", 13.0f)
        ->setColour (juce::Label::backgroundColourId, juce::Colour (0xffe20036));
    labelDelayTime->setColour (juce::Label::textColourId, juce::Colour (0xffffffff));
    makeLabel (labelDelayFeedback, "labelDelayFeedback", "100 %", 13.0f)
        ->setColour (juce::Label::backgroundColourId, juce::Colour (0xff124250));
    labelDelayFeedback->setColour (juce::Label::textColourId, juce::Colour (0xffffffff));

    makeLabel (labelBalance, "labelBalance", "100 %", 12.0f)->setColour (juce::Label::textColourId, juce::Colour (inputTrack));
    makeLabel (labelPingPong, "labelPingPong", "100 %", 12.0f)->setColour (juce::Label::textColourId, juce::Colour (inputTrack));
    makeLabel (labelLowCut, "labelLowCut", "500 Hz", 12.0f)->setColour (juce::Label::textColourId, juce::Colour (0xdcff00a1));
    makeLabel (labelHighCut, "labelHighCut", "20.0 kHz", 12.0f)->setColour (juce::Label::textColourId, juce::Colour (0xdcff00a1));
    makeLabel (labelOutput, "labelOutput", "100 %", 12.0f)->setColour (juce::Label::textColourId, juce::Colour (knobTrack));
    // The gain value label shares the balance label's component name.
    makeLabel (labelGainValue, "labelBalance", "-90 dB", 12.0f)->setColour (juce::Label::textColourId, juce::Colour (gainTrack));

    buttonSwitchGUI = std::make_unique<juce::TextButton> ("buttonSwitchGUI");
    addAndMakeVisible (buttonSwitchGUI.get());
    buttonSwitchGUI->setButtonText (juce::translate ("new button"));
    buttonSwitchGUI->setConnectedEdges (allEdges);
    buttonSwitchGUI->addListener (this);
    buttonSwitchGUI->setColour (juce::TextButton::buttonColourId, juce::Colour (0x00bbbbff));
    buttonSwitchGUI->setColour (juce::TextButton::buttonOnColourId, juce::Colour (0x004444ff));
    buttonSwitchGUI->setColour (juce::TextButton::textColourOffId, juce::Colour (0x00000000));
    buttonSwitchGUI->setColour (juce::TextButton::textColourOnId, juce::Colour (0x00000000));

    buttonEngrenage = std::make_unique<juce::ImageButton> ("buttonEngrenage");
    addAndMakeVisible (buttonEngrenage.get());
    buttonEngrenage->addListener (this);
    {
        const auto gear = loadImage (BinaryData::gearIconPng, BinaryData::gearIconPngSize);
        buttonEngrenage->setImages (false, true, true,
                                    gear, 0.85f, juce::Colour (0x00000000),
                                    gear, 1.0f, juce::Colour (0x00000000),
                                    gear, 1.0f, juce::Colour (0x00000000));
    }

    makeSlider (sliderBalance, "sliderBalance", juce::Slider::LinearHorizontal, inputTrack)
        ->setRange (lumarro::percent.low, lumarro::percent.high, 1.0);
    makeSlider (sliderPingPong, "sliderPingPong", juce::Slider::LinearHorizontal, inputTrack)
        ->setRange (lumarro::percent.low, lumarro::percent.high, 1.0);
    makeSlider (sliderHighPass, "sliderHighPass", juce::Slider::LinearHorizontal, cutTrack)->setRange (0.0, 1.0, 0.0);
    makeSlider (sliderLowPass, "sliderLowPass", juce::Slider::LinearHorizontal, cutTrack)->setRange (0.0, 1.0, 0.0);
    makeSlider (sliderDryWet, "sliderDryWet", juce::Slider::LinearHorizontal, knobTrack)
        ->setRange (lumarro::percent.low, lumarro::percent.high, 1.0);

    makeSlider (sliderGain, "sliderGain", juce::Slider::LinearVertical, gainTrack)
        ->setRange (lumarro::gainDecibels.low, lumarro::gainDecibels.high, 1.0);
    sliderGain->setTextBoxStyle (juce::Slider::TextBoxBelow, true, 80, 20);
    sliderGain->setSkewFactor (3.0);
    sliderGain->setColour (juce::Slider::textBoxTextColourId, juce::Colour (0x0000fff5));

    makeSlider (sliderMode, "sliderMode", juce::Slider::RotaryVerticalDrag, knobTrack)->setRange (0.0, 1.0, 0.01);

    buttonEngrenage->setClickingTogglesState (true);
    for (auto* button : { buttonModeShort.get(), buttonModeMedium.get(), buttonModeLong.get(), buttonModeSync.get() })
        button->setClickingTogglesState (true);

    setSize (editorWidth, editorHeight);
    refreshModeControls();

    // The first tick fills every control and label from the processor.
    sorvane.parametersChanged = true;
    startTimer (timerIntervalMs);

    sliderDryWet->setLookAndFeel (&transparentLookAndFeel);
    sliderGain->setLookAndFeel (&transparentLookAndFeel);
    sliderDelayTime->setLookAndFeel (&delayTimeLookAndFeel);
    sliderDelayFeedback->setLookAndFeel (&delayFeedbackLookAndFeel);
    buttonAbout->setLookAndFeel (&transparentLookAndFeel);
    buttonSwitchGUI->setLookAndFeel (&transparentLookAndFeel);

    optionPanel = std::make_unique<OptionGUI> (sorvane);
    addChildComponent (optionPanel.get());
    optionPanel->setTopLeftPosition (300, 30);

    aboutPanel = std::make_unique<WelcomeGUI>();
    addChildComponent (aboutPanel.get());

    setModeImages (*buttonModeShort, BinaryData::modeShortPng, BinaryData::modeShortPngSize,
                   BinaryData::modeShortDownPng, BinaryData::modeShortDownPngSize);
    setModeImages (*buttonModeMedium, BinaryData::modeNormalPng, BinaryData::modeNormalPngSize,
                   BinaryData::modeNormalDownPng, BinaryData::modeNormalDownPngSize);
    setModeImages (*buttonModeLong, BinaryData::modeLongPng, BinaryData::modeLongPngSize,
                   BinaryData::modeLongDownPng, BinaryData::modeLongDownPngSize);
    setModeImages (*buttonModeSync, BinaryData::modeSyncPng, BinaryData::modeSyncPngSize,
                   BinaryData::modeSyncDownPng, BinaryData::modeSyncDownPngSize);

    sliderMode->setVisible (false);

    guiVariant = sorvane.idxGUI;
    showBackground();

    sliderBalance->setDoubleClickReturnValue (true, 50.0);
    sliderPingPong->setDoubleClickReturnValue (true, 50.0);
    sliderLowPass->setDoubleClickReturnValue (true, 0.0);
    sliderHighPass->setDoubleClickReturnValue (true, 0.0);
    sliderDryWet->setDoubleClickReturnValue (true, 50.0);
    sliderGain->setDoubleClickReturnValue (true, 0.0);
}

SorvaneAudioProcessorEditor::~SorvaneAudioProcessorEditor()
{
    setMidiLearnMode (false);

    for (auto* slider : { sliderDryWet.get(), sliderGain.get(), sliderDelayTime.get(), sliderDelayFeedback.get() })
        slider->setLookAndFeel (nullptr);
    buttonAbout->setLookAndFeel (nullptr);
    buttonSwitchGUI->setLookAndFeel (nullptr);

    sliderDelayTime = nullptr;
    sliderDelayFeedback = nullptr;
    oscillo = nullptr;
    buttonModeShort = nullptr;
    buttonModeMedium = nullptr;
    buttonModeLong = nullptr;
    buttonModeSync = nullptr;
    labelTmin = nullptr;
    labelTmax = nullptr;
    buttonAbout = nullptr;
    labelDelayTime = nullptr;
    labelDelayFeedback = nullptr;
    labelBalance = nullptr;
    labelPingPong = nullptr;
    labelLowCut = nullptr;
    labelHighCut = nullptr;
    labelOutput = nullptr;
    labelGainValue = nullptr;
    buttonSwitchGUI = nullptr;
    buttonEngrenage = nullptr;
    sliderBalance = nullptr;
    sliderPingPong = nullptr;
    sliderHighPass = nullptr;
    sliderLowPass = nullptr;
    sliderDryWet = nullptr;
    sliderGain = nullptr;
    sliderMode = nullptr;
}

//==============================================================================
juce::Slider* SorvaneAudioProcessorEditor::makeSlider (std::unique_ptr<juce::Slider>& member, const char* name,
                                                      juce::Slider::SliderStyle style, juce::uint32 trackColour)
{
    member = std::make_unique<juce::Slider> (name);
    auto& slider = *member;
    addAndMakeVisible (slider);
    slider.setSliderStyle (style);
    slider.setTextBoxStyle (juce::Slider::NoTextBox, false, 80, 20);
    slider.setColour (juce::Slider::backgroundColourId, juce::Colour (0x00ffffff));
    slider.setColour (juce::Slider::thumbColourId, juce::Colour (0xffffffff));
    slider.setColour (juce::Slider::trackColourId, juce::Colour (trackColour));
    slider.setColour (juce::Slider::rotarySliderFillColourId, juce::Colour (0xffffffff));
    slider.setColour (juce::Slider::rotarySliderOutlineColourId, juce::Colours::grey);
    slider.setColour (juce::Slider::textBoxTextColourId, juce::Colour (0xffffffff));
    slider.setColour (juce::Slider::textBoxBackgroundColourId, juce::Colour (0x00000000));
    slider.setColour (juce::Slider::textBoxHighlightColourId, juce::Colour (0x3affffff));
    slider.setColour (juce::Slider::textBoxOutlineColourId, juce::Colour (0x00000000));
    slider.addListener (this);
    return &slider;
}

juce::Label* SorvaneAudioProcessorEditor::makeLabel (std::unique_ptr<juce::Label>& member, const char* name,
                                                    const char* text, float fontHeight)
{
    member = std::make_unique<juce::Label> (name, juce::translate (text));
    auto& label = *member;
    addAndMakeVisible (label);
    label.setFont (juce::Font (fontHeight, juce::Font::plain));
    label.setJustificationType (juce::Justification::centred);
    label.setEditable (false, false, false);
    label.setColour (juce::TextEditor::textColourId, juce::Colour (0xff000000));
    label.setColour (juce::TextEditor::backgroundColourId, juce::Colour (0x00000000));
    return &label;
}

juce::ImageButton* SorvaneAudioProcessorEditor::makeModeButton (std::unique_ptr<juce::ImageButton>& member,
                                                               const char* name)
{
    member = std::make_unique<juce::ImageButton> (name);
    auto& button = *member;
    addAndMakeVisible (button);
    button.addListener (this);
    button.setConnectedEdges (allEdges);
    setModeImages (button, BinaryData::modePlaceholderPng, BinaryData::modePlaceholderPngSize,
                   BinaryData::modePlaceholderDownPng, BinaryData::modePlaceholderDownPngSize);
    return &button;
}

//==============================================================================
void SorvaneAudioProcessorEditor::paint (juce::Graphics& g)
{
    g.setColour (juce::Colour (0xff000000));
    g.drawImage (backgroundImage, 0, 0, editorWidth, editorHeight,
                 0, 0, backgroundImage.getWidth(), backgroundImage.getHeight(), false);
}

void SorvaneAudioProcessorEditor::resized()
{
    sliderDelayTime->setBounds (446, 124, 70, 70);
    sliderDelayFeedback->setBounds (295, 124, 70, 70);
    oscillo->setBounds (286, 224, 236, 83);
    buttonModeShort->setBounds (569, 177, 53, 18);
    buttonModeMedium->setBounds (569, 197, 53, 18);
    buttonModeLong->setBounds (569, 217, 53, 18);
    buttonModeSync->setBounds (569, 237, 53, 18);
    labelTmin->setBounds (415, 199, 45, 18);
    labelTmax->setBounds (505, 199, 48, 18);
    buttonAbout->setBounds (0, 0, 166, 30);
    labelDelayTime->setBounds (459, 199, 47, 18);
    labelDelayFeedback->setBounds (307, 199, 47, 18);
    labelBalance->setBounds (154, 46, 37, 12);
    labelPingPong->setBounds (154, 89, 37, 12);
    labelLowCut->setBounds (148, 148, 41, 12);
    labelHighCut->setBounds (148, 192, 41, 12);
    labelOutput->setBounds (154, 250, 37, 12);
    labelGainValue->setBounds (12, 59, 37, 12);
    buttonSwitchGUI->setBounds (322, 74, 166, 32);
    buttonEngrenage->setBounds (593, 6, 18, 18);
    sliderBalance->setBounds (48, 47, 142, 40);
    sliderPingPong->setBounds (48, 90, 142, 40);
    sliderHighPass->setBounds (48, 149, 142, 40);
    sliderLowPass->setBounds (48, 193, 142, 40);
    sliderDryWet->setBounds (48, 251, 142, 40);
    sliderGain->setBounds (12, 71, 37, 196);
    sliderMode->setBounds (566, 175, 54, 82);
}

//==============================================================================
int SorvaneAudioProcessorEditor::parameterIndexForName (const juce::String& componentName)
{
    // Each slider is named after its parameter's state element, crossed filter names included.
    for (const auto& parameter : lumarro::parameterTable)
        if (componentName == "slider" + juce::String (parameter.stateElement))
            return parameter.index;

    return -1;
}

int SorvaneAudioProcessorEditor::getControlParameterIndex (juce::Component& control)
{
    return parameterIndexForName (control.getName());
}

//==============================================================================
void SorvaneAudioProcessorEditor::sliderValueChanged (juce::Slider* slider)
{
    if (slider != nullptr)
        sendSliderValue (*slider);
}

void SorvaneAudioProcessorEditor::sliderDragStarted (juce::Slider* slider)
{
    if (slider != nullptr)
        sendGesture (*slider, true);
}

void SorvaneAudioProcessorEditor::sliderDragEnded (juce::Slider* slider)
{
    if (slider != nullptr)
        sendGesture (*slider, false);
}

void SorvaneAudioProcessorEditor::sendSliderValue (juce::Slider& slider)
{
    const double x = slider.getValue();
    double value = 0.0;

    if (&slider == sliderDelayTime.get())
    {
        value = sorvane.currentMode == Sync ? lumarro::noteIndexRange.toNormalised (x)
                                            : lumarro::currentDelayRange (sorvane).toNormalised (x);
    }
    else if (&slider == sliderDelayFeedback.get())              value = lumarro::feedbackPercent.toNormalised (x);
    else if (&slider == sliderMode.get())                       value = x;
    else if (&slider == sliderBalance.get()
             || &slider == sliderPingPong.get()
             || &slider == sliderDryWet.get())                  value = lumarro::percent.toNormalised (x);
    else if (&slider == sliderLowPass.get()
             || &slider == sliderHighPass.get())                value = x;
    else if (&slider == sliderGain.get())                       value = lumarro::gainDecibels.toNormalised (x);
    else                                                        return;

    sorvane.notifyHostOfParameter (parameterIndexForName (slider.getName()), (float) value);
}

void SorvaneAudioProcessorEditor::sendGesture (juce::Slider& slider, bool starting)
{
    // The mode control sends its value directly, without a gesture.
    if (&slider == sliderMode.get())
        return;

    const int index = parameterIndexForName (slider.getName());

    if (index < 0)
        return;

    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    if (starting)
        sorvane.beginParameterChangeGesture (index);
    else
        sorvane.endParameterChangeGesture (index);
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
}

//==============================================================================
void SorvaneAudioProcessorEditor::buttonClicked (juce::Button* button)
{
    const juce::Button* modeButtons[] = { buttonModeShort.get(), buttonModeMedium.get(),
                                          buttonModeLong.get(), buttonModeSync.get() };

    for (int mode = 0; mode < 4; ++mode)
    {
        if (button != modeButtons[mode])
            continue;

        // A click on the active mode's button would switch it off: keep it on, send nothing.
        if (button->getToggleState())
            sorvane.notifyHostOfParameter (SorvaneAudioProcessor::modeIndex, modeValues[mode]);
        else
            button->setToggleState (true, juce::dontSendNotification);

        return;
    }

    if (button == buttonAbout.get())
    {
        aboutPanel->setVisible (! aboutPanel->isVisible());
    }
    else if (button == buttonSwitchGUI.get())
    {
        guiVariant = guiVariant <= 0 ? guiVariant + 1 : 0;
        sorvane.idxGUI = guiVariant;
        showBackground();
        repaint();
    }
    else if (button == buttonEngrenage.get())
    {
        if (optionPanel->isVisible())
        {
            optionPanel->switchLearnOff();
            optionPanel->setVisible (false);
        }
        else
        {
            optionPanel->setVisible (true);
        }
    }
}

void SorvaneAudioProcessorEditor::showBackground()
{
    backgroundImage = guiVariant == 1
                          ? loadImage (BinaryData::backgroundVariant1Jpg, BinaryData::backgroundVariant1JpgSize)
                          : loadImage (BinaryData::backgroundVariant0Jpg, BinaryData::backgroundVariant0JpgSize);
}

//==============================================================================
void SorvaneAudioProcessorEditor::timerCallback()
{
    const bool learning = sorvane.midiLearnActive;

    takeScopeFrame();
    oscillo->repaint();

    if (learning)
    {
        int target = -1;

        for (auto* slider : { sliderLowPass.get(), sliderDelayTime.get(), sliderDelayFeedback.get(),
                              sliderPingPong.get(), sliderHighPass.get(), sliderDryWet.get(),
                              sliderBalance.get(), sliderGain.get(), sliderMode.get() })
        {
            if (slider->isMouseOverOrDragging())
            {
                target = parameterIndexForName (slider->getName());
                break;
            }
        }

        sorvane.midiLearnIndex = target;
    }

    updateRangeLabels();

    if (! learning)
        updateValueLabels();

    // Taken before the refresh reads the values, so that a change landing meanwhile is not lost.
    if (sorvane.parametersChanged.exchange (false, std::memory_order_acquire))
        refreshFromProcessor();
}

void SorvaneAudioProcessorEditor::takeScopeFrame()
{
    // The scope draws a copy, so that the next block may fill the frame while a paint reads it.
    if (const auto* frame = sorvane.scopeBuffer.arrivedFrame())
    {
        scopeFrame = *frame;
        oscillo->sampleCount = scopeFrame.sampleCount;
        sorvane.scopeBuffer.askForNext();
    }
}

void SorvaneAudioProcessorEditor::updateRangeLabels()
{
    const juce::Button* modeButtons[] = { buttonModeShort.get(), buttonModeMedium.get(),
                                          buttonModeLong.get(), buttonModeSync.get() };

    for (int mode = 0; mode < 4; ++mode)
    {
        if (modeButtons[mode]->isMouseOverOrDragging())
        {
            const auto [shortest, longest] = lumarro::modeRangeTexts (mode);
            labelTmin->setText (shortest, juce::dontSendNotification);
            labelTmax->setText (longest, juce::dontSendNotification);
            labelTmin->setVisible (true);
            labelTmax->setVisible (true);
            return;
        }
    }

    labelTmin->setVisible (false);
    labelTmax->setVisible (false);
}

void SorvaneAudioProcessorEditor::updateValueLabels()
{
    const std::pair<juce::Label*, juce::Slider*> hoverLabels[] = {
        { labelGainValue.get(), sliderGain.get() },
        { labelBalance.get(), sliderBalance.get() },
        { labelPingPong.get(), sliderPingPong.get() },
        { labelHighCut.get(), sliderLowPass.get() },
        { labelLowCut.get(), sliderHighPass.get() },
        { labelOutput.get(), sliderDryWet.get() },
    };

    for (const auto& [label, slider] : hoverLabels)
        label->setVisible (slider->isMouseOverOrDragging());
}

void SorvaneAudioProcessorEditor::refreshFromProcessor()
{
    const float highCut = sorvane.getParameter (SorvaneAudioProcessor::highCutIndex);
    const float delayTime = sorvane.getParameter (SorvaneAudioProcessor::delayTimeIndex);

    // Seconds in the current range; in Sync the knob and label show a note value instead.
    const float stored = sorvane.parameterValues[SorvaneAudioProcessor::delayTimeIndex];
    const float seconds = lumarro::currentDelayRange (sorvane).fromNormalised (stored);

    const float feedback = sorvane.getParameter (SorvaneAudioProcessor::delayFeedbackIndex);
    const float pingPong = sorvane.getParameter (SorvaneAudioProcessor::pingPongIndex);
    const float lowCut = sorvane.getParameter (SorvaneAudioProcessor::lowCutIndex);
    const float dryWet = sorvane.getParameter (SorvaneAudioProcessor::dryWetIndex);
    const float balance = sorvane.getParameter (SorvaneAudioProcessor::balanceIndex);
    const float gain = sorvane.getParameter (SorvaneAudioProcessor::gainIndex);

    if (cachedMode != sorvane.currentMode)
        refreshModeControls();

    const auto quietly = juce::dontSendNotification;

    sliderDelayTime->setValue (cachedMode == Sync ? (double) SorvaneAudioProcessor::noteIndexForValue (delayTime)
                                                  : (double) seconds,
                               quietly);
    sliderDelayFeedback->setValue (lumarro::feedbackPercent.fromNormalised (feedback), quietly);
    sliderPingPong->setValue (lumarro::percent.fromNormalised (pingPong), quietly);
    sliderLowPass->setValue (highCut, quietly);
    sliderHighPass->setValue (lowCut, quietly);
    sliderDryWet->setValue (lumarro::percent.fromNormalised (dryWet), quietly);
    sliderBalance->setValue (lumarro::percent.fromNormalised (balance), quietly);
    sliderGain->setValue (lumarro::gainDecibels.fromNormalised (gain), quietly);

    labelDelayTime->setText (lumarro::delayTimeText (cachedMode, delayTime, seconds), quietly);
    labelDelayFeedback->setText (lumarro::feedbackText (feedback), quietly);
    labelGainValue->setText (lumarro::gainText (gain), quietly);
    labelBalance->setText (lumarro::percentText (balance), quietly);
    labelPingPong->setText (lumarro::percentText (pingPong), quietly);
    labelLowCut->setText (lumarro::lowCutText (lowCut), quietly);
    labelHighCut->setText (lumarro::highCutText (highCut), quietly);
    labelOutput->setText (lumarro::percentText (dryWet), quietly);
}

//==============================================================================
void SorvaneAudioProcessorEditor::refreshModeControls()
{
    cachedMode = sorvane.currentMode;

    juce::Button* modeButtons[] = { buttonModeShort.get(), buttonModeMedium.get(),
                                    buttonModeLong.get(), buttonModeSync.get() };

    for (auto* button : modeButtons)
        button->setToggleState (false, juce::dontSendNotification);

    if (cachedMode >= Short && cachedMode <= Long)
    {
        modeButtons[cachedMode]->setToggleState (true, juce::dontSendNotification);
        const auto range = lumarro::currentDelayRange (sorvane);
        sliderDelayTime->setRange (range.low, range.high, 0.001);
    }
    else if (cachedMode == Sync)
    {
        buttonModeSync->setToggleState (true, juce::dontSendNotification);
        sliderDelayTime->setRange (lumarro::noteIndexRange.low, lumarro::noteIndexRange.high, 1.0);
    }
}

void SorvaneAudioProcessorEditor::setMidiLearnMode (bool on)
{
    if (! on)
        sorvane.midiLearnIndex = -1;

    sorvane.midiLearnActive = on;

    for (auto* slider : { sliderLowPass.get(), sliderDelayTime.get(), sliderDelayFeedback.get(),
                          sliderPingPong.get(), sliderHighPass.get(), sliderDryWet.get(),
                          sliderBalance.get(), sliderGain.get(), sliderMode.get() })
        slider->getProperties().set ("midiLearnOn", on);

    sliderMode->setVisible (on);
}

//==============================================================================
// The processor's editor factory lives beside the editor, so the processor library itself
// stays free of the GUI.
juce::AudioProcessorEditor* SorvaneAudioProcessor::createEditor()
{
    return new SorvaneAudioProcessorEditor (*this);
}

bool SorvaneAudioProcessor::hasEditor() const
{
    return true;
}
