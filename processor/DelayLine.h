#pragma once

#include "OnePoleFilters.h"
#include "RelaxedAtomic.h"

#include <algorithm>
#include <cstdint>
#include <memory>

/** The echo engine: two rings with a linearly interpolated, slowly gliding read position,
    feedback through a high-pass and a low-pass per channel, ping-pong cross-feed and dry/wet.

    A plain value owned by the processor. It allocates only in init() and never locks. How it
    runs a block, and why each of its paths gives exactly what the plain per-sample steps give,
    is laid out at the top of DelayLine.cpp.

    The targets (targetDelay, targetFeedback, targetPingPong, targetMix and each filter's
    targetCoefficient) may be set from any thread while a block runs. The line takes them once,
    when a block starts, into `taken`; the block works with those throughout, and a target set
    meanwhile lands with the next block. Everything else belongs to the thread that processes.
*/
struct DelayLine
{
    int32_t minDelay = 0;
    int32_t maxDelay = 0;
    lumarro::RelaxedAtomic<float> targetDelay = 0.0f;
    float delay = 0.0f;
    lumarro::RelaxedAtomic<float> targetFeedback = 0.0f;
    float feedback = 0.0f;
    float feedbackSampleL = 0.0f;
    float feedbackSampleR = 0.0f;
    int32_t writePos = 0;
    int32_t readPos = 0;
    int32_t length = 0;
    std::unique_ptr<float[]> bufferL;
    std::unique_ptr<float[]> bufferR;
    lumarro::RelaxedAtomic<float> targetPingPong = 0.0f;
    float pingPong = 0.0f;
    lumarro::RelaxedAtomic<float> targetMix = 0.5f;
    float mix = 0.5f;
    OnePoleLowPass lowPassL, lowPassR;
    OnePoleHighPass highPassL, highPassR;

    /** Every target at one moment, as plain values. */
    struct Targets
    {
        struct Filters
        {
            float highPass, lowPass;
        };

        float delay, feedback, mix, pingPong;
        Filters left, right;
    };

    /** The targets that the running block took when it started. */
    Targets taken {};

    DelayLine() = default;
    DelayLine (const DelayLine&) = delete;
    DelayLine& operator= (const DelayLine&) = delete;

    /** Sets every field to its starting value and allocates two zeroed rings of maxD + 1 samples.
        Throws std::bad_alloc when the rings cannot be had.
    */
    void init (int32_t minD, int32_t maxD);

    // The targets, which the smoothed values glide to. The processor sets them only through these,
    // for every parameter change, so they are inline.

    /** Clamped to [minDelay, maxDelay]; never give it a NaN. */
    void setDelayTarget (float samples) noexcept
    {
        targetDelay = std::min ((float) maxDelay, std::max ((float) minDelay, samples));
    }

    void setFeedback (float gain) noexcept { targetFeedback = gain; }

    /** Clamped to [0, 1]. */
    void setPingPong (float amount) noexcept { targetPingPong = std::min (1.0f, std::max (0.0f, amount)); }

    /** The dry/wet amount, clamped to [0, 1]. */
    void setMix (float amount) noexcept { targetMix = std::min (1.0f, std::max (0.0f, amount)); }

    /** Both sides' low-pass (the high cut): exp(-2 pi f / fs) for a cutoff f. */
    void setLowPassCoefficient (float coefficient) noexcept
    {
        lowPassL.targetCoefficient = lowPassR.targetCoefficient = coefficient;
    }

    /** Both sides' high-pass (the low cut): exp(-2 pi f / fs) for a cutoff f. */
    void setHighPassCoefficient (float coefficient) noexcept
    {
        highPassL.targetCoefficient = highPassR.targetCoefficient = coefficient;
    }

    /** One channel; in may equal out. */
    void processMono (const float* in, float* out, int32_t n) noexcept;

    /** Two channels from two input arrays into two distinct output arrays. */
    void processStereo (const float* const* in, float* const* out, int32_t n) noexcept;

    /** Puts every smoothed value on its target at once, the delay within its bounds (so a line
        with no delay target yet stays at minDelay). A glide hides a step in what has been heard;
        this is for a line that has not been heard yet.
    */
    void snapToTargets() noexcept;

    /** Silences the line as init() left it: empty rings, no feedback, filters at rest. The
        smoothed values and targets stay. Allocates nothing.
    */
    void clear() noexcept;

    /** True when every smoothed value sits on its target. */
    bool isSettled() const noexcept;

    /** The targets as they stand now, each read once. */
    Targets currentTargets() const noexcept;

    //==============================================================================
    /** How one smoothed value glides, and the fewest channels a line must process to use it:
        the cross-feed and the right side's filters belong to the stereo line alone.
    */
    template <void (*step) (float&, float) noexcept, int fewestChannels = 1>
    struct Smoothing
    {
        static void glide (float& value, float target) noexcept { step (value, target); }
        static constexpr bool usedWith (int channels) noexcept { return channels >= fewestChannels; }
    };

    /** The delay time glides on its own terms, inside the engine's reads: it has no control track. */
    struct DelayTime : Smoothing<lumarro::glideDelay> {};
    using Control = Smoothing<lumarro::glideControl>;
    using CrossFeed = Smoothing<lumarro::glideControl, 2>;
    using LeftFilter = Smoothing<lumarro::glideCoefficient>;
    using RightFilter = Smoothing<lumarro::glideCoefficient, 2>;

    /** The smoothed values, each with its target and how it glides: the one list from which
        isSettled(), snapToTargets(), the engine's choice of which glides to run, a run's control
        tracks and the tests' helpers are all made. A new smoothed value is one more line here, its
        target's field in Targets and its read in currentTargets() (and, when it is a control, its
        member in the engine's Controls, which the compiler then asks for).

        Calls visit (how, value, target, member...) for each value, its target taken from
        `targets` (the block's `taken`, or currentTargets()). Each of `sets` is a structure with one
        member per control (feedback, mix, pingPong, and left and right, each with highPass and
        lowPass), and visit receives the value's member of each of them; the delay time has no
        such member.
    */
    template <typename Line, typename TargetSet, typename Visit, typename... Sets>
    static void forEachSmoothedValue (Line& line, TargetSet& targets, Visit&& visit, Sets&... sets)
    {
        visit (DelayTime {},   line.delay,                 targets.delay);
        visit (Control {},     line.feedback,              targets.feedback,       sets.feedback...);
        visit (Control {},     line.mix,                   targets.mix,            sets.mix...);
        visit (CrossFeed {},   line.pingPong,              targets.pingPong,       sets.pingPong...);
        visit (LeftFilter {},  line.highPassL.coefficient, targets.left.highPass,  sets.left.highPass...);
        visit (RightFilter {}, line.highPassR.coefficient, targets.right.highPass, sets.right.highPass...);
        visit (LeftFilter {},  line.lowPassL.coefficient,  targets.left.lowPass,   sets.left.lowPass...);
        visit (RightFilter {}, line.lowPassR.coefficient,  targets.right.lowPass,  sets.right.lowPass...);
    }
};
