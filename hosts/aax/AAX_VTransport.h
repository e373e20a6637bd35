#pragma once

#include "AAX_HostPtr.h"
#include "AAX_HostRuntimeInterfaces.h"
#include "AAX_ITransport.h"

/**
    Stands for the host's transport. Operations on the older interface answer resultHostObjectMissing
    without it, those on the newer interface resultNotAvailable without that one.
*/
class AAX_VTransport final : public AAX_ITransport
{
public:
    /** Asks the host's unknown (which may be null) for both interfaces once, here. */
    explicit AAX_VTransport (IACFUnknown* hostUnknown);
    ~AAX_VTransport() override;

    ResultCode transportTempo (double* beatsPerMinute) override;
    ResultCode transportMeter (std::int32_t* numerator, std::int32_t* denominator) override;
    ResultCode transportIsPlaying (bool* playing) override;
    ResultCode transportTickPosition (std::int64_t* ticks) override;
    ResultCode transportLoop (bool* looping, std::int64_t* startTick, std::int64_t* endTick) override;
    ResultCode transportSamplePosition (std::int64_t* samples) override;
    ResultCode operation9 (void*, void*) override;
    ResultCode operation10 (void*, void*, void*, void*) override;
    ResultCode operation11 (void*) override;
    ResultCode operation12 (void*) override;
    ResultCode transportStoppedPosition (std::int64_t* samples) override;
    ResultCode transportTimecode (std::int32_t* frameRateKind, std::int64_t* offsetFrames) override;
    ResultCode operation15 (void*, void*) override;
    ResultCode operation16 (void*) override;

private:
    HostPtr<IHostTransport> hostInterface;
    HostPtr<IHostTransportNewer> newerHostInterface;
};
