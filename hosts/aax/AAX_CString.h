#pragma once

#include "AAX_IString.h"

#include <string>

/** The library's string: any bytes, handed out and taken in as NUL-terminated text. */
class AAX_CString final : public AAX_IString
{
public:
    AAX_CString() = default;
    AAX_CString (const char* initialText);
    AAX_CString (const AAX_CString& other) = default;
    AAX_CString (const AAX_IString& other);
    ~AAX_CString() override = default;

    std::uint32_t length() const override;
    std::uint32_t maxLength() const override;
    const char* text() const override;
    void setText (const char* newText) override;
    AAX_IString& operator= (const AAX_IString& other) override;
    AAX_IString& operator= (const char* newText) override;

    AAX_CString& operator= (const AAX_CString& other);

    void clear();

    /** Removes up to count bytes from position on; a range past the end is cut to the bytes that exist. */
    AAX_CString& erase (std::uint32_t position, std::uint32_t count);

    const char* cText() const;

    /** Appends the value in fixed-point notation with exactly precision digits after the point. */
    AAX_CString& appendNumber (double value, std::int32_t precision);

    /** Reads a number from the start of the text; false (and 0) when the text does not start with one. */
    bool toDouble (double& result) const;

    /** Sets out to at most count bytes from position on; a position past the end gives an empty text. */
    void substring (std::uint32_t position, std::uint32_t count, AAX_IString& out) const;

    bool operator== (const AAX_CString& other) const;
    bool operator!= (const AAX_CString& other) const;

    char& operator[] (std::uint32_t index);
    const char& operator[] (std::uint32_t index) const;

private:
    std::string content;
};
