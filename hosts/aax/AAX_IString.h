#pragma once

#include <cstdint>

/** The text type that crosses between the host, the library and the wrapper. */
class AAX_IString
{
public:
    virtual ~AAX_IString() = default;

    virtual std::uint32_t length() const = 0;
    virtual std::uint32_t maxLength() const = 0;
    virtual const char* text() const = 0;
    virtual void setText (const char* newText) = 0;
    virtual AAX_IString& operator= (const AAX_IString& other) = 0;
    virtual AAX_IString& operator= (const char* newText) = 0;

protected:
    AAX_IString() = default;
    AAX_IString (const AAX_IString&) = default;
};
