#include "output/positioncollapse.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "largeblocks.h"
#include "plan/vertexrow.h"

namespace {

uint64_t Mix(uint64_t h)
{
    h ^= h >> 31;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 29;
    h *= 0x94D049BB133111EBull;
    return h ^ (h >> 32);
}

uint64_t Bits(float value)
{
    value += 0.0f;  // -0 and 0 are the same position
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// A power of two at least one and a half times count: room for an open-addressed table of count entries.
size_t TableSize(size_t count)
{
    size_t size = 16;
    while (size < count + count / 2) {
        size *= 2;
    }
    return size;
}

// Filled before they are read: not zeroed as they grow, and on large pages when large.
using Pairs = std::vector<uint64_t, WrittenWholeAllocator<uint64_t>>;

// The model's distinct positions (told apart by their exact floats, -0 and 0 alike) in order of x, in groups of one
// x: the groups' x and where each ends, which find the runs of equal integer x, and y and z of every position
// (packed as YZ packs them), read only inside runs. Truncation keeps the order, so at any scale the positions that
// share an integer x lie next to each other, in whole groups.
struct SortedPositions {
    std::vector<float> x;
    std::vector<uint32_t> end;
    Pairs yz;
};

uint64_t YZ(const Vector3D& p)
{
    return Bits(p.y) | Bits(p.z) << 32;
}

float Y(uint64_t yz)
{
    const uint32_t bits = uint32_t(yz);
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

float Z(uint64_t yz)
{
    return Y(yz >> 32);
}

// A key that orders floats as numbers, -0 and 0 alike.
uint32_t OrderKey(float value)
{
    const uint32_t bits = uint32_t(Bits(value));
    return (bits & 0x80000000u) ? ~bits : bits | 0x80000000u;
}

// Sorts the pairs by their upper half, stably, with passes of a few bits each.
void SortByUpperHalf(Pairs& pairs)
{
    const int digit = pairs.size() < 65536 ? 8 : 11;
    const size_t buckets = size_t(1) << digit;
    Pairs sorted(pairs.size());
    std::vector<size_t> start(buckets);
    for (int shift = 32; shift < 64; shift += digit) {
        std::fill(start.begin(), start.end(), 0);
        for (const uint64_t pair : pairs) {
            ++start[(pair >> shift) & (buckets - 1)];
        }
        size_t total = 0;
        for (size_t& s : start) {
            total += s;
            s = total - s;
        }
        for (const uint64_t pair : pairs) {
            sorted[start[(pair >> shift) & (buckets - 1)]++] = pair;
        }
        pairs.swap(sorted);
    }
}

// Every vertex under its x's order key, sorted; then each group of equal x keeps its distinct y and z, the array of
// the sorted vertices becoming the array of y and z as it is read. Long groups find what they hold in a table whose
// slots carry the group's number beside the entry, so that a new group finds it empty without clearing it.
SortedPositions DistinctPositions(const ObjFile& objFile)
{
    const Vector3D* vertices = objFile.GetVertices();
    const uint32_t vertexCount = uint32_t(objFile.GetNumVertices());
    SortedPositions positions;
    Pairs& order = positions.yz;
    order.resize(vertexCount);
    for (uint32_t i = 0; i < vertexCount; ++i) {
        order[i] = uint64_t(OrderKey(vertices[i].x)) << 32 | i;
    }
    SortByUpperHalf(order);
    positions.x.reserve(vertexCount);
    positions.end.reserve(vertexCount);
    std::vector<uint64_t> table;  // group number << 32 | index into the group's y and z, which sit in order[kept...]
    uint32_t group = 0;
    size_t kept = 0;
    for (size_t first = 0; first < vertexCount;) {
        const uint32_t key = uint32_t(order[first] >> 32);
        const float x = vertices[uint32_t(order[first])].x;
        size_t last = first + 1;
        while (last < vertexCount && uint32_t(order[last] >> 32) == key) {
            ++last;
        }
        const size_t groupStart = kept;
        ++group;
        if (last - first > 8 && table.size() < TableSize(2 * (last - first))) {
            table.assign(TableSize(2 * (last - first)), 0);  // group numbers start at 1
        }
        const size_t mask = table.size() - 1;
        for (size_t i = first; i < last; ++i) {
            const uint64_t yz = YZ(vertices[uint32_t(order[i])]);
            bool seen = false;
            if (last - first <= 8) {
                for (size_t k = groupStart; k < kept && !seen; ++k) {
                    seen = order[k] == yz;
                }
            } else {
                for (size_t slot = size_t(Mix(yz)) & mask;; slot = (slot + 1) & mask) {
                    if (uint32_t(table[slot] >> 32) != group) {
                        table[slot] = uint64_t(group) << 32 | (kept - groupStart);
                        break;
                    }
                    if (order[groupStart + uint32_t(table[slot])] == yz) {
                        seen = true;
                        break;
                    }
                }
            }
            if (!seen) {
                order[kept++] = yz;
            }
        }
        positions.x.push_back(x);
        positions.end.push_back(uint32_t(kept));
        first = last;
    }
    order.resize(kept);
    return positions;
}

// The integer y and z of a position, side by side.
uint32_t IntegerYZ(uint64_t yz, double scale)
{
    return uint32_t(uint16_t(ClampToInt16(Y(yz) * scale))) | uint32_t(uint16_t(ClampToInt16(Z(yz) * scale))) << 16;
}

// How many of the positions of one run (of equal integer x) become the same integer position as an earlier one of
// the run: the run's length less its distinct integer positions.
class RunCounter {
public:
    size_t Count(const uint64_t* run, size_t runLength, bool oneX, double scale)
    {
        if (runLength == 2) {
            return IntegerYZ(run[0], scale) == IntegerYZ(run[1], scale) ? 1 : 0;
        }
        if (runLength <= smallRun) {
            uint32_t keys[smallRun];
            size_t collapsed = 0;
            for (size_t i = 0; i < runLength; ++i) {
                keys[i] = IntegerYZ(run[i], scale);
                collapsed += std::find(keys, keys + i, keys[i]) != keys + i ? 1 : 0;
            }
            return collapsed;
        }
        // Runs of one x are tried along y and z first: there, rows that cross the run often keep an order.
        size_t collapsed = 0;
        if (oneX && (CountAlong<Y, Z>(run, runLength, scale, collapsed) ||
                     CountAlong<Z, Y>(run, runLength, scale, collapsed))) {
            return collapsed;
        }
        return runLength <= shortRun ? CountShort(run, runLength, scale) : CountLong(run, runLength, scale);
    }

private:
    // When one coordinate's integers along the run only rise or only fall (a column of a grid, say), positions that
    // meet lie next to each other, in a stretch where that integer stays the same: only those stretches need the
    // other integer compared. False when the run is not like that, or a stretch is long.
    template <float (*along)(uint64_t), float (*other)(uint64_t)>
    static bool CountAlong(const uint64_t* run, size_t runLength, double scale, size_t& collapsed)
    {
        collapsed = 0;
        int32_t stretchValue = ClampToInt16(along(run[0]) * scale);
        int32_t direction = 0;
        size_t stretchStart = 0;
        for (size_t i = 1; i <= runLength; ++i) {
            const int32_t value = i < runLength ? ClampToInt16(along(run[i]) * scale) : stretchValue;
            if (value == stretchValue && i < runLength) {
                continue;
            }
            if (value != stretchValue) {
                const int32_t step = value > stretchValue ? 1 : -1;
                if (direction == -step) {
                    return false;
                }
                direction = step;
            }
            const size_t stretch = i - stretchStart;
            if (stretch > smallRun) {
                return false;
            }
            if (stretch > 1) {
                int32_t others[smallRun];
                for (size_t k = 0; k < stretch; ++k) {
                    others[k] = ClampToInt16(other(run[stretchStart + k]) * scale);
                    collapsed += std::find(others, others + k, others[k]) != others + k ? 1 : 0;
                }
            }
            stretchStart = i;
            stretchValue = value;
        }
        return true;
    }

    static constexpr size_t smallRun = 8;
    static constexpr size_t shortRun = 4096;

    // A sparse table (few probes) whose slots hold the run's number beside the key, so that a new run finds it
    // empty without clearing it.
    size_t CountShort(const uint64_t* run, size_t runLength, double scale)
    {
        if (++stamp == 0) {
            std::fill(marked.begin(), marked.end(), 0);
            stamp = 1;
        }
        size_t capacity = 16;
        int shift = 60;
        while (capacity < 4 * runLength) {
            capacity *= 2;
            --shift;
        }
        if (marked.size() < capacity) {
            marked.resize(capacity);
        }
        size_t collapsed = 0;
        for (size_t i = 0; i < runLength; ++i) {
            const uint32_t key = IntegerYZ(run[i], scale);
            const uint64_t entry = uint64_t(stamp) << 32 | key;
            // The top bits of a multiplicative hash.
            for (size_t slot = size_t((uint64_t(key) * 0x9E3779B97F4A7C15ull) >> shift);;
                 slot = (slot + 1) & (capacity - 1)) {
                if (marked[slot] == entry) {
                    ++collapsed;
                    break;
                }
                if (uint32_t(marked[slot] >> 32) != stamp) {
                    marked[slot] = entry;
                    break;
                }
            }
        }
        return collapsed;
    }

    // A table that grows with the distinct integer positions it meets, at most to the size the run could fill: a
    // long run (the first count, at the given scale) often holds only a few. The pair that stands for an empty slot
    // is itself kept apart, in a flag.
    size_t CountLong(const uint64_t* run, size_t runLength, double scale)
    {
        HashSet table(std::min(TableSize(runLength), size_t(4096)));
        bool emptyPairSeen = false;
        size_t collapsed = 0;
        for (size_t i = 0; i < runLength; ++i) {
            const uint32_t key = IntegerYZ(run[i], scale);
            if (key == HashSet::empty) {
                collapsed += emptyPairSeen ? 1 : 0;
                emptyPairSeen = true;
            } else if (!table.Insert(key)) {
                ++collapsed;
            }
        }
        return collapsed;
    }

    // Keys other than `empty` in an open-addressed table of a power-of-two size, placed by the top bits of a
    // multiplicative hash; it doubles when two thirds full.
    class HashSet {
    public:
        static constexpr uint32_t empty = ~uint32_t(0);

        explicit HashSet(size_t capacity) : slots(capacity, empty)
        {
            for (size_t size = capacity; size > 1; size /= 2) {
                --shift;
            }
        }

        // False when the key is there already.
        bool Insert(uint32_t key)
        {
            if (!Place(key)) {
                return false;
            }
            if (++count * 3 > slots.size() * 2) {
                HashSet larger(slots.size() * 2);
                for (const uint32_t kept : slots) {
                    if (kept != empty) {
                        larger.Place(kept);
                    }
                }
                larger.count = count;
                *this = std::move(larger);
            }
            return true;
        }

    private:
        bool Place(uint32_t key)
        {
            const size_t mask = slots.size() - 1;
            for (size_t slot = size_t((uint64_t(key) * 0x9E3779B97F4A7C15ull) >> shift);; slot = (slot + 1) & mask) {
                if (slots[slot] == empty) {
                    slots[slot] = key;
                    return true;
                }
                if (slots[slot] == key) {
                    return false;
                }
            }
        }

        std::vector<uint32_t> slots;
        int shift = 64;
        size_t count = 0;
    };

    std::vector<uint64_t> marked;
    uint32_t stamp = 0;
};

// How many of the distinct positions become the same integer position as another one at a scale. Only positions
// with the same integer x can meet, and those form runs of whole groups, each run counted on its own. KeepsApart
// asks only whether none do: it starts at the run where it last found some, which at a nearby scale most often has
// some again.
class CollapseCounter {
public:
    explicit CollapseCounter(const SortedPositions& sortedPositions) : positions(sortedPositions) {}

    size_t Count(double scale) { return CountIn(0, positions.x.size(), scale, false); }

    // Lets KeepsApart pass over a run of one group whose positions lie far enough apart at the scale asked.
    void MeasureGroups()
    {
        const uint32_t* groupEnd = positions.end.data();
        apartFrom.resize(positions.x.size());
        for (size_t group = 0; group < apartFrom.size(); ++group) {
            const size_t start = group == 0 ? 0 : groupEnd[group - 1];
            apartFrom[group] = ApartFrom(positions.yz.data() + start, groupEnd[group] - start);
        }
        for (const uint64_t yz : positions.yz) {
            largestYZ = std::max({largestYZ, std::fabs(double(Y(yz))), std::fabs(double(Z(yz)))});
        }
    }

    bool KeepsApart(double scale)
    {
        const size_t count = positions.x.size();
        size_t start = std::min(lastCollapse, count);
        if (start < count) {
            const int32_t x = ClampToInt16(positions.x[start] * scale);
            while (start > 0 && ClampToInt16(positions.x[start - 1] * scale) == x) {
                --start;
            }
        }
        return CountIn(start, count, scale, true) == 0 && CountIn(0, start, scale, true) == 0;
    }

private:
    // The runs of the groups [begin, end), which starts and ends between runs; with firstOnly, 1 at the first that
    // has any.
    size_t CountIn(size_t begin, size_t end, double scale, bool firstOnly)
    {
        const float* x = positions.x.data();
        const uint32_t* groupEnd = positions.end.data();
        size_t collapsed = 0;
        size_t first = begin;
        while (first < end) {
            const int32_t runX = ClampToInt16(x[first] * scale);
            size_t last = first + 1;
            while (last < end && ClampToInt16(x[last] * scale) == runX) {
                ++last;
            }
            const size_t runStart = first == 0 ? 0 : groupEnd[first - 1];
            const size_t runLength = groupEnd[last - 1] - runStart;
            if (runLength > 1 && !(firstOnly && last - first == 1 && FarApart(first, scale))) {
                if (const size_t inRun = runs.Count(positions.yz.data() + runStart, runLength, last - first == 1, scale)) {
                    if (firstOnly) {
                        lastCollapse = first;
                        return 1;
                    }
                    collapsed += inRun;
                }
            }
            first = last;
        }
        return collapsed;
    }

    // Whether the group's positions all become distinct integer positions at the scale, none of them clamped.
    bool FarApart(size_t group, double scale) const
    {
        const double magnitude = std::fabs(scale);
        return group < apartFrom.size() && magnitude >= apartFrom[group] && largestYZ * magnitude <= 32767.0;
    }

    // The least scale (in magnitude) from which a group's positions all truncate to distinct integer positions,
    // when they are ordered along y (rising or falling, equal y side by side, as the rows of a grid are): each step
    // between distinct y, and each pair of equal y apart in z, must then come to 1 at least, or 2 where it crosses
    // 0 (truncation toward zero takes all of -1..1 to 0). The margins cover the rounding of the products. Infinite
    // when the group is not so ordered.
    static double ApartFrom(const uint64_t* group, size_t length)
    {
        constexpr double never = std::numeric_limits<double>::infinity();
        double from = 0.0;
        // False for values that are not numbers, or not apart.
        const auto need = [&from](double a, double b) {
            const double apart = std::fabs(b - a);
            if (!std::isfinite(apart) || !(apart > 0.0)) {
                return false;
            }
            const bool crossesZero = (a < 0.0 && b > 0.0) || (a > 0.0 && b < 0.0);
            from = std::max(from, (crossesZero ? 2.001 : 1.001) / apart);
            return true;
        };
        int direction = 0;
        for (size_t first = 0; first < length;) {
            size_t last = first + 1;
            while (last < length && Y(group[last]) == Y(group[first])) {
                ++last;
            }
            if (last - first > 8) {
                return never;
            }
            for (size_t i = first; i < last; ++i) {
                for (size_t k = first; k < i; ++k) {
                    if (!need(double(Z(group[k])), double(Z(group[i])))) {
                        return never;
                    }
                }
            }
            if (last < length) {
                const double a = double(Y(group[first]));
                const double b = double(Y(group[last]));
                const int along = b > a ? 1 : -1;
                if (direction == -along || !need(a, b)) {
                    return never;
                }
                direction = along;
            }
            first = last;
        }
        return from;
    }

    const SortedPositions& positions;
    RunCounter runs;
    size_t lastCollapse = 0;  // a group
    std::vector<double> apartFrom;  // per group, from MeasureGroups
    double largestYZ = 0.0;
};
}

struct PositionCollapse::Counter {
    explicit Counter(const ObjFile& objFile) : positions(DistinctPositions(objFile)), counter(positions) {}

    SortedPositions positions;
    CollapseCounter counter;  // reads positions
};

PositionCollapse::PositionCollapse(const ObjFile& objFile) : counter(std::make_unique<Counter>(objFile)) {}

PositionCollapse::~PositionCollapse() = default;

size_t PositionCollapse::Collapsed(double scale)
{
    return counter->counter.Count(scale);
}

double PositionCollapse::ScaleKeepingApart(double fitScale)
{
    CollapseCounter& trials = counter->counter;
    trials.MeasureGroups();
    if (!trials.KeepsApart(fitScale)) {
        return 0.0;
    }
    double low = fitScale;  // merges positions, once found
    double high = fitScale;  // keeps them apart
    for (int step = 0; step < 60 && low == high; ++step) {
        if (trials.KeepsApart(high / 2)) {
            high /= 2;
            low = high;
        } else {
            low = high / 2;
        }
    }
    for (int step = 0; step < 12 && low != high; ++step) {
        const double middle = (low + high) / 2;
        (trials.KeepsApart(middle) ? high : low) = middle;
    }
    // As few significant digits as work: rounded down when that still keeps them apart, else up when that fits.
    for (int digits = 2; digits <= 6; ++digits) {
        const double unit = std::pow(10.0, std::floor(std::log10(high)) - double(digits - 1));
        for (const double rounded : {std::floor(high / unit) * unit, std::ceil(high / unit) * unit}) {
            if (rounded > 0.0 && rounded <= fitScale && trials.KeepsApart(rounded)) {
                return rounded;
            }
        }
    }
    return high;
}
