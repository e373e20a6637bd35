#include "AAX_VViewContainer.h"

AAX_VViewContainer::AAX_VViewContainer (IACFUnknown* hostUnknown)
{
    if (hostUnknown != nullptr)
        hostUnknown->queryInterface (kViewContainerInterfaceId, hostInterface.writeTarget());
}

std::int32_t AAX_VViewContainer::viewKind()
{
    return forwardToHost (hostInterface, std::int32_t { 0 }, [] (auto& host) { return host.viewKind(); });
}

void* AAX_VViewContainer::nativeView()
{
    return forwardToHost (hostInterface, static_cast<void*> (nullptr), [] (auto& host) { return host.nativeView(); });
}

ResultCode AAX_VViewContainer::eventModifiers (std::uint32_t* state)
{
    return forwardWithOutputs (hostInterface, resultNotAvailable,
                               [&] (auto& host) { return host.eventModifiers (state); }, state);
}

ResultCode AAX_VViewContainer::setViewSize (const AAX_Point* size)
{
    // Without a container nothing was resized, so this must not read as success.
    return forwardWithOutputs (hostInterface, resultHostObjectMissing,
                               [&] (auto& host) { return host.setViewSize (size); }, size);
}

ResultCode AAX_VViewContainer::parameterMouseDown (const char* identifier, std::uint32_t state)
{
    return forwardToHost (hostInterface, resultNotAvailable, [&] (auto& host) { return host.parameterMouseDown (identifier, state); });
}

ResultCode AAX_VViewContainer::parameterMouseDrag (const char* identifier, std::uint32_t state)
{
    return forwardToHost (hostInterface, resultNotAvailable, [&] (auto& host) { return host.parameterMouseDrag (identifier, state); });
}

ResultCode AAX_VViewContainer::parameterMouseUp (const char* identifier, std::uint32_t state)
{
    return forwardToHost (hostInterface, resultNotAvailable, [&] (auto& host) { return host.parameterMouseUp (identifier, state); });
}
