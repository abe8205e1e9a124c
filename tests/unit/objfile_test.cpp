#include <cmath>
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

std::vector<uint32_t> Indices(const ObjFile& model)
{
    return std::vector<uint32_t>(model.GetIndices(), model.GetIndices() + model.GetNumIndices());
}

// The error line for text, or a note that it loaded.
std::string ErrorOf(const std::string& text)
{
    const Loaded loaded = Load(text);
    if (loaded.model->GetVertices()) {
        return "(loaded)";
    }
    EXPECT_EQ(loaded.model->GetNumVertices(), 0);
    EXPECT_EQ(loaded.model->GetNumIndices(), 0);
    EXPECT_EQ(loaded.model->GetNormals(), nullptr);
    EXPECT_EQ(loaded.model->GetIndices(), nullptr);
    return loaded.errors;
}

const char* const square = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 2 0 0\n";

TEST(ObjAttribute, TokenForms)
{
    const ObjAttribute normalOnly("5//2");
    EXPECT_EQ(normalOnly, ObjAttribute(4, -1, 1));
    EXPECT_EQ(ObjAttribute("5/3"), ObjAttribute(4, 2, -1));
    EXPECT_EQ(ObjAttribute("5/3/"), ObjAttribute(4, 2, -1));
    EXPECT_EQ(ObjAttribute("5/3/7"), ObjAttribute(4, 2, 6));
    EXPECT_EQ(ObjAttribute("5"), ObjAttribute(4, -1, -1));
    EXPECT_EQ(ObjAttribute("1abc"), ObjAttribute(0, -1, -1));
    EXPECT_TRUE(ObjAttribute(1, 5, 5) < ObjAttribute(2, 0, 0));
    EXPECT_TRUE(ObjAttribute(1, -1, 5) < ObjAttribute(1, 0, 0));
    EXPECT_TRUE(ObjAttribute(1, 0, -1) < ObjAttribute(1, 0, 0));
    EXPECT_FALSE(ObjAttribute(1, 0, 0) < ObjAttribute(1, 0, 0));
}

TEST(ObjFile, FacesFanAroundTheirFirstCorner)
{
    const Loaded quad = Load(std::string(square) + "f 1 2 3 4\n");
    EXPECT_EQ(Indices(*quad.model), (std::vector<uint32_t>{0, 1, 2, 0, 2, 3}));
    const Loaded pentagon = Load(std::string(square) + "f 1 2 3 4 5\n");
    EXPECT_EQ(Indices(*pentagon.model), (std::vector<uint32_t>{0, 1, 2, 0, 2, 3, 0, 3, 4}));
    EXPECT_EQ(pentagon.model->GetNumVertices(), 5);
}

TEST(ObjFile, CornersWeldOnTheirReferencesInOrderOfFirstAppearance)
{
    const Loaded loaded = Load(std::string(square) + "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
                                                     "vn 0 0 1\nvn 0 0 1\nvn 0 0 1\nvn 0 0 1\n"
                                                     "f 1/1/1 2/2/2 3/3/3\nf 3/3/3 2/2/2 4/4/4\n"
                                                     "f 1/1/2 1/2/1 2/2/2\n");
    const ObjFile& model = *loaded.model;
    EXPECT_EQ(Indices(model), (std::vector<uint32_t>{0, 1, 2, 2, 1, 3, 4, 5, 1}));
    ASSERT_EQ(model.GetNumVertices(), 6);
    // The same position under other references is a vertex of its own.
    EXPECT_EQ(model.GetVertices()[4], model.GetVertices()[0]);
    EXPECT_EQ(model.GetVertices()[5], model.GetVertices()[0]);
    EXPECT_EQ(model.GetTexCoords()[5], Vector2D(1.0f, 0.0f));
}

TEST(ObjFile, EqualCoordinatesOfDifferentRecordsStayApart)
{
    const Loaded loaded = Load("v 0 0 0\nv 1 0 0\nv 0 1 0\nv 0 0 0\nf 1 2 3\nf 4 2 3\n");
    EXPECT_EQ(loaded.model->GetNumVertices(), 4);
    EXPECT_EQ(Indices(*loaded.model), (std::vector<uint32_t>{0, 1, 2, 3, 1, 2}));
}

TEST(ObjFile, RepeatedCornersAndForwardReferencesAreKept)
{
    const Loaded loaded = Load("f 1 2 2\nf 1 2 3\nv 0 0 0\nv 1 0 0\nv 0 1 0\n");
    ASSERT_NE(loaded.model->GetVertices(), nullptr) << loaded.errors;
    EXPECT_EQ(Indices(*loaded.model), (std::vector<uint32_t>{0, 1, 1, 0, 1, 2}));
    EXPECT_EQ(loaded.model->GetVertices()[2], Vector3D(0.0f, 1.0f, 0.0f));
}

TEST(ObjFile, TextureCoordinatesExistOnlyWhenTheFileHasThem)
{
    const Loaded without = Load(std::string(square) + "f 1/1 2/7 3/3\n");
    EXPECT_EQ(without.model->GetTexCoords(), nullptr);
    EXPECT_EQ(without.model->GetNumVertices(), 3);

    const Loaded with = Load(std::string(square) + "vt 0.25 0.75\nvt 0.5\nf 1/1 2 3/2\n");
    const Vector2D* texCoords = with.model->GetTexCoords();
    ASSERT_NE(texCoords, nullptr);
    EXPECT_EQ(texCoords[0], Vector2D(0.25f, 0.75f));
    EXPECT_EQ(texCoords[1], Vector2D(0.0f, 0.0f));
    EXPECT_EQ(texCoords[2], Vector2D(0.5f, 0.0f));
}

TEST(ObjFile, FileNormalsAreUsedOnlyWhenEveryVertexHasOne)
{
    const Loaded all = Load(std::string(square) + "vn 0 0 2\nvn 1 0 0\nf 1//1 2//2 3//1\n");
    EXPECT_EQ(all.model->GetNormals()[0], Vector3D(0.0f, 0.0f, 1.0f));
    EXPECT_EQ(all.model->GetNormals()[1], Vector3D(1.0f, 0.0f, 0.0f));

    // One corner without a normal: every normal is generated, the file's (1, 0, 0) included.
    const Loaded some = Load(std::string(square) + "vn 0 0 2\nvn 1 0 0\nf 1//1 2//2 3\n");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(some.model->GetNormals()[i], Vector3D(0.0f, 0.0f, 1.0f));
    }
    // A normal reference of 0 counts as absent.
    const Loaded zero = Load(std::string(square) + "vn 1 0 0\nf 1//1 2//1 3//0\n");
    EXPECT_EQ(zero.model->GetNormals()[0], Vector3D(0.0f, 0.0f, 1.0f));
}

TEST(ObjFile, LineFormsThatAreNotRecordsAreSkipped)
{
    const Loaded loaded = Load("\xEF\xBB\xBF# a comment\n"
                               "o thing\r\n"
                               "V 9 9 9\nvp 1 2\nmtllib x.mtl\n\n   \t\n"
                               "  v 0 0 0 1.0\r\n"
                               "v\t1 0 0 # w and colour could follow\n"
                               "v 0 1 0\n"
                               "f 1 2 3 \r\n"
                               "f 3 2 1 # one triangle\n"
                               "l 1 2\n"
                               "f 1 2 \\\n"
                               "  3");
    ASSERT_NE(loaded.model->GetVertices(), nullptr) << loaded.errors;
    EXPECT_EQ(Indices(*loaded.model), (std::vector<uint32_t>{0, 1, 2, 2, 1, 0, 0, 1, 2}));
    EXPECT_EQ(loaded.model->GetVertices()[0], Vector3D(0.0f, 0.0f, 0.0f));
}

TEST(ObjFile, RelativeReferencesCountBackFromTheLastRecordRead)
{
    const Loaded loaded = Load("v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1 1\n"
                               "f -3/-2 -2/-1 -1/-1\n"
                               "v 5 5 5\n"
                               "f 1/1 2/2 -1/2\n");
    ASSERT_NE(loaded.model->GetVertices(), nullptr) << loaded.errors;
    // -3/-2 is 1/1 and -2/-1 is 2/2: they weld with the second face's corners.
    EXPECT_EQ(Indices(*loaded.model), (std::vector<uint32_t>{0, 1, 2, 0, 1, 3}));
    EXPECT_EQ(loaded.model->GetVertices()[3], Vector3D(5.0f, 5.0f, 5.0f));
}

TEST(ObjFile, MalformedLinesAreReportedWithTheirLine)
{
    EXPECT_EQ(ErrorOf("v 1 2\n"), "m.obj:1: \"v\" needs 3 numbers, found 2\n");
    EXPECT_EQ(ErrorOf("v 1 2 3\nvn 1 x 2\n"), "m.obj:2: \"vn\" needs 3 numbers, found 1\n");
    EXPECT_EQ(ErrorOf("\n\nvt\n"), "m.obj:3: \"vt\" needs at least 1 number, found 0\n");
    EXPECT_EQ(ErrorOf("v 1 2 # 3\n"), "m.obj:1: \"v\" needs 3 numbers, found 2\n");
    EXPECT_EQ(ErrorOf("v 1 1e40 3\n"), "m.obj:1: number \"1e40\" is too large for a float\n");
    EXPECT_EQ(ErrorOf(std::string(square) + "f 1 2\n"), "m.obj:6: face needs at least 3 corners, found 2\n");
    EXPECT_EQ(ErrorOf(std::string(square) + "f\n"), "m.obj:6: face needs at least 3 corners, found 0\n");
    EXPECT_EQ(ErrorOf(std::string(square) + "f 1 2 x\n"),
              "m.obj:6: corner \"x\" does not start with a position number\n");
    EXPECT_EQ(ErrorOf(std::string(square) + "vt 0 0\nf 1 2 3/x/1\n"),
              "m.obj:7: corner \"3/x/1\" has no texture number after \"/\"\n");
    EXPECT_EQ(ErrorOf(std::string(square) + "f 1 2 3//\n"),
              "m.obj:6: corner \"3//\" has no normal number after \"//\"\n");
    EXPECT_EQ(ErrorOf(std::string(square) + "f 1 2 4294967298\n"),
              "m.obj:6: corner \"4294967298\" has a number that does not fit in 32 bits\n");
    // A continued record is reported at the line it starts on.
    EXPECT_EQ(ErrorOf(std::string(square) + "f 1 \\\n 2\n"), "m.obj:6: face needs at least 3 corners, found 2\n");
}

TEST(ObjFile, ReferencesOutsideTheirRecordsAreReportedAtTheFace)
{
    EXPECT_EQ(ErrorOf("v 0 0 0\nv 1 0 0\nf 1 2 3\nv 0 1 0\nf 1 2 9\n"),
              "m.obj:5: position reference 9 is outside 1..3\n");
    EXPECT_EQ(ErrorOf("f 1 2 3\n"), "m.obj:1: position reference 1, but the file has no \"v\" records\n");
    EXPECT_EQ(ErrorOf(std::string(square) + "f 1 2 0\n"),
              "m.obj:6: position reference 0 is not valid; references count from 1\n");
    EXPECT_EQ(ErrorOf("v 0 0 0\nv 1 0 0\nf -1 -2 -3\nv 0 1 0\n"),
              "m.obj:3: position reference -3 reaches before the first \"v\" record (2 read before this line)\n");
    EXPECT_EQ(ErrorOf(std::string(square) + "vt 0 0\nf 1/1 2/1 3/2\n"),
              "m.obj:7: texture reference 2 is outside 1..1\n");
    EXPECT_EQ(ErrorOf(std::string(square) + "vn 0 0 1\nf 1//1 2//1 3//-2\n"),
              "m.obj:7: normal reference -2 reaches before the first \"vn\" record (1 read before this line)\n");
    // A relative texture reference made before any "vt" record is a fault once the file has one.
    EXPECT_EQ(ErrorOf(std::string(square) + "f 1/-1 2/-1 3/-1\nvt 0 0\n"),
              "m.obj:6: texture reference -1 reaches before the first \"vt\" record (0 read before this line)\n");
}

TEST(ObjFile, TheFirstFaultInFileOrderIsReported)
{
    // A malformed line anywhere wins over a bad reference before it.
    EXPECT_EQ(ErrorOf(std::string(square) + "f 1 2 9\nv 1 2\n"), "m.obj:7: \"v\" needs 3 numbers, found 2\n");
    // Of two bad references, the earlier face's, whichever kind it is.
    EXPECT_EQ(ErrorOf(std::string(square) + "vt 0 0\nf 1 2 3/5\nf 1 2 -9\nf 9 2 3\n"),
              "m.obj:7: texture reference 5 is outside 1..1\n");
    EXPECT_EQ(ErrorOf(std::string(square) + "f 1 2 8\nf 1 2 7\nf 1 2 6\n"),
              "m.obj:6: position reference 8 is outside 1..5\n");
    EXPECT_EQ(ErrorOf(std::string(square) + "f 1 2 6\nf 1 2 7\n"),
              "m.obj:6: position reference 6 is outside 1..5\n");
    // Within one face, the first corner at fault.
    EXPECT_EQ(ErrorOf(std::string(square) + "f 1 -7 6\n"),
              "m.obj:6: position reference -7 reaches before the first \"v\" record (5 read before this line)\n");
}

TEST(ObjFile, ReferencesOfAKindTheFileLacksAreIgnored)
{
    const Loaded loaded = Load(std::string(square) + "f 1/9/9 2/-4/8 3/1/-1\n");
    ASSERT_NE(loaded.model->GetVertices(), nullptr) << loaded.errors;
    EXPECT_EQ(loaded.model->GetTexCoords(), nullptr);
    EXPECT_EQ(loaded.model->GetNormals()[0], Vector3D(0.0f, 0.0f, 1.0f));
}

TEST(ObjFile, FilesWithoutFacesOrThatCannotBeOpenedLeaveTheModelEmpty)
{
    const std::string noFaces = "Obj file did not have a valid amount of vertices or indices\n";
    EXPECT_EQ(ErrorOf(""), noFaces);
    EXPECT_EQ(ErrorOf(square), noFaces);
    EXPECT_EQ(ErrorOf("v 0 0 0\rv 1 0 0\rv 0 1 0\rf 1 2 3\r"), noFaces);

    testing::internal::CaptureStderr();
    const ObjFile missing("no/such/file.obj");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Couldn't open obj file no/such/file.obj for reading\n");
    EXPECT_EQ(missing.GetVertices(), nullptr);
}

TEST(ObjFile, CopiesAreDeep)
{
    const Loaded loaded = Load(std::string(square) + "vt 0.5 0.5\nf 1/1 2/1 3/1\n");
    ObjFile copy(*loaded.model);
    ASSERT_NE(copy.GetVertices(), loaded.model->GetVertices());
    EXPECT_EQ(Indices(copy), Indices(*loaded.model));
    EXPECT_EQ(copy.GetTexCoords()[2], Vector2D(0.5f, 0.5f));
    const Loaded other = Load("v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\nf 1 2 3 4\n");
    copy = *other.model;
    EXPECT_EQ(copy.GetNumIndices(), 6);
    EXPECT_EQ(copy.GetTexCoords(), nullptr);
    const ObjFile& itself = copy;
    copy = itself;
    EXPECT_EQ(copy.GetNumVertices(), 4);
}

// Normal generation.

Vector3D NormalOf(const ObjFile& model, int vertex)
{
    return model.GetNormals()[vertex];
}

TEST(ComputeNormals, FollowTheWindingOfTheCorners)
{
    const Loaded ccw = Load("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    const Loaded cw = Load("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 3 2\n");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(NormalOf(*ccw.model, i), Vector3D(0.0f, 0.0f, 1.0f));
        EXPECT_EQ(NormalOf(*cw.model, i), Vector3D(0.0f, 0.0f, -1.0f));
    }
    const Loaded squareModel = Load("v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 4 3 2\n");
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(NormalOf(*squareModel.model, i), Vector3D(0.0f, 0.0f, -1.0f));
    }
}

TEST(ComputeNormals, EveryTriangleWeighsTheSame)
{
    // A cube corner: three triangles of very different sizes in the planes x = 0, y = 0 and z = 0.
    const Loaded corner = Load("v 0 0 0\nv 0 100 0\nv 0 0 100\nv 1 0 0\nv 0 0 1\nv 10 0 0\nv 0 10 0\n"
                               "f 1 2 3\nf 1 5 4\nf 1 6 7\n");
    const Vector3D n = NormalOf(*corner.model, 0);
    EXPECT_NEAR(n.x, 0.57735f, 1e-5f);
    EXPECT_EQ(n.x, n.y);
    EXPECT_EQ(n.y, n.z);

    // A large and a small triangle meeting at a right angle: the bisector of their unit normals.
    const Loaded hinge = Load("v 0 0 0\nv 0 1 0\nv 50 0 0\nv 0 0 -0.1\nf 1 2 3\nf 1 4 2\n");
    const Vector3D shared = NormalOf(*hinge.model, 0);
    EXPECT_NEAR(shared.x, 0.70711f, 1e-5f);
    EXPECT_EQ(shared.y, 0.0f);
    EXPECT_NEAR(shared.z, -0.70711f, 1e-5f);
}

TEST(ComputeNormals, TrianglesWithoutADirectionAddNothing)
{
    // The second face repeats a vertex, the third is a line: neither may spoil the first face's normals.
    const Loaded loaded = Load("v 0 0 0\nv 1 0 0\nv 0 1 0\nv 2 0 0\nf 1 2 3\nf 1 2 2\nf 1 2 4\n");
    ASSERT_NE(loaded.model->GetVertices(), nullptr);
    EXPECT_EQ(NormalOf(*loaded.model, 0), Vector3D(0.0f, 0.0f, 1.0f));
    EXPECT_EQ(NormalOf(*loaded.model, 1), Vector3D(0.0f, 0.0f, 1.0f));
    // A vertex used only by the line gets no direction at all.
    EXPECT_EQ(NormalOf(*loaded.model, 3), Vector3D(0.0f, 0.0f, 0.0f));

    // Two opposite faces cancel out.
    const Loaded opposite = Load("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\nf 1 3 2\n");
    EXPECT_EQ(NormalOf(*opposite.model, 0), Vector3D(0.0f, 0.0f, 0.0f));
}

}

namespace {

TEST(ObjFile, MessagesQuoteLongTokensCutShort)
{
    EXPECT_EQ(ErrorOf("v 0 0 0\nf 1 1 " + std::string(100, 'x') + "\n"),
              "m.obj:2: corner \"" + std::string(40, 'x') + "...\" does not start with a position number\n");
}

TEST(ObjFile, OnlyFaceLinesContinueAfterABackslash)
{
    // Text after the third number of a position, or on an unknown record, is ignored, backslash or not.
    const Loaded loaded = Load("v 0 0 0\nv 1 0 0 \\\nv 0 1 0\no part\\\nf 1 2 \\\n 3\n");
    ASSERT_NE(loaded.model->GetVertices(), nullptr) << loaded.errors;
    EXPECT_EQ(loaded.model->GetVertices()[2], Vector3D(0.0f, 1.0f, 0.0f));
    EXPECT_EQ(Indices(*loaded.model), (std::vector<uint32_t>{0, 1, 2}));
}

}
