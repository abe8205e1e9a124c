/* Replays the display list of a generated model named "replay" the way the graphics processor reads it.
 *
 *   replay_prog <vertex count> <command bound> [numbers]
 *
 * Walks replayModel.displayList until the end command (at most <command bound> commands), keeps a 16-slot
 * vertex cache, and checks every command: a load names 1 to 16 vertices that lie inside the vertex array and fit
 * the cache from its first slot on; a triangle names three loaded slots, each byte a multiple of 10, and flag 0.
 * Each drawn triangle is printed as one line: its three vertex numbers and, unless "numbers" is given, the
 * position and texture coordinate of each corner. Any fault is reported on the error stream with exit status 1. */

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "replay.h"

#define CACHE_SLOTS 16

static long cache[CACHE_SLOTS];

static int Fail(long command, const char *what)
{
    fprintf(stderr, "command %ld: %s\n", command, what);
    return 1;
}

/* The cache slot named by one byte of a triangle command, or -1 when the byte names none. */
static int SlotOf(unsigned int byte)
{
    if (byte % 10u != 0u || byte / 10u >= CACHE_SLOTS) {
        return -1;
    }
    return (int)(byte / 10u);
}

int main(int argc, char **argv)
{
    long numVertices;
    long bound;
    int numbersOnly;
    long command;
    const Vtx *base = replayModel.vertices;
    const Gfx *list = replayModel.displayList;
    int slot;

    if (argc < 3) {
        fprintf(stderr, "usage: %s <vertex count> <command bound> [numbers]\n", argv[0]);
        return 2;
    }
    numVertices = strtol(argv[1], NULL, 10);
    bound = strtol(argv[2], NULL, 10);
    numbersOnly = argc > 3 && strcmp(argv[3], "numbers") == 0;
    for (slot = 0; slot < CACHE_SLOTS; ++slot) {
        cache[slot] = -1;
    }

    for (command = 0; command < bound; ++command) {
        const Gfx *g = &list[command];
        unsigned int opcode = g->w0 >> 24;
        if (opcode == REPLAY_G_VTX) {
            unsigned int size = g->w0 & 0xFFFFu;
            unsigned int countField = (g->w0 >> 20) & 0xFu;
            unsigned int first = (g->w0 >> 16) & 0xFu;
            unsigned int count = size / 16u;
            long vertex;
            unsigned int k;
            if (size % 16u != 0u || count < 1u || count > CACHE_SLOTS) {
                return Fail(command, "vertex load with a size that is not 1 to 16 vertices");
            }
            if (countField != count - 1u) {
                return Fail(command, "vertex load whose count field disagrees with its size");
            }
            if (first + count > CACHE_SLOTS) {
                return Fail(command, "vertex load that runs past the last cache slot");
            }
            if (g->w1 != 0u || g->addr == NULL) {
                return Fail(command, "vertex load without an address");
            }
            vertex = (long)((const Vtx *)g->addr - base);
            if (vertex < 0 || vertex + (long)count > numVertices) {
                return Fail(command, "vertex load outside the vertex array");
            }
            for (k = 0; k < count; ++k) {
                cache[first + k] = vertex + (long)k;
            }
        } else if (opcode == REPLAY_G_TRI1) {
            int slots[3];
            int c;
            if (g->w0 != (REPLAY_G_TRI1 << 24) || g->addr != NULL) {
                return Fail(command, "triangle with stray bits in its first word");
            }
            if ((g->w1 >> 24) != 0u) {
                return Fail(command, "triangle with a flag other than 0");
            }
            slots[0] = SlotOf((g->w1 >> 16) & 0xFFu);
            slots[1] = SlotOf((g->w1 >> 8) & 0xFFu);
            slots[2] = SlotOf(g->w1 & 0xFFu);
            for (c = 0; c < 3; ++c) {
                if (slots[c] < 0) {
                    return Fail(command, "triangle corner that is not a cache slot times 10");
                }
                if (cache[slots[c]] < 0) {
                    return Fail(command, "triangle corner in a slot that was never loaded");
                }
            }
            printf("%ld %ld %ld", cache[slots[0]], cache[slots[1]], cache[slots[2]]);
            if (!numbersOnly) {
                for (c = 0; c < 3; ++c) {
                    const Vtx_t *v = &base[cache[slots[c]]].v;
                    printf(" %d %d %d %d %d", v->ob[0], v->ob[1], v->ob[2], v->tc[0], v->tc[1]);
                }
            }
            printf("\n");
        } else if (opcode == REPLAY_G_RDPPIPESYNC) {
            if (g->w0 != (REPLAY_G_RDPPIPESYNC << 24) || g->w1 != 0u || g->addr != NULL) {
                return Fail(command, "pipe sync with stray bits");
            }
        } else if (opcode == REPLAY_G_ENDDL) {
            if (g->w0 != (REPLAY_G_ENDDL << 24) || g->w1 != 0u || g->addr != NULL) {
                return Fail(command, "end of list with stray bits");
            }
            return 0;
        } else {
            return Fail(command, "unknown command");
        }
    }
    return Fail(command, "no end of list within the bound");
}
