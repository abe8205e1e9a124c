#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "model/objfile.h"
#include "output/rangewarnings.h"
#include "plan/vertexrow.h"

namespace {

// Positions on a coarse lattice, some repeated, some sharing an x (runs of one x, with y going up and down) and most
// not: every way a run can be counted meets them.
std::vector<Vector3D> LatticePositions(size_t count)
{
    std::vector<Vector3D> positions;
    uint32_t state = 12345;
    const auto next = [&state](int range) {
        state = state * 1103515245u + 12345u;
        return int((state >> 8) % uint32_t(range)) - range / 2;
    };
    for (size_t i = 0; i < count; ++i) {
        const float x = i % 3 == 0 ? float(next(9)) / 2.0f : float(next(1024)) / 128.0f;
        positions.push_back(Vector3D(x, float(next(64)) / 8.0f, float(next(64)) / 8.0f));
    }
    return positions;
}

// The count the warning should give, worked out the plain way: distinct positions less distinct integer positions.
size_t CollapsedByDefinition(const std::vector<Vector3D>& positions, double scale)
{
    std::set<std::tuple<float, float, float>> distinct;
    std::set<std::tuple<int32_t, int32_t, int32_t>> integers;
    for (const Vector3D& p : positions) {
        if (distinct.emplace(p.x + 0.0f, p.y + 0.0f, p.z + 0.0f).second) {
            integers.emplace(ClampToInt16(p.x * scale), ClampToInt16(p.y * scale), ClampToInt16(p.z * scale));
        }
    }
    return distinct.size() - integers.size();
}

std::string WarningsFor(const std::vector<Vector3D>& positions, float scale)
{
    std::ostringstream text;
    text.precision(9);  // every float as it is
    for (const Vector3D& p : positions) {
        text << "v " << p.x << " " << p.y << " " << p.z << "\n";
    }
    for (size_t i = 1; i + 2 <= positions.size(); i += 3) {
        text << "f " << i << " " << i + 1 << " " << i + 2 << "\n";
    }
    std::istringstream in(text.str());
    const ObjFile model(in, "m.obj");
    ConversionSettings settings;
    settings.scale = scale;
    StringSink errors;
    WarnAboutRange(model, "m.obj", settings, errors);
    return errors.str();
}

size_t CollapsedInWarning(const std::vector<Vector3D>& positions, float scale)
{
    const std::string errors = WarningsFor(positions, scale);
    const std::string warning = "m.obj: warning: ";
    const size_t collapse = errors.find(" became the same integer position");
    if (collapse == std::string::npos) {
        return 0;
    }
    const size_t start = errors.rfind(warning, collapse) + warning.size();
    return std::stoul(errors.substr(start));
}

// The scale a warning suggests, or 0 when it suggests none.
double SuggestedScale(const std::string& warnings)
{
    const size_t suggestion = warnings.find("; -s ");
    return suggestion == std::string::npos ? 0.0 : std::stod(warnings.substr(suggestion + 5));
}

TEST(RangeWarnings, CollapsedCountIsDistinctLessDistinctIntegerPositions)
{
    // 30 000 positions: at scale 0.5 a run of one integer x holds thousands of them.
    const std::vector<Vector3D> positions = LatticePositions(30000);
    for (const float scale : {0.5f, 1.0f, 3.0f, 8.0f, 40.0f, -2.0f}) {
        EXPECT_EQ(CollapsedInWarning(positions, scale), CollapsedByDefinition(positions, double(scale)))
            << "scale " << scale;
    }
}

// Positions scattered in a box, none sharing an x, and pairs either side of x = 0: the search for a scale meets runs
// of several x and the pairs of close positions, and what it suggests must keep every position apart.
TEST(RangeWarnings, SuggestedScaleKeepsScatteredPositionsApart)
{
    for (const uint32_t seed : {7u, 99u, 2024u}) {
        uint32_t state = seed;
        const auto next = [&state]() {
            state = state * 1664525u + 1013904223u;
            return float(state >> 8) / float(1u << 24) - 0.5f;
        };
        std::vector<Vector3D> positions;
        for (int i = 0; i < 1500; ++i) {
            positions.push_back(Vector3D(next(), next(), next()));
        }
        // Pairs either side of x = 0, which truncation keeps together until each is a whole unit from it.
        for (int i = 0; i < 40; ++i) {
            const float x = 0.002f + std::fabs(next()) * 0.01f;
            const float y = next();
            const float z = next();
            positions.push_back(Vector3D(-x, y, z));
            positions.push_back(Vector3D(x, y, z));
        }
        const std::string warnings = WarningsFor(positions, 1.0f);
        const double suggested = SuggestedScale(warnings);
        ASSERT_GT(suggested, 0.0) << warnings;
        EXPECT_EQ(CollapsedByDefinition(positions, suggested), 0u) << "seed " << seed << ": " << warnings;
    }
}


// Columns of a grid, each of one x: y rising in some and falling in others, two rows on either side of 0 (which
// truncation joins while they are less than 2 apart), in some columns pairs of one y told apart by z alone, closer
// than the rows are; repeated positions; one column out of order. The warning counts what the plain way counts,
// and the scale it suggests keeps every position apart.
TEST(RangeWarnings, SuggestedScaleKeepsGridColumnsApart)
{
    for (const float pairGap : {0.004f, 0.0137f, 0.02f}) {
        std::vector<Vector3D> positions;
        for (int column = 0; column < 40; ++column) {
            const float x = float(column - 20) * 0.0113f;
            for (int row = 0; row < 30; ++row) {
                const int along = column % 2 == 0 ? row : 29 - row;
                const float y = (float(along - 15) + 0.5f) * 0.0129f + (column == 7 && row % 2 == 0 ? 0.2f : 0.0f);
                positions.push_back(Vector3D(x, y, 0.25f));
                if (column % 3 == 0 && row % 5 == 0) {
                    positions.push_back(Vector3D(x, y, 0.25f + pairGap));
                }
                if (column % 4 == 1 && row % 7 == 3) {  // repeats, next to each other and among a pair
                    positions.push_back(Vector3D(x, y, 0.25f));
                }

            }
        }
        while (positions.size() % 3 != 0) {  // every position in a triangle
            positions.push_back(positions.back());
        }
        for (const float scale : {1.0f, 30.0f, 120.0f}) {
            EXPECT_EQ(CollapsedInWarning(positions, scale), CollapsedByDefinition(positions, double(scale)))
                << "pair gap " << pairGap << ", scale " << scale;
        }
        const std::string warnings = WarningsFor(positions, 1.0f);
        const double suggested = SuggestedScale(warnings);
        ASSERT_GT(suggested, 0.0) << warnings;
        EXPECT_EQ(CollapsedByDefinition(positions, suggested), 0u) << "pair gap " << pairGap << ": " << warnings;
    }
}

}
