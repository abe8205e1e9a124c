#ifndef POLVANE_CSOURCEWRITER_H
#define POLVANE_CSOURCEWRITER_H

#include <ostream>
#include <string>

#include "objfile.h"
#include "settings.h"

// Writes <name>.h and <name>.c for a loaded model next to objPath. Both files are written to temporary files
// first and replace the targets only when both are complete, so a failed run leaves earlier outputs as they
// were. Progress lines go to progress (when settings.verbose); a failure is reported as one line on errors
// and gives false.
bool WriteCSource(const ObjFile& objFile, const std::string& objPath, const ConversionSettings& settings,
                  std::ostream& progress, std::ostream& errors);

#endif
