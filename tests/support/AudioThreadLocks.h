#pragma once

#include "RealtimeWatch.h"

#include <gtest/gtest.h>
#include <juce_audio_processors/juce_audio_processors.h>

/**
    The only locks a host wrapper may take on the audio thread: the processor's callback lock, once
    around each call of processBlock, and the lock of JUCE's listener list, which JUCE takes once for
    each change it passes on to the host. Both are found by address, so a third lock cannot hide
    behind them.
*/
struct AudioThreadLocks
{
    explicit AudioThreadLocks (juce::AudioProcessor& processor)
        // Removing a listener that was never added takes the listener list's lock and nothing else.
        : listenerLock (realtimewatch::mutexLockedBy ([&] { processor.removeListener (nullptr); })),
          callbackLock (realtimewatch::mutexLockedBy ([&] { const juce::ScopedLock lock (processor.getCallbackLock()); }))
    {
    }

    /** Passes when the watched work allocated nothing and took exactly one callback lock per
        processBlock call and one listener lock per change the host was told of. */
    testing::AssertionResult allowedOnly (const realtimewatch::Seen& seen, int processCalls, int notifications) const
    {
        if (listenerLock == nullptr || callbackLock == nullptr || listenerLock == callbackLock)
            return testing::AssertionFailure() << "the processor's two locks could not be told apart";

        const auto listenerLocks = seen.locksOf (listenerLock);
        const auto callbackLocks = seen.locksOf (callbackLock);

        if (seen.allocations == 0 && seen.locks == listenerLocks + callbackLocks
            && callbackLocks == processCalls && listenerLocks == notifications)
            return testing::AssertionSuccess();

        return testing::AssertionFailure() << seen.allocations << " allocations; " << seen.locks << " locks, "
                                           << callbackLocks << " of them the callback lock (expected " << processCalls
                                           << ") and " << listenerLocks << " the listener lock (expected "
                                           << notifications << ")";
    }

    const void* listenerLock;
    const void* callbackLock;
};
