// Writes one benchmark model: generate_models SHAPE ATTRIBUTES TRIANGLES OUTPUT.obj
// SHAPE is sphere, torus or grid; ATTRIBUTES is full (v/vt/vn, faces a/b/c) or plain (v, faces a b c).
// Prints the model's exact triangle count on standard output.
#include "model_generator.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    using namespace polvane::bench;
    Shape shape = Shape::Torus;
    Attributes attributes = Attributes::Full;
    char* end = nullptr;
    long triangles = argc == 5 ? std::strtol(argv[3], &end, 10) : 0;
    if (argc != 5 || !ParseShape(argv[1], &shape) || !ParseAttributes(argv[2], &attributes) || *end != '\0' ||
        triangles < 1) {
        std::fprintf(stderr, "usage: generate_models sphere|torus|grid full|plain TRIANGLES OUTPUT.obj\n");
        return 2;
    }
    ModelInfo info;
    if (!WriteModelFile(argv[4], shape, attributes, triangles, &info)) {
        std::fprintf(stderr, "generate_models: cannot write %s\n", argv[4]);
        return 1;
    }
    std::printf("%ld\n", info.triangles);
    return 0;
}
