// The widgets of the four tool panels (settings, modeling, texture mapping,
// animation) that the commands and refreshes recognise, and the values the
// application owns for the widgets whose variable is not a scene field.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "scene/math.h"

namespace morvanex {

class Control3d;
class ControleGroupe;
class CheckBox;
class Colorsel;
class Cursor;
class EditBox;
class Image;
class ImageButton;
class ImageList;
class Label;
class Onglet;
class Onglets;
class RadioButton;
struct Sequence;

// What the transform widgets show while no object is current, and the
// values no scene record keeps yet (the wanted size, the tool settings).
struct ToolPanelValues {
    // Stand-ins for the current object's transform.
    Vec3 position;
    Vec3 angles;
    Vec3 rotationAxis{0.0f, 1.0f, 0.0f};
    float rotationAngle = 0.0f;
    Vec3 scale{1.0f, 1.0f, 1.0f};
    int boneNumber = 0;
    float opacity = 1.0f;
    Vec4 colour{0.7f, 0.7f, 0.7f, 1.0f};
    // The size boxes: the wanted extent of the current object.
    Vec3 wantedSize;
    // Array of instance copies.
    int arrayColumns = 2;
    int arrayRows = 1;
    bool duplicateInPlace = false;
    bool cutKeepsBoth = false;
    // Primitives: the size value and the height surface's size.
    float primitiveSize = 10.0f;
    float heightSurfaceSize = 100.0f;
    // Sweeps: four sizes and two counts, then the tube's settings.
    std::array<float, 4> sweepSizes{20.0f, 20.0f, 21.0f, 21.0f};
    std::array<int, 2> sweepCounts{1, 1};
    int tubeSectionStep = 2;
    float tubeTurns = 1.0f;
    float helixPitch = 10.0f;
    float twist = 0.0f;      // radians the tube's last ring turns by
    float thickness = 0.0f;  // the inner wall's distance in, a fraction of the radius
    int sweepShape = 0;      // radios 202, 203, 204
    int tubeSmoothing = 0;   // radios 206, 207
    int sweepAxis = 1;       // the three radios at (185, 395): the axis the surface faces along
    std::array<bool, 7> sweepOptions{};  // 205, 217, 230, 502, 525, 532, (250, 395)
    int sweepCurvePoints = 4;
    int sweepProfilePoints = 4;
    std::array<float, 5> surfaceValues{100.0f, 100.0f, 10.0f, 2.0f, 1.0f};  // 221, 222, 225, 226, 437
    std::array<int, 2> surfaceCounts{10, 10};                              // 223, 224
    // Settings panel options without a scene field.
    bool normalsSmoothSharp = false;  // 25
    bool normalsWeld = false;         // 26
    bool applyToGroup = false;        // 24
    bool textureOpacity = false;      // 40
    bool animatedTexture = false;     // 49
    bool saveCube = false;            // 53
    std::array<bool, 3> reflectionFlags{};  // 44, 47, 531
    int lightSource = 0;              // radios 62, 63
    Vec3 lightPosition;               // boxes 67, 69, 71
    // Modeling options.
    std::array<bool, 3> pointOptions{};  // 125, 126, 127
    bool showVertices = false;           // 141
    bool faceSliceMode = false;          // capture faces by horizontal slice
    bool vertexSliceMode = false;        // capture vertices by horizontal slice
    bool selectThrough = false;          // the selection rectangle ignores facing
    bool displayOnly = false;            // 501
    bool spotOn = false;                 // 458
    bool soundOn = false;                // 154
    bool soundLoop = false;              // 157
    float soundVolume = 1.0f;            // 158
    // Texture mapping: four values and the switches of the slot shown.
    std::array<float, 4> mapping{0.0f, 0.0f, 1.0f, 1.0f};
    bool sharedMapping = false;            // 259
    std::array<bool, 3> mappingSwitches{};  // 260, 261, 262
    // Animation options of the selected animation.
    std::string animationName;
    int animationRole = 0;       // radios 303 to 307
    bool animationRepeat = false;    // 308
    bool animationAutoplay = false;  // 310
};

struct SettingsPanelWidgets {
    Onglets* tabs = nullptr;  // labels 15, 470, 16, 540, 17, 18
    Label* objectInfo = nullptr;             // "Size (...)" of the current object
    EditBox* nameBox = nullptr;              // the current object's name
    ImageButton* saveSelectionButton = nullptr;  // label 459
    ImageButton* updateMeshButton = nullptr;     // label 461
    ImageButton* importAnimatedButton = nullptr; // at (10, 370)
    ImageList* animatedEntries = nullptr;        // list at y = 410
    ImageButton* detachFromParentButton = nullptr;  // label 29
    Label* groupCaption = nullptr;           // label 466 and the leader's name
    Label* groupMembersText = nullptr;       // the members of the open group
    CheckBox* applyToGroupCheck = nullptr;   // label 24
    std::array<ImageButton*, 3> textureSlotButtons{};  // picture buttons at (250, 85 / 205 / 325)
    Colorsel* colourSwatch = nullptr;        // the first material colour
    Cursor* opacitySlider = nullptr;         // label 39
    CheckBox* textureOpacityCheck = nullptr; // label 40
    CheckBox* animatedTextureCheck = nullptr;  // label 49
    ImageButton* addFrameButton = nullptr;     // label 64
    ImageButton* removeFrameButton = nullptr;  // label 65
    CheckBox* liveReflectionCheck = nullptr;     // label 44
    CheckBox* frozenReflectionCheck = nullptr;   // label 47
    CheckBox* reflectionRefreshCheck = nullptr;  // label 531
    CheckBox* saveCubeCheck = nullptr;           // label 53
    ImageButton* recomputeNormalsButton = nullptr;  // label 27
    CheckBox* normalsOptionCheck = nullptr;         // label 25
    CheckBox* normalsSecondPassCheck = nullptr;     // label 26
    ImageButton* flipAllFacesButton = nullptr;      // label 28
    RadioButton* sceneLightsRadio = nullptr;   // label 62
    RadioButton* objectLightsRadio = nullptr;  // label 63
    std::array<EditBox*, 3> lightBoxes{};      // labels 67, 69, 71
};

struct ModelingPanelWidgets {
    Onglets* tabs = nullptr;  // labels 100, 101
    ControleGroupe* editTools = nullptr;    // the tools of the first tab
    ControleGroupe* createTools = nullptr;  // the primitives and sweeps of the second
    // First tab, by image file.
    ImageButton* translation = nullptr;     // "UI\translation.dds"
    ImageButton* translationX = nullptr;
    ImageButton* translationY = nullptr;
    ImageButton* translationZ = nullptr;
    ImageButton* translationPlane = nullptr;   // "UI\translationp.dds"
    ImageButton* translationPlane2 = nullptr;  // "UI\translationp2.dds"
    ImageButton* shadowPlane = nullptr;        // "UI\ombrep.dds"
    ImageButton* keyTool = nullptr;            // "UI\clé.dds", shares its place with translationp2
    ImageButton* rotation = nullptr;           // "UI\rotation1.dds"
    ImageButton* rotationX = nullptr;
    ImageButton* rotationY = nullptr;
    ImageButton* rotationZ = nullptr;
    ImageButton* bezier = nullptr;             // "UI\bezier.dds"
    ImageButton* cloner = nullptr;             // "UI\cloner1.dds"
    ImageButton* rotationAxis = nullptr;       // "UI\axerot.dds"
    ImageButton* resize = nullptr;             // "UI\resize.dds"
    ImageButton* faceSelection = nullptr;      // "UI\saisiefaces.dds"
    ImageButton* groupSelection = nullptr;     // "UI\saisiegroupe.dds"
    ImageButton* weightSelection = nullptr;    // "UI\saisiepoids.dds"
    ImageButton* fusion = nullptr;             // "UI\fusion.dds"
    ImageButton* cutter = nullptr;             // "UI\decoupeur.dds"
    ImageButton* soundTool = nullptr;          // "UI\son3.dds"
    ImageButton* spot = nullptr;               // "UI\spot1.dds"
    // Second tab.
    ImageButton* quad = nullptr;          // "UI\quad.dds"
    ImageButton* sphere = nullptr;        // "UI\sphere.dds"
    ImageButton* cube = nullptr;          // "UI\cube.dds"
    ImageButton* tube = nullptr;          // "UI\tubage.dds"
    ImageButton* surface = nullptr;       // "UI\surfaceur.dds"
    ImageButton* helix = nullptr;         // the helix sweep
    ImageButton* triangleFace = nullptr;  // "UI\face1a.dds"
    ImageButton* quadFace = nullptr;      // "UI\face2.dds"
    ImageButton* heightSurface = nullptr; // "UI\altimetre.dds"
    ImageButton* grid = nullptr;          // "UI\grille.dds"
    Label* primitiveCaption = nullptr;    // labels 405 to 409, 482
    EditBox* primitiveSizeBox = nullptr;
    EditBox* heightSurfaceSizeBox = nullptr;
    ImageButton* heightSurfaceButton = nullptr;  // at (15, 320)
    // Transform widgets, bound to the current object.
    std::array<EditBox*, 3> positionBoxes{};  // (25 / 115 / 205, 330)
    std::array<Cursor*, 3> angleSliders{};    // labels 167, 168, 169
    Cursor* rotationAngleSlider = nullptr;    // label 160
    std::array<EditBox*, 3> axisBoxes{};      // (25 / 115 / 205, 380)
    std::array<EditBox*, 3> scaleBoxes{};     // (25 / 115 / 205, 330)
    std::array<EditBox*, 3> sizeBoxes{};      // (25 / 115 / 205, 380)
    // Commands.
    ImageButton* undoButton = nullptr;          // label 151
    ImageButton* redoButton = nullptr;          // label 152
    ImageButton* deleteObjectButton = nullptr;  // label 150
    ImageButton* duplicateButton = nullptr;     // label 129
    ImageButton* arrayButton = nullptr;         // label 128
    EditBox* arrayColumnsBox = nullptr;
    EditBox* arrayRowsBox = nullptr;
    CheckBox* inPlaceCheck = nullptr;           // at (185, 365)
    ImageButton* mergeButton = nullptr;         // label 140
    ImageButton* cutButton = nullptr;           // label 148
    CheckBox* keepBothCheck = nullptr;
    ImageButton* detachSelectionButton = nullptr;  // label 142
    ImageButton* flipFacesButton = nullptr;     // label 143
    ImageButton* flatFacesButton = nullptr;     // label 144
    ImageButton* applyWeightsButton = nullptr;  // label 139
    ImageButton* hierarchyButton = nullptr;     // label 452
    EditBox* boneNumberBox = nullptr;           // label 439
    CheckBox* faceSliceCheck = nullptr;
    CheckBox* vertexSliceCheck = nullptr;
    CheckBox* selectThroughCheck = nullptr;
    CheckBox* showVerticesCheck = nullptr;      // label 141
    ImageButton* deletePointButton = nullptr;   // label 176
    std::array<CheckBox*, 3> pointOptionChecks{};  // labels 125, 126, 127
    ImageButton* attachSoundButton = nullptr;   // at (70, 286)
    CheckBox* soundOnCheck = nullptr;           // label 154
    CheckBox* soundLoopCheck = nullptr;         // label 157
    Cursor* soundVolumeSlider = nullptr;        // label 158
    CheckBox* spotCheck = nullptr;              // label 458
    // Sweeps.
    ImageButton* buildTubeButton = nullptr;     // label 219
    ImageButton* buildSurfaceButton = nullptr;  // label 231
    std::array<RadioButton*, 3> sweepShapeRadios{};  // labels 202, 203, 204
    std::array<RadioButton*, 2> smoothingRadios{};   // labels 206, 207
    std::array<RadioButton*, 3> sweepAxisRadios{};   // (185 / 220 / 255, 395)
    std::array<CheckBox*, 7> sweepOptionChecks{};    // 205, 217, 230, 502, 525, 532, (250, 395)
    Cursor* twistSlider = nullptr;              // label 214
    Cursor* thicknessSlider = nullptr;          // label 504
    std::vector<EditBox*> tubeBoxes;            // 208, 209, 210, 212, 213, 216, 553
    EditBox* curvePointsBox = nullptr;          // label 227 at (15, 430)
    EditBox* profilePointsBox = nullptr;        // at (250, 430)
    std::vector<EditBox*> surfaceBoxes;         // 221 to 226, 437
};

struct TextureMappingWidgets {
    Onglets* tabs = nullptr;  // labels 241, 242, 243
    std::array<ImageButton*, 6> coordinateButtons{};  // labels 248 to 253
    std::array<EditBox*, 4> mappingBoxes{};
    CheckBox* sharedCheck = nullptr;                  // label 259
    std::array<CheckBox*, 3> switchChecks{};          // labels 260, 261, 262
    Image* textureImage = nullptr;                    // 350 x 350
};

struct AnimationPanelWidgets {
    ImageList* animations = nullptr;         // 345 x 170 at (5, 30)
    ImageButton* newButton = nullptr;        // label 298
    ImageButton* deleteButton = nullptr;     // label 299
    ImageButton* openFileButton = nullptr;   // open an animation file
    ImageButton* saveFileButton = nullptr;   // save the current animation
    EditBox* nameBox = nullptr;              // label 301
    std::array<RadioButton*, 5> roleRadios{};  // labels 303 to 307
    CheckBox* repeatCheck = nullptr;         // label 308
    CheckBox* autoplayCheck = nullptr;       // label 310
    // The list's cells, reused from one refresh to the next, and the
    // animation each shown cell stands for.
    std::vector<ImageButton*> cellPool;
    std::vector<Sequence*> listed;
    bool cameraMode = false;  // the panel's camera mark
};

struct ToolPanelWidgets {
    SettingsPanelWidgets settings;
    ModelingPanelWidgets modeling;
    TextureMappingWidgets mapping;
    AnimationPanelWidgets animation;
    ToolPanelValues values;
    Sequence* currentAnimation = nullptr;  // the animation (sequence) chosen in the list
};

}  // namespace morvanex
