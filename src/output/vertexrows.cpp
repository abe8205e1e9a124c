#include "output/vertexrows.h"

void WriteVertexRow(OutputText& out, const VertexRow& row, bool colour, bool fullBraces)
{
    // Fully braced, a row braces the union's first member and each of its arrays: position, flag, texture
    // coordinate, then the normal or colour with the alpha.
    out << (fullBraces ? "    {{{ " : "    { ") << int64_t(row.position[0]) << ", " << int64_t(row.position[1])
        << ", " << int64_t(row.position[2]) << (fullBraces ? " }, " : ", ");
    if (row.flag == 0) {
        out << "0, ";
    } else {
        out << "0x";
        out.Hex(row.flag) << ", ";
    }
    out << (fullBraces ? "{ " : "") << int64_t(row.st[0]) << ", " << int64_t(row.st[1])
        << (fullBraces ? " }, { " : ", ");
    if (colour) {
        out << "0x";
        out.Hex(row.shade[0]) << ", 0x";
        out.Hex(row.shade[1]) << ", 0x";
        out.Hex(row.shade[2]) << ", ";
    } else {
        out << int64_t(int8_t(row.shade[0])) << ", " << int64_t(int8_t(row.shade[1])) << ", "
            << int64_t(int8_t(row.shade[2])) << ", ";
    }
    out << "0x";
    out.Hex(row.shade[3]) << (fullBraces ? " }}},\n" : " },\n");
}
