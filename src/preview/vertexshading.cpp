#include "preview/vertexshading.h"

#include <algorithm>
#include <cmath>

namespace {

const float ambient[3] = {0x30 / 255.0f, 0x30 / 255.0f, 0x38 / 255.0f};
const float lightColour[3] = {0xff / 255.0f, 0xff / 255.0f, 0xf0 / 255.0f};

// A two's complement field of `bits` bits, starting at bit `shift`, as a fraction of its positive range.
float SignedField(uint16_t value, int shift, int bits)
{
    int field = (value >> shift) & ((1 << bits) - 1);
    if (field & (1 << (bits - 1))) {
        field -= 1 << bits;
    }
    return float(field) / float(1 << (bits - 1));
}

// The row's normal, unit length; false when it is zero.
bool RowNormal(const VertexRow& row, uint32_t geometryMode, float normal[3])
{
    if (geometryMode & geometryPackedNormals) {
        normal[0] = SignedField(row.flag, 11, 5);
        normal[1] = SignedField(row.flag, 5, 6);
        normal[2] = SignedField(row.flag, 0, 5);
    } else {
        for (int c = 0; c < 3; ++c) {
            normal[c] = float(int8_t(row.shade[c]));
        }
    }
    const float length = std::sqrt(normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2]);
    if (length == 0.0f) {
        return false;
    }
    for (int c = 0; c < 3; ++c) {
        normal[c] /= length;
    }
    return true;
}

} // namespace

void LightFor(const float normal[3], const float lightDirection[3], float light[3])
{
    const float facing = std::max(
        0.0f, normal[0] * lightDirection[0] + normal[1] * lightDirection[1] + normal[2] * lightDirection[2]);
    for (int c = 0; c < 3; ++c) {
        light[c] = std::min(1.0f, ambient[c] + lightColour[c] * facing);
    }
}

bool ShadeVertex(const VertexRow& row, uint32_t geometryMode, const float lightDirection[3], float shade[4],
                 float normal[3])
{
    shade[3] = row.shade[3] / 255.0f;
    const bool packed = (geometryMode & geometryPackedNormals) != 0;
    if (!(geometryMode & geometryLighting)) {
        for (int c = 0; c < 3; ++c) {
            shade[c] = row.shade[c] / 255.0f;
        }
        return false;
    }
    const bool hasNormal = RowNormal(row, geometryMode, normal);
    if (!hasNormal) {
        normal[0] = normal[1] = normal[2] = 0;
    }
    float light[3];
    LightFor(normal, lightDirection, light);
    for (int c = 0; c < 3; ++c) {
        shade[c] = packed ? light[c] * (row.shade[c] / 255.0f) : light[c];
    }
    return hasNormal;
}
