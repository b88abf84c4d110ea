// The commands of the tool panels' buttons and the setups of the modeling
// tools, and the bindings of their widgets to the current object.
#include <algorithm>
#include <cstdio>
#include <string>

#include "app/application.h"
#include "app/pending_tool_hooks.h"
#include "modeling/mesh_edits.h"
#include "modeling/object_copies.h"
#include "modeling/object_groups.h"
#include "modeling/object_transform.h"
#include "modeling/primitives.h"
#include "modeling/selection_rules.h"
#include "modeling/undo_history.h"
#include "render/object_gpu.h"
#include "render/interface_drawing.h"
#include "scene/animation.h"
#include "scene/scene_texture.h"
#include "ui/check_box.h"
#include "ui/colour_widgets.h"
#include "ui/edit_box.h"
#include "ui/image_button.h"
#include "ui/image_list.h"
#include "ui/label.h"
#include "ui/label_numbers.h"
#include "ui/slider.h"
#include "ui/tab_strip.h"

namespace morvanex {

namespace {

constexpr const char* kNewAnimationName = "Nouvelle animation";
constexpr const char* kGridObjectName = "Grille";
constexpr int kAnimationCellSize = 80;

void bindBox(EditBox* box, float* value) {
    if (box == nullptr) return;
    box->boundFloat = value;
    box->setFloat(*value);
}

void bindBox(EditBox* box, int* value) {
    if (box == nullptr) return;
    box->boundInt1 = value;
    box->setInt(*value);
}

void bindSlider(Cursor* slider, float* value) {
    if (slider == nullptr) return;
    slider->value = value;
    if (slider->editBox != nullptr) slider->editBox->boundFloat = value;
    slider->syncFromValue();
}

void bindCheck(CheckBox* box, bool* flag) {
    if (box == nullptr) return;
    box->boundFlag = flag;
    box->checked = *flag;
}

std::string fixed2(float value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", static_cast<double>(value));
    return buffer;
}

// "Size (x , y , z)" in the interface's language and the triangle count, as
// the object panels show it.
std::string objectInformation(const SceneObject& object, const std::string& sizeWord) {
    const Vec3 size = componentMul(object.boundsMax - object.boundsMin, object.scale);
    return sizeWord + " (" + fixed2(size.x) + " , " + fixed2(size.y) + " , " + fixed2(size.z) + ")\n, " +
           std::to_string(object.vertices.size() / 3) + " faces";
}

Animation* animationOf(const Scene& scene, const SceneObject* target) {
    if (target == nullptr) return nullptr;
    for (const auto& animation : scene.animations()) {
        if (animation->target == target) return animation.get();
    }
    return nullptr;
}

// Takes a sequence out of its animation, clearing every pointer to it.
void removeSequence(Scene& scene, Sequence& sequence) {
    Animation& owner = *sequence.animation;
    for (const auto& animation : scene.animations()) {
        for (const auto& other : animation->sequences) {
            if (other->playback.next == &sequence) other->playback.next = nullptr;
        }
    }
    if (owner.currentSequence == &sequence) owner.currentSequence = nullptr;
    for (Sequence*& reference : owner.sequenceReferences) {
        if (reference == &sequence) reference = nullptr;
    }
    std::erase_if(owner.sequences, [&](const auto& held) { return held.get() == &sequence; });
    owner.resolveSequenceReferences();
}

bool isOneOf(const Control3d& widget, std::initializer_list<const Control3d*> widgets) {
    return std::find(widgets.begin(), widgets.end(), &widget) != widgets.end();
}

}  // namespace

// ---------------------------------------------------------------------------
// Dispatch

bool Application::runToolPanelCommand(Panel&, Control3d& button) {
    // Recognised by identity alone: a file command deferred through full
    // screen comes back with another panel.
    if (runModelingToolSetup(button)) return true;
    return runModelingCommand(button) || runSettingsCommand(button) || runMappingCommand(button) ||
           runAnimationCommand(button);
}

bool Application::runSettingsCommand(Control3d& button) {
    SettingsPanelWidgets& w = screen.tools.settings;
    ToolPanelValues& v = screen.tools.values;
    if (&button == w.saveSelectionButton) {
        chooseSelectionSaveTarget();
    } else if (&button == w.updateMeshButton) {
        chooseFileForMeshUpdate();
    } else if (&button == w.importAnimatedButton) {
        importAnimatedModel(scene);
    } else if (&button == w.detachFromParentButton) {
        askDetachFromParent();
    } else if (&button == w.recomputeNormalsButton || &button == w.flipAllFacesButton) {
        if (currentObject == nullptr) return true;
        setCursor(CursorShape::Wait);
        if (&button == w.flipAllFacesButton) reverseWinding(*currentObject, false);
        SceneObject* leader = currentObject->groupLeader;
        recomputeObjectNormals(scene, leader != nullptr ? *leader : *currentObject, v.normalsSmoothSharp,
                               v.normalsWeld);
        if (leader != nullptr) {
            for (const auto& object : scene.objects()) {
                if (object->groupLeader == leader && object.get() != leader) {
                    recomputeObjectNormals(scene, *object, v.normalsSmoothSharp, v.normalsWeld);
                }
            }
        }
        meshEdited(*currentObject);
        setCursor(CursorShape::Arrow);
    } else if (&button == w.addFrameButton || &button == w.removeFrameButton) {
        if (currentObject == nullptr) return true;
        if (&button == w.addFrameButton) {
            addImageSequenceFrame(*currentObject);
        } else {
            removeImageSequenceFrame(*currentObject);
        }
    } else {
        const auto slot = std::find(w.textureSlotButtons.begin(), w.textureSlotButtons.end(), &button);
        if (slot == w.textureSlotButtons.end()) return false;
        if (currentObject == nullptr) return true;
        const int index = static_cast<int>(slot - w.textureSlotButtons.begin());
        slotBeingFilled = &button;
        chooseTextureSlot(*currentObject, index);
        screen.tools.mapping.tabs->select(index);
        scene.modified = true;
    }
    return true;
}

bool Application::runModelingToolSetup(Control3d& button) {
    ModelingPanelWidgets& w = screen.tools.modeling;
    ToolPanelValues& v = screen.tools.values;
    if (isOneOf(button, {w.faceSelection, w.weightSelection, w.groupSelection})) {
        if (currentObject != nullptr) prepareObjectForSelection(*currentObject);
        if (&button == w.faceSelection && screen.top.wireframe != nullptr) screen.top.wireframe->checked = false;
        if (&button == w.groupSelection) {
            screen.settingsPanel->setVisible(true);
            screen.tools.settings.tabs->select(1);
        }
        return true;
    }
    if (&button == w.fusion) {
        mergeList.clear();
        return true;
    }
    struct PrimitiveCaption {
        const ImageButton* tool;
        int caption;
    };
    const PrimitiveCaption captions[] = {
        {w.quad, label::kQuadCaption},         {w.heightSurface, label::kHeightSurfaceCaption},
        {w.triangleFace, label::kTriangleFaceCaption}, {w.sphere, label::kSphereCaption},
        {w.cube, label::kBoxCaption},          {w.quadFace, label::kQuadFaceCaption},
    };
    for (const PrimitiveCaption& entry : captions) {
        if (&button != entry.tool) continue;
        w.primitiveCaption->text = label(entry.caption);
        w.primitiveCaption->captionLabel = entry.caption;
        if (&button == w.quad) {
            v.primitiveSize = 10.0f;
            v.heightSurfaceSize = 100.0f;
            w.primitiveSizeBox->setFloat(v.primitiveSize);
            w.heightSurfaceSizeBox->setFloat(v.heightSurfaceSize);
        }
        return true;
    }
    if (isOneOf(button, {w.tube, w.helix, w.surface})) {
        screen.settingsPanel->setVisible(false);
        endOpenTrajectory();
        const bool fromObject = currentObject != nullptr && currentObject->sweepCurves.present;
        if (fromObject) {
            SweepEditing::loadSettings(*currentObject, v);
        } else {
            v.sweepSizes = {20.0f, 20.0f, 21.0f, 21.0f};
            v.sweepCounts = {1, 1};
        }
        creationTools_.startSweep(button);
        return true;
    }
    if (&button == w.grid) {
        if (SceneObject* grid = scene.findObject(kGridObjectName)) currentObject = grid;
        screen.settingsPanel->setVisible(false);
        if (screen.top.settingsButton != nullptr) screen.top.settingsButton->enabled = false;
        bindToolPanelsToCurrentObject();
        return true;
    }
    // The other tools act through their checked state alone.
    return button.group != nullptr && (button.group == w.editTools || button.group == w.createTools);
}

bool Application::runModelingCommand(Control3d& button) {
    ModelingPanelWidgets& w = screen.tools.modeling;
    ToolPanelValues& v = screen.tools.values;
    if (&button == w.undoButton) {
        undoLastEdit();
    } else if (&button == w.redoButton) {
        redoLastEdit();
    } else if (&button == w.heightSurfaceButton) {
        chooseHeightSurfaceImage(v.heightSurfaceSize);
    } else if (&button == w.buildTubeButton || &button == w.buildSurfaceButton) {
        creationTools_.buildSweepObject();
        bindToolPanelsToCurrentObject();
    } else if (&button == w.attachSoundButton) {
        if (currentObject != nullptr) attachSoundFile(*currentObject);
        // Until sound playback lands the button says so.
        tellNotBuiltYet();
    } else if (currentObject == nullptr) {
        // Every other command needs an object; without one the press is
        // still the panel's.
        return isOneOf(button, {w.mergeButton, w.deleteObjectButton, w.arrayButton, w.duplicateButton,
                                w.cutButton, w.applyWeightsButton, w.flipFacesButton, w.flatFacesButton,
                                w.hierarchyButton, w.deletePointButton, w.detachSelectionButton});
    } else if (&button == w.mergeButton) {
        const bool grouped = currentObject->groupLeader != nullptr ||
                             std::any_of(mergeList.begin(), mergeList.end(),
                                         [](const SceneObject* o) { return o->groupLeader != nullptr; });
        if (grouped) {
            showMessage(label(label::kMergeRefusedTitle), label(label::kMergeRefusedLine1),
                        label(label::kMergeRefusedLine2), " ");
            return true;
        }
        mergeObjectsInto(scene, *currentObject, mergeList);
        scene.modified = true;
    } else if (&button == w.deleteObjectButton) {
        deleteCurrentObject();
    } else if (&button == w.arrayButton) {
        makeArrayOfCurrentObject();
    } else if (&button == w.duplicateButton) {
        duplicateCurrentObject();
    } else if (&button == w.cutButton) {
        if (secondObject == nullptr) return true;
        recomputeObjectNormals(scene, *currentObject, v.normalsSmoothSharp, v.normalsWeld);
        recomputeObjectNormals(scene, *secondObject, v.normalsSmoothSharp, v.normalsWeld);
        cutObjectWith(scene, *currentObject, *secondObject, v.cutKeepsBoth);
        w.tabs->select(0);
        pressTranslationTool();
        scene.modified = true;
    } else if (&button == w.applyWeightsButton) {
        applyWeightsToObject(*currentObject);
    } else if (&button == w.hierarchyButton) {
        rebuildHierarchyBones(*currentObject);
    } else if (&button == w.flipFacesButton) {
        reverseWinding(*currentObject, true);
        meshEdited(*currentObject);
    } else if (&button == w.flatFacesButton) {
        setCursor(CursorShape::Wait);
        flattenSelectedTriangles(*currentObject);
        meshEdited(*currentObject);
        setCursor(CursorShape::Arrow);
    } else if (&button == w.deletePointButton) {
        deleteOpenTrajectoryPoint(scene);
        w.deletePointButton->enabled = false;
        screen.modelingPanel->setVisible(false);
        scene.modified = true;
    } else if (&button == w.detachSelectionButton) {
        askConfirmation(label(label::kDetachSelectionTitle), label(label::kDetachSelectionLine), " ", " ");
    } else {
        return false;
    }
    return true;
}

bool Application::runMappingCommand(Control3d& button) {
    const auto& buttons = screen.tools.mapping.coordinateButtons;
    const auto found = std::find(buttons.begin(), buttons.end(), &button);
    if (found == buttons.end()) return false;
    if (currentObject == nullptr) return true;
    SceneObject& object = *currentObject;
    switch (found - buttons.begin()) {
        case 0: copySecondTexcoords(object); break;
        case 1: projectTexcoordsByMode(object, 1); break;
        case 2: projectTexcoordsByMode(object, 3); break;
        case 3: projectTexcoordsByMode(object, 6); break;
        case 4: projectTexcoordsOnXy(object); break;
        default: layOutSphereTexcoords(object); break;
    }
    meshEdited(object);
    return true;
}

bool Application::runAnimationCommand(Control3d& button) {
    AnimationPanelWidgets& w = screen.tools.animation;
    SceneObject* target = w.cameraMode ? scene.cameraObject() : currentObject;
    if (&button == w.newButton) {
        createAnimation();
    } else if (&button == w.deleteButton) {
        deleteSelectedAnimation();
    } else if (&button == w.openFileButton) {
        if (target != nullptr) chooseAnimationFileToOpen(*target);
    } else if (&button == w.saveFileButton) {
        if (target != nullptr) chooseAnimationFileTarget(*target);
    } else {
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Commands

void Application::meshEdited(SceneObject& object) {
    object.meshChanged();
    uploadObjectMesh(object);
    scene.modified = true;
}

void Application::deleteCurrentObject() {
    SceneObject* object = currentObject;
    const bool carriesCopies =
        std::any_of(object->links.begin(), object->links.end(), [](const ObjectLink& l) { return l.object != nullptr; });
    if (carriesCopies) {
        showMessage(label(label::kModelingDeleteObjectButton), label(label::kDeleteRefusedLine), " ", " ");
        return;
    }
    // The step keeps the object, its place and what pointed at it, so that
    // an undo brings it back as it was, current again.
    UndoStep step = removeObjectsWithUndo(scene, {object});
    step.undo = [this, putBack = std::move(step.undo), object, serial = object->serial] {
        putBack();
        if (SceneObject* back = scene.findObject(object, serial)) currentObject = back;
    };
    undoHistory.record(std::move(step));
    forgetAbsentObjects();
    bindToolPanelsToCurrentObject();
    scene.modified = true;
}

void Application::duplicateCurrentObject() {
    setCursor(CursorShape::Wait);
    const bool inPlace = screen.tools.values.duplicateInPlace;
    const Vec3 offset{inPlace ? 0.0f : copySpacing(scene, *currentObject).x, 0.0f, 0.0f};
    const std::size_t before = scene.objectCount();
    SceneObject& copy = duplicateObject(scene, *currentObject, offset);
    if (inPlace && copy.groupLeader == nullptr) {
        processInPlaceDuplicate(scene, copy);
        recomputeObjectNormals(scene, copy, screen.tools.values.normalsSmoothSharp, screen.tools.values.normalsWeld);
    }
    recordObjectsAdded(objectsAddedSince(before));
    bindToolPanelsToCurrentObject();
    scene.modified = true;
    setCursor(CursorShape::Arrow);
}

void Application::makeArrayOfCurrentObject() {
    setCursor(CursorShape::Wait);
    ToolPanelValues& v = screen.tools.values;
    recomputeObjectNormals(scene, *currentObject, v.normalsSmoothSharp, v.normalsWeld);
    const Vec3 spacing = copySpacing(scene, *currentObject);
    const std::vector<SceneObject*> copies = makeInstanceArray(scene, *currentObject, v.arrayColumns, v.arrayRows, spacing);
    if (!copies.empty()) {
        recordObjectsAdded(copies);
        scene.modified = true;
    }
    setCursor(CursorShape::Arrow);
}

void Application::askDetachFromParent() {
    if (currentObject == nullptr || currentObject->parent == nullptr) return;
    const int line2 = currentObject->groupLeader != nullptr ? label::kDetachFromParentLine2Alt
                                                            : label::kDetachFromParentLine2;
    askConfirmation(label(label::kDetachFromParentTitle), label(label::kDetachFromParentLine1), label(line2), " ");
}

void Application::detachCurrentFromParent() {
    SceneObject* object = currentObject;
    if (object == nullptr || object->parent == nullptr) return;
    // It keeps where it stands: its world place becomes its own.
    const Mat4& world = object->worldMatrix;
    object->parent->removeChild(object);
    object->position = {world.m[3][0], world.m[3][1], world.m[3][2]};
    rebuildWorldMatrix(*object);
    currentObject = nullptr;
    bindToolPanelsToCurrentObject();
    scene.modified = true;
}

void Application::createAnimation() {
    SceneObject* target = screen.tools.animation.cameraMode ? scene.cameraObject() : currentObject;
    if (target == nullptr) return;
    Animation* animation = animationOf(scene, target);
    if (animation == nullptr) {
        animation = &scene.addAnimation(target->name);
        animation->target = target;
        animation->cameraFlag = target == scene.cameraObject() ? 1 : 0;
        if (target->animation == nullptr) target->animation = animation;
    }
    screen.tools.currentAnimation = &animation->addSequence(kNewAnimationName);
    scene.modified = true;
    refreshAnimationList();
}

void Application::deleteSelectedAnimation() {
    Sequence* sequence = screen.tools.currentAnimation;
    if (sequence == nullptr) return;
    screen.tools.currentAnimation = nullptr;
    removeSequence(scene, *sequence);
    if (screen.timelinePanel != nullptr) screen.timelinePanel->setVisible(false);
    scene.modified = true;
    refreshAnimationList();
}

// ---------------------------------------------------------------------------
// Tools and bindings

void Application::releaseModelingTools() {
    screen.tools.modeling.editTools->clear();
    screen.tools.modeling.createTools->clear();
}

void Application::pressTranslationTool() {
    ImageButton& translation = *screen.tools.modeling.translation;
    translation.selectInGroup();
}

void Application::bindToolPanelsToCurrentObject() {
    ToolPanelWidgets& tools = screen.tools;
    ToolPanelValues& v = tools.values;
    ModelingPanelWidgets& m = tools.modeling;
    SettingsPanelWidgets& s = tools.settings;
    SceneObject* o = currentObject;
    Vec3& position = o != nullptr ? o->position : v.position;
    Vec3& angles = o != nullptr ? o->angles : v.angles;
    Vec3& axis = o != nullptr ? o->rotationAxis : v.rotationAxis;
    Vec3& scale = o != nullptr ? o->scale : v.scale;
    if (o != nullptr) v.wantedSize = componentMul(o->boundsMax - o->boundsMin, o->scale);
    for (int i = 0; i < 3; ++i) {
        const auto k = static_cast<std::size_t>(i);
        bindBox(m.positionBoxes[k], (&position.x) + i);
        bindBox(m.axisBoxes[k], (&axis.x) + i);
        bindBox(m.scaleBoxes[k], (&scale.x) + i);
        bindBox(m.sizeBoxes[k], (&v.wantedSize.x) + i);
        bindSlider(m.angleSliders[k], (&angles.x) + i);
    }
    bindSlider(m.rotationAngleSlider, o != nullptr ? &o->rotationAngle : &v.rotationAngle);
    bindBox(m.boneNumberBox, o != nullptr ? &o->boneNumber : &v.boneNumber);
    bindCheck(m.soundOnCheck, o != nullptr ? &o->soundEnabled : &v.soundOn);
    bindCheck(m.soundLoopCheck, o != nullptr ? &o->soundLoop : &v.soundLoop);
    bindSlider(m.soundVolumeSlider, o != nullptr ? &o->soundVolume : &v.soundVolume);
    screen.modelingPanel->title = o != nullptr ? o->name : std::string();

    s.objectInfo->text = o != nullptr ? objectInformation(*o, label(label::kModelingPrimitiveSizeBox)) : std::string(" ");
    s.nameBox->boundString = o != nullptr ? &o->name : nullptr;
    s.nameBox->setText(o != nullptr ? std::string_view(o->name) : std::string_view());
    s.nameBox->enabled = o != nullptr;
    bindSlider(s.opacitySlider, o != nullptr ? &o->opacity : &v.opacity);
    s.colourSwatch->boundColour = o != nullptr ? &o->materialColours[0] : &v.colour;
    refreshGroupPage();
    for (std::size_t slot = 0; slot < s.textureSlotButtons.size(); ++slot) {
        const SceneTexture* texture = o != nullptr ? o->textures[slot] : nullptr;
        s.textureSlotButtons[slot]->caption =
            texture != nullptr ? texture->fileName : std::string(kTextureSlotNames[slot]);
    }
    SceneObject* light = scene.lightObject();
    Vec3& lightPosition = light != nullptr ? light->position : v.lightPosition;
    for (int i = 0; i < 3; ++i) bindBox(s.lightBoxes[static_cast<std::size_t>(i)], (&lightPosition.x) + i);
}

void Application::refreshGroupPage() {
    SettingsPanelWidgets& s = screen.tools.settings;
    const SceneObject* leader = currentObject != nullptr ? groupLeaderOf(scene, *currentObject) : nullptr;
    if (leader == nullptr) {
        s.groupCaption->text = currentObject != nullptr ? label(label::kGroupNoneCaption) : std::string(" ");
        s.groupMembersText->text = " ";
        return;
    }
    s.groupCaption->text = label(label::kGroupCaptionPrefix) + "   " + leader->name;
    // As many names as the page's width shows; the count says the rest.
    constexpr std::size_t kNamesShown = 48;
    const std::vector<SceneObject*> members = groupMembers(scene, *leader);
    std::string names;
    for (const SceneObject* member : members) {
        if (names.size() > kNamesShown) {
            names += ", ...";
            break;
        }
        names += (names.empty() ? "" : ", ") + member->name;
    }
    s.groupMembersText->text =
        label(label::kGroupMembersCaption) + " " + std::to_string(members.size()) + (names.empty() ? "" : "  (" + names + ")");
}

bool Application::groupPageOpen() const {
    const SettingsPanelWidgets& s = screen.tools.settings;
    return screen.settingsPanel != nullptr && screen.settingsPanel->visible && s.tabs != nullptr && s.tabs->selected == 1;
}

void Application::refreshAnimationList() {
    AnimationPanelWidgets& w = screen.tools.animation;
    ToolPanelValues& v = screen.tools.values;
    SceneObject* target = w.cameraMode ? scene.cameraObject() : currentObject;
    w.listed.clear();
    if (Animation* animation = animationOf(scene, target)) {
        for (const auto& sequence : animation->sequences) w.listed.push_back(sequence.get());
    }
    ImageList& list = *w.animations;
    while (w.cellPool.size() < w.listed.size()) {
        ImageButton& cell = addImageListCell(list, "cadre1.dds", "cadre2.dds", ui.drawing().image("animation.dds"));
        cell.width = cell.height = kAnimationCellSize;
        w.cellPool.push_back(&cell);
    }
    list.items.clear();
    list.selectedIndex = -1;
    for (std::size_t i = 0; i < w.listed.size(); ++i) {
        ImageButton& cell = *w.cellPool[i];
        cell.caption = w.listed[i]->name;
        cell.checked = w.listed[i] == screen.tools.currentAnimation;
        if (cell.checked) list.selectedIndex = static_cast<int>(i);
        list.items.push_back(&cell);
    }
    list.layout();
    Sequence* chosen = list.selectedIndex >= 0 ? w.listed[static_cast<std::size_t>(list.selectedIndex)] : nullptr;
    if (chosen != nullptr) {
        v.animationName = chosen->name;
        w.nameBox->boundString = &chosen->name;
        w.nameBox->setText(chosen->name);
        bindCheck(w.repeatCheck, &chosen->repeat);
    }
    if (list.listTemplate->dependants != nullptr) list.listTemplate->dependants->showDependants(chosen != nullptr);
}

}  // namespace morvanex
