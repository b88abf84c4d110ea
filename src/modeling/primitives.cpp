#include "modeling/primitives.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <unordered_map>
#include <utility>

#include "modeling/undo_history.h"
#include "scene/scene_object.h"

namespace morvanex {

namespace {

Vec3 triangleNormal(Vec3 p0, Vec3 p1, Vec3 p2) { return normalize(cross(p0 - p2, p1 - p2)); }

MeshVertex vertexAt(Vec3 position, Vec2 uv, Vec3 normal = {}) {
    MeshVertex v;
    v.position = position;
    v.normal = normal;
    v.texcoord = uv;
    v.texcoord2 = uv;
    return v;
}

std::vector<std::int32_t> sequentialIndices(std::size_t count) {
    std::vector<std::int32_t> indices(count);
    for (std::size_t i = 0; i < count; ++i) indices[i] = static_cast<std::int32_t>(i);
    return indices;
}

// A generated mesh goes in whole: arrays, bounds, fresh histories.
std::unique_ptr<SceneObject> finish(std::string name, std::vector<MeshVertex> vertices) {
    auto object = std::make_unique<SceneObject>(std::move(name));
    std::vector<std::int32_t> indices = sequentialIndices(vertices.size());
    object->assignMesh(std::move(vertices), std::move(indices));
    resetVertexHistory(*object);
    resetObjectHistory(*object);
    return object;
}

// Cells of the smoothing search: corners within epsilon of each other lie
// in the same or neighbouring cells.
struct CellKey {
    std::int64_t x, y, z;
    bool operator==(const CellKey&) const = default;
};
struct CellHash {
    std::size_t operator()(const CellKey& k) const {
        return static_cast<std::size_t>(k.x * 73856093LL ^ k.y * 19349663LL ^ k.z * 83492791LL);
    }
};

std::int64_t cellOf(float value, float size) {
    const double cell = std::floor(static_cast<double>(value) / size);
    return static_cast<std::int64_t>(std::clamp(cell, -1e15, 1e15));
}

void smoothNormals(std::vector<MeshVertex>& vertices, const std::vector<std::int32_t>& indices,
                   const std::vector<Vec3>& faceNormals, float epsilon) {
    const float size = epsilon > 0.0f ? epsilon : 1.0f;
    const std::size_t corners = faceNormals.size() * 3;
    const auto position = [&](std::size_t c) { return vertices[static_cast<std::size_t>(indices[c])].position; };
    const auto keyOf = [&](Vec3 p) { return CellKey{cellOf(p.x, size), cellOf(p.y, size), cellOf(p.z, size)}; };
    std::unordered_map<CellKey, std::vector<std::size_t>, CellHash> cells;
    for (std::size_t c = 0; c < corners; ++c) cells[keyOf(position(c))].push_back(c);

    std::vector<bool> visited(corners, false);
    std::vector<std::size_t> group;
    for (std::size_t c = 0; c < corners; ++c) {
        if (visited[c]) continue;
        const Vec3 p = position(c);
        const CellKey k = keyOf(p);
        group.clear();
        for (std::int64_t dx = -1; dx <= 1; ++dx) {
            for (std::int64_t dy = -1; dy <= 1; ++dy) {
                for (std::int64_t dz = -1; dz <= 1; ++dz) {
                    const auto found = cells.find({k.x + dx, k.y + dy, k.z + dz});
                    if (found == cells.end()) continue;
                    for (std::size_t d : found->second) {
                        if (!visited[d] && distance(position(d), p) <= epsilon) group.push_back(d);
                    }
                }
            }
        }
        Vec3 sum;
        for (std::size_t d : group) sum += faceNormals[d / 3];
        const Vec3 normal = normalize(sum / static_cast<float>(group.size()));
        for (std::size_t d : group) {
            vertices[static_cast<std::size_t>(indices[d])].normal = normal;
            visited[d] = true;
        }
    }
}

}  // namespace

void computeNormals(std::vector<MeshVertex>& vertices, const std::vector<std::int32_t>& indices, float epsilon,
                    bool flat) {
    // Triangles naming a vertex that does not exist are left out.
    std::vector<std::int32_t> valid;
    valid.reserve(indices.size());
    for (std::size_t t = 0; t + 2 < indices.size(); t += 3) {
        const bool whole = std::all_of(indices.begin() + static_cast<std::ptrdiff_t>(t),
                                       indices.begin() + static_cast<std::ptrdiff_t>(t + 3), [&](std::int32_t i) {
                                           return i >= 0 && static_cast<std::size_t>(i) < vertices.size();
                                       });
        if (whole) valid.insert(valid.end(), indices.begin() + static_cast<std::ptrdiff_t>(t),
                                indices.begin() + static_cast<std::ptrdiff_t>(t + 3));
    }
    std::vector<Vec3> faceNormals(valid.size() / 3);
    for (std::size_t t = 0; t < faceNormals.size(); ++t) {
        const auto at = [&](std::size_t k) { return vertices[static_cast<std::size_t>(valid[t * 3 + k])].position; };
        faceNormals[t] = triangleNormal(at(0), at(1), at(2));
    }
    if (!flat) {
        smoothNormals(vertices, valid, faceNormals, epsilon);
        return;
    }
    for (std::size_t c = 0; c < valid.size(); ++c) vertices[static_cast<std::size_t>(valid[c])].normal = faceNormals[c / 3];
}

void setMesh(SceneObject& object, std::vector<MeshVertex> vertices, std::vector<std::int32_t> indices) {
    computeNormals(vertices, indices, 0.0f, true);
    object.assignMesh(std::move(vertices), std::move(indices));
    resetVertexHistory(object);
    resetObjectHistory(object);
}

// --- Box -----------------------------------------------------------------------------

std::unique_ptr<SceneObject> makeBox(Vec3 p1, Vec3 p2, Vec3 p3) {
    // Drawn from the other pair of opposite corners, the box would come out
    // mirrored (inside out): the same box is made either way.
    if ((p1.x > p2.x && p1.z < p2.z) || (p1.x < p2.x && p1.z > p2.z)) std::swap(p1.x, p2.x);
    const Vec3 c{(p1.x + p2.x) * 0.5f, (p1.y + p3.y) * 0.5f, (p1.z + p2.z) * 0.5f};
    const Vec3 h{(p2.x - p1.x) * 0.5f, (p3.y - p1.y) * 0.5f, (p2.z - p1.z) * 0.5f};
    // A height point below the ground corner mirrors the box in y alone;
    // the top stays the top.
    const std::array<float, 2> x{c.x - h.x, c.x + h.x};
    const std::array<float, 2> y{c.y - std::fabs(h.y), c.y + std::fabs(h.y)};
    const std::array<float, 2> z{c.z - h.z, c.z + h.z};
    const auto corner = [&](int i, int j, int k) {
        return Vec3{x[static_cast<std::size_t>(i - 1)], y[static_cast<std::size_t>(j - 1)], z[static_cast<std::size_t>(k - 1)]};
    };
    struct Face {
        std::array<std::array<int, 3>, 4> corners;
        Vec2 cell;
    };
    static constexpr std::array<Face, 6> kFaces{{
        {{{{2, 1, 1}, {1, 1, 1}, {1, 2, 1}, {2, 2, 1}}}, {0.0f, 0.0f}},
        {{{{2, 1, 2}, {2, 1, 1}, {2, 2, 1}, {2, 2, 2}}}, {0.33f, 0.0f}},
        {{{{1, 1, 2}, {2, 1, 2}, {2, 2, 2}, {1, 2, 2}}}, {0.66f, 0.0f}},
        {{{{1, 1, 1}, {1, 1, 2}, {1, 2, 2}, {1, 2, 1}}}, {0.0f, 0.5f}},
        {{{{2, 2, 1}, {1, 2, 1}, {1, 2, 2}, {2, 2, 2}}}, {0.33f, 0.5f}},
        {{{{2, 1, 2}, {1, 1, 2}, {1, 1, 1}, {2, 1, 1}}}, {0.66f, 0.5f}},
    }};
    static constexpr std::array<int, 6> kCornerOrder{0, 1, 2, 2, 3, 0};
    std::vector<MeshVertex> vertices;
    vertices.reserve(36);
    for (const Face& face : kFaces) {
        const float u0 = face.cell.x;
        const float v0 = face.cell.y;
        const std::array<Vec2, 6> uvs{Vec2{u0 + 0.333f, v0 + 0.5f}, Vec2{u0, v0 + 0.5f}, Vec2{u0, v0},
                                      Vec2{u0, v0},                Vec2{u0 + 0.33f, v0}, Vec2{u0 + 0.33f, v0 + 0.5f}};
        for (std::size_t i = 0; i < 6; ++i) {
            const auto& k = face.corners[static_cast<std::size_t>(kCornerOrder[i])];
            vertices.push_back(vertexAt(corner(k[0], k[1], k[2]), uvs[i]));
        }
    }
    computeNormals(vertices, sequentialIndices(vertices.size()), 0.001f, true);
    return finish(kBoxName, std::move(vertices));
}

// --- Sphere -----------------------------------------------------------------------------

int sphereRingCount(std::int64_t triangleBudget) {
    if (triangleBudget < 1) return 0;
    const std::int64_t budget = std::min(triangleBudget, kMaxSphereTriangles);
    std::int64_t c = 2;
    while (2 * c * (c - 1) < budget) c += 2;
    return static_cast<int>(c);
}

std::unique_ptr<SceneObject> makeSphere(Vec3 centre, float radius, std::int64_t triangleBudget) {
    const int c = sphereRingCount(triangleBudget);
    auto object = std::make_unique<SceneObject>(kSphereName);
    std::vector<MeshVertex> vertices;
    if (c > 0) {
        const float r = radius;
        const auto latitude = [c](int k) { return kHalfPi - static_cast<float>(k) * kPi / static_cast<float>(c); };
        const auto longitude = [c](int j) { return static_cast<float>(j % c) * kTwoPi / static_cast<float>(c); };
        const auto point = [&](int k, int j) {
            const float t = latitude(k);
            const float f = longitude(j);
            const float ring = std::fabs(r * std::cos(t));
            return Vec3{centre.x + std::cos(f) * ring, centre.y + r * std::sin(t), centre.z + std::sin(f) * ring};
        };
        const float capRing = r * std::cos(kPi / static_cast<float>(c));
        const float capV = std::fabs(capRing) < 1e-6f ? 0.0f : 1.0f / capRing;
        const auto band = [&](int k, int j) {
            return vertexAt(point(k, j), {std::fabs(std::sin(longitude(j))), std::fabs(std::sin(latitude(k)))});
        };
        const auto capVertex = [&](int k, int j, float v) {
            return vertexAt(point(k, j), {std::fabs(std::sin(longitude(j))), v});
        };
        const MeshVertex topPole = vertexAt(centre + Vec3{0.0f, r, 0.0f}, {1.0f, 1.0f});
        const MeshVertex bottomPole = vertexAt(centre - Vec3{0.0f, r, 0.0f}, {1.0f, 1.0f});
        vertices.reserve(static_cast<std::size_t>(6 * c * (c - 1)));
        for (int k = 0; k < c; ++k) {
            for (int j = 0; j < c; ++j) {
                if (k == 0) {
                    vertices.push_back(capVertex(1, j + 1, std::fabs(capV)));
                    vertices.push_back(capVertex(1, j, std::fabs(capV)));
                    vertices.push_back(topPole);
                } else if (k == c - 1) {
                    vertices.push_back(capVertex(c - 1, j, -capV));
                    vertices.push_back(capVertex(c - 1, j + 1, -capV));
                    vertices.push_back(bottomPole);
                } else {
                    const std::array<MeshVertex, 4> q{band(k, j), band(k, j + 1), band(k + 1, j + 1), band(k + 1, j)};
                    for (int i : {2, 3, 0, 0, 1, 2}) vertices.push_back(q[static_cast<std::size_t>(i)]);
                }
            }
        }
    }
    std::vector<std::int32_t> indices = sequentialIndices(vertices.size());
    setMesh(*object, std::move(vertices), std::move(indices));
    return object;
}

void layOutSphereTexcoords(SceneObject& object) {
    const Vec3 centre = object.boundsCentre;
    for (MeshVertex& v : object.vertices) {
        const Vec3 d = v.position - centre;
        const float horizontal = std::sqrt(d.x * d.x + d.z * d.z);
        const float reach = length(d);
        const float latitude = reach > 0.0f ? std::asin(std::clamp(d.y / reach, -1.0f, 1.0f)) : 0.0f;
        // On the axis the longitude is undefined: the poles take u = 1.
        const float u = horizontal > 1e-6f * std::max(reach, 1.0f) ? std::fabs(std::sin(std::atan2(d.z, d.x))) : 1.0f;
        v.texcoord = {u, std::fabs(std::sin(latitude))};
        v.texcoord2 = v.texcoord;
    }
    object.meshChanged();
}

// --- Quad and height surface ------------------------------------------------------------------

namespace {

// The sample of the image at (u, v), 1.0 outside it; a pixel of 0 repeats
// the previous sample.
class HeightSampler {
public:
    explicit HeightSampler(const HeightImage& image) : image_(image) {}

    float sample(float u, float v) {
        const int w = image_.width;
        const int h = image_.height;
        const double row = std::floor(static_cast<double>(h) * v);
        const double column = std::floor(static_cast<double>(w) * u);
        if (w <= 0 || h <= 0 || row < 0 || column < 0 || row >= h || column >= w ||
            image_.pixels.size() < static_cast<std::size_t>(w) * static_cast<std::size_t>(h)) {
            return previous_ = 1.0f;
        }
        const std::uint32_t pixel =
            image_.pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(w) + static_cast<std::size_t>(column)];
        if (pixel == 0) return previous_;
        const float red = static_cast<float>(pixel & 0xFFu) / 255.0f;
        const float green = static_cast<float>((pixel >> 8) & 0xFFu) / 255.0f;
        const float blue = static_cast<float>((pixel >> 16) & 0xFFu) / 255.0f;
        return previous_ = 100.0f * blue + 10.0f * green + red;
    }

private:
    const HeightImage& image_;
    float previous_ = 1.0f;
};

}  // namespace

std::unique_ptr<SceneObject> makeQuad(int uDivisions, int vDivisions, const std::array<Vec3, 4>& corners, Vec3 normal,
                                      const HeightImage* heights, float heightScale) {
    std::vector<MeshVertex> vertices;
    const bool tooMany = static_cast<std::int64_t>(uDivisions) * vDivisions > kMaxPatchCells;
    if (uDivisions > 0 && vDivisions > 0 && !tooMany) {
        const auto columns = static_cast<std::size_t>(uDivisions) + 1;
        const auto rows = static_cast<std::size_t>(vDivisions) + 1;
        // Each grid point once, so that neighbouring cells share its height.
        std::vector<MeshVertex> grid;
        grid.reserve(columns * rows);
        std::optional<HeightSampler> sampler;
        if (heights != nullptr) sampler.emplace(*heights);
        for (std::size_t j = 0; j < rows; ++j) {
            const float t = static_cast<float>(j) / static_cast<float>(vDivisions);
            for (std::size_t i = 0; i < columns; ++i) {
                const float s = static_cast<float>(i) / static_cast<float>(uDivisions);
                Vec3 p = lerp(lerp(corners[0], corners[1], s), lerp(corners[3], corners[2], s), t);
                if (sampler) p.y += sampler->sample(s, t) * heightScale;
                grid.push_back(vertexAt(p, {s, t}, normal));
            }
        }
        vertices.reserve(static_cast<std::size_t>(uDivisions) * static_cast<std::size_t>(vDivisions) * 6);
        for (std::size_t j = 0; j + 1 < rows; ++j) {
            for (std::size_t i = 0; i + 1 < columns; ++i) {
                const std::array<std::size_t, 4> q{j * columns + i, j * columns + i + 1, (j + 1) * columns + i + 1,
                                                   (j + 1) * columns + i};
                for (int k : {0, 1, 2, 2, 3, 0}) vertices.push_back(grid[q[static_cast<std::size_t>(k)]]);
            }
        }
    }
    auto object = finish(kQuadName, std::move(vertices));
    object->materialColours[0] = {0.7f, 0.7f, 0.7f, 1.0f};
    object->materialColours[1] = {0.57f, 0.57f, 0.57f, 1.0f};
    object->materialColours[2] = {0.87f, 0.87f, 0.87f, 1.0f};
    return object;
}

std::unique_ptr<SceneObject> makeHeightSurface(const HeightImage& image, float sizePerPixel, int uDivisions,
                                               int vDivisions) {
    const float halfX = static_cast<float>(image.width) * sizePerPixel * 0.5f;
    const float halfZ = static_cast<float>(image.height) * sizePerPixel * 0.5f;
    // Corners in this order face up.
    const std::array<Vec3, 4> corners{Vec3{-halfX, 0.0f, halfZ}, Vec3{halfX, 0.0f, halfZ}, Vec3{halfX, 0.0f, -halfZ},
                                      Vec3{-halfX, 0.0f, -halfZ}};
    const float k = static_cast<float>(std::max(image.width, image.height)) / 1920.0f * 0.06f;
    auto object = makeQuad(uDivisions, vDivisions, corners, {0.0f, 1.0f, 0.0f}, &image, k);
    object->name = kHeightSurfaceName;
    return object;
}

// --- Faces ------------------------------------------------------------------------------------

namespace {

template <std::size_t N>
std::unique_ptr<SceneObject> makeFace(std::array<Vec3, N> points, std::array<Vec2, N> uvs, Vec3 eye) {
    Vec3 normal = triangleNormal(points[0], points[1], points[2]);
    if (dot(normal, eye - points[0]) < 0.0f) {
        // Reversed, the same points face the viewer.
        std::reverse(points.begin(), points.end());
        std::reverse(uvs.begin(), uvs.end());
        normal = -normal;
    }
    std::vector<MeshVertex> vertices;
    const std::array<std::size_t, 6> order{0, 1, 2, 2, 3, 0};
    for (std::size_t i = 0; i < (N == 3 ? 3 : 6); ++i) vertices.push_back(vertexAt(points[order[i]], uvs[order[i]], normal));
    return finish(kFaceName, std::move(vertices));
}

}  // namespace

std::unique_ptr<SceneObject> makeFace3(const std::array<Vec3, 3>& points, const std::array<Vec2, 3>& uvs, Vec3 eye) {
    return makeFace<3>(points, uvs, eye);
}

std::unique_ptr<SceneObject> makeFace4(const std::array<Vec3, 4>& points, const std::array<Vec2, 4>& uvs, Vec3 eye) {
    return makeFace<4>(points, uvs, eye);
}

// --- Grid and cone -------------------------------------------------------------------------

std::unique_ptr<SceneObject> makeGrid(std::string name, int columns, int rows, float width, float depth, Vec3 centre,
                                      Vec3 axis, float angle) {
    std::vector<MeshVertex> vertices;
    if (columns > 0 && rows > 0 && static_cast<std::int64_t>(columns) * rows <= kMaxPatchCells) {
        const float cellX = width / static_cast<float>(columns);
        const float cellY = depth / static_cast<float>(rows);
        const Vec3 origin{centre.x - width * 0.5f, centre.y - depth * 0.5f, centre.z};
        const Quat turn = quatFromAxisAngle(axis, angle);
        const auto gridVertex = [&](int i, int j) {
            Vec3 p = origin + Vec3{static_cast<float>(i) * cellX, static_cast<float>(j) * cellY, 0.0f};
            Vec3 n{0.0f, 0.0f, 1.0f};
            if (angle > 0.0f) {
                p = rotate(p, turn);
                n = rotate(n, turn);
            }
            const Vec2 uv{static_cast<float>(j) / static_cast<float>(rows),
                          1.0f - static_cast<float>(i) / static_cast<float>(columns)};
            return vertexAt(p, uv, n);
        };
        vertices.reserve(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows) * 6);
        for (int j = 0; j < rows; ++j) {
            for (int i = 0; i < columns; ++i) {
                const std::array<MeshVertex, 4> q{gridVertex(i, j), gridVertex(i + 1, j), gridVertex(i + 1, j + 1),
                                                  gridVertex(i, j + 1)};
                for (int k : {0, 1, 2, 2, 3, 0}) vertices.push_back(q[static_cast<std::size_t>(k)]);
            }
        }
    }
    return finish(std::move(name), std::move(vertices));
}

std::unique_ptr<SceneObject> makeGroundGrid() {
    // Laid down from the x-y plane: a quarter turn about x, facing up.
    auto grid = makeGrid(kGroundGridName, 40, 40, 2000.0f, 2000.0f, {}, {-1.0f, 0.0f, 0.0f}, kHalfPi);
    grid->materialColours[0] = {0.5f, 0.5f, 0.5f, 1.0f};
    grid->materialColours[1] = {0.7f, 0.7f, 0.7f, 1.0f};
    grid->materialColours[2] = {0.0f, 0.0f, 0.0f, 1.0f};
    return grid;
}

std::unique_ptr<SceneObject> makeCone(int segments, Vec3 baseCentre, Vec3 apex, float radius) {
    std::vector<MeshVertex> vertices;
    if (segments >= 3 && segments <= 100000) {
        const Vec3 up = normalize(apex - baseCentre);
        // Any direction across the axis starts the circle.
        const Vec3 helper = std::fabs(up.y) < 0.9f ? Vec3{0.0f, 1.0f, 0.0f} : Vec3{1.0f, 0.0f, 0.0f};
        const Vec3 across = normalize(cross(helper, up));
        const Vec3 onward = cross(across, up);
        const auto base = [&](int i) {
            const float a = static_cast<float>(i % segments) * kTwoPi / static_cast<float>(segments);
            return baseCentre + (across * std::cos(a) + onward * std::sin(a)) * radius;
        };
        vertices.reserve(static_cast<std::size_t>(segments) * 6);
        for (int i = 0; i < segments; ++i) {
            const float u = static_cast<float>(i) / static_cast<float>(segments);
            vertices.push_back(vertexAt(base(i), {u, 1.0f}));
            vertices.push_back(vertexAt(apex, {u, 0.0f}));
            vertices.push_back(vertexAt(base(i + 1), {u, 1.0f}));
        }
        for (int i = 0; i < segments; ++i) {
            const float u = static_cast<float>(i) / static_cast<float>(segments);
            vertices.push_back(vertexAt(base(i + 1), {u, 1.0f}));
            vertices.push_back(vertexAt(baseCentre, {u, 0.0f}));
            vertices.push_back(vertexAt(base(i), {u, 1.0f}));
        }
        computeNormals(vertices, sequentialIndices(vertices.size()), 0.001f, false);
    }
    return finish(kConeName, std::move(vertices));
}

}  // namespace morvanex
