#ifndef POLVANE_NUMBERSCAN_H
#define POLVANE_NUMBERSCAN_H

#include <cstdint>

enum class ScanResult { Ok, NoNumber, OutOfRange };

// White space as the classic locale knows it: blank, tab, line feed, vertical tab, form feed, carriage return.
inline bool IsBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Reads one number from [cursor, end) the way formatted stream extraction into a float reads it: white space
// is skipped, then an optional sign, decimal digits with at most one decimal point, and an exponent once a
// digit has been seen. The value is correctly rounded; a value beyond the float range is OutOfRange, one below
// it becomes zero or subnormal. No infinities, NaN or hexadecimal forms. On Ok, cursor moves past the number.
ScanResult ScanFloat(const char*& cursor, const char* end, float& value);

// Reads one integer from [cursor, end) the way the C library's "%d" conversion does: white space is skipped,
// then an optional sign and at least one decimal digit. A value outside the signed 32-bit range is OutOfRange.
// On Ok, cursor moves past the number.
ScanResult ScanInt(const char*& cursor, const char* end, int32_t& value);

#endif
