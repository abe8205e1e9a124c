#ifndef POLVANE_OBJFILE_H
#define POLVANE_OBJFILE_H

#include <cstddef>
#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <vector>

#include "model/vector2d.h"
#include "model/vector3d.h"

// One face-corner reference, zero-based; -1 marks an absent texture-coordinate or normal reference.
// It is also the key under which corners are welded into vertices.
class ObjAttribute {
public:
    int32_t vertexIndex;
    int32_t texCoordIndex;
    int32_t normalIndex;

    ObjAttribute() : vertexIndex(-1), texCoordIndex(-1), normalIndex(-1) {}
    ObjAttribute(int32_t vertex, int32_t texCoord, int32_t normal)
        : vertexIndex(vertex), texCoordIndex(texCoord), normalIndex(normal)
    {
    }
    // A corner token of the forms v, v/t, v/t/n and v//n, with its 1-based numbers lowered by one. Numbers
    // that the token lacks are -1. The loader itself reads tokens with ReadCorner, which also reports faults.
    explicit ObjAttribute(const std::string& token);

    bool operator<(const ObjAttribute& other) const;
    bool operator==(const ObjAttribute& other) const
    {
        return vertexIndex == other.vertexIndex && texCoordIndex == other.texCoordIndex &&
               normalIndex == other.normalIndex;
    }
};

// The numbers of one corner token as written, before they are resolved against the file's records.
struct CornerNumbers {
    int32_t vertex = 0;
    int32_t texCoord = 0;
    int32_t normal = 0;
    bool hasTexCoord = false;
    bool hasNormal = false;
};

enum class CornerFault { None, NoVertex, NoTexCoord, NoNormal, TooLarge };

// Reads the corner token [begin, end) as the C scan reads the forms "%d", "%d/%d/%d" and "%d//%d".
CornerFault ReadCorner(const char* begin, const char* end, CornerNumbers& numbers);

// The reader takes the file in pieces of this size into one buffer and reads each line where it lies; a line longer
// than the buffer grows it.
constexpr size_t objPieceSize = size_t(1) << 20;

// A loaded OBJ model: an indexed triangle mesh. A failed load leaves it empty (GetVertices() is null) after
// reporting the reason as one line on the program's error output (ErrorOutput()).
struct ObjGroups;
class ObjSource;

class ObjFile {
public:
    // With readGroups, the model also keeps its materials, parts and vertex colours (GetGroups()).
    explicit ObjFile(const char* path, bool readGroups = false);
    // Loads OBJ text from a stream; sourceName stands for the file in error messages. Without quickRecords, every
    // line takes the general way that the common records otherwise skip; the result is the same.
    ObjFile(std::istream& in, const std::string& sourceName, bool readGroups = false,
            size_t pieceSize = objPieceSize, bool quickRecords = true);

    int32_t GetNumVertices() const { return numVertices; }
    int32_t GetNumIndices() const { return numIndices; }
    // Arrays owned by the model, valid for its lifetime. GetTexCoords() is null when the file has no "vt" record.
    const Vector3D* GetVertices() const { return vertices.empty() ? nullptr : vertices.data(); }
    // Normals the file does not give are worked out from the faces when first asked for, so that what runs before
    // (the vertex-cache optimiser) does not hold them too.
    const Vector3D* GetNormals() const;
    const Vector2D* GetTexCoords() const { return texCoords.empty() ? nullptr : texCoords.data(); }
    // Three vertex numbers per triangle, in the corner order of its face.
    const uint32_t* GetIndices() const { return indices.empty() ? nullptr : indices.data(); }

    // Null unless the model was loaded with readGroups.
    const ObjGroups* GetGroups() const { return groups.get(); }

    // Reads the whole stream and fills the model; on a fault the model stays empty.
    void Parse(std::istream& in, size_t pieceSize = objPieceSize, bool quickRecords = true);
    void Release();
    // Replaces every normal by the normalised sum of the unit normals of the triangles using the vertex.
    void ComputeNormals();

private:
    void Parse(ObjSource& source, size_t pieceSize, bool quickRecords);
    void ReportError(uint64_t line, const std::string& what) const;
    void FillNormals() const;

    int32_t numVertices = 0;
    int32_t numIndices = 0;
    std::vector<Vector3D> vertices;
    mutable std::vector<Vector3D> normals;
    mutable bool normalsPending = false;  // normals are to be worked out from the faces
    std::vector<Vector2D> texCoords;
    std::vector<uint32_t> indices;
    std::string sourceName;
    bool readGroups;
    std::shared_ptr<const ObjGroups> groups;
};

#endif
