#pragma once

#include "AAX_ITaperDelegate.h"

#include <algorithm>

/** A straight-line taper between a minimum and a maximum. The second template argument is the
    rounding precision of the real value; 0, the only one used, rounds nothing. */
template <typename T, int32_t RealPrecision>
class AAX_CLinearTaperDelegate : public AAX_ITaperDelegate<T>
{
    static_assert (RealPrecision == 0, "only the non-rounding linear taper is provided");

public:
    /** minimumValue must be below maximumValue: equal bounds leave nothing to normalize against. */
    AAX_CLinearTaperDelegate (T minimumValue, T maximumValue)
        : minimum (minimumValue), maximum (maximumValue)
    {
    }

    AAX_CLinearTaperDelegate* clone() const override { return new AAX_CLinearTaperDelegate (*this); }

    T upperBound() const override { return maximum; }
    T lowerBound() const override { return minimum; }

    T clamp (T value) const override
    {
        if (value > maximum)
            return maximum;

        // Written so that a NaN comes back unchanged; callers refuse non-finite values themselves.
        return minimum > value ? minimum : value;
    }

    T denormalize (double normalizedValue) const override
    {
        const auto low = static_cast<double> (minimum);
        const auto high = static_cast<double> (maximum);
        const auto real = (high - low) * normalizedValue + low;

        // Hold the double within the bounds before narrowing it, so an absurd normalized value cannot
        // overflow the conversion to T.
        return clamp (static_cast<T> (std::clamp (real, std::min (low, high), std::max (low, high))));
    }

    double normalize (T value) const override
    {
        const auto low = static_cast<double> (minimum);
        return (static_cast<double> (clamp (value)) - low) / (static_cast<double> (maximum) - low);
    }

private:
    T minimum;
    T maximum;
};
