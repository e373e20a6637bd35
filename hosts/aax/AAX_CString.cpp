#include "AAX_CString.h"

#include <cstring>
#include <locale>
#include <sstream>

AAX_CString::AAX_CString (const char* initialText)
{
    setText (initialText);
}

AAX_CString::AAX_CString (const AAX_IString& other)
{
    setText (other.text());
}

std::uint32_t AAX_CString::length() const
{
    return static_cast<std::uint32_t> (content.size());
}

std::uint32_t AAX_CString::maxLength() const
{
    return 0xFFFFFFFEu;
}

const char* AAX_CString::text() const
{
    return content.c_str();
}

void AAX_CString::setText (const char* newText)
{
    if (newText == nullptr)
        content.clear();
    else
        content.assign (newText);
}

AAX_IString& AAX_CString::operator= (const AAX_IString& other)
{
    if (&other != this)
        setText (other.text());

    return *this;
}

AAX_IString& AAX_CString::operator= (const char* newText)
{
    setText (newText);
    return *this;
}

AAX_CString& AAX_CString::operator= (const AAX_CString& other)
{
    content = other.content;
    return *this;
}

void AAX_CString::clear()
{
    content.clear();
}

AAX_CString& AAX_CString::erase (std::uint32_t position, std::uint32_t count)
{
    // std::string::erase already cuts the count to what remains; only the position needs guarding.
    if (position < content.size())
        content.erase (position, count);

    return *this;
}

const char* AAX_CString::cText() const
{
    return content.c_str();
}

AAX_CString& AAX_CString::appendNumber (double value, std::int32_t precision)
{
    std::ostringstream stream;
    stream.imbue (std::locale::classic());
    stream.unsetf (std::ios_base::floatfield);
    stream.setf (std::ios_base::fixed);
    stream.precision (precision);
    stream << value;
    content += stream.str();
    return *this;
}

bool AAX_CString::toDouble (double& result) const
{
    std::istringstream stream (content.c_str());
    stream.imbue (std::locale::classic());

    double value = 0.0;

    if (! (stream >> value))
    {
        result = 0.0;
        return false;
    }

    result = value;
    return true;
}

void AAX_CString::substring (std::uint32_t position, std::uint32_t count, AAX_IString& out) const
{
    if (position >= content.size())
    {
        out.setText ("");
        return;
    }

    out.setText (content.substr (position, count).c_str());
}

bool AAX_CString::operator== (const AAX_CString& other) const
{
    return std::strcmp (content.c_str(), other.content.c_str()) == 0;
}

bool AAX_CString::operator!= (const AAX_CString& other) const
{
    return ! operator== (other);
}

char& AAX_CString::operator[] (std::uint32_t index)
{
    return content[index];
}

const char& AAX_CString::operator[] (std::uint32_t index) const
{
    return content[index];
}
