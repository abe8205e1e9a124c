#ifndef POLVANE_BENCH_CACHEBENCH_MESHES_H
#define POLVANE_BENCH_CACHEBENCH_MESHES_H

#include <cstdint>
#include <string>
#include <vector>

// Indexed triangle meshes for the vertex-cache benchmark, numbered the way the converter numbers vertices:
// corners welded on their position, texture and normal references, vertices in order of first appearance.
namespace cachebench {

struct Mesh {
    std::string name;
    std::vector<float> positions;   // three per vertex
    std::vector<uint32_t> indices;  // three per triangle, in drawing order
    uint32_t numVertices = 0;
};

// Generated models; `size` is a rough triangle count.
Mesh MakeSphere(int size);    // latitude/longitude sphere with a texture seam, fans at the poles
Mesh MakeTorus(int size);     // closed torus, no seams
Mesh MakeGrid(int size);      // square grid of quads split in two triangles
Mesh MakeCharacter(int size); // tubes and a head with many texture islands, and flat-shaded boxes

// Reads an OBJ file: faces fanned from their first corner, corners welded on their reference triple.
// False when the file cannot be read or has no face.
bool ReadObj(const std::string& path, Mesh* mesh);

} // namespace cachebench

#endif
