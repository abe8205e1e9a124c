#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/assetpaths.h"

namespace fs = std::filesystem;

namespace {

TEST(AssetPaths, LibrariesAndMapsAreFoundWhereExportersLeaveThem)
{
    const std::string folder = (fs::temp_directory_path() / "polvane-assetpaths-test").string();
    fs::remove_all(folder);
    for (const char* name : {"box mtllib red.mtl", "box mtllib green.mtl", "box mtllib blue.mtl", "a.mtl",
                             "materials/box.mtl", "b.png", "d.png", "materials/c.png", "materials/images/a.png"}) {
        fs::create_directories(fs::path(folder + "/" + name).parent_path());
        std::ofstream(folder + "/" + name) << "x";
    }
    // The paths with the folder shown as "F", separated by " | ".
    const auto shown = [&](const std::vector<std::string>& paths) {
        std::string all;
        for (const std::string& path : paths) {
            const bool inside = path.compare(0, folder.size(), folder) == 0;
            all += (all.empty() ? "" : " | ") + (inside ? "F" + path.substr(folder.size()) : path);
        }
        return all;
    };
    const auto names = [&](const std::string& rest) { return shown(MaterialLibraryNames(rest, folder)); };
    EXPECT_EQ(names("  box mtllib red.mtl \r"), "F/box mtllib red.mtl");
    EXPECT_EQ(names("box mtllib green.mtl box mtllib blue.mtl"), "F/box mtllib green.mtl | F/box mtllib blue.mtl");
    EXPECT_EQ(names("box  mtllib red.mtl"), "F/box | F/mtllib | F/red.mtl");
    EXPECT_EQ(names("absent.mtl a.mtl\tmaterials\\\\box.mtl # a.mtl"), "F/absent.mtl | F/a.mtl | F/materials/box.mtl");
    EXPECT_EQ(names("/absent/x.mtl resources\\a.mtl"), "/absent/x.mtl | F/a.mtl");
    EXPECT_EQ(names("sub\\box mtllib red.mtl a.mtl"), "F/box mtllib red.mtl | F/a.mtl");
    EXPECT_EQ(names(" # none"), "");

    const auto map = [&](const std::string& name, const std::string& libraryFolder) {
        const AssetPath asset = ResolveAssetPath(name, libraryFolder, folder);
        return shown({asset.path}) + (asset.found ? "" : " (missing)");
    };
    const std::string library = folder + "/materials";
    EXPECT_EQ(map(".\\images\\a.png", library), "F/materials/./images/a.png");
    EXPECT_EQ(map("b.png", library), "F/b.png");
    EXPECT_EQ(map("resources/textures/c.png", library), "F/materials/c.png");
    EXPECT_EQ(map("E:\\develop\\d.png", library), "F/d.png");
    EXPECT_EQ(map(folder + "/b.png", "elsewhere"), "F/b.png");
    EXPECT_EQ(map("../materials/c.png", library), "F/materials/../materials/c.png");
    EXPECT_EQ(map("images", library), "F/materials/images (missing)");
    EXPECT_EQ(map("/nowhere/e.png", library), "/nowhere/e.png (missing)");
    fs::remove_all(folder);
}

}
