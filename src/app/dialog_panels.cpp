// The message and question dialogs: built once, filled, sized and centred
// each time a command asks something. They keep no question identifier:
// the answer is recognised by the dialog's title.
#include <algorithm>
#include <string>

#include "app/application.h"
#include "app/dialog_layout.h"
#include "app/screen_builders.h"
#include "app/shell_services.h"
#include "base/trace_log.h"
#include "render/interface_drawing.h"
#include "render/renderer.h"
#include "ui/check_box.h"
#include "ui/file_chooser.h"
#include "ui/image.h"
#include "ui/image_button.h"
#include "ui/label.h"
#include "ui/label_numbers.h"

namespace morvanex {

namespace {

constexpr int kDialogWidth = 400;
constexpr int kDialogHeight = 200;
constexpr int kLineX = 81;
constexpr int kFirstLineY = 50;
constexpr int kLineStep = 20;
constexpr int kPictureXY = 15;
constexpr Vec4 kLineColour{1.0f, 1.0f, 1.0f, 1.0f};
constexpr std::string_view kDefaultPicture = "information3.dds";
constexpr int kYesNoWidth = 45;  // the yes and no buttons sit 50 pixels apart

std::array<Label*, 3> addDialogLines(Application& app, Panel& panel, int firstLabel) {
    std::array<Label*, 3> lines{};
    for (int i = 0; i < 3; ++i) {
        Label& line = addLabel(panel, kLineX, kFirstLineY + kLineStep * i, app.labels.frenchText(firstLabel + i));
        line.textColour = kLineColour;
        lines[static_cast<std::size_t>(i)] = &line;
    }
    return lines;
}

Panel& createDialog(Application& app, int nameLabel) {
    Panel& panel = screen::createPanel(app, nameLabel, -1, (1920 - kDialogWidth) / 2, (1080 - kDialogHeight) / 2,
                                       kDialogWidth, kDialogHeight, screen::panelColours(), true);
    panel.hasTitleBar = true;
    panel.title.assign(1, ' ');  // replaced by each question
    return panel;
}

// Lines, picture, size and place shared by both dialogs. The lines are the
// caller's texts in the current language: they no longer follow a label.
void fillDialog(Panel& dialog, const std::array<Label*, 3>& lines, Image* picture, const DialogLayout& layout,
                std::string_view title, const std::array<std::string_view, 3>& texts, std::string_view pictureFile) {
    dialog.title = std::string(title);
    dialog.width = layout.width;
    dialog.x = layout.x;
    dialog.y = layout.y;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        Label& line = *lines[i];
        line.text = std::string(texts[i]);
        line.captionLabel = -1;
        line.x = line.textX = layout.lineX[i];
    }
    if (picture != nullptr) {
        InterfaceDrawing& drawing = dialog.renderer().ui;
        picture->texture = drawing.image(pictureFile.empty() ? kDefaultPicture : pictureFile);
        if (picture->texture == nullptr) picture->texture = drawing.image(kDefaultPicture);
    }
}

std::array<int, 3> measuredLines(const InterfaceDrawing& drawing, const std::array<std::string_view, 3>& texts) {
    std::array<int, 3> widths{};
    for (std::size_t i = 0; i < texts.size(); ++i) widths[i] = static_cast<int>(drawing.measureText(texts[i]));
    return widths;
}

}  // namespace

namespace screen {

void buildMessageDialog(Application& app) {
    Panel& panel = createDialog(app, label::kMessageDialogName);
    MessageDialogWidgets& message = app.screen.message;
    message.lines = addDialogLines(app, panel, label::kMessageDialogLine1);
    message.checkBox = &addCheckBox(panel, kLineX, kMessageCheckBoxY, &message.checked, " ");
    message.checkBox->visible = false;
    message.okButton = &addLabelledButton(app, panel, label::kMessageDialogOkButton, 70, 125, "mbuttonc.dds",
                                          "mbuttonoverc.dds");
    message.cancelButton = &addLabelledButton(app, panel, label::kMessageDialogCancelButton, 270, 125,
                                              "mbuttonc.dds", "mbuttonoverc.dds");
    message.picture = &addImage(panel, app.ui.drawing().image(kDefaultPicture), kPictureXY, kPictureXY);
    app.screen.messageDialog = &panel;
}

void buildQuestionDialog(Application& app) {
    Panel& panel = createDialog(app, label::kQuestionDialogName);
    QuestionDialogWidgets& question = app.screen.question;
    question.lines = addDialogLines(app, panel, label::kQuestionDialogLine1);
    question.yesButton = &addLabelledButton(app, panel, label::kQuestionDialogYesButton, 50, 120, "mbuttonc.dds",
                                            "mbuttonoverc.dds");
    question.noButton = &addLabelledButton(app, panel, label::kQuestionDialogNoButton, 100, 120, "mbuttonc.dds",
                                           "mbuttonoverc.dds");
    question.yesButton->width = question.noButton->width = kYesNoWidth;
    question.cancelButton = &addLabelledButton(app, panel, label::kQuestionDialogCancelButton, 270, 120,
                                               "mbuttonc.dds", "mbuttonoverc.dds");
    question.picture = &addImage(panel, app.ui.drawing().image(kDefaultPicture), kPictureXY, kPictureXY);
    app.screen.questionDialog = &panel;
}

}  // namespace screen

void Application::tellUser(int titleLabel, const std::string& text) {
    shell_.trace().line(text);
    // About as many characters as the design width takes.
    constexpr std::size_t kMessageLineLength = 90;
    const std::array<std::string, 3> lines = wrapIntoDialogLines(text, kMessageLineLength);
    showMessage(label(titleLabel), lines[0], lines[1], lines[2]);
}

void Application::showMessage(std::string_view title, std::string_view line1, std::string_view line2,
                              std::string_view line3, std::string_view checkBoxCaption, std::string_view picture) {
    showMessageDialog({title, line1, line2, line3}, checkBoxCaption, picture, false);
}

void Application::askConfirmation(std::string_view title, std::string_view line1, std::string_view line2,
                                  std::string_view line3) {
    showMessageDialog({title, line1, line2, line3}, {}, {}, true);
}

void Application::showMessageDialog(const std::array<std::string_view, 4>& titleAndLines,
                                    std::string_view checkBoxCaption, std::string_view picture, bool withCancel) {
    Panel* dialog = screen.messageDialog;
    if (dialog == nullptr) return;
    MessageDialogWidgets& message = screen.message;
    const std::array<std::string_view, 3> texts{titleAndLines[1], titleAndLines[2], titleAndLines[3]};
    const InterfaceDrawing& drawing = renderer_.ui;
    MessageLayoutInput layoutInput;
    layoutInput.lines = texts;
    layoutInput.lineWidths = measuredLines(drawing, texts);
    // Information has nothing to cancel: OK alone.
    layoutInput.buttonWidths = {message.okButton->width, withCancel ? message.cancelButton->width : 0};
    layoutInput.checkBoxCaption = checkBoxCaption;
    layoutInput.checkBoxWidth = checkBoxCaption.empty() ? 0 : kCheckBoxCaptionX + static_cast<int>(drawing.measureText(checkBoxCaption));
    layoutInput.viewWidth = viewWidth();
    layoutInput.viewHeight = viewHeight();
    layoutInput.height = dialog->height;
    const MessageLayout layout = layoutMessageDialog(layoutInput);

    fillDialog(*dialog, message.lines, message.picture, layout.dialog, titleAndLines[0], texts, picture);
    message.okButton->x = layout.buttonX[0];
    message.cancelButton->x = layout.buttonX[1];
    message.okButton->y = message.cancelButton->y = layout.buttonY;
    message.checkBox->visible = layout.checkBoxShown;
    if (layout.checkBoxShown) {
        message.checkBox->caption = std::string(checkBoxCaption);
        message.checkBox->captionLabel = -1;
    } else {
        message.checked = false;
        message.checkBox->checked = false;
    }
    dialog->setVisible(true);
    message.cancelButton->setVisible(withCancel);
}

bool Application::dialogWaiting() const {
    const auto shown = [](const Panel* panel) { return panel != nullptr && panel->visible; };
    const FileChooser* chooser = fileDialogs.builtinChooser();
    return shown(screen.questionDialog) || shown(screen.messageDialog) || (chooser != nullptr && shown(&chooser->panel()));
}

void Application::askQuestion(std::string_view title, std::string_view line1, std::string_view line2,
                              std::string_view line3, std::string_view picture) {
    Panel* dialog = screen.questionDialog;
    if (dialog == nullptr) return;
    QuestionDialogWidgets& question = screen.question;
    const std::array<std::string_view, 3> texts{line1, line2, line3};
    DialogLayoutInput layoutInput;
    layoutInput.lines = texts;
    layoutInput.lineWidths = measuredLines(renderer_.ui, texts);
    // Its buttons keep their places: the dialog is at least wide enough to hold them.
    layoutInput.minimumWidth = question.cancelButton->x + question.cancelButton->width + kDialogMargin;
    layoutInput.viewWidth = viewWidth();
    layoutInput.viewHeight = viewHeight();
    layoutInput.height = dialog->height;
    fillDialog(*dialog, question.lines, question.picture, layoutDialog(layoutInput), title, texts, picture);
    dialog->setVisible(true);
}

}  // namespace morvanex
