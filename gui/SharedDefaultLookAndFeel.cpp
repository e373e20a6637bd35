#include "SharedDefaultLookAndFeel.h"

SharedDefaultLookAndFeel::SharedDefaultLookAndFeel()
    : previousDefault (&juce::LookAndFeel::getDefaultLookAndFeel())
{
    juce::LookAndFeel::setDefaultLookAndFeel (this);

    // JUCE asks only the default look for typefaces and keeps what it got, so whatever was
    // resolved before this one came in (the plain default face above all, which every plain
    // font then takes on construction) would stay the system font for the plug-in's text.
    juce::Typeface::clearTypefaceCache();
}

SharedDefaultLookAndFeel::~SharedDefaultLookAndFeel()
{
    // Only put the earlier default back if it is still ours to replace; someone who
    // installed another one since keeps theirs.
    if (&juce::LookAndFeel::getDefaultLookAndFeel() == this)
        juce::LookAndFeel::setDefaultLookAndFeel (previousDefault.get());
}
