// Times tinyobjloader's LoadObj (faces triangulated) on one file: loadobj_bench FILE.obj [RUNS]
// Prints the median wall time and the median processor time of RUNS loads in milliseconds, then the triangle
// count it found.
#include <tiny_obj_loader.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: loadobj_bench FILE.obj [RUNS]\n");
        return 2;
    }
    const int runs = argc == 3 ? std::atoi(argv[2]) : 5;
    if (runs < 1) {
        std::fprintf(stderr, "loadobj_bench: RUNS must be at least 1\n");
        return 2;
    }
    std::vector<double> times;
    std::vector<double> processorTimes;
    size_t triangles = 0;
    for (int run = 0; run < runs; ++run) {
        tinyobj::attrib_t attrib;
        std::vector<tinyobj::shape_t> shapes;
        std::vector<tinyobj::material_t> materials;
        std::string warn;
        std::string err;
        const std::clock_t processorStart = std::clock();
        const auto start = std::chrono::steady_clock::now();
        const bool loaded = tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, argv[1], nullptr, true);
        const auto stop = std::chrono::steady_clock::now();
        const std::clock_t processorStop = std::clock();
        if (!loaded) {
            std::fprintf(stderr, "loadobj_bench: LoadObj failed on %s: %s\n", argv[1], err.c_str());
            return 1;
        }
        triangles = 0;
        for (const tinyobj::shape_t& shape : shapes) {
            triangles += shape.mesh.num_face_vertices.size();
        }
        times.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
        processorTimes.push_back(1e3 * double(processorStop - processorStart) / CLOCKS_PER_SEC);
    }
    std::sort(times.begin(), times.end());
    std::sort(processorTimes.begin(), processorTimes.end());
    std::printf("%.3f %.3f %zu\n", times[times.size() / 2], processorTimes[processorTimes.size() / 2], triangles);
    return 0;
}
