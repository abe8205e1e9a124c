#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "model/objfile.h"
#include "model/weldmap.h"

// What the loader reads, welds, computes and reports is pinned by golden cases (loader-*, fault-*, rejected-*,
// normals-*); a line of 10 MiB is too large to keep as one.
TEST(ObjFile, ALineLongerThanAReadBlockIsSkippedWhole)
{
    const std::string path = (std::filesystem::temp_directory_path() / "polvane-long-line.obj").string();
    std::ofstream(path, std::ios::binary) << "o " << std::string(10485760, 'a') << "\nv 1 2\n";
    testing::internal::CaptureStderr();
    const ObjFile model(path.c_str());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), path + ":2: \"v\" needs 3 numbers, found 2\n");
    EXPECT_EQ(model.GetVertices(), nullptr);
    std::remove(path.c_str());
}

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
