#include <chrono>
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

TEST(ReplaceTargets, AnUnchangedTargetKeepsItsTimeAChangedOneIsReplaced)
{
    const fs::path folder = fs::temp_directory_path() / "polvane-unchanged-test";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string header = (folder / "cube.h").string(), source = (folder / "cube.c").string();
    std::ofstream(header, std::ios::binary) << "same header";
    std::ofstream(source, std::ios::binary) << "old source";
    const auto earlier = fs::last_write_time(header) - std::chrono::hours(1);
    fs::last_write_time(header, earlier);
    std::ofstream(header + temporarySuffix, std::ios::binary) << "same header";
    std::ofstream(source + temporarySuffix, std::ios::binary) << "new source";
    EXPECT_EQ(ReplaceTargets(header, source), "");
    EXPECT_EQ(fs::last_write_time(header), earlier);
    EXPECT_EQ(Read(source), "new source");
    EXPECT_FALSE(fs::exists(header + temporarySuffix) || fs::exists(source + temporarySuffix));
    fs::remove_all(folder);
}

// The preview and the dependency file are checked against the run's files as files, not as spellings.
TEST(SameFile, ComparesFilesWhereTheyExistAndPlacesWhereTheyDoNot)
{
    const fs::path folder = fs::temp_directory_path() / "polvane-samefile-test";
    fs::remove_all(folder);
    fs::create_directories(folder / "sub");
    const std::string texture = (folder / "ship.png").string();
    std::ofstream(texture, std::ios::binary) << "pixels";
    std::ofstream((folder / "copy.png").string(), std::ios::binary) << "pixels";
    EXPECT_TRUE(SameFile((folder / "sub" / ".." / "ship.png").string(), texture));
    EXPECT_FALSE(SameFile((folder / "copy.png").string(), texture));
    std::error_code linkError;
    fs::create_hard_link(texture, folder / "linked.png", linkError);
    if (!linkError) {
        EXPECT_TRUE(SameFile((folder / "linked.png").string(), texture));
    }
    // Outputs not written yet.
    EXPECT_TRUE(SameFile((folder / "sub" / ".." / "ship.c").string(), (folder / "ship.c").string()));
    EXPECT_FALSE(SameFile((folder / "ship.c").string(), (folder / "ship.h").string()));
    EXPECT_FALSE(SameFile((folder / "ship.c").string(), texture));
    fs::remove_all(folder);
}

}
