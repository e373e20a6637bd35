#pragma once

#include "IACFUnknown.h"

/*
    The host's objects for describing a plug-in, as the host lays them out: each operation's slot is fixed by
    the host, so the declarations follow the host's order exactly, with placeholders named after the slot for
    operations the plug-in never calls. A newer interface continues its older one's numbering.
    Slot 0 to 2 are the IACFUnknown operations; the comment on each operation gives its slot.
*/

/** Makes one of the plug-in's components; the description registers these with the host. */
using AAX_CreateObjectProc = IACFUnknown* (*)();

/** The audio callback: a run of per-instance records of 8-byte fields. */
using AAX_ProcessProc = void (*) (void* const* instancesBegin, const void* instancesEnd);

class IHostComponentFactory : public IACFUnknown
{
public:
    virtual ResultCode createInstance (const InterfaceId& classId, IACFUnknown* outer,
                                       const InterfaceId& interfaceId, void** out) = 0;                  // 3
protected:
    ~IHostComponentFactory() = default;
};

class IHostCollection : public IACFUnknown
{
public:
    virtual ResultCode operation3() = 0;                                                                  // 3
    virtual ResultCode operation4() = 0;                                                                  // 4
    virtual ResultCode operation5() = 0;                                                                  // 5
    virtual ResultCode operation6() = 0;                                                                  // 6
    virtual ResultCode addEffect (const char* effectIdentifier, IACFUnknown* effectDescriptor) = 0;       // 7
    virtual ResultCode setMakerName (const char* name) = 0;                                               // 8
    virtual ResultCode addProductName (const char* name) = 0;                                             // 9
    virtual ResultCode setProductVersion (std::uint32_t version) = 0;                                     // 10
    virtual ResultCode setProperties (IACFUnknown* propertyMap) = 0;                                      // 11
protected:
    ~IHostCollection() = default;
};

class IHostEffectDescriptor : public IACFUnknown
{
public:
    virtual ResultCode addComponent (IACFUnknown* componentDescriptor) = 0;                               // 3
    virtual ResultCode addName (const char* name) = 0;                                                    // 4
    virtual ResultCode addCategory (std::uint32_t categoryBits) = 0;                                      // 5
    virtual ResultCode addCategoryWithPointer (std::uint32_t categoryBits, const void*) = 0;              // 6
    virtual ResultCode addCreationProcedure (AAX_CreateObjectProc procedure, std::uint32_t kind) = 0;     // 7
    virtual ResultCode setProperties (IACFUnknown* propertyMap) = 0;                                      // 8
    virtual ResultCode addEntryWithPointer (std::uint32_t, const void*) = 0;                              // 9
    virtual ResultCode addEntryWithProperties (std::uint32_t, const void*, IACFUnknown* propertyMap) = 0; // 10
protected:
    ~IHostEffectDescriptor() = default;
};

class IHostEffectDescriptorNewer : public IHostEffectDescriptor
{
public:
    virtual ResultCode addNodeEntry (std::uint32_t, std::uint32_t, const void*, std::uint32_t) = 0;       // 11
protected:
    ~IHostEffectDescriptorNewer() = default;
};

class IHostComponentDescriptor : public IACFUnknown
{
public:
    virtual ResultCode clearDescription() = 0;                                                            // 3
    virtual ResultCode addIndexedPairB (std::uint32_t, std::uint32_t) = 0;                                // 4
    virtual ResultCode addAudioInputField (std::uint32_t fieldIndex) = 0;                                 // 5
    virtual ResultCode addAudioOutputField (std::uint32_t fieldIndex) = 0;                                // 6
    virtual ResultCode addBufferLengthField (std::uint32_t fieldIndex) = 0;                               // 7
    virtual ResultCode addIndexedFieldD (std::uint32_t fieldIndex) = 0;                                   // 8
    virtual ResultCode addIndexedFieldE (std::uint32_t fieldIndex) = 0;                                   // 9
    virtual ResultCode addIndexedFieldF (std::uint32_t fieldIndex) = 0;                                   // 10
    virtual ResultCode addDataInputField (std::uint32_t fieldIndex, std::uint32_t size, std::uint32_t flag) = 0; // 11
    virtual ResultCode addFieldWithPointer (std::uint32_t fieldIndex, std::uint32_t, const void*) = 0;    // 12
    virtual ResultCode addPrivateDataField (std::uint32_t fieldIndex, std::uint32_t size, std::uint32_t options) = 0; // 13
    virtual ResultCode addIndexedPair (std::uint32_t, std::uint32_t) = 0;                                 // 14
    virtual ResultCode addMidiNodeField (std::uint32_t fieldIndex, std::uint32_t nodeKind,
                                         const char* nodeName, std::uint32_t channelMask) = 0;            // 15
    virtual ResultCode addProcessProcedure (AAX_ProcessProc procedure, IACFUnknown* propertyMap,
                                            void*, void*, void*) = 0;                                     // 16
    virtual ResultCode addProcedurePair (void*, void*, IACFUnknown* propertyMap, void*, void*) = 0;       // 17
    virtual ResultCode addFieldWithPointerAndValue (std::uint32_t fieldIndex, const void*, std::uint32_t) = 0; // 18
protected:
    ~IHostComponentDescriptor() = default;
};

class IHostComponentDescriptorNewer : public IHostComponentDescriptor
{
public:
    virtual ResultCode addIndexedPairNewer (std::uint32_t, std::uint32_t) = 0;                            // 19
protected:
    ~IHostComponentDescriptorNewer() = default;
};

class IHostPropertyMap : public IACFUnknown
{
public:
    /** Non-zero when the property exists (and then writes its value); never a failure code in a healthy host. */
    virtual ResultCode getProperty (std::uint32_t propertyId, std::uint32_t* value) = 0;                  // 3
    virtual ResultCode addProperty (std::uint32_t propertyId, std::uint32_t value) = 0;                   // 4
    virtual ResultCode removeProperty (std::uint32_t propertyId) = 0;                                     // 5
protected:
    ~IHostPropertyMap() = default;
};

class IHostPropertyMapNewer : public IHostPropertyMap
{
public:
    virtual ResultCode addArrayProperty (std::uint32_t propertyId, const void* values, std::uint32_t count) = 0;  // 6
    virtual ResultCode getArrayProperty (std::uint32_t propertyId, void* values, void* count) = 0;                // 7
protected:
    ~IHostPropertyMapNewer() = default;
};

class IHostServices : public IACFUnknown
{
public:
    virtual ResultCode reportToHost (const void*, std::int32_t, const void*) = 0;                         // 3
    virtual ResultCode traceMessage (std::int32_t priority, const char* message) = 0;                     // 4
protected:
    ~IHostServices() = default;
};
