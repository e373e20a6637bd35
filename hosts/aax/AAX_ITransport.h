#pragma once

#include "AAX_Results.h"

/**
    The plug-in's side of the host's transport. The operationN members pass through to the host's slot N;
    nothing in the plug-in calls them.
*/
class AAX_ITransport
{
public:
    virtual ~AAX_ITransport() = default;

    virtual ResultCode transportTempo (double* beatsPerMinute) = 0;
    virtual ResultCode transportMeter (std::int32_t* numerator, std::int32_t* denominator) = 0;
    virtual ResultCode transportIsPlaying (bool* playing) = 0;
    virtual ResultCode transportTickPosition (std::int64_t* ticks) = 0;
    virtual ResultCode transportLoop (bool* looping, std::int64_t* startTick, std::int64_t* endTick) = 0;
    virtual ResultCode transportSamplePosition (std::int64_t* samples) = 0;
    virtual ResultCode operation9 (void*, void*) = 0;
    virtual ResultCode operation10 (void*, void*, void*, void*) = 0;
    virtual ResultCode operation11 (void*) = 0;
    virtual ResultCode operation12 (void*) = 0;
    virtual ResultCode transportStoppedPosition (std::int64_t* samples) = 0;
    virtual ResultCode transportTimecode (std::int32_t* frameRateKind, std::int64_t* offsetFrames) = 0;
    virtual ResultCode operation15 (void*, void*) = 0;
    virtual ResultCode operation16 (void*) = 0;
};
