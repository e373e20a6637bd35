#include "AAX_VHostServices.h"

#include "AAX_HostObjectCreation.h"

#include <cstdarg>
#include <cstdio>
#include <utility>

namespace
{
    // A plain pointer, not a static owner: that would release the host's object when the module is
    // unloaded, and a host that never shut the module down may have torn the object down by then.
    AAX_VHostServices* hostServicesInstance = nullptr;
}

AAX_VHostServices::AAX_VHostServices (IACFUnknown* hostUnknown)
{
    if (hostUnknown != nullptr)
        createHostObject (*hostUnknown, kHostServicesClassId, kHostServicesInterfaceId, hostServices);
}

ResultCode AAX_VHostServices::reportToHost (const void* a, std::int32_t b, const void* c)
{
    return forwardToHost (hostServices, resultHostObjectMissing, [&] (auto& host) { return host.reportToHost (a, b, c); });
}

ResultCode AAX_VHostServices::traceMessage (std::int32_t priority, const char* message)
{
    return forwardToHost (hostServices, resultHostObjectMissing, [&] (auto& host) { return host.traceMessage (priority, message); });
}

void setHostServices (IACFUnknown* hostUnknown)
{
    if (hostUnknown != nullptr && hostServicesInstance == nullptr)
        hostServicesInstance = new AAX_VHostServices (hostUnknown);
    else if (hostUnknown == nullptr)
        delete std::exchange (hostServicesInstance, nullptr);
}

AAX_VHostServices* getHostServices() noexcept
{
    return hostServicesInstance;
}

ResultCode traceToHost (std::int32_t priority, const char* format, ...)
{
    auto* services = getHostServices();

    if (services == nullptr)
        return resultSuccess;

    char message[512] = "";

    if (format == nullptr)
        return services->traceMessage (priority, message);

    va_list arguments;
    va_start (arguments, format);
    const auto length = std::vsnprintf (message, sizeof (message), format, arguments);
    va_end (arguments);

    if (length < 0)
        message[0] = 0;

    return services->traceMessage (priority, message);
}
