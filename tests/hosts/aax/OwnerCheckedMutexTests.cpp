#include "OwnerCheckedMutex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <dlfcn.h>
#include <thread>

namespace
{
    std::atomic<bool> failNextMutexInit { false };

    using MutexInit = int (*) (pthread_mutex_t*, const pthread_mutexattr_t*);

    bool otherThreadCanLock (OwnerCheckedMutex::Handle handle)
    {
        bool took = false;
        std::thread other ([&]
        {
            took = OwnerCheckedMutex::lock (handle);
            if (took)
                OwnerCheckedMutex::unlock (handle);
        });
        other.join();
        return took;
    }
}

// Lets a test make the system refuse the next mutex; everything else reaches the real function.
extern "C" int pthread_mutex_init (pthread_mutex_t* mutex, const pthread_mutexattr_t* attributes) noexcept
{
    if (failNextMutexInit.exchange (false))
        return EAGAIN;

    static const auto real = reinterpret_cast<MutexInit> (dlsym (RTLD_NEXT, "pthread_mutex_init"));
    return real (mutex, attributes);
}

TEST (OwnerCheckedMutex, TheHolderReentersWithoutBlockingAndOneUnlockFreesIt)
{
    OwnerCheckedMutex::Handle handle = nullptr;
    ASSERT_TRUE (OwnerCheckedMutex::create (handle));
    ASSERT_NE (handle, nullptr);

    EXPECT_TRUE (OwnerCheckedMutex::lock (handle));
    EXPECT_FALSE (OwnerCheckedMutex::lock (handle));

    OwnerCheckedMutex::unlock (handle);
    EXPECT_TRUE (otherThreadCanLock (handle));

    // The former holder takes it again as an outermost lock.
    EXPECT_TRUE (OwnerCheckedMutex::lock (handle));
    OwnerCheckedMutex::unlock (handle);

    OwnerCheckedMutex::destroy (handle);
    EXPECT_EQ (handle, nullptr);
}

TEST (OwnerCheckedMutex, AnotherThreadsUnlockLeavesTheHolderHoldingIt)
{
    OwnerCheckedMutex::Handle handle = nullptr;
    ASSERT_TRUE (OwnerCheckedMutex::create (handle));

    std::atomic<int> stage { 0 };
    std::atomic<bool> waiterGotIt { false };

    std::thread holder ([&]
    {
        EXPECT_TRUE (OwnerCheckedMutex::lock (handle));
        stage = 1;
        while (stage.load() < 3) {}
        OwnerCheckedMutex::unlock (handle);
    });

    while (stage.load() < 1) {}

    // Not the holder: ignored.
    OwnerCheckedMutex::unlock (handle);

    std::thread waiter ([&]
    {
        EXPECT_TRUE (OwnerCheckedMutex::lock (handle));
        waiterGotIt = true;
        OwnerCheckedMutex::unlock (handle);
    });

    std::this_thread::sleep_for (std::chrono::milliseconds (50));
    EXPECT_FALSE (waiterGotIt.load());

    stage = 3;
    holder.join();
    waiter.join();
    EXPECT_TRUE (waiterGotIt.load());

    OwnerCheckedMutex::destroy (handle);
}

TEST (OwnerCheckedMutex, ManyThreadsTakingItInTurnNeverOverlap)
{
    OwnerCheckedMutex::Handle handle = nullptr;
    ASSERT_TRUE (OwnerCheckedMutex::create (handle));

    int inside = 0, maxInside = 0;
    long total = 0;

    auto worker = [&]
    {
        for (int i = 0; i < 20000; ++i)
        {
            const bool took = OwnerCheckedMutex::lock (handle);
            const bool nested = OwnerCheckedMutex::lock (handle);
            EXPECT_TRUE (took);
            EXPECT_FALSE (nested);
            maxInside = std::max (maxInside, ++inside);
            ++total;
            --inside;
            if (took)
                OwnerCheckedMutex::unlock (handle);
        }
    };

    std::thread a (worker), b (worker), c (worker);
    a.join();
    b.join();
    c.join();

    EXPECT_EQ (maxInside, 1);
    EXPECT_EQ (total, 60000);
    OwnerCheckedMutex::destroy (handle);
}

TEST (OwnerCheckedMutex, ANullHandleLocksNothing)
{
    OwnerCheckedMutex::Handle handle = nullptr;
    EXPECT_FALSE (OwnerCheckedMutex::lock (handle));
    OwnerCheckedMutex::unlock (handle);
    OwnerCheckedMutex::destroy (handle);
    EXPECT_EQ (handle, nullptr);
}

TEST (OwnerCheckedMutex, AMutexTheSystemRefusesIsReportedAsAFailure)
{
    OwnerCheckedMutex::Handle handle = reinterpret_cast<OwnerCheckedMutex::Handle> (0x1);

    failNextMutexInit = true;
    EXPECT_FALSE (OwnerCheckedMutex::create (handle));
    EXPECT_EQ (handle, nullptr);

    EXPECT_TRUE (OwnerCheckedMutex::create (handle));
    OwnerCheckedMutex::destroy (handle);
}
