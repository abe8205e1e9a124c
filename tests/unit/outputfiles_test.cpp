#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "output/outputfiles.h"

namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string Read(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ReplaceTargetsTest : public testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() /
                 ("polvane-outputfiles-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        header = (folder / "cube.h").string();
        source = (folder / "cube.c").string();
    }
    void TearDown() override { fs::remove_all(folder); }

    // The names in the folder, sorted, separated by blanks.
    std::string Listing() const
    {
        std::string names;
        for (const std::string& name : {std::string("cube.c"), std::string("cube.c") + temporarySuffix,
                                        std::string("cube.c") + backupSuffix, std::string("cube.h"),
                                        std::string("cube.h") + temporarySuffix, std::string("cube.h") + backupSuffix}) {
            if (fs::exists(folder / name)) {
                names += (names.empty() ? "" : " ") + name;
            }
        }
        return names;
    }

    fs::path folder;
    std::string header;
    std::string source;
};

TEST_F(ReplaceTargetsTest, NewFilesTakeThePlaceOfEarlierOnes)
{
    Write(header, "old header");
    Write(source, "old source");
    Write(header + temporarySuffix, "new header");
    Write(source + temporarySuffix, "new source");
    EXPECT_EQ(ReplaceTargets(header, source), "");
    EXPECT_EQ(Read(header), "new header");
    EXPECT_EQ(Read(source), "new source");
    EXPECT_EQ(Listing(), "cube.c cube.h");
}

TEST_F(ReplaceTargetsTest, WhenTheSecondMoveFailsBothEarlierFilesComeBack)
{
    Write(header, "old header");
    Write(source, "old source");
    Write(header + temporarySuffix, "new header");
    // No finished source: its move fails after the header's has been made.
    EXPECT_EQ(ReplaceTargets(header, source), source);
    EXPECT_EQ(Read(header), "old header");
    EXPECT_EQ(Read(source), "old source");
    EXPECT_EQ(Listing(), "cube.c cube.h");
}

TEST_F(ReplaceTargetsTest, WhenTheSecondMoveFailsWithoutEarlierFilesNothingIsLeft)
{
    Write(header + temporarySuffix, "new header");
    EXPECT_EQ(ReplaceTargets(header, source), source);
    EXPECT_EQ(Listing(), "");
}

}
