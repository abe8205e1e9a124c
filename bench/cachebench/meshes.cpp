#include "meshes.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

namespace cachebench {

namespace {

const float pi = 3.14159265358979f;

// Numbers corners in order of first appearance of their (position, texture, normal) key.
class Welder {
public:
    explicit Welder(Mesh* meshIn) : mesh(meshIn) {}

    uint32_t Corner(int position, int texture, int normal, float x, float y, float z)
    {
        auto key = std::make_tuple(position, texture, normal);
        auto found = numbers.find(key);
        if (found != numbers.end()) {
            return found->second;
        }
        uint32_t number = mesh->numVertices++;
        numbers.emplace(key, number);
        mesh->positions.push_back(x);
        mesh->positions.push_back(y);
        mesh->positions.push_back(z);
        return number;
    }

    void Triangle(uint32_t a, uint32_t b, uint32_t c)
    {
        mesh->indices.push_back(a);
        mesh->indices.push_back(b);
        mesh->indices.push_back(c);
    }

private:
    Mesh* mesh;
    std::map<std::tuple<int, int, int>, uint32_t> numbers;
};

struct Point {
    float x, y, z;
};

// A closed tube along y from y0 to y1 with `rows` rings of `segments` points; its side is cut into `islands`
// texture islands, and each end is closed by a fan around a centre point in an island of its own.
void AddTube(Welder& welder, int& nextPosition, int& nextTexture, Point base, float radius, float length, int rows,
             int segments, int islands)
{
    int first = nextPosition;
    auto position = [&](int ring, int segment) {
        float angle = 2.0f * pi * static_cast<float>(segment % segments) / static_cast<float>(segments);
        float bulge = 1.0f + 0.2f * std::sin(pi * static_cast<float>(ring) / static_cast<float>(rows - 1));
        Point p{base.x + radius * bulge * std::cos(angle),
                base.y + length * static_cast<float>(ring) / static_cast<float>(rows - 1),
                base.z + radius * bulge * std::sin(angle)};
        return p;
    };
    auto corner = [&](int ring, int segment, int texture) {
        Point p = position(ring, segment);
        return welder.Corner(first + ring * segments + segment % segments, texture, 0, p.x, p.y, p.z);
    };
    for (int ring = 0; ring + 1 < rows; ++ring) {
        for (int segment = 0; segment < segments; ++segment) {
            int texture = nextTexture + segment * islands / segments;
            uint32_t a = corner(ring, segment, texture);
            uint32_t b = corner(ring, segment + 1, texture);
            uint32_t c = corner(ring + 1, segment + 1, texture);
            uint32_t d = corner(ring + 1, segment, texture);
            welder.Triangle(a, b, c);
            welder.Triangle(a, c, d);
        }
    }
    nextPosition += rows * segments;
    int capTexture = nextTexture + islands;
    for (int end = 0; end < 2; ++end) {
        int ring = end == 0 ? 0 : rows - 1;
        Point centre{base.x, base.y + (end == 0 ? 0.0f : length), base.z};
        uint32_t middle = welder.Corner(nextPosition++, capTexture + end, 0, centre.x, centre.y, centre.z);
        for (int segment = 0; segment < segments; ++segment) {
            uint32_t a = corner(ring, segment, capTexture + end);
            uint32_t b = corner(ring, segment + 1, capTexture + end);
            if (end == 0) {
                welder.Triangle(middle, b, a);
            } else {
                welder.Triangle(middle, a, b);
            }
        }
    }
    nextTexture += islands + 2;
}

// A latitude/longitude sphere; its side is cut into `islands` texture islands along meridians, and each pole
// point has one texture coordinate per segment, as exporters write it.
void AddSphere(Welder& welder, int& nextPosition, int& nextTexture, Point centre, float radius, int rings,
               int segments, int islands)
{
    int first = nextPosition;
    int southPole = first + (rings - 1) * segments;
    int northPole = southPole + 1;
    auto point = [&](int ring, int segment) {
        float theta = pi * static_cast<float>(ring) / static_cast<float>(rings);
        float phi = 2.0f * pi * static_cast<float>(segment % segments) / static_cast<float>(segments);
        Point p{centre.x + radius * std::sin(theta) * std::cos(phi), centre.y - radius * std::cos(theta),
                centre.z + radius * std::sin(theta) * std::sin(phi)};
        return p;
    };
    auto corner = [&](int ring, int segment, int texture) {
        Point p = point(ring, segment);
        if (ring == 0) {
            return welder.Corner(southPole, nextTexture + islands + segment, 0, p.x, p.y, p.z);
        }
        if (ring == rings) {
            return welder.Corner(northPole, nextTexture + islands + segments + segment, 0, p.x, p.y, p.z);
        }
        return welder.Corner(first + (ring - 1) * segments + segment % segments, texture, 0, p.x, p.y, p.z);
    };
    for (int ring = 0; ring < rings; ++ring) {
        for (int segment = 0; segment < segments; ++segment) {
            int texture = nextTexture + segment * islands / segments;
            uint32_t a = corner(ring, segment, texture);
            uint32_t b = corner(ring, segment + 1, texture);
            uint32_t c = corner(ring + 1, segment + 1, texture);
            uint32_t d = corner(ring + 1, segment, texture);
            if (ring == 0) {
                welder.Triangle(a, c, d);
            } else if (ring == rings - 1) {
                welder.Triangle(a, b, c);
            } else {
                welder.Triangle(a, b, c);
                welder.Triangle(a, c, d);
            }
        }
    }
    nextPosition = northPole + 1;
    nextTexture += islands + 2 * segments;
}

// A box with every face split into n by n quads and flat shading: each face has its own normal.
void AddBox(Welder& welder, int& nextPosition, Point base, float size, int n)
{
    for (int face = 0; face < 6; ++face) {
        int axis = face / 2;
        float side = face % 2 == 0 ? 0.0f : size;
        auto corner = [&](int u, int v) {
            float fu = size * static_cast<float>(u) / static_cast<float>(n);
            float fv = size * static_cast<float>(v) / static_cast<float>(n);
            Point p = axis == 0 ? Point{side, fu, fv} : axis == 1 ? Point{fu, side, fv} : Point{fu, fv, side};
            int position = nextPosition + face * (n + 1) * (n + 1) + u * (n + 1) + v;
            return welder.Corner(position, 0, face, base.x + p.x, base.y + p.y, base.z + p.z);
        };
        for (int u = 0; u < n; ++u) {
            for (int v = 0; v < n; ++v) {
                uint32_t a = corner(u, v);
                uint32_t b = corner(u + 1, v);
                uint32_t c = corner(u + 1, v + 1);
                uint32_t d = corner(u, v + 1);
                welder.Triangle(a, b, c);
                welder.Triangle(a, c, d);
            }
        }
    }
    nextPosition += 6 * (n + 1) * (n + 1);
}

int Root(double value)
{
    return std::max(2, static_cast<int>(std::lround(std::sqrt(value))));
}

} // namespace

Mesh MakeSphere(int size)
{
    Mesh mesh;
    mesh.name = "sphere-" + std::to_string(size);
    Welder welder(&mesh);
    int position = 0;
    int texture = 0;
    int rings = Root(size / 4.0);
    AddSphere(welder, position, texture, Point{0, 0, 0}, 1.0f, rings, 2 * rings, 1);
    return mesh;
}

Mesh MakeTorus(int size)
{
    Mesh mesh;
    mesh.name = "torus-" + std::to_string(size);
    Welder welder(&mesh);
    int minor = Root(size / 4.0);
    int major = 2 * minor;
    auto corner = [&](int i, int j) {
        i %= major;
        j %= minor;
        float u = 2.0f * pi * static_cast<float>(i) / static_cast<float>(major);
        float v = 2.0f * pi * static_cast<float>(j) / static_cast<float>(minor);
        float r = 1.0f + 0.3f * std::cos(v);
        return welder.Corner(i * minor + j, 0, 0, r * std::cos(u), 0.3f * std::sin(v), r * std::sin(u));
    };
    for (int i = 0; i < major; ++i) {
        for (int j = 0; j < minor; ++j) {
            uint32_t a = corner(i, j);
            uint32_t b = corner(i + 1, j);
            uint32_t c = corner(i + 1, j + 1);
            uint32_t d = corner(i, j + 1);
            welder.Triangle(a, b, d);
            welder.Triangle(b, c, d);
        }
    }
    return mesh;
}

Mesh MakeGrid(int size)
{
    Mesh mesh;
    mesh.name = "grid-" + std::to_string(size);
    Welder welder(&mesh);
    int n = Root(size / 2.0);
    auto corner = [&](int i, int j) {
        float x = static_cast<float>(i);
        float z = static_cast<float>(j);
        return welder.Corner(i * (n + 1) + j, 0, 0, x, 0.5f * std::sin(0.3f * x) * std::cos(0.2f * z), z);
    };
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            uint32_t a = corner(i, j);
            uint32_t b = corner(i + 1, j);
            uint32_t c = corner(i + 1, j + 1);
            uint32_t d = corner(i, j + 1);
            welder.Triangle(a, d, c);
            welder.Triangle(a, c, b);
        }
    }
    return mesh;
}

Mesh MakeCharacter(int size)
{
    Mesh mesh;
    mesh.name = "character-" + std::to_string(size);
    Welder welder(&mesh);
    int position = 0;
    int texture = 0;
    // Share of the triangles: torso 25 %, each limb 10 %, head 25 %, each foot 5 %.
    auto tubeShape = [&](double share, int& rows, int& segments) {
        segments = Root(size * share / 2.0);
        rows = std::max(2, segments + 1);
    };
    int rows = 0;
    int segments = 0;
    tubeShape(0.25, rows, segments);
    AddTube(welder, position, texture, Point{0, 1.0f, 0}, 0.35f, 1.2f, rows, segments, 4);
    Point limbs[4] = {{-0.5f, 1.4f, 0}, {0.5f, 1.4f, 0}, {-0.2f, 0.0f, 0}, {0.2f, 0.0f, 0}};
    for (Point limb : limbs) {
        tubeShape(0.10, rows, segments);
        AddTube(welder, position, texture, limb, 0.1f, 0.9f, rows, segments, 2);
    }
    int rings = Root(size * 0.25 / 4.0);
    AddSphere(welder, position, texture, Point{0, 2.6f, 0}, 0.3f, rings, 2 * rings, 6);
    int boxSide = Root(size * 0.05 / 12.0);
    AddBox(welder, position, Point{-0.3f, -0.2f, 0}, 0.2f, boxSide);
    AddBox(welder, position, Point{0.1f, -0.2f, 0}, 0.2f, boxSide);
    return mesh;
}

bool ReadObj(const std::string& path, Mesh* mesh)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::vector<float> filePositions;
    int numTextures = 0;
    int numNormals = 0;
    Welder welder(mesh);
    std::string line;
    std::vector<uint32_t> face;
    while (std::getline(in, line)) {
        std::istringstream record(line);
        std::string kind;
        record >> kind;
        if (kind == "v") {
            float x = 0, y = 0, z = 0;
            record >> x >> y >> z;
            filePositions.push_back(x);
            filePositions.push_back(y);
            filePositions.push_back(z);
        } else if (kind == "vt") {
            ++numTextures;
        } else if (kind == "vn") {
            ++numNormals;
        } else if (kind == "f") {
            face.clear();
            std::string token;
            int numPositions = static_cast<int>(filePositions.size() / 3);
            bool bad = false;
            while (record >> token) {
                int refs[3] = {0, 0, 0};
                int counts[3] = {numPositions, numTextures, numNormals};
                size_t start = 0;
                for (int k = 0; k < 3 && start <= token.size(); ++k) {
                    size_t slash = token.find('/', start);
                    std::string part = token.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
                    if (!part.empty()) {
                        int ref = std::atoi(part.c_str());
                        refs[k] = ref < 0 ? counts[k] + ref + 1 : ref;
                    }
                    if (slash == std::string::npos) {
                        break;
                    }
                    start = slash + 1;
                }
                if (refs[0] < 1 || refs[0] > numPositions) {
                    bad = true;
                    break;
                }
                const float* p = &filePositions[3 * static_cast<size_t>(refs[0] - 1)];
                face.push_back(welder.Corner(refs[0], refs[1], refs[2], p[0], p[1], p[2]));
            }
            if (bad) {
                continue;
            }
            for (size_t k = 1; k + 1 < face.size(); ++k) {
                welder.Triangle(face[0], face[k], face[k + 1]);
            }
        }
    }
    return !mesh->indices.empty();
}

} // namespace cachebench
