#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace lumarro
{

/** std::nextafter for floats, bit for bit, without the library call: the glide loops inline it,
    and a call would make them keep every value in memory around it.
*/
inline float nextFloatTowards (float from, float to) noexcept
{
    if (from == to)
        return to;

    if (from != from || to != to)
        return from + to; // a NaN, as the library gives

    if (from == 0.0f)
        return to > 0.0f ? std::numeric_limits<float>::denorm_min() : -std::numeric_limits<float>::denorm_min();

    // Sign and magnitude: away from zero the bit pattern grows by one, towards zero it shrinks.
    uint32_t bits;
    std::memcpy (&bits, &from, sizeof bits);
    bits += (from < to) == (from > 0.0f) ? 1u : ~0u;
    std::memcpy (&from, &bits, sizeof bits);
    return from;
}

/** Where a glide's step lands, given the value it computed.

    The step is computed in double precision from the single-precision values and stored as
    float, so the output matches the engine's reference arithmetic bit for bit. Near a long
    target that step rounds back to the value it started from: then creep one float step
    towards the target instead. Jumping the rest of the way would move a long delay's read
    position by hundreds of samples at once, which is a click; creeping stays continuous and
    still arrives on the exact target.
*/
inline float creepIfStalled (float next, float value, float target) noexcept
{
    return next != value ? next : nextFloatTowards (value, target);
}

/** The glide's step v * k + t * (1 - k), for a value still outside its threshold. */
inline float glideStep (float value, float target, double keep, double take) noexcept
{
    return creepIfStalled ((float) ((double) value * keep + (double) target * take), value, target);
}

/** One smoothing step of a control value towards its target.

    The difference is taken in single precision and compared in double precision. Within the
    threshold, or when the difference is a NaN, the value takes the target.
*/
inline void glideTowards (float& value, float target, double keep, double take, double threshold) noexcept
{
    const float difference = value - target;

    if (std::fabs ((double) difference) > threshold)
        value = glideStep (value, target, keep, take);
    else
        value = target;
}

/** The glide of every control value but the delay time: 0.995 / 0.005, snapping within 1e-6. */
inline void glideControl (float& value, float target) noexcept
{
    glideTowards (value, target, 0.995, 0.005, 1e-6);
}

/** The slow glide of the delay time in samples: 0.99998 / 0.00002, snapping within 1e-7. */
inline void glideDelay (float& value, float target) noexcept
{
    glideTowards (value, target, 0.99998, 0.00002, 1e-7);
}

/** The filter coefficients' glide, written as v + (t - v) * 0.005, snapping within 1e-6. */
inline void glideCoefficient (float& value, float target) noexcept
{
    const float difference = value - target;

    if (std::fabs ((double) difference) > 1e-6)
    {
        value = creepIfStalled ((float) ((double) value + (double) (target - value) * 0.005), value, target);
    }
    else
    {
        value = target;
    }
}

/** Bounds x to [-limit, limit], and makes a NaN silence.

    Each comparison puts the bound first, so a NaN passes both bounds unchanged and only the
    last comparison, which finds it unequal to itself, turns it into silence; every step is a
    plain select, so the loops that use it vectorise.
*/
inline float boundOrSilence (float x, float limit) noexcept
{
    const float belowTop = limit < x ? limit : x;
    const float bounded = -limit > belowTop ? -limit : belowTop;
    return bounded == bounded ? bounded : 0.0f;
}

/** Bounds a sample to [-2, 2] inside the delay engine. A NaN (only an absurd restored setting
    can make one) becomes silence, so it can never circulate in the rings.
*/
inline float clamp2 (float x) noexcept
{
    return boundOrSilence (x, 2.0f);
}

/** Flushes filter outputs below 1e-8 (-160 dBFS, where JUCE's own filters snap to zero) to exact
    zeros, so decaying echoes end and never go denormal. The level lies far enough down that the
    echoes of quiet material, and the fading repeats of loud notes, pass untouched.
    A NaN is flushed too, so a filter that saw one recovers instead of staying NaN for ever.
*/
inline float flushTiny (float y) noexcept
{
    // 1e-8f lies just below 1e-8 and no float lies between them, so comparing in single
    // precision keeps exactly the values at or above 1e-8.
    return std::fabs (y) > 1e-8f ? y : 0.0f;
}

} // namespace lumarro
