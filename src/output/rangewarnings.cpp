#include "output/rangewarnings.h"

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <limits>
#include <string>

#include "diagnostics.h"
#include "output/positioncollapse.h"

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
    StringSink text;
    text << RoundedDownValue(value);
    return text.str();
}

std::string Number(double value)
{
    StringSink text;
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
                    TextSink& errors)
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

    PositionCollapse positions(objFile);
    const size_t collapsed = positions.Collapsed(scale);
    if (collapsed != 0) {
        errors << WarningAt(objPath) << collapsed
               << (collapsed == 1 ? " distinct position" : " distinct positions")
               << " became the same integer position as another after scaling; ";
        // A value that fits the 16-bit range, so that this never contradicts the clamping warning above.
        const double keepsApart =
            largest > 0.0 ? positions.ScaleKeepingApart(RoundedDownValue(32767.0 / largest)) : 0.0;
        if (keepsApart == 0.0) {
            errors << "no scale within the 16-bit range keeps them all apart (--fit 32767 uses all of it)\n";
        } else if (settings.fit != 0) {
            errors << "--fit " << std::min(32767.0, std::ceil(keepsApart * largest)) << " would keep them apart\n";
        } else {
            errors << "-s " << (scale < 0 ? "-" : "") << Number(keepsApart) << " would keep them apart\n";
        }
    }
}
