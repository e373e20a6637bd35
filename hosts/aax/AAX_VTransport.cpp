#include "AAX_VTransport.h"

AAX_VTransport::AAX_VTransport (IACFUnknown* hostUnknown)
{
    if (hostUnknown == nullptr)
        return;

    hostUnknown->queryInterface (kTransportInterfaceId, hostInterface.writeTarget());
    hostUnknown->queryInterface (kTransportNewerId, newerHostInterface.writeTarget());
}

AAX_VTransport::~AAX_VTransport()
{
    newerHostInterface.reset();
    hostInterface.reset();
}

ResultCode AAX_VTransport::transportTempo (double* beatsPerMinute)
{
    return forwardWithOutputs (hostInterface, resultHostObjectMissing,
                               [&] (auto& host) { return host.tempo (beatsPerMinute); }, beatsPerMinute);
}

ResultCode AAX_VTransport::transportMeter (std::int32_t* numerator, std::int32_t* denominator)
{
    return forwardWithOutputs (hostInterface, resultHostObjectMissing,
                               [&] (auto& host) { return host.meter (numerator, denominator); }, numerator, denominator);
}

ResultCode AAX_VTransport::transportIsPlaying (bool* playing)
{
    return forwardWithOutputs (hostInterface, resultHostObjectMissing,
                               [&] (auto& host) { return host.isPlaying (playing); }, playing);
}

ResultCode AAX_VTransport::transportTickPosition (std::int64_t* ticks)
{
    return forwardWithOutputs (hostInterface, resultHostObjectMissing,
                               [&] (auto& host) { return host.tickPosition (ticks); }, ticks);
}

ResultCode AAX_VTransport::transportLoop (bool* looping, std::int64_t* startTick, std::int64_t* endTick)
{
    return forwardWithOutputs (hostInterface, resultHostObjectMissing,
                               [&] (auto& host) { return host.loop (looping, startTick, endTick); },
                               looping, startTick, endTick);
}

ResultCode AAX_VTransport::transportSamplePosition (std::int64_t* samples)
{
    return forwardWithOutputs (hostInterface, resultHostObjectMissing,
                               [&] (auto& host) { return host.samplePosition (samples); }, samples);
}

ResultCode AAX_VTransport::operation9 (void* a, void* b)
{
    return forwardToHost (hostInterface, resultHostObjectMissing, [&] (auto& host) { return host.operation9 (a, b); });
}

ResultCode AAX_VTransport::operation10 (void* a, void* b, void* c, void* d)
{
    return forwardToHost (hostInterface, resultHostObjectMissing, [&] (auto& host) { return host.operation10 (a, b, c, d); });
}

ResultCode AAX_VTransport::operation11 (void* a)
{
    return forwardToHost (hostInterface, resultHostObjectMissing, [&] (auto& host) { return host.operation11 (a); });
}

ResultCode AAX_VTransport::operation12 (void* a)
{
    return forwardToHost (hostInterface, resultHostObjectMissing, [&] (auto& host) { return host.operation12 (a); });
}

ResultCode AAX_VTransport::transportStoppedPosition (std::int64_t* samples)
{
    return forwardWithOutputs (newerHostInterface, resultNotAvailable,
                               [&] (auto& host) { return host.stoppedPosition (samples); }, samples);
}

ResultCode AAX_VTransport::transportTimecode (std::int32_t* frameRateKind, std::int64_t* offsetFrames)
{
    return forwardWithOutputs (newerHostInterface, resultNotAvailable,
                               [&] (auto& host) { return host.timecode (frameRateKind, offsetFrames); },
                               frameRateKind, offsetFrames);
}

ResultCode AAX_VTransport::operation15 (void* a, void* b)
{
    return forwardToHost (newerHostInterface, resultNotAvailable, [&] (auto& host) { return host.operation15 (a, b); });
}

ResultCode AAX_VTransport::operation16 (void* a)
{
    return forwardToHost (newerHostInterface, resultNotAvailable, [&] (auto& host) { return host.operation16 (a); });
}
