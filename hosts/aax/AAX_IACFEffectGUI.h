#pragma once

#include "AAX_HostRuntimeInterfaces.h"
#include "IACFUnknown.h"

/**
    The host's view of a plug-in instance's GUI object.

    The host reaches these operations by slot position, so their order is fixed. The reserved slots are
    host entries this plug-in does not use; they keep their fixed answers so the table stays in step.
*/
class AAX_IACFEffectGUI : public IACFUnknown
{
public:
    virtual ResultCode initialize (IACFUnknown* hostController) = 0;                          // 3
    virtual ResultCode uninitialize() = 0;                                                    // 4
    virtual ResultCode setViewContainer (IACFUnknown* viewContainer) = 0;                     // 5
    virtual ResultCode viewSize (AAX_Point* size) = 0;                                        // 6
    virtual ResultCode reservedOperation7 (const void*) = 0;                                  // 7
    virtual ResultCode reservedOperation8 (const void*) = 0;                                  // 8
    virtual ResultCode parameterUpdated (const char* parameterId) = 0;                        // 9
    virtual ResultCode reservedOperation10 (const void*) = 0;                                 // 10
    virtual ResultCode highlightParameter (const char* parameterId, bool isHighlighted, uint32_t colourKind) = 0; // 11
    // 12 is the component's queryInternal, which the host also calls (see AAX_IEffectGUI).

protected:
    ~AAX_IACFEffectGUI() = default;
};
