#include "GuiTestSupport.h"
#include "HeadlessWindow.h"
#include "WelcomeGUI.h"

#include <gtest/gtest.h>

namespace
{
juce::HyperlinkButton* findLink (WelcomeGUI& panel)
{
    for (auto* child : panel.getChildren())
        if (auto* link = dynamic_cast<juce::HyperlinkButton*> (child))
            return link;
    return nullptr;
}

void runMessages()
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
}
} // namespace

TEST (WelcomeGUI, AClickAnywhereButTheLinkHidesThePanel)
{
    HeadlessWindow window ({ 0, 0, 620, 305 });
    WelcomeGUI panel;
    window.addChildComponent (panel);

    // On the title, on the picture, in a corner, just beside the link.
    for (const juce::Point<float> point : { juce::Point<float> (309, 102), { 260, 200 }, { 3, 3 }, { 615, 300 }, { 220, 268 } })
    {
        panel.setVisible (true);
        window.click (point);
        runMessages();
        EXPECT_FALSE (panel.isVisible()) << point.toString();
    }
    window.removeChildComponent (&panel);
}

TEST (WelcomeGUI, TheLinkLiesAboveTheCloseButtonAndOpensTheMakersPage)
{
    WelcomeGUI panel;
    panel.setVisible (true);
    auto* link = findLink (panel);
    ASSERT_NE (link, nullptr);

    EXPECT_EQ (link->getBounds(), juce::Rectangle<int> (225, 257, 169, 22));
    EXPECT_EQ (panel.getComponentAt (link->getBounds().getCentre()), link);
    EXPECT_EQ (panel.getComponentAt (juce::Point<int> (10, 10))->getName(), "closeButton");

    EXPECT_EQ (link->getURL().toString (true), WelcomeGUI::makerWebAddress);
    EXPECT_EQ (link->getButtonText(), "www.quellory.com");
    EXPECT_EQ (link->getTooltip(), WelcomeGUI::makerWebAddress);
    EXPECT_TRUE (juce::String (WelcomeGUI::makerWebAddress).startsWith ("https://"));
}

TEST (WelcomeGUI, ThePictureFillsItsPlaceAndNothingElseIsPainted)
{
    WelcomeGUI panel;
    const auto image = GuiTestSupport::render (panel);
    GuiTestSupport::saveArtefact (image, "about-panel");

    EXPECT_EQ (image.getWidth(), 620);
    EXPECT_EQ (image.getHeight(), 305);
    EXPECT_EQ (image.getPixelAt (310, 160).getAlpha(), 255);
    EXPECT_EQ (image.getPixelAt (100, 150).getAlpha(), 0);
    EXPECT_EQ (image.getPixelAt (500, 150).getAlpha(), 0);

    // The title's white text lands on the picture's dark band.
    int whitePixels = 0;
    for (int y = 90; y < 114; ++y)
        for (int x = 221; x < 397; ++x)
            whitePixels += image.getPixelAt (x, y).getBrightness() > 0.9f ? 1 : 0;
    EXPECT_GT (whitePixels, 40);
}
