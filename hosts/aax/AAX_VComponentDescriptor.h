#pragma once

#include "AAX_HostDescriptionInterfaces.h"
#include "AAX_HostPtr.h"
#include "AAX_IComponentDescriptor.h"
#include "AAX_VPropertyMap.h"

#include <memory>
#include <vector>

/**
    Stands for a component descriptor that the host's factory makes. Operations on the older interface
    answer resultHostObjectMissing without it, addIndexedPairNewer resultNotAvailable without the newer one.
*/
class AAX_VComponentDescriptor final : public AAX_IComponentDescriptor
{
public:
    /** Keeps a reference to the host's unknown (which may be null) for the maps it makes later. */
    explicit AAX_VComponentDescriptor (IACFUnknown* hostUnknown);
    ~AAX_VComponentDescriptor() override;

    ResultCode clearDescription() override;
    ResultCode addAudioInputField (std::uint32_t fieldIndex) override;
    ResultCode addAudioOutputField (std::uint32_t fieldIndex) override;
    ResultCode addBufferLengthField (std::uint32_t fieldIndex) override;
    ResultCode addIndexedFieldD (std::uint32_t fieldIndex) override;
    ResultCode addIndexedFieldE (std::uint32_t fieldIndex) override;
    ResultCode addIndexedFieldF (std::uint32_t fieldIndex) override;
    ResultCode addDataInputField (std::uint32_t fieldIndex, std::uint32_t size, std::uint32_t flag) override;
    ResultCode addFieldWithPointer (std::uint32_t fieldIndex, std::uint32_t, const void*) override;
    ResultCode addPrivateDataField (std::uint32_t fieldIndex, std::uint32_t size, std::uint32_t options) override;
    ResultCode addIndexedPairNewer (std::uint32_t, std::uint32_t) override;
    ResultCode addIndexedPair (std::uint32_t, std::uint32_t) override;
    ResultCode addFieldWithPointerAndValue (std::uint32_t fieldIndex, const void*, std::uint32_t) override;
    ResultCode addMidiNodeField (std::uint32_t fieldIndex, std::uint32_t nodeKind,
                                 const char* nodeName, std::uint32_t channelMask) override;
    ResultCode addIndexedPairB (std::uint32_t, std::uint32_t) override;
    AAX_IPropertyMap* newPropertyMap() override;
    AAX_IPropertyMap* duplicatePropertyMap (AAX_IPropertyMap* source) override;
    ResultCode addProcessProcedure (AAX_ProcessProc procedure, AAX_IPropertyMap* properties,
                                    void*, void*, void*) override;
    ResultCode addProcedurePair (void*, void*, AAX_IPropertyMap* properties, void*, void*) override;

    /** The host's descriptor as it is, null when missing. */
    IACFUnknown* getHostObject() const noexcept     { return hostDescriptor.get(); }

private:
    HostPtr<IACFUnknown> hostUnknown;
    HostPtr<IHostComponentDescriptor> hostDescriptor;
    HostPtr<IHostComponentDescriptorNewer> newerHostDescriptor;
    std::vector<std::unique_ptr<AAX_VPropertyMap>> propertyMaps;
};
