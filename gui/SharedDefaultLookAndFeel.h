#pragma once

#include "AltLookAndFeel.h"

/** The plug-in's look installed as JUCE's process-wide default for as long as this object
    lives. Editors share one through juce::SharedResourcePointer, so the default never
    points at a closed editor's member; the default that was in place before comes back
    when the last holder lets go. Installing it also empties JUCE's typeface cache, so the
    plug-in's text takes the embedded typeface whatever the process drew before.
*/
class SharedDefaultLookAndFeel : public AltLookAndFeel
{
public:
    SharedDefaultLookAndFeel();
    ~SharedDefaultLookAndFeel() override;

private:
    // Weak, so a previous default that has gone since gives way to JUCE's own.
    juce::WeakReference<juce::LookAndFeel> previousDefault;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SharedDefaultLookAndFeel)
};
