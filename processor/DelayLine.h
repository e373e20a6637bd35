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

private:
    void advanceWritePosition() noexcept;
    float advanceReadPosition() noexcept;
    float readInterpolated (const float* ring, float frac) const noexcept;
    void mixGains (float& dry, float& wet) noexcept;
};
