#include "app/file_dialogs.h"

#include "ui/file_chooser.h"
#include "ui/interface.h"

namespace morvanex {

FileDialogs::FileDialogs(Interface& interface, const EnvironmentLookup& environment,
                         std::filesystem::path fallbackFolder)
    : interface_(interface), desktop_(pickDesktopChooser(environment)), fallbackFolder_(std::move(fallbackFolder)) {}

FileDialogs::~FileDialogs() = default;

void FileDialogs::chooseFile(const FileDialogRequest& asked, FileDialogCallback done) {
    FileDialogRequest request = asked;
    if (!lastFolder_.empty()) request.startFolder = lastFolder_;
    // The folder is noted before the command runs: it may ask again at once.
    FileDialogCallback answered = [this, done = std::move(done)](FileDialogAnswer answer) {
        if (answer && answer->has_parent_path()) lastFolder_ = answer->parent_path();
        if (done) done(std::move(answer));
    };
    if (desktop_ != DesktopChooser::None) {
        DesktopChooserOutcome outcome = runDesktopChooser(desktop_, request);
        if (outcome.answered) {
            answered(std::move(outcome.path));
            return;
        }
        // It could not start or broke down: it would again next time.
        desktop_ = DesktopChooser::None;
    }
    if (!chooser_) chooser_ = std::make_unique<FileChooser>(interface_, fallbackFolder_);
    chooser_->open(request, std::move(answered));
}

}  // namespace morvanex
