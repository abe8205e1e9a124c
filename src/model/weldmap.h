#ifndef POLVANE_WELDMAP_H
#define POLVANE_WELDMAP_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/objfile.h"

// Gives every distinct face-corner reference a vertex number, in order of first appearance.
//
// Corners are looked up through short chains, one per position index, which follow the order of the file and
// so stay in cache. A position whose chain grows long (the pole of a sphere, say, with a texture coordinate per
// segment) moves its corners into an open-addressing hash table, whose lookups cost the same whatever the input;
// a corner that names a position not read yet turns the whole map into that table for good.
class WeldMap {
public:
    // The vertex number of the attribute; a new one (the number of attributes held so far) when it is new.
    // positionCount is the number of positions read so far.
    uint32_t Weld(const ObjAttribute& attribute, uint32_t positionCount);
    uint32_t Size() const { return uint32_t(keys.size()); }
    // Makes room for this many vertices at once, so that the map need not grow on the way.
    void Reserve(size_t vertices);
    size_t Capacity() const { return keys.capacity(); }
    // The attribute of each vertex number, in order.
    const std::vector<ObjAttribute>& Keys() const { return keys; }
    // Hands over the attributes and frees the rest; the map is empty afterwards.
    std::vector<ObjAttribute> TakeKeys();

private:
    static constexpr uint32_t none = UINT32_MAX;
    static constexpr uint32_t inTable = UINT32_MAX - 1;  // chain head of a position whose corners are hashed

    uint32_t Add(const ObjAttribute& attribute);
    uint32_t HashedWeld(const ObjAttribute& attribute);
    void HashPosition(size_t position);
    void HashEverything();
    void Insert(uint32_t vertexNumber);

    std::vector<ObjAttribute> keys;
    bool hashingAll = false;
    std::vector<uint32_t> chainHead;  // per position index: the newest vertex with that position, or inTable
    std::vector<uint32_t> chainNext;  // per vertex: the previous vertex with the same position
    std::vector<uint32_t> table;      // vertex numbers by hash slot
    size_t tableCount = 0;
};

#endif
