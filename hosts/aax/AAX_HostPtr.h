#pragma once

#include "IACFUnknown.h"

/**
    A held pointer to one of the host's interfaces: null, or holding exactly one counted reference.

    Host queries and create-instance calls write straight into it through writeTarget(), which first gives
    back whatever it held.
*/
template <typename Interface>
class HostPtr
{
public:
    HostPtr() = default;
    ~HostPtr()                                      { reset(); }

    HostPtr (const HostPtr&) = delete;
    HostPtr& operator= (const HostPtr&) = delete;

    Interface* get() const noexcept                 { return static_cast<Interface*> (pointer); }
    bool isNull() const noexcept                    { return pointer == nullptr; }

    void reset()
    {
        if (auto* held = get())
        {
            pointer = nullptr;
            static_cast<IACFUnknown*> (held)->release();
        }
    }

    /** Takes an extra reference on an interface the caller does not own. */
    void retain (Interface* interface)
    {
        reset();

        if (interface != nullptr)
        {
            static_cast<IACFUnknown*> (interface)->addRef();
            pointer = interface;
        }
    }

    /** The out pointer for a query or create-instance, after releasing what was held. */
    void** writeTarget()
    {
        reset();
        return &pointer;
    }

private:
    void* pointer = nullptr;
};

/** The held pointer, or the int resultNullPointer thrown when it is null: a host that reported success and
    left nothing behind must not be called through. */
template <typename Interface>
Interface* checkedInterface (const HostPtr<Interface>& held)
{
    if (auto* interface = held.get())
        return interface;

    throw static_cast<int> (resultNullPointer);
}

/** Forwards to the host when the held interface exists; otherwise answers the given missing result. */
template <typename Interface, typename Result, typename Call>
Result forwardToHost (const HostPtr<Interface>& held, Result missing, Call&& call)
{
    if (held.isNull())
        return missing;

    return call (*checkedInterface (held));
}

/** As forwardToHost, but a null out pointer answers resultNullPointer and never reaches the host. */
template <typename Interface, typename Call, typename... Outputs>
ResultCode forwardWithOutputs (const HostPtr<Interface>& held, ResultCode missing, Call&& call, Outputs*... outputs)
{
    if (held.isNull())
        return missing;

    if ((! outputs || ...))
        return resultNullPointer;

    return call (*checkedInterface (held));
}
