// The application: owner of the scene, the interface and the tools. It is
// made once, after the renderer, and lives until shutdown; opening a scene
// replaces the scene's content, never the application.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/autosave.h"
#include "app/file_dialogs.h"
#include "app/folders.h"
#include "app/input_routing.h"
#include "app/main_screen.h"
#include "app/placement_wiring.h"
#include "app/recent_files.h"
#include "app/start_scene.h"
#include "app/view_tools.h"
#include "app/window_rules.h"
#include "base/byte_progress.h"
#include "base/fade.h"
#include "modeling/undo_history.h"
#include "platform/window_messages.h"
#include "render/camera.h"
#include "render/scene_passes.h"
#include "render/text_status.h"
#include "scene/scene.h"
#include "ui/interface.h"
#include "ui/interface_host.h"
#include "ui/label_table.h"

namespace morvanex {

class Renderer;
class ShellServices;

class Application final : private RoutingHost, private InterfaceHost {
public:
    // `startScene`: Play for the program (the title scene plays first and
    // start-up ends with it), Skip to start on the editor at the first frame.
    Application(ShellServices& shell, Renderer& renderer, std::optional<std::string> commandLineFile,
                StartScene startScene = StartScene::Skip);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    // Closing with nothing left unsaved: this session's autosave goes.
    ~Application();

    // One frame: animation time, scene update, camera, sounds, drawing.
    // t is the frame clock's time and dt the seconds since the last frame.
    void frameStep(double t, double dt);

    // Input routing; true when a receiver handled the message.
    bool handleMessage(const WindowMessage& message);
    void handleTouch(const WindowMessage& message);

    // The close request of a modified scene: ask, then save, discard or stay.
    void askCloseQuestion();
    void answerCloseQuestion(CloseAnswer answer);

    Scene scene;
    CameraState camera;
    InputRouter input;  // the routing of every window message
    SceneFrameSettings frameSettings;  // what the tools and panels tell the passes
    StatusLineState statusLine;        // what the status line of edit mode shows
    LabelTable labels;                 // every text of the interface, French and English
    Interface ui;                      // the panels and the state their widgets share

    double frameTime = 0.0;            // t of the current frame, seconds
    bool editMode = false;             // the editing interface is on (the corner button); off: playing
    bool startSceneMode = false;       // the title scene plays (set when it is opened)
    SceneObject* attachedObject = nullptr;  // the object a cinematic camera rides
    bool cinematicMode = false;        // the view looks through attachedObject (outside edit mode)
    Fade interfaceFade{1.0f, 1.0f};    // opacity of the panels, 0..1
    bool waitingPanelVisible = false;  // a long job runs: only its panel is drawn
    std::string sceneFileName;         // last component of scene.filePath
    ProgramFolders folders;            // every folder of the program
    RecentFilesLoader recentFiles;     // the file panel's lists, gathered once at start
    FileDialogs fileDialogs{ui, processEnvironment(), folders.documents};  // open and save choosers

    // --- The main screen and the state its commands share -----------------
    MainScreen screen;                 // filled once by buildInterface
    SceneObject* currentObject = nullptr;  // the selected object; many commands need one
    SceneObject* secondObject = nullptr;   // second operand of two-object operations
    std::vector<SceneObject*> mergeList;   // objects marked by the fusion tool
    bool autoZoom = false;             // frame the current object automatically
    bool walkMode = false;             // walking camera (bound to the file panel's walk radio)
    bool savedWalkMode = false;        // walk mode kept while the editing interface is on
    Control3d* deferredWidget = nullptr;   // re-run once full screen has been left
    Control3d* slotBeingFilled = nullptr;  // settings picture button whose texture slot is chosen next
    // Picking, selection and the transform tools of the 3D view (the router's tools).
    EditorViewTools viewTools{*this};

    // Creates every panel of the main screen; run once, after the renderer.
    void buildInterface();
    // The two dialog panels: filled, sized, centred and shown. The answer
    // comes back through onButton, recognised by the dialog's title.
    void showMessage(std::string_view title, std::string_view line1, std::string_view line2,
                     std::string_view line3, std::string_view checkBoxCaption = {},
                     std::string_view picture = {});
    void askQuestion(std::string_view title, std::string_view line1, std::string_view line2,
                     std::string_view line3, std::string_view picture = {});
    // The message dialog with Cancel beside OK: a step that waits for consent.
    void askConfirmation(std::string_view title, std::string_view line1, std::string_view line2,
                         std::string_view line3);
    // A question, a message or the built-in chooser waits for an answer:
    // the keyboard's shortcuts must not act behind it.
    bool dialogWaiting() const;
    // A problem the user must hear about: one trace line, and the message
    // dialog with the title label and the text spread over its lines.
    void tellUser(int titleLabel, const std::string& text);
    // The text of a label in the current language.
    const std::string& label(int number) const { return labels.text(number); }

    // --- Long work and autosave (long_work.cpp) -----------------------------
    // Seconds of a steady clock: the waiting panel's delay and the autosave
    // interval are measured with it (tests give a clock of their own).
    std::function<double()> clockSeconds;
    // Work that runs longer than this shows the progress bar panel and the
    // wait cursor, redrawn at most this often.
    double waitingPanelDelay = 0.3;
    double waitingPanelRedrawInterval = 1.0 / 30.0;
    // While it lives, long work (an open, a save, an import) reports its
    // bytes through progress(); the panel and the cursor go with it.
    class LongWork {
    public:
        explicit LongWork(Application& app);
        ~LongWork();
        LongWork(const LongWork&) = delete;
        LongWork& operator=(const LongWork&) = delete;
        ByteProgress progress();

    private:
        void report(std::uint64_t done, std::uint64_t total);
        Application& app_;
        double started_;
        double lastDrawn_ = 0.0;
        bool shown_ = false;
    };
    AutosaveTimer autosaveTimer;
    // Writes the scene to its autosave in the archive folder now; false when
    // it could not (the reason goes to the trace).
    bool autosaveScene();
    // At start: the newest autosave newer than its scene is offered back.
    void offerAutosaveRecovery();
    // Opens the autosave as its scene, which stays modified until saved.
    bool recoverAutosave(const RecoverableAutosave& found);

    // --- Scene procedures (scene_procedures.cpp) ---------------------------
    // A scene file opened in place of the scene, merged into it (the
    // header dropped, the objects and animations added), or giving the
    // scene's namesake objects its meshes (needs a current object).
    enum class SceneOpenMode { Plain, Merge, MeshUpdate };
    // False when nothing was opened; the user is told why, and a file that
    // cannot be opened leaves the scene as it was.
    bool openScene(const std::filesystem::path& file, SceneOpenMode mode);
    // The same, reading the content from another file (an autosave) while
    // the scene takes `file`'s paths.
    bool openSceneFrom(const std::filesystem::path& file, const std::filesystem::path& content, SceneOpenMode mode);
    // Saves to the chosen path (".mrx" added, the examples folder avoided)
    // with the thumbnail and the scene's files copied beside it; a failed
    // write keeps the previous file whole and says why. `selectionOnly`:
    // the current object's group and its animations, the scene keeping its
    // own path and modified flag.
    bool saveSceneToPath(const std::filesystem::path& chosen, bool selectionOnly = false);
    // Animation files of the target object; false when nothing was done.
    bool exportAnimationFile(const std::filesystem::path& chosen, SceneObject& target);
    bool importAnimationFile(const std::filesystem::path& file, SceneObject& target);
    // The dialogs of the settings and animation panels' file buttons.
    // Where the scene dialogs start: the current scene's folder, else the
    // user's documents.
    std::filesystem::path sceneDialogFolder() const;
    void chooseFileForMeshUpdate();
    void chooseSelectionSaveTarget();
    void chooseAnimationFileToOpen(SceneObject& target);
    void chooseAnimationFileTarget(SceneObject& target);

    // --- Undo and redo, and the objects the generators add (undo_commands.cpp) ---
    UndoHistory undoHistory;  // objects made and deleted, in order; objects keep their own edits
    // Appends a generated object, records its making for undo, returns it.
    SceneObject& addPrimitive(std::unique_ptr<SceneObject> object);
    // While the settings panel's group page is open, picking keeps to the
    // current object's group (and the group tool edits its members).
    bool groupPageOpen() const;
    // The undo and redo buttons, Ctrl+Z and Ctrl+Y: the current object's
    // weights while the weight tool is pressed; the open trajectory point
    // while a trajectory is open; otherwise the current object's transform,
    // and once that has nothing left, the objects made and deleted.
    void undoLastEdit();
    void redoLastEdit();
    // After a committed transform edit (box, slider, end of a drag).
    void recordTransformEdit();
    // The height surface from an image file the user picks.
    void chooseHeightSurfaceImage(float sizePerPixel);
    void stepEditHistory(bool redo);
    void recordObjectsAdded(const std::vector<SceneObject*>& added);
    std::vector<SceneObject*> objectsAddedSince(std::size_t count) const;
    // Drops the application's pointers to objects no longer in the scene.
    void forgetAbsentObjects();
    bool isTransformWidget(const Control3d& widget) const;
    void onEditCommit(Control3d& editBox) override;
    void onSliderDrag(Control3d& slider) override;
    void onSliderRelease(Control3d& slider) override;

    // --- The click placement of primitives and the sweep tools (placement_wiring.cpp) ---
    PrimitivePlacement& placement() { return creationTools_.placement; }
    SweepEditing& sweeps() { return creationTools_.sweeps; }

private:
    friend class PlacementWiring;
    friend class EditorViewTools;  // the view's tools drive the panels and the pointer as commands do
    PlacementWiring creationTools_{*this};  // the placement and sweep tools, driven by the view tools

    // RoutingHost: the window through the shell, the view through the renderer.
    void sendMessage(const WindowMessage& message) override;
    void runOneFrame() override;
    void capturePointer(bool captured) override;
    void showPointer(bool visible) override;
    void movePointerOnScreen(int screenX, int screenY) override;
    void pointerScreenPosition(int& screenX, int& screenY) const override;
    void screenToClient(int& x, int& y) const override;
    void applyFullScreen(bool on) override;
    int viewWidth() const override;
    int viewHeight() const override;
    Mat4 viewProjection() const override;
    bool waitingPanelShown() const override { return waitingPanelVisible; }
    bool inEditMode() const override { return editMode; }

    // InterfaceHost: the widgets' desktop needs. Their notifications reach
    // the dispatchers of the main screen once it exists.
    void setCursor(CursorShape shape) override;
    std::string clipboardText() const override;
    void setClipboardText(std::string_view text) override;
    double now() const override;

    // Dispatchers of the widgets' notifications.
    void onButton(Panel& panel, Control3d& button) override;
    void onMenuItem(Menu& menu, MenuItem& item) override;
    void onPanelShown(Panel& panel) override;
    void onPanelHidden(Panel& panel) override;
    void onRadioButton(Panel& panel, Control3d& button) override;
    void onCheckBox(Panel& panel, Control3d& box) override;
    void onListItem(Panel& panel, Control3d& list) override;
    void markSceneModified() override { scene.modified = true; }

    // The builder's parts: the screen panels (top bar, corner, camera,
    // dialogs, file, capture, browser, timeline, menus) and the tool panels
    // (settings, modeling, texture mapping, animation).
    void buildScreenPanels();
    void buildToolPanels();
    void buildScreenPanelsAfterTools();  // preview, timeline, menus, top bar, corner, logo
    void buildGuidanceHints();
    // Each frame after the panels: the guidance hint of the tool and pointer.
    void chooseGuidanceHint();
    // Before the panels: the name of the object under the pointer, under the interface like the view it labels.
    void drawObjectNameHint();
    // The shown buttons of the top bar's second row side by side.
    void layOutTopBarToggles();

    // The screen panels' refreshes and settings (screen_panels.cpp, file_panel.cpp).
    void refreshFilePanelOnShown();
    void fillSceneList();
    void showMessageDialog(const std::array<std::string_view, 4>& titleAndLines, std::string_view checkBoxCaption,
                           std::string_view picture, bool withCancel);
    void chooseSampleMode(std::size_t entry);
    void switchLanguage(Language language);
    // Steps whose owners come later: each body says which subsystem fills it.
    void selectCurrentTextureInBrowser();
    void closeOpenTrajectoryAndAnimation();
    void hideAnimationOptionWidgets();
    void restoreCameraOfStartedPlayback();
    void disableSettingsPanelOpenButton();
    // What the guidance hints read (guidance_hints.cpp).
    bool toolPressed(std::string_view imageFile) const;
    int primitiveClickStep() const;
    bool trajectoryPointOpen() const;
    float trajectoryPointHeight() const;
    void drawVertexReadout();
    bool currentObjectIsSurfaceSweep() const;
    bool currentObjectIsTubeSweep() const;
    bool currentObjectSpotSwitch() const;
    void drawGuidanceHint(RichHint& hint, bool followPointer);
    // Commands of the tool panels; false when the widget is not theirs.
    bool runToolPanelCommand(Panel& panel, Control3d& button);
    // Refreshes of the tool panels when one is shown or hidden.
    void refreshToolPanelOnShown(Panel& panel);
    void onToolPanelHidden(Panel& panel);
    // The message dialog's confirm button for a question a tool panel asked;
    // false when the title is not one of theirs.
    bool answerToolPanelMessage(const std::string& title);
    // --- The tool panels' commands and refreshes (tool_panel_commands.cpp) ---
    bool runSettingsCommand(Control3d& button);
    bool runModelingCommand(Control3d& button);
    bool runModelingToolSetup(Control3d& button);
    bool runMappingCommand(Control3d& button);
    bool runAnimationCommand(Control3d& button);
    // Re-binds the object widgets of the tool panels to the current object,
    // or to the application's stand-ins when none is current.
    void bindToolPanelsToCurrentObject();
    void refreshAnimationList();
    void releaseModelingTools();
    void pressTranslationTool();
    void deleteCurrentObject();
    void duplicateCurrentObject();
    void makeArrayOfCurrentObject();
    void askDetachFromParent();
    void detachCurrentFromParent();
    void createAnimation();
    void deleteSelectedAnimation();
    // After a mesh edit of the current object: buffers and the scene flag.
    void meshEdited(SceneObject& object);

    // --- The button dispatcher (command_dispatch.cpp, file_commands.cpp) ---
    enum class Answer { Yes, No, Cancel };
    void applyRulesOfEveryPress(Control3d& button);
    bool runScreenCommand(Control3d& button);
    bool runTopBarCommand(Control3d& button);
    bool runCornerCommand(Control3d& button);
    bool runCameraPanelCommand(Control3d& button);
    bool runFilePanelCommand(Control3d& button);
    bool runCapturePanelCommand(Control3d& button);
    bool runBrowserCommand(Control3d& button);
    bool answerDialog(Control3d& button);
    void answerQuestion(const std::string& title, Answer answer);
    void setFullScreen(bool on);
    void toggleFullScreenButton() override;
    void rerunCommandAfterFullScreen() override;
    void toggleWalkMode(bool on);
    void toggleCinematicMode(bool on);
    void leaveGroup();
    void reopenSweepTool(bool tube);
    void switchEditingInterfaceOn();
    void switchEditingInterfaceOff();
    // True when the command must wait: full screen is being left and the
    // command runs again when the window has settled.
    bool leaveFullScreenFirst(Control3d& button);
    // True when the scene is modified and the save question was asked first.
    bool askToSaveFirst(Control3d& button, int titleLabel);
    void makeNewScene();
    void openChosenScene();
    std::optional<std::string> chosenRecentScene() const;
    // The open dialog for any 3D file; in mesh-update mode the open keeps
    // the scene and updates the meshes it names.
    void chooseModelOrScene(bool meshUpdateMode);
    // `afterSaved` runs once the scene is saved under the chosen name.
    void chooseSaveAsTarget(std::function<void()> afterSaved = {});
    // The "save changes?" answer Yes: saves, through the save-as dialog when
    // the scene has no file yet, then runs `then`; a cancelled dialog or a
    // failed save runs nothing.
    void saveThen(std::function<void()> then);
    bool sceneHasFile() const;
    // The scene chosen in the file panel's list added to the scene.
    void importChosenScene();
    // A double click that the panel under it takes whole (opening a scene
    // card, a line of the built-in chooser); false to route it as two presses.
    bool takeDoubleClick(const WindowMessage& message);
    // The scene file writer, or the OBJ export for an .obj name.
    bool saveSceneAs(const std::filesystem::path& target);
    void openHelp();
    void releaseCurrentObject();
    // Before the scene's objects go: nothing may keep pointing at them.
    void forgetSceneObjects();
    static void selectFirstTab(Onglets* tabs);
    std::optional<Vec3> currentObjectCentre() const;
    // Steps owned by subsystems still to come.
    void switchAnimationsToWalkMode(bool on);
    void selectCurrentAnimationAgain();
    void clearSelectionMark(SceneObject* object);
    void enterCurrentGroup();
    // The group page: the open group's leader and members.
    void refreshGroupPage();
    void enterModelingTab(int index);
    void refreshObjectPanels();
    void saveViewpointHook();
    void deleteChosenViewpointHook();
    void chooseTextureFileHook();
    // A control whose feature this version lacks says so rather than do nothing.
    void tellNotBuiltYet();
    bool playbackNoticeShown_ = false;  // the animation list told once that playback is to come

    // Keyboard shortcuts, the wheel and the framing key (shortcuts.cpp).
    void trackModifierKeys(const WindowMessage& message);
    bool runShortcut(const WindowMessage& message);
    // Runs the button's command as a click would; false when there is no
    // such button or it is disabled.
    bool pressButton(Control3d* button);
    void frameCurrentObjectOrScene();
    void zoomTowardsPointer(int x, int y, float notches);
    bool controlHeld_ = false;
    bool shiftHeld_ = false;

    Control3d* interruptedCommand_ = nullptr;  // re-run once its save question is answered
    std::optional<std::filesystem::path> pendingSaveTarget_;  // waits for the overwrite answer
    std::function<void()> afterSaveAs_;  // what waits for the save-as (quit, new, open)
    SceneObject* playbackTarget_ = nullptr;  // the object a started playback drives

    // Start-up's scenes (start_scene.cpp): the camera object, the carried
    // scenes written to the program-data folder, the title opened and faded.
    void prepareStartScenes(StartScene mode);
    void openTitleScene(const std::filesystem::path& file);
    void applyTitleFade();
    bool titleStillShown() const;
    // Empties the scene of the title before the editor's first scene.
    void leaveTitleScene();
    TitlePlayback title_;
    bool titleOpen_ = false;
    // Leaves the title scene: markers, camera reset, then the command-line file.
    void endStartScene();
    void handleCommandLineFile();
    void startNewScene();
    // The new scene's path, the window title and the camera target cleared
    // of the title scene: startNewScene without the file panel.
    void beginNewScene();
    // Where every open lands, whatever asked for it (the command line now,
    // the open dialog and the file panel later): scene files replace the
    // scene, model files are imported into it. False when nothing was opened.
    bool openFileByExtension(const std::string& path);
    bool openSceneFile(const std::string& path);
    // Adds the model's objects to the current scene; a failed import changes
    // nothing and says why.
    bool importModel(const std::string& path);

    // Each frame: the autosave when it is due.
    void autosaveIfDue();
    // After a save or at an unmodified close: the scene's autosave is stale.
    void removeSceneAutosave();
    std::optional<RecoverableAutosave> pendingRecovery_;  // waits for the recovery answer
    std::filesystem::path sessionAutosave_;  // the autosave this run wrote last

    // Steps of the frame whose owners come with their subsystems.
    void advanceStartFades(double dt);
    void drawWaitingPanel();
    void updateSceneForFrame(double dt);
    void rebuildLightServiceMatrix();
    void updateCamera(double dt);
    void updateObjectSounds();
    void drawFrame();
    // What lies under the pointer, and what the passes and the status line make of it.
    void pickUnderPointer(const FrameView& view);
    bool pointerOverView() const;  // not over a panel, inside the window
    void createTrajectoryMarkers();
    void resetCameraAngles();
    void showCornerPanelButton();
    void showFilePanel();
    bool saveScene();
    // After an open or a save: the scene's path first in "recents.txt".
    void rememberRecentFile(const std::string& pathText);

    ShellServices& shell_;
    Renderer& renderer_;
    std::optional<std::string> commandLineFile_;
    bool startSceneEnded_ = false;
    double frameDelta_ = 0.0;
    ScenePasses passes_;
    // The interface as the router sees it: one receiver for every panel.
    class InterfaceReceiver final : public InputPanel {
    public:
        explicit InterfaceReceiver(Interface& ui) : ui_(ui) {}
        bool visible() const override { return true; }
        bool acceptsInput() const override { return true; }
        bool handleInput(const WindowMessage& message) override { return ui_.handleInput(message); }

    private:
        Interface& ui_;
    };
    InterfaceReceiver interfaceReceiver_{ui};
};

}  // namespace morvanex
