#include "reference_converter.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

namespace reference {

namespace {

// Single-precision vectors whose operations carry products and sums in double precision and round each result
// component to float once.
struct Vec2 {
    float x = 0;
    float y = 0;
};

struct Vec3 {
    float x = 0;
    float y = 0;
    float z = 0;
};

float Round(double value) { return static_cast<float>(value); }

Vec3 Add(const Vec3& a, const Vec3& b)
{
    return {Round(double(a.x) + b.x), Round(double(a.y) + b.y), Round(double(a.z) + b.z)};
}

Vec3 Subtract(const Vec3& a, const Vec3& b)
{
    return {Round(double(a.x) - b.x), Round(double(a.y) - b.y), Round(double(a.z) - b.z)};
}

Vec3 Cross(const Vec3& a, const Vec3& b)
{
    return {Round(double(a.y) * b.z - double(a.z) * b.y), Round(double(a.z) * b.x - double(a.x) * b.z),
            Round(double(a.x) * b.y - double(a.y) * b.x)};
}

Vec3 Normalize(const Vec3& v)
{
    float lengthSquared = Round(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z);
    float length = Round(std::sqrt(double(lengthSquared)));
    float reciprocal = Round(1.0 / double(length));
    return {Round(double(v.x) * reciprocal), Round(double(v.y) * reciprocal), Round(double(v.z) * reciprocal)};
}

bool IsFinite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

struct Attribute {
    int vertexIndex = -1;
    int texCoordIndex = -1;
    int normalIndex = -1;

    bool operator<(const Attribute& other) const
    {
        if (vertexIndex != other.vertexIndex) {
            return vertexIndex < other.vertexIndex;
        }
        if (texCoordIndex != other.texCoordIndex) {
            return texCoordIndex < other.texCoordIndex;
        }
        return normalIndex < other.normalIndex;
    }
};

// Reads one corner token with the C scan. False when the token is not one of v, v/t, v/t/n, v//n.
bool ParseCorner(const std::string& token, Attribute* attribute)
{
    int a = 0;
    int b = 0;
    int c = 0;
    if (std::strstr(token.c_str(), "//")) {
        if (std::sscanf(token.c_str(), "%d//%d", &a, &b) != 2) {
            return false;
        }
        *attribute = {a - 1, -1, b - 1};
    } else if (std::strchr(token.c_str(), '/')) {
        int read = std::sscanf(token.c_str(), "%d/%d/%d", &a, &b, &c);
        if (read < 2) {
            return false;
        }
        *attribute = {a - 1, b - 1, read == 3 ? c - 1 : -1};
    } else {
        if (std::sscanf(token.c_str(), "%d", &a) != 1) {
            return false;
        }
        *attribute = {a - 1, -1, -1};
    }
    return true;
}

struct Model {
    std::vector<Vec3> vertices;
    std::vector<Vec3> normals;
    std::vector<Vec2> texCoords; // empty when the file has no texture coordinates
    std::vector<uint32_t> indices;
};

// Smooth normals from the triangles; a triangle without a direction adds nothing, and a vertex left without a
// direction gets the zero vector.
void ComputeNormals(Model* model)
{
    for (Vec3& normal : model->normals) {
        normal = Vec3();
    }
    for (size_t k = 0; k + 2 < model->indices.size(); k += 3) {
        const Vec3& a = model->vertices[model->indices[k]];
        const Vec3& b = model->vertices[model->indices[k + 1]];
        const Vec3& c = model->vertices[model->indices[k + 2]];
        Vec3 n = Normalize(Cross(Subtract(c, b), Subtract(a, b)));
        if (!IsFinite(n)) {
            continue;
        }
        for (size_t corner = 0; corner < 3; ++corner) {
            Vec3& sum = model->normals[model->indices[k + corner]];
            sum = Add(sum, n);
        }
    }
    for (Vec3& normal : model->normals) {
        Vec3 n = Normalize(normal);
        normal = IsFinite(n) ? n : Vec3();
    }
}

bool Load(const std::string& path, Model* model, std::string* problem)
{
    std::ifstream file(path);
    if (!file) {
        *problem = "cannot open " + path;
        return false;
    }
    std::vector<Vec3> positionList;
    std::vector<Vec2> texCoordList;
    std::vector<Vec3> normalList;
    std::vector<Attribute> corners;
    std::map<Attribute, uint32_t> weldingMap;
    auto weld = [&](const Attribute& attribute) {
        if (weldingMap.find(attribute) == weldingMap.end()) {
            uint32_t number = static_cast<uint32_t>(weldingMap.size());
            weldingMap[attribute] = number;
        }
    };

    std::string line;
    long lineNumber = 0;
    while (file.good()) {
        std::getline(file, line);
        ++lineNumber;
        std::istringstream lineStream(line);
        std::string keyword;
        lineStream >> keyword;
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (keyword == "v") {
            Vec3 v;
            if (!(lineStream >> v.x >> v.y >> v.z)) {
                *problem = where + "position needs three numbers";
                return false;
            }
            positionList.push_back(v);
        } else if (keyword == "vt") {
            Vec2 t;
            if (!(lineStream >> t.x >> t.y)) {
                *problem = where + "texture coordinate needs two numbers";
                return false;
            }
            texCoordList.push_back(t);
        } else if (keyword == "vn") {
            Vec3 n;
            if (!(lineStream >> n.x >> n.y >> n.z)) {
                *problem = where + "normal needs three numbers";
                return false;
            }
            n = Normalize(n);
            if (!IsFinite(n)) {
                *problem = where + "normal of zero length";
                return false;
            }
            normalList.push_back(n);
        } else if (keyword == "f") {
            const size_t faceStart = corners.size();
            std::string token;
            for (int k = 0; k < 3; ++k) {
                Attribute attribute;
                if (!(lineStream >> token) || !ParseCorner(token, &attribute)) {
                    *problem = where + "face needs three well-formed corners";
                    return false;
                }
                corners.push_back(attribute);
                weld(attribute);
            }
            while (lineStream >> token) {
                Attribute attribute;
                if (!ParseCorner(token, &attribute)) {
                    *problem = where + "malformed corner " + token;
                    return false;
                }
                corners.push_back(corners[faceStart]);
                corners.push_back(corners[corners.size() - 2]);
                corners.push_back(attribute);
                weld(attribute);
            }
        }
    }

    if (weldingMap.empty() || corners.empty() || corners.size() % 3 != 0) {
        *problem = "no faces";
        return false;
    }
    for (const Attribute& corner : corners) {
        bool inRange = corner.vertexIndex >= 0 && size_t(corner.vertexIndex) < positionList.size();
        if (!texCoordList.empty()) {
            inRange = inRange && corner.texCoordIndex >= -1 && corner.texCoordIndex < int(texCoordList.size());
        }
        if (!normalList.empty()) {
            inRange = inRange && corner.normalIndex >= -1 && corner.normalIndex < int(normalList.size());
        }
        if (!inRange) {
            *problem = "reference out of range";
            return false;
        }
    }

    const size_t numVertices = weldingMap.size();
    model->vertices.assign(numVertices, Vec3());
    model->normals.assign(numVertices, Vec3());
    model->texCoords.assign(texCoordList.empty() ? 0 : numVertices, Vec2());
    bool hasNormals = !normalList.empty();
    for (const auto& entry : weldingMap) {
        const Attribute& a = entry.first;
        const uint32_t k = entry.second;
        model->vertices[k] = positionList[size_t(a.vertexIndex)];
        if (hasNormals) {
            if (a.normalIndex < 0) {
                hasNormals = false;
            } else {
                model->normals[k] = normalList[size_t(a.normalIndex)];
            }
        }
        if (!texCoordList.empty()) {
            model->texCoords[k] = a.texCoordIndex >= 0 ? texCoordList[size_t(a.texCoordIndex)] : Vec2();
        }
    }
    for (const Attribute& corner : corners) {
        model->indices.push_back(weldingMap[corner]);
    }
    if (!hasNormals) {
        ComputeNormals(model);
    }
    return true;
}

int Clamp16(double v)
{
    if (v > 32767) {
        return 32767;
    }
    if (v < -32768) {
        return -32768;
    }
    if (std::isnan(v)) {
        return 0;
    }
    return static_cast<int>(v);
}

int Clamp8(double v)
{
    if (v > 127) {
        return 127;
    }
    if (v < -128) {
        return -128;
    }
    if (std::isnan(v)) {
        return 0;
    }
    return static_cast<int>(v);
}

void WriteVertexRows(std::ostream& out, const Model& model, const Settings& settings)
{
    for (size_t i = 0; i < model.vertices.size(); ++i) {
        const Vec3& position = model.vertices[i];
        Vec2 texCoord = model.texCoords.empty() ? Vec2() : model.texCoords[i];
        texCoord.y = Round(1.0 - double(texCoord.y));
        out << std::dec << "    { " << Clamp16(double(position.x) * settings.scale) << ", "
            << Clamp16(double(position.y) * settings.scale) << ", " << Clamp16(double(position.z) * settings.scale)
            << ", "
            << "0, " << Clamp16(double(texCoord.x) * settings.sScale * 2048) << ", "
            << Clamp16(double(texCoord.y) * settings.tScale * 2048) << ", ";
        if (settings.useNormals) {
            const Vec3& normal = model.normals[i];
            out << Clamp8(double(normal.x) * 128) << ", " << Clamp8(double(normal.y) * 128) << ", "
                << Clamp8(double(normal.z) * 128) << ", ";
        } else {
            out << "0x" << std::hex << int(settings.red) << ", 0x" << int(settings.green) << ", 0x"
                << int(settings.blue) << ", ";
        }
        out << "0x" << std::hex << int(settings.alpha) << " },\n";
    }
}

const int maxVertCacheSize = 16;

bool Contains(int index, const int* vertCache, int vertCacheSize)
{
    for (int k = 0; k < vertCacheSize; ++k) {
        if (vertCache[k] == index) {
            return true;
        }
    }
    return false;
}

int IndexOf(int index, const int* vertCache, int vertCacheSize)
{
    for (int k = 0; k < vertCacheSize; ++k) {
        if (vertCache[k] == index) {
            return k;
        }
    }
    return -1;
}

void InsertSorted(int index, int* vertCache, int& vertCacheSize)
{
    int position = 0;
    while (position < vertCacheSize && vertCache[position] <= index) {
        ++position;
    }
    for (int k = vertCacheSize; k > position; --k) {
        vertCache[k] = vertCache[k - 1];
    }
    vertCache[position] = index;
    ++vertCacheSize;
}

bool Degenerate(int a, int b, int c) { return a == b || a == c || b == c; }

void WriteDisplayListRows(std::ostream& out, const std::string& name, const Model& model)
{
    const std::vector<uint32_t>& indices = model.indices;
    const size_t numIndices = indices.size();
    size_t i = 0;
    while (i < numIndices) {
        int vertCache[maxVertCacheSize];
        for (int& entry : vertCache) {
            entry = -1;
        }
        int vertCacheSize = 0;
        size_t triangleCount = 0;
        for (size_t j = i; j < numIndices; j += 3) {
            int index1 = int(indices[j]);
            int index2 = int(indices[j + 1]);
            int index3 = int(indices[j + 2]);
            if (Degenerate(index1, index2, index3)) {
                ++triangleCount;
                continue;
            }
            int newVertices = 0;
            newVertices += Contains(index1, vertCache, vertCacheSize) ? 0 : 1;
            newVertices += Contains(index2, vertCache, vertCacheSize) ? 0 : 1;
            newVertices += Contains(index3, vertCache, vertCacheSize) ? 0 : 1;
            if (vertCacheSize + newVertices > maxVertCacheSize) {
                break;
            }
            ++triangleCount;
            for (int index : {index1, index2, index3}) {
                if (!Contains(index, vertCache, vertCacheSize)) {
                    InsertSorted(index, vertCache, vertCacheSize);
                }
            }
        }

        int k = 0;
        while (k < vertCacheSize) {
            int first = vertCache[k];
            int count = 1;
            while (k + count < vertCacheSize && vertCache[k + count] == first + count) {
                ++count;
            }
            out << std::dec << "    gsSPVertex(&" << name << "Vertices[" << first << "], " << count << ", " << k
                << "),\n";
            k += count;
        }
        out << "    gsDPPipeSync(),\n";
        for (size_t t = 0; t < triangleCount; ++t) {
            int index1 = int(indices[i + 3 * t]);
            int index2 = int(indices[i + 3 * t + 1]);
            int index3 = int(indices[i + 3 * t + 2]);
            if (Degenerate(index1, index2, index3)) {
                continue;
            }
            out << "    gsSP1Triangle(" << IndexOf(index1, vertCache, vertCacheSize) << ", "
                << IndexOf(index2, vertCache, vertCacheSize) << ", " << IndexOf(index3, vertCache, vertCacheSize)
                << ", 0),\n";
        }
        out << "    gsDPPipeSync(),\n";
        i += 3 * triangleCount;
    }
    out << "    gsSPEndDisplayList(),\n";
}

} // namespace

bool Convert(const std::string& objPath, const std::string& typedPath, const Settings& settings, Output* output,
             std::string* problem)
{
    Model model;
    if (!Load(objPath, &model, problem)) {
        return false;
    }

    // The outputs go next to the input; identifiers come from the file name's stem, made a valid C name.
    const size_t separator = typedPath.find_last_of("/\\");
    const std::string directory = separator == std::string::npos ? "" : typedPath.substr(0, separator + 1);
    const std::string fileName = separator == std::string::npos ? typedPath : typedPath.substr(separator + 1);
    const size_t dot = fileName.rfind('.');
    const std::string stem = dot == std::string::npos ? fileName : fileName.substr(0, dot);
    std::string name;
    for (char c : stem) {
        bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        name += keep ? c : '_';
    }
    if (!name.empty() && name[0] >= '0' && name[0] <= '9') {
        name = "_" + name;
    }

    std::ostringstream header;
    header << "#ifndef " << name << "_H\n"
           << "#define " << name << "_H\n"
           << "\n"
           << "#include \"model.h\"\n"
           << "\n"
           << "extern model " << name << "Model;\n"
           << "\n"
           << "#endif\n";

    std::ostringstream source;
    source << "#include \"" << stem << ".h\"\n"
           << "\n"
           << "Vtx " << name << "Vertices[] = \n"
           << "{\n";
    WriteVertexRows(source, model, settings);
    source << "};\n"
           << "\n"
           << "Gfx " << name << "DisplayList[] = \n"
           << "{\n";
    WriteDisplayListRows(source, name, model);
    source << "};\n"
           << "\n"
           << "model " << name << "Model = { " << name << "Vertices, " << name << "DisplayList };\n"
           << "\n";

    output->header = header.str();
    output->source = source.str();
    output->progress = "Reading objFile...\nWriting " + directory + stem + ".h...\nWriting " + directory + stem +
                       ".c...\nGenerating vertices...\nGenerating display list...\nDone!\n";
    return true;
}

} // namespace reference
