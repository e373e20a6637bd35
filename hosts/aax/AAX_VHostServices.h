#pragma once

#include "AAX_HostDescriptionInterfaces.h"
#include "AAX_HostPtr.h"
#include "AAX_IHostServices.h"

/** Stands for the host's services object, the one proxy that lives from start-up to shut-down. */
class AAX_VHostServices final : public AAX_IHostServices
{
public:
    /** Asks the host's factory for the services once, here; the unknown (which may be null) is not kept. */
    explicit AAX_VHostServices (IACFUnknown* hostUnknown);
    ~AAX_VHostServices() override = default;

    ResultCode reportToHost (const void*, std::int32_t, const void*) override;
    ResultCode traceMessage (std::int32_t priority, const char* message) override;

private:
    HostPtr<IHostServices> hostServices;
};

/**
    Makes the module's services proxy on the first call with a host unknown, and deletes it on a call with
    null; any other call changes nothing. Start-up and shut-down call it, before and after everything else,
    so it takes no lock. Only the call with null releases the host's object; unloading the module does not.
*/
void setHostServices (IACFUnknown* hostUnknown);

/** The module's services proxy, or null outside start-up and shut-down. */
AAX_VHostServices* getHostServices() noexcept;

/**
    Formats a printf-style message and hands it to the host's trace. A message longer than the 512-byte
    buffer is cut. Answers 0 without formatting anything when there are no host services.
*/
ResultCode traceToHost (std::int32_t priority, const char* format, ...) __attribute__ ((format (printf, 2, 3)));
