#include "weldmap.h"

namespace {
constexpr size_t initialSlots = 1024;
}

WeldMap::WeldMap() : slots(initialSlots, Slot{ObjAttribute(), emptySlot}), mask(initialSlots - 1), size(0) {}

size_t WeldMap::Hash(const ObjAttribute& attribute)
{
    uint64_t h = uint32_t(attribute.vertexIndex);
    h = h * 0x9E3779B97F4A7C15ull + uint32_t(attribute.texCoordIndex);
    h = h * 0x9E3779B97F4A7C15ull + uint32_t(attribute.normalIndex);
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 32;
    return size_t(h);
}

uint32_t WeldMap::Weld(const ObjAttribute& attribute)
{
    size_t position = Hash(attribute) & mask;
    for (;;) {
        Slot& slot = slots[position];
        if (slot.vertexNumber == emptySlot) {
            break;
        }
        if (slot.attribute == attribute) {
            return slot.vertexNumber;
        }
        position = (position + 1) & mask;
    }
    const uint32_t vertexNumber = size++;
    slots[position] = Slot{attribute, vertexNumber};
    if (size_t(size) * 2 > slots.size()) {
        Grow();
    }
    return vertexNumber;
}

void WeldMap::Grow()
{
    std::vector<Slot> old(slots.size() * 2, Slot{ObjAttribute(), emptySlot});
    old.swap(slots);
    mask = slots.size() - 1;
    for (const Slot& slot : old) {
        if (slot.vertexNumber != emptySlot) {
            size_t position = Hash(slot.attribute) & mask;
            while (slots[position].vertexNumber != emptySlot) {
                position = (position + 1) & mask;
            }
            slots[position] = slot;
        }
    }
}

void WeldMap::Clear()
{
    std::vector<Slot>().swap(slots);
    slots.assign(initialSlots, Slot{ObjAttribute(), emptySlot});
    mask = initialSlots - 1;
    size = 0;
}
