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

uint64_t Mix(uint64_t h)
{
    h ^= h >> 31;
    h *= 0xBF58476D1CE4E5B9ull;
    return h ^ (h >> 29);
}

// A set of vertex numbers in which two vertices are the same element when `same` says so; `hash` agrees with it.
// Each slot holds a vertex number and its hash, so the vertices themselves are only looked at on a likely match.
template <typename Hash, typename Same>
class VertexSet {
public:
    VertexSet(Hash hashFunction, Same sameFunction, size_t expected)
        : hash(hashFunction), same(sameFunction), slots(SlotsFor(expected))
    {
    }

    // The vertex already in the set that is the same as v, or v itself, which is then added.
    uint32_t Insert(uint32_t v)
    {
        const uint64_t h = hash(v);
        const uint32_t check = uint32_t(h >> 32);
        const size_t mask = slots.size() - 1;
        size_t slot = size_t(h) & mask;
        for (; slots[slot].vertex != none; slot = (slot + 1) & mask) {
            if (slots[slot].check == check && same(slots[slot].vertex, v)) {
                return slots[slot].vertex;
            }
        }
        slots[slot] = Slot{v, check};
        if (++count * 2 > slots.size()) {
            Grow();
        }
        return v;
    }
    size_t Count() const { return count; }

private:
    static constexpr uint32_t none = UINT32_MAX;
    struct Slot {
        uint32_t vertex = none;
        uint32_t check = 0;
    };

    static size_t SlotsFor(size_t expected)
    {
        size_t slots = 64;
        while (slots < expected * 2) {
            slots *= 2;
        }
        return slots;
    }

    void Grow()
    {
        std::vector<Slot> old(slots.size() * 2);
        old.swap(slots);
        const size_t mask = slots.size() - 1;
        for (const Slot& entry : old) {
            if (entry.vertex != none) {
                size_t slot = size_t(hash(entry.vertex)) & mask;
                while (slots[slot].vertex != none) {
                    slot = (slot + 1) & mask;
                }
                slots[slot] = entry;
            }
        }
    }

    Hash hash;
    Same same;
    std::vector<Slot> slots;
    size_t count = 0;
};

template <typename Hash, typename Same>
VertexSet<Hash, Same> MakeVertexSet(Hash hash, Same same, size_t expected)
{
    return VertexSet<Hash, Same>(hash, same, expected);
}

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
    const Vector3D* vertices = objFile.GetVertices();
    const uint32_t vertexCount = uint32_t(objFile.GetNumVertices());
    const auto scaledKey = [&](uint32_t v) {
        const Vector3D& p = vertices[v];
        return uint64_t(uint16_t(ClampToInt16(p.x * scale))) | uint64_t(uint16_t(ClampToInt16(p.y * scale))) << 16 |
               uint64_t(uint16_t(ClampToInt16(p.z * scale))) << 32;
    };
    const auto exactKey = [&](uint32_t v) {
        const Vector3D& p = vertices[v];
        return Mix(Bits(p.x) | Bits(p.y) << 32) ^ Bits(p.z);
    };
    const auto sameExact = [&](uint32_t a, uint32_t b) {
        return Bits(vertices[a].x) == Bits(vertices[b].x) && Bits(vertices[a].y) == Bits(vertices[b].y) &&
               Bits(vertices[a].z) == Bits(vertices[b].z);
    };
    // The first vertex of each integer position; every later one at another exact position is lost, and those
    // are counted once per exact position.
    auto firstAtScaled = MakeVertexSet([&](uint32_t v) { return Mix(scaledKey(v)); },
                                       [&](uint32_t a, uint32_t b) { return scaledKey(a) == scaledKey(b); }, 0);
    auto lost = MakeVertexSet([&](uint32_t v) { return Mix(exactKey(v)); }, sameExact, vertexCount);
    for (uint32_t v = 0; v < vertexCount; ++v) {
        const uint32_t first = firstAtScaled.Insert(v);
        if (first != v && !sameExact(first, v)) {
            lost.Insert(v);
        }
    }
    return lost.Count();
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
