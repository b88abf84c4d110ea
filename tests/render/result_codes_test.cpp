// Texts of the result codes and the mapping of OpenGL failures onto them.
#include "render/result_codes.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "base/test_files.h"
#include "base/trace_log.h"

namespace morvanex {
namespace {

const std::string kIndetermine = "Indetermin\xE9";

TEST(ResultCodeNameTest, NamesEveryGraphicsCode) {
    const std::vector<std::pair<ResultCode, const char*>> table = {
        {0x00000000u, "S_OK"},
        {0x00000001u, "S_FALSE"},
        {0x80004005u, "E_FAIL"},
        {0x8007000Eu, "E_OUTOFMEMORY"},
        {0x80070057u, "E_INVALIDARG"},
        {0x8876021Cu, "D3DERR_WASSTILLDRAWING"},
        {0x8876086Cu, "D3DERR_INVALIDCALL"},
        {0x887C0001u, "D3D11_ERROR_TOO_MANY_UNIQUE_STATE_OBJECTS"},
        {0x887C0002u, "D3D11_ERROR_FILE_NOT_FOUND"},
        {0x887C0003u, "D3D11_ERROR_TOO_MANY_UNIQUE_VIEW_OBJECTS"},
        {0x887C0004u, "D3D11_ERROR_DEFERRED_CONTEXT_MAP_WITHOUT_INITIAL_DISCARD"},
    };
    for (const auto& [code, text] : table) EXPECT_EQ(ResultCodeName(code), text) << std::hex << code;
}

TEST(ResultCodeNameTest, UnknownGraphicsCodesAreIndetermine) {
    ASSERT_EQ(kIndetermine.size(), 11u);
    EXPECT_EQ(static_cast<unsigned char>(kIndetermine.back()), 0xE9u);
    for (ResultCode code : {0x00000002u, 0x80004001u, 0x887C0005u, 0x88790002u, 0x8876021Du, 0xFFFFFFFFu})
        EXPECT_EQ(ResultCodeName(code), kIndetermine) << std::hex << code;
}

TEST(ResultCodeNameTest, NamesEveryAudioCode) {
    EXPECT_EQ(AudioResultCodeName(0x00000000u), "S_OK");
    EXPECT_EQ(AudioResultCodeName(0x80004005u), "E_FAIL");
    EXPECT_EQ(AudioResultCodeName(0x80070057u), "E_INVALIDARG");
    EXPECT_EQ(AudioResultCodeName(0x88790002u), "ERROR_FILE_NOT_FOUND");
}

TEST(ResultCodeNameTest, UnknownAudioCodesPrintLowerCaseHexWithoutLeadingZeros) {
    EXPECT_EQ(AudioResultCodeName(0x00000001u), "0x1");  // S_FALSE is not in this table
    EXPECT_EQ(AudioResultCodeName(0x00000010u), "0x10");
    EXPECT_EQ(AudioResultCodeName(0x0000ABCDu), "0xabcd");
    EXPECT_EQ(AudioResultCodeName(0x8007000Eu), "0x8007000e");
    EXPECT_EQ(AudioResultCodeName(0x887C0002u), "0x887c0002");
    EXPECT_EQ(AudioResultCodeName(0xFFFFFFFFu), "0xffffffff");
}

TEST(ResultCodeNameTest, SuccessIsTheClearTopBit) {
    EXPECT_TRUE(succeeded(hr::S_OK));
    EXPECT_TRUE(succeeded(hr::S_FALSE));
    EXPECT_TRUE(failed(hr::E_FAIL));
    EXPECT_TRUE(failed(hr::E_OUTOFMEMORY));
    EXPECT_TRUE(failed(hr::ERROR_FILE_NOT_FOUND));
}

TEST(ResultCodeNameTest, GlFailuresMapOntoResultCodes) {
    EXPECT_EQ(resultFromGlError(GL_NO_ERROR), hr::S_OK);
    EXPECT_EQ(resultFromGlError(GL_OUT_OF_MEMORY), hr::E_OUTOFMEMORY);
    EXPECT_EQ(resultFromGlError(GL_INVALID_VALUE), hr::E_INVALIDARG);
    EXPECT_EQ(resultFromGlError(GL_INVALID_ENUM), hr::E_INVALIDARG);
    EXPECT_EQ(resultFromGlError(GL_INVALID_OPERATION), hr::E_FAIL);
    EXPECT_EQ(resultFromGlError(GL_INVALID_FRAMEBUFFER_OPERATION), hr::E_FAIL);

    EXPECT_EQ(resultFromFramebufferStatus(GL_FRAMEBUFFER_COMPLETE), hr::S_OK);
    EXPECT_EQ(resultFromFramebufferStatus(GL_FRAMEBUFFER_UNSUPPORTED), hr::E_INVALIDARG);
    EXPECT_EQ(resultFromFramebufferStatus(GL_FRAMEBUFFER_INCOMPLETE_MULTISAMPLE), hr::E_INVALIDARG);
    EXPECT_EQ(resultFromFramebufferStatus(GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT), hr::E_FAIL);
    EXPECT_EQ(resultFromFramebufferStatus(GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT), hr::E_FAIL);
    EXPECT_EQ(resultFromFramebufferStatus(0), hr::E_FAIL);  // the status call itself failed
}

TEST(ResultCodeNameTest, TraceLinesCarryTheName) {
    test::TempFolder temp;
    const TraceLog trace(temp / "trace.txt");
    trace.result("CreateFramebuffer", ResultCodeName(hr::E_OUTOFMEMORY));
    trace.result("CreateProbeFramebuffer", AudioResultCodeName(hr::E_OUTOFMEMORY));
    trace.result("CompileShader", ResultCodeName(0x1234u));
    EXPECT_EQ(test::readBytes(temp / "trace.txt"),
              "CreateFramebuffer, hr = E_OUTOFMEMORY\r\n"
              "CreateProbeFramebuffer, hr = 0x8007000e\r\n"
              "CompileShader, hr = Indetermin\xE9\r\n");
}

}  // namespace
}  // namespace morvanex
