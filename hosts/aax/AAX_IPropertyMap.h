#pragma once

#include "AAX_Results.h"

/** A set of numbered properties the plug-in hands to the host with a description. */
class AAX_IPropertyMap
{
public:
    virtual ~AAX_IPropertyMap() = default;

    /** True when the property exists; its value is then written to value. */
    virtual bool getProperty (std::uint32_t propertyId, std::uint32_t* value) = 0;
    virtual ResultCode addProperty (std::uint32_t propertyId, std::uint32_t value) = 0;
    virtual ResultCode removeProperty (std::uint32_t propertyId) = 0;
    virtual ResultCode addArrayProperty (std::uint32_t propertyId, const void* values, std::uint32_t count) = 0;
    virtual bool getArrayProperty (std::uint32_t propertyId, void* values, void* count) = 0;
};
