#pragma once

#include "AAX_InterfaceIds.h"
#include "AAX_Results.h"

/**
    The head of every interface on either side of the host boundary: query, add a reference, release one.

    Interfaces across the boundary are reached by slot position, so none of them declares a virtual
    destructor (it would take two slots and shift every operation after it); they are never deleted
    through an interface pointer, only released.
*/
class IACFUnknown
{
public:
    /** On success writes an interface pointer that already holds one added reference; on failure writes null. */
    virtual ResultCode queryInterface (const InterfaceId& id, void** out) = 0;
    virtual std::uint32_t addRef() = 0;
    virtual std::uint32_t release() = 0;

protected:
    ~IACFUnknown() = default;
};
