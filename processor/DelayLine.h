#pragma once

#include "OnePoleFilters.h"

#include <cstdint>
#include <memory>

/** The echo engine: two rings with a linearly interpolated, slowly gliding read position,
    feedback through a high-pass and a low-pass per channel, ping-pong cross-feed and dry/wet.

    A plain value owned by the processor. It allocates only in init() and never locks.
*/
struct DelayLine
{
    int32_t minDelay = 0;
    int32_t maxDelay = 0;
    float targetDelay = 0.0f;
    float delay = 0.0f;
    float targetFeedback = 0.0f;
    float feedback = 0.0f;
    float feedbackSampleL = 0.0f;
    float feedbackSampleR = 0.0f;
    int32_t writePos = 0;
    int32_t readPos = 0;
    int32_t length = 0;
    std::unique_ptr<float[]> bufferL;
    std::unique_ptr<float[]> bufferR;
    float targetPingPong = 0.0f;
    float pingPong = 0.0f;
    float targetMix = 0.5f;
    float mix = 0.5f;
    OnePoleLowPass lowPassL, lowPassR;
    OnePoleHighPass highPassL, highPassR;

    DelayLine() = default;
    DelayLine (const DelayLine&) = delete;
    DelayLine& operator= (const DelayLine&) = delete;

    /** Sets every field to its starting value and allocates two zeroed rings of maxD + 1 samples.
        Throws std::bad_alloc when the rings cannot be had.
    */
    void init (int32_t minD, int32_t maxD);

    void setDelayTarget (float samples) noexcept;
    void setFeedback (float gain) noexcept;
    void setPingPong (float amount) noexcept;

    /** One channel; in may equal out. */
    void processMono (const float* in, float* out, int32_t n) noexcept;

    /** Two channels from two input arrays into two distinct output arrays. */
    void processStereo (const float* const* in, float* const* out, int32_t n) noexcept;

    /** True when every smoothed value sits on its target. */
    bool isSettled() const noexcept
    {
        return delay == targetDelay && feedback == targetFeedback && mix == targetMix && pingPong == targetPingPong
            && lowPassL.coefficient == lowPassL.targetCoefficient && lowPassR.coefficient == lowPassR.targetCoefficient
            && highPassL.coefficient == highPassL.targetCoefficient && highPassR.coefficient == highPassR.targetCoefficient;
    }

private:
    struct RunBuffers;
    struct ControlTracks;

    /** The whole delay, in samples, that no read of this block can fall short of; 0 when a read
        may land on the sample written in its own step, which only the plain path orders right.
    */
    int32_t shortestWholeDelay() const noexcept;

    // The block in runs: no read of a run depends on a write of the same run, so each run reads
    // all its echoes first, then filters them, then writes the ring and the outputs.
    void monoRun (const float* in, float* out, int32_t m) noexcept;
    void stereoRun (const float* inL, const float* inR, float* outL, float* outR, int32_t m) noexcept;
    bool delayHolds() const noexcept;
    void readSettledDelay (RunBuffers&, int32_t m, bool stereo) noexcept;
    template <typename Control>
    void readAndFilterGliding (RunBuffers&, int32_t m, FeedbackFilters& left, Control highPass, Control lowPass) noexcept;
    template <typename Control>
    void readAndFilterGliding (RunBuffers&, int32_t m, FeedbackFilters& left, FeedbackFilters& right,
                               Control highPassL, Control highPassR, Control lowPassL, Control lowPassR) noexcept;
    bool controlsMove (bool stereo) const noexcept;
    bool filtersMove (bool stereo) const noexcept;
    void glideControls (ControlTracks&, int32_t m, bool stereo) noexcept;
    int32_t firstWritePosition() const noexcept;
    void advanceWritePosition (int32_t m) noexcept;

    // One sample after another, in the order the steps are defined: for reads that may meet
    // their own step's write.
    static void runMono (DelayLine&, const float* in, float* out, float* __restrict ring, int32_t n) noexcept;
    static void runStereo (DelayLine&, const float* __restrict inL, const float* __restrict inR,
                           float* __restrict outL, float* __restrict outR,
                           float* __restrict ringL, float* __restrict ringR, int32_t n) noexcept;

    // The per-sample steps are defined here so that the loops inline them.
    void advanceWritePosition() noexcept
    {
        if (++writePos >= length)
            writePos -= length;
    }

    /** Glides and clamps the delay, places readPos and returns the fraction to interpolate by. */
    float advanceReadPosition() noexcept
    {
        delay = glideAndClampDelay (delay, targetDelay, (float) minDelay, (float) maxDelay);

        const auto whole = wholeSamples (delay);
        readPos = wrapBehind (writePos - whole, length);
        return delay - (float) whole;
    }

    static float glidedDelay (float value, float target) noexcept
    {
        lumarro::glideDelay (value, target);
        return value;
    }

    static float glideAndClampDelay (float value, float target, float lowest, float highest) noexcept
    {
        value = glidedDelay (value, target);

        if (value < lowest) value = lowest;
        if (value > highest) value = highest;
        return value;
    }

    /** floorf without a library call: truncate, then step down for negative fractions. */
    static int32_t wholeSamples (float samples) noexcept
    {
        auto whole = (int32_t) samples;
        if ((float) whole > samples)
            --whole;
        return whole;
    }

    /** A ring index that fell behind the ring's start, brought back into it. */
    static int32_t wrapBehind (int32_t index, int32_t ringLength) noexcept
    {
        while (index < 0)
            index += ringLength;
        return index;
    }

    /** ring[readAt] is `whole` samples old, the one before it a sample older. */
    static float interpolate (const float* ring, int32_t readAt, int32_t ringLength, float frac) noexcept
    {
        const float older = readAt == 0 ? ring[ringLength - 1] : ring[readAt - 1];
        return (1.0f - frac) * ring[readAt] + frac * older;
    }

    float readInterpolated (const float* ring, float frac) const noexcept
    {
        return interpolate (ring, readPos, length, frac);
    }

    /** A crossfade that keeps the louder side at unity. */
    static void gainsForMix (float m, float& dry, float& wet) noexcept
    {
        if (m <= 0.5f)
        {
            dry = 1.0f;
            wet = 2.0f * m;
        }
        else
        {
            dry = 2.0f * (1.0f - m);
            wet = 1.0f;
        }
    }

    void mixGains (float& dry, float& wet) noexcept
    {
        lumarro::glideControl (mix, targetMix);

        gainsForMix (mix, dry, wet);
    }
};
