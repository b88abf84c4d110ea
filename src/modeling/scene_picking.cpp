#include "modeling/scene_picking.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <thread>
#include <vector>

#include "scene/scene.h"
#include "scene/scene_object.h"

namespace morvanex {

namespace {

// The hierarchy an object owns, with what it was built from: a mesh whose
// arrays moved or changed size is rebuilt even if nobody called
// meshChanged().
struct PickHierarchyData final : DerivedMeshData {
    TriangleBvh bvh;
    const MeshVertex* vertices = nullptr;
    std::size_t vertexCount = 0;
    const std::int32_t* indices = nullptr;
    std::size_t indexCount = 0;
    bool deformed = false;  // fitted to drawn positions at the last query
    // The world matrix of the last query and what was derived from it.
    Mat4 world;
    std::optional<ObjectFrame> frame;
    bool frameKnown = false;

    bool matches(const SceneObject& object) const {
        return vertices == object.vertices.data() && vertexCount == object.vertices.size() &&
               indices == object.indices.data() && indexCount == object.indices.size();
    }
};

unsigned buildThreads() { return std::clamp(std::thread::hardware_concurrency(), 1u, 8u); }

constexpr double kUnitRoundoff = std::numeric_limits<float>::epsilon() * 0.5;

double length3(const double v[3]) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

// An upper bound of the largest stretch of a 3x3 matrix (its spectral
// norm): the square root of the largest Gershgorin row sum of M^T M. Exact
// for rotations and axis scalings.
double spectralBound(const double m[3][3]) {
    double largest = 0.0;
    for (int i = 0; i < 3; ++i) {
        double row = 0.0;
        for (int j = 0; j < 3; ++j) {
            double product = 0.0;
            for (int k = 0; k < 3; ++k) product += m[k][i] * m[k][j];
            row += std::fabs(product);
        }
        largest = std::max(largest, row);
    }
    // A little over, for the rounding of the sums themselves.
    return std::sqrt(largest) * (1.0 + 1e-12);
}

// A direction component of zero would make the slab test divide by zero;
// a tiny one moves the ray by far less than the margins.
float safeInverse(double d) {
    constexpr double kTiny = 1e-30;
    if (std::fabs(d) < kTiny) d = d < 0.0 ? -kTiny : kTiny;
    return static_cast<float>(1.0 / d);
}

}  // namespace

const TriangleBvh& pickHierarchy(SceneObject& object, std::span<const Vec3> drawnPositions) {
    auto* data = dynamic_cast<PickHierarchyData*>(object.pickData.get());
    const CornerPositions positions(object, drawnPositions);
    const bool deformed = !drawnPositions.empty() && drawnPositions.size() >= object.vertices.size();
    if (data == nullptr || !data->matches(object)) {
        auto fresh = std::make_unique<PickHierarchyData>();
        fresh->bvh.build(positions, object.indices, buildThreads());
        fresh->vertices = object.vertices.data();
        fresh->vertexCount = object.vertices.size();
        fresh->indices = object.indices.data();
        fresh->indexCount = object.indices.size();
        fresh->deformed = deformed;
        data = fresh.get();
        object.pickData = std::move(fresh);
    } else if (deformed || data->deformed) {
        // Drawn corners move from frame to frame: same triangles, new boxes.
        data->bvh.refit(positions, object.indices);
        data->deformed = deformed;
    }
    return data->bvh;
}

std::optional<ObjectFrame> objectFrame(const Mat4& world) {
    const auto& m = world.m;
    if (m[0][3] != 0.0f || m[1][3] != 0.0f || m[2][3] != 0.0f || m[3][3] != 1.0f) return std::nullopt;
    ObjectFrame f;
    double l[3][3];
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) l[r][c] = m[r][c];
        f.translation[r] = m[3][r];
    }
    const double det = l[0][0] * (l[1][1] * l[2][2] - l[1][2] * l[2][1]) -
                       l[0][1] * (l[1][0] * l[2][2] - l[1][2] * l[2][0]) +
                       l[0][2] * (l[1][0] * l[2][1] - l[1][1] * l[2][0]);
    if (!std::isfinite(det) || det == 0.0) return std::nullopt;
    auto& inv = f.inverse;
    inv[0][0] = (l[1][1] * l[2][2] - l[1][2] * l[2][1]) / det;
    inv[0][1] = (l[0][2] * l[2][1] - l[0][1] * l[2][2]) / det;
    inv[0][2] = (l[0][1] * l[1][2] - l[0][2] * l[1][1]) / det;
    inv[1][0] = (l[1][2] * l[2][0] - l[1][0] * l[2][2]) / det;
    inv[1][1] = (l[0][0] * l[2][2] - l[0][2] * l[2][0]) / det;
    inv[1][2] = (l[0][2] * l[1][0] - l[0][0] * l[1][2]) / det;
    inv[2][0] = (l[1][0] * l[2][1] - l[1][1] * l[2][0]) / det;
    inv[2][1] = (l[0][1] * l[2][0] - l[0][0] * l[2][1]) / det;
    inv[2][2] = (l[0][0] * l[1][1] - l[0][1] * l[1][0]) / det;
    f.stretch = spectralBound(l);
    f.inverseStretch = spectralBound(inv);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) f.largestLinear = std::max(f.largestLinear, std::fabs(l[r][c]));
        f.largestTranslation = std::max(f.largestTranslation, std::fabs(f.translation[r]));
    }
    if (!std::isfinite(f.inverseStretch) || !std::isfinite(f.stretch)) return std::nullopt;
    return f;
}

std::optional<BvhRay> objectSpaceRay(const Ray& ray, const ObjectFrame& frame, const BvhNode& root) {
    const double worldOrigin[3] = {ray.origin.x, ray.origin.y, ray.origin.z};
    const double worldDirection[3] = {ray.direction.x, ray.direction.y, ray.direction.z};
    double origin[3] = {0, 0, 0};
    double direction[3] = {0, 0, 0};
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 3; ++r) {
            origin[c] += (worldOrigin[r] - frame.translation[r]) * frame.inverse[r][c];
            direction[c] += worldDirection[r] * frame.inverse[r][c];
        }
    }
    // The mesh: its box in object space, and how far from the ray origin
    // its corners can lie, in object space and (stretched) in the world.
    double fromCentre[3];
    double half[3];
    double largestP = 0.0;
    const double lo[3] = {root.lo.x, root.lo.y, root.lo.z};
    const double hi[3] = {root.hi.x, root.hi.y, root.hi.z};
    for (int i = 0; i < 3; ++i) {
        fromCentre[i] = origin[i] - 0.5 * (lo[i] + hi[i]);
        half[i] = 0.5 * (hi[i] - lo[i]);
        largestP = std::max({largestP, std::fabs(lo[i]), std::fabs(hi[i])});
    }
    const double reachObject = length3(fromCentre) + length3(half);
    const double reach = reachObject * frame.stretch;
    const double edge = static_cast<double>(root.maxEdge) * frame.stretch;
    const double originSize = length3(worldOrigin);

    // Rounding of the world corners against their exact images.
    const double cornerError = 8.0 * kUnitRoundoff * (3.0 * largestP * frame.largestLinear + frame.largestTranslation);
    // How far outside its triangle the world test's rounding can accept a
    // hit, in the plane and along the ray: its barycentric and distance
    // errors are a few roundings of products of the origin's and corners'
    // sizes with the edges and the direction, divided by the determinant,
    // which is at least kParallelDeterminant; the edge lengths enter
    // squared.
    const double perEdgeSquaredWorld = 64.0 * kUnitRoundoff * length3(worldDirection) * frame.stretch *
                                       frame.stretch * (2.0 * originSize + 2.0 * reach + edge) /
                                       static_cast<double>(kParallelDeterminant);
    const double constantWorld = 8.0 * kUnitRoundoff * (2.0 * originSize + 2.0 * reach) + cornerError;
    // Back to object space, plus the rounding of this ray and of the slab
    // test itself.
    const double perEdgeSquared = perEdgeSquaredWorld * frame.inverseStretch;
    const double constant = constantWorld * frame.inverseStretch +
                            8.0 * kUnitRoundoff * (length3(origin) + largestP + reachObject);

    BvhRay out;
    out.origin = Vec3{static_cast<float>(origin[0]), static_cast<float>(origin[1]), static_cast<float>(origin[2])};
    out.inverseDirection = Vec3{safeInverse(direction[0]), safeInverse(direction[1]), safeInverse(direction[2])};
    out.marginPerEdgeSquared = static_cast<float>(perEdgeSquared);
    out.marginConstant = static_cast<float>(constant);
    const bool usable = std::isfinite(out.origin.x) && std::isfinite(out.origin.y) && std::isfinite(out.origin.z) &&
                        std::isfinite(out.marginPerEdgeSquared) && std::isfinite(out.marginConstant) &&
                        std::isfinite(out.marginPerEdgeSquared * root.maxEdge * root.maxEdge + out.marginConstant);
    if (!usable) return std::nullopt;
    return out;
}

namespace {

// The object's answer through its hierarchy, or exhaustively where the
// hierarchy cannot promise the same answer. The box pre-test comes first,
// exactly as in the exhaustive loop.
MeshHit objectHit(SceneObject& object, const Ray& ray, const MeshQuery& query, const TriangleBvh& bvh,
                  const std::optional<BvhRay>& objectRay) {
    if (!bvh.finite() || !objectRay) return intersectMesh(object, ray, query);
    Vec3 lo;
    Vec3 hi;
    queryBounds(object, query, lo, hi);
    if (!hitsBoundingBox(ray, lo, hi, object.worldMatrix)) return MeshHit{};
    return bvh.closestHit(*objectRay, ray, object.worldMatrix, query.mode, query.facingOnly);
}

std::optional<BvhRay> rayFor(SceneObject& object, const TriangleBvh& bvh, const Ray& ray) {
    if (bvh.empty() || !bvh.finite()) return std::nullopt;
    auto* data = static_cast<PickHierarchyData*>(object.pickData.get());
    if (!data->frameKnown || std::memcmp(&data->world, &object.worldMatrix, sizeof(Mat4)) != 0) {
        data->world = object.worldMatrix;
        data->frame = objectFrame(object.worldMatrix);
        data->frameKnown = true;
    }
    if (!data->frame) return std::nullopt;
    return objectSpaceRay(ray, *data->frame, bvh.root());
}

}  // namespace

MeshHit intersectMeshFast(SceneObject& object, const Ray& ray, const MeshQuery& query) {
    const TriangleBvh& bvh = pickHierarchy(object, query.drawnPositions);
    if (bvh.finite() && bvh.empty()) return MeshHit{};
    return objectHit(object, ray, query, bvh, rayFor(object, bvh, ray));
}

PickHit pickScene(Scene& scene, const Ray& ray, const PickRules& rules) {
    struct Candidate {
        float entry;
        std::size_t index;
        const TriangleBvh* bvh;
        std::optional<BvhRay> objectRay;
    };
    std::vector<Candidate> candidates;
    const auto& objects = scene.objects();
    for (std::size_t i = 0; i < objects.size(); ++i) {
        SceneObject& object = *objects[i];
        if (!isPickable(scene, object, rules) || object.indices.size() < 3) continue;
        const TriangleBvh& bvh = pickHierarchy(object, drawnPositionsFor(object, rules));
        if (bvh.finite() && bvh.empty()) continue;  // no triangle can be hit
        std::optional<BvhRay> objectRay = rayFor(object, bvh, ray);
        float entry = -std::numeric_limits<float>::infinity();  // tested exhaustively
        if (objectRay && !TriangleBvh::enters(bvh.root(), *objectRay, entry)) continue;
        candidates.push_back(Candidate{entry, i, &bvh, objectRay});
    }
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        return a.entry < b.entry || (a.entry == b.entry && a.index < b.index);
    });
    PickHit pick;
    std::size_t pickIndex = objects.size();
    for (const Candidate& candidate : candidates) {
        // Boxes further than the hovered hit hold nothing nearer.
        if (candidate.entry > pick.nearestDistance) break;
        SceneObject& object = *objects[candidate.index];
        const MeshQuery query{PickMode::Nearest, rules.facingOnly, drawnPositionsFor(object, rules)};
        const MeshHit hit = objectHit(object, ray, query, *candidate.bvh, candidate.objectRay);
        if (!hit.hit) continue;
        // In list order a strictly nearer hit replaces the hovered one; out
        // of order, an equal distance goes to the earlier object.
        const bool nearer = hit.distance < pick.nearestDistance;
        const bool earlierTie = pick.hoveredObject != nullptr && hit.distance == pick.nearestDistance &&
                                candidate.index < pickIndex;
        if (!nearer && !earlierTie) continue;
        takeHit(pick, object, hit);
        pickIndex = candidate.index;
    }
    return pick;
}

}  // namespace morvanex
