#include <string>

#include <gtest/gtest.h>

#include "output/outputnames.h"

namespace {

std::string Describe(const std::string& objPath)
{
    const OutputNames names = DeriveOutputNames(objPath);
    return names.headerPath + " " + names.sourcePath + " " + names.headerFileName + " " + names.identifier;
}

TEST(OutputNames, ExtensionIsCutFromTheFileNameOnly)
{
    EXPECT_EQ(Describe("cube.obj"), "cube.h cube.c cube.h cube");
    EXPECT_EQ(Describe("cube"), "cube.h cube.c cube.h cube");
    EXPECT_EQ(Describe("models/cube.obj"), "models/cube.h models/cube.c cube.h cube");
    EXPECT_EQ(Describe("dir.old/cube"), "dir.old/cube.h dir.old/cube.c cube.h cube");
    EXPECT_EQ(Describe("models\\ship.OBJ"), "models\\ship.h models\\ship.c ship.h ship");
    EXPECT_EQ(Describe(".obj"), ".h .c .h ");
}

TEST(OutputNames, IdentifiersAreValidC)
{
    EXPECT_EQ(DeriveOutputNames("my.cube.obj").identifier, "my_cube");
    EXPECT_EQ(DeriveOutputNames("art/3d-ship.obj").identifier, "_3d_ship");
    EXPECT_EQ(DeriveOutputNames("caf\xC3\xA9 model.obj").identifier, "caf___model");
    EXPECT_EQ(DeriveOutputNames("Ship_2.obj").identifier, "Ship_2");
}

}
