#ifndef POLVANE_RANGEWARNINGS_H
#define POLVANE_RANGEWARNINGS_H

#include <string>

#include "model/objfile.h"
#include "run/settings.h"
#include "textsink.h"

// The largest absolute coordinate of the model's positions.
double LargestCoordinate(const ObjFile& objFile);

// The scale at which the largest absolute coordinate becomes fit (after truncation toward zero); 1 for a model
// whose positions are all at the origin.
float FitScale(const ObjFile& objFile, int fit);

// Warns, one "<objPath>: warning: " line each, when the vertex rows lose what the model holds: positions or texture
// coordinates clamped to the 16-bit range, or distinct positions that become the same integer position.
void WarnAboutRange(const ObjFile& objFile, const std::string& objPath, const ConversionSettings& settings,
                    TextSink& errors);

#endif
