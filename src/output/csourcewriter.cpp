#include "output/csourcewriter.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

#include "cidentifier.h"
#include "diagnostics.h"
#include "output/outputfiles.h"
#include "output/targetfile.h"
#include "output/outputnames.h"
#include "output/outputtext.h"
#include "output/plansourcewriter.h"
#include "output/rangewarnings.h"
#include "output/vertexrows.h"
#include "plan/costmodel.h"
#include "plan/displaylist.h"
#include "plan/planbuilder.h"
#include "plan/vertexrow.h"

namespace {

namespace fs = std::filesystem;


// Prints the plain plan as it is made, in the text of the plan writer, and counts and prices what its list draws
// and loads.
class PlainPlanText : public PlanReceiver {
public:
    PlainPlanText(OutputText& text, const std::string& identifier, const ConversionSettings& settings,
                  TextSink& progressStream, DisplayListStats& counts)
        : out(text), id(identifier), conversion(settings), progress(progressStream), stats(counts),
          meter(CostsOf(settings.microcode), settings.useNormals)
    {
    }

    void Row(const VertexRow& row) override
    {
        WriteVertexRow(out, row, !conversion.useNormals, conversion.fullBraces);
        ++stats.vertices;
    }
    void RowsDone(const std::vector<uint32_t>* rowVertex) override
    {
        keys = rowVertex;
        WriteArrayEnd(out);
        if (conversion.verbose) {
            progress << "Generating display list...\n";
        }
        WriteListStart(out, id + "DisplayList");
    }
    void Commands(const Command* commands, size_t count) override
    {
        for (size_t i = 0; i < count; ++i) {
            WriteCommand(out, noLists, id, commands[i]);
            CountCommand(commands[i], afterLoad, stats);
            meter.Add(commands[i], keys);
        }
        stats.commands += count;  // no command of the plain list is a macro of several
    }
    // After the last command: what the list costs the RSP.
    void Price(int maxLoad)
    {
        meter.Finish();
        stats.modelledInstructions = meter.Instructions();
        stats.instructionBound = meter.LowerBound(maxLoad);
    }

private:
    OutputText& out;
    const std::string& id;
    const ConversionSettings& conversion;
    TextSink& progress;
    DisplayListStats& stats;
    const ConsolePlan noLists;  // the plain list calls no other list and loads no texture
    bool afterLoad = false;
    CostMeter meter;
    const std::vector<uint32_t>* keys = nullptr;  // rows are known by their model vertex
};

void WriteSource(OutputText& out, const OutputNames& names, const ObjFile& objFile,
                 const ConversionSettings& settings, TextSink& progress, DisplayListStats& stats)
{
    out << "#include \"" << names.headerFileName << "\"\n"
        << "\n";
    WriteVertexArrayStart(out, names.identifier);
    if (settings.verbose) {
        progress << "Generating vertices...\n";
    }
    PlainPlanText text(out, names.identifier, settings, progress, stats);
    StreamPlan(objFile, settings, text);
    text.Price(CacheLayoutOf(settings).maxLoad);
    stats.degenerateTriangles = CountDegenerateTriangles(objFile);
    WriteArrayEnd(out);
    WriteModelRecord(out, names.identifier);
}

// Writes one output through `write`, into its temporary unless the target already holds the same bytes
// (`unchanged`); false when it could not be written completely.
template <typename Writer>
bool WriteFile(const std::string& target, Writer write, bool& unchanged)
{
    TargetFile file(target);
    {
        OutputText out(file);
        write(out);
        if (!out.Flush()) {
            return false;
        }
    }
    if (!file.Finish()) {
        return false;
    }
    unchanged = file.Unchanged();
    return true;
}

bool IsFolder(const std::string& path)
{
    std::error_code ignored;
    return fs::is_directory(path, ignored);
}

}

uint64_t CountDegenerateTriangles(const ObjFile& objFile)
{
    const uint32_t* indices = objFile.GetIndices();
    uint64_t count = 0;
    for (int32_t k = 0; k + 2 < objFile.GetNumIndices(); k += 3) {
        count += IsDegenerate(indices[k], indices[k + 1], indices[k + 2]);
    }
    return count;
}

void MeasureExtent(const ObjFile& objFile, double scale, DisplayListStats& stats)
{
    for (int32_t i = 0; i < objFile.GetNumVertices(); ++i) {
        const Vector3D& p = objFile.GetVertices()[i];
        for (int axis = 0; axis < 3; ++axis) {
            const double value = p[axis];
            const int32_t scaled = ClampToInt16(value * scale);
            const bool first = i == 0;
            stats.extentLow[axis] = first ? value : std::min(stats.extentLow[axis], value);
            stats.extentHigh[axis] = first ? value : std::max(stats.extentHigh[axis], value);
            stats.scaledLow[axis] = first ? scaled : std::min(stats.scaledLow[axis], scaled);
            stats.scaledHigh[axis] = first ? scaled : std::max(stats.scaledHigh[axis], scaled);
        }
    }
}

namespace {

template <typename Number>
void PrintBox(TextSink& out, const Number low[3], const Number high[3])
{
    out << "(" << low[0] << ", " << low[1] << ", " << low[2] << ") to (" << high[0] << ", " << high[1] << ", "
        << high[2] << ")";
}

}

void PrintStats(TextSink& out, const DisplayListStats& stats)
{
    const double perTriangle =
        stats.trianglesDrawn == 0 ? 0.0 : double(stats.verticesLoaded) / double(stats.trianglesDrawn);
    char ratio[32];
    std::snprintf(ratio, sizeof ratio, "%.3f", perTriangle);
    out << "Triangles drawn: " << stats.trianglesDrawn << "\n"
        << "Degenerate triangles skipped: " << stats.degenerateTriangles << "\n"
        << "Vertices: " << stats.vertices << "\n"
        << "Batches: " << stats.batches << "\n"
        << "Load rows: " << stats.loadRows << "\n"
        << "Vertices loaded: " << stats.verticesLoaded << " (" << ratio << " per drawn triangle)\n"
        << "Display-list commands: " << stats.commands << " (" << stats.commands * 8 << " bytes)\n"
        << "Vertex-array bytes: " << stats.vertices * 16 << "\n";
    char cost[96];
    std::snprintf(cost, sizeof cost, "RSP instructions (modelled): %.0f\n", stats.modelledInstructions);
    out << cost;
    std::snprintf(cost, sizeof cost, "RSP instructions lower bound: %.0f (ratio %.3f)\n", stats.instructionBound,
                  stats.instructionBound > 0 ? stats.modelledInstructions / stats.instructionBound : 1.0);
    out << cost;
    if (stats.withMaterials) {
        for (const DisplayListStats::Material& material : stats.materials) {
            out << "Material " << material.name << ": " << material.triangles
                << (material.triangles == 1 ? " triangle, " : " triangles, ")
                << material.textureBytes << " texture bytes";
            if (material.tiles > 0) {
                out << "; " << material.tiles << " tiles of " << material.tileWidth << "x" << material.tileHeight
                    << ", " << material.tileLoads << " tile loads per draw, " << material.trianglesAdded
                    << " triangles and " << material.verticesAdded << " vertices added by cutting";
            }
            out << "\n";
        }
        for (const DisplayListStats::Texture& texture : stats.textures) {
            char psnr[32];
            std::snprintf(psnr, sizeof psnr, "%.1f dB", texture.psnr);
            out << "Texture " << texture.name << ": " << TextureFormatName(texture.format) << " " << texture.width
                << "x" << texture.height << ", " << texture.bytes << " bytes, PSNR "
                << (texture.psnr < 0.0 ? "not measured" : psnr) << "\n";
        }
        out << "Texture bytes: " << stats.textureBytes << "\n";
    }
    out << "Model extent: ";
    PrintBox(out, stats.extentLow, stats.extentHigh);
    out << "\nScaled extent: ";
    PrintBox(out, stats.scaledLow, stats.scaledHigh);
    // What the model takes of the console's memory: vertex rows, display lists, textures and palettes.
    const uint64_t rdram = stats.vertices * 16 + stats.commands * 8 + stats.textureBytes;
    char share[32];
    std::snprintf(share, sizeof share, "%.2f", double(rdram) * 100.0 / (4.0 * 1024 * 1024));
    out << "\nRDRAM bytes: " << rdram << " (" << share << "% of 4 MB)\n";
}

namespace {

// Writes both files through temporaries that replace the targets only when both are complete.
template <typename HeaderWriter, typename SourceWriter>
bool WriteBothFiles(const OutputNames& names, const ConversionSettings& settings, TextSink& progress,
                    TextSink& errors, HeaderWriter writeHeader, SourceWriter writeSource)
{
    // With --werror every warning so far fails the run before anything is written.
    if (settings.werror && WarningCount() != 0) {
        errors << "polvane: " << WarningCount()
               << (WarningCount() == 1 ? " warning treated as an error" : " warnings treated as errors")
               << " (--werror); nothing written\n";
        return false;
    }
    const std::string headerTemporary = names.headerPath + temporarySuffix;
    const std::string sourceTemporary = names.sourcePath + temporarySuffix;

    std::string failed;
    bool unchanged[2] = {false, false};
    if (settings.verbose) {
        progress << "Writing " << names.headerPath << "...\n";
    }
    if (IsFolder(names.headerPath) || !WriteFile(names.headerPath, writeHeader, unchanged[0])) {
        failed = names.headerPath;
    }
    if (failed.empty()) {
        if (settings.verbose) {
            progress << "Writing " << names.sourcePath << "...\n";
        }
        if (IsFolder(names.sourcePath) || !WriteFile(names.sourcePath, writeSource, unchanged[1])) {
            failed = names.sourcePath;
        }
    }
    if (failed.empty()) {
        failed = ReplaceTargets(names.headerPath, names.sourcePath, unchanged);
    }
    if (!failed.empty()) {
        RemoveFile(headerTemporary);
        RemoveFile(sourceTemporary);
        errors << "Couldn't write " << failed << "\n";
        return false;
    }
    return true;
}

// The names of both outputs; false when they would replace the input. Names that C reserves are a warning.
bool NamesForOutputs(const std::string& objPath, const ConversionSettings& settings, TextSink& errors,
                     OutputNames& names)
{
    names = DeriveOutputNames(objPath, settings.outputDir, settings.name);
    if (SameFile(objPath, names.headerPath) || SameFile(objPath, names.sourcePath)) {
        errors << "Refusing to overwrite the input file " << objPath << "\n";
        return false;
    }
    // The header includes the project's "model.h"; a header of that name would include itself instead.
    std::string header = names.headerFileName;
    std::transform(header.begin(), header.end(), header.begin(), [](char c) { return char(std::tolower(uint8_t(c))); });
    if (header == "model.h") {
        errors << "Refusing to write " << names.headerPath
               << ": the header includes the project's model.h and would include itself; rename the model or "
                  "choose another --name\n";
        return false;
    }
    if (MakesReservedNames(names.identifier)) {
        errors << WarningAt(objPath) << "the C names made from the file name (" << names.identifier << "Model, "
               << names.identifier << "_H, ...) are reserved in C; choose a prefix with --name\n";
    }
    return true;
}

}

bool WriteCSource(const ObjFile& objFile, const std::string& objPath, const ConversionSettings& settings,
                  TextSink& progress, TextSink& errors, DisplayListStats* stats)
{
    DisplayListStats ignoredStats;
    DisplayListStats& counts = stats ? *stats : ignoredStats;
    OutputNames names;
    if (!NamesForOutputs(objPath, settings, errors, names)) {
        return false;
    }
    WarnAboutRange(objFile, objPath, settings, errors);
    return WriteBothFiles(
        names, settings, progress, errors, [&](OutputText& out) { WritePlanHeader(out, names, {}); },
        [&](OutputText& out) { WriteSource(out, names, objFile, settings, progress, counts); });
}

bool WritePlanFiles(const ConsolePlan& plan, const std::vector<std::string>& partLists, const std::string& objPath,
                    const ConversionSettings& settings, TextSink& progress, TextSink& errors)
{
    OutputNames names;
    if (!NamesForOutputs(objPath, settings, errors, names)) {
        return false;
    }
    return WriteBothFiles(
        names, settings, progress, errors, [&](OutputText& out) { WritePlanHeader(out, names, partLists); },
        [&](OutputText& out) {
            if (settings.verbose) {
                progress << "Generating vertices...\n"
                         << "Generating display list...\n";
            }
            WritePlanSource(out, names, plan, settings.fullBraces);
        });
}
