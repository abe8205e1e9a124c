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
    RenderMode renderMode = RenderMode::Opaque;
};

#endif
