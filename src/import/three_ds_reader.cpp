#include "import/three_ds_reader.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "import/import_mesh.h"
#include "base/text_encoding.h"

namespace morvanex {

namespace {

constexpr std::uint16_t kMain = 0x4D4D;
constexpr std::uint16_t kEditor = 0x3D3D;
constexpr std::uint16_t kObject = 0x4000;
constexpr std::uint16_t kTriangleMesh = 0x4100;
constexpr std::uint16_t kVertexList = 0x4110;
constexpr std::uint16_t kFaceList = 0x4120;
constexpr std::uint16_t kFaceMaterial = 0x4130;
constexpr std::uint16_t kTexcoordList = 0x4140;
constexpr std::uint16_t kSmoothingList = 0x4150;
constexpr std::uint16_t kMaterial = 0xAFFF;
constexpr std::uint16_t kMaterialName = 0xA000;
constexpr std::uint16_t kDiffuse = 0xA020;
constexpr std::uint16_t kTransparency = 0xA050;
constexpr std::uint16_t kTextureMap = 0xA200;
constexpr std::uint16_t kMapFileName = 0xA300;
constexpr std::uint16_t kColourFloat = 0x0010;
constexpr std::uint16_t kColourBytes = 0x0011;
constexpr std::uint16_t kColourBytesGamma = 0x0012;
constexpr std::uint16_t kColourFloatGamma = 0x0013;
constexpr std::uint16_t kPercentInt = 0x0030;
constexpr std::uint16_t kPercentFloat = 0x0031;

constexpr int kMaxDepth = 32;
// Corners above which smoothing sums normals per smoothing bit rather than
// per face, so that a vertex shared by thousands of faces stays linear.
constexpr std::size_t kExactSmoothingFaces = 64;

// Reads within [at, end) of the file; nothing past it.
class Cursor {
public:
    Cursor(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t end) : b_(bytes), at_(at), end_(end) {}
    std::size_t left() const { return end_ - at_; }
    std::size_t at() const { return at_; }
    std::uint16_t u16() {
        if (left() < 2) return fail16();
        const std::uint16_t v = static_cast<std::uint16_t>(b_[at_] | (b_[at_ + 1] << 8));
        at_ += 2;
        return v;
    }
    std::uint32_t u32() {
        if (left() < 4) {
            at_ = end_;
            ok_ = false;
            return 0;
        }
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = (v << 8) | b_[at_ + static_cast<std::size_t>(i)];
        at_ += 4;
        return v;
    }
    float f32() {
        const std::uint32_t bits = u32();
        float f = 0.0f;
        std::memcpy(&f, &bits, 4);
        return f;
    }
    std::uint8_t u8() {
        if (left() < 1) {
            ok_ = false;
            return 0;
        }
        return b_[at_++];
    }
    // Bytes up to a NUL; false when the NUL is missing (the name is what there was).
    bool cstr(std::string& out) {
        const std::uint8_t* start = b_.data() + at_;
        const void* nul = std::memchr(start, 0, left());
        const std::size_t n = nul != nullptr ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - start)
                                             : left();
        out.assign(reinterpret_cast<const char*>(start), n);
        at_ += n + (nul != nullptr ? 1 : 0);
        return nul != nullptr;
    }
    bool ok() const { return ok_; }

private:
    std::uint16_t fail16() {
        at_ = end_;
        ok_ = false;
        return 0;
    }
    std::span<const std::uint8_t> b_;
    std::size_t at_;
    std::size_t end_;
    bool ok_ = true;
};

struct Chunk {
    std::uint16_t id = 0;
    std::size_t body = 0;  // first byte after the header
    std::size_t end = 0;   // one past the last byte
};

struct MaterialGroup {
    std::string material;
    std::vector<std::uint16_t> faces;
};

struct TdsObject {
    std::string name;
    std::vector<Vec3> vertices;  // as read
    std::vector<std::array<std::uint16_t, 3>> faces;
    std::vector<Vec2> texcoords;
    std::vector<std::uint32_t> smoothing;
    std::vector<MaterialGroup> groups;
};

struct TdsMaterial {
    std::string name;
    Vec4 diffuse = kImportedDiffuse;
    std::string map;
};

class Reader {
public:
    Reader(std::span<const std::uint8_t> bytes, ImportReport& report) : bytes_(bytes), report_(report) {}

    std::vector<TdsObject> objects;
    std::vector<TdsMaterial> materials;

    // The sub-chunks of [from, end), in order. A chunk that claims more than
    // is left is cut; one shorter than its header ends the walk.
    template <typename Visit>
    void walk(std::size_t from, std::size_t end, int depth, Visit&& visit) {
        if (depth > kMaxDepth) {
            report_.count("3DS chunks nested too deep, skipped");
            return;
        }
        std::size_t at = from;
        while (end - at >= 6) {
            Cursor c(bytes_, at, end);
            Chunk chunk;
            chunk.id = c.u16();
            const std::uint32_t length = c.u32();
            chunk.body = at + 6;
            if (length < 6) {
                report_.damage("3DS chunks with an impossible length; the rest of their parent skipped");
                return;
            }
            if (length > end - at) {
                report_.damage("3DS chunks longer than their parent, cut to it");
                chunk.end = end;
            } else {
                chunk.end = at + length;
            }
            visit(chunk, depth + 1);
            at = chunk.end;
        }
    }

    void main(const Chunk& chunk, int depth) {
        walk(chunk.body, chunk.end, depth, [&](const Chunk& sub, int d) {
            if (sub.id == kEditor) editor(sub, d);
        });
    }

private:
    void editor(const Chunk& chunk, int depth) {
        walk(chunk.body, chunk.end, depth, [&](const Chunk& sub, int d) {
            if (sub.id == kObject) object(sub, d);
            if (sub.id == kMaterial) material(sub, d);
            if (sub.id == kEditor) editor(sub, d);
        });
    }

    void object(const Chunk& chunk, int depth) {
        Cursor c(bytes_, chunk.body, chunk.end);
        TdsObject o;
        if (!c.cstr(o.name)) report_.damage("3DS object names without their end, cut");
        objects.push_back(std::move(o));
        const std::size_t index = objects.size() - 1;
        walk(c.at(), chunk.end, depth, [&](const Chunk& sub, int d) { objectPart(objects[index], sub, d); });
    }

    // A u16 count of `size`-byte records: no more than the chunk holds.
    std::size_t count(Cursor& c, std::size_t size, std::string_view what) {
        const std::size_t n = c.u16();
        const std::size_t fits = c.left() / size;
        if (n > fits) {
            report_.count(std::string("3DS ") + std::string(what) + " lists shorter than their count, cut");
            return fits;
        }
        return n;
    }

    void objectPart(TdsObject& o, const Chunk& chunk, int depth) {
        Cursor c(bytes_, chunk.body, chunk.end);
        switch (chunk.id) {
        case kTriangleMesh:
            walk(chunk.body, chunk.end, depth, [&](const Chunk& sub, int d) { objectPart(o, sub, d); });
            break;
        case kVertexList: {
            const std::size_t n = count(c, 12, "vertex");
            o.vertices.resize(n);
            for (Vec3& v : o.vertices) v = {c.f32(), c.f32(), c.f32()};
            break;
        }
        case kFaceList: {
            const std::size_t n = count(c, 8, "face");
            o.faces.resize(n);
            for (auto& f : o.faces) {
                f = {c.u16(), c.u16(), c.u16()};
                c.u16();  // flags
            }
            // Material groups and smoothing follow inside the face list.
            walk(c.at(), chunk.end, depth, [&](const Chunk& sub, int d) { objectPart(o, sub, d); });
            break;
        }
        case kTexcoordList: {
            const std::size_t n = count(c, 8, "texture coordinate");
            o.texcoords.resize(n);
            for (Vec2& t : o.texcoords) t = {c.f32(), c.f32()};
            break;
        }
        case kSmoothingList: {
            const std::size_t n = std::min(o.faces.size(), c.left() / 4);
            o.smoothing.resize(n);
            for (std::uint32_t& s : o.smoothing) s = c.u32();
            break;
        }
        case kFaceMaterial: {
            MaterialGroup g;
            c.cstr(g.material);
            const std::size_t n = count(c, 2, "material face");
            g.faces.resize(n);
            for (std::uint16_t& f : g.faces) f = c.u16();
            o.groups.push_back(std::move(g));
            break;
        }
        default:
            break;  // mesh matrix, colours, lights, cameras: read past
        }
    }

    Vec4 colour(const Chunk& chunk, int depth, Vec4 previous) {
        Vec4 out = previous;
        bool linearSeen = false;
        walk(chunk.body, chunk.end, depth, [&](const Chunk& sub, int) {
            Cursor c(bytes_, sub.body, sub.end);
            const bool gamma = sub.id == kColourBytesGamma || sub.id == kColourFloatGamma;
            if (linearSeen && !gamma) return;
            if (sub.id == kColourFloat || sub.id == kColourFloatGamma) {
                const float r = c.f32(), g = c.f32(), b = c.f32();
                if (c.ok()) out = {r, g, b, previous.w};
            } else if (sub.id == kColourBytes || sub.id == kColourBytesGamma) {
                const float r = c.u8() / 255.0f, g = c.u8() / 255.0f, b = c.u8() / 255.0f;
                if (c.ok()) out = {r, g, b, previous.w};
            } else {
                return;
            }
            linearSeen = linearSeen || gamma;
        });
        return out;
    }

    float percent(const Chunk& chunk, int depth, float previous) {
        float out = previous;
        walk(chunk.body, chunk.end, depth, [&](const Chunk& sub, int) {
            Cursor c(bytes_, sub.body, sub.end);
            if (sub.id == kPercentInt) {
                const float v = static_cast<std::int16_t>(c.u16()) / 100.0f;
                if (c.ok()) out = v;
            } else if (sub.id == kPercentFloat) {
                const float v = c.f32() / 100.0f;
                if (c.ok()) out = v;
            }
        });
        return std::clamp(out, 0.0f, 1.0f);
    }

    void material(const Chunk& chunk, int depth) {
        TdsMaterial m;
        walk(chunk.body, chunk.end, depth, [&](const Chunk& sub, int d) {
            Cursor c(bytes_, sub.body, sub.end);
            if (sub.id == kMaterialName) c.cstr(m.name);
            if (sub.id == kDiffuse) m.diffuse = colour(sub, d, m.diffuse);
            if (sub.id == kTransparency) m.diffuse.w = 1.0f - percent(sub, d, 0.0f);
            if (sub.id == kTextureMap) {
                walk(sub.body, sub.end, d, [&](const Chunk& map, int) {
                    Cursor mc(bytes_, map.body, map.end);
                    if (map.id == kMapFileName) mc.cstr(m.map);
                });
            }
        });
        materials.push_back(std::move(m));
    }

    std::span<const std::uint8_t> bytes_;
    ImportReport& report_;
};

// Per corner normals: flat, or shared with the faces around the vertex that
// have a smoothing group in common.
std::vector<Vec3> cornerNormals(const TdsObject& o, const std::vector<Vec3>& faceNormal,
                                const std::vector<std::uint8_t>& faceOk) {
    const std::size_t faces = o.faces.size();
    std::vector<Vec3> out(faces * 3);
    const bool smooth = o.smoothing.size() == faces;
    // Faces around each vertex.
    std::vector<std::uint32_t> start(o.vertices.size() + 1, 0);
    if (smooth) {
        for (std::size_t f = 0; f < faces; ++f) {
            if (faceOk[f] && o.smoothing[f] != 0) {
                for (std::uint16_t v : o.faces[f]) ++start[v + 1u];
            }
        }
        for (std::size_t v = 0; v < o.vertices.size(); ++v) start[v + 1] += start[v];
    }
    std::vector<std::uint32_t> around(start.back());
    std::vector<std::uint32_t> fill(start.begin(), start.end() - 1);
    if (smooth) {
        for (std::size_t f = 0; f < faces; ++f) {
            if (faceOk[f] && o.smoothing[f] != 0) {
                for (std::uint16_t v : o.faces[f]) around[fill[v]++] = static_cast<std::uint32_t>(f);
            }
        }
    }
    std::vector<std::array<Vec3, 32>> bitSums;  // only for crowded vertices
    std::vector<std::int32_t> bitSumOf(o.vertices.size(), -1);
    for (std::size_t f = 0; f < faces; ++f) {
        if (!faceOk[f]) continue;
        for (int k = 0; k < 3; ++k) {
            const std::uint16_t v = o.faces[f][static_cast<std::size_t>(k)];
            const std::uint32_t mask = smooth ? o.smoothing[f] : 0;
            if (mask == 0) {
                out[f * 3 + static_cast<std::size_t>(k)] = faceNormal[f];
                continue;
            }
            Vec3 sum;
            const std::size_t n = start[v + 1u] - start[v];
            if (n <= kExactSmoothingFaces) {
                for (std::uint32_t i = start[v]; i < start[v + 1u]; ++i) {
                    if (o.smoothing[around[i]] & mask) sum += faceNormal[around[i]];
                }
            } else {
                if (bitSumOf[v] < 0) {
                    bitSumOf[v] = static_cast<std::int32_t>(bitSums.size());
                    bitSums.emplace_back();
                    for (std::uint32_t i = start[v]; i < start[v + 1u]; ++i) {
                        for (int b = 0; b < 32; ++b) {
                            if (o.smoothing[around[i]] & (1u << b)) bitSums.back()[static_cast<std::size_t>(b)] += faceNormal[around[i]];
                        }
                    }
                }
                for (int b = 0; b < 32; ++b) {
                    if (mask & (1u << b)) sum += bitSums[static_cast<std::size_t>(bitSumOf[v])][static_cast<std::size_t>(b)];
                }
            }
            out[f * 3 + static_cast<std::size_t>(k)] = normalize(sum);
        }
    }
    return out;
}

const TdsMaterial* findMaterial(const std::vector<TdsMaterial>& materials, const std::string& name) {
    for (const TdsMaterial& m : materials) {
        if (m.name == name) return &m;
    }
    return nullptr;
}

void applyMaterial(SceneObject& object, const TdsMaterial* m, const ImportOptions& options, ImportResult& result) {
    if (m == nullptr) return;
    object.materialColours[0] = m->diffuse;
    object.opacity = m->diffuse.w;
    if (!m->map.empty()) attachMaterialImage(object, m->map, options, result);
}

void buildObject(const TdsObject& o, const std::vector<TdsMaterial>& materials, float scale,
                 const ImportOptions& options, ImportResult& result) {
    const std::size_t faces = o.faces.size();
    std::vector<std::uint8_t> faceOk(faces, 1);
    std::vector<Vec3> faceNormal(faces);
    std::size_t outside = 0;
    const auto scenePosition = [&](std::uint16_t v) {
        const Vec3 p = o.vertices[v];
        return Vec3{p.x * scale, p.z * scale, p.y * scale};
    };
    for (std::size_t f = 0; f < faces; ++f) {
        const auto& face = o.faces[f];
        if (face[0] >= o.vertices.size() || face[1] >= o.vertices.size() || face[2] >= o.vertices.size()) {
            faceOk[f] = 0;
            ++outside;
            continue;
        }
        faceNormal[f] = triangleNormal(scenePosition(face[0]), scenePosition(face[2]), scenePosition(face[1]));
    }
    result.report.damage("3DS faces with a vertex index outside the vertex list, skipped", outside);
    if (!o.smoothing.empty() && o.smoothing.size() != faces) {
        result.report.damage("3DS smoothing lists that do not match their faces, flat normals used");
    }
    if (!o.texcoords.empty() && o.texcoords.size() < o.vertices.size()) {
        result.report.damage("3DS texture coordinate lists shorter than their vertex lists");
    }
    const std::vector<Vec3> normals = cornerNormals(o, faceNormal, faceOk);

    // Which material each face uses: the last group naming it wins, as the
    // groups are listed; faces in none keep the imported look.
    std::vector<std::int32_t> groupOf(faces, -1);
    for (std::size_t g = 0; g < o.groups.size(); ++g) {
        for (std::uint16_t f : o.groups[g].faces) {
            if (f < faces) groupOf[f] = static_cast<std::int32_t>(g);
        }
    }
    std::vector<std::int32_t> partGroups;  // in order of first face
    for (std::size_t f = 0; f < faces; ++f) {
        if (faceOk[f] && std::find(partGroups.begin(), partGroups.end(), groupOf[f]) == partGroups.end()) {
            partGroups.push_back(groupOf[f]);
        }
    }
    for (std::size_t part = 0; part < partGroups.size(); ++part) {
        const std::int32_t g = partGroups[part];
        const std::string materialName = g < 0 ? std::string() : o.groups[static_cast<std::size_t>(g)].material;
        auto object = newImportedObject(part == 0 ? o.name : o.name + "_" + materialName);
        std::vector<MeshVertex> vertices;
        for (std::size_t f = 0; f < faces; ++f) {
            if (!faceOk[f] || groupOf[f] != g) continue;
            static constexpr int kDrawOrder[3] = {0, 2, 1};  // (a, b, c) drawn as (a, c, b)
            for (int k : kDrawOrder) {
                const std::uint16_t v = o.faces[f][static_cast<std::size_t>(k)];
                MeshVertex mv;
                mv.position = scenePosition(v);
                mv.normal = normals[f * 3 + static_cast<std::size_t>(k)];
                if (v < o.texcoords.size()) mv.texcoord = {o.texcoords[v].x, 1.0f - o.texcoords[v].y};
                mv.texcoord2 = mv.texcoord;
                vertices.push_back(mv);
            }
        }
        giveCornerMesh(*object, std::move(vertices));
        if (g >= 0) {
            const TdsMaterial* m = findMaterial(materials, materialName);
            if (m == nullptr) result.report.note("3DS material not found: " + materialName);
            applyMaterial(*object, m, options, result);
        }
        result.objects.push_back(std::move(object));
    }
    if (partGroups.size() > 1) result.report.count("3DS objects split by material", 1);
}

}  // namespace

ImportResult import3dsBytes(std::span<const std::uint8_t> bytes, const ImportOptions& options) {
    ImportResult result;
    if (bytes.size() < 6 || bytes[0] != (kMain & 0xFF) || bytes[1] != (kMain >> 8)) {
        result.error = "not a 3DS file";
        return result;
    }
    try {
        Reader reader(bytes, result.report);
        reader.walk(0, bytes.size(), 0, [&](const Chunk& chunk, int depth) {
            if (chunk.id == kMain) reader.main(chunk, depth);
        });
        // The chunks are read: half the way; the objects built, the rest.
        reportImportShare(options, bytes.size(), 0.5);
        const float scale = options.scale > 0.0f ? options.scale : 1.0f;
        std::size_t empty = 0;
        for (std::size_t i = 0; i < reader.objects.size(); ++i) {
            const std::size_t before = result.objects.size();
            buildObject(reader.objects[i], reader.materials, scale, options, result);
            if (result.objects.size() == before) ++empty;
            reportImportShare(options, bytes.size(), 0.5 + 0.5 * static_cast<double>(i + 1) / reader.objects.size());
        }
        result.report.count("3DS objects without faces (lights, cameras, empty meshes), not added", empty);
    } catch (const std::bad_alloc&) {
        result.objects.clear();
        result.textures.clear();
        result.error = "not enough memory to import the file";
        return result;
    }
    if (result.objects.empty()) result.report.note("the file holds no faces");
    result.frameObject = result.objects.empty() ? nullptr : result.objects.back().get();
    reportImportShare(options, bytes.size(), 1.0);
    return result;
}

ImportResult import3ds(const std::filesystem::path& path, ImportOptions options) {
    return importFromFile(path, std::move(options), [](std::span<const std::uint8_t> bytes, const ImportOptions& o) {
        return import3dsBytes(bytes, o);
    });
}

}  // namespace morvanex
