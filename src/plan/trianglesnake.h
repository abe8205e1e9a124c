#ifndef POLVANE_TRIANGLESNAKE_H
#define POLVANE_TRIANGLESNAKE_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "console/consoleplan.h"

// F3DEX3 draws a chain of triangles that share edges as one snake command and continuation words. Each corner
// after the first two travels as one byte, slot * 2 | direction, with 0x80 (the slot's 0x40) on the last: three
// stored corners A-B-C start as the second slot, the first slot and none; each byte copies A into B (right) or
// into C (left), becomes the new A, and draws A-B-C.
constexpr uint8_t snakeLeft = 1;
constexpr uint8_t snakeLast = 0x80;

// The commands that draw one run of triangles (cache slots, each in its winding) between two loads. With snakes,
// chains of at least minSnake triangles become snakes, first; the other triangles follow in pairs where the
// microcode draws two per command, and a triangle left without a partner comes last. A snake costs the RSP about
// 25 instructions more than the same triangles in pairs and saves list bytes: from 20 triangles on it takes three
// words where pairs take ten, and the optimised order's savings cover its cost on most models.
void WriteTriangleRun(const std::vector<std::array<uint32_t, 3>>& run, bool pairs, bool snakes,
                      std::vector<Command>& out);
constexpr size_t minSnake = 20;

// The triangles a snake draws, its head at commands[0] and its continuation words after it (at most `count`
// commands in all); `words` receives how many commands it takes. A snake that runs out of words ends there.
std::vector<std::array<uint32_t, 3>> SnakeTriangles(const Command* commands, size_t count, size_t& words);

#endif
