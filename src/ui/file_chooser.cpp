#include "ui/file_chooser.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>
#include <system_error>

#include "base/text_encoding.h"
#include "render/interface_drawing.h"
#include "render/renderer.h"
#include "render/texture_image.h"
#include "ui/edit_box.h"
#include "ui/image_button.h"
#include "ui/interface.h"
#include "ui/interface_host.h"
#include "ui/label.h"
#include "ui/label_numbers.h"
#include "ui/label_table.h"
#include "ui/panel.h"
#include "ui/tree_list.h"

namespace morvanex {

namespace fs = std::filesystem;

namespace {

constexpr int kPanelWidth = 540;
constexpr int kPanelHeight = 390;    // fits a 400-pixel-high window
constexpr int kMargin = 12;
constexpr int kFolderLineY = 32;
constexpr int kListY = 56;
constexpr int kListHeight = 230;
constexpr int kBandHeight = 20;      // the list's band, where the file kinds are written
constexpr int kNameLineY = kListY + kListHeight + kBandHeight + 12;
constexpr int kButtonsFromBottom = 36;
constexpr int kMessageLineY = kPanelHeight - kButtonsFromBottom + 4;
constexpr int kButtonGap = 10;
constexpr int kStripWidth = 16;      // the list's scroll strip
constexpr int kArrowRows = 3;        // rows an arrow of the strip scrolls
constexpr int kMinThumb = 20;
constexpr std::size_t kMaxListedEntries = 5000;  // past this, a name is typed rather than found
constexpr const char* kParentName = "..";

constexpr Vec4 kCaptionColour{0.75f, 0.82f, 0.9f, 1.0f};
constexpr Vec4 kFolderColour{1.0f, 1.0f, 1.0f, 1.0f};
constexpr Vec4 kTypesColour{0.25f, 0.28f, 0.33f, 1.0f};
constexpr Vec4 kRefusalColour{1.0f, 0.55f, 0.45f, 1.0f};
constexpr Vec4 kStripColour{0.78f, 0.8f, 0.84f, 1.0f};
constexpr Vec4 kThumbColour{0.45f, 0.5f, 0.58f, 1.0f};
constexpr Vec4 kArrowColour{0.3f, 0.3f, 0.3f, 1.0f};

// A dark slate body, slightly translucent, like the program's dialogs.
PanelColourWords chooserColours() {
    PanelColourWords words{};
    const int corners[5][4] = {{240, 44, 52, 66}, {240, 44, 52, 66}, {240, 30, 35, 45}, {240, 30, 35, 45},
                               {255, 17, 205, 255}};
    for (std::size_t i = 0; i < 5; ++i) {
        for (std::size_t j = 0; j < 4; ++j) words[i * 4 + j] = corners[i][j];
    }
    return words;
}

std::string lowered(const fs::path& name) {
    std::string text = name.string();
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool listedBefore(const ChooserEntry& a, const ChooserEntry& b) {
    if (a.isFolder != b.isFolder) return a.isFolder;
    const std::string la = lowered(a.name);
    const std::string lb = lowered(b.name);
    return la != lb ? la < lb : a.name < b.name;
}

// What a line shows: folders end with '/'.
std::string lineText(const ChooserEntry& entry) {
    std::string text = textFromPath(entry.name);
    if (entry.isFolder && entry.name != kParentName) text += '/';
    return text;
}

// "3d files (*.mrx *.obj)": the kinds of file listed.
std::string typesText(const std::vector<FileFilter>& filters) {
    std::string names;
    std::string patterns;
    for (const FileFilter& filter : filters) {
        if (!filter.name.empty()) names += (names.empty() ? "" : ", ") + filter.name;
        for (const std::string& extension : filter.extensions) {
            const std::string bare = !extension.empty() && extension.front() == '.' ? extension.substr(1) : extension;
            if (bare.empty()) continue;
            std::string pattern = bare == "*" ? "*" : "*." + lowered(bare);
            if (patterns.find(pattern) == std::string::npos) patterns += (patterns.empty() ? "" : " ") + pattern;
        }
    }
    if (patterns.empty()) patterns = "*";
    return names.empty() ? patterns : names + " (" + patterns + ")";
}

// The end of a long text, led by "...", so that it fits the width.
std::string fittedTail(const InterfaceDrawing& ui, const std::string& text, float width) {
    if (ui.measureText(text) <= width) return text;
    for (std::size_t cut = 1; cut < text.size(); ++cut) {
        std::string shown = "..." + text.substr(cut);
        if (ui.measureText(shown) <= width) return shown;
    }
    return "...";
}

// A line of text the chooser writes itself: no label number to refresh it
// from (an empty text would otherwise find the table's first empty entry).
Label& addPlainText(Panel& panel, int x, int y, const Vec4& colour) {
    Label& text = addLabel(panel, x, y, "");
    text.captionLabel = -1;
    text.textColour = colour;
    return text;
}

// ---------------------------------------------------------------------------
// The chooser's widgets: the toolkit's own, reporting to the chooser rather
// than to the application.

class ChooserButton : public ImageButton {
public:
    bool handleInput(const WindowMessage& message) override {
        if (isLeftPress(message) && visible && enabled && contains(messageX(message), messageY(message))) {
            hot = false;
            if (onClick) onClick();
            return true;
        }
        return ImageButton::handleInput(message);
    }

    std::function<void()> onClick;
};

ChooserButton& addChooserButton(Panel& panel, const char* image, const char* hoverImage, int x, int y,
                                const std::string& caption, int captionLabel) {
    auto button = std::make_unique<ChooserButton>();
    InterfaceDrawing& ui = panel.renderer().ui;
    button->image = ui.image(image);
    button->hoverImage = ui.image(hoverImage);
    if (button->image != nullptr) {
        button->width = button->image->width;
        button->height = button->image->height;
    }
    button->textButton = true;
    button->caption = caption;
    button->captionLabel = captionLabel;
    button->width = std::max(button->width, static_cast<int>(std::ceil(ui.measureText(caption))) + 15);
    button->x = x;
    button->y = y;
    ChooserButton& added = panel.add(std::move(button));
    added.itemNumber = static_cast<int>(panel.items.size());
    return added;
}

// Enter in the name box confirms and Escape cancels, focused or not, as in
// the desktop's dialogs; the box stretches to the panel's right margin.
class ChooserNameBox : public EditBox {
public:
    bool handleInput(const WindowMessage& message) override {
        if (message.message == wm::KeyDown && message.wParam == vk::Return && focused && enabled && visible) {
            if (onEnter) onEnter();
            return true;
        }
        if (message.message == wm::KeyDown && message.wParam == vk::Escape && visible) {
            if (onEscape) onEscape();
            return true;
        }
        if (wholeNameChosen && focused) forgetOrReplaceChosenName(message);
        return EditBox::handleInput(message);
    }
    void draw(float elapsedSeconds) override {
        refreshLabel(labels(), captionLabel, caption);
        layOutBox();
        boxWidth = std::max(40, panel->width - kMargin - boxX);
        EditBox::draw(elapsedSeconds);
        if (wholeNameChosen && focused && !text.empty()) {
            // Shown as chosen, as desktop dialogs show a suggested name.
            drawing().filledRect({static_cast<float>(boxLeft()), static_cast<float>(boxTop() + 3),
                                  static_cast<float>(std::min(boxWidth, static_cast<int>(drawing().measureText(text)) + 2)),
                                  static_cast<float>(boxHeight - 6)},
                                 {0.25f, 0.55f, 1.0f, 0.45f});
        }
    }

    std::function<void()> onEnter;
    std::function<void()> onEscape;
    // A suggested or picked name is chosen whole: the first character typed
    // replaces it, Backspace or Delete empties the box, and a click or an
    // arrow key keeps it to edit.
    bool wholeNameChosen = false;

private:
    void forgetOrReplaceChosenName(const WindowMessage& message) {
        const auto key = message.wParam;
        if (message.message == wm::Char && key >= 0x20 && key != 0x7F) {
            setText("");
        } else if (message.message == wm::KeyDown && (key == vk::Back || key == vk::Delete)) {
            setText("");
            wholeNameChosen = false;
            return;
        } else if (message.message == wm::KeyDown) {
            // A letter's key comes down before its character: only the keys
            // that move the caret keep the name to edit.
            if (key != vk::Left && key != vk::Right && key != vk::Home && key != vk::End) return;
        } else if (message.message != wm::LButtonDown) {
            return;
        }
        wholeNameChosen = false;
    }
};

// A click on a line picks it at once (folders open on one click); the strip
// on the right scrolls a list longer than the view.
class ChooserList : public CadreList {
public:
    bool handleInput(const WindowMessage& message) override {
        if (!isLeftPress(message)) return CadreList::handleInput(message);
        const int px = messageX(message);
        const int py = messageY(message);
        if (!contains(px, py)) return false;
        if (onStrip(px)) {
            pressStrip(py);
            return true;
        }
        if (const std::optional<std::size_t> i = rowAt(px, py)) {
            for (Cadre* each : items) each->checked = each == items[*i];
            selectedIndex = static_cast<int>(*i);
            // Last: picking a folder refills the list, rows included.
            if (onPick) onPick(*i);
        }
        return true;
    }

    bool onStrip(int px) const { return scrolls() && px >= screenX() + width - kStripWidth; }

    // The line under the point, if any.
    std::optional<std::size_t> rowAt(int px, int py) const {
        if (!contains(px, py) || onStrip(px)) return std::nullopt;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const Cadre& row = *items[i];
            const int top = panel->y + row.y;
            if (row.visible && py >= top && py < top + kTreeRowHeight) return i;
        }
        return std::nullopt;
    }

    void draw(float elapsedSeconds) override {
        CadreList::draw(elapsedSeconds);
        if (scrolls()) drawStrip();
    }

    void resetScroll() { scroll = scrollTarget = 0.0f; }

    std::function<void(std::size_t)> onPick;

private:
    int contentHeight() const { return static_cast<int>(items.size()) * kTreeRowHeight; }
    bool scrolls() const { return contentHeight() > height; }
    float lowestScroll() const { return static_cast<float>(std::min(0, height - contentHeight())); }
    void scrollBy(float pixels) { scrollTarget = std::clamp(scrollTarget + pixels, lowestScroll(), 0.0f); }

    // The thumb's top and height within the track between the two arrows.
    std::pair<float, float> thumb() const {
        const float track = static_cast<float>(height - 2 * kStripWidth);
        const float size = std::max(static_cast<float>(kMinThumb),
                                    track * static_cast<float>(height) / static_cast<float>(contentHeight()));
        const float share = lowestScroll() < 0.0f ? scroll / lowestScroll() : 0.0f;
        return {static_cast<float>(screenY() + kStripWidth) + std::clamp(share, 0.0f, 1.0f) * (track - size), size};
    }

    void pressStrip(int py) {
        const int top = screenY();
        const float page = static_cast<float>(height - kTreeRowHeight);
        if (py < top + kStripWidth) {
            scrollBy(static_cast<float>(kArrowRows * kTreeRowHeight));
        } else if (py >= top + height - kStripWidth) {
            scrollBy(-static_cast<float>(kArrowRows * kTreeRowHeight));
        } else {
            const auto [thumbTop, thumbSize] = thumb();
            if (static_cast<float>(py) < thumbTop) scrollBy(page);
            if (static_cast<float>(py) >= thumbTop + thumbSize) scrollBy(-page);
        }
    }

    void drawStrip() {
        InterfaceDrawing& ui = drawing();
        const float left = static_cast<float>(screenX() + width - kStripWidth);
        const float top = static_cast<float>(screenY());
        const float strip = static_cast<float>(kStripWidth);
        ui.filledRect({left, top, strip, static_cast<float>(height)}, kStripColour);
        const auto [thumbTop, thumbSize] = thumb();
        ui.filledRect({left + 3.0f, thumbTop, strip - 6.0f, thumbSize}, kThumbColour);
        // Two small triangles: up at the top, down at the bottom.
        const float bottom = top + static_cast<float>(height);
        for (int i = 0; i < 4; ++i) {
            const float step = static_cast<float>(i);
            const float length = static_cast<float>(1 + 2 * i);
            ui.horizontalLine(left + 8.0f - step - 0.5f, top + 5.0f + step, length, kArrowColour);
            ui.horizontalLine(left + 8.0f - step - 0.5f, bottom - 6.0f - step, length, kArrowColour);
        }
    }
};

ChooserList& addChooserList(Panel& panel, int x, int y, int width, int height) {
    auto list = makeWidget<ChooserList>(x, y, width, height);
    list->rightMargin = panel.width - x - width;
    list->bottomMargin = panel.height - y - height;
    return panel.add(std::move(list));
}

}  // namespace

// ---------------------------------------------------------------------------
// Folders

std::vector<ChooserEntry> listFolder(const fs::path& folder, const std::vector<FileFilter>& filters) {
    std::vector<ChooserEntry> entries;
    std::error_code error;
    for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
         !error && it != fs::directory_iterator() && entries.size() < kMaxListedEntries; it.increment(error)) {
        const fs::path name = it->path().filename();
        if (name.empty() || name.native().front() == '.') continue;
        std::error_code statusError;
        const fs::file_status status = it->status(statusError);  // follows links
        if (statusError) continue;
        if (fs::is_directory(status)) {
            entries.push_back({name, true});
        } else if (fs::is_regular_file(status) && acceptedByFilters(name, filters)) {
            entries.push_back({name, false});
        }
    }
    std::sort(entries.begin(), entries.end(), listedBefore);
    return entries;
}

fs::path openingFolder(const fs::path& asked, const fs::path& fallback) {
    std::error_code error;
    for (fs::path candidate = asked; !candidate.empty(); candidate = candidate.parent_path()) {
        if (fs::is_directory(candidate, error)) return candidate;
        if (candidate == candidate.parent_path()) break;
    }
    if (!fallback.empty() && fs::is_directory(fallback, error)) return fallback;
    fs::path current = fs::current_path(error);
    return error ? fs::path("/") : current;
}

// ---------------------------------------------------------------------------
// The chooser

FileChooser::FileChooser(Interface& interface, fs::path fallbackFolder)
    : interface_(interface), fallbackFolder_(std::move(fallbackFolder)) {
    build();
}

std::string FileChooser::labelText(int number) const { return interface_.labels().text(number); }

void FileChooser::build() {
    Panel& panel = interface_.createPanel("file chooser", 0, 0, kPanelWidth, kPanelHeight, chooserColours());
    panel_ = &panel;
    panel.hasTitleBar = true;
    panel.centreOnShow = true;

    // Item 0 is the close button, outside the content offset like every panel's.
    ChooserButton& close = addChooserButton(panel, "close1.dds", "close1 over.dds", kPanelWidth - 18, 5, " ", -1);
    panel.hasCloseButton = true;
    close.onClick = [this] { cancel(); };

    Label& folderCaption = addLabel(panel, kMargin, kFolderLineY, labelText(label::kChooserFolderCaption));
    folderCaption.captionLabel = label::kChooserFolderCaption;
    folderCaption.textColour = kCaptionColour;
    folderText_ = &addPlainText(panel, kMargin + 80, kFolderLineY, kFolderColour);

    ChooserList& list = addChooserList(panel, kMargin, kListY, kPanelWidth - 2 * kMargin, kListHeight);
    list.autoSize = false;
    list.onPick = [this](std::size_t index) { pickEntry(index); };
    list_ = &list;

    Label& typesCaption = addLabel(panel, kMargin + 4, kListY + kListHeight, labelText(label::kChooserTypesCaption));
    typesCaption.captionLabel = label::kChooserTypesCaption;
    typesCaption.textColour = kTypesColour;
    typesText_ = &addPlainText(panel, kMargin + 70, kListY + kListHeight, kTypesColour);

    auto box = std::make_unique<ChooserNameBox>();
    InterfaceDrawing& ui = panel.renderer().ui;
    box->caption = labelText(label::kChooserNameCaption);
    box->captionLabel = label::kChooserNameCaption;
    box->x = box->captionX = kMargin;
    box->y = box->captionY = kNameLineY;
    box->boxTexture = ui.image("button3.dds");
    if (box->boxTexture != nullptr) box->boxHeight = box->boxTexture->height;
    box->boxWidth = kPanelWidth - 2 * kMargin;
    box->caretTexture = ui.image("caret.dds");
    box->onEnter = [this] { confirm(); };
    box->onEscape = [this] { cancel(); };
    ChooserNameBox& nameBox = panel.add(std::move(box));
    nameBox.caretBlinkPeriod = interface_.host().caretBlinkSeconds();
    nameBox.layOutBox();
    nameBox_ = &nameBox;

    messageText_ = &addPlainText(panel, kMargin, kMessageLineY, kRefusalColour);

    const int buttonsY = kPanelHeight - kButtonsFromBottom;
    ChooserButton& cancelButton =
        addChooserButton(panel, "mbutton.dds", "mbuttonover.dds", 0, buttonsY,
                         labelText(label::kMessageDialogCancelButton), label::kMessageDialogCancelButton);
    cancelButton.x = kPanelWidth - kMargin - cancelButton.width;
    cancelButton.onClick = [this] { cancel(); };
    ChooserButton& ok = addChooserButton(panel, "mbuttond.dds", "mbuttonoverd.dds", 0, buttonsY,
                                         labelText(label::kMessageDialogOkButton), label::kMessageDialogOkButton);
    ok.x = cancelButton.x - kButtonGap - ok.width;
    ok.onClick = [this] {
        confirm();
        // Still open (a folder entered, a name refused): typing goes on in the name box.
        if (panel_->visible) nameBox_->takeFocus();
    };
    okButton_ = &ok;
    cancelButton_ = &cancelButton;
}

const std::string& FileChooser::message() const { return messageText_->text; }

void FileChooser::open(const FileDialogRequest& request, FileDialogCallback done) {
    if (done_) finish(std::nullopt);
    request_ = request;
    done_ = std::move(done);
    const int titleLabel = request.save ? label::kChooserSaveTitle : label::kChooserOpenTitle;
    panel_->title = request.title.empty() ? labelText(titleLabel) : request.title;
    typesText_->text = typesText(request.filters);
    nameBox_->setText(textFromPath(request.suggestedName));
    static_cast<ChooserNameBox*>(nameBox_)->wholeNameChosen = !nameBox_->text.empty();
    enterFolder(openingFolder(request.startFolder, fallbackFolder_));
    panel_->setVisible(true);
    nameBox_->takeFocus();
}

void FileChooser::enterFolder(const fs::path& folder) {
    fs::path normal = folder.lexically_normal();
    // "/a/b/" and "/a/b" are the same folder; its parent is "/a".
    if (normal.has_relative_path() && normal.filename().empty()) normal = normal.parent_path();
    folder_ = normal;
    refill();
    showFolderText();
    clearRefusal();
}

void FileChooser::refill() {
    entries_.clear();
    if (folder_.has_relative_path()) entries_.push_back({kParentName, true});
    const std::vector<ChooserEntry> listed = listFolder(folder_, request_.filters);
    entries_.insert(entries_.end(), listed.begin(), listed.end());
    list_->clearRows();
    for (const ChooserEntry& entry : entries_) list_->addRow(lineText(entry));
    static_cast<ChooserList*>(list_)->resetScroll();
}

// The texts follow their captions, whose width depends on the language.
void FileChooser::showFolderText() {
    const InterfaceDrawing& ui = interface_.drawing();
    const auto after = [&](int captionLeft, int number) {
        return captionLeft + static_cast<int>(std::ceil(ui.measureText(labelText(number)))) + 8;
    };
    typesText_->x = typesText_->textX = after(kMargin + 4, label::kChooserTypesCaption);
    const int left = after(kMargin, label::kChooserFolderCaption);
    folderText_->x = folderText_->textX = left;
    folderText_->text = fittedTail(ui, textFromPath(folder_), static_cast<float>(kPanelWidth - kMargin - left));
}

void FileChooser::pickEntry(std::size_t index) {
    if (index >= entries_.size()) return;
    const ChooserEntry entry = entries_[index];
    if (!entry.isFolder) {
        nameBox_->setText(textFromPath(entry.name));
        nameBox_->takeFocus();  // typing goes on in the name box
        static_cast<ChooserNameBox*>(nameBox_)->wholeNameChosen = true;
        clearRefusal();
        return;
    }
    enterFolder(entry.name == kParentName ? folder_.parent_path() : folder_ / entry.name);
}

bool FileChooser::takeDoubleClick(int x, int y) {
    const auto& list = static_cast<const ChooserList&>(*list_);
    if (!panel_->visible || !list.contains(x, y) || list.onStrip(x)) return false;
    const std::optional<std::size_t> row = list.rowAt(x, y);
    // A folder was entered by the first press: the line under the pointer
    // now belongs to the folder's listing and must not be picked again.
    if (!row || *row >= entries_.size()) return true;
    const ChooserEntry& entry = entries_[*row];
    if (!entry.isFolder && nameBox_->text == textFromPath(entry.name)) confirm();
    return true;
}

void FileChooser::refuse(int labelNumber) {
    messageText_->text = labelText(labelNumber);
    messageText_->captionLabel = labelNumber;
}

void FileChooser::clearRefusal() {
    messageText_->text.clear();
    messageText_->captionLabel = -1;
}

void FileChooser::confirm() {
    if (!done_) return;
    const std::string& typed = nameBox_->text;
    if (typed.find_first_not_of(' ') == std::string::npos) {
        refuse(label::kChooserNameMissing);
        return;
    }
    fs::path chosen = pathFromText(typed);
    if (chosen.is_relative()) chosen = folder_ / chosen;
    chosen = chosen.lexically_normal();
    std::error_code error;
    if (fs::is_directory(chosen, error)) {
        nameBox_->setText("");
        enterFolder(chosen);
        return;
    }
    if (!request_.save) {
        if (fs::exists(chosen, error)) {
            finish(chosen);
        } else {
            refuse(label::kChooserFileMissing);
        }
        return;
    }
    if (chosen.filename().empty()) {
        refuse(label::kChooserNameMissing);
        return;
    }
    chosen = withDefaultExtension(chosen, request_.filters);
    if (fs::is_directory(chosen.parent_path(), error)) {
        finish(chosen);
    } else {
        refuse(label::kChooserFolderMissing);
    }
}

void FileChooser::cancel() {
    if (done_) {
        finish(std::nullopt);
    } else {
        panel_->setVisible(false);
    }
}

void FileChooser::finish(FileDialogAnswer answer) {
    FileDialogCallback done = std::move(done_);
    done_ = nullptr;
    if (interface_.focusedEditBox == nameBox_) {
        nameBox_->focused = false;
        interface_.focusedEditBox = nullptr;
    }
    panel_->setVisible(false);
    if (done) done(std::move(answer));
}

}  // namespace morvanex
