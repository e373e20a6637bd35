#pragma once

#include "AAX_IACFEffectParameters.h"
#include "CACFUnknown.h"

/** Joins the host-facing interface to the reference-counted base: queries and references made through
    the interface all land in the one count and query of the base. */
class AAX_IEffectParameters : public AAX_IACFEffectParameters_V2,
                              public CACFUnknown
{
public:
    ResultCode queryInterface (const InterfaceId& id, void** out) override
    {
        return getOuterUnknown()->queryInterface (id, out);
    }

    std::uint32_t addRef() override { return getOuterUnknown()->addRef(); }
    std::uint32_t release() override { return getOuterUnknown()->release(); }

    /*  Hosts reach the slot right after the interface's operations as this query, with the two destructors
        after it, so the query must be declared before the destructor. Left implicit, the destructor would
        take that slot, and a host calling it would destroy the object in place. */
    ResultCode queryInternal (const InterfaceId& id, void** out) override = 0;
    ~AAX_IEffectParameters() override = default;
};
