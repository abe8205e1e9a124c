#include <string>

#include <gtest/gtest.h>

#include "output/outputnames.h"

namespace {

std::string Describe(const std::string& objPath, const std::string& outputDir = "", const std::string& name = "")
{
    const OutputNames names = DeriveOutputNames(objPath, outputDir, name);
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

TEST(OutputNames, OutputFolderAndNameReplaceOnlyWhatTheyName)
{
    EXPECT_EQ(Describe("models/cube.obj", "gen"), "gen/cube.h gen/cube.c cube.h cube");
    EXPECT_EQ(Describe("cube.obj", "gen/"), "gen/cube.h gen/cube.c cube.h cube");
    EXPECT_EQ(Describe("cube.obj", "build\\gen"), "build\\gen\\cube.h build\\gen\\cube.c cube.h cube");
    EXPECT_EQ(Describe("models/3d-cube.obj", "", "crate"), "models/3d-cube.h models/3d-cube.c 3d-cube.h crate");
}

TEST(OutputNames, ReservedPrefixesAreThoseOfTheIncludeGuard)
{
    for (const char* reserved : {"", "_", "_Ship", "__ship", "_________"}) {
        EXPECT_TRUE(MakesReservedNames(reserved)) << reserved;
    }
    for (const char* allowed : {"ship", "_ship", "_3d_ship", "S"}) {
        EXPECT_FALSE(MakesReservedNames(allowed)) << allowed;
    }
}

}
