#ifndef POLVANE_NUMBERSCAN_H
#define POLVANE_NUMBERSCAN_H

#include <cfloat>
#include <cstdint>

enum class ScanResult { Ok, NoNumber, OutOfRange };

// White space as the classic locale knows it: blank, tab, line feed, vertical tab, form feed, carriage return.
inline bool IsBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

inline bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads one number from [cursor, end) the way formatted stream extraction into a float reads it: white space
// is skipped, then an optional sign, decimal digits with at most one decimal point, and an exponent once a
// digit has been seen. The value is correctly rounded; a value beyond the float range is OutOfRange, one below
// it becomes zero or subnormal. No infinities, NaN or hexadecimal forms. On Ok, cursor moves past the number.
ScanResult ScanFloat(const char*& cursor, const char* end, float& value);

// A whole number of at most 2^24 divided by a power of ten up to 10^10: both are exact floats, so one correctly
// rounded division gives the correctly rounded value of the text. False when the number is not of that kind.
inline bool ShortDecimal(uint64_t mantissa, int digitCount, int fractionDigits, bool negative, float& value)
{
#if FLT_EVAL_METHOD == 0
    static const float powersOfTen[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
    if (digitCount <= 19 && mantissa <= (uint64_t(1) << 24) && fractionDigits <= 10) {
        const float magnitude = float(mantissa) / powersOfTen[fractionDigits];
        value = negative ? -magnitude : magnitude;
        return true;
    }
#else
    (void)mantissa, (void)digitCount, (void)fractionDigits, (void)negative, (void)value;
#endif
    return false;
}

// Reads a number written plainly at cursor itself, an optional minus sign and decimal digits with at most one
// decimal point, that ends at white space, giving exactly what ScanFloat gives. The text must hold a line feed at
// or before end, which stops the scan. False when the text at cursor is anything else (cursor stays); ScanFloat
// then tells what it is.
inline bool ScanPlainFloat(const char*& cursor, const char* end, float& value)
{
    const char* p = cursor;
    const bool negative = *p == '-';
    p += negative ? 1 : 0;
    uint64_t mantissa = 0;
    const char* digits = p;
    for (unsigned digit; (digit = unsigned(uint8_t(*p)) - '0') <= 9; ++p) {
        mantissa = mantissa * 10 + digit;
    }
    int digitCount = int(p - digits);
    int fractionDigits = 0;
    if (*p == '.') {
        const char* fraction = ++p;
        for (unsigned digit; (digit = unsigned(uint8_t(*p)) - '0') <= 9; ++p) {
            mantissa = mantissa * 10 + digit;
        }
        fractionDigits = int(p - fraction);
        digitCount += fractionDigits;
    }
    if (digitCount == 0 || !IsBlank(*p)) {
        return false;
    }
    if (!ShortDecimal(mantissa, digitCount, fractionDigits, negative, value) &&
        ScanFloat(cursor, end, value) != ScanResult::Ok) {
        return false;
    }
    cursor = p;
    return true;
}

// Reads one integer from [cursor, end) the way the C library's "%d" conversion does: white space is skipped,
// then an optional sign and at least one decimal digit. A value outside the signed 32-bit range is OutOfRange.
// On Ok, cursor moves past the number.
inline ScanResult ScanInt(const char*& cursor, const char* end, int32_t& value)
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

#endif
