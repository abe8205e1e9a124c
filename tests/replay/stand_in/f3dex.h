#ifndef REPLAY_F3DEX_H
#define REPLAY_F3DEX_H

/* A small stand-in for the console's graphics definitions, written from the public description of the F3DEX
 * command format: slots are written doubled, a load gives its first slot, its count and its size in bytes less
 * one. Fields are not masked to their widths, so that an out-of-range value spills into a neighbouring field and
 * the replay sees it. */

#include "gbi_shared.h"

#define REPLAY_TRIANGLE_BYTES(v0, v1, v2)                                                          \
    (((unsigned int)(v0) * 2u << 16) | ((unsigned int)(v1) * 2u << 8) | ((unsigned int)(v2) * 2u))

/* Load n vertices starting at address v into the cache, from slot v0 on. */
#define gsSPVertex(v, n, v0)                                                                       \
    { (0x04u << 24) | ((unsigned int)(v0) * 2u << 16) | ((unsigned int)(n) << 10) |                \
          (16u * (unsigned int)(n) - 1u),                                                          \
      0u, (v), 0u }

/* One triangle whose corners are the cache slots v0, v1, v2. */
#define gsSP1Triangle(v0, v1, v2, flag)                                                            \
    { 0xBFu << 24, ((unsigned int)(flag) << 24) | REPLAY_TRIANGLE_BYTES(v0, v1, v2), 0, 0u }

/* Two triangles in one command. */
#define gsSP2Triangles(v00, v01, v02, flag0, v10, v11, v12, flag1)                                 \
    { (0xB1u << 24) | REPLAY_TRIANGLE_BYTES(v00, v01, v02), REPLAY_TRIANGLE_BYTES(v10, v11, v12), 0, \
      (unsigned int)(flag0) | (unsigned int)(flag1) }

#define gsSPEndDisplayList() { 0xB8u << 24, 0u, 0, 0u }

#endif
