#include "numberscan.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Converts the complete decimal text [first, last), already known to be well formed, to the nearest float.
ScanResult ConvertFloat(const char* first, const char* last, float& value)
{
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
    // from_chars takes no plus sign.
    const char* digits = (*first == '+') ? first + 1 : first;
    float result = 0.0f;
    const std::from_chars_result converted = std::from_chars(digits, last, result, std::chars_format::general);
    if (converted.ec == std::errc() && converted.ptr == last) {
        value = result;
        return ScanResult::Ok;
    }
    // Out of range either way: below the float range the value still rounds to zero or a subnormal, which the
    // C library's conversion gives; above it there is no float.
#endif
    const std::string text(first, last);
    char* stop = nullptr;
    const float fallback = std::strtof(text.c_str(), &stop);
    if (std::isinf(fallback)) {
        return ScanResult::OutOfRange;
    }
    value = fallback;
    return ScanResult::Ok;
}

}

ScanResult ScanFloat(const char*& cursor, const char* end, float& value)
{
    const char* p = cursor;
    while (p != end && IsBlank(*p)) {
        ++p;
    }
    const char* start = p;
    if (p != end && (*p == '+' || *p == '-')) {
        ++p;
    }
    bool mantissaDigits = false;
    while (p != end && IsDigit(*p)) {
        ++p;
        mantissaDigits = true;
    }
    if (p != end && *p == '.') {
        ++p;
        while (p != end && IsDigit(*p)) {
            ++p;
            mantissaDigits = true;
        }
    }
    if (!mantissaDigits) {
        return ScanResult::NoNumber;
    }
    if (p != end && (*p == 'e' || *p == 'E')) {
        ++p;
        if (p != end && (*p == '+' || *p == '-')) {
            ++p;
        }
        bool exponentDigits = false;
        while (p != end && IsDigit(*p)) {
            ++p;
            exponentDigits = true;
        }
        // An exponent mark without digits spoils the whole number, as it does for stream extraction.
        if (!exponentDigits) {
            return ScanResult::NoNumber;
        }
    }
    const ScanResult result = ConvertFloat(start, p, value);
    if (result == ScanResult::Ok) {
        cursor = p;
    }
    return result;
}

ScanResult ScanInt(const char*& cursor, const char* end, int32_t& value)
{
    const char* p = cursor;
    while (p != end && IsBlank(*p)) {
        ++p;
    }
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) {
        negative = (*p == '-');
        ++p;
    }
    if (p == end || !IsDigit(*p)) {
        return ScanResult::NoNumber;
    }
    const int64_t limit = negative ? -int64_t(std::numeric_limits<int32_t>::min())
                                   : int64_t(std::numeric_limits<int32_t>::max());
    int64_t magnitude = 0;
    bool tooLarge = false;
    while (p != end && IsDigit(*p)) {
        if (!tooLarge) {
            magnitude = magnitude * 10 + (*p - '0');
            tooLarge = magnitude > limit;
        }
        ++p;
    }
    if (tooLarge) {
        return ScanResult::OutOfRange;
    }
    value = int32_t(negative ? -magnitude : magnitude);
    cursor = p;
    return ScanResult::Ok;
}
