#include "app/file_dialogs.h"

#include "ui/file_chooser.h"
#include "ui/interface.h"

namespace morvanex {

FileDialogs::FileDialogs(Interface& interface, const EnvironmentLookup& environment,
                         std::filesystem::path fallbackFolder)
    : interface_(interface), desktop_(pickDesktopChooser(environment)), fallbackFolder_(std::move(fallbackFolder)) {}

FileDialogs::~FileDialogs() = default;

void FileDialogs::chooseFile(const FileDialogRequest& request, FileDialogCallback done) {
    if (desktop_ != DesktopChooser::None) {
        DesktopChooserOutcome outcome = runDesktopChooser(desktop_, request);
        if (outcome.answered) {
            if (done) done(std::move(outcome.path));
            return;
        }
        // It could not start or broke down: it would again next time.
        desktop_ = DesktopChooser::None;
    }
    if (!chooser_) chooser_ = std::make_unique<FileChooser>(interface_, fallbackFolder_);
    chooser_->open(request, std::move(done));
}

}  // namespace morvanex
