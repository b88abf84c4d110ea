// The file panel: scenes (the thumbnail list and the file buttons), display
// settings and preferences (the language), and what its radios and check
// boxes change beyond their bindings.
#include <algorithm>
#include <string>

#include "app/application.h"
#include "app/interface_language.h"
#include "app/screen_builders.h"
#include "app/shell_services.h"
#include "app/window_rules.h"
#include "image/image_codec.h"
#include "image/image_files.h"
#include "render/graphics_context.h"
#include "render/result_codes.h"
#include "base/text_encoding.h"
#include "base/trace_log.h"
#include "render/interface_drawing.h"
#include "render/renderer.h"
#include "render/texture_image.h"
#include "ui/check_box.h"
#include "ui/colour_widgets.h"
#include "ui/image_button.h"
#include "ui/image_list.h"
#include "ui/key_bar.h"
#include "ui/label.h"
#include "ui/label_numbers.h"
#include "ui/slider.h"
#include "ui/tab_strip.h"

namespace morvanex {

namespace {

constexpr Vec4 kCaptionColour{1.0f, 1.0f, 1.0f, 1.0f};
constexpr int kCaptionGap = 10;
constexpr int kWalkSpeedSliderKind = 8;    // 0 to 200 scene units a second
constexpr int kFieldOfViewSliderKind = 1;  // 0 to a half turn
constexpr std::string_view kTabImage = "onglet2.dds";
constexpr std::string_view kCellImage = "cadre1.dds";
constexpr std::string_view kCellHoverImage = "cadre2.dds";
constexpr std::string_view kDefaultThumbnail = "fenetre1.bmp";
constexpr std::uint64_t kLargestThumbnailFile = std::uint64_t{64} << 20;  // a 4K preview is under 32 MB

Label& addCaption(Panel& panel, int x, int y, const std::string& text, Control3d& page) {
    Label& caption = addLabel(panel, x, y, text, false, &page);
    caption.textColour = kCaptionColour;
    return caption;
}

void buildScenesPage(Application& app, Panel& panel, Onglet& page) {
    FilePanelWidgets& file = app.screen.file;
    const LabelTable& labels = app.labels;
    auto button = [&](int captionLabel, int x, int y, std::string_view image, std::string_view hover) {
        ImageButton& added = screen::addLabelledButton(app, panel, captionLabel, x, y, image, hover);
        addDependant(page, added);
        return &added;
    };
    file.newButton = button(label::kFileNewSceneButton, 5, 59, "mbuttonc.dds", "mbuttonoverc.dds");
    file.open3dButton = button(label::kFileOpen3dButton, 155, 59, "mbuttond.dds", "mbuttonoverd.dds");
    file.saveAsButton = button(label::kFileSaveAsButton, 345, 53, "mbutton.dds", "mbuttonover.dds");
    file.saveButton = button(label::kFileSaveButton, 500, 59, "mbuttonc.dds", "mbuttonoverc.dds");
    file.previews = &addCheckBox(panel, 25, 105, &file.previewsOn, labels.frenchText(label::kFileCheck287), &page);
    file.openChosenButton = button(label::kFileOpenButton, 185, 100, "mbuttond.dds", "mbuttonoverd.dds");
    file.importButton = button(label::kFileImportButton, 340, 100, "mbuttonc.dds", "mbuttonoverc.dds");
    // Both act on the scene chosen in the list: usable once one is chosen.
    file.secondListButton = file.importButton;
    file.merge = &addCheckBox(panel, 465, 105, &file.mergeChosen, labels.frenchText(label::kFileMergeCheck), &page);
    file.thumbnails = &addImageList(panel, 5, 140, 620, 295);
    addDependant(page, *file.thumbnails->listTemplate);
    addDependant(page, *file.thumbnails);
}

void buildDisplayPage(Application& app, Panel& panel, Onglet& page) {
    FilePanelWidgets& file = app.screen.file;
    const LabelTable& labels = app.labels;
    file.walkSpeedSlider = &addSlider(panel, 10, 90, &app.camera.walkSpeed, kWalkSpeedSliderKind,
                                      labels.frenchText(label::kFileSlider272), &page);
    // The swatch follows the caption, whichever language is longer.
    const std::string& caption = labels.frenchText(label::kFileBackgroundColourRow);
    const InterfaceDrawing& drawing = app.ui.drawing();
    LabelTable english = labels;
    english.language = Language::English;
    const float captionWidth =
        std::max(drawing.measureText(caption), drawing.measureText(english.text(label::kFileBackgroundColourRow)));
    addCaption(panel, 10, 135, caption, page);
    const int swatchX = std::max(10, 10 + static_cast<int>(captionWidth) + kCaptionGap - kSwatchFromX);
    file.backgroundSwatch = &addColourSwatch(panel, swatchX, 135, &app.scene.backgroundColour, nullptr);
    addDependant(page, *file.backgroundSwatch);
    file.fieldOfViewSlider = &addSlider(panel, 10, 185, &app.camera.fieldOfView, kFieldOfViewSliderKind,
                                        labels.frenchText(label::kFileSlider274), &page);

    file.normalView = !app.walkMode && !app.cinematicMode;
    file.viewModeGroup = &panel.add(std::make_unique<ControleGroupe>());
    file.normalViewRadio = &addRadioButton(panel, *file.viewModeGroup, 275, 95, &file.normalView,
                                           labels.frenchText(label::kFileNormalViewRadio), &page);
    file.walkRadio = &addRadioButton(panel, *file.viewModeGroup, 355, 95, &app.walkMode,
                                     labels.frenchText(label::kFileWalkViewRadio), &page);
    file.cinematicRadio = &addRadioButton(panel, *file.viewModeGroup, 434, 95, &app.cinematicMode,
                                          labels.frenchText(label::kFileCinematicViewRadio), &page);

    file.verticalSync = &addCheckBox(panel, 18, 243, &file.verticalSyncOn,
                                     labels.frenchText(label::kFileVerticalSyncCheck), &page);
    file.fullScreen =
        &addCheckBox(panel, 139, 243, &app.input.state.fullScreen, labels.frenchText(label::kFileFullScreenCheck), &page);
    file.frameCounter =
        &addCheckBox(panel, 268, 243, &file.frameCounterOn, labels.frenchText(label::kFileCheck282), &page);

    // One radio per sample count the graphics offer, the current one chosen.
    file.antialiasingGroup = &panel.add(std::make_unique<ControleGroupe>());
    const GraphicsContext* graphics = app.ui.renderer().graphics();
    if (graphics == nullptr) return;
    file.verticalSyncOn = graphics->verticalSync();
    const std::vector<int>& counts = graphics->sampleModeList().counts;
    const auto current = std::find(counts.begin(), counts.end(), graphics->sampleCount());
    file.antialiasingIndex = current == counts.end() ? 0 : static_cast<int>(current - counts.begin());
    if (!counts.empty()) addCaption(panel, 15, 274, labels.frenchText(label::kFileAntialiasingCaption), page);
    for (std::size_t i = 0; i < counts.size(); ++i) {
        file.antialiasingRadios.push_back(&addRadioButton(panel, *file.antialiasingGroup,
                                                          130 + 40 * static_cast<int>(i), 278,
                                                          &file.antialiasingIndex, std::to_string(counts[i]), &page));
    }
}

void buildPreferencesPage(Application& app, Panel& panel, Onglet& page) {
    FilePanelWidgets& file = app.screen.file;
    const LabelTable& labels = app.labels;
    file.french = labels.language == Language::French;
    file.english = !file.french;
    addCaption(panel, 15, 311, labels.frenchText(label::kLanguageCaption), page);
    file.languageGroup = &panel.add(std::make_unique<ControleGroupe>());
    file.frenchRadio = &addRadioButton(panel, *file.languageGroup, 100, 315, &file.french,
                                       labels.frenchText(label::kFrenchRadio), &page);
    file.englishRadio = &addRadioButton(panel, *file.languageGroup, 200, 315, &file.english,
                                        labels.frenchText(label::kEnglishRadio), &page);
}

// The scene's own preview (written beside it by every save), shrunk by
// halves to the first size no smaller than the cell's picture: a few
// kilobytes on the card however many scenes are listed. Null when there is
// none or it cannot be read.
std::unique_ptr<TextureImage> loadSceneThumbnail(const SceneEntry& entry) {
    if (entry.thumbnailPath.empty()) return nullptr;
    std::vector<std::uint8_t> bytes;
    std::uint64_t fileSize = 0;
    if (!readImageFile(pathFromText(entry.thumbnailPath), bytes, fileSize, kLargestThumbnailFile)) return nullptr;
    const ImageResult decoded = decodeImageRgba8(bytes);
    if (!decoded || decoded.image->isCube()) return nullptr;
    const ImageResult chain = withMipLevels(*decoded.image, 0, true);
    if (!chain) return nullptr;
    const DecodedImage& full = *chain.image;
    int level = 0;
    while (level + 1 < full.mipLevels &&
           std::max(full.level(0, level + 1).width, full.level(0, level + 1).height) >= kThumbnailSide) {
        ++level;
    }
    DecodedImage shrunk;
    shrunk.width = full.level(0, level).width;
    shrunk.height = full.level(0, level).height;
    shrunk.levels = {full.level(0, level)};
    TextureResult texture = createTextureImage(shrunk, entry.caption);
    if (!texture) return nullptr;
    return std::make_unique<TextureImage>(std::move(*texture.image));
}

// Recent scenes first, then the user's own, then the examples; a scene in
// two lists shows once.
std::vector<const SceneEntry*> entriesToShow(const RecentFileLists& lists) {
    std::vector<const SceneEntry*> shown;
    for (const auto* list : {&lists.recent, &lists.own, &lists.examples}) {
        for (const SceneEntry& entry : *list) {
            const bool seen = std::any_of(shown.begin(), shown.end(),
                                          [&](const SceneEntry* other) { return other->path == entry.path; });
            if (!seen) shown.push_back(&entry);
        }
    }
    return shown;
}

}  // namespace

namespace screen {

void buildFilePanel(Application& app) {
    Panel& panel = createPanel(app, label::kFilePanelName, -1, 1000, 900, 640, 450, panelColours(), true, true);
    panel.hasTitleBar = true;
    panel.bodyDragScroll = true;
    panel.centreOnShow = true;
    panel.titleUnderline = false;
    FilePanelWidgets& file = app.screen.file;
    const LabelTable& labels = app.labels;
    // In the title bar, as the panel's title is empty.
    file.tabs = &addTabStrip(panel, 5, 5 - kLayoutCursorStart);
    Onglet& scenes = file.tabs->addTab(kTabImage, labels.frenchText(label::kFileScenesTab));
    Onglet& display = file.tabs->addTab(kTabImage, labels.frenchText(label::kFileDisplayTab));
    Onglet& preferences = file.tabs->addTab(kTabImage, labels.frenchText(label::kFilePreferencesTab));
    buildScenesPage(app, panel, scenes);
    buildDisplayPage(app, panel, display);
    buildPreferencesPage(app, panel, preferences);
    file.tabs->select(0);
    app.screen.filePanel = &panel;
}

}  // namespace screen

// ---------------------------------------------------------------------------
// Shown

void Application::refreshFilePanelOnShown() {
    FilePanelWidgets& file = screen.file;
    if (file.tabs != nullptr) file.tabs->select(0);
    // The camera and the scene may have changed what the sliders show.
    if (file.walkSpeedSlider != nullptr) file.walkSpeedSlider->syncFromValue();
    if (file.fieldOfViewSlider != nullptr) file.fieldOfViewSlider->syncFromValue();
    if (file.thumbnails == nullptr) return;
    if (!file.listFilled || file.listStale) fillSceneList();
    if (file.openChosenButton != nullptr) file.openChosenButton->enabled = false;
    if (file.secondListButton != nullptr) file.secondListButton->enabled = false;
    for (Control3d* cell : file.thumbnails->items) cell->checked = false;
    file.thumbnails->selectedIndex = -1;
}

void Application::fillSceneList() {
    FilePanelWidgets& file = screen.file;
    // The loader gathers the lists once at start; the first showing waits
    // for it. After an open or a save they are gathered again here: the
    // scene just saved must be there to pick.
    const bool waiting = !file.listFilled && recentFiles.started() && !recentFiles.done();
    if (waiting) setCursor(CursorShape::Wait);
    const RecentFileLists lists = file.listFilled ? loadRecentFileLists({folders.examples, folders.documents, {}})
                                                  : recentFiles.waitUntilDone();
    if (waiting) setCursor(CursorShape::Arrow);
    file.thumbnails->clearCells();
    file.scenePaths.clear();
    file.thumbnailImages.clear();
    for (const SceneEntry* entry : entriesToShow(lists)) {
        std::unique_ptr<TextureImage> picture = loadSceneThumbnail(*entry);
        const TextureImage* shown = picture != nullptr ? picture.get() : ui.drawing().image(kDefaultThumbnail);
        if (picture != nullptr) file.thumbnailImages.push_back(std::move(picture));
        ImageButton& cell = addImageListCell(*file.thumbnails, kCellImage, kCellHoverImage, shown);
        cell.caption = entry->caption;
        cell.captionLabel = -1;
        file.scenePaths.push_back(entry->path);
    }
    file.listFilled = true;
    file.listStale = false;
}

void Application::onListItem(Panel&, Control3d& list) {
    FilePanelWidgets& file = screen.file;
    // The chosen scene's path is found by the cell's index when a button acts.
    if (&list == file.thumbnails) {
        if (file.openChosenButton != nullptr) file.openChosenButton->enabled = true;
        if (file.secondListButton != nullptr) file.secondListButton->enabled = true;
    }
    // A chosen animation plays and shows its key images once playback
    // lands; until then the first choice says so (later ones only pick the
    // animation to delete or save, which works).
    if (&list == screen.tools.animation.animations && !playbackNoticeShown_) {
        playbackNoticeShown_ = true;
        tellNotBuiltYet();
    }
}

// ---------------------------------------------------------------------------
// Radio buttons and check boxes beyond their bindings

void Application::onRadioButton(Panel&, Control3d& button) {
    FilePanelWidgets& file = screen.file;
    const bool antialiasing = button.group != nullptr && button.group == file.antialiasingGroup;
    const bool language = button.group != nullptr && button.group == file.languageGroup;
    // The tube and surface tools' own radios come with the modeling panel.
    if (!antialiasing && !language) markSceneModified();

    if (antialiasing) chooseSampleMode(static_cast<std::size_t>(file.antialiasingIndex));
    if (button.group != nullptr && button.group == screen.keyBarScaleGroup && screen.keyBar != nullptr) {
        screen.keyBar->setScale(screen.keyBarScaleIndex);
    }
    if (button.group != nullptr && button.group == file.viewModeGroup) {
        savedWalkMode = walkMode;
        if (&button != file.cinematicRadio) restoreCameraOfStartedPlayback();
    }
    if (language) switchLanguage(file.french ? Language::French : Language::English);
    creationTools_.sweepSettingChanged(button);
}

void Application::onCheckBox(Panel&, Control3d& box) {
    FilePanelWidgets& file = screen.file;
    const bool settingOnly = &box == file.verticalSync || &box == file.fullScreen || &box == file.frameCounter ||
                             &box == file.merge;
    // The other panels' boxes come with their panels.
    if (!settingOnly) markSceneModified();
    if (&box == file.verticalSync) {
        if (GraphicsContext* graphics = renderer_.graphics()) graphics->setVerticalSync(file.verticalSyncOn);
    } else if (&box == file.fullScreen) {
        setFullScreen(input.state.fullScreen);
    } else if (&box == file.merge) {
        // A merge chooses again from the list.
        if (file.openChosenButton != nullptr) file.openChosenButton->enabled = false;
        if (file.secondListButton != nullptr) file.secondListButton->enabled = false;
        if (file.thumbnails != nullptr) {
            for (Control3d* cell : file.thumbnails->items) cell->checked = false;
            file.thumbnails->selectedIndex = -1;
        }
        disableSettingsPanelOpenButton();
    }
    creationTools_.sweepSettingChanged(box);
}

void Application::chooseSampleMode(std::size_t entry) {
    GraphicsContext* graphics = renderer_.graphics();
    if (graphics == nullptr) return;
    if (input.state.fullScreen) setFullScreen(false);
    const ResultCode result = graphics->selectMultisampleEntry(entry);
    if (result != hr::S_OK) shell_.trace().line("selectMultisampleEntry, hr = " + ResultCodeName(result));
}

void Application::switchLanguage(Language language) {
    labels.language = language;
    if (std::string error; !rememberLanguage(folders.documents, language, error)) {
        shell_.trace().line(std::string(kLanguageFileName) + ": " + cp1252FromUtf8(error));
    }
    screen.file.french = language == Language::French;
    screen.file.english = !screen.file.french;
    // Widgets follow at their next drawing; titles and hints are copies.
    screen::refreshPanelTitles(*this);
    if (!sceneFileName.empty()) shell_.setWindowTitle(sceneWindowTitle(language, kTitlePrefixOnOpen, sceneFileName));
    buildGuidanceHints();
}

void Application::restoreCameraOfStartedPlayback() {
    // Comes with animation playback: while a started playback holds its
    // target object, the camera goes back to the eye and angles saved then.
}

void Application::disableSettingsPanelOpenButton() {
    // Comes with the settings panel: its open button (label 461) is disabled too.
}

}  // namespace morvanex
