// One piece of an OBJ text parsed on its own: the lists it adds and its
// faces with indices as written. Joining the pieces in order resolves the
// indices exactly as one sequential pass would.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "import/import_report.h"

namespace morvanex::obj {

// Index values as written: > 0 counts from the start of the list, < 0 back
// from its end at that statement, 0 is never valid. kAbsent: no such index
// in the corner ("1//3" has no texture coordinate).
inline constexpr std::int32_t kAbsent = INT32_MIN;

// Corners keep a written index counted from 0 when it counts from the
// start, so that a file whose indices all lie inside the lists needs no
// pass over its corners before the objects are built; the others keep
// their value, and a written 0 a value no other index takes.
inline constexpr std::int32_t kWrittenZero = INT32_MAX;
inline std::int32_t storedIndex(std::int32_t written) {
    if (written > 0) return written - 1;
    return written == 0 ? kWrittenZero : written;
}
inline std::int32_t writtenIndex(std::int32_t stored) {
    if (stored == kWrittenZero) return 0;
    return stored >= 0 ? stored + 1 : stored;
}

// Indices as stored (see storedIndex); kAbsent where none is written.
struct Corner {
    std::int32_t v = kAbsent;
    std::int32_t t = kAbsent;
    std::int32_t n = kAbsent;
};

struct Face {
    std::size_t firstCorner = 0;
    std::uint32_t cornerCount = 0;
    bool line = false;  // an "l" statement: a polyline, not a polygon
};

enum class EventKind : std::uint8_t { Group, Material, Library };

// A statement that changes where the following faces go, before face `face`.
struct Event {
    std::size_t face = 0;
    EventKind kind = EventKind::Group;
    std::string name;
};

// The list sizes within the piece when a face with relative indices was read.
struct RelativeFace {
    std::size_t face = 0;
    std::size_t positions = 0, texcoords = 0, normals = 0;
};

struct Chunk {
    std::vector<float> positions;  // 3 per entry, as written
    std::vector<float> texcoords;  // 2 per entry
    std::vector<float> normals;    // 3 per entry
    std::vector<Corner> corners;
    // The faces, listed only once one is not a triangle: until then face f
    // is corners 3f to 3f + 2, and nothing more need be written.
    std::vector<Face> listedFaces;
    std::vector<Event> events;
    std::vector<RelativeFace> relative;  // in face order
    ImportReport report;
    // The largest index of each kind as written, and whether any index is 0
    // or negative: when every index lies inside the whole lists, joining
    // needs no check per face.
    std::int32_t largestPosition = 0, largestTexcoord = 0, largestNormal = 0;
    bool anyIndexBelowOne = false;
    // True while every face is a triangle: a run of faces then makes as
    // many triangles as it holds faces.
    bool onlyTriangles = true;

    std::size_t faceCount() const { return onlyTriangles ? corners.size() / 3 : listedFaces.size(); }
    Face face(std::size_t f) const { return onlyTriangles ? Face{3 * f, 3, false} : listedFaces[f]; }
    // Adds a face whose corners are the last ones added.
    void addFace(const Face& face) {
        const bool triangle = !face.line && face.cornerCount == 3;
        if (onlyTriangles && triangle) return;
        if (onlyTriangles) {
            listedFaces.reserve(face.firstCorner / 3 + 1);
            for (std::size_t f = 0; f < face.firstCorner / 3; ++f) listedFaces.push_back({3 * f, 3, false});
            onlyTriangles = false;
        }
        listedFaces.push_back(face);
    }

    // Set when joining: false for a face with an index outside its list;
    // empty when every face is whole.
    std::vector<std::uint8_t> faceOk;
    bool faceWhole(std::size_t face) const { return faceOk.empty() || faceOk[face] != 0; }
};

// Cuts the text into about `pieces` parts at line ends, never inside a line
// continued with a backslash.
std::vector<std::string_view> splitAtLines(std::string_view text, std::size_t pieces);

void parseChunk(std::string_view text, Chunk& out);

}  // namespace morvanex::obj
