#pragma once

#include <cmath>

namespace lumarro
{

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
    return next != value ? next : std::nextafter (value, target);
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

/** Bounds a sample to [-2, 2] inside the delay engine. A NaN (only an absurd restored setting
    can make one) becomes silence, so it can never circulate in the rings.
*/
inline float clamp2 (float x) noexcept
{
    if (x > 2.0f)    return 2.0f;
    if (x >= -2.0f)  return x;
    return x < -2.0f ? -2.0f : 0.0f;
}

/** Flushes filter outputs below 1e-5 to exact zeros, so decaying echoes end and never go denormal.
    A NaN is flushed too, so a filter that saw one recovers instead of staying NaN for ever.
*/
inline float flushTiny (float y) noexcept
{
    // 1e-5f lies just below 1e-5 and no float lies between them, so comparing in single
    // precision keeps exactly the values at or above 1e-5.
    return std::fabs (y) > 1e-5f ? y : 0.0f;
}

} // namespace lumarro
