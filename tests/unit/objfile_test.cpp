#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "model/objfile.h"
#include "model/objgroups.h"
#include "model/weldmap.h"

// Large models weld through a hash table that grows; what it numbers must survive each growth.
TEST(WeldMap, ManyVerticesSurviveTableGrowth)
{
    WeldMap map;
    for (int32_t p = 0; p < 5000; ++p) {
        for (int32_t n = 0; n < 20; ++n) {
            map.Weld(ObjAttribute(p, -1, n), 5000);
        }
    }
    EXPECT_EQ(map.Size(), 100000u);
    EXPECT_EQ(map.Weld(ObjAttribute(4321, -1, 17), 5000), 4321u * 20u + 17u);
    EXPECT_EQ(map.Weld(ObjAttribute(7, -1, 3), 5000), 143u);
}

namespace {

template <typename T>
void AppendBytes(std::string& out, const T* values, size_t count)
{
    out.append(values ? reinterpret_cast<const char*>(values) : "", values ? count * sizeof(T) : 0) += '|';
}

// Everything a conversion takes from the reader, as bytes, and the messages it printed.
std::string ReadInPieces(const std::string& text, bool groups, size_t pieceSize, bool quickRecords = true)
{
    std::istringstream in(text);
    testing::internal::CaptureStderr();
    const ObjFile model(in, "m.obj", groups, pieceSize, quickRecords);
    std::string read = testing::internal::GetCapturedStderr() + '|';
    const size_t vertices = size_t(model.GetNumVertices());
    AppendBytes(read, model.GetVertices(), vertices);
    AppendBytes(read, model.GetNormals(), vertices);
    AppendBytes(read, model.GetTexCoords(), vertices);
    AppendBytes(read, model.GetIndices(), size_t(model.GetNumIndices()));
    if (const ObjGroups* kept = model.GetGroups()) {
        for (const ObjGroups::Library& library : kept->libraries) {
            read += library.names + ':' + std::to_string(library.line) + '|';
        }
        for (const std::vector<std::string>* names : {&kept->materialNames, &kept->partNames}) {
            for (const std::string& name : *names) {
                read += name + '|';
            }
        }
        for (const std::vector<uint32_t>* numbers : {&kept->triangleMaterial, &kept->trianglePart, &kept->triangleFace}) {
            AppendBytes(read, numbers->data(), numbers->size());
        }
        AppendBytes(read, kept->colours.data(), kept->colours.size());
        AppendBytes(read, kept->corner.data(), kept->corner.size());
    }
    return read;
}

}

// The reader takes the file in pieces and reads lines where they lie; a line cut by a piece's end is where such a
// reader goes wrong. Every piece size from one byte up, with a comment of every length after the first line, cuts
// every line of these files at every position: each must read exactly as in one piece with every line taken the
// general way, faults and their lines included.
TEST(ObjFile, LinesCutByThePieceEndReadAsWhole)
{
    const std::string bom = "\xEF\xBB\xBF";
    const struct {
        std::string text;
        bool groups;
    } files[] = {
        {bom + "v 0 0 0\r\n# exported\r\nv 1.5 0 0 # tip\r\nv 0 1e-3 0\r\nvt 0.25 0.75\r\nvn 0 0 1\r\n"
               "f 1/1/1 2/1/1 \\\r\n 3/1/1\r\nf -3 -2 -1", false},
        {"mtllib a.mtl b.mtl\no hull\nusemtl red\nv 0 0 0 1 0 0\nv 1 0 0 0 1 0\nv 0 1 0 0 0 1\nv 1 1 0 1 1 1\n"
         "g fin\nusemtl blue\nf 1 2 3 4\nf 3 2 1\n", true},
        {"v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 \\\n 3\nf 1 2 \\\n 9\n", false},
        {"v 0 0 0\nv 1 0 0\nvt 0.5\nv 0 1 0\nf 1/1 2/1 3/1\nv 1 2 3x\n", false},
        {"v -.5 1. 2e1\nv\t0.1234567890123 -16777217 3 0.5\nv +1 0 0\nv 0 0 1 0.2 0.4 0.6\nvt 0.5 0.25 1\nvt 1\t\n"
         "vn 0 -0 2\nf 1//1 2//1 3//1\nf -1/-1 -2/-2 -3/-1\nf 1 2 3 4 1 2 3 4 1\nf 0000000001 2 3\n", true},
    };
    for (const auto& file : files) {
        for (size_t pad = 0; pad < 24; ++pad) {
            std::string text = file.text;
            text.insert(text.find('\n') + 1, "#" + std::string(pad, '-') + "\n");
            const std::string whole = ReadInPieces(text, file.groups, objPieceSize, false);
            for (size_t piece = 1; piece <= text.size() + 1; ++piece) {
                ASSERT_EQ(ReadInPieces(text, file.groups, piece), whole) << "pieces of " << piece << ":\n" << text;
            }
        }
    }
}
