// The builders of the screen panels: one function per panel, called by the
// application's interface builder in creation order (creation order is the
// panels' first stacking order). Each fills its part of Application::screen.
#pragma once

#include <string_view>

#include "ui/panel.h"

namespace morvanex {

class Application;
class ImageButton;
struct MainScreen;

namespace screen {

// The interface colours: alpha, red, green, blue of the body's four corners
// (top left, top right, bottom right, bottom left), then the accent.
PanelColourWords panelColours();  // floating panels and dialogs: deep blue
PanelColourWords barColours();    // the top bar, camera and corner panels: lighter, see-through

// A hidden panel named by the French entry of its name label, with the
// title of its title label (none for -1) in the current language.
Panel& createPanel(Application& app, int nameLabel, int titleLabel, int x, int y, int width, int height,
                   const PanelColourWords& colours, bool closeButton, bool grip = false);

// The text buttons of the screen panels: the caption is the French entry
// of the label, so that the button follows the language.
ImageButton& addLabelledButton(Application& app, Panel& panel, int captionLabel, int x, int y,
                               std::string_view image = "mbutton.dds", std::string_view hover = "mbuttonover.dds");

void buildProgressPanel(Application& app);
void buildBrowserPanel(Application& app);
void buildPicturePanel(Application& app);
void buildCapturePanel(Application& app);
void buildCameraPanel(Application& app);
void buildMessageDialog(Application& app);
void buildQuestionDialog(Application& app);
void buildFilePanel(Application& app);
void buildPreviewPanel(Application& app);
void buildTimelinePanel(Application& app);
void buildMenus(Application& app);
void buildTopBar(Application& app);
void buildCornerPanel(Application& app);
// Every frame: the corner button keeps clear of the top bar's buttons in a
// window narrower than the design.
void keepCornerBesideTopBar(MainScreen& screen, int viewWidth);
void buildLogoPanel(Application& app);
// The top bar's buttons that open the tool panels, once those exist.
void connectTopBarToToolPanels(Application& app);

// Every panel title of the main screen again, in the current language.
void refreshPanelTitles(Application& app);

}  // namespace screen
}  // namespace morvanex
