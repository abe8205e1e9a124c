#ifndef REPLAY_GBI_SHARED_H
#define REPLAY_GBI_SHARED_H

/* The vertex and command types shared by the stand-ins for the console's graphics definitions. A vertex load
 * keeps its address in a field of host size instead of the second word, so that the list can be replayed on the
 * host; bits that the real commands would carry elsewhere (triangle flags) land in a field of their own. */

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
    unsigned int flags;   /* triangle flags of the commands that have no room for them in their words */
} Gfx;

#define gsDPPipeSync() { 0xE7u << 24, 0u, 0, 0u }

#endif
