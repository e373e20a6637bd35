#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** An editor placed in a host's native window as a guest that takes the mouse but never the keyboard.

    The editor has nothing to type into, and the host's shortcuts (play, save, quit) must keep working
    after a click in it. On X11, JUCE's peer moves the keyboard focus into its own window on every
    button press, whatever the window's style flags say, and its windows ask for key events, which X
    would otherwise pass up to the host's window while the pointer is over the editor. So while any
    editor of this library is embedded, this library's copy of JUCE may not give the input focus to a
    window of its own, and each embedded window leaves key events to its parent.

    One object lives as long as its editor sits in the host's window. Create and destroy it on the
    thread that works on editors.
*/
class HostWindowEmbedding
{
public:
    HostWindowEmbedding (juce::Component& editorToEmbed, void* hostWindow);
    ~HostWindowEmbedding();

private:
    class FocusFilter;

    juce::SharedResourcePointer<FocusFilter> focusFilter;
    juce::Component& editor;

    JUCE_DECLARE_NON_COPYABLE (HostWindowEmbedding)
};
