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
    const uint64_t limit = negative ? uint64_t(1) << 31 : (uint64_t(1) << 31) - 1;
    uint64_t magnitude = 0;
    while (p != end && IsDigit(*p)) {
        // Once past the limit the value only needs to stay past it.
        if (magnitude <= limit) {
            magnitude = magnitude * 10 + uint64_t(*p - '0');
        }
        ++p;
    }
    if (magnitude > limit) {
        return ScanResult::OutOfRange;
    }
    value = negative ? int32_t(-int64_t(magnitude)) : int32_t(magnitude);
    cursor = p;
    return ScanResult::Ok;
}
