#ifndef REPLAY_F3DEX2_H
#define REPLAY_F3DEX2_H

/* A small stand-in for the console's graphics definitions, written from the public description of the F3DEX2
 * command format, which F3DEX3 shares for the commands used here: slots are written doubled, a load gives its
 * count and the slot after its last one. Fields are not masked to their widths, so that an out-of-range value
 * spills into a neighbouring field and the replay sees it. */

#include "gbi_shared.h"

#define REPLAY_TRIANGLE_BYTES(v0, v1, v2)                                                          \
    (((unsigned int)(v0) * 2u << 16) | ((unsigned int)(v1) * 2u << 8) | ((unsigned int)(v2) * 2u))

/* Load n vertices starting at address v into the cache, from slot v0 on. */
#define gsSPVertex(v, n, v0)                                                                       \
    { (0x01u << 24) | ((unsigned int)(n) << 12) | (((unsigned int)(v0) + (unsigned int)(n)) << 1), \
      0u, (v), 0u }

/* One triangle whose corners are the cache slots v0, v1, v2. */
#define gsSP1Triangle(v0, v1, v2, flag)                                                            \
    { (0x05u << 24) | REPLAY_TRIANGLE_BYTES(v0, v1, v2), 0u, 0, (unsigned int)(flag) }

/* Two triangles in one command. */
#define gsSP2Triangles(v00, v01, v02, flag0, v10, v11, v12, flag1)                                 \
    { (0x06u << 24) | REPLAY_TRIANGLE_BYTES(v00, v01, v02), REPLAY_TRIANGLE_BYTES(v10, v11, v12), 0, \
      (unsigned int)(flag0) | (unsigned int)(flag1) }

#if defined(REPLAY_F3DEX3)
/* F3DEX3's triangle snake: a head with the first two corners and five more bytes, each further corner a byte
 * slot * 2 | direction (the slot OR-ed with G_SNAKE_LAST on the last), continued eight bytes at a time in words
 * without an opcode. */
#define G_SNAKE_RIGHT 0
#define G_SNAKE_LEFT 1
#define G_SNAKE_LAST 0x40
#define REPLAY_SNAKE_BYTE(i, d) ((unsigned int)(i) * 2u | (unsigned int)(d))
#define REPLAY_SNAKE_WORD(i0, d0, i1, d1, i2, d2, i3, d3)                                          \
    ((REPLAY_SNAKE_BYTE(i0, d0) << 24) | (REPLAY_SNAKE_BYTE(i1, d1) << 16) |                       \
     (REPLAY_SNAKE_BYTE(i2, d2) << 8) | REPLAY_SNAKE_BYTE(i3, d3))
#define gsSPTriSnake(i1, i2, i3, i4, d4, i5, d5, i6, d6, i7, d7)                                    \
    { (0x08u << 24) | ((unsigned int)(i2) * 2u << 16) | ((unsigned int)(i1) * 2u << 8) |            \
      REPLAY_SNAKE_BYTE(i3, G_SNAKE_LEFT),                                                         \
      REPLAY_SNAKE_WORD(i4, d4, i5, d5, i6, d6, i7, d7), 0, 0u }
#define gsSPContinueSnake(i0, d0, i1, d1, i2, d2, i3, d3, i4, d4, i5, d5, i6, d6, i7, d7)           \
    { REPLAY_SNAKE_WORD(i0, d0, i1, d1, i2, d2, i3, d3), REPLAY_SNAKE_WORD(i4, d4, i5, d5, i6, d6, i7, d7), \
      0, 0u }
#endif

#define gsSPEndDisplayList() { 0xDFu << 24, 0u, 0, 0u }

#endif
