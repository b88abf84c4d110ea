// COLLADA import: the document, its sources and the meshes of its geometries.
#include "import/collada_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <new>
#include <optional>

#include "import/collada_document.h"
#include "import/import_mesh.h"
#include "base/large_pages.h"
#include "import/parallel.h"
#include "import/text_scan.h"
#include "import/triangulate.h"
#include "base/file_bytes.h"
#include "base/text_encoding.h"

namespace morvanex {

namespace collada {

namespace {

constexpr float kColladaScale = 30.0f;  // scene units per metre

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The text of an element; empty past the end of a damaged document.
std::string_view textOf(pugi::xml_node node) { return node.child_value(); }

// A float the way the general reader takes it (no '+', no blanks before),
// the plain decimals of most files without it. False when none is there.
bool readFloat(const char*& p, const char* end, float& out) {
    if (*p != '+' && scan::detail::plainDecimal(p, end, out, [](char c) { return isSpace(c); })) return true;
    const auto [next, error] = std::from_chars(p, end, out);
    if (next == p) return false;
    if (error != std::errc{}) out = 0.0f;  // too large or too small: kept as 0
    p = next;
    return true;
}

// The digits of an integer one at a time, for runs too long or too near
// the end of the text to be read at once.
[[gnu::noinline]] bool readLongInt(const char*& p, const char* q, const char* end, bool negative, std::int32_t& out) {
    const char* digits = q;
    std::uint64_t value = 0;
    bool overflow = false;
    const std::uint64_t limit = std::uint64_t{INT64_MAX} + (negative ? 1 : 0);
    for (; q < end && static_cast<unsigned char>(*q - '0') < 10; ++q) {
        const auto digit = static_cast<unsigned>(*q - '0');
        if (value > (limit - digit) / 10) overflow = true;
        if (!overflow) value = value * 10 + digit;
    }
    if (q == digits) return false;
    if (overflow) {
        out = 0;
    } else if (negative) {
        out = value > std::uint64_t{INT32_MAX} + 1 ? INT32_MIN : static_cast<std::int32_t>(-static_cast<std::int64_t>(value));
    } else {
        out = value > std::uint64_t{INT32_MAX} ? INT32_MAX : static_cast<std::int32_t>(value);
    }
    p = q;
    return true;
}

// An integer the way the general 64-bit reader takes it ('-' but no '+'),
// then held in 32 bits: values past them are out of any list's range
// either way, and one too long for 64 bits reads as 0 as it always did.
inline bool readInt(const char*& p, const char* end, std::int32_t& out) {
    const char* q = p;
    const bool negative = q < end && *q == '-';
    if (negative) ++q;
    const char* digits = q;
    std::uint64_t value = 0;
    // Indices are short: fewer than eight digits are read at once.
    if (end - q >= 8 && scan::detail::shortDigitRun(q, value)) {
        if (q == digits) return false;
        out = negative ? -static_cast<std::int32_t>(value) : static_cast<std::int32_t>(value);
        p = q;
        return true;
    }
    return readLongInt(p, q, end, negative, out);
}

// The blank-separated numbers of a text, at most `limit`; the list ends at
// the first word that is not a number.
template <typename T, typename Read>
std::vector<T> numbers(std::string_view text, std::size_t limit, Read read) {
    std::vector<T> out;
    const char* p = text.data();
    const char* end = p + text.size();
    // Numbers take two characters at least: room for all is what the text justifies.
    out.reserve(std::min(limit, text.size() / 2 + 1));
    while (out.size() < limit) {
        while (p < end && isSpace(*p)) ++p;
        if (p >= end) break;
        T value{};
        if (!read(p, end, value)) break;
        out.push_back(value);
    }
    return out;
}

// The integers of a text taken a few at a time, as intList would read them
// all: a list of millions of indices is never held whole.
class IntStream {
public:
    explicit IntStream(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}

    // The next `count` integers into `out`; false when the list ends first.
    bool take(std::size_t count, std::vector<std::int32_t>& out) {
        out.clear();
        while (out.size() < count) {
            while (p_ < end_ && isSpace(*p_)) ++p_;
            std::int32_t value = 0;
            if (p_ >= end_ || !readInt(p_, end_, value)) return false;
            out.push_back(value);
        }
        return true;
    }

    // At most this many are left: each takes a digit and a blank.
    std::size_t mostLeft() const { return static_cast<std::size_t>(end_ - p_) / 2 + 1; }

private:
    const char* p_;
    const char* end_;
};

}  // namespace

std::vector<float> floatList(pugi::xml_node node, std::size_t limit) {
    return numbers<float>(textOf(node), limit, [](const char*& p, const char* end, float& out) {
        return readFloat(p, end, out);
    });
}
std::vector<std::int32_t> intList(pugi::xml_node node) {
    return numbers<std::int32_t>(textOf(node), SIZE_MAX, [](const char*& p, const char* end, std::int32_t& out) {
        return readInt(p, end, out);
    });
}

Mat4 matrixFromFloats(const float* v) {
    Mat4 m;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) m.m[c][r] = v[r * 4 + c];
    }
    return m;
}

void Document::indexIds() {
    std::vector<pugi::xml_node> stack{root};
    while (!stack.empty()) {
        const pugi::xml_node node = stack.back();
        stack.pop_back();
        if (const pugi::xml_attribute id = node.attribute("id")) byId.emplace(id.value(), node);
        if (std::string_view(node.name()) == "instance_material") {
            std::string target = node.attribute("target").value();
            if (!target.empty() && target[0] == '#') target.erase(0, 1);
            materialBindings.emplace(node.attribute("symbol").value(), target);
        }
        for (pugi::xml_node child : node.children()) {
            if (child.type() == pugi::node_element) stack.push_back(child);
        }
    }
}

pugi::xml_node Document::resolve(std::string_view url) {
    if (url.empty()) return {};
    if (url[0] != '#') {
        result.report.count("references to other files, not followed");
        return {};
    }
    const auto it = byId.find(std::string(url.substr(1)));
    if (it == byId.end()) {
        result.report.damage("references to elements that are not in the file, skipped");
        return {};
    }
    return it->second;
}

namespace {

// A <source>: its numbers or names through its accessor.
Source readSource(pugi::xml_node node) {
    Source s;
    const pugi::xml_node accessor = node.child("technique_common").child("accessor");
    const auto limitOf = [](pugi::xml_node array) {
        const pugi::xml_attribute count = array.attribute("count");
        return count ? static_cast<std::size_t>(std::max(0ll, count.as_llong())) : SIZE_MAX;
    };
    if (const pugi::xml_node floats = node.child("float_array")) {
        s.floats = floatList(floats, limitOf(floats));
    } else if (const pugi::xml_node names = node.child("Name_array") ? node.child("Name_array") : node.child("IDREF_array")) {
        const std::size_t limit = limitOf(names);
        const char* p = names.child_value();
        std::string word;
        for (; *p != '\0' && s.names.size() < limit; ++p) {
            if (isSpace(*p)) {
                if (!word.empty()) s.names.push_back(std::move(word));
                word.clear();
            } else {
                word += *p;
            }
        }
        if (!word.empty() && s.names.size() < limit) s.names.push_back(std::move(word));
    }
    const std::size_t values = std::max(s.floats.size(), s.names.size());
    s.stride = std::max<std::size_t>(1, accessor.attribute("stride").as_ullong(1));
    s.offset = accessor.attribute("offset").as_ullong(0);
    if (s.stride > values + 1) s.stride = values + 1;
    s.count = s.offset >= values ? 0 : (values - s.offset) / s.stride;
    if (const pugi::xml_attribute c = accessor.attribute("count")) s.count = std::min<std::size_t>(s.count, c.as_ullong());
    s.valid = true;
    return s;
}

// Items per piece of converting work.
constexpr std::size_t kItemsPerSlice = std::size_t{1} << 16;

}  // namespace

const Source& Document::source(std::string_view id) {
    const std::string key(id);
    const auto known = sources_.find(key);
    if (known != sources_.end()) return known->second;
    Source& s = sources_[key];
    const auto it = byId.find(key);
    if (it != byId.end()) s = readSource(it->second);
    return s;
}

void Document::readSourcesAhead(const std::vector<std::string>& ids) {
    std::vector<std::pair<std::string, pugi::xml_node>> wanted;
    for (const std::string& id : ids) {
        const auto it = byId.find(id);
        if (it == byId.end() || sources_.count(id) != 0) continue;
        if (std::any_of(wanted.begin(), wanted.end(), [&](const auto& w) { return w.first == id; })) continue;
        wanted.emplace_back(id, it->second);
    }
    std::vector<Source> read(wanted.size());
    runParallel(wanted.size(), workerThreads(options.threads),
                [&](std::size_t i) { read[i] = readSource(wanted[i].second); });
    for (std::size_t i = 0; i < wanted.size(); ++i) sources_.emplace(wanted[i].first, std::move(read[i]));
}

// Every item of a source through `convert`, the slices of a large one in
// parallel.
template <typename Convert>
void convertItems(const Source& s, std::vector<Vec3>& out, unsigned threads, Convert convert) {
    out.resize(s.count);
    const std::size_t slices = (s.count + kItemsPerSlice - 1) / kItemsPerSlice;
    runParallel(slices, threads, [&](std::size_t slice) {
        const std::size_t end = std::min(s.count, (slice + 1) * kItemsPerSlice);
        for (std::size_t i = slice * kItemsPerSlice; i < end; ++i) out[i] = convert(Vec3{s.at(i, 0), s.at(i, 1), s.at(i, 2)});
    });
}

const std::vector<Vec3>& Document::scenePositions(const Source& s) {
    auto [it, fresh] = scenePositions_.try_emplace(&s);
    if (fresh) convertItems(s, it->second, workerThreads(options.threads), [this](Vec3 p) { return position(p); });
    return it->second;
}

const std::vector<Vec3>& Document::sceneNormals(const Source& s) {
    auto [it, fresh] = sceneNormals_.try_emplace(&s);
    if (fresh) {
        convertItems(s, it->second, workerThreads(options.threads), [this](Vec3 n) { return normalize(direction(n)); });
    }
    return it->second;
}

void readUnitsAndAxes(Document& doc) {
    const pugi::xml_node asset = doc.root.child("asset");
    float metre = 1.0f;
    if (const pugi::xml_attribute m = asset.child("unit").attribute("meter")) {
        const float v = m.as_float(1.0f);
        if (std::isfinite(v) && v > 0.0f) metre = v;
    }
    const float scale = (doc.options.scale > 0.0f ? doc.options.scale : kColladaScale) * metre;
    if (metre != 1.0f) doc.result.report.note("file unit of " + std::to_string(metre) + " m, scaled to scene units");
    const std::string up = asset.child_value("up_axis");
    Mat4 axes;  // rotations only, so the winding stays as written
    if (up == "Z_UP") {
        axes = Mat4{{{1, 0, 0, 0}, {0, 0, -1, 0}, {0, 1, 0, 0}, {0, 0, 0, 1}}};  // (x, y, z) -> (x, z, -y)
        doc.result.report.note("Z up axis turned to Y up");
    } else if (up == "X_UP") {
        axes = Mat4{{{0, 1, 0, 0}, {-1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};  // (x, y, z) -> (-y, x, z)
        doc.result.report.note("X up axis turned to Y up");
    }
    doc.axesOnly = axes;
    doc.toScene = axes * matrixScaling(scale);
    doc.fromScene = matrixScaling(1.0f / scale) * transpose(axes);
}

namespace {

// One input of a primitive.
struct Input {
    std::string semantic;
    const Source* source = nullptr;
    std::size_t offset = 0;
    std::int64_t set = 0;
};

// What one corner index set gives.
struct CornerData {
    std::int64_t vertex = -1;  // index into the position source, for the skin
    Vec3 position;
    Vec3 normal;
    bool hasNormal = false;
    Vec2 texcoord;
};

struct PrimitiveReader {
    const Input* position = nullptr;
    const Input* normal = nullptr;
    const Input* texcoord = nullptr;
    std::size_t stride = 1;  // integers per corner
    // The position and normal sources' items, converted.
    const std::vector<Vec3>* positions = nullptr;
    const std::vector<Vec3>* normals = nullptr;

    // False when an index lies outside its source.
    bool corner(const std::vector<std::int32_t>& p, std::size_t at, CornerData& c) const {
        const auto index = [&](const Input* in, std::int64_t& out) {
            const std::size_t j = at + in->offset;
            if (j >= p.size()) return false;
            out = p[j];
            return out >= 0 && static_cast<std::size_t>(out) < in->source->count;
        };
        if (!index(position, c.vertex)) return false;
        c.position = (*positions)[static_cast<std::size_t>(c.vertex)];
        if (normal != nullptr) {
            std::int64_t n = 0;
            if (!index(normal, n)) return false;
            c.normal = (*normals)[static_cast<std::size_t>(n)];
            c.hasNormal = true;
        }
        if (texcoord != nullptr) {
            std::int64_t t = 0;
            if (!index(texcoord, t)) return false;
            const Source& ts = *texcoord->source;
            c.texcoord = {ts.at(static_cast<std::size_t>(t), 0), ts.at(static_cast<std::size_t>(t), 1)};
        }
        return true;
    }
};

// The corners of one geometry, grouped as they will become objects.
struct CornerGroup {
    std::int32_t joint = -1;
    std::string material;
    std::vector<MeshVertex> vertices;
    // The box around the positions, grown as the scene object would grow
    // it from its first vertex on: no second pass over millions of them.
    PositionBounds bounds;
    void add(const MeshVertex& v) {
        if (vertices.empty()) bounds.min = bounds.max = v.position;
        bounds.min = {std::min(bounds.min.x, v.position.x), std::min(bounds.min.y, v.position.y),
                      std::min(bounds.min.z, v.position.z)};
        bounds.max = {std::max(bounds.max.x, v.position.x), std::max(bounds.max.y, v.position.y),
                      std::max(bounds.max.z, v.position.z)};
        vertices.push_back(v);
    }
};

class GeometryBuilder {
public:
    GeometryBuilder(Document& doc, const std::string& id, const Skin* skin) : doc_(doc), id_(id), skin_(skin) {}

    void primitive(pugi::xml_node prim) {
        const std::string kind = prim.name();
        if (kind == "lines" || kind == "linestrips") {
            doc_.result.report.count("COLLADA line primitives, skipped");
            return;
        }
        if (kind != "triangles" && kind != "polylist" && kind != "polygons" && kind != "tristrips" &&
            kind != "trifans") {
            return;
        }
        std::vector<Input> inputs;
        if (!readInputs(prim, inputs)) return;
        PrimitiveReader reader;
        for (const Input& in : inputs) {
            reader.stride = std::max(reader.stride, in.offset + 1);
            if (in.semantic == "POSITION" && reader.position == nullptr) reader.position = &in;
            if (in.semantic == "NORMAL" && reader.normal == nullptr) reader.normal = &in;
            if (in.semantic == "TEXCOORD" && (reader.texcoord == nullptr || in.set < reader.texcoord->set)) {
                reader.texcoord = &in;
            }
        }
        if (reader.position == nullptr) {
            doc_.result.report.damage("COLLADA primitives without positions, skipped");
            return;
        }
        reader.positions = &doc_.scenePositions(*reader.position->source);
        if (reader.normal != nullptr) reader.normals = &doc_.sceneNormals(*reader.normal->source);
        material_ = prim.attribute("material").value();
        expectCorners(0);
        if (kind == "polylist") {
            const std::vector<std::int32_t> counts = intList(prim.child("vcount"));
            IntStream p(textOf(prim.child("p")));
            expectCorners(polylistCorners(counts, p.mostLeft() / reader.stride));
            withPagesTaken([&] {
                for (const std::int32_t n : counts) {
                    if (n < 0 || !p.take(static_cast<std::size_t>(n) * reader.stride, window_)) {
                        doc_.result.report.damage("COLLADA polygon lists shorter than their counts, cut");
                        break;
                    }
                    polygon(reader, window_, 0, static_cast<std::size_t>(n));
                }
            });
            return;
        }
        std::size_t trianglesLeft = prim.attribute("count").as_ullong(0);
        for (pugi::xml_node list : prim.children()) {
            const std::string name = list.name();
            pugi::xml_node pNode = list;
            if (name == "ph") {
                pNode = list.child("p");
                doc_.result.report.count("COLLADA polygon holes, filled");
            } else if (name != "p") {
                continue;
            }
            if (kind == "triangles") {
                // The written count, spread over the <p> lists, bounded by what the text can hold.
                IntStream p(textOf(pNode));
                expectCorners(3 * std::min(trianglesLeft, p.mostLeft() / reader.stride / 3));
                withPagesTaken([&] {
                    while (p.take(3 * reader.stride, window_)) {
                        polygon(reader, window_, 0, 3);
                        trianglesLeft -= trianglesLeft > 0 ? 1 : 0;
                    }
                });
                continue;
            }
            const std::vector<std::int32_t> p = intList(pNode);
            const std::size_t corners = p.size() / reader.stride;
            if (kind == "polygons") {
                polygon(reader, p, 0, corners);
            } else {
                strip(reader, p, corners, kind == "trifans");
            }
        }
    }

    std::vector<CornerGroup>& groups() { return groups_; }

private:
    bool readInputs(pugi::xml_node prim, std::vector<Input>& inputs) {
        for (pugi::xml_node in : prim.children("input")) {
            const std::string semantic = in.attribute("semantic").value();
            const std::size_t offset = std::min<unsigned long long>(in.attribute("offset").as_ullong(0), 1024);
            const std::int64_t set = in.attribute("set").as_llong(0);
            const pugi::xml_node target = doc_.resolve(in.attribute("source").value());
            if (!target) continue;
            if (semantic == "VERTEX") {
                // <vertices> lists the per-vertex inputs sharing this offset.
                for (pugi::xml_node vin : target.children("input")) {
                    const pugi::xml_node src = doc_.resolve(vin.attribute("source").value());
                    if (!src) continue;
                    inputs.push_back({vin.attribute("semantic").value(), &doc_.source(src.attribute("id").value()),
                                      offset, 0});
                }
                continue;
            }
            inputs.push_back({semantic, &doc_.source(target.attribute("id").value()), offset, set});
        }
        return true;
    }

    void strip(const PrimitiveReader& reader, const std::vector<std::int32_t>& p, std::size_t corners, bool fan) {
        for (std::size_t i = 0; i + 2 < corners; ++i) {
            std::array<std::size_t, 3> k{};
            if (fan) {
                k = {0, i + 1, i + 2};
            } else if (i % 2 == 0) {
                k = {i, i + 1, i + 2};
            } else {
                k = {i + 1, i, i + 2};
            }
            std::array<CornerData, 3> c;
            bool ok = true;
            for (int j = 0; j < 3; ++j) ok = ok && reader.corner(p, k[static_cast<std::size_t>(j)] * reader.stride, c[static_cast<std::size_t>(j)]);
            if (!ok) {
                doc_.result.report.damage("COLLADA triangles with an index outside its source, skipped");
                continue;
            }
            emit(c[0], c[1], c[2]);
        }
    }

    void polygon(const PrimitiveReader& reader, const std::vector<std::int32_t>& p, std::size_t at, std::size_t n) {
        if (n < 3) {
            if (n > 0) doc_.result.report.damage("COLLADA polygons with fewer than three corners, skipped");
            return;
        }
        corners_.resize(n);
        for (std::size_t i = 0; i < n; ++i) {
            if (!reader.corner(p, at + i * reader.stride, corners_[i])) {
                doc_.result.report.damage("COLLADA polygons with an index outside its source, skipped");
                return;
            }
        }
        if (n == 3) {
            emit(corners_[0], corners_[1], corners_[2]);
            return;
        }
        points_.resize(n);
        for (std::size_t i = 0; i < n; ++i) points_[i] = corners_[i].position;
        triangles_.clear();
        const PolygonShape shape = triangulatePolygon(points_, triangles_);
        doc_.result.report.count("polygons with more than three corners, triangulated");
        if (shape == PolygonShape::Concave) doc_.result.report.count("concave polygons, ear clipped in their plane");
        if (shape == PolygonShape::Degenerate) {
            doc_.result.report.count("polygons without area or crossing themselves, fanned");
        }
        if (shape == PolygonShape::TooLarge) doc_.result.report.count("concave polygons too large to ear clip, fanned");
        for (const CornerTriangle& t : triangles_) emit(corners_[t[0]], corners_[t[1]], corners_[t[2]]);
    }

    MeshVertex vertex(const CornerData& c, Vec3 flat, std::int32_t& leadJoint) const {
        MeshVertex v;
        v.position = c.position;
        v.normal = c.hasNormal ? c.normal : flat;
        v.texcoord = {c.texcoord.x, 1.0f - c.texcoord.y};
        v.texcoord2 = c.texcoord;
        leadJoint = -1;
        if (skin_ != nullptr) {
            v.position = transformPoint(c.position, skin_->bindShape);
            v.normal = normalize(transformNormal(v.normal, skin_->bindShape));
            if (c.vertex >= 0 && static_cast<std::size_t>(c.vertex) < skin_->vertices.size()) {
                const SkinInfluences& s = skin_->vertices[static_cast<std::size_t>(c.vertex)];
                v.blendWeights = s.weights;
                v.blendIndices = s.joints;
                leadJoint = s.joints[0];
            } else {
                v.blendWeights = {0, 0, 0, 0};
                v.blendIndices = {-1, -1, -1, -1};
            }
        }
        return v;
    }

    void emit(const CornerData& a, const CornerData& b, const CornerData& c) {
        Vec3 flat{};  // only needed by a corner without a normal
        if (!a.hasNormal || !b.hasNormal || !c.hasNormal) {
            flat = triangleNormal(a.position, b.position, c.position);
            doc_.result.report.count("triangles without normals, given flat normals");
        }
        std::int32_t joint = -1, unused = -1;
        const MeshVertex va = vertex(a, flat, joint);
        const MeshVertex vb = vertex(b, flat, unused);
        const MeshVertex vc = vertex(c, flat, unused);
        CornerGroup& g = group(joint);
        g.add(va);
        g.add(vb);
        g.add(vc);
    }

    // A triangle goes with the lead joint of its first corner.
    CornerGroup& group(std::int32_t joint) {
        if (last_ != nullptr && last_->joint == joint && last_->material == material_) return *last_;
        for (CornerGroup& g : groups_) {
            if (g.joint == joint && g.material == material_) return *(last_ = &g);
        }
        groups_.push_back({joint, material_, {}, {}});
        last_ = &groups_.back();
        makeRoom(*last_);
        return *last_;
    }

    // The triangle corners of the polygons that fit the index sets.
    static std::size_t polylistCorners(const std::vector<std::int32_t>& counts, std::size_t sets) {
        std::size_t corners = 0;
        for (const std::int32_t n : counts) {
            if (n < 0 || static_cast<std::size_t>(n) > sets) break;
            sets -= static_cast<std::size_t>(n);
            if (n >= 3) corners += 3 * static_cast<std::size_t>(n - 2);
        }
        return corners;
    }

    // Runs `read`, which makes the corners of a primitive. For a large one
    // without a skin, another thread meanwhile has the system give the pages
    // that the expected corners will fill: clearing them is a good part of
    // the work, and needs nothing from this thread.
    template <typename Read>
    void withPagesTaken(Read&& read) {
        constexpr std::size_t kCornersWorthAThread = std::size_t{1} << 16;
        const unsigned threads = workerThreads(doc_.options.threads);
        if (skin_ != nullptr || expected_ < kCornersWorthAThread || threads < 2) return read();
        const bool fresh = std::none_of(groups_.begin(), groups_.end(),
                                        [&](const CornerGroup& g) { return g.joint == -1 && g.material == material_; });
        CornerGroup& g = group(-1);  // with room for the expected corners
        void* from = g.vertices.data() + g.vertices.size();
        const std::size_t bytes = expected_ * sizeof(MeshVertex);
        runParallel(2, threads, [&](std::size_t task) {
            if (task == 0) {
                populatePages(from, bytes);
            } else {
                read();
            }
        });
        // A group made here for corners that never came is not kept.
        if (fresh && g.vertices.empty()) {
            groups_.pop_back();
            last_ = nullptr;
        }
    }

    // Without a skin every corner of a primitive goes to one group: room
    // for them at once spares growing a list of millions of corners.
    void expectCorners(std::size_t corners) {
        expected_ = skin_ == nullptr ? corners : 0;
        for (CornerGroup& g : groups_) {
            if (g.joint == -1 && g.material == material_) makeRoom(g);
        }
    }
    void makeRoom(CornerGroup& g) const {
        const std::size_t wanted = g.vertices.size() + expected_;
        if (expected_ == 0 || wanted <= g.vertices.capacity()) return;
        g.vertices.reserve(std::max(wanted, 2 * g.vertices.capacity()));
        adviseLargePages(g.vertices.data(), g.vertices.capacity() * sizeof(MeshVertex));
    }

    Document& doc_;
    std::string id_;
    const Skin* skin_;
    std::string material_;
    std::vector<CornerGroup> groups_;
    CornerGroup* last_ = nullptr;
    std::size_t expected_ = 0;  // corners the current primitive may add
    std::vector<std::int32_t> window_;  // the indices of one polygon
    std::vector<CornerData> corners_;
    std::vector<Vec3> points_;
    std::vector<CornerTriangle> triangles_;
};

std::string decodeUri(std::string_view uri) {
    if (uri.rfind("file://", 0) == 0) {
        uri.remove_prefix(7);
        // "file:///C:/..." keeps the drive letter without the slash.
        if (uri.size() > 3 && uri[0] == '/' && uri[2] == ':') uri.remove_prefix(1);
    }
    std::string out;
    for (std::size_t i = 0; i < uri.size(); ++i) {
        if (uri[i] == '%' && i + 2 < uri.size()) {
            int value = 0;
            const auto r = std::from_chars(uri.data() + i + 1, uri.data() + i + 3, value, 16);
            if (r.ec == std::errc{} && r.ptr == uri.data() + i + 3) {
                out += static_cast<char>(value);
                i += 2;
                continue;
            }
        }
        out += uri[i];
    }
    return out;
}

// The diffuse colour and image file of a material id.
struct MaterialLook {
    bool found = false;
    Vec4 diffuse = kImportedDiffuse;
    std::string image;
};

MaterialLook materialLook(Document& doc, const std::string& materialId) {
    MaterialLook look;
    const auto mat = doc.byId.find(materialId);
    if (mat == doc.byId.end()) return look;
    look.found = true;
    const pugi::xml_node effect = doc.resolve(mat->second.child("instance_effect").attribute("url").value());
    const pugi::xml_node profile = effect.child("profile_COMMON");
    pugi::xml_node shading;
    for (pugi::xml_node t : profile.child("technique").children()) {
        const std::string n = t.name();
        if (n == "phong" || n == "lambert" || n == "blinn" || n == "constant") shading = t;
    }
    const pugi::xml_node diffuse = shading.child("diffuse");
    if (const pugi::xml_node colour = diffuse.child("color")) {
        const std::vector<float> c = floatList(colour, 4);
        if (c.size() >= 3) look.diffuse = {c[0], c[1], c[2], c.size() > 3 ? c[3] : 1.0f};
    }
    if (const pugi::xml_node texture = diffuse.child("texture")) {
        std::string ref = texture.attribute("texture").value();
        // Sampler -> surface -> image, as profile parameters; or the image id itself.
        for (int hop = 0; hop < 4; ++hop) {
            const pugi::xml_node param = profile.find_child_by_attribute("newparam", "sid", ref.c_str());
            if (!param) break;
            const pugi::xml_node sampler = param.child("sampler2D");
            const pugi::xml_node surface = param.child("surface");
            if (sampler) {
                ref = sampler.child_value("source");
                if (ref.empty()) ref = sampler.child("instance_image").attribute("url").value();
            } else if (surface) {
                ref = surface.child_value("init_from");
            } else {
                break;
            }
            if (!ref.empty() && ref[0] == '#') ref.erase(0, 1);
        }
        const auto image = doc.byId.find(ref);
        if (image != doc.byId.end()) {
            const pugi::xml_node init = image->second.child("init_from");
            std::string file = init.child("ref") ? init.child_value("ref") : init.child_value();
            look.image = decodeUri(file);
        }
    }
    return look;
}

void applyMaterial(Document& doc, SceneObject& object, const std::string& symbol) {
    if (symbol.empty()) return;
    const auto bound = doc.materialBindings.find(symbol);
    const std::string id = bound != doc.materialBindings.end() ? bound->second : symbol;
    const MaterialLook look = materialLook(doc, id);
    if (!look.found) {
        doc.result.report.note("COLLADA material not found: " + id);
        return;
    }
    object.materialColours[0] = look.diffuse;
    object.opacity = look.diffuse.w;
    if (look.image.empty()) return;
    std::string fileName = look.image;
    std::replace(fileName.begin(), fileName.end(), '\\', '/');
    fileName = fileName.substr(fileName.find_last_of('/') + 1);
    SceneTexture& texture = doc.result.texture(fileName);
    if (texture.fullPath.empty() && !texture.missing) {
        const auto at = doc.options.sideFiles.locate ? doc.options.sideFiles.locate(look.image) : std::nullopt;
        if (at) {
            texture.fullPath = *at;
        } else {
            texture.missing = true;
            doc.result.report.note("texture file not found: " + look.image);
        }
    }
    object.textures[0] = &texture;
    object.textureEnabled[0] = !texture.missing;
}

}  // namespace

void buildGeometries(Document& doc) {
    // The meshes' sources hold most of a large file's numbers: read them
    // all at once, on every thread.
    std::vector<std::string> sourceIds;
    for (pugi::xml_node geometry : doc.root.child("library_geometries").children("geometry")) {
        for (pugi::xml_node source : geometry.child("mesh").children("source")) sourceIds.emplace_back(source.attribute("id").value());
    }
    doc.readSourcesAhead(sourceIds);
    for (pugi::xml_node geometry : doc.root.child("library_geometries").children("geometry")) {
        const std::string id = geometry.attribute("id").value();
        const pugi::xml_node mesh = geometry.child("mesh");
        if (!mesh) {
            doc.result.report.count("COLLADA geometries that are not meshes (splines, convex meshes), skipped");
            continue;
        }
        const auto skinIt = doc.skins.find(id);
        const Skin* skin = skinIt == doc.skins.end() ? nullptr : &skinIt->second;
        GeometryBuilder builder(doc, id, skin);
        for (pugi::xml_node prim : mesh.children()) builder.primitive(prim);
        std::vector<CornerGroup>& groups = builder.groups();
        // Grouped by lead joint, in joint order.
        std::stable_sort(groups.begin(), groups.end(),
                         [](const CornerGroup& a, const CornerGroup& b) { return a.joint < b.joint; });
        GeometryObjects& made = doc.geometryObjects[id];
        for (std::size_t i = 0; i < groups.size(); ++i) {
            CornerGroup& g = groups[i];
            std::string name = id;
            if (skin != nullptr && g.joint >= 0 && static_cast<std::size_t>(g.joint) < skin->jointNames.size()) {
                name = skin->jointNames[static_cast<std::size_t>(g.joint)];
            }
            const bool sameNameBefore = std::any_of(groups.begin(), groups.begin() + static_cast<std::ptrdiff_t>(i),
                                                    [&](const CornerGroup& o) { return o.joint == g.joint; });
            if (sameNameBefore && !g.material.empty()) name += "_" + g.material;
            auto object = newImportedObject(name);
            const std::size_t corners = g.vertices.size();
            giveCornerMesh(*object, std::move(g.vertices), cornerIndices(corners), g.bounds);
            applyMaterial(doc, *object, g.material);
            if (skin != nullptr && g.joint >= 0 && static_cast<std::size_t>(g.joint) < skin->inverseBind.size()) {
                const Mat4& ibm = skin->inverseBind[static_cast<std::size_t>(g.joint)];
                object->pivot = Vec3{-ibm.m[3][0], -ibm.m[3][1], -ibm.m[3][2]};
                object->boneNumber = g.joint;
            }
            made.objects.push_back(object.get());
            doc.result.objects.push_back(std::move(object));
        }
    }
}

}  // namespace collada

namespace {

// `load` parses the text into the document it is given; `totalBytes` is the
// file's size, for the progress report.
template <typename Load>
ImportResult importDocument(const ImportOptions& options, std::uint64_t totalBytes, Load&& load) {
    ImportResult result;
    try {
        collada::Document doc(result, options);
        const pugi::xml_parse_result parsed = load(doc.xml);
        doc.root = doc.xml.child("COLLADA");
        if (!doc.root) {
            result.error = parsed ? "not a COLLADA file" : std::string("not a COLLADA file: ") + parsed.description();
            return result;
        }
        if (!parsed) {
            result.report.damageNote("the file is damaged at byte " + std::to_string(parsed.offset) + " (" +
                               parsed.description() + "); what was read before is imported");
        }
        // The document parsed stands for a quarter of the work, the
        // geometry for half.
        reportImportShare(options, totalBytes, 0.25);
        doc.indexIds();
        collada::readUnitsAndAxes(doc);
        collada::readSkins(doc);
        collada::buildGeometries(doc);
        reportImportShare(options, totalBytes, 0.75);
        collada::placeNodes(doc);
        collada::readAnimations(doc);
        if (!parsed && result.objects.empty()) {
            ImportResult failed;
            failed.error = std::string("the file is damaged at byte ") + std::to_string(parsed.offset) + " (" +
                           parsed.description() + ") before any geometry";
            return failed;
        }
    } catch (const std::bad_alloc&) {
        ImportResult failed;
        failed.error = "not enough memory to import the file";
        return failed;
    }
    if (result.objects.empty()) result.report.note("the file holds no faces");
    if (result.frameObject == nullptr && !result.objects.empty()) result.frameObject = result.objects.back().get();
    result.placeCamera = result.frameObject != nullptr;
    reportImportShare(options, totalBytes, 1.0);
    return result;
}

}  // namespace

ImportResult importColladaBytes(std::span<const std::uint8_t> bytes, const ImportOptions& options) {
    return importDocument(options, bytes.size(), [&](pugi::xml_document& xml) {
        return xml.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_auto);
    });
}

ImportResult importCollada(const std::filesystem::path& path, ImportOptions options) {
    std::optional<FileBytes> file(std::in_place, path);
    if (!file->opened()) {
        ImportResult failed;
        failed.error = file->notRegular() ? "not a regular file" : "cannot open the file";
        return failed;
    }
    if (!options.sideFiles.read && !options.sideFiles.locate) options.sideFiles = sideFilesIn(path.parent_path());
    const std::uint64_t totalBytes = file->bytes().size();
    return importDocument(options, totalBytes, [&](pugi::xml_document& xml) {
        const std::span<const std::uint8_t> bytes = file->bytes();
        const pugi::xml_parse_result parsed =
            xml.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_auto);
        // The parser keeps a copy of its own: the file is held in memory
        // once, not twice, while the meshes are built.
        file.reset();
        return parsed;
    });
}

}  // namespace morvanex
