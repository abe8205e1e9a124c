#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "output/outputfiles.h"

namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Replacing is tried for real by the golden cases and a file-size limit (tests/outputfailure); a move that fails
// after the first one succeeded is not reachable from outside.
TEST(ReplaceTargets, WhenTheSecondMoveFailsTheEarlierFilesComeBack)
{
    const fs::path folder = fs::temp_directory_path() / "polvane-outputfiles-test";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string header = (folder / "cube.h").string(), source = (folder / "cube.c").string();
    std::ofstream(header, std::ios::binary) << "old header";
    std::ofstream(source, std::ios::binary) << "old source";
    // No finished source: its move fails after the header's has been made.
    std::ofstream(header + temporarySuffix, std::ios::binary) << "new header";
    EXPECT_EQ(ReplaceTargets(header, source), source);
    EXPECT_EQ(Read(header), "old header");
    EXPECT_EQ(Read(source), "old source");
    size_t names = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names += entry.path().extension() == ".c" || entry.path().extension() == ".h" ? 1 : 100;
    }
    EXPECT_EQ(names, 2u);
    fs::remove_all(folder);
}

}
