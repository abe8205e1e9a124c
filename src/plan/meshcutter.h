#ifndef POLVANE_MESHCUTTER_H
#define POLVANE_MESHCUTTER_H

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

// Clips the triangle in texture space against the grid's lines and appends its pieces (fans of the convex cells'
// polygons, winding kept) to pieces. A point where a line crosses an edge is interpolated from the edge's two
// ends taken in a fixed order (by their values, not by the triangle's corner order), so triangles sharing an
// edge make the same new vertex there. Pieces of no area in texture space are left out unless the triangle has
// none itself. A non-finite coordinate counts as 0. False, and nothing appended, when the triangle cannot be cut.
bool CutTriangle(const CutVertex corners[3], const CutGrid& grid, std::vector<CutPiece>& pieces);

#endif
