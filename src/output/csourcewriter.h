#ifndef POLVANE_CSOURCEWRITER_H
#define POLVANE_CSOURCEWRITER_H

#include <cstdint>
#include <ostream>
#include <string>

#include "model/objfile.h"
#include "settings.h"

// What the display list of one conversion costs the console.
struct DisplayListStats {
    uint64_t trianglesDrawn = 0;
    uint64_t degenerateTriangles = 0;
    uint64_t vertices = 0;  // rows of the vertex array
    uint64_t batches = 0;   // groups of consecutive loads
    uint64_t loadRows = 0;
    uint64_t verticesLoaded = 0;
    uint64_t commands = 0;  // rows of the display list
};

void PrintStats(std::ostream& out, const DisplayListStats& stats);

// Writes <name>.h and <name>.c for a loaded model next to objPath, or into settings.outputDir. Both files are
// written to temporary files first and replace the targets only when both are complete, so a failed run leaves
// earlier outputs as they were. Progress lines go to progress (when settings.verbose); warnings and a failure
// (one line, and false) go to errors.
bool WriteCSource(const ObjFile& objFile, const std::string& objPath, const ConversionSettings& settings,
                  std::ostream& progress, std::ostream& errors, DisplayListStats* stats = nullptr);

#endif
