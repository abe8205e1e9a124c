#include <cstring>
#include <limits>

#include <gtest/gtest.h>

#include "model/numberscan.h"

namespace {

TEST(ScanFloat, ReadsWhatStreamExtractionReadsAndStopsWhereTheNumberEnds)
{
    const struct {
        const char* text;
        ScanResult result;
        float value;
        const char* rest;
    } cases[] = {
        {"  .5 x", ScanResult::Ok, 0.5f, " x"},  {"5.", ScanResult::Ok, 5.0f, ""},
        {"+1.25", ScanResult::Ok, 1.25f, ""},    {"-.5e3", ScanResult::Ok, -500.0f, ""},
        {"1.E+2", ScanResult::Ok, 100.0f, ""},   {"1.5.3", ScanResult::Ok, 1.5f, ".3"},
        {"0x10", ScanResult::Ok, 0.0f, "x10"},   {"1e-50", ScanResult::Ok, 0.0f, ""},
        {"1e-45", ScanResult::Ok, std::numeric_limits<float>::denorm_min(), ""},
        {"3.4028235e38", ScanResult::Ok, std::numeric_limits<float>::max(), ""},
        {"1e40", ScanResult::OutOfRange, 7.0f, nullptr},
    };
    for (const auto& c : cases) {
        const char* cursor = c.text;
        float value = 7.0f;
        EXPECT_EQ(ScanFloat(cursor, c.text + std::strlen(c.text), value), c.result) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_STREQ(cursor, c.rest ? c.rest : c.text);
    }
    // What stream extraction rejects.
    for (const char* text : {"", "   ", ".", "+", "-", "e5", ".e5", "1e", "1e+", "nan", "inf", "abc"}) {
        const char* cursor = text;
        float value = 7.0f;
        EXPECT_EQ(ScanFloat(cursor, text + std::strlen(text), value), ScanResult::NoNumber) << '"' << text << '"';
        EXPECT_EQ(value, 7.0f);
    }
}

// The quick way for short decimals: a fault there changes the conversion of the shared corpus (tests/corpus)
// and of the golden bench cases.
TEST(ScanInt, ReadsLikeTheCScan)
{
    const struct {
        const char* text;
        ScanResult result;
        int32_t value;
        size_t used;
    } cases[] = {
        {"12/3", ScanResult::Ok, 12, 2},
        {"+5", ScanResult::Ok, 5, 2},
        {"-7x", ScanResult::Ok, -7, 2},
        {"-2147483648", ScanResult::Ok, INT32_MIN, 11},
        {"2147483647", ScanResult::Ok, INT32_MAX, 10},
        {"2147483648", ScanResult::OutOfRange, 0, 0},  // and more: golden cases
        {"/3", ScanResult::NoNumber, 0, 0},
        {"- 5", ScanResult::NoNumber, 0, 0},
    };
    for (const auto& c : cases) {
        const char* cursor = c.text;
        int32_t value = 0;
        EXPECT_EQ(ScanInt(cursor, c.text + std::strlen(c.text), value), c.result) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(size_t(cursor - c.text), c.used) << c.text;
    }
}

}
