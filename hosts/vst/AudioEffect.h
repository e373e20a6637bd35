#pragma once

#include "EffectEditor.h"
#include "VstEffectRecord.h"

#include <memory>

/** The base of a VST 2.4 plug-in object. It owns the record handed to the host, turns the
    host's opcodes 0 to 24 into calls of its virtual operations, answers with inert defaults
    where a derived class provides nothing, and wraps the first host-callback requests.

    The virtual operations are declared in the order hosts' plug-ins have always laid them
    out; keep new ones at the end of AudioEffectX.
*/
class AudioEffect
{
public:
    enum Opcode : int32_t
    {
        openOpcode = 0,
        closeOpcode = 1,
        setProgramOpcode = 2,
        getProgramOpcode = 3,
        setProgramNameOpcode = 4,
        getProgramNameOpcode = 5,
        getParameterLabelOpcode = 6,
        getParameterTextOpcode = 7,
        getParameterNameOpcode = 8,
        setSampleRateOpcode = 10,
        setBlockSizeOpcode = 11,
        switchProcessingOpcode = 12,
        editorBoundsOpcode = 13,
        editorOpenOpcode = 14,
        editorCloseOpcode = 15,
        editorIdleOpcode = 19,
        identifyOpcode = 22,
        getChunkOpcode = 23,
        setChunkOpcode = 24
    };

    enum HostOpcode : int32_t
    {
        automateHostOpcode = 0,
        versionHostOpcode = 1,
        currentIdHostOpcode = 2,
        idleHostOpcode = 3,
        pinConnectedHostOpcode = 4
    };

    static constexpr int32_t identifyAnswer = 0x4E764566; // 'NvEf'
    static constexpr int32_t defaultUniqueId = 0x4E6F4566; // 'NoEf'

    AudioEffect (VstHostCallback callback, int32_t numPrograms, int32_t numParameters);
    virtual ~AudioEffect();

    AudioEffect (const AudioEffect&) = delete;
    AudioEffect& operator= (const AudioEffect&) = delete;

    virtual intptr_t dispatchHostOpcode (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

    virtual void openEffect() {}
    virtual void closeEffect() {}
    virtual void suspendProcessing() {}
    virtual void resumeProcessing() {}
    virtual void changeSampleRate (float rate)     { sampleRate = rate; }
    virtual void changeBlockSize (int32_t size)    { blockSize = size; }

    virtual void processFloatBlock (float** inputs, float** outputs, int32_t frames) = 0;
    virtual void processDoubleBlock (double**, double**, int32_t) {}

    virtual void applyParameter (int32_t, float) {}
    virtual float readParameter (int32_t)          { return 0.0f; }
    virtual void applyAndAutomateParameter (int32_t index, float value);

    virtual int32_t currentProgramIndex()          { return currentProgram; }
    virtual void selectProgram (int32_t program)   { currentProgram = program; }
    virtual void renameProgram (char*) {}
    virtual void writeProgramName (char* name);
    virtual void writeParameterLabel (int32_t index, char* text);
    virtual void writeParameterText (int32_t index, char* text);
    virtual void writeParameterName (int32_t index, char* text);

    virtual int32_t saveChunk (void**, bool)                 { return 0; }
    virtual int32_t loadChunk (void*, int32_t, bool)         { return 0; }

    virtual void storeUniqueId (int32_t id)          { record.uniqueId = id; }
    virtual void storeInputCount (int32_t count)     { record.numInputs = count; }
    virtual void storeOutputCount (int32_t count)    { record.numOutputs = count; }
    virtual void setFlagBit4 (bool on)               { setFlag (VstEffectRecord::canReplacingFlag, on); }
    virtual void setFlagBit12 (bool on)              { setFlag (VstEffectRecord::canDoubleReplacingFlag, on); }
    virtual void setFlagBit5 (bool on)               { setFlag (VstEffectRecord::programChunksFlag, on); }
    virtual void storeInitialDelay (int32_t samples) { record.initialDelay = samples; }

    virtual EffectEditor* attachedEditor()           { return editor.get(); }
    virtual VstEffectRecord* effectRecord()          { return &record; }
    virtual float effectSampleRate()                 { return sampleRate; }
    virtual int32_t effectBlockSize()                { return blockSize; }

    virtual int32_t hostVersion();
    virtual intptr_t hostCurrentId();
    virtual void hostIdle();

    /** Parameter displays for an 8-character field. Each writes at most maxLen characters
        into a buffer of maxLen + 1 bytes and ends it with a zero byte; a null buffer or a
        negative maxLen writes nothing.
    */
    virtual void formatDecibels (float value, char* text, int32_t maxLen);
    virtual void formatHertz (float samples, char* text, int32_t maxLen);
    virtual void formatMilliseconds (float samples, char* text, int32_t maxLen);
    virtual void formatFloat (float value, char* text, int32_t maxLen);
    virtual void formatInteger (int32_t value, char* text, int32_t maxLen);

    virtual void processAccumulating (float**, float**, int32_t) {}
    virtual float levelMeterValue()                  { return 0.0f; }
    virtual void setFlagBit2 (bool on)               { setFlag (VstEffectRecord::hasLevelMeterFlag, on); }
    virtual void setFlagBit1 (bool on)               { setFlag (VstEffectRecord::hasClipFlag, on); }
    virtual void setFlagBit3 (bool on)               { setFlag (VstEffectRecord::canMonoFlag, on); }
    virtual void storeRealtimeQualities (int32_t q)  { record.realtimeQualities = q; }
    virtual void storeOfflineQualities (int32_t q)   { record.offlineQualities = q; }
    virtual bool hostInputConnected (int32_t input);
    virtual bool hostOutputConnected (int32_t output);

    /** Copies at most maxLen characters of source into text and ends it with a zero byte at
        text[maxLen] (text holds maxLen + 1 bytes). A null text or a negative maxLen writes nothing.
    */
    static void copyText (char* text, const char* source, int32_t maxLen) noexcept;

    /** Makes text empty; a null text is left alone. */
    static void clearText (char* text) noexcept;

protected:
    /** Calls the host, or answers whenAbsent without a call when there is no callback. */
    intptr_t callHost (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt, intptr_t whenAbsent);

    void setFlag (int32_t flag, bool on) noexcept;

    VstHostCallback hostCallback;
    std::unique_ptr<EffectEditor> editor;
    float sampleRate = 44100.0f;
    int32_t blockSize = 1024;
    int32_t numPrograms;
    int32_t numParameters;
    int32_t currentProgram = 0;
    VstEffectRecord record;
};
