#include "AAX_CBinaryDisplayDelegate.h"
#include "AAX_CBinaryTaperDelegate.h"
#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace
{
using LinearTaper = AAX_CLinearTaperDelegate<float, 0>;
using NumberDisplay = AAX_CNumberDisplayDelegate<float, 3, 0>;
using BinaryTaper = AAX_CBinaryTaperDelegate<bool>;
using BinaryDisplay = AAX_CBinaryDisplayDelegate<bool>;

std::string numberText (float value)
{
    AAX_CString text ("stale");
    NumberDisplay().formatValue (value, &text);
    return text.cText();
}

std::string numberText (float value, int32_t maxChars)
{
    AAX_CString text ("stale");
    NumberDisplay().formatValue (value, maxChars, &text);
    return text.cText();
}
} // namespace

TEST (LinearTaper, ClampsEveryConversionIntoItsRange)
{
    const LinearTaper unit (0.0f, 1.0f);
    EXPECT_EQ (unit.denormalize (1.5), 1.0f);
    EXPECT_EQ (unit.denormalize (-0.2), 0.0f);
    EXPECT_DOUBLE_EQ (unit.normalize (0.25f), 0.25);
    EXPECT_DOUBLE_EQ (unit.normalize (7.0f), 1.0);
    EXPECT_EQ (unit.clamp (-3.0f), 0.0f);

    const LinearTaper frequency (20.0f, 20000.0f);
    EXPECT_EQ (frequency.denormalize (0.5), 10010.0f);
    EXPECT_DOUBLE_EQ (frequency.normalize (20.0f), 0.0);

    // A normalized value far outside any float range must still land on a bound, not overflow.
    EXPECT_EQ (frequency.denormalize (1.0e300), 20000.0f);
    EXPECT_EQ (frequency.denormalize (-1.0e300), 20.0f);
}

TEST (LinearTaper, CloneKeepsTheBounds)
{
    const std::unique_ptr<AAX_ITaperDelegate<float>> copy (LinearTaper (-2.0f, 6.0f).clone());
    EXPECT_EQ (copy->lowerBound(), -2.0f);
    EXPECT_EQ (copy->upperBound(), 6.0f);
    EXPECT_EQ (copy->denormalize (0.5), 2.0f);
}

TEST (BinaryTaper, AnythingAboveZeroIsOn)
{
    const BinaryTaper taper;
    EXPECT_FALSE (taper.denormalize (0.0));
    EXPECT_TRUE (taper.denormalize (1e-9));
    EXPECT_FALSE (taper.denormalize (-1.0));
    EXPECT_FALSE (taper.denormalize (std::nan ("")));
    EXPECT_EQ (taper.normalize (true), 1.0);
    EXPECT_EQ (taper.normalize (false), 0.0);
    EXPECT_TRUE (taper.upperBound());
    EXPECT_FALSE (taper.lowerBound());
}

TEST (NumberDisplay, ShowsThreeDecimalsAndCutsWithoutRounding)
{
    EXPECT_EQ (numberText (0.5f), "0.500");
    EXPECT_EQ (numberText (-2.0f), "-2.000");
    EXPECT_EQ (numberText (1234.5678f), "1234.568");

    EXPECT_EQ (numberText (0.125f, 4), "0.12");     // cut, not rounded to 0.13
    EXPECT_EQ (numberText (0.5f, 5), "0.500");
    EXPECT_EQ (numberText (1234.5678f, 5), "1234"); // the cut leaves a point, which goes
    EXPECT_EQ (numberText (12.5f, 3), "12");
    EXPECT_EQ (numberText (0.5f, 0), "");
    EXPECT_EQ (numberText (0.5f, -1), "");
    EXPECT_EQ (numberText (0.5f, 40), "0.500");
}

TEST (NumberDisplay, ParsesTheLeadingNumberAndRefusesWhatNoFloatCanHold)
{
    const NumberDisplay display;
    float value = -1.0f;

    EXPECT_TRUE (display.parseValue (AAX_CString ("0.75"), &value));
    EXPECT_EQ (value, 0.75f);

    EXPECT_TRUE (display.parseValue (AAX_CString ("12abc"), &value));
    EXPECT_EQ (value, 12.0f);

    value = -1.0f;
    EXPECT_FALSE (display.parseValue (AAX_CString (""), &value));
    EXPECT_EQ (value, 0.0f);

    value = -1.0f;
    EXPECT_FALSE (display.parseValue (AAX_CString ("1e300"), &value));
    EXPECT_EQ (value, 0.0f);
}

TEST (BinaryDisplay, ShowsAndParsesItsTwoTexts)
{
    const BinaryDisplay display ("bypass", "on");
    AAX_CString text;

    display.formatValue (true, &text);
    EXPECT_STREQ (text.cText(), "on");
    display.formatValue (false, &text);
    EXPECT_STREQ (text.cText(), "bypass");

    for (const auto maxChars : { -1, 0, 2, 3, 100 })
    {
        display.formatValue (false, maxChars, &text);
        EXPECT_STREQ (text.cText(), "bypass") << maxChars;
    }

    bool value = true;
    EXPECT_TRUE (display.parseValue (AAX_CString ("on"), &value));
    EXPECT_TRUE (value);
    EXPECT_TRUE (display.parseValue (AAX_CString ("bypass"), &value));
    EXPECT_FALSE (value);

    value = true;
    EXPECT_FALSE (display.parseValue (AAX_CString ("ON"), &value));
    EXPECT_FALSE (value);
}

TEST (BinaryDisplay, NarrowDisplaysGetTheLatestShortTextThatFits)
{
    BinaryDisplay display ("bypassed", "active");
    display.addShortTextPair (2, "b", "a");
    display.addShortTextPair (4, "byp", "act");

    const std::unique_ptr<AAX_IDisplayDelegate<bool>> copy (display.clone());
    AAX_CString text;

    copy->formatValue (true, 8, &text);
    EXPECT_STREQ (text.cText(), "active");
    copy->formatValue (true, 5, &text);
    EXPECT_STREQ (text.cText(), "act");
    copy->formatValue (false, 2, &text);
    EXPECT_STREQ (text.cText(), "b");

    // Nothing fits: the first pair is the best there is.
    copy->formatValue (false, 1, &text);
    EXPECT_STREQ (text.cText(), "b");
}
