#ifndef POLVANE_OBJGROUPS_H
#define POLVANE_OBJGROUPS_H

#include <cstdint>
#include <string>
#include <vector>

#include "model/objfile.h"
#include "model/vector2d.h"
#include "model/vector3d.h"

// What a model holds beyond its geometry, read when materials are asked for: the material libraries it names,
// which material and which part each triangle belongs to, vertex colours, and the records themselves so that
// corners can be welded again per material.
struct ObjGroups {
    struct Library {
        std::string names;  // the rest of the "mtllib" line
        uint64_t line;
    };
    std::vector<Library> libraries;
    std::vector<std::string> materialNames;  // in order of first use; "" for faces before any "usemtl"
    std::vector<uint64_t> materialLines;     // per name, its first "usemtl" line (for "", the first face's)
    std::vector<std::string> partNames;      // in order of first use; "" for faces before any "o" or "g"

    // Per triangle of the model, in the order of its indices.
    std::vector<uint32_t> triangleMaterial;
    std::vector<uint32_t> trianglePart;
    std::vector<uint32_t> triangleFace;  // triangles of one face share a number

    // The file's records, and the references of each vertex of the model (vertex k has corner[k]).
    std::vector<Vector3D> positions;
    std::vector<Vector2D> texCoords;
    std::vector<Vector3D> normals;  // scaled to unit length
    std::vector<Vector3D> colours;  // per position, 0 to 1; empty when no "v" record carries a colour
    std::vector<ObjAttribute> corner;
};

#endif
