#include "plan/trianglesnake.h"

namespace {

using Triangle = std::array<uint32_t, 3>;

const uint32_t slotCount = 64;

// The triangles of one run and which of them share an edge. Across an edge u-v of one triangle lies a triangle
// holding v-u: both keep their winding. Each undrawn triangle keeps how many of its edges have an undrawn triangle
// across, updated as triangles are drawn. The table of edges and the arrays are kept from run to run (a list has
// thousands of runs), and only the table entries a run filled are cleared after it.
class RunEdges {
public:
    explicit RunEdges(const std::vector<Triangle>& run) : triangles(run), scratch(Scratch())
    {
        scratch.drawn.assign(run.size(), 0);
        scratch.next.assign(3 * run.size(), -1);
        scratch.across.assign(3 * run.size(), 0);
        scratch.neighbours.assign(run.size(), 0);
        for (size_t t = run.size(); t-- > 0;) {
            for (size_t k = 0; k < 3; ++k) {
                const uint32_t key = Key(run[t][k], run[t][(k + 1) % 3]);
                scratch.next[3 * t + k] = scratch.heads[key];
                scratch.heads[key] = int32_t(3 * t + k);
            }
        }
        for (size_t t = 0; t < run.size(); ++t) {
            for (size_t k = 0; k < 3; ++k) {
                for (int32_t e = scratch.heads[Key(run[t][(k + 1) % 3], run[t][k])]; e >= 0;
                     e = scratch.next[size_t(e)]) {
                    ++scratch.across[3 * t + k];
                }
                scratch.neighbours[t] += scratch.across[3 * t + k] > 0 ? 1 : 0;
            }
        }
    }

    // The first undrawn triangle across the directed edge u-v, or -1.
    int32_t Across(uint32_t u, uint32_t v) const
    {
        for (int32_t e = scratch.heads[Key(v, u)]; e >= 0; e = scratch.next[size_t(e)]) {
            if (!scratch.drawn[size_t(e) / 3]) {
                return e / 3;
            }
        }
        return -1;
    }

    void Draw(size_t t)
    {
        scratch.drawn[t] = 1;
        // t lies across the edges v-u of the triangles holding them.
        for (size_t k = 0; k < 3; ++k) {
            for (int32_t e = scratch.heads[Key(triangles[t][(k + 1) % 3], triangles[t][k])]; e >= 0;
                 e = scratch.next[size_t(e)]) {
                if (--scratch.across[size_t(e)] == 0) {
                    --scratch.neighbours[size_t(e) / 3];
                }
            }
        }
    }

    ~RunEdges()
    {
        for (const Triangle& t : triangles) {
            for (size_t k = 0; k < 3; ++k) {
                scratch.heads[Key(t[k], t[(k + 1) % 3])] = -1;
            }
        }
    }
    RunEdges(const RunEdges&) = delete;
    RunEdges& operator=(const RunEdges&) = delete;

    // How many edges of undrawn triangle t have an undrawn triangle across.
    int Neighbours(size_t t) const { return scratch.neighbours[t]; }
    bool Drawn(size_t t) const { return scratch.drawn[t] != 0; }

    const std::vector<Triangle>& triangles;

private:
    struct Arrays {
        std::vector<int32_t> heads = std::vector<int32_t>(slotCount * slotCount, -1);
        std::vector<int32_t> next;      // per edge: the next edge of the same key, or -1
        std::vector<uint32_t> across;   // per edge: undrawn triangles across it
        std::vector<uint8_t> drawn;
        std::vector<uint8_t> neighbours;
    };
    static uint32_t Key(uint32_t u, uint32_t v) { return (u % slotCount) * slotCount + v % slotCount; }
    static Arrays& Scratch()
    {
        static thread_local Arrays arrays;
        return arrays;
    }
    Arrays& scratch;
};

// The corner of a triangle that is neither u nor v.
uint32_t Third(const Triangle& t, uint32_t u, uint32_t v)
{
    for (uint32_t corner : t) {
        if (corner != u && corner != v) {
            return corner;
        }
    }
    return t[0];
}

struct Chain {
    Triangle first;              // drawn as A-B-C
    std::vector<uint8_t> bytes;  // the corners after the first triangle's, each with its direction
    std::vector<size_t> members; // the run's triangles, in drawing order
};

// Follows edges from triangle `start`, turned so that the chain can go on, while a neighbour is undrawn.
Chain Follow(RunEdges& edges, size_t start)
{
    const Triangle& t = edges.triangles[start];
    Chain chain;
    chain.first = t;
    // A chain holds at most the run: room for it at once spares growing the arrays triangle by triangle.
    chain.members.reserve(edges.triangles.size());
    chain.bytes.reserve(edges.triangles.size());
    int bestOptions = -1;
    for (size_t r = 0; r < 3; ++r) {
        const Triangle turned = {t[r], t[(r + 1) % 3], t[(r + 2) % 3]};
        const int options = (edges.Across(turned[0], turned[1]) >= 0) + (edges.Across(turned[2], turned[0]) >= 0);
        if (options > bestOptions) {
            bestOptions = options;
            chain.first = turned;
        }
    }
    edges.Draw(start);
    chain.members.push_back(start);
    Triangle now = chain.first;
    bool lastLeft = false;
    for (;;) {
        const int32_t left = edges.Across(now[0], now[1]);
        const int32_t right = edges.Across(now[2], now[0]);
        if (left < 0 && right < 0) {
            break;
        }
        bool goLeft = right < 0;
        if (left >= 0 && right >= 0) {
            const int leftCount = edges.Neighbours(size_t(left));
            const int rightCount = edges.Neighbours(size_t(right));
            goLeft = leftCount != rightCount ? leftCount < rightCount : !lastLeft;
        }
        const size_t chosen = size_t(goLeft ? left : right);
        if (goLeft) {
            now = {Third(edges.triangles[chosen], now[1], now[0]), now[1], now[0]};
        } else {
            now = {Third(edges.triangles[chosen], now[0], now[2]), now[0], now[2]};
        }
        chain.bytes.push_back(uint8_t(now[0] * 2 | (goLeft ? snakeLeft : 0)));
        edges.Draw(chosen);
        chain.members.push_back(chosen);
        lastLeft = goLeft;
    }
    return chain;
}

uint32_t Pack(const std::vector<uint8_t>& bytes, size_t from)
{
    uint32_t word = 0;
    for (size_t i = 0; i < 4; ++i) {
        word = word << 8 | (from + i < bytes.size() ? bytes[from + i] : 0u);
    }
    return word;
}

void WriteSnake(const Chain& chain, std::vector<Command>& out)
{
    // The third corner's byte first (always left), then the chain's; the last one marked.
    std::vector<uint8_t> bytes = {uint8_t(chain.first[0] * 2 | snakeLeft)};
    bytes.insert(bytes.end(), chain.bytes.begin(), chain.bytes.end());
    bytes.back() |= snakeLast;
    Command head;
    head.kind = Command::TriangleSnake;
    head.a = chain.first[1];
    head.b = chain.first[2];
    head.c = bytes[0];
    head.d = Pack(bytes, 1);
    head.e = uint32_t(chain.members.size());
    out.push_back(head);
    for (size_t from = 5; from < bytes.size(); from += 8) {
        Command more;
        more.kind = Command::SnakeContinuation;
        more.a = Pack(bytes, from);
        more.b = Pack(bytes, from + 4);
        out.push_back(more);
    }
}

void WriteSeparate(const std::vector<Triangle>& triangles, bool pairs, std::vector<Command>& out)
{
    size_t i = 0;
    for (; pairs && i + 1 < triangles.size(); i += 2) {
        Command pair;
        pair.kind = Command::TrianglePair;
        pair.a = triangles[i][0];
        pair.b = triangles[i][1];
        pair.c = triangles[i][2];
        pair.d = triangles[i + 1][0];
        pair.e = triangles[i + 1][1];
        pair.f = triangles[i + 1][2];
        out.push_back(pair);
    }
    for (; i < triangles.size(); ++i) {
        Command one;
        one.kind = Command::Triangle;
        one.a = triangles[i][0];
        one.b = triangles[i][1];
        one.c = triangles[i][2];
        out.push_back(one);
    }
}

}

void WriteTriangleRun(const std::vector<Triangle>& run, bool pairs, bool snakes, std::vector<Command>& out)
{
    if (!snakes || run.size() < minSnake) {
        WriteSeparate(run, pairs, out);
        return;
    }
    RunEdges edges(run);
    std::vector<Triangle> separate;
    for (size_t done = 0; done < run.size();) {
        // Start where the fewest neighbours are left: the ends of strips, so that chains are long.
        size_t start = run.size();
        int fewest = 4;
        for (size_t t = 0; t < run.size() && fewest > 0; ++t) {
            if (!edges.Drawn(t)) {
                const int count = edges.Neighbours(t);
                if (count < fewest) {
                    fewest = count;
                    start = t;
                }
            }
        }
        const Chain chain = Follow(edges, start);
        done += chain.members.size();
        if (chain.members.size() >= minSnake) {
            WriteSnake(chain, out);
        } else {
            for (size_t member : chain.members) {
                separate.push_back(run[member]);
            }
        }
    }
    WriteSeparate(separate, pairs, out);
}

std::vector<Triangle> SnakeTriangles(const Command* commands, size_t count, size_t& words)
{
    std::vector<Triangle> drawn;
    words = 0;
    if (count == 0 || commands[0].kind != Command::TriangleSnake) {
        return drawn;
    }
    uint32_t a = commands[0].b, b = commands[0].a, c = 0;
    const auto step = [&](uint32_t byte) {
        const uint32_t slot = (byte >> 1) & 0x3Fu;
        if (byte & snakeLeft) {
            c = a;
        } else {
            b = a;
        }
        a = slot;
        drawn.push_back({a, b, c});
        return (byte & snakeLast) != 0;
    };
    words = 1;
    bool last = step(commands[0].c | snakeLeft);
    for (int shift = 24; shift >= 0 && !last; shift -= 8) {
        last = step((commands[0].d >> shift) & 0xFFu);
    }
    while (!last && words < count && commands[words].kind == Command::SnakeContinuation) {
        const uint32_t pair[2] = {commands[words].a, commands[words].b};
        ++words;
        for (int w = 0; w < 2 && !last; ++w) {
            for (int shift = 24; shift >= 0 && !last; shift -= 8) {
                last = step((pair[w] >> shift) & 0xFFu);
            }
        }
    }
    return drawn;
}
