#pragma once

#include "AAX_IString.h"
#include "IACFUnknown.h"
#include "StateChunkRecord.h"

class AAX_IParameter;

/**
    The host's view of a plug-in instance's parameters, state chunks and notifications.

    The host reaches these operations by slot position, so their order is fixed. The reserved slots are
    operations this plug-in does not use; they keep their fixed answers so the table stays in step.
    Parameters are named by NUL-terminated identifiers.
*/
class AAX_IACFEffectParameters : public IACFUnknown
{
public:
    virtual ResultCode initialize (IACFUnknown* hostController) = 0;
    virtual ResultCode uninitialize() = 0;
    virtual ResultCode handleHostNotification (uint32_t type, const void* data, uint32_t size) = 0;

    virtual ResultCode parameterCount (int32_t* out) = 0;
    virtual ResultCode masterBypassParameterId (AAX_IString* out) = 0;
    virtual ResultCode isParameterAutomatable (const char* id, bool* out) = 0;
    virtual ResultCode parameterStepCount (const char* id, int32_t* out) = 0;
    virtual ResultCode parameterDisplayName (const char* id, AAX_IString* out) = 0;
    virtual ResultCode parameterShortName (const char* id, AAX_IString* out, int32_t maxChars) = 0;
    virtual ResultCode normalizedParameterDefault (const char* id, double* out) = 0;
    virtual ResultCode setNormalizedParameterDefault (const char* id, double normalizedDefault) = 0;
    virtual ResultCode parameterTypeOf (const char* id, int32_t* out) = 0;
    virtual ResultCode parameterOrientationOf (const char* id, int32_t* out) = 0;
    virtual ResultCode parameterById (const char* id, AAX_IParameter** out) = 0;
    virtual ResultCode parameterIndexOf (const char* id, int32_t* out) = 0;
    virtual ResultCode parameterIdAt (int32_t index, AAX_IString* out) = 0;
    virtual ResultCode parameterIntegerQuery (const char* id, int32_t unused, int32_t* out) = 0;
    virtual ResultCode valueFromParameterText (const char* id, double* out, const AAX_IString& text) = 0;
    virtual ResultCode parameterTextFromValue (const char* id, double normalizedValue, AAX_IString* out, int32_t maxChars) = 0;
    virtual ResultCode parameterValueText (const char* id, AAX_IString* out, int32_t maxChars) = 0;
    virtual ResultCode normalizedParameterValue (const char* id, double* out) = 0;
    virtual ResultCode setNormalizedParameterValue (const char* id, double normalizedValue) = 0;
    virtual ResultCode addToNormalizedParameterValue (const char* id, double delta) = 0;
    virtual ResultCode touchParameter (const char* id) = 0;
    virtual ResultCode releaseParameter (const char* id) = 0;
    virtual ResultCode reservedOperation1() = 0;
    virtual ResultCode applyNormalizedParameterValue (const char* id, double normalizedValue, int32_t source) = 0;
    virtual ResultCode applyNormalizedParameterDelta (const char* id, double delta) = 0;

    virtual ResultCode postDirtyPackets() = 0;
    virtual ResultCode fillFieldData (uint32_t field, void* data, uint32_t size) = 0;

    virtual ResultCode stateChunkCount (int32_t* out) = 0;
    virtual ResultCode stateChunkId (int32_t index, uint32_t* out) = 0;
    virtual ResultCode stateChunkSize (uint32_t chunkId, uint32_t* out) = 0;
    virtual ResultCode saveStateChunk (uint32_t chunkId, StateChunkRecord* chunk) = 0;
    virtual ResultCode loadStateChunk (uint32_t chunkId, const StateChunkRecord* chunk) = 0;
    virtual ResultCode compareStateChunk (const StateChunkRecord* chunk, bool* out) = 0;
    virtual ResultCode changeCount (int32_t* out) = 0;

    virtual ResultCode reservedOperation2() = 0;
    virtual ResultCode reservedOperation3() = 0;
    virtual ResultCode reservedOperation4 (const void*, const void*, const void*, uint32_t* out) = 0;
    virtual ResultCode reservedOperation5() = 0;
    virtual ResultCode reservedOperation6() = 0;

protected:
    ~AAX_IACFEffectParameters() = default;
};

/** The second version adds three operations, none of which this plug-in uses. */
class AAX_IACFEffectParameters_V2 : public AAX_IACFEffectParameters
{
public:
    virtual ResultCode reservedOperationV2_1() = 0;
    virtual ResultCode reservedOperationV2_2() = 0;
    virtual ResultCode reservedOperationV2_3() = 0;

protected:
    ~AAX_IACFEffectParameters_V2() = default;
};
