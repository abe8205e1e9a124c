#ifndef POLVANE_POSITIONCOLLAPSE_H
#define POLVANE_POSITIONCOLLAPSE_H

#include <cstddef>
#include <memory>

#include "model/objfile.h"

// The model's distinct positions (told apart by their exact floats, -0 and 0 alike) against the integer positions
// the vertex rows give them at a scale (truncated toward zero, clamped to 16 bits).
class PositionCollapse {
public:
    explicit PositionCollapse(const ObjFile& objFile);
    ~PositionCollapse();
    PositionCollapse(const PositionCollapse&) = delete;
    PositionCollapse& operator=(const PositionCollapse&) = delete;

    // How many distinct positions become the same integer position as another at the scale.
    size_t Collapsed(double scale);
    // The smallest scale no larger than fitScale (up to two significant digits) at which none do; 0 when even
    // fitScale merges some.
    double ScaleKeepingApart(double fitScale);

private:
    struct Counter;
    std::unique_ptr<Counter> counter;
};

#endif
