#include "render/shader_library.h"

#include <epoxy/gl.h>

#include <fstream>
#include <iterator>

#include "base/trace_log.h"
#include "render/constant_blocks.h"

namespace morvanex {

// Result names of the shader lines: the shared result-code table.
std::string shaderResultName(ResultCode code) { return ResultCodeName(code); }

namespace {

const std::array<ProgramGroup, 6> kGroups{{
    {LayoutKind::Line, "VS_SOL", {"PS_SOL"}, {"GS_SOL"}},
    {LayoutKind::Line, "VS_line", {}, {}},
    {LayoutKind::Screen, "VS", {"PS", "PSUntex"}, {}},
    {LayoutKind::Mesh, "VS_indexed", {"PS_indexed"}, {}},
    {LayoutKind::Mesh, "VS_UV", {"PS_SOL"}, {}},
    {LayoutKind::Mesh,
     "VS_EnvMappedScene",
     {"PS_EnvMap", "PS_EnvMap1", "PS_wireframe", "PS_bump", "PS_wireframe1"},
     {"GS_SetupNormalInterp", "GS_SetupNormalInterpCM"}},
}};

constexpr std::array<ProgramStages, kProgramCount> kPrograms{{
    {"VS", nullptr, "PSUntex", 3},
    {"VS", nullptr, "PS", 3},
    {"VS_SOL", nullptr, "PS_SOL", 1},
    {"VS_SOL", "GS_SOL", "PS_SOL", 1},
    {"VS_line", nullptr, "PS_SOL", 1},
    {"VS_EnvMappedScene", "GS_SetupNormalInterp", "PS_EnvMap", 6},
    {"VS_EnvMappedScene", "GS_SetupNormalInterp", "PS_EnvMap1", 6},
    {"VS_EnvMappedScene", "GS_SetupNormalInterpCM", "PS_EnvMap", 6},
    {"VS_EnvMappedScene", "GS_SetupNormalInterpCM", "PS_EnvMap1", 6},
    {"VS_EnvMappedScene", "GS_SetupNormalInterp", "PS_wireframe", 6},
    {"VS_EnvMappedScene", "GS_SetupNormalInterpCM", "PS_wireframe", 6},
    {"VS_EnvMappedScene", "GS_SetupNormalInterp", "PS_wireframe1", 6},
    {"VS_EnvMappedScene", "GS_SetupNormalInterp", "PS_bump", 6},
    {"VS_indexed", nullptr, "PS_indexed", 4},
    {"VS_UV", nullptr, "PS_SOL", 5},
    {"VS_EnvMappedScene", nullptr, "PS_EnvMap", 6},
    {"VS_EnvMappedScene", nullptr, "PS_EnvMap1", 6},
}};

// Sampler uniforms and the units they read.
constexpr std::pair<const char*, std::uint32_t> kSamplers[] = {
    {"uImage", kUnitEnvironment},   {"uEnvironment", kUnitEnvironment}, {"uImage1", kUnitImage1},
    {"uImage2", kUnitImage2},       {"uImage3", kUnitImage3},           {"uLightView", kUnitLightView},
    {"uTexture1", kUnitTexture1},   {"uTexture2", kUnitTexture2},       {"uTexture3", kUnitTexture3},
    {"uMarker", kUnitMarker},
};

const char* createCall(ShaderStage kind) {
    switch (kind) {
        case ShaderStage::Vertex: return "CreateVertexShader ";
        case ShaderStage::Pixel: return "CreatePixelShader ";
        case ShaderStage::Geometry: return "CreateGeometryShader ";
    }
    return "";
}

GLenum glStage(ShaderStage kind) {
    switch (kind) {
        case ShaderStage::Vertex: return GL_VERTEX_SHADER;
        case ShaderStage::Pixel: return GL_FRAGMENT_SHADER;
        case ShaderStage::Geometry: return GL_GEOMETRY_SHADER;
    }
    return GL_VERTEX_SHADER;
}

void traceLine(const TraceLog& trace, const char* call, std::string_view entry, ResultCode code) {
    std::string text(call);
    text += entry;
    text += " ,hr = ";
    text += shaderResultName(code);
    trace.line(text);
}

std::string shaderLog(GLuint shader) {
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0) glGetShaderInfoLog(shader, length, nullptr, log.data());
    while (!log.empty() && log.back() == '\0') log.pop_back();
    return log;
}

std::string programLog(GLuint program) {
    GLint length = 0;
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0) glGetProgramInfoLog(program, length, nullptr, log.data());
    while (!log.empty() && log.back() == '\0') log.pop_back();
    return log;
}

bool readWhole(const std::filesystem::path& path, std::string& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

// Declarations several entries share live in files of their own: a line
// `#include "name.glsl"` stands for that file of the shader folder (which may
// include others, a few levels deep). #line keeps the driver's line numbers
// those of each file.
constexpr int kIncludeDepth = 4;

bool expandIncludes(const std::filesystem::path& folder, std::string& source, std::string& error, int depth = 0) {
    std::string out;
    std::size_t lineNumber = 1;
    std::size_t at = 0;
    while (at < source.size()) {
        std::size_t end = source.find('\n', at);
        if (end == std::string::npos) end = source.size();
        const std::string line = source.substr(at, end - at);
        const std::size_t open = line.find('"');
        const std::size_t close = open == std::string::npos ? open : line.find('"', open + 1);
        if (line.rfind("#include", 0) == 0 && close != std::string::npos) {
            const std::string name = line.substr(open + 1, close - open - 1);
            std::string included;
            if (depth >= kIncludeDepth || !readWhole(folder / name, included)) {
                error = "cannot include \"" + name + "\"";
                return false;
            }
            if (!expandIncludes(folder, included, error, depth + 1)) return false;
            out += "#line 1\n" + included + "\n#line " + std::to_string(lineNumber + 1) + "\n";
        } else {
            out += line + "\n";
        }
        at = end + 1;
        ++lineNumber;
    }
    source = std::move(out);
    return true;
}

// The load-time choices go in right after the #version line; #line keeps
// the driver's line numbers those of the file.
std::string withOptions(const std::string& source, const ShaderOptions& options, const std::string& extraDefines) {
    const std::string defines = std::string("#define MORVANEX_DEPTH_REMAP ") +
                                (options.depthZeroToOne ? "0" : "1") + "\n" + extraDefines;
    const std::size_t versionAt = source.find("#version");
    if (versionAt == std::string::npos) return defines + source;
    const std::size_t lineEnd = source.find('\n', versionAt);
    if (lineEnd == std::string::npos) return source + "\n" + defines;
    int lineNumber = 1;
    for (std::size_t i = 0; i < lineEnd; ++i) lineNumber += source[i] == '\n' ? 1 : 0;
    return source.substr(0, lineEnd + 1) + defines + "#line " + std::to_string(lineNumber + 1) + "\n" +
           source.substr(lineEnd + 1);
}

bool integerType(GLenum type) {
    switch (type) {
        case GL_INT: case GL_INT_VEC2: case GL_INT_VEC3: case GL_INT_VEC4:
        case GL_UNSIGNED_INT: case GL_UNSIGNED_INT_VEC2: case GL_UNSIGNED_INT_VEC3: case GL_UNSIGNED_INT_VEC4:
            return true;
        default: return false;
    }
}

}  // namespace

const std::array<ProgramGroup, 6>& programGroups() { return kGroups; }

const ProgramStages& programStages(ProgramId id) { return kPrograms[static_cast<std::size_t>(id)]; }

std::filesystem::path shaderFolder(const std::filesystem::path& programFolder) {
    return programFolder / "shaders";
}

ShaderLibrary::~ShaderLibrary() { release(); }

void ShaderLibrary::release() {
    for (std::uint32_t& p : programs_) {
        if (p != 0) glDeleteProgram(p);
        p = 0;
    }
    for (Linked& l : extraPrograms_) {
        if (l.program != 0) glDeleteProgram(l.program);
    }
    extraPrograms_.clear();
    for (Variant& v : variants_) {
        if (v.program != 0) glDeleteProgram(v.program);
        if (v.pixelShader != 0) glDeleteShader(v.pixelShader);
    }
    variants_.clear();
    for (std::uint32_t& vs : meshVertexVariants_) {
        if (vs != 0) glDeleteShader(vs);
        vs = 0;
    }
    for (Stage& s : stages_) {
        if (s.shader != 0) glDeleteShader(s.shader);
    }
    stages_.clear();
    for (VertexArrayFormat& f : layouts_) f.release();
    layoutResults_.fill(hr::E_FAIL);
}

void ShaderLibrary::appendError(const std::string& text) const {
    if (errorFile_.empty()) return;
    std::ofstream file(errorFile_, std::ios::binary | std::ios::app);
    file << text;
    if (!text.empty() && text.back() != '\n') file << "\r\n";
}

int ShaderLibrary::load(const std::filesystem::path& programFolder, const TraceLog& trace,
                        const std::filesystem::path& errorFile, ShaderOptions options) {
    release();
    folder_ = shaderFolder(programFolder);
    errorFile_ = errorFile;
    options_ = options;
    if (!errorFile_.empty()) {
        std::ofstream file(errorFile_, std::ios::binary | std::ios::trunc);
        file << kShaderErrorHeading << "\r\n\r\n";
    }

    int failures = 0;
    for (std::size_t g = 0; g < kGroups.size(); ++g) {
        const ProgramGroup& group = kGroups[g];
        const int groupNumber = static_cast<int>(g) + 1;

        // Vertex entry: the layout is checked against it and logged first.
        Stage vs = compile(group.vertex, ShaderStage::Vertex, groupNumber);
        const ResultCode layoutCode = vs.shader != 0 ? checkLayout(group.layout, vs.shader) : vs.result;
        auto& format = layouts_[static_cast<std::size_t>(group.layout)];
        format.release();
        if (succeeded(layoutCode) && !format.create(group.layout)) {
            layoutResults_[static_cast<std::size_t>(group.layout)] = hr::E_OUTOFMEMORY;
        } else {
            layoutResults_[static_cast<std::size_t>(group.layout)] = layoutCode;
        }
        const ResultCode layoutResult = layoutResults_[static_cast<std::size_t>(group.layout)];
        traceLine(trace, "CreateInputLayout ", group.vertex, layoutResult);
        traceLine(trace, createCall(ShaderStage::Vertex), group.vertex, vs.result);
        failures += failed(layoutResult) ? 1 : 0;
        failures += failed(vs.result) ? 1 : 0;
        stages_.push_back(std::move(vs));

        for (const char* entry : group.pixel) {
            Stage ps = compile(entry, ShaderStage::Pixel, groupNumber);
            traceLine(trace, createCall(ShaderStage::Pixel), entry, ps.result);
            failures += failed(ps.result) ? 1 : 0;
            stages_.push_back(std::move(ps));
        }
        for (const char* entry : group.geometry) {
            Stage gs = compile(entry, ShaderStage::Geometry, groupNumber);
            traceLine(trace, createCall(ShaderStage::Geometry), entry, gs.result);
            failures += failed(gs.result) ? 1 : 0;
            stages_.push_back(std::move(gs));
        }
    }

    for (std::size_t i = 0; i < kProgramCount; ++i) {
        const ProgramStages& p = kPrograms[i];
        const std::uint32_t vs = stage(p.vertex);
        const std::uint32_t gs = p.geometry ? stage(p.geometry) : 0;
        const std::uint32_t ps = stage(p.pixel, p.pixelGroup);
        if (vs == 0 || ps == 0 || (p.geometry && gs == 0)) {
            ++failures;
            continue;
        }
        const std::string what = std::string(p.vertex) + " + " + (p.geometry ? p.geometry : "") +
                                 (p.geometry ? " + " : "") + p.pixel;
        programs_[i] = link(vs, gs, ps, what);
        failures += programs_[i] == 0 ? 1 : 0;
    }
    glUseProgram(0);
    glBindVertexArray(0);
    return failures;
}

ShaderLibrary::Stage ShaderLibrary::compile(std::string_view entry, ShaderStage kind, int group,
                                            const std::string& extraDefines) {
    Stage s{std::string(entry), kind, group};
    std::string source;
    if (!readWhole(folder_ / (s.entry + ".glsl"), source) || source.empty()) {
        s.result = hr::E_INVALIDARG;
        appendError(std::string(createCall(kind)) + s.entry + ": no source in " +
                    (folder_ / (s.entry + ".glsl")).string() + "\r\n");
        return s;
    }
    std::string includeError;
    if (!expandIncludes(folder_, source, includeError)) {
        s.result = hr::E_FAIL;
        appendError(std::string(createCall(kind)) + s.entry + ": " + includeError + "\r\n");
        return s;
    }
    const std::string text = withOptions(source, options_, extraDefines);
    const GLuint shader = glCreateShader(glStage(kind));
    if (shader == 0) {
        s.result = hr::E_OUTOFMEMORY;
        return s;
    }
    const char* sources[] = {text.c_str()};
    glShaderSource(shader, 1, sources, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok != GL_TRUE) {
        appendError(std::string(createCall(kind)) + s.entry + "\r\n" + shaderLog(shader));
        glDeleteShader(shader);
        s.result = hr::E_FAIL;
        return s;
    }
    s.shader = shader;
    s.result = hr::S_OK;
    return s;
}

// Every attribute the vertex program reads must be supplied by the layout,
// as a float or an integer attribute the way the program declares it.
ResultCode ShaderLibrary::checkLayout(LayoutKind kind, std::uint32_t vertexShader) {
    const GLuint program = glCreateProgram();
    glAttachShader(program, vertexShader);
    glLinkProgram(program);
    GLint ok = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    ResultCode result = hr::S_OK;
    if (ok != GL_TRUE) {
        appendError(std::string("CreateInputLayout ") + layoutName(kind) + "\r\n" + programLog(program));
        result = hr::E_FAIL;
    } else {
        const std::vector<GlAttribute> attributes = glAttributes(layoutElements(kind));
        GLint count = 0;
        glGetProgramiv(program, GL_ACTIVE_ATTRIBUTES, &count);
        for (GLint i = 0; i < count && result == hr::S_OK; ++i) {
            char name[128] = {};
            GLint size = 0;
            GLenum type = 0;
            glGetActiveAttrib(program, static_cast<GLuint>(i), sizeof name, nullptr, &size, &type, name);
            if (std::string_view(name).starts_with("gl_")) continue;
            const GLint location = glGetAttribLocation(program, name);
            bool found = false;
            for (const GlAttribute& a : attributes) {
                if (static_cast<GLint>(a.location) == location && a.integer == integerType(type)) found = true;
            }
            if (!found) {
                appendError(std::string("CreateInputLayout ") + layoutName(kind) + ": the layout supplies no " +
                            (integerType(type) ? "integer" : "float") + " attribute at location " +
                            std::to_string(location) + " for '" + name + "'\r\n");
                result = hr::E_INVALIDARG;
            }
        }
    }
    glDeleteProgram(program);
    return result;
}

std::uint32_t ShaderLibrary::link(std::uint32_t vs, std::uint32_t gs, std::uint32_t ps, const std::string& what) {
    const GLuint program = glCreateProgram();
    if (program == 0) return 0;
    glAttachShader(program, vs);
    if (gs != 0) glAttachShader(program, gs);
    glAttachShader(program, ps);
    glBindFragDataLocation(program, 0, "outColour");
    glLinkProgram(program);
    GLint ok = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (ok != GL_TRUE) {
        appendError("Link " + what + "\r\n" + programLog(program));
        glDeleteProgram(program);
        return 0;
    }
    for (const BlockDescription& block : blockDescriptions()) {
        const GLuint index = glGetUniformBlockIndex(program, block.name);
        if (index != GL_INVALID_INDEX) glUniformBlockBinding(program, index, block.slot);
    }
    glUseProgram(program);
    for (const auto& [name, unit] : kSamplers) {
        const GLint location = glGetUniformLocation(program, name);
        if (location >= 0) glUniform1i(location, static_cast<GLint>(unit));
    }
    glUseProgram(0);
    return program;
}

const ShaderLibrary::Stage* ShaderLibrary::findStage(std::string_view entry, int group) const {
    for (auto it = stages_.rbegin(); it != stages_.rend(); ++it) {
        if (it->entry == entry && (group == 0 || it->group == group)) return &*it;
    }
    return nullptr;
}

std::uint32_t ShaderLibrary::stage(std::string_view entry, int group) const {
    const Stage* s = findStage(entry, group);
    return s ? s->shader : 0;
}

ResultCode ShaderLibrary::stageResult(std::string_view entry, int group) const {
    const Stage* s = findStage(entry, group);
    return s ? s->result : hr::E_INVALIDARG;
}

std::uint32_t ShaderLibrary::program(std::string_view vertex, std::string_view geometry, std::string_view pixel) {
    for (std::size_t i = 0; i < kProgramCount; ++i) {
        const ProgramStages& p = kPrograms[i];
        if (p.vertex == vertex && (p.geometry ? std::string_view(p.geometry) : std::string_view()) == geometry &&
            p.pixel == pixel) {
            return programs_[i];
        }
    }
    std::string key = std::string(vertex) + " + " + std::string(geometry) + " + " + std::string(pixel);
    for (const Linked& l : extraPrograms_) {
        if (l.key == key) return l.program;
    }
    const std::uint32_t vs = stage(vertex);
    const std::uint32_t gs = geometry.empty() ? 0 : stage(geometry);
    const std::uint32_t ps = stage(pixel);
    std::uint32_t linked = 0;
    if (vs != 0 && ps != 0 && (geometry.empty() || gs != 0)) {
        GLint current = 0;
        glGetIntegerv(GL_CURRENT_PROGRAM, &current);
        linked = link(vs, gs, ps, key);
        glUseProgram(static_cast<GLuint>(current));
    }
    extraPrograms_.push_back({std::move(key), linked});
    return linked;
}

namespace {

bool isMeshProgram(ProgramId id) { return std::string_view(programStages(id).vertex) == "VS_EnvMappedScene"; }

std::string featureDefines(std::uint32_t features) {
    constexpr std::pair<std::uint32_t, const char*> kNames[] = {
        {kFeatureTexture1, "TEXTURE1"},       {kFeatureTexture2, "TEXTURE2"},   {kFeatureTexture3, "TEXTURE3"},
        {kFeatureNormalMap, "NORMAL_MAP"},    {kFeatureEnvironment, "ENVIRONMENT"},
        {kFeatureShadowMap, "SHADOW_MAP"},    {kFeatureMirror, "MIRROR"},     {kFeatureSkinned, "SKIN"},
    };
    std::string defines;
    for (const auto& [bit, name] : kNames) {
        defines += std::string("#define MORVANEX_HAS_") + name + ((features & bit) != 0 ? " 1\n" : " 0\n");
    }
    return defines;
}

}  // namespace

std::uint32_t ShaderLibrary::program(ProgramId id, std::uint32_t features) {
    features &= kAllDrawFeatures;
    const std::uint32_t general = program(id);
    if (general == 0 || features == kAllDrawFeatures || !isMeshProgram(id)) return general;
    for (const Variant& v : variants_) {
        if (v.id == id && v.features == features) return v.program != 0 ? v.program : general;
    }
    const ProgramStages& stages = programStages(id);
    Variant variant{id, features};
    const std::string defines = featureDefines(features);
    Stage pixel = compile(stages.pixel, ShaderStage::Pixel, stages.pixelGroup, defines);
    variant.pixelShader = pixel.shader;
    // Two vertex stages serve every variant: with and without skinning.
    const bool skinned = (features & kFeatureSkinned) != 0;
    std::uint32_t& vs = meshVertexVariants_[skinned ? 1 : 0];
    if (vs == 0) {
        vs = compile(stages.vertex, ShaderStage::Vertex, stages.pixelGroup,
                     std::string("#define MORVANEX_HAS_SKIN ") + (skinned ? "1\n" : "0\n"))
                 .shader;
    }
    const std::uint32_t gs = stages.geometry != nullptr ? stage(stages.geometry, stages.pixelGroup) : 0;
    if (pixel.shader != 0 && vs != 0 && (stages.geometry == nullptr || gs != 0)) {
        GLint current = 0;
        glGetIntegerv(GL_CURRENT_PROGRAM, &current);
        variant.program = link(vs, gs, pixel.shader, std::string(stages.pixel) + " for features " + std::to_string(features));
        glUseProgram(static_cast<GLuint>(current));
    }
    variants_.push_back(variant);
    // A variant that cannot be made leaves the general program to do the work.
    return variant.program != 0 ? variant.program : general;
}

}  // namespace morvanex
