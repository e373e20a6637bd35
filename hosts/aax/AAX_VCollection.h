#pragma once

#include "AAX_HostDescriptionInterfaces.h"
#include "AAX_HostPtr.h"
#include "AAX_ICollection.h"
#include "AAX_VEffectDescriptor.h"
#include "AAX_VPropertyMap.h"

#include <memory>
#include <vector>

/** Stands for the host's collection, which receives the plug-in's whole description during registration. */
class AAX_VCollection final : public AAX_ICollection
{
public:
    /** Keeps a reference to the host's unknown (which may be null) and asks its factory for the collection. */
    explicit AAX_VCollection (IACFUnknown* hostUnknown);
    ~AAX_VCollection() override;

    AAX_IEffectDescriptor* newEffectDescription() override;

    /** A description that is null, or stands for no host object, answers resultHostObjectMissing. */
    ResultCode addEffectDescription (const char* effectIdentifier, AAX_IEffectDescriptor* description) override;
    ResultCode setMakerName (const char* name) override;
    ResultCode addProductName (const char* name) override;
    ResultCode setProductVersion (std::uint32_t version) override;
    AAX_IPropertyMap* newPropertyMap() override;
    ResultCode setProperties (AAX_IPropertyMap* properties) override;

    /** The host's collection as it is, null when missing. */
    IACFUnknown* getHostObject() const noexcept     { return hostCollection.get(); }

private:
    HostPtr<IACFUnknown> hostUnknown;
    HostPtr<IHostCollection> hostCollection;
    std::vector<std::unique_ptr<AAX_VEffectDescriptor>> effectDescriptors;
    std::vector<std::unique_ptr<AAX_VPropertyMap>> propertyMaps;
};
