// What a newcomer meets in the first minutes, driven as a person drives it:
// the framing key and the preset views, the lights of a new scene, the
// language kept between runs, the window title, controls that cannot act
// yet, Help without a web browser, and the status line.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/editor_test_support.h"
#include "app/interface_language.h"
#include "base/text_encoding.h"
#include "modeling/primitives.h"
#include "platform/help_opener.h"
#include "render/text_status.h"
#include "scene/scene_object.h"
#include "scenefile/scene_writer.h"
#include "ui/check_box.h"
#include "ui/image_button.h"
#include "ui/image_list.h"
#include "ui/label.h"
#include "ui/label_numbers.h"
#include "ui/tab_strip.h"

namespace morvanex::test {
namespace {

class FirstUseTest : public EditorTest {
protected:
    FirstUseTest() {
        width = 1920;
        height = 1080;
    }

    // The corner button switches the editing interface on; the file panel
    // it shows over a new scene is put away.
    void openEditingInterface() {
        clickWidget(*app->screen.cornerButton);
        frame();
        app->screen.filePanel->setVisible(false);
        frame();
    }
    void showAndClick(Control3d* widget) {
        ASSERT_NE(widget, nullptr);
        if (!widget->panel->visible) widget->panel->setVisible(true);
        frame();
        clickWidget(*widget);
        frame();
    }
    SceneObject& addBox(Vec3 low, Vec3 high) {
        return app->addPrimitive(makeBox(low, {high.x, low.y, high.z}, {0.0f, high.y - low.y, 0.0f}));
    }
    // The ground grid the editor adds to an opened scene: never framed.
    void addGroundGrid() {
        SceneObject& grid = app->scene.addObject(makeGroundGrid());
        grid.listed = false;
    }

    // Where the corners of an object land, in pixels, once the eye has
    // reached its target.
    struct PixelBox {
        float left = 1e9f, right = -1e9f, top = 1e9f, bottom = -1e9f;
    };
    PixelBox seenFromEyeTarget(const SceneObject& object) const {
        const CameraState& c = app->camera;
        const Mat4 viewProjection = cameraViewMatrix(c.eyeTarget, c.yawTarget, c.pitchTarget) *
                                    cameraProjection(c, static_cast<float>(width), static_cast<float>(height), false);
        PixelBox box;
        for (const Vec3& p : worldBoxCorners(object.boundsMin, object.boundsMax, object.worldMatrix)) {
            const Vec4 clip = transform(Vec4{p.x, p.y, p.z, 1.0f}, viewProjection);
            const float x = (clip.x / clip.w * 0.5f + 0.5f) * static_cast<float>(width);
            const float y = (0.5f - clip.y / clip.w * 0.5f) * static_cast<float>(height);
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y);
        }
        return box;
    }
    float topBarBottom() const {
        const Panel& bar = *app->screen.topBar;
        return static_cast<float>(bar.y + bar.height);
    }
    bool messageSays(const std::string& text) const {
        if (!app->screen.messageDialog->visible) return false;
        return std::any_of(app->screen.message.lines.begin(), app->screen.message.lines.end(),
                           [&](const Label* line) { return line->text.find(text) != std::string::npos; });
    }
};

// F with nothing selected frames what the person made, not the 2,000-unit
// ground; F on an object keeps a margin and stays clear of the top bar.
TEST_F(FirstUseTest, TheFramingKeyFramesTheUsersObjectsWithAMargin) {
    openEditingInterface();
    addGroundGrid();
    SceneObject& box = addBox({30.0f, 0.0f, 30.0f}, {34.0f, 4.0f, 34.0f});
    app->currentObject = nullptr;
    keyDown('F');
    PixelBox seen = seenFromEyeTarget(box);
    EXPECT_GT(std::max(seen.right - seen.left, seen.bottom - seen.top), 0.5f * static_cast<float>(height));

    app->currentObject = &box;
    keyDown('F');
    seen = seenFromEyeTarget(box);
    const float freeHeight = static_cast<float>(height) - topBarBottom() - 30.0f;
    const float widthShare = (seen.right - seen.left) / static_cast<float>(width);
    const float heightShare = (seen.bottom - seen.top) / freeHeight;
    // 5 % free on each side of the tightest axis.
    EXPECT_NEAR(std::max(widthShare, heightShare), 0.9f, 0.01f);
    EXPECT_GE(seen.left, 0.0f);
    EXPECT_LE(seen.right, static_cast<float>(width));
    EXPECT_GT(seen.top, topBarBottom());
    EXPECT_LT(seen.bottom, static_cast<float>(height) - 30.0f);
}

TEST_F(FirstUseTest, TheTopViewKeepsTheObjectOutOfTheTopBar) {
    openEditingInterface();
    SceneObject& wide = addBox({-20.0f, 0.0f, -20.0f}, {20.0f, 2.0f, 20.0f});
    app->currentObject = &wide;
    keyDown('F');  // close in from the side: seen from above at that distance it would overflow
    showAndClick(app->screen.camera.topView);
    const PixelBox seen = seenFromEyeTarget(wide);
    EXPECT_GT(seen.top, topBarBottom());
    EXPECT_LT(seen.bottom, static_cast<float>(height));
    EXPECT_GE(seen.left, 0.0f);
    EXPECT_LE(seen.right, static_cast<float>(width));
}

// Every direction a face can turn to gets some light in a new scene.
TEST_F(FirstUseTest, ANewSceneLightsEverySideAndAnOpenedFileKeepsItsLights) {
    const auto litFrom = [](const Scene& scene, Vec3 normal) {
        for (std::int32_t i = 0; i < scene.activeLightCount; ++i) {
            const Vec4& p = scene.lights[static_cast<std::size_t>(i)].positionOrColour;
            if (dot(normal, Vec3{p.x, p.y, p.z}) > 0.0f && scene.lights[static_cast<std::size_t>(i)].intensity > 0.0f)
                return true;
        }
        return false;
    };
    openEditingInterface();
    for (const Vec3 n : {Vec3{1, 0, 0}, Vec3{-1, 0, 0}, Vec3{0, 1, 0}, Vec3{0, -1, 0}, Vec3{0, 0, 1}, Vec3{0, 0, -1}})
        EXPECT_TRUE(litFrom(app->scene, n)) << n.x << " " << n.y << " " << n.z;

    // A file written with one light of its own opens with exactly that light.
    Scene stored;
    stored.lights[0].intensity = 0.8f;
    stored.lights[0].positionOrColour = {1.0f, 2.0f, 3.0f, 0.0f};
    stored.activeLightCount = 1;
    const std::filesystem::path file = temp.path() / "une lampe.mrx";
    ASSERT_TRUE(writeSceneFile(file, stored, SceneWriteOptions{}).ok);
    ASSERT_TRUE(app->openScene(file, Application::SceneOpenMode::Plain));
    EXPECT_EQ(app->scene.activeLightCount, 1);
    EXPECT_EQ(app->scene.lights[0].intensity, 0.8f);
    EXPECT_EQ(app->scene.lights[0].positionOrColour.z, 3.0f);
}

// The language chosen on the file panel is the one of the next run, and an
// English title has one form.
TEST_F(FirstUseTest, TheChosenLanguageIsKeptForTheNextRun) {
    ASSERT_EQ(app->labels.language, Language::English);
    openEditingInterface();
    EXPECT_EQ(shell.titles.back(), "Morvanex \x96 " + app->sceneFileName);
    app->screen.filePanel->setVisible(true);
    frame();
    clickWidget(*app->screen.file.tabs->tabs[2]);  // preferences
    showAndClick(app->screen.file.frenchRadio);
    ASSERT_EQ(app->labels.language, Language::French);
    EXPECT_EQ(rememberedLanguage(app->folders.documents), Language::French);

    restartApplication();
    EXPECT_EQ(app->labels.language, Language::French);
    EXPECT_TRUE(app->screen.file.french);
    openEditingInterface();
    EXPECT_EQ(shell.titles.back(), "Morvanex  -   " + app->sceneFileName);
}

// A button whose feature this version lacks says so; Help with no browser
// says where the manual is.
TEST_F(FirstUseTest, ControlsThatCannotActSaySoAndHelpNamesTheManual) {
    openEditingInterface();
    showAndClick(app->screen.capture.saveViewButton);
    EXPECT_TRUE(messageSays(app->label(label::kNotBuiltYetLine)));
    app->screen.messageDialog->setVisible(false);

    // The first animation chosen in its list says playback is to come; the next ones only pick.
    showAndClick(app->screen.top.cameraAnimationButton);
    showAndClick(app->screen.tools.animation.newButton);
    ImageList& animations = *app->screen.tools.animation.animations;
    ASSERT_FALSE(animations.items.empty());
    for (int choice = 0; choice < 2; ++choice) {
        frame();
        clickWidget(*animations.items.front());
        EXPECT_EQ(app->screen.messageDialog->visible, choice == 0);
        app->screen.messageDialog->setVisible(false);
    }

    const char* path = std::getenv("PATH");
    const std::string savedPath = path != nullptr ? path : "";
    const std::filesystem::path empty = temp.path() / "no programs";
    std::filesystem::create_directories(empty);
    setenv("PATH", empty.c_str(), 1);  // no xdg-open, so no browser
    showAndClick(app->screen.top.helpButton);
    setenv("PATH", savedPath.c_str(), 1);
    EXPECT_TRUE(messageSays(app->label(label::kManualNotShownLine)));
    EXPECT_TRUE(messageSays(textFromPath(manualPath(app->folders.program))));
    EXPECT_NE(readBytes(folders.programDataFolder / kTraceFileName).find("help: "), std::string::npos);
}

TEST_F(FirstUseTest, TheFrameRateShowsOnlyWithTheFrameCounterTicked) {
    openEditingInterface();
    EXPECT_EQ(statusLineText(app->statusLine).find("Fps"), std::string::npos);
    app->screen.filePanel->setVisible(true);
    frame();
    clickWidget(*app->screen.file.tabs->tabs[1]);  // display
    showAndClick(app->screen.file.frameCounter);
    frame();
    ASSERT_TRUE(app->screen.file.frameCounterOn);
    EXPECT_NE(statusLineText(app->statusLine).find("Fps"), std::string::npos);
}

}  // namespace
}  // namespace morvanex::test
