#ifndef POLVANE_LINETOKENS_H
#define POLVANE_LINETOKENS_H

#include <cstddef>
#include <cstring>

#include "model/numberscan.h"

// A piece of a line of text, as the readers of model files cut it.
struct Span {
    const char* begin;
    const char* end;
    bool Empty() const { return begin == end; }
    bool Is(const char* text) const
    {
        const size_t length = std::strlen(text);
        return size_t(end - begin) == length && std::memcmp(begin, text, length) == 0;
    }
};

// Cuts the next white-space separated token from cursor; an empty span when only white space is left.
inline Span NextToken(const char*& cursor, const char* end)
{
    while (cursor != end && IsBlank(*cursor)) {
        ++cursor;
    }
    const char* start = cursor;
    while (cursor != end && !IsBlank(*cursor)) {
        ++cursor;
    }
    return Span{start, cursor};
}

// [begin, end) without the white space around it.
inline Span Trimmed(const char* begin, const char* end)
{
    while (begin != end && IsBlank(*begin)) {
        ++begin;
    }
    while (end != begin && IsBlank(end[-1])) {
        --end;
    }
    return Span{begin, end};
}

#endif
