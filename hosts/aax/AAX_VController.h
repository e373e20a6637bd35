#pragma once

#include "AAX_HostPtr.h"
#include "AAX_HostRuntimeInterfaces.h"
#include "AAX_IController.h"

/**
    Stands for the host's controller. Operations on the older interface answer resultHostObjectMissing
    without it, those on the newer interface resultNotAvailable without that one.
*/
class AAX_VController final : public AAX_IController
{
public:
    /** Asks the host's unknown (which may be null) for both interfaces once, here. */
    explicit AAX_VController (IACFUnknown* hostUnknown);
    ~AAX_VController() override;

    ResultCode operation3 (void*) override;
    ResultCode hostSampleRate (float* samplesPerSecond) override;
    ResultCode hostInputLayout (std::int32_t* layoutCode) override;
    ResultCode hostOutputLayout (std::int32_t* layoutCode) override;
    ResultCode operation7 (void*) override;
    ResultCode operation8 (std::uint32_t, void*) override;
    ResultCode operation9 (void*) override;
    ResultCode reportLatency (std::int32_t samples) override;
    ResultCode operation11 (void*, void*, std::uint32_t) override;
    ResultCode postPacket (std::uint32_t port, const void* data, std::uint32_t size) override;
    ResultCode operation20 (std::uint32_t, void*, std::uint32_t) override;
    ResultCode operation13 (std::uint32_t, void*) override;
    ResultCode operation14 (std::uint32_t, void*) override;
    ResultCode operation15 (std::uint32_t) override;
    ResultCode operation18 (void*) override;
    ResultCode operation16 (std::uint32_t, void*) override;
    ResultCode operation17 (std::uint32_t) override;
    ResultCode operation19 (void*, void*) override;
    ResultCode operation21 (void*) override;

    /** Stores 0 in value when the newer interface is missing. */
    ResultCode operation22 (std::int64_t* value) override;
    ResultCode operation23 (void*) override;

private:
    HostPtr<IHostController> hostInterface;
    HostPtr<IHostControllerNewer> newerHostInterface;
};
