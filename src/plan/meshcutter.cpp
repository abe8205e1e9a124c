#include "plan/meshcutter.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

using Polygon = std::vector<CutVertex>;

// Coordinates beyond this many texels lose the precision a cut needs; such triangles are not cut.
constexpr double largestCoordinate = 1e9;

// A texture coordinate as the cutting reads it: a non-finite one counts as 0.
double Finite(double c)
{
    return std::isfinite(c) ? c : 0.0;
}

// The least and greatest coordinate of the triangle's corners along an axis.
void BoundsOf(const CutVertex corners[3], int axis, double& low, double& high)
{
    low = std::min({Finite(corners[0].st[axis]), Finite(corners[1].st[axis]), Finite(corners[2].st[axis])});
    high = std::max({Finite(corners[0].st[axis]), Finite(corners[1].st[axis]), Finite(corners[2].st[axis])});
}

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

// The normal, values 3 to 5, stays of unit length.
void Normalise(CutVertex& x)
{
    const double length = std::sqrt(x.values[3] * x.values[3] + x.values[4] * x.values[4] + x.values[5] * x.values[5]);
    if (length > 0.0 && std::isfinite(length)) {
        for (int k = 3; k < 6; ++k) {
            x.values[k] /= length;
        }
    }
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
    Normalise(x);
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
    // Lines come in increasing order: the first ones at or below low are skipped by their index, and the first
    // at or above high ends the search.
    if (period > 0.0) {
        for (double repeat = std::floor(low / period); repeat * period < high; repeat += 1.0) {
            const double skip = std::floor((low - repeat * period) / pitch) - 1.0;
            for (int k = skip > 0.0 ? int(std::min(skip, double(count))) : 0; k < count; ++k) {
                const double line = repeat * period + k * pitch;
                if (line >= high) {
                    return lines;
                }
                if (line > low) {
                    lines.push_back(line);
                }
            }
        }
    } else {
        for (int k = 1; k < count && k * pitch < high; ++k) {
            if (k * pitch > low) {
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

// Whether three points lie on one line in space (values 0 to 2).
bool Collinear(const CutVertex& a, const CutVertex& b, const CutVertex& c)
{
    const double u[3] = {b.values[0] - a.values[0], b.values[1] - a.values[1], b.values[2] - a.values[2]};
    const double v[3] = {c.values[0] - a.values[0], c.values[1] - a.values[1], c.values[2] - a.values[2]};
    return u[1] * v[2] - u[2] * v[1] == 0.0 && u[2] * v[0] - u[0] * v[2] == 0.0 && u[0] * v[1] - u[1] * v[0] == 0.0;
}

// Whether a piece covers nothing: no area in texture space, nor in space (where texture space is too thin to
// tell its corners apart, the piece is still part of the surface).
bool Empty(const CutVertex& a, const CutVertex& b, const CutVertex& c)
{
    return Area(a, b, c) == 0.0 && Collinear(a, b, c);
}

// Whether a vertex of a polygon lies on the line through its neighbours (or on one of them), to the precision
// of the coordinates.
bool Flat(const CutVertex& previous, const CutVertex& v, const CutVertex& next)
{
    const double ax = v.st[0] - previous.st[0], ay = v.st[1] - previous.st[1];
    const double bx = next.st[0] - v.st[0], by = next.st[1] - v.st[1];
    return std::fabs(ax * by - ay * bx) <= 1e-9 * std::sqrt((ax * ax + ay * ay) * (bx * bx + by * by));
}

// The triangles of a convex cell. A fan from its first vertex, unless some vertex lies on a side between two
// others (a point added for the far side of a seam): then ears are cut at corners beside such points, which
// turns each into a corner, so every vertex stays a corner of some triangle and none is left inside a side.
void Triangulate(Polygon cell, bool keepFlat, std::vector<std::array<CutVertex, 3>>& triangles)
{
    triangles.clear();
    const auto flatAt = [&cell](size_t k) {
        const size_t n = cell.size();
        return Flat(cell[(k + n - 1) % n], cell[k], cell[(k + 1) % n]);
    };
    // A cell with such points keeps every triangle, so that none of its points is lost, even where texture space
    // is too thin to tell them apart.
    bool keep = keepFlat;
    for (size_t k = 0; k < cell.size() && !keep; ++k) {
        keep = flatAt(k);
    }
    while (keep && cell.size() > 3) {
        const size_t n = cell.size();
        size_t ear = n;
        for (size_t k = 0; k < n && ear == n; ++k) {
            if (!flatAt(k) && (flatAt((k + n - 1) % n) || flatAt((k + 1) % n))) {
                ear = k;
            }
        }
        if (ear == n) {
            break;  // no flat point left (or no corner at all): the fan below
        }
        triangles.push_back({cell[(ear + n - 1) % n], cell[ear], cell[(ear + 1) % n]});
        cell.erase(cell.begin() + long(ear));
    }
    for (size_t k = 1; k + 1 < cell.size(); ++k) {
        if (keep || !Empty(cell[0], cell[k], cell[k + 1])) {
            triangles.push_back({cell[0], cell[k], cell[k + 1]});
        }
    }
}

void AddCell(const CutVertex* cell, size_t count, const CutGrid& grid, bool keepFlat, std::vector<CutPiece>& pieces)
{
    double centre[2] = {0.0, 0.0};
    for (size_t k = 0; k < count; ++k) {
        centre[0] += cell[k].st[0] / double(count);
        centre[1] += cell[k].st[1] / double(count);
    }
    double shift[2];
    const int column = CellOf(grid, 0, centre[0], shift[0]);
    const int row = CellOf(grid, 1, centre[1], shift[1]);
    const uint32_t tile = uint32_t(column + row * grid.count[0]);
    const auto add = [&](const CutVertex& a, const CutVertex& b, const CutVertex& c) {
        CutPiece piece{tile, {a, b, c}};
        for (CutVertex& corner : piece.corners) {
            corner.st[0] -= shift[0];
            corner.st[1] -= shift[1];
        }
        pieces.push_back(piece);
    };
    if (count == 3) {
        if (keepFlat || !Empty(cell[0], cell[1], cell[2])) {
            add(cell[0], cell[1], cell[2]);
        }
        return;
    }
    std::vector<std::array<CutVertex, 3>> triangles;
    Triangulate(Polygon(cell, cell + count), keepFlat, triangles);
    for (const std::array<CutVertex, 3>& triangle : triangles) {
        add(triangle[0], triangle[1], triangle[2]);
    }
}

// A line crossing an edge: the fraction of the way along it, and the line.
struct EdgeCrossing {
    double at;
    int axis;
    double line;
};

void CrossingsOf(const CutVertex& from, const CutVertex& to, const CutGrid& grid, std::vector<EdgeCrossing>& out)
{
    for (int axis = 0; axis < 2; ++axis) {
        const double a = Finite(from.st[axis]), b = Finite(to.st[axis]);
        for (const double line : LinesBetween(grid, axis, std::min(a, b), std::max(a, b))) {
            out.push_back(EdgeCrossing{(line - a) / (b - a), axis, line});
        }
    }
}

// The point a fraction u of the way from a to b.
CutVertex PointAt(const CutVertex& a, const CutVertex& b, double u)
{
    CutVertex x;
    for (int k = 0; k < 2; ++k) {
        x.st[k] = a.st[k] + u * (b.st[k] - a.st[k]);
    }
    for (int k = 0; k < 9; ++k) {
        x.values[k] = a.values[k] + u * (b.values[k] - a.values[k]);
    }
    Normalise(x);
    return x;
}

// Appends the points of one edge, from `from` towards `to` (not its ends): its own crossings, set onto their
// lines, and the extra fractions, all interpolated from the ends in the order given.
void AddEdgePoints(const CutVertex& from, const CutVertex& to, bool reversed, const double* extra, size_t extraCount,
                   const CutGrid& grid, Polygon& polygon)
{
    const CutVertex& a = reversed ? to : from;
    const CutVertex& b = reversed ? from : to;
    std::vector<EdgeCrossing> own;
    CrossingsOf(a, b, grid, own);
    std::vector<double> at(extra, extra + extraCount);
    for (const EdgeCrossing& crossing : own) {
        at.push_back(crossing.at);
    }
    std::sort(at.begin(), at.end());
    at.erase(std::unique(at.begin(), at.end()), at.end());
    at.erase(std::remove_if(at.begin(), at.end(), [](double u) { return !(u > 0.0 && u < 1.0); }), at.end());
    if (at.empty()) {
        return;
    }
    Polygon points;
    for (const double u : at) {
        points.push_back(PointAt(a, b, u));
    }
    // Each own crossing lies on its line, and the points before and after it on their sides, so that the
    // clipping finds every crossing of this edge already made.
    for (const EdgeCrossing& crossing : own) {
        const size_t m = size_t(std::lower_bound(at.begin(), at.end(), crossing.at) - at.begin());
        if (m >= at.size() || at[m] != crossing.at) {
            continue;
        }
        const int axis = crossing.axis;
        const bool rising = b.st[axis] > a.st[axis];
        for (size_t j = 0; j < points.size(); ++j) {
            double& c = points[j].st[axis];
            if (j == m) {
                c = crossing.line;
            } else if ((j < m) == rising) {
                c = std::min(c, crossing.line);
            } else {
                c = std::max(c, crossing.line);
            }
        }
    }
    if (reversed) {
        polygon.insert(polygon.end(), points.rbegin(), points.rend());
    } else {
        polygon.insert(polygon.end(), points.begin(), points.end());
    }
}

}

bool CanCutTriangle(const CutVertex corners[3], const CutGrid& grid)
{
    for (int axis = 0; axis < 2; ++axis) {
        if (!(grid.pitch[axis] >= 1.0) || grid.count[axis] < 1 || !(grid.period[axis] >= 0.0)) {
            return false;
        }
    }
    double low[2], high[2];
    for (int axis = 0; axis < 2; ++axis) {
        BoundsOf(corners, axis, low[axis], high[axis]);
        if (!(std::fabs(low[axis]) <= largestCoordinate && std::fabs(high[axis]) <= largestCoordinate)) {
            return false;
        }
    }
    return (LineEstimate(grid, 0, low[0], high[0]) + 1.0) * (LineEstimate(grid, 1, low[1], high[1]) + 1.0) <=
           double(maxCutCells);
}

bool CutsTriangle(const CutVertex corners[3], const CutGrid& grid)
{
    for (int axis = 0; axis < 2; ++axis) {
        double low, high;
        BoundsOf(corners, axis, low, high);
        if (!LinesBetween(grid, axis, low, high).empty()) {
            return true;
        }
    }
    return false;
}

void EdgeCrossings(const CutVertex& from, const CutVertex& to, const CutGrid& grid, std::vector<double>& at)
{
    std::vector<EdgeCrossing> crossings;
    CrossingsOf(from, to, grid, crossings);
    for (const EdgeCrossing& crossing : crossings) {
        at.push_back(crossing.at);
    }
}

bool CutTriangle(const CutVertex corners[3], const CutGrid& grid, std::vector<CutPiece>& pieces,
                 const CutEdges* edges)
{
    if (!CanCutTriangle(corners, grid)) {
        return false;
    }
    CutVertex finite[3];
    for (int c = 0; c < 3; ++c) {
        finite[c] = corners[c];
        for (double& st : finite[c].st) {
            st = Finite(st);
        }
    }
    double low[2], high[2];
    for (int axis = 0; axis < 2; ++axis) {
        BoundsOf(finite, axis, low[axis], high[axis]);
    }
    const bool keepFlat = Area(finite[0], finite[1], finite[2]) == 0.0;
    const std::vector<double> columnLines = LinesBetween(grid, 0, low[0], high[0]);
    if (columnLines.empty() && LinesBetween(grid, 1, low[1], high[1]).empty() &&
        (!edges || edges->count[0] + edges->count[1] + edges->count[2] == 0)) {
        // Inside one cell: the triangle as it is (most triangles of a model).
        AddCell(finite, 3, grid, keepFlat, pieces);
        return true;
    }
    // A line that crosses an edge so near one of its ends that the fraction rounds to 0 or 1 passes through that
    // end: the corner is set onto the line, so that the clipping makes no crossing there of its own.
    std::vector<EdgeCrossing> crossings;
    for (int k = 0; k < 3; ++k) {
        const bool reversed = edges ? edges->reversed[k] : Before(finite[(k + 1) % 3], finite[k]);
        CutVertex& a = finite[reversed ? (k + 1) % 3 : k];
        CutVertex& b = finite[reversed ? k : (k + 1) % 3];
        crossings.clear();
        CrossingsOf(a, b, grid, crossings);
        for (const EdgeCrossing& crossing : crossings) {
            if (!(crossing.at > 0.0 && crossing.at < 1.0)) {
                (crossing.at <= 0.0 ? a : b).st[crossing.axis] = crossing.line;
            }
        }
    }
    // The triangle's outline with every point its edges will have: the clipping then only cuts inside it.
    Polygon polygon;
    for (int k = 0; k < 3; ++k) {
        const CutVertex& from = finite[k];
        const CutVertex& to = finite[(k + 1) % 3];
        polygon.push_back(from);
        const bool reversed = edges ? edges->reversed[k] : Before(to, from);
        AddEdgePoints(from, to, reversed, edges ? edges->at[k] : nullptr, edges ? edges->count[k] : 0, grid, polygon);
    }
    // Columns first, each then cut into cells, every line in increasing order. The crossings made here all lie
    // inside the triangle, each made once and shared by the cells on both sides of its line.
    std::vector<Polygon> columns;
    Polygon rest = polygon, below, above;
    for (const double line : columnLines) {
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
                AddCell(below.data(), below.size(), grid, keepFlat, pieces);
            }
            rest.swap(above);
            if (rest.empty()) {
                break;
            }
        }
        if (!rest.empty()) {
            AddCell(rest.data(), rest.size(), grid, keepFlat, pieces);
        }
    }
    return true;
}

void SplitAtEdgePoints(const CutVertex corners[3], const CutEdges& edges, std::vector<CutPiece>& pieces)
{
    // The outline with every point, and whether each is a corner of what is left to triangulate.
    Polygon outline;
    std::vector<bool> corner;
    std::vector<double> at;
    for (int k = 0; k < 3; ++k) {
        const CutVertex& from = corners[k];
        const CutVertex& to = corners[(k + 1) % 3];
        outline.push_back(from);
        corner.push_back(true);
        at.assign(edges.at[k], edges.at[k] + edges.count[k]);
        at.erase(std::remove_if(at.begin(), at.end(), [](double u) { return !(u > 0.0 && u < 1.0); }), at.end());
        std::sort(at.begin(), at.end());
        at.erase(std::unique(at.begin(), at.end()), at.end());
        const size_t start = outline.size();
        for (const double u : at) {
            outline.push_back(edges.reversed[k] ? PointAt(to, from, u) : PointAt(from, to, u));
            corner.push_back(false);
        }
        if (edges.reversed[k]) {
            std::reverse(outline.begin() + long(start), outline.end());
        }
    }
    const bool keepAll = Collinear(corners[0], corners[1], corners[2]);
    const auto add = [&](const CutVertex& a, const CutVertex& b, const CutVertex& c) {
        if (keepAll || !Collinear(a, b, c)) {
            pieces.push_back(CutPiece{0, {a, b, c}});
        }
    };
    // Ears are cut at corners beside points on a side, each cut making those points corners, until every point
    // left is a corner; the rest is fanned.
    while (outline.size() > 3) {
        const size_t n = outline.size();
        size_t ear = n;
        for (size_t k = 0; k < n && ear == n; ++k) {
            if (corner[k] && (!corner[(k + n - 1) % n] || !corner[(k + 1) % n])) {
                ear = k;
            }
        }
        if (ear == n) {
            break;
        }
        add(outline[(ear + n - 1) % n], outline[ear], outline[(ear + 1) % n]);
        corner[(ear + n - 1) % n] = true;
        corner[(ear + 1) % n] = true;
        outline.erase(outline.begin() + long(ear));
        corner.erase(corner.begin() + long(ear));
    }
    for (size_t k = 1; k + 1 < outline.size(); ++k) {
        add(outline[0], outline[k], outline[k + 1]);
    }
}
