// The label numbers the interface uses, by role. Every text the program
// shows is the entry of one of these numbers in the current label table;
// data/labels/labels.tsv holds the texts. A number added here goes into
// kUsedLabelNumbers too: the tests check that each has a text in both files.
#pragma once

#include <array>

namespace morvanex::label {

inline constexpr int kVersionText = 0;  // version text after "Morvanex " in the window title
inline constexpr int kProgressPanelName = 2;  // progress bar: panel name
inline constexpr int kBrowserPanelName = 3;  // browser panel: name
inline constexpr int kBrowserPanelTitle = 4;  // browser panel: title
inline constexpr int kBrowserEmbedCheck = 5;  // browser panel: check box bound to a flag of the chosen texture
inline constexpr int kPicturePanelName = 7;  // picture panel: name
inline constexpr int kPicturePanelTitle = 8;  // picture panel: title
inline constexpr int kCapturePanelName = 10;  // capture panel: name
inline constexpr int kCapturePanelTitle = 11;  // capture panel: title
inline constexpr int kCaptureSaveViewButton = 12;  // capture panel: button, saves the view as a viewpoint
inline constexpr int kCaptureDeleteViewButton = 13;  // capture panel: button, deletes the chosen viewpoint
inline constexpr int kSettingsPanelName = 14;  // settings panel: name
inline constexpr int kSettingsObjectTab = 15;  // settings panel: tab 1
inline constexpr int kSettingsMaterialTab = 16;  // settings panel: tab 3 (shows check box 49)
inline constexpr int kSettingsRenderingTab = 17;  // settings panel: tab 5
inline constexpr int kSettingsLightsTab = 18;  // settings panel: tab 6, lights
inline constexpr int kSettingsApplyToGroupCheck = 24;  // settings panel: check box, the leader's option passed to its group (message 475-477)
inline constexpr int kSettingsNormalsOptionCheck = 25;  // settings panel: check box, normals option (guess)
inline constexpr int kSettingsNormalsSecondPassCheck = 26;  // settings panel: check box, normals option with a second pass (guess)
inline constexpr int kSettingsRecomputeNormalsButton = 27;  // settings panel: button
inline constexpr int kSettingsFlipAllFacesButton = 28;  // settings panel: button, reverses every triangle then recomputes normals
inline constexpr int kSettingsDetachFromParentButton = 29;  // settings panel: button, question 389/390
inline constexpr int kSettingsOpacitySlider = 39;  // settings panel: slider; its changes re-sort the drawing order
inline constexpr int kSettingsTextureOpacityCheck = 40;  // settings panel: check box, disables slider 39 while set (guess)
inline constexpr int kSettingsLiveReflectionCheck = 44;  // settings panel: check box, object flag f2 (guess)
inline constexpr int kSettingsFrozenReflectionCheck = 47;  // settings panel: check box, renders the reflection once (guess)
inline constexpr int kSettingsAnimatedTextureCheck = 49;  // settings panel: check box shown on entering tab 16 (guess)
inline constexpr int kSettingsSaveCubeMapCheck = 53;  // settings panel: check box, writes the environment cube to "_Cube.dds"
inline constexpr int kSettingsSceneLightsRadio = 62;  // settings panel: radio, light widgets bound to the scene's lights (guess)
inline constexpr int kSettingsObjectLightsRadio = 63;  // settings panel: radio, light widgets bound to the object's own lights (guess)
inline constexpr int kSettingsAddFrameButton = 64;  // settings panel: button, adds an entry to the image sequence
inline constexpr int kSettingsRemoveFrameButton = 65;  // settings panel: button, removes the selected image sequence entry
inline constexpr int kSettingsLightXBox = 67;  // settings panel: light position box x
inline constexpr int kSettingsLightYBox = 69;  // settings panel: light position box y
inline constexpr int kSettingsLightZBox = 71;  // settings panel: light position box z
inline constexpr int kCapturePanelShownTitle = 77;  // capture panel: title when shown
inline constexpr int kCameraPanelName = 81;  // camera panel: name
inline constexpr int kCameraOrbitHint = 82;  // camera panel: hint of the orbit pad
inline constexpr int kCameraPanHint = 83;  // camera panel: hint of the pan pad
inline constexpr int kCameraZoomHint = 84;  // camera panel: hint of the zoom pad
inline constexpr int kMessageDialogName = 85;  // message dialog: name
inline constexpr int kMessageDialogLine1 = 86;  // message dialog: first text line (replaced when shown)
inline constexpr int kMessageDialogLine2 = 87;  // message dialog: second text line (replaced when shown)
inline constexpr int kMessageDialogLine3 = 88;  // message dialog: third text line (replaced when shown)
inline constexpr int kMessageDialogOkButton = 89;  // message dialog: confirm button
inline constexpr int kMessageDialogCancelButton = 90;  // message dialog: cancel button
inline constexpr int kQuestionDialogName = 91;  // question dialog: name
inline constexpr int kQuestionDialogLine1 = 92;  // question dialog: first text line (replaced when shown)
inline constexpr int kQuestionDialogLine2 = 93;  // question dialog: second text line (replaced when shown)
inline constexpr int kQuestionDialogLine3 = 94;  // question dialog: third text line (replaced when shown)
inline constexpr int kQuestionDialogYesButton = 95;  // question dialog: yes button
inline constexpr int kQuestionDialogNoButton = 96;  // question dialog: no button
inline constexpr int kQuestionDialogCancelButton = 97;  // question dialog: cancel button (same text as 90)
inline constexpr int kModelingPanelName = 99;  // modeling panel: name
inline constexpr int kModelingEditTab = 100;  // modeling panel: tab 1, tools
inline constexpr int kModelingCreateTab = 101;  // modeling panel: tab 2, primitives and sweeps
inline constexpr int kModelingPointOption1Check = 125;  // modeling panel: check box, option of the trajectory point or object (guess)
inline constexpr int kModelingPointOption2Check = 126;  // modeling panel: check box, option of the trajectory point or object (guess)
inline constexpr int kModelingPointOption3Check = 127;  // modeling panel: check box, option of the trajectory point or object (guess)
inline constexpr int kModelingArrayButton = 128;  // modeling panel: button, array of instance copies
inline constexpr int kModelingDuplicateButton = 129;  // modeling panel: button, full copy
inline constexpr int kMergeRefusedTitle = 135;  // merge refusal: message title
inline constexpr int kModelingApplyWeightsButton = 139;  // modeling panel: button
inline constexpr int kModelingMergeButton = 140;  // modeling panel: button, merges the marked objects
inline constexpr int kModelingDisplayCheck = 141;  // modeling panel: check box, display only (guess)
inline constexpr int kModelingDetachSelectionButton = 142;  // modeling panel: button, question 391/392
inline constexpr int kModelingFlipFacesButton = 143;  // modeling panel: button, selected triangles
inline constexpr int kModelingFlatFacesButton = 144;  // modeling panel: button, flat normals on selected triangles
inline constexpr int kModelingCutButton = 148;  // modeling panel: button, cuts with the second object
inline constexpr int kModelingDeleteObjectButton = 150;  // modeling panel: button; also the title of the refusal 150/524
inline constexpr int kModelingUndoButton = 151;  // modeling panel: button
inline constexpr int kModelingRedoButton = 152;  // modeling panel: button
inline constexpr int kModelingSoundOnCheck = 154;  // modeling panel: check box, sound enabled
inline constexpr int kModelingSoundLoopCheck = 157;  // modeling panel: check box, sound loop
inline constexpr int kModelingSoundVolumeSlider = 158;  // modeling panel: slider, sound volume
inline constexpr int kModelingRotationAngleSlider = 160;  // modeling panel: slider, rotation angle about the axis
inline constexpr int kModelingAngleXSlider = 167;  // modeling panel: angle slider x
inline constexpr int kModelingAngleYSlider = 168;  // modeling panel: angle slider y
inline constexpr int kModelingAngleZSlider = 169;  // modeling panel: angle slider z
inline constexpr int kModelingDeletePointButton = 176;  // modeling panel: button, deletes the trajectory point
inline constexpr int kSweepFreeSectionRadio = 202;  // modeling panel: sweep shape radio
inline constexpr int kSweepRoundSectionRadio = 203;  // modeling panel: sweep shape radio, resets a curve (guess)
inline constexpr int kSweepPresetRadio = 204;  // modeling panel: sweep shape radio, fixed preset
inline constexpr int kSweepOption205Check = 205;  // modeling panel: sweep option check box (guess)
inline constexpr int kSweepSmoothRadio = 206;  // modeling panel: tube smoothing radio
inline constexpr int kSweepAngularRadio = 207;  // modeling panel: tube smoothing radio
inline constexpr int kTubeWidthBox = 208;  // modeling panel: tube size box
inline constexpr int kTubeHeightBox = 209;  // modeling panel: tube size box
inline constexpr int kTubeFirstCountBox = 210;  // modeling panel: tube first count
inline constexpr int kTubeSecondCountBox = 212;  // modeling panel: tube second count
inline constexpr int kTubeSectionStepBox = 213;  // modeling panel: tube section step
inline constexpr int kSweepTwistSlider = 214;  // modeling panel: sweep twist slider
inline constexpr int kTubeTurnsBox = 216;  // modeling panel: tube turn count box
inline constexpr int kSweepHelixCheck = 217;  // modeling panel: sweep option check box, helix
inline constexpr int kBuildTubeButton = 219;  // modeling panel: button, builds the tube mesh
inline constexpr int kSurfaceWidthBox = 221;  // modeling panel: surface box
inline constexpr int kSurfaceDepthBox = 222;  // modeling panel: surface box
inline constexpr int kSurfaceColumnsBox = 223;  // modeling panel: surface count box
inline constexpr int kSurfaceRowsBox = 224;  // modeling panel: surface count box
inline constexpr int kSurfaceHeightBox = 225;  // modeling panel: surface box
inline constexpr int kSurfaceSubdivisionsBox = 226;  // modeling panel: surface count (made even)
inline constexpr int kSweepCurvePointsBox = 227;  // modeling panel: box at (15, 430), curve editors re-sampled
inline constexpr int kSweepOrientedCheck = 230;  // modeling panel: sweep option check box, orientation
inline constexpr int kBuildSurfaceButton = 231;  // modeling panel: button, builds the surface mesh
inline constexpr int kMappingPanelName = 236;  // texture mapping panel: name
inline constexpr int kMappingPanelTitle = 237;  // texture mapping panel: title
inline constexpr int kMappingTexture1Tab = 241;  // texture mapping panel: tab, slot 1
inline constexpr int kMappingTexture2Tab = 242;  // texture mapping panel: tab, slot 2
inline constexpr int kMappingTexture3Tab = 243;  // texture mapping panel: tab, slot 3
inline constexpr int kMappingCopySecondSetButton = 248;  // texture mapping panel: button, second coordinate set into the first
inline constexpr int kMappingProjection1Button = 249;  // texture mapping panel: button, projection mode 1 (guess)
inline constexpr int kMappingProjection3Button = 250;  // texture mapping panel: button, projection mode 3 (guess)
inline constexpr int kMappingProjection6Button = 251;  // texture mapping panel: button, projection mode 6 (guess)
inline constexpr int kMappingPlanarXyButton = 252;  // texture mapping panel: button, planar x-y projection
inline constexpr int kMappingSphereLayoutButton = 253;  // texture mapping panel: button, sphere ring layout
inline constexpr int kMappingSharedCheck = 259;  // texture mapping panel: check box, shared mapping (guess)
inline constexpr int kMappingSwitch1Check = 260;  // texture mapping panel: check box, mapping switch 1 (guess)
inline constexpr int kMappingSwitch2Check = 261;  // texture mapping panel: check box, mapping switch 2 (guess)
inline constexpr int kMappingSwitch3Check = 262;  // texture mapping panel: check box, mapping switch 3 (guess)
inline constexpr int kFilePanelName = 264;  // file panel: name
inline constexpr int kFileScenesTab = 265;  // file panel: tab 1
inline constexpr int kFileDisplayTab = 266;  // file panel: tab 2
inline constexpr int kFilePreferencesTab = 267;  // file panel: tab 3
inline constexpr int kFileNewSceneButton = 270;  // file panel: button, question 388/387 when modified
inline constexpr int kFileSlider272 = 272;  // file panel: slider at (10, 90) (guess)
inline constexpr int kFileBackgroundColourRow = 273;  // file panel: colour row
inline constexpr int kFileSlider274 = 274;  // file panel: slider at (10, 185) (guess)
inline constexpr int kFileNormalViewRadio = 276;  // file panel: view-mode radio
inline constexpr int kFileWalkViewRadio = 277;  // file panel: view-mode radio, walk mode
inline constexpr int kFileCinematicViewRadio = 278;  // file panel: view-mode radio, cinematic mode
inline constexpr int kFileVerticalSyncCheck = 280;  // file panel: check box
inline constexpr int kFileFullScreenCheck = 281;  // file panel: check box
inline constexpr int kFileCheck282 = 282;  // file panel: check box at (268, 243) (guess)
inline constexpr int kFileOpenButton = 283;  // file panel: button, opens the chosen scene
inline constexpr int kFileSaveButton = 285;  // file panel: button; also the title of the overwrite question 474/285
inline constexpr int kTopBarQuitButton = 286;  // top bar: button, closes the program
inline constexpr int kFileCheck287 = 287;  // file panel: check box at (25, 105) (guess)
inline constexpr int kFileMergeCheck = 288;  // file panel: check box, the merge switch
inline constexpr int kAnimationPanelName = 296;  // animation panel: name
inline constexpr int kAnimationPanelTitle = 297;  // animation panel: title
inline constexpr int kAnimationNewButton = 298;  // animation panel: button
inline constexpr int kAnimationDeleteButton = 299;  // animation panel: button
inline constexpr int kAnimationNameBox = 301;  // animation panel: animation name box
inline constexpr int kAnimationRole0Radio = 303;  // animation panel: role radio 0
inline constexpr int kAnimationRole1Radio = 304;  // animation panel: role radio 1
inline constexpr int kAnimationRole2Radio = 305;  // animation panel: role radio 2 (forces 308)
inline constexpr int kAnimationRole3Radio = 306;  // animation panel: role radio 3 (forces 308)
inline constexpr int kAnimationRole4Radio = 307;  // animation panel: role radio 4
inline constexpr int kAnimationRepeatCheck = 308;  // animation panel: check box forced by roles 2 and 3
inline constexpr int kAnimationAutoplayCheck = 310;  // animation panel: check box, one per object
inline constexpr int kPreviewPanelName = 313;  // preview panel: name
inline constexpr int kPreviewPanelTitle = 314;  // preview panel: title
inline constexpr int kTimelinePanelName = 315;  // timeline panel: name
inline constexpr int kTimelinePanelTitle = 316;  // timeline panel: title
inline constexpr int kTimelineScale0Radio = 318;  // timeline: scale radio, 0.001 s per pixel
inline constexpr int kTimelineScale1Radio = 319;  // timeline: scale radio, 0.005 s per pixel
inline constexpr int kTimelineScale2Radio = 320;  // timeline: scale radio, 0.01 s per pixel
inline constexpr int kTimelineScale3Radio = 321;  // timeline: scale radio, 0.1 s per pixel
inline constexpr int kTimelineScale4Radio = 322;  // timeline: scale radio, 0.3 s per pixel
inline constexpr int kTimelineScale5Radio = 323;  // timeline: scale radio, 0.6 s per pixel
inline constexpr int kTimelineScale6Radio = 324;  // timeline: scale radio, 1 s per pixel
inline constexpr int kTimelineScale7Radio = 325;  // timeline: scale radio, 10 s per pixel
inline constexpr int kScaleMenuName = 328;  // key-bar scale menu: name
inline constexpr int kScaleMenuItem0 = 329;  // key-bar scale menu: item, scale 0
inline constexpr int kScaleMenuItem1 = 330;  // key-bar scale menu: item, scale 1
inline constexpr int kScaleMenuItem2 = 331;  // key-bar scale menu: item, scale 2
inline constexpr int kScaleMenuItem3 = 332;  // key-bar scale menu: item, scale 3
inline constexpr int kScaleMenuItem4 = 333;  // key-bar scale menu: item, scale 4
inline constexpr int kScaleMenuItem5 = 334;  // key-bar scale menu: item, scale 5
inline constexpr int kClipboardMenuName = 335;  // clipboard menu: name
inline constexpr int kClipboardCopyItem = 336;  // clipboard menu: item
inline constexpr int kClipboardPasteItem = 337;  // clipboard menu: item
inline constexpr int kTopBarName = 338;  // top bar: name
inline constexpr int kTopBarFileButton = 339;  // top bar: button, opens the file panel
inline constexpr int kTopBarCaptureButton = 340;  // top bar: button, opens the capture panel
inline constexpr int kTopBarSettingsButton = 341;  // top bar: button, opens the settings panel
inline constexpr int kTopBarModelingButton = 342;  // top bar: button, opens the modeling panel
inline constexpr int kTopBarCameraAnimationButton = 343;  // top bar: button; also the animation panel title in camera mode
inline constexpr int kTopBarObjectAnimationButton = 345;  // top bar: button; also the animation panel title in object mode
inline constexpr int kCornerPanelName = 347;  // corner panel: name
inline constexpr int kLogoPanelName = 354;  // logo panel: name
inline constexpr int kNewSceneQuestionTitle = 387;  // question title: new scene over a modified scene
inline constexpr int kSaveChangesQuestionLine = 388;  // question line shared by the save questions and the close prompt
inline constexpr int kDetachFromParentTitle = 389;  // question title: detach the object from its parent
inline constexpr int kDetachFromParentLine1 = 390;  // detach question: first line
inline constexpr int kDetachSelectionTitle = 391;  // question title: detach the selected triangles
inline constexpr int kDetachSelectionLine = 392;  // detach selection question: line
inline constexpr int kCloseQuestionTitle = 393;  // question title: the close prompt
inline constexpr int kLanguageCaption = 395;  // file panel: caption of the language radios
inline constexpr int kFrenchRadio = 396;  // file panel: language radio, French (own name in both)
inline constexpr int kEnglishRadio = 397;  // file panel: language radio, English (own name in both)
inline constexpr int kTimelineTitlePrefix = 403;  // timeline panel title: followed by a blank, the object, ", " and the animation
inline constexpr int kDispatcherMessage404 = 404;  // dispatcher message (role not stated; guess)
inline constexpr int kQuadCaption = 405;  // primitive caption: quad tool
inline constexpr int kTriangleFaceCaption = 406;  // primitive caption: three-point face tool
inline constexpr int kSphereCaption = 407;  // primitive caption: sphere tool
inline constexpr int kBoxCaption = 408;  // primitive caption: box tool
inline constexpr int kQuadFaceCaption = 409;  // primitive caption: four-point face tool
inline constexpr int kModelingMessage410 = 410;  // modeling message (role not stated; guess)
inline constexpr int kModelingMessage411 = 411;  // modeling message (role not stated; guess)
inline constexpr int kOpenSceneQuestionTitle = 412;  // question title: open the scene chosen in the file panel
inline constexpr int kDispatcherMessage413 = 413;  // dispatcher message (role not stated; guess)
inline constexpr int kSoundFailureLine1 = 417;  // sound failure: first line, followed by the result code name
inline constexpr int kSoundFailureLine2 = 418;  // sound failure: second line
inline constexpr int kCubeHintStep1Line1 = 419;  // cube hint, step 1 line 1
inline constexpr int kCubeHintStep1Line2 = 420;  // cube hint, step 1 line 2
inline constexpr int kCubeHintStep2Line1 = 421;  // cube hint, step 2 line 1
inline constexpr int kCubeHintStep2Line2 = 422;  // cube hint, step 2 line 2
inline constexpr int kCubeHintStep3Line1 = 423;  // cube hint, step 3 line 1
inline constexpr int kCubeHintStep3Line2 = 424;  // cube hint, step 3 line 2
inline constexpr int kSphereHintStep1Line1 = 425;  // sphere hint, step 1 line 1
inline constexpr int kSphereHintStep1Line2 = 426;  // sphere hint, step 1 line 2 (same text as 420)
inline constexpr int kSphereHintStep2Line1 = 427;  // sphere hint, step 2 line 1
inline constexpr int kSphereHintStep2Line2 = 428;  // sphere hint, step 2 line 2
inline constexpr int kObjectNameHint = 430;  // object-name hint: followed by " : " and the name (same text as 15)
inline constexpr int kTrajectoryHeightHint = 431;  // trajectory height hint: first line (same text as 209)
inline constexpr int kTrajectoryHeightHintLine2 = 432;  // unshown hint: second line
inline constexpr int kSurfaceSmoothingBox = 437;  // modeling panel: surface box
inline constexpr int kBoneNumberBox = 439;  // modeling panel: bone number box
inline constexpr int kHierarchyButton = 452;  // modeling panel: button, operation on the hierarchy record (guess)
inline constexpr int kSpotCheck = 458;  // modeling panel: check box of the spot tool
inline constexpr int kSettingsSaveSelectionButton = 459;  // settings panel: button, saves the selection only
inline constexpr int kSettingsUpdateMeshButton = 461;  // settings panel: button, opens a file in mesh-update mode
inline constexpr int kImportMemoryTitle = 462;  // import failure (memory): message title
inline constexpr int kImportMemoryLine = 463;  // import failure (memory): line after the file name
inline constexpr int kGroupCaptionPrefix = 466;  // group caption: followed by three spaces and the leader's name
inline constexpr int kDetachFromParentLine2 = 468;  // detach question: second line
inline constexpr int kSettingsGroupTab = 470;  // settings panel: tab 2 (opened by the group tool)
inline constexpr int kOverwriteQuestionLine = 474;  // overwrite question: line (title 285)
inline constexpr int kGroupOptionTitle = 475;  // group option message: title
inline constexpr int kGroupOptionLine1 = 476;  // group option message: line 1
inline constexpr int kGroupOptionLine2 = 477;  // group option message: line 2
inline constexpr int kSweepButtonHintLine1 = 478;  // sweep button hint: line 1
inline constexpr int kSweepButtonHintLine2 = 479;  // sweep button hint: line 2
inline constexpr int kPanPadHint = 480;  // pan pad hint
inline constexpr int kZoomPadHint = 481;  // zoom pad hint
inline constexpr int kHeightSurfaceCaption = 482;  // primitive caption: height surface tool
inline constexpr int kHeightSurfaceHintLine1 = 484;  // height surface hint: line 1
inline constexpr int kHeightSurfaceHintLine2 = 485;  // height surface hint: line 2
inline constexpr int kModelingStartHintLine1 = 486;  // modeling start hint: line 1
inline constexpr int kModelingStartHintLine2 = 487;  // modeling start hint: line 2
inline constexpr int kMergeRefusedLine1 = 488;  // merge refusal: line 1
inline constexpr int kMergeRefusedLine2 = 489;  // merge refusal: line 2
inline constexpr int kObjImportFailedTitle = 493;  // OBJ import failure: message title
inline constexpr int kObjImportFailedLine1 = 494;  // OBJ import failure: line after the file name
inline constexpr int kObjImportFailedLine2 = 495;  // OBJ import failure: last line
inline constexpr int kRectangleHintLine1 = 496;  // rectangle selection hint: line 1
inline constexpr int kRectangleHintLine2 = 497;  // rectangle selection hint: line 2
inline constexpr int kRectangleHintLine3 = 498;  // rectangle selection hint: line 3
inline constexpr int kSpareHint499 = 499;  // unshown hint: line 1
inline constexpr int kSpareHint500 = 500;  // unshown hint: line 2
inline constexpr int kModelingDisplay501Check = 501;  // modeling panel: check box, display only (guess)
inline constexpr int kSweepHalfCheck = 502;  // modeling panel: sweep option check box, half option
inline constexpr int kExamplesFolderLine2 = 503;  // examples folder message: line 2
inline constexpr int kSweepThicknessSlider = 504;  // modeling panel: sweep thickness slider
inline constexpr int kOpenFileQuestionTitle = 505;  // question title: open a 3D file over a modified scene
inline constexpr int kTopBarHelpButton = 508;  // top bar: button, opens the manual
inline constexpr int kExamplesFolderLine1 = 509;  // examples folder message: line 1
inline constexpr int kExamplesFolderTitle = 510;  // examples folder message: title
inline constexpr int kTutorialIntroTitle = 514;  // tutorial introduction: title
inline constexpr int kTutorialIntroLine1 = 515;  // tutorial introduction: line 1
inline constexpr int kTutorialIntroLine2 = 516;  // tutorial introduction: line 2
inline constexpr int kTutorialIntroLine3 = 517;  // tutorial introduction: line 3
inline constexpr int kTutorialEndTitle = 518;  // end of tutorial: message title
inline constexpr int kTutorialEndLine = 519;  // end of tutorial: line
inline constexpr int kTutorialSizeTitle = 520;  // tutorial size mismatch: message title
inline constexpr int kTutorialSizeLine1 = 521;  // tutorial size mismatch: line 1, followed by the width and height
inline constexpr int kTutorialSizeLine2 = 522;  // tutorial size mismatch: line 2
inline constexpr int kTutorialHeadsUp = 523;  // heads-up text while a tutorial plays
inline constexpr int kDeleteRefusedLine = 524;  // delete refusal: line (title 150)
inline constexpr int kSweepOption525Check = 525;  // modeling panel: sweep option check box (guess)
inline constexpr int kDetachFromParentLine2Alt = 530;  // detach question: alternative second line
inline constexpr int kSettingsReflectionRefreshCheck = 531;  // settings panel: check box, refresh while f3 is set (guess)
inline constexpr int kSweepOption532Check = 532;  // modeling panel: sweep option check box (guess)
inline constexpr int kTubeHintLine1 = 534;  // tube tool hint: line 1
inline constexpr int kTubeHintLine2 = 535;  // tube tool hint: line 2
inline constexpr int kTubeHintLine3 = 536;  // tube tool hint: line 3
inline constexpr int kSpareHint537 = 537;  // unshown hint: line 1
inline constexpr int kSpareHint538 = 538;  // unshown hint: line 2
inline constexpr int kSettingsReflectionsTab = 540;  // settings panel: tab 4
inline constexpr int kSpareHint550 = 550;  // unshown hint: line 1
inline constexpr int kSpareHint551 = 551;  // unshown hint: line 2
inline constexpr int kSpareHint552 = 552;  // unshown hint: line 3
inline constexpr int kTubeAlternativeBox = 553;  // modeling panel: tube box, alternative rebuild
inline constexpr int kSpotHintLine1 = 555;  // spot tool hint: line 1
inline constexpr int kSpotHintLine2 = 556;  // spot tool hint: line 2

// Widgets of the screen panels that have no number of their own.
inline constexpr int kBrowserChooseFileButton = 557;  // browser panel: text button at (10, 28)
inline constexpr int kFileOpen3dButton = 558;  // file panel: text button at (155, 59)
inline constexpr int kFileSaveAsButton = 559;  // file panel: text button at (345, 53)
inline constexpr int kFileImportButton = 560;  // file panel: imports the chosen scene
inline constexpr int kFileAntialiasingCaption = 561;  // file panel: caption of the antialiasing radios
// The built-in file chooser.
inline constexpr int kChooserOpenTitle = 630;  // file chooser: title when opening
inline constexpr int kChooserSaveTitle = 631;  // file chooser: title when saving
inline constexpr int kChooserNameCaption = 632;  // file chooser: name box caption
inline constexpr int kChooserFolderCaption = 633;  // file chooser: caption of the current folder
inline constexpr int kChooserTypesCaption = 634;  // file chooser: caption of the file kinds listed
inline constexpr int kChooserFileMissing = 635;  // file chooser: OK on a missing file
inline constexpr int kChooserFolderMissing = 636;  // file chooser: OK in a missing folder
inline constexpr int kChooserNameMissing = 637;  // file chooser: OK with an empty name
// The tool panels' own widgets (settings, modeling, texture mapping, animation).
inline constexpr int kSettingsImportAnimatedButton = 580;  // settings panel: button at (10, 370)
inline constexpr int kSettingsColourCaption = 581;  // settings panel: material colour caption
inline constexpr int kModelingHeightSurfaceButton = 582;  // modeling panel: button at (15, 320)
inline constexpr int kModelingAttachSoundButton = 583;  // modeling panel: button at (70, 286)
inline constexpr int kModelingInPlaceCheck = 584;  // modeling panel: check box at (185, 365)
inline constexpr int kModelingKeepBothCheck = 585;  // modeling panel: check box, the cut keeps both parts
inline constexpr int kModelingPrimitiveSizeBox = 586;  // modeling panel: primitive size box
inline constexpr int kMappingOffsetUBox = 587;  // texture mapping panel: mapping value box 1
inline constexpr int kMappingOffsetVBox = 588;  // texture mapping panel: mapping value box 2
inline constexpr int kMappingScaleUBox = 589;  // texture mapping panel: mapping value box 3
inline constexpr int kMappingScaleVBox = 590;  // texture mapping panel: mapping value box 4
inline constexpr int kAnimationOpenFileButton = 591;  // animation panel: opens an animation file
inline constexpr int kAnimationSaveFileButton = 592;  // animation panel: saves the current animation
inline constexpr int kSweepSmoothProfileCheck = 593;  // modeling panel: sweep option check box at (250, 395)
inline constexpr int kSweepProfilePointsBox = 594;  // modeling panel: sweep box at (250, 430)

// Every number above, in increasing order.
// Messages of the application's own file commands.
inline constexpr int kCannotOpenTitle = 610;   // message title: a file that could not be opened or imported
inline constexpr int kDamagedFileTitle = 611;  // message title: a file read only in part
inline constexpr int kCannotSaveTitle = 612;   // message title: a scene that could not be saved

// Autosave recovery.
inline constexpr int kRecoverAutosaveTitle = 670;  // question title: an autosave newer than its scene was found at start
inline constexpr int kRecoverAutosaveLine1 = 671;  // autosave question: line 2
inline constexpr int kRecoverAutosaveLine2 = 672;  // autosave question: line 3

// Selection options and the group page.
inline constexpr int kFaceSliceCheck = 740;       // modeling panel: face capture by horizontal slice
inline constexpr int kVertexSliceCheck = 741;     // modeling panel: vertex capture by horizontal slice
inline constexpr int kSelectThroughCheck = 742;   // modeling panel: the rectangle takes back faces too
inline constexpr int kGroupNoneCaption = 743;     // settings panel, group page: the current object has no group
inline constexpr int kGroupMembersCaption = 744;  // settings panel, group page: caption before the member count

// Imports.
inline constexpr int kImportReportTitle = 780;  // message title: what an import skipped or changed

// Controls that cannot act yet say so.
inline constexpr int kNotBuiltYetTitle = 790;  // message title: the feature is not in this version yet
inline constexpr int kNotBuiltYetLine = 791;   // message: the feature comes in a later version
inline constexpr int kManualNotShownLine = 792;  // message: Help without a browser, before the manual's path
// Hint bubbles of the picture-only buttons.
inline constexpr int kMoveToolHint = 820;  // modeling panel: hint of the move tool
inline constexpr int kMoveXToolHint = 821;  // modeling panel: hint of the x move tool
inline constexpr int kMoveYToolHint = 822;  // modeling panel: hint of the y move tool
inline constexpr int kMoveZToolHint = 823;  // modeling panel: hint of the z move tool
inline constexpr int kSnapVertexToolHint = 824;  // modeling panel: hint of the two-click vertex move tool
inline constexpr int kAlignVerticesToolHint = 825;  // modeling panel: hint of the four-click vertex move and turn tool
inline constexpr int kShadowToolHint = 826;  // modeling panel: hint of the shadow tool
inline constexpr int kRotateToolHint = 827;  // modeling panel: hint of the rotation tool
inline constexpr int kRotateXToolHint = 828;  // modeling panel: hint of the x rotation tool
inline constexpr int kRotateYToolHint = 829;  // modeling panel: hint of the y rotation tool
inline constexpr int kRotateZToolHint = 830;  // modeling panel: hint of the z rotation tool
inline constexpr int kBezierToolHint = 831;  // modeling panel: hint of the curve tool
inline constexpr int kClonerToolHint = 832;  // modeling panel: hint of the clone tool
inline constexpr int kAxisToolHint = 833;  // modeling panel: hint of the rotation axis tool
inline constexpr int kResizeToolHint = 834;  // modeling panel: hint of the resize tool
inline constexpr int kFaceToolHint = 835;  // modeling panel: hint of the face selection tool
inline constexpr int kGroupToolHint = 836;  // modeling panel: hint of the group selection tool
inline constexpr int kWeightToolHint = 837;  // modeling panel: hint of the weight tool
inline constexpr int kMergeToolHint = 838;  // modeling panel: hint of the merge tool
inline constexpr int kCutterToolHint = 839;  // modeling panel: hint of the cutter tool
inline constexpr int kSoundToolHint = 840;  // modeling panel: hint of the sound tool
inline constexpr int kSpotToolHint = 841;  // modeling panel: hint of the spot tool
inline constexpr int kPlaneToolHint = 842;  // modeling panel: hint of the plane primitive
inline constexpr int kSphereToolHint = 843;  // modeling panel: hint of the sphere primitive
inline constexpr int kBoxToolHint = 844;  // modeling panel: hint of the box primitive
inline constexpr int kTubeToolHint = 845;  // modeling panel: hint of the tube sweep
inline constexpr int kSurfaceToolHint = 846;  // modeling panel: hint of the surface sweep
inline constexpr int kHelixToolHint = 847;  // modeling panel: hint of the helix sweep
inline constexpr int kTriangleToolHint = 848;  // modeling panel: hint of the triangle face tool
inline constexpr int kQuadFaceToolHint = 849;  // modeling panel: hint of the quad face tool
inline constexpr int kHeightSurfaceToolHint = 850;  // modeling panel: hint of the height surface tool
inline constexpr int kGridToolHint = 851;  // modeling panel: hint of the grid tool
inline constexpr int kFullScreenHint = 852;  // top bar: hint of the full screen toggle
inline constexpr int kWireframeHint = 853;  // top bar: hint of the wireframe toggle
inline constexpr int kAutoZoomHint = 854;  // top bar: hint of the framing toggle
inline constexpr int kWalkHint = 855;  // top bar: hint of the walk toggle
inline constexpr int kCinematicHint = 856;  // top bar: hint of the cinematic toggle
inline constexpr int kMakeGhostHint = 857;  // top bar: hint of the ghost button
inline constexpr int kClearGhostsHint = 858;  // top bar: hint of the button clearing every ghost
inline constexpr int kEnterGroupHint = 859;  // top bar: hint of the enter group button
inline constexpr int kLeaveGroupHint = 860;  // top bar: hint of the leave group button
inline constexpr int kRectangleSelectionHint = 861;  // top bar: hint of the rectangle selection toggle
inline constexpr int kReopenTubeHint = 862;  // top bar: hint of the tube button
inline constexpr int kReopenSurfaceHint = 863;  // top bar: hint of the surface button
inline constexpr int kLockHeightHint = 864;  // top bar: hint of the lock toggle
inline constexpr int kRepeatTubeHint = 865;  // top bar: hint of the tube repeat toggle
inline constexpr int kEastViewHint = 866;  // camera panel: hint of a view button
inline constexpr int kTopViewHint = 867;  // camera panel: hint of a view button
inline constexpr int kWestViewHint = 868;  // camera panel: hint of a view button
inline constexpr int kSouthViewHint = 869;  // camera panel: hint of a view button
inline constexpr int kNorthViewHint = 870;  // camera panel: hint of a view button

inline constexpr std::array kUsedLabelNumbers = {
    kVersionText, kProgressPanelName, kBrowserPanelName, kBrowserPanelTitle, kBrowserEmbedCheck,
    kPicturePanelName, kPicturePanelTitle, kCapturePanelName, kCapturePanelTitle, kCaptureSaveViewButton,
    kCaptureDeleteViewButton, kSettingsPanelName, kSettingsObjectTab, kSettingsMaterialTab,
    kSettingsRenderingTab, kSettingsLightsTab, kSettingsApplyToGroupCheck, kSettingsNormalsOptionCheck,
    kSettingsNormalsSecondPassCheck, kSettingsRecomputeNormalsButton, kSettingsFlipAllFacesButton,
    kSettingsDetachFromParentButton, kSettingsOpacitySlider, kSettingsTextureOpacityCheck,
    kSettingsLiveReflectionCheck, kSettingsFrozenReflectionCheck, kSettingsAnimatedTextureCheck,
    kSettingsSaveCubeMapCheck, kSettingsSceneLightsRadio, kSettingsObjectLightsRadio, kSettingsAddFrameButton,
    kSettingsRemoveFrameButton, kSettingsLightXBox, kSettingsLightYBox, kSettingsLightZBox,
    kCapturePanelShownTitle, kCameraPanelName, kCameraOrbitHint, kCameraPanHint, kCameraZoomHint,
    kMessageDialogName, kMessageDialogLine1, kMessageDialogLine2, kMessageDialogLine3, kMessageDialogOkButton,
    kMessageDialogCancelButton, kQuestionDialogName, kQuestionDialogLine1, kQuestionDialogLine2,
    kQuestionDialogLine3, kQuestionDialogYesButton, kQuestionDialogNoButton, kQuestionDialogCancelButton,
    kModelingPanelName, kModelingEditTab, kModelingCreateTab, kModelingPointOption1Check,
    kModelingPointOption2Check, kModelingPointOption3Check, kModelingArrayButton, kModelingDuplicateButton,
    kMergeRefusedTitle, kModelingApplyWeightsButton, kModelingMergeButton, kModelingDisplayCheck,
    kModelingDetachSelectionButton, kModelingFlipFacesButton, kModelingFlatFacesButton, kModelingCutButton,
    kModelingDeleteObjectButton, kModelingUndoButton, kModelingRedoButton, kModelingSoundOnCheck,
    kModelingSoundLoopCheck, kModelingSoundVolumeSlider, kModelingRotationAngleSlider, kModelingAngleXSlider,
    kModelingAngleYSlider, kModelingAngleZSlider, kModelingDeletePointButton, kSweepFreeSectionRadio,
    kSweepRoundSectionRadio, kSweepPresetRadio, kSweepOption205Check, kSweepSmoothRadio, kSweepAngularRadio,
    kTubeWidthBox, kTubeHeightBox, kTubeFirstCountBox, kTubeSecondCountBox, kTubeSectionStepBox,
    kSweepTwistSlider, kTubeTurnsBox, kSweepHelixCheck, kBuildTubeButton, kSurfaceWidthBox, kSurfaceDepthBox,
    kSurfaceColumnsBox, kSurfaceRowsBox, kSurfaceHeightBox, kSurfaceSubdivisionsBox, kSweepCurvePointsBox,
    kSweepOrientedCheck, kBuildSurfaceButton, kMappingPanelName, kMappingPanelTitle, kMappingTexture1Tab,
    kMappingTexture2Tab, kMappingTexture3Tab, kMappingCopySecondSetButton, kMappingProjection1Button,
    kMappingProjection3Button, kMappingProjection6Button, kMappingPlanarXyButton, kMappingSphereLayoutButton,
    kMappingSharedCheck, kMappingSwitch1Check, kMappingSwitch2Check, kMappingSwitch3Check, kFilePanelName,
    kFileScenesTab, kFileDisplayTab, kFilePreferencesTab, kFileNewSceneButton, kFileSlider272,
    kFileBackgroundColourRow, kFileSlider274, kFileNormalViewRadio, kFileWalkViewRadio,
    kFileCinematicViewRadio, kFileVerticalSyncCheck, kFileFullScreenCheck, kFileCheck282, kFileOpenButton,
    kFileSaveButton, kTopBarQuitButton, kFileCheck287, kFileMergeCheck, kAnimationPanelName,
    kAnimationPanelTitle, kAnimationNewButton, kAnimationDeleteButton, kAnimationNameBox,
    kAnimationRole0Radio, kAnimationRole1Radio, kAnimationRole2Radio, kAnimationRole3Radio,
    kAnimationRole4Radio, kAnimationRepeatCheck, kAnimationAutoplayCheck, kPreviewPanelName,
    kPreviewPanelTitle, kTimelinePanelName, kTimelinePanelTitle, kTimelineScale0Radio, kTimelineScale1Radio,
    kTimelineScale2Radio, kTimelineScale3Radio, kTimelineScale4Radio, kTimelineScale5Radio,
    kTimelineScale6Radio, kTimelineScale7Radio, kScaleMenuName, kScaleMenuItem0, kScaleMenuItem1,
    kScaleMenuItem2, kScaleMenuItem3, kScaleMenuItem4, kScaleMenuItem5, kClipboardMenuName,
    kClipboardCopyItem, kClipboardPasteItem, kTopBarName, kTopBarFileButton, kTopBarCaptureButton,
    kTopBarSettingsButton, kTopBarModelingButton, kTopBarCameraAnimationButton, kTopBarObjectAnimationButton,
    kCornerPanelName, kLogoPanelName, kNewSceneQuestionTitle, kSaveChangesQuestionLine,
    kDetachFromParentTitle, kDetachFromParentLine1, kDetachSelectionTitle, kDetachSelectionLine,
    kCloseQuestionTitle, kLanguageCaption, kFrenchRadio, kEnglishRadio, kTimelineTitlePrefix,
    kDispatcherMessage404, kQuadCaption, kTriangleFaceCaption, kSphereCaption, kBoxCaption, kQuadFaceCaption,
    kModelingMessage410, kModelingMessage411, kOpenSceneQuestionTitle, kDispatcherMessage413,
    kSoundFailureLine1, kSoundFailureLine2, kCubeHintStep1Line1, kCubeHintStep1Line2, kCubeHintStep2Line1,
    kCubeHintStep2Line2, kCubeHintStep3Line1, kCubeHintStep3Line2, kSphereHintStep1Line1,
    kSphereHintStep1Line2, kSphereHintStep2Line1, kSphereHintStep2Line2, kObjectNameHint,
    kTrajectoryHeightHint, kTrajectoryHeightHintLine2, kSurfaceSmoothingBox, kBoneNumberBox, kHierarchyButton,
    kSpotCheck, kSettingsSaveSelectionButton, kSettingsUpdateMeshButton, kImportMemoryTitle,
    kImportMemoryLine, kGroupCaptionPrefix, kDetachFromParentLine2, kSettingsGroupTab, kOverwriteQuestionLine,
    kGroupOptionTitle, kGroupOptionLine1, kGroupOptionLine2, kSweepButtonHintLine1, kSweepButtonHintLine2,
    kPanPadHint, kZoomPadHint, kHeightSurfaceCaption, kHeightSurfaceHintLine1, kHeightSurfaceHintLine2,
    kModelingStartHintLine1, kModelingStartHintLine2, kMergeRefusedLine1, kMergeRefusedLine2,
    kObjImportFailedTitle, kObjImportFailedLine1, kObjImportFailedLine2, kRectangleHintLine1,
    kRectangleHintLine2, kRectangleHintLine3, kSpareHint499, kSpareHint500, kModelingDisplay501Check,
    kSweepHalfCheck, kExamplesFolderLine2, kSweepThicknessSlider, kOpenFileQuestionTitle, kTopBarHelpButton,
    kExamplesFolderLine1, kExamplesFolderTitle, kTutorialIntroTitle, kTutorialIntroLine1, kTutorialIntroLine2,
    kTutorialIntroLine3, kTutorialEndTitle, kTutorialEndLine, kTutorialSizeTitle, kTutorialSizeLine1,
    kTutorialSizeLine2, kTutorialHeadsUp, kDeleteRefusedLine, kSweepOption525Check, kDetachFromParentLine2Alt,
    kSettingsReflectionRefreshCheck, kSweepOption532Check, kTubeHintLine1, kTubeHintLine2, kTubeHintLine3,
    kSpareHint537, kSpareHint538, kSettingsReflectionsTab, kSpareHint550, kSpareHint551, kSpareHint552,
    kTubeAlternativeBox, kSpotHintLine1, kSpotHintLine2,
    kBrowserChooseFileButton, kFileOpen3dButton, kFileSaveAsButton, kFileImportButton, kFileAntialiasingCaption,
    kChooserOpenTitle, kChooserSaveTitle, kChooserNameCaption, kChooserFolderCaption, kChooserTypesCaption, kChooserFileMissing, kChooserFolderMissing, kChooserNameMissing,
    kCannotOpenTitle, kDamagedFileTitle, kCannotSaveTitle,
    kSettingsImportAnimatedButton, kSettingsColourCaption, kModelingHeightSurfaceButton, kModelingAttachSoundButton, kModelingInPlaceCheck, kModelingKeepBothCheck, kModelingPrimitiveSizeBox, kMappingOffsetUBox, kMappingOffsetVBox, kMappingScaleUBox, kMappingScaleVBox, kAnimationOpenFileButton, kAnimationSaveFileButton, kSweepSmoothProfileCheck, kSweepProfilePointsBox,
    kRecoverAutosaveTitle, kRecoverAutosaveLine1, kRecoverAutosaveLine2,
    kFaceSliceCheck, kVertexSliceCheck, kSelectThroughCheck, kGroupNoneCaption, kGroupMembersCaption,
    kImportReportTitle,
    kNotBuiltYetTitle, kNotBuiltYetLine, kManualNotShownLine,
    kMoveToolHint, kMoveXToolHint, kMoveYToolHint, kMoveZToolHint, kSnapVertexToolHint, kAlignVerticesToolHint,
    kShadowToolHint, kRotateToolHint, kRotateXToolHint, kRotateYToolHint, kRotateZToolHint, kBezierToolHint,
    kClonerToolHint, kAxisToolHint, kResizeToolHint, kFaceToolHint, kGroupToolHint, kWeightToolHint, kMergeToolHint,
    kCutterToolHint, kSoundToolHint, kSpotToolHint, kPlaneToolHint, kSphereToolHint, kBoxToolHint, kTubeToolHint,
    kSurfaceToolHint, kHelixToolHint, kTriangleToolHint, kQuadFaceToolHint, kHeightSurfaceToolHint, kGridToolHint,
    kFullScreenHint, kWireframeHint, kAutoZoomHint, kWalkHint, kCinematicHint, kMakeGhostHint, kClearGhostsHint,
    kEnterGroupHint, kLeaveGroupHint, kRectangleSelectionHint, kReopenTubeHint, kReopenSurfaceHint, kLockHeightHint,
    kRepeatTubeHint, kEastViewHint, kTopViewHint, kWestViewHint, kSouthViewHint, kNorthViewHint,
};

}  // namespace morvanex::label
