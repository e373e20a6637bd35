#pragma once

#include "AAX_HostPtr.h"
#include "AAX_HostRuntimeInterfaces.h"
#include "AAX_IAutomationDelegate.h"

/** Stands for the host's automation delegate; without it every operation answers resultHostObjectMissing. */
class AAX_VAutomationDelegate final : public AAX_IAutomationDelegate
{
public:
    /** Asks the host's unknown (which may be null) for the delegate once, here. */
    explicit AAX_VAutomationDelegate (IACFUnknown* hostUnknown);
    ~AAX_VAutomationDelegate() override = default;

    ResultCode attachParameter (const char* identifier) override;
    ResultCode detachParameter (const char* identifier) override;
    ResultCode requestValueChange (const char* identifier, double normalisedValue) override;
    ResultCode reportValue (const char* identifier, double normalisedValue) override;
    ResultCode beginTouch (const char* identifier) override;
    ResultCode endTouch (const char* identifier) override;
    ResultCode queryParameter (const char* identifier, void* out) override;

private:
    HostPtr<IHostAutomationDelegate> hostInterface;
};
