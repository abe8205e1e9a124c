#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "textures/materialloader.h"
#include "model/mtlfile.h"

namespace fs = std::filesystem;

namespace {

// Reads text into library; the error line, or "" when it reads.
std::string Parse(const std::string& text, MaterialLibrary& library)
{
    std::istringstream in(text);
    StringSink errors;
    const bool read = ParseMaterialLibrary(in, "m.mtl", library, errors);
    EXPECT_EQ(read, errors.str().empty()) << errors.str();
    return errors.str();
}

// One material's fields, written out for comparison.
std::string Fields(const MaterialDefinition& m)
{
    std::ostringstream out;
    out << "[" << m.name << "]@" << m.line;
    if (m.hasDiffuse) {
        out << " Kd " << m.diffuse[0] << " " << m.diffuse[1] << " " << m.diffuse[2];
    }
    if (m.opacity != 1.0f) {
        out << " d " << m.opacity;
    }
    if (!m.diffuseMap.empty()) {
        out << " map_Kd [" << m.diffuseMap << "]@" << m.diffuseMapLine << (m.clampDiffuse ? " clamp" : "");
    }
    if (!m.opacityMap.empty()) {
        out << " map_d [" << m.opacityMap << "]@" << m.opacityMapLine;
    }
    return out.str();
}

// The materials read from text, or the error line (a failed read adds none).
std::string FieldsOf(const std::string& text)
{
    MaterialLibrary library;
    std::string all = Parse(text, library);
    for (const MaterialDefinition& m : library.materials) {
        all += (all.empty() ? "" : " | ") + Fields(m);
    }
    return all;
}

using Case = std::pair<std::string, std::string>;

TEST(MaterialLibrary, ReadsTheValuesItUses)
{
    const Case cases[] = {
        {"newmtl a\nKd 0.25 0.5 2\n", "[a]@1 Kd 0.25 0.5 2"},
        {"newmtl a\nKd 0.5\n", "[a]@1 Kd 0.5 0.5 0.5"},
        {"newmtl a\nKd 0 0 0 1 extra\n", "[a]@1 Kd 0 0 0"},
        {"newmtl a\nKd 1 0 0\nKd spectral red.rfl\nKd xyz 1 1 1\n", "[a]@1 Kd 1 0 0"},
        {"newmtl a\nd 0.5\nTr 0.25\n", "[a]@1 d 0.5"},
        {"newmtl a\nTr 0.25\n", "[a]@1 d 0.75"},
        {"newmtl a\nTr 0.25\nd 0.5 extra\n", "[a]@1 d 0.5"},
        {"newmtl a\nd -halo 0.25\n", "[a]@1 d 0.25"},
        {"newmtl a\nmap_Kd -s 1 2 -o 0.1 -t 1 1 1 -clamp on -bm 0.5 -blendu off -blendv on -mm 0 1 -imfchan r "
         "-type sphere -texres 64 -cc on -boost 2 my  tex.png  # comment\n",
         "[a]@1 map_Kd [my  tex.png]@2 clamp"},
        {"newmtl a\nmap_Kd -clamp on one.png\nmap_Kd -CLAMP OFF two.png\nmap_d -clamp on ..\\alpha.png\n",
         "[a]@1 map_Kd [two.png]@3 map_d [..\\alpha.png]@4"},
        // Names: the rest of the line, trimmed; "#" starts a comment.
        {"newmtl\tWhite  Color\t\t\r\nnewmtl\nnewmtl a#b\n", "[White  Color]@1 | []@2 | [a]@3"},
        // Skipped: values before the first material, other keywords, however they are written.
        {"Kd x\nmap_Kd\nnewmtl a\nKa x\nNs\nillum\nbump -bm x\nmap_Ka -zz\nPr 1\nnewmtlx y\n", "[a]@3"},
        {"\xEF\xBB\xBF  newmtl a\r\n\tKD 1 0 0\rmap_kd\tt.png \r\n\r\nnewmtl b\n", "[a]@1 Kd 1 0 0 map_Kd [t.png]@3 | [b]@5"},
        // A material defined again: the later definition replaces all of the earlier one, in its place.
        {"newmtl a\nKd 1 0 0\nnewmtl b\nnewmtl a\nd 0.5\n", "[a]@4 d 0.5 | [b]@3"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FieldsOf(c.first), c.second) << c.first;
    }
}

TEST(MaterialLibrary, ReportsTheFirstMalformedLine)
{
    const Case cases[] = {
        {"newmtl m\nKd 1 x\n", "m.mtl:2: \"Kd\" needs 1 or 3 numbers, found \"x\""},
        {"newmtl m\nKd 1 2\n", "m.mtl:2: \"Kd\" needs 1 or 3 numbers, found 2"},
        {"newmtl m\nKd   # none\n", "m.mtl:2: \"Kd\" needs 1 or 3 numbers, found 0"},
        {"newmtl m\nKd 1x\n", "m.mtl:2: \"Kd\" needs 1 or 3 numbers, found \"1x\""},
        {"newmtl m\r\n\r\nd\n", "m.mtl:3: \"d\" needs 1 number, found 0"},
        {"newmtl m\rTr opaque\rKd x\r", "m.mtl:2: \"Tr\" needs 1 number, found \"opaque\""},
        {"newmtl m\nd 1e39\n", "m.mtl:2: number \"1e39\" is too large for a float"},
        {"newmtl m\nmap_Kd -o 1 1 1e40 t.png\n", "m.mtl:2: number \"1e40\" is too large for a float"},
        {"newmtl m\nmap_Kd   # comment\n", "m.mtl:2: \"map_Kd\" names no file"},
        {"newmtl m\nmap_d -s 1 2\n", "m.mtl:2: \"map_d\" names no file"},
        {"newmtl m\nmap_Kd -clamp yes t.png\n", "m.mtl:2: option \"-clamp\" needs on or off, found \"yes\""},
        {"newmtl m\nmap_Kd -blendu\n", "m.mtl:2: option \"-blendu\" needs on or off, found nothing"},
        {"newmtl m\nmap_Kd -s t.png\n", "m.mtl:2: option \"-s\" needs 1 to 3 numbers, found 0"},
        {"newmtl m\nmap_Kd -mm 1 t.png\n", "m.mtl:2: option \"-mm\" needs 2 numbers, found 1"},
        {"newmtl m\nmap_Kd -bm\n", "m.mtl:2: option \"-bm\" needs 1 number, found 0"},
        {"newmtl m\nmap_Kd -type\n", "m.mtl:2: option \"-type\" needs a value, found nothing"},
        {"newmtl m\nmap_Kd -halo 1 t.png\n", "m.mtl:2: \"map_Kd\" has no option \"-halo\""},
        {"newmtl m\nKd 1\nd x\nKd y\n", "m.mtl:3: \"d\" needs 1 number, found \"x\""},
        {std::string("newmtl m\n# a\0b\n", 15), "m.mtl:2: the line holds a NUL byte; a material library is text"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FieldsOf(c.first), c.second + "\n") << c.first;
    }
}

TEST(MaterialLibrary, LaterLibrariesAddToTheFirstAndAFaultAddsNothing)
{
    MaterialLibrary library;
    ASSERT_EQ(Parse("newmtl a\nKd 1 0 0\nnewmtl b\n", library), "");
    EXPECT_NE(Parse("newmtl a\nnewmtl c\nKd x\n", library), "");
    ASSERT_EQ(library.materials.size(), 2u);
    EXPECT_EQ(Fields(library.materials[0]), "[a]@1 Kd 1 0 0");
    ASSERT_EQ(Parse("newmtl c\nnewmtl a\nKd 0 1 0\n", library), "");
    ASSERT_EQ(library.materials.size(), 3u);
    EXPECT_EQ(Fields(library.materials[0]), "[a]@2 Kd 0 1 0");
    EXPECT_EQ(FindMaterial(library, "c"), &library.materials[2]);
    EXPECT_EQ(FindMaterial(library, "C"), nullptr);
}

TEST(MaterialLibraryFile, MissingFilesAndDevices)
{
    const fs::path folder = fs::temp_directory_path() / "polvane-mtlfile-test";
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::ofstream(folder / "good.mtl", std::ios::binary) << "newmtl a\nKd 0.5\n";
    MaterialLibrary library;
    const auto outcome = [&](const std::string& name) {
        StringSink errors;
        const LibraryFileOutcome read = ReadMaterialLibraryFile((folder / name).string(), library, errors);
        const std::string reported = errors.str();
        const size_t cut = reported.find(name);
        return std::to_string(int(read)) + (cut == std::string::npos ? reported : " " + reported.substr(cut));
    };
    EXPECT_EQ(outcome("good.mtl"), "0");
    EXPECT_EQ(outcome("absent.mtl"), "1");
#ifndef _WIN32
    ASSERT_EQ(mkfifo((folder / "pipe.mtl").c_str(), 0600), 0);
    EXPECT_EQ(outcome("pipe.mtl"), "2 pipe.mtl: is not a regular file, so not a material library\n");
#endif
    ASSERT_EQ(library.materials.size(), 1u);
    EXPECT_EQ(library.materials[0].library, (folder / "good.mtl").string());
    fs::remove_all(folder);
}

// The hint of the undefined-material warning: only a name that differs in case or by a small edit.
TEST(ClosestName, DiffersOnlyInCaseOrByASmallEdit)
{
    const std::vector<std::string> defined = {"Hull", "Red", "glass_clear", "wing"};
    EXPECT_EQ(ClosestName("red", defined), "Red");
    EXPECT_EQ(ClosestName("HULL", defined), "Hull");
    EXPECT_EQ(ClosestName("glass-clear", defined), "glass_clear");
    EXPECT_EQ(ClosestName("glasclear", defined), "glass_clear");
    EXPECT_EQ(ClosestName("wings", defined), "wing");
    // Two edits in a name of four are half of it: no hint.
    EXPECT_EQ(ClosestName("ring", {"rg"}), "");
    EXPECT_EQ(ClosestName("blue", defined), "");
    EXPECT_EQ(ClosestName("r", defined), "");
    EXPECT_EQ(ClosestName("red", {}), "");
}

}
