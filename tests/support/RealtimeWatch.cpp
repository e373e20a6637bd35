#include "RealtimeWatch.h"

#include <dlfcn.h>
#include <pthread.h>

#include <cstdlib>
#include <new>

namespace
{
    // The record lives in static storage: the watch itself must not allocate.
    thread_local bool watching = false;
    thread_local realtimewatch::Seen seen;
    thread_local bool refusingLargeAllocations = false;
}

namespace realtimewatch
{
    void startWatching() noexcept
    {
        seen.allocations = seen.locks = 0;
        watching = true;
    }

    const Seen& stopWatching() noexcept
    {
        watching = false;
        return seen;
    }

    void refuseLargeAllocations (bool shouldRefuse) noexcept
    {
        refusingLargeAllocations = shouldRefuse;
    }
}

void* operator new (std::size_t size)
{
    if (watching)
        ++seen.allocations;

    if (refusingLargeAllocations && size > 1000000)
        throw std::bad_alloc();

    if (auto* p = std::malloc (size == 0 ? 1 : size))
        return p;

    throw std::bad_alloc();
}

// This file's operator new is malloc underneath, so freeing is the matching release; GCC cannot
// see through the replacement and warns when it inlines a delete.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new[] (std::size_t size)                  { return operator new (size); }
void operator delete (void* p) noexcept                  { std::free (p); }
void operator delete (void* p, std::size_t) noexcept     { std::free (p); }
void operator delete[] (void* p) noexcept                { std::free (p); }
void operator delete[] (void* p, std::size_t) noexcept   { std::free (p); }

extern "C" int pthread_mutex_lock (pthread_mutex_t* mutex)
{
    using LockFunction = int (*) (pthread_mutex_t*);
    static const auto next = reinterpret_cast<LockFunction> (dlsym (RTLD_NEXT, "pthread_mutex_lock"));

    if (watching)
    {
        if (seen.locks < realtimewatch::Seen::maxRecordedLocks)
            seen.lockedMutexes[seen.locks] = mutex;

        ++seen.locks;
    }

    return next (mutex);
}
