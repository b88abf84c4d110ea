// The built-in file chooser: a panel listing the folders and files of one
// folder (files of the wanted kinds only), a name box and OK / Cancel. It
// stands in for the system's open and save dialogs where the desktop has no
// chooser program. The panel lives across frames, so the answer comes
// through a callback when the user confirms or cancels.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/file_dialog_request.h"

namespace morvanex {

class CadreList;
class EditBox;
class ImageButton;
class Interface;
class Label;
class Panel;

// One line of the list: a folder or a file of the current folder.
struct ChooserEntry {
    std::filesystem::path name;  // the file name alone; ".." for the parent
    bool isFolder = false;
};

// The folders (first) and the accepted files of a folder, each group sorted
// by name ignoring case. Hidden names (a leading dot) and entries that
// cannot be read are left out; an unreadable folder lists nothing.
std::vector<ChooserEntry> listFolder(const std::filesystem::path& folder, const std::vector<FileFilter>& filters);

// The folder the chooser opens: the asked one, else the nearest existing
// folder above it, else the fallback.
std::filesystem::path openingFolder(const std::filesystem::path& asked, const std::filesystem::path& fallback);

class FileChooser {
public:
    // Builds the hidden panel in the interface. `fallbackFolder` is where a
    // request whose start folder is missing opens (the user's home).
    FileChooser(Interface& interface, std::filesystem::path fallbackFolder);
    FileChooser(const FileChooser&) = delete;
    FileChooser& operator=(const FileChooser&) = delete;

    // Shows the panel for the request. A request still waiting is answered
    // with a cancel first.
    void open(const FileDialogRequest& request, FileDialogCallback done);
    bool waiting() const { return static_cast<bool>(done_); }

    // What the widgets do (public so a test or a tutorial can drive them).
    void enterFolder(const std::filesystem::path& folder);
    void pickEntry(std::size_t index);  // a click on line `index`
    void confirm();                     // OK, or Enter in the name box
    void cancel();                      // Cancel, or the close button
    // A double click at (x, y), which would otherwise reach the panel as two
    // more presses. On the list it adds nothing to its first press (a
    // folder entered once), except that on a file's line it confirms the
    // file. False when it is not on the list: the presses go on as usual.
    bool takeDoubleClick(int x, int y);

    Panel& panel() const { return *panel_; }
    const std::filesystem::path& folder() const { return folder_; }
    const std::vector<ChooserEntry>& entries() const { return entries_; }
    CadreList& list() const { return *list_; }
    EditBox& nameBox() const { return *nameBox_; }
    ImageButton& okButton() const { return *okButton_; }
    ImageButton& cancelButton() const { return *cancelButton_; }
    const std::string& message() const;  // the refusal shown under the name box

private:
    void build();
    void refill();
    void showFolderText();
    void refuse(int labelNumber);
    void clearRefusal();
    void finish(FileDialogAnswer answer);
    std::string labelText(int number) const;

    Interface& interface_;
    std::filesystem::path fallbackFolder_;
    FileDialogRequest request_;
    FileDialogCallback done_;
    std::filesystem::path folder_;
    std::vector<ChooserEntry> entries_;
    Panel* panel_ = nullptr;
    CadreList* list_ = nullptr;
    EditBox* nameBox_ = nullptr;
    Label* folderText_ = nullptr;
    Label* typesText_ = nullptr;
    Label* messageText_ = nullptr;
    ImageButton* okButton_ = nullptr;
    ImageButton* cancelButton_ = nullptr;
};

}  // namespace morvanex
