/* The generated source comes first, so that it is compiled exactly as it would be on its own; including it here
 * lets the replay see the true lengths of both arrays. */
#include "replay.c"

/* Replays the display list of a generated model named "replay" the way the graphics processor reads it, for the
 * microcode whose command format the stand-in headers were chosen for (REPLAY_F3DEX, REPLAY_F3DEX2,
 * REPLAY_F3DEX3, or Fast3D without any of them).
 *
 *   replay_prog <cache slots> [turned]
 *
 * Decodes the words of each command (never the macro arguments), keeps a vertex cache of <cache slots> entries
 * in which a slot holds its vertex until a later load overwrites it, and checks every command: a load names 1 to
 * the microcode's most vertices, lying inside the vertex array, and ends at or before the last cache slot; a
 * triangle names three slots that some earlier load has filled, with flag 0; where two triangles share a command,
 * a single-triangle command is never followed directly by another triangle; the end command is the last entry of
 * the list. Each drawn triangle is printed as one line (see PrintTriangle). A last line reads
 *   end <rows> <commands> <syncs> <sync right before the end: 0 or 1> <load commands> <vertices loaded>
 * Any fault is reported on the error stream with exit status 1. */

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* The command formats, from the public descriptions of the microcodes. SLOT_FACTOR is what a triangle command
 * multiplies a slot by. */
#if defined(REPLAY_F3DEX)
#define FORMAT_F3DEX 1
#define OP_VTX 0x04u
#define OP_TRI1 0xBFu
#define OP_TRI2 0xB1u
#define OP_END 0xB8u
#define MAX_LOAD 32
#define SLOT_FACTOR 2u
#elif defined(REPLAY_F3DEX2) || defined(REPLAY_F3DEX3)
#define FORMAT_F3DEX2 1
#define OP_VTX 0x01u
#define OP_TRI1 0x05u
#define OP_TRI2 0x06u
#define OP_END 0xDFu
#if defined(REPLAY_F3DEX3)
#define MAX_LOAD 56
#else
#define MAX_LOAD 32
#endif
#define SLOT_FACTOR 2u
#else
#define FORMAT_F3D 1
#define OP_VTX 0x04u
#define OP_TRI1 0xBFu
#define OP_END 0xB8u
#define MAX_LOAD 16
#define SLOT_FACTOR 10u
#endif
#define OP_SYNC 0xE7u

#define MOST_SLOTS 64

static long cache[MOST_SLOTS];
static int cacheSlots;

static int Fail(long command, const char *what)
{
    fprintf(stderr, "command %ld: %s\n", command, what);
    return 1;
}

/* The cache slot named by one byte of a triangle command, or -1 when the byte names none. */
static int SlotOf(unsigned int byte)
{
    if (byte % SLOT_FACTOR != 0u || byte / SLOT_FACTOR >= (unsigned int)cacheSlots) {
        return -1;
    }
    return (int)(byte / SLOT_FACTOR);
}

/* Reads the first slot and the count of a load command; returns a fault or NULL. */
static const char *DecodeLoad(const Gfx *g, unsigned int *first, unsigned int *count)
{
#if defined(FORMAT_F3D)
    unsigned int size = g->w0 & 0xFFFFu;
    *first = (g->w0 >> 16) & 0xFu;
    *count = size / 16u;
    if (size % 16u != 0u || *count < 1u) {
        return "vertex load with a size that is not a whole number of vertices";
    }
    if (((g->w0 >> 20) & 0xFu) != *count - 1u) {
        return "vertex load whose count field disagrees with its size";
    }
#elif defined(FORMAT_F3DEX)
    unsigned int firstTwice = (g->w0 >> 16) & 0xFFu;
    *count = (g->w0 >> 10) & 0x3Fu;
    if (firstTwice % 2u != 0u) {
        return "vertex load whose first slot is not written doubled";
    }
    *first = firstTwice / 2u;
    if ((g->w0 & 0x3FFu) + 1u != 16u * *count) {
        return "vertex load whose size field disagrees with its count";
    }
#else
    unsigned int endTwice = g->w0 & 0xFFu;
    *count = (g->w0 >> 12) & 0xFFu;
    if ((g->w0 & 0xF00u) != 0u) {
        return "vertex load with stray bits between its count and its end";
    }
    if (endTwice % 2u != 0u) {
        return "vertex load whose end slot is not written doubled";
    }
    if (endTwice / 2u < *count) {
        return "vertex load that would start before the first cache slot";
    }
    *first = endTwice / 2u - *count;
#endif
    if (*count < 1u || *count > (unsigned int)MAX_LOAD) {
        return "vertex load of more vertices than one command may load, or of none";
    }
    return NULL;
}

/* Reads the slots of one triangle from the low 24 bits of a word into slots[0..2]; returns a fault or NULL. */
static const char *DecodeTriangle(unsigned int bytes, int *slots)
{
    int c;
    slots[0] = SlotOf((bytes >> 16) & 0xFFu);
    slots[1] = SlotOf((bytes >> 8) & 0xFFu);
    slots[2] = SlotOf(bytes & 0xFFu);
    for (c = 0; c < 3; ++c) {
        if (slots[c] < 0) {
            return "triangle corner that is not a cache slot of this cache";
        }
        if (cache[slots[c]] < 0) {
            return "triangle corner in a slot that no load has filled";
        }
    }
    return NULL;
}

/* Prints one drawn triangle: the row numbers of its corners and the ten values of each corner's row; "turned",
 * only the values, turned so that the smallest corner comes first (turning keeps the winding). */
static void PrintTriangle(const int *slots, int turned)
{
    int c, r, first = 0;
    const Vtx_t *v[3];
    for (c = 0; c < 3; ++c) {
        v[c] = &replayVertices[cache[slots[c]]].v;
    }
    for (r = 1; turned && r < 3; ++r) {
        int order = 0;
        for (c = 0; c < 3 && order == 0; ++c) {
            order = memcmp(v[(r + c) % 3], v[(first + c) % 3], sizeof *v[0]);
        }
        if (order < 0) {
            first = r;
        }
    }
    if (!turned) {
        printf("%ld %ld %ld", cache[slots[0]], cache[slots[1]], cache[slots[2]]);
    }
    for (c = 0; c < 3; ++c) {
        const Vtx_t *t = v[(first + c) % 3];
        printf("  %d %d %d %u %d %d %u %u %u %u", t->ob[0], t->ob[1], t->ob[2], (unsigned int)t->flag, t->tc[0],
               t->tc[1], (unsigned int)t->cn[0], (unsigned int)t->cn[1], (unsigned int)t->cn[2],
               (unsigned int)t->cn[3]);
    }
    printf("\n");
}

int main(int argc, char **argv)
{
    const long numRows = (long)(sizeof replayVertices / sizeof replayVertices[0]);
    const long numCommands = (long)(sizeof replayDisplayList / sizeof replayDisplayList[0]);
    const Gfx *list = replayModel.displayList;
    long command, syncs = 0, loads = 0, loaded = 0;
    int turned, slot, lastWasSync = 0, lastWasLoneTriangle = 0;

    cacheSlots = argc < 2 ? 0 : (int)strtol(argv[1], NULL, 10);
    if (cacheSlots < 1 || cacheSlots > MOST_SLOTS) {
        fprintf(stderr, "usage: %s <cache slots: 1 to %d> [turned]\n", argv[0], MOST_SLOTS);
        return 2;
    }
    turned = argc > 2 && strcmp(argv[2], "turned") == 0;
    for (slot = 0; slot < MOST_SLOTS; ++slot) {
        cache[slot] = -1;
    }
    if (replayModel.vertices != replayVertices || replayModel.displayList != replayDisplayList) {
        return Fail(0, "the model record does not join the vertex array and the display list");
    }

    for (command = 0; command < numCommands; ++command) {
        const Gfx *g = &list[command];
        unsigned int opcode = g->w0 >> 24;
        int wasSync = 0, wasLoneTriangle = 0;
        if (opcode == OP_VTX) {
            unsigned int first, count, k;
            long row;
            const char *fault = DecodeLoad(g, &first, &count);
            if (fault != NULL) {
                return Fail(command, fault);
            }
            if (first + count > (unsigned int)cacheSlots) {
                return Fail(command, "vertex load that runs past the last cache slot");
            }
            if (g->w1 != 0u || g->addr == NULL || g->flags != 0u) {
                return Fail(command, "vertex load without an address, or with stray bits");
            }
            row = (long)((const Vtx *)g->addr - replayVertices);
            if (row < 0 || row + (long)count > numRows) {
                return Fail(command, "vertex load outside the vertex array");
            }
            for (k = 0; k < count; ++k) {
                cache[first + k] = row + (long)k;
            }
            ++loads;
            loaded += (long)count;
        } else if (opcode == OP_TRI1) {
            int slots[3];
            const char *fault;
            unsigned int bytes;
            if (g->addr != NULL || g->flags != 0u) {
                return Fail(command, "triangle with an address or a flag");
            }
#if defined(FORMAT_F3DEX2)
            if (g->w1 != 0u) {
                return Fail(command, "triangle with stray bits in its second word");
            }
            bytes = g->w0 & 0xFFFFFFu;
#else
            if (g->w0 != (OP_TRI1 << 24)) {
                return Fail(command, "triangle with stray bits in its first word");
            }
            if ((g->w1 >> 24) != 0u) {
                return Fail(command, "triangle with a flag other than 0");
            }
            bytes = g->w1;
#endif
            if (lastWasLoneTriangle) {
                return Fail(command, "two single-triangle commands in a row where one command draws two");
            }
            fault = DecodeTriangle(bytes, slots);
            if (fault != NULL) {
                return Fail(command, fault);
            }
            PrintTriangle(slots, turned);
#if defined(OP_TRI2)
            wasLoneTriangle = 1;
#endif
#if defined(OP_TRI2)
        } else if (opcode == OP_TRI2) {
            int first[3], second[3];
            const char *fault;
            if (g->addr != NULL || g->flags != 0u) {
                return Fail(command, "triangle pair with an address or a flag");
            }
            if ((g->w1 >> 24) != 0u) {
                return Fail(command, "triangle pair with stray bits in the top of its second word");
            }
            if (lastWasLoneTriangle) {
                return Fail(command, "single-triangle command followed by a triangle pair");
            }
            fault = DecodeTriangle(g->w0 & 0xFFFFFFu, first);
            if (fault == NULL) {
                fault = DecodeTriangle(g->w1 & 0xFFFFFFu, second);
            }
            if (fault != NULL) {
                return Fail(command, fault);
            }
            PrintTriangle(first, turned);
            PrintTriangle(second, turned);
#endif
        } else if (opcode == OP_SYNC) {
            if (g->w0 != (OP_SYNC << 24) || g->w1 != 0u || g->addr != NULL || g->flags != 0u) {
                return Fail(command, "pipe sync with stray bits");
            }
            ++syncs;
            wasSync = 1;
        } else if (opcode == OP_END) {
            if (g->w0 != (OP_END << 24) || g->w1 != 0u || g->addr != NULL || g->flags != 0u) {
                return Fail(command, "end of list with stray bits");
            }
            if (command + 1 != numCommands) {
                return Fail(command, "commands after the end of the list");
            }
            printf("end %ld %ld %ld %d %ld %ld\n", numRows, numCommands, syncs, lastWasSync, loads, loaded);
            return 0;
        } else {
            return Fail(command, "unknown command");
        }
        lastWasSync = wasSync;
        lastWasLoneTriangle = wasLoneTriangle;
    }
    return Fail(command, "no end of list");
}
