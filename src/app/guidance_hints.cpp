// The guidance hints: built from the labels of the current language (again
// when the language changes), one chosen each frame after the panels.
#include <algorithm>
#include <initializer_list>
#include <sstream>

#include "app/application.h"
#include "render/interface_drawing.h"
#include "render/renderer.h"
#include "ui/check_box.h"
#include "ui/image_button.h"
#include "ui/label_numbers.h"
#include "ui/tab_strip.h"

namespace morvanex {

namespace {

constexpr float kDefaultHintRate = 15.0f;
constexpr float kRectangleHintRate = 10.0f;
constexpr float kWeightHintRate = 8.0f;
constexpr int kBesideButtonX = 40;  // "next to a button"
constexpr int kBesideButtonY = 80;
constexpr int kBelowSpotBox = 40;
// The modeling panel's start hint: left of the panel, beside its fields,
// since inside it every tool has fields of its own below the buttons.
constexpr int kStartHintX = -250;
constexpr int kStartHintY = 300;

void setLines(RichHint& hint, std::initializer_list<std::string> lines, const InterfaceDrawing& drawing) {
    hint.lines.clear();
    hint.width = hint.height = 0;
    for (const std::string& line : lines) hint.addLine(line, drawing);
}

void anchor(RichHint& hint, InterfaceDrawing& drawing, std::string_view picture, float rate) {
    hint.anchored = true;
    hint.picture = drawing.image(picture);
    hint.timer.rate = rate;
}

// The anchor beside a button of a shown panel.
bool besideWidget(const Control3d* widget, int& x, int& y) {
    if (widget == nullptr || widget->panel == nullptr) return false;
    x = widget->panel->x + widget->x + kBesideButtonX;
    y = widget->panel->y + widget->y + kBesideButtonY;
    return true;
}

const Control3d* checkBoxWithLabel(const Panel* panel, int captionLabel) {
    if (panel == nullptr) return nullptr;
    for (const auto& item : panel->items) {
        if (dynamic_cast<const CheckBox*>(item.get()) != nullptr && item->captionLabel == captionLabel) {
            return item.get();
        }
    }
    return nullptr;
}

const Onglets* tabStripOf(const Panel* panel) {
    if (panel == nullptr) return nullptr;
    for (const auto& item : panel->items) {
        if (const auto* strip = dynamic_cast<const Onglets*>(item.get())) return strip;
    }
    return nullptr;
}

}  // namespace

void Application::buildGuidanceHints() {
    GuidanceHints& hints = screen.hints;
    InterfaceDrawing& drawing = renderer_.ui;
    auto text = [this](int number) { return label(number); };
    for (std::size_t step = 0; step < hints.cubeSteps.size(); ++step) {
        const int first = label::kCubeHintStep1Line1 + 2 * static_cast<int>(step);
        setLines(hints.cubeSteps[step], {text(first), text(first + 1)}, drawing);
    }
    for (std::size_t step = 0; step < hints.sphereSteps.size(); ++step) {
        const int first = label::kSphereHintStep1Line1 + 2 * static_cast<int>(step);
        setLines(hints.sphereSteps[step], {text(first), text(first + 1)}, drawing);
    }
    // Both lines are replaced before each drawing.
    setLines(hints.objectName, {"Position : "}, drawing);
    setLines(hints.trajectoryHeight, {text(label::kTrajectoryHeightHint)}, drawing);
    setLines(hints.vertexReadout, {}, drawing);

    setLines(hints.surfaceButton, {text(label::kSweepButtonHintLine1), text(label::kSweepButtonHintLine2)}, drawing);
    anchor(hints.surfaceButton, drawing, "bulle2.dds", kDefaultHintRate);
    setLines(hints.rectangleSelection,
             {text(label::kRectangleHintLine1), text(label::kRectangleHintLine2), text(label::kRectangleHintLine3)},
             drawing);
    anchor(hints.rectangleSelection, drawing, "bulle3.dds", kRectangleHintRate);
    setLines(hints.tubeTool, {text(label::kTubeHintLine1), text(label::kTubeHintLine2), text(label::kTubeHintLine3)},
             drawing);
    anchor(hints.tubeTool, drawing, "bulle2.dds", kDefaultHintRate);
    setLines(hints.spotTool, {text(label::kSpotHintLine1), text(label::kSpotHintLine2)}, drawing);
    anchor(hints.spotTool, drawing, "bulle2.dds", kDefaultHintRate);
    setLines(hints.tubeButton, {text(label::kSweepButtonHintLine1), text(label::kSweepButtonHintLine2)}, drawing);
    anchor(hints.tubeButton, drawing, "bulle2.dds", kDefaultHintRate);
    setLines(hints.heightSurface, {text(label::kHeightSurfaceHintLine1), text(label::kHeightSurfaceHintLine2)},
             drawing);
    anchor(hints.heightSurface, drawing, "bulle2.dds", kDefaultHintRate);
    setLines(hints.modelingStart, {text(label::kModelingStartHintLine1), text(label::kModelingStartHintLine2)},
             drawing);
    anchor(hints.modelingStart, drawing, "bulle2.dds", kDefaultHintRate);
    setLines(hints.panPad, {text(label::kPanPadHint)}, drawing);
    anchor(hints.panPad, drawing, "bulle2.dds", kDefaultHintRate);
    setLines(hints.zoomPad, {text(label::kZoomPadHint)}, drawing);
    anchor(hints.zoomPad, drawing, "bulle2.dds", kDefaultHintRate);

    setLines(hints.spare[0], {text(label::kObjectNameHint)}, drawing);
    setLines(hints.spare[1], {text(label::kTrajectoryHeightHint), text(label::kTrajectoryHeightHintLine2)}, drawing);
    setLines(hints.spare[2], {text(label::kSpareHint499), text(label::kSpareHint500)}, drawing);
    anchor(hints.spare[2], drawing, "bulle3.dds", kDefaultHintRate);
    setLines(hints.spare[3], {text(label::kSpareHint537), text(label::kSpareHint538)}, drawing);
    anchor(hints.spare[3], drawing, "bulle2.dds", kDefaultHintRate);
    setLines(hints.spare[4], {text(label::kSpareHint550), text(label::kSpareHint551), text(label::kSpareHint552)},
             drawing);
    anchor(hints.spare[4], drawing, "bulle2.dds", kWeightHintRate);
}

void Application::chooseGuidanceHint() {
    GuidanceHints& hints = screen.hints;
    const InterfaceDrawing& drawing = renderer_.ui;
    hints.current = nullptr;
    if (statusLine.objectUnderPointer) {
        // Its name is already drawn, under the panels (drawObjectNameHint).
    } else if (toolPressed("cube.dds")) {
        hints.current = &hints.cubeSteps[static_cast<std::size_t>(std::clamp(primitiveClickStep(), 0, 2))];
    } else if (toolPressed("sphere.dds")) {
        hints.current = &hints.sphereSteps[static_cast<std::size_t>(std::clamp(primitiveClickStep(), 0, 1))];
    } else if (trajectoryPointOpen()) {
        std::ostringstream height;
        height << "Y : " << trajectoryPointHeight();
        setLines(hints.trajectoryHeight, {height.str()}, drawing);
        drawGuidanceHint(hints.trajectoryHeight, false);
    }
    drawVertexReadout();

    const TopBarWidgets& top = screen.top;
    const bool groupTool = toolPressed("saisiegroupe.dds");
    struct Candidate {
        RichHint& hint;
        bool holds;
        int x;
        int y;
    };
    Candidate candidates[] = {
        {hints.surfaceButton, currentObjectIsSurfaceSweep() && !groupTool, 0, 0},
        {hints.rectangleSelection, top.rectangleSelection != nullptr && top.rectangleSelection->checked, 0, 0},
        {hints.tubeTool, toolPressed("tubage.dds"), viewWidth() / 2, viewHeight() / 2},
        {hints.spotTool, toolPressed("spot1.dds") && currentObjectSpotSwitch(), 0, 0},
        {hints.tubeButton, currentObjectIsTubeSweep() && !groupTool, 0, 0},
        {hints.heightSurface, toolPressed("altimetre.dds") && screen.modelingPanel != nullptr, 0, 0},
        {hints.modelingStart, false, 0, 0},
    };
    Candidate& surface = candidates[0];
    surface.holds = surface.holds && besideWidget(top.reopenSurface, surface.x, surface.y);
    Candidate& rectangle = candidates[1];
    rectangle.holds = rectangle.holds && besideWidget(top.rectangleSelection, rectangle.x, rectangle.y);
    Candidate& spot = candidates[3];
    const Control3d* spotBox = checkBoxWithLabel(screen.modelingPanel, label::kSpotCheck);
    spot.holds = spot.holds && spotBox != nullptr;
    if (spot.holds) {
        spot.x = spotBox->panel->x + spotBox->x;
        spot.y = spotBox->panel->y + spotBox->y + kBelowSpotBox;
    }
    Candidate& tube = candidates[4];
    tube.holds = tube.holds && besideWidget(top.reopenTube, tube.x, tube.y);
    if (const Panel* modeling = screen.modelingPanel) {
        candidates[5].x = modeling->x + 15 + kBesideButtonX;  // its height-surface button at (15, 320)
        candidates[5].y = modeling->y + 320 + kBesideButtonY;
        const Onglets* tabs = tabStripOf(modeling);
        candidates[6].holds = modeling->visible && (tabs == nullptr || tabs->selected == 0) && currentObject == nullptr;
        candidates[6].x = modeling->x + kStartHintX;
        candidates[6].y = modeling->y + kStartHintY;
    }
    for (Candidate& candidate : candidates) {
        if (!candidate.holds) {
            candidate.hint.shown = false;
            continue;
        }
        candidate.hint.x = candidate.x;
        candidate.hint.y = candidate.y;
        hints.current = &candidate.hint;
    }
    if (hints.current != nullptr) drawGuidanceHint(*hints.current, false);
}

void Application::drawObjectNameHint() {
    if (!statusLine.objectUnderPointer) return;
    RichHint& hint = screen.hints.objectName;
    setLines(hint, {label(label::kObjectNameHint) + " : " + statusLine.objectName}, renderer_.ui);
    drawGuidanceHint(hint, true);
}

void Application::drawGuidanceHint(RichHint& hint, bool followPointer) {
    if (screen.topBar != nullptr) {
        hint.freeX = screen.topBar->x;
        hint.freeY = screen.topBar->y;
    }
    int x = 0;
    int y = 0;
    pointerScreenPosition(x, y);
    screenToClient(x, y);
    hint.pointerX = x;
    hint.pointerY = y;
    hint.draw(renderer_.ui, static_cast<float>(frameDelta_), followPointer, ui);
}

// A tool is pressed when its button on the modeling panel is checked.
bool Application::toolPressed(std::string_view imageFile) const {
    if (screen.modelingPanel == nullptr) return false;
    const TextureImage* image = renderer_.ui.image(imageFile);
    if (image == nullptr) return false;
    for (const auto& item : screen.modelingPanel->items) {
        const auto* button = dynamic_cast<const ImageButton*>(item.get());
        if (button != nullptr && button->image == image && button->checked) return true;
    }
    return false;
}

// --- What the owners of the tools will report ---------------------------------

int Application::primitiveClickStep() const { return creationTools_.placement.step(); }

bool Application::trajectoryPointOpen() const {
    // Comes with the trajectory editor.
    return false;
}

float Application::trajectoryPointHeight() const {
    // Comes with the trajectory editor: the dragged marker's world height.
    return 0.0f;
}

void Application::drawVertexReadout() {
    const PickState& pick = viewTools.pick;
    if (!pick.vertexInfoShown || !toolPressed("saisiepoids.dds")) {
        screen.hints.vertexReadout.shown = false;
        return;
    }
    const std::array<std::string, 6> lines = vertexReadoutLines(pick.vertexInfo);
    setLines(screen.hints.vertexReadout, {lines[0], lines[1], lines[2], lines[3], lines[4], lines[5]}, renderer_.ui);
    drawGuidanceHint(screen.hints.vertexReadout, true);
}

bool Application::currentObjectIsSurfaceSweep() const {
    // Comes with the sweep tools: the current object keeps surface curve points.
    return false;
}

bool Application::currentObjectIsTubeSweep() const {
    // Comes with the sweep tools: the current object was made by the tube tool.
    return false;
}

bool Application::currentObjectSpotSwitch() const {
    // Comes with the spot tool: the current object's spot switch.
    return false;
}

}  // namespace morvanex
