#include "start_scenes/start_scenes.h"

#include <cmath>
#include <memory>
#include <vector>

#include "modeling/primitives.h"
#include "scene/scene.h"
#include "start_scenes/extrusion.h"
#include "start_scenes/letter_outlines.h"

namespace morvanex {

namespace {

// The title's proportions, in scene units.
constexpr double kLetterEm = 36.0;
constexpr double kLetterDepth = 7.0;
constexpr int kCurveSteps = 5;
const Vec3 kTitleCentre{0.0f, 12.0f, 0.0f};

void setColours(SceneObject& object, Vec4 diffuse, Vec4 ambient, Vec4 specular) {
    object.materialColours[0] = diffuse;
    object.materialColours[1] = ambient;
    object.materialColours[2] = specular;
}

// Keeps the generator's normals (smoothed walls) and gives the object its
// triangle list, one vertex per corner.
void installMesh(SceneObject& object, std::vector<MeshVertex> vertices) {
    std::vector<std::int32_t> indices(vertices.size());
    for (std::size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<std::int32_t>(i);
    object.assignMesh(std::move(vertices), std::move(indices));
}

// A ring lying in the x-y plane around `centre`.
std::unique_ptr<SceneObject> makeRing(std::string name, Vec3 centre, float radius, float tube, int around, int across) {
    auto ring = std::make_unique<SceneObject>(std::move(name));
    const auto point = [&](int i, int j) {
        const float a = kTwoPi * static_cast<float>(i) / static_cast<float>(around);
        const float b = kTwoPi * static_cast<float>(j) / static_cast<float>(across);
        const Vec3 outward{std::cos(a), std::sin(a), 0.0f};
        const Vec3 normal = outward * std::cos(b) + Vec3{0.0f, 0.0f, std::sin(b)};
        MeshVertex v;
        v.position = centre + outward * radius + normal * tube;
        v.normal = normal;
        v.texcoord = {static_cast<float>(i) / static_cast<float>(around), static_cast<float>(j) / static_cast<float>(across)};
        v.texcoord2 = v.texcoord;
        return v;
    };
    std::vector<MeshVertex> vertices;
    for (int i = 0; i < around; ++i) {
        for (int j = 0; j < across; ++j) {
            const MeshVertex p00 = point(i, j), p10 = point(i + 1, j), p01 = point(i, j + 1), p11 = point(i + 1, j + 1);
            vertices.insert(vertices.end(), {p00, p10, p11, p00, p11, p01});
        }
    }
    installMesh(*ring, std::move(vertices));
    return ring;
}

// A closed cylinder along -y from `top`, for the camera's lens.
std::vector<MeshVertex> cylinderDown(Vec3 top, float radius, float length, int segments) {
    std::vector<MeshVertex> out;
    const Vec3 bottom = top - Vec3{0.0f, length, 0.0f};
    const auto rim = [&](int i) {
        const float a = kTwoPi * static_cast<float>(i) / static_cast<float>(segments);
        return Vec3{std::cos(a), 0.0f, std::sin(a)};
    };
    const auto vertex = [](Vec3 p, Vec3 n) {
        MeshVertex v;
        v.position = p;
        v.normal = n;
        return v;
    };
    for (int i = 0; i < segments; ++i) {
        const Vec3 a = rim(i), b = rim(i + 1);
        const Vec3 ta = top + a * radius, tb = top + b * radius, ba = bottom + a * radius, bb = bottom + b * radius;
        out.insert(out.end(), {vertex(ta, a), vertex(tb, b), vertex(bb, b), vertex(ta, a), vertex(bb, b), vertex(ba, a)});
        out.insert(out.end(), {vertex(top, {0, 1, 0}), vertex(tb, {0, 1, 0}), vertex(ta, {0, 1, 0})});
        out.insert(out.end(), {vertex(bottom, {0, -1, 0}), vertex(ba, {0, -1, 0}), vertex(bb, {0, -1, 0})});
    }
    return out;
}

void addTitleSweep(Scene& scene) {
    // The eye circles the title from the left to the right, rising and
    // falling a little: the header's viewpoint, then one per key image.
    const float distances[4] = {250.0f, 225.0f, 215.0f, 228.0f};
    const float azimuths[4] = {radians(-24.0f), radians(-8.0f), radians(9.0f), radians(21.0f)};
    const float heights[4] = {70.0f, 44.0f, 52.0f, 38.0f};
    const auto eyeAt = [&](int k) {
        return Vec3{distances[k] * std::sin(azimuths[k]), heights[k], -distances[k] * std::cos(azimuths[k])};
    };
    const TitleViewpoint start = viewpointLookingAt(eyeAt(0), kTitleCentre);
    scene.eye = scene.eyeTarget = start.eye;
    scene.yaw = start.yaw;
    scene.pitch = start.pitch;

    SceneObject* camera = scene.cameraObject();
    Animation& animation = scene.addAnimation(std::string(kServiceObjectNames[0]));
    animation.cameraFlag = 1;
    animation.animationFlag = 0;
    animation.target = camera;
    camera->animation = &animation;
    // The sequence played first and the one playback starts with.
    animation.sequenceReferenceNames[0] = kTitleSequenceName;
    animation.sequenceReferenceNames[3] = kTitleSequenceName;
    Sequence& sequence = animation.addSequence(kTitleSequenceName);
    for (int k = 0; k < 3; ++k) {
        const TitleViewpoint view = viewpointLookingAt(eyeAt(k + 1), kTitleCentre);
        ObjectState& state = sequence.addKeyImage(kTitleKeyTimes[k]).addState(camera);
        state.position = view.eye;
        state.angles = {view.pitch, view.yaw, 0.0f};
        state.easeEnabled = true;
    }
    animation.resolveSequenceReferences();
}

}  // namespace

TitleViewpoint viewpointLookingAt(Vec3 eye, Vec3 target) {
    const Vec3 d = normalize(target - eye);
    TitleViewpoint view;
    view.eye = eye;
    view.pitch = -std::asin(d.y);
    view.yaw = std::atan2(d.z, d.x);
    return view;
}

bool buildTitleScene(Scene& scene, std::span<const std::uint8_t> boldFont, std::string* why) {
    std::optional<TextOutline> outline = outlineText(boldFont, kTitleText, kLetterEm, kCurveSteps, why);
    if (!outline) return false;
    // Centred on x, standing on the plinth.
    for (Contour& contour : outline->contours) {
        for (Point2& p : contour) {
            p.x -= outline->width * 0.5;
            p.y += 3.0;
        }
    }
    ExtrusionStyle style;
    style.depth = kLetterDepth;
    auto letters = std::make_unique<SceneObject>("titre Morvanex");
    installMesh(*letters, extrudeShapes(groupContours(std::move(outline->contours)), style));
    setColours(*letters, {0.98f, 0.66f, 0.2f, 1.0f}, {0.55f, 0.3f, 0.08f, 1.0f}, {1.0f, 0.92f, 0.75f, 1.0f});
    scene.addObject(std::move(letters));

    const float halfWidth = static_cast<float>(outline->width * 0.5);
    auto plinth = makeBox({-halfWidth - 14.0f, 0.0f, -12.0f}, {halfWidth + 14.0f, 0.0f, 12.0f}, {0.0f, 3.0f, 0.0f});
    plinth->name = "socle";
    setColours(*plinth, {0.16f, 0.2f, 0.3f, 1.0f}, {0.08f, 0.1f, 0.16f, 1.0f}, {0.6f, 0.7f, 0.9f, 1.0f});
    scene.addObject(std::move(plinth));

    auto ring = makeRing("anneau", {0.0f, 0.0f, 30.0f}, halfWidth * 0.9f, 1.8f, 72, 8);
    setColours(*ring, {0.2f, 0.75f, 0.85f, 1.0f}, {0.05f, 0.22f, 0.28f, 1.0f}, {0.9f, 1.0f, 1.0f, 1.0f});
    scene.addObject(std::move(ring));

    for (const float side : {-1.0f, 1.0f}) {
        auto sphere = makeSphere({side * (halfWidth + 8.0f), 8.0f, 0.0f}, 6.0f, 480);
        sphere->name = side < 0.0f ? "sphere gauche" : "sphere droite";
        computeNormals(sphere->vertices, sphere->indices, 1e-4f, false);
        setColours(*sphere, {0.85f, 0.22f, 0.3f, 1.0f}, {0.3f, 0.06f, 0.1f, 1.0f}, {1.0f, 0.85f, 0.85f, 1.0f});
        scene.addObject(std::move(sphere));
    }

    const float floor = 340.0f;
    auto ground = makeQuad(1, 1,
                           {Vec3{-floor, 0.0f, -floor}, Vec3{-floor, 0.0f, floor}, Vec3{floor, 0.0f, floor},
                            Vec3{floor, 0.0f, -floor}},
                           {0.0f, 1.0f, 0.0f});
    ground->name = "sol";
    setColours(*ground, {0.1f, 0.12f, 0.18f, 1.0f}, {0.05f, 0.06f, 0.1f, 1.0f}, {0.2f, 0.22f, 0.3f, 1.0f});
    scene.addObject(std::move(ground));

    scene.backgroundColour = {0.04f, 0.05f, 0.09f, 1.0f};
    // A key light high on the viewer's left, a softer one on the right.
    scene.activeLightCount = 2;
    scene.lights[0].positionOrColour = {-170.0f, 160.0f, -230.0f, 0.0f};
    scene.lights[0].intensity = 1.0f;
    scene.lights[1].positionOrColour = {220.0f, 70.0f, -140.0f, 0.0f};
    scene.lights[1].intensity = 0.45f;
    addTitleSweep(scene);
    return true;
}

void buildCameraScene(Scene& scene) {
    // The body sits above the object's origin, the lens looking down
    // towards it: the view runs from the body's centre through the origin.
    auto body = makeBox({-3.0f, 6.0f, -2.0f}, {3.0f, 6.0f, 2.0f}, {0.0f, 10.0f, 0.0f});
    std::vector<MeshVertex> vertices = body->vertices;
    const std::vector<MeshVertex> lens = cylinderDown({0.0f, 6.0f, 0.0f}, 1.4f, 2.5f, 16);
    vertices.insert(vertices.end(), lens.begin(), lens.end());
    SceneObject& camera = scene.addObject(kCameraBodyName);
    installMesh(camera, std::move(vertices));
    setColours(camera, {0.25f, 0.25f, 0.28f, 1.0f}, {0.1f, 0.1f, 0.12f, 1.0f}, {0.8f, 0.8f, 0.8f, 1.0f});

    // The view volume: a pyramid from the lens, opening downwards.
    const Vec3 apex{0.0f, 3.5f, 0.0f};
    const float reach = 12.0f, half = 5.0f;
    const Vec3 c0{-half, apex.y - reach, -half}, c1{half, apex.y - reach, -half};
    const Vec3 c2{half, apex.y - reach, half}, c3{-half, apex.y - reach, half};
    std::vector<MeshVertex> pyramid;
    const auto add = [&](Vec3 a, Vec3 b, Vec3 c) {
        for (Vec3 p : {a, b, c}) {
            MeshVertex v;
            v.position = p;
            pyramid.push_back(v);
        }
    };
    add(apex, c1, c0);
    add(apex, c2, c1);
    add(apex, c3, c2);
    add(apex, c0, c3);
    add(c0, c1, c2);
    add(c0, c2, c3);
    auto volume = std::make_unique<SceneObject>(kViewVolumeName);
    std::vector<std::int32_t> indices(pyramid.size());
    for (std::size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<std::int32_t>(i);
    setMesh(*volume, std::move(pyramid), std::move(indices));
    setColours(*volume, {0.6f, 0.8f, 1.0f, 0.3f}, {0.3f, 0.4f, 0.5f, 0.3f}, {0.0f, 0.0f, 0.0f, 1.0f});
    volume->opacity = 0.3f;
    scene.addObject(std::move(volume));
}

}  // namespace morvanex
