#include "LumarroAAXProcessor.h"

#include "AaxCallGuard.h"
#include "MasterBypass.h"

#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"
#include "AAX_VController.h"
#include "AAX_VTransport.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <limits>
#include <mutex>
#include <vector>

namespace
{
    /** The processor's parameters by index, made once: the audio thread finds a parameter by its id
        for every change it passes on, and must not build the text for it. */
    constexpr const char* processorParameterIds[] { "0", "1", "2", "3", "4", "5", "6", "7", "8" };
    constexpr int numProcessorParameterIds = (int) std::size (processorParameterIds);

    constexpr int32_t monoLayout = 0x00000001;
    constexpr double ticksPerQuarterNote = 960000.0;

    constexpr int32_t invertedOrientation = 0x13;
    constexpr int maxNameLength = 31;
    constexpr int shortNameLength = 4;

    /** Every instance alive in the module, so that an interface pointer can be recognised as one of ours
        without looking inside the object it points to. */
    struct LiveInstances
    {
        std::mutex lock;
        std::vector<LumarroAAXProcessor*> instances;
    };

    LiveInstances& liveInstances()
    {
        static LiveInstances live;
        return live;
    }
}

// The processor speaks JUCE's legacy parameter interface, which is what the AAX parameters mirror.
JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

LumarroAAXProcessor::LumarroAAXProcessor (std::unique_ptr<juce::AudioProcessor> processorToUse)
    : processor (std::move (processorToUse))
{
    // The 'juce' chunk comes after the library's own chunks.
    AAX_CEffectParameters::stateChunkCount (&juceChunkIndex);

    processor->setPlayHead (this);
    processor->addListener (this);

    auto& live = liveInstances();
    const std::scoped_lock lock (live.lock);
    live.instances.push_back (this);
}

LumarroAAXProcessor::~LumarroAAXProcessor()
{
    {
        auto& live = liveInstances();
        const std::scoped_lock lock (live.lock);
        live.instances.erase (std::find (live.instances.begin(), live.instances.end(), this));
    }

    processor->removeListener (this);
    processor->setPlayHead (nullptr);
}

LumarroAAXProcessor* LumarroAAXProcessor::instanceWithInterface (const AAX_IACFEffectParameters* face)
{
    auto& live = liveInstances();
    const std::scoped_lock lock (live.lock);

    for (auto* instance : live.instances)
        if (static_cast<const AAX_IACFEffectParameters*> (instance) == face)
            return instance;

    return nullptr;
}

//==============================================================================
ResultCode LumarroAAXProcessor::initializeEffect()
{
    return answerWithoutThrowing ([this]
    {
        addParameters();
        readHostSetup();
        return resultSuccess;
    });
}

void LumarroAAXProcessor::readHostSetup()
{
    float hostRate = 0.0f;

    // A host that cannot tell its rate keeps the last one known.
    if (hostController()->hostSampleRate (&hostRate) == resultSuccess && hostRate > 0.0f && std::isfinite (hostRate))
        sampleRate = hostRate;

    prepare (preparedBlockLength > 0 ? preparedBlockLength : initialBlockLength);
}

void LumarroAAXProcessor::addParameters()
{
    addMasterBypass (parameterManager, packetDispatcher);

    const auto numParameters = std::min (processor->getNumParameters(), numProcessorParameterIds);

    for (int index = 0; index < numParameters; ++index)
    {
        auto parameter = std::make_unique<AAX_CParameter<float>> (
            processorParameterIds[index],
            AAX_CString (processor->getParameterName (index, maxNameLength).toRawUTF8()),
            processor->getParameterDefaultValue (index),
            AAX_CLinearTaperDelegate<float, 0> (0.0f, 1.0f),
            AAX_CNumberDisplayDelegate<float, 3u, 0u>(),
            processor->isParameterAutomatable (index));

        parameter->addShortName (AAX_CString (processor->getParameterName (index, shortNameLength).toRawUTF8()));

        const auto steps = processor->getParameterNumSteps (index);
        parameter->setStepCount ((uint32_t) steps);
        parameter->setParameterType (steps > 1000 ? AAX_IParameter::Continuous : AAX_IParameter::Discrete);
        parameter->setOrientationFlags (processor->isParameterOrientationInverted (index) ? invertedOrientation : 0);
        parameterManager.addParameter (std::move (parameter));
    }
}

int LumarroAAXProcessor::channelsOfLayout (bool isInput) const
{
    int32_t layout = 0;
    auto* controller = hostController();

    if (controller == nullptr)
        return 2;

    const auto result = isInput ? controller->hostInputLayout (&layout) : controller->hostOutputLayout (&layout);

    // The description offers mono and stereo only; anything else is taken as stereo.
    return result == resultSuccess && layout == monoLayout ? 1 : 2;
}

void LumarroAAXProcessor::prepare (int blockLength)
{
    numOutputs = channelsOfLayout (false);
    // More inputs than outputs is no configuration of ours; the processor never reads past its outputs.
    numInputs = std::min (channelsOfLayout (true), numOutputs);

    processor->setPlayConfigDetails (numInputs, numOutputs, sampleRate, blockLength);
    processor->prepareToPlay (sampleRate, blockLength);
    preparedBlockLength = blockLength;
    reportLatency();
}

void LumarroAAXProcessor::reportLatency()
{
    if (auto* controller = hostController())
        controller->reportLatency (processor->getLatencySamples());
}

//==============================================================================
void LumarroAAXProcessor::process (const AaxInstanceRecord& record) noexcept
{
    if (record.outputs == nullptr || record.blockLength == nullptr)
        return;

    const int numSamples = *record.blockLength;

    if (numSamples <= 0)
        return;

    try
    {
        if (numSamples != preparedBlockLength)
        {
            const juce::ScopedLock lock (processor->getCallbackLock());
            prepare (numSamples);
        }
    }
    catch (...)
    {
        // Nothing may unwind into the host; the block is processed with the old preparation.
    }

    if (! BlockSlicer::copyInputs (record.inputs, numInputs, record.outputs, numOutputs, numSamples))
        return;

    // Bypassed, the input passes through and the delay stands still until the bypass is lifted.
    if (record.bypass != nullptr && *record.bypass != 0)
        return;

    const auto* node = record.midiInput;
    const auto* messages = node != nullptr ? node->messages : nullptr;
    const auto* endOfMessages = messages != nullptr ? messages + node->count : messages;

    slicer.process (*processor, record.outputs, numOutputs, numSamples, messages, endOfMessages,
                    [] (const AaxMidiMessage& message)
                    {
                        // An offset past what an int holds is past any block, and lands on its last sample all the same.
                        const auto position = std::min (message.sampleOffset, (uint32_t) std::numeric_limits<int>::max());
                        return juce::MidiMessageMetadata (message.bytes, 3, (int) position);
                    });
}

//==============================================================================
int LumarroAAXProcessor::parameterIndexForId (const char* id) noexcept
{
    // Exactly one decimal digit: the ids "0" to "8" and nothing that merely starts like one.
    if (id == nullptr || id[0] < '0' || id[0] > '8' || id[1] != 0)
        return -1;

    return id[0] - '0';
}

AAX_IParameter* LumarroAAXProcessor::parameterForIndex (int index)
{
    if (! juce::isPositiveAndBelow (index, numProcessorParameterIds))
        return nullptr;

    return parameterManager.findParameter (processorParameterIds[index]);
}

ResultCode LumarroAAXProcessor::normalizedParameterValue (const char* id, double* out)
{
    const auto index = parameterIndexForId (id);

    if (index < 0 || parameterManager.findParameter (id) == nullptr)
        return AAX_CEffectParameters::normalizedParameterValue (id, out);

    if (out == nullptr)
        return resultNullPointer;

    *out = processor->getParameter (index);
    return resultSuccess;
}

ResultCode LumarroAAXProcessor::setNormalizedParameterValue (const char* id, double normalizedValue)
{
    const auto result = AAX_CEffectParameters::setNormalizedParameterValue (id, normalizedValue);
    const auto index = parameterIndexForId (id);

    // The processor follows the host at once; the host's apply later brings the same value.
    if (result == resultSuccess && index >= 0)
        processor->setParameter (index, (float) juce::jlimit (0.0, 1.0, normalizedValue));

    return result;
}

ResultCode LumarroAAXProcessor::applyNormalizedParameterValue (const char* id, double normalizedValue, int32_t source)
{
    const auto result = AAX_CEffectParameters::applyNormalizedParameterValue (id, normalizedValue, source);
    const auto index = parameterIndexForId (id);

    if (index < 0)
        return result;

    // The value the parameter took, clamped by its taper; a value it refused changes nothing.
    if (auto* parameter = parameterManager.findParameter (id))
    {
        float value = 0.0f;

        if (parameter->getFloat (&value))
            processor->setParameter (index, value);
    }

    return result;
}

ResultCode LumarroAAXProcessor::fillFieldData (uint32_t field, void* data, uint32_t size)
{
    if (field != AaxInstanceRecord::privateDataField || data == nullptr || size < sizeof (void*))
        return AAX_CEffectParameters::fillFieldData (field, data, size);

    std::memset (data, 0, size);
    auto* instance = this;
    std::memcpy (data, &instance, sizeof (instance));
    return resultSuccess;
}

//==============================================================================
ResultCode LumarroAAXProcessor::stateChunkCount (int32_t* out)
{
    if (out == nullptr)
        return resultNullPointer;

    AAX_CEffectParameters::stateChunkCount (out);
    *out += 1;
    return resultSuccess;
}

ResultCode LumarroAAXProcessor::stateChunkId (int32_t index, uint32_t* out)
{
    if (index != juceChunkIndex)
        return AAX_CEffectParameters::stateChunkId (index, out);

    if (out == nullptr)
        return resultNullPointer;

    *out = juceChunkId;
    return resultSuccess;
}

ResultCode LumarroAAXProcessor::stateChunkSize (uint32_t chunkId, uint32_t* out)
{
    if (chunkId != juceChunkId)
        return AAX_CEffectParameters::stateChunkSize (chunkId, out);

    if (out == nullptr)
        return resultNullPointer;

    return answerWithoutThrowing ([&]
    {
        // Kept for the save that follows, so the host's record is exactly as large as what goes in.
        hasPendingChunk = false;
        pendingChunk.reset();
        processor->getStateInformation (pendingChunk);
        hasPendingChunk = true;
        *out = (uint32_t) pendingChunk.getSize();
        return resultSuccess;
    });
}

ResultCode LumarroAAXProcessor::saveStateChunk (uint32_t chunkId, StateChunkRecord* chunk)
{
    if (chunkId != juceChunkId)
        return AAX_CEffectParameters::saveStateChunk (chunkId, chunk);

    // Only a size the host was told fits the record it allocated.
    if (chunk == nullptr || ! hasPendingChunk)
        return resultBadChunkSize;

    chunk->size = (int32_t) pendingChunk.getSize();
    chunk->chunkId = juceChunkId;
    pendingChunk.copyTo (chunk->data(), 0, pendingChunk.getSize());

    pendingChunk.reset();
    hasPendingChunk = false;
    return resultSuccess;
}

ResultCode LumarroAAXProcessor::loadStateChunk (uint32_t chunkId, const StateChunkRecord* chunk)
{
    if (chunkId != juceChunkId)
        return AAX_CEffectParameters::loadStateChunk (chunkId, chunk);

    if (chunk == nullptr || chunk->size < 0)
        return resultBadChunkSize;

    return answerWithoutThrowing ([&]
    {
        if (chunk->size > 0)
            processor->setStateInformation (chunk->data(), chunk->size);

        return resultSuccess;
    });
}

ResultCode LumarroAAXProcessor::compareStateChunk (const StateChunkRecord* chunk, bool* out)
{
    if (chunk == nullptr || chunk->chunkId != juceChunkId)
        return AAX_CEffectParameters::compareStateChunk (chunk, out);

    if (out == nullptr || chunk->size < 0)
        return resultBadChunkSize;

    return answerWithoutThrowing ([&]
    {
        // The block holds more than the parameters (MIDI map, channel, background), so only its bytes tell.
        juce::MemoryBlock current;
        processor->getStateInformation (current);
        *out = current.getSize() == (size_t) chunk->size
                 && std::memcmp (current.getData(), chunk->data(), current.getSize()) == 0;
        return resultSuccess;
    });
}

//==============================================================================
void LumarroAAXProcessor::audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value)
{
    // May run on the audio thread (MIDI) or inside a host call (a mode change re-sends the delay time).
    if (auto* parameter = parameterForIndex (index))
        parameter->requestNormalizedValue (value);
}

void LumarroAAXProcessor::audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&)
{
    reportLatency();
}

void LumarroAAXProcessor::audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index)
{
    if (auto* parameter = parameterForIndex (index))
        parameter->beginTouch();
}

void LumarroAAXProcessor::audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index)
{
    if (auto* parameter = parameterForIndex (index))
        parameter->endTouch();
}

juce::Optional<juce::AudioPlayHead::PositionInfo> LumarroAAXProcessor::getPosition() const
{
    auto* transport = hostTransport();

    if (transport == nullptr)
        return {};

    PositionInfo info;

    double bpm = 0.0;

    if (transport->transportTempo (&bpm) == resultSuccess)
        info.setBpm (bpm);

    // Preset so a host that cannot tell its meter leaves common time.
    int32_t numerator = 4;
    int32_t denominator = 4;
    transport->transportMeter (&numerator, &denominator);
    info.setTimeSignature (TimeSignature { numerator, denominator });

    bool playing = false;
    transport->transportIsPlaying (&playing);
    info.setIsPlaying (playing);

    int64_t samples = 0;

    if ((playing || transport->transportStoppedPosition (&samples) != resultSuccess)
        && transport->transportSamplePosition (&samples) != resultSuccess)
        samples = 0;

    info.setTimeInSamples (samples);
    info.setTimeInSeconds ((double) samples / sampleRate);

    int64_t ticks = 0;

    if (transport->transportTickPosition (&ticks) == resultSuccess)
        info.setPpqPosition ((double) ticks / ticksPerQuarterNote);

    bool looping = false;
    int64_t loopStart = 0;
    int64_t loopEnd = 0;

    if (transport->transportLoop (&looping, &loopStart, &loopEnd) == resultSuccess)
    {
        info.setIsLooping (looping);
        info.setLoopPoints (LoopPoints { (double) loopStart / ticksPerQuarterNote, (double) loopEnd / ticksPerQuarterNote });
    }

    return info;
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
