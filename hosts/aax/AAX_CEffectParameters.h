#pragma once

#include "AAX_CChunkDataParser.h"
#include "AAX_CPacketDispatcher.h"
#include "AAX_CParameterRegistry.h"
#include "AAX_IEffectParameters.h"

#include <memory>
#include <set>
#include <string>

class AAX_VAutomationDelegate;
class AAX_VController;
class AAX_VTransport;

/** Identifier of the master bypass parameter. */
inline constexpr char kMasterBypassId[] = "MasterBypassID";

/** Identifier of the parameter that follows the host's preview notification. */
inline constexpr char kPreviewId[] = "PreviewID";

/** The id of the library's state chunk, 'elck', and the name it is saved under. */
inline constexpr uint32_t kControlsChunkId = 0x656C636B;
inline constexpr char kControlsChunkName[] = "Complete Controls State";

/**
    The base of the object an AAX host creates for each plug-in instance to handle its parameters,
    state chunk, data packets and notifications.

    A subclass adds its parameters and registers its packets in initializeEffect(), which initialize()
    calls once the host's controller, automation delegate and transport proxies exist. Every host
    operation that names a parameter looks it up here and passes the call to the parameter; changes
    go through the host (see AAX_CParameter) and come back through applyNormalizedParameterValue().

    The 'elck' chunk holds one entry per parameter value, the master bypass left out. A subclass that
    adds chunks of its own handles their ids in its overrides of the chunk operations and passes every
    other id here; ids this class does not know are answered with resultBadChunkId.
*/
class AAX_CEffectParameters : public AAX_IEffectParameters
{
public:
    AAX_CEffectParameters();
    ~AAX_CEffectParameters() override;

    //==============================================================================
    /** Creates the host proxies, then runs initializeEffect(). Initialising an instance that is
        already initialised starts over, as if uninitialize() came first. */
    ResultCode initialize (IACFUnknown* hostController) override;

    /** Deletes every parameter, forgets every packet registration and deletes the host proxies. */
    ResultCode uninitialize() override;

    ResultCode handleHostNotification (uint32_t type, const void* data, uint32_t size) override;

    //==============================================================================
    ResultCode parameterCount (int32_t* out) override;
    ResultCode masterBypassParameterId (AAX_IString* out) override;
    ResultCode isParameterAutomatable (const char* id, bool* out) override;
    ResultCode parameterStepCount (const char* id, int32_t* out) override;
    ResultCode parameterDisplayName (const char* id, AAX_IString* out) override;
    ResultCode parameterShortName (const char* id, AAX_IString* out, int32_t maxChars) override;
    ResultCode normalizedParameterDefault (const char* id, double* out) override;
    ResultCode setNormalizedParameterDefault (const char* id, double normalizedDefault) override;
    ResultCode parameterTypeOf (const char* id, int32_t* out) override;
    ResultCode parameterOrientationOf (const char* id, int32_t* out) override;
    ResultCode parameterById (const char* id, AAX_IParameter** out) override;
    ResultCode parameterIndexOf (const char* id, int32_t* out) override;
    ResultCode parameterIdAt (int32_t index, AAX_IString* out) override;
    ResultCode parameterIntegerQuery (const char* id, int32_t unused, int32_t* out) override;

    ResultCode valueFromParameterText (const char* id, double* out, const AAX_IString& text) override;
    ResultCode parameterTextFromValue (const char* id, double normalizedValue, AAX_IString* out, int32_t maxChars) override;
    ResultCode parameterValueText (const char* id, AAX_IString* out, int32_t maxChars) override;

    /** Requests and deltas go to the parameter's request road; a non-finite value is refused with
        resultConversionFailed. */
    ResultCode normalizedParameterValue (const char* id, double* out) override;
    ResultCode setNormalizedParameterValue (const char* id, double normalizedValue) override;
    ResultCode addToNormalizedParameterValue (const char* id, double delta) override;
    ResultCode touchParameter (const char* id) override;
    ResultCode releaseParameter (const char* id) override;

    /** The host's answer to a request: stores the value, marks its packets dirty and counts the change. */
    ResultCode applyNormalizedParameterValue (const char* id, double normalizedValue, int32_t source) override;
    ResultCode applyNormalizedParameterDelta (const char* id, double delta) override;

    ResultCode postDirtyPackets() override;
    ResultCode fillFieldData (uint32_t field, void* data, uint32_t size) override;

    //==============================================================================
    ResultCode stateChunkCount (int32_t* out) override;
    ResultCode stateChunkId (int32_t index, uint32_t* out) override;
    ResultCode stateChunkSize (uint32_t chunkId, uint32_t* out) override;
    ResultCode saveStateChunk (uint32_t chunkId, StateChunkRecord* chunk) override;

    /** Restores the chunk's values through each parameter's request road. A record that is short or
        corrupt, or holds a value a parameter cannot take, is refused with resultBadChunkSize and changes
        nothing. */
    ResultCode loadStateChunk (uint32_t chunkId, const StateChunkRecord* chunk) override;
    ResultCode compareStateChunk (const StateChunkRecord* chunk, bool* out) override;

    /** The number of applied changes; it wraps round and is reported within the non-negative range. */
    ResultCode changeCount (int32_t* out) override;

    //==============================================================================
    ResultCode reservedOperation1() override { return resultSuccess; }
    ResultCode reservedOperation2() override { return resultSuccess; }
    ResultCode reservedOperation3() override { return resultNotAvailable; }
    ResultCode reservedOperation4 (const void*, const void*, const void*, uint32_t* out) override;
    ResultCode reservedOperation5() override { return resultSuccess; }
    ResultCode reservedOperation6() override { return resultSuccess; }
    ResultCode reservedOperationV2_1() override { return resultNotAvailable; }
    ResultCode reservedOperationV2_2() override { return resultSuccess; }
    ResultCode reservedOperationV2_3() override { return resultSuccess; }

    /** Answers both effect-parameters interfaces with this object. */
    ResultCode queryInternal (const InterfaceId& id, void** out) override;

    //==============================================================================
    /** Where a subclass adds its parameters and registers its packets; runs inside initialize(). */
    virtual ResultCode initializeEffect();

    AAX_VController* hostController() const noexcept { return controller.get(); }
    AAX_VTransport* hostTransport() const noexcept { return transport.get(); }

protected:
    uint32_t changeCounter = 0;
    int32_t cachedChunkSize = 0;
    AAX_CChunkDataParser chunkParser;
    AAX_CPacketDispatcher packetDispatcher;
    AAX_CParameterRegistry parameterManager;
    std::set<std::string> excludedParameterIds;

private:
    void releaseHostObjects();
    void rebuildStateChunk();
    ResultCode changeByDelta (const char* id, double delta, bool apply);

    /** Calls visit (parameter) for every parameter that belongs in the state chunk. */
    template <typename Visitor>
    void forEachChunkParameter (Visitor&& visit);

    std::unique_ptr<AAX_VController> controller;
    std::unique_ptr<AAX_VTransport> transport;
    std::unique_ptr<AAX_VAutomationDelegate> automationDelegate;
};
