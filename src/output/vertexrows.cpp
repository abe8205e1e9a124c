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

void WriteVertexRows(OutputText& out, const ObjFile& objFile, const ConversionSettings& settings,
                     const std::vector<uint32_t>* rowVertex)
{
    const Vector3D* vertices = objFile.GetVertices();
    const Vector3D* normals = objFile.GetNormals();
    const Vector2D* texCoords = objFile.GetTexCoords();
    const double scale = settings.scale;
    const double sFactor = double(settings.sScale) * 2048.0;
    const double tFactor = double(settings.tScale) * 2048.0;
    // Fully braced, a row braces the union's first member and each of its arrays: position, flag, texture
    // coordinate, then the normal or colour with the alpha.
    const bool braces = settings.fullBraces;

    const size_t rowCount = rowVertex ? rowVertex->size() : size_t(objFile.GetNumVertices());
    for (size_t row = 0; row < rowCount; ++row) {
        const size_t i = rowVertex ? (*rowVertex)[row] : row;
        const Vector3D& position = vertices[i];
        const Vector2D texCoord = texCoords ? texCoords[i] : Vector2D();
        const float flippedT = float(1.0 - double(texCoord[1]));

        out << (braces ? "    {{{ " : "    { ") << int64_t(ClampToInt16(position[0] * scale)) << ", "
            << int64_t(ClampToInt16(position[1] * scale)) << ", " << int64_t(ClampToInt16(position[2] * scale))
            << (braces ? " }, 0, { " : ", 0, ") << int64_t(ClampToInt16(texCoord[0] * sFactor)) << ", "
            << int64_t(ClampToInt16(flippedT * tFactor)) << (braces ? " }, { " : ", ");
        if (settings.useNormals) {
            const Vector3D& normal = normals[i];
            out << int64_t(ClampToInt8(normal[0] * 128.0)) << ", " << int64_t(ClampToInt8(normal[1] * 128.0))
                << ", " << int64_t(ClampToInt8(normal[2] * 128.0)) << ", ";
        } else {
            out << "0x";
            out.Hex(settings.red) << ", 0x";
            out.Hex(settings.green) << ", 0x";
            out.Hex(settings.blue) << ", ";
        }
        out << "0x";
        out.Hex(settings.alpha) << (braces ? " }}},\n" : " },\n");
    }
}
