#include "AAX_VCollection.h"

#include "AAX_HostObjectCreation.h"

AAX_VCollection::AAX_VCollection (IACFUnknown* unknown)
{
    hostUnknown.retain (unknown);

    if (unknown != nullptr)
        createHostObject (*unknown, kCollectionClassId, kCollectionInterfaceId, hostCollection);
}

AAX_VCollection::~AAX_VCollection()
{
    effectDescriptors.clear();
    propertyMaps.clear();
    hostCollection.reset();
    hostUnknown.reset();
}

AAX_IEffectDescriptor* AAX_VCollection::newEffectDescription()
{
    effectDescriptors.push_back (std::make_unique<AAX_VEffectDescriptor> (hostUnknown.get()));
    return effectDescriptors.back().get();
}

ResultCode AAX_VCollection::addEffectDescription (const char* effectIdentifier, AAX_IEffectDescriptor* description)
{
    // The host would be handed a null effect: refuse here instead.
    auto* hostDescription = AAX_VEffectDescriptor::hostObjectOf (description);

    if (hostDescription == nullptr)
        return resultHostObjectMissing;

    return forwardToHost (hostCollection, resultHostObjectMissing,
                          [&] (auto& host) { return host.addEffect (effectIdentifier, hostDescription); });
}

ResultCode AAX_VCollection::setMakerName (const char* name)
{
    return forwardToHost (hostCollection, resultHostObjectMissing, [&] (auto& host) { return host.setMakerName (name); });
}

ResultCode AAX_VCollection::addProductName (const char* name)
{
    return forwardToHost (hostCollection, resultHostObjectMissing, [&] (auto& host) { return host.addProductName (name); });
}

ResultCode AAX_VCollection::setProductVersion (std::uint32_t version)
{
    return forwardToHost (hostCollection, resultHostObjectMissing, [&] (auto& host) { return host.setProductVersion (version); });
}

AAX_IPropertyMap* AAX_VCollection::newPropertyMap()
{
    propertyMaps.push_back (std::make_unique<AAX_VPropertyMap> (hostUnknown.get()));
    return propertyMaps.back().get();
}

ResultCode AAX_VCollection::setProperties (AAX_IPropertyMap* properties)
{
    return forwardToHost (hostCollection, resultHostObjectMissing,
                          [&] (auto& host) { return host.setProperties (AAX_VPropertyMap::hostObjectOf (properties)); });
}
