#include "output/vertexrows.h"

namespace {

int32_t Clamp(double v, int32_t low, int32_t high)
{
    if (v > high) {
        return high;
    }
    if (v < low) {
        return low;
    }
    return v == v ? int32_t(v) : 0;
}

}

int32_t ClampToInt16(double v)
{
    return Clamp(v, -32768, 32767);
}

int32_t ClampToInt8(double v)
{
    return Clamp(v, -128, 127);
}

VertexRow MakeVertexRow(const ObjFile& objFile, size_t i, const ConversionSettings& settings)
{
    const Vector3D& position = objFile.GetVertices()[i];
    const Vector2D* texCoords = objFile.GetTexCoords();
    const Vector2D texCoord = texCoords ? texCoords[i] : Vector2D();
    const float flippedT = float(1.0 - double(texCoord[1]));
    const double scale = settings.scale;

    VertexRow row;
    for (int axis = 0; axis < 3; ++axis) {
        row.position[axis] = int16_t(ClampToInt16(position[axis] * scale));
    }
    row.flag = 0;
    row.st[0] = int16_t(ClampToInt16(texCoord[0] * (double(settings.sScale) * 2048.0)));
    row.st[1] = int16_t(ClampToInt16(flippedT * (double(settings.tScale) * 2048.0)));
    if (settings.useNormals) {
        const Vector3D& normal = objFile.GetNormals()[i];
        for (int axis = 0; axis < 3; ++axis) {
            row.shade[axis] = uint8_t(ClampToInt8(normal[axis] * 128.0));
        }
    } else {
        row.shade[0] = settings.red;
        row.shade[1] = settings.green;
        row.shade[2] = settings.blue;
    }
    row.shade[3] = settings.alpha;
    return row;
}

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

void WriteVertexRows(OutputText& out, const ObjFile& objFile, const ConversionSettings& settings,
                     const std::vector<uint32_t>* rowVertex)
{
    const size_t rowCount = rowVertex ? rowVertex->size() : size_t(objFile.GetNumVertices());
    for (size_t row = 0; row < rowCount; ++row) {
        const size_t i = rowVertex ? (*rowVertex)[row] : row;
        WriteVertexRow(out, MakeVertexRow(objFile, i, settings), !settings.useNormals, settings.fullBraces);
    }
}
