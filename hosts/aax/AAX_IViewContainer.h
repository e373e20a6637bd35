#pragma once

#include "AAX_HostRuntimeInterfaces.h"

/** The plug-in's side of the host's view container, which holds the editor while the GUI is open. */
class AAX_IViewContainer
{
public:
    virtual ~AAX_IViewContainer() = default;

    virtual std::int32_t viewKind() = 0;
    virtual void* nativeView() = 0;
    virtual ResultCode eventModifiers (std::uint32_t* state) = 0;
    virtual ResultCode setViewSize (const AAX_Point* size) = 0;
    virtual ResultCode parameterMouseDown (const char* identifier, std::uint32_t state) = 0;
    virtual ResultCode parameterMouseDrag (const char* identifier, std::uint32_t state) = 0;
    virtual ResultCode parameterMouseUp (const char* identifier, std::uint32_t state) = 0;
};
