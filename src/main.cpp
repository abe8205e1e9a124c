#include <iostream>
#include <new>
#include <string>

#include "output/csourcewriter.h"
#include "model/objfile.h"
#include "settings.h"

namespace {
constexpr int exitOk = 0;
constexpr int exitBadOption = 1;
constexpr int exitFailed = -1;

ConversionSettings conversionSettings;
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
    const std::string objPath = argv[argc - 1];
    DisplayListStats stats;
    try {
        if (conversionSettings.verbose) {
            std::cout << "Reading objFile...\n";
        }
        const ObjFile objFile(objPath.c_str());
        if (!objFile.GetVertices()) {
            return exitFailed;
        }
        if (!WriteCSource(objFile, objPath, conversionSettings, std::cout, std::cerr, &stats)) {
            return exitFailed;
        }
    } catch (const std::bad_alloc&) {
        std::cerr << "Out of memory while converting " << objPath << "\n";
        return exitFailed;
    }
    if (conversionSettings.verbose) {
        std::cout << "Done!\n";
    }
    if (conversionSettings.stats) {
        PrintStats(std::cout, stats);
    }
    return exitOk;
}
