#include "AudioEffectX.h"

#include <cstring>
#include <new>

namespace
{
    intptr_t asResult (bool answer) noexcept { return answer ? 1 : 0; }

    void freeLayout (SpeakerLayoutRecord* layout) noexcept
    {
        delete[] reinterpret_cast<unsigned char*> (layout);
    }
}

AudioEffectX::AudioEffectX (VstHostCallback callback, int32_t programs, int32_t parameters)
    : AudioEffect (callback, programs, parameters)
{
}

AudioEffectX::~AudioEffectX() = default;

intptr_t AudioEffectX::dispatchHostOpcode (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    // As in the base: null pointers reach the operations, which check them themselves.
    auto* text = static_cast<char*> (ptr);

    switch (opcode)
    {
        case processEventsOpcode:           return handleEvents (static_cast<VstEventListRecord*> (ptr));
        case canBeAutomatedOpcode:          return asResult (parameterAutomatable (index));
        case stringToParameterOpcode:       return asResult (parseParameterText (index, text));
        case programNameIndexedOpcode:      return asResult (writeProgramNameAt ((int32_t) value, index, text));
        case inputPropertiesOpcode:         return asResult (describeInputPin (index, static_cast<VstPinPropertiesRecord*> (ptr)));
        case outputPropertiesOpcode:        return asResult (describeOutputPin (index, static_cast<VstPinPropertiesRecord*> (ptr)));
        case plugCategoryOpcode:            return (intptr_t) (uint32_t) plugCategory();
        case offlineNotifyOpcode:           return asResult (noteOfflineFiles (static_cast<VstAudioFileRecord*> (ptr), (int32_t) value, index != 0));
        case offlinePrepareOpcode:          return asResult (prepareOfflineTask (static_cast<VstOfflineTaskRecord*> (ptr), (int32_t) value));
        case offlineRunOpcode:              return asResult (runOfflineTask (static_cast<VstOfflineTaskRecord*> (ptr), (int32_t) value));
        case processVariableBlockOpcode:    return asResult (processVariableBlock (static_cast<VstVariableBlockRecord*> (ptr)));
        case setSpeakerLayoutOpcode:        return asResult (acceptSpeakerLayout (reinterpret_cast<SpeakerLayoutRecord*> (value),
                                                                                  static_cast<SpeakerLayoutRecord*> (ptr)));
        case setBypassOpcode:               return asResult (applyBypass (value != 0));
        case effectNameOpcode:              return asResult (writeEffectName (text));
        case vendorNameOpcode:              return asResult (writeVendorName (text));
        case productNameOpcode:             return asResult (writeProductName (text));
        case vendorVersionOpcode:           return vendorVersion();
        case vendorSpecificOpcode:          return vendorCall (index, value, ptr, opt);
        case canDoOpcode:                   return answerCanDo (text);
        case tailSizeOpcode:                return tailSize();
        case parameterPropertiesOpcode:     return asResult (describeParameter (index, static_cast<VstParameterPropertiesRecord*> (ptr)));
        case interfaceVersionOpcode:        return vstInterfaceVersion();
        case editorKeyDownOpcode:
        case editorKeyUpOpcode:             return dispatchEditorKey (opcode, index, value, opt);
        case editorKnobModeOpcode:          return asResult (editor != nullptr && editor->applyKnobMode ((int32_t) value));
        case midiProgramNameOpcode:         return writeMidiProgramName (index, static_cast<VstMidiProgramRecord*> (ptr));
        case currentMidiProgramOpcode:      return writeCurrentMidiProgram (index, static_cast<VstMidiProgramRecord*> (ptr));
        case midiProgramCategoryOpcode:     return writeMidiProgramCategory (index, static_cast<VstMidiCategoryRecord*> (ptr));
        case midiProgramsChangedOpcode:     return asResult (midiProgramsChanged (index));
        case midiKeyNameOpcode:             return asResult (writeMidiKeyName (index, static_cast<VstMidiKeyNameRecord*> (ptr)));
        case beginProgramChangeOpcode:      return asResult (beginProgramChange());
        case endProgramChangeOpcode:        return asResult (endProgramChange());
        case getSpeakerLayoutOpcode:        return asResult (provideSpeakerLayout (reinterpret_cast<SpeakerLayoutRecord**> (value),
                                                                                   static_cast<SpeakerLayoutRecord**> (ptr)));
        case nextShellPluginOpcode:         return nextShellPlugin (text);
        case startProcessingRunOpcode:      return startProcessingRun();
        case stopProcessingRunOpcode:       return stopProcessingRun();
        case totalSamplesOpcode:            return applyTotalSamples ((int32_t) value);
        case panLawOpcode:                  return asResult (applyPanLaw ((int32_t) value, opt));
        case beginBankLoadOpcode:           return beginBankLoad (static_cast<VstChunkInfoRecord*> (ptr));
        case beginProgramLoadOpcode:        return beginProgramLoad (static_cast<VstChunkInfoRecord*> (ptr));
        case processPrecisionOpcode:        return asResult (applyProcessPrecision ((int32_t) value));
        case midiInputChannelsOpcode:       return midiInputChannelCount();
        case midiOutputChannelsOpcode:      return midiOutputChannelCount();
        default:                            return AudioEffect::dispatchHostOpcode (opcode, index, value, ptr, opt);
    }
}

intptr_t AudioEffectX::dispatchEditorKey (int32_t opcode, int32_t index, intptr_t value, float opt)
{
    if (editor == nullptr)
        return 0;

    EditorKeyRecord key;
    key.character = index;
    key.virtualKey = (uint8_t) value;
    // A float outside the int32 range cannot be converted at all; such a host sends no modifiers.
    key.modifiers = (opt > -2147483648.0f && opt < 2147483648.0f) ? (uint8_t) (int32_t) opt : 0;

    return asResult (opcode == editorKeyDownOpcode ? editor->keyPressed (key) : editor->keyReleased (key));
}

void AudioEffectX::resumeProcessing()
{
    char receiveMidi[] = "receiveVstMidiEvent";

    if ((record.flags & VstEffectRecord::isSynthFlag) != 0 || answerCanDo (receiveMidi) == 1)
        requestHostEvents (1);
}

int32_t AudioEffectX::plugCategory()
{
    return (record.flags & VstEffectRecord::isSynthFlag) != 0 ? 2 : 0;
}

bool AudioEffectX::provideSpeakerLayout (SpeakerLayoutRecord** input, SpeakerLayoutRecord** output)
{
    // Both or nothing: a host that gives one address only gets nothing written through it.
    if (input != nullptr && output != nullptr)
        *input = *output = nullptr;

    return false;
}

//==============================================================================
bool AudioEffectX::callHostNonZero (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    return callHost (opcode, index, value, ptr, opt, 0) != 0;
}

int32_t AudioEffectX::callHostInt (int32_t opcode, intptr_t value)
{
    return (int32_t) callHost (opcode, 0, value, nullptr, 0.0f, 0);
}

bool AudioEffectX::hostBeginEdit (int32_t index)              { return callHostNonZero (beginEditHostOpcode, index); }
bool AudioEffectX::hostEndEdit (int32_t index)                { return callHostNonZero (endEditHostOpcode, index); }
bool AudioEffectX::hostIoChanged()                            { return callHostNonZero (ioChangedHostOpcode); }
bool AudioEffectX::hostNeedIdle()                             { return callHostNonZero (needIdleHostOpcode); }
bool AudioEffectX::hostSizeWindow (int32_t width, int32_t height) { return callHostNonZero (sizeWindowHostOpcode, width, height); }
bool AudioEffectX::hostUpdateDisplay()                        { return callHostNonZero (updateDisplayHostOpcode); }
bool AudioEffectX::hostVendorString (char* text)              { return callHostNonZero (vendorStringHostOpcode, 0, 0, text); }
bool AudioEffectX::hostProductString (char* text)             { return callHostNonZero (productStringHostOpcode, 0, 0, text); }
int32_t AudioEffectX::hostCanDo (char* text)                  { return callHostNonZero (canDoHostOpcode, 0, 0, text) ? 1 : 0; }
bool AudioEffectX::hostCloseWindow (VstWindowRecord* window)  { return callHostNonZero (closeWindowHostOpcode, 0, 0, window); }

int32_t AudioEffectX::hostInputLatency()                      { return callHostInt (inputLatencyHostOpcode); }
int32_t AudioEffectX::hostOutputLatency()                     { return callHostInt (outputLatencyHostOpcode); }
int32_t AudioEffectX::hostProcessLevel()                      { return callHostInt (processLevelHostOpcode); }
int32_t AudioEffectX::hostAutomationState()                   { return callHostInt (automationStateHostOpcode); }
int32_t AudioEffectX::hostVendorVersion()                     { return callHostInt (vendorVersionHostOpcode); }
int32_t AudioEffectX::hostLanguage()                          { return callHostInt (languageHostOpcode); }
int32_t AudioEffectX::hostTempoAt (int32_t position)          { return callHostInt (tempoAtHostOpcode, position); }
int32_t AudioEffectX::hostAutomatableCount()                  { return callHostInt (automatableCountHostOpcode); }
int32_t AudioEffectX::hostParameterQuantization()             { return callHostInt (parameterQuantizationHostOpcode); }
int32_t AudioEffectX::hostReplaceOrAccumulate()               { return callHostInt (replaceOrAccumulateHostOpcode); }
int32_t AudioEffectX::hostOfflinePass()                       { return callHostNonZero (offlinePassHostOpcode) ? 1 : 0; }
int32_t AudioEffectX::hostOfflineMetaPass()                   { return callHostNonZero (offlineMetaPassHostOpcode) ? 1 : 0; }

intptr_t AudioEffectX::hostVendorCall (int32_t a, intptr_t b, void* c, float d)
{
    return callHost (vendorSpecificHostOpcode, a, b, c, d, 0);
}

void AudioEffectX::requestHostEvents (int32_t filter)
{
    callHost (wantEventsHostOpcode, 0, filter, nullptr, 0.0f, 0);
}

VstTimeInfoRecord* AudioEffectX::hostTimeInfo (int32_t filter)
{
    return reinterpret_cast<VstTimeInfoRecord*> (callHost (timeInfoHostOpcode, 0, filter, nullptr, 0.0f, 0));
}

void* AudioEffectX::hostDirectory()
{
    return reinterpret_cast<void*> (callHost (directoryHostOpcode, 0, 0, nullptr, 0.0f, 0));
}

VstEffectRecord* AudioEffectX::hostPreviousPlug (int32_t)
{
    return reinterpret_cast<VstEffectRecord*> (callHost (previousPlugHostOpcode, 0, 0, nullptr, 0.0f, 0));
}

VstEffectRecord* AudioEffectX::hostNextPlug (int32_t)
{
    return reinterpret_cast<VstEffectRecord*> (callHost (nextPlugHostOpcode, 0, 0, nullptr, 0.0f, 0));
}

SpeakerLayoutRecord* AudioEffectX::hostInputLayout()
{
    return reinterpret_cast<SpeakerLayoutRecord*> (callHost (inputLayoutHostOpcode, 0, 0, nullptr, 0.0f, 0));
}

SpeakerLayoutRecord* AudioEffectX::hostOutputLayout()
{
    return reinterpret_cast<SpeakerLayoutRecord*> (callHost (outputLayoutHostOpcode, 0, 0, nullptr, 0.0f, 0));
}

void* AudioEffectX::hostOpenWindow (VstWindowRecord* window)
{
    return reinterpret_cast<void*> (callHost (openWindowHostOpcode, 0, 0, window, 0.0f, 0));
}

void AudioEffectX::hostSetOutputRate (float rate)
{
    callHost (setOutputRateHostOpcode, 0, 0, nullptr, rate, 0);
}

bool AudioEffectX::hostOpenFileSelector (VstFileSelectorRecord* selector)
{
    return selector != nullptr && callHostNonZero (openFileSelectorHostOpcode, 0, 0, selector);
}

bool AudioEffectX::hostCloseFileSelector (VstFileSelectorRecord* selector)
{
    return selector != nullptr && callHostNonZero (closeFileSelectorHostOpcode, 0, 0, selector);
}

bool AudioEffectX::hostChunkFile (void* nativePath)
{
    return nativePath != nullptr && callHostNonZero (chunkFileHostOpcode, 0, 0, nativePath);
}

bool AudioEffectX::hostOfflineStart (VstAudioFileRecord* files, int32_t count, int32_t newCount)
{
    return callHostNonZero (offlineStartHostOpcode, newCount, count, files);
}

bool AudioEffectX::hostOfflineRead (VstOfflineTaskRecord* task, int32_t option, bool readSource)
{
    return callHostNonZero (offlineReadHostOpcode, readSource ? 1 : 0, (intptr_t) (uint32_t) option, task);
}

bool AudioEffectX::hostOfflineWrite (VstOfflineTaskRecord* task, int32_t option)
{
    return callHostNonZero (offlineWriteHostOpcode, 0, (intptr_t) (uint32_t) option, task);
}

double AudioEffectX::refreshSampleRate()
{
    if (hostCallback != nullptr)
    {
        const auto answer = callHost (sampleRateHostOpcode, 0, 0, nullptr, 0.0f, 0);

        if (answer > 0)
            sampleRate = (float) answer;
    }

    return (double) sampleRate;
}

int32_t AudioEffectX::refreshBlockSize()
{
    if (hostCallback != nullptr)
    {
        const auto answer = (int32_t) callHost (blockSizeHostOpcode, 0, 0, nullptr, 0.0f, 0);

        if (answer > 0)
            blockSize = answer;
    }

    return blockSize;
}

//==============================================================================
bool AudioEffectX::allocateLayout (SpeakerLayoutRecord** layout, int32_t channels)
{
    if (layout == nullptr)
        return false;

    releaseLayout (layout);

    // The size is worked out in size_t from a bounded count, so it can neither wrap nor ask
    // for gigabytes on a corrupt request; a failed allocation answers false.
    if (channels < 0 || channels > maxLayoutChannels)
        return false;

    const auto bytes = SpeakerLayoutRecord::bytesFor ((size_t) channels);
    auto* memory = new (std::nothrow) unsigned char[bytes];

    if (memory == nullptr)
        return false;

    std::memset (memory, 0, bytes);
    auto* created = reinterpret_cast<SpeakerLayoutRecord*> (memory);
    created->channelCount = channels;
    *layout = created;
    return true;
}

bool AudioEffectX::releaseLayout (SpeakerLayoutRecord** layout)
{
    if (layout != nullptr && *layout != nullptr)
    {
        freeLayout (*layout);
        *layout = nullptr;
    }

    return true;
}

bool AudioEffectX::copySpeakerEntry (SpeakerEntry* to, SpeakerEntry* from)
{
    if (to == nullptr || from == nullptr)
        return false;

    // memmove: copying an entry onto itself must stay defined.
    std::memmove (to->position, from->position, sizeof (to->position));
    to->type = from->type;
    std::memmove (to->reserved, from->reserved, sizeof (to->reserved));

    // At most 63 characters, and the rest of the field zero, whether or not the source ends.
    const auto length = strnlen (from->name, sizeof (from->name) - 1);
    char name[sizeof (to->name)] {};
    std::memcpy (name, from->name, length);
    std::memcpy (to->name, name, sizeof (name));
    return true;
}

bool AudioEffectX::matchLayout (SpeakerLayoutRecord** to, SpeakerLayoutRecord* from)
{
    if (from == nullptr)
        return false;

    if (! releaseLayout (to))
        return false;

    if (! allocateLayout (to, from->channelCount))
        return false;

    auto* created = *to;
    created->type = from->type;

    for (int32_t i = 0; i < created->channelCount; ++i)
        if (! copySpeakerEntry (created->entries() + i, from->entries() + i))
            return false;

    return true;
}
