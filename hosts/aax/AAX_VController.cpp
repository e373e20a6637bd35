#include "AAX_VController.h"

AAX_VController::AAX_VController (IACFUnknown* hostUnknown)
{
    if (hostUnknown == nullptr)
        return;

    hostUnknown->queryInterface (kControllerInterfaceId, hostInterface.writeTarget());
    hostUnknown->queryInterface (kControllerNewerId, newerHostInterface.writeTarget());
}

AAX_VController::~AAX_VController()
{
    newerHostInterface.reset();
    hostInterface.reset();
}

ResultCode AAX_VController::operation3 (void* a)
{
    return forwardToHost (hostInterface, resultHostObjectMissing, [&] (auto& host) { return host.operation3 (a); });
}

ResultCode AAX_VController::hostSampleRate (float* samplesPerSecond)
{
    return forwardWithOutputs (hostInterface, resultHostObjectMissing,
                               [&] (auto& host) { return host.hostSampleRate (samplesPerSecond); }, samplesPerSecond);
}

ResultCode AAX_VController::hostInputLayout (std::int32_t* layoutCode)
{
    return forwardWithOutputs (hostInterface, resultHostObjectMissing,
                               [&] (auto& host) { return host.hostInputLayout (layoutCode); }, layoutCode);
}

ResultCode AAX_VController::hostOutputLayout (std::int32_t* layoutCode)
{
    return forwardWithOutputs (hostInterface, resultHostObjectMissing,
                               [&] (auto& host) { return host.hostOutputLayout (layoutCode); }, layoutCode);
}

ResultCode AAX_VController::operation7 (void* a)
{
    return forwardToHost (hostInterface, resultHostObjectMissing, [&] (auto& host) { return host.operation7 (a); });
}

ResultCode AAX_VController::operation8 (std::uint32_t a, void* b)
{
    return forwardToHost (hostInterface, resultHostObjectMissing, [&] (auto& host) { return host.operation8 (a, b); });
}

ResultCode AAX_VController::operation9 (void* a)
{
    return forwardToHost (hostInterface, resultHostObjectMissing, [&] (auto& host) { return host.operation9 (a); });
}

ResultCode AAX_VController::reportLatency (std::int32_t samples)
{
    return forwardToHost (hostInterface, resultHostObjectMissing, [&] (auto& host) { return host.reportLatency (samples); });
}

ResultCode AAX_VController::operation11 (void* a, void* b, std::uint32_t c)
{
    return forwardToHost (hostInterface, resultHostObjectMissing, [&] (auto& host) { return host.operation11 (a, b, c); });
}

ResultCode AAX_VController::postPacket (std::uint32_t port, const void* data, std::uint32_t size)
{
    return forwardToHost (hostInterface, resultHostObjectMissing, [&] (auto& host) { return host.postPacket (port, data, size); });
}

ResultCode AAX_VController::operation20 (std::uint32_t a, void* b, std::uint32_t c)
{
    return forwardToHost (newerHostInterface, resultNotAvailable, [&] (auto& host) { return host.operation20 (a, b, c); });
}

ResultCode AAX_VController::operation13 (std::uint32_t a, void* b)
{
    return forwardToHost (hostInterface, resultHostObjectMissing, [&] (auto& host) { return host.operation13 (a, b); });
}

ResultCode AAX_VController::operation14 (std::uint32_t a, void* b)
{
    return forwardToHost (hostInterface, resultHostObjectMissing, [&] (auto& host) { return host.operation14 (a, b); });
}

ResultCode AAX_VController::operation15 (std::uint32_t a)
{
    return forwardToHost (hostInterface, resultHostObjectMissing, [&] (auto& host) { return host.operation15 (a); });
}

ResultCode AAX_VController::operation18 (void* a)
{
    return forwardToHost (hostInterface, resultHostObjectMissing, [&] (auto& host) { return host.operation18 (a); });
}

ResultCode AAX_VController::operation16 (std::uint32_t a, void* b)
{
    return forwardToHost (hostInterface, resultHostObjectMissing, [&] (auto& host) { return host.operation16 (a, b); });
}

ResultCode AAX_VController::operation17 (std::uint32_t a)
{
    return forwardToHost (hostInterface, resultHostObjectMissing, [&] (auto& host) { return host.operation17 (a); });
}

ResultCode AAX_VController::operation19 (void* a, void* b)
{
    return forwardToHost (hostInterface, resultHostObjectMissing, [&] (auto& host) { return host.operation19 (a, b); });
}

ResultCode AAX_VController::operation21 (void* a)
{
    return forwardToHost (newerHostInterface, resultNotAvailable, [&] (auto& host) { return host.operation21 (a); });
}

ResultCode AAX_VController::operation22 (std::int64_t* value)
{
    if (newerHostInterface.isNull() && value != nullptr)
        *value = 0;

    return forwardWithOutputs (newerHostInterface, resultNotAvailable,
                               [&] (auto& host) { return host.operation22 (value); }, value);
}

ResultCode AAX_VController::operation23 (void* a)
{
    return forwardToHost (newerHostInterface, resultNotAvailable, [&] (auto& host) { return host.operation23 (a); });
}
