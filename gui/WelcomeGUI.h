#pragma once

#include "AltLookAndFeel.h"

#include <memory>

/** The about panel: the size of the editor window, it shows the product's title, its
    picture and a link to the maker's web page. An invisible button covers the whole
    panel, so a click anywhere but on the link hides it.
*/
class WelcomeGUI : public juce::Component,
                   public juce::Button::Listener
{
public:
    WelcomeGUI();
    ~WelcomeGUI() override;

    void paint (juce::Graphics& g) override;
    void resized() override;
    void buttonClicked (juce::Button* button) override;

    /** The maker's web page that the link opens. */
    static constexpr const char* makerWebAddress = "https://www.quellory.com";

private:
    AltLookAndFeel_transparentButton transparentLookAndFeel;
    std::unique_ptr<juce::Label> labelTitle;
    std::unique_ptr<juce::TextButton> closeButton;
    std::unique_ptr<juce::HyperlinkButton> linkButton;
    juce::Image picture;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WelcomeGUI)
};
