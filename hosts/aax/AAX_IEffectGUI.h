#pragma once

#include "AAX_IACFEffectGUI.h"
#include "CACFUnknown.h"

/** Joins the host-facing GUI interface to the reference-counted base: queries and references made
    through the interface all land in the one count and query of the base. */
class AAX_IEffectGUI : public AAX_IACFEffectGUI,
                       public CACFUnknown
{
public:
    ResultCode queryInterface (const InterfaceId& id, void** out) override
    {
        return getOuterUnknown()->queryInterface (id, out);
    }

    std::uint32_t addRef() override  { return getOuterUnknown()->addRef(); }
    std::uint32_t release() override { return getOuterUnknown()->release(); }
};
