#ifndef REPLAY_FAST3D_H
#define REPLAY_FAST3D_H

/* A small stand-in for the console's graphics definitions, written from the public description of the Fast3D
 * command format. Each display-list macro expands to an initialiser of one Gfx command with the same words the
 * real macros produce; the vertex address is kept in a field of host size instead of the second word, so that
 * the list can be replayed on the host. Fields are not masked to their widths, so that an out-of-range value
 * spills into a neighbouring field and the replay sees it. */

typedef struct {
    short ob[3];          /* position */
    unsigned short flag;
    short tc[2];          /* texture coordinate, s and t */
    unsigned char cn[4];  /* normal or colour, then alpha */
} Vtx_t;

typedef union {
    Vtx_t v;
    long long forceAlign;
} Vtx;

typedef struct {
    unsigned int w0;
    unsigned int w1;
    const void *addr;     /* the segment address of a vertex load */
} Gfx;

#define REPLAY_G_VTX 0x04u
#define REPLAY_G_TRI1 0xBFu
#define REPLAY_G_RDPPIPESYNC 0xE7u
#define REPLAY_G_ENDDL 0xB8u

/* Load n vertices starting at address v into the cache, from slot v0 on. */
#define gsSPVertex(v, n, v0)                                                                       \
    { (REPLAY_G_VTX << 24) | ((((unsigned int)(n) - 1u) << 4 | (unsigned int)(v0)) << 16) |        \
          (16u * (unsigned int)(n)),                                                               \
      0u, (v) }

/* One triangle whose corners are the cache slots v0, v1, v2. */
#define gsSP1Triangle(v0, v1, v2, flag)                                                            \
    { REPLAY_G_TRI1 << 24,                                                                         \
      ((unsigned int)(flag) << 24) | ((unsigned int)(v0) * 10u << 16) |                            \
          ((unsigned int)(v1) * 10u << 8) | ((unsigned int)(v2) * 10u),                            \
      0 }

#define gsDPPipeSync() { REPLAY_G_RDPPIPESYNC << 24, 0u, 0 }

#define gsSPEndDisplayList() { REPLAY_G_ENDDL << 24, 0u, 0 }

#endif
