// The frame procedure on small scenes built in memory, judged on the image
// it leaves (regions, brightness, colours), on the draw calls it sends and
// on the passes it counts.
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include "image/image_codec.h"
#include "image/image_files.h"
#include "modeling/object_transform.h"
#include "render/object_gpu.h"
#include "render/scene_test_support.h"
#include "render/shader_test_support.h"
#include "render/texture_loading.h"

namespace morvanex {
namespace {

using testing::Rgba;

constexpr Vec4 kWhite{1.0f, 1.0f, 1.0f, 1.0f};
constexpr Vec4 kRed{1.0f, 0.0f, 0.0f, 1.0f};
constexpr Vec4 kGrey{0.5f, 0.5f, 0.5f, 1.0f};

class ScenePassesTest : public testing::SceneDrawingTest {
protected:
    FrameView front() const { return viewFrom({0.0f, 0.0f, -100.0f}, {0.0f, 0.0f, 0.0f}); }

    // Where a world point lands, pixels from the top left.
    static std::pair<int, int> pixelOf(Vec3 p, const FrameView& view) {
        const Vec4 clip = transform(Vec4{p.x, p.y, p.z, 1.0f}, view.view * view.projection);
        const float x = (clip.x / clip.w * 0.5f + 0.5f) * kWidth;
        const float y = (0.5f - clip.y / clip.w * 0.5f) * kHeight;
        return {static_cast<int>(x), static_cast<int>(y)};
    }

    std::uint32_t currentProgram() const {
        GLint program = 0;
        glGetIntegerv(GL_CURRENT_PROGRAM, &program);
        return static_cast<std::uint32_t>(program);
    }
};

TEST_F(ScenePassesTest, ABoxCoversItsRegionAndLeavesTheRestToTheBackground) {
    testing::addBox(scene_, "boite", {}, {10, 10, 10}, kWhite);
    const FrameStatistics stats = drawFrame(front());
    EXPECT_EQ(stats.objectsDrawn, 1);
    EXPECT_FALSE(isBackground(pixel(kWidth / 2, kHeight / 2)));
    EXPECT_TRUE(isBackground(pixel(2, 2)));
    EXPECT_TRUE(isBackground(pixel(kWidth - 3, kHeight - 3)));
    // The box spans about +-10 units at 90 units' distance: its edge lies
    // well inside the frame.
    const auto [edgeX, edgeY] = pixelOf({10.0f, 0.0f, -10.0f}, front());
    EXPECT_FALSE(isBackground(pixel(edgeX - 3, edgeY)));
    EXPECT_TRUE(isBackground(pixel(edgeX + 3, edgeY)));
}

TEST_F(ScenePassesTest, TheSideFacingTheLightIsBrighterThanTheFarSide) {
    SceneObject& box = testing::addBox(scene_, "boite", {}, {10, 10, 10}, kWhite);
    // Turned by 45 degrees: one face looks left towards the light, one right.
    box.worldMatrix = matrixRotationY(kPi / 4.0f);
    drawFrame(front());
    const Rgba left = pixel(kWidth / 2 - 8, kHeight / 2);
    const Rgba right = pixel(kWidth / 2 + 8, kHeight / 2);
    EXPECT_GT(left.sum(), right.sum() + 60) << left.sum() << " vs " << right.sum();

    // The object's own light on the right turns it round.
    box.objectLightFlag = true;
    box.objectLightCount = 1;
    box.lights[0].positionOrColour = {100.0f, 0.0f, -60.0f, 0.0f};
    drawFrame(front());
    EXPECT_GT(pixel(kWidth / 2 + 8, kHeight / 2).sum(), pixel(kWidth / 2 - 8, kHeight / 2).sum() + 60);
}

TEST_F(ScenePassesTest, ATexturesColoursAppearOnTheObject) {
    DecodedImage blue;
    blue.width = blue.height = 8;
    ImageLevel level{8, 8, {}};
    for (int i = 0; i < 64; ++i) level.bytes.insert(level.bytes.end(), {20, 40, 250, 255});
    blue.levels.push_back(level);
    SceneTexture& texture = scene_.addTexture("bleu.bmp");
    texture.embeddedBytes = encodeBmp24(blue);
    ASSERT_FALSE(texture.embeddedBytes.empty());

    SceneObject& box = testing::addBox(scene_, "boite", {}, {10, 10, 10}, kWhite);
    box.textures[0] = &texture;
    box.textureEnabled[0] = true;
    drawFrame(front());
    ASSERT_NE(texture.gpuTexture, 0u);
    const Rgba p = pixel(kWidth / 2, kHeight / 2);
    EXPECT_GT(p.b, 2 * p.r);
    EXPECT_GT(p.b, 2 * p.g);

    // Switched off, the slot is not drawn: the white material shows.
    box.textureEnabled[0] = false;
    drawFrame(front());
    const Rgba plain = pixel(kWidth / 2, kHeight / 2);
    EXPECT_LT(std::abs(plain.b - plain.r), 10);
}

TEST_F(ScenePassesTest, AMirrorShowsTheObjectAboveIt) {
    SceneObject& floor = testing::addFloor(scene_, "sol", 0.0f, 100.0f, kGrey);
    testing::addBox(scene_, "boite", {0.0f, 20.0f, 0.0f}, {5, 5, 5}, kRed);
    const FrameView view = viewFrom({0.0f, 40.0f, -120.0f}, {0.0f, 5.0f, 0.0f});
    // Where the mirror image of the box's front face lands on the floor.
    const auto [rx, ry] = pixelOf({0.0f, -20.0f, -5.0f}, view);
    const auto redness = [&] {
        int sum = 0;
        for (int dy = -2; dy <= 2; ++dy) {
            for (int dx = -2; dx <= 2; ++dx) {
                const Rgba p = pixel(rx + dx, ry + dy);
                sum += p.r - p.g;
            }
        }
        return sum / 25;
    };

    drawFrame(view);
    const int withoutMirror = redness();
    floor.setRenderSwitch(kSwitchMirror, true);
    const FrameStatistics stats = drawFrame(view);
    const int withMirror = redness();
    EXPECT_EQ(stats.mirrorPasses, 1);
    EXPECT_LT(withoutMirror, 5);
    EXPECT_GT(withMirror, withoutMirror + 30) << withoutMirror << " -> " << withMirror;
    ASSERT_TRUE(floor.gpu);
    EXPECT_TRUE(floor.gpu->mirrorImages[1].created());
    EXPECT_EQ(floor.gpu->mirrorImages[1].width(), kOffscreenWidth);
}

TEST_F(ScenePassesTest, AnObjectOutsideTheViewSendsNoDrawCall) {
    testing::addBox(scene_, "devant", {}, {10, 10, 10}, kWhite);
    drawFrame(front());
    const std::uint64_t before = renderer_->gl.drawCalls();
    drawFrame(front());
    const std::uint64_t oneObject = renderer_->gl.drawCalls() - before;

    testing::addBox(scene_, "derriere", {0.0f, 0.0f, -300.0f}, {10, 10, 10}, kWhite);  // behind the eye
    testing::addBox(scene_, "a cote", {400.0f, 0.0f, 0.0f}, {10, 10, 10}, kWhite);    // far to the right
    const std::uint64_t start = renderer_->gl.drawCalls();
    const FrameStatistics stats = drawFrame(front());
    EXPECT_EQ(renderer_->gl.drawCalls() - start, oneObject);
    EXPECT_EQ(stats.objectsDrawn, 1);
    EXPECT_EQ(stats.objectsOutsideView, 2);
}

TEST_F(ScenePassesTest, LinkedCopiesAreDrawnInTheOwnersSingleInstancedDraw) {
    SceneObject& owner = testing::addBox(scene_, "pilier", {}, {5, 5, 5}, kWhite);
    for (float x : {-30.0f, 30.0f}) {
        SceneObject& copy = testing::addBox(scene_, "pilier", {x, 0.0f, 0.0f}, {5, 5, 5}, kWhite);
        ObjectLink link;
        link.object = &copy;
        owner.links.push_back(link);
    }
    rebuildWorldMatrices(scene_);
    drawFrame(front());
    const std::uint64_t start = renderer_->gl.drawCalls();
    const FrameStatistics stats = drawFrame(front());
    EXPECT_EQ(stats.objectsDrawn, 1);
    EXPECT_EQ(renderer_->gl.drawCalls() - start, 1u);
    ASSERT_TRUE(owner.gpu);
    EXPECT_EQ(owner.gpu->instanceCount, 3);
    for (float x : {-30.0f, 0.0f, 30.0f}) {
        const auto [px, py] = pixelOf({x, 0.0f, -5.0f}, front());
        EXPECT_FALSE(isBackground(pixel(px, py))) << "copy at x = " << x;
    }
    EXPECT_TRUE(isBackground(pixel(pixelOf({15.0f, 0.0f, -5.0f}, front()).first, kHeight / 2)));

    // A copy moved and placed again is drawn where it went.
    owner.links[1].object->position = {15.0f, 0.0f, 0.0f};
    rebuildWorldMatrices(scene_);
    drawFrame(front());
    EXPECT_FALSE(isBackground(pixel(pixelOf({15.0f, 0.0f, -5.0f}, front()).first, kHeight / 2)));
    EXPECT_TRUE(isBackground(pixel(pixelOf({30.0f, 0.0f, -5.0f}, front()).first, kHeight / 2)));
}

TEST_F(ScenePassesTest, AStaticEnvironmentCubeIsRenderedInTheFirstTwoFramesOnly) {
    SceneObject& ball = testing::addBox(scene_, "boule", {}, {5, 5, 5}, kWhite);
    ball.setEnvMapEnabled(true);
    testing::addFloor(scene_, "sol", -10.0f, 50.0f, kGrey);
    std::vector<int> passes;
    for (int frame = 0; frame < 4; ++frame) passes.push_back(drawFrame(front()).cubePasses);
    EXPECT_EQ(passes, (std::vector<int>{1, 1, 0, 0}));
    ASSERT_TRUE(ball.gpu);
    EXPECT_TRUE(ball.gpu->cube.created());

    // A dynamic one every frame.
    ball.setRenderSwitch(kSwitchDynamicCube, true);
    EXPECT_EQ(drawFrame(front()).cubePasses, 1);
    EXPECT_EQ(drawFrame(front()).cubePasses, 1);

    // One whose cube came from a file: never.
    ball.render.cubeFrames = kCubeFromFile;
    EXPECT_EQ(drawFrame(front()).cubePasses, 0);
}

TEST_F(ScenePassesTest, EachCubeFaceSeesWhatLiesOnItsSide) {
    SceneObject& ball = testing::addBox(scene_, "boule", {}, {2, 2, 2}, kWhite);
    ball.setEnvMapEnabled(true);
    testing::addBox(scene_, "rouge", {-30.0f, 0.0f, 0.0f}, {8, 8, 8}, kRed);  // on the -x side
    drawFrame(front());
    ASSERT_TRUE(ball.gpu && ball.gpu->cube.created());
    const ImageResult cube = readTexture(ball.gpu->cube.texture(), GL_TEXTURE_CUBE_MAP);
    ASSERT_TRUE(cube) << cube.error;
    ASSERT_EQ(cube.image->faces, 6);
    const auto redIn = [&](int face) {
        const ImageLevel& level = cube.image->level(face, 0);
        int red = 0;
        for (std::size_t i = 0; i + 3 < level.bytes.size(); i += 4) {
            if (level.bytes[i] > 40 && level.bytes[i] > 2 * level.bytes[i + 1] + 20) ++red;
        }
        return red;
    };
    // Faces +x, -x, +y, -y, +z, -z: only the one looking along -x holds the box,
    // and it fills the middle of that face.
    EXPECT_GT(redIn(1), 512 * 512 / 10);
    for (int face : {0, 2, 3, 4, 5}) EXPECT_EQ(redIn(face), 0) << "face " << face;
    const ImageLevel& minusX = cube.image->level(1, 0);
    const std::size_t centre = (256 * 512 + 256) * 4;
    EXPECT_GT(minusX.bytes[centre], 2 * minusX.bytes[centre + 1] + 20);
}

TEST_F(ScenePassesTest, ACubeSavedBesideTheSceneIsLoadedAndNeverRenderedAgain) {
    SceneObject& ball = testing::addBox(scene_, "boule", {}, {5, 5, 5}, kWhite);
    ball.setEnvMapEnabled(true);
    testing::addFloor(scene_, "sol", -10.0f, 50.0f, kGrey);
    drawFrame(front());
    const testing::TempFolder folder;
    ASSERT_TRUE(saveEnvironmentCube(ball.gpu->cube.texture(), 1, folder.path(), "boule"));

    // The scene opened again: its objects get their resources anew.
    ball.gpu.reset();
    ball.render.cubeFrames = 0;
    renderer_->prepareScene(scene_, folder.path());
    ASSERT_TRUE(ball.gpu);
    EXPECT_NE(ball.gpu->loadedCube, 0u);
    EXPECT_EQ(ball.render.cubeFrames, kCubeFromFile);
    EXPECT_EQ(drawFrame(front()).cubePasses, 0);
    EXPECT_FALSE(ball.gpu->cube.created());

    // A damaged file is reported and the cube is rendered as usual.
    ball.gpu.reset();
    ball.render.cubeFrames = 0;
    testing::writeText(environmentCubePath(folder.path(), "boule"), "DDS not really");
    renderer_->prepareScene(scene_, folder.path());
    EXPECT_EQ(ball.gpu->loadedCube, 0u);
    EXPECT_EQ(drawFrame(front()).cubePasses, 1);
}

TEST_F(ScenePassesTest, TheVertexMarkerObjectUsesTheIndexedPrograms) {
    SceneObject& marker = testing::addBox(scene_, "Vertice", {}, {5, 5, 5}, kWhite);
    SceneObject& other = testing::addBox(scene_, "Vertices", {}, {5, 5, 5}, kWhite);  // one letter more
    renderer_->prepareScene(scene_);
    graphics_->beginFrame(scene_.backgroundColour);
    const FrameView view = front();
    ObjectDrawArgs args;
    args.view = &view;
    // More copies asked for than it has records: drawn with the records it has.
    marker.render.ownInstanceCount = 1000;
    const std::uint64_t before = renderer_->gl.drawCalls();
    passes_->drawObject(scene_, marker, args);
    EXPECT_EQ(currentProgram(), renderer_->shaders.program(ProgramId::Indexed));
    EXPECT_EQ(renderer_->gl.drawCalls(), before + 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    passes_->drawObject(scene_, other, args);
    EXPECT_EQ(currentProgram(), renderer_->shaders.program(ProgramId::MeshDirect, 0));
}

TEST_F(ScenePassesTest, OnlyMeshesThatNeedATriangleFrameGoThroughTheGeometryStage) {
    SceneObject& plain = testing::addBox(scene_, "simple", {}, {5, 5, 5}, kWhite);
    SceneObject& bumped = testing::addBox(scene_, "bosses", {}, {5, 5, 5}, kWhite);
    SceneTexture& bumps = scene_.addTexture("bosses.bmp");
    bumped.textures[0] = &bumps;
    bumped.setNormalMapEnabled(true);
    SceneObject& unset = testing::addBox(scene_, "sans normales", {}, {5, 5, 5}, kWhite);
    std::vector<MeshVertex> vertices = unset.vertices;
    vertices[4].normal = {};  // left to the face normal
    unset.assignMesh(std::move(vertices), unset.indices);
    renderer_->prepareScene(scene_);
    graphics_->beginFrame(scene_.backgroundColour);
    const FrameView view = front();
    ObjectDrawArgs args;
    args.view = &view;
    passes_->drawObject(scene_, plain, args);
    EXPECT_EQ(currentProgram(), renderer_->shaders.program(ProgramId::MeshDirect, 0));
    passes_->drawObject(scene_, bumped, args);  // its image could not be made: no texture feature
    EXPECT_EQ(currentProgram(), renderer_->shaders.program(ProgramId::Mesh, 0));
    passes_->drawObject(scene_, unset, args);
    EXPECT_EQ(currentProgram(), renderer_->shaders.program(ProgramId::Mesh, 0));
    plain.setRenderSwitch(kSwitchReflectiveAlternate, true);
    passes_->drawObject(scene_, plain, args);
    EXPECT_EQ(currentProgram(), renderer_->shaders.program(ProgramId::MeshReflectiveDirect, 0));
}

TEST_F(ScenePassesTest, ProgramsMadeForTheFeaturesAnObjectUsesAreKeptAndDrawAlike) {
    ShaderLibrary& shaders = renderer_->shaders;
    const std::uint32_t general = shaders.program(ProgramId::Mesh);
    const std::uint32_t plain = shaders.program(ProgramId::Mesh, 0);
    EXPECT_NE(plain, 0u);
    EXPECT_NE(plain, general);
    EXPECT_EQ(shaders.program(ProgramId::Mesh, 0), plain);  // made once
    EXPECT_NE(shaders.program(ProgramId::Mesh, kFeatureTexture1), plain);
    EXPECT_EQ(shaders.program(ProgramId::Mesh, kAllDrawFeatures), general);
    // Programs that are not mesh programs have no variants.
    EXPECT_EQ(shaders.program(ProgramId::Indexed, 0), shaders.program(ProgramId::Indexed));
    // Skinning is a feature of the vertex stage: both kinds link.
    const std::uint32_t skinned = shaders.program(ProgramId::MeshDirect, kFeatureSkinned);
    EXPECT_NE(skinned, 0u);
    EXPECT_NE(skinned, shaders.program(ProgramId::MeshDirect, 0));
    EXPECT_NE(shaders.program(ProgramId::MeshWireframe, 0), 0u);

    // The variant draws what the general program draws.
    SceneObject& box = testing::addBox(scene_, "boite", {}, {10, 10, 10}, kWhite);
    box.worldMatrix = matrixRotationY(kPi / 4.0f);
    renderer_->prepareScene(scene_);
    const FrameView view = front();
    ObjectDrawArgs args;
    args.view = &view;
    graphics_->beginFrame(scene_.backgroundColour);
    passes_->drawObject(scene_, box, args);
    const Rgba left = pixel(kWidth / 2 - 8, kHeight / 2);
    const Rgba right = pixel(kWidth / 2 + 8, kHeight / 2);
    // The blocks are still bound: draw again with every feature tested.
    renderer_->gl.invalidate();
    graphics_->beginFrame(scene_.backgroundColour);
    glUseProgram(general);
    renderer_->shaders.layout(LayoutKind::Mesh).bind(renderer_->gl, box.gpu->vertexBuffer, 0,
                                                     box.gpu->instanceBuffer, 0, box.gpu->indexBuffer);
    glDrawElements(GL_TRIANGLES, box.gpu->indexCount, GL_UNSIGNED_INT, nullptr);
    EXPECT_NEAR(pixel(kWidth / 2 - 8, kHeight / 2).sum(), left.sum(), 3);
    EXPECT_NEAR(pixel(kWidth / 2 + 8, kHeight / 2).sum(), right.sum(), 3);
}

TEST_F(ScenePassesTest, CullModeZeroDrawsBothFaces) {
    // Seen from above, a floor facing down shows only its back.
    SceneObject& floor = testing::addFloor(scene_, "dessous", 0.0f, 30.0f, kWhite, false);
    const FrameView above = viewFrom({0.0f, 100.0f, -1.0f}, {0.0f, 0.0f, 0.0f});
    drawFrame(above);
    EXPECT_TRUE(isBackground(pixel(kWidth / 2, kHeight / 2)));
    floor.render.cullMode = 0;
    drawFrame(above);
    EXPECT_FALSE(isBackground(pixel(kWidth / 2, kHeight / 2)));
    floor.render.cullMode = kCullFront;
    drawFrame(above);
    EXPECT_FALSE(isBackground(pixel(kWidth / 2, kHeight / 2)));
}

TEST_F(ScenePassesTest, ATubeToolWithoutMaskDrawsOnlyItsProfileAndTheCurrentObject) {
    SceneObject& profile = testing::addBox(scene_, "profil", {-30.0f, 0.0f, 0.0f}, {5, 5, 5}, kWhite);
    SceneObject& current = testing::addBox(scene_, "tubage", {0.0f, 0.0f, 0.0f}, {5, 5, 5}, kWhite);
    testing::addBox(scene_, "autre", {30.0f, 0.0f, 0.0f}, {5, 5, 5}, kWhite);
    scene_.currentObject = &current;
    settings_.tools.profileTool = ProfileTool::Tube;
    settings_.tools.profileObject = &profile;
    const FrameStatistics stats = drawFrame(front());
    EXPECT_EQ(stats.objectsDrawn, 2);
    for (float x : {-30.0f, 0.0f}) {
        const auto [px, py] = pixelOf({x, 0.0f, -5.0f}, front());
        EXPECT_FALSE(isBackground(pixel(px, py)));
    }
    const auto [ox, oy] = pixelOf({30.0f, 0.0f, -5.0f}, front());
    EXPECT_TRUE(isBackground(pixel(ox, oy)));
}

TEST_F(ScenePassesTest, HiddenObjectsAreGhostsInEditModeAndAbsentOtherwise) {
    SceneObject& box = testing::addBox(scene_, "boite", {}, {10, 10, 10}, kWhite);
    box.render.hidden = true;
    EXPECT_EQ(drawFrame(front()).objectsDrawn, 0);
    settings_.editMode = true;
    EXPECT_EQ(drawFrame(front()).objectsDrawn, 1);
    const Rgba ghost = pixel(kWidth / 2, kHeight / 2);
    box.render.hidden = false;
    drawFrame(front());
    EXPECT_LT(ghost.sum(), pixel(kWidth / 2, kHeight / 2).sum());
}

TEST_F(ScenePassesTest, ALightViewImageDarkensTheFloorUnderABox) {
    SceneObject& floor = testing::addFloor(scene_, "sol", 0.0f, 60.0f, kWhite);
    testing::addBox(scene_, "boite", {0.0f, 20.0f, 0.0f}, {5, 5, 5}, kWhite);
    scene_.lights[0].positionOrColour = {0.0f, 300.0f, 0.0f, 0.0f};
    const FrameView view = viewFrom({0.0f, 100.0f, -60.0f}, {0.0f, 0.0f, 0.0f});
    const auto [sx, sy] = pixelOf({0.0f, 0.0f, -3.0f}, view);

    drawFrame(view);
    const Rgba lit = pixel(sx, sy);
    floor.render.lightView = true;
    floor.render.lightEye = {0.0f, 300.0f, 0.1f};
    floor.render.lightTarget = {0.0f, 0.0f, 0.0f};
    floor.setRenderSwitch(kSwitchShadowMap, true);
    drawFrame(view);  // the first frame renders the image, the second reads it
    const FrameStatistics stats = drawFrame(view);
    EXPECT_EQ(stats.lightViewPasses, 1);
    const Rgba shadowed = pixel(sx, sy);
    EXPECT_LT(shadowed.sum(), lit.sum() - 40) << lit.sum() << " -> " << shadowed.sum();
    // Away from the box the floor stays lit.
    const auto [ax, ay] = pixelOf({40.0f, 0.0f, -20.0f}, view);
    EXPECT_GT(pixel(ax, ay).sum(), shadowed.sum() + 40);
}

TEST_F(ScenePassesTest, EditModeShowsTheSelectedBoxWithItsLabelAndTheOrbitTarget) {
    SceneObject& box = testing::addBox(scene_, "boite", {}, {10, 10, 10}, kWhite);
    box.scale = {2.0f, 1.0f, 1.0f};
    EXPECT_EQ(boundingBoxLabel(box), "boite  40.00 x 20.00 x 20.00");
    settings_.editMode = true;
    settings_.orbitTarget = Vec3{0.0f, 0.0f, -20.0f};
    drawFrame(front());
    const std::uint64_t plainDraws = renderer_->gl.drawCalls();
    const std::uint64_t plainText = renderer_->text.drawCalls;
    drawFrame(front());
    const std::uint64_t perFrame = renderer_->gl.drawCalls() - plainDraws;
    scene_.currentObject = &box;
    const std::uint64_t before = renderer_->gl.drawCalls();
    drawFrame(front());
    // The box edges: one more draw, and one line of text.
    EXPECT_EQ(renderer_->gl.drawCalls() - before, perFrame + 1);
    EXPECT_EQ(renderer_->text.drawCalls, plainText + 1);
    // Outside edit mode neither is drawn.
    settings_.editMode = false;
    const std::uint64_t quiet = renderer_->gl.drawCalls();
    drawFrame(front());
    EXPECT_EQ(renderer_->gl.drawCalls() - quiet, perFrame - 1);  // no orbit cross either
}

TEST_F(ScenePassesTest, TheOpacityGlidesToItsTargetAndStops) {
    SceneObject& box = testing::addBox(scene_, "boite", {}, {10, 10, 10}, kWhite);
    box.opacity = 1.0f;
    box.render.opacityTarget = 0.0f;
    drawFrame(front());
    EXPECT_LT(box.opacity, 1.0f);
    EXPECT_GT(box.opacity, 0.5f);
    for (int i = 0; i < 300 && box.render.opacityTarget; ++i) drawFrame(front());
    EXPECT_FALSE(box.render.opacityTarget.has_value());
    EXPECT_EQ(box.opacity, 0.0f);
    // Without a target the stored opacity is left alone.
    box.opacity = 0.4f;
    drawFrame(front());
    EXPECT_EQ(box.opacity, 0.4f);
}

TEST_F(ScenePassesTest, ThePreviewImageHoldsTheSelectionOnlyWhenAsked) {
    testing::addBox(scene_, "gauche", {-20.0f, 0.0f, 0.0f}, {5, 5, 5}, kWhite);
    SceneObject& right = testing::addBox(scene_, "droite", {20.0f, 0.0f, 0.0f}, {5, 5, 5}, kWhite);
    renderer_->prepareScene(scene_);
    scene_.currentObject = &right;
    const auto drawnPixels = [&] {
        const ImageResult image = readTexture(renderer_->preview.texture(), GL_TEXTURE_2D);
        int left = 0;
        int rightSide = 0;
        const ImageLevel& level = image.image->level(0, 0);
        for (int y = 0; y < level.height; ++y) {
            for (int x = 0; x < level.width; ++x) {
                const auto i = static_cast<std::size_t>((y * level.width + x) * 4);
                if (level.bytes[i] + level.bytes[i + 1] + level.bytes[i + 2] == 0) continue;
                (x < level.width / 2 ? left : rightSide) += 1;
            }
        }
        return std::pair{left, rightSide};
    };
    ASSERT_TRUE(passes_->drawPreviewImage(scene_, front(), false, 0.0));
    EXPECT_EQ(renderer_->preview.width(), kPreviewWidth);
    const auto [allLeft, allRight] = drawnPixels();
    EXPECT_GT(allLeft, 100);
    EXPECT_GT(allRight, 100);
    ASSERT_TRUE(passes_->drawPreviewImage(scene_, front(), true, 0.0));
    const auto [selLeft, selRight] = drawnPixels();
    EXPECT_EQ(selLeft, 0);
    EXPECT_GT(selRight, 100);
}

// --- Pure parts -----------------------------------------------------------------

TEST(LightBlockFor, TakesTheScenesLightsInUseOrTheObjectsOwn) {
    Scene scene;
    scene.activeLightCount = 3;
    scene.lights[2].positionOrColour = {1.0f, 2.0f, 3.0f, 0.0f};
    SceneObject object("boite");
    LightBlock block = ScenePasses::lightBlockFor(scene, object);
    EXPECT_EQ(block.lightCount, 3);
    EXPECT_EQ(block.lights[2].position.y, 2.0f);
    EXPECT_EQ(block.lights[2].position.w, 1.0f);  // a point light

    object.objectLightFlag = true;
    object.objectLightCount = 99;  // damaged count: at most its eight slots
    block = ScenePasses::lightBlockFor(scene, object);
    EXPECT_EQ(block.lightCount, 8);
    scene.activeLightCount = 0;  // out of range: one light
    object.objectLightFlag = false;
    EXPECT_EQ(ScenePasses::lightBlockFor(scene, object).lightCount, 1);
}

TEST(MirrorView, ReflectsPointsInTheMirrorPlane) {
    const Mat4 view = lookAtLH({0, 10, -50}, {0, 0, 0}, {0, 1, 0});
    const Mat4 mirrored = ScenePasses::mirrorView(view, 2.0f);
    // A point 3 above the plane is seen where the point 3 below it is seen
    // through the unmirrored view.
    const Vec3 a = transformPoint({4, 5, 6}, mirrored);
    const Vec3 b = transformPoint({4, -1, 6}, view);
    EXPECT_NEAR(a.x, b.x, 1e-4f);
    EXPECT_NEAR(a.y, b.y, 1e-4f);
    EXPECT_NEAR(a.z, b.z, 1e-4f);
}

TEST(CubeFaceViews, LookAlongTheSixAxesInOrder) {
    const Vec3 p{1, 2, 3};
    const std::array<Mat4, 6> views = ScenePasses::cubeFaceViews(p);
    const Vec3 directions[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (std::size_t i = 0; i < 6; ++i) {
        const Vec3 ahead = transformPoint(p + directions[i] * 5.0f, views[i]);
        EXPECT_NEAR(ahead.x, 0.0f, 1e-4f) << i;
        EXPECT_NEAR(ahead.y, 0.0f, 1e-4f) << i;
        EXPECT_NEAR(ahead.z, 5.0f, 1e-4f) << i;
    }
}

}  // namespace
}  // namespace morvanex
