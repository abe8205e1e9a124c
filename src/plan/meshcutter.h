#ifndef POLVANE_MESHCUTTER_H
#define POLVANE_MESHCUTTER_H

#include <cstddef>
#include <cstdint>
#include <vector>

// A corner of a triangle to cut: its texture coordinate in texels of the image (texel k spans k to k + 1, no
// half-texel offset), and the values carried along with it (position, normal, colour), interpolated at cuts.
struct CutVertex {
    double st[2];
    double values[9];
};

// The lines a texture's tiles are cut along, per axis (0: s, 1: t). A wrapping axis repeats every period texels
// and has lines at every whole repeat plus k * pitch for k = 1 .. count - 1; a clamped axis (period 0) has only
// the lines k * pitch, its first and last tiles reaching out to the clamped edges.
struct CutGrid {
    double period[2];
    double pitch[2];
    int count[2];
};

// One triangle of a piece, in one tile (column + row * columns), its texture coordinates moved by whole repeats
// into the image's first repeat.
struct CutPiece {
    uint32_t tile;
    CutVertex corners[3];
};

// Most cells of the grid one triangle may cover; beyond it, or with texture coordinates of a size the cutting
// cannot hold, the triangle is not cut.
constexpr int maxCutCells = 4096;

// Points to add on a triangle's edges beside its own cuts, so that triangles sharing an edge by position but not
// by texture coordinates (a seam) still meet at the same points. Edge k runs from corner k to corner k + 1; its
// points are fractions of the way along it from one end to the other, the ends taken in an order both triangles
// agree on: from corner k + 1 when reversed[k]. The same fraction of the same ends gives the same position.
struct CutEdges {
    const double* at[3] = {nullptr, nullptr, nullptr};
    size_t count[3] = {0, 0, 0};
    bool reversed[3] = {false, false, false};
};

// False when the triangle cannot be cut: texture coordinates of a size the cutting cannot hold, or spread over
// more than maxCutCells cells. A non-finite coordinate counts as 0.
bool CanCutTriangle(const CutVertex corners[3], const CutGrid& grid);

// Whether any of the grid's lines crosses the triangle's texture-space bounds (else it lies in one cell).
bool CutsTriangle(const CutVertex corners[3], const CutGrid& grid);

// Appends where the grid's lines cross the edge from `from` to `to`, as fractions of the way (0 < u < 1), for an
// edge of a triangle that CanCutTriangle accepts. The same two ends in the same order give the same fractions.
void EdgeCrossings(const CutVertex& from, const CutVertex& to, const CutGrid& grid, std::vector<double>& at);

// Clips the triangle in texture space against the grid's lines and appends its pieces (the convex cells'
// polygons triangulated, winding kept) to pieces. Every point made on an edge of the triangle, its own cuts and
// the points edges adds, is interpolated from the edge's two ends in a fixed order (the one edges gives, else by
// their values), so triangles sharing an edge make the same vertices there and the mesh stays watertight. Pieces
// of no area, in texture space and in space, are left out unless the triangle has no texture area itself; a
// cell with points on its sides keeps all its pieces. A non-finite coordinate counts as 0. False, and nothing
// appended, when the triangle cannot be cut.
bool CutTriangle(const CutVertex corners[3], const CutGrid& grid, std::vector<CutPiece>& pieces,
                 const CutEdges* edges = nullptr);

// Splits a triangle that is not cut itself at the points edges gives (fractions strictly between 0 and 1), each
// interpolated from its edge's ends in the order edges gives, as CutTriangle makes them, so that the triangle
// meets a cut neighbour at every point of their shared edge. Appends its pieces (tile 0, winding kept, the
// corners copied unchanged); pieces of no area in space are left out unless the triangle has none itself.
void SplitAtEdgePoints(const CutVertex corners[3], const CutEdges& edges, std::vector<CutPiece>& pieces);

#endif
