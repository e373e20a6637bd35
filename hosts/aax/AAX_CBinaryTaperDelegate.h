#pragma once

#include "AAX_ITaperDelegate.h"

/** The taper of an on/off parameter: false is 0.0, true is 1.0. */
template <typename T>
class AAX_CBinaryTaperDelegate : public AAX_ITaperDelegate<T>
{
public:
    AAX_CBinaryTaperDelegate* clone() const override { return new AAX_CBinaryTaperDelegate (*this); }

    T upperBound() const override { return true; }
    T lowerBound() const override { return false; }
    T clamp (T value) const override { return value; }

    /** Anything above zero is on; a NaN is off. */
    T denormalize (double normalizedValue) const override { return normalizedValue > 0.0; }

    double normalize (T value) const override { return value ? 1.0 : 0.0; }
};
