#ifndef POLVANE_MATERIALLOOK_H
#define POLVANE_MATERIALLOOK_H

#include <cstdint>
#include <string>

#include "console/consoleplan.h"

// How one material of the model is drawn.
struct MaterialLook {
    std::string name;                         // as "usemtl" names it
    uint8_t diffuse[3] = {255, 255, 255};     // the console's colour bytes
    uint8_t opacity = 255;
    int texture = -1;                         // index into the plan's textures; -1 when untextured
    float mapScale[2] = {1.0f, 1.0f};         // the map's "-s u v" and "-o u v": u' = u * scale + offset
    float mapOffset[2] = {0.0f, 0.0f};
    RenderMode renderMode = RenderMode::Opaque;
};

#endif
