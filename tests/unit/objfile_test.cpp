#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/objfile.h"

namespace {

struct Loaded {
    std::unique_ptr<ObjFile> model;
    std::string errors;
};

Loaded Load(const std::string& text)
{
    std::istringstream in(text);
    testing::internal::CaptureStderr();
    Loaded loaded;
    loaded.model = std::make_unique<ObjFile>(in, "m.obj");
    loaded.errors = testing::internal::GetCapturedStderr();
    return loaded;
}

const std::string square = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 2 0 0\n";

TEST(ObjFile, FacesFanAndCornersWeldOnTheirReferencesInOrderOfFirstAppearance)
{
    const struct {
        std::string text;
        std::vector<uint32_t> indices;
    } cases[] = {
        {square + "f 1 2 3 4 5\n", {0, 1, 2, 0, 2, 3, 0, 3, 4}},
        // The same position under other references is a vertex of its own.
        {square + "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvn 0 0 1\nvn 0 0 1\n"
                  "f 1/1/1 2/2/2 3/3/1\nf 3/3/1 2/2/2 4/4/2\nf 1/1/2 1/2/1 2/2/2\n",
         {0, 1, 2, 2, 1, 3, 4, 5, 1}},
        // Equal coordinates of different records stay apart; references of a kind the file lacks are ignored.
        {"v 0 0 0\nv 1 0 0\nv 0 1 0\nv 0 0 0\nf 1 2 3\nf 4 2 3\n", {0, 1, 2, 3, 1, 2}},
        {square + "f 1/9/9 2/-4/8 3/1/-1\n", {0, 1, 2}},
        // Repeated corners and references to records further down are kept.
        {"f 1 2 2\nf 1 2 3\nv 0 0 0\nv 1 0 0\nv 0 1 0\n", {0, 1, 1, 0, 1, 2}},
        // Relative references count back from the last record read: -3/-2 is 1/1 and -2/-1 is 2/2.
        {"v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1 1\nf -3/-2 -2/-1 -1/-1\nv 5 5 5\nf 1/1 2/2 -1/2\n",
         {0, 1, 2, 0, 1, 3}},
        // A byte-order mark, comments, unknown records, CR LF, tabs, trailing text; only faces continue after "\".
        {"\xEF\xBB\xBF# a comment\nV 9 9 9\nvp 1 2\n\n   \t\no thing\\\n  v 0 0 0 1.0\r\nv\t1 0 0 \\\n"
         "v 0 1 0\nf 1 2 3 \r\nf 3 2 1 # one triangle\nl 1 2\nf 1 2 \\\n  3",
         {0, 1, 2, 2, 1, 0, 0, 1, 2}},
    };
    for (const auto& c : cases) {
        const Loaded loaded = Load(c.text);
        ASSERT_NE(loaded.model->GetVertices(), nullptr) << loaded.errors;
        EXPECT_EQ(std::vector<uint32_t>(loaded.model->GetIndices(),
                                        loaded.model->GetIndices() + loaded.model->GetNumIndices()),
                  c.indices)
            << c.text;
    }
}

// One fault of each kind is a golden case (rejected-*); here, faults that need their neighbours.
TEST(ObjFile, TheFirstFaultInFileOrderIsReportedWithItsLine)
{
    const std::pair<std::string, std::string> cases[] = {
        {"v 1 2 # 3\n", "m.obj:1: \"v\" needs 3 numbers, found 2\n"},
        {square + "f 1 \\\n 2\n", "m.obj:6: face needs at least 3 corners, found 2\n"},
        {"v 0 0 0\nf 1 1 " + std::string(100, 'x') + "\n",
         "m.obj:2: corner \"" + std::string(40, 'x') + "...\" does not start with a position number\n"},
        {"v 0 0 0\nv 1 0 0\nf 1 2 3\nv 0 1 0\nf 1 2 9\n", "m.obj:5: position reference 9 is outside 1..3\n"},
        {"v 0 0 0\nv 1 0 0\nf -1 -2 -3\nv 0 1 0\n",
         "m.obj:3: position reference -3 reaches before the first \"v\" record (2 read before this line)\n"},
        {square + "vn 0 0 1\nf 1//1 2//1 3//-2\n",
         "m.obj:7: normal reference -2 reaches before the first \"vn\" record (1 read before this line)\n"},
        // A relative texture reference made before any "vt" record is a fault once the file has one.
        {square + "f 1/-1 2/-1 3/-1\nvt 0 0\n",
         "m.obj:6: texture reference -1 reaches before the first \"vt\" record (0 read before this line)\n"},
        // A malformed line anywhere wins over a bad reference before it; of two bad references the earlier
        // face's, whichever kind it is; within a face, the first corner at fault.
        {square + "f 1 2 9\nv 1 2\n", "m.obj:7: \"v\" needs 3 numbers, found 2\n"},
        {square + "vt 0 0\nf 1 2 3/5\nf 1 2 -9\nf 9 2 3\n", "m.obj:7: texture reference 5 is outside 1..1\n"},
        {square + "f 1 2 8\nf 1 2 7\nf 1 2 6\n", "m.obj:6: position reference 8 is outside 1..5\n"},
        {square + "f 1 -7 6\n",
         "m.obj:6: position reference -7 reaches before the first \"v\" record (5 read before this line)\n"},
    };
    for (const auto& c : cases) {
        const Loaded loaded = Load(c.first);
        EXPECT_EQ(loaded.errors, c.second);
        EXPECT_EQ(loaded.model->GetVertices(), nullptr);
        EXPECT_EQ(loaded.model->GetNumIndices(), 0);
    }
}

TEST(ObjFile, ALineLongerThanAReadBlockIsSkippedWhole)
{
    const std::string path = (std::filesystem::temp_directory_path() / "polvane-long-line.obj").string();
    std::ofstream(path, std::ios::binary) << "o " << std::string(10485760, 'a') << "\nv 1 2\n";
    testing::internal::CaptureStderr();
    const ObjFile model(path.c_str());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), path + ":2: \"v\" needs 3 numbers, found 2\n");
    std::remove(path.c_str());
}

TEST(ComputeNormals, EveryTriangleWeighsTheSameAndThoseWithoutADirectionAddNothing)
{
    const struct {
        std::string text;
        Vector3D normal;  // of vertex 0
    } cases[] = {
        // A cube corner: three triangles of very different sizes.
        {"v 0 0 0\nv 0 100 0\nv 0 0 100\nv 1 0 0\nv 0 0 1\nv 10 0 0\nv 0 10 0\nf 1 2 3\nf 1 5 4\nf 1 6 7\n",
         Vector3D(0.57735f, 0.57735f, 0.57735f)},
        // A large and a small triangle at a right angle: the bisector of their unit normals.
        {"v 0 0 0\nv 0 1 0\nv 50 0 0\nv 0 0 -0.1\nf 1 2 3\nf 1 4 2\n", Vector3D(0.70711f, 0.0f, -0.70711f)},
        // A repeated vertex and a line add nothing; opposite faces cancel out.
        {"v 0 0 0\nv 1 0 0\nv 0 1 0\nv 2 0 0\nf 1 2 3\nf 1 2 2\nf 1 2 4\n", Vector3D(0.0f, 0.0f, 1.0f)},
        {"v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\nf 1 3 2\n", Vector3D(0.0f, 0.0f, 0.0f)},
    };
    for (const auto& c : cases) {
        const Vector3D n = Load(c.text).model->GetNormals()[0];
        EXPECT_NEAR(n.x, c.normal.x, 1e-5f) << c.text;
        EXPECT_NEAR(n.y, c.normal.y, 1e-5f) << c.text;
        EXPECT_NEAR(n.z, c.normal.z, 1e-5f) << c.text;
    }
}

}
