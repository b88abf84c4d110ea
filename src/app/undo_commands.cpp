// Undo and redo as the editor drives them, and the objects the generators
// add to the scene.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>

#include "app/application.h"
#include "app/pending_tool_hooks.h"
#include "app/shell_services.h"
#include "base/text_encoding.h"
#include "base/trace_log.h"
#include "image/image_codec.h"
#include "image/image_files.h"
#include "modeling/object_transform.h"
#include "modeling/primitives.h"
#include "ui/edit_box.h"
#include "ui/image_button.h"
#include "ui/label_numbers.h"
#include "ui/slider.h"

namespace morvanex {

namespace {

// Cells of a height surface: one per pixel, fewer for large images, so
// that the mesh stays within a few tens of megabytes.
constexpr std::int64_t kHeightSurfaceMaxCells = 256 * 256;

// Pixels packed as R | G << 8 | B << 16 | A << 24.
HeightImage heightImageFrom(const DecodedImage& image) {
    HeightImage heights;
    const ImageLevel& level = image.levels.front();
    heights.width = level.width;
    heights.height = level.height;
    const std::size_t count = static_cast<std::size_t>(level.width) * static_cast<std::size_t>(level.height);
    if (level.bytes.size() < count * 4) return {};
    heights.pixels.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* p = &level.bytes[i * 4];
        heights.pixels[i] = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                            static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
    }
    return heights;
}

}  // namespace

SceneObject& Application::addPrimitive(std::unique_ptr<SceneObject> object) {
    SceneObject& added = scene.addObject(std::move(object));
    // Generators lay their vertices where the user placed them: the object
    // turns about its own middle, not about the world's origin far away.
    added.pivot = added.boundsCentre;
    rebuildWorldMatrix(added);
    recordObjectsAdded({&added});
    scene.modified = true;
    return added;
}

void Application::recordObjectsAdded(const std::vector<SceneObject*>& added) {
    if (added.empty()) return;
    for (SceneObject* object : added) {
        if (object->transformHistory.cursor < 0) {
            resetVertexHistory(*object);
            resetObjectHistory(*object);
        }
    }
    undoHistory.record(objectsAddedStep(scene, added));
}

std::vector<SceneObject*> Application::objectsAddedSince(std::size_t count) const {
    std::vector<SceneObject*> added;
    for (std::size_t i = count; i < scene.objectCount(); ++i) added.push_back(scene.objects()[i].get());
    return added;
}

void Application::undoLastEdit() { stepEditHistory(false); }
void Application::redoLastEdit() { stepEditHistory(true); }

void Application::stepEditHistory(bool redo) {
    SceneObject* object = currentObject;
    const ImageButton* weightTool = screen.tools.modeling.weightSelection;
    if (object != nullptr && weightTool != nullptr && weightTool->checked) {
        if (redo ? redoVertices(*object) : undoVertices(*object)) meshEdited(*object);
        return;
    }
    if (trajectoryPointOpen()) {
        ObjectState* point = openTrajectoryPoint(scene);
        if (point != nullptr && (redo ? redoPoint(*point) : undoPoint(*point))) {
            rebindOpenTrajectoryPoint(scene);
            scene.modified = true;
        }
        return;
    }
    bool changed = object != nullptr && (redo ? redoObject(*object) : undoObject(*object));
    if (!changed) changed = redo ? undoHistory.redo() : undoHistory.undo();
    if (!changed) return;
    forgetAbsentObjects();
    bindToolPanelsToCurrentObject();
    scene.modified = true;
}

void Application::recordTransformEdit() {
    if (trajectoryPointOpen()) {
        if (ObjectState* point = openTrajectoryPoint(scene)) snapshotPoint(*point);
        return;
    }
    if (currentObject != nullptr) snapshotObject(*currentObject);
}

void Application::forgetAbsentObjects() {
    const auto gone = [this](const SceneObject* object) { return object != nullptr && scene.indexOf(object) < 0; };
    if (gone(currentObject)) currentObject = nullptr;
    if (gone(secondObject)) secondObject = nullptr;
    if (gone(attachedObject)) attachedObject = nullptr;
    if (gone(playbackTarget_)) playbackTarget_ = nullptr;
    std::erase_if(mergeList, gone);
    viewTools.forgetAbsentObjects(&scene);
}

bool Application::isTransformWidget(const Control3d& widget) const {
    const ModelingPanelWidgets& m = screen.tools.modeling;
    const auto in = [&widget](const auto& list) {
        return std::any_of(list.begin(), list.end(), [&widget](const Control3d* w) {
            if (w == &widget) return true;
            const auto* slider = dynamic_cast<const Cursor*>(w);
            return slider != nullptr && slider->editBox == &widget;
        });
    };
    const std::array<const Control3d*, 1> angle{m.rotationAngleSlider};
    return in(m.positionBoxes) || in(m.axisBoxes) || in(m.scaleBoxes) || in(m.angleSliders) || in(angle);
}

void Application::onEditCommit(Control3d& editBox) {
    if (isTransformWidget(editBox)) recordTransformEdit();
    creationTools_.sweepSettingChanged(editBox);
}

void Application::onSliderDrag(Control3d& slider) { creationTools_.sweepSettingChanged(slider); }

void Application::onSliderRelease(Control3d& slider) {
    if (isTransformWidget(slider)) recordTransformEdit();
}

void Application::chooseHeightSurfaceImage(float sizePerPixel) {
    FileDialogRequest request;
    request.filters = {{"images", {"bmp", "jpg", "png", "tga", "dds"}}};
    request.startFolder = folders.documents;
    fileDialogs.chooseFile(request, [this, sizePerPixel](FileDialogAnswer answer) {
        if (!answer) return;
        setCursor(CursorShape::Wait);
        std::vector<std::uint8_t> bytes;
        std::uint64_t size = 0;
        ImageResult decoded;
        if (!readImageFile(*answer, bytes, size)) {
            decoded = ImageResult::failure("the file cannot be read");
        } else {
            decoded = decodeImageRgba8(bytes);
        }
        const HeightImage heights = decoded ? heightImageFrom(*decoded.image) : HeightImage{};
        if (heights.pixels.empty()) {
            setCursor(CursorShape::Arrow);
            const std::u8string name = answer->filename().u8string();
            const std::string why = decoded.error.empty() ? "the image holds no pixels" : decoded.error;
            const std::string text = "No height surface from \"" + std::string(name.begin(), name.end()) + "\": " + why + ".";
            tellUser(label::kCannotOpenTitle, cp1252FromUtf8(text));
            return;
        }
        std::int64_t columns = heights.width;
        std::int64_t rows = heights.height;
        if (columns * rows > kHeightSurfaceMaxCells) {
            const double shrink = std::sqrt(static_cast<double>(kHeightSurfaceMaxCells) / static_cast<double>(columns * rows));
            columns = std::max<std::int64_t>(1, static_cast<std::int64_t>(static_cast<double>(columns) * shrink));
            rows = std::max<std::int64_t>(1, static_cast<std::int64_t>(static_cast<double>(rows) * shrink));
        }
        addPrimitive(makeHeightSurface(heights, sizePerPixel, static_cast<int>(columns), static_cast<int>(rows)));
        setCursor(CursorShape::Arrow);
    });
}

}  // namespace morvanex
