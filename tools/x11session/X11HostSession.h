#pragma once

#include <cstdint>
#include <string>
#include <vector>

/** What a host's GUI side does in X11 for the editor tests: windows for plug-in editors, real
    input through the XTest extension, and pictures of the screen. Window ids are plain
    integers here, so no Xlib header reaches code that also includes JUCE.

    The session opens its connection before any plug-in touches X: it installs an error
    handler that counts instead of ending the process, and interns the window-manager atoms,
    which a bare X server without a window manager would otherwise not know.
*/
class X11HostSession
{
public:
    /** Throws std::runtime_error when the display cannot be opened or lacks XTest. */
    X11HostSession();
    ~X11HostSession();

    X11HostSession (const X11HostSession&) = delete;
    X11HostSession& operator= (const X11HostSession&) = delete;

    /** A mapped top-level window at a screen position, as a host makes for a plug-in's view. It
        listens for key presses, as a host's window does for its shortcuts. */
    unsigned long createWindow (int x, int y, int width, int height);
    void destroyWindow (unsigned long window);

    /** Real pointer input, in screen coordinates, as from a mouse. */
    void movePointer (int x, int y);
    void pressButton();
    void releaseButton();
    void turnWheel();

    /** The X keyboard focus, as a window manager or the host sets it and as a plug-in may steal it. */
    void giveFocus (unsigned long window);
    unsigned long focusedWindow();

    /** Types a key as a user does, and tells whether the press reached a window of this session. */
    void typeKey();
    bool keyPressReached (unsigned long window);

    /** Screen pixels as 0xRRGGBB, row by row. */
    std::vector<uint32_t> capture (int x, int y, int width, int height);

    /** X errors seen so far, on any connection of this process. */
    static int errorCount();

private:
    void flush();

    struct _XDisplay* display = nullptr;
};

/** A private X server for tests: started on a free display, stopped with the object. */
class XvfbServer
{
public:
    /** Throws std::runtime_error when Xvfb cannot be started. */
    XvfbServer();
    ~XvfbServer();

    XvfbServer (const XvfbServer&) = delete;
    XvfbServer& operator= (const XvfbServer&) = delete;

    const std::string& displayName() const noexcept { return name; }

private:
    bool start (int display);

    int pid = -1;
    std::string name;
};
