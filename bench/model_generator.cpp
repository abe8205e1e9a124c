#include "model_generator.h"

#include <cmath>
#include <cstdio>
#include <fstream>

namespace polvane {
namespace bench {

namespace {

const double pi = 3.14159265358979323846;

class ObjText {
public:
    explicit ObjText(std::string* text) : out(text) {}

    void Comment(const std::string& line) { *out += "# " + line + "\n"; }
    void Line(const std::string& line) { *out += line + "\n"; }

    void Position(double x, double y, double z) { Record("v %.6f %.6f %.6f\n", x, y, z); }
    void TexCoord(double u, double v) { Record("vt %.6f %.6f\n", u, v); }
    void Normal(double x, double y, double z)
    {
        double length = std::sqrt(x * x + y * y + z * z);
        Record("vn %.6f %.6f %.6f\n", x / length, y / length, z / length);
    }

    // One face; each corner is written "p/t/n" when the model is full and "p" when it is plain.
    void Face(bool full, const long* p, const long* t, const long* n, int corners)
    {
        char buffer[128];
        *out += "f";
        for (int c = 0; c < corners; ++c) {
            int length = full ? std::snprintf(buffer, sizeof buffer, " %ld/%ld/%ld", p[c], t[c], n[c])
                              : std::snprintf(buffer, sizeof buffer, " %ld", p[c]);
            out->append(buffer, static_cast<size_t>(length));
        }
        *out += "\n";
    }

private:
    template <typename... Values>
    void Record(const char* format, Values... values)
    {
        char buffer[128];
        int length = std::snprintf(buffer, sizeof buffer, format, values...);
        out->append(buffer, static_cast<size_t>(length));
    }

    std::string* out;
};

long RoundToLong(double value) { return static_cast<long>(std::floor(value + 0.5)); }

long AtLeast(long minimum, long value) { return value < minimum ? minimum : value; }

// Torus around the z axis: nu steps around the axis, nv around the tube; two triangles per cell. Positions and
// normals are shared across the seams, texture coordinates are not.
void Torus(ObjText& obj, bool full, long target, ModelInfo* info)
{
    const long nv = AtLeast(3, RoundToLong(std::sqrt(target / 4.0)));
    const long nu = AtLeast(3, RoundToLong(target / (2.0 * nv)));
    const double major = 0.65;
    const double minor = 0.3;

    for (long i = 0; i < nu; ++i) {
        for (long j = 0; j < nv; ++j) {
            double u = 2 * pi * i / nu;
            double v = 2 * pi * j / nv;
            obj.Position((major + minor * std::cos(v)) * std::cos(u), (major + minor * std::cos(v)) * std::sin(u),
                         minor * std::sin(v));
        }
    }
    if (full) {
        for (long i = 0; i <= nu; ++i) {
            for (long j = 0; j <= nv; ++j) {
                obj.TexCoord(static_cast<double>(i) / nu, static_cast<double>(j) / nv);
            }
        }
        for (long i = 0; i < nu; ++i) {
            for (long j = 0; j < nv; ++j) {
                double u = 2 * pi * i / nu;
                double v = 2 * pi * j / nv;
                obj.Normal(std::cos(v) * std::cos(u), std::cos(v) * std::sin(u), std::sin(v));
            }
        }
    }
    obj.Line("s 1");

    auto position = [&](long i, long j) { return (i % nu) * nv + (j % nv) + 1; };
    auto texCoord = [&](long i, long j) { return i * (nv + 1) + j + 1; };
    for (long i = 0; i < nu; ++i) {
        for (long j = 0; j < nv; ++j) {
            const long ci[4] = {i, i + 1, i + 1, i};
            const long cj[4] = {j, j, j + 1, j + 1};
            long p[4];
            long t[4];
            for (int c = 0; c < 4; ++c) {
                p[c] = position(ci[c], cj[c]);
                t[c] = texCoord(ci[c], cj[c]);
            }
            const long p2[3] = {p[0], p[2], p[3]};
            const long t2[3] = {t[0], t[2], t[3]};
            obj.Face(full, p, t, p, 3);
            obj.Face(full, p2, t2, p2, 3);
        }
    }
    info->triangles = 2 * nu * nv;
    info->positions = nu * nv;
}

// Sphere of radius 0.9 around the origin: `rings` bands of latitude from the north pole (ring 0) to the south
// pole (ring `rings`), `segments` steps of longitude. The caps are triangles around a single pole position whose
// texture coordinate differs per segment; the bands between them are quads.
void Sphere(ObjText& obj, bool full, long target, ModelInfo* info)
{
    const long rings = AtLeast(3, RoundToLong(std::sqrt(target / 4.0)));
    const long segments = AtLeast(3, RoundToLong(target / (2.0 * (rings - 1))));
    const double radius = 0.9;

    auto direction = [&](long k, long j, double* x, double* y, double* z) {
        double theta = pi * k / rings;
        double phi = 2 * pi * j / segments;
        *x = std::sin(theta) * std::cos(phi);
        *y = std::sin(theta) * std::sin(phi);
        *z = std::cos(theta);
    };
    // The same order serves the positions and the normals.
    auto eachPoint = [&](auto emit) {
        emit(0.0, 0.0, 1.0);
        for (long k = 1; k < rings; ++k) {
            for (long j = 0; j < segments; ++j) {
                double x, y, z;
                direction(k, j, &x, &y, &z);
                emit(x, y, z);
            }
        }
        emit(0.0, 0.0, -1.0);
    };
    eachPoint([&](double x, double y, double z) { obj.Position(radius * x, radius * y, radius * z); });
    if (full) {
        for (long k = 0; k <= rings; ++k) {
            for (long j = 0; j <= segments; ++j) {
                obj.TexCoord(static_cast<double>(j) / segments, 1.0 - static_cast<double>(k) / rings);
            }
        }
        eachPoint([&](double x, double y, double z) { obj.Normal(x, y, z); });
    }
    obj.Line("s 1");

    const long southPole = 2 + (rings - 1) * segments;
    auto position = [&](long k, long j) {
        if (k == 0) {
            return 1L;
        }
        if (k == rings) {
            return southPole;
        }
        return 2 + (k - 1) * segments + (j % segments);
    };
    auto texCoord = [&](long k, long j) { return k * (segments + 1) + j + 1; };
    for (long k = 0; k < rings; ++k) {
        for (long j = 0; j < segments; ++j) {
            long ck[4];
            long cj[4];
            int corners = 4;
            if (k == 0) {
                corners = 3;
                ck[0] = 0, ck[1] = 1, ck[2] = 1;
                cj[0] = j, cj[1] = j, cj[2] = j + 1;
            } else if (k == rings - 1) {
                corners = 3;
                ck[0] = k, ck[1] = k + 1, ck[2] = k;
                cj[0] = j, cj[1] = j, cj[2] = j + 1;
            } else {
                ck[0] = k, ck[1] = k + 1, ck[2] = k + 1, ck[3] = k;
                cj[0] = j, cj[1] = j, cj[2] = j + 1, cj[3] = j + 1;
            }
            long p[4];
            long t[4];
            for (int c = 0; c < corners; ++c) {
                p[c] = position(ck[c], cj[c]);
                t[c] = texCoord(ck[c], cj[c]);
            }
            obj.Face(full, p, t, p, corners);
        }
    }
    info->triangles = 2 * segments * (rings - 1);
    info->positions = southPole;
}

// A wavy square sheet over [-1, 1] x [-1, 1] made of n x n quads; position, texture and normal numbers of a corner
// are all the same, as many exporters write them.
void Grid(ObjText& obj, bool full, long target, ModelInfo* info)
{
    const long n = AtLeast(2, RoundToLong(std::sqrt(target / 2.0)));
    auto coordinate = [&](long i) { return -1.0 + 2.0 * i / n; };
    auto height = [](double x, double y) { return 0.1 * std::sin(3 * x) * std::cos(3 * y); };

    for (long j = 0; j <= n; ++j) {
        for (long i = 0; i <= n; ++i) {
            obj.Position(coordinate(i), coordinate(j), height(coordinate(i), coordinate(j)));
        }
    }
    if (full) {
        for (long j = 0; j <= n; ++j) {
            for (long i = 0; i <= n; ++i) {
                obj.TexCoord(static_cast<double>(i) / n, static_cast<double>(j) / n);
            }
        }
        for (long j = 0; j <= n; ++j) {
            for (long i = 0; i <= n; ++i) {
                double x = coordinate(i);
                double y = coordinate(j);
                obj.Normal(-0.3 * std::cos(3 * x) * std::cos(3 * y), 0.3 * std::sin(3 * x) * std::sin(3 * y), 1.0);
            }
        }
    }
    obj.Line("s off");

    auto corner = [&](long i, long j) { return j * (n + 1) + i + 1; };
    for (long j = 0; j < n; ++j) {
        for (long i = 0; i < n; ++i) {
            const long p[4] = {corner(i, j), corner(i + 1, j), corner(i + 1, j + 1), corner(i, j + 1)};
            obj.Face(full, p, p, p, 4);
        }
    }
    info->triangles = 2 * n * n;
    info->positions = (n + 1) * (n + 1);
}

} // namespace

const char* ShapeName(Shape shape)
{
    switch (shape) {
    case Shape::Sphere:
        return "sphere";
    case Shape::Torus:
        return "torus";
    case Shape::Grid:
        return "grid";
    }
    return "?";
}

const char* AttributesName(Attributes attributes) { return attributes == Attributes::Full ? "full" : "plain"; }

bool ParseShape(const std::string& text, Shape* shape)
{
    for (Shape candidate : {Shape::Sphere, Shape::Torus, Shape::Grid}) {
        if (text == ShapeName(candidate)) {
            *shape = candidate;
            return true;
        }
    }
    return false;
}

bool ParseAttributes(const std::string& text, Attributes* attributes)
{
    for (Attributes candidate : {Attributes::Full, Attributes::Plain}) {
        if (text == AttributesName(candidate)) {
            *attributes = candidate;
            return true;
        }
    }
    return false;
}

std::string GenerateModel(Shape shape, Attributes attributes, long targetTriangles, ModelInfo* info)
{
    std::string text;
    // Full models take about 100 bytes per triangle, plain ones about 40.
    text.reserve(static_cast<size_t>(AtLeast(64, targetTriangles)) * (attributes == Attributes::Full ? 110 : 45));
    ObjText obj(&text);
    obj.Comment(std::string("Polvane benchmark model: ") + ShapeName(shape) + ", " + AttributesName(attributes));
    obj.Line(std::string("o ") + ShapeName(shape));
    const bool full = attributes == Attributes::Full;
    ModelInfo unused;
    ModelInfo* result = info ? info : &unused;
    switch (shape) {
    case Shape::Sphere:
        Sphere(obj, full, targetTriangles, result);
        break;
    case Shape::Torus:
        Torus(obj, full, targetTriangles, result);
        break;
    case Shape::Grid:
        Grid(obj, full, targetTriangles, result);
        break;
    }
    return text;
}

bool WriteModelFile(const std::string& path, Shape shape, Attributes attributes, long targetTriangles,
                    ModelInfo* info)
{
    const std::string text = GenerateModel(shape, attributes, targetTriangles, info);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    return static_cast<bool>(file);
}

} // namespace bench
} // namespace polvane
