// Xlib's names (Font, Time, ...) clash with JUCE's, so JUCE's X11 entry points are reached from
// this file alone.
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1

#include "HostWindowEmbedding.h"

namespace
{
    bool isOwnWindow (::Window window)
    {
        for (int i = 0; i < juce::ComponentPeer::getNumPeers(); ++i)
            if ((::Window) (juce::pointer_sized_uint) juce::ComponentPeer::getPeer (i)->getNativeHandle() == window)
                return true;

        return false;
    }

    juce::X11Symbols::XSetInputFocus xlibSetInputFocus = nullptr;

    void setInputFocusOutsideOwnWindows (::Display* display, ::Window window, int revertTo, ::Time time)
    {
        if (! isOwnWindow (window))
            xlibSetInputFocus (display, window, revertTo, time);
    }

    void leaveKeysToParent (juce::ComponentPeer* peer)
    {
        auto* windowSystem = juce::XWindowSystem::getInstanceWithoutCreating();

        if (peer == nullptr || windowSystem == nullptr || windowSystem->getDisplay() == nullptr)
            return;

        auto* display = windowSystem->getDisplay();
        auto* symbols = juce::X11Symbols::getInstance();
        const auto window = (::Window) (juce::pointer_sized_uint) peer->getNativeHandle();

        const juce::XWindowSystemUtilities::ScopedXLock lock;
        XWindowAttributes attributes;

        if (symbols->xGetWindowAttributes (display, window, &attributes))
            symbols->xSelectInput (display, window, attributes.your_event_mask & ~(KeyPressMask | KeyReleaseMask));
    }
}

/** Shared by every embedded editor of this library: the first puts the filter into JUCE's table of
    Xlib entry points, the last takes it out again. The table is this library's own, so other
    plug-ins in the host keep their behaviour.
*/
class HostWindowEmbedding::FocusFilter
{
public:
    FocusFilter()
    {
        const juce::XWindowSystemUtilities::ScopedXLock lock;
        auto* symbols = juce::X11Symbols::getInstance();
        xlibSetInputFocus = symbols->xSetInputFocus;
        symbols->xSetInputFocus = setInputFocusOutsideOwnWindows;
    }

    ~FocusFilter()
    {
        const juce::XWindowSystemUtilities::ScopedXLock lock;

        if (auto* symbols = juce::X11Symbols::getInstanceWithoutCreating())
            symbols->xSetInputFocus = xlibSetInputFocus;

        xlibSetInputFocus = nullptr;
    }
};

HostWindowEmbedding::HostWindowEmbedding (juce::Component& editorToEmbed, void* hostWindow)
    : editor (editorToEmbed)
{
    editor.setOpaque (true);
    editor.setVisible (true);
    editor.addToDesktop (juce::ComponentPeer::windowIgnoresKeyPresses, hostWindow);
    leaveKeysToParent (editor.getPeer());
}

HostWindowEmbedding::~HostWindowEmbedding()
{
    if (editor.isOnDesktop())
        editor.removeFromDesktop();
}
