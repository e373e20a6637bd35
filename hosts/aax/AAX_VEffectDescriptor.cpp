#include "AAX_VEffectDescriptor.h"

#include "AAX_HostObjectCreation.h"

namespace
{
    IACFUnknown* hostObjectOf (AAX_IComponentDescriptor* component)
    {
        if (auto* proxy = dynamic_cast<AAX_VComponentDescriptor*> (component))
            return proxy->getHostObject();

        return nullptr;
    }
}

AAX_VEffectDescriptor::AAX_VEffectDescriptor (IACFUnknown* unknown)
{
    hostUnknown.retain (unknown);

    if (unknown == nullptr)
        return;

    createHostObject (*unknown, kEffectDescriptorClassId, kEffectDescriptorInterfaceId, hostDescriptor);
    queryNewerInterface (hostDescriptor, kEffectDescriptorNewerId, newerHostDescriptor);
}

AAX_VEffectDescriptor::~AAX_VEffectDescriptor()
{
    componentDescriptors.clear();
    propertyMaps.clear();
    newerHostDescriptor.reset();
    hostDescriptor.reset();
    hostUnknown.reset();
}

IACFUnknown* AAX_VEffectDescriptor::hostObjectOf (AAX_IEffectDescriptor* description)
{
    if (auto* proxy = dynamic_cast<AAX_VEffectDescriptor*> (description))
        return proxy->getHostObject();

    return nullptr;
}

AAX_IComponentDescriptor* AAX_VEffectDescriptor::newComponentDescriptor()
{
    componentDescriptors.push_back (std::make_unique<AAX_VComponentDescriptor> (hostUnknown.get()));
    return componentDescriptors.back().get();
}

ResultCode AAX_VEffectDescriptor::addComponent (AAX_IComponentDescriptor* component)
{
    return forwardToHost (hostDescriptor, resultHostObjectMissing, [&] (auto& host) { return host.addComponent (::hostObjectOf (component)); });
}

ResultCode AAX_VEffectDescriptor::addName (const char* name)
{
    return forwardToHost (hostDescriptor, resultHostObjectMissing, [&] (auto& host) { return host.addName (name); });
}

ResultCode AAX_VEffectDescriptor::addCategory (std::uint32_t categoryBits)
{
    return forwardToHost (hostDescriptor, resultHostObjectMissing, [&] (auto& host) { return host.addCategory (categoryBits); });
}

ResultCode AAX_VEffectDescriptor::addCategoryWithPointer (std::uint32_t categoryBits, const void* pointer)
{
    return forwardToHost (hostDescriptor, resultHostObjectMissing, [&] (auto& host) { return host.addCategoryWithPointer (categoryBits, pointer); });
}

ResultCode AAX_VEffectDescriptor::addCreationProcedure (AAX_CreateObjectProc procedure, std::uint32_t kind)
{
    return forwardToHost (hostDescriptor, resultHostObjectMissing, [&] (auto& host) { return host.addCreationProcedure (procedure, kind); });
}

AAX_IPropertyMap* AAX_VEffectDescriptor::newPropertyMap()
{
    propertyMaps.push_back (std::make_unique<AAX_VPropertyMap> (hostUnknown.get()));
    return propertyMaps.back().get();
}

ResultCode AAX_VEffectDescriptor::setProperties (AAX_IPropertyMap* properties)
{
    return forwardToHost (hostDescriptor, resultHostObjectMissing,
                          [&] (auto& host) { return host.setProperties (AAX_VPropertyMap::hostObjectOf (properties)); });
}

ResultCode AAX_VEffectDescriptor::addEntryWithPointer (std::uint32_t value, const void* pointer)
{
    return forwardToHost (hostDescriptor, resultHostObjectMissing, [&] (auto& host) { return host.addEntryWithPointer (value, pointer); });
}

ResultCode AAX_VEffectDescriptor::addEntryWithProperties (std::uint32_t value, const void* pointer, AAX_IPropertyMap* properties)
{
    return forwardToHost (hostDescriptor, resultHostObjectMissing, [&] (auto& host)
    {
        return host.addEntryWithProperties (value, pointer, AAX_VPropertyMap::hostObjectOf (properties));
    });
}

ResultCode AAX_VEffectDescriptor::addNodeEntry (std::uint32_t a, std::uint32_t b, const void* pointer, std::uint32_t c)
{
    return forwardToHost (newerHostDescriptor, resultNotAvailable, [&] (auto& host) { return host.addNodeEntry (a, b, pointer, c); });
}
