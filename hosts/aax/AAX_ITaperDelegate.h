#pragma once

#include <cstdint>

/** Common root of every taper delegate, so that a parameter can take a replacement taper through a
    type-independent interface and check its value type itself. */
class AAX_ITaperDelegateBase
{
public:
    virtual ~AAX_ITaperDelegateBase() = default;
};

/** Maps a parameter's real value to and from the host's normalized value in [0, 1]. */
template <typename T>
class AAX_ITaperDelegate : public AAX_ITaperDelegateBase
{
public:
    /** A new heap copy, owned by the caller. */
    virtual AAX_ITaperDelegate* clone() const = 0;

    virtual T upperBound() const = 0;
    virtual T lowerBound() const = 0;

    /** The value held within the bounds. */
    virtual T clamp (T value) const = 0;

    /** The real value for a normalized one, always clamped. */
    virtual T denormalize (double normalizedValue) const = 0;

    /** The normalized value for a real one, computed from the clamped value. */
    virtual double normalize (T value) const = 0;
};
