#include "AAX_VAutomationDelegate.h"

AAX_VAutomationDelegate::AAX_VAutomationDelegate (IACFUnknown* hostUnknown)
{
    if (hostUnknown != nullptr)
        hostUnknown->queryInterface (kAutomationDelegateInterfaceId, hostInterface.writeTarget());
}

ResultCode AAX_VAutomationDelegate::attachParameter (const char* identifier)
{
    return forwardToHost (hostInterface, resultHostObjectMissing, [&] (auto& host) { return host.attachParameter (identifier); });
}

ResultCode AAX_VAutomationDelegate::detachParameter (const char* identifier)
{
    return forwardToHost (hostInterface, resultHostObjectMissing, [&] (auto& host) { return host.detachParameter (identifier); });
}

ResultCode AAX_VAutomationDelegate::requestValueChange (const char* identifier, double normalisedValue)
{
    return forwardToHost (hostInterface, resultHostObjectMissing, [&] (auto& host) { return host.requestValueChange (identifier, normalisedValue); });
}

ResultCode AAX_VAutomationDelegate::reportValue (const char* identifier, double normalisedValue)
{
    return forwardToHost (hostInterface, resultHostObjectMissing, [&] (auto& host) { return host.reportValue (identifier, normalisedValue); });
}

ResultCode AAX_VAutomationDelegate::beginTouch (const char* identifier)
{
    return forwardToHost (hostInterface, resultHostObjectMissing, [&] (auto& host) { return host.beginTouch (identifier); });
}

ResultCode AAX_VAutomationDelegate::endTouch (const char* identifier)
{
    return forwardToHost (hostInterface, resultHostObjectMissing, [&] (auto& host) { return host.endTouch (identifier); });
}

ResultCode AAX_VAutomationDelegate::queryParameter (const char* identifier, void* out)
{
    return forwardToHost (hostInterface, resultHostObjectMissing, [&] (auto& host) { return host.queryParameter (identifier, out); });
}
