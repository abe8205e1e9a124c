// Compile-and-replay: converts a model with the real program, for each microcode and with or without
// --optimize, compiles the generated C source with the system C compiler against stand-ins for that microcode's
// graphics definitions, and replays the compiled display list over the vertex cache (replay_main.c).
//
// Without --optimize the list must draw exactly the model's triangles with three distinct vertex numbers, in the
// model's order, corner for corner. With --optimize the vertex array is written in a new order, so rows are
// compared by what they hold: the drawn triangles, each as the values of its three rows up to a rotation of its
// corners, must be the model's triangles as a multiset, where the model's triangles take their values from the
// rows of a default run of the same model (whose row k is vertex k, which the default run's own check proves).

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "model/objfile.h"

namespace fs = std::filesystem;

namespace {

using Triple = std::array<long, 3>;
// The ten values of one vertex row as the replay prints them: x, y, z, flag, s, t, the three normal or colour
// bytes, alpha.
using Row = std::array<long, 10>;
using ValueTriangle = std::array<Row, 3>;

struct Drawn {
    Triple rows;
    ValueTriangle corners;
};

// What one replay printed.
struct Replayed {
    std::vector<Drawn> drawn;
    bool withValues = false;
    long rows = 0;      // length of the vertex array
    long commands = 0;  // length of the display list, its end command included
    long syncs = 0;
    long syncBeforeEnd = 0;
    long loads = 0;
    long loaded = 0;
    // What the program's --stats summary said, when the mode asks for it: the label before ": " and the first
    // number after it.
    std::map<std::string, long> stats;
};

// One way of running the program, and the stand-in graphics definitions its output compiles against. Every mode
// but the default asks for the summary, which must agree with what the replay counted.
struct Mode {
    std::string name;
    std::vector<std::string> options;
    std::string define;  // empty for Fast3D
    int slots;           // the vertex cache the replay keeps
    bool optimized;
};

// The first mode is the default run, which every other one is compared with.
const std::vector<Mode>& Modes()
{
    static const std::vector<Mode> modes = {
        {"f3d", {}, "", 16, false},
        {"f3dex", {"--ucode", "f3dex", "--stats"}, "REPLAY_F3DEX", 32, false},
        {"f3dex2", {"--stats", "--ucode", "f3dex2"}, "REPLAY_F3DEX2", 32, false},
        {"f3dex3", {"--ucode", "f3dex3", "--stats"}, "REPLAY_F3DEX3", 56, false},
        {"f3dex2-cache5", {"--ucode", "f3dex2", "--cache", "5", "--stats"}, "REPLAY_F3DEX2", 5, false},
        {"f3d-optimize", {"--optimize", "--stats"}, "", 16, true},
        {"f3dex-optimize", {"--ucode", "f3dex", "--stats", "--optimize"}, "REPLAY_F3DEX", 32, true},
        {"f3dex2-optimize", {"--optimize", "--ucode", "f3dex2", "--stats"}, "REPLAY_F3DEX2", 32, true},
        {"f3dex3-optimize", {"--stats", "--ucode", "f3dex3", "--optimize"}, "REPLAY_F3DEX3", 56, true},
        {"f3dex3-cache3-optimize", {"--ucode", "f3dex3", "--cache", "3", "--optimize", "--stats"}, "REPLAY_F3DEX3",
         3, true},
        {"f3dex3-cache8-optimize", {"--ucode", "f3dex3", "--optimize", "--cache", "8", "--stats"}, "REPLAY_F3DEX3",
         8, true},
        {"f3dex3-cache64-optimize", {"--cache", "64", "--ucode", "f3dex3", "--stats", "--optimize"},
         "REPLAY_F3DEX3", 64, true},
        {"f3d-cache4-optimize", {"--cache", "4", "--optimize", "--stats"}, "", 4, true},
    };
    return modes;
}

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

// Runs the program on <dir>/replay.obj with the mode's options, its output and errors going to files in <dir>.
std::string ConvertCommand(const fs::path& dir, const Mode& mode)
{
    std::string command = Quoted(POLVANE_EXE);
    for (const std::string& option : mode.options) {
        command += " " + option;
    }
    return command + " " + Quoted(dir / "replay.obj") + " > " + Quoted(dir / "convert.out") + " 2> " +
           Quoted(dir / "convert.err");
}

// Converts <dir>/replay.obj in the given mode, compiles the generated source into the replay program, runs it
// and reads what it printed.
::testing::AssertionResult ConvertCompileReplay(const fs::path& dir, const Mode& mode, bool withValues,
                                                Replayed& replayed)
{
    if (std::system(ConvertCommand(dir, mode).c_str()) != 0) {
        return ::testing::AssertionFailure() << mode.name << ": conversion failed: " << ReadText(dir / "convert.err");
    }
    const fs::path program = dir / "replay_prog";
    const std::string define = mode.define.empty() ? std::string() : " -D" + mode.define;
    // The replay program includes the generated source, which includes its header, which includes "model.h".
    const std::string compile = Quoted(REPLAY_C_COMPILER) + " -w" + define + " -I" + Quoted(REPLAY_STAND_IN_DIR) +
                                " -I" + Quoted(dir) + " " + Quoted(REPLAY_MAIN_SOURCE) + " -o " + Quoted(program) +
                                " 2> " + Quoted(dir / "compile.err");
    if (std::system(compile.c_str()) != 0) {
        return ::testing::AssertionFailure() << mode.name << ": the generated source does not compile:\n"
                                             << ReadText(dir / "compile.err");
    }
    const std::string replay = Quoted(program) + " " + std::to_string(mode.slots) + (withValues ? "" : " numbers") +
                               " > " + Quoted(dir / "replay.out") + " 2> " + Quoted(dir / "replay.err");
    if (std::system(replay.c_str()) != 0) {
        return ::testing::AssertionFailure() << mode.name << ": the replay rejected the display list: "
                                             << ReadText(dir / "replay.err");
    }
    replayed = Replayed{};
    replayed.withValues = withValues;
    std::istringstream lines(ReadText(dir / "replay.out"));
    std::string line;
    bool ended = false;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        if (line.compare(0, 4, "end ") == 0) {
            std::string word;
            fields >> word >> replayed.rows >> replayed.commands >> replayed.syncs >> replayed.syncBeforeEnd >>
                replayed.loads >> replayed.loaded;
            ended = true;
        } else {
            Drawn d{};
            fields >> d.rows[0] >> d.rows[1] >> d.rows[2];
            if (withValues) {
                for (Row& row : d.corners) {
                    for (long& value : row) {
                        fields >> value;
                    }
                }
            }
            replayed.drawn.push_back(d);
        }
        if (!fields) {
            return ::testing::AssertionFailure() << mode.name << ": unreadable replay line: " << line;
        }
    }
    if (!ended) {
        return ::testing::AssertionFailure() << mode.name << ": the replay printed no closing line";
    }
    if (std::find(mode.options.begin(), mode.options.end(), "--stats") != mode.options.end()) {
        std::istringstream summary(ReadText(dir / "convert.out"));
        while (std::getline(summary, line)) {
            const size_t colon = line.find(": ");
            if (colon != std::string::npos) {
                replayed.stats[line.substr(0, colon)] = std::strtol(line.c_str() + colon + 2, nullptr, 10);
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// The triangle turned so that its smallest corner comes first; turning keeps the winding, mirroring would not.
ValueTriangle Turned(const ValueTriangle& t)
{
    const ValueTriangle one = {t[1], t[2], t[0]};
    const ValueTriangle two = {t[2], t[0], t[1]};
    return std::min({t, one, two});
}

// The summary of a run, where the mode asks for one, must tell what the replay saw.
::testing::AssertionResult CheckStats(const Mode& mode, const Replayed& run, size_t numTriangles)
{
    if (std::find(mode.options.begin(), mode.options.end(), "--stats") == mode.options.end()) {
        return ::testing::AssertionSuccess();
    }
    const std::pair<const char*, long> expected[] = {
        {"Triangles drawn", long(run.drawn.size())},
        {"Degenerate triangles skipped", long(numTriangles) - long(run.drawn.size())},
        {"Vertices", run.rows},
        {"Load rows", run.loads},
        {"Vertices loaded", run.loaded},
        {"Display-list commands", run.commands},
        {"Vertex-array bytes", 16 * run.rows},
    };
    for (const auto& entry : expected) {
        const auto found = run.stats.find(entry.first);
        if (found == run.stats.end()) {
            return ::testing::AssertionFailure() << mode.name << ": the summary has no line \"" << entry.first << "\"";
        }
        if (found->second != entry.second) {
            return ::testing::AssertionFailure() << mode.name << ": the summary says " << entry.first << ": "
                                                 << found->second << ", the replay counted " << entry.second;
        }
    }
    return ::testing::AssertionSuccess();
}

// Checks one replay of a model against the model's drawable triangles and, for every mode but the default, the
// default run of the same model, itself already checked.
::testing::AssertionResult CheckRun(const Mode& mode, const Replayed& run, const std::vector<Triple>& triangles,
                                    int32_t numVertices, const Replayed& reference)
{
    if (run.drawn.size() != triangles.size()) {
        return ::testing::AssertionFailure() << mode.name << ": drew " << run.drawn.size() << " triangles, the model has "
                                             << triangles.size();
    }
    if (!mode.optimized) {
        if (run.rows != numVertices) {
            return ::testing::AssertionFailure() << mode.name << ": " << run.rows << " vertex rows for "
                                                 << numVertices << " vertices";
        }
        for (size_t t = 0; t < triangles.size(); ++t) {
            if (run.drawn[t].rows != triangles[t]) {
                return ::testing::AssertionFailure()
                       << mode.name << ": triangle " << t << " drawn with vertices " << run.drawn[t].rows[0] << " "
                       << run.drawn[t].rows[1] << " " << run.drawn[t].rows[2] << ", the model has "
                       << triangles[t][0] << " " << triangles[t][1] << " " << triangles[t][2];
            }
            if (run.withValues && reference.withValues &&
                run.drawn[t].corners != reference.drawn[t].corners) {
                return ::testing::AssertionFailure() << mode.name << ": triangle " << t
                                                     << " drawn with other values than in the default run";
            }
        }
        return ::testing::AssertionSuccess();
    }

    // An optimised list ends in the one sync, right before the end command.
    if (run.syncs != 1 || run.syncBeforeEnd != 1) {
        return ::testing::AssertionFailure() << mode.name << ": " << run.syncs
                                             << " syncs, where one right before the end is expected"
                                             << (run.syncBeforeEnd ? "" : " (the end follows no sync)");
    }
    if (!run.withValues || !reference.withValues) {
        return ::testing::AssertionFailure() << mode.name << ": an optimised run is compared by its rows' values";
    }
    std::vector<ValueTriangle> drawn;
    std::vector<ValueTriangle> wanted;
    for (size_t t = 0; t < triangles.size(); ++t) {
        drawn.push_back(Turned(run.drawn[t].corners));
        wanted.push_back(Turned(reference.drawn[t].corners));
    }
    std::sort(drawn.begin(), drawn.end());
    std::sort(wanted.begin(), wanted.end());
    const auto differ = std::mismatch(drawn.begin(), drawn.end(), wanted.begin());
    if (differ.first != drawn.end()) {
        return ::testing::AssertionFailure() << mode.name << ": the drawn triangles differ from the model's, "
                                             << "first at " << differ.first - drawn.begin() << " in sorted order";
    }
    return ::testing::AssertionSuccess();
}

// Runs the tasks on a few threads: converting and compiling dominate the time, and the runs are independent.
void RunSideBySide(size_t count, const std::function<void(size_t)>& task)
{
    std::atomic<size_t> next{0};
    auto work = [&]() {
        for (size_t n = next++; n < count; n = next++) {
            task(n);
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
}

// Converts the model written at <folder>/replay.obj in every mode, each in a folder of its own, and checks each
// run. Returns the default run.
Replayed ReplayInEveryMode(const std::string& folder, const std::string& objText)
{
    std::vector<fs::path> dirs;
    for (const Mode& mode : Modes()) {
        dirs.push_back(FreshFolder(folder + "/" + mode.name));
        std::ofstream(dirs.back() / "replay.obj", std::ios::binary) << objText;
    }
    const ObjFile model((dirs[0] / "replay.obj").string().c_str());
    EXPECT_NE(model.GetVertices(), nullptr);
    if (model.GetVertices() == nullptr) {
        return Replayed{};
    }
    const std::vector<Triple> triangles = DrawableTriangles(model);

    std::vector<Replayed> runs(Modes().size());
    std::vector<::testing::AssertionResult> results(Modes().size(), ::testing::AssertionSuccess());
    RunSideBySide(Modes().size(),
                  [&](size_t m) { results[m] = ConvertCompileReplay(dirs[m], Modes()[m], true, runs[m]); });
    for (size_t m = 0; m < Modes().size(); ++m) {
        EXPECT_TRUE(results[m]);
        if (results[m]) {
            EXPECT_TRUE(CheckRun(Modes()[m], runs[m], triangles, model.GetNumVertices(), runs[0]));
            EXPECT_TRUE(CheckStats(Modes()[m], runs[m], size_t(model.GetNumIndices() / 3)));
        }
    }
    if (!::testing::Test::HasFailure()) {
        fs::remove_all(fs::path(REPLAY_SCRATCH_DIR) / folder);
    }
    return runs[0];
}

TEST(Replay, SmallModelsDrawEveryTriangleInEveryMode)
{
    // Only degenerate triangles: nothing is drawn, and the lists hold no load at all.
    ReplayInEveryMode("degenerate", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 1 2\nf 2 3 3\nf 3 1 3\nf 1 1 1\n");

    // A shuffled grid of quads, some written as two triangles, with texture coordinates on most faces and
    // degenerate faces among them.
    std::ostringstream grid;
    std::vector<std::string> faces;
    const int w = 24, h = 30;
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            grid << "v " << 3 * i - 60 << " " << 2 * j - 40 << " " << (i * j) % 7 - 3 << "\nvt " << i / 8.0 << " "
                 << j / 8.0 << "\n";
            const std::string t = (i + 2 * j) % 5 != 0 ? "/" : "";
            auto corner = [&](int p) { return " " + std::to_string(p + 1) + (t.empty() ? "" : t + std::to_string(p + 1)); };
            const int a = j * w + i, b = a + 1, c = a + w + 1, d = a + w;
            if (i + 1 < w && j + 1 < h) {
                faces.push_back((i + j) % 3 == 0 ? "f" + corner(a) + corner(b) + corner(c) + corner(d)
                                                 : "f" + corner(a) + corner(b) + corner(c) + "\nf" + corner(a) +
                                                       corner(c) + corner(d));
                if (a % 37 == 5) {
                    faces.push_back("f" + corner(a) + corner(a) + corner(b));
                }
            }
        }
    }

    // A fan of 150 triangles around one centre, so that the centre is needed by triangles of many batches; rim
    // points written twice, so that distinct vertices hold the same values; and triangles whose corners lie far
    // apart in the vertex array.
    std::ostringstream fan;
    const int rim = 150;
    fan << "v 0 0 0\n";
    for (int k = 0; k < 2 * rim; ++k) {
        const int m = k % rim;
        fan << "v " << (m * 37) % 101 - 50 << " " << (m * 53) % 97 - 48 << " " << m % 5 << "\n";
    }
    for (int k = 0; k < rim; ++k) {
        const int a = 2 + k, b = 2 + (k + 1) % rim;
        faces.push_back("f 1 " + std::to_string(a) + " " + std::to_string(b));
        if (k % 4 == 0) {
            faces.push_back("f " + std::to_string(a + rim) + " " + std::to_string(b + rim) + " 1");
        }
        if (k % 9 == 0) {
            faces.push_back("f " + std::to_string(a) + " " + std::to_string(2 + rim + (k * 7) % rim) + " " +
                            std::to_string(2 + (k * 13 + 71) % rim));
        }
    }
    const size_t gridFaces = faces.size() - rim - (rim + 3) / 4 - (rim + 8) / 9;
    std::mt19937 random(6u);
    std::shuffle(faces.begin(), faces.begin() + long(gridFaces), random);
    std::shuffle(faces.begin() + long(gridFaces), faces.end(), random);
    for (size_t f = 0; f < faces.size(); ++f) {
        (f < gridFaces ? grid : fan) << faces[f] << "\n";
    }
    EXPECT_GT(ReplayInEveryMode("grid", grid.str()).drawn.size(), 1300u);
    EXPECT_GT(ReplayInEveryMode("fan", fan.str()).drawn.size(), 190u);
}

}  // namespace
