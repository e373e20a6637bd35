#pragma once

#include "AAX_Results.h"

/**
    The plug-in's side of the host's controller. The operationN members pass through to the host's slot N;
    nothing in the plug-in calls them.
*/
class AAX_IController
{
public:
    virtual ~AAX_IController() = default;

    virtual ResultCode operation3 (void*) = 0;
    virtual ResultCode hostSampleRate (float* samplesPerSecond) = 0;
    virtual ResultCode hostInputLayout (std::int32_t* layoutCode) = 0;
    virtual ResultCode hostOutputLayout (std::int32_t* layoutCode) = 0;
    virtual ResultCode operation7 (void*) = 0;
    virtual ResultCode operation8 (std::uint32_t, void*) = 0;
    virtual ResultCode operation9 (void*) = 0;
    virtual ResultCode reportLatency (std::int32_t samples) = 0;
    virtual ResultCode operation11 (void*, void*, std::uint32_t) = 0;
    virtual ResultCode postPacket (std::uint32_t port, const void* data, std::uint32_t size) = 0;
    virtual ResultCode operation20 (std::uint32_t, void*, std::uint32_t) = 0;
    virtual ResultCode operation13 (std::uint32_t, void*) = 0;
    virtual ResultCode operation14 (std::uint32_t, void*) = 0;
    virtual ResultCode operation15 (std::uint32_t) = 0;
    virtual ResultCode operation18 (void*) = 0;
    virtual ResultCode operation16 (std::uint32_t, void*) = 0;
    virtual ResultCode operation17 (std::uint32_t) = 0;
    virtual ResultCode operation19 (void*, void*) = 0;
    virtual ResultCode operation21 (void*) = 0;
    virtual ResultCode operation22 (std::int64_t* value) = 0;
    virtual ResultCode operation23 (void*) = 0;
};
