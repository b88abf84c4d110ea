// SceneObject: the one generic scene node. Meshes, the camera, the light
// marker, editor markers and generated primitives are all SceneObjects.
//
// Members named only by a letter (flagP, valueS, ...) are values whose use
// belongs to other parts of the program; the scene model keeps them so that
// they are written back exactly as read.
//
// Names are std::string holding 8-bit Windows-1252 bytes, as in scene files.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "scene/curve_point.h"
#include "scene/edit_history.h"
#include "scene/math.h"
#include "scene/mesh_vertex.h"
#include "scene/object_link.h"
#include "scene/render_state.h"
#include "scene/scene_light.h"
#include "scene/scene_limits.h"

namespace morvanex {

class Application;
struct Animation;
struct SceneSound;
struct SceneTexture;

// Slot labels of the three texture slots, as shown in the panels.
inline constexpr std::array<std::string_view, kTextureSlots> kTextureSlotNames{
    "Texture 1", "Texture 2", "Texture 3"};

// One of the three light parameter blocks of an object.
struct LightParameterBlock {
    std::array<float, 4> values{};
    std::array<std::int32_t, 3> integers{};
};

// Curves and settings from which the timed-path sweep tool built an object.
struct TimedPathBlock {
    bool present = false;
    // Path values 1 to 8; value 6 (index 5) is the default step of timed
    // points read from files that store none.
    std::array<std::int32_t, 8> values{};
    // Paths A to D of timed points. B, C and D run in parallel and share one
    // length.
    std::array<std::vector<CurvePoint>, 4> paths;
    bool pathDClosed = false;
};

// Curves and settings of the other sweep tool.
struct SweepCurveBlock {
    bool present = false;
    std::array<std::int32_t, 7> values{};  // curve block values 1 to 7
    std::array<std::vector<CurvePoint>, 4> curves;
};

// Fourth list of the legacy block of old files: 16 raw bytes (three i32,
// two bytes and two more bytes) and seven texts, passed through unchanged.
struct LegacyEntry {
    std::array<std::uint8_t, 16> header{};
    std::array<std::string, 7> texts;
};

// Search structures another layer derives from an object's mesh (the
// picking hierarchy). The object owns it so that it goes with the object;
// it is dropped whenever the mesh changes and rebuilt on next use.
struct DerivedMeshData {
    virtual ~DerivedMeshData() = default;
};

// Pose values playback keeps per object between key images.
struct AnimatedPose {
    Vec3 position;
    Vec3 angles;  // radians
    Quat rotation;
    Vec3 scale{1.0f, 1.0f, 1.0f};
    float opacity = 1.0f;
};

struct SceneObject {
    explicit SceneObject(std::string objectName);

    // Objects are identities: other records point at them. Copy meshes or
    // values explicitly rather than whole objects.
    SceneObject(const SceneObject&) = delete;
    SceneObject& operator=(const SceneObject&) = delete;

    // The flag V value a fresh object with this name starts with: false for
    // the two ear objects, true otherwise.
    static bool defaultFlagV(std::string_view objectName);

    // --- Identity -----------------------------------------------------------
    Application* application = nullptr;  // owning application, non-owning
    std::string name;
    // Given by the scene when the object first joins it, never reused, so
    // that a record naming an object can tell it from a later object that
    // happens to sit at the same address. 0 before then.
    std::uint64_t serial = 0;
    // 0 outside saving and loading, else the 1-based position in the file
    // being written or read; later records refer to objects by it.
    std::int32_t saveIndex = 0;
    bool transient = false;  // never saved
    bool listed = true;      // unlisted objects are not saved

    // --- Mesh ---------------------------------------------------------------
    // The vertex and index counts are the sizes of the arrays.
    std::vector<MeshVertex> vertices;
    std::vector<std::int32_t> indices;  // three per triangle
    std::int32_t triangleCount = 0;     // index count / 3 as stored
    std::int32_t meshValueA = 0;        // a second count of the generator
    std::int32_t meshValueB = 0;
    bool meshFlagA = false;
    bool meshFlagB = false;
    bool meshFlagC = false;
    // Local bounding box, object space; recomputeBounds() refreshes it.
    Vec3 boundsMin;
    Vec3 boundsMax;
    Vec3 boundsCentre;
    // One entry per triangle, non-zero when the face is selected.
    std::vector<std::uint8_t> faceSelected;
    // One entry per vertex, non-zero when the vertex is selected (skin weights).
    std::vector<std::uint8_t> vertexSelected;

    std::size_t vertexCount() const { return vertices.size(); }
    std::size_t indexCount() const { return indices.size(); }
    // Replaces the mesh: arrays, triangle count, face selection, bounds.
    void assignMesh(std::vector<MeshVertex> newVertices,
                    std::vector<std::int32_t> newIndices);
    // The same with the bounds of the vertex positions already known (found
    // while the vertices were made), so that large meshes are not walked again.
    void assignMesh(std::vector<MeshVertex> newVertices, std::vector<std::int32_t> newIndices,
                    Vec3 knownMin, Vec3 knownMax);
    void recomputeBounds();
    // Drops what was derived from the mesh. assignMesh() calls it; code that
    // edits vertices or indices in place calls it after the edit.
    void meshChanged() {
        pickData.reset();
        ++meshRevision;
    }
    // Counts the changes of the mesh, so that what is derived from it can
    // tell when to be made again.
    std::uint64_t meshRevision = 0;
    // Built by the picking code on first use.
    std::unique_ptr<DerivedMeshData> pickData;

    // --- Transform ----------------------------------------------------------
    // World = baseMatrix x Scale(scale), rotated about the pivot, then
    // translated by position (rebuilt by the transform code).
    Mat4 baseMatrix;   // the stored local matrix; identity unless imported
    Mat4 worldMatrix;  // derived
    Vec3 pivot;        // object's scaled frame
    Vec3 position;     // parent space
    Vec3 positionOffset;
    Vec3 rotationAxis{0.0f, 1.0f, 0.0f};
    float rotationAngle = 0.0f;  // radians about rotationAxis
    Quat orientation;            // kept in step with axis and angle
    Vec3 angles;                 // per-axis angles of the rotation tools, radians
    Vec3 scale{1.0f, 1.0f, 1.0f};
    float opacity = 1.0f;
    bool secondMatrixFlag = false;
    Mat4 secondMatrix;

    // --- Material -----------------------------------------------------------
    // The four RGBA colours; an opaque grey until a generator, an importer or
    // a file sets them.
    std::array<Vec4, 4> materialColours{
        Vec4{0.7f, 0.7f, 0.7f, 1.0f}, Vec4{0.7f, 0.7f, 0.7f, 1.0f},
        Vec4{0.7f, 0.7f, 0.7f, 1.0f}, Vec4{0.7f, 0.7f, 0.7f, 1.0f}};
    // Render switches 1 to 10, index = switch - 1.
    std::array<bool, kRenderSwitches> renderSwitches{};
    // Render values 1 to 10, index = value - 1.
    std::array<float, kRenderValues> renderValues{};
    // Texture slots "Texture 1" to "Texture 3": slot 1 is the colour texture,
    // or the normal map when the normal-map switch is on. Shared records of
    // the scene's texture cache; never owned here.
    std::array<SceneTexture*, kTextureSlots> textures{};
    std::array<bool, kTextureSlots> textureEnabled{};

    bool renderSwitch(int number) const;  // number 1..10
    void setRenderSwitch(int number, bool on);
    bool envMapEnabled() const { return renderSwitches[0]; }      // switch 1
    void setEnvMapEnabled(bool on) { renderSwitches[0] = on; }
    bool normalMapEnabled() const { return renderSwitches[6]; }   // switch 7
    void setNormalMapEnabled(bool on) { renderSwitches[6] = on; }
    bool reflective() const { return renderSwitch(kSwitchReflective); }
    bool reflectiveAlternate() const { return renderSwitch(kSwitchReflectiveAlternate); }
    bool dynamicCube() const { return renderSwitch(kSwitchDynamicCube); }
    bool isMirror() const { return renderSwitch(kSwitchMirror); }
    bool shadowMapEnabled() const { return renderSwitch(kSwitchShadowMap); }

    // --- Selection ------------------------------------------------------------
    bool selectable = true;  // can be picked and made current; interface markers cannot
    bool ghost = false;      // drawn last and never picked

    // --- Drawing (run-time) -----------------------------------------------------
    ObjectRenderState render;
    // Buffers, constant blocks and images of the renderer; released with
    // the object.
    ObjectGpuHandle gpu;

    // --- Lights -------------------------------------------------------------
    bool objectLightFlag = false;
    bool objectLightFlagInverse = true;  // kept as the negation of the above
    std::int32_t objectLightCount = 1;   // own slots in use
    std::array<SceneLight, kObjectLightSlots> lights{};
    bool lightFlagB = false;
    std::int32_t lightMode = 0;
    std::array<LightParameterBlock, kLightParameterBlocks> lightParameters{};

    // --- Links --------------------------------------------------------------
    std::vector<ObjectLink> links;
    std::string linkGroupName;

    // --- Hierarchy (all non-owning) -------------------------------------------
    SceneObject* parent = nullptr;
    std::vector<SceneObject*> children;  // the child tree saved with animations
    Animation* animation = nullptr;      // the animation that drives this object
    SceneObject* groupLeader = nullptr;

    // --- Edit histories (undo and redo of the object's own edits) -------------------
    VertexHistory vertexHistory;       // skin-weight edits
    SnapshotHistory transformHistory;  // moves, turns and scalings

    // Appends child unless it is already listed, and makes this its parent.
    void addChild(SceneObject& child);
    // Takes child out of the list; clears its parent when it was this.
    bool removeChild(const SceneObject* child);

    // --- Skin ---------------------------------------------------------------
    bool boneNumberFlag = true;
    std::int32_t boneNumber = 0;  // slot 0..59 of the animation's bone table

    // --- Curves -------------------------------------------------------------
    // Profile curves 1 to 3, also the deformers along x, z and y.
    std::array<FlaggedCurve, kProfileCurves> profileCurves;
    TimedPathBlock timedPath;
    SweepCurveBlock sweepCurves;
    FlaggedCurve thirdPath;  // timed points

    // --- Sound --------------------------------------------------------------
    SceneSound* sound = nullptr;  // shared record of the scene's sound cache
    std::string soundFileName;    // empty when none
    bool soundFlagA = false;
    bool soundEnabled = false;
    float soundValue = 0.0f;
    bool soundFlagB = false;
    float soundVolume = 1.0f;
    bool soundFlagC = false;
    bool soundLoop = false;

    // --- Animation state (run-time) --------------------------------------------
    AnimatedPose previousPose;  // pose at the previous key image
    AnimatedPose currentPose;   // interpolated pose of this frame
    Vec3 lastPathPoint;         // path mode, parent space
    Quat travelOrientation;     // path mode turn along the direction of travel

    // --- Lettered flags and values --------------------------------------------
    bool flagP = false;
    float valueP = 0.0f;
    bool flagE = false;
    bool flagF1 = true;  // when false after reading, opacity is forced to 0.2
    bool flagF2 = false;
    bool flagG = false;
    float valueH1 = 0.0f;
    float valueH2 = 0.0f;
    bool flagI1 = false;
    bool flagI2 = false;
    bool flagS = false;
    float valueS = 0.0f;
    std::int32_t valueT = 0;
    bool flagV = true;  // see defaultFlagV()
    float valueV = 0.0f;
    bool archFlag = false;  // always written true for objects named "Arche"
    bool flagW = false;
    float valueW = 2.0f;
    float valueX = 1.2f;  // a stored 0 is read as 1.2

    // --- Style ----------------------------------------------------------------
    bool styleFlag = false;
    std::array<float, 3> styleValues{0.0f, 0.0f, 0.55f};
    Vec4 styleColour{0.87f, 0.87f, 0.87f, 1.0f};
    std::int32_t styleMode = 1;
    float styleScale = 1.0f;

    // --- Extension values -------------------------------------------------------
    std::int32_t extensionBlockMarker = 1;  // always written as 1
    std::array<float, 2> extensionValuesA{5.0f, 15.0f};
    bool extensionFlagA = false;
    bool extensionCopyFile = false;  // extensionFileName is copied beside the scene
    std::string extensionFileName = " ";
    bool extensionFlagC = false;
    std::int32_t extensionValueY = 0;
    std::int32_t extensionMode = 1;  // 1: the values below are present
    float extensionValueZ = 1.0f;
    Vec3 extensionDirection{-0.458f, 0.074f, 0.145f};
    Vec4 extensionColour1{0.7f, 0.7f, 0.7f, 1.0f};
    std::array<float, 2> extensionValuesB{8.4f, 1.528f};
    Vec4 extensionColour2{0.7f, 0.7f, 0.7f, 1.0f};

    // --- Legacy block of old files, passed through ---------------------------------
    std::vector<std::array<std::uint8_t, 80>> legacyRecords;
    // The four parallel point arrays, one std::array per entry so that they
    // cannot differ in length; at most kLegacyArrayCapacity entries.
    std::vector<std::array<Vec3, 4>> legacyPoints;
    std::vector<std::string> legacyNames;
    std::vector<LegacyEntry> legacyEntries;
};

}  // namespace morvanex
