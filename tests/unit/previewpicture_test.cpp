// The example ship as the preview draws it, compared with the picture the README shows. After a deliberate change
// to the preview, regenerate the picture with POLVANE_REGENERATE_PREVIEW=1 and look at it before committing it.
#include <cstdlib>

#include <gtest/gtest.h>

#include "textures/materialloader.h"
#include "model/objfile.h"
#include "plan/materialplan.h"
#include "preview/preview.h"
#include "textures/image.h"

TEST(PreviewPicture, ExampleShipLooksAsTheReadmeShows)
{
    const std::string folder = EXAMPLES_DIR;
    ConversionSettings settings;
    settings.materials = true;
    settings.scale = 100.0f;
    const ObjFile model((folder + "/ship.obj").c_str(), true);
    ASSERT_NE(model.GetVertices(), nullptr);
    std::vector<MaterialLook> looks;
    std::vector<TexturePlan> textures;
    StringSink messages;
    ASSERT_TRUE(LoadMaterials(model, folder + "/ship.obj", settings, messages, messages, looks, textures));
    MaterialPlanLists lists;
    const ConsolePlan plan = BuildMaterialPlan(model, looks, textures, settings, "ship", messages, lists);
    EXPECT_EQ(messages.str(), "");

    PreviewOptions options;
    options.width = 400;
    options.height = 300;
    Image drawn;
    drawn.width = options.width;
    drawn.height = options.height;
    drawn.rgba = RenderPreview(plan, options);
    const std::string picture = folder + "/ship-preview.png";
    if (std::getenv("POLVANE_REGENERATE_PREVIEW")) {
        ASSERT_TRUE(WritePng(picture, drawn));
        GTEST_SKIP() << "wrote " << picture;
    }

    Image expected;
    std::string reason;
    ASSERT_EQ(LoadImage(picture, expected, reason), ImageLoad::Ok) << picture << " " << reason;
    ASSERT_EQ(expected.width, drawn.width);
    ASSERT_EQ(expected.height, drawn.height);
    size_t differing = 0;
    size_t first = 0;
    for (size_t p = 0; p < drawn.rgba.size() / 4; ++p) {
        for (size_t c = 0; c < 4; ++c) {
            if (std::abs(int(drawn.rgba[4 * p + c]) - int(expected.rgba[4 * p + c])) > 3) {
                first = differing++ == 0 ? p : first;
                break;
            }
        }
    }
    EXPECT_EQ(differing, 0u) << differing << " of " << drawn.rgba.size() / 4 << " pixels differ from " << picture
                             << ", the first at x " << first % 400 << ", y " << first / 400;
}
