#include "weldmap.h"

namespace {

constexpr int longestChain = 32;

size_t Hash(const ObjAttribute& attribute)
{
    uint64_t h = uint32_t(attribute.vertexIndex);
    h = h * 0x9E3779B97F4A7C15ull + uint32_t(attribute.texCoordIndex);
    h = h * 0x9E3779B97F4A7C15ull + uint32_t(attribute.normalIndex);
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 32;
    return size_t(h);
}

}

uint32_t WeldMap::Weld(const ObjAttribute& attribute, uint32_t positionCount)
{
    if (!hashing) {
        const int32_t position = attribute.vertexIndex;
        if (position < 0 || uint32_t(position) >= positionCount) {
            SwitchToHashing();
        } else {
            if (chainHead.size() < positionCount) {
                chainHead.resize(positionCount, none);
            }
            int length = 0;
            for (uint32_t k = chainHead[size_t(position)]; k != none; k = chainNext[k]) {
                if (keys[k] == attribute) {
                    return k;
                }
                ++length;
            }
            if (length < longestChain) {
                const uint32_t vertexNumber = Add(attribute);
                chainNext.push_back(chainHead[size_t(position)]);
                chainHead[size_t(position)] = vertexNumber;
                return vertexNumber;
            }
            SwitchToHashing();
        }
    }
    return HashedWeld(attribute);
}

uint32_t WeldMap::Add(const ObjAttribute& attribute)
{
    keys.push_back(attribute);
    return uint32_t(keys.size() - 1);
}

uint32_t WeldMap::HashedWeld(const ObjAttribute& attribute)
{
    const size_t mask = table.size() - 1;
    size_t slot = Hash(attribute) & mask;
    while (table[slot] != none) {
        if (keys[table[slot]] == attribute) {
            return table[slot];
        }
        slot = (slot + 1) & mask;
    }
    const uint32_t vertexNumber = Add(attribute);
    table[slot] = vertexNumber;
    if (keys.size() * 2 > table.size()) {
        GrowTable();
    }
    return vertexNumber;
}

void WeldMap::SwitchToHashing()
{
    hashing = true;
    std::vector<uint32_t>().swap(chainHead);
    std::vector<uint32_t>().swap(chainNext);
    GrowTable();
}

void WeldMap::GrowTable()
{
    size_t slots = 1024;
    while (slots < keys.size() * 4) {
        slots *= 2;
    }
    table.assign(slots, none);
    const size_t mask = slots - 1;
    for (uint32_t k = 0; k < keys.size(); ++k) {
        size_t slot = Hash(keys[k]) & mask;
        while (table[slot] != none) {
            slot = (slot + 1) & mask;
        }
        table[slot] = k;
    }
}
