#pragma once

#include "Glide.h"
#include "RelaxedAtomic.h"

/** One-pole low-pass of the feedback path; the coefficient is exp(-2 pi f / fs). */
struct OnePoleLowPass
{
    float lastOutput;
    lumarro::RelaxedAtomic<float> targetCoefficient; // set from any thread; the line takes it once per block
    float coefficient;

    void init() noexcept
    {
        clear();
        targetCoefficient = 0.1f;
        coefficient = 0.1f;
    }

    /** Forgets the signal; the coefficient stays. */
    void clear() noexcept { lastOutput = 0.0f; }

    /** Glides the coefficient one step towards target and filters one sample. */
    float process (float x, float target) noexcept
    {
        lumarro::glideCoefficient (coefficient, target);

        lastOutput = filter (coefficient, x, lastOutput);
        return lastOutput;
    }

    /** The recurrence itself, for loops that keep the filter's state in locals. */
    static float filter (float c, float x, float previousOutput) noexcept
    {
        return lumarro::flushTiny (c * previousOutput + (1.0f - c) * x);
    }
};

/** One-pole high-pass of the feedback path; the coefficient is exp(-2 pi f / fs). */
struct OnePoleHighPass
{
    float lastInput;
    float lastOutput;
    lumarro::RelaxedAtomic<float> targetCoefficient; // set from any thread; the line takes it once per block
    float coefficient;

    void init() noexcept
    {
        clear();
        targetCoefficient = 0.9f;
        coefficient = 0.9f;
    }

    /** Forgets the signal; the coefficient stays. */
    void clear() noexcept { lastInput = lastOutput = 0.0f; }

    /** Glides the coefficient one step towards target and filters one sample. */
    float process (float x, float target) noexcept
    {
        lumarro::glideCoefficient (coefficient, target);

        lastOutput = filter (coefficient, x, lastInput, lastOutput);
        lastInput = x;
        return lastOutput;
    }

    /** The recurrence itself, for loops that keep the filter's state in locals. */
    static float filter (float c, float x, float previousInput, float previousOutput) noexcept
    {
        return lumarro::flushTiny ((x - previousInput + previousOutput) * c);
    }
};

/** A channel's high-pass and low-pass in locals, so that the recurrences stay in registers. */
struct FeedbackFilters
{
    float highPassInput, highPassOutput, lowPassOutput;

    float filter (float x, float highPassCoefficient, float lowPassCoefficient) noexcept
    {
        highPassOutput = OnePoleHighPass::filter (highPassCoefficient, x, highPassInput, highPassOutput);
        highPassInput = x;
        lowPassOutput = OnePoleLowPass::filter (lowPassCoefficient, highPassOutput, lowPassOutput);
        return lowPassOutput;
    }
};

inline FeedbackFilters filtersOf (const OnePoleHighPass& highPass, const OnePoleLowPass& lowPass) noexcept
{
    return { highPass.lastInput, highPass.lastOutput, lowPass.lastOutput };
}

inline void storeFilters (const FeedbackFilters& state, OnePoleHighPass& highPass, OnePoleLowPass& lowPass) noexcept
{
    highPass.lastInput = state.highPassInput;
    highPass.lastOutput = state.highPassOutput;
    lowPass.lastOutput = state.lowPassOutput;
}
