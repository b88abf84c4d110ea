// The GL state layer: applies state records, programs, vertex arrays,
// uniform buffers and samplers, skipping what is already current. It
// tracks what it last set; code that changes GL state behind its back calls
// invalidate(). changes() counts the state groups actually sent to the
// driver (a test reads it to check that repeats are skipped).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "render/pipeline_states.h"

namespace morvanex {

class GlState {
public:
    // Sends the records; a record equal to the current one costs nothing.
    void apply(const DepthStencilState& state, std::uint32_t stencilRef = 0);
    void apply(const RasterizerState& state);
    // Blend factor (0 by default) and sample mask all.
    void apply(const BlendState& state, const std::array<float, 4>& blendFactor = {0, 0, 0, 0});

    void useProgram(std::uint32_t program);
    void bindVertexArray(std::uint32_t vertexArray);
    void bindUniformBuffer(std::uint32_t slot, std::uint32_t buffer);
    void bindSampler(std::uint32_t unit, std::uint32_t sampler);
    // The same sampler on units first .. first + count - 1.
    void bindSamplers(std::uint32_t first, std::uint32_t count, std::uint32_t sampler);

    // Draws, counted so that tests and benchmarks can see what a frame
    // sent. Primitive modes are GL's (GL_TRIANGLES, GL_LINE_STRIP, ...).
    void drawArrays(std::uint32_t mode, std::int32_t first, std::int32_t count, std::int32_t instances = 1);
    // 32-bit indices from the bound element buffer.
    void drawElements(std::uint32_t mode, std::int32_t count, std::int32_t instances = 1,
                      std::size_t firstIndex = 0);

    // Forget everything: the next call of each kind goes to the driver.
    void invalidate();

    std::uint64_t changes() const { return changes_; }
    std::uint64_t drawCalls() const { return drawCalls_; }

    static constexpr std::uint32_t kSlots = 16;
    static constexpr std::uint32_t kUnits = 16;

private:
    std::optional<DepthStencilState> depth_;
    std::uint32_t stencilRef_ = 0;
    std::optional<RasterizerState> rasterizer_;
    std::optional<BlendState> blend_;
    std::array<float, 4> blendFactor_{};
    std::optional<std::uint32_t> program_;
    std::optional<std::uint32_t> vertexArray_;
    std::array<std::optional<std::uint32_t>, kSlots> uniformBuffers_{};
    std::array<std::optional<std::uint32_t>, kUnits> samplers_{};
    std::uint64_t changes_ = 0;
    std::uint64_t drawCalls_ = 0;
};

}  // namespace morvanex
