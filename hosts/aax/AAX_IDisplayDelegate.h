#pragma once

#include "AAX_CString.h"

#include <cstdint>

/** Common root of every display delegate (see AAX_ITaperDelegateBase). */
class AAX_IDisplayDelegateBase
{
public:
    virtual ~AAX_IDisplayDelegateBase() = default;
};

/** Turns a parameter's real value into text and back. */
template <typename T>
class AAX_IDisplayDelegate : public AAX_IDisplayDelegateBase
{
public:
    /** A new heap copy, owned by the caller. */
    virtual AAX_IDisplayDelegate* clone() const = 0;

    /** Replaces the text in out with the text for the value. */
    virtual bool formatValue (T value, AAX_CString* out) const = 0;

    /** As above, at most maxChars long as far as the delegate can shorten it. */
    virtual bool formatValue (T value, int32_t maxChars, AAX_CString* out) const = 0;

    /** The value the text stands for. */
    virtual bool parseValue (const AAX_CString& text, T* out) const = 0;
};
