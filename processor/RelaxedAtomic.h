#pragma once

#include <atomic>

namespace lumarro
{

/** A value that one thread writes while others read it, with no lock: a std::atomic whose every
    load and store is relaxed.

    Hosts set parameters, save and restore state and run the editor on threads of their own
    while the audio thread reads the same settings. Each setting is one value written whole, and
    nothing else is ordered by it: the engine's glides hide the moment at which a new value lands.
    So relaxed order is all that is needed, and on x86-64 a relaxed load or store is the same
    single instruction as a plain one. It reads and assigns like the plain value it replaces;
    a copy copies the value, so that structures holding one stay copyable.
*/
template <typename T>
class RelaxedAtomic
{
public:
    constexpr RelaxedAtomic (T initial = T {}) noexcept : value (initial) {}
    RelaxedAtomic (const RelaxedAtomic& other) noexcept : value (other.load()) {}

    RelaxedAtomic& operator= (const RelaxedAtomic& other) noexcept
    {
        store (other.load());
        return *this;
    }

    RelaxedAtomic& operator= (T newValue) noexcept
    {
        store (newValue);
        return *this;
    }

    operator T() const noexcept { return load(); }

    T load() const noexcept { return value.load (std::memory_order_relaxed); }
    void store (T newValue) noexcept { value.store (newValue, std::memory_order_relaxed); }

private:
    std::atomic<T> value;

    static_assert (std::atomic<T>::is_always_lock_free, "shared with the audio thread, so never a lock");
};

} // namespace lumarro
