// The window procedure's decisions: touch-made pointer input, size changes
// and the close request.
#include "app/window_rules.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/window_messages.h"

namespace morvanex {
namespace {

WindowMessage pointerMessage(std::uint32_t id, std::uint32_t extraInfo) {
    WindowMessage m;
    m.message = id;
    m.wParam = mouse_keys::Left;
    m.lParam = makeLParam(120, 45);
    m.extraInfo = extraInfo;
    return m;
}

constexpr std::uint32_t kDroppedKinds[] = {wm::MouseMove, wm::LButtonDown, wm::LButtonUp};

TEST(WindowRules, DropsTouchMadeMovesAndLeftButtonMessages) {
    for (std::uint32_t id : kDroppedKinds) {
        EXPECT_TRUE(isDroppedPointerMessage(pointerMessage(id, kSynthesizedPointerSignature))) << id;
        // Only the upper 24 bits are the signature; the low byte varies.
        EXPECT_TRUE(isDroppedPointerMessage(pointerMessage(id, 0xFF515701u))) << id;
        EXPECT_TRUE(isDroppedPointerMessage(pointerMessage(id, 0xFF5157FFu))) << id;
    }
}

TEST(WindowRules, KeepsRealMouseMessages) {
    for (std::uint32_t id : kDroppedKinds) {
        EXPECT_FALSE(isDroppedPointerMessage(pointerMessage(id, 0))) << id;
        // Near misses of the signature are real input.
        EXPECT_FALSE(isDroppedPointerMessage(pointerMessage(id, 0xFF515600u))) << id;
        EXPECT_FALSE(isDroppedPointerMessage(pointerMessage(id, 0x7F515700u))) << id;
        EXPECT_FALSE(isDroppedPointerMessage(pointerMessage(id, 0xFF505700u))) << id;
        EXPECT_FALSE(isDroppedPointerMessage(pointerMessage(id, 0x00000057u))) << id;
    }
}

TEST(WindowRules, KeepsOtherMessagesEvenWithTheSignature) {
    const std::uint32_t kept[] = {wm::RButtonDown, wm::RButtonUp, wm::MButtonDown, wm::MButtonUp,
                                  wm::LButtonDoubleClick, wm::MouseWheel, wm::KeyDown, wm::KeyUp,
                                  wm::Char, wm::Touch, wm::Size, wm::Close};
    for (std::uint32_t id : kept) {
        EXPECT_FALSE(isDroppedPointerMessage(pointerMessage(id, kSynthesizedPointerSignature))) << id;
    }
}

TEST(WindowRules, SizeChangesThatResizeTheTargets) {
    using namespace size_kind;
    EXPECT_TRUE(sizeChangeResizesTargets(Restored, Maximized));
    EXPECT_TRUE(sizeChangeResizesTargets(Maximized, Restored));
    EXPECT_TRUE(sizeChangeResizesTargets(Minimized, Restored));
    EXPECT_TRUE(sizeChangeResizesTargets(Restored, Restored));  // dragging the border
    EXPECT_TRUE(sizeChangeResizesTargets(Maximized, Maximized));
}

TEST(WindowRules, SizeChangesThatKeepTheTargets) {
    using namespace size_kind;
    // Back from the task bar straight to maximised: the size did not change.
    EXPECT_FALSE(sizeChangeResizesTargets(Minimized, Maximized));
    // Minimising never resizes, from wherever it comes.
    EXPECT_FALSE(sizeChangeResizesTargets(Restored, Minimized));
    EXPECT_FALSE(sizeChangeResizesTargets(Maximized, Minimized));
    EXPECT_FALSE(sizeChangeResizesTargets(Minimized, Minimized));
}

TEST(WindowRules, CloseAsksFirstOnlyForAModifiedSceneOfARunningApplication) {
    EXPECT_EQ(closeAction(/*applicationExists=*/true, /*closeForced=*/false, /*sceneModified=*/true),
              CloseAction::AskFirst);

    EXPECT_EQ(closeAction(true, false, false), CloseAction::CloseNow);  // nothing to lose
    EXPECT_EQ(closeAction(true, true, true), CloseAction::CloseNow);    // forced: already answered
    EXPECT_EQ(closeAction(true, true, false), CloseAction::CloseNow);
    EXPECT_EQ(closeAction(false, false, true), CloseAction::CloseNow);  // start-up failed: nobody to ask
    EXPECT_EQ(closeAction(false, false, false), CloseAction::CloseNow);
    EXPECT_EQ(closeAction(false, true, true), CloseAction::CloseNow);
    EXPECT_EQ(closeAction(false, true, false), CloseAction::CloseNow);
}

}  // namespace
}  // namespace morvanex
