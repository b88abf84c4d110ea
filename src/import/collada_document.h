// Shared state of one COLLADA import: the parsed document, its elements by
// id, the axis and unit conversion and the records built so far.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <pugixml.hpp>

#include "import/import_result.h"

namespace morvanex::collada {

// The numbers or names of a <source> through its accessor.
struct Source {
    std::vector<float> floats;
    std::vector<std::string> names;
    std::size_t stride = 1;
    std::size_t offset = 0;
    std::size_t count = 0;  // items (of `stride` values)
    bool valid = false;
    // Item i's value k, or `fallback` past the data.
    float at(std::size_t i, std::size_t k, float fallback = 0.0f) const {
        const std::size_t j = offset + i * stride + k;
        return j < floats.size() ? floats[j] : fallback;
    }
};

// Influences of one skin, per vertex of its geometry: the four largest,
// their weights summing to 1.
struct SkinInfluences {
    std::array<float, 4> weights{1.0f, 0.0f, 0.0f, 0.0f};
    std::array<std::int32_t, 4> joints{-1, -1, -1, -1};
};

struct Skin {
    std::string controllerId;
    std::string geometryId;
    Mat4 bindShape;  // converted to scene axes and units
    std::vector<std::string> jointNames;
    std::vector<Mat4> inverseBind;  // converted
    std::vector<SkinInfluences> vertices;
};

// One element of a node's transform stack, as written (values animated in
// place when posing).
struct TransformStep {
    std::string kind;  // "translate", "rotate", "scale" or "matrix"
    std::string sid;
    std::vector<float> values;
};

// The file matrix of a transform stack (row vectors, file axes and units).
Mat4 stackMatrix(const std::vector<TransformStep>& steps);

// A node that placed an object: what posing it again needs.
struct PlacedNode {
    SceneObject* object = nullptr;
    Mat4 above;  // transforms of object-less ancestors between it and its parent object
    std::vector<TransformStep> steps;
};

// The objects made from one geometry, and whether a node placed them yet.
struct GeometryObjects {
    std::vector<SceneObject*> objects;
    bool placed = false;
};

class Document {
public:
    Document(ImportResult& into, const ImportOptions& with) : result(into), options(with) {}

    ImportResult& result;
    const ImportOptions& options;
    pugi::xml_document xml;
    pugi::xml_node root;

    std::unordered_map<std::string, pugi::xml_node> byId;
    // <instance_material> symbol -> material id, over the whole document.
    std::unordered_map<std::string, std::string> materialBindings;

    Mat4 toScene;      // file axes and units to the scene's (row vectors)
    Mat4 fromScene;    // its inverse
    Mat4 axesOnly;     // the rotation alone, for normals

    std::map<std::string, Skin> skins;  // by geometry id
    std::map<std::string, GeometryObjects> geometryObjects;
    std::unordered_map<std::string, PlacedNode> placedNodes;  // by node id

    // Sets an object's position, orientation and scale from a converted
    // local matrix.
    static void pose(SceneObject& object, const Mat4& sceneMatrix);

    void indexIds();
    // The element a "#id" reference names; empty for other files' elements
    // (counted in the report) and missing ones.
    pugi::xml_node resolve(std::string_view url);

    const Source& source(std::string_view id);
    // Reads the sources of these ids that are not read yet, in parallel, so
    // that source() finds them.
    void readSourcesAhead(const std::vector<std::string>& ids);
    // A source's items as scene positions and as unit scene normals,
    // converted once for all the corners that share them.
    const std::vector<Vec3>& scenePositions(const Source& s);
    const std::vector<Vec3>& sceneNormals(const Source& s);
    Mat4 convert(const Mat4& fileMatrix) const { return fromScene * fileMatrix * toScene; }
    Vec3 position(Vec3 p) const { return transformPoint(p, toScene); }
    Vec3 direction(Vec3 n) const { return transformNormal(n, axesOnly); }

private:
    std::unordered_map<std::string, Source> sources_;
    std::unordered_map<const Source*, std::vector<Vec3>> scenePositions_, sceneNormals_;
};

// Numbers of an element's text, at most `limit` of them.
std::vector<float> floatList(pugi::xml_node node, std::size_t limit = SIZE_MAX);
// Integers held in 32 bits: larger ones are out of every list's range.
std::vector<std::int32_t> intList(pugi::xml_node node);
// A COLLADA matrix (16 numbers, column vectors) as a Mat4 for row vectors.
Mat4 matrixFromFloats(const float* values);

void readUnitsAndAxes(Document& doc);
void readSkins(Document& doc);
void buildGeometries(Document& doc);
void placeNodes(Document& doc);
void readAnimations(Document& doc);

}  // namespace morvanex::collada
