// The Scenes tab of the file panel driven as a person drives it: a scene
// saved through the chooser shows as a card with its own preview, a click
// chooses it, Open or a double click opens it; and the preview written
// beside the scene is the right way up.
#include <filesystem>

#include "app/editor_test_support.h"
#include "image/image_codec.h"
#include "render/interface_drawing.h"
#include "render/renderer.h"
#include "render/scene_test_support.h"
#include "scene/scene_object.h"
#include "ui/edit_box.h"
#include "ui/file_chooser.h"
#include "ui/image_button.h"
#include "ui/image_list.h"

namespace morvanex::test {
namespace {

namespace fs = std::filesystem;

class FilePanelTest : public EditorTest {
protected:
    FilePanelTest() {
        width = 1920;
        height = 1080;
    }

    // Save as, through the built-in chooser, under `file`.
    void saveAs(const fs::path& file) {
        showFilePanel();
        clickWidget(*app->screen.file.saveAsButton);
        FileChooser* chooser = app->fileDialogs.builtinChooser();
        ASSERT_TRUE(chooser != nullptr && chooser->panel().visible);
        chooser->nameBox().setText(file.string());
        clickWidget(chooser->okButton());
        ASSERT_TRUE(fs::exists(file));
        frame();
    }
    void newScene() {
        showFilePanel();
        clickWidget(*app->screen.file.newButton);
        frame();
    }
    // Shown again, the panel lists what is on disk now.
    void showFilePanel() {
        app->screen.filePanel->setVisible(false);
        app->screen.filePanel->setVisible(true);
        frame();
        frame();
    }
    ImageButton* card(const std::string& caption) {
        for (Control3d* cell : app->screen.file.thumbnails->items) {
            auto* button = static_cast<ImageButton*>(cell);
            if (button->caption == caption) return button;
        }
        ADD_FAILURE() << "no card " << caption;
        return nullptr;
    }
    bool cyan(int x, int y) {
        const unsigned char* p = pixel(x, y);
        return p[2] > 200 && p[1] > 150 && p[0] < 100;
    }
};

TEST_F(FilePanelTest, ASavedSceneIsACardThatAClickChoosesAndOpenOrADoubleClickOpens) {
    const fs::path file = app->folders.documents / "maison.mrx";
    app->scene.addObject("maison");
    saveAs(file);
    const fs::path other = app->folders.documents / "une scene au nom bien trop long pour sa carte.mrx";
    saveAs(other);
    newScene();
    ASSERT_EQ(app->scene.findObject("maison"), nullptr);

    showFilePanel();
    ImageButton* house = card("maison.mrx");
    ASSERT_NE(house, nullptr);
    EXPECT_NE(house->thumbnail, nullptr);
    EXPECT_NE(house->thumbnail, app->ui.drawing().image("fenetre1.bmp"));  // its own preview
    ImageButton& open = *app->screen.file.openChosenButton;
    EXPECT_FALSE(open.enabled);

    clickWidget(*house);
    EXPECT_TRUE(open.enabled);
    for (Control3d* cell : app->screen.file.thumbnails->items) EXPECT_EQ(cell->checked, cell == house);
    mouse(wm::MouseMove, 5, 5);
    for (int i = 0; i < 30; ++i) frame();
    // Only the chosen card wears the chosen frame.
    ImageButton* longName = card(other.filename().string());
    ASSERT_NE(longName, nullptr);
    const int middle = house->screenY() + house->height / 2;
    EXPECT_TRUE(cyan(house->screenX() + 3, middle));
    EXPECT_FALSE(cyan(longName->screenX() + 3, longName->screenY() + longName->height / 2));

    clickWidget(open);
    EXPECT_NE(app->scene.findObject("maison"), nullptr);
    EXPECT_FALSE(app->screen.filePanel->visible);

    newScene();
    showFilePanel();
    house = card("maison.mrx");
    ASSERT_NE(house, nullptr);
    doubleClick(house->screenX() + house->width / 2, house->screenY() + house->height / 2);
    EXPECT_NE(app->scene.findObject("maison"), nullptr);
    EXPECT_FALSE(app->screen.filePanel->visible);
}

TEST_F(FilePanelTest, ImportAddsTheChosenSceneToTheOneOpen) {
    app->scene.addObject("maison");
    saveAs(app->folders.documents / "maison.mrx");
    newScene();
    app->scene.addObject("jardin");
    showFilePanel();
    ImageButton* house = card("maison.mrx");
    ASSERT_NE(house, nullptr);
    clickWidget(*house);
    ASSERT_TRUE(app->screen.file.importButton->enabled);
    clickWidget(*app->screen.file.importButton);
    EXPECT_NE(app->scene.findObject("maison"), nullptr);
    EXPECT_NE(app->scene.findObject("jardin"), nullptr);
    EXPECT_NE(fs::path(app->scene.filePath).filename(), "maison.mrx");
}

TEST_F(FilePanelTest, ALongNameIsCutToItsCard) {
    const fs::path longFile = app->folders.documents / "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa.mrx";
    saveAs(longFile);
    saveAs(app->folders.documents / "b.mrx");
    showFilePanel();
    ImageButton* first = card(longFile.filename().string());
    ImageButton* second = card("b.mrx");
    ASSERT_TRUE(first != nullptr && second != nullptr);
    for (int i = 0; i < 30; ++i) frame();
    // No white glyph pixels at either edge of a card: a caption never runs
    // over into its neighbour.
    for (const ImageButton* cell : {first, second}) {
        for (int y = cell->screenY() + 8; y < cell->screenY() + cell->height - 8; ++y) {
            for (const int x : {cell->screenX() + 4, cell->screenX() + cell->width - 5}) {
                const unsigned char* p = pixel(x, y);
                EXPECT_LT(p[0], 200) << "text at " << x << "," << y;
            }
        }
    }
}

TEST_F(FilePanelTest, ThePreviewWrittenBesideTheSceneIsTheRightWayUp) {
    // A red box above the middle of the view: it must be in the image's top half.
    morvanex::testing::addBox(app->scene, "haut", {0.0f, 25.0f, 0.0f}, {10.0f, 10.0f, 10.0f}, {1, 0, 0, 1});
    CameraState& camera = app->camera;
    camera.eye = camera.eyeTarget = {0.0f, 0.0f, -100.0f};
    camera.yaw = camera.yawTarget = kHalfPi;
    camera.pitch = camera.pitchTarget = 0.0f;
    frame();
    const fs::path file = app->folders.documents / "haut.mrx";
    saveAs(file);
    const std::string bytes = readBytes(fs::path(file.string() + ".bmp"));
    const ImageResult image = decodeImageRgba8({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    ASSERT_TRUE(image) << image.error;
    const ImageLevel& level = image.image->levels.front();
    const auto redRows = [&](int from, int to) {
        int count = 0;
        for (int y = from; y < to; ++y) {
            const std::uint8_t* p = &level.bytes[static_cast<std::size_t>((y * level.width + level.width / 2) * 4)];
            if (p[0] > 2 * p[1] + 20) ++count;
        }
        return count;
    };
    EXPECT_GT(redRows(0, level.height / 2), 0);
    EXPECT_EQ(redRows(level.height / 2, level.height), 0);
}

}  // namespace
}  // namespace morvanex::test
