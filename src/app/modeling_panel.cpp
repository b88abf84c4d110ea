// The modeling panel: the editing tools (first tab) and the primitive and
// sweep generators (second tab), each tool showing its option widgets
// while it is pressed.
#include <initializer_list>
#include <memory>

#include "app/tool_panel_builders.h"
#include "app/tool_panel_kit.h"
#include "app/tool_panels.h"
#include "ui/check_box.h"
#include "ui/edit_box.h"
#include "ui/image_button.h"
#include "ui/interface.h"
#include "ui/label.h"
#include "ui/label_numbers.h"
#include "ui/slider.h"
#include "ui/tab_strip.h"

namespace morvanex {

namespace {

constexpr int kTabStep = 5;
constexpr int kTurnSlider = 10;    // a turn either way
constexpr int kUnitSlider = 2;
constexpr int kRowBox = 55;        // the sweep boxes are narrower than the image

using Owners = std::initializer_list<Control3d*>;

void dependOn(Owners owners, Control3d& widget) {
    for (Control3d* owner : owners) addDependant(*owner, widget);
}

// One settings box of the sweep panels: a decimal box when it edits a
// value, an integer box when it edits a count; all of the row's width.
struct BoxPlace {
    int label;
    int x;
    int y;
    float* value;
    int* count;
};

EditBox& addRowBox(ToolPanelKit& kit, const BoxPlace& place, Control3d* owner) {
    EditBox& box = place.value != nullptr ? kit.decimalBox(place.label, place.x, place.y, place.value, owner)
                                          : kit.integerBox(place.label, place.x, place.y, place.count, owner);
    box.boxWidth = kRowBox;
    box.layOutBox();
    return box;
}

ImageButton& tool(ToolPanelKit& kit, ControleGroupe& group, Onglet& page, std::string_view image, int x, int y) {
    ImageButton& button = addGroupedImageButton(kit.panel(), image, x, y, group);
    addDependant(page, button);
    return button;
}

void buildEditTools(ToolPanelKit& kit, Onglet& page, ModelingPanelWidgets& w) {
    ControleGroupe& g = kit.panel().add(std::make_unique<ControleGroupe>());
    w.editTools = &g;
    w.translation = &tool(kit, g, page, "translation.dds", 10, 80);
    w.translationX = &tool(kit, g, page, "translationx.dds", 60, 80);
    w.translationY = &tool(kit, g, page, "translationy.dds", 110, 80);
    w.translationZ = &tool(kit, g, page, "translationz.dds", 160, 80);
    w.translationPlane = &tool(kit, g, page, "translationp.dds", 210, 80);
    w.translationPlane2 = &tool(kit, g, page, "translationp2.dds", 260, 80);
    w.shadowPlane = &tool(kit, g, page, "ombrep.dds", 310, 80);
    // Shares its place with the second plane tool; shown only while key
    // images are edited, so it is on no page.
    w.keyTool = &addGroupedImageButton(kit.panel(), "cl\xE9.dds", 260, 80, g);
    w.rotation = &tool(kit, g, page, "rotation1.dds", 10, 130);
    w.rotationX = &tool(kit, g, page, "rotation1x.dds", 60, 130);
    w.rotationY = &tool(kit, g, page, "rotation1y.dds", 110, 130);
    w.rotationZ = &tool(kit, g, page, "rotation1z.dds", 160, 130);
    w.bezier = &tool(kit, g, page, "bezier.dds", 210, 130);
    w.cloner = &tool(kit, g, page, "cloner1.dds", 260, 130);
    w.rotationAxis = &tool(kit, g, page, "axerot.dds", 10, 180);
    w.resize = &tool(kit, g, page, "resize.dds", 60, 180);
    w.faceSelection = &tool(kit, g, page, "saisiefaces.dds", 110, 180);
    w.groupSelection = &tool(kit, g, page, "saisiegroupe.dds", 160, 180);
    w.weightSelection = &tool(kit, g, page, "saisiepoids.dds", 210, 180);
    w.fusion = &tool(kit, g, page, "fusion.dds", 260, 180);
    w.cutter = &tool(kit, g, page, "decoupeur.dds", 10, 230);
    w.soundTool = &tool(kit, g, page, "son3.dds", 60, 230);
    w.spot = &tool(kit, g, page, "spot1.dds", 110, 230);
}

void buildTransformWidgets(ToolPanelKit& kit, ModelingPanelWidgets& w, ToolPanelValues& v) {
    const Owners translations = {w.translation,      w.translationX,      w.translationY, w.translationZ,
                                 w.translationPlane, w.translationPlane2, w.shadowPlane};
    const Owners rotations = {w.rotation, w.rotationX, w.rotationY, w.rotationZ};
    const char* letters[] = {"X", "Y", "Z"};
    const int column[] = {12, 102, 192};
    float* position[] = {&v.position.x, &v.position.y, &v.position.z};
    float* axis[] = {&v.rotationAxis.x, &v.rotationAxis.y, &v.rotationAxis.z};
    float* scale[] = {&v.scale.x, &v.scale.y, &v.scale.z};
    float* size[] = {&v.wantedSize.x, &v.wantedSize.y, &v.wantedSize.z};
    float* angles[] = {&v.angles.x, &v.angles.y, &v.angles.z};
    const int angleLabels[] = {label::kModelingAngleXSlider, label::kModelingAngleYSlider,
                               label::kModelingAngleZSlider};
    for (std::size_t i = 0; i < 3; ++i) {
        w.positionBoxes[i] = &kit.axisBox(letters[i], column[i], 330, position[i], nullptr);
        dependOn(translations, *w.positionBoxes[i]);
        w.axisBoxes[i] = &kit.axisBox(letters[i], column[i], 380, axis[i], w.rotationAxis);
        w.scaleBoxes[i] = &kit.axisBox(letters[i], column[i], 330, scale[i], w.resize);
        w.sizeBoxes[i] = &kit.axisBox(letters[i], column[i], 380, size[i], w.resize);
        Cursor& angle = kit.slider(angleLabels[i], 5, 320 + 45 * static_cast<int>(i), angles[i], kTurnSlider, nullptr);
        w.angleSliders[i] = &angle;
        for (Control3d* owner : rotations) {
            addDependant(*owner, *angle.track);
            addDependant(*owner, angle);
            addDependant(*owner, *angle.editBox);
        }
    }
    w.rotationAngleSlider =
        &kit.slider(label::kModelingRotationAngleSlider, 5, 320, &v.rotationAngle, kTurnSlider, w.rotationAxis);
}

void buildEditCommands(ToolPanelKit& kit, Onglet& page, ModelingPanelWidgets& w, ToolPanelValues& v) {
    // Always on the first tab.
    w.undoButton = &kit.button(label::kModelingUndoButton, 5, 505, &page, "undoprec.dds");
    w.redoButton = &kit.button(label::kModelingRedoButton, 127, 505, &page, "undosuiv.dds");
    w.deleteObjectButton = &kit.button(label::kModelingDeleteObjectButton, 249, 506, &page, "mbuttonc.dds");
    // Copies.
    w.duplicateButton = &kit.button(label::kModelingDuplicateButton, 10, 290, w.cloner);
    w.arrayButton = &kit.button(label::kModelingArrayButton, 10, 330, w.cloner);
    w.arrayColumnsBox = &kit.integerBox(label::kSurfaceColumnsBox, 185, 290, &v.arrayColumns, w.cloner);
    w.arrayRowsBox = &kit.integerBox(label::kSurfaceRowsBox, 185, 325, &v.arrayRows, w.cloner);
    w.inPlaceCheck = &kit.check(label::kModelingInPlaceCheck, 185, 365, &v.duplicateInPlace, w.cloner);
    // Faces.
    w.detachSelectionButton = &kit.button(label::kModelingDetachSelectionButton, 25, 300, w.faceSelection);
    w.flipFacesButton = &kit.button(label::kModelingFlipFacesButton, 160, 350, w.faceSelection);
    w.flatFacesButton = &kit.button(label::kModelingFlatFacesButton, 25, 400, w.faceSelection);
    w.faceSliceCheck = &kit.check(label::kFaceSliceCheck, 25, 440, &v.faceSliceMode, w.faceSelection);
    w.selectThroughCheck = &kit.check(label::kSelectThroughCheck, 25, 465, &v.selectThrough, w.faceSelection);
    // Weights.
    w.boneNumberBox = &kit.integerBox(label::kBoneNumberBox, 25, 360, &v.boneNumber, w.weightSelection);
    w.showVerticesCheck = &kit.check(label::kModelingDisplayCheck, 25, 420, &v.showVertices, w.weightSelection);
    w.vertexSliceCheck = &kit.check(label::kVertexSliceCheck, 25, 445, &v.vertexSliceMode, w.weightSelection);
    w.hierarchyButton = &kit.button(label::kHierarchyButton, 10, 478, w.weightSelection, "mbuttonc.dds");
    w.applyWeightsButton = &kit.button(label::kModelingApplyWeightsButton, 180, 478, w.weightSelection);
    // Merge and cut.
    w.mergeButton = &kit.button(label::kModelingMergeButton, 10, 300, w.fusion);
    w.cutButton = &kit.button(label::kModelingCutButton, 10, 300, w.cutter);
    w.keepBothCheck = &kit.check(label::kModelingKeepBothCheck, 10, 340, &v.cutKeepsBoth, w.cutter);
    // Trajectory points.
    const int pointLabels[] = {label::kModelingPointOption1Check, label::kModelingPointOption2Check,
                               label::kModelingPointOption3Check};
    for (std::size_t i = 0; i < 3; ++i) {
        w.pointOptionChecks[i] =
            &kit.check(pointLabels[i], 15, 300 + 25 * static_cast<int>(i), &v.pointOptions[i], w.bezier);
    }
    w.deletePointButton = &kit.button(label::kModelingDeletePointButton, 15, 390, w.bezier);
    // Sound and spot.
    w.attachSoundButton = &kit.button(label::kModelingAttachSoundButton, 70, 286, w.soundTool);
    w.soundOnCheck = &kit.check(label::kModelingSoundOnCheck, 15, 410, &v.soundOn, w.soundTool);
    w.soundLoopCheck = &kit.check(label::kModelingSoundLoopCheck, 105, 440, &v.soundLoop, w.soundTool);
    w.soundVolumeSlider =
        &kit.slider(label::kModelingSoundVolumeSlider, 15, 490, &v.soundVolume, kUnitSlider, w.soundTool);
    w.spotCheck = &kit.check(label::kSpotCheck, 15, 300, &v.spotOn, w.spot);
}

void buildCreateTools(ToolPanelKit& kit, Onglet& page, ModelingPanelWidgets& w, ToolPanelValues& v) {
    ControleGroupe& g = kit.panel().add(std::make_unique<ControleGroupe>());
    w.createTools = &g;
    w.quad = &tool(kit, g, page, "quad.dds", 10, 80);
    w.sphere = &tool(kit, g, page, "sphere.dds", 60, 80);
    w.cube = &tool(kit, g, page, "cube.dds", 120, 80);
    w.tube = &tool(kit, g, page, "tubage.dds", 180, 80);
    w.surface = &tool(kit, g, page, "surfaceur.dds", 240, 80);
    w.helix = &tool(kit, g, page, "reptub.dds", 300, 80);
    w.triangleFace = &tool(kit, g, page, "face1a.dds", 10, 140);
    w.quadFace = &tool(kit, g, page, "face2.dds", 60, 140);
    w.heightSurface = &tool(kit, g, page, "altimetre.dds", 120, 140);
    w.grid = &tool(kit, g, page, "grille.dds", 320, 140);

    const Owners primitives = {w.quad, w.sphere, w.cube, w.triangleFace, w.quadFace, w.heightSurface};
    w.primitiveCaption = &kit.plainText(" ", 10, 195, nullptr);
    w.primitiveCaption->bold = true;
    dependOn(primitives, *w.primitiveCaption);
    w.primitiveSizeBox = &kit.decimalBox(label::kModelingPrimitiveSizeBox, 10, 225, &v.primitiveSize, nullptr);
    dependOn(primitives, *w.primitiveSizeBox);
    w.heightSurfaceSizeBox = &kit.decimalBox(label::kTubeHeightBox, 10, 255, &v.heightSurfaceSize, w.heightSurface);
    w.heightSurfaceButton = &kit.button(label::kModelingHeightSurfaceButton, 15, 320, w.heightSurface);
}

void buildTubeSettings(ToolPanelKit& kit, ModelingPanelWidgets& w, ToolPanelValues& v) {
    const Owners tubes = {w.tube, w.helix};
    Panel& panel = kit.panel();
    auto onTubes = [&](Control3d& widget) -> Control3d& {
        dependOn(tubes, widget);
        return widget;
    };
    w.buildTubeButton = &kit.button(label::kBuildTubeButton, 215, 186, nullptr);
    onTubes(*w.buildTubeButton);
    ControleGroupe& shape = panel.add(std::make_unique<ControleGroupe>());
    const int shapeLabels[] = {label::kSweepFreeSectionRadio, label::kSweepRoundSectionRadio, label::kSweepPresetRadio};
    for (std::size_t i = 0; i < 3; ++i) {
        w.sweepShapeRadios[i] = &kit.radio(shape, shapeLabels[i], 10 + 120 * static_cast<int>(i), 220, &v.sweepShape, nullptr);
        onTubes(*w.sweepShapeRadios[i]);
    }
    ControleGroupe& smoothing = panel.add(std::make_unique<ControleGroupe>());
    w.smoothingRadios[0] = &kit.radio(smoothing, label::kSweepSmoothRadio, 10, 245, &v.tubeSmoothing, nullptr);
    w.smoothingRadios[1] = &kit.radio(smoothing, label::kSweepAngularRadio, 130, 245, &v.tubeSmoothing, nullptr);
    onTubes(*w.smoothingRadios[0]);
    onTubes(*w.smoothingRadios[1]);
    w.sweepOptionChecks[0] = &kit.check(label::kSweepOption205Check, 250, 245, &v.sweepOptions[0], nullptr);
    onTubes(*w.sweepOptionChecks[0]);

    const BoxPlace places[] = {
        {label::kTubeFirstCountBox, 10, 272, nullptr, &v.sweepCounts[0]},
        {label::kTubeSecondCountBox, 10, 298, nullptr, &v.sweepCounts[1]},
        {label::kTubeSectionStepBox, 10, 324, nullptr, &v.tubeSectionStep},
        {label::kTubeAlternativeBox, 10, 350, &v.helixPitch, nullptr},
        {label::kTubeWidthBox, 235, 272, &v.sweepSizes[0], nullptr},
        {label::kTubeHeightBox, 235, 298, &v.sweepSizes[1], nullptr},
        {label::kTubeTurnsBox, 235, 324, &v.tubeTurns, nullptr},
    };
    for (const BoxPlace& place : places) {
        EditBox& box = addRowBox(kit, place, nullptr);
        onTubes(box);
        w.tubeBoxes.push_back(&box);
    }
    const int optionLabels[] = {label::kSweepHelixCheck, label::kSweepOrientedCheck, label::kSweepHalfCheck,
                                label::kSweepOption525Check, label::kSweepOption532Check,
                                label::kSweepSmoothProfileCheck};
    for (std::size_t i = 0; i < 6; ++i) {
        const int columns[] = {10, 120, 255};
        const int x = columns[i % 3];
        const int y = 378 + 24 * static_cast<int>(i / 3);
        w.sweepOptionChecks[i + 1] = &kit.check(optionLabels[i], x, y, &v.sweepOptions[i + 1], nullptr);
        onTubes(*w.sweepOptionChecks[i + 1]);
    }
    w.twistSlider = &kit.slider(label::kSweepTwistSlider, 10, 482, &v.twist, kTurnSlider, nullptr);
    w.thicknessSlider = &kit.slider(label::kSweepThicknessSlider, 10, 522, &v.thickness, kUnitSlider, nullptr);
    for (Cursor* slider : {w.twistSlider, w.thicknessSlider}) {
        onTubes(*slider->track);
        onTubes(*slider);
        onTubes(*slider->editBox);
    }
}

void buildSurfaceSettings(ToolPanelKit& kit, ModelingPanelWidgets& w, ToolPanelValues& v) {
    Panel& panel = kit.panel();
    w.buildSurfaceButton = &kit.button(label::kBuildSurfaceButton, 215, 186, w.surface);
    const BoxPlace places[] = {
        {label::kSurfaceWidthBox, 10, 225, &v.surfaceValues[0], nullptr},
        {label::kSurfaceDepthBox, 10, 251, &v.surfaceValues[1], nullptr},
        {label::kSurfaceHeightBox, 10, 277, &v.surfaceValues[2], nullptr},
        {label::kSurfaceSubdivisionsBox, 10, 303, &v.surfaceValues[3], nullptr},
        {label::kSurfaceSmoothingBox, 10, 329, &v.surfaceValues[4], nullptr},
        {label::kSurfaceColumnsBox, 235, 225, nullptr, &v.surfaceCounts[0]},
        {label::kSurfaceRowsBox, 235, 251, nullptr, &v.surfaceCounts[1]},
    };
    for (const BoxPlace& place : places) w.surfaceBoxes.push_back(&addRowBox(kit, place, w.surface));
    ControleGroupe& axis = panel.add(std::make_unique<ControleGroupe>());
    const char* letters[] = {"X", "Y", "Z"};
    for (std::size_t i = 0; i < 3; ++i) {
        w.sweepAxisRadios[i] =
            &kit.radio(axis, letters[i], 185 + 35 * static_cast<int>(i), 395, &v.sweepAxis, w.surface);
    }
    // Both sweeps resample their curves from these two boxes.
    w.curvePointsBox = &kit.integerBox(label::kSweepCurvePointsBox, 15, 430, &v.sweepCurvePoints, nullptr);
    w.profilePointsBox = &kit.integerBox(label::kSweepProfilePointsBox, 190, 430, &v.sweepProfilePoints, nullptr);
    for (EditBox* box : {w.curvePointsBox, w.profilePointsBox}) {
        box->boxWidth = kRowBox;
        box->layOutBox();
        dependOn({w.tube, w.helix, w.surface}, *box);
    }
}

}  // namespace

Panel& buildModelingPanel(Interface& ui, LabelTable& labels, ToolPanelWidgets& tools) {
    Panel& panel = createToolPanel(ui, labels, label::kModelingPanelName, 1500, 500, 375, 540);
    panel.title.assign(1, ' ');
    ToolPanelKit kit(panel, labels);
    ModelingPanelWidgets& w = tools.modeling;
    ToolPanelValues& v = tools.values;
    w.tabs = &addTabStrip(panel, 5, kTabStep);
    Onglet& edit = w.tabs->addTab("onglet8.dds", kit.french(label::kModelingEditTab));
    edit.captionLabel = label::kModelingEditTab;
    Onglet& create = w.tabs->addTab("onglet8.dds", kit.french(label::kModelingCreateTab));
    create.captionLabel = label::kModelingCreateTab;
    buildEditTools(kit, edit, w);
    buildTransformWidgets(kit, w, v);
    buildEditCommands(kit, edit, w, v);
    buildCreateTools(kit, create, w, v);
    buildTubeSettings(kit, w, v);
    buildSurfaceSettings(kit, w, v);
    w.keyTool->setVisible(false);
    w.editTools->clear();
    w.createTools->clear();
    w.tabs->select(0);
    return panel;
}

}  // namespace morvanex
