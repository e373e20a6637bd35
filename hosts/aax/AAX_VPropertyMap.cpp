#include "AAX_VPropertyMap.h"

#include "AAX_HostObjectCreation.h"

namespace
{
    // The host answers these as booleans; a failure code must not read as true (the low byte of
    // resultHostObjectMissing is non-zero), so only a positive answer counts.
    bool hostAnswerIsTrue (ResultCode answer)
    {
        return answer > 0;
    }
}

AAX_VPropertyMap::AAX_VPropertyMap (IACFUnknown* hostUnknown)
{
    if (hostUnknown == nullptr)
        return;

    createHostObject (*hostUnknown, kPropertyMapClassId, kPropertyMapInterfaceId, hostPropertyMap);
    queryNewerInterface (hostPropertyMap, kPropertyMapNewerId, newerHostPropertyMap);
}

AAX_VPropertyMap::~AAX_VPropertyMap()
{
    newerHostPropertyMap.reset();
    hostPropertyMap.reset();
}

IACFUnknown* AAX_VPropertyMap::hostObjectOf (AAX_IPropertyMap* map)
{
    if (auto* proxy = dynamic_cast<AAX_VPropertyMap*> (map))
        return proxy->getHostObject();

    return nullptr;
}

bool AAX_VPropertyMap::getProperty (std::uint32_t propertyId, std::uint32_t* value)
{
    if (hostPropertyMap.isNull() || value == nullptr)
        return false;

    return hostAnswerIsTrue (checkedInterface (hostPropertyMap)->getProperty (propertyId, value));
}

ResultCode AAX_VPropertyMap::addProperty (std::uint32_t propertyId, std::uint32_t value)
{
    return forwardToHost (hostPropertyMap, resultHostObjectMissing, [&] (auto& host) { return host.addProperty (propertyId, value); });
}

ResultCode AAX_VPropertyMap::removeProperty (std::uint32_t propertyId)
{
    return forwardToHost (hostPropertyMap, resultHostObjectMissing, [&] (auto& host) { return host.removeProperty (propertyId); });
}

ResultCode AAX_VPropertyMap::addArrayProperty (std::uint32_t propertyId, const void* values, std::uint32_t count)
{
    return forwardToHost (newerHostPropertyMap, resultNotAvailable,
                          [&] (auto& host) { return host.addArrayProperty (propertyId, values, count); });
}

bool AAX_VPropertyMap::getArrayProperty (std::uint32_t propertyId, void* values, void* count)
{
    if (newerHostPropertyMap.isNull() || values == nullptr || count == nullptr)
        return false;

    return hostAnswerIsTrue (checkedInterface (newerHostPropertyMap)->getArrayProperty (propertyId, values, count));
}
