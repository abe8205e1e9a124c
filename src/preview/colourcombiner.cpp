#include "preview/colourcombiner.h"

#include <algorithm>
#include <iterator>

namespace {

float Input(CombinerInput input, const CombinerInputs& inputs, int channel)
{
    switch (input) {
    case CombinerInput::Zero:
    case CombinerInput::Combined:
        return 0.0f;
    case CombinerInput::One:
        return 1.0f;
    case CombinerInput::Texel0:
        return inputs.texel[channel];
    case CombinerInput::Shade:
        return inputs.shade[channel];
    case CombinerInput::Primitive:
        return inputs.primitive[channel];
    }
    return 0.0f;
}

float Equation(CombinerInput a, CombinerInput b, CombinerInput c, CombinerInput d, const CombinerInputs& inputs,
               int channel)
{
    const float value = (Input(a, inputs, channel) - Input(b, inputs, channel)) * Input(c, inputs, channel) +
                        Input(d, inputs, channel);
    return std::min(1.0f, std::max(0.0f, value));
}

} // namespace

void Combine(const CombinerMode& mode, const CombinerInputs& inputs, float out[4])
{
    for (int channel = 0; channel < 3; ++channel) {
        out[channel] = Equation(mode.a, mode.b, mode.c, mode.d, inputs, channel);
    }
    out[3] = Equation(mode.aa, mode.ab, mode.ac, mode.ad, inputs, 3);
}

bool ReadsTexel(const CombinerMode& mode)
{
    const CombinerInput used[] = {mode.a, mode.b, mode.c, mode.d, mode.aa, mode.ab, mode.ac, mode.ad};
    return std::find(std::begin(used), std::end(used), CombinerInput::Texel0) != std::end(used);
}
