// The GUI tests run without a display: JUCE renders offscreen. The plug-in's look-and-feel
// is installed as JUCE's default, as the editor does, because only the default one is
// asked for typefaces.

#include "GuiTestSupport.h"

#include "AltLookAndFeel.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);

    // JUCE tries display :0 when DISPLAY is unset; name one that cannot exist, so these
    // tests stay display-less beside the X servers other tests start.
    setenv ("DISPLAY", ":65535", 1);

    const juce::ScopedJuceInitialiser_GUI juceGui;
    AltLookAndFeel lookAndFeel;
    juce::LookAndFeel::setDefaultLookAndFeel (&lookAndFeel);

    const int result = RUN_ALL_TESTS();

    juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
    return result;
}
