#include "core/log/NumericValue.h"

#include <cmath>
#include <gtest/gtest.h>

using tolvane::numericValue;
using tolvane::toInt16;
using tolvane::toInt32;

TEST(NumericValue, ReadsTheNumberAtTheStartOfATextAndStopsAtTheFirstCharacterThatCannotContinueIt)
{
    EXPECT_EQ(numericValue("123"), 123);
    EXPECT_EQ(numericValue("380   Score 184780"), 380);
    EXPECT_EQ(numericValue("12点"), 12);
    EXPECT_EQ(numericValue("1.2.3"), 1.2);
    EXPECT_EQ(numericValue(".5"), 0.5);
    EXPECT_EQ(numericValue("+7"), 7);
    EXPECT_EQ(numericValue("-12.5e2"), -1250);
    EXPECT_EQ(numericValue("133.333"), 133.333);
}

TEST(NumericValue, SkipsSpacesTabsAndLineFeedsWhereverTheyStand)
{
    EXPECT_EQ(numericValue("  42"), 42);
    EXPECT_EQ(numericValue("1 2 3"), 123);
    EXPECT_EQ(numericValue("\t4\n5"), 45);
    EXPECT_EQ(numericValue("- 5"), -5);
    EXPECT_EQ(numericValue("1 . 5 E 2"), 150);
    // A carriage return is not skipped.
    EXPECT_EQ(numericValue("1\r2"), 1);
}

TEST(NumericValue, PlainDigitsReadInPlaceAgreeWithTheFullRules)
{
    EXPECT_EQ(numericValue("  12  "), 12);
    EXPECT_EQ(numericValue("12 34 x"), 1234);
    EXPECT_EQ(numericValue("12 .5"), 12.5);
    EXPECT_EQ(numericValue("12 e1"), 120);
    EXPECT_EQ(numericValue("12\t5"), 125);
    EXPECT_EQ(numericValue("123456789012345"), 123456789012345.0);
    EXPECT_EQ(numericValue("1234567890123456789"), 1234567890123456789.0);
    EXPECT_EQ(numericValue("761   Good 33"), 761);
}

TEST(NumericValue, ReadsExponentsWithEOrD)
{
    EXPECT_EQ(numericValue("1D3"), 1000);
    EXPECT_EQ(numericValue("1d-2"), 0.01);
    EXPECT_EQ(numericValue("2e+1"), 20);
    // An exponent letter without digits ends the number.
    EXPECT_EQ(numericValue("1E"), 1);
    EXPECT_EQ(numericValue("1E+"), 1);
}

TEST(NumericValue, ReadsHexadecimalAndOctalInEitherLetterCase)
{
    EXPECT_EQ(numericValue("&H1F"), 31);
    EXPECT_EQ(numericValue("&h10"), 16);
    EXPECT_EQ(numericValue("&hff"), 255);
    EXPECT_EQ(numericValue("&O17"), 15);
    EXPECT_EQ(numericValue("&o8"), 0);
    EXPECT_EQ(numericValue("&X1"), 0);
}

TEST(NumericValue, GivesZeroForATextWithoutANumber)
{
    EXPECT_EQ(numericValue(""), 0);
    EXPECT_EQ(numericValue("abc"), 0);
    EXPECT_EQ(numericValue("-"), 0);
    EXPECT_EQ(numericValue("--5"), 0);
    EXPECT_EQ(numericValue("."), 0);
    // Full-width digits are not digits here.
    EXPECT_EQ(numericValue("１２"), 0);
}

TEST(NumericValue, NumbersBeyondADoubleBecomeInfinityOrZeroWithoutCrashing)
{
    EXPECT_TRUE(std::isinf(numericValue("1E999")));
    EXPECT_TRUE(std::isinf(numericValue("-1E999")));
    EXPECT_LT(numericValue("-1E999"), 0);
    EXPECT_EQ(numericValue("1E-999"), 0);
    EXPECT_EQ(numericValue("0.000001e-400"), 0);
    EXPECT_TRUE(std::isinf(numericValue(std::string(400, '9'))));
    EXPECT_EQ(numericValue("1e99999999999999999999"), HUGE_VAL);
}

TEST(IntegerConversion, RoundsHalvesToTheEvenNeighbour)
{
    EXPECT_EQ(toInt16(2.5), 2);
    EXPECT_EQ(toInt16(3.5), 4);
    EXPECT_EQ(toInt16(-2.5), -2);
    EXPECT_EQ(toInt16(2.4999), 2);
    EXPECT_EQ(toInt32(247.5), 248);
    EXPECT_EQ(toInt32(-0.5), 0);
}

TEST(IntegerConversion, FailsOutsideTheRangeAfterRounding)
{
    EXPECT_EQ(toInt16(32767.4), 32767);
    EXPECT_FALSE(toInt16(32767.5));
    EXPECT_EQ(toInt16(-32768.5), -32768);
    EXPECT_FALSE(toInt16(-32769));
    EXPECT_EQ(toInt32(2147483647), 2147483647);
    EXPECT_FALSE(toInt32(2147483648.0));
    EXPECT_FALSE(toInt32(2147483647.5));
    EXPECT_EQ(toInt32(-2147483648.0), -2147483647 - 1);
    EXPECT_FALSE(toInt32(-2147483649.0));
    EXPECT_FALSE(toInt32(HUGE_VAL));
    EXPECT_FALSE(toInt32(std::nan("")));
}
