#pragma once

#include "PrivateDisplay.h"
#include "SubstituteHost.h"

#include <juce_graphics/juce_graphics.h>

#include <gtest/gtest.h>

#include <chrono>
#include <initializer_list>
#include <memory>
#include <thread>

/*
    The host's side of an editor on the private X server: its window, its idle loop and the
    user's pointer over the editor.
*/
constexpr int editorWidth = 620;
constexpr int editorHeight = 305;

inline X11HostSession& x11() { return PrivateDisplay::session(); }

inline void sleepMs (int ms)
{
    std::this_thread::sleep_for (std::chrono::milliseconds (ms));
}

/** The host's idle loop: the editor idle call to every instance, about 60 times a second. */
inline void idle (std::initializer_list<SubstituteHost*> hosts, int ms)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds (ms);

    while (std::chrono::steady_clock::now() < end)
    {
        for (auto* host : hosts)
            host->dispatch (19);

        sleepMs (16);
    }
}

/** Idles until a condition holds, for at most a few seconds, so a loaded machine only waits longer. */
template <typename Condition>
bool idleUntil (std::initializer_list<SubstituteHost*> hosts, Condition condition)
{
    for (int waited = 0; waited < 5000; waited += 50)
    {
        idle (hosts, 50);

        if (condition())
            return true;
    }

    return false;
}

/** A fixture that loads the built plug-in for each test, and after it parks the pointer away
    from every window and checks that X reported no error.
*/
template <typename TestBase>
class LoadedOnTheDisplay : public TestBase
{
protected:
    void SetUp() override
    {
        library = std::make_unique<VstPluginLibrary> (LUMARRO_PLUGIN_PATH);
    }

    void TearDown() override
    {
        x11().movePointer (1200, 1000);
        library = nullptr;
        EXPECT_EQ (X11HostSession::errorCount(), 0);
    }

    std::unique_ptr<VstPluginLibrary> library;
};

/** A plug-in view: a host window at a screen position with the editor open in it. */
struct EditorView
{
    EditorView (SubstituteHost& h, int x, int y) : host (h), left (x), top (y)
    {
        window = x11().createWindow (x, y, editorWidth, editorHeight);
        opened = host.dispatch (14, 0, 0, reinterpret_cast<void*> (window));
    }

    ~EditorView()
    {
        host.dispatch (15);
        x11().destroyWindow (window);
    }

    std::vector<uint32_t> capture (juce::Rectangle<int> area = { 0, 0, editorWidth, editorHeight })
    {
        return x11().capture (left + area.getX(), top + area.getY(), area.getWidth(), area.getHeight());
    }

    void movePointer (juce::Point<int> p) { x11().movePointer (left + p.x, top + p.y); }

    SubstituteHost& host;
    int left, top;
    unsigned long window = 0;
    intptr_t opened = 0;
};
