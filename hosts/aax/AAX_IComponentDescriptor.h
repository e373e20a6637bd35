#pragma once

#include "AAX_HostDescriptionInterfaces.h"
#include "AAX_IPropertyMap.h"

/**
    One component (one channel configuration) of an effect's description. Objects returned by the new...
    and duplicate... operations belong to this descriptor and live as long as it does.
*/
class AAX_IComponentDescriptor
{
public:
    virtual ~AAX_IComponentDescriptor() = default;

    virtual ResultCode clearDescription() = 0;
    virtual ResultCode addAudioInputField (std::uint32_t fieldIndex) = 0;
    virtual ResultCode addAudioOutputField (std::uint32_t fieldIndex) = 0;
    virtual ResultCode addBufferLengthField (std::uint32_t fieldIndex) = 0;
    virtual ResultCode addIndexedFieldD (std::uint32_t fieldIndex) = 0;
    virtual ResultCode addIndexedFieldE (std::uint32_t fieldIndex) = 0;
    virtual ResultCode addIndexedFieldF (std::uint32_t fieldIndex) = 0;
    virtual ResultCode addDataInputField (std::uint32_t fieldIndex, std::uint32_t size, std::uint32_t flag) = 0;
    virtual ResultCode addFieldWithPointer (std::uint32_t fieldIndex, std::uint32_t, const void*) = 0;
    virtual ResultCode addPrivateDataField (std::uint32_t fieldIndex, std::uint32_t size, std::uint32_t options) = 0;
    virtual ResultCode addIndexedPairNewer (std::uint32_t, std::uint32_t) = 0;
    virtual ResultCode addIndexedPair (std::uint32_t, std::uint32_t) = 0;
    virtual ResultCode addFieldWithPointerAndValue (std::uint32_t fieldIndex, const void*, std::uint32_t) = 0;
    virtual ResultCode addMidiNodeField (std::uint32_t fieldIndex, std::uint32_t nodeKind,
                                         const char* nodeName, std::uint32_t channelMask) = 0;
    virtual ResultCode addIndexedPairB (std::uint32_t, std::uint32_t) = 0;
    virtual AAX_IPropertyMap* newPropertyMap() = 0;

    /** A new map holding every property from 10 to 351 that the source has; a null source gives an empty map. */
    virtual AAX_IPropertyMap* duplicatePropertyMap (AAX_IPropertyMap* source) = 0;
    virtual ResultCode addProcessProcedure (AAX_ProcessProc procedure, AAX_IPropertyMap* properties,
                                            void*, void*, void*) = 0;
    virtual ResultCode addProcedurePair (void*, void*, AAX_IPropertyMap* properties, void*, void*) = 0;
};
