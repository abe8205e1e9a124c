#include "model/weldmap.h"

#include <utility>

namespace {

constexpr int longestChain = 16;

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
    if (hashingAll) {
        return HashedWeld(attribute);
    }
    const int32_t position = attribute.vertexIndex;
    if (position < 0 || uint32_t(position) >= positionCount) {
        HashEverything();
        return HashedWeld(attribute);
    }
    if (chainHead.size() < positionCount) {
        chainHead.resize(positionCount, none);
    }
    uint32_t& head = chainHead[size_t(position)];
    if (head == inTable) {
        return HashedWeld(attribute);
    }
    int length = 0;
    for (uint32_t k = head; k != none; k = chainNext[k]) {
        if (keys[k] == attribute) {
            return k;
        }
        ++length;
    }
    if (length == longestChain) {
        HashPosition(size_t(position));
        return HashedWeld(attribute);
    }
    const uint32_t vertexNumber = Add(attribute);
    chainNext.push_back(head);
    head = vertexNumber;
    return vertexNumber;
}

uint32_t WeldMap::Add(const ObjAttribute& attribute)
{
    keys.push_back(attribute);
    return uint32_t(keys.size() - 1);
}

uint32_t WeldMap::HashedWeld(const ObjAttribute& attribute)
{
    if (!table.empty()) {
        const size_t mask = table.size() - 1;
        for (size_t slot = Hash(attribute) & mask; table[slot] != none; slot = (slot + 1) & mask) {
            if (keys[table[slot]] == attribute) {
                return table[slot];
            }
        }
    }
    const uint32_t vertexNumber = Add(attribute);
    // chainNext stays indexed by vertex number while there are chains.
    if (!hashingAll) {
        chainNext.push_back(none);
    }
    Insert(vertexNumber);
    return vertexNumber;
}

// Moves the corners of one position from its chain into the table.
void WeldMap::HashPosition(size_t position)
{
    for (uint32_t k = chainHead[position]; k != none; k = chainNext[k]) {
        Insert(k);
    }
    chainHead[position] = inTable;
}

void WeldMap::HashEverything()
{
    hashingAll = true;
    for (size_t position = 0; position < chainHead.size(); ++position) {
        if (chainHead[position] != inTable) {
            for (uint32_t k = chainHead[position]; k != none; k = chainNext[k]) {
                Insert(k);
            }
        }
    }
    std::vector<uint32_t>().swap(chainHead);
    std::vector<uint32_t>().swap(chainNext);
}

void WeldMap::Insert(uint32_t vertexNumber)
{
    if ((tableCount + 1) * 2 > table.size()) {
        std::vector<uint32_t> old(table.empty() ? 1024 : table.size() * 2, none);
        old.swap(table);
        tableCount = 0;
        for (uint32_t k : old) {
            if (k != none) {
                Insert(k);
            }
        }
    }
    const size_t mask = table.size() - 1;
    size_t slot = Hash(keys[vertexNumber]) & mask;
    while (table[slot] != none) {
        slot = (slot + 1) & mask;
    }
    table[slot] = vertexNumber;
    ++tableCount;
}

void WeldMap::Reserve(size_t vertices)
{
    keys.reserve(vertices);
    if (!hashingAll) {
        chainNext.reserve(vertices);
    }
}

std::vector<ObjAttribute> WeldMap::TakeKeys()
{
    std::vector<ObjAttribute> taken = std::move(keys);
    keys.clear();
    hashingAll = false;
    std::vector<uint32_t>().swap(chainHead);
    std::vector<uint32_t>().swap(chainNext);
    std::vector<uint32_t>().swap(table);
    tableCount = 0;
    return taken;
}
