#include "app/button_hints.h"

#include <utility>

#include "app/application.h"
#include "ui/image_button.h"
#include "ui/label_numbers.h"

namespace morvanex {

void addButtonHints(Application& app) {
    const ModelingPanelWidgets& m = app.screen.tools.modeling;
    const TopBarWidgets& top = app.screen.top;
    const CameraPanelWidgets& camera = app.screen.camera;
    const std::pair<ImageButton*, int> hints[] = {
        {m.translation, label::kMoveToolHint},
        {m.translationX, label::kMoveXToolHint},
        {m.translationY, label::kMoveYToolHint},
        {m.translationZ, label::kMoveZToolHint},
        {m.translationPlane, label::kSnapVertexToolHint},
        {m.translationPlane2, label::kAlignVerticesToolHint},
        {m.shadowPlane, label::kShadowToolHint},
        {m.rotation, label::kRotateToolHint},
        {m.rotationX, label::kRotateXToolHint},
        {m.rotationY, label::kRotateYToolHint},
        {m.rotationZ, label::kRotateZToolHint},
        {m.bezier, label::kBezierToolHint},
        {m.cloner, label::kClonerToolHint},
        {m.rotationAxis, label::kAxisToolHint},
        {m.resize, label::kResizeToolHint},
        {m.faceSelection, label::kFaceToolHint},
        {m.groupSelection, label::kGroupToolHint},
        {m.weightSelection, label::kWeightToolHint},
        {m.fusion, label::kMergeToolHint},
        {m.cutter, label::kCutterToolHint},
        {m.soundTool, label::kSoundToolHint},
        {m.spot, label::kSpotToolHint},
        {m.quad, label::kPlaneToolHint},
        {m.sphere, label::kSphereToolHint},
        {m.cube, label::kBoxToolHint},
        {m.tube, label::kTubeToolHint},
        {m.surface, label::kSurfaceToolHint},
        {m.helix, label::kHelixToolHint},
        {m.triangleFace, label::kTriangleToolHint},
        {m.quadFace, label::kQuadFaceToolHint},
        {m.heightSurface, label::kHeightSurfaceToolHint},
        {m.grid, label::kGridToolHint},
        {top.fullScreen, label::kFullScreenHint},
        {top.wireframe, label::kWireframeHint},
        {top.autoZoom, label::kAutoZoomHint},
        {top.walk, label::kWalkHint},
        {top.cinematic, label::kCinematicHint},
        {top.makeGhost, label::kMakeGhostHint},
        {top.clearGhosts, label::kClearGhostsHint},
        {top.enterGroup, label::kEnterGroupHint},
        {top.leaveGroup, label::kLeaveGroupHint},
        {top.rectangleSelection, label::kRectangleSelectionHint},
        {top.reopenTube, label::kReopenTubeHint},
        {top.reopenSurface, label::kReopenSurfaceHint},
        {top.lockY, label::kLockHeightHint},
        {top.repeatTube, label::kRepeatTubeHint},
        {camera.eastView, label::kEastViewHint},
        {camera.topView, label::kTopViewHint},
        {camera.westView, label::kWestViewHint},
        {camera.southView, label::kSouthViewHint},
        {camera.northView, label::kNorthViewHint},
    };
    for (const auto& [button, number] : hints) {
        if (button == nullptr) continue;
        // By number, so that the text follows the language at each drawing.
        button->hintText = app.labels.frenchText(number);
        button->hintLabel = number;
    }
}

}  // namespace morvanex
