#include "modeling/triangle_bvh.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <thread>

namespace morvanex {

namespace {

constexpr int kBins = 16;
constexpr std::uint32_t kMaxLeaf = 4;
// Past this depth splits are halves by count, so the depth stays bounded
// whatever the triangles look like (the traversal stack relies on it).
constexpr int kMaxSahDepth = 40;
constexpr std::size_t kStackSize = 128;
// Below this many triangles a second thread costs more than it saves.
constexpr std::size_t kParallelMinimum = 32768;
constexpr float kTraversalCost = 1.0f;

struct Box {
    Vec3 lo{std::numeric_limits<float>::max(), std::numeric_limits<float>::max(), std::numeric_limits<float>::max()};
    Vec3 hi{-std::numeric_limits<float>::max(), -std::numeric_limits<float>::max(),
            -std::numeric_limits<float>::max()};

    void grow(Vec3 p) {
        lo = componentMin(lo, p);
        hi = componentMax(hi, p);
    }
    void grow(const Box& b) {
        lo = componentMin(lo, b.lo);
        hi = componentMax(hi, b.hi);
    }
    float area() const {
        const Vec3 e = hi - lo;
        if (e.x < 0.0f) return 0.0f;
        return 2.0f * (e.x * e.y + e.y * e.z + e.z * e.x);
    }
};

float axisOf(Vec3 v, int axis) { return axis == 0 ? v.x : (axis == 1 ? v.y : v.z); }

float longestEdge(const std::array<Vec3, 3>& c) {
    return std::max({length(c[1] - c[0]), length(c[2] - c[1]), length(c[0] - c[2])});
}

bool isFinite(Vec3 v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

// One triangle while building; the builder moves these records themselves
// (not indices to them) so that every pass reads memory in order.
struct Primitive {
    Box box;
    float edge = 0.0f;
    std::int32_t number = 0;  // the triangle's place in the index list

    Vec3 centre() const { return box.lo * 0.5f + box.hi * 0.5f; }  // no overflow near the float limit
};

struct Split {
    int axis = -1;
    int bin = 0;  // primitives in bins below this go first
    float cost = std::numeric_limits<float>::max();
};

// The bounds of a range of primitives: their boxes and their centres.
struct RangeBounds {
    Box boxes;
    Box centres;
    float edge = 0.0f;

    void add(const Primitive& p) {
        boxes.grow(p.box);
        centres.grow(p.centre());
        edge = std::max(edge, p.edge);
    }
};

class Builder {
public:
    explicit Builder(std::vector<Primitive>& primitives) : primitives_(primitives) {}

    RangeBounds boundsOf(std::size_t begin, std::size_t end) const {
        RangeBounds bounds;
        for (std::size_t i = begin; i < end; ++i) bounds.add(primitives_[i]);
        return bounds;
    }

    void build(std::vector<BvhNode>& out, std::size_t begin, std::size_t end, const RangeBounds& bounds, int depth,
               unsigned threads) const {
        const std::size_t self = out.size();
        out.emplace_back();
        out[self].lo = bounds.boxes.lo;
        out[self].hi = bounds.boxes.hi;
        out[self].maxEdge = bounds.edge;
        const std::size_t count = end - begin;
        RangeBounds firstBounds;
        RangeBounds secondBounds;
        const std::size_t middle = split(bounds, begin, end, depth, firstBounds, secondBounds);
        if (middle == end) {
            out[self].link = static_cast<std::uint32_t>(begin);
            out[self].count = static_cast<std::uint32_t>(count);
            return;
        }
        if (threads > 1 && count >= kParallelMinimum) {
            std::vector<BvhNode> first;
            std::vector<BvhNode> second;
            std::thread worker([&] { build(first, begin, middle, firstBounds, depth + 1, threads / 2); });
            build(second, middle, end, secondBounds, depth + 1, threads - threads / 2);
            worker.join();
            append(out, first);
            out[self].link = static_cast<std::uint32_t>(out.size());
            append(out, second);
            return;
        }
        build(out, begin, middle, firstBounds, depth + 1, 1);
        out[self].link = static_cast<std::uint32_t>(out.size());
        build(out, middle, end, secondBounds, depth + 1, 1);
    }

private:
    // Splits the range and measures both halves; returns `end` for a leaf.
    std::size_t split(const RangeBounds& bounds, std::size_t begin, std::size_t end, int depth, RangeBounds& first,
                      RangeBounds& second) const {
        const std::size_t count = end - begin;
        if (count <= 1) return end;
        const Split best = depth < kMaxSahDepth ? bestSplit(bounds.centres, begin, end) : Split{};
        if (best.axis < 0) {
            // Centres all alike (duplicates), or too deep: halves by count.
            if (count <= kMaxLeaf) return end;
            const std::size_t middle = begin + count / 2;
            first = boundsOf(begin, middle);
            second = boundsOf(middle, end);
            return middle;
        }
        const float splitCost = kTraversalCost + best.cost / std::max(bounds.boxes.area(), 1e-30f);
        if (count <= kMaxLeaf && static_cast<float>(count) <= splitCost) return end;
        const int bins = binsFor(count);
        const float lo = axisOf(bounds.centres.lo, best.axis);
        const float scale = binScale(bounds.centres, best.axis, bins);
        // Partition in place, measuring each side as it is formed.
        std::size_t i = begin;
        std::size_t j = end;
        while (i < j) {
            const Primitive& p = primitives_[i];
            if (binOf(axisOf(p.centre(), best.axis), lo, scale, bins) < best.bin) {
                first.add(p);
                ++i;
            } else {
                second.add(p);
                std::swap(primitives_[i], primitives_[--j]);
            }
        }
        return i;
    }

    static float binScale(const Box& centres, int axis, int bins) {
        const float extent = axisOf(centres.hi, axis) - axisOf(centres.lo, axis);
        return extent > 0.0f ? static_cast<float>(bins) / extent : 0.0f;
    }

    static int binOf(float value, float lo, float scale, int bins) {
        const int bin = static_cast<int>((value - lo) * scale);
        return std::clamp(bin, 0, bins - 1);
    }

    // Small ranges get as many bins as they have triangles: the fixed cost
    // of a node then stays small next to its triangles.
    static int binsFor(std::size_t count) { return static_cast<int>(std::min<std::size_t>(kBins, count)); }

    Split bestSplit(const Box& centres, std::size_t begin, std::size_t end) const {
        const int bins = binsFor(end - begin);
        Split best;
        // Along the widest axis of the centres only: trying all three made
        // the build twice as slow for no measurable gain in picking.
        const Vec3 extent = centres.hi - centres.lo;
        const int widest = extent.x >= extent.y && extent.x >= extent.z ? 0 : (extent.y >= extent.z ? 1 : 2);
        for (const int axis : {widest}) {
            const float scale = binScale(centres, axis, bins);
            if (scale == 0.0f) continue;
            const float lo = axisOf(centres.lo, axis);
            std::array<Box, kBins> boxes;
            std::array<std::uint32_t, kBins> counts{};
            for (std::size_t i = begin; i < end; ++i) {
                const Primitive& p = primitives_[i];
                const auto bin = static_cast<std::size_t>(binOf(axisOf(p.centre(), axis), lo, scale, bins));
                boxes[bin].grow(p.box);
                ++counts[bin];
            }
            // Areas and counts of the bins above each plane, then a sweep up.
            std::array<float, kBins> aboveArea{};
            std::array<std::uint32_t, kBins> aboveCount{};
            Box above;
            std::uint32_t n = 0;
            for (int b = bins - 1; b > 0; --b) {
                above.grow(boxes[static_cast<std::size_t>(b)]);
                n += counts[static_cast<std::size_t>(b)];
                aboveArea[static_cast<std::size_t>(b)] = above.area();
                aboveCount[static_cast<std::size_t>(b)] = n;
            }
            Box below;
            std::uint32_t m = 0;
            for (int b = 1; b < bins; ++b) {
                below.grow(boxes[static_cast<std::size_t>(b - 1)]);
                m += counts[static_cast<std::size_t>(b - 1)];
                const std::uint32_t rest = aboveCount[static_cast<std::size_t>(b)];
                if (m == 0 || rest == 0) continue;
                const float cost = below.area() * static_cast<float>(m) +
                                   aboveArea[static_cast<std::size_t>(b)] * static_cast<float>(rest);
                if (cost < best.cost) best = Split{axis, b, cost};
            }
        }
        return best;
    }

    static void append(std::vector<BvhNode>& out, const std::vector<BvhNode>& part) {
        const auto offset = static_cast<std::uint32_t>(out.size());
        for (BvhNode node : part) {
            if (node.count == 0) node.link += offset;
            out.push_back(node);
        }
    }

    std::vector<Primitive>& primitives_;
};

}  // namespace

namespace {

// Runs work(begin, end) over [0, count) in `threads` contiguous pieces.
template <class Work>
void inPieces(std::size_t count, unsigned threads, const Work& work) {
    const std::size_t pieces = count >= kParallelMinimum ? std::max(threads, 1u) : 1;
    std::vector<std::thread> workers;
    for (std::size_t k = 1; k < pieces; ++k) {
        workers.emplace_back([&, k] { work(count * k / pieces, count * (k + 1) / pieces); });
    }
    work(0, count / pieces);
    for (std::thread& worker : workers) worker.join();
}

constexpr std::int32_t kLeftOut = -1;

}  // namespace

void TriangleBvh::build(const CornerPositions& positions, std::span<const std::int32_t> indices, unsigned threads) {
    nodes_.clear();
    triangles_.clear();
    corners_.clear();
    finite_ = true;
    const std::size_t triangleTotal = indices.size() / 3;
    std::vector<Primitive> primitives(triangleTotal);
    std::vector<char> damaged(std::max(threads, 1u), 0);
    inPieces(triangleTotal, threads, [&](std::size_t begin, std::size_t end) {
        const std::size_t piece = begin * damaged.size() / std::max<std::size_t>(triangleTotal, 1);
        for (std::size_t i = begin; i < end; ++i) {
            Primitive& p = primitives[i];
            p.number = kLeftOut;
            if (!triangleInRange(positions, indices, i)) continue;
            const std::array<Vec3, 3> c{positions[static_cast<std::size_t>(indices[3 * i])],
                                        positions[static_cast<std::size_t>(indices[3 * i + 1])],
                                        positions[static_cast<std::size_t>(indices[3 * i + 2])]};
            if (!isFinite(c[0]) || !isFinite(c[1]) || !isFinite(c[2])) damaged[piece] = 1;
            for (const Vec3& corner : c) p.box.grow(corner);
            p.edge = longestEdge(c);
            p.number = static_cast<std::int32_t>(i);
        }
    });
    if (std::find(damaged.begin(), damaged.end(), 1) != damaged.end()) {
        // No box can promise anything about a corner that is not finite:
        // the caller tests this mesh exhaustively instead.
        finite_ = false;
        return;
    }
    primitives.erase(std::remove_if(primitives.begin(), primitives.end(),
                                    [](const Primitive& p) { return p.number == kLeftOut; }),
                     primitives.end());
    if (primitives.empty()) return;
    nodes_.reserve(2 * primitives.size());
    const Builder builder(primitives);
    builder.build(nodes_, 0, primitives.size(), builder.boundsOf(0, primitives.size()), 0, std::max(threads, 1u));
    triangles_.resize(primitives.size());
    corners_.resize(primitives.size());
    inPieces(primitives.size(), threads, [&](std::size_t begin, std::size_t end) {
        for (std::size_t slot = begin; slot < end; ++slot) {
            triangles_[slot] = primitives[slot].number;
            const auto base = 3 * static_cast<std::size_t>(triangles_[slot]);
            for (std::size_t k = 0; k < 3; ++k) {
                corners_[slot][k] = positions[static_cast<std::size_t>(indices[base + k])];
            }
        }
    });
}

void TriangleBvh::refit(const CornerPositions& positions, std::span<const std::int32_t> indices) {
    finite_ = true;
    for (std::size_t slot = 0; slot < triangles_.size(); ++slot) {
        const auto base = 3 * static_cast<std::size_t>(triangles_[slot]);
        std::array<Vec3, 3>& c = corners_[slot];
        for (std::size_t k = 0; k < 3; ++k) {
            c[k] = positions[static_cast<std::size_t>(indices[base + k])];
            if (!isFinite(c[k])) finite_ = false;
        }
    }
    refitNodes();
}

void TriangleBvh::refitNodes() {
    // Children follow their parent, so a backward sweep meets them first.
    for (std::size_t i = nodes_.size(); i-- > 0;) {
        BvhNode& node = nodes_[i];
        Box box;
        float edge = 0.0f;
        if (node.count > 0) {
            for (std::uint32_t s = node.link; s < node.link + node.count; ++s) {
                for (const Vec3& corner : corners_[s]) box.grow(corner);
                edge = std::max(edge, longestEdge(corners_[s]));
            }
        } else {
            const BvhNode& a = nodes_[i + 1];
            const BvhNode& b = nodes_[node.link];
            box.lo = componentMin(a.lo, b.lo);
            box.hi = componentMax(a.hi, b.hi);
            edge = std::max(a.maxEdge, b.maxEdge);
        }
        node.lo = box.lo;
        node.hi = box.hi;
        node.maxEdge = edge;
    }
}

bool TriangleBvh::enters(const BvhNode& node, const BvhRay& ray, float& entry) {
    const float margin = ray.marginPerEdgeSquared * node.maxEdge * node.maxEdge + ray.marginConstant;
    const float x1 = (node.lo.x - margin - ray.origin.x) * ray.inverseDirection.x;
    const float x2 = (node.hi.x + margin - ray.origin.x) * ray.inverseDirection.x;
    const float y1 = (node.lo.y - margin - ray.origin.y) * ray.inverseDirection.y;
    const float y2 = (node.hi.y + margin - ray.origin.y) * ray.inverseDirection.y;
    const float z1 = (node.lo.z - margin - ray.origin.z) * ray.inverseDirection.z;
    const float z2 = (node.hi.z + margin - ray.origin.z) * ray.inverseDirection.z;
    const float near = std::max({std::min(x1, x2), std::min(y1, y2), std::min(z1, z2)});
    const float far = std::min({std::max(x1, x2), std::max(y1, y2), std::max(z1, z2)});
    entry = near;
    return far >= near && far >= 0.0f;
}

MeshHit TriangleBvh::closestHit(const BvhRay& objectRay, const Ray& worldRay, const Mat4& world, PickMode mode,
                                bool facingOnly) const {
    MeshHit best;
    float entry = 0.0f;
    if (nodes_.empty() || !enters(nodes_[0], objectRay, entry)) return best;
    const bool nearest = mode == PickMode::Nearest;
    const bool facing = facingOnly || !nearest;
    struct Pending {
        std::uint32_t node;
        float entry;
    };
    std::array<Pending, kStackSize> stack;
    std::size_t depth = 0;
    std::uint32_t current = 0;
    for (;;) {
        const BvhNode& node = nodes_[current];
        if (node.count > 0) {
            for (std::uint32_t s = node.link; s < node.link + node.count; ++s) {
                const std::array<Vec3, 3>& c = corners_[s];
                const std::array<Vec3, 3> w{transformPoint(c[0], world), transformPoint(c[1], world),
                                            transformPoint(c[2], world)};
                const std::optional<TriangleHit> hit = intersectTriangle(worldRay, w[0], w[1], w[2], facing);
                if (hit && betterHit(mode, hit->t, triangles_[s], best)) best = meshHitFrom(worldRay, triangles_[s], *hit, w);
            }
        } else {
            const std::uint32_t first = current + 1;
            const std::uint32_t second = node.link;
            float firstEntry = 0.0f;
            float secondEntry = 0.0f;
            // A node whose box begins beyond the best distance cannot hold a
            // better hit; at exactly that distance it may hold an earlier
            // triangle, so it is still visited.
            const bool a = enters(nodes_[first], objectRay, firstEntry) && (!nearest || firstEntry <= best.distance);
            const bool b =
                enters(nodes_[second], objectRay, secondEntry) && (!nearest || secondEntry <= best.distance);
            if (a && b) {
                const bool firstNearer = firstEntry <= secondEntry;
                stack[depth++] = firstNearer ? Pending{second, secondEntry} : Pending{first, firstEntry};
                current = firstNearer ? first : second;
                continue;
            }
            if (a || b) {
                current = a ? first : second;
                continue;
            }
        }
        bool found = false;
        while (depth > 0) {
            const Pending next = stack[--depth];
            if (nearest && next.entry > best.distance) continue;
            current = next.node;
            found = true;
            break;
        }
        if (!found) break;
    }
    return best;
}

}  // namespace morvanex
