#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#if defined(__unix__)
#include <sys/stat.h>
#endif

#include "textures/image.h"

namespace fs = std::filesystem;

namespace {

class ImageFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() /
                 (std::string("polvane-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string Path(const char* name) const { return (folder / name).string(); }

    void WriteBytes(const char* name, const std::vector<uint8_t>& bytes) const
    {
        std::ofstream(Path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }

    ImageLoad Load(const std::string& path)
    {
        reason.clear();
        return LoadImage(path, image, reason);
    }

    fs::path folder;
    Image image;
    std::string reason;
};

TEST_F(ImageFiles, WrittenPngReadsBackTheSamePixels)
{
    Image written;
    written.width = 3;
    written.height = 1;
    written.rgba = {1, 2, 3, 4, 250, 251, 252, 253, 0, 128, 255, 0};
    ASSERT_TRUE(WritePng(Path("out.png"), written));
    ASSERT_EQ(Load(Path("out.png")), ImageLoad::Ok) << reason;
    EXPECT_EQ(image.rgba, written.rgba);
    EXPECT_FALSE(WritePng((folder / "no-such-folder" / "out.png").string(), written));
}

TEST_F(ImageFiles, RefusesWhatIsNotAReadableImage)
{
    EXPECT_EQ(Load(Path("absent.png")), ImageLoad::Missing);

    EXPECT_EQ(Load(folder.string()), ImageLoad::Unreadable);
    EXPECT_EQ(reason, "is not a regular file");

    WriteBytes("text.png", {'h', 'e', 'l', 'l', 'o', '\n'});
    EXPECT_EQ(Load(Path("text.png")), ImageLoad::Unreadable);
    EXPECT_EQ(reason, "is not a PNG, JPEG, TGA, BMP or GIF image");

    // Truncated and oversized images: golden cases.
#if defined(__unix__)
    // Opening a FIFO would wait for a writer forever.
    ASSERT_EQ(::mkfifo(Path("pipe.png").c_str(), 0600), 0);
    EXPECT_EQ(Load(Path("pipe.png")), ImageLoad::Unreadable);
    EXPECT_EQ(reason, "is not a regular file");
#endif
}

Image Pixels(int width, int height, std::vector<uint8_t> rgba)
{
    Image image;
    image.width = width;
    image.height = height;
    image.rgba = std::move(rgba);
    return image;
}

// Averaging in sRGB rather than picking pixels: a golden case (materials-large-texture-reduced-with-warning).
TEST(ResizeImage, TransparentPixelsLendNoColour)
{
    // Opaque red beside transparent green: the edge texel is red, half covered.
    std::vector<uint8_t> rgba;
    for (int k = 0; k < 16; ++k) {
        const bool left = k % 4 < 2;
        rgba.insert(rgba.end(), {uint8_t(left ? 255 : 0), uint8_t(left ? 0 : 255), 0, uint8_t(left ? 255 : 0)});
    }
    const Image small = ResizeImage(Pixels(4, 4, rgba), 1, 1);
    EXPECT_GE(small.rgba[0], 250);
    EXPECT_EQ(small.rgba[1], 0);
    EXPECT_NEAR(small.rgba[3], 128, 8);
}

}
