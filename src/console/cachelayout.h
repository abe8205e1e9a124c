#ifndef POLVANE_CACHELAYOUT_H
#define POLVANE_CACHELAYOUT_H

// The vertex cache a display list is written for.
struct CacheLayout {
    int size;     // entries, 3 to 64
    int maxLoad;  // the most vertices one load command brings in
    bool pairs;   // whether two triangles share one command
    bool snakes = false;  // whether chains of triangles are written as snakes (F3DEX3)
};

// Fast3D: 16 entries, loads of up to 16 vertices, one triangle per command.
constexpr CacheLayout fast3dCache = {16, 16, false};
constexpr int largestCache = 64;

#endif
