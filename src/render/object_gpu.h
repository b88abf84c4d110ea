// The graphics resources of one scene object: its vertex, index and
// instance buffers, its own constant blocks and the images it renders into.
// Made once with the object (or when its mesh is replaced), never per frame.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/constant_blocks.h"
#include "render/render_targets.h"
#include "render/vertex_layouts.h"
#include "scene/render_state.h"

namespace morvanex {

struct SceneObject;

// A uniform buffer that keeps a copy of what it holds, so that a block
// whose content did not change since the last draw is not sent again.
template <class Block>
class CachedBlock {
public:
    bool create() { return buffer_.create(sizeof(Block)); }
    void release() { buffer_.release(); }
    // Sends the block when it differs from what the buffer holds.
    void update(const Block& block);
    // Bound through the state layer, which tracks the binding points.
    std::uint32_t buffer() const { return buffer_.buffer(); }
    // Uploads that went to the driver (for tests).
    std::uint32_t uploads() const { return uploads_; }

private:
    UniformBuffer buffer_;
    std::vector<std::byte> last_;
    std::uint32_t uploads_ = 0;
};

struct ObjectGpuResources {
    ~ObjectGpuResources();

    unsigned vertexBuffer = 0;    // MeshVertex, or LineVertex for a line object
    unsigned indexBuffer = 0;     // 32-bit indices
    unsigned instanceBuffer = 0;  // InstanceRecord: the object itself, then its copies
    std::int32_t vertexCount = 0;
    std::int32_t indexCount = 0;
    std::int32_t instanceCount = 1;
    std::vector<InstanceRecord> instances;  // what the instance buffer holds
    RenderKind uploadedKind = RenderKind::Mesh;
    bool everyNormalSet = true;  // no vertex leaves its normal to the face

    CachedBlock<TransformBlock> transform;
    CachedBlock<MaterialBlock> material;
    CachedBlock<LightBlock> lights;
    CachedBlock<AnimatedTextureBlock> animatedTexture;
    CachedBlock<ProfileCurveBlock> profileCurves;
    CachedBlock<TintBlock> tint;
    CachedBlock<BonePalette> bones;
    CachedBlock<CubeBlock> cubeViews;

    // Mirror images (below the surface, reflected), light-view images, the
    // environment cube the object renders, and one loaded from a file.
    std::array<RenderTexture, 2> mirrorImages;
    std::array<RenderTexture, 2> lightViews;
    CubeRenderTarget cube;
    unsigned loadedCube = 0;  // not owned: a texture of the renderer's list
};

// Makes the object's resources when it has none, uploading its mesh; true
// when it has them afterwards. Needs the graphics context current.
bool createObjectGpu(SceneObject& object);
// Uploads the mesh again (after an edit) and the instance records of its
// copies; the constant blocks and images stay.
void uploadObjectMesh(SceneObject& object);
// Rewrites the instance records from the object's linked copies, when they
// changed since the last upload.
void uploadInstanceRecords(SceneObject& object);
// Releases them now (the object keeps drawing after createObjectGpu).
void releaseObjectGpu(SceneObject& object);

}  // namespace morvanex
