#pragma once

#include "AAX_IDisplayDelegate.h"

#include <cmath>
#include <limits>

/** Shows a value as a plain number with a fixed count of decimals. Digits that do not fit a maximum
    length are cut off, never rounded. The third template argument is the space before a unit; the
    only form provided shows no unit and no space. */
template <typename T, uint32_t Precision, uint32_t SpaceAfter>
class AAX_CNumberDisplayDelegate : public AAX_IDisplayDelegate<T>
{
    static_assert (SpaceAfter == 0, "only the form without a unit is provided");

public:
    AAX_CNumberDisplayDelegate* clone() const override { return new AAX_CNumberDisplayDelegate (*this); }

    bool formatValue (T value, AAX_CString* out) const override
    {
        out->clear();
        out->appendNumber (static_cast<double> (value), static_cast<int32_t> (Precision));
        return true;
    }

    bool formatValue (T value, int32_t maxChars, AAX_CString* out) const override
    {
        formatValue (value, out);

        const auto limit = static_cast<uint32_t> (maxChars < 0 ? 0 : maxChars);

        if (out->length() > limit)
            out->erase (limit, out->length() - limit);

        // A cut that ends on the decimal point leaves a dangling point; drop it.
        if (limit > 0 && out->length() == limit && (*out)[limit - 1] == '.')
            out->erase (limit - 1, 1);

        return true;
    }

    bool parseValue (const AAX_CString& text, T* out) const override
    {
        double parsed = 0.0;

        // A number too large for T, or not finite, would become a value no parameter can hold.
        if (! text.toDouble (parsed) || ! std::isfinite (parsed)
            || std::abs (parsed) > static_cast<double> (std::numeric_limits<T>::max()))
        {
            *out = T (0);
            return false;
        }

        *out = static_cast<T> (parsed);
        return true;
    }
};
