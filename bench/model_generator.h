#ifndef POLVANE_BENCH_MODEL_GENERATOR_H
#define POLVANE_BENCH_MODEL_GENERATOR_H

#include <string>

// Deterministic test models for the benchmark and the golden bench-* cases: a sphere, a torus and a wavy grid,
// written as OBJ text the way common exporters write it (six decimals per number). The same arguments always give the
// same bytes on the same C library.
namespace polvane {
namespace bench {

enum class Shape { Sphere, Torus, Grid };

// Full models carry positions, texture coordinates and normals, and faces of the form a/b/c;
// plain models carry positions only, and faces of the form a b c.
enum class Attributes { Full, Plain };

struct ModelInfo {
    long triangles = 0; // triangles after fanning the faces, as the converter counts them
    long positions = 0; // "v" records
};

const char* ShapeName(Shape shape);
const char* AttributesName(Attributes attributes);
bool ParseShape(const std::string& text, Shape* shape);
bool ParseAttributes(const std::string& text, Attributes* attributes);

// Builds the OBJ text of a model with about `targetTriangles` triangles (at least a few dozen whatever the target).
// The sphere is made of quads with triangle fans at the poles, the torus of triangles, the grid of quads; texture
// coordinates in full models have seams, so corners are welded from differing position, texture and normal
// references.
std::string GenerateModel(Shape shape, Attributes attributes, long targetTriangles, ModelInfo* info);

// Writes GenerateModel's text to `path`; false when the file cannot be written.
bool WriteModelFile(const std::string& path, Shape shape, Attributes attributes, long targetTriangles,
                    ModelInfo* info);

} // namespace bench
} // namespace polvane

#endif
