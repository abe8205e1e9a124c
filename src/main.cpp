#include <new>
#include <string>
#include <vector>

#include "diagnostics.h"
#include "heapreuse.h"
#include "model/objfile.h"
#include "model/objgroups.h"
#include "output/csourcewriter.h"
#include "output/depfile.h"
#include "output/outputfiles.h"
#include "output/outputnames.h"
#include "output/rangewarnings.h"
#include "plan/materialplan.h"
#include "plan/planbuilder.h"
#include "preview/preview.h"
#include "run/settings.h"
#include "textsink.h"
#include "textures/image.h"
#include "textures/materialloader.h"

namespace {
constexpr int exitOk = 0;
constexpr int exitBadOption = 1;
constexpr int exitFailed = -1;

ConversionSettings conversionSettings;

// Converts a model with its materials: reads the libraries and textures and plans. False after an error.
bool PlanWithMaterials(const ObjFile& objFile, const std::string& objPath, const ConversionSettings& settings,
                       ConsolePlan& plan, MaterialPlanLists& lists, std::vector<RunFile>& files,
                       std::vector<std::string>& materialNames)
{
    std::vector<MaterialLook> looks;
    std::vector<TexturePlan> textures;
    MaterialFiles read;
    if (!LoadMaterials(objFile, objPath, settings, ErrorOutput(), ErrorOutput(), looks, textures, &read)) {
        return false;
    }
    for (const std::string& path : read.libraries) {
        files.push_back(RunFile{path, "a material library the model reads"});
    }
    for (const std::string& path : read.images) {
        files.push_back(RunFile{path, "a texture the model reads"});
    }
    const std::string identifier = DeriveOutputNames(objPath, settings.outputDir, settings.name).identifier;
    WarnAboutRange(objFile, objPath, settings, ErrorOutput());
    plan = BuildMaterialPlan(objFile, looks, std::move(textures), settings, identifier, ErrorOutput(), lists);
    for (const MaterialLook& look : looks) {
        materialNames.push_back(look.name.empty() ? "default" : look.name);  // as the C names it
    }
    return true;
}

// The preview's file: with -o, a bare file name goes into that folder too.
std::string PreviewPath(const ConversionSettings& settings)
{
    const std::string& path = settings.previewPath;
    if (settings.outputDir.empty() || path.find_first_of("/\\") != std::string::npos) {
        return path;
    }
    const char last = settings.outputDir.back();
    return settings.outputDir + (last == '/' || last == '\\' ? "" : "/") + path;
}

bool WritePreview(const ConsolePlan& plan, const ConversionSettings& settings)
{
    PreviewOptions options;
    options.width = settings.previewWidth;
    options.height = settings.previewHeight;
    options.batches = settings.previewBatches;
    const struct {
        PreviewView view;
        float azimuth, elevation;
    } views[] = {{PreviewView::Iso, 35, 25},   {PreviewView::Front, 0, 0}, {PreviewView::Back, 180, 0},
                 {PreviewView::Left, -90, 0},  {PreviewView::Right, 90, 0}, {PreviewView::Top, 0, 90},
                 {PreviewView::Bottom, 0, -90}};
    for (const auto& entry : views) {
        if (entry.view == settings.previewView) {
            options.azimuth = entry.azimuth;
            options.elevation = entry.elevation;
        }
    }
    Image picture;
    picture.width = options.width;
    picture.height = options.height;
    picture.rgba = RenderPreview(plan, options);
    const std::string path = PreviewPath(settings);
    if (settings.verbose) {
        StandardOutput() << "Writing " << path << "...\n";
    }
    if (!WritePicture(path + temporarySuffix, picture, settings.previewFormat) || !ReplaceTarget(path).empty()) {
        RemoveFile(path + temporarySuffix);
        ErrorOutput() << "Couldn't write " << path << "\n";
        return false;
    }
    return true;
}

// The preview and the dependency file must not replace anything the run reads or writes.
bool CheckExtraOutputs(const ConversionSettings& settings, const OutputNames& names, std::vector<RunFile> files)
{
    files.push_back(RunFile{names.headerPath, "the header this run writes"});
    files.push_back(RunFile{names.sourcePath, "the C source this run writes"});
    if (!settings.previewPath.empty()) {
        if (!CheckExtraOutput("preview", PreviewPath(settings), files, ErrorOutput())) {
            return false;
        }
        files.push_back(RunFile{PreviewPath(settings), "the preview this run writes"});
    }
    return settings.depfilePath.empty() ||
           CheckExtraOutput("dependency file", settings.depfilePath, files, ErrorOutput());
}

bool WriteDepfile(const ConversionSettings& settings, const OutputNames& names, const std::vector<RunFile>& files)
{
    std::vector<std::string> targets = {names.headerPath, names.sourcePath};
    if (!settings.previewPath.empty()) {
        targets.push_back(PreviewPath(settings));
    }
    std::vector<std::string> prerequisites;
    for (const RunFile& file : files) {
        prerequisites.push_back(file.path);
    }
    return WriteDependencyFile(settings.depfilePath, targets, prerequisites, ErrorOutput());
}
}

int main(int argc, char** argv)
{
    const OptionsOutcome outcome = ParseOptions(argc, argv, conversionSettings, StandardOutput(), ErrorOutput());
    if (outcome == OptionsOutcome::Printed) {
        return exitOk;
    }
    if (outcome != OptionsOutcome::Convert) {
        return exitBadOption;
    }
    const std::string objPath = argv[argc - 1];
    DisplayListStats stats;
    try {
        if (conversionSettings.verbose) {
            StandardOutput() << "Reading objFile...\n";
        }
        ReuseFreedMemoryFor(objPath.c_str());
        const ObjFile objFile(objPath.c_str(), conversionSettings.materials);
        if (!objFile.GetVertices()) {
            return exitFailed;
        }
        if (conversionSettings.fit != 0) {
            conversionSettings.scale = FitScale(objFile, conversionSettings.fit);
        }
        const ConversionSettings& settings = conversionSettings;
        std::vector<RunFile> files = {RunFile{objPath, "the model"}};
        ConsolePlan plan;
        MaterialPlanLists lists;
        std::vector<std::string> materialNames;
        if (settings.materials &&
            !PlanWithMaterials(objFile, objPath, settings, plan, lists, files, materialNames)) {
            return exitFailed;
        }
        const OutputNames names = DeriveOutputNames(objPath, settings.outputDir, settings.name);
        if (!CheckExtraOutputs(settings, names, files)) {
            return exitFailed;
        }
        if (settings.materials) {
            if (!WritePlanFiles(plan, lists.partNames, objPath, settings, StandardOutput(), ErrorOutput())) {
                return exitFailed;
            }
            CountPlan(plan, lists.materials, materialNames, stats, lists.cutting);
            CostPlan(plan, settings, stats);
            stats.degenerateTriangles = CountDegenerateTriangles(objFile);
        } else {
            if (!WriteCSource(objFile, objPath, settings, StandardOutput(), ErrorOutput(), &stats)) {
                return exitFailed;
            }
            if (!settings.previewPath.empty()) {
                plan = BuildPlan(objFile, settings, "DisplayList");
            }
        }
        MeasureExtent(objFile, settings.scale, stats);
        // The preview comes after the C files: when it cannot be written, they are complete all the same.
        if (!settings.previewPath.empty() && !WritePreview(plan, settings)) {
            return exitFailed;
        }
        if (!settings.depfilePath.empty() && !WriteDepfile(settings, names, files)) {
            return exitFailed;
        }
    } catch (const std::bad_alloc&) {
        ErrorOutput() << "Out of memory while converting " << objPath << "\n";
        return exitFailed;
    }
    if (conversionSettings.verbose) {
        StandardOutput() << "Done!\n";
    }
    if (conversionSettings.stats) {
        PrintStats(StandardOutput(), stats);
    }
    return exitOk;
}
