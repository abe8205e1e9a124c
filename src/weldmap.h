#ifndef POLVANE_WELDMAP_H
#define POLVANE_WELDMAP_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "objfile.h"

// Gives every distinct face-corner reference a vertex number, in order of first appearance. An open-addressing
// hash table: each lookup costs a hash and a short probe.
class WeldMap {
public:
    WeldMap();

    // The vertex number of the attribute; a new one (the number of attributes held so far) when it is new.
    uint32_t Weld(const ObjAttribute& attribute);
    uint32_t Size() const { return size; }

    // Calls visit(attribute, vertexNumber) once for every attribute held, in no particular order.
    template <typename Visitor>
    void ForEach(Visitor visit) const
    {
        for (const Slot& slot : slots) {
            if (slot.vertexNumber != emptySlot) {
                visit(slot.attribute, slot.vertexNumber);
            }
        }
    }

    void Clear();

private:
    struct Slot {
        ObjAttribute attribute;
        uint32_t vertexNumber;
    };
    static constexpr uint32_t emptySlot = UINT32_MAX;

    static size_t Hash(const ObjAttribute& attribute);
    void Grow();

    std::vector<Slot> slots;
    size_t mask;
    uint32_t size;
};

#endif
