#include "CACFUnknown.h"

namespace
{
    // Components are made and released on whatever threads the host uses.
    std::atomic<std::int32_t> liveObjectCount { 0 };
}

CACFUnknown::CACFUnknown()
    : outerUnknown (&privateUnknown),
      privateUnknown (*this)
{
    liveObjectCount.fetch_add (1);
}

CACFUnknown::~CACFUnknown()
{
    liveObjectCount.fetch_sub (1);
}

void CACFUnknown::deleteSelf()
{
    delete this;
}

ResultCode CACFUnknown::queryInternal (const InterfaceId& id, void** out)
{
    if (out == nullptr)
        return resultNullPointer;

    *out = nullptr;

    if (id != kUnknownInterfaceId)
        return resultNoInterface;

    *out = static_cast<IACFUnknown*> (&privateUnknown);
    privateUnknown.addRef();
    return resultSuccess;
}

std::uint32_t CACFUnknown::addRefInternal()
{
    return referenceCount.fetch_add (1) + 1;
}

std::uint32_t CACFUnknown::releaseInternal()
{
    const auto remaining = referenceCount.fetch_sub (1) - 1;

    if (remaining == 0)
    {
        finalRelease();
        deleteSelf();
    }

    return remaining;
}

std::int32_t CACFUnknown::getLiveObjectCount() noexcept
{
    return liveObjectCount.load();
}

ResultCode CACFUnknown::PrivateUnknown::queryInterface (const InterfaceId& id, void** out)
{
    return owner.queryInternal (id, out);
}

std::uint32_t CACFUnknown::PrivateUnknown::addRef()
{
    return owner.addRefInternal();
}

std::uint32_t CACFUnknown::PrivateUnknown::release()
{
    return owner.releaseInternal();
}
