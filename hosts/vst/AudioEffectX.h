#pragma once

#include "AudioEffect.h"
#include "SpeakerLayout.h"

/** Host records that only pass through the base as pointers; whoever reads one defines it. */
struct VstParameterPropertiesRecord;
struct VstPinPropertiesRecord;
struct VstChunkInfoRecord;
struct VstEventListRecord;
struct VstVariableBlockRecord;
struct VstTimeInfoRecord;
struct VstOfflineTaskRecord;
struct VstAudioFileRecord;
struct VstFileSelectorRecord;
struct VstWindowRecord;
struct VstMidiProgramRecord;
struct VstMidiCategoryRecord;
struct VstMidiKeyNameRecord;

/** The VST 2.4 effect: the opcodes 25 to 79 on top of AudioEffect, the remaining host
    requests, and tools for the host's speaker layouts. Every operation is an extension
    point with an inert default.
*/
class AudioEffectX : public AudioEffect
{
public:
    enum ExtendedOpcode : int32_t
    {
        processEventsOpcode = 25,
        canBeAutomatedOpcode = 26,
        stringToParameterOpcode = 27,
        programNameIndexedOpcode = 29,
        inputPropertiesOpcode = 33,
        outputPropertiesOpcode = 34,
        plugCategoryOpcode = 35,
        offlineNotifyOpcode = 38,
        offlinePrepareOpcode = 39,
        offlineRunOpcode = 40,
        processVariableBlockOpcode = 41,
        setSpeakerLayoutOpcode = 42,
        setBypassOpcode = 44,
        effectNameOpcode = 45,
        vendorNameOpcode = 47,
        productNameOpcode = 48,
        vendorVersionOpcode = 49,
        vendorSpecificOpcode = 50,
        canDoOpcode = 51,
        tailSizeOpcode = 52,
        parameterPropertiesOpcode = 56,
        interfaceVersionOpcode = 58,
        editorKeyDownOpcode = 59,
        editorKeyUpOpcode = 60,
        editorKnobModeOpcode = 61,
        midiProgramNameOpcode = 62,
        currentMidiProgramOpcode = 63,
        midiProgramCategoryOpcode = 64,
        midiProgramsChangedOpcode = 65,
        midiKeyNameOpcode = 66,
        beginProgramChangeOpcode = 67,
        endProgramChangeOpcode = 68,
        getSpeakerLayoutOpcode = 69,
        nextShellPluginOpcode = 70,
        startProcessingRunOpcode = 71,
        stopProcessingRunOpcode = 72,
        totalSamplesOpcode = 73,
        panLawOpcode = 74,
        beginBankLoadOpcode = 75,
        beginProgramLoadOpcode = 76,
        processPrecisionOpcode = 77,
        midiInputChannelsOpcode = 78,
        midiOutputChannelsOpcode = 79
    };

    enum ExtendedHostOpcode : int32_t
    {
        wantEventsHostOpcode = 6,
        timeInfoHostOpcode = 7,
        tempoAtHostOpcode = 10,
        automatableCountHostOpcode = 11,
        parameterQuantizationHostOpcode = 12,
        ioChangedHostOpcode = 13,
        needIdleHostOpcode = 14,
        sizeWindowHostOpcode = 15,
        sampleRateHostOpcode = 16,
        blockSizeHostOpcode = 17,
        inputLatencyHostOpcode = 18,
        outputLatencyHostOpcode = 19,
        previousPlugHostOpcode = 20,
        nextPlugHostOpcode = 21,
        replaceOrAccumulateHostOpcode = 22,
        processLevelHostOpcode = 23,
        automationStateHostOpcode = 24,
        offlineStartHostOpcode = 25,
        offlineReadHostOpcode = 26,
        offlineWriteHostOpcode = 27,
        offlinePassHostOpcode = 28,
        offlineMetaPassHostOpcode = 29,
        setOutputRateHostOpcode = 30,
        outputLayoutHostOpcode = 31,
        vendorStringHostOpcode = 32,
        productStringHostOpcode = 33,
        vendorVersionHostOpcode = 34,
        vendorSpecificHostOpcode = 35,
        canDoHostOpcode = 37,
        languageHostOpcode = 38,
        openWindowHostOpcode = 39,
        closeWindowHostOpcode = 40,
        directoryHostOpcode = 41,
        updateDisplayHostOpcode = 42,
        beginEditHostOpcode = 43,
        endEditHostOpcode = 44,
        openFileSelectorHostOpcode = 45,
        closeFileSelectorHostOpcode = 46,
        chunkFileHostOpcode = 48,
        inputLayoutHostOpcode = 49
    };

    /** The most channels a layout may be allocated for; more is a corrupt request. */
    static constexpr int32_t maxLayoutChannels = 1024;

    AudioEffectX (VstHostCallback callback, int32_t numPrograms, int32_t numParameters);
    ~AudioEffectX() override;

    intptr_t dispatchHostOpcode (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) override;
    void resumeProcessing() override;

    virtual bool parameterAutomatable (int32_t)                                 { return true; }
    virtual bool parseParameterText (int32_t, char*)                           { return false; }
    virtual bool describeParameter (int32_t, VstParameterPropertiesRecord*)    { return false; }
    virtual bool hostBeginEdit (int32_t index);
    virtual bool hostEndEdit (int32_t index);
    virtual bool writeProgramNameAt (int32_t, int32_t, char*)                  { return false; }
    virtual bool beginProgramChange()                                          { return false; }
    virtual bool endProgramChange()                                            { return false; }
    virtual int32_t beginBankLoad (VstChunkInfoRecord*)                        { return 0; }
    virtual int32_t beginProgramLoad (VstChunkInfoRecord*)                     { return 0; }
    virtual bool hostIoChanged();
    virtual double refreshSampleRate();
    virtual int32_t refreshBlockSize();
    virtual int32_t hostInputLatency();
    virtual int32_t hostOutputLatency();
    virtual bool describeInputPin (int32_t, VstPinPropertiesRecord*)           { return false; }
    virtual bool describeOutputPin (int32_t, VstPinPropertiesRecord*)          { return false; }
    virtual bool acceptSpeakerLayout (SpeakerLayoutRecord*, SpeakerLayoutRecord*) { return false; }
    virtual bool provideSpeakerLayout (SpeakerLayoutRecord** input, SpeakerLayoutRecord** output);
    virtual bool applyBypass (bool)                                            { return false; }
    virtual bool applyPanLaw (int32_t, float)                                  { return false; }
    virtual bool applyProcessPrecision (int32_t)                               { return false; }
    virtual int32_t midiInputChannelCount()                                    { return 0; }
    virtual int32_t midiOutputChannelCount()                                   { return 0; }
    virtual VstTimeInfoRecord* hostTimeInfo (int32_t filter);
    virtual int32_t hostProcessLevel();
    virtual int32_t hostAutomationState();
    virtual int32_t handleEvents (VstEventListRecord*)                         { return 0; }
    virtual int32_t startProcessingRun()                                       { return 0; }
    virtual int32_t stopProcessingRun()                                        { return 0; }
    virtual bool processVariableBlock (VstVariableBlockRecord*)                { return false; }
    virtual int32_t applyTotalSamples (int32_t value)                          { return value; }
    virtual bool hostVendorString (char* text);
    virtual bool hostProductString (char* text);
    virtual int32_t hostVendorVersion();
    virtual intptr_t hostVendorCall (int32_t a, intptr_t b, void* c, float d);
    virtual int32_t hostCanDo (char* text);
    virtual int32_t hostLanguage();
    virtual void setFlagBit8 (bool on)                                         { setFlag (VstEffectRecord::isSynthFlag, on); }
    virtual void setFlagBit9 (bool on)                                         { setFlag (VstEffectRecord::noSoundInStopFlag, on); }
    virtual int32_t tailSize()                                                 { return 0; }
    virtual void* hostDirectory();
    virtual bool writeEffectName (char*)                                       { return false; }
    virtual bool writeVendorName (char*)                                       { return false; }
    virtual bool writeProductName (char*)                                      { return false; }
    virtual int32_t vendorVersion()                                            { return 0; }
    virtual intptr_t vendorCall (int32_t, intptr_t, void*, float)              { return 0; }
    virtual int32_t answerCanDo (char*)                                        { return 0; }
    virtual int32_t vstInterfaceVersion()                                      { return 2400; }
    virtual int32_t plugCategory();
    virtual int32_t writeMidiProgramName (int32_t, VstMidiProgramRecord*)      { return 0; }
    virtual int32_t writeCurrentMidiProgram (int32_t, VstMidiProgramRecord*)   { return -1; }
    virtual int32_t writeMidiProgramCategory (int32_t, VstMidiCategoryRecord*) { return 0; }
    virtual bool midiProgramsChanged (int32_t)                                 { return false; }
    virtual bool writeMidiKeyName (int32_t, VstMidiKeyNameRecord*)             { return false; }
    virtual bool hostUpdateDisplay();
    virtual bool hostSizeWindow (int32_t width, int32_t height);
    virtual bool hostOpenFileSelector (VstFileSelectorRecord* selector);
    virtual bool hostCloseFileSelector (VstFileSelectorRecord* selector);
    virtual int32_t nextShellPlugin (char*)                                    { return 0; }
    virtual bool allocateLayout (SpeakerLayoutRecord** layout, int32_t channels);
    virtual bool releaseLayout (SpeakerLayoutRecord** layout);
    virtual bool copySpeakerEntry (SpeakerEntry* to, SpeakerEntry* from);
    virtual bool matchLayout (SpeakerLayoutRecord** to, SpeakerLayoutRecord* from);
    virtual bool hostOfflineRead (VstOfflineTaskRecord* task, int32_t option, bool readSource);
    virtual bool hostOfflineWrite (VstOfflineTaskRecord* task, int32_t option);
    virtual bool hostOfflineStart (VstAudioFileRecord* files, int32_t count, int32_t newCount);
    virtual int32_t hostOfflinePass();
    virtual int32_t hostOfflineMetaPass();
    virtual bool noteOfflineFiles (VstAudioFileRecord*, int32_t, bool)         { return false; }
    virtual bool prepareOfflineTask (VstOfflineTaskRecord*, int32_t)           { return false; }
    virtual bool runOfflineTask (VstOfflineTaskRecord*, int32_t)               { return false; }
    virtual int32_t offlinePassCount()                                         { return 0; }
    virtual int32_t offlineMetaPassCount()                                     { return 0; }
    virtual void requestHostEvents (int32_t filter);
    virtual int32_t hostTempoAt (int32_t position);
    virtual int32_t hostAutomatableCount();
    virtual int32_t hostParameterQuantization();
    virtual int32_t categoryCount()                                            { return 1; }
    virtual bool copyProgramTo()                                               { return false; }
    virtual bool hostNeedIdle();
    virtual VstEffectRecord* hostPreviousPlug (int32_t input);
    virtual VstEffectRecord* hostNextPlug (int32_t output);
    virtual void inputPinConnected() {}
    virtual void outputPinConnected() {}
    virtual int32_t hostReplaceOrAccumulate();
    virtual void setFlagBit10 (bool on)                                        { setFlag (VstEffectRecord::extOutputAsyncFlag, on); }
    virtual void setFlagBit11 (bool on)                                        { setFlag (VstEffectRecord::extOutputBufferFlag, on); }
    virtual int32_t reportPosition()                                           { return 0; }
    virtual void* reportBuffer()                                               { return nullptr; }
    virtual void hostSetOutputRate (float rate);
    virtual SpeakerLayoutRecord* hostInputLayout();
    virtual SpeakerLayoutRecord* hostOutputLayout();
    virtual void* hostOpenWindow (VstWindowRecord* window);
    virtual bool hostCloseWindow (VstWindowRecord* window);
    virtual void storeBlockSizeAndRate (int32_t size, float rate)              { blockSize = size; sampleRate = rate; }
    virtual bool writeErrorText()                                              { return false; }
    virtual void* iconHandle()                                                 { return nullptr; }
    virtual bool moveView()                                                    { return false; }
    virtual int32_t idleTick()                                                 { return 0; }
    virtual bool needsKeys()                                                   { return false; }
    virtual bool hostChunkFile (void* nativePath);

private:
    bool callHostNonZero (int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0.0f);
    int32_t callHostInt (int32_t opcode, intptr_t value = 0);
    intptr_t dispatchEditorKey (int32_t opcode, int32_t index, intptr_t value, float opt);
};
