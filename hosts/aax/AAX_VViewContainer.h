#pragma once

#include "AAX_HostPtr.h"
#include "AAX_IViewContainer.h"

/**
    Stands for the host's view container. Without it the kind is 0, the native view null, the size setter
    answers resultHostObjectMissing, and the mouse and modifier operations resultNotAvailable.
*/
class AAX_VViewContainer final : public AAX_IViewContainer
{
public:
    /** Asks the host's unknown (which may be null) for the container once, here. */
    explicit AAX_VViewContainer (IACFUnknown* hostUnknown);
    ~AAX_VViewContainer() override = default;

    std::int32_t viewKind() override;
    void* nativeView() override;
    ResultCode eventModifiers (std::uint32_t* state) override;
    ResultCode setViewSize (const AAX_Point* size) override;
    ResultCode parameterMouseDown (const char* identifier, std::uint32_t state) override;
    ResultCode parameterMouseDrag (const char* identifier, std::uint32_t state) override;
    ResultCode parameterMouseUp (const char* identifier, std::uint32_t state) override;

private:
    HostPtr<IHostViewContainer> hostInterface;
};
