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

    /** True when every smoothed value sits on its target, so that a block may skip the glides:
        a glide whose value equals its target leaves it unchanged.
    */
    bool isSettled() const noexcept
    {
        return delay == targetDelay && feedback == targetFeedback && mix == targetMix && pingPong == targetPingPong
            && lowPassL.coefficient == lowPassL.targetCoefficient && lowPassR.coefficient == lowPassR.targetCoefficient
            && highPassL.coefficient == highPassL.targetCoefficient && highPassR.coefficient == highPassR.targetCoefficient;
    }

private:
    template <bool gliding>
    static void runMono (DelayLine&, const float* in, float* out, float* __restrict ring, int32_t n) noexcept;
    template <bool gliding>
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
    template <bool gliding>
    float advanceReadPosition() noexcept
    {
        if constexpr (gliding)
        {
            lumarro::glideDelay (delay, targetDelay);

            if (delay < (float) minDelay) delay = (float) minDelay;
            if (delay > (float) maxDelay) delay = (float) maxDelay;
        }

        // floorf without a library call: truncate, then step down for negative fractions.
        auto whole = (int32_t) delay;
        if ((float) whole > delay)
            --whole;

        readPos = writePos - whole;

        while (readPos < 0)
            readPos += length;

        return delay - (float) whole;
    }

    /** ring[readPos] is `whole` samples old, the one before it a sample older. */
    float readInterpolated (const float* ring, float frac) const noexcept
    {
        const float older = readPos == 0 ? ring[length - 1] : ring[readPos - 1];
        return (1.0f - frac) * ring[readPos] + frac * older;
    }

    /** A crossfade that keeps the louder side at unity. */
    template <bool gliding>
    void mixGains (float& dry, float& wet) noexcept
    {
        if constexpr (gliding)
            lumarro::glideControl (mix, targetMix);

        if (mix <= 0.5f)
        {
            dry = 1.0f;
            wet = 2.0f * mix;
        }
        else
        {
            dry = 2.0f * (1.0f - mix);
            wet = 1.0f;
        }
    }
};
