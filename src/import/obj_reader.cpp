// Joining the parsed pieces of an OBJ text and building the objects.
#include "import/obj_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <set>
#include <stdexcept>
#include <thread>
#include <utility>

#include "import/import_mesh.h"
#include "base/large_pages.h"
#include "import/mtl_reader.h"
#include "import/obj_chunk.h"
#include "import/parallel.h"
#include "import/text_scan.h"
#include "import/triangulate.h"
#include "base/text_encoding.h"

namespace morvanex {

namespace {

using obj::Chunk;
using obj::Corner;
using obj::Face;

constexpr float kObjScale = 10.0f;
// Texts below this size are read by one thread: starting others costs more.
constexpr std::size_t kParallelMinBytes = std::size_t{1} << 20;
// Faces per piece of building work: their vertices (about 1.7 MB) stay in
// the cache between being made and being filled in.
constexpr std::size_t kFacesPerRun = 1u << 13;

constexpr std::string_view kOutOfRange = "faces with an index outside its list, skipped";

// All entries of one kind, the pieces' lists end to end, in storage that is
// not cleared first: every value is copied in.
struct Lists {
    std::unique_ptr<float[]> positions, texcoords, normals;
};

struct Bases {
    std::size_t positions = 0, texcoords = 0, normals = 0;
};

// One index as stored made absolute and 0-based: -1 when absent; `ok` turns
// false when it lies outside its list.
std::int32_t resolve(std::int32_t stored, std::size_t base, std::size_t local, std::size_t total, bool required,
                     bool& ok) {
    if (stored == obj::kAbsent) {
        if (required) ok = false;
        return -1;
    }
    const std::int32_t raw = obj::writtenIndex(stored);
    std::int64_t a = -1;
    if (raw > 0) {
        a = static_cast<std::int64_t>(raw) - 1;
    } else if (raw < 0) {
        a = static_cast<std::int64_t>(base + local) + raw;
    }
    if (a < 0 || a >= static_cast<std::int64_t>(total)) {
        ok = false;
        return -1;
    }
    return static_cast<std::int32_t>(a);
}

// True when every index of the piece is written from 1 and lies inside the
// whole lists: the usual file, joined without a check per face.
bool allIndicesInside(const Chunk& c, const Bases& total) {
    const auto inside = [](std::int32_t largest, std::size_t count) {
        return largest <= 0 || static_cast<std::size_t>(largest) <= count;
    };
    return !c.anyIndexBelowOne && inside(c.largestPosition, total.positions) &&
           inside(c.largestTexcoord, total.texcoords) && inside(c.largestNormal, total.normals);
}

void resolveChunk(Chunk& c, Bases base, const Bases& total) {
    if (allIndicesInside(c, total)) {
        // Stored from 0 already; an absent index is negative as a
        // resolved one would be.
        c.faceOk.clear();
        return;
    }
    c.faceOk.assign(c.faceCount(), 1);
    std::size_t r = 0;
    std::size_t outOfRange = 0;
    for (std::size_t f = 0; f < c.faceCount(); ++f) {
        obj::RelativeFace local;
        if (r < c.relative.size() && c.relative[r].face == f) local = c.relative[r++];
        const Face face = c.face(f);
        bool ok = true;
        for (std::size_t k = face.firstCorner; k < face.firstCorner + face.cornerCount; ++k) {
            Corner& corner = c.corners[k];
            corner.v = resolve(corner.v, base.positions, local.positions, total.positions, true, ok);
            corner.t = resolve(corner.t, base.texcoords, local.texcoords, total.texcoords, false, ok);
            corner.n = resolve(corner.n, base.normals, local.normals, total.normals, false, ok);
        }
        if (!ok) {
            c.faceOk[f] = 0;
            ++outOfRange;
        }
    }
    c.report.damage(kOutOfRange, outOfRange);
}

std::size_t trianglesOf(const Face& face) { return face.line ? face.cornerCount - 1 : face.cornerCount - 2; }

// One object being built: a group, split by material.
struct Part {
    std::string name;
    std::string material;
    std::size_t triangles = 0;
    std::vector<MeshVertex> vertices;
    std::vector<std::int32_t> indices;  // 0, 1, 2, ...: one vertex per corner
};

// A run of consecutive faces of one piece going to one part.
struct Run {
    std::size_t chunk = 0;
    std::size_t faceBegin = 0, faceEnd = 0;
    std::size_t part = 0;
    std::size_t firstVertex = 0;
};

struct Layout {
    std::vector<Part> parts;
    std::vector<Run> runs;
    std::vector<std::string> libraries;
};

// Walks the faces and events in file order: which part each face goes to.
Layout layOut(const std::vector<Chunk>& chunks, const std::string& defaultName) {
    Layout layout;
    std::set<std::string> takenNames;
    std::map<std::pair<std::size_t, std::string>, std::size_t> partOf;  // (group, material) -> part
    std::size_t group = 0;                                            // 0: faces before any group
    std::string groupName = defaultName;
    std::size_t groupsMade = 0;
    std::string material;
    std::size_t currentPart = SIZE_MAX;
    Run* open = nullptr;
    for (std::size_t ci = 0; ci < chunks.size(); ++ci) {
        const Chunk& c = chunks[ci];
        std::size_t ev = 0;
        open = nullptr;
        const auto applyEvent = [&](const obj::Event& e) {
            switch (e.kind) {
            case obj::EventKind::Group:
                group = ++groupsMade;
                groupName = uniqueName(e.name, takenNames);
                takenNames.insert(groupName);
                break;
            case obj::EventKind::Material:
                material = e.name;
                break;
            case obj::EventKind::Library:
                layout.libraries.push_back(e.name);
                return;
            }
            currentPart = SIZE_MAX;
            open = nullptr;
        };
        const auto enterPart = [&] {
            if (currentPart != SIZE_MAX) return;
            const auto key = std::make_pair(group, material);
            auto it = partOf.find(key);
            if (it == partOf.end()) {
                Part part;
                const bool groupHasPart = std::any_of(partOf.begin(), partOf.end(),
                                                      [&](const auto& e) { return e.first.first == group; });
                // A group whose material changes gives one object per material,
                // the later ones named after group and material.
                if (groupHasPart) {
                    part.name = uniqueName(groupName + "_" + material, takenNames);
                } else {
                    part.name = group == 0 ? uniqueName(groupName, takenNames) : groupName;
                }
                takenNames.insert(part.name);
                part.material = material;
                layout.parts.push_back(std::move(part));
                it = partOf.emplace(key, layout.parts.size() - 1).first;
            }
            currentPart = it->second;
        };
        const auto addFace = [&](std::size_t f) {
            enterPart();
            Part& part = layout.parts[currentPart];
            if (open == nullptr || open->part != currentPart || open->faceEnd != f ||
                open->faceEnd - open->faceBegin >= kFacesPerRun) {
                layout.runs.push_back({ci, f, f, currentPart, part.triangles * 3});
                open = &layout.runs.back();
            }
            open->faceEnd = f + 1;
            part.triangles += trianglesOf(c.face(f));
        };
        // Whole faces between two events all go to one part: runs of them
        // are laid out at once.
        const auto addWholeFaces = [&](std::size_t f, std::size_t stop) {
            enterPart();
            while (f < stop) {
                const std::size_t runEnd = std::min(stop, f + kFacesPerRun);
                Part& part = layout.parts[currentPart];
                layout.runs.push_back({ci, f, runEnd, currentPart, part.triangles * 3});
                std::size_t triangles = c.onlyTriangles ? runEnd - f : 0;
                for (std::size_t g = f; !c.onlyTriangles && g < runEnd; ++g) triangles += trianglesOf(c.face(g));
                part.triangles += triangles;
                f = runEnd;
            }
            open = nullptr;
        };
        const std::size_t faces = c.faceCount();
        for (std::size_t f = 0; f < faces;) {
            while (ev < c.events.size() && c.events[ev].face == f) applyEvent(c.events[ev++]);
            const std::size_t stop = ev < c.events.size() ? std::min(c.events[ev].face, faces) : faces;
            if (c.faceOk.empty()) {
                addWholeFaces(f, stop);
                f = stop;
                continue;
            }
            for (; f < stop; ++f) {
                if (c.faceWhole(f)) addFace(f);
            }
        }
        while (ev < c.events.size()) applyEvent(c.events[ev++]);
    }
    return layout;
}

// Counts of what the building changed, per worker, summed at the end.
struct BuildCounts {
    std::size_t split = 0, concave = 0, degenerate = 0, tooLarge = 0;
    std::size_t flatNormals = 0, segments = 0;
};

class RunBuilder {
public:
    RunBuilder(const Lists& lists, float scale) : lists_(lists), scale_(scale) {}

    // The box around what the runs built so far.
    PositionBounds bounds;

    void build(const Chunk& c, const Run& run, MeshVertex* out, BuildCounts& counts) {
        out += run.firstVertex;
        for (std::size_t f = run.faceBegin; f < run.faceEnd; ++f) {
            if (!c.faceWhole(f)) continue;
            const Face face = c.face(f);
            const Corner* k = &c.corners[face.firstCorner];
            if (face.line) {
                for (std::uint32_t i = 0; i + 1 < face.cornerCount; ++i) out = segment(k[i], k[i + 1], out);
                counts.segments += face.cornerCount - 1;
            } else if (face.cornerCount == 3) {
                out = triangle(k[2], k[1], k[0], out, counts);
            } else {
                out = polygon(k, face.cornerCount, out, counts);
            }
        }
    }

private:
    Vec3 filePosition(const Corner& k) const {
        const float* p = &lists_.positions[static_cast<std::size_t>(k.v) * 3];
        return {p[0], p[1], p[2]};
    }
    Vec3 scenePosition(Vec3 p) const { return {-p.x * scale_, p.y * scale_, p.z * scale_}; }

    void corner(const Corner& k, Vec3 position, MeshVertex& v) {
        // The skin fields keep the unbound values the vertex was made with.
        v.position = position;
        bounds.add(position);
        if (k.t >= 0) {
            const float* t = &lists_.texcoords[static_cast<std::size_t>(k.t) * 2];
            v.texcoord = {t[0], 1.0f - t[1]};
        } else {
            v.texcoord = {0.0f, 1.0f};
        }
        v.texcoord2 = v.texcoord;
        if (k.n >= 0) {
            const float* n = &lists_.normals[static_cast<std::size_t>(k.n) * 3];
            v.normal = {-n[0], n[1], n[2]};  // mirrored with the positions
        }
    }

    // Corners in drawing order (already reversed from the file's).
    MeshVertex* triangle(const Corner& a, const Corner& b, const Corner& c, MeshVertex* out, BuildCounts& counts) {
        const Vec3 pa = scenePosition(filePosition(a));
        const Vec3 pb = scenePosition(filePosition(b));
        const Vec3 pc = scenePosition(filePosition(c));
        corner(a, pa, out[0]);
        corner(b, pb, out[1]);
        corner(c, pc, out[2]);
        if (a.n < 0 || b.n < 0 || c.n < 0) {
            const Vec3 flat = triangleNormal(pa, pb, pc);
            for (int i = 0; i < 3; ++i) {
                const Corner& k = i == 0 ? a : (i == 1 ? b : c);
                if (k.n < 0) out[i].normal = flat;
            }
            ++counts.flatNormals;
        }
        return out + 3;
    }

    MeshVertex* polygon(const Corner* k, std::uint32_t n, MeshVertex* out, BuildCounts& counts) {
        points_.resize(n);
        for (std::uint32_t i = 0; i < n; ++i) points_[i] = filePosition(k[i]);
        triangles_.clear();
        const PolygonShape shape = triangulatePolygon(points_, triangles_);
        ++counts.split;
        if (shape == PolygonShape::Concave) ++counts.concave;
        if (shape == PolygonShape::Degenerate) ++counts.degenerate;
        if (shape == PolygonShape::TooLarge) ++counts.tooLarge;
        for (const CornerTriangle& t : triangles_) out = triangle(k[t[2]], k[t[1]], k[t[0]], out, counts);
        return out;
    }

    // A thin triangle along the segment so that it shows: its third corner
    // lies a tenth of a file unit aside, across the second point's normal
    // (or any direction across the segment when there is none).
    MeshVertex* segment(const Corner& a, const Corner& b, MeshVertex* out) {
        const Vec3 p0 = filePosition(a);
        const Vec3 p1 = filePosition(b);
        const Vec3 along = normalize(p0 - p1);
        Vec3 across{0.0f, 0.0f, 1.0f};
        if (b.n >= 0) {
            const float* nn = &lists_.normals[static_cast<std::size_t>(b.n) * 3];
            across = normalize(Vec3{nn[0], nn[1], nn[2]});
        } else if (std::abs(along.z) > 0.9f) {
            across = {0.0f, 1.0f, 0.0f};
        }
        const Vec3 q = p1 + normalize(cross(along, across)) * 0.1f;
        const Vec3 sq = scenePosition(q), s0 = scenePosition(p0), s1 = scenePosition(p1);
        corner(a, sq, out[0]);
        corner(a, s0, out[1]);
        corner(b, s1, out[2]);
        const Vec3 flat = triangleNormal(sq, s0, s1);
        if (a.n < 0) out[0].normal = out[1].normal = flat;
        if (b.n < 0) out[2].normal = flat;
        return out + 3;
    }

    const Lists& lists_;
    float scale_;
    std::vector<Vec3> points_;
    std::vector<CornerTriangle> triangles_;
};

void applyMaterial(SceneObject& object, const Part& part, const MtlLibrary& library, const ImportOptions& options,
                   ImportResult& result) {
    if (part.material.empty()) return;
    const ObjMaterial* material = library.find(part.material);
    if (material == nullptr) {
        result.report.note("material not found in the material libraries: " + part.material);
        return;
    }
    object.materialColours[0] = material->diffuse;
    object.materialColours[2] = material->specular;
    object.opacity = material->diffuse.w;
    if (!material->diffuseMap.empty()) attachMaterialImage(object, material->diffuseMap, options, result);
}

MtlLibrary readLibraries(const std::vector<std::string>& names, const ImportOptions& options, ImportReport& report) {
    MtlLibrary library;
    std::set<std::string> read;
    for (const std::string& name : names) {
        if (name.empty() || !read.insert(name).second) continue;
        std::optional<std::string> text = options.sideFiles.read ? options.sideFiles.read(name) : std::nullopt;
        if (!text) {
            // "mtllib a.mtl b.mtl" names several libraries; a name with
            // spaces names one. Try the words when the whole is not there.
            bool any = false;
            const char* p = name.data();
            const char* end = name.data() + name.size();
            for (std::string_view w = scan::word(p, end); !w.empty(); w = scan::word(p, end)) {
                if (w.size() == name.size()) break;
                if (auto part = options.sideFiles.read ? options.sideFiles.read(w) : std::nullopt) {
                    readMtl(*part, library, report);
                    any = true;
                }
            }
            if (!any) report.note("material library not found: " + name);
            continue;
        }
        readMtl(*text, library, report);
    }
    return library;
}

void reportBuild(const BuildCounts& counts, ImportReport& report) {
    report.count("polygons with more than three corners, triangulated", counts.split);
    report.count("concave polygons, ear clipped in their plane", counts.concave);
    report.count("polygons without area or crossing themselves, fanned", counts.degenerate);
    report.count("concave polygons too large to ear clip, fanned", counts.tooLarge);
    report.count("triangles without normals, given flat normals", counts.flatNormals);
    report.count("line segments, drawn as thin triangles", counts.segments);
}

// The pieces' lists copied end to end, one piece and kind per task, each
// piece's list given back as soon as it is copied.
Lists joinLists(std::vector<Chunk>& chunks, const std::vector<Bases>& bases, const Bases& total, unsigned threads) {
    Lists lists;
    lists.positions = std::make_unique_for_overwrite<float[]>(total.positions * 3);
    lists.texcoords = std::make_unique_for_overwrite<float[]>(total.texcoords * 2);
    lists.normals = std::make_unique_for_overwrite<float[]>(total.normals * 3);
    // Millions of entries: a few large pages rather than thousands of small.
    adviseLargePages(lists.positions.get(), total.positions * 3 * sizeof(float));
    adviseLargePages(lists.texcoords.get(), total.texcoords * 2 * sizeof(float));
    adviseLargePages(lists.normals.get(), total.normals * 3 * sizeof(float));
    runParallel(chunks.size() * 3, threads, [&](std::size_t task) {
        Chunk& c = chunks[task / 3];
        const Bases& at = bases[task / 3];
        const auto move = [](std::vector<float>& from, float* to) {
            if (!from.empty()) std::memcpy(to, from.data(), from.size() * sizeof(float));
            std::vector<float>().swap(from);
        };
        switch (task % 3) {
        case 0: return move(c.positions, lists.positions.get() + at.positions * 3);
        case 1: return move(c.texcoords, lists.texcoords.get() + at.texcoords * 2);
        default: return move(c.normals, lists.normals.get() + at.normals * 3);
        }
    });
    return lists;
}

void buildObjects(std::vector<Chunk>& chunks, const ImportOptions& options, unsigned threads, ImportResult& result) {
    // Where each piece's entries start in the whole lists.
    std::vector<Bases> bases(chunks.size());
    Bases total;
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        bases[i] = total;
        total.positions += chunks[i].positions.size() / 3;
        total.texcoords += chunks[i].texcoords.size() / 2;
        total.normals += chunks[i].normals.size() / 3;
    }
    if (total.positions > INT32_MAX || total.texcoords > INT32_MAX || total.normals > INT32_MAX) {
        throw std::length_error("too many entries");
    }
    runParallel(chunks.size(), threads, [&](std::size_t i) { resolveChunk(chunks[i], bases[i], total); });

    const Lists lists = joinLists(chunks, bases, total, threads);
    for (const Chunk& c : chunks) result.report.merge(c.report);

    Layout layout = layOut(chunks, options.defaultName);
    // Room for each part's vertices, taken a run at a time below.
    for (Part& part : layout.parts) {
        part.vertices.reserve(part.triangles * 3);
        adviseLargePages(part.vertices.data(), part.vertices.capacity() * sizeof(MeshVertex));
        part.indices.reserve(part.triangles * 3);
        adviseLargePages(part.indices.data(), part.indices.capacity() * sizeof(std::int32_t));
    }

    // A vector makes its elements itself, one after the other: whoever takes
    // a run has the system give the run's pages (in parallel: that is where
    // the system clears them), makes the part's vertices and indices up to
    // the run's end under the part's lock, then fills in its own, all while
    // they are still in its cache. The storage never moves, as the room was
    // reserved.
    std::vector<std::size_t> runEnd(layout.runs.size());
    {
        std::vector<std::size_t> nextStart(layout.parts.size());
        for (std::size_t p = 0; p < layout.parts.size(); ++p) nextStart[p] = layout.parts[p].triangles * 3;
        for (std::size_t i = layout.runs.size(); i-- > 0;) {
            runEnd[i] = nextStart[layout.runs[i].part];
            nextStart[layout.runs[i].part] = layout.runs[i].firstVertex;
        }
    }
    std::vector<std::mutex> making(layout.parts.size());
    std::vector<MeshVertex*> storage(layout.parts.size());
    for (std::size_t p = 0; p < layout.parts.size(); ++p) storage[p] = layout.parts[p].vertices.data();
    std::vector<std::int32_t*> indexStorage(layout.parts.size());
    for (std::size_t p = 0; p < layout.parts.size(); ++p) indexStorage[p] = layout.parts[p].indices.data();
    const auto makeVertices = [&](std::size_t part, std::size_t upTo) {
        const std::lock_guard<std::mutex> lock(making[part]);
        std::vector<MeshVertex>& vertices = layout.parts[part].vertices;
        // Copies of one made vertex: a few wide stores each.
        static const MeshVertex kMade{};
        if (vertices.size() < upTo) vertices.resize(upTo, kMade);
        std::vector<std::int32_t>& indices = layout.parts[part].indices;
        if (indices.size() < upTo) indices.resize(upTo);
    };

    std::vector<BuildCounts> counts(layout.runs.size());
    std::vector<PositionBounds> runBounds(layout.runs.size());
    const float scale = options.scale > 0.0f ? options.scale : kObjScale;
    runParallel(layout.runs.size(), threads, [&](std::size_t i) {
        const Run& run = layout.runs[i];
        populatePages(storage[run.part] + run.firstVertex, (runEnd[i] - run.firstVertex) * sizeof(MeshVertex));
        makeVertices(run.part, runEnd[i]);
        std::int32_t* index = indexStorage[run.part];
        for (std::size_t v = run.firstVertex; v < runEnd[i]; ++v) index[v] = static_cast<std::int32_t>(v);
        RunBuilder local(lists, scale);
        local.build(chunks[run.chunk], run, storage[run.part], counts[i]);
        runBounds[i] = local.bounds;
    });
    std::vector<PositionBounds> partBounds(layout.parts.size());
    for (std::size_t i = 0; i < layout.runs.size(); ++i) partBounds[layout.runs[i].part].add(runBounds[i]);
    BuildCounts sum;
    for (const BuildCounts& c : counts) {
        sum.split += c.split;
        sum.concave += c.concave;
        sum.degenerate += c.degenerate;
        sum.tooLarge += c.tooLarge;
        sum.flatNormals += c.flatNormals;
        sum.segments += c.segments;
    }
    reportBuild(sum, result.report);
    // Giving back the pieces' large lists is work too: share it.
    runParallel(chunks.size(), threads, [&](std::size_t i) { chunks[i] = Chunk(); });
    chunks.clear();

    const MtlLibrary library = readLibraries(layout.libraries, options, result.report);
    for (Part& part : layout.parts) {
        auto object = newImportedObject(part.name);
        const std::size_t p = static_cast<std::size_t>(&part - layout.parts.data());
        giveCornerMesh(*object, std::move(part.vertices), std::move(part.indices), partBounds[p]);
        applyMaterial(*object, part, library, options, result);
        result.objects.push_back(std::move(object));
    }
}

}  // namespace

ImportResult importObjText(std::string_view text, const ImportOptions& options) {
    ImportResult result;
    try {
        // Old Macintosh files end lines with CR alone.
        std::string crLines;
        if (text.find('\n') == std::string_view::npos && text.find('\r') != std::string_view::npos) {
            crLines.assign(text);
            std::replace(crLines.begin(), crLines.end(), '\r', '\n');
            text = crLines;
        }
        const unsigned threads = workerThreads(options.threads);
        // Vertex lines and face lines cost differently per byte: several
        // pieces per thread, taken as threads come free, keep them all busy
        // to the end.
        const std::size_t pieces = text.size() < kParallelMinBytes || threads == 1 ? 1 : std::size_t{8} * threads;
        const std::vector<std::string_view> parts = obj::splitAtLines(text, pieces);
        std::vector<Chunk> chunks(parts.size());
        // The caller's thread, which takes pieces too, says how far the
        // parse is: half the way; building the objects is the other half.
        const std::thread::id caller = std::this_thread::get_id();
        std::atomic<std::size_t> parsedBytes{0};
        runParallel(parts.size(), threads, [&](std::size_t i) {
            obj::parseChunk(parts[i], chunks[i]);
            const std::size_t parsed = parsedBytes += parts[i].size();
            if (std::this_thread::get_id() == caller && !text.empty()) {
                reportImportShare(options, text.size(), 0.5 * static_cast<double>(parsed) / static_cast<double>(text.size()));
            }
        });
        buildObjects(chunks, options, threads, result);
    } catch (const std::bad_alloc&) {
        result.objects.clear();
        result.textures.clear();
        result.error = "not enough memory to import the file";
        return result;
    } catch (const std::length_error&) {
        result.objects.clear();
        result.textures.clear();
        result.error = "the file holds more than can be imported";
        return result;
    }
    if (result.objects.empty()) result.report.note("the file holds no faces");
    result.frameObject = result.objects.empty() ? nullptr : result.objects.back().get();
    result.placeCamera = !result.objects.empty();
    reportImportShare(options, text.size(), 1.0);
    return result;
}

ImportResult importObj(const std::filesystem::path& path, ImportOptions options) {
    options.defaultName = textFromPath(path.stem());
    return importFromFile(path, std::move(options), [](std::span<const std::uint8_t> bytes, const ImportOptions& o) {
        return importObjText({reinterpret_cast<const char*>(bytes.data()), bytes.size()}, o);
    });
}

}  // namespace morvanex
