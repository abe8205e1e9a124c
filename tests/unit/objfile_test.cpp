#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "model/objfile.h"

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
