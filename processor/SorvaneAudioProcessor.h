#pragma once

#include "DelayLine.h"
#include "RelaxedAtomic.h"
#include "ScopeBuffer.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <atomic>
#include <memory>

/** Delay-time modes; the "Mode" parameter selects one as round(3 * value). */
enum DelayMode : int32_t
{
    Short = 0,
    Normal = 1,
    Long = 2,
    Sync = 3
};

/** Lumarro's processor: a stereo delay with four time modes, feedback through low and
    high cut, ping-pong, input balance, dry/wet and output gain, driven by nine normalised
    parameters, MIDI controller bindings and MIDI learn.

    Every host wrapper creates one per plug-in instance through createPluginFilter().
    The editor and the options panel read and write the public fields directly.
*/
class SorvaneAudioProcessor : public juce::AudioProcessor
{
public:
    enum ParameterIndex
    {
        delayTimeIndex = 0,
        delayFeedbackIndex,
        modeIndex,
        balanceIndex,
        pingPongIndex,
        highCutIndex,
        lowCutIndex,
        dryWetIndex,
        gainIndex,
        numParameters
    };

    static constexpr int maxBlockSize = 16384;
    static constexpr int scopeSize = ScopeBuffer::size;
    static constexpr int32_t minDelaySamples = 10;
    static constexpr int32_t maxDelaySamples = 480000;

    /** Throws std::bad_alloc when the delay or work buffers cannot be allocated. */
    SorvaneAudioProcessor();
    ~SorvaneAudioProcessor() override;

    const juce::String getName() const override;

    void prepareToPlay (double sampleRate, int samplesPerBlock) override;
    void releaseResources() override;

    /** Forgets everything heard so far: the echoes in the line and its filters, and the glides
        under way, so that the next block starts every smoothed value on its target. For a host
        that starts processing afresh; call it under the callback lock. Allocates nothing.
    */
    void reset() override;
    void processBlock (juce::AudioSampleBuffer& buffer, juce::MidiBuffer& midiMessages) override;
    using juce::AudioProcessor::processBlock;

    const juce::String getInputChannelName (int channelIndex) const override;
    const juce::String getOutputChannelName (int channelIndex) const override;
    bool isInputChannelStereoPair (int index) const override;
    bool isOutputChannelStereoPair (int index) const override;

    bool silenceInProducesSilenceOut() const override;
    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;

    /** Defined beside the editor in the GUI library, so this library builds without it;
        programs that create processors link the GUI library too.
    */
    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;

    int getNumParameters() override;
    const juce::String getParameterName (int parameterIndex) override;
    using juce::AudioProcessor::getParameterName;
    float getParameter (int parameterIndex) override;
    const juce::String getParameterText (int parameterIndex) override;
    using juce::AudioProcessor::getParameterText;
    float getParameterDefaultValue (int parameterIndex) override;
    void setParameter (int parameterIndex, float newValue) override;

    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram (int index) override;
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& newName) override;

    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    /** Sends a parameter change through the host notification road (JUCE's legacy call). */
    void notifyHostOfParameter (int parameterIndex, float newValue);

    /** The row of the note-value tables that a DelayTime value picks in Sync mode,
        kept within the 25 rows whatever the value.
    */
    static int noteIndexForValue (float value) noexcept;

    // Hosts call in from several threads at once: audio, automation, state, and the editor's
    // message thread. Each field below that one thread writes while another reads is a relaxed
    // atomic (see RelaxedAtomic.h); the others belong to the audio thread.
    lumarro::RelaxedAtomic<int32_t> currentMode = Normal;
    DelayLine delayLine;
    lumarro::RelaxedAtomic<float> minDelaySeconds = 0.1f;
    lumarro::RelaxedAtomic<float> maxDelaySeconds = 1.0f;
    lumarro::RelaxedAtomic<float> currentSampleRate = 44100.0f;
    lumarro::RelaxedAtomic<float> targetBalance = 0.5f;
    float balance = 0.5f;
    std::array<std::unique_ptr<float[]>, 2> workBuffer;
    lumarro::RelaxedAtomic<int32_t> noteIndex = 0;
    juce::AudioPlayHead::CurrentPositionInfo positionInfo;
    lumarro::RelaxedAtomic<bool> midiLearnActive = false;
    lumarro::RelaxedAtomic<int32_t> midiLearnIndex = -1;
    lumarro::RelaxedAtomic<int32_t> midiMap[numParameters];
    lumarro::RelaxedAtomic<int32_t> idxMidiChannel = 0;
    lumarro::RelaxedAtomic<float> parameterValues[numParameters];

    /** Set after a parameter or the state has changed; the editor takes it (exchanging it for
        false) before it reads them, so a change that lands while it refreshes waits for its next
        tick instead of being lost. Release and acquire, so the editor then sees the new values.
    */
    std::atomic<bool> parametersChanged = true;
    lumarro::RelaxedAtomic<float> targetGain = 1.0f;
    float gain = 1.0f;
    ScopeBuffer scopeBuffer;
    lumarro::RelaxedAtomic<int32_t> idxGUI = 0;

private:
    /** Nothing has been heard yet: true for a new instance and after reset(). Only the thread
        holding the callback lock touches it. */
    bool startNextBlockOnTargets = true;

    void applyParameter (int parameterIndex, float value);
    void setMode (float value);
    void startOnTargets() noexcept;
    void handleMidiControllers (juce::MidiBuffer& midiMessages);
    void updateSyncDelay();
    void processDelay (juce::AudioSampleBuffer& buffer, int numSamples);
    void balanceInput (const juce::AudioSampleBuffer& buffer, int numSamples) noexcept;
    void applyOutputGainAndLimit (juce::AudioSampleBuffer& buffer, int numSamples) noexcept;
    void captureScope (const juce::AudioSampleBuffer& buffer, int numSamples) noexcept;
    float filterCoefficient (float cutoffHz) const noexcept;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SorvaneAudioProcessor)
};

/** The plug-in's factory: a new processor, owned by the caller. */
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter();
