#include "app/window_rules.h"

namespace morvanex {

bool isDroppedPointerMessage(const WindowMessage& message) {
    const bool pointerMessage = message.message == wm::MouseMove || message.message == wm::LButtonDown ||
                                message.message == wm::LButtonUp;
    return pointerMessage && isSynthesizedPointer(message);
}

bool sizeChangeResizesTargets(std::uintptr_t previousKind, std::uintptr_t newKind) {
    if (newKind == size_kind::Minimized) return false;
    if (previousKind == size_kind::Minimized && newKind == size_kind::Maximized) return false;
    return true;
}

CloseAction closeAction(bool applicationExists, bool closeForced, bool sceneModified) {
    if (applicationExists && !closeForced && sceneModified) return CloseAction::AskFirst;
    return CloseAction::CloseNow;
}

std::string sceneWindowTitle(Language language, std::string_view frenchPrefix, std::string_view sceneFileName) {
    return (language == Language::English ? std::string("Morvanex \x96 ") : std::string(frenchPrefix)) + std::string(sceneFileName);
}

}  // namespace morvanex
