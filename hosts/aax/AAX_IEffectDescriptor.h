#pragma once

#include "AAX_IComponentDescriptor.h"

/** One effect's description. Objects returned by the new... operations belong to this descriptor. */
class AAX_IEffectDescriptor
{
public:
    virtual ~AAX_IEffectDescriptor() = default;

    virtual AAX_IComponentDescriptor* newComponentDescriptor() = 0;
    virtual ResultCode addComponent (AAX_IComponentDescriptor* component) = 0;
    virtual ResultCode addName (const char* name) = 0;
    virtual ResultCode addCategory (std::uint32_t categoryBits) = 0;
    virtual ResultCode addCategoryWithPointer (std::uint32_t categoryBits, const void*) = 0;
    virtual ResultCode addCreationProcedure (AAX_CreateObjectProc procedure, std::uint32_t kind) = 0;
    virtual AAX_IPropertyMap* newPropertyMap() = 0;
    virtual ResultCode setProperties (AAX_IPropertyMap* properties) = 0;
    virtual ResultCode addEntryWithPointer (std::uint32_t, const void*) = 0;
    virtual ResultCode addEntryWithProperties (std::uint32_t, const void*, AAX_IPropertyMap* properties) = 0;
    virtual ResultCode addNodeEntry (std::uint32_t, std::uint32_t, const void*, std::uint32_t) = 0;
};
