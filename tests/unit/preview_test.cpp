#include <array>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/objfile.h"
#include "plan/materialplan.h"
#include "output/csourcewriter.h"
#include "plan/planbuilder.h"
#include "preview/preview.h"
#include "preview/previewcamera.h"

namespace {

using Colour = std::array<int, 3>;
constexpr int width = 160, height = 120;

VertexRow Row(int x, int y, int z, std::array<uint8_t, 4> shade, int s = 0, int t = 0, uint16_t flag = 0)
{
    return VertexRow{{int16_t(x), int16_t(y), int16_t(z)}, flag, {int16_t(s), int16_t(t)},
                     {shade[0], shade[1], shade[2], shade[3]}};
}

Command Make(Command::Kind kind, uint32_t a = 0, uint32_t b = 0, uint32_t c = 0) { return Command{kind, a, b, c}; }

Command Load(uint32_t first, uint32_t count, uint32_t slot) { return Make(Command::Vertex, first, count, slot); }
Command Tri(uint32_t a, uint32_t b, uint32_t c) { return Make(Command::Triangle, a, b, c); }

ConsolePlan Plan(std::vector<VertexRow> rows, std::vector<Command> commands, bool lit = false)
{
    ConsolePlan plan;
    plan.rows = std::move(rows);
    commands.push_back(Make(Command::End));
    plan.lists.push_back(DisplayListPlan{"model", std::move(commands)});
    plan.lit = lit;
    return plan;
}

struct Picture {
    std::vector<uint8_t> pixels;
    Colour At(int x, int y) const
    {
        const uint8_t* p = &pixels[size_t(y * width + x) * 4];
        return Colour{p[0], p[1], p[2]};
    }
    // The picture's centre; the background there is the colour of the same row's first pixel.
    Colour Centre() const { return At(width / 2, height / 2); }
    Colour Background() const { return At(0, height / 2); }
    // The colours of pixels that differ from their row's first pixel (the background there).
    std::set<Colour> ModelColours() const
    {
        std::set<Colour> colours;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (At(x, y) != At(0, y)) {
                    colours.insert(At(x, y));
                }
            }
        }
        return colours;
    }
};

Picture Render(const ConsolePlan& plan, bool batches = false)
{
    PreviewOptions options;
    options.width = width;
    options.height = height;
    options.batches = batches;
    Picture picture{RenderPreview(plan, options)};
    EXPECT_EQ(picture.pixels.size(), size_t(width * height * 4));
    return picture;
}

const std::array<uint8_t, 4> red = {255, 0, 0, 255};
const std::array<uint8_t, 4> green = {0, 255, 0, 255};

// Counter-clockwise seen from +Z, the side the camera looks from; the picture's centre shows the origin.
std::vector<VertexRow> FrontTriangle(std::array<uint8_t, 4> shade, int z = 0)
{
    return {Row(-200, -200, z, shade), Row(200, -200, z, shade), Row(0, 200, z, shade)};
}

TEST(Preview, FrontFaceCoversTheCentreInItsColourAndABackFaceDrawsNothing)
{
    const Picture front = Render(Plan(FrontTriangle(red), {Load(0, 3, 0), Tri(0, 1, 2)}));
    EXPECT_EQ(front.Centre(), (Colour{255, 0, 0}));
    EXPECT_EQ(front.ModelColours(), (std::set<Colour>{{255, 0, 0}}));

    const Picture back = Render(Plan(FrontTriangle(red), {Load(0, 3, 0), Tri(0, 2, 1)}));
    EXPECT_TRUE(back.ModelColours().empty());
}

TEST(Preview, DegenerateTrianglesDrawNothing)
{
    std::vector<VertexRow> rows = FrontTriangle(red);
    rows.push_back(Row(0, 0, 0, red));  // on the line between rows 0 and 1's midpoint and row 2
    const Picture picture =
        Render(Plan(rows, {Load(0, 4, 0), Tri(0, 0, 1), Tri(2, 1, 1), Tri(3, 2, 3), Make(Command::Triangle, 2, 3, 2)}));
    EXPECT_TRUE(picture.ModelColours().empty());
}

TEST(Preview, TheNearerOfTwoOverlappingTrianglesShowsInEitherOrder)
{
    std::vector<VertexRow> rows = FrontTriangle(red, 0);
    for (const VertexRow& row : FrontTriangle(green, 50)) {
        rows.push_back(row);
    }
    EXPECT_EQ(Render(Plan(rows, {Load(0, 6, 0), Tri(0, 1, 2), Tri(3, 4, 5)})).Centre(), (Colour{0, 255, 0}));
    EXPECT_EQ(Render(Plan(rows, {Load(0, 6, 0), Tri(3, 4, 5), Tri(0, 1, 2)})).Centre(), (Colour{0, 255, 0}));
}

TEST(Preview, RenderModesCutAndBlendTheNearerTriangleByItsAlpha)
{
    struct Case {
        RenderMode mode;
        uint8_t alpha;
        Colour centre;
    };
    const Case cases[] = {
        {RenderMode::Opaque, 0, {255, 0, 0}},
        {RenderMode::Cutout, 0, {0, 255, 0}},
        {RenderMode::Cutout, 255, {255, 0, 0}},
        {RenderMode::Translucent, 128, {128, 127, 0}},
    };
    for (const Case& test : cases) {
        std::vector<VertexRow> rows = FrontTriangle(green, 0);
        for (const VertexRow& row : FrontTriangle({255, 0, 0, test.alpha}, 50)) {
            rows.push_back(row);
        }
        Command mode = Make(Command::SetRenderMode);
        mode.renderMode = test.mode;
        const Picture picture = Render(Plan(rows, {Load(0, 6, 0), Tri(0, 1, 2), mode, Tri(3, 4, 5)}));
        EXPECT_EQ(picture.Centre(), test.centre) << "render mode " << int(test.mode) << ", alpha " << int(test.alpha);
    }
}

TEST(Preview, LightingReadsNormalsFromTheShadeBytesOrPackedIntoTheFlag)
{
    struct Case {
        std::array<uint8_t, 4> shade;
        uint16_t flag;
        bool packed;
        Colour centre;
    };
    // The light comes from above, right and in front of the viewer: toward (0.633, 0.767, -0.103) in the model,
    // with the camera 35 degrees round from +Z toward +X and 25 degrees up.
    const Case cases[] = {
        {{81, 98, 0xF3, 255}, 0, false, {255, 255, 255}},  // (81, 98, -13) toward it: ambient + light, clamped
        {{0, 0x81, 0, 255}, 0, false, {48, 48, 56}},        // (0, -127, 0), away from it: ambient only
        {{255, 0, 0, 255}, 0x533E, true, {255, 0, 0}},      // (10/16, 25/32, -2/16) toward the light, times red
        {{255, 0, 0, 255}, 0x0400, true, {48, 0, 0}},       // (0, -32/32, 0): ambient times red
    };
    for (const Case& test : cases) {
        std::vector<VertexRow> rows = FrontTriangle(test.shade);
        for (VertexRow& row : rows) {
            row.flag = test.flag;
        }
        std::vector<Command> commands = {Load(0, 3, 0), Tri(0, 1, 2)};
        if (test.packed) {
            commands.insert(commands.begin(), Make(Command::SetGeometryMode, geometryPackedNormals));
        }
        EXPECT_EQ(Render(Plan(rows, commands, true)).Centre(), test.centre) << "flag " << test.flag;
    }
}

// A square as a snake of two triangles: 0-1-2, then 3 turning right, 3-0-2.
TEST(Preview, SnakesDrawEachOfTheirTriangles)
{
    const std::vector<VertexRow> square = {Row(-200, -200, 0, red), Row(200, -200, 0, red), Row(200, 200, 0, red),
                                           Row(-200, 200, 0, red)};
    Command snake = Make(Command::TriangleSnake, 1, 2, 0 * 2 + 1);
    snake.d = uint32_t(3 * 2 | 0x80) << 24;
    const auto covered = [](const Picture& picture) {
        int count = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                count += picture.At(x, y) == Colour{255, 0, 0} ? 1 : 0;
            }
        }
        return count;
    };
    const int bySnake = covered(Render(Plan(square, {Load(0, 4, 0), snake})));
    EXPECT_EQ(bySnake, covered(Render(Plan(square, {Load(0, 4, 0), Tri(0, 1, 2), Tri(3, 0, 2)}))));
    EXPECT_GT(bySnake, covered(Render(Plan(square, {Load(0, 4, 0), Tri(0, 1, 2)}))));
}

TEST(Preview, HostilePlansDrawWhatIsValidAndNothingElse)
{
    ConsolePlan plan = Plan(FrontTriangle(red), {Load(0, 3, 60), Load(2, 0xFFFFFFFFu, 14), Load(1000, 2, 3),
                                                  Tri(0, 1, 99), Tri(3, 4, 0), Tri(60, 61, 62),
                                                  Make(Command::Call, 0), Make(Command::Call, 1),
                                                  Make(Command::Call, 7), Make(Command::LoadTexture, 5),
                                                  Make(Command::Texture, 1), Load(0, 3, 0), Tri(0, 1, 2)});
    plan.lists.push_back(DisplayListPlan{"loop", {Make(Command::Call, 0), Make(Command::Call, 1)}});
    EXPECT_EQ(Render(plan).ModelColours(), (std::set<Colour>{{255, 0, 0}}));

    plan.cacheSize = 1000;
    EXPECT_EQ(Render(plan).Centre(), (Colour{255, 0, 0}));
    plan.cacheSize = -1;
    EXPECT_TRUE(Render(plan).ModelColours().empty());
    plan.modelList = 5;
    EXPECT_TRUE(Render(plan).ModelColours().empty());
    EXPECT_TRUE(Render(ConsolePlan{}).ModelColours().empty());
    EXPECT_TRUE(Render(Plan({}, {Tri(0, 1, 2)})).ModelColours().empty());
}

// From here on the plans come from the converter's own plan builders, as `--preview` draws them.

TEST(PreviewOfConversion, ACubeConvertedWithRedColoursIsRedWhereverItIsDrawn)
{
    std::istringstream in("v -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\nv -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n"
                          "f 1 4 3 2\nf 5 6 7 8\nf 1 2 6 5\nf 2 3 7 6\nf 3 4 8 7\nf 4 1 5 8\n");
    const ObjFile cube(in, "cube.obj");
    ConversionSettings settings;
    settings.scale = 100;
    settings.useNormals = false;
    settings.green = settings.blue = 0;
    const Picture picture = Render(BuildPlan(cube, settings, "cube"));
    EXPECT_EQ(picture.Centre(), (Colour{255, 0, 0}));
    EXPECT_EQ(picture.ModelColours(), (std::set<Colour>{{255, 0, 0}}));
}

// A strip of 20 quads facing the camera, each using its two left and two right corners: a cache of 16 takes
// 7 quads (8 corner pairs) per batch, 7 + 7 + 6; a cache of 32 takes 15, 15 + 5.
TEST(PreviewOfConversion, BatchesModeShowsOneColourPerBatch)
{
    std::string obj;
    for (int i = 0; i <= 20; ++i) {
        obj += "v " + std::to_string(i) + " 0 0\nv " + std::to_string(i) + " 1 0\nvn 0 0 1\n";
    }
    for (int i = 0; i < 20; ++i) {
        obj += "f " + std::to_string(2 * i + 1) + "//1 " + std::to_string(2 * i + 3) + "//1 " +
               std::to_string(2 * i + 4) + "//1 " + std::to_string(2 * i + 2) + "//1\n";
    }
    for (const auto& [microcode, batches] : {std::pair{Microcode::F3D, 3u}, std::pair{Microcode::F3DEX2, 2u}}) {
        std::istringstream in(obj);
        const ObjFile strip(in, "strip.obj");
        ConversionSettings settings;
        settings.scale = 100;
        settings.microcode = microcode;
        const ConsolePlan plan = BuildPlan(strip, settings, "strip");
        EXPECT_EQ(Render(plan, true).ModelColours().size(), batches) << "microcode " << int(microcode);
        DisplayListStats stats;
        CountPlan(plan, {}, {}, stats);
        EXPECT_EQ(stats.batches, batches) << "--stats of microcode " << int(microcode);
        EXPECT_EQ(Render(plan, false).ModelColours().size(), 1u) << "microcode " << int(microcode);
    }
}

TexturePlan Texture(TextureFormat format, std::vector<uint8_t> texels, std::vector<uint16_t> palette = {})
{
    TexturePlan texture;
    texture.format = format;
    texture.width = texture.height = 2;
    texture.texels = std::move(texels);
    texture.palette = std::move(palette);
    return texture;
}

// A textured quad through the material plan, with a clamped 2x2 texture (red, green / blue, white) in RGBA16
// and in the colour-indexed formats: the texture's top-left texel shows at the corner with coordinates (0, 1),
// and so on, each texel filling the quarter of the quad nearest its corner. The normals face the light, which
// then reaches full strength and leaves the texels as they are.
TEST(PreviewOfConversion, AMaterialsTexturedQuadShowsItsTexelsInTheirCorners)
{
    const std::vector<uint16_t> palette = {0xF801, 0x07C1, 0x003F, 0xFFFF};
    const TexturePlan textures[] = {
        Texture(TextureFormat::RGBA16, {0xF8, 0x01, 0x07, 0xC1, 0x00, 0x3F, 0xFF, 0xFF}),
        Texture(TextureFormat::CI4, {0x01, 0x23, 0, 0, 0, 0, 0, 0}, palette),
        Texture(TextureFormat::CI8, {0, 1, 2, 3, 0, 0, 0, 0}, palette),
    };
    for (TexturePlan texture : textures) {
        std::istringstream in("v -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
                              "vn 0.633 0.767 -0.103\nusemtl checker\nf 1/1/1 2/2/1 3/3/1 4/4/1\n");
        const ObjFile quad(in, "quad.obj", true);
        ConversionSettings settings;
        settings.scale = 100;
        MaterialLook look;
        look.name = "checker";
        look.texture = 0;
        texture.clampS = texture.clampT = true;
        StringSink warnings;
        MaterialPlanLists lists;
        const ConsolePlan plan = BuildMaterialPlan(quad, {look}, {texture}, settings, "quad", warnings, lists);
        const Picture picture = Render(plan);
        const PreviewCamera camera(plan.rows, width, height);
        const std::pair<std::array<float, 3>, Colour> spots[] = {{{-75, 75, 0}, {255, 0, 0}},
                                                                 {{75, 75, 0}, {0, 255, 0}},
                                                                 {{-75, -75, 0}, {0, 0, 255}},
                                                                 {{75, -75, 0}, {255, 255, 255}}};
        for (const auto& [position, colour] : spots) {
            const ScreenPoint point = camera.Project(position.data());
            EXPECT_EQ(picture.At(int(point.x), int(point.y)), colour)
                << "format " << int(texture.format) << " at " << position[0] << ", " << position[1];
        }
    }
}

} // namespace
