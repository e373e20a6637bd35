#include "AAX_VComponentDescriptor.h"

#include "AAX_HostObjectCreation.h"

AAX_VComponentDescriptor::AAX_VComponentDescriptor (IACFUnknown* unknown)
{
    hostUnknown.retain (unknown);

    if (unknown == nullptr)
        return;

    createHostObject (*unknown, kComponentDescriptorClassId, kComponentDescriptorInterfaceId, hostDescriptor);
    queryNewerInterface (hostDescriptor, kComponentDescriptorNewerId, newerHostDescriptor);
}

AAX_VComponentDescriptor::~AAX_VComponentDescriptor()
{
    propertyMaps.clear();
    newerHostDescriptor.reset();
    hostDescriptor.reset();
    hostUnknown.reset();
}

ResultCode AAX_VComponentDescriptor::clearDescription()
{
    return forwardToHost (hostDescriptor, resultHostObjectMissing, [&] (auto& host) { return host.clearDescription(); });
}

ResultCode AAX_VComponentDescriptor::addAudioInputField (std::uint32_t fieldIndex)
{
    return forwardToHost (hostDescriptor, resultHostObjectMissing, [&] (auto& host) { return host.addAudioInputField (fieldIndex); });
}

ResultCode AAX_VComponentDescriptor::addAudioOutputField (std::uint32_t fieldIndex)
{
    return forwardToHost (hostDescriptor, resultHostObjectMissing, [&] (auto& host) { return host.addAudioOutputField (fieldIndex); });
}

ResultCode AAX_VComponentDescriptor::addBufferLengthField (std::uint32_t fieldIndex)
{
    return forwardToHost (hostDescriptor, resultHostObjectMissing, [&] (auto& host) { return host.addBufferLengthField (fieldIndex); });
}

ResultCode AAX_VComponentDescriptor::addIndexedFieldD (std::uint32_t fieldIndex)
{
    return forwardToHost (hostDescriptor, resultHostObjectMissing, [&] (auto& host) { return host.addIndexedFieldD (fieldIndex); });
}

ResultCode AAX_VComponentDescriptor::addIndexedFieldE (std::uint32_t fieldIndex)
{
    return forwardToHost (hostDescriptor, resultHostObjectMissing, [&] (auto& host) { return host.addIndexedFieldE (fieldIndex); });
}

ResultCode AAX_VComponentDescriptor::addIndexedFieldF (std::uint32_t fieldIndex)
{
    return forwardToHost (hostDescriptor, resultHostObjectMissing, [&] (auto& host) { return host.addIndexedFieldF (fieldIndex); });
}

ResultCode AAX_VComponentDescriptor::addDataInputField (std::uint32_t fieldIndex, std::uint32_t size, std::uint32_t flag)
{
    return forwardToHost (hostDescriptor, resultHostObjectMissing, [&] (auto& host) { return host.addDataInputField (fieldIndex, size, flag); });
}

ResultCode AAX_VComponentDescriptor::addFieldWithPointer (std::uint32_t fieldIndex, std::uint32_t value, const void* pointer)
{
    return forwardToHost (hostDescriptor, resultHostObjectMissing, [&] (auto& host) { return host.addFieldWithPointer (fieldIndex, value, pointer); });
}

ResultCode AAX_VComponentDescriptor::addPrivateDataField (std::uint32_t fieldIndex, std::uint32_t size, std::uint32_t options)
{
    return forwardToHost (hostDescriptor, resultHostObjectMissing, [&] (auto& host) { return host.addPrivateDataField (fieldIndex, size, options); });
}

ResultCode AAX_VComponentDescriptor::addIndexedPairNewer (std::uint32_t a, std::uint32_t b)
{
    return forwardToHost (newerHostDescriptor, resultNotAvailable, [&] (auto& host) { return host.addIndexedPairNewer (a, b); });
}

ResultCode AAX_VComponentDescriptor::addIndexedPair (std::uint32_t a, std::uint32_t b)
{
    return forwardToHost (hostDescriptor, resultHostObjectMissing, [&] (auto& host) { return host.addIndexedPair (a, b); });
}

ResultCode AAX_VComponentDescriptor::addFieldWithPointerAndValue (std::uint32_t fieldIndex, const void* pointer, std::uint32_t value)
{
    return forwardToHost (hostDescriptor, resultHostObjectMissing,
                          [&] (auto& host) { return host.addFieldWithPointerAndValue (fieldIndex, pointer, value); });
}

ResultCode AAX_VComponentDescriptor::addMidiNodeField (std::uint32_t fieldIndex, std::uint32_t nodeKind,
                                                       const char* nodeName, std::uint32_t channelMask)
{
    return forwardToHost (hostDescriptor, resultHostObjectMissing,
                          [&] (auto& host) { return host.addMidiNodeField (fieldIndex, nodeKind, nodeName, channelMask); });
}

ResultCode AAX_VComponentDescriptor::addIndexedPairB (std::uint32_t a, std::uint32_t b)
{
    return forwardToHost (hostDescriptor, resultHostObjectMissing, [&] (auto& host) { return host.addIndexedPairB (a, b); });
}

AAX_IPropertyMap* AAX_VComponentDescriptor::newPropertyMap()
{
    propertyMaps.push_back (std::make_unique<AAX_VPropertyMap> (hostUnknown.get()));
    return propertyMaps.back().get();
}

AAX_IPropertyMap* AAX_VComponentDescriptor::duplicatePropertyMap (AAX_IPropertyMap* source)
{
    auto* copy = newPropertyMap();

    if (source != nullptr)
    {
        for (std::uint32_t id = 10; id <= 351; ++id)
        {
            std::uint32_t value = 0;

            if (source->getProperty (id, &value))
                copy->addProperty (id, value);
        }
    }

    return copy;
}

ResultCode AAX_VComponentDescriptor::addProcessProcedure (AAX_ProcessProc procedure, AAX_IPropertyMap* properties,
                                                          void* a, void* b, void* c)
{
    return forwardToHost (hostDescriptor, resultHostObjectMissing, [&] (auto& host)
    {
        return host.addProcessProcedure (procedure, AAX_VPropertyMap::hostObjectOf (properties), a, b, c);
    });
}

ResultCode AAX_VComponentDescriptor::addProcedurePair (void* a, void* b, AAX_IPropertyMap* properties, void* c, void* d)
{
    return forwardToHost (hostDescriptor, resultHostObjectMissing, [&] (auto& host)
    {
        return host.addProcedurePair (a, b, AAX_VPropertyMap::hostObjectOf (properties), c, d);
    });
}
