#include "resources/demo_textures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace morvanex::resources {

namespace {

std::uint32_t hash(std::uint32_t x, std::uint32_t y, std::uint32_t seed) {
    std::uint32_t h = x * 0x8da6b343u ^ y * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return h;
}

float unit(std::uint32_t h) { return static_cast<float>(h & 0xffffffu) / 16777216.0f; }

// Smooth value noise repeating every `period` lattice cells.
float valueNoise(float x, float y, int period, std::uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const float tx = x - fx, ty = y - fy;
    const float sx = tx * tx * (3.0f - 2.0f * tx), sy = ty * ty * (3.0f - 2.0f * ty);
    auto corner = [&](int cx, int cy) {
        const auto wx = static_cast<std::uint32_t>(((cx % period) + period) % period);
        const auto wy = static_cast<std::uint32_t>(((cy % period) + period) % period);
        return unit(hash(wx, wy, seed));
    };
    const float a = corner(ix, iy), b = corner(ix + 1, iy), c = corner(ix, iy + 1), d = corner(ix + 1, iy + 1);
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

// Fractal noise in 0..1 over u, v in 0..1 (tiling), `cells` lattice cells
// across at the coarsest octave.
float fractalNoise(float u, float v, int cells, int octaves, std::uint32_t seed) {
    float total = 0.0f, amplitude = 0.5f, norm = 0.0f;
    int period = cells;
    for (int octave = 0; octave < octaves; ++octave) {
        total += amplitude * valueNoise(u * static_cast<float>(period), v * static_cast<float>(period), period,
                                        seed + static_cast<std::uint32_t>(octave) * 977u);
        norm += amplitude;
        amplitude *= 0.5f;
        period *= 2;
    }
    return total / norm;
}

std::uint8_t toByte(float v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); }

DecodedImage rgbaImage(int size, const std::vector<float>& r, const std::vector<float>& g, const std::vector<float>& b) {
    DecodedImage image;
    image.width = image.height = size;
    ImageLevel level{size, size, {}};
    level.bytes.resize(static_cast<std::size_t>(size * size * 4));
    for (std::size_t i = 0; i < r.size(); ++i) {
        level.bytes[i * 4] = toByte(r[i]);
        level.bytes[i * 4 + 1] = toByte(g[i]);
        level.bytes[i * 4 + 2] = toByte(b[i]);
        level.bytes[i * 4 + 3] = 255;
    }
    image.levels.push_back(std::move(level));
    return image;
}

// Heights stretched to the full 0..1 range so the relief reads strongly.
DecodedImage heightImage(int size, std::vector<float> heights) {
    const auto [low, high] = std::minmax_element(heights.begin(), heights.end());
    const float lo = *low, range = std::max(1e-6f, *high - *low);
    for (float& h : heights) h = (h - lo) / range;
    return rgbaImage(size, heights, heights, heights);
}

// Wrapped distance along one axis of the unit square.
float wrapped(float d) {
    d = std::abs(d);
    return std::min(d, 1.0f - d);
}

}  // namespace

TexturePair moonTextures(int size) {
    struct Crater {
        float u, v, radius, depth;
    };
    std::vector<Crater> craters;
    for (std::uint32_t i = 0; i < 90; ++i) {
        const float t = unit(hash(i, 1, 4242));
        // Many small craters, a few large ones.
        const float radius = 0.012f + 0.11f * t * t * t;
        craters.push_back({unit(hash(i, 2, 4242)), unit(hash(i, 3, 4242)), radius, 0.5f + 0.5f * unit(hash(i, 4, 4242))});
    }
    const std::size_t count = static_cast<std::size_t>(size * size);
    std::vector<float> height(count), albedo(count);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float u = (static_cast<float>(x) + 0.5f) / static_cast<float>(size);
            const float v = (static_cast<float>(y) + 0.5f) / static_cast<float>(size);
            float h = 0.25f * fractalNoise(u, v, 4, 6, 17);
            float a = 0.62f + 0.25f * (fractalNoise(u, v, 8, 5, 91) - 0.5f);
            // Dark plains where the coarse noise is low.
            const float plains = fractalNoise(u, v, 2, 3, 5);
            a -= 0.16f * std::clamp((0.5f - plains) * 5.0f, 0.0f, 1.0f);
            for (const Crater& crater : craters) {
                const float du = wrapped(u - crater.u), dv = wrapped(v - crater.v);
                const float d = std::sqrt(du * du + dv * dv) / crater.radius;
                if (d > 1.8f) continue;
                const float scale = crater.depth * std::min(1.0f, crater.radius * 12.0f);
                if (d < 1.0f) {
                    h -= scale * 0.35f * (1.0f - d * d);
                    a -= 0.06f * crater.depth * (1.0f - d);
                }
                const float rim = std::exp(-((d - 1.0f) * (d - 1.0f)) / 0.04f);
                h += scale * 0.18f * rim;
                a += 0.05f * rim;
            }
            height[static_cast<std::size_t>(y * size + x)] = h;
            albedo[static_cast<std::size_t>(y * size + x)] = a;
        }
    // The colour image carries the relief too: light from the top left.
    std::vector<float> r(count), g(count), b(count);
    auto at = [&](int x, int y) { return height[static_cast<std::size_t>(((y + size) % size) * size + (x + size) % size)]; };
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float slope = (at(x - 1, y - 1) - at(x + 1, y + 1)) * static_cast<float>(size) / 64.0f;
            const float shade = std::clamp(0.85f + slope, 0.35f, 1.3f);
            const std::size_t i = static_cast<std::size_t>(y * size + x);
            const float grey = albedo[i] * shade;
            r[i] = grey * 1.02f;
            g[i] = grey;
            b[i] = grey * 0.95f;
        }
    return {rgbaImage(size, r, g, b), heightImage(size, std::move(height))};
}

TexturePair crateTextures(int size) {
    const float s = static_cast<float>(size);
    const float frame = s * 0.1f;   // width of the border boards
    const float gap = s * 0.008f;   // dark joint between boards
    const float bevel = s * 0.012f; // rounded board edges
    const int planks = 4;
    const std::size_t count = static_cast<std::size_t>(size * size);
    std::vector<float> height(count), r(count), g(count), b(count);

    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
            float along = 0.0f, across = 0.0f;  // board coordinates: grain runs along
            float edge = 0.0f;                  // distance to the board's nearest edge
            float raised = 0.0f;                // board height
            std::uint32_t board = 0;
            const float inner0 = frame, inner1 = s - frame;
            const bool inFrameRows = py < frame || py > s - frame;
            const bool inFrameColumns = px < frame || px > s - frame;
            if (inFrameRows) {  // top and bottom boards, full width
                along = px;
                across = py;
                edge = std::min({py < frame ? py : py - (s - frame), py < frame ? frame - py : s - py});
                raised = 0.85f;
                board = py < frame ? 1 : 2;
            } else if (inFrameColumns) {  // side boards between them
                along = py;
                across = px;
                edge = std::min({px < frame ? px : px - (s - frame), px < frame ? frame - px : s - px, py - frame,
                                 s - frame - py});
                raised = 0.85f;
                board = px < frame ? 3 : 4;
            } else {
                // The diagonal brace from bottom left to top right.
                const float t = ((px - inner0) - (inner1 - py)) / std::sqrt(2.0f);  // across the brace
                const float braceHalf = s * 0.06f;
                if (std::abs(t) < braceHalf) {
                    along = ((px - inner0) + (inner1 - py)) / std::sqrt(2.0f);
                    across = t;
                    edge = std::min({braceHalf - std::abs(t), px - inner0, inner1 - px, py - inner0, inner1 - py});
                    raised = 0.75f;
                    board = 5;
                } else {  // horizontal planks behind
                    const float plankHeight = (inner1 - inner0) / static_cast<float>(planks);
                    const int plank = std::min(planks - 1, static_cast<int>((py - inner0) / plankHeight));
                    const float local = py - inner0 - static_cast<float>(plank) * plankHeight;
                    along = px;
                    across = py;
                    edge = std::min({local, plankHeight - local, px - inner0, inner1 - px, std::abs(t) - braceHalf});
                    raised = 0.5f;
                    board = 6 + static_cast<std::uint32_t>(plank);
                }
            }
            const float u = along / s, v = across / s;
            // Grain: stretched noise bands along the board.
            const float warp = fractalNoise(u * 0.5f, v, 4, 4, 300 + board);
            const float rings = 0.5f + 0.5f * std::sin((v * 60.0f + warp * 9.0f) * 3.14159f);
            const float fibre = fractalNoise(u * 0.25f, v * 4.0f, 8, 3, 700 + board);
            const float tone = 0.8f + 0.25f * unit(hash(board, 0, 55)) - 0.18f * rings * rings - 0.1f * fibre;
            const float bevelFactor = std::clamp(edge / bevel, 0.0f, 1.0f);
            float h = raised * (0.75f + 0.25f * std::sqrt(bevelFactor)) - 0.03f * rings;
            float shade = 0.75f + 0.25f * bevelFactor;
            if (edge < gap * 0.5f) {  // joint
                h = 0.05f;
                shade = 0.25f;
            }
            // Nails at the frame corners and where the brace meets the frame.
            const float nails[][2] = {{0.05f, 0.05f}, {0.95f, 0.05f}, {0.05f, 0.95f}, {0.95f, 0.95f},
                                      {0.5f, 0.05f},  {0.5f, 0.95f},  {0.05f, 0.5f},  {0.95f, 0.5f}};
            for (const auto& nail : nails) {
                const float d = std::hypot(px - nail[0] * s, py - nail[1] * s) / (s * 0.012f);
                if (d < 1.0f) {
                    h = 0.95f + 0.05f * (1.0f - d);
                    shade = 0.45f + 0.3f * (1.0f - d);
                }
            }
            const std::size_t i = static_cast<std::size_t>(y * size + x);
            height[i] = h;
            const float wood = tone * shade;
            r[i] = wood * 0.78f;
            g[i] = wood * 0.55f;
            b[i] = wood * 0.30f;
            for (const auto& nail : nails)
                if (std::hypot(px - nail[0] * s, py - nail[1] * s) < s * 0.012f) r[i] = g[i] = b[i] = shade * 0.6f;
        }
    return {rgbaImage(size, r, g, b), heightImage(size, std::move(height))};
}

}  // namespace morvanex::resources
