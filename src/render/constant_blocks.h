// Constant blocks of the drawing programs: the C++ records that are copied
// into GL uniform buffers and the binding points they are read from.
//
// Every record follows the std140 rules of its GLSL declaration in the
// program sources (src/render/shaders), member for member; the static
// asserts below pin each byte offset. Matrices are stored transposed
// (gpuMatrix): the programs declare them as plain column-major mat4, see
// the same matrix M the CPU holds, and multiply row vectors on the left
// (`vec4(p, 1.0) * M`), exactly like the CPU code.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "scene/math.h"

namespace morvanex {

// Uniform-buffer binding points (the same for every stage).
enum BlockSlot : std::uint32_t {
    kTransformSlot = 0,
    kMaterialSlot = 1,
    kCubeSlot = 2,
    kLightSlot = 3,
    kAnimatedTextureSlot = 4,
    kProfileCurveSlot = 5,
    kTintSlot = 6,
    kBonePaletteSlot = 7,
};

// Texture units the programs sample from (their sampler uniforms are set to
// these numbers when a program is linked).
enum TextureUnit : std::uint32_t {
    kUnitEnvironment = 0,  // environment cube (mesh programs); the image of "PS"
    kUnitImage1 = 1,       // object images: mirror images, cube-pass images
    kUnitImage2 = 2,       // ... or the second light-view image
    kUnitImage3 = 3,
    kUnitLightView = 4,    // first light-view image
    kUnitTexture1 = 5,     // material texture slot 1 (colour, or the normal map)
    kUnitTexture2 = 6,     // material texture slot 2
    kUnitTexture3 = 7,     // material texture slot 3 (white when unused)
    kUnitMarker = 8,       // the vertex-marker image
};
inline constexpr std::uint32_t kTextureUnitsUsed = 9;

inline constexpr int kMaxLights = 32;
inline constexpr int kMaxBones = 60;
inline constexpr int kCubeFaces = 6;

// The form a matrix has inside a block.
constexpr Mat4 gpuMatrix(const Mat4& m) { return transpose(m); }

struct TransformBlock {
    alignas(16) Mat4 worldViewProj;  // world x view x projection
    alignas(16) Mat4 worldView;
    alignas(16) Mat4 world;
    alignas(16) Mat4 view;
    alignas(16) Mat4 projection;
    alignas(16) Mat4 second;  // owner's world matrix, or the object's reference matrix
    alignas(16) Vec3 eyePosition;
    float eyePad = 0.0f;
    std::int32_t extraInstances = 0;  // instances beyond the first
    std::int32_t objectFlag0 = 0;     // 1: skinned, the bone palette holds its skeleton
    std::int32_t objectFlag1 = 0;
    std::int32_t objectFlag2 = 0;     // always 0
    alignas(16) Mat4 extra0;
    alignas(16) Mat4 extra1;
};
static_assert(sizeof(TransformBlock) == 544);
static_assert(offsetof(TransformBlock, worldViewProj) == 0);
static_assert(offsetof(TransformBlock, worldView) == 64);
static_assert(offsetof(TransformBlock, world) == 128);
static_assert(offsetof(TransformBlock, view) == 192);
static_assert(offsetof(TransformBlock, projection) == 256);
static_assert(offsetof(TransformBlock, second) == 320);
static_assert(offsetof(TransformBlock, eyePosition) == 384);
static_assert(offsetof(TransformBlock, extraInstances) == 400);
static_assert(offsetof(TransformBlock, objectFlag0) == 404);
static_assert(offsetof(TransformBlock, objectFlag1) == 408);
static_assert(offsetof(TransformBlock, objectFlag2) == 412);
static_assert(offsetof(TransformBlock, extra0) == 416);
static_assert(offsetof(TransformBlock, extra1) == 480);

// Material and view parameters. The members the programs read are named for
// their use; the remaining switches travel unread.
struct MaterialBlock {
    float opacity = 1.0f;          // 0.2 for a ghost, 0.1 for an override
    float specularPower = 0.0f;    // material scalar 1 (0 means 32)
    float specularStrength = 0.0f; // material scalar 2 (0 means 1)
    float bumpStrength = 0.0f;     // material scalar 3 (0 means 1)
    float reflection = 0.0f;       // reflection amount of a reflecting source
    float scale = 0.0f;            // a scale value x 0.02
    float fresnelBase = 0.16f;     // constants 0.16, 1.5, 1.5, 0, 0.15
    float constant1 = 1.5f;
    float constant2 = 1.5f;
    float constant3 = 0.0f;
    float ambientFloor = 0.15f;
    float targetWidth = 0.0f;      // back-buffer width in pixels
    alignas(16) Vec4 diffuse{0.7f, 0.7f, 0.7f, 1.0f};   // material colour 1
    alignas(16) Vec4 ambientColour{0.7f, 0.7f, 0.7f, 1.0f};  // material colour 2: ambient reflectance
    alignas(16) Vec4 specular{0.7f, 0.7f, 0.7f, 1.0f};  // material colour 3
    alignas(16) Vec4 stateColour{1.0f, 1.0f, 1.0f, 1.0f};
    alignas(16) Vec4 centre{0.0f, 0.0f, 0.0f, 1.0f};
    alignas(16) Mat4 viewOrProjector;
    alignas(16) Vec4 highlight{1.0f, 0.0f, 0.0f, 0.5f};  // highlight colour of the previous frame
    alignas(16) std::array<Vec4, 6> drawParameters{};      // per-draw values of the caller
    alignas(16) Mat4 mirrorOrShadow;                        // mirror or shadow transform
    float targetHeight = 0.0f;     // back-buffer height in pixels
    std::array<float, 4> objectScalars{};
    std::int32_t uvRectX = 0;      // UV view rectangle in pixels
    std::int32_t uvRectY = 0;
    std::int32_t uvRectWidth = 0;
    std::int32_t uvRectHeight = 0;
    std::int32_t mirrorSign = 0;       // 404
    std::int32_t lightPass = 0;        // 408: drawing into a light-view image
    std::int32_t mirrorPass = 0;       // 412: drawing into a mirror image
    std::int32_t highlightOn = 0;      // 416: mix the highlight colour in
    std::int32_t reflective = 0;       // 420
    std::int32_t reflectiveAlternate = 0;  // 424
    std::int32_t normalMap = 0;        // 428: texture slot 1 holds a normal map
    std::int32_t environment = 0;      // 432: an environment cube is bound
    std::int32_t shadowMap = 0;        // 436: light-view images are bound
    std::int32_t unlit = 0;            // 440: no lighting, colour as is
    std::int32_t mirrorImages = 0;     // 444: mirror images are bound
    std::int32_t alphaTest = 0;        // 448: discard pixels below alpha 0.5
    std::int32_t useTexture1 = 0;      // 452
    std::int32_t useTexture2 = 0;      // 456
    std::int32_t useTexture3 = 0;      // 460
    std::array<std::int32_t, 10> switches{};  // 464 to 500
    float halfScalar = 0.0f;       // 504
    float scalarA = 0.0f;          // 508
    float scalarDifference = 0.0f; // 512
    std::array<float, 7> pad{};    // to 544
};
static_assert(sizeof(MaterialBlock) == 544);
static_assert(offsetof(MaterialBlock, opacity) == 0);
static_assert(offsetof(MaterialBlock, specularPower) == 4);
static_assert(offsetof(MaterialBlock, specularStrength) == 8);
static_assert(offsetof(MaterialBlock, bumpStrength) == 12);
static_assert(offsetof(MaterialBlock, reflection) == 16);
static_assert(offsetof(MaterialBlock, scale) == 20);
static_assert(offsetof(MaterialBlock, fresnelBase) == 24);
static_assert(offsetof(MaterialBlock, ambientFloor) == 40);
static_assert(offsetof(MaterialBlock, targetWidth) == 44);
static_assert(offsetof(MaterialBlock, diffuse) == 48);
static_assert(offsetof(MaterialBlock, ambientColour) == 64);
static_assert(offsetof(MaterialBlock, specular) == 80);
static_assert(offsetof(MaterialBlock, stateColour) == 96);
static_assert(offsetof(MaterialBlock, centre) == 112);
static_assert(offsetof(MaterialBlock, viewOrProjector) == 128);
static_assert(offsetof(MaterialBlock, highlight) == 192);
static_assert(offsetof(MaterialBlock, drawParameters) == 208);
static_assert(offsetof(MaterialBlock, mirrorOrShadow) == 304);
static_assert(offsetof(MaterialBlock, targetHeight) == 368);
static_assert(offsetof(MaterialBlock, objectScalars) == 372);
static_assert(offsetof(MaterialBlock, uvRectX) == 388);
static_assert(offsetof(MaterialBlock, uvRectHeight) == 400);
static_assert(offsetof(MaterialBlock, mirrorSign) == 404);
static_assert(offsetof(MaterialBlock, highlightOn) == 416);
static_assert(offsetof(MaterialBlock, useTexture1) == 452);
static_assert(offsetof(MaterialBlock, useTexture2) == 456);
static_assert(offsetof(MaterialBlock, useTexture3) == 460);
static_assert(offsetof(MaterialBlock, switches) == 464);
static_assert(offsetof(MaterialBlock, halfScalar) == 504);
static_assert(offsetof(MaterialBlock, scalarA) == 508);
static_assert(offsetof(MaterialBlock, scalarDifference) == 512);

enum LightKind : std::int32_t { kLightPoint = 0, kLightDirectional = 1, kLightSpot = 2 };

// One light as the programs see it, in world space.
struct LightRecord {
    alignas(16) Vec4 position;  // world position (w = 1), or for a directional light the direction it shines (w = 0)
    float range = 0.0f;         // distance where a point or spot light fades out; 0 means no fall-off
    float intensity = 1.0f;
    float specularScale = 1.0f;
    std::int32_t kind = kLightPoint;
    alignas(16) Vec4 colour{1.0f, 1.0f, 1.0f, 1.0f};
    alignas(16) Mat4 orientation;  // light object's orientation; a spot shines along its +z row
    float coneInnerCos = 0.0f;     // full intensity inside this cone
    float coneOuterCos = 0.0f;     // none outside this one
    float conePad0 = 0.0f;
    float conePad1 = 0.0f;
    alignas(16) Vec4 spare;
};
static_assert(sizeof(LightRecord) == 144);
static_assert(offsetof(LightRecord, range) == 16);
static_assert(offsetof(LightRecord, kind) == 28);
static_assert(offsetof(LightRecord, colour) == 32);
static_assert(offsetof(LightRecord, orientation) == 48);
static_assert(offsetof(LightRecord, coneInnerCos) == 112);
static_assert(offsetof(LightRecord, coneOuterCos) == 116);
static_assert(offsetof(LightRecord, spare) == 128);

struct LightBlock {
    float ambient = 0.2f;  // ambient factor
    float headerPad0 = 0.0f;
    float headerPad1 = 0.0f;
    float headerPad2 = 0.0f;
    alignas(16) Vec4 ambientColour{1.0f, 1.0f, 1.0f, 1.0f};
    std::int32_t lightCount = 0;  // records in use, 0..32
    float exposure = 1.0f;        // scales the lit colour (0 means 1)
    float headerPad3 = 0.0f;
    float headerPad4 = 0.0f;
    std::array<LightRecord, kMaxLights> lights{};
};
static_assert(sizeof(LightBlock) == 4656);
static_assert(offsetof(LightBlock, ambientColour) == 16);
static_assert(offsetof(LightBlock, lightCount) == 32);
static_assert(offsetof(LightBlock, exposure) == 36);
static_assert(offsetof(LightBlock, lights) == 48);

// Texture animation: three texture-coordinate transforms (uv * scale + offset).
struct AnimatedTextureBlock {
    std::array<Vec4, 3> uvTransform{};  // xy scale, zw offset, for texture slots 1 to 3
    float frame = 0.0f;
    float frameCount = 0.0f;
    float time = 0.0f;
    std::int32_t enabled = 0;           // 0: texture coordinates are used as they are
    std::array<Vec4, 2> reserved{};
};
static_assert(sizeof(AnimatedTextureBlock) == 96);
static_assert(offsetof(AnimatedTextureBlock, frame) == 48);
static_assert(offsetof(AnimatedTextureBlock, enabled) == 60);
static_assert(offsetof(AnimatedTextureBlock, reserved) == 64);

struct ProfileCurveRecord {
    std::array<Vec4, 15> entries{};
    std::int32_t enabled = 0;
    std::int32_t count = 0;
    std::int32_t pad0 = 0;
    std::int32_t pad1 = 0;
    alignas(16) Vec4 pad2;
};
static_assert(sizeof(ProfileCurveRecord) == 272);
static_assert(offsetof(ProfileCurveRecord, enabled) == 240);
static_assert(offsetof(ProfileCurveRecord, count) == 244);

struct ProfileCurveBlock {
    std::array<ProfileCurveRecord, 3> curves{};
};
static_assert(sizeof(ProfileCurveBlock) == 816);

struct TintBlock {
    alignas(16) Vec4 colour{1.0f, 1.0f, 1.0f, 1.0f};
    std::int32_t multiply = 0;  // multiply the lit colour by the tint
    std::int32_t replace = 0;   // replace the lit colour by the tint
    std::int32_t pad0 = 0;
    std::int32_t pad1 = 0;
};
static_assert(sizeof(TintBlock) == 32);
static_assert(offsetof(TintBlock, multiply) == 16);
static_assert(offsetof(TintBlock, replace) == 20);

// Bone matrices: entry i is the (transposed) world matrix of bone number i.
struct BonePalette {
    std::array<Mat4, kMaxBones> bones{};
};
static_assert(sizeof(BonePalette) == 3840);

// The six face views and the projection of a single-pass cube drawing
// (faces +x, -x, +y, -y, +z, -z), all transposed.
struct CubeBlock {
    std::array<Mat4, kCubeFaces> faceViews{};
    alignas(16) Mat4 projection;
};
static_assert(sizeof(CubeBlock) == 448);
static_assert(offsetof(CubeBlock, projection) == 384);

// One member of a block as the driver names it ("TransformBlock.world",
// "LightBlock.lights[3].colour") with its byte offset in the block; arrays
// of plain types appear once, as "[0]", with their stride.
struct BlockMember {
    std::string name;
    std::uint32_t offset;
    std::uint32_t arrayStride = 0;
};
struct BlockDescription {
    const char* name;
    BlockSlot slot;
    std::uint32_t size;
    std::vector<BlockMember> members;
};
// Every block with every member; the test compares them with the driver.
const std::vector<BlockDescription>& blockDescriptions();

// A dynamic uniform buffer of a fixed size. update() orphans the storage and
// writes the whole block (the write-discard of every per-frame upload).
class UniformBuffer {
public:
    UniformBuffer() = default;
    ~UniformBuffer();
    UniformBuffer(const UniformBuffer&) = delete;
    UniformBuffer& operator=(const UniformBuffer&) = delete;
    UniformBuffer(UniformBuffer&& other) noexcept;
    UniformBuffer& operator=(UniformBuffer&& other) noexcept;

    bool create(std::size_t size);
    void release();
    void update(const void* data, std::size_t size);
    template <class Block>
    void update(const Block& block) { update(&block, sizeof(Block)); }
    // Binds the buffer to a binding point of every stage.
    void bind(std::uint32_t slot) const;

    std::uint32_t buffer() const { return buffer_; }
    std::size_t size() const { return size_; }

private:
    std::uint32_t buffer_ = 0;
    std::size_t size_ = 0;
};

}  // namespace morvanex
