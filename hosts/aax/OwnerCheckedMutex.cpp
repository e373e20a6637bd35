#include "OwnerCheckedMutex.h"

#include <memory>
#include <new>

// The owner is read by threads that do not hold the mutex; a thread can only ever find its own identity
// there while it holds the mutex, so relaxed loads decide correctly as long as they are not torn.
static_assert (std::atomic<pthread_t>::is_always_lock_free, "the owner must be read without a lock of its own");

bool OwnerCheckedMutex::create (Handle& handle)
{
    handle = nullptr;

    auto record = std::unique_ptr<Record> (new (std::nothrow) Record());

    if (record == nullptr || pthread_mutex_init (&record->mutex, nullptr) != 0)
        return false;

    handle = record.release();
    return true;
}

void OwnerCheckedMutex::destroy (Handle& handle)
{
    if (handle == nullptr)
        return;

    pthread_mutex_destroy (&handle->mutex);
    delete handle;
    handle = nullptr;
}

bool OwnerCheckedMutex::lock (Handle handle)
{
    if (handle == nullptr)
        return false;

    const auto self = pthread_self();

    if (pthread_equal (self, handle->owner.load (std::memory_order_relaxed)) != 0)
        return false;

    pthread_mutex_lock (&handle->mutex);
    handle->owner.store (self, std::memory_order_relaxed);
    return true;
}

void OwnerCheckedMutex::unlock (Handle handle)
{
    if (handle == nullptr)
        return;

    if (pthread_equal (pthread_self(), handle->owner.load (std::memory_order_relaxed)) == 0)
        return;

    handle->owner.store (pthread_t {}, std::memory_order_relaxed);
    pthread_mutex_unlock (&handle->mutex);
}
