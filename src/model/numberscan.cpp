#include "model/numberscan.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

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
    const bool negative = p != end && *p == '-';
    if (p != end && (*p == '+' || *p == '-')) {
        ++p;
    }
    // The digits are gathered on the way for the common short numbers (see below).
    uint64_t mantissa = 0;
    int digitCount = 0;
    int fractionDigits = 0;
    while (p != end && IsDigit(*p)) {
        mantissa = mantissa * 10 + uint64_t(*p - '0');
        ++digitCount;
        ++p;
    }
    if (p != end && *p == '.') {
        ++p;
        while (p != end && IsDigit(*p)) {
            mantissa = mantissa * 10 + uint64_t(*p - '0');
            ++digitCount;
            ++fractionDigits;
            ++p;
        }
    }
    if (digitCount == 0) {
        return ScanResult::NoNumber;
    }
    bool exponent = false;
    if (p != end && (*p == 'e' || *p == 'E')) {
        exponent = true;
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
    if (!exponent && ShortDecimal(mantissa, digitCount, fractionDigits, negative, value)) {
        cursor = p;
        return ScanResult::Ok;
    }
    const ScanResult result = ConvertFloat(start, p, value);
    if (result == ScanResult::Ok) {
        cursor = p;
    }
    return result;
}
