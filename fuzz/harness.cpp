#include "harness.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "diagnostics.h"
#include "model/assetpaths.h"
#include "model/mtlfile.h"
#include "plan/cacheoptimizer.h"
#include "output/csourcewriter.h"
#include "plan/displaylist.h"
#include "model/objfile.h"
#include "run/settings.h"

namespace {

const char* const sourceName = "fuzz.obj";
const char* const noModelMessage = "Obj file did not have a valid amount of vertices or indices\n";

// Sends the program's messages into a string for the lifetime of the guard.
class CapturedErrors {
public:
    CapturedErrors() { SendErrorsTo(&text); }
    ~CapturedErrors() { SendErrorsTo(nullptr); }
    CapturedErrors(const CapturedErrors&) = delete;
    CapturedErrors& operator=(const CapturedErrors&) = delete;
    std::string Text()
    {
        ErrorOutput().Flush();
        return text.str();
    }

private:
    StringSink text;
};

struct LoadResult {
    std::unique_ptr<ObjFile> model;
    std::string errors;
};

LoadResult Load(const uint8_t* data, size_t size, size_t pieceSize = objPieceSize, bool quickRecords = true)
{
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    LoadResult result;
    CapturedErrors captured;
    result.model = std::make_unique<ObjFile>(in, sourceName, false, pieceSize, quickRecords);
    result.errors = captured.Text();
    return result;
}

bool IsFinite(const Vector3D& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

bool SameBits(const Vector3D& a, const Vector3D& b)
{
    return std::memcmp(&a.x, &b.x, sizeof(float)) == 0 && std::memcmp(&a.y, &b.y, sizeof(float)) == 0 &&
           std::memcmp(&a.z, &b.z, sizeof(float)) == 0;
}

// A failed load reports exactly one line: the empty-model message, or "fuzz.obj:<line>: <what>" with a line
// that exists in the input.
std::string CheckFailureReport(const std::string& errors, const uint8_t* data, size_t size)
{
    if (errors == noModelMessage) {
        return std::string();
    }
    if (errors.empty() || errors.back() != '\n' || errors.find('\n') != errors.size() - 1) {
        return "a failed load must report exactly one line, got \"" + errors + "\"";
    }
    const std::string prefix = std::string(sourceName) + ":";
    if (errors.compare(0, prefix.size(), prefix) != 0) {
        return "error line does not start with the file name: " + errors;
    }
    size_t p = prefix.size();
    uint64_t line = 0;
    while (p < errors.size() && errors[p] >= '0' && errors[p] <= '9' && line < (uint64_t(1) << 40)) {
        line = line * 10 + uint64_t(errors[p] - '0');
        ++p;
    }
    if (errors.compare(p, 2, ": ") != 0 || p + 3 > errors.size()) {
        return "error line is not \"<file>:<line>: <what>\": " + errors;
    }
    const uint64_t lineCount = uint64_t(std::count(data, data + size, uint8_t('\n'))) + 1;
    if (line < 1 || line > lineCount) {
        return "error line number " + std::to_string(line) + " is outside 1.." + std::to_string(lineCount);
    }
    return std::string();
}

std::string CheckModel(const ObjFile& model, const uint8_t* data, size_t size)
{
    const int32_t numVertices = model.GetNumVertices();
    const int32_t numIndices = model.GetNumIndices();
    if (numVertices < 1 || numIndices < 3 || numIndices % 3 != 0) {
        return "bad counts: " + std::to_string(numVertices) + " vertices, " + std::to_string(numIndices) +
               " indices";
    }
    if (!model.GetIndices() || !model.GetNormals()) {
        return "a loaded model lacks its indices or normals";
    }
    const uint32_t* indices = model.GetIndices();
    if (indices[0] != 0) {
        return "the first index is " + std::to_string(indices[0]) + ", not 0";
    }
    uint32_t largest = 0;
    for (int32_t k = 0; k < numIndices; ++k) {
        if (indices[k] >= uint32_t(numVertices)) {
            return "index " + std::to_string(indices[k]) + " at " + std::to_string(k) + " is not below " +
                   std::to_string(numVertices);
        }
        if (indices[k] > largest + 1) {
            return "index " + std::to_string(indices[k]) + " at " + std::to_string(k) +
                   " skips ahead of the order of first appearance";
        }
        largest = std::max(largest, indices[k]);
    }
    if (largest + 1 != uint32_t(numVertices)) {
        return "vertex numbers " + std::to_string(largest + 1) + ".." + std::to_string(numVertices - 1) +
               " are never used";
    }

    // Generated normals are finite and of unit length, or zero where no triangle gives a direction.
    ObjFile generated(model);
    generated.ComputeNormals();
    bool fileNormals = false;
    for (int32_t i = 0; i < numVertices; ++i) {
        const Vector3D& n = generated.GetNormals()[i];
        if (!IsFinite(n)) {
            return "generated normal of vertex " + std::to_string(i) + " is not finite";
        }
        const double length = std::sqrt(double(n.x) * n.x + double(n.y) * n.y + double(n.z) * n.z);
        if (length != 0.0 && (length < 0.5 || length > 1.5)) {
            return "generated normal of vertex " + std::to_string(i) + " has length " + std::to_string(length);
        }
        fileNormals = fileNormals || !SameBits(n, model.GetNormals()[i]);
    }
    // Normals other than the generated ones can only come from "vn" records.
    const char* text = reinterpret_cast<const char*>(data);
    if (fileNormals && std::string(text, size).find("vn") == std::string::npos) {
        return "normals differ from the generated ones, but the input has no \"vn\" record";
    }
    return std::string();
}

// Follows the builder's commands over a 16-slot cache and records the vertex numbers of each triangle drawn.
class CacheReplay : public DisplayListSink {
public:
    CacheReplay(uint32_t vertexCount, const CacheLayout& cacheLayout, uint64_t commandBound)
        : numVertices(vertexCount), layout(cacheLayout), bound(commandBound)
    {
        for (int64_t& entry : cache) {
            entry = -1;
        }
    }

    void Load(uint32_t first, uint32_t count, uint32_t slot) override
    {
        if (!Count()) {
            return;
        }
        if (count < 1 || count > uint32_t(layout.maxLoad) || slot >= uint32_t(layout.size) ||
            count > uint32_t(layout.size) - slot) {
            Fail("load of " + std::to_string(count) + " vertices into slot " + std::to_string(slot));
            return;
        }
        if (uint64_t(first) + count > numVertices) {
            Fail("load of vertices " + std::to_string(first) + ".." + std::to_string(uint64_t(first) + count - 1) +
                 " past the " + std::to_string(numVertices) + " of the model");
            return;
        }
        for (uint32_t k = 0; k < count; ++k) {
            cache[slot + k] = int64_t(first) + k;
        }
    }
    void Sync() override { Count(); }
    void Triangle(uint32_t slot1, uint32_t slot2, uint32_t slot3) override
    {
        if (!Count()) {
            return;
        }
        for (uint32_t slot : {slot1, slot2, slot3}) {
            if (slot >= uint32_t(layout.size) || cache[slot] < 0) {
                Fail("triangle names slot " + std::to_string(slot) + ", which holds no vertex");
                return;
            }
            drawn.push_back(uint32_t(cache[slot]));
        }
    }

    std::vector<uint32_t> drawn;
    std::string error;

private:
    bool Count()
    {
        if (!error.empty()) {
            return false;
        }
        if (++commands > bound) {
            Fail("more commands than the model can need");
            return false;
        }
        return true;
    }
    void Fail(const std::string& what)
    {
        error = "command " + std::to_string(commands) + ": " + what;
    }

    int64_t cache[largestCache];
    uint32_t numVertices;
    CacheLayout layout;
    uint64_t bound;
    uint64_t commands = 0;
};

// The model's triangles with three distinct vertex numbers, in order, three numbers each.
std::vector<uint32_t> DrawnTriangles(const ObjFile& model)
{
    const uint32_t* indices = model.GetIndices();
    std::vector<uint32_t> triangles;
    for (int32_t k = 0; k + 2 < model.GetNumIndices(); k += 3) {
        const uint32_t a = indices[k];
        const uint32_t b = indices[k + 1];
        const uint32_t c = indices[k + 2];
        if (a != b && a != c && b != c) {
            triangles.insert(triangles.end(), {a, b, c});
        }
    }
    return triangles;
}

// The console's 16-slot cache most of the time; otherwise the larger caches, or any size from 3 to 64 with
// loads of at most 32 vertices, so that long runs need several loads.
CacheLayout ChosenLayout(uint32_t sum)
{
    switch (sum % 8) {
    case 1:
        return CacheLayout{32, 32, true};
    case 2:
        return CacheLayout{56, 56, true};
    case 3: {
        const int slots = 3 + int(sum / 8 % 62);
        return CacheLayout{slots, slots < 32 ? slots : 32, false};
    }
    default:
        return fast3dCache;
    }
}

// Each triangle rotated so that its smallest vertex number comes first, which keeps its winding; then sorted.
std::vector<std::array<uint32_t, 3>> Canonical(const std::vector<uint32_t>& triangles)
{
    std::vector<std::array<uint32_t, 3>> result;
    for (size_t k = 0; k + 2 < triangles.size(); k += 3) {
        std::array<uint32_t, 3> t = {triangles[k], triangles[k + 1], triangles[k + 2]};
        while (t[0] > t[1] || t[0] > t[2]) {
            t = {t[1], t[2], t[0]};
        }
        result.push_back(t);
    }
    std::sort(result.begin(), result.end());
    return result;
}

// Replays the optimizer's commands over the cache, mapping written rows back to the model's vertex numbers.
// Every triangle the model draws must be drawn exactly once, its corners possibly rotated.
std::string CheckOptimizedList(const ObjFile& model, const CacheLayout& layout, int minBatch, bool oneLoad,
                               int bandWidth, const std::vector<uint32_t>& expected)
{
    const uint32_t numVertices = uint32_t(model.GetNumVertices());
    const polvane::OptimizedList list =
        polvane::OptimizeForCache(model.GetIndices(), size_t(model.GetNumIndices()), numVertices, layout.size,
                                  layout.maxLoad, {minBatch, oneLoad}, bandWidth);
    // Rows may repeat a vertex (written again so that one load brings a whole run), but hold only the model's.
    for (uint32_t vertex : list.rowVertex) {
        if (vertex >= numVertices) {
            return "row of vertex " + std::to_string(vertex) + ", which the model lacks";
        }
    }
    CacheReplay replay(uint32_t(list.rowVertex.size()), layout, list.commands.size());
    for (const polvane::CacheCommand& command : list.commands) {
        if (command.kind == polvane::CacheCommand::Load) {
            replay.Load(command.a, command.b, command.c);
        } else {
            replay.Triangle(command.a, command.b, command.c);
        }
    }
    if (!replay.error.empty()) {
        return replay.error;
    }
    std::vector<uint32_t> drawn;
    for (uint32_t row : replay.drawn) {
        drawn.push_back(list.rowVertex[row]);
    }
    if (Canonical(drawn) != Canonical(expected)) {
        return "draws " + std::to_string(drawn.size() / 3) + " triangles that are not the model's " +
               std::to_string(expected.size() / 3) + " (each once, winding kept)";
    }
    return std::string();
}

size_t CountRowsStartingWith(const std::string& text, const std::string& start)
{
    size_t rows = 0;
    for (size_t p = 0; p < text.size();) {
        if (text.compare(p, start.size(), start) == 0) {
            ++rows;
        }
        const size_t next = text.find('\n', p);
        p = next == std::string::npos ? text.size() : next + 1;
    }
    return rows;
}

// Converts the model into scratchFolder with settings chosen by `choice` and checks the files: one vertex row
// per written vertex, triangle rows drawing every triangle drawn, the end command, and no temporary file left.
std::string CheckWrittenFiles(const ObjFile& model, size_t triangles, uint32_t choice, const std::string& scratchFolder)
{
    namespace fs = std::filesystem;
    const std::string objPath = scratchFolder + "/fuzz.obj";
    ConversionSettings settings;
    settings.useNormals = choice % 2 == 0;
    if (choice / 2 % 2 == 1) {
        settings.microcode = Microcode::F3DEX2;
    }
    settings.optimize = choice / 4 % 2 == 1;
    StringSink progress;
    StringSink errors;
    DisplayListStats stats;
    if (!WriteCSource(model, objPath, settings, progress, errors, &stats)) {
        return "writing the C files failed: " + errors.str();
    }
    // Only warnings about what the vertex rows cannot hold may be reported.
    const std::string reported = errors.str();
    const std::string warningStart = objPath + ": warning: ";
    if (!reported.empty() && (reported.compare(0, warningStart.size(), warningStart) != 0 || reported.back() != '\n')) {
        return "a conversion that succeeds reported \"" + reported + "\"";
    }
    std::ifstream file(scratchFolder + "/fuzz.c", std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    const std::string text = contents.str();
    // The optimizer may write a vertex more than once; otherwise there is one row per vertex.
    if (CountRowsStartingWith(text, "    { ") != stats.vertices ||
        (!settings.optimize && stats.vertices != uint64_t(model.GetNumVertices()))) {
        return "the C source has " + std::to_string(CountRowsStartingWith(text, "    { ")) +
               " vertex rows; the model has " + std::to_string(model.GetNumVertices()) + " vertices and " +
               std::to_string(stats.vertices) + " rows were counted";
    }
    if (CountRowsStartingWith(text, "    gsSP1Triangle(") + 2 * CountRowsStartingWith(text, "    gsSP2Triangles(") !=
            triangles ||
        stats.trianglesDrawn != triangles) {
        return "the C source does not draw one triangle per triangle drawn";
    }
    if (CountRowsStartingWith(text, "    gsSPEndDisplayList(),") != 1) {
        return "the C source lacks its end command";
    }
    std::error_code ignored;
    for (const fs::directory_entry& entry : fs::directory_iterator(scratchFolder, ignored)) {
        const std::string name = entry.path().filename().string();
        if (name != "fuzz.c" && name != "fuzz.h") {
            return "the conversion left " + name + " behind";
        }
    }
    return std::string();
}

}

namespace {

// Trimmed, and without what ends a line or starts a comment, and without a NUL byte.
bool IsCleanName(const std::string& name)
{
    if (name.find_first_of(std::string("#\r\n\0", 4)) != std::string::npos) {
        return false;
    }
    const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    return name.empty() || (!blank(name.front()) && !blank(name.back()));
}

std::string CheckMaterial(const MaterialDefinition& m, uint64_t lineCount)
{
    const std::string quoted = "material \"" + m.name + "\"";
    if (!IsCleanName(m.name) || !IsCleanName(m.diffuseMap) || !IsCleanName(m.opacityMap)) {
        return quoted + " has a name or map name that is not trimmed or holds a comment or line end";
    }
    if (m.line < 1 || m.line > lineCount) {
        return quoted + " starts at line " + std::to_string(m.line) + ", outside the input";
    }
    for (const uint64_t mapLine : {m.diffuseMapLine, m.opacityMapLine}) {
        if (mapLine != 0 && (mapLine <= m.line || mapLine > lineCount)) {
            return quoted + " has a map on line " + std::to_string(mapLine) + ", outside its definition";
        }
    }
    if ((m.diffuseMapLine != 0) != !m.diffuseMap.empty() || (m.opacityMapLine != 0) != !m.opacityMap.empty() ||
        (m.clampDiffuse && m.diffuseMap.empty())) {
        return quoted + " has a map without its line, or a line or clamping without its map";
    }
    if (!std::isfinite(m.diffuse[0]) || !std::isfinite(m.diffuse[1]) || !std::isfinite(m.diffuse[2]) ||
        !std::isfinite(m.opacity)) {
        return quoted + " has a value that is not finite";
    }
    if (m.library != "fuzz.mtl") {
        return quoted + " names its library \"" + m.library + "\"";
    }
    return std::string();
}

}

std::string CheckMaterialLibrary(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    MaterialLibrary library;
    StringSink ignored;
    std::istringstream earlier("newmtl kept\nKd 0.5\n");
    if (!ParseMaterialLibrary(earlier, "earlier.mtl", library, ignored)) {
        return "the earlier library does not read";
    }
    std::istringstream in(text);
    StringSink errors;
    const bool read = ParseMaterialLibrary(in, "fuzz.mtl", library, errors);
    const uint64_t lineCount =
        uint64_t(std::count(text.begin(), text.end(), '\n') + std::count(text.begin(), text.end(), '\r')) + 1;
    const std::string reported = errors.str();
    if (!read) {
        if (library.materials.size() != 1 || library.materials[0].name != "kept" ||
            library.materials[0].library != "earlier.mtl" || library.materials[0].diffuse[2] != 0.5f) {
            return "a failed read changed the library";
        }
        const size_t colon = reported.find(':', 9);
        if (reported.compare(0, 9, "fuzz.mtl:") != 0 || colon == std::string::npos ||
            reported.compare(colon, 2, ": ") != 0 || reported.size() < colon + 4 || reported.back() != '\n' ||
            reported.find('\n') != reported.size() - 1) {
            return "a failed read must report one line \"fuzz.mtl:<line>: <what>\", got \"" + reported + "\"";
        }
        const std::string number = reported.substr(9, colon - 9);
        if (number.empty() || number.size() > 19 || number.find_first_not_of("0123456789") != std::string::npos ||
            std::stoull(number) < 1 || std::stoull(number) > lineCount) {
            return "error line number " + number + " is outside 1.." + std::to_string(lineCount);
        }
        return std::string();
    }
    if (!reported.empty()) {
        return "a library that reads reported \"" + reported + "\"";
    }
    std::vector<std::string> names;
    for (const MaterialDefinition& m : library.materials) {
        if (m.name == "kept" && m.library == "earlier.mtl") {
            names.push_back(m.name);
            continue;
        }
        const std::string fault = CheckMaterial(m, lineCount);
        if (!fault.empty()) {
            return fault;
        }
        names.push_back(m.name);
    }
    std::sort(names.begin(), names.end());
    if (std::adjacent_find(names.begin(), names.end()) != names.end()) {
        return "the library holds a name twice";
    }

    const std::string firstLine = text.substr(0, text.find_first_of("\r\n"));
    const std::vector<std::string> libraries = MaterialLibraryNames(firstLine, "/nonexistent-polvane-fuzz");
    std::istringstream words(firstLine.substr(0, firstLine.find('#')));
    size_t wordCount = 0;
    for (std::string word; words >> word;) {
        ++wordCount;
    }
    if (libraries.size() > wordCount) {
        return "the mtllib line names " + std::to_string(libraries.size()) + " libraries in " +
               std::to_string(wordCount) + " words";
    }
    return std::string();
}

std::vector<uint32_t> ReplayDisplayList(const ObjFile& model, const CacheLayout& layout, std::string& error)
{
    // Each batch draws at least one triangle or skips degenerate ones: at most one load per slot and two syncs.
    const uint64_t bound = (uint64_t(model.GetNumIndices()) / 3 + 1) * uint64_t(layout.size + 3);
    CacheReplay replay(uint32_t(model.GetNumVertices()), layout, bound);
    BuildDisplayList(model.GetIndices(), model.GetNumIndices(), uint32_t(model.GetNumVertices()), replay, layout);
    error = replay.error;
    return replay.drawn;
}

namespace {

template <typename T>
bool SameArray(const T* a, const T* b, size_t count)
{
    return (a == nullptr) == (b == nullptr) && (a == nullptr || std::memcmp(a, b, count * sizeof(T)) == 0);
}

// Read in pieces of a few bytes (the count taken from the input), every line the general way, the model and the
// messages must be the same.
std::string CheckReadInPieces(const LoadResult& whole, const uint8_t* data, size_t size)
{
    const size_t pieceSize = size == 0 ? 1 : 1 + data[size / 2] % 16;
    const LoadResult pieces = Load(data, size, pieceSize, false);
    const ObjFile& a = *whole.model;
    const ObjFile& b = *pieces.model;
    const size_t vertices = size_t(a.GetNumVertices());
    if (pieces.errors != whole.errors || a.GetNumVertices() != b.GetNumVertices() ||
        a.GetNumIndices() != b.GetNumIndices() || !SameArray(a.GetVertices(), b.GetVertices(), vertices) ||
        !SameArray(a.GetNormals(), b.GetNormals(), vertices) ||
        !SameArray(a.GetTexCoords(), b.GetTexCoords(), vertices) ||
        !SameArray(a.GetIndices(), b.GetIndices(), size_t(a.GetNumIndices()))) {
        return "read in pieces of " + std::to_string(pieceSize) +
               " bytes without the quick records, the model or its messages differ";
    }
    return std::string();
}

}

std::string CheckLoader(const uint8_t* data, size_t size)
{
    const LoadResult loaded = Load(data, size);
    const std::string pieces = CheckReadInPieces(loaded, data, size);
    if (!pieces.empty()) {
        return pieces;
    }
    if (!loaded.model->GetVertices()) {
        if (loaded.model->GetNumVertices() != 0 || loaded.model->GetNumIndices() != 0 ||
            loaded.model->GetIndices() || loaded.model->GetNormals() || loaded.model->GetTexCoords()) {
            return "a failed load left a model that is not empty";
        }
        return CheckFailureReport(loaded.errors, data, size);
    }
    if (!loaded.errors.empty()) {
        return "a model that loads reported \"" + loaded.errors + "\"";
    }
    return CheckModel(*loaded.model, data, size);
}

std::string CheckDisplayList(const uint8_t* data, size_t size, const std::string& scratchFolder)
{
    const LoadResult loaded = Load(data, size);
    const ObjFile& model = *loaded.model;
    if (!model.GetVertices()) {
        return std::string();
    }
    const std::vector<uint32_t> expected = DrawnTriangles(model);

    uint32_t sum = 0;
    for (size_t k = 0; k < size; ++k) {
        sum += data[k];
    }
    const CacheLayout layout = ChosenLayout(sum);
    std::string error;
    const std::vector<uint32_t> drawn = ReplayDisplayList(model, layout, error);
    if (!error.empty()) {
        return error;
    }
    if (drawn != expected) {
        return "the display list draws " + std::to_string(drawn.size() / 3) +
               " triangles that are not the model's " + std::to_string(expected.size() / 3);
    }
    // The smallest batch the optimizer may start: 1, or anything up to the whole cache; batches of one load or
    // more; bands of the usual width or of 1 to 8 levels.
    const int minBatch = sum / 64 % 2 == 0 ? 1 : 1 + int(sum / 128 % uint32_t(layout.size));
    const bool oneLoad = sum / 32 % 2 == 1;
    const int bandWidth = sum / 8 % 2 == 0 ? 0 : 1 + int(sum / 4096 % 8);
    const std::string optimized = CheckOptimizedList(model, layout, minBatch, oneLoad, bandWidth, expected);
    if (!optimized.empty()) {
        return "optimized list: " + optimized;
    }
    if (!scratchFolder.empty() && sum % 16 == 0) {
        return CheckWrittenFiles(model, drawn.size() / 3, sum / 16, scratchFolder);
    }
    return std::string();
}

std::string CheckOptions(const uint8_t* data, size_t size)
{
    // Each argument in a block of its own, exactly as long as its text and terminator.
    std::vector<std::unique_ptr<char[]>> arguments;
    const char* const programName = "polvane";
    arguments.emplace_back(new char[std::strlen(programName) + 1]);
    std::memcpy(arguments.back().get(), programName, std::strlen(programName) + 1);
    size_t start = 0;
    for (size_t k = 0; size != 0 && k <= size; ++k) {
        if (k == size || data[k] == 0) {
            arguments.emplace_back(new char[k - start + 1]);
            std::memcpy(arguments.back().get(), data + start, k - start);
            arguments.back()[k - start] = '\0';
            start = k + 1;
        }
    }
    const int argc = int(arguments.size());
    std::unique_ptr<const char*[]> argv(new const char*[size_t(argc)]);
    for (int i = 0; i < argc; ++i) {
        argv[size_t(i)] = arguments[size_t(i)].get();
    }

    ConversionSettings settings;
    StringSink out;
    StringSink errors;
    const OptionsOutcome outcome = ParseOptions(argc, argv.get(), settings, out, errors);

    StringSink usage;
    PrintUsage(usage);
    const std::string& usageText = usage.str();
    const std::string printed = out.str();
    // Whole usage texts ("-h" goes on), then, when the run stopped for it, the version line.
    std::string usages = printed;
    const size_t version = usages.rfind("polvane ");
    if (outcome == OptionsOutcome::Printed && version != std::string::npos &&
        usages.find('\n', version) == usages.size() - 1) {
        usages.erase(version);
    }
    for (size_t p = 0; p < usages.size(); p += usageText.size()) {
        if (usages.compare(p, usageText.size(), usageText) != 0) {
            return "standard output got something other than the usage text or the version";
        }
    }
    const std::string reported = errors.str();
    if (outcome == OptionsOutcome::Printed) {
        return printed.empty() || !reported.empty() ? "help or version printed \"" + printed + "\", reported \"" +
                                                          reported + "\""
                                                    : std::string();
    }
    if (outcome == OptionsOutcome::Convert) {
        // A run that goes on may only warn, in whole lines.
        bool onlyWarnings = reported.empty() || reported.back() == '\n';
        for (size_t line = 0; onlyWarnings && line < reported.size(); line = reported.find('\n', line) + 1) {
            onlyWarnings = reported.compare(line, Warning().size(), Warning()) == 0;
        }
        return onlyWarnings ? std::string() : "a run that goes on reported \"" + reported + "\"";
    }
    if (reported.empty() || reported.back() != '\n') {
        return "a stopped run must report one line, got \"" + reported + "\"";
    }
    if (outcome == OptionsOutcome::NoModel) {
        return reported == "No model file given (the model path comes last)\n" && argv[size_t(argc - 1)][0] == '-'
                   ? std::string()
                   : "unexpected report of a missing model: \"" + reported + "\"";
    }
    if (outcome == OptionsOutcome::BadValue) {
        const bool known = reported.compare(0, 38, "Unknown microcode for option --ucode: ") == 0 ||
                           reported.compare(0, 39, "Invalid cache size for option --cache: ") == 0 ||
                           reported.compare(0, 25, "Invalid value for option ") == 0 ||
                           (reported == "Options -s and --fit cannot be used together\n" && settings.scaleGiven &&
                            settings.fit != 0);
        return known ? std::string() : "unexpected report of a bad value: \"" + reported + "\"";
    }
    for (int i = 1; i + 1 < argc; ++i) {
        const std::string named = argv[size_t(i)];
        const bool matches =
            outcome == OptionsOutcome::UnknownOption ? reported == "Unknown option: " + named + "\n"
            : outcome == OptionsOutcome::MissingValue
                ? reported == "Missing value for option " + named + "\n"
                : reported == "Unexpected argument " + named + ": options come first, the model path last\n";
        if (matches) {
            return std::string();
        }
    }
    return "the error report names no option of the list: \"" + reported + "\"";
}
