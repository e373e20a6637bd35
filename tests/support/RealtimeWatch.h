#pragma once

/*
    Watches what a piece of work does on the calling thread: every allocation (malloc and its
    relatives, which operator new and JUCE's containers end in) and every pthread_mutex_lock, with
    the mutexes it locked. A test program that uses it links RealtimeWatch.cpp, which replaces
    those functions; other threads are never counted.
*/
namespace realtimewatch
{

/** What the watched work did. */
struct Seen
{
    static constexpr int maxRecordedLocks = 256;

    int allocations = 0;
    int locks = 0;

    /** The mutexes locked, in order; locks beyond the first maxRecordedLocks are only counted. */
    const void* lockedMutexes[maxRecordedLocks] {};

    /** How many of the recorded locks took this mutex. */
    int locksOf (const void* mutex) const noexcept
    {
        int count = 0;

        for (int i = 0; i < locks && i < maxRecordedLocks; ++i)
            if (lockedMutexes[i] == mutex)
                ++count;

        return count;
    }
};

void startWatching() noexcept;
const Seen& stopWatching() noexcept;

/** Counts what the work allocates and locks on this thread; the test's own reporting happens
    afterwards, unwatched. */
template <typename Work>
Seen watchWhile (Work&& work)
{
    startWatching();
    work();
    return stopWatching();
}

/** The one mutex the work locks, or null when it locks none or more than one: a way to learn the
    address of a lock that lives inside another class. */
template <typename Work>
const void* mutexLockedBy (Work&& work)
{
    const auto seen = watchWhile (work);
    return seen.locks == 1 ? seen.lockedMutexes[0] : nullptr;
}

/** While set, allocations above a megabyte on this thread fail with std::bad_alloc. */
void refuseLargeAllocations (bool shouldRefuse) noexcept;

} // namespace realtimewatch
