#include "SorvaneAudioProcessor.h"

#include "StateTextScreen.h"

#include <cmath>
#include <cstring>
#include <limits>

const std::array<juce::String, numNoteValues> noteValueNames {
    "1/128", "1/128d",
    "1/64t", "1/64", "1/64d",
    "1/32t", "1/32", "1/32d",
    "1/16t", "1/16", "1/16d",
    "1/8t",  "1/8",  "1/8d",
    "1/4t",  "1/4",  "1/4d",
    "1/2t",  "1/2",  "1/2d",
    "1/1t",  "1/1",  "1/1d",
    "2/1t",  "2/1"
};

const std::array<float, numNoteValues> noteValueLengths {
    0.0078125f, 0.01171875f,
    0.010416667f, 0.015625f, 0.0234375f,
    0.020833334f, 0.03125f, 0.046875f,
    0.041666668f, 0.0625f, 0.09375f,
    0.083333336f, 0.125f, 0.1875f,
    0.16666667f, 0.25f, 0.375f,
    0.33333334f, 0.5f, 0.75f,
    0.6666667f, 1.0f, 1.5f,
    1.3333334f, 2.0f
};

const float SorvaneAudioProcessor::parameterDefaults[numParameters] { 0.0f, 0.5f, 0.33f, 0.5f, 0.0f, 0.0f, 0.0f, 0.5f, 0.9f };

namespace
{
    const char* const parameterNames[SorvaneAudioProcessor::numParameters] {
        "DelayTime", "DelayFeedback", "Mode", "Balance", "PingPong", "HighCut", "LowCut", "DryWet", "Gain"
    };

    struct ModeRange
    {
        float minSeconds, maxSeconds;
    };

    constexpr ModeRange modeRanges[] { { 0.005f, 0.1f }, { 0.1f, 1.0f }, { 1.0f, 3.0f } };

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
    std::copy (std::begin (parameterDefaults), std::end (parameterDefaults), std::begin (parameterValues));

    for (auto& channel : workBuffer)
        channel = zeroedSamples (maxBlockSize);

    for (auto& channel : scopeBuffer)
        channel = zeroedSamples (scopeSize);

    scopeSampleCount = scopeSize;
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
    return isParameterIndex (parameterIndex) ? juce::String (parameterNames[parameterIndex]) : juce::String();
}

float SorvaneAudioProcessor::getParameter (int parameterIndex)
{
    return isParameterIndex (parameterIndex) ? parameterValues[parameterIndex] : 0.0f;
}

const juce::String SorvaneAudioProcessor::getParameterText (int parameterIndex)
{
    return isParameterIndex (parameterIndex) ? juce::String (parameterValues[parameterIndex]) : juce::String();
}

float SorvaneAudioProcessor::getParameterDefaultValue (int parameterIndex)
{
    return isParameterIndex (parameterIndex) ? parameterDefaults[parameterIndex] : 0.0f;
}

void SorvaneAudioProcessor::setParameter (int parameterIndex, float newValue)
{
    // A NaN or infinity would slip through every clamp and reach the host's mix.
    if (! isParameterIndex (parameterIndex) || ! std::isfinite (newValue))
        return;

    parameterValues[parameterIndex] = newValue;
    applyParameter (parameterIndex, newValue);
    parametersChanged = true;
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
    return (int) juce::jlimit (0.0f, (float) (numNoteValues - 1), std::round (24.0f * value));
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
            if (currentMode == Sync)
                noteIndex = noteIndexForValue (value);
            else if (currentMode >= Short && currentMode <= Long)
                delayLine.setDelayTarget (finiteTarget (((maxDelaySeconds - minDelaySeconds) * value + minDelaySeconds) * currentSampleRate));
            break;

        case delayFeedbackIndex:
            delayLine.setFeedback (finiteTarget (value * 110.0f / 100.0f));
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
            const float cutoff = finiteTarget ((std::pow (11.0f, 1.0f - value) - 1.0f) * 1950.0f + 500.0f);
            delayLine.setLowPassCoefficient (filterCoefficient (cutoff));
            break;
        }

        case lowCutIndex:
        {
            const float cutoff = finiteTarget (480.0f * value + 20.0f);
            delayLine.setHighPassCoefficient (filterCoefficient (cutoff));
            break;
        }

        case dryWetIndex:
            delayLine.setMix (value);
            break;

        case gainIndex:
        {
            const float decibels = 100.0f * value - 90.0f;
            targetGain = decibels > -100.0f ? finiteTarget (std::pow (10.0f, decibels * 0.05f)) : 0.0f;
            break;
        }

        default:
            break;
    }
}

void SorvaneAudioProcessor::setMode (float value)
{
    const float mode = std::round (3.0f * value);

    if (mode >= (float) Short && mode <= (float) Sync)
    {
        currentMode = (int32_t) mode;

        if (currentMode != Sync)
        {
            minDelaySeconds = modeRanges[currentMode].minSeconds;
            maxDelaySeconds = modeRanges[currentMode].maxSeconds;
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

void SorvaneAudioProcessor::processBlock (juce::AudioSampleBuffer& buffer, juce::MidiBuffer& midiMessages)
{
    const int numSamples = std::min (buffer.getNumSamples(), maxBlockSize);

    handleMidiControllers (midiMessages);

    if (currentMode == Sync)
        updateSyncDelay();

    processDelay (buffer, numSamples);
    applyOutputGainAndLimit (buffer, numSamples);
    midiMessages.clear();
    captureScope (buffer, numSamples);
}

void SorvaneAudioProcessor::handleMidiControllers (juce::MidiBuffer& midiMessages)
{
    for (const auto metadata : midiMessages)
    {
        const auto message = metadata.getMessage();

        if (! message.isController())
            continue;

        if (idxMidiChannel != 0 && message.getChannel() != idxMidiChannel)
            continue;

        const int controller = message.getControllerNumber();
        const float value = (float) message.getControllerValue() / 127.0f;

        for (int i = 0; i < numParameters; ++i)
            if (midiMap[i] == controller)
                notifyHostOfParameter (i, i == gainIndex ? std::sqrt (value) : value);

        // The learn target comes from the editor's thread; never bind outside the table.
        const int target = midiLearnIndex;

        if (midiLearnActive && isParameterIndex (target))
        {
            midiMap[target] = controller;
            notifyHostOfParameter (target, value);
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

    // A settled balance skips the glide, which would change nothing, and the loop vectorises.
    if (balance == targetBalance)
    {
        const auto settled = balanceGains (balance);
        balanceWith ([settled] { return settled; });
        return;
    }

    const float target = targetBalance;
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
    const float difference = gain - targetGain;

    // Decided once per block: a settled gain is a plain multiply. The limit runs in the same pass.
    if (std::fabs ((double) difference) > 1e-6)
    {
        // Locals, so that the sample stores cannot be taken to alias the gain fields.
        auto* const* channels = buffer.getArrayOfWritePointers();
        const float target = targetGain;
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
        gain = targetGain;

        for (int channel = 0; channel < numChannels; ++channel)
            scaleAndLimit (buffer.getWritePointer (channel), gain, numSamples);
    }
}

void SorvaneAudioProcessor::captureScope (const juce::AudioSampleBuffer& buffer, int numSamples) noexcept
{
    if (numSamples != scopeSampleCount)
        scopeSampleCount = std::min (numSamples, scopeSize);

    if (buffer.getNumChannels() < 1)
        return;

    const auto count = (size_t) scopeSampleCount;
    std::copy_n (buffer.getReadPointer (0), count, scopeBuffer[0].get());

    if (getTotalNumOutputChannels() == 2 && buffer.getNumChannels() >= 2)
        std::copy_n (buffer.getReadPointer (1), count, scopeBuffer[1].get());
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
namespace
{
    /** The state elements in the order they are written, with the parameter each one holds. */
    struct StateItem
    {
        const char* parameterElement;
        const char* midiMapElement;
        int parameterIndex;
    };

    constexpr StateItem stateItems[] {
        { "LowPass",       "midiMapLowPass",       SorvaneAudioProcessor::highCutIndex },
        { "HighPass",      "midiMapHighPass",      SorvaneAudioProcessor::lowCutIndex },
        { "DelayTime",     "midiMapDelayTime",     SorvaneAudioProcessor::delayTimeIndex },
        { "DelayFeedback", "midiMapDelayFeedback", SorvaneAudioProcessor::delayFeedbackIndex },
        { "Balance",       "midiMapBalance",       SorvaneAudioProcessor::balanceIndex },
        { "PingPong",      "midiMapPingPong",      SorvaneAudioProcessor::pingPongIndex },
        { "DryWet",        "midiMapDryWet",        SorvaneAudioProcessor::dryWetIndex },
        { "Gain",          "midiMapGain",          SorvaneAudioProcessor::gainIndex },
        { "Mode",          "midiMapMode",          SorvaneAudioProcessor::modeIndex },
    };

    void addTextChild (juce::XmlElement& root, const char* name, const juce::String& text)
    {
        root.createNewChildElement (name)->addTextElement (text);
    }

    constexpr juce::uint32 stateMagic = 0x21324356;

    /** Truncates towards zero; values beyond the int range (or NaN) cannot be converted safely. */
    int32_t truncateToInt (float value) noexcept
    {
        if (std::isnan (value))
            return 0;

        return (int32_t) juce::jlimit (-2.0e9f, 2.0e9f, value);
    }

    /** Unwraps a saved block as JUCE's getXmlFromBinary does, but lets only a text that passes
        the screen reach the XML parser.
    */
    std::unique_ptr<juce::XmlElement> readStateDocument (const void* data, int sizeInBytes)
    {
        if (data == nullptr || sizeInBytes < 9 || juce::ByteOrder::littleEndianInt (data) != stateMagic)
            return {};

        const auto storedLength = (int) juce::ByteOrder::littleEndianInt (juce::addBytesToPointer (data, 4));

        if (storedLength <= 0)
            return {};

        // The parser reads the text up to its first zero byte, so that is what the screen sees.
        const auto* text = static_cast<const char*> (data) + 8;
        const auto textLength = strnlen (text, (size_t) std::min (sizeInBytes - 8, storedLength));

        if (! lumarro::isSafeStateText (text, textLength))
            return {};

        return juce::parseXML (juce::String::fromUTF8 (text, (int) textLength));
    }
}

void SorvaneAudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    juce::XmlElement root ("Root");

    for (const auto& item : stateItems)
        addTextChild (root, item.parameterElement, juce::String (parameterValues[item.parameterIndex]));

    addTextChild (root, "idxMidiChannel", juce::String (idxMidiChannel));

    for (const auto& item : stateItems)
        addTextChild (root, item.midiMapElement, juce::String (midiMap[item.parameterIndex]));

    addTextChild (root, "idxGUI", juce::String (idxGUI));

    // JUCE's copyXmlToBinary now puts a declaration in front; the saved block holds the
    // document alone, on one line: magic, length, text, zero.
    const auto text = root.toString (juce::XmlElement::TextFormat().singleLine().withoutHeader());
    const auto textBytes = text.getNumBytesAsUTF8();

    destData.reset();
    juce::MemoryOutputStream out (destData, false);
    out.writeInt ((int) stateMagic);
    out.writeInt ((int) textBytes);
    out.write (text.toRawUTF8(), textBytes);
    out.writeByte (0);
}

void SorvaneAudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    const auto xml = readStateDocument (data, sizeInBytes);

    if (xml == nullptr)
        return;

    for (const auto* child : xml->getChildIterator())
    {
        const auto text = child->getAllSubText();

        for (const auto& item : stateItems)
        {
            if (child->hasTagName (item.parameterElement))
                setParameter (item.parameterIndex, text.getFloatValue());
            else if (child->hasTagName (item.midiMapElement))
                midiMap[item.parameterIndex] = text.getIntValue();
        }

        if (child->hasTagName ("idxMidiChannel"))
            idxMidiChannel = text.getIntValue();
        else if (child->hasTagName ("idxGUI"))
            idxGUI = truncateToInt (text.getFloatValue());
    }

    parametersChanged = true;
}

//==============================================================================
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new SorvaneAudioProcessor();
}
