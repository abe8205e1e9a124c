#ifndef POLVANE_COMMANDRECORDER_H
#define POLVANE_COMMANDRECORDER_H

#include <array>
#include <cstdint>
#include <vector>

#include "console/consoleplan.h"
#include "plan/displaylist.h"

// Records the loads, syncs and triangles of a display list as plan commands. Where the microcode draws two
// triangles per command, consecutive triangles are paired; one left without a partner before a load or a sync
// is drawn alone. With snakes, the triangles between two loads are written as WriteTriangleRun orders them.
// Loads name rows from rowBase on.
class CommandRecorder : public DisplayListSink {
public:
    CommandRecorder(std::vector<Command>& commands, bool pairTriangles, uint32_t rowBase = 0, bool snakes = false)
        : out(commands), pairs(pairTriangles), base(rowBase), snakeRuns(snakes)
    {
    }

    void Load(uint32_t first, uint32_t count, uint32_t slot) override;
    void Sync() override;
    void Triangle(uint32_t slot1, uint32_t slot2, uint32_t slot3) override;
    // Draws a triangle still waiting for a partner.
    void Flush();

private:
    std::vector<Command>& out;
    const bool pairs;
    const uint32_t base;
    const bool snakeRuns;
    std::vector<std::array<uint32_t, 3>> run;
    bool pending = false;
    Command waiting;
};

#endif
