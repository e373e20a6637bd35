#include "SorvaneAudioProcessor.h"

#include "ParameterTable.h"
#include "SavedState.h"

#include <cmath>
#include <limits>

namespace
{
    bool isParameterIndex (int index) noexcept
    {
        // Tested as unsigned, so negative indices are out of range too.
        return (unsigned int) index < (unsigned int) SorvaneAudioProcessor::numParameters;
    }

    std::unique_ptr<float[]> zeroedSamples (int count)
    {
        return std::make_unique<float[]> ((size_t) count);
    }

    /** Every engine target computed from a parameter passes through here. A parameter may be any
        finite float (a host's automation, a corrupt session), and the formulas overflow to
        infinity far outside [0, 1]; a smoothed value that glides towards infinity never comes
        back, and neither does a ring or filter that takes it in. A sixteenth of the largest float
        lies far beyond any sane setting and keeps what the engine builds from a gain finite: a
        ring sample is at most twice the feedback gain, and a feedback filter's sum at most four
        such samples.
    */
    constexpr float finiteTarget (float value) noexcept
    {
        constexpr float limit = std::numeric_limits<float>::max() / 16.0f;
        return std::min (limit, std::max (-limit, value));
    }
}

//==============================================================================
SorvaneAudioProcessor::SorvaneAudioProcessor()
    : juce::AudioProcessor (BusesProperties().withInput ("Input", juce::AudioChannelSet::stereo())
                                             .withOutput ("Output", juce::AudioChannelSet::stereo()))
{
    delayLine.init (minDelaySamples, maxDelaySamples);

    std::fill (std::begin (midiMap), std::end (midiMap), -1);
    std::copy (lumarro::parameterDefaults.begin(), lumarro::parameterDefaults.end(), std::begin (parameterValues));

    for (auto& channel : workBuffer)
        channel = zeroedSamples (maxBlockSize);

    idxGUI = 0;
}

SorvaneAudioProcessor::~SorvaneAudioProcessor() = default;

const juce::String SorvaneAudioProcessor::getName() const
{
    return "Lumarro";
}

//==============================================================================
const juce::String SorvaneAudioProcessor::getInputChannelName (int channelIndex) const
{
    return juce::String (channelIndex + 1);
}

const juce::String SorvaneAudioProcessor::getOutputChannelName (int channelIndex) const
{
    return juce::String (channelIndex + 1);
}

bool SorvaneAudioProcessor::isInputChannelStereoPair (int) const   { return true; }
bool SorvaneAudioProcessor::isOutputChannelStereoPair (int) const  { return true; }
bool SorvaneAudioProcessor::silenceInProducesSilenceOut() const    { return false; }
double SorvaneAudioProcessor::getTailLengthSeconds() const         { return 0.0; }
bool SorvaneAudioProcessor::acceptsMidi() const                    { return true; }
bool SorvaneAudioProcessor::producesMidi() const                   { return false; }

//==============================================================================
int SorvaneAudioProcessor::getNumParameters()
{
    return numParameters;
}

const juce::String SorvaneAudioProcessor::getParameterName (int parameterIndex)
{
    return isParameterIndex (parameterIndex) ? juce::String (lumarro::parameterTable[(size_t) parameterIndex].name) : juce::String();
}

float SorvaneAudioProcessor::getParameter (int parameterIndex)
{
    return isParameterIndex (parameterIndex) ? parameterValues[parameterIndex].load() : 0.0f;
}

const juce::String SorvaneAudioProcessor::getParameterText (int parameterIndex)
{
    return isParameterIndex (parameterIndex) ? juce::String (parameterValues[parameterIndex].load()) : juce::String();
}

float SorvaneAudioProcessor::getParameterDefaultValue (int parameterIndex)
{
    return isParameterIndex (parameterIndex) ? lumarro::parameterDefaults[(size_t) parameterIndex] : 0.0f;
}

void SorvaneAudioProcessor::setParameter (int parameterIndex, float newValue)
{
    // A NaN or infinity would slip through every clamp and reach the host's mix.
    if (! isParameterIndex (parameterIndex) || ! std::isfinite (newValue))
        return;

    parameterValues[parameterIndex] = newValue;
    applyParameter (parameterIndex, newValue);
    parametersChanged.store (true, std::memory_order_release);
}

void SorvaneAudioProcessor::notifyHostOfParameter (int parameterIndex, float newValue)
{
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    setParameterNotifyingHost (parameterIndex, newValue);
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
}

int SorvaneAudioProcessor::noteIndexForValue (float value) noexcept
{
    // Clamp before converting, so a restored value far outside [0, 1] cannot overflow the int.
    const auto& rows = lumarro::noteIndexRange;
    return (int) juce::jlimit (rows.low, rows.high, std::round (rows.fromNormalised (value)));
}

float SorvaneAudioProcessor::filterCoefficient (float cutoffHz) const noexcept
{
    constexpr float minusTwoPi = -6.2831855f;

    float ratio = cutoffHz / currentSampleRate;

    if (ratio < 0.0f)
        ratio = 0.0f;

    return std::exp (ratio > 1.0f ? minusTwoPi : minusTwoPi * ratio);
}

void SorvaneAudioProcessor::applyParameter (int parameterIndex, float value)
{
    switch (parameterIndex)
    {
        case delayTimeIndex:
        {
            const int32_t mode = currentMode;

            if (mode == Sync)
                noteIndex = noteIndexForValue (value);
            else if (mode >= Short && mode <= Long)
                delayLine.setDelayTarget (finiteTarget (lumarro::currentDelayRange (*this).fromNormalised (value) * currentSampleRate));
            break;
        }

        case delayFeedbackIndex:
            delayLine.setFeedback (finiteTarget (lumarro::feedbackGain (value)));
            break;

        case modeIndex:
            setMode (value);
            break;

        case balanceIndex:
            targetBalance = finiteTarget (value);
            break;

        case pingPongIndex:
            delayLine.setPingPong (value);
            break;

        case highCutIndex:
        {
            const float cutoff = finiteTarget (lumarro::highCutHz (value));
            delayLine.setLowPassCoefficient (filterCoefficient (cutoff));
            break;
        }

        case lowCutIndex:
        {
            const float cutoff = finiteTarget (lumarro::lowCutHz.fromNormalised (value));
            delayLine.setHighPassCoefficient (filterCoefficient (cutoff));
            break;
        }

        case dryWetIndex:
            delayLine.setMix (value);
            break;

        case gainIndex:
            targetGain = finiteTarget (lumarro::outputGain (value));
            break;

        default:
            break;
    }
}

void SorvaneAudioProcessor::setMode (float value)
{
    const float mode = std::round (3.0f * value);

    if (mode >= (float) Short && mode <= (float) Sync)
    {
        const auto newMode = (int32_t) mode;
        currentMode = newMode;

        if (newMode != Sync)
        {
            minDelaySeconds = lumarro::modeRanges[newMode].low;
            maxDelaySeconds = lumarro::modeRanges[newMode].high;
        }
    }

    // Re-map the stored delay time into the new range (or note value), and tell the host.
    notifyHostOfParameter (delayTimeIndex, parameterValues[delayTimeIndex]);
}

//==============================================================================
void SorvaneAudioProcessor::prepareToPlay (double sampleRate, int)
{
    currentSampleRate = (float) sampleRate;

    // Only the rate-dependent targets are recomputed: echoes and glides carry over.
    setParameter (delayTimeIndex, parameterValues[delayTimeIndex]);
    setParameter (delayFeedbackIndex, parameterValues[delayFeedbackIndex]);
    setParameter (highCutIndex, parameterValues[highCutIndex]);
    setParameter (lowCutIndex, parameterValues[lowCutIndex]);
}

void SorvaneAudioProcessor::releaseResources()
{
}

void SorvaneAudioProcessor::reset()
{
    delayLine.clear();
    startNextBlockOnTargets = true;
}

void SorvaneAudioProcessor::processBlock (juce::AudioSampleBuffer& buffer, juce::MidiBuffer& midiMessages)
{
    const int numSamples = std::min (buffer.getNumSamples(), maxBlockSize);

    handleMidiControllers (midiMessages);

    if (currentMode == Sync)
        updateSyncDelay();

    // Nothing has been heard before an instance's first block, or since a reset, so there is no
    // step for a glide to hide: a restored session sounds as saved from its first sample instead
    // of gliding into its delay. Every later block glides, after a restore or a preset too.
    if (startNextBlockOnTargets)
    {
        startOnTargets();
        startNextBlockOnTargets = false;
    }

    processDelay (buffer, numSamples);
    applyOutputGainAndLimit (buffer, numSamples);
    midiMessages.clear();
    captureScope (buffer, numSamples);
}

void SorvaneAudioProcessor::startOnTargets() noexcept
{
    delayLine.snapToTargets();
    balance = targetBalance;
    gain = targetGain;
}

void SorvaneAudioProcessor::handleMidiControllers (juce::MidiBuffer& midiMessages)
{
    for (const auto metadata : midiMessages)
    {
        const auto message = metadata.getMessage();

        if (! message.isController())
            continue;

        const int32_t channel = idxMidiChannel;

        if (channel != 0 && message.getChannel() != channel)
            continue;

        const int controller = message.getControllerNumber();
        const float value = (float) message.getControllerValue() / 127.0f;

        for (int i = 0; i < numParameters; ++i)
            if (midiMap[i] == controller)
                notifyHostOfParameter (i, lumarro::parameterTable[(size_t) i].valueFromController (value));

        // The learn target comes from the editor's thread; never bind outside the table.
        const int target = midiLearnIndex;

        if (midiLearnActive && isParameterIndex (target))
        {
            midiMap[target] = controller;
            notifyHostOfParameter (target, value); // the plain value, with no curve, gain included
        }
    }
}

void SorvaneAudioProcessor::updateSyncDelay()
{
    auto* playHead = getPlayHead();

    if (playHead == nullptr)
        return;

    // Only what the host reports replaces the previous block's values.
    if (const auto position = playHead->getPosition())
    {
        if (const auto bpm = position->getBpm())
            positionInfo.bpm = *bpm;

        if (const auto signature = position->getTimeSignature())
        {
            positionInfo.timeSigNumerator = signature->numerator;
            positionInfo.timeSigDenominator = signature->denominator;
        }
    }

    const float beatsTimesSixty = noteValueLengths[(size_t) juce::jlimit (0, numNoteValues - 1, (int) noteIndex)] * 60.0f;
    const auto samples = (float) ((double) beatsTimesSixty / positionInfo.bpm
                                  * (double) positionInfo.timeSigDenominator
                                  * (double) currentSampleRate);

    // A tempo of 0 gives infinity, which the line clamps to its longest delay; a tempo and
    // denominator of 0 give no number at all, and then the previous target stays.
    if (! std::isnan (samples))
        delayLine.setDelayTarget (samples);
}

void SorvaneAudioProcessor::processDelay (juce::AudioSampleBuffer& buffer, int numSamples)
{
    const int numChannels = std::min (getTotalNumOutputChannels(), buffer.getNumChannels());

    if (numChannels <= 0)
        return;

    if (numChannels == 1)
    {
        auto* channel = buffer.getWritePointer (0);
        delayLine.processMono (channel, channel, numSamples);
        return;
    }

    balanceInput (buffer, numSamples);

    const float* const inputs[] { workBuffer[0].get(), workBuffer[1].get() };
    float* const outputs[] { buffer.getWritePointer (0), buffer.getWritePointer (1) };
    delayLine.processStereo (inputs, outputs, numSamples);
}

namespace
{
    /** How much of each input side stays on its own side at balance b. */
    struct BalanceGains
    {
        float keepL, keepR;
    };

    BalanceGains balanceGains (float b) noexcept
    {
        return { b <= 0.5f ? 1.0f : 2.0f * (1.0f - b), b <= 0.5f ? 2.0f * b : 1.0f };
    }

    // The loops take restricted locals: otherwise every store to the work buffer might alias the
    // inputs or the processor's fields, and nothing would vectorise.
    template <typename GainsForSample>
    void balanceMonoInput (const float* __restrict in, float* __restrict workL, float* __restrict workR,
                           int numSamples, GainsForSample&& gainsForSample) noexcept
    {
        for (int i = 0; i < numSamples; ++i)
        {
            const auto g = gainsForSample();
            workL[i] = g.keepL * in[i];
            workR[i] = g.keepR * in[i];
        }
    }

    template <typename GainsForSample>
    void balanceStereoInput (const float* __restrict left, const float* __restrict right,
                             float* __restrict workL, float* __restrict workR,
                             int numSamples, GainsForSample&& gainsForSample) noexcept
    {
        for (int i = 0; i < numSamples; ++i)
        {
            const auto g = gainsForSample();
            const float l = left[i];
            const float r = right[i];
            workL[i] = g.keepL * l + (1.0f - g.keepR) * r;
            workR[i] = (1.0f - g.keepL) * l + g.keepR * r;
        }
    }

    /** The output limit; a NaN leaves as silence. */
    float limited (float x) noexcept
    {
        return lumarro::boundOrSilence (x, 1.0f);
    }

    void scaleAndLimit (float* __restrict samples, float gain, int numSamples) noexcept
    {
        for (int i = 0; i < numSamples; ++i)
            samples[i] = limited (samples[i] * gain);
    }
}

void SorvaneAudioProcessor::balanceInput (const juce::AudioSampleBuffer& buffer, int numSamples) noexcept
{
    const float* left = buffer.getReadPointer (0);
    const float* right = buffer.getReadPointer (1);
    float* workL = workBuffer[0].get();
    float* workR = workBuffer[1].get();

    const auto balanceWith = [&] (auto&& gainsForSample)
    {
        if (getTotalNumInputChannels() == 1)
            balanceMonoInput (left, workL, workR, numSamples, gainsForSample);
        else
            balanceStereoInput (left, right, workL, workR, numSamples, gainsForSample);
    };

    const float target = targetBalance; // read once: another thread may set it meanwhile

    // A settled balance skips the glide, which would change nothing, and the loop vectorises.
    if (balance == target)
    {
        const auto settled = balanceGains (balance);
        balanceWith ([settled] { return settled; });
        return;
    }

    float b = balance;

    balanceWith ([&b, target]
    {
        lumarro::glideControl (b, target);
        return balanceGains (b);
    });

    balance = b;
}

void SorvaneAudioProcessor::applyOutputGainAndLimit (juce::AudioSampleBuffer& buffer, int numSamples) noexcept
{
    const int numChannels = buffer.getNumChannels();
    const float target = targetGain; // read once: another thread may set it meanwhile
    const float difference = gain - target;

    // Decided once per block: a settled gain is a plain multiply. The limit runs in the same pass.
    if (std::fabs ((double) difference) > 1e-6)
    {
        // Locals, so that the sample stores cannot be taken to alias the gain fields.
        auto* const* channels = buffer.getArrayOfWritePointers();
        float current = gain;

        // Inside the block the gain only steps: the threshold and its snap wait for the next block.
        for (int i = 0; i < numSamples; ++i)
        {
            current = lumarro::glideStep (current, target, 0.995, 0.005);

            for (int channel = 0; channel < numChannels; ++channel)
                channels[channel][i] = limited (channels[channel][i] * current);
        }

        gain = current;
    }
    else
    {
        gain = target;

        for (int channel = 0; channel < numChannels; ++channel)
            scaleAndLimit (buffer.getWritePointer (channel), gain, numSamples);
    }
}

void SorvaneAudioProcessor::captureScope (const juce::AudioSampleBuffer& buffer, int numSamples) noexcept
{
    // Nothing to copy while the editor still holds the last frame (or none is open to ask).
    auto* frame = scopeBuffer.frameToFill();

    if (frame == nullptr)
        return;

    frame->sampleCount = std::min (numSamples, scopeSize);
    const auto count = (size_t) frame->sampleCount;

    if (buffer.getNumChannels() >= 1)
        std::copy_n (buffer.getReadPointer (0), count, frame->samples[0].begin());

    if (getTotalNumOutputChannels() == 2 && buffer.getNumChannels() >= 2)
        std::copy_n (buffer.getReadPointer (1), count, frame->samples[1].begin());

    scopeBuffer.publish();
}

//==============================================================================
int SorvaneAudioProcessor::getNumPrograms()                                 { return 1; }
int SorvaneAudioProcessor::getCurrentProgram()                              { return 0; }
void SorvaneAudioProcessor::setCurrentProgram (int)                         {}
void SorvaneAudioProcessor::changeProgramName (int, const juce::String&)    {}

const juce::String SorvaneAudioProcessor::getProgramName (int index)
{
    return index == 0 ? "default" : "other";
}

//==============================================================================
void SorvaneAudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    lumarro::writeSavedState (destData, parameterValues, midiMap, idxMidiChannel, idxGUI);
}

void SorvaneAudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    const lumarro::SavedStateTarget target { [this] (int index, float value) { setParameter (index, value); },
                                             midiMap, idxMidiChannel, idxGUI };

    if (lumarro::readSavedState (data, sizeInBytes, target))
        parametersChanged.store (true, std::memory_order_release);
}

//==============================================================================
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new SorvaneAudioProcessor();
}
