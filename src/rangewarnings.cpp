#include "rangewarnings.h"

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "vertexrows.h"

namespace {

// "1 thing was" or "2 things were".
std::string CountOf(size_t count, const char* thing)
{
    return std::to_string(count) + " " + thing + (count == 1 ? " was" : "s were");
}

bool OutOfRange(double v)
{
    return v > 32767.0 || v < -32768.0;
}

// value rounded down to four significant digits, so that it still fits when it is written out.
std::string RoundedDown(double value)
{
    const double step = std::pow(10.0, std::floor(std::log10(value)) - 3.0);
    std::ostringstream text;
    text << std::floor(value / step) * step;
    return text.str();
}

// Counts distinct 128-bit keys; an open-addressing table that never removes.
class DistinctCounter {
public:
    explicit DistinctCounter(size_t expected) : slots(SlotsFor(expected)) {}

    void Add(uint64_t high, uint64_t low)
    {
        // low is stored with its top bit set, so a zero slot is free.
        low |= uint64_t(1) << 63;
        const size_t mask = slots.size() - 1;
        uint64_t h = (high ^ (low * 0x9E3779B97F4A7C15ull)) * 0xBF58476D1CE4E5B9ull;
        size_t slot = size_t(h ^ (h >> 31)) & mask;
        while (slots[slot].low != 0) {
            if (slots[slot].high == high && slots[slot].low == low) {
                return;
            }
            slot = (slot + 1) & mask;
        }
        slots[slot] = Key{high, low};
        ++count;
    }
    size_t Count() const { return count; }

private:
    struct Key {
        uint64_t high;
        uint64_t low;
    };
    static size_t SlotsFor(size_t expected)
    {
        size_t slots = 16;
        while (slots < expected * 2) {
            slots *= 2;
        }
        return slots;
    }

    std::vector<Key> slots;
    size_t count = 0;
};

uint64_t Bits(float value)
{
    value += 0.0f;  // -0 and 0 are the same position
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// How many distinct positions are lost because they become the same integer position as another one.
size_t CountCollapsedPositions(const ObjFile& objFile, double scale)
{
    const size_t vertexCount = size_t(objFile.GetNumVertices());
    DistinctCounter exact(vertexCount);
    DistinctCounter scaled(vertexCount);
    for (size_t i = 0; i < vertexCount; ++i) {
        const Vector3D& p = objFile.GetVertices()[i];
        exact.Add(Bits(p.x) | Bits(p.y) << 32, Bits(p.z));
        const uint64_t x = uint16_t(ClampToInt16(p.x * scale));
        const uint64_t y = uint16_t(ClampToInt16(p.y * scale));
        const uint64_t z = uint16_t(ClampToInt16(p.z * scale));
        scaled.Add(x | y << 16 | z << 32, 0);
    }
    return exact.Count() - scaled.Count();
}
}

void WarnAboutRange(const ObjFile& objFile, const ConversionSettings& settings, std::ostream& errors)
{
    const double scale = settings.scale;
    size_t clampedPositions = 0;
    double largest = 0.0;
    for (int32_t i = 0; i < objFile.GetNumVertices(); ++i) {
        const Vector3D& p = objFile.GetVertices()[i];
        for (int axis = 0; axis < 3; ++axis) {
            clampedPositions += OutOfRange(p[axis] * scale) ? 1 : 0;
            largest = std::max(largest, double(std::fabs(p[axis])));
        }
    }
    if (clampedPositions != 0) {
        errors << "warning: " << CountOf(clampedPositions, "position component")
               << " clamped to -32768..32767 after scaling; -s "
               << (scale < 0 ? "-" : "") << RoundedDown(32767.0 / largest) << " would fit the model\n";
    }

    if (const Vector2D* texCoords = objFile.GetTexCoords()) {
        const double sFactor = double(settings.sScale) * 2048.0;
        const double tFactor = double(settings.tScale) * 2048.0;
        size_t clampedTexCoords = 0;
        for (int32_t i = 0; i < objFile.GetNumVertices(); ++i) {
            const float flippedT = float(1.0 - double(texCoords[i].y));
            clampedTexCoords += (OutOfRange(texCoords[i].x * sFactor) ? 1 : 0) + (OutOfRange(flippedT * tFactor) ? 1 : 0);
        }
        if (clampedTexCoords != 0) {
            errors << "warning: " << CountOf(clampedTexCoords, "texture coordinate component")
                   << " clamped to -32768..32767 after scaling\n";
        }
    }

    const size_t collapsed = CountCollapsedPositions(objFile, scale);
    if (collapsed != 0) {
        errors << "warning: " << collapsed << (collapsed == 1 ? " distinct position" : " distinct positions")
               << " became the same integer position as another after scaling; a larger -s "
                  "would keep them apart\n";
    }
}
