#pragma once

#include "SorvaneAudioProcessor.h"

#include <cstdint>
#include <vector>

/** A plain, slow statement of the processor's audio arithmetic, for checking the real engine
    against: one sample at a time, every step in its stated order, no shortcuts for settled
    values and nothing shared with the engine's code but the processor's fields it copies.

    It starts from a copy of a processor's state and, before each block, takes the processor's
    targets, so that the two run the same block with the same controls.
*/
class ReferenceEngine
{
public:
    struct LowPass
    {
        float lastOutput, targetCoefficient, coefficient;
    };

    struct HighPass
    {
        float lastInput, lastOutput, targetCoefficient, coefficient;
    };

    /** Every value a block reads but never writes. */
    struct Targets
    {
        float delay, feedback, pingPong, mix;
        float lowPassL, lowPassR, highPassL, highPassR;
        float balance, gain;

        static Targets of (const SorvaneAudioProcessor&) noexcept;
    };

    struct State
    {
        int32_t minDelay, maxDelay;
        float targetDelay, delay, targetFeedback, feedback, feedbackSampleL, feedbackSampleR;
        int32_t writePos, readPos, length;
        std::vector<float> ringL, ringR;
        float targetPingPong, pingPong, targetMix, mix;
        LowPass lowPassL, lowPassR;
        HighPass highPassL, highPassR;
        float targetBalance, balance, targetGain, gain;
    };

    /** Copies the processor's smoothed values, filter memories, rings and bus layout. */
    explicit ReferenceEngine (const SorvaneAudioProcessor&);

    void takeTargets (const Targets&) noexcept;

    /** Processes a block in place, as the processor's processBlock does with no MIDI. */
    void processBlock (juce::AudioSampleBuffer&);

    const State& state() const noexcept { return s; }

private:
    void balanceInput (const juce::AudioSampleBuffer&, int n);
    void processMono (float* channel, int n);
    void processStereo (float* outL, float* outR, int n);
    void applyOutputGain (juce::AudioSampleBuffer&, int n);
    static void limitOutput (juce::AudioSampleBuffer&, int n);

    void advanceWritePosition();
    float advanceReadPosition();
    float readInterpolated (const std::vector<float>& ring, float frac) const;
    void mixGains (float& dry, float& wet);

    State s;
    int numInputs, numOutputs;
    std::vector<float> workL, workR;
};
