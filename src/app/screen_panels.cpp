// The screen panels: progress bar, browser, picture, capture, camera,
// preview, timeline, the two menus, the top bar, the corner and the logo.
// The dialogs and the file panel have files of their own.
#include <algorithm>
#include <limits>
#include <optional>
#include <string>

#include "app/application.h"
#include "app/screen_builders.h"
#include "app/shell_services.h"
#include "render/interface_drawing.h"
#include "render/renderer.h"
#include "scene/scene_object.h"
#include "ui/check_box.h"
#include "ui/edit_box.h"
#include "ui/image.h"
#include "ui/image_button.h"
#include "ui/image_list.h"
#include "ui/key_bar.h"
#include "ui/label_numbers.h"
#include "ui/menu.h"
#include "ui/tab_strip.h"

namespace morvanex::screen {

namespace {

constexpr int kDesignHeight = 1080;
// The corner button's place in the design.
constexpr int kCornerDesignX = 1700;

// Title-bar panels start with their title only when the panel is shown.
void recordTitle(Application& app, Panel& panel, int titleLabel) {
    if (titleLabel < 0) return;
    panel.title = app.label(titleLabel);
    app.screen.panelTitles.emplace_back(&panel, titleLabel);
}

// The world centre of the current object, which the camera pads turn round.
std::optional<Vec3> currentObjectCentre(const Application& app) {
    if (app.currentObject == nullptr) return std::nullopt;
    return transformPoint(app.currentObject->boundsCentre, app.currentObject->worldMatrix);
}

// A panel that keeps its place relative to the window: x in the design's
// 1920 columns, y as a share of the height.
void placeRelatively(Panel& panel, int x, int y) {
    panel.relativePlacement = true;
    panel.relX = static_cast<float>(x);
    panel.relY = static_cast<float>(y) / static_cast<float>(kDesignHeight);
    // The top row follows the pointer even when it leaves the panel, so
    // that its buttons lose their highlight.
    panel.takesMovesOutside = true;
}

}  // namespace

PanelColourWords panelColours() {
    return {230, 54, 105, 192, 230, 54, 105, 192, 240, 10, 73, 179, 240, 10, 73, 179, 240, 17, 207, 255};
}

PanelColourWords barColours() {
    return {127, 98, 138, 206, 127, 98, 138, 206, 127, 54, 105, 192, 127, 54, 105, 192, 240, 17, 207, 255};
}

Panel& createPanel(Application& app, int nameLabel, int titleLabel, int x, int y, int width, int height,
                   const PanelColourWords& colours, bool closeButton, bool grip) {
    Panel& panel =
        app.ui.createPanel(app.labels.frenchText(nameLabel), x, y, width, height, colours, closeButton, grip);
    recordTitle(app, panel, titleLabel);
    return panel;
}

ImageButton& addLabelledButton(Application& app, Panel& panel, int captionLabel, int x, int y,
                               std::string_view image, std::string_view hover) {
    return addTextButton(panel, image, hover, x, y, app.labels.frenchText(captionLabel));
}

void refreshPanelTitles(Application& app) {
    for (const auto& [panel, titleLabel] : app.screen.panelTitles) panel->title = app.label(titleLabel);
}

// ---------------------------------------------------------------------------
// Panels before the settings panel

void buildProgressPanel(Application& app) {
    Panel& panel = createPanel(app, label::kProgressPanelName, -1, 700, 500, 500, 15, panelColours(), true);
    panel.progressBar = true;
    app.screen.progressPanel = &panel;
}

void buildBrowserPanel(Application& app) {
    Panel& panel =
        createPanel(app, label::kBrowserPanelName, label::kBrowserPanelTitle, 1000, 900, 500, 400, panelColours(), true);
    panel.hasTitleBar = true;
    panel.bodyDragScroll = true;
    BrowserPanelWidgets& browser = app.screen.browser;
    browser.chooseFileButton = &addLabelledButton(app, panel, label::kBrowserChooseFileButton, 10, 28);
    browser.backdrop = &addImage(panel, nullptr, 0, 0, 482, 382);
    browser.backdrop->visible = false;
    panel.originImage = browser.backdrop;
    // Bound to a flag of the chosen texture once a texture slot is chosen.
    browser.embedCheck =
        &addCheckBox(panel, 300, 35, &browser.embedUnbound, app.labels.frenchText(label::kBrowserEmbedCheck));
    browser.embedCheck->enabled = false;
    browser.thumbnails = &addImageList(panel, 5, 60, 490, 300);
    app.screen.browserPanel = &panel;
}

void buildPicturePanel(Application& app) {
    Panel& panel =
        createPanel(app, label::kPicturePanelName, label::kPicturePanelTitle, 100, 100, 300, 300, panelColours(), true);
    panel.hasTitleBar = true;
    panel.bodyDragScroll = true;
    panel.titleUnderline = false;  // the picture fills the panel up to its title
    app.screen.pictureImage = &addImage(panel, nullptr, 9, 16, 282, 282);
    app.screen.pictureImage->fitAspect = true;
    app.screen.picturePanel = &panel;
}

void buildCapturePanel(Application& app) {
    Panel& panel =
        createPanel(app, label::kCapturePanelName, label::kCapturePanelTitle, 800, 650, 460, 360, panelColours(), true);
    panel.hasTitleBar = true;
    panel.bodyDragScroll = true;
    CapturePanelWidgets& capture = app.screen.capture;
    capture.saveViewButton = &addLabelledButton(app, panel, label::kCaptureSaveViewButton, 10, 30);
    capture.deleteViewButton = &addLabelledButton(app, panel, label::kCaptureDeleteViewButton, 200, 30);
    capture.deleteViewButton->enabled = false;  // until a viewpoint is chosen in the list
    capture.backdrop = &addImage(panel, nullptr, 0, 0, 482, 382);
    capture.backdrop->visible = false;
    panel.originImage = capture.backdrop;
    capture.viewpoints = &addImageList(panel, 5, 60, 450, 280);
    app.screen.capturePanel = &panel;
}

void buildCameraPanel(Application& app) {
    Panel& panel = createPanel(app, label::kCameraPanelName, -1, 1460, 160, 180, 195, barColours(), false);
    panel.hasTitleBar = true;
    app.ui.cameraViewsPanel = &panel;  // always on top
    CameraPanelWidgets& camera = app.screen.camera;
    CameraState& state = app.camera;
    const LabelTable& labels = app.labels;
    camera.orbitPad = &addImageButton(
        panel, "Trackball.dds", 0, 35, [&app, &state] { orbitPadPress(state, currentObjectCentre(app)); },
        [&app, &state](int dx, int dy, int) {
            orbitPadDrag(state, static_cast<float>(dx), static_cast<float>(dy), app.currentObject != nullptr);
        },
        [&state] { orbitPadRelease(state); }, labels.frenchText(label::kCameraOrbitHint));
    camera.panPad = &addImageButton(
        panel, "lateral.dds", 100, 35, [&state] { panPadPress(state); },
        [&state](int dx, int dy, int) { panPadDrag(state, static_cast<float>(dx), static_cast<float>(dy)); },
        [&state] { panPadRelease(state); }, labels.frenchText(label::kCameraPanHint));
    // The follow mode's avatar centre comes with the avatar; until then the
    // zoom moves the camera itself.
    camera.zoomPad = &addImageButton(
        panel, "zoom.dds", 0, 125, [&state] { zoomPadPress(state); },
        [&state](int, int dy, int) { zoomPadDrag(state, static_cast<float>(dy), std::nullopt); },
        [&state] { zoomPadRelease(state); }, labels.frenchText(label::kCameraZoomHint));
    camera.panPad->richHint = &app.screen.hints.panPad;
    camera.zoomPad->richHint = &app.screen.hints.zoomPad;
    camera.eastView = &addImageButton(panel, "vuesest.dds", 98, 142);
    camera.topView = &addImageButton(panel, "vueshaut.dds", 116, 142);
    camera.westView = &addImageButton(panel, "vuesouest.dds", 133, 142);
    camera.southView = &addImageButton(panel, "vuessud.dds", 116, 125);
    camera.northView = &addImageButton(panel, "vuesnord.dds", 116, 160);
    app.screen.cameraPanel = &panel;
}

// ---------------------------------------------------------------------------
// Panels after the animation panel

void buildPreviewPanel(Application& app) {
    Panel& panel = createPanel(app, label::kPreviewPanelName, label::kPreviewPanelTitle, 100, 100, 320, 250,
                               panelColours(), true, true);
    panel.hasTitleBar = true;
    // The preview pass draws into it and the animation subsystem turns it.
    app.screen.previewImage = &addImage(panel, nullptr, 10, 25, 300, 220);
    app.screen.previewImage->role = Image::Role::PreviewOrbit;
    app.screen.previewPanel = &panel;
}

void buildTimelinePanel(Application& app) {
    Panel& panel = createPanel(app, label::kTimelinePanelName, label::kTimelinePanelTitle, 500, 900, 1002, 112,
                               panelColours(), true);
    panel.hasTitleBar = true;
    MainScreen& screen = app.screen;
    screen.keyBarScaleIndex = kKeyBarStartScale;
    screen.keyBarScaleGroup = &panel.add(std::make_unique<ControleGroupe>());
    for (std::size_t i = 0; i < screen.keyBarScaleRadios.size(); ++i) {
        const int x = 365 + 75 * static_cast<int>(i);
        screen.keyBarScaleRadios[i] =
            &addRadioButton(panel, *screen.keyBarScaleGroup, x, 4, &screen.keyBarScaleIndex,
                            app.labels.frenchText(label::kTimelineScale0Radio + static_cast<int>(i)));
    }
    // Its scale menu is made next; the bar learns of it then.
    screen.keyBar = &addKeyBar(panel, 1, 25, 1000, 87);
    screen.timelinePanel = &panel;
}

void buildMenus(Application& app) {
    MainScreen& screen = app.screen;
    std::array<std::string, kScaleMenuItems> texts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        texts[i] = app.labels.frenchText(label::kScaleMenuItem0 + static_cast<int>(i));
    }
    Menu& scaleMenu = createScaleMenu(app.ui, app.labels.frenchText(label::kScaleMenuName), texts, [&screen](int index) {
        if (screen.keyBar != nullptr) screen.keyBar->setScale(index);
        screen.keyBarScaleIndex = index;
        screen.keyBarScaleRadios[static_cast<std::size_t>(index)]->selectInGroup();
    });
    screen.scaleMenu = &scaleMenu;
    screen.scaleMenuPanel = scaleMenu.panel;
    if (screen.keyBar != nullptr) screen.keyBar->scaleMenu = scaleMenu.panel;

    Menu& clipboard = createClipboardMenu(app.ui, app.labels.frenchText(label::kClipboardMenuName),
                                          app.labels.frenchText(label::kClipboardCopyItem),
                                          app.labels.frenchText(label::kClipboardPasteItem), editBoxClipboardActions());
    screen.clipboardMenu = &clipboard;
    screen.clipboardMenuPanel = clipboard.panel;
}

void buildTopBar(Application& app) {
    Panel& panel = createPanel(app, label::kTopBarName, -1, 500, 10, 1120, 100, barColours(), false);
    panel.outlined = false;
    panel.extendedBody = true;
    panel.centreEachFrame = true;
    placeRelatively(panel, 500, 10);
    TopBarWidgets& top = app.screen.top;
    MainScreen& screen = app.screen;
    // Six of them open a panel; the tool panels are connected once built.
    top.fileButton = &addLabelledButton(app, panel, label::kTopBarFileButton, 5, 5);
    top.fileButton->opensPanel = screen.filePanel;
    top.captureButton = &addLabelledButton(app, panel, label::kTopBarCaptureButton, 160, 5);
    top.captureButton->opensPanel = screen.capturePanel;
    top.settingsButton = &addLabelledButton(app, panel, label::kTopBarSettingsButton, 315, 5);
    top.modelingButton = &addLabelledButton(app, panel, label::kTopBarModelingButton, 470, 5);
    top.cameraAnimationButton = &addLabelledButton(app, panel, label::kTopBarCameraAnimationButton, 625, 5);
    top.objectAnimationButton = &addLabelledButton(app, panel, label::kTopBarObjectAnimationButton, 780, 5);
    top.quitButton =
        &addLabelledButton(app, panel, label::kTopBarQuitButton, 935, 5, "mbuttonc.dds", "mbuttonoverc.dds");
    top.helpButton =
        &addLabelledButton(app, panel, label::kTopBarHelpButton, 1060, 5, "mbuttonc.dds", "mbuttonoverc.dds");
    // The last one stays inside the bar.
    top.helpButton->width = std::min(top.helpButton->width, panel.width - 5 - top.helpButton->x);

    // The second row: toggles whose checked state the commands set, and
    // buttons that share a place because one at most is shown at a time.
    top.fullScreen = &addImageButton(panel, "toggle.dds", 20, 60);
    top.fullScreen->checked = app.input.state.fullScreen;
    top.wireframe = &addImageButton(panel, "wireframe1.dds", 20, 60);
    top.wireframe->visible = false;
    top.autoZoom = &addImageButton(panel, "zoomauto.dds", 80, 60);
    top.autoZoom->checked = !app.autoZoom;  // it shows the inverse of the flag
    top.walk = &addImageButton(panel, "avatar6.dds", 140, 60);
    top.walk->checked = app.walkMode;
    top.cinematic = &addImageButton(panel, "cinematique1.dds", 200, 57);
    top.cinematic->checked = app.cinematicMode;
    top.makeGhost = &addImageButton(panel, "fantome.dds", 320, 58);
    top.makeGhost->visible = false;  // needs a current object
    top.clearGhosts = &addImageButton(panel, "fantome1.dds", 320, 58);
    top.enterGroup = &addImageButton(panel, "vgroupe.dds", 1, 60);
    top.enterGroup->visible = false;
    top.leaveGroup = &addImageButton(panel, "vdgroupe.dds", 1, 60);
    top.leaveGroup->visible = false;
    top.rectangleSelection = &addImageButton(panel, "rectselection2.dds", 260, 65);
    top.reopenTube = &addImageButton(panel, "tubage.dds", 290, 60);
    top.reopenTube->visible = false;
    top.reopenSurface = &addImageButton(panel, "surfaceur.dds", 290, 55);
    top.reopenSurface->visible = false;
    top.lockY = &addImageButton(panel, "cadenasy.dds", 290, 55);
    top.lockY->visible = false;
    top.repeatTube = &addImageButton(panel, "reptub.dds", 380, 55);
    top.repeatTube->visible = false;
    for (ImageButton* button : {top.enterGroup, top.leaveGroup, top.fullScreen, top.wireframe, top.autoZoom, top.walk,
                                top.cinematic, top.rectangleSelection, top.reopenTube, top.reopenSurface, top.lockY,
                                top.makeGhost, top.clearGhosts, top.repeatTube}) {
        top.secondRow.emplace_back(button, button->x);
    }
    std::stable_sort(top.secondRow.begin(), top.secondRow.end(),
                     [](const auto& a, const auto& b) { return a.second < b.second; });
    screen.topBar = &panel;
}

void connectTopBarToToolPanels(Application& app) {
    MainScreen& screen = app.screen;
    if (screen.top.settingsButton == nullptr) return;
    screen.top.settingsButton->opensPanel = screen.settingsPanel;
    screen.top.modelingButton->opensPanel = screen.modelingPanel;
    screen.top.cameraAnimationButton->opensPanel = screen.animationPanel;
    screen.top.objectAnimationButton->opensPanel = screen.animationPanel;
}

void keepCornerBesideTopBar(MainScreen& screen, int viewWidth) {
    Panel* corner = screen.cornerPanel;
    const Panel* bar = screen.topBar;
    if (corner == nullptr || bar == nullptr || viewWidth <= 0) return;
    // The design place, unless a narrower window brings the top bar's last
    // button (Help) under it: then just right of the bar, as far as the
    // window allows. Shown bar or not, so that the button never moves away
    // from the pointer that switched the interface on.
    constexpr int kGap = 5;
    const float designX = static_cast<float>(kCornerDesignX);
    const int barRight = (viewWidth - bar->width) / 2 + bar->width;
    const int designLeft = static_cast<int>(designX * static_cast<float>(viewWidth) / kDesignWidth);
    const bool underBar = designLeft < barRight;
    const int left = underBar ? barRight + kGap : designLeft;
    corner->relX = static_cast<float>(left) * kDesignWidth / static_cast<float>(viewWidth);
}

void buildCornerPanel(Application& app) {
    Panel& panel = createPanel(app, label::kCornerPanelName, -1, kCornerDesignX, 45, 50, 50, barColours(), false);
    placeRelatively(panel, kCornerDesignX, 45);
    app.ui.cornerPanel = &panel;  // always on top
    app.screen.cornerButton = &addImageButton(panel, "selection4.dds", 5, 5);
    app.screen.cornerButton->checked = app.editMode;
    app.screen.cornerPanel = &panel;
}

void buildLogoPanel(Application& app) {
    Panel& panel = createPanel(app, label::kLogoPanelName, -1, 20, 45, 80, 30, barColours(), false);
    app.screen.logoImage = &addImage(panel, app.ui.drawing().image("tex_logo.dds"), 5, 5, 70, 20);
    app.screen.logoImage->fitAspect = true;
    app.screen.logoPanel = &panel;
}

}  // namespace morvanex::screen

namespace morvanex {

void Application::layOutTopBarToggles() {
    // Buttons that share a place in the design are sometimes shown together
    // (a grouped object's buttons beside the toggles, the sweep toggles beside
    // the rectangle selection): each shown button keeps its place unless it
    // would cover the one before, then it goes one step further.
    constexpr int kStep = 60;
    int next = std::numeric_limits<int>::min() / 2;
    for (const auto& [button, designX] : screen.top.secondRow) {
        if (!button->visible) continue;
        button->x = std::max(designX, next);
        next = button->x + kStep;
    }
}

void Application::buildScreenPanels() {
    screen::buildProgressPanel(*this);
    screen::buildBrowserPanel(*this);
    screen::buildPicturePanel(*this);
    screen::buildCapturePanel(*this);
    screen::buildCameraPanel(*this);
    screen::buildMessageDialog(*this);
    screen::buildQuestionDialog(*this);
    screen::buildFilePanel(*this);
}

void Application::buildScreenPanelsAfterTools() {
    screen::buildPreviewPanel(*this);
    screen::buildTimelinePanel(*this);
    screen::buildMenus(*this);
    screen::buildTopBar(*this);
    screen::buildCornerPanel(*this);
    screen::buildLogoPanel(*this);
    screen::connectTopBarToToolPanels(*this);
    // Of every panel, only the corner panel shows at start.
    screen.cornerPanel->setVisible(true);
}

}  // namespace morvanex

// ---------------------------------------------------------------------------
// Panels shown and hidden

namespace morvanex {

namespace {

void hideIfShown(Panel* panel) {
    if (panel != nullptr && panel->visible) panel->setVisible(false);
}

void setTitleLabel(MainScreen& screen, Panel& panel, int titleLabel, const std::string& text) {
    panel.title = text;
    for (auto& entry : screen.panelTitles) {
        if (entry.first == &panel) entry.second = titleLabel;
    }
}

Onglets* tabStripOf(Panel* panel) {
    if (panel == nullptr) return nullptr;
    for (const auto& item : panel->items) {
        if (auto* strip = dynamic_cast<Onglets*>(item.get())) return strip;
    }
    return nullptr;
}

}  // namespace

void Application::onPanelShown(Panel& panel) {
    if (&panel == screen.capturePanel) {
        setTitleLabel(screen, panel, label::kCapturePanelShownTitle, label(label::kCapturePanelShownTitle));
        if (screen.top.reopenTube != nullptr) screen.top.reopenTube->visible = false;
    } else if (&panel == screen.filePanel) {
        refreshFilePanelOnShown();
    } else if (&panel == screen.browserPanel) {
        selectCurrentTextureInBrowser();
    } else if (&panel == screen.animationPanel) {
        if (screen.top.reopenTube != nullptr) screen.top.reopenTube->visible = false;
        if (screen.top.reopenSurface != nullptr) screen.top.reopenSurface->visible = false;
    }
    refreshToolPanelOnShown(panel);
    // The next frame's elapsed time is measured from the moment the panel appeared.
    shell_.restartFrameClock();
}

void Application::onPanelHidden(Panel& panel) {
    const bool animationPanel = screen.animationPanel != nullptr && &panel == screen.animationPanel;
    const bool timelinePanel = screen.timelinePanel != nullptr && &panel == screen.timelinePanel;
    if (animationPanel || timelinePanel) {
        closeOpenTrajectoryAndAnimation();
        if (currentObject != nullptr && currentObject == scene.cameraObject()) {
            currentObject = nullptr;
            if (screen.modelingPanel != nullptr) {
                hideIfShown(screen.modelingPanel);
                screen.modelingPanel->title.clear();
            }
            if (screen.top.modelingButton != nullptr) screen.top.modelingButton->enabled = true;
        }
        hideAnimationOptionWidgets();
        hideIfShown(screen.previewPanel);
        if (Onglets* tabs = tabStripOf(screen.modelingPanel)) {
            tabs->visible = true;
            tabs->select(0);
            if (!tabs->tabs.empty()) onTabEnter(*tabs->tabs.front());
        }
    }
    if (animationPanel) {
        hideIfShown(screen.timelinePanel);
        hideIfShown(screen.previewPanel);
        if (screen.top.modelingButton != nullptr) screen.top.modelingButton->enabled = true;
    }
    onToolPanelHidden(panel);
}

void Application::selectCurrentTextureInBrowser() {
    // Comes with texture loading: while an object is current, its first
    // texture is selected in the list and the check box bound to its flags.
}

void Application::closeOpenTrajectoryAndAnimation() {
    // Comes with the trajectory editor and animation playback: ends the open
    // trajectory edit and clears the open trajectory, point and animation.
}

void Application::hideAnimationOptionWidgets() {
    // Comes with the animation panel: hides the widgets of its option group.
}

}  // namespace morvanex
