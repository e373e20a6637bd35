#pragma once

#include "AAX_HostDescriptionInterfaces.h"
#include "AAX_HostPtr.h"
#include "AAX_IPropertyMap.h"

/** Stands for a property map that the host's factory makes. */
class AAX_VPropertyMap final : public AAX_IPropertyMap
{
public:
    /** Asks the host's factory for the map once, here; the unknown (which may be null) is not kept. */
    explicit AAX_VPropertyMap (IACFUnknown* hostUnknown);
    ~AAX_VPropertyMap() override;

    bool getProperty (std::uint32_t propertyId, std::uint32_t* value) override;
    ResultCode addProperty (std::uint32_t propertyId, std::uint32_t value) override;
    ResultCode removeProperty (std::uint32_t propertyId) override;
    ResultCode addArrayProperty (std::uint32_t propertyId, const void* values, std::uint32_t count) override;
    bool getArrayProperty (std::uint32_t propertyId, void* values, void* count) override;

    /** The host's map as it is, null when missing; what the other proxies hand the host for this map. */
    IACFUnknown* getHostObject() const noexcept         { return hostPropertyMap.get(); }

    /** The host object of a map that one of these proxies stands for, else null. */
    static IACFUnknown* hostObjectOf (AAX_IPropertyMap* map);

private:
    HostPtr<IHostPropertyMap> hostPropertyMap;
    HostPtr<IHostPropertyMapNewer> newerHostPropertyMap;
};
