// The decisions of the window procedure, kept apart from the window so that
// they can be checked without one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/window_messages.h"
#include "ui/label_table.h"

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

// The French titles of a scene file: after opening (and for a new scene),
// and after saving.
inline constexpr const char* kTitlePrefixOnOpen = "Morvanex  -   ";
inline constexpr const char* kTitlePrefixOnSave = "Morvanex ";

// The window title naming a scene file (Windows-1252). An English
// interface has one form, "Morvanex \x96 NAME" (an en dash); the French one
// keeps the stored form of each step, `frenchPrefix` then the name.
std::string sceneWindowTitle(Language language, std::string_view frenchPrefix, std::string_view sceneFileName);

// Answers of the close question.
enum class CloseAnswer { Save, Discard, Cancel };

}  // namespace morvanex
