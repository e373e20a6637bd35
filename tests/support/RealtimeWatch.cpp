#include "RealtimeWatch.h"

#include <dlfcn.h>
#include <pthread.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

/*
    Allocations are counted where they all meet, in malloc and its relatives: operator new ends there,
    and so do JUCE's containers, which allocate with malloc and realloc directly. The real functions
    are the next ones in the search order (the C library's, or the sanitizer's when it is linked in).
*/
namespace
{
    // The record lives in static storage: the watch itself must not allocate.
    thread_local bool watching = false;
    thread_local realtimewatch::Seen seen;
    thread_local bool refusingLargeAllocations = false;

    struct RealAllocator
    {
        void* (*malloc) (std::size_t) = nullptr;
        void* (*calloc) (std::size_t, std::size_t) = nullptr;
        void* (*realloc) (void*, std::size_t) = nullptr;
        int (*posixMemalign) (void**, std::size_t, std::size_t) = nullptr;
        void* (*alignedAlloc) (std::size_t, std::size_t) = nullptr;
        void (*free) (void*) = nullptr;
    };

    RealAllocator real;
    bool resolving = false;

    template <typename Function>
    void find (Function& function, const char* name)
    {
        function = reinterpret_cast<Function> (dlsym (RTLD_NEXT, name));
    }

    /** False while the real functions are being looked up: dlsym itself may allocate. The first
        allocation happens before main, on one thread, so the lookup needs no lock. */
    bool haveRealAllocator() noexcept
    {
        if (real.free != nullptr)
            return true;

        if (resolving)
            return false;

        resolving = true;
        find (real.malloc, "malloc");
        find (real.calloc, "calloc");
        find (real.realloc, "realloc");
        find (real.posixMemalign, "posix_memalign");
        find (real.alignedAlloc, "aligned_alloc");
        find (real.free, "free");
        resolving = false;
        return true;
    }

    /** What dlsym allocates during the lookup comes from here and is never given back. */
    struct Bootstrap
    {
        static constexpr std::size_t headerSize = alignof (std::max_align_t);

        alignas (std::max_align_t) unsigned char arena[1 << 16];
        std::size_t used = 0;

        bool holds (const void* p) const noexcept
        {
            return p >= arena && p < arena + sizeof (arena);
        }

        void* allocate (std::size_t size) noexcept
        {
            const auto total = headerSize + (size + headerSize - 1) / headerSize * headerSize;

            if (total > sizeof (arena) - used)
                return nullptr;

            auto* block = arena + used;
            used += total;
            std::memcpy (block, &size, sizeof (size));
            return block + headerSize; // the arena is static, so it is zeroed already
        }

        static std::size_t sizeOf (const void* p) noexcept
        {
            std::size_t size = 0;
            std::memcpy (&size, static_cast<const unsigned char*> (p) - headerSize, sizeof (size));
            return size;
        }
    };

    Bootstrap bootstrap;

    void count() noexcept
    {
        if (watching)
            ++seen.allocations;
    }
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

extern "C" void* malloc (std::size_t size) noexcept
{
    count();
    return haveRealAllocator() ? real.malloc (size) : bootstrap.allocate (size);
}

extern "C" void* calloc (std::size_t count, std::size_t size) noexcept
{
    ::count();

    if (haveRealAllocator())
        return real.calloc (count, size);

    return size != 0 && count > (std::size_t) -1 / size ? nullptr : bootstrap.allocate (count * size);
}

extern "C" void* realloc (void* p, std::size_t size) noexcept
{
    count();

    if (! bootstrap.holds (p))
        return haveRealAllocator() ? real.realloc (p, size) : bootstrap.allocate (size);

    auto* moved = haveRealAllocator() ? real.malloc (size) : bootstrap.allocate (size);

    if (moved != nullptr)
        std::memcpy (moved, p, std::min (size, Bootstrap::sizeOf (p)));

    return moved;
}

extern "C" int posix_memalign (void** out, std::size_t alignment, std::size_t size) noexcept
{
    count();
    return haveRealAllocator() ? real.posixMemalign (out, alignment, size) : ENOMEM;
}

extern "C" void* aligned_alloc (std::size_t alignment, std::size_t size) noexcept
{
    count();
    return haveRealAllocator() ? real.alignedAlloc (alignment, size) : nullptr;
}

extern "C" void free (void* p) noexcept
{
    if (p != nullptr && ! bootstrap.holds (p) && haveRealAllocator())
        real.free (p);
}

void* operator new (std::size_t size)
{
    if (refusingLargeAllocations && size > 1000000)
        throw std::bad_alloc();

    if (auto* p = std::malloc (size == 0 ? 1 : size))
        return p;

    throw std::bad_alloc();
}

// This file's operator new is malloc underneath, so freeing is the matching release; GCC cannot
// see through the replacement and warns when it inlines a delete.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

// Every form is replaced, so that none of them bypasses the count or frees what another form of
// the sanitizer's allocated.
void* operator new (std::size_t size, std::align_val_t alignment)
{
    const auto align = std::max ((std::size_t) alignment, sizeof (void*));

    if (auto* p = std::aligned_alloc (align, (size + align - 1) / align * align))
        return p;

    throw std::bad_alloc();
}

void* operator new (std::size_t size, const std::nothrow_t&) noexcept
{
    try { return operator new (size); } catch (...) { return nullptr; }
}

void* operator new (std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    try { return operator new (size, alignment); } catch (...) { return nullptr; }
}

void* operator new[] (std::size_t size)                                              { return operator new (size); }
void* operator new[] (std::size_t size, std::align_val_t alignment)                  { return operator new (size, alignment); }
void* operator new[] (std::size_t size, const std::nothrow_t& tag) noexcept          { return operator new (size, tag); }
void* operator new[] (std::size_t size, std::align_val_t a, const std::nothrow_t& tag) noexcept { return operator new (size, a, tag); }

void operator delete (void* p) noexcept                                              { std::free (p); }
void operator delete (void* p, std::size_t) noexcept                                 { std::free (p); }
void operator delete (void* p, std::align_val_t) noexcept                            { std::free (p); }
void operator delete (void* p, std::size_t, std::align_val_t) noexcept               { std::free (p); }
void operator delete (void* p, const std::nothrow_t&) noexcept                       { std::free (p); }
void operator delete (void* p, std::align_val_t, const std::nothrow_t&) noexcept     { std::free (p); }
void operator delete[] (void* p) noexcept                                            { std::free (p); }
void operator delete[] (void* p, std::size_t) noexcept                               { std::free (p); }
void operator delete[] (void* p, std::align_val_t) noexcept                          { std::free (p); }
void operator delete[] (void* p, std::size_t, std::align_val_t) noexcept             { std::free (p); }
void operator delete[] (void* p, const std::nothrow_t&) noexcept                     { std::free (p); }
void operator delete[] (void* p, std::align_val_t, const std::nothrow_t&) noexcept   { std::free (p); }

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
