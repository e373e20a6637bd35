#include "SharedDefaultLookAndFeel.h"

SharedDefaultLookAndFeel::SharedDefaultLookAndFeel()
    : previousDefault (&juce::LookAndFeel::getDefaultLookAndFeel())
{
    juce::LookAndFeel::setDefaultLookAndFeel (this);
}

SharedDefaultLookAndFeel::~SharedDefaultLookAndFeel()
{
    // Only put the earlier default back if it is still ours to replace; someone who
    // installed another one since keeps theirs.
    if (&juce::LookAndFeel::getDefaultLookAndFeel() == this)
        juce::LookAndFeel::setDefaultLookAndFeel (previousDefault.get());
}
