// Fixed-function state records (depth-stencil, rasterizer, blend, sampler)
// and the named set the renderer creates once at start. The records are
// plain values; GlState applies them to the driver.
#pragma once

#include <cstdint>

namespace morvanex {

enum class CompareFunc : std::uint8_t { Never, Less, Equal, LessEqual, Greater, NotEqual, GreaterEqual, Always };
enum class StencilOp : std::uint8_t { Keep, Zero, Replace, IncrementClamp, DecrementClamp, Invert, Increment, Decrement };
enum class FillMode : std::uint8_t { Solid, Wireframe };
enum class CullMode : std::uint8_t { None, Front, Back };
enum class BlendFactor : std::uint8_t { Zero, One, SrcAlpha, InvSrcAlpha, SrcColour, InvSrcColour, DestAlpha, InvDestAlpha, BlendFactor };
enum class BlendOp : std::uint8_t { Add, Subtract, ReverseSubtract, Min, Max };

struct StencilFace {
    StencilOp fail = StencilOp::Keep;
    StencilOp depthFail = StencilOp::Keep;
    StencilOp pass = StencilOp::Keep;
    CompareFunc func = CompareFunc::Always;
    bool operator==(const StencilFace&) const = default;
};

struct DepthStencilState {
    bool depthTest = true;
    bool depthWrite = true;
    CompareFunc depthFunc = CompareFunc::Less;
    bool stencil = false;
    std::uint8_t stencilReadMask = 0xFF;
    std::uint8_t stencilWriteMask = 0xFF;
    StencilFace front;
    StencilFace back;
    bool operator==(const DepthStencilState&) const = default;
};

struct RasterizerState {
    FillMode fill = FillMode::Solid;
    CullMode cull = CullMode::Back;
    bool frontCounterClockwise = false;  // front faces are clockwise on screen
    std::int32_t depthBias = 0;
    float slopeScaledDepthBias = 0.0f;
    bool depthClip = true;
    bool scissor = false;
    bool multisample = true;
    bool antialiasedLines = true;  // only for lines drawn without multisampling
    bool operator==(const RasterizerState&) const = default;
};

struct BlendState {  // target 0
    bool enable = false;
    BlendFactor srcColour = BlendFactor::One;
    BlendFactor dstColour = BlendFactor::Zero;
    BlendOp colourOp = BlendOp::Add;
    BlendFactor srcAlpha = BlendFactor::One;
    BlendFactor dstAlpha = BlendFactor::Zero;
    BlendOp alphaOp = BlendOp::Add;
    std::uint8_t writeMask = 0xF;  // bit 0 red .. bit 3 alpha
    bool alphaToCoverage = false;
    bool operator==(const BlendState&) const = default;
};

enum class SamplerFilter : std::uint8_t { Point, Trilinear, Anisotropic };
enum class AddressMode : std::uint8_t { Wrap, Mirror, Clamp };

struct SamplerState {
    SamplerFilter filter = SamplerFilter::Trilinear;
    AddressMode u = AddressMode::Wrap;
    AddressMode v = AddressMode::Wrap;
    AddressMode w = AddressMode::Wrap;
    float lodBias = 0.0f;
    float maxAnisotropy = 1.0f;
    // Kept with the record; compared sampling is not switched on (the
    // filters above are plain filters).
    CompareFunc comparison = CompareFunc::Never;
    float minLod = 0.0f;
    float maxLod = 3.402823466e+38f;
    bool operator==(const SamplerState&) const = default;
};

// The fixed set.
namespace states {
DepthStencilState depthOn();
DepthStencilState depthOff();
DepthStencilState depthStencil();
DepthStencilState depthAlways();
RasterizerState solidBack();
RasterizerState solidFront();
RasterizerState solidNone();
RasterizerState solidBackScissor();
RasterizerState wireNone();
RasterizerState wireNoneScissor();
RasterizerState wireFrontScissor();
BlendState alpha();
// With anisotropic filtering offered: anisotropic, 16; else trilinear, 1.
SamplerState anisotropicWrap(bool anisotropyOffered);
SamplerState pointWrap();
}  // namespace states

// Whether the driver offers anisotropic filtering (GL 4.6 or
// GL_EXT_texture_filter_anisotropic / GL_ARB_texture_filter_anisotropic),
// and its largest degree (1 when not offered).
bool anisotropyOffered();
float maxAnisotropyOffered();

// A GL sampler object made from a record.
class SamplerObject {
public:
    SamplerObject() = default;
    ~SamplerObject();
    SamplerObject(const SamplerObject&) = delete;
    SamplerObject& operator=(const SamplerObject&) = delete;
    SamplerObject(SamplerObject&& other) noexcept;
    SamplerObject& operator=(SamplerObject&& other) noexcept;

    bool create(const SamplerState& state);
    void release();
    std::uint32_t sampler() const { return sampler_; }
    const SamplerState& state() const { return state_; }

private:
    std::uint32_t sampler_ = 0;
    SamplerState state_;
};

// The named states in one place, made once (samplers need a GL context).
struct PipelineStates {
    DepthStencilState depthOn = states::depthOn();
    DepthStencilState depthOff = states::depthOff();
    DepthStencilState depthStencil = states::depthStencil();
    DepthStencilState depthAlways = states::depthAlways();
    RasterizerState solidBack = states::solidBack();
    RasterizerState solidFront = states::solidFront();
    RasterizerState solidNone = states::solidNone();
    RasterizerState solidBackScissor = states::solidBackScissor();
    RasterizerState wireNone = states::wireNone();
    RasterizerState wireNoneScissor = states::wireNoneScissor();
    RasterizerState wireFrontScissor = states::wireFrontScissor();
    BlendState alpha = states::alpha();
    SamplerObject anisotropicWrap;
    SamplerObject pointWrap;

    // Creates the two samplers; false when the driver refused one.
    bool createSamplers();
};

}  // namespace morvanex
