// Loading the drawing programs: every entry compiles and links, the trace
// lines and the shader error file, and the uniform block layouts as the
// driver sees them.
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "base/trace_log.h"
#include "platform/system_folders.h"
#include "render/constant_blocks.h"
#include "render/gl_fixture.h"
#include "render/shader_library.h"
#include "render/shader_test_support.h"

namespace morvanex {
namespace {

using testing::readLines;
using testing::readText;
using testing::TempFolder;
using testing::writeText;

const std::vector<std::string> kExpectedTrace = {
    "CreateInputLayout VS_SOL ,hr = S_OK",
    "CreateVertexShader VS_SOL ,hr = S_OK",
    "CreatePixelShader PS_SOL ,hr = S_OK",
    "CreateGeometryShader GS_SOL ,hr = S_OK",
    "CreateInputLayout VS_line ,hr = S_OK",
    "CreateVertexShader VS_line ,hr = S_OK",
    "CreateInputLayout VS ,hr = S_OK",
    "CreateVertexShader VS ,hr = S_OK",
    "CreatePixelShader PS ,hr = S_OK",
    "CreatePixelShader PSUntex ,hr = S_OK",
    "CreateInputLayout VS_indexed ,hr = S_OK",
    "CreateVertexShader VS_indexed ,hr = S_OK",
    "CreatePixelShader PS_indexed ,hr = S_OK",
    "CreateInputLayout VS_UV ,hr = S_OK",
    "CreateVertexShader VS_UV ,hr = S_OK",
    "CreatePixelShader PS_SOL ,hr = S_OK",
    "CreateInputLayout VS_EnvMappedScene ,hr = S_OK",
    "CreateVertexShader VS_EnvMappedScene ,hr = S_OK",
    "CreatePixelShader PS_EnvMap ,hr = S_OK",
    "CreatePixelShader PS_EnvMap1 ,hr = S_OK",
    "CreatePixelShader PS_wireframe ,hr = S_OK",
    "CreatePixelShader PS_bump ,hr = S_OK",
    "CreatePixelShader PS_wireframe1 ,hr = S_OK",
    "CreateGeometryShader GS_SetupNormalInterp ,hr = S_OK",
    "CreateGeometryShader GS_SetupNormalInterpCM ,hr = S_OK",
};

const std::string kHeadingOnly = std::string(kShaderErrorHeading) + "\r\n\r\n";

class ShaderPrograms : public testing::GlTest {};

TEST_F(ShaderPrograms, EveryEntryCompilesLinksAndTracesItsLine) {
    const std::filesystem::path programFolder = executableFolder();
    // One source file per entry, copied beside the executable by the build.
    std::set<std::string> entries;
    for (const ProgramGroup& g : programGroups()) {
        entries.insert(g.vertex);
        entries.insert(g.pixel.begin(), g.pixel.end());
        entries.insert(g.geometry.begin(), g.geometry.end());
    }
    EXPECT_EQ(entries.size(), 18u);
    for (const std::string& e : entries) {
        EXPECT_TRUE(std::filesystem::is_regular_file(shaderFolder(programFolder) / (e + ".glsl"))) << e;
    }

    for (const bool zeroToOne : {false, true}) {
        SCOPED_TRACE(zeroToOne ? "zero-to-one depth" : "depth remap");
        TempFolder temp;
        const TraceLog trace(temp.path() / "trace.txt");
        const std::filesystem::path errorFile = temp.path() / "error.txt";
        writeText(errorFile, "left over from an earlier run\r\n");
        ShaderLibrary library;
        const int failures = library.load(programFolder, trace, errorFile, {zeroToOne});
        EXPECT_EQ(failures, 0) << readText(errorFile);
        EXPECT_EQ(readLines(temp.path() / "trace.txt"), kExpectedTrace);
        EXPECT_EQ(readText(errorFile), kHeadingOnly);
        for (std::size_t i = 0; i < kProgramCount; ++i) {
            EXPECT_NE(library.program(static_cast<ProgramId>(i)), 0u) << "program " << i;
        }
        for (LayoutKind kind : {LayoutKind::Line, LayoutKind::Screen, LayoutKind::Mesh}) {
            EXPECT_TRUE(library.layout(kind).valid()) << layoutName(kind);
        }
        EXPECT_EQ(library.depthZeroToOne(), zeroToOne);
        // Two instances of PS_SOL, one per group.
        EXPECT_NE(library.stage("PS_SOL", 1), 0u);
        EXPECT_NE(library.stage("PS_SOL", 5), 0u);
        EXPECT_NE(library.stage("PS_SOL", 1), library.stage("PS_SOL", 5));
        // Other combinations link on request, once.
        const std::uint32_t extra = library.program("VS_EnvMappedScene", "", "PS_wireframe");
        EXPECT_NE(extra, 0u);
        EXPECT_EQ(library.program("VS_EnvMappedScene", "", "PS_wireframe"), extra);
        EXPECT_EQ(library.program("VS_SOL", "", "PS_SOL"), library.program(ProgramId::WorldLines));
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

// Shared declarations come from include files of the shader folder; a
// missing one fails only the stages that include it, with a line in the log.
TEST_F(ShaderPrograms, IncludedFilesAreReadAndAMissingOneFailsItsStage) {
    TempFolder temp;
    const std::filesystem::path folder = temp.path() / "shaders";
    std::filesystem::copy(shaderFolder(executableFolder()), folder);
    std::filesystem::remove(folder / "material_block.glsl");
    const TraceLog trace(temp.path() / "trace.txt");
    const std::filesystem::path errorFile = temp.path() / "error.txt";
    ShaderLibrary library;
    EXPECT_GT(library.load(temp.path(), trace, errorFile), 0);
    EXPECT_EQ(library.stageResult("PS_EnvMap"), hr::E_FAIL);
    EXPECT_EQ(library.stageResult("PS_wireframe"), hr::E_FAIL);
    EXPECT_EQ(library.stageResult("VS_SOL"), hr::S_OK);  // includes only the transform block
    EXPECT_NE(library.program(ProgramId::WorldLines), 0u);
    EXPECT_NE(readText(errorFile).find("cannot include \"material_block.glsl\""), std::string::npos);
}

TEST_F(ShaderPrograms, FailuresAreTracedLoggedAndLeaveTheRestWorking) {
    TempFolder temp;
    const std::filesystem::path folder = temp.path() / "shaders";
    std::filesystem::copy(shaderFolder(executableFolder()), folder);
    // A source that does not compile, a missing one, and a vertex program
    // that reads an integer where its layout has floats.
    writeText(folder / "PS_EnvMap.glsl", "#version 330 core\nvoid main() { this is not glsl; }\n");
    std::filesystem::remove(folder / "GS_SOL.glsl");
    std::string uv = readText(folder / "VS_UV.glsl");
    const std::string position = "layout(location = 0) in vec3 inPosition;";
    ASSERT_NE(uv.find(position), std::string::npos);
    uv.replace(uv.find(position), position.size(),
               "layout(location = 0) in vec3 inPosition;\nlayout(location = 1) in uvec4 inWrong;");
    const std::string clip = "gl_Position = toGlClip(vec4(ndc, 0.5, 1.0));";
    ASSERT_NE(uv.find(clip), std::string::npos);
    uv.replace(uv.find(clip), clip.size(), "gl_Position = toGlClip(vec4(ndc, 0.5, 1.0)) + vec4(float(inWrong.x));");
    writeText(folder / "VS_UV.glsl", uv);

    const TraceLog trace(temp.path() / "trace.txt");
    const std::filesystem::path errorFile = temp.path() / "error.txt";
    ShaderLibrary library;
    EXPECT_GT(library.load(temp.path(), trace, errorFile), 0);

    std::vector<std::string> expected = kExpectedTrace;
    for (std::string& line : expected) {
        if (line == "CreatePixelShader PS_EnvMap ,hr = S_OK") line = "CreatePixelShader PS_EnvMap ,hr = E_FAIL";
        if (line == "CreateGeometryShader GS_SOL ,hr = S_OK") line = "CreateGeometryShader GS_SOL ,hr = E_INVALIDARG";
        if (line == "CreateInputLayout VS_UV ,hr = S_OK") line = "CreateInputLayout VS_UV ,hr = E_INVALIDARG";
    }
    EXPECT_EQ(readLines(temp.path() / "trace.txt"), expected);

    const std::string log = readText(errorFile);
    ASSERT_EQ(log.rfind(kHeadingOnly, 0), 0u) << log;
    EXPECT_GT(log.size(), kHeadingOnly.size() + 40) << "the driver's log is missing: " << log;
    EXPECT_NE(log.find("CreatePixelShader PS_EnvMap"), std::string::npos) << log;
    EXPECT_NE(log.find("GS_SOL"), std::string::npos) << log;
    EXPECT_NE(log.find("inWrong"), std::string::npos) << log;

    EXPECT_EQ(library.stage("PS_EnvMap"), 0u);
    EXPECT_EQ(library.program(ProgramId::Mesh), 0u);
    EXPECT_EQ(library.program(ProgramId::MeshCube), 0u);
    EXPECT_EQ(library.program(ProgramId::WorldLinesCube), 0u);
    EXPECT_NE(library.program(ProgramId::MeshReflective), 0u);
    EXPECT_NE(library.program(ProgramId::WorldLines), 0u);
    // The mesh layout failed with VS_UV and was built again by the last group.
    EXPECT_EQ(library.layoutResult(LayoutKind::Mesh), hr::S_OK);
    EXPECT_TRUE(library.layout(LayoutKind::Mesh).valid());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    // A load from a clean folder starts the error file afresh.
    EXPECT_EQ(library.load(executableFolder(), trace, errorFile), 0);
    EXPECT_EQ(readText(errorFile), kHeadingOnly);
}

TEST_F(ShaderPrograms, DriverBlockLayoutsMatchTheRecords) {
    TempFolder temp;
    ShaderLibrary library;
    ASSERT_EQ(library.load(executableFolder(), TraceLog(), temp.path() / "error.txt"), 0)
        << readText(temp.path() / "error.txt");

    std::map<std::string, const BlockDescription*> blocks;
    std::map<std::string, const BlockMember*> members;
    for (const BlockDescription& b : blockDescriptions()) {
        blocks[b.name] = &b;
        for (const BlockMember& m : b.members) members[m.name] = &m;
    }
    std::set<std::string> seenBlocks;
    std::set<std::string> seenMembers;
    for (std::size_t p = 0; p < kProgramCount; ++p) {
        const GLuint program = library.program(static_cast<ProgramId>(p));
        SCOPED_TRACE("program " + std::to_string(p));
        GLint blockCount = 0;
        glGetProgramiv(program, GL_ACTIVE_UNIFORM_BLOCKS, &blockCount);
        for (GLint b = 0; b < blockCount; ++b) {
            char name[64] = {};
            glGetActiveUniformBlockName(program, static_cast<GLuint>(b), sizeof name, nullptr, name);
            ASSERT_TRUE(blocks.count(name)) << name;
            GLint size = 0;
            GLint binding = -1;
            glGetActiveUniformBlockiv(program, static_cast<GLuint>(b), GL_UNIFORM_BLOCK_DATA_SIZE, &size);
            glGetActiveUniformBlockiv(program, static_cast<GLuint>(b), GL_UNIFORM_BLOCK_BINDING, &binding);
            EXPECT_EQ(static_cast<std::uint32_t>(size), blocks[name]->size) << name;
            EXPECT_EQ(static_cast<std::uint32_t>(binding), blocks[name]->slot) << name;
            seenBlocks.insert(name);
        }
        GLint uniformCount = 0;
        glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &uniformCount);
        for (GLint u = 0; u < uniformCount; ++u) {
            const GLuint index = static_cast<GLuint>(u);
            GLint blockIndex = -1;
            glGetActiveUniformsiv(program, 1, &index, GL_UNIFORM_BLOCK_INDEX, &blockIndex);
            if (blockIndex < 0) continue;
            char name[128] = {};
            GLint arraySize = 0;
            GLenum type = 0;
            glGetActiveUniform(program, index, sizeof name, nullptr, &arraySize, &type, name);
            GLint offset = -1;
            GLint stride = -1;
            GLint rowMajor = -1;
            glGetActiveUniformsiv(program, 1, &index, GL_UNIFORM_OFFSET, &offset);
            glGetActiveUniformsiv(program, 1, &index, GL_UNIFORM_ARRAY_STRIDE, &stride);
            glGetActiveUniformsiv(program, 1, &index, GL_UNIFORM_IS_ROW_MAJOR, &rowMajor);
            ASSERT_TRUE(members.count(name)) << "the records lack " << name;
            EXPECT_EQ(static_cast<std::uint32_t>(offset), members[name]->offset) << name;
            if (arraySize > 1) {
                EXPECT_EQ(static_cast<std::uint32_t>(stride), members[name]->arrayStride) << name;
            }
            EXPECT_EQ(rowMajor, 0) << name;
            seenMembers.insert(name);
        }
    }
    // Every block and every member is declared by some program, except the
    // profile curves, which only the CPU deformers read.
    for (const auto& [name, block] : blocks) {
        if (name != "ProfileCurveBlock") {
            EXPECT_TRUE(seenBlocks.count(name)) << name;
        }
    }
    for (const auto& [name, member] : members) {
        if (!name.starts_with("ProfileCurveBlock.")) {
            EXPECT_TRUE(seenMembers.count(name)) << name;
        }
    }
}

}  // namespace
}  // namespace morvanex
