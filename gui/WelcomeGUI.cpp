#include "WelcomeGUI.h"

#include "BinaryData.h"

WelcomeGUI::WelcomeGUI()
{
    labelTitle = std::make_unique<juce::Label> ("labelTitle", juce::translate ("LUMARRO v1.1"));
    addAndMakeVisible (labelTitle.get());
    labelTitle->setFont (juce::Font (20.0f, juce::Font::plain));
    labelTitle->setJustificationType (juce::Justification::centred);
    labelTitle->setEditable (false, false, false);
    labelTitle->setColour (juce::Label::textColourId, juce::Colour (0xfffcfcfc));
    labelTitle->setColour (juce::TextEditor::textColourId, juce::Colour (0xff000000));
    labelTitle->setColour (juce::TextEditor::backgroundColourId, juce::Colour (0x00000000));

    closeButton = std::make_unique<juce::TextButton> ("closeButton");
    addAndMakeVisible (closeButton.get());
    closeButton->setButtonText ({});
    closeButton->setConnectedEdges (juce::Button::ConnectedOnLeft | juce::Button::ConnectedOnRight
                                    | juce::Button::ConnectedOnTop | juce::Button::ConnectedOnBottom);
    closeButton->addListener (this);
    closeButton->setColour (juce::TextButton::buttonColourId, juce::Colour (0x00ffffff));
    closeButton->setColour (juce::TextButton::buttonOnColourId, juce::Colour (0x00ffffff));

    const juce::URL address (makerWebAddress);
    const auto linkText = address.toString (false).fromFirstOccurrenceOf ("://", false, false);
    linkButton = std::make_unique<juce::HyperlinkButton> (juce::translate (linkText), address);
    addAndMakeVisible (linkButton.get());
    linkButton->setTooltip (juce::translate (makerWebAddress));
    linkButton->setButtonText (juce::translate (linkText));
    linkButton->setColour (juce::HyperlinkButton::textColourId, juce::Colour (0xffe10035));

    picture = juce::ImageCache::getFromMemory (BinaryData::welcomePicturePng, BinaryData::welcomePicturePngSize);

    setSize (620, 305);
    closeButton->setLookAndFeel (&transparentLookAndFeel);
    linkButton->setFont (juce::Font (14.0f, juce::Font::plain), true, juce::Justification::centred);
}

WelcomeGUI::~WelcomeGUI()
{
    closeButton->setLookAndFeel (nullptr);
    labelTitle = nullptr;
    closeButton = nullptr;
    linkButton = nullptr;
}

void WelcomeGUI::paint (juce::Graphics& g)
{
    // No background: the editor stays visible around the picture. Opaque black only
    // makes the picture draw at full opacity.
    g.setColour (juce::Colour (0xff000000));
    g.drawImage (picture, 200, 19, 220, 280, 0, 0, picture.getWidth(), picture.getHeight(), false);
}

void WelcomeGUI::resized()
{
    labelTitle->setBounds (221, 90, 176, 24);
    closeButton->setBounds (0, 0, 620, 305);
    linkButton->setBounds (225, 257, 169, 22);
}

void WelcomeGUI::buttonClicked (juce::Button* button)
{
    if (button == closeButton.get())
        setVisible (false);
}
