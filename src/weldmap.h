#ifndef POLVANE_WELDMAP_H
#define POLVANE_WELDMAP_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "objfile.h"

// Gives every distinct face-corner reference a vertex number, in order of first appearance.
//
// Corners are looked up through short chains, one per position index, which follow the order of the file and
// so stay in cache. When a chain grows long, or a corner names a position not read yet, the map turns for good
// into an open-addressing hash table, whose lookups cost the same whatever the input.
class WeldMap {
public:
    // The vertex number of the attribute; a new one (the number of attributes held so far) when it is new.
    // positionCount is the number of positions read so far.
    uint32_t Weld(const ObjAttribute& attribute, uint32_t positionCount);
    uint32_t Size() const { return uint32_t(keys.size()); }
    // The attribute of each vertex number, in order.
    const std::vector<ObjAttribute>& Keys() const { return keys; }

private:
    static constexpr uint32_t none = UINT32_MAX;

    uint32_t Add(const ObjAttribute& attribute);
    uint32_t HashedWeld(const ObjAttribute& attribute);
    void SwitchToHashing();
    void GrowTable();

    std::vector<ObjAttribute> keys;
    bool hashing = false;
    std::vector<uint32_t> chainHead;  // per position index: the newest vertex with that position
    std::vector<uint32_t> chainNext;  // per vertex: the previous vertex with the same position
    std::vector<uint32_t> table;      // vertex numbers by hash slot
};

#endif
