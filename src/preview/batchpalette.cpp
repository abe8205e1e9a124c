#include "preview/batchpalette.h"

#include <cmath>

void BatchColour(int batch, float colour[3])
{
    const double hue = std::fmod(double(batch) * 0.6180339887498949, 1.0) * 6.0;
    const float saturation = 0.65f;
    const float value = (batch & 1) ? 0.8f : 1.0f;
    const int sector = int(hue) % 6;
    const float along = float(hue - std::floor(hue));
    const float low = value * (1 - saturation);
    const float falling = value * (1 - saturation * along);
    const float rising = value * (1 - saturation * (1 - along));
    const float sectors[6][3] = {{value, rising, low},  {falling, value, low}, {low, value, rising},
                                 {low, falling, value}, {rising, low, value}, {value, low, falling}};
    for (int c = 0; c < 3; ++c) {
        colour[c] = sectors[sector][c];
    }
}
