#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "output/outputfiles.h"
#include "output/targetfile.h"

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
    const bool unchanged[2] = {false, false};
    EXPECT_EQ(ReplaceTargets(header, source, unchanged), source);
    EXPECT_EQ(Read(header), "old header");
    EXPECT_EQ(Read(source), "old source");
    size_t names = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names += entry.path().extension() == ".c" || entry.path().extension() == ".h" ? 1 : 100;
    }
    EXPECT_EQ(names, 2u);
    fs::remove_all(folder);
}

// Each output goes through a TargetFile, which writes a temporary only where the target's bytes differ.
std::string WriteThrough(const std::string& target, const std::string& text, bool& unchanged)
{
    TargetFile file(target);
    // In pieces, as the writers hand over their blocks, and one byte on its own.
    const size_t half = text.size() / 2;
    file.Write(text.data(), half);
    if (half < text.size()) {
        file << text[half];
        file.Write(text.data() + half + 1, text.size() - half - 1);
    }
    EXPECT_FALSE(file.Failed());
    EXPECT_TRUE(file.Finish());
    unchanged = file.Unchanged();
    return fs::exists(target + temporarySuffix) ? Read(target + temporarySuffix) : std::string("(none)");
}

TEST(TargetFile, WritesATemporaryOnlyWhenTheTargetsBytesDiffer)
{
    const fs::path folder = fs::temp_directory_path() / "polvane-targetfile-test";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string target = (folder / "cube.c").string();
    // Longer than the blocks compared at once, so a difference can fall after whole matching blocks.
    std::string text;
    for (int row = 0; text.size() < 40000; ++row) {
        text += "    {{" + std::to_string(row) + ", 0, 0}, 0, {0, 0}, {0, 0, 0, 255}},\n";
    }
    std::string late = text;
    late[late.size() - 3] = '9';
    const struct {
        const char* what;
        bool exists;
        std::string before;
    } cases[] = {
        {"no target", false, ""},       {"same bytes", true, text},
        {"first byte", true, "x" + text.substr(1)},         {"last bytes", true, late},
        {"target longer", true, text + "extra\n"},          {"target shorter", true, text.substr(0, 20000)},
        {"target empty", true, ""},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(example.what);
        fs::remove(target);
        fs::remove(target + temporarySuffix);
        if (example.exists) {
            std::ofstream(target, std::ios::binary) << example.before;
        }
        bool unchanged = false;
        const std::string temporary = WriteThrough(target, text, unchanged);
        const bool same = example.exists && example.before == text;
#if defined(_WIN32)
        // A text file's line ends: the target holding LF line ends only is not the same.
        (void)same;
        EXPECT_FALSE(unchanged);
#else
        EXPECT_EQ(unchanged, same);
        EXPECT_EQ(temporary, same ? "(none)" : text);
#endif
        if (example.exists) {
            EXPECT_EQ(Read(target), example.before);
        }
    }
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
    bool unchanged[2] = {false, false};
    WriteThrough(header, "same header", unchanged[0]);
    WriteThrough(source, "new source", unchanged[1]);
    EXPECT_EQ(ReplaceTargets(header, source, unchanged), "");
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
