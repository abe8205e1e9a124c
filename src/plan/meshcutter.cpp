#include "plan/meshcutter.h"

#include <algorithm>
#include <cmath>

namespace {

using Polygon = std::vector<CutVertex>;

// Coordinates beyond this many texels lose the precision a cut needs; such triangles are not cut.
constexpr double largestCoordinate = 1e9;

// A fixed order of two vertices that depends only on their values.
bool Before(const CutVertex& a, const CutVertex& b)
{
    if (a.st[0] != b.st[0]) {
        return a.st[0] < b.st[0];
    }
    if (a.st[1] != b.st[1]) {
        return a.st[1] < b.st[1];
    }
    return std::lexicographical_compare(a.values, a.values + 9, b.values, b.values + 9);
}

// Where the segment between p and q crosses the line st[axis] = line, the same whichever way round it is given.
CutVertex Crossing(const CutVertex& p, const CutVertex& q, int axis, double line)
{
    const CutVertex& a = Before(q, p) ? q : p;
    const CutVertex& b = Before(q, p) ? p : q;
    const double t = (line - a.st[axis]) / (b.st[axis] - a.st[axis]);
    CutVertex x;
    for (int k = 0; k < 2; ++k) {
        x.st[k] = a.st[k] + t * (b.st[k] - a.st[k]);
    }
    x.st[axis] = line;
    for (int k = 0; k < 9; ++k) {
        x.values[k] = a.values[k] + t * (b.values[k] - a.values[k]);
    }
    // The normal, values 3 to 5, stays of unit length.
    const double length = std::sqrt(x.values[3] * x.values[3] + x.values[4] * x.values[4] + x.values[5] * x.values[5]);
    if (length > 0.0 && std::isfinite(length)) {
        for (int k = 3; k < 6; ++k) {
            x.values[k] /= length;
        }
    }
    return x;
}

// Splits a convex polygon by a line into the parts below and above it. A part is kept only when some vertex lies
// strictly on its side, so a polygon touching the line gives no sliver.
void Split(const Polygon& polygon, int axis, double line, Polygon& below, Polygon& above)
{
    below.clear();
    above.clear();
    bool anyBelow = false, anyAbove = false;
    for (size_t i = 0; i < polygon.size(); ++i) {
        const CutVertex& p = polygon[i];
        const CutVertex& q = polygon[(i + 1) % polygon.size()];
        const double side = p.st[axis] - line, next = q.st[axis] - line;
        anyBelow = anyBelow || side < 0.0;
        anyAbove = anyAbove || side > 0.0;
        if (side <= 0.0) {
            below.push_back(p);
        }
        if (side >= 0.0) {
            above.push_back(p);
        }
        if ((side < 0.0 && next > 0.0) || (side > 0.0 && next < 0.0)) {
            const CutVertex x = Crossing(p, q, axis, line);
            below.push_back(x);
            above.push_back(x);
        }
    }
    if (!anyBelow || below.size() < 3) {
        below.clear();
    }
    if (!anyAbove || above.size() < 3) {
        above.clear();
    }
}

// The grid's lines strictly between low and high, in increasing order.
std::vector<double> LinesBetween(const CutGrid& grid, int axis, double low, double high)
{
    std::vector<double> lines;
    const double pitch = grid.pitch[axis], period = grid.period[axis];
    const int count = grid.count[axis];
    if (period > 0.0) {
        for (double repeat = std::floor(low / period); repeat * period < high; repeat += 1.0) {
            for (int k = 0; k < count; ++k) {
                const double line = repeat * period + k * pitch;
                if (line > low && line < high) {
                    lines.push_back(line);
                }
            }
        }
    } else {
        for (int k = 1; k < count; ++k) {
            if (k * pitch > low && k * pitch < high) {
                lines.push_back(k * pitch);
            }
        }
    }
    return lines;
}

// Lines an axis may need between low and high, counted before any is made.
double LineEstimate(const CutGrid& grid, int axis, double low, double high)
{
    if (grid.period[axis] > 0.0) {
        return (std::floor(high / grid.period[axis]) - std::floor(low / grid.period[axis]) + 1.0) * grid.count[axis];
    }
    return grid.count[axis];
}

// The cell of an axis a coordinate lies in, and the whole repeats to take off it.
int CellOf(const CutGrid& grid, int axis, double c, double& shift)
{
    const double period = grid.period[axis];
    shift = period > 0.0 ? std::floor(c / period) * period : 0.0;
    const int cell = int(std::floor((c - shift) / grid.pitch[axis]));
    return std::min(std::max(cell, 0), grid.count[axis] - 1);
}

double Area(const CutVertex& a, const CutVertex& b, const CutVertex& c)
{
    return (b.st[0] - a.st[0]) * (c.st[1] - a.st[1]) - (b.st[1] - a.st[1]) * (c.st[0] - a.st[0]);
}

void AddCell(const Polygon& cell, const CutGrid& grid, bool keepFlat, std::vector<CutPiece>& pieces)
{
    double centre[2] = {0.0, 0.0};
    for (const CutVertex& v : cell) {
        centre[0] += v.st[0] / double(cell.size());
        centre[1] += v.st[1] / double(cell.size());
    }
    double shift[2];
    const int column = CellOf(grid, 0, centre[0], shift[0]);
    const int row = CellOf(grid, 1, centre[1], shift[1]);
    const uint32_t tile = uint32_t(column + row * grid.count[0]);
    for (size_t k = 1; k + 1 < cell.size(); ++k) {
        if (!keepFlat && Area(cell[0], cell[k], cell[k + 1]) == 0.0) {
            continue;
        }
        CutPiece piece{tile, {cell[0], cell[k], cell[k + 1]}};
        for (CutVertex& corner : piece.corners) {
            corner.st[0] -= shift[0];
            corner.st[1] -= shift[1];
        }
        pieces.push_back(piece);
    }
}

}

bool CutTriangle(const CutVertex corners[3], const CutGrid& grid, std::vector<CutPiece>& pieces)
{
    for (int axis = 0; axis < 2; ++axis) {
        if (!(grid.pitch[axis] >= 1.0) || grid.count[axis] < 1 || !(grid.period[axis] >= 0.0)) {
            return false;
        }
    }
    Polygon polygon(corners, corners + 3);
    double low[2], high[2];
    for (int axis = 0; axis < 2; ++axis) {
        low[axis] = HUGE_VAL;
        high[axis] = -HUGE_VAL;
        for (CutVertex& v : polygon) {
            if (!std::isfinite(v.st[axis])) {
                v.st[axis] = 0.0;
            }
            if (std::fabs(v.st[axis]) > largestCoordinate) {
                return false;
            }
            low[axis] = std::min(low[axis], v.st[axis]);
            high[axis] = std::max(high[axis], v.st[axis]);
        }
    }
    if ((LineEstimate(grid, 0, low[0], high[0]) + 1.0) * (LineEstimate(grid, 1, low[1], high[1]) + 1.0) >
        double(maxCutCells)) {
        return false;
    }
    const bool keepFlat = Area(polygon[0], polygon[1], polygon[2]) == 0.0;
    // Columns first, each then cut into cells, every line in increasing order: triangles sharing an edge cut it
    // in the same sequence, so the crossings come out the same.
    std::vector<Polygon> columns;
    Polygon rest = polygon, below, above;
    for (const double line : LinesBetween(grid, 0, low[0], high[0])) {
        Split(rest, 0, line, below, above);
        if (!below.empty()) {
            columns.push_back(below);
        }
        rest.swap(above);
        if (rest.empty()) {
            break;
        }
    }
    if (!rest.empty()) {
        columns.push_back(rest);
    }
    for (const Polygon& column : columns) {
        rest = column;
        double top = HUGE_VAL, bottom = -HUGE_VAL;
        for (const CutVertex& v : column) {
            top = std::min(top, v.st[1]);
            bottom = std::max(bottom, v.st[1]);
        }
        for (const double line : LinesBetween(grid, 1, top, bottom)) {
            Split(rest, 1, line, below, above);
            if (!below.empty()) {
                AddCell(below, grid, keepFlat, pieces);
            }
            rest.swap(above);
            if (rest.empty()) {
                break;
            }
        }
        if (!rest.empty()) {
            AddCell(rest, grid, keepFlat, pieces);
        }
    }
    return true;
}
