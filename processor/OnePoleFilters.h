#pragma once

#include "Glide.h"

/** One-pole low-pass of the feedback path; the coefficient is exp(-2 pi f / fs). */
struct OnePoleLowPass
{
    float lastOutput;
    float targetCoefficient;
    float coefficient;

    void init() noexcept
    {
        lastOutput = 0.0f;
        targetCoefficient = 0.1f;
        coefficient = 0.1f;
    }

    /** Filters one sample; a caller that knows the coefficient has settled may skip its glide. */
    template <bool gliding = true>
    float process (float x) noexcept
    {
        if constexpr (gliding)
            lumarro::glideCoefficient (coefficient, targetCoefficient);

        const float y = lumarro::flushTiny (coefficient * lastOutput + (1.0f - coefficient) * x);
        lastOutput = y;
        return y;
    }
};

/** One-pole high-pass of the feedback path; the coefficient is exp(-2 pi f / fs). */
struct OnePoleHighPass
{
    float lastInput;
    float lastOutput;
    float targetCoefficient;
    float coefficient;

    void init() noexcept
    {
        lastInput = 0.0f;
        lastOutput = 0.0f;
        targetCoefficient = 0.9f;
        coefficient = 0.9f;
    }

    /** Filters one sample; a caller that knows the coefficient has settled may skip its glide. */
    template <bool gliding = true>
    float process (float x) noexcept
    {
        if constexpr (gliding)
            lumarro::glideCoefficient (coefficient, targetCoefficient);

        const float y = lumarro::flushTiny ((x - lastInput + lastOutput) * coefficient);
        lastOutput = y;
        lastInput = x;
        return y;
    }
};
