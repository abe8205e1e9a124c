#ifndef REPLAY_FAST3D_H
#define REPLAY_FAST3D_H

/* A small stand-in for the console's graphics definitions, written from the public description of the Fast3D
 * command format. Each display-list macro expands to an initialiser of one Gfx command with the same words the
 * real macros produce. Fields are not masked to their widths, so that an out-of-range value spills into a
 * neighbouring field and the replay sees it. Fast3D has no command for two triangles. */

#include "gbi_shared.h"

/* Load n vertices starting at address v into the cache, from slot v0 on. */
#define gsSPVertex(v, n, v0)                                                                       \
    { (0x04u << 24) | ((((unsigned int)(n) - 1u) << 4 | (unsigned int)(v0)) << 16) |              \
          (16u * (unsigned int)(n)),                                                               \
      0u, (v), 0u }

/* One triangle whose corners are the cache slots v0, v1, v2. */
#define gsSP1Triangle(v0, v1, v2, flag)                                                            \
    { 0xBFu << 24,                                                                                 \
      ((unsigned int)(flag) << 24) | ((unsigned int)(v0) * 10u << 16) |                            \
          ((unsigned int)(v1) * 10u << 8) | ((unsigned int)(v2) * 10u),                            \
      0, 0u }

#define gsSPEndDisplayList() { 0xB8u << 24, 0u, 0, 0u }

#endif
