#include "preview/preview.h"

#include <algorithm>
#include <cmath>

#include "preview/batchpalette.h"
#include "preview/colourcombiner.h"
#include "preview/displaylistinterpreter.h"
#include "preview/previewcamera.h"
#include "preview/rasteriser.h"
#include "preview/texturesampler.h"
#include "preview/vertexshading.h"

namespace {

// The combiner over the material state a triangle is drawn with. With texturing off or no texture loaded the
// texel reads as opaque white, so a material that forgets its texture shows its shade alone.
class MaterialShader : public FragmentShader {
public:
    explicit MaterialShader(const DrawState& drawState)
        : state(drawState), sampled(drawState.texturing && drawState.texture != nullptr &&
                                    ReadsTexel(drawState.combiner))
    {
    }

    void Shade(float s, float t, const float shade[4], float colour[4]) const override
    {
        CombinerInputs inputs;
        std::fill(inputs.texel, inputs.texel + 4, 1.0f);
        if (sampled) {
            const Texel texel = SampleTexture(*state.texture, state.palette, int32_t(std::floor(s)),
                                              int32_t(std::floor(t)), state.tiled ? &state.tile : nullptr);
            inputs.texel[0] = texel.r / 255.0f;
            inputs.texel[1] = texel.g / 255.0f;
            inputs.texel[2] = texel.b / 255.0f;
            inputs.texel[3] = texel.a / 255.0f;
        }
        std::copy(shade, shade + 4, inputs.shade);
        std::copy(state.primitive, state.primitive + 4, inputs.primitive);
        Combine(state.combiner, inputs, colour);
    }

private:
    const DrawState& state;
    const bool sampled;
};

// The shade alone, opaque.
class ShadeOnly : public FragmentShader {
public:
    void Shade(float, float, const float shade[4], float colour[4]) const override
    {
        std::copy(shade, shade + 3, colour);
        colour[3] = 1.0f;
    }
};

void FaceNormal(const CachedVertex& v1, const CachedVertex& v2, const CachedVertex& v3, float normal[3])
{
    float a[3], b[3];
    for (int c = 0; c < 3; ++c) {
        a[c] = v2.position[c] - v1.position[c];
        b[c] = v3.position[c] - v1.position[c];
    }
    normal[0] = a[1] * b[2] - a[2] * b[1];
    normal[1] = a[2] * b[0] - a[0] * b[2];
    normal[2] = a[0] * b[1] - a[1] * b[0];
    const float length = std::sqrt(normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2]);
    for (int c = 0; c < 3; ++c) {
        normal[c] = length > 0 ? normal[c] / length : 0.0f;
    }
}

class PreviewDrawer : public TriangleSink {
public:
    PreviewDrawer(const ConsolePlan& plan, const PreviewOptions& options, bool lightBackground)
        : camera(plan.rows, std::max(options.width, 1), std::max(options.height, 1), options.azimuth,
                 options.elevation),
          rasteriser(options.width, options.height, lightBackground), batches(options.batches)
    {
        camera.LightDirection(lightDirection);
    }

    void Draw(const ConsolePlan& plan) { InterpretModelList(plan, lightDirection, *this); }

    void Triangle(const CachedVertex& v1, const CachedVertex& v2, const CachedVertex& v3,
                  const DrawState& state) override
    {
        RasterVertex corners[3];
        const CachedVertex* sources[3] = {&v1, &v2, &v3};
        for (int i = 0; i < 3; ++i) {
            const ScreenPoint point = Projected(*sources[i]);
            corners[i] = RasterVertex{point.x, point.y, point.invDepth, sources[i]->st[0], sources[i]->st[1], {}};
            std::copy(sources[i]->shade, sources[i]->shade + 4, corners[i].shade);
        }
        if (batches) {
            ColourByBatch(sources, state.batch, lightDirection, corners);
            rasteriser.Draw(corners[0], corners[1], corners[2], RenderMode::Opaque, ShadeOnly());
            return;
        }
        rasteriser.Draw(corners[0], corners[1], corners[2], state.renderMode, MaterialShader(state));
    }

    std::vector<uint8_t> TakePixels() { return rasteriser.TakePixels(); }
    const Rasteriser& Picture() const { return rasteriser; }

private:
    // Projects each loaded vertex once, however many triangles use it.
    ScreenPoint Projected(const CachedVertex& vertex)
    {
        ProjectedVertex& known = projected[vertex.serial % projectedCount];
        if (known.serial != vertex.serial) {
            known.serial = vertex.serial;
            known.point = camera.Project(vertex.position);
        }
        return known.point;
    }

    // The batch's colour, lit by the vertex normals, or by the face's when the rows carry colours.
    static void ColourByBatch(const CachedVertex* const sources[3], int batch, const float towardLight[3],
                              RasterVertex corners[3])
    {
        float colour[3], faceNormal[3];
        BatchColour(batch, colour);
        FaceNormal(*sources[0], *sources[1], *sources[2], faceNormal);
        for (int i = 0; i < 3; ++i) {
            float light[3];
            LightFor(sources[i]->hasNormal ? sources[i]->normal : faceNormal, towardLight, light);
            for (int c = 0; c < 3; ++c) {
                corners[i].shade[c] = colour[c] * light[c];
            }
            corners[i].shade[3] = 1.0f;
        }
    }

    struct ProjectedVertex {
        uint32_t serial = 0;
        ScreenPoint point{};
    };
    static constexpr uint32_t projectedCount = 256;

    PreviewCamera camera;
    float lightDirection[3];
    ProjectedVertex projected[projectedCount];
    Rasteriser rasteriser;
    const bool batches;
};

} // namespace

std::vector<uint8_t> RenderPreview(const ConsolePlan& plan, const PreviewOptions& options)
{
    PreviewDrawer drawer(plan, options, false);
    drawer.Draw(plan);
    // A model mostly as dark as the dark background (unlit faces, dark materials) is drawn again on a light one.
    uint64_t dark = 0;
    uint64_t light = 0;
    drawer.Picture().CountCovered(dark, light);
    if (dark <= light) {
        return drawer.TakePixels();
    }
    PreviewDrawer onLight(plan, options, true);
    onLight.Draw(plan);
    return onLight.TakePixels();
}
