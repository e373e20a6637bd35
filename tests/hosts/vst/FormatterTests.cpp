#include "EffectSpy.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace
{
    constexpr char canary = '\x5A';

    /** Runs a formatter into a buffer of maxLen + 1 bytes followed by canary bytes, checks
        the canaries and the closing zero, and returns the text.
    */
    std::string formatted (const std::function<void (char*, int32_t)>& format, int32_t maxLen = 8)
    {
        std::vector<char> buffer ((size_t) maxLen + 1 + 16, canary);
        format (buffer.data(), maxLen);

        for (auto i = (size_t) maxLen + 1; i < buffer.size(); ++i)
            EXPECT_EQ (buffer[i], canary) << "written past the text at " << i;

        EXPECT_EQ (buffer[(size_t) maxLen], 0);
        return std::string (buffer.data());
    }

    class Formatters : public ::testing::Test
    {
    protected:
        std::string floatText (float value, int32_t maxLen = 8)
        {
            return formatted ([&] (char* t, int32_t n) { effect.formatFloat (value, t, n); }, maxLen);
        }

        std::string integerText (int32_t value, int32_t maxLen = 12)
        {
            return formatted ([&] (char* t, int32_t n) { effect.formatInteger (value, t, n); }, maxLen);
        }

        RecordingHost host;
        EffectSpy effect;
    };

    constexpr float notANumber = std::numeric_limits<float>::quiet_NaN();
    constexpr float infinity = std::numeric_limits<float>::infinity();
}

TEST_F (Formatters, FloatsFillAnEightCharacterFieldTruncatingTheFraction)
{
    const std::pair<float, const char*> cases[] {
        { 1.5f, "1.500000" },
        { -1.5f, "-1.50000" },
        { 123.25f, "123.2500" },
        { 0.0f, "0.000000" },
        { -0.25f, "-0.25000" },
        { 0.7f, "0.699999" },
        { 1234567.0f, "1234567." },
        { -123456.0f, "-123456." },
        { 9999999.0f, "9999999." },
    };

    for (const auto& [value, text] : cases)
        EXPECT_EQ (floatText (value), text) << value;
}

TEST_F (Formatters, FloatsThatDoNotFitTheFieldAreHuge)
{
    // Eight integer digits (seven when negative) would lose their leading digit.
    for (const float value : { 100000000.0f, -10000000.0f, 12345678.0f, 10000000.0f, -1234567.0f, -1000000.0f,
                               infinity, -infinity, std::numeric_limits<float>::max(), std::numeric_limits<float>::lowest() })
        EXPECT_EQ (floatText (value), "Huge!") << value;
}

TEST_F (Formatters, NotANumberIsNamedRatherThanPrintedAsDigits)
{
    EXPECT_EQ (floatText (notANumber), "NaN");
    EXPECT_EQ (formatted ([&] (char* t, int32_t n) { effect.formatDecibels (notANumber, t, n); }), "NaN");
    EXPECT_EQ (formatted ([&] (char* t, int32_t n) { effect.formatHertz (notANumber, t, n); }), "NaN");
}

TEST_F (Formatters, ShortFieldsAreCutAndClosedWithoutWritingPastThem)
{
    EXPECT_EQ (floatText (123.25f, 4), "123.");
    EXPECT_EQ (floatText (-1.5f, 1), "-");
    EXPECT_EQ (floatText (1.5f, 0), "");
    EXPECT_EQ (integerText (-123456, 3), "-12");
    EXPECT_EQ (formatted ([&] (char* t, int32_t n) { effect.formatDecibels (0.0f, t, n); }, 2), "-o");
}

TEST_F (Formatters, ANegativeLengthOrANullBufferWritesNothing)
{
    char buffer[8];
    std::memset (buffer, canary, sizeof (buffer));

    effect.formatFloat (1.5f, buffer + 4, -1);
    effect.formatInteger (7, buffer + 4, -3);
    effect.formatDecibels (0.0f, buffer + 4, std::numeric_limits<int32_t>::min());

    for (const char c : buffer)
        EXPECT_EQ (c, canary);

    EXPECT_NO_FATAL_FAILURE (effect.formatFloat (1.5f, nullptr, 8));
    EXPECT_NO_FATAL_FAILURE (effect.formatInteger (1, nullptr, 8));
}

TEST_F (Formatters, DecibelsHertzAndMillisecondsConvertFirst)
{
    const auto decibels = [&] (float v) { return formatted ([&] (char* t, int32_t n) { effect.formatDecibels (v, t, n); }); };
    EXPECT_EQ (decibels (0.0f), "-oo");
    EXPECT_EQ (decibels (-2.0f), "-oo");
    EXPECT_EQ (decibels (1.0f), "0.000000");
    EXPECT_EQ (decibels (10.0f), "20.00000");
    EXPECT_EQ (decibels (infinity), "Huge!");

    const auto hertz = [&] (float v) { return formatted ([&] (char* t, int32_t n) { effect.formatHertz (v, t, n); }); };
    EXPECT_EQ (hertz (0.0f), "0.000000");
    EXPECT_EQ (hertz (441.0f), "100.0000");

    const auto milliseconds = [&] (float v) { return formatted ([&] (char* t, int32_t n) { effect.formatMilliseconds (v, t, n); }); };
    EXPECT_EQ (milliseconds (441.0f), "10.00000");
    EXPECT_EQ (milliseconds (-4410.0f), "-100.000");
}

TEST_F (Formatters, IntegersSkipLeadingZerosAndKeepTheirSign)
{
    const std::pair<int32_t, const char*> cases[] {
        { 0, "0" }, { 42, "42" }, { -7, "-7" }, { 1000, "1000" }, { 99999999, "99999999" },
        { -99999999, "-99999999" }, { -999999999, "-999999999" },
    };

    for (const auto& [value, text] : cases)
        EXPECT_EQ (integerText (value), text) << value;
}

TEST_F (Formatters, IntegersBeyondTheFieldAreHuge)
{
    for (const int32_t value : { 100000000, std::numeric_limits<int32_t>::max(), -1000000000, std::numeric_limits<int32_t>::min() })
        EXPECT_EQ (integerText (value), "Huge!") << value;
}
