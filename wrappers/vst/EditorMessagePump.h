#pragma once

#include <juce_events/juce_events.h>

#include <atomic>
#include <mutex>

/** Runs JUCE's messages (timers, repaints, window events) for the plug-in's editors inside
    a VST host, shared by every instance in the process.

    JUCE's message thread is the thread that works on editors: the first to open one, and
    after that whichever thread the host opens, closes or idles editors on. Hosts that send
    the editor idle call drive the messages themselves; while no idle call has come for a
    short while and an editor is open, a fallback thread runs them instead. One lock keeps
    the two from ever working on the editors at the same time.
*/
class EditorMessagePump : private juce::Thread
{
public:
    EditorMessagePump();
    ~EditorMessagePump() override;

    /** Runs a piece of editor work on the calling thread as JUCE's message thread. */
    template <typename Work>
    auto onMessageThread (Work&& work)
    {
        const std::lock_guard<std::recursive_mutex> lock (editorLock);
        claimMessageThread();
        return work();
    }

    /** The host's idle call: runs the pending messages on the calling thread. */
    void hostIdle();

    void editorOpened();
    void editorClosed();

    /** Without an idle call for this long, the fallback thread takes over. */
    static constexpr juce::uint32 quietPeriodMs = 100;
    static constexpr int fallbackPeriodMs = 15;

private:
    void run() override;

    static void claimMessageThread();
    static void dispatchPendingMessages();

    // Recursive: a host may call back into the plug-in from inside a message it handles.
    std::recursive_mutex editorLock;
    std::atomic<juce::uint32> lastHostIdle { 0 };
    std::atomic<int> openEditors { 0 };

    JUCE_DECLARE_NON_COPYABLE (EditorMessagePump)
};
