#include "output/rangewarnings.h"

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <cstring>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "diagnostics.h"
#include "plan/vertexrow.h"

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
double RoundedDownValue(double value)
{
    const double step = std::pow(10.0, std::floor(std::log10(value)) - 3.0);
    return std::floor(value / step) * step;
}

std::string RoundedDown(double value)
{
    std::ostringstream text;
    text << RoundedDownValue(value);
    return text.str();
}

uint64_t Mix(uint64_t h)
{
    h ^= h >> 31;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 29;
    h *= 0x94D049BB133111EBull;
    return h ^ (h >> 32);
}

uint64_t Bits(float value)
{
    value += 0.0f;  // -0 and 0 are the same position
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// The number of distinct values; sorts them eleven bits at a time, in passes that read and write memory in order.
size_t CountDistinct(std::vector<uint64_t>& values)
{
    constexpr int digitBits = 11;
    constexpr size_t buckets = size_t(1) << digitBits;
    std::vector<uint64_t> sorted(values.size());
    std::vector<size_t> counts(buckets + 1);
    for (int shift = 0; shift < 64; shift += digitBits) {
        std::fill(counts.begin(), counts.end(), 0);
        for (uint64_t v : values) {
            ++counts[((v >> shift) & (buckets - 1)) + 1];
        }
        if (values.empty() || counts[((values[0] >> shift) & (buckets - 1)) + 1] == values.size()) {
            continue;  // every value has the same digit here
        }
        for (size_t b = 0; b < buckets; ++b) {
            counts[b + 1] += counts[b];
        }
        for (uint64_t v : values) {
            sorted[counts[(v >> shift) & (buckets - 1)]++] = v;
        }
        values.swap(sorted);
    }
    size_t distinct = 0;
    for (size_t i = 0; i < values.size(); ++i) {
        distinct += (i == 0 || values[i] != values[i - 1]);
    }
    return distinct;
}

// How many distinct positions are lost because they become the same integer position as another one: the number
// of distinct exact positions less the number of distinct integer positions. Exact positions are told apart by a
// 64-bit hash of their three floats; two different positions share one with a chance of about 1 in 10^8 for a
// model of a million vertices, which would only make the count one lower.
size_t CountCollapsedPositions(const ObjFile& objFile, double scale)
{
    const size_t vertexCount = size_t(objFile.GetNumVertices());
    std::vector<uint64_t> exact(vertexCount);
    std::vector<uint64_t> scaled(vertexCount);
    for (size_t i = 0; i < vertexCount; ++i) {
        const Vector3D& p = objFile.GetVertices()[i];
        exact[i] = Mix(Mix(Bits(p.x) | Bits(p.y) << 32) ^ Bits(p.z));
        scaled[i] = uint64_t(uint16_t(ClampToInt16(p.x * scale))) |
                    uint64_t(uint16_t(ClampToInt16(p.y * scale))) << 16 |
                    uint64_t(uint16_t(ClampToInt16(p.z * scale))) << 32;
    }
    const size_t distinctExact = CountDistinct(exact);
    std::vector<uint64_t>().swap(exact);
    return distinctExact - CountDistinct(scaled);
}

// The smallest scale no larger than fitScale (up to two significant digits) at which no distinct positions share
// an integer position; 0 when even fitScale merges some.
double ScaleKeepingApart(const ObjFile& objFile, double fitScale)
{
    if (CountCollapsedPositions(objFile, fitScale) != 0) {
        return 0.0;
    }
    double low = fitScale;  // merges positions, once found
    double high = fitScale;  // keeps them apart
    for (int step = 0; step < 60 && low == high; ++step) {
        if (CountCollapsedPositions(objFile, high / 2) == 0) {
            high /= 2;
            low = high;
        } else {
            low = high / 2;
        }
    }
    for (int step = 0; step < 12 && low != high; ++step) {
        const double middle = (low + high) / 2;
        (CountCollapsedPositions(objFile, middle) == 0 ? high : low) = middle;
    }
    // As few significant digits as work: rounded down when that still keeps them apart, else up when that fits.
    for (int digits = 2; digits <= 6; ++digits) {
        const double unit = std::pow(10.0, std::floor(std::log10(high)) - double(digits - 1));
        for (const double rounded : {std::floor(high / unit) * unit, std::ceil(high / unit) * unit}) {
            if (rounded > 0.0 && rounded <= fitScale && CountCollapsedPositions(objFile, rounded) == 0) {
                return rounded;
            }
        }
    }
    return high;
}

std::string Number(double value)
{
    std::ostringstream text;
    text << value;
    return text.str();
}
}

double LargestCoordinate(const ObjFile& objFile)
{
    double largest = 0.0;
    for (int32_t i = 0; i < objFile.GetNumVertices(); ++i) {
        const Vector3D& p = objFile.GetVertices()[i];
        for (int axis = 0; axis < 3; ++axis) {
            largest = std::max(largest, double(std::fabs(p[axis])));
        }
    }
    return largest;
}

float FitScale(const ObjFile& objFile, int fit)
{
    const double largest = LargestCoordinate(objFile);
    if (!(largest > 0.0) || !std::isfinite(largest)) {
        return 1.0f;
    }
    // Positions are truncated toward zero: the largest must reach fit itself, not fall a hair short of it.
    float scale = float(double(fit) / largest);
    while (std::fabs(largest * double(scale)) < double(fit)) {
        scale = std::nextafter(scale, std::numeric_limits<float>::infinity());
    }
    return scale;
}

void WarnAboutRange(const ObjFile& objFile, const std::string& objPath, const ConversionSettings& settings,
                    std::ostream& errors)
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
        errors << WarningAt(objPath) << "" << CountOf(clampedPositions, "position component")
               << " clamped to -32768..32767 after scaling; -s "
               << (scale < 0 ? "-" : "") << RoundedDown(32767.0 / largest) << " would fit the model\n";
    }

    // With materials, texture coordinates are measured in texels and warned about per material.
    if (const Vector2D* texCoords = settings.materials ? nullptr : objFile.GetTexCoords()) {
        const double sFactor = double(settings.sScale) * 2048.0;
        const double tFactor = double(settings.tScale) * 2048.0;
        size_t clampedTexCoords = 0;
        for (int32_t i = 0; i < objFile.GetNumVertices(); ++i) {
            const float flippedT = float(1.0 - double(texCoords[i].y));
            clampedTexCoords += (OutOfRange(texCoords[i].x * sFactor) ? 1 : 0) +
                                (OutOfRange(flippedT * tFactor) ? 1 : 0);
        }
        if (clampedTexCoords != 0) {
            errors << WarningAt(objPath) << "" << CountOf(clampedTexCoords, "texture coordinate component")
                   << " clamped to -32768..32767 after scaling\n";
        }
    }

    const size_t collapsed = CountCollapsedPositions(objFile, scale);
    if (collapsed != 0) {
        errors << WarningAt(objPath) << collapsed
               << (collapsed == 1 ? " distinct position" : " distinct positions")
               << " became the same integer position as another after scaling; ";
        // A value that fits the 16-bit range, so that this never contradicts the clamping warning above.
        const double keepsApart =
            largest > 0.0 ? ScaleKeepingApart(objFile, RoundedDownValue(32767.0 / largest)) : 0.0;
        if (keepsApart == 0.0) {
            errors << "no scale within the 16-bit range keeps them all apart (--fit 32767 uses all of it)\n";
        } else if (settings.fit != 0) {
            errors << "--fit " << std::min(32767.0, std::ceil(keepsApart * largest)) << " would keep them apart\n";
        } else {
            errors << "-s " << (scale < 0 ? "-" : "") << Number(keepsApart) << " would keep them apart\n";
        }
    }
}
