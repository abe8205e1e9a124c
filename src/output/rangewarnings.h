#ifndef POLVANE_RANGEWARNINGS_H
#define POLVANE_RANGEWARNINGS_H

#include <ostream>

#include "model/objfile.h"
#include "settings.h"

// Warns, one "warning: " line each, when the vertex rows lose what the model holds: positions or texture
// coordinates clamped to the 16-bit range, or distinct positions that become the same integer position.
void WarnAboutRange(const ObjFile& objFile, const ConversionSettings& settings, std::ostream& errors);

#endif
