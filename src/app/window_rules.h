// The decisions of the window procedure, kept apart from the window so that
// they can be checked without one.
#pragma once

#include <cstdint>

#include "platform/window_messages.h"

namespace morvanex {

// Mouse moves and left-button messages that the system made up from touch
// or pen input are dropped: the touch handler already turns touches into
// pointer input of its own.
bool isDroppedPointerMessage(const WindowMessage& message);

// A size message resizes the frame targets unless the window was minimised,
// or comes back from minimised straight to maximised (its size did not change).
bool sizeChangeResizesTargets(std::uintptr_t previousKind, std::uintptr_t newKind);

enum class CloseAction {
    AskFirst,  // keep the window open and ask whether to save
    CloseNow,  // beep and destroy the window
};

CloseAction closeAction(bool applicationExists, bool closeForced, bool sceneModified);

// Answers of the close question.
enum class CloseAnswer { Save, Discard, Cancel };

}  // namespace morvanex
