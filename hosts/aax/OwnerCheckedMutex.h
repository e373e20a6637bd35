#pragma once

#include <atomic>
#include <pthread.h>

/**
    A lock that the thread holding it may "lock" again without waiting on itself.

    Only the outermost lock on a thread takes the mutex (lock returns true), and only a caller whose lock
    returned true unlocks it. There is no nesting count: inner lock calls return false and are not undone.
*/
class OwnerCheckedMutex
{
public:
    struct Record
    {
        std::atomic<pthread_t> owner { pthread_t {} };
        pthread_mutex_t mutex;
    };

    using Handle = Record*;

    /** Creates the mutex; on failure returns false and leaves the handle null, so callers can refuse to run
        unguarded instead of silently carrying on without mutual exclusion. */
    [[nodiscard]] static bool create (Handle& handle);

    static void destroy (Handle& handle);

    /** True when this call took the mutex; false when the calling thread already holds it, or the handle is null. */
    [[nodiscard]] static bool lock (Handle handle);

    /** Releases the mutex when the calling thread holds it; otherwise does nothing. */
    static void unlock (Handle handle);
};
