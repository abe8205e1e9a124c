// Compile-and-replay: converts a model with the real program, compiles the generated C source with the system C
// compiler against stand-ins for the console headers, and replays the compiled display list over a 16-slot
// vertex cache (replay_main.c). The triangles it draws must be exactly the model's triangles with three distinct
// vertex numbers, in the model's order, with the right vertex values.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "objfile.h"

namespace fs = std::filesystem;

namespace {

using Triple = std::array<long, 3>;

// What the replay prints for one corner: position, then texture coordinate s and t.
struct Corner {
    long x, y, z, s, t;
    bool operator==(const Corner& o) const
    {
        return x == o.x && y == o.y && z == o.z && s == o.s && t == o.t;
    }
};

struct Drawn {
    Triple vertices;
    std::array<Corner, 3> corners;
};

std::string Quoted(const fs::path& path) { return "\"" + path.string() + "\""; }

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

fs::path FreshFolder(const std::string& name)
{
    const fs::path dir = fs::path(REPLAY_SCRATCH_DIR) / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

// The triangles of a loaded model that have three distinct vertex numbers, in the model's order.
std::vector<Triple> DrawableTriangles(const ObjFile& model)
{
    std::vector<Triple> result;
    const uint32_t* indices = model.GetIndices();
    for (int32_t k = 0; k + 2 < model.GetNumIndices(); k += 3) {
        const Triple t = {long(indices[k]), long(indices[k + 1]), long(indices[k + 2])};
        if (t[0] != t[1] && t[0] != t[2] && t[1] != t[2]) {
            result.push_back(t);
        }
    }
    return result;
}

// Converts <dir>/replay.obj with the real program, compiles replay.c with the replay program and runs it.
// On success `drawn` holds one entry per triangle the list draws.
// Runs the program on <dir>/replay.obj, its output and errors going to files in <dir>.
std::string ConvertCommand(const fs::path& dir)
{
    return Quoted(POLVANE_EXE) + " " + Quoted(dir / "replay.obj") + " > " + Quoted(dir / "convert.out") +
           " 2> " + Quoted(dir / "convert.err");
}

::testing::AssertionResult ConvertCompileReplay(const fs::path& dir, int32_t numVertices, int32_t numIndices,
                                                bool numbersOnly, std::vector<Drawn>& drawn)
{
    if (std::system(ConvertCommand(dir).c_str()) != 0) {
        return ::testing::AssertionFailure() << "conversion failed: " << ReadText(dir / "convert.err");
    }
    const fs::path program = dir / "replay_prog";
    const std::string compile = Quoted(REPLAY_C_COMPILER) + " -w -I" + Quoted(REPLAY_STAND_IN_DIR) + " -I" +
                                Quoted(dir) + " " + Quoted(dir / "replay.c") + " " +
                                Quoted(REPLAY_MAIN_SOURCE) + " -o " + Quoted(program) + " 2> " +
                                Quoted(dir / "compile.err");
    if (std::system(compile.c_str()) != 0) {
        return ::testing::AssertionFailure() << "the generated source does not compile:\n"
                                             << ReadText(dir / "compile.err");
    }
    // Every command of the list is a load (at most three per triangle), a triangle, or one of the two syncs of
    // a batch (at most one batch per triangle, plus one for a list of degenerate triangles), then the end.
    const long bound = 6L * (numIndices / 3) + 3;
    const std::string replay = Quoted(program) + " " + std::to_string(numVertices) + " " +
                               std::to_string(bound) + (numbersOnly ? " numbers" : "") + " > " +
                               Quoted(dir / "replay.out") + " 2> " + Quoted(dir / "replay.err");
    if (std::system(replay.c_str()) != 0) {
        return ::testing::AssertionFailure() << "the replay rejected the display list: "
                                             << ReadText(dir / "replay.err");
    }
    drawn.clear();
    std::istringstream lines(ReadText(dir / "replay.out"));
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        Drawn d{};
        fields >> d.vertices[0] >> d.vertices[1] >> d.vertices[2];
        if (!numbersOnly) {
            for (Corner& c : d.corners) {
                fields >> c.x >> c.y >> c.z >> c.s >> c.t;
            }
        }
        if (!fields) {
            return ::testing::AssertionFailure() << "unreadable replay line: " << line;
        }
        drawn.push_back(d);
    }
    return ::testing::AssertionSuccess();
}

// A grid of W x H points; point (i, j) sits at (3i - 60, 2j - 40, (i*j) mod 7 - 3) with texture coordinate
// (i/8, j/8), which the vertex rows write as s = 256 i and t = 2048 - 256 j (t is flipped).
constexpr int gridW = 40;
constexpr int gridH = 40;

struct GridFace {
    std::vector<int> points;  // grid point numbers j * gridW + i
    bool withTexture;         // corners written "p/p" rather than "p"
};

Corner ExpectedCorner(int point, bool withTexture)
{
    const long i = point % gridW;
    const long j = point / gridW;
    Corner c{3 * i - 60, 2 * j - 40, (i * j) % 7 - 3, 0, 2048};
    if (withTexture) {
        c.s = 256 * i;
        c.t = 2048 - 256 * j;
    }
    return c;
}

TEST(Replay, ShuffledGridWithQuadsAndDegenerateFacesDrawsEveryTriangleInOrder)
{
    std::vector<GridFace> faces;
    for (int j = 0; j + 1 < gridH; ++j) {
        for (int i = 0; i + 1 < gridW; ++i) {
            const int a = j * gridW + i;
            const int b = a + 1;
            const int c = a + gridW + 1;
            const int d = a + gridW;
            const bool withTexture = (i + 2 * j) % 5 != 0;
            switch ((i + j) % 3) {
            case 0:
                faces.push_back({{a, b, c, d}, withTexture});
                break;
            case 1:
                faces.push_back({{a, b, c}, withTexture});
                faces.push_back({{a, c, d}, withTexture});
                break;
            default:
                faces.push_back({{b, c, d}, withTexture});
                faces.push_back({{b, d, a}, withTexture});
                break;
            }
        }
    }
    std::mt19937 random(20261206u);
    std::shuffle(faces.begin(), faces.end(), random);
    // Faces that repeat a corner reference: their triangles are never drawn.
    std::vector<GridFace> withDegenerate;
    for (size_t f = 0; f < faces.size(); ++f) {
        withDegenerate.push_back(faces[f]);
        if (f % 37 == 5) {
            const GridFace& last = faces[f];
            withDegenerate.push_back({{last.points[0], last.points[0], last.points[1]}, last.withTexture});
        }
        if (f % 101 == 7) {
            const GridFace& last = faces[f];
            withDegenerate.push_back({{last.points[2], last.points[2], last.points[2]}, last.withTexture});
        }
    }

    const fs::path dir = FreshFolder("grid");
    {
        std::ofstream obj(dir / "replay.obj", std::ios::binary);
        obj << "# shuffled grid\n";
        for (int j = 0; j < gridH; ++j) {
            for (int i = 0; i < gridW; ++i) {
                obj << "v " << 3 * i - 60 << " " << 2 * j - 40 << " " << (i * j) % 7 - 3 << "\n";
            }
        }
        for (int j = 0; j < gridH; ++j) {
            for (int i = 0; i < gridW; ++i) {
                obj << "vt " << i / 8 << "." << (i % 8) * 125 << " " << j / 8 << "." << (j % 8) * 125 << "\n";
            }
        }
        for (const GridFace& face : withDegenerate) {
            obj << "f";
            for (int p : face.points) {
                obj << " " << p + 1;
                if (face.withTexture) {
                    obj << "/" << p + 1;
                }
            }
            obj << "\n";
        }
    }

    // The triangles the list must draw: each face fanned around its first corner, minus those that repeat a
    // corner, with the values of their corners.
    std::vector<std::array<Corner, 3>> expected;
    for (const GridFace& face : withDegenerate) {
        for (size_t k = 1; k + 1 < face.points.size(); ++k) {
            const int p0 = face.points[0], p1 = face.points[k], p2 = face.points[k + 1];
            if (p0 != p1 && p0 != p2 && p1 != p2) {
                expected.push_back({ExpectedCorner(p0, face.withTexture), ExpectedCorner(p1, face.withTexture),
                                    ExpectedCorner(p2, face.withTexture)});
            }
        }
    }
    ASSERT_GT(expected.size(), 3000u);

    const ObjFile model((dir / "replay.obj").string().c_str());
    ASSERT_NE(model.GetVertices(), nullptr);
    std::vector<Drawn> drawn;
    ASSERT_TRUE(ConvertCompileReplay(dir, model.GetNumVertices(), model.GetNumIndices(), false, drawn));

    const std::vector<Triple> triangles = DrawableTriangles(model);
    ASSERT_EQ(triangles.size(), expected.size());
    ASSERT_EQ(drawn.size(), expected.size());
    for (size_t t = 0; t < drawn.size(); ++t) {
        ASSERT_EQ(drawn[t].vertices, triangles[t]) << "triangle " << t;
        for (int c = 0; c < 3; ++c) {
            const Corner& got = drawn[t].corners[c];
            const Corner& want = expected[t][c];
            ASSERT_TRUE(got == want) << "triangle " << t << " corner " << c << ": drawn (" << got.x << ", "
                                     << got.y << ", " << got.z << " / " << got.s << ", " << got.t
                                     << "), expected (" << want.x << ", " << want.y << ", " << want.z << " / "
                                     << want.s << ", " << want.t << ")";
        }
    }
}

TEST(Replay, CorpusFilesDrawTheirTriangles)
{
    const fs::path corpus(REPLAY_CORPUS_DIR);
    if (!fs::is_directory(corpus)) {
        GTEST_SKIP() << "no corpus at " << corpus.string();
    }
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(corpus)) {
        if (entry.is_regular_file() && entry.path().extension() == ".obj") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty());

    // Each file is converted in its own folder as replay.obj, so that the outputs never land in the corpus.
    struct Job {
        fs::path file;
        fs::path dir;
        bool loads = false;
        int32_t numVertices = 0;
        int32_t numIndices = 0;
        int status = 0;
        std::vector<Triple> triangles;
        ::testing::AssertionResult result = ::testing::AssertionSuccess();
        std::vector<Drawn> drawn;
    };
    std::vector<Job> jobs(files.size());
    for (size_t n = 0; n < files.size(); ++n) {
        Job& job = jobs[n];
        job.file = files[n];
        job.dir = FreshFolder("corpus/" + std::to_string(n));
        fs::copy_file(job.file, job.dir / "replay.obj");
        // Files the loader rejects report their own error on the error stream; keep it quiet here.
        std::streambuf* const saved = std::cerr.rdbuf(nullptr);
        const ObjFile model((job.dir / "replay.obj").string().c_str());
        std::cerr.rdbuf(saved);
        std::cerr.clear();
        job.loads = model.GetVertices() != nullptr;
        if (job.loads) {
            job.triangles = DrawableTriangles(model);
            job.numVertices = model.GetNumVertices();
            job.numIndices = model.GetNumIndices();
        }
    }

    // Converting and compiling dominate the time; the files are independent, so a few run side by side.
    std::atomic<size_t> next{0};
    auto work = [&]() {
        for (size_t n = next++; n < jobs.size(); n = next++) {
            Job& job = jobs[n];
            if (job.loads) {
                job.result = ConvertCompileReplay(job.dir, job.numVertices, job.numIndices, true, job.drawn);
            } else {
                job.status = std::system(ConvertCommand(job.dir).c_str());
            }
        }
    };
    const unsigned workers = std::max(2u, std::min(4u, std::thread::hardware_concurrency()));
    std::vector<std::thread> threads;
    for (unsigned w = 0; w < workers; ++w) {
        threads.emplace_back(work);
    }
    for (std::thread& thread : threads) {
        thread.join();
    }

    int replayed = 0;
    for (const Job& job : jobs) {
        SCOPED_TRACE(job.file.filename().string());
        if (!job.loads) {
            // A file the loader rejects makes the program fail without writing anything.
            EXPECT_NE(job.status, 0);
            EXPECT_FALSE(fs::exists(job.dir / "replay.c"));
            EXPECT_FALSE(fs::exists(job.dir / "replay.h"));
            if (!::testing::Test::HasFailure()) {
                fs::remove_all(job.dir);
            }
            continue;
        }
        ASSERT_TRUE(job.result);
        ASSERT_EQ(job.drawn.size(), job.triangles.size());
        for (size_t t = 0; t < job.drawn.size(); ++t) {
            ASSERT_EQ(job.drawn[t].vertices, job.triangles[t]) << "triangle " << t;
        }
        ++replayed;
        fs::remove_all(job.dir);
    }
    std::cout << "replayed " << replayed << " of " << files.size() << " corpus files\n";
    EXPECT_GT(replayed, 0);
}

}  // namespace
