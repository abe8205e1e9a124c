#ifndef POLVANE_COLOURCOMBINER_H
#define POLVANE_COLOURCOMBINER_H

#include "console/consoleplan.h"

// What the combiner reads for one pixel, 0 to 1 per channel (red, green, blue, alpha).
struct CombinerInputs {
    float texel[4];
    float shade[4];
    float primitive[4];
};

// One cycle of the combiner: colour (a - b) * c + d, alpha (aa - ab) * ac + ad, each clamped to 0..1. In one-cycle
// mode there is no earlier cycle, so Combined reads as zero.
void Combine(const CombinerMode& mode, const CombinerInputs& inputs, float out[4]);

// Whether the mode reads the texel at all (so the pixel need not sample the texture otherwise).
bool ReadsTexel(const CombinerMode& mode);

#endif
