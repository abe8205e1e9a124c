#include "plan/commandrecorder.h"

#include "plan/trianglesnake.h"

void CommandRecorder::Load(uint32_t first, uint32_t count, uint32_t slot)
{
    Flush();
    Command load;
    load.kind = Command::Vertex;
    load.a = base + first;
    load.b = count;
    load.c = slot;
    out.push_back(load);
}

void CommandRecorder::Sync()
{
    Flush();
    Command sync;
    sync.kind = Command::PipeSync;
    out.push_back(sync);
}

void CommandRecorder::Triangle(uint32_t slot1, uint32_t slot2, uint32_t slot3)
{
    if (snakeRuns) {
        run.push_back({slot1, slot2, slot3});
        return;
    }
    if (pending) {
        waiting.kind = Command::TrianglePair;
        waiting.d = slot1;
        waiting.e = slot2;
        waiting.f = slot3;
        out.push_back(waiting);
        pending = false;
        return;
    }
    waiting = Command();
    waiting.kind = Command::Triangle;
    waiting.a = slot1;
    waiting.b = slot2;
    waiting.c = slot3;
    if (pairs) {
        pending = true;
    } else {
        out.push_back(waiting);
    }
}

void CommandRecorder::Flush()
{
    if (!run.empty()) {
        WriteTriangleRun(run, pairs, true, out);
        run.clear();
    }
    if (pending) {
        waiting.kind = Command::Triangle;
        out.push_back(waiting);
        pending = false;
    }
}
