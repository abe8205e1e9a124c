#ifndef POLVANE_NUMBERSCAN_H
#define POLVANE_NUMBERSCAN_H

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
