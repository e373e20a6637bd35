// Xlib lives in this file alone: its names (Font, Time, ...) clash with JUCE's.

#include "X11HostSession.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <stdexcept>

#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
    std::atomic<int> errors { 0 };

    int countError (Display*, XErrorEvent*)
    {
        ++errors;
        return 0;
    }

    const char* const windowManagerAtoms[] = {
        "WM_PROTOCOLS", "WM_TAKE_FOCUS", "WM_DELETE_WINDOW", "_NET_WM_PING", "WM_CHANGE_STATE",
        "WM_STATE", "_NET_WM_WINDOW_TYPE", "_NET_WM_STATE", "_NET_WM_STATE_HIDDEN",
    };
}

X11HostSession::X11HostSession()
{
    XInitThreads();
    XSetErrorHandler (countError);

    display = XOpenDisplay (nullptr);

    if (display == nullptr)
        throw std::runtime_error ("cannot open the X display");

    for (const auto* atom : windowManagerAtoms)
        XInternAtom (display, atom, False);

    int eventBase = 0, errorBase = 0, major = 0, minor = 0;

    if (! XTestQueryExtension (display, &eventBase, &errorBase, &major, &minor))
        throw std::runtime_error ("the X server has no XTest extension");

    XSync (display, False);
}

X11HostSession::~X11HostSession()
{
    XCloseDisplay (display);
}

unsigned long X11HostSession::createWindow (int x, int y, int width, int height)
{
    const auto screen = DefaultScreen (display);

    XSetWindowAttributes attributes {};
    attributes.override_redirect = True;
    attributes.background_pixel = BlackPixel (display, screen);
    attributes.event_mask = KeyPressMask;

    const auto window = XCreateWindow (display, RootWindow (display, screen), x, y, (unsigned) width, (unsigned) height,
                                       0, CopyFromParent, InputOutput, CopyFromParent,
                                       CWOverrideRedirect | CWBackPixel | CWEventMask, &attributes);
    XMapRaised (display, window);
    XSync (display, False);
    return window;
}

void X11HostSession::destroyWindow (unsigned long window)
{
    XDestroyWindow (display, window);
    XSync (display, False);
}

void X11HostSession::movePointer (int x, int y)
{
    XTestFakeMotionEvent (display, -1, x, y, CurrentTime);
    flush();
}

void X11HostSession::pressButton()
{
    XTestFakeButtonEvent (display, 1, True, CurrentTime);
    flush();
}

void X11HostSession::releaseButton()
{
    XTestFakeButtonEvent (display, 1, False, CurrentTime);
    flush();
}

void X11HostSession::turnWheel()
{
    XTestFakeButtonEvent (display, 4, True, CurrentTime);
    XTestFakeButtonEvent (display, 4, False, CurrentTime);
    flush();
}

void X11HostSession::giveFocus (unsigned long window)
{
    XSetInputFocus (display, window, RevertToParent, CurrentTime);
    XSync (display, False);
}

unsigned long X11HostSession::focusedWindow()
{
    Window focus = 0;
    int revertTo = 0;
    XGetInputFocus (display, &focus, &revertTo);
    return focus;
}

void X11HostSession::typeKey()
{
    const auto space = XKeysymToKeycode (display, XK_space);
    XTestFakeKeyEvent (display, space, True, CurrentTime);
    XTestFakeKeyEvent (display, space, False, CurrentTime);
    XSync (display, False);
}

bool X11HostSession::keyPressReached (unsigned long window)
{
    XSync (display, False);
    XEvent event;
    bool reached = false;

    while (XCheckTypedWindowEvent (display, window, KeyPress, &event))
        reached = true;

    return reached;
}

std::vector<uint32_t> X11HostSession::capture (int x, int y, int width, int height)
{
    XSync (display, False);
    std::vector<uint32_t> pixels;
    auto* image = XGetImage (display, DefaultRootWindow (display), x, y, (unsigned) width, (unsigned) height,
                             AllPlanes, ZPixmap);

    if (image == nullptr)
        return pixels;

    pixels.reserve ((size_t) (width * height));

    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column)
            pixels.push_back ((uint32_t) XGetPixel (image, column, row) & 0xffffffu);

    XDestroyImage (image);
    return pixels;
}

int X11HostSession::errorCount()
{
    return errors.load();
}

void X11HostSession::flush()
{
    XSync (display, False);
}

//==============================================================================
XvfbServer::XvfbServer()
{
    // Display numbers well above :0, where a desktop or another program may look for a server;
    // a number that is taken makes the server exit, and the next one is tried.
    const int first = 100 + (int) (getpid() % 400);

    for (int display = first; display < first + 50 && name.empty(); ++display)
    {
        if (start (display))
            name = ":" + std::to_string (display);
    }

    if (name.empty())
        throw std::runtime_error ("Xvfb did not start");
}

bool XvfbServer::start (int display)
{
    int ready[2];

    if (pipe (ready) != 0)
        return false;

    pid = fork();

    if (pid == 0)
    {
        // A test program that dies (a sanitizer's report, a crash) takes its server with it, or the
        // server would hold the test runner's output open.
        prctl (PR_SET_PDEATHSIG, SIGTERM);

        if (getppid() == 1)
            _exit (127);

        // Xvfb writes its display number to this descriptor once it accepts clients.
        const auto number = ":" + std::to_string (display);
        const auto fd = std::to_string (ready[1]);
        close (ready[0]);
        execlp ("Xvfb", "Xvfb", number.c_str(), "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
                "-nolisten", "tcp", (char*) nullptr);
        _exit (127);
    }

    close (ready[1]);
    std::string answer;
    pollfd wanted { ready[0], POLLIN, 0 };

    while (pid > 0 && poll (&wanted, 1, 10000) > 0)
    {
        char c = 0;

        if (read (ready[0], &c, 1) != 1 || c == '\n')
            break;

        answer += c;
    }

    close (ready[0]);

    if (answer == std::to_string (display))
        return true;

    if (pid > 0)
    {
        kill (pid, SIGTERM);
        waitpid (pid, nullptr, 0);
    }

    pid = -1;
    return false;
}

XvfbServer::~XvfbServer()
{
    if (pid > 0)
    {
        kill (pid, SIGTERM);
        waitpid (pid, nullptr, 0);
    }
}
