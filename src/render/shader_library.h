// The drawing programs: every stage entry of the six program groups is a
// GLSL 3.30 source "<entry>.glsl" in the shader folder (the program folder
// followed by "shaders"), compiled and linked by the driver at start.
//
// Each load writes its trace line ("CreateVertexShader VS_SOL ,hr = S_OK");
// the shader error file is truncated with its heading at start and receives
// the driver's log of every failed compile or link. A failed stage stays
// empty, start-up goes on, and a program that needs it is 0 (draws nothing).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "render/result_codes.h"
#include "render/vertex_layouts.h"

namespace morvanex {

class TraceLog;

enum class ShaderStage : std::uint8_t { Vertex, Pixel, Geometry };

struct ProgramGroup {
    LayoutKind layout;
    const char* vertex;
    std::vector<const char*> pixel;
    std::vector<const char*> geometry;
};
// The six groups in load order.
const std::array<ProgramGroup, 6>& programGroups();

// The stage combinations the drawing code binds.
enum class ProgramId : std::uint8_t {
    Ui,                  // VS + PSUntex: untextured interface drawing
    UiTextured,          // VS + PS: interface images and glyphs
    WorldLines,          // VS_SOL + PS_SOL: world lines, line objects
    WorldLinesCube,      // VS_SOL + GS_SOL + PS_SOL: line objects into a cube
    LineStrip,           // VS_line + PS_SOL
    Mesh,                // VS_EnvMappedScene + GS_SetupNormalInterp + PS_EnvMap
    MeshReflective,      // ... + PS_EnvMap1
    MeshCube,            // VS_EnvMappedScene + GS_SetupNormalInterpCM + PS_EnvMap
    MeshReflectiveCube,  // ... + PS_EnvMap1
    MeshWireframe,       // GS_SetupNormalInterp + PS_wireframe: edge overlays
    MeshWireframeCube,   // GS_SetupNormalInterpCM + PS_wireframe
    MeshFaces,           // GS_SetupNormalInterp + PS_wireframe1: selected faces
    MeshBump,            // GS_SetupNormalInterp + PS_bump
    Indexed,             // VS_indexed + PS_indexed: vertex markers, editor objects
    UvView,              // VS_UV + PS_SOL (the second PS_SOL)
    // Lit meshes that need no per-triangle frame (no normal map, every
    // vertex normal set) skip the geometry stage, which drivers charge for
    // per triangle even when it only passes the corners on.
    MeshDirect,           // VS_EnvMappedScene + PS_EnvMap
    MeshReflectiveDirect, // VS_EnvMappedScene + PS_EnvMap1
    Count
};
inline constexpr std::size_t kProgramCount = static_cast<std::size_t>(ProgramId::Count);

struct ProgramStages {
    const char* vertex;
    const char* geometry;  // nullptr: none
    const char* pixel;
    int pixelGroup;        // the group whose instance of the pixel entry is used
};
const ProgramStages& programStages(ProgramId id);

// Features of a mesh draw that its programs can be made without: the
// material's images and switches, and skinning.
enum DrawFeature : std::uint32_t {
    kFeatureTexture1 = 1u << 0,
    kFeatureTexture2 = 1u << 1,
    kFeatureTexture3 = 1u << 2,
    kFeatureNormalMap = 1u << 3,
    kFeatureEnvironment = 1u << 4,
    kFeatureShadowMap = 1u << 5,
    kFeatureMirror = 1u << 6,
    kFeatureSkinned = 1u << 7,
};
inline constexpr std::uint32_t kAllDrawFeatures = (1u << 8) - 1;

struct ShaderOptions {
    // False (the default): the vertex programs remap depth from 0..1 to
    // GL's -1..1 (z' = 2z - w). True when the context runs with clip
    // control set to zero-to-one depth.
    bool depthZeroToOne = false;
};

inline constexpr const char* kShaderErrorHeading = "=====================Shaders ==========================";

// The shader folder for a program folder.
std::filesystem::path shaderFolder(const std::filesystem::path& programFolder);

class ShaderLibrary {
public:
    ShaderLibrary() = default;
    ~ShaderLibrary();
    ShaderLibrary(const ShaderLibrary&) = delete;
    ShaderLibrary& operator=(const ShaderLibrary&) = delete;

    // Truncates the error file with its heading, loads the six groups in
    // order (trace lines as it goes), builds their layouts, and links every
    // ProgramId. Needs a current GL 3.3 core context. Returns the number of
    // stages and programs that failed (0: everything is ready).
    int load(const std::filesystem::path& programFolder, const TraceLog& trace,
             const std::filesystem::path& errorFile, ShaderOptions options = {});
    void release();

    // The linked program, 0 when it failed.
    std::uint32_t program(ProgramId id) const { return programs_[static_cast<std::size_t>(id)]; }
    // Any vertex / optional geometry / pixel combination by entry names,
    // linked on first request and kept; 0 when a stage is empty or the link
    // fails (its log goes to the error file).
    std::uint32_t program(std::string_view vertex, std::string_view geometry, std::string_view pixel);
    // A mesh program (vertex stage "VS_EnvMappedScene") whose vertex and
    // pixel stages are compiled with only the features given (DrawFeature
    // bits): the general program tests every feature at run time, and
    // drivers pay for the code of the unused ones too. Made on first request
    // and kept; the general program for all features, for other programs,
    // and when the variant fails.
    std::uint32_t program(ProgramId id, std::uint32_t features);

    // The compiled stage of an entry (the last loaded instance, or the one
    // of a given group 1..6); 0 when missing or failed.
    std::uint32_t stage(std::string_view entry, int group = 0) const;
    ResultCode stageResult(std::string_view entry, int group = 0) const;

    // The vertex-array format of a layout (the last one built).
    VertexArrayFormat& layout(LayoutKind kind) { return layouts_[static_cast<std::size_t>(kind)]; }
    ResultCode layoutResult(LayoutKind kind) const { return layoutResults_[static_cast<std::size_t>(kind)]; }

    bool depthZeroToOne() const { return options_.depthZeroToOne; }

private:
    struct Stage {
        std::string entry;
        ShaderStage kind;
        int group;
        std::uint32_t shader = 0;
        ResultCode result = hr::E_FAIL;
    };
    struct Linked {
        std::string key;
        std::uint32_t program;
    };

    const Stage* findStage(std::string_view entry, int group) const;
    struct Variant {
        ProgramId id;
        std::uint32_t features;
        std::uint32_t program = 0;
        std::uint32_t pixelShader = 0;
    };

    Stage compile(std::string_view entry, ShaderStage kind, int group, const std::string& extraDefines = {});
    ResultCode checkLayout(LayoutKind kind, std::uint32_t vertexShader);
    std::uint32_t link(std::uint32_t vs, std::uint32_t gs, std::uint32_t ps, const std::string& what);
    void appendError(const std::string& text) const;

    std::filesystem::path folder_;
    std::filesystem::path errorFile_;
    ShaderOptions options_;
    std::vector<Stage> stages_;
    std::array<std::uint32_t, kProgramCount> programs_{};
    std::vector<Linked> extraPrograms_;
    std::vector<Variant> variants_;
    // "VS_EnvMappedScene" without and with skinning (0: not made yet).
    std::array<std::uint32_t, 2> meshVertexVariants_{};
    std::array<VertexArrayFormat, kLayoutKinds> layouts_;
    std::array<ResultCode, kLayoutKinds> layoutResults_{hr::E_FAIL, hr::E_FAIL, hr::E_FAIL};
};

// Name of a shader result in the trace line.
std::string shaderResultName(ResultCode code);

}  // namespace morvanex
