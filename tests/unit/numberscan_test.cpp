#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "model/numberscan.h"

namespace {

// Scans one float from text; returns the result and, through rest, the text after the number.
ScanResult Float(const char* text, float& value, std::string& rest)
{
    const char* cursor = text;
    const ScanResult result = ScanFloat(cursor, text + std::strlen(text), value);
    rest = cursor;
    return result;
}

TEST(ScanFloat, AcceptsTheStreamNumberForms)
{
    float value = 0.0f;
    std::string rest;
    EXPECT_EQ(Float("  .5 x", value, rest), ScanResult::Ok);
    EXPECT_EQ(value, 0.5f);
    EXPECT_EQ(rest, " x");
    EXPECT_EQ(Float("5.", value, rest), ScanResult::Ok);
    EXPECT_EQ(value, 5.0f);
    EXPECT_EQ(Float("+1.25", value, rest), ScanResult::Ok);
    EXPECT_EQ(value, 1.25f);
    EXPECT_EQ(Float("-.5e3", value, rest), ScanResult::Ok);
    EXPECT_EQ(value, -500.0f);
    EXPECT_EQ(Float("1.E+2", value, rest), ScanResult::Ok);
    EXPECT_EQ(value, 100.0f);
    EXPECT_EQ(Float("0.1", value, rest), ScanResult::Ok);
    EXPECT_EQ(value, 0.1f);
}

TEST(ScanFloat, StopsWhereTheNumberEnds)
{
    float value = 0.0f;
    std::string rest;
    EXPECT_EQ(Float("1.5.3", value, rest), ScanResult::Ok);
    EXPECT_EQ(value, 1.5f);
    EXPECT_EQ(rest, ".3");
    EXPECT_EQ(Float("0x10", value, rest), ScanResult::Ok);
    EXPECT_EQ(value, 0.0f);
    EXPECT_EQ(rest, "x10");
    EXPECT_EQ(Float("2abc", value, rest), ScanResult::Ok);
    EXPECT_EQ(rest, "abc");
}

TEST(ScanFloat, RejectsWhatStreamExtractionRejects)
{
    float value = 7.0f;
    std::string rest;
    for (const char* text : {"", "   ", ".", "+", "-", "e5", ".e5", "1e", "1e+", "nan", "inf", "abc"}) {
        EXPECT_EQ(Float(text, value, rest), ScanResult::NoNumber) << '"' << text << '"';
    }
    EXPECT_EQ(value, 7.0f);
}

TEST(ScanFloat, OverflowIsOutOfRangeButUnderflowRoundsTowardZero)
{
    float value = 7.0f;
    std::string rest;
    EXPECT_EQ(Float("1e40", value, rest), ScanResult::OutOfRange);
    EXPECT_EQ(Float("-3.5e38", value, rest), ScanResult::OutOfRange);
    EXPECT_EQ(Float("1e-50", value, rest), ScanResult::Ok);
    EXPECT_EQ(value, 0.0f);
    EXPECT_EQ(Float("1e-45", value, rest), ScanResult::Ok);
    EXPECT_EQ(value, std::numeric_limits<float>::denorm_min());
    EXPECT_EQ(Float("3.4028235e38", value, rest), ScanResult::Ok);
    EXPECT_EQ(value, std::numeric_limits<float>::max());
}

TEST(ScanFloat, ShortDecimalsRoundExactlyAsTheCLibraryDoes)
{
    // Short decimals take a quicker way than long ones; both must give the correctly rounded float.
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> digits(0, 99999999);
    std::uniform_int_distribution<int> decimals(0, 10);
    for (int i = 0; i < 200000; ++i) {
        std::string text = std::to_string(digits(random));
        const int point = decimals(random);
        if (point > 0) {
            text = std::string(size_t(std::max(0, point + 1 - int(text.size()))), '0') + text;
            text.insert(text.size() - size_t(point), ".");
        }
        if (i % 3 == 0) {
            text = "-" + text;
        }
        float value = 0.0f;
        std::string rest;
        ASSERT_EQ(Float(text.c_str(), value, rest), ScanResult::Ok) << text;
        ASSERT_EQ(value, std::strtof(text.c_str(), nullptr)) << text;
        ASSERT_EQ(std::signbit(value), text[0] == '-') << text;
    }
}

TEST(ScanInt, ReadsLikeTheCScan)
{
    struct Case {
        const char* text;
        ScanResult result;
        int32_t value;
        size_t used;
    };
    const Case cases[] = {
        {"12/3", ScanResult::Ok, 12, 2},
        {"+5", ScanResult::Ok, 5, 2},
        {"-7x", ScanResult::Ok, -7, 2},
        {"-2147483648", ScanResult::Ok, INT32_MIN, 11},
        {"2147483647", ScanResult::Ok, INT32_MAX, 10},
        {"2147483648", ScanResult::OutOfRange, 0, 0},
        {"-2147483649", ScanResult::OutOfRange, 0, 0},
        {"99999999999999999999999", ScanResult::OutOfRange, 0, 0},
        {"/3", ScanResult::NoNumber, 0, 0},
        {"- 5", ScanResult::NoNumber, 0, 0},
        {"", ScanResult::NoNumber, 0, 0},
    };
    for (const Case& c : cases) {
        const char* cursor = c.text;
        int32_t value = 0;
        EXPECT_EQ(ScanInt(cursor, c.text + std::strlen(c.text), value), c.result) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(size_t(cursor - c.text), c.used) << c.text;
    }
}

}
