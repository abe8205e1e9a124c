#include "output/vertexrows.h"

#include <charconv>
#include <cstring>

namespace {

// A row is at most about a hundred characters: written in place after one check for room.
constexpr size_t rowRoom = 160;

template <size_t size>
char* Text(char* p, const char (&text)[size])
{
    std::memcpy(p, text, size - 1);
    return p + size - 1;
}

// Room enough for any number of a row: the longest is "-2147483648".
constexpr size_t numberRoom = 11;

char* Decimal(char* p, int32_t value)
{
    return std::to_chars(p, p + numberRoom, value).ptr;
}

// "0x" and lowercase hexadecimal digits without leading zeros.
char* Hex(char* p, uint32_t value)
{
    p = Text(p, "0x");
    return std::to_chars(p, p + numberRoom, value, 16).ptr;
}

}

void WriteVertexRow(OutputText& out, const VertexRow& row, bool colour, bool fullBraces)
{
    // Fully braced, a row braces the union's first member and each of its arrays: position, flag, texture
    // coordinate, then the normal or colour with the alpha.
    char* p = out.Room(rowRoom);
    p = fullBraces ? Text(p, "    {{{ ") : Text(p, "    { ");
    p = Text(Decimal(p, row.position[0]), ", ");
    p = Text(Decimal(p, row.position[1]), ", ");
    p = Decimal(p, row.position[2]);
    p = fullBraces ? Text(p, " }, ") : Text(p, ", ");
    p = Text(row.flag == 0 ? Text(p, "0") : Hex(p, row.flag), ", ");
    if (fullBraces) {
        p = Text(p, "{ ");
    }
    p = Text(Decimal(p, row.st[0]), ", ");
    p = Decimal(p, row.st[1]);
    p = fullBraces ? Text(p, " }, { ") : Text(p, ", ");
    for (int i = 0; i < 3; ++i) {
        p = Text(colour ? Hex(p, row.shade[i]) : Decimal(p, int8_t(row.shade[i])), ", ");
    }
    p = Hex(p, row.shade[3]);
    p = fullBraces ? Text(p, " }}},\n") : Text(p, " },\n");
    out.Used(p);
}
