#ifndef POLVANE_PREVIEW_H
#define POLVANE_PREVIEW_H

#include <cstdint>
#include <vector>

#include "console/consoleplan.h"

struct PreviewOptions {
    int width = 640;
    int height = 480;
    bool batches = false;  // colour each triangle by the group of vertex loads it is drawn from, lit
    // Where the camera looks from: degrees round from +Z toward +X, and above the horizon (-90 to 90).
    float azimuth = 35.0f;
    float elevation = 25.0f;
};

// Draws the plan's model list as the console would (see the interpreter, the camera, the vertex shading and the
// rasteriser for the rules), from nothing but the plan. Returns width x height RGBA pixels, 8 bits per channel,
// top row first.
std::vector<uint8_t> RenderPreview(const ConsolePlan& plan, const PreviewOptions& options);

#endif
