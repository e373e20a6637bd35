#include "LumarroVSTWrapper.h"

#include <algorithm>
#include <cmath>
#include <cstring>

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter();

namespace
{
    bool textIs (const char* text, const char* expected) noexcept
    {
        return text != nullptr && std::strcmp (text, expected) == 0;
    }
}

// The processor speaks JUCE's legacy parameter and channel interface, which is exactly what a
// VST 2.4 host asks for.
JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

LumarroVSTWrapper::LumarroVSTWrapper (VstHostCallback callback, std::unique_ptr<juce::AudioProcessor> processorToUse)
    : AudioEffectX (callback, processorToUse->getNumPrograms(), processorToUse->getNumParameters()),
      processor (std::move (processorToUse))
{
    setFlag (VstEffectRecord::hasEditorFlag, processor->hasEditor());
    record.version = pluginVersion;

    storeUniqueId (uniqueId);
    storeInputCount (numChannels);
    storeOutputCount (numChannels);
    setFlag (VstEffectRecord::canReplacingFlag, true);
    setFlag (VstEffectRecord::isSynthFlag, false);
    storeInitialDelay (processor->getLatencySamples());
    setFlag (VstEffectRecord::programChunksFlag, true);

    BlockSlicer::reserveEvents (incomingMidi);
    processor->setPlayHead (this);
    processor->addListener (this);
}

LumarroVSTWrapper::~LumarroVSTWrapper()
{
    // A host may close an instance whose window is still open.
    closeEditor();
    processor->removeListener (this);
    processor->setPlayHead (nullptr);
}

//==============================================================================
intptr_t LumarroVSTWrapper::dispatchHostOpcode (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    switch (opcode)
    {
        case editorBoundsOpcode:
        case editorOpenOpcode:
        case editorCloseOpcode:
        case editorIdleOpcode:
            return dispatchEditorOpcode (opcode, ptr);

        default:
            return AudioEffectX::dispatchHostOpcode (opcode, index, value, ptr, opt);
    }
}

intptr_t LumarroVSTWrapper::dispatchEditorOpcode (int32_t opcode, void* ptr)
{
    switch (opcode)
    {
        case editorBoundsOpcode:
            // The size is fixed, so hosts may ask before the window exists.
            if (ptr == nullptr)
                return 0;

            *static_cast<VstEditorRectRecord**> (ptr) = &editorRect;
            return 1;

        case editorOpenOpcode:
            return openEditor (ptr) ? 1 : 0;

        case editorCloseOpcode:
            closeEditor();
            return 0;

        case editorIdleOpcode:
            messagePump->hostIdle();
            return 0;

        default:
            return 0;
    }
}

bool LumarroVSTWrapper::openEditor (void* parentWindow)
{
    // The editor lives inside the host's window; without one there is nowhere to put it.
    if (parentWindow == nullptr || ! processor->hasEditor())
        return false;

    return messagePump->onMessageThread ([&]
    {
        if (editorWindow == nullptr)
        {
            editorWindow.reset (processor->createEditorIfNeeded());

            if (editorWindow == nullptr)
                return false;

            messagePump->editorOpened();
        }

        // A second open moves the editor into the window the host gives now.
        editorEmbedding.reset();
        editorEmbedding.emplace (*editorWindow, parentWindow);
        return true;
    });
}

void LumarroVSTWrapper::closeEditor()
{
    if (editorWindow == nullptr)
        return;

    messagePump->onMessageThread ([&]
    {
        editorEmbedding.reset();
        processor->editorBeingDeleted (editorWindow.get());
        editorWindow = nullptr;
    });

    messagePump->editorClosed();
}

void LumarroVSTWrapper::openEffect()
{
    setFlag (VstEffectRecord::hasEditorFlag, processor->hasEditor());
}

void LumarroVSTWrapper::resumeProcessing()
{
    processor->setNonRealtime (hostProcessLevel() == vstOfflineProcessLevel);
    prepareAfresh();
    processing = true;
    incomingMidi.clear();

    AudioEffectX::resumeProcessing();
}

void LumarroVSTWrapper::prepareAfresh()
{
    const auto rate = (double) effectSampleRate();
    const auto block = effectBlockSize();

    // A host resumes when it starts processing afresh (after a bypass, between renders, between a
    // preview and its apply): the echoes and glides of before do not belong to it. The lock keeps
    // a block on another thread from running meanwhile.
    const juce::ScopedLock lock (processor->getCallbackLock());
    processor->setRateAndBufferSizeDetails (rate, block);
    processor->prepareToPlay (rate, block);
    processor->reset();
}

void LumarroVSTWrapper::suspendProcessing()
{
    processing = false;
    processor->releaseResources();
    incomingMidi.clear();
}

void LumarroVSTWrapper::changeSampleRate (float rate)
{
    const bool changed = rate != effectSampleRate();
    AudioEffectX::changeSampleRate (rate);

    if (changed)
        restartIfProcessing();
}

void LumarroVSTWrapper::changeBlockSize (int32_t size)
{
    const bool changed = size != effectBlockSize();
    AudioEffectX::changeBlockSize (size);

    if (changed)
        restartIfProcessing();
}

void LumarroVSTWrapper::restartIfProcessing()
{
    // A rate should change only while processing is off, but hosts (Audacity) set the track's rate
    // while on and then process: the processor takes it at once, prepared and cleared as by a
    // resume. The events already sent are for the next block, and stay.
    if (processing)
        prepareAfresh();
}

void LumarroVSTWrapper::processFloatBlock (float** inputs, float** outputs, int32_t frames)
{
    if (inputs == nullptr || outputs == nullptr || frames <= 0)
        return;

    if (! BlockSlicer::copyInputs (inputs, numChannels, outputs, numChannels, frames))
        return;

    slicer.process (*processor, outputs, numChannels, frames, incomingMidi);
    incomingMidi.clear();
}

int32_t LumarroVSTWrapper::handleEvents (VstEventListRecord* events)
{
    if (events == nullptr)
        return 0;

    // An empty buffer has been handed to the processor or dropped: a new block's events begin.
    if (incomingMidi.isEmpty())
        numIncomingMidiEvents = 0;

    for (int32_t i = 0; i < events->numEvents && numIncomingMidiEvents < maxMidiEventsPerBlock; ++i)
    {
        const auto* event = events->events[i];

        if (event != nullptr && event->type == VstMidiEventRecord::midiType)
        {
            incomingMidi.addEvent (event->midiData, 3, std::max (0, event->deltaFrames));
            ++numIncomingMidiEvents;
        }
    }

    return 1;
}

//==============================================================================
void LumarroVSTWrapper::applyParameter (int32_t index, float value)
{
    processor->setParameter (index, value);
}

float LumarroVSTWrapper::readParameter (int32_t index)
{
    return processor->getParameter (index);
}

bool LumarroVSTWrapper::parameterAutomatable (int32_t index)
{
    return juce::isPositiveAndBelow (index, numParameters);
}

void LumarroVSTWrapper::writeParameterLabel (int32_t, char* text)
{
    copyText (text, "", VstTextLimits::parameterLabel);
}

void LumarroVSTWrapper::writeParameterText (int32_t index, char* text)
{
    // Values are stored unclamped, so a text can be far longer than the host's field.
    copyText (text, processor->getParameterText (index).toRawUTF8(), VstTextLimits::parameterText);
}

void LumarroVSTWrapper::writeParameterName (int32_t index, char* text)
{
    copyText (text, processor->getParameterName (index).toRawUTF8(), VstTextLimits::parameterName);
}

//==============================================================================
int32_t LumarroVSTWrapper::currentProgramIndex()
{
    return processor->getCurrentProgram();
}

void LumarroVSTWrapper::selectProgram (int32_t program)
{
    AudioEffectX::selectProgram (program);
    processor->setCurrentProgram (program);
}

void LumarroVSTWrapper::renameProgram (char* name)
{
    if (name == nullptr)
        return;

    // Read no further than a program name can reach, terminated or not.
    const auto length = strnlen (name, (size_t) VstTextLimits::programName);
    processor->changeProgramName (processor->getCurrentProgram(), juce::String::fromUTF8 (name, (int) length));
}

void LumarroVSTWrapper::writeProgramName (char* name)
{
    copyText (name, processor->getProgramName (processor->getCurrentProgram()).toRawUTF8(), VstTextLimits::programName);
}

bool LumarroVSTWrapper::writeProgramNameAt (int32_t, int32_t index, char* text)
{
    if (text == nullptr || ! juce::isPositiveAndBelow (index, processor->getNumPrograms()))
        return false;

    copyText (text, processor->getProgramName (index).toRawUTF8(), VstTextLimits::programName);
    return true;
}

//==============================================================================
int32_t LumarroVSTWrapper::saveChunk (void** data, bool)
{
    if (data == nullptr)
        return 0;

    // Held until the next request, so the host can read it after this call returns.
    chunkMemory.reset();
    processor->getStateInformation (chunkMemory);
    *data = chunkMemory.getData();
    return (int32_t) chunkMemory.getSize();
}

int32_t LumarroVSTWrapper::loadChunk (void* data, int32_t byteSize, bool)
{
    if (data != nullptr && byteSize > 0)
        processor->setStateInformation (data, byteSize);

    return 0;
}

//==============================================================================
bool LumarroVSTWrapper::writeEffectName (char* text)
{
    copyText (text, processor->getName().toRawUTF8(), VstTextLimits::effectName);
    return text != nullptr;
}

bool LumarroVSTWrapper::writeVendorName (char* text)
{
    copyText (text, "Quellory", VstTextLimits::vendorName);
    return text != nullptr;
}

bool LumarroVSTWrapper::writeProductName (char* text)
{
    copyText (text, "QY - Lumarro", VstTextLimits::productName);
    return text != nullptr;
}

int32_t LumarroVSTWrapper::vendorVersion()
{
    return pluginVersion;
}

int32_t LumarroVSTWrapper::plugCategory()
{
    return 1; // an effect
}

int32_t LumarroVSTWrapper::answerCanDo (char* text)
{
    if (textIs (text, "receiveVstEvents") || textIs (text, "receiveVstMidiEvent") || textIs (text, "receiveVstTimeInfo"))
        return 1;

    if (textIs (text, "sendVstEvents") || textIs (text, "sendVstMidiEvent"))
        return -1;

    return 0;
}

bool LumarroVSTWrapper::describeInputPin (int32_t index, VstPinPropertiesRecord* properties)
{
    return describePin (index, true, properties);
}

bool LumarroVSTWrapper::describeOutputPin (int32_t index, VstPinPropertiesRecord* properties)
{
    return describePin (index, false, properties);
}

bool LumarroVSTWrapper::describePin (int32_t index, bool isInput, VstPinPropertiesRecord* properties)
{
    if (properties == nullptr || ! juce::isPositiveAndBelow (index, numChannels))
        return false;

    std::memset (properties, 0, sizeof (*properties));
    const auto name = isInput ? processor->getInputChannelName (index) : processor->getOutputChannelName (index);
    copyText (properties->label, name.toRawUTF8(), (int32_t) sizeof (properties->label) - 1);
    copyText (properties->shortLabel, name.toRawUTF8(), (int32_t) sizeof (properties->shortLabel) - 1);

    properties->flags = VstPinPropertiesRecord::isActive;

    if (isInput ? processor->isInputChannelStereoPair (index) : processor->isOutputChannelStereoPair (index))
        properties->flags |= VstPinPropertiesRecord::isStereo;

    return true;
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE

//==============================================================================
void LumarroVSTWrapper::audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value)
{
    // May run on the audio thread, and inside applyParameter: a mode change re-sends the delay time.
    if (hostCallback != nullptr)
        hostCallback (&record, automateHostOpcode, index, 0, nullptr, value);
}

void LumarroVSTWrapper::audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&)
{
    storeInitialDelay (processor->getLatencySamples());
    hostUpdateDisplay();
}

void LumarroVSTWrapper::audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index)
{
    hostBeginEdit (index);
}

void LumarroVSTWrapper::audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index)
{
    hostEndEdit (index);
}

juce::Optional<juce::AudioPlayHead::PositionInfo> LumarroVSTWrapper::getPosition() const
{
    // The host owns the record; asking for it is not a change of this object.
    const auto* time = const_cast<LumarroVSTWrapper*> (this)->hostTimeInfo (VstTimeInfoRecord::requestedFields);

    if (time == nullptr)
        return {};

    PositionInfo info;
    const auto flags = time->flags;
    const auto has = [flags] (int32_t flag) { return (flags & flag) != 0; };

    // Only a position that fits the 64-bit sample count can be converted.
    if (std::abs (time->samplePosition) < 9.0e18)
    {
        info.setTimeInSamples ((int64_t) time->samplePosition);

        if (time->sampleRate > 0.0)
            info.setTimeInSeconds (time->samplePosition / time->sampleRate);
    }

    if (has (VstTimeInfoRecord::tempoValid))
        info.setBpm (time->tempo);

    if (has (VstTimeInfoRecord::timeSignatureValid))
        info.setTimeSignature (TimeSignature { time->timeSignatureNumerator, time->timeSignatureDenominator });

    if (has (VstTimeInfoRecord::ppqPositionValid))
        info.setPpqPosition (time->ppqPosition);

    if (has (VstTimeInfoRecord::barsValid))
        info.setPpqPositionOfLastBarStart (time->barStartPosition);

    if (has (VstTimeInfoRecord::cyclePositionValid))
        info.setLoopPoints (LoopPoints { time->cycleStartPosition, time->cycleEndPosition });

    info.setIsPlaying (has (VstTimeInfoRecord::transportPlaying));
    info.setIsRecording (has (VstTimeInfoRecord::transportRecording));
    info.setIsLooping (has (VstTimeInfoRecord::transportCycleActive));
    return info;
}

//==============================================================================
namespace
{
    VstEffectRecord* createEffect (VstHostCallback callback) noexcept
    {
        // Without a callback there is no host to talk to.
        if (callback == nullptr)
            return nullptr;

        try
        {
            // A host that answers 0 to its version does not want an effect.
            if (callback (nullptr, AudioEffect::versionHostOpcode, 0, 0, nullptr, 0.0f) == 0)
                return nullptr;

            std::unique_ptr<juce::AudioProcessor> processor (createPluginFilter());

            if (processor == nullptr)
                return nullptr;

            return (new LumarroVSTWrapper (callback, std::move (processor)))->effectRecord();
        }
        catch (...)
        {
            // Allocation failure included: nothing may unwind into the host.
            return nullptr;
        }
    }
}

extern "C" __attribute__ ((visibility ("default"))) VstEffectRecord* VSTPluginMain (VstHostCallback callback)
{
    return createEffect (callback);
}

extern "C" __attribute__ ((visibility ("default"))) VstEffectRecord* main_macho (VstHostCallback callback)
{
    return createEffect (callback);
}
