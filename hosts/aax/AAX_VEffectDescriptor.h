#pragma once

#include "AAX_HostDescriptionInterfaces.h"
#include "AAX_HostPtr.h"
#include "AAX_IEffectDescriptor.h"
#include "AAX_VComponentDescriptor.h"
#include "AAX_VPropertyMap.h"

#include <memory>
#include <vector>

/**
    Stands for an effect descriptor that the host's factory makes. Operations on the older interface answer
    resultHostObjectMissing without it, addNodeEntry resultNotAvailable without the newer one.
*/
class AAX_VEffectDescriptor final : public AAX_IEffectDescriptor
{
public:
    /** Keeps a reference to the host's unknown (which may be null) for the children it makes later. */
    explicit AAX_VEffectDescriptor (IACFUnknown* hostUnknown);
    ~AAX_VEffectDescriptor() override;

    AAX_IComponentDescriptor* newComponentDescriptor() override;
    ResultCode addComponent (AAX_IComponentDescriptor* component) override;
    ResultCode addName (const char* name) override;
    ResultCode addCategory (std::uint32_t categoryBits) override;
    ResultCode addCategoryWithPointer (std::uint32_t categoryBits, const void*) override;
    ResultCode addCreationProcedure (AAX_CreateObjectProc procedure, std::uint32_t kind) override;
    AAX_IPropertyMap* newPropertyMap() override;
    ResultCode setProperties (AAX_IPropertyMap* properties) override;
    ResultCode addEntryWithPointer (std::uint32_t, const void*) override;
    ResultCode addEntryWithProperties (std::uint32_t, const void*, AAX_IPropertyMap* properties) override;
    ResultCode addNodeEntry (std::uint32_t, std::uint32_t, const void*, std::uint32_t) override;

    /** The host's descriptor as it is, null when missing. */
    IACFUnknown* getHostObject() const noexcept     { return hostDescriptor.get(); }

    /** The host object of a description that one of these proxies stands for, else null. */
    static IACFUnknown* hostObjectOf (AAX_IEffectDescriptor* description);

private:
    HostPtr<IACFUnknown> hostUnknown;
    HostPtr<IHostEffectDescriptor> hostDescriptor;
    HostPtr<IHostEffectDescriptorNewer> newerHostDescriptor;
    std::vector<std::unique_ptr<AAX_VComponentDescriptor>> componentDescriptors;
    std::vector<std::unique_ptr<AAX_VPropertyMap>> propertyMaps;
};
