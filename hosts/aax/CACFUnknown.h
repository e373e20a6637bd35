#pragma once

#include "IACFUnknown.h"

#include <atomic>

/**
    The reference-counted base of the plug-in's components.

    A component puts its ACF interface first and this class second; that interface's queryInterface, addRef
    and release forward to getOuterUnknown(), which is the component's own private unknown, so every call
    through any of its interfaces lands in the one count and the one query here.
*/
class CACFUnknown
{
public:
    CACFUnknown();
    virtual ~CACFUnknown();

    CACFUnknown (const CACFUnknown&) = delete;
    CACFUnknown& operator= (const CACFUnknown&) = delete;

    virtual ResultCode finishConstruction()     { return resultSuccess; }
    virtual void finalRelease()                 {}
    virtual void deleteSelf();

    /** Answers kUnknownInterfaceId with the private unknown; overrides answer their own interfaces first. */
    virtual ResultCode queryInternal (const InterfaceId& id, void** out);
    virtual std::uint32_t addRefInternal();

    /** The release whose own decrement reaches 0 calls finalRelease and deletes the object. */
    virtual std::uint32_t releaseInternal();

    IACFUnknown* getOuterUnknown() const noexcept      { return outerUnknown; }

    /** The number of components alive in the module; the host may unload it when this is 0. */
    static std::int32_t getLiveObjectCount() noexcept;

    class PrivateUnknown final : public IACFUnknown
    {
    public:
        explicit PrivateUnknown (CACFUnknown& ownerToUse) noexcept  : owner (ownerToUse) {}

        ResultCode queryInterface (const InterfaceId& id, void** out) override;
        std::uint32_t addRef() override;
        std::uint32_t release() override;

    private:
        CACFUnknown& owner;
    };

private:
    std::atomic<std::uint32_t> referenceCount { 0 };
    IACFUnknown* outerUnknown;
    PrivateUnknown privateUnknown;
};
