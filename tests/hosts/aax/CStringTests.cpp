#include "AAX_CString.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace
{
    AAX_CString formatted (double value, std::int32_t precision)
    {
        AAX_CString s;
        s.appendNumber (value, precision);
        return s;
    }

    double parsed (const char* text, bool& ok)
    {
        double value = -99.0;
        ok = AAX_CString (text).toDouble (value);
        return value;
    }
}

TEST (CString, EmptyStringsOfEveryOriginReadAsEmptyText)
{
    const AAX_CString fresh, fromEmpty (""), fromNull (static_cast<const char*> (nullptr));

    for (const auto* s : { &fresh, &fromEmpty, &fromNull })
    {
        EXPECT_EQ (s->length(), 0u);
        EXPECT_STREQ (s->text(), "");
        EXPECT_EQ (s->maxLength(), 4294967294u);
    }

    AAX_CString s ("abc");
    s.setText (nullptr);
    EXPECT_STREQ (s.text(), "");
    s = "x";
    s = static_cast<const char*> (nullptr);
    EXPECT_EQ (s.length(), 0u);

    s = "abc";
    s.clear();
    EXPECT_STREQ (s.cText(), "");
}

TEST (CString, CopiesTakeTextThroughTheInterface)
{
    const AAX_CString source ("name");
    const AAX_IString& asInterface = source;

    AAX_CString fromInterface (asInterface);
    EXPECT_STREQ (fromInterface.text(), "name");

    AAX_CString target ("longer text");
    static_cast<AAX_IString&> (target) = asInterface;
    EXPECT_STREQ (target.text(), "name");
    EXPECT_EQ (target.length(), 4u);
}

TEST (CString, AppendsFixedPointNumbersWhateverTheGlobalLocale)
{
    AAX_CString s ("abc");
    s.appendNumber (2.0, 1);
    EXPECT_STREQ (s.text(), "abc2.0");

    EXPECT_STREQ (formatted (0.5, 3).text(), "0.500");
    EXPECT_STREQ (formatted (-1.25, 3).text(), "-1.250");
    EXPECT_STREQ (formatted (1.0, 3).text(), "1.000");
    EXPECT_STREQ (formatted (0.0004, 3).text(), "0.000");
    EXPECT_STREQ (formatted (0.0006, 3).text(), "0.001");
    EXPECT_STREQ (formatted (123456.789, 3).text(), "123456.789");
    EXPECT_STREQ (formatted (1234567.0, 0).text(), "1234567");

    // A decimal comma in the C locale must not leak into text the host stores.
    if (std::setlocale (LC_ALL, "de_DE.UTF-8") != nullptr)
    {
        std::locale::global (std::locale ("de_DE.UTF-8"));
        EXPECT_STREQ (formatted (0.5, 3).text(), "0.500");
        bool ok = false;
        EXPECT_EQ (parsed ("0.25", ok), 0.25);
        std::locale::global (std::locale::classic());
        std::setlocale (LC_ALL, "C");
    }
}

TEST (CString, ParsesALeadingNumberAndIgnoresTheRest)
{
    bool ok = false;

    EXPECT_EQ (parsed ("0.25", ok), 0.25);      EXPECT_TRUE (ok);
    EXPECT_EQ (parsed (" 7", ok), 7.0);         EXPECT_TRUE (ok);
    EXPECT_EQ (parsed ("12abc", ok), 12.0);     EXPECT_TRUE (ok);
    EXPECT_EQ (parsed ("-1.5e2 dB", ok), -150.0); EXPECT_TRUE (ok);
    EXPECT_EQ (parsed ("abc", ok), 0.0);        EXPECT_FALSE (ok);
    EXPECT_EQ (parsed ("", ok), 0.0);           EXPECT_FALSE (ok);
}

TEST (CString, EraseRemovesBytesAndNeverReachesPastTheEnd)
{
    AAX_CString s ("0.12345");
    s.erase (5, 2);
    EXPECT_STREQ (s.text(), "0.123");

    AAX_CString point ("1234.");
    point.erase (4, 1);
    EXPECT_STREQ (point.text(), "1234");

    AAX_CString tail ("abcdef");
    tail.erase (4, 100);
    EXPECT_STREQ (tail.text(), "abcd");

    tail.erase (10, 1);
    tail.erase (4, 0xFFFFFFFFu);
    EXPECT_STREQ (tail.text(), "abcd");
}

TEST (CString, SubstringGivesAPrefixOfAtMostTheAskedLength)
{
    AAX_CString out ("previous");

    AAX_CString ("0123456789").substring (0, 31, out);
    EXPECT_STREQ (out.text(), "0123456789");

    const std::string forty (40, 'x');
    AAX_CString (forty.c_str()).substring (0, 31, out);
    EXPECT_EQ (out.length(), 31u);

    AAX_CString ("abcdef").substring (2, 3, out);
    EXPECT_STREQ (out.text(), "cde");

    // A start past the end gives an empty text instead of an exception escaping into the host.
    AAX_CString ("abc").substring (4, 1, out);
    EXPECT_STREQ (out.text(), "");
}

TEST (CString, ComparisonStopsAtTheFirstNul)
{
    AAX_CString ab ("ab"), withNul ("abxc");
    withNul[2] = '\0';

    EXPECT_EQ (withNul.length(), 4u);
    EXPECT_TRUE (ab == withNul);
    EXPECT_FALSE (ab != withNul);
    EXPECT_TRUE (ab != AAX_CString ("abc"));

    // Copying the concrete string keeps the hidden bytes; going through text() does not.
    AAX_CString copy;
    copy = withNul;
    EXPECT_EQ (copy.length(), 4u);
    AAX_CString viaText (static_cast<const AAX_IString&> (withNul));
    EXPECT_EQ (viaText.length(), 2u);
}
