// The main screen: every panel the builder creates at start and the widgets
// the commands recognise. The builder fills these pointers once; the panels
// own the widgets, so the pointers stay valid for the whole run. A pointer
// left null means the widget is not built in this version.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/guidance_hints.h"
#include "app/tool_panels.h"
#include "render/texture_image.h"

namespace morvanex {

class Panel;
class Control3d;
class ImageButton;
class Image;
class Label;
class CheckBox;
class RadioButton;
class ControleGroupe;
class ImageList;
class Cursor;
class Colorsel;
class Menu;
class MenuItem;
class CursorsBar;
class Onglets;

struct TopBarWidgets {
    // First row, text buttons.
    ImageButton* fileButton = nullptr;        // label 339
    ImageButton* captureButton = nullptr;     // label 340
    ImageButton* settingsButton = nullptr;    // label 341
    ImageButton* modelingButton = nullptr;    // label 342
    ImageButton* cameraAnimationButton = nullptr;  // label 343
    ImageButton* objectAnimationButton = nullptr;  // label 345
    ImageButton* quitButton = nullptr;        // label 286
    ImageButton* helpButton = nullptr;        // label 508
    // Second row, toggles.
    ImageButton* fullScreen = nullptr;        // "UI\toggle.dds"
    ImageButton* wireframe = nullptr;         // "UI\wireframe1.dds"
    ImageButton* autoZoom = nullptr;          // "UI\zoomauto.dds"
    ImageButton* walk = nullptr;              // "UI\avatar6.dds"
    ImageButton* cinematic = nullptr;         // "UI\cinematique1.dds"
    ImageButton* makeGhost = nullptr;         // "UI\fantome.dds"
    ImageButton* clearGhosts = nullptr;       // "UI\fantome1.dds"
    ImageButton* enterGroup = nullptr;        // "UI\vgroupe.dds"
    ImageButton* leaveGroup = nullptr;        // "UI\vdgroupe.dds"
    ImageButton* rectangleSelection = nullptr;  // "UI\rectselection2.dds"
    ImageButton* reopenTube = nullptr;        // "UI\tubage.dds"
    ImageButton* reopenSurface = nullptr;     // "UI\surfaceur.dds"
    ImageButton* lockY = nullptr;             // "UI\cadenasy.dds"
    ImageButton* repeatTube = nullptr;        // "UI\reptub.dds"
    // The second row with each button's place in the design, in order of
    // that place; shown buttons that would cover each other are moved apart.
    std::vector<std::pair<ImageButton*, int>> secondRow;
};

struct CameraPanelWidgets {
    ImageButton* orbitPad = nullptr;  // "UI\Trackball.dds"
    ImageButton* panPad = nullptr;    // "UI\lateral.dds"
    ImageButton* zoomPad = nullptr;   // "UI\zoom.dds"
    ImageButton* eastView = nullptr;
    ImageButton* topView = nullptr;
    ImageButton* westView = nullptr;
    ImageButton* southView = nullptr;
    ImageButton* northView = nullptr;
};

struct MessageDialogWidgets {
    std::array<Label*, 3> lines{};  // labels 86 to 88
    CheckBox* checkBox = nullptr;   // at (81, 110)
    bool checked = false;           // what the check box is bound to; read by the answer
    ImageButton* okButton = nullptr;      // label 89
    ImageButton* cancelButton = nullptr;  // label 90
    Image* picture = nullptr;       // at (15, 15)
};

struct QuestionDialogWidgets {
    std::array<Label*, 3> lines{};  // labels 92 to 94
    ImageButton* yesButton = nullptr;     // label 95
    ImageButton* noButton = nullptr;      // label 96
    ImageButton* cancelButton = nullptr;  // label 97
    Image* picture = nullptr;
};

struct FilePanelWidgets {
    ImageButton* open3dButton = nullptr;     // text button at (155, 59): open any 3D file
    ImageButton* saveAsButton = nullptr;     // text button at (345, 53)
    ImageButton* importButton = nullptr;     // import of a model into the scene
    ImageButton* openChosenButton = nullptr; // label 283: opens the scene chosen in the list
    ImageButton* secondListButton = nullptr; // disabled with 283 when the panel is shown
    ImageButton* saveButton = nullptr;       // label 285
    ImageButton* newButton = nullptr;        // label 270
    ImageList* thumbnails = nullptr;         // 620 x 295 at (5, 140)
    RadioButton* frenchRadio = nullptr;      // label 396
    RadioButton* englishRadio = nullptr;     // label 397
    RadioButton* normalViewRadio = nullptr;  // label 276
    RadioButton* walkRadio = nullptr;        // label 277
    RadioButton* cinematicRadio = nullptr;   // label 278
    CheckBox* verticalSync = nullptr;        // label 280
    CheckBox* fullScreen = nullptr;          // label 281
    CheckBox* frameCounter = nullptr;        // label 282
    CheckBox* previews = nullptr;            // label 287
    CheckBox* merge = nullptr;               // label 288: open the chosen scene into the current one
    Onglets* tabs = nullptr;                 // labels 265 to 267
    Cursor* walkSpeedSlider = nullptr;       // label 272, bound to the camera's walk speed
    Cursor* fieldOfViewSlider = nullptr;     // label 274, bound to the camera's field of view
    Colorsel* backgroundSwatch = nullptr;    // label 273, bound to the scene's background colour
    ControleGroupe* viewModeGroup = nullptr;     // radios 276 to 278
    ControleGroupe* languageGroup = nullptr;     // radios 396, 397
    ControleGroupe* antialiasingGroup = nullptr; // one radio per sample count
    std::vector<RadioButton*> antialiasingRadios;  // entry i of the graphics' sample mode list

    // What the widgets are bound to.
    bool french = true;         // the label language (396); exactly one of the two is set
    bool english = false;       // (397)
    bool normalView = true;     // radio 276 (277 is Application::walkMode, 278 cinematicMode)
    bool verticalSyncOn = true;    // 280
    bool frameCounterOn = false;   // 282
    bool previewsOn = true;        // 287
    bool mergeChosen = false;      // 288
    bool listFilled = false;       // the loader's lists are in the thumbnail list
    bool listStale = false;        // an open or a save changed the lists since
    int antialiasingIndex = 0;  // the chosen entry of the sample mode list
    // The scene file of each cell of the thumbnail list, by the cell's index.
    std::vector<std::string> scenePaths;
    // The scenes' own preview pictures the cells show, held while they do.
    std::vector<std::unique_ptr<TextureImage>> thumbnailImages;
};

struct CapturePanelWidgets {
    ImageButton* saveViewButton = nullptr;    // label 12
    ImageButton* deleteViewButton = nullptr;  // label 13
    ImageList* viewpoints = nullptr;
    Image* backdrop = nullptr;                // 482 x 382, hidden
};

struct BrowserPanelWidgets {
    ImageButton* chooseFileButton = nullptr;  // text button at (10, 28)
    CheckBox* embedCheck = nullptr;           // label 5
    ImageList* thumbnails = nullptr;
    Image* backdrop = nullptr;                // 482 x 382, hidden
    // The check box's binding until a texture slot gives it one of the
    // texture's flags; the box stays disabled until then.
    bool embedUnbound = false;
};

struct MainScreen {
    Panel* progressPanel = nullptr;
    Panel* browserPanel = nullptr;
    Panel* picturePanel = nullptr;
    Panel* capturePanel = nullptr;
    Panel* settingsPanel = nullptr;
    Panel* cameraPanel = nullptr;
    Panel* messageDialog = nullptr;
    Panel* questionDialog = nullptr;
    Panel* modelingPanel = nullptr;
    Panel* textureMappingPanel = nullptr;
    Panel* filePanel = nullptr;
    Panel* animationPanel = nullptr;
    Panel* previewPanel = nullptr;
    Panel* timelinePanel = nullptr;
    Panel* scaleMenuPanel = nullptr;
    Panel* clipboardMenuPanel = nullptr;
    Panel* topBar = nullptr;
    Panel* cornerPanel = nullptr;
    Panel* logoPanel = nullptr;

    TopBarWidgets top;
    ImageButton* cornerButton = nullptr;  // "UI\selection4.dds"
    CameraPanelWidgets camera;
    MessageDialogWidgets message;
    QuestionDialogWidgets question;
    FilePanelWidgets file;
    CapturePanelWidgets capture;
    BrowserPanelWidgets browser;
    Image* pictureImage = nullptr;
    CursorsBar* keyBar = nullptr;
    std::array<RadioButton*, 8> keyBarScaleRadios{};  // labels 318 to 325
    ControleGroupe* keyBarScaleGroup = nullptr;
    int keyBarScaleIndex = 3;        // what the radios are bound to (kKeyBarStartScale)
    Menu* scaleMenu = nullptr;       // labels 329 to 334
    Menu* clipboardMenu = nullptr;   // copy 336, paste 337
    Image* previewImage = nullptr;
    Image* logoImage = nullptr;

    ToolPanelWidgets tools;  // settings, modeling, texture mapping, animation
    GuidanceHints hints;

    std::string versionText;  // French entry 0, the end of the window title
    // The panels whose title is a label, refreshed when the language changes.
    std::vector<std::pair<Panel*, int>> panelTitles;
};

}  // namespace morvanex
