#include "render/object_gpu.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cstring>

#include "scene/scene_object.h"

namespace morvanex {

template <class Block>
void CachedBlock<Block>::update(const Block& block) {
    const auto* bytes = reinterpret_cast<const std::byte*>(&block);
    if (last_.size() == sizeof(Block) && std::memcmp(last_.data(), bytes, sizeof(Block)) == 0) return;
    last_.assign(bytes, bytes + sizeof(Block));
    buffer_.update(block);
    ++uploads_;
}

template class CachedBlock<TransformBlock>;
template class CachedBlock<MaterialBlock>;
template class CachedBlock<LightBlock>;
template class CachedBlock<AnimatedTextureBlock>;
template class CachedBlock<ProfileCurveBlock>;
template class CachedBlock<TintBlock>;
template class CachedBlock<BonePalette>;
template class CachedBlock<CubeBlock>;

namespace {

void deleteResources(ObjectGpuResources* resources) { delete resources; }

void uploadBuffer(GLenum target, unsigned& buffer, const void* data, std::size_t bytes) {
    if (buffer == 0) glGenBuffers(1, &buffer);
    glBindBuffer(target, buffer);
    glBufferData(target, static_cast<GLsizeiptr>(bytes), bytes == 0 ? nullptr : data, GL_STATIC_DRAW);
}

// A line object's vertices as the line programs read them, in its first
// material colour.
std::vector<LineVertex> lineVertices(const SceneObject& object) {
    std::vector<LineVertex> lines;
    lines.reserve(object.vertices.size());
    for (const MeshVertex& v : object.vertices) lines.push_back({v.position, object.materialColours[0]});
    return lines;
}

// Indices outside the vertex array would make the driver read past the
// buffer: such a mesh keeps none.
bool indicesInRange(const SceneObject& object) {
    const auto n = static_cast<std::int64_t>(object.vertices.size());
    for (std::int32_t i : object.indices) {
        if (i < 0 || i >= n) return false;
    }
    return true;
}

}  // namespace

ObjectGpuResources::~ObjectGpuResources() {
    if (vertexBuffer != 0) glDeleteBuffers(1, &vertexBuffer);
    if (indexBuffer != 0) glDeleteBuffers(1, &indexBuffer);
    if (instanceBuffer != 0) glDeleteBuffers(1, &instanceBuffer);
}

bool createObjectGpu(SceneObject& object) {
    if (object.gpu) return true;
    auto resources = std::make_unique<ObjectGpuResources>();
    const bool blocks = resources->transform.create() && resources->material.create() &&
                        resources->lights.create() && resources->animatedTexture.create() &&
                        resources->profileCurves.create() && resources->tint.create() && resources->bones.create() &&
                        resources->cubeViews.create();
    if (!blocks) return false;
    object.gpu = ObjectGpuHandle(resources.release(), ObjectGpuRelease{&deleteResources});
    uploadObjectMesh(object);
    return true;
}

void uploadObjectMesh(SceneObject& object) {
    ObjectGpuResources* gpu = object.gpu.get();
    if (gpu == nullptr) return;
    gpu->uploadedKind = object.render.kind;
    if (object.render.kind == RenderKind::Lines) {
        const std::vector<LineVertex> lines = lineVertices(object);
        uploadBuffer(GL_ARRAY_BUFFER, gpu->vertexBuffer, lines.data(), lines.size() * sizeof(LineVertex));
    } else {
        uploadBuffer(GL_ARRAY_BUFFER, gpu->vertexBuffer, object.vertices.data(),
                     object.vertices.size() * sizeof(MeshVertex));
    }
    gpu->vertexCount = static_cast<std::int32_t>(object.vertices.size());
    gpu->everyNormalSet = std::none_of(object.vertices.begin(), object.vertices.end(),
                                       [](const MeshVertex& v) { return lengthSquared(v.normal) == 0.0f; });
    const bool indicesOk = indicesInRange(object);
    // Through the array target: binding an element buffer here would change
    // whichever vertex array is bound.
    uploadBuffer(GL_ARRAY_BUFFER, gpu->indexBuffer, object.indices.data(),
                 indicesOk ? object.indices.size() * sizeof(std::int32_t) : 0);
    gpu->indexCount = indicesOk ? static_cast<std::int32_t>(object.indices.size()) : 0;
    uploadInstanceRecords(object);
}

void uploadInstanceRecords(SceneObject& object) {
    ObjectGpuResources* gpu = object.gpu.get();
    if (gpu == nullptr) return;
    // Record 0 is the object itself (an empty matrix: no extra placement);
    // each copy is placed by its link's matrix relative to the object.
    std::vector<InstanceRecord> records(1);
    for (const ObjectLink& link : object.links) {
        if (link.object == nullptr) continue;
        InstanceRecord record;
        record.matrix = link.relativeMatrix;
        records.push_back(record);
    }
    const bool same = gpu->instanceBuffer != 0 && records.size() == gpu->instances.size() &&
                      std::memcmp(records.data(), gpu->instances.data(), records.size() * sizeof(InstanceRecord)) == 0;
    if (same) return;
    uploadBuffer(GL_ARRAY_BUFFER, gpu->instanceBuffer, records.data(), records.size() * sizeof(InstanceRecord));
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    gpu->instanceCount = static_cast<std::int32_t>(records.size());
    gpu->instances = std::move(records);
}

void releaseObjectGpu(SceneObject& object) { object.gpu.reset(); }

}  // namespace morvanex
