#include "EditorMessagePump.h"

namespace juce
{
    // JUCE's own Linux message loop step (not in its public headers): runs one pending
    // message or window event, or answers false at once when none is waiting.
    bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
}

namespace
{
    // Enough for every timer and repaint that piles up between two idle calls, yet bounded
    // so an idle call always returns to the host.
    constexpr int maxMessagesPerPump = 256;
}

EditorMessagePump::EditorMessagePump()
    : juce::Thread ("Lumarro editor messages")
{
}

EditorMessagePump::~EditorMessagePump()
{
    stopThread (2000);

    // JUCE shuts down next, on the thread closing the last instance: make it the message
    // thread again if the fallback had taken that role.
    claimMessageThread();
}

void EditorMessagePump::hostIdle()
{
    lastHostIdle = juce::Time::getMillisecondCounter();
    onMessageThread ([] { dispatchPendingMessages(); });
}

void EditorMessagePump::editorOpened()
{
    ++openEditors;

    // Started only once an editor opens: scanning and audio-only instances need no thread.
    if (! isThreadRunning())
        startThread();
}

void EditorMessagePump::editorClosed()
{
    --openEditors;
}

void EditorMessagePump::run()
{
    while (! threadShouldExit())
    {
        wait (fallbackPeriodMs);

        const auto sinceIdle = juce::Time::getMillisecondCounter() - lastHostIdle.load();

        if (openEditors > 0 && sinceIdle > quietPeriodMs)
            onMessageThread ([] { dispatchPendingMessages(); });
    }
}

void EditorMessagePump::claimMessageThread()
{
    if (auto* messageManager = juce::MessageManager::getInstanceWithoutCreating())
        if (! messageManager->isThisTheMessageThread())
            messageManager->setCurrentThreadAsMessageThread();
}

void EditorMessagePump::dispatchPendingMessages()
{
    for (int i = 0; i < maxMessagesPerPump; ++i)
        if (! juce::dispatchNextMessageOnSystemQueue (true))
            break;
}
