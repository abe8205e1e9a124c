#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/assetpaths.h"

namespace fs = std::filesystem;

namespace {

TEST(AssetPaths, NamesWrittenOnAnySystem)
{
    EXPECT_EQ(NormalizeSeparators("a\\\\b\\c/d\\"), "a/b/c/d/");
    EXPECT_TRUE(IsAbsolutePath("/x"));
    EXPECT_TRUE(IsAbsolutePath("\\x"));
    EXPECT_TRUE(IsAbsolutePath("E:\\develop\\t.png"));
    EXPECT_TRUE(IsAbsolutePath("c:/t.png"));
    EXPECT_FALSE(IsAbsolutePath("c:t.png"));
    EXPECT_FALSE(IsAbsolutePath("./t.png"));
    EXPECT_EQ(JoinPath("", "t.png"), "t.png");
    EXPECT_EQ(JoinPath("models", "t.png"), "models/t.png");
    EXPECT_EQ(JoinPath("models/", "t.png"), "models/t.png");
    EXPECT_EQ(JoinPath("models", "/t.png"), "/t.png");
    EXPECT_EQ(FolderOf("a/b/c.obj"), "a/b");
    EXPECT_EQ(FolderOf("c.obj"), "");
}

class AssetFolder : public testing::Test {
protected:
    void SetUp() override
    {
        folder = (fs::temp_directory_path() /
                  ("polvane-assetpaths-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name())))
                     .string();
        fs::remove_all(folder);
        for (const char* name : {"box mtllib red.mtl", "box mtllib green.mtl", "box mtllib blue.mtl", "a.mtl",
                                 "materials/box.mtl", "b.png", "d.png", "materials/c.png", "materials/images/a.png"}) {
            fs::create_directories(fs::path(folder + "/" + name).parent_path());
            std::ofstream(folder + "/" + name) << "x";
        }
    }
    void TearDown() override { fs::remove_all(folder); }

    // The paths with the folder shown as "F", separated by " | ".
    std::string Shown(const std::vector<std::string>& paths) const
    {
        std::string all;
        for (const std::string& path : paths) {
            const bool inside = path.compare(0, folder.size(), folder) == 0;
            all += (all.empty() ? "" : " | ") + (inside ? "F" + path.substr(folder.size()) : path);
        }
        return all;
    }
    std::string Resolved(const std::string& name, const std::string& libraryFolder)
    {
        const AssetPath asset = ResolveAssetPath(name, libraryFolder, folder);
        return Shown({asset.path}) + (asset.found ? "" : " (missing)");
    }

    std::string folder;
};

TEST_F(AssetFolder, LibraryNamesWithSpacesAreTheLongestExistingRuns)
{
    EXPECT_EQ(Shown(MaterialLibraryNames("  box mtllib red.mtl \r", folder)), "F/box mtllib red.mtl");
    EXPECT_EQ(Shown(MaterialLibraryNames("box mtllib green.mtl box mtllib blue.mtl", folder)),
              "F/box mtllib green.mtl | F/box mtllib blue.mtl");
    EXPECT_EQ(Shown(MaterialLibraryNames("box  mtllib red.mtl", folder)), "F/box | F/mtllib | F/red.mtl");
    EXPECT_EQ(Shown(MaterialLibraryNames("absent.mtl a.mtl\tmaterials\\\\box.mtl # a.mtl", folder)),
              "F/absent.mtl | F/a.mtl | F/materials/box.mtl");
    EXPECT_EQ(Shown(MaterialLibraryNames("/absent/x.mtl resources\\a.mtl", folder)), "/absent/x.mtl | F/a.mtl");
    EXPECT_EQ(Shown(MaterialLibraryNames("sub\\box mtllib red.mtl a.mtl", folder)), "F/box mtllib red.mtl | F/a.mtl");
    EXPECT_EQ(Shown(MaterialLibraryNames(" # none", folder)), "");
}

TEST_F(AssetFolder, MapsAreFoundWhereExportersLeaveThem)
{
    const std::string library = folder + "/materials";
    EXPECT_EQ(Resolved(".\\images\\a.png", library), "F/materials/./images/a.png");
    EXPECT_EQ(Resolved("b.png", library), "F/b.png");
    EXPECT_EQ(Resolved("resources/textures/c.png", library), "F/materials/c.png");
    EXPECT_EQ(Resolved("E:\\develop\\d.png", library), "F/d.png");
    EXPECT_EQ(Resolved(folder + "/b.png", "elsewhere"), "F/b.png");
    EXPECT_EQ(Resolved("../materials/c.png", library), "F/materials/../materials/c.png");
    EXPECT_EQ(Resolved("images", library), "F/materials/images (missing)");
    EXPECT_EQ(Resolved("/nowhere/e.png", library), "/nowhere/e.png (missing)");
    EXPECT_EQ(Resolved("missing.png", library), "F/materials/missing.png (missing)");
}

}
