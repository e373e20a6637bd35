#pragma once

#include "AAX_IEffectDescriptor.h"

/** The plug-in's description as a whole. Objects returned by the new... operations belong to the collection. */
class AAX_ICollection
{
public:
    virtual ~AAX_ICollection() = default;

    virtual AAX_IEffectDescriptor* newEffectDescription() = 0;
    virtual ResultCode addEffectDescription (const char* effectIdentifier, AAX_IEffectDescriptor* description) = 0;
    virtual ResultCode setMakerName (const char* name) = 0;
    virtual ResultCode addProductName (const char* name) = 0;
    virtual ResultCode setProductVersion (std::uint32_t version) = 0;
    virtual AAX_IPropertyMap* newPropertyMap() = 0;
    virtual ResultCode setProperties (AAX_IPropertyMap* properties) = 0;
};
