#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "model/objfile.h"
#include "model/objgroups.h"
#include "output/csourcewriter.h"
#include "output/outputnames.h"
#include "output/rangewarnings.h"
#include "plan/materialplan.h"
#include "plan/planbuilder.h"
#include "preview/preview.h"
#include "settings.h"
#include "textures/image.h"
#include "textures/materialloader.h"

namespace {
constexpr int exitOk = 0;
constexpr int exitBadOption = 1;
constexpr int exitFailed = -1;

ConversionSettings conversionSettings;

// Converts a model with its materials: reads the libraries and textures, plans, writes. False after an error.
bool ConvertWithMaterials(const ObjFile& objFile, const std::string& objPath, const ConversionSettings& settings,
                          ConsolePlan& plan, DisplayListStats& stats)
{
    std::vector<MaterialLook> looks;
    std::vector<TexturePlan> textures;
    if (!LoadMaterials(objFile, objPath, settings, std::cerr, std::cerr, looks, textures)) {
        return false;
    }
    const std::string identifier = DeriveOutputNames(objPath, settings.outputDir, settings.name).identifier;
    WarnAboutRange(objFile, settings, std::cerr);
    MaterialPlanLists lists;
    plan = BuildMaterialPlan(objFile, looks, std::move(textures), settings, identifier, std::cerr, lists);
    if (!WritePlanFiles(plan, lists.partNames, objPath, settings, std::cout, std::cerr)) {
        return false;
    }
    std::vector<std::string> materialNames;
    for (const MaterialLook& look : looks) {
        materialNames.push_back(look.name.empty() ? "(none)" : look.name);
    }
    CountPlan(plan, lists.materials, materialNames, stats, lists.cutting);
    CostPlan(plan, settings, stats);
    stats.degenerateTriangles = CountDegenerateTriangles(objFile);
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
    Image picture;
    picture.width = options.width;
    picture.height = options.height;
    picture.rgba = RenderPreview(plan, options);
    const std::string path = PreviewPath(settings);
    if (settings.verbose) {
        std::cout << "Writing " << path << "...\n";
    }
    if (!WritePng(path, picture)) {
        std::cerr << "Couldn't write " << path << "\n";
        return false;
    }
    return true;
}
}

int main(int argc, char** argv)
{
    const OptionsOutcome outcome = ParseOptions(argc, argv, conversionSettings, std::cout, std::cerr);
    if (outcome == OptionsOutcome::Printed) {
        return exitOk;
    }
    if (outcome != OptionsOutcome::Convert) {
        return exitBadOption;
    }
    const ConversionSettings& settings = conversionSettings;
    const std::string objPath = argv[argc - 1];
    DisplayListStats stats;
    try {
        if (settings.verbose) {
            std::cout << "Reading objFile...\n";
        }
        const ObjFile objFile(objPath.c_str(), settings.materials);
        if (!objFile.GetVertices()) {
            return exitFailed;
        }
        ConsolePlan plan;
        if (settings.materials) {
            if (!ConvertWithMaterials(objFile, objPath, settings, plan, stats)) {
                return exitFailed;
            }
        } else {
            if (!WriteCSource(objFile, objPath, settings, std::cout, std::cerr, &stats)) {
                return exitFailed;
            }
            if (!settings.previewPath.empty()) {
                plan = BuildPlan(objFile, settings, "DisplayList");
            }
        }
        // The preview comes last: when it cannot be written, the C files are complete all the same.
        if (!settings.previewPath.empty() && !WritePreview(plan, settings)) {
            return exitFailed;
        }
    } catch (const std::bad_alloc&) {
        std::cerr << "Out of memory while converting " << objPath << "\n";
        return exitFailed;
    }
    if (settings.verbose) {
        std::cout << "Done!\n";
    }
    if (settings.stats) {
        PrintStats(std::cout, stats);
    }
    return exitOk;
}
