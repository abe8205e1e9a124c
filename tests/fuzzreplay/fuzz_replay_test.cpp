// Every file of the fuzz corpus goes through the checks of its fuzz target. (The real models of the shared
// corpus are pinned by the digests of their conversions in tests/corpus.)

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "harness.h"
#include "textureharness.h"

namespace fs = std::filesystem;

namespace {

template <typename Check>
void ReplayCorpus(const fs::path& folder, Check check)
{
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        files.push_back(entry.path());
    }
    ASSERT_GE(files.size(), 10u) << "the corpus " << folder << " is missing";
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_EQ(check(bytes.data(), bytes.size()), "") << file.filename().string();
    }
}

}

TEST(FuzzCorpus, LoadedModelsAreWellFormed)
{
    ReplayCorpus(fs::path(FUZZ_CORPUS_DIR) / "obj", CheckLoader);
}

TEST(FuzzCorpus, DisplayListsDrawExactlyTheModelsTriangles)
{
    const fs::path scratch = fs::path(FUZZ_SCRATCH_DIR) / "displaylist";
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    ReplayCorpus(fs::path(FUZZ_CORPUS_DIR) / "obj",
                 [&](const uint8_t* data, size_t size) { return CheckDisplayList(data, size, scratch.string()); });
    fs::remove_all(scratch);
}

TEST(FuzzCorpus, OptionParserStaysInsideTheArgumentList)
{
    ReplayCorpus(fs::path(FUZZ_CORPUS_DIR) / "options", CheckOptions);
}

TEST(FuzzCorpus, MaterialLibrariesReadWholeOrReportOneLine)
{
    ReplayCorpus(fs::path(FUZZ_CORPUS_DIR) / "mtl", CheckMaterialLibrary);
}

TEST(FuzzCorpus, ImagesDecodeWithinTheirLimitsAndConvert)
{
    const fs::path scratch = fs::path(FUZZ_SCRATCH_DIR) / "image";
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    ReplayCorpus(fs::path(FUZZ_CORPUS_DIR) / "image",
                 [&](const uint8_t* data, size_t size) { return CheckImageLoader(data, size, scratch.string()); });
    fs::remove_all(scratch);
}

TEST(FuzzCorpus, TexturesFitTextureMemoryAndDecodeToThemselves)
{
    ReplayCorpus(fs::path(FUZZ_CORPUS_DIR) / "texture", CheckTexture);
}

TEST(FuzzCorpus, CuttingAlongTilesCoversEachTriangleOnce)
{
    ReplayCorpus(fs::path(FUZZ_CORPUS_DIR) / "cutting", CheckCutting);
}
