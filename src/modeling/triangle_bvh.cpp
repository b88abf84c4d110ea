#include "modeling/triangle_bvh.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <memory>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
// Ranges up to this size are split exactly, by sorting (see buildSmall).
constexpr std::size_t kSmallRange = 16;
constexpr std::int32_t kLeftOut = -1;
// How many slots ahead the refit asks for corners.
constexpr std::size_t kRefitAhead = 16;

// Four floats handled at once: a box corner with one more value riding in
// the fourth lane. SSE where there is SSE2, plain loops elsewhere.
#if defined(__SSE2__)
struct Quad {
    __m128 v;
};
inline Quad loadQuad(const float* p) { return {_mm_load_ps(p)}; }
inline void storeQuad(float* p, Quad q) { _mm_store_ps(p, q.v); }
inline Quad quadOf(float x, float y, float z, float w) { return {_mm_setr_ps(x, y, z, w)}; }
inline Quad operator-(Quad a, Quad b) { return {_mm_sub_ps(a.v, b.v)}; }
inline Quad min(Quad a, Quad b) { return {_mm_min_ps(a.v, b.v)}; }
inline Quad max(Quad a, Quad b) { return {_mm_max_ps(a.v, b.v)}; }
inline Quad midpoint(Quad a, Quad b) {
    const __m128 half = _mm_set1_ps(0.5f);
    return {_mm_add_ps(_mm_mul_ps(a.v, half), _mm_mul_ps(b.v, half))};
}
// Zero in the fourth lane: a triangle number read as a float is mostly a
// denormal, which would slow every operation on it many times over.
inline Quad firstThree(Quad q) {
    const __m128 mask = _mm_castsi128_ps(_mm_setr_epi32(-1, -1, -1, 0));
    return {_mm_and_ps(q.v, mask)};
}
inline float lane(Quad q, int i) {
    alignas(16) float f[4];
    _mm_store_ps(f, q.v);
    return f[i];
}
#else
struct Quad {
    float v[4];
};
inline Quad loadQuad(const float* p) { return {{p[0], p[1], p[2], p[3]}}; }
inline void storeQuad(float* p, Quad q) {
    for (int i = 0; i < 4; ++i) p[i] = q.v[i];
}
inline Quad quadOf(float x, float y, float z, float w) { return {{x, y, z, w}}; }
inline Quad operator-(Quad a, Quad b) {
    for (int i = 0; i < 4; ++i) a.v[i] -= b.v[i];
    return a;
}
inline Quad min(Quad a, Quad b) {
    for (int i = 0; i < 4; ++i) a.v[i] = b.v[i] < a.v[i] ? b.v[i] : a.v[i];
    return a;
}
inline Quad max(Quad a, Quad b) {
    for (int i = 0; i < 4; ++i) a.v[i] = a.v[i] < b.v[i] ? b.v[i] : a.v[i];
    return a;
}
inline Quad midpoint(Quad a, Quad b) {
    for (int i = 0; i < 4; ++i) a.v[i] = a.v[i] * 0.5f + b.v[i] * 0.5f;
    return a;
}
inline Quad firstThree(Quad q) {
    q.v[3] = 0.0f;
    return q;
}
inline float lane(Quad q, int i) { return q.v[i]; }
#endif

// A hint to bring memory the loop reads soon into the cache.
inline void prefetch(const void* p) {
#if defined(__GNUC__)
    __builtin_prefetch(p);
#else
    (void)p;
#endif
}

float boxArea(Quad lo, Quad hi) {
    alignas(16) float e[4];
    storeQuad(e, hi - lo);
    const float x = e[0];
    const float y = e[1];
    const float z = e[2];
    if (x < 0.0f) return 0.0f;
    return 2.0f * (x * y + y * z + z * x);
}

float longestEdge(const std::array<Vec3, 3>& c) {
    // Squared in double as length() sums, then one root: the root is
    // monotonic, so this is the longest of the three lengths to the bit.
    auto squared = [](Vec3 e) {
        const double x = e.x;
        const double y = e.y;
        const double z = e.z;
        return x * x + y * y + z * z;
    };
    return static_cast<float>(std::sqrt(std::max({squared(c[1] - c[0]), squared(c[2] - c[1]), squared(c[0] - c[2])})));
}

bool isFinite(Vec3 v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

// One triangle while building, 32 bytes; the builder moves these records
// themselves (not indices to them) so that every pass reads memory in order.
// Left uninitialised: the first pass writes every record.
struct alignas(16) Primitive {
    float low[4];   // the box's low corner, and minus the longest edge
    float high[4];  // the box's high corner, and the triangle number's bits

    Quad lowQuad() const { return loadQuad(low); }
    Quad highQuad() const { return firstThree(loadQuad(high)); }
    std::int32_t number() const { return std::bit_cast<std::int32_t>(high[3]); }
    void setNumber(std::int32_t number) { high[3] = std::bit_cast<float>(number); }
    float centre(int axis) const { return low[axis] * 0.5f + high[axis] * 0.5f; }  // no overflow near the float limit
};

// The bounds of a set of primitives: their boxes (with minus their longest
// edge in the fourth lane of `low`, so one minimum keeps both), their
// centres, and how many there are. The fourth lanes of the other corners
// carry nothing.
struct Bounds {
    Quad low;
    Quad high;
    Quad centreLow;
    Quad centreHigh;
    std::uint32_t count;

    static Bounds empty() {
        constexpr float m = std::numeric_limits<float>::max();
        return Bounds{quadOf(m, m, m, 0.0f), quadOf(-m, -m, -m, 0.0f), quadOf(m, m, m, 0.0f), quadOf(-m, -m, -m, 0.0f),
                      0};
    }
    void add(const Primitive& p) { add(p.lowQuad(), p.highQuad()); }
    void add(Quad lo, Quad hi) {
        const Quad centre = midpoint(lo, hi);
        low = min(low, lo);
        high = max(high, hi);
        centreLow = min(centreLow, centre);
        centreHigh = max(centreHigh, centre);
        ++count;
    }
    void add(const Bounds& b) {
        low = min(low, b.low);
        high = max(high, b.high);
        centreLow = min(centreLow, b.centreLow);
        centreHigh = max(centreHigh, b.centreHigh);
        count += b.count;
    }
    float edge() const { return -lane(low, 3); }
    float area() const { return boxArea(low, high); }
    float centreExtent(int axis) const { return lane(centreHigh, axis) - lane(centreLow, axis); }
    int widestCentreAxis() const {
        const float x = centreExtent(0);
        const float y = centreExtent(1);
        const float z = centreExtent(2);
        return x >= y && x >= z ? 0 : (y >= z ? 1 : 2);
    }
};

// Where a range's primitives fall along the widest axis of their centres,
// in kBins bins. Only the widest axis: trying all three made the build
// twice as slow for no measurable gain in picking. Ranges of up to
// kSmallRange triangles are not binned (see buildSmall).
struct Binning {
    int axis = 0;
    int bins = 1;  // one bin: nothing to split along
    float lo = 0.0f;
    float scale = 0.0f;

    static Binning of(const Bounds& bounds, bool wanted) {
        Binning b;
        if (!wanted || bounds.count <= kSmallRange) return b;
        const int widest = bounds.widestCentreAxis();
        const float extent = bounds.centreExtent(widest);
        const float scale = static_cast<float>(kBins) / extent;
        // Coinciding centres, or an extent past the float range.
        if (!(extent > 0.0f) || !(scale > 0.0f) || !std::isfinite(scale)) return b;
        b.axis = widest;
        b.bins = kBins;
        b.lo = lane(bounds.centreLow, widest);
        b.scale = scale;
        return b;
    }
    bool splittable() const { return bins > 1; }
    int binOf(const Primitive& p) const {
        // Clamped as a float before the conversion, so an overflowing
        // difference (or none at all) lands in a bin rather than anywhere.
        const float at = (p.centre(axis) - lo) * scale;
        const float inside = std::min(std::max(0.0f, at), static_cast<float>(bins - 1));
        return static_cast<int>(inside);
    }
};

// A range of primitives with its bounds and its bins, filled by whoever
// formed the range (the parent's partition, or a scan).
struct Range {
    std::size_t begin = 0;
    std::size_t end = 0;
    Bounds bounds;
    Binning binning;
    std::array<Bounds, kBins> bins;

    std::size_t count() const { return end - begin; }
    void clearBins() {
        for (int b = 0; b < binning.bins; ++b) bins[static_cast<std::size_t>(b)] = Bounds::empty();
    }
    void boundsFromBins() {
        bounds = Bounds::empty();
        for (int b = 0; b < binning.bins; ++b) bounds.add(bins[static_cast<std::size_t>(b)]);
    }
};

class Builder {
public:
    // Leaves write the triangle number of each of their slots.
    Builder(Primitive* primitives, std::int32_t* slotTriangles)
        : primitives_(primitives), slotTriangles_(slotTriangles) {}

    // Bounds and bins of a range by scanning it (the root, and halves).
    void measure(Range& range, bool binned) const {
        range.bounds = Bounds::empty();
        for (std::size_t i = range.begin; i < range.end; ++i) range.bounds.add(primitives_[i]);
        binRange(range, binned);
    }
    // Bins of a range whose bounds are known.
    void binRange(Range& range, bool binned) const {
        range.binning = Binning::of(range.bounds, binned);
        if (!range.binning.splittable()) {
            range.bins[0] = range.bounds;
            return;
        }
        range.clearBins();
        for (std::size_t i = range.begin; i < range.end; ++i) {
            const Primitive& p = primitives_[i];
            range.bins[static_cast<std::size_t>(range.binning.binOf(p))].add(p);
        }
    }

    void build(std::vector<BvhNode>& out, const Range& range, int depth, unsigned threads) const {
        if (range.count() <= kSmallRange) {
            buildSmall(out, range.begin, range.end, range.bounds, depth);
            return;
        }
        const std::size_t self = emit(out, range.bounds);
        Range first;
        Range second;
        if (!split(range, depth, first, second)) {
            makeLeaf(out[self], range.begin, range.count());
            return;
        }
        if (threads > 1 && range.count() >= kParallelMinimum) {
            std::vector<BvhNode> secondNodes;
            secondNodes.reserve(2 * second.count());
            std::jthread worker([&] { build(secondNodes, second, depth + 1, threads - threads / 2); });
            build(out, first, depth + 1, threads / 2);
            worker.join();
            out[self].link = static_cast<std::uint32_t>(out.size());
            append(out, secondNodes);
            return;
        }
        build(out, first, depth + 1, 1);
        out[self].link = static_cast<std::uint32_t>(out.size());
        build(out, second, depth + 1, 1);
    }

private:
    static std::size_t emit(std::vector<BvhNode>& out, const Bounds& b) {
        alignas(16) float low[4];
        alignas(16) float high[4];
        storeQuad(low, b.low);
        storeQuad(high, b.high);
        BvhNode& node = out.emplace_back();
        node.lo = Vec3{low[0], low[1], low[2]};
        node.hi = Vec3{high[0], high[1], high[2]};
        node.maxEdge = -low[3];
        return out.size() - 1;
    }

    // Small ranges are split exactly: sorted by centre along the widest
    // axis, every plane between neighbours tried. Near the leaves, where
    // most nodes are, this costs less per node than binning.
    void buildSmall(std::vector<BvhNode>& out, std::size_t begin, std::size_t end, const Bounds& bounds,
                    int depth) const {
        const std::size_t self = emit(out, bounds);
        const std::size_t count = end - begin;
        Primitive* const p = primitives_ + begin;
        Bounds below = Bounds::empty();
        Bounds above = Bounds::empty();
        const std::size_t split = count > 1 ? splitSmall(p, count, bounds, depth, below, above) : 0;
        if (split == 0) {
            makeLeaf(out[self], begin, count);
            return;
        }
        buildSmall(out, begin, begin + split, below, depth + 1);
        out[self].link = static_cast<std::uint32_t>(out.size());
        buildSmall(out, begin + split, end, above, depth + 1);
    }

    // Insertion sort with each centre computed once: small ranges arrive
    // mostly in order already.
    static void sortByCentre(Primitive* p, std::size_t count, int axis) {
        std::array<float, kSmallRange> keys;
        for (std::size_t k = 0; k < count; ++k) keys[k] = p[k].centre(axis);
        for (std::size_t k = 1; k < count; ++k) {
            const float key = keys[k];
            if (!(key < keys[k - 1])) continue;
            const Primitive moving = p[k];
            std::size_t m = k;
            for (; m > 0 && key < keys[m - 1]; --m) {
                keys[m] = keys[m - 1];
                p[m] = p[m - 1];
            }
            keys[m] = key;
            p[m] = moving;
        }
    }

    // Where a small range splits (0: it stays a leaf), with the bounds of
    // both sides.
    static std::size_t splitSmall(Primitive* p, std::size_t count, const Bounds& bounds, int depth, Bounds& below,
                                  Bounds& above) {
        const int axis = bounds.widestCentreAxis();
        std::size_t split = count / 2;
        if (depth >= kMaxSahDepth || !(bounds.centreExtent(axis) > 0.0f)) {
            // Centres all alike (duplicates), or too deep: halves by count.
            if (count <= kMaxLeaf) return 0;
        } else {
            sortByCentre(p, count, axis);
            // The sweep needs only the boxes; the sides' full bounds are
            // measured once the plane is chosen.
            std::array<float, kSmallRange> aboveArea;
            Quad low = p[count - 1].lowQuad();
            Quad high = p[count - 1].highQuad();
            for (std::size_t k = count - 1; k > 0; --k) {
                low = min(low, p[k].lowQuad());
                high = max(high, p[k].highQuad());
                aboveArea[k] = boxArea(low, high);
            }
            low = p[0].lowQuad();
            high = p[0].highQuad();
            float bestCost = std::numeric_limits<float>::max();
            for (std::size_t k = 1; k < count; ++k) {
                low = min(low, p[k - 1].lowQuad());
                high = max(high, p[k - 1].highQuad());
                const float cost =
                    boxArea(low, high) * static_cast<float>(k) + aboveArea[k] * static_cast<float>(count - k);
                if (cost < bestCost) {
                    bestCost = cost;
                    split = k;
                }
            }
            const float splitCost = kTraversalCost + bestCost / std::max(bounds.area(), 1e-30f);
            if (count <= kMaxLeaf && static_cast<float>(count) <= splitCost) return 0;
        }
        for (std::size_t k = 0; k < count; ++k) (k < split ? below : above).add(p[k]);
        return split;
    }

    struct Split {
        int bin = 0;  // primitives in bins below this go first; 0: none found
        float cost = std::numeric_limits<float>::max();
    };

    // Splits the range into two, measured and binned; false for a leaf.
    bool split(const Range& range, int depth, Range& first, Range& second) const {
        const std::size_t count = range.count();
        if (count <= 1) return false;
        const bool sah = depth < kMaxSahDepth;
        const Split best = sah ? bestSplit(range) : Split{};
        if (best.bin > 0) {
            const float splitCost = kTraversalCost + best.cost / std::max(range.bounds.area(), 1e-30f);
            if (count <= kMaxLeaf && static_cast<float>(count) <= splitCost) return false;
            if (partition(range, best.bin, depth + 1 < kMaxSahDepth, first, second)) return true;
        }
        // Centres all alike (duplicates), or too deep: halves by count.
        if (count <= kMaxLeaf) return false;
        first.begin = range.begin;
        first.end = range.begin + count / 2;
        second.begin = first.end;
        second.end = range.end;
        measure(first, depth + 1 < kMaxSahDepth);
        measure(second, depth + 1 < kMaxSahDepth);
        return true;
    }

    // The surface-area-heuristic cost of each plane between bins.
    static Split bestSplit(const Range& range) {
        Split best;
        const int bins = range.binning.bins;
        if (bins < 2) return best;
        // Areas and counts of the bins above each plane, then a sweep up.
        std::array<float, kBins> aboveArea{};
        std::array<std::uint32_t, kBins> aboveCount{};
        Bounds above = Bounds::empty();
        for (int b = bins - 1; b > 0; --b) {
            above.add(range.bins[static_cast<std::size_t>(b)]);
            aboveArea[static_cast<std::size_t>(b)] = above.area();
            aboveCount[static_cast<std::size_t>(b)] = above.count;
        }
        Bounds below = Bounds::empty();
        for (int b = 1; b < bins; ++b) {
            below.add(range.bins[static_cast<std::size_t>(b - 1)]);
            const std::uint32_t m = below.count;
            const std::uint32_t rest = aboveCount[static_cast<std::size_t>(b)];
            if (m == 0 || rest == 0) continue;
            const float cost = below.area() * static_cast<float>(m) +
                               aboveArea[static_cast<std::size_t>(b)] * static_cast<float>(rest);
            if (cost < best.cost) best = Split{b, cost};
        }
        return best;
    }

    // Partitions in place in one pass that also bins each primitive for
    // the side it joins: the sides' centres are known from the bins
    // already, so no second pass is needed. The sides' bounds are then
    // the sums of the bins they actually received.
    bool partition(const Range& range, int splitBin, bool binned, Range& first, Range& second) const {
        Bounds below = Bounds::empty();
        Bounds above = Bounds::empty();
        for (int b = 0; b < range.binning.bins; ++b) {
            (b < splitBin ? below : above).add(range.bins[static_cast<std::size_t>(b)]);
        }
        first.binning = Binning::of(below, binned);
        second.binning = Binning::of(above, binned);
        first.clearBins();
        second.clearBins();
        // Copies, so that the stores into the bins cannot make the compiler
        // read them again for every primitive.
        const Binning by = range.binning;
        const Binning firstBy = first.binning;
        const Binning secondBy = second.binning;
        Bounds* const firstBins = first.bins.data();
        Bounds* const secondBins = second.bins.data();
        Primitive* const primitives = primitives_;
        std::size_t i = range.begin;
        std::size_t j = range.end;
        // Both ends are read as streams, one of them backwards.
        constexpr std::size_t kAhead = 16;
        while (i < j) {
            if (j - i > 2 * kAhead) {
                prefetch(&primitives[i + kAhead]);
                prefetch(&primitives[j - 1 - kAhead]);
            }
            const Primitive& p = primitives[i];
            if (by.binOf(p) < splitBin) {
                firstBins[firstBy.binOf(p)].add(p);
                ++i;
            } else {
                secondBins[secondBy.binOf(p)].add(p);
                std::swap(primitives[i], primitives[--j]);
            }
        }
        if (i == range.begin || i == range.end) return false;  // the bins promised two sides
        first.begin = range.begin;
        first.end = i;
        second.begin = i;
        second.end = range.end;
        first.boundsFromBins();
        second.boundsFromBins();
        return true;
    }

    static void append(std::vector<BvhNode>& out, const std::vector<BvhNode>& part) {
        const auto offset = static_cast<std::uint32_t>(out.size());
        for (BvhNode node : part) {
            if (node.count == 0) node.link += offset;
            out.push_back(node);
        }
    }

    void makeLeaf(BvhNode& node, std::size_t begin, std::size_t count) const {
        node.link = static_cast<std::uint32_t>(begin);
        node.count = static_cast<std::uint32_t>(count);
        for (std::size_t slot = begin; slot < begin + count; ++slot) {
            slotTriangles_[slot] = primitives_[slot].number();
        }
    }

    Primitive* primitives_;
    std::int32_t* slotTriangles_;
};

// Runs work(piece, begin, end) over [0, count) in `threads` contiguous
// pieces; returns the number of pieces.
template <class Work>
std::size_t inPieces(std::size_t count, unsigned threads, const Work& work) {
    const std::size_t pieces = count >= kParallelMinimum ? std::max(threads, 1u) : 1;
    std::vector<std::jthread> workers;
    for (std::size_t k = 1; k < pieces; ++k) {
        workers.emplace_back([&, k] { work(k, count * k / pieces, count * (k + 1) / pieces); });
    }
    work(0, 0, count / pieces);
    for (std::jthread& worker : workers) worker.join();
    return pieces;
}

// What the first pass found, over a piece or over all triangles.
struct Survey {
    Bounds bounds = Bounds::empty();  // of the triangles in range
    bool leftOut = false;             // some index out of range
    bool damaged = false;             // some corner not finite

    void add(const Survey& piece) {
        bounds.add(piece.bounds);
        leftOut = leftOut || piece.leftOut;
        damaged = damaged || piece.damaged;
    }
};

// The first pass, in index order: a record and the corners of every
// triangle. Out-of-range triangles get kLeftOut for a number.
Survey survey(const CornerPositions& positions, std::span<const std::int32_t> indices, unsigned threads,
              Primitive* primitives, TriangleCorners* corners) {
    const std::size_t triangleTotal = indices.size() / 3;
    std::vector<Survey> pieces(threads);
    inPieces(triangleTotal, threads, [&](std::size_t piece, std::size_t begin, std::size_t end) {
        Survey& summary = pieces[piece];
        for (std::size_t i = begin; i < end; ++i) {
            Primitive& p = primitives[i];
            if (!triangleInRange(positions, indices, i)) {
                p.setNumber(kLeftOut);
                summary.leftOut = true;
                continue;
            }
            const std::array<Vec3, 3> c{positions[static_cast<std::size_t>(indices[3 * i])],
                                        positions[static_cast<std::size_t>(indices[3 * i + 1])],
                                        positions[static_cast<std::size_t>(indices[3 * i + 2])]};
            if (!isFinite(c[0]) || !isFinite(c[1]) || !isFinite(c[2])) summary.damaged = true;
            for (std::size_t k = 0; k < 3; ++k) corners[i].set(k, c[k]);
            const Vec3 lo = componentMin(componentMin(c[0], c[1]), c[2]);
            const Vec3 hi = componentMax(componentMax(c[0], c[1]), c[2]);
            // Formed in registers and stored whole: read back from the
            // record, four separate stores would stall the load.
            const Quad low = quadOf(lo.x, lo.y, lo.z, -longestEdge(c));
            const Quad high = quadOf(hi.x, hi.y, hi.z, 0.0f);
            storeQuad(p.low, low);
            storeQuad(p.high, high);
            p.setNumber(static_cast<std::int32_t>(i));
            summary.bounds.add(low, high);
        }
    });
    Survey all;
    for (const Survey& piece : pieces) all.add(piece);
    return all;
}

// The root's bins, counted in pieces and summed.
void binRoot(Range& root, const Primitive* primitives, unsigned threads) {
    root.binning = Binning::of(root.bounds, true);
    if (!root.binning.splittable()) {
        root.bins[0] = root.bounds;
        return;
    }
    std::vector<std::array<Bounds, kBins>> pieceBins(threads);
    const Binning& by = root.binning;
    const auto binPiece = [&](std::size_t piece, std::size_t begin, std::size_t end) {
        std::array<Bounds, kBins>& bins = pieceBins[piece];
        for (int b = 0; b < by.bins; ++b) bins[static_cast<std::size_t>(b)] = Bounds::empty();
        for (std::size_t i = begin; i < end; ++i) {
            bins[static_cast<std::size_t>(by.binOf(primitives[i]))].add(primitives[i]);
        }
    };
    const std::size_t used = inPieces(root.count(), threads, binPiece);
    root.clearBins();
    for (std::size_t piece = 0; piece < used; ++piece) {
        for (int b = 0; b < by.bins; ++b) {
            root.bins[static_cast<std::size_t>(b)].add(pieceBins[piece][static_cast<std::size_t>(b)]);
        }
    }
}

}  // namespace

void TriangleBvh::build(const CornerPositions& positions, std::span<const std::int32_t> indices, unsigned threads) {
    nodes_.clear();
    triangles_.clear();
    corners_.reset();
    finite_ = true;
    abandoned_ = false;
    threads = std::max(threads, 1u);
    const std::size_t triangleTotal = indices.size() / 3;
    // Left uninitialised: the first pass writes every record.
    const std::unique_ptr<Primitive[]> primitives(new Primitive[triangleTotal]);
    corners_.reset(new TriangleCorners[triangleTotal]);
    const Survey found = survey(positions, indices, threads, primitives.get(), corners_.get());
    if (found.damaged) {
        // No box can promise anything about a corner that is not finite:
        // the caller tests this mesh exhaustively instead.
        finite_ = false;
        abandoned_ = true;
        corners_.reset();
        return;
    }
    std::size_t primitiveTotal = triangleTotal;
    if (found.leftOut) {
        primitiveTotal = static_cast<std::size_t>(
            std::remove_if(primitives.get(), primitives.get() + triangleTotal,
                           [](const Primitive& p) { return p.number() == kLeftOut; }) -
            primitives.get());
    }
    if (primitiveTotal == 0) return;

    const auto root = std::make_unique<Range>();
    root->end = primitiveTotal;
    root->bounds = found.bounds;
    binRoot(*root, primitives.get(), threads);
    triangles_.resize(primitiveTotal);
    nodes_.reserve(2 * primitiveTotal);
    const Builder builder(primitives.get(), triangles_.data());
    // Twice as many subtrees as threads: the two sides of a split are often
    // uneven (six to four), and the system's scheduler evens out the rest.
    builder.build(nodes_, *root, 0, threads > 1 ? 2 * threads : 1);
}

void TriangleBvh::refit(const CornerPositions& positions, std::span<const std::int32_t> indices) {
    // A build that met a corner that is not finite holds no nodes to refit:
    // corners that are finite now get the hierarchy built, rather than an
    // empty one that would promise no hits.
    if (abandoned_) {
        build(positions, indices, 1);
        return;
    }
    finite_ = true;
    if (!corners_) return;
    // In index order; a triangle out of range was left out of the build
    // (the same triangles: sizes that changed mean a rebuild).
    const std::size_t triangleTotal = indices.size() / 3;
    for (std::size_t i = 0; i < triangleTotal; ++i) {
        if (!triangleInRange(positions, indices, i)) continue;
        for (std::size_t k = 0; k < 3; ++k) {
            const Vec3 p = positions[static_cast<std::size_t>(indices[3 * i + k])];
            corners_[i].set(k, p);
            if (!isFinite(p)) finite_ = false;
        }
    }
    refitNodes();
}

void TriangleBvh::refitNodes() {
    // Children follow their parent, so a backward sweep meets them first.
    for (std::size_t i = nodes_.size(); i-- > 0;) {
        BvhNode& node = nodes_[i];
        Vec3 lo;
        Vec3 hi;
        float edge = 0.0f;
        if (node.count > 0) {
            // Leaves come in falling slot order; their corners lie by
            // triangle number, scattered, so the ones a few leaves on are
            // asked for early.
            const std::size_t soon = node.link >= kRefitAhead ? node.link - kRefitAhead : 0;
            for (std::size_t s = soon; s < soon + node.count; ++s) {
                prefetch(&corners_[static_cast<std::size_t>(triangles_[s])]);
            }
            lo = hi = corners_[static_cast<std::size_t>(triangles_[node.link])][0];
            for (std::uint32_t s = node.link; s < node.link + node.count; ++s) {
                const std::array<Vec3, 3> c = corners_[static_cast<std::size_t>(triangles_[s])].all();
                for (const Vec3& corner : c) {
                    lo = componentMin(lo, corner);
                    hi = componentMax(hi, corner);
                }
                edge = std::max(edge, longestEdge(c));
            }
        } else {
            const BvhNode& a = nodes_[i + 1];
            const BvhNode& b = nodes_[node.link];
            lo = componentMin(a.lo, b.lo);
            hi = componentMax(a.hi, b.hi);
            edge = std::max(a.maxEdge, b.maxEdge);
        }
        node.lo = lo;
        node.hi = hi;
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
                const TriangleCorners& c = corners_[static_cast<std::size_t>(triangles_[s])];
                const std::array<Vec3, 3> w{transformPoint(c[0], world), transformPoint(c[1], world),
                                            transformPoint(c[2], world)};
                const std::optional<TriangleHit> hit = intersectTriangle(worldRay, w[0], w[1], w[2], facing);
                if (hit && betterHit(mode, hit->t, triangles_[s], best)) {
                    best = meshHitFrom(worldRay, triangles_[s], *hit, w);
                }
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
