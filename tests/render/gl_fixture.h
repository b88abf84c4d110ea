// A hidden window with an OpenGL 3.3 core context for tests that draw.
// Runs on the offscreen video driver (the test runner sets it).
#pragma once

#include <gtest/gtest.h>

#include "platform/platform_window.h"
#include "platform/sdl_session.h"

namespace morvanex::testing {

class GlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sdl_.ok()) << sdl_.error();
        ASSERT_TRUE(window_.create("test", 64, 64)) << window_.lastError();
        ASSERT_EQ(window_.createGraphicsContext(), GraphicsSupport::Core33) << window_.lastError();
    }

    SdlSession sdl_;
    PlatformWindow window_;
};

}  // namespace morvanex::testing
