#include "plan/vertexrow.h"

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

