// COLLADA import: skins, the node hierarchy that places the objects, the
// skeleton records and the animation channels.
#include <algorithm>
#include <cmath>
#include <set>

#include "import/collada_document.h"

namespace morvanex::collada {

namespace {

constexpr std::size_t kMaxNodeDepth = 64;

std::string withoutHash(std::string_view url) {
    if (!url.empty() && url[0] == '#') url.remove_prefix(1);
    return std::string(url);
}

std::vector<SkinInfluences> readInfluences(Document& doc, pugi::xml_node weights, std::size_t jointCount) {
    std::size_t jointOffset = 0, weightOffset = 0, stride = 1;
    const Source* weightSource = nullptr;
    for (pugi::xml_node in : weights.children("input")) {
        const std::string semantic = in.attribute("semantic").value();
        const std::size_t offset = std::min<unsigned long long>(in.attribute("offset").as_ullong(0), 1024);
        stride = std::max(stride, offset + 1);
        if (semantic == "JOINT") jointOffset = offset;
        if (semantic == "WEIGHT") {
            weightOffset = offset;
            weightSource = &doc.source(withoutHash(in.attribute("source").value()));
        }
    }
    const std::vector<std::int32_t> counts = intList(weights.child("vcount"));
    const std::vector<std::int32_t> v = intList(weights.child("v"));
    std::vector<SkinInfluences> out;
    out.reserve(counts.size());
    std::size_t at = 0;
    std::size_t trimmed = 0, bad = 0;
    std::vector<std::pair<float, std::int32_t>> pairs;
    for (std::int64_t n : counts) {
        if (n < 0 || static_cast<std::uint64_t>(n) > (v.size() - at) / stride) {
            doc.result.report.damage("COLLADA skin weight lists shorter than their counts, cut");
            break;
        }
        pairs.clear();
        for (std::int64_t k = 0; k < n; ++k, at += stride) {
            const std::int64_t joint = v[at + jointOffset];
            const std::int64_t w = v[at + weightOffset];
            if (joint < 0) continue;  // -1: the bind shape itself
            if (static_cast<std::size_t>(joint) >= jointCount || weightSource == nullptr || w < 0 ||
                static_cast<std::size_t>(w) >= weightSource->count) {
                ++bad;
                continue;
            }
            pairs.emplace_back(weightSource->at(static_cast<std::size_t>(w), 0), static_cast<std::int32_t>(joint));
        }
        std::stable_sort(pairs.begin(), pairs.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
        if (pairs.size() > 4) {
            ++trimmed;
            pairs.resize(4);
        }
        SkinInfluences s;
        s.weights = {0, 0, 0, 0};
        float sum = 0;
        for (const auto& pr : pairs) sum += pr.first;
        for (std::size_t k = 0; k < pairs.size(); ++k) {
            s.weights[k] = sum > 0.0f ? pairs[k].first / sum : 1.0f / static_cast<float>(pairs.size());
            s.joints[k] = pairs[k].second;
        }
        out.push_back(s);
    }
    doc.result.report.count("skinned vertices with more than four influences, cut to the four largest and renormalised",
                            trimmed);
    doc.result.report.damage("COLLADA skin influences naming no joint or weight, skipped", bad);
    return out;
}

}  // namespace

Mat4 stackMatrix(const std::vector<TransformStep>& steps) {
    // Written outermost first for column vectors: with row vectors the last
    // one applies first.
    Mat4 m;
    for (auto it = steps.rbegin(); it != steps.rend(); ++it) {
        const std::vector<float>& v = it->values;
        Mat4 step;
        if (it->kind == "translate" && v.size() >= 3) {
            step = matrixTranslation(v[0], v[1], v[2]);
        } else if (it->kind == "scale" && v.size() >= 3) {
            step = matrixScaling(v[0], v[1], v[2]);
        } else if (it->kind == "rotate" && v.size() >= 4) {
            // Counter-clockwise about the axis, as the right-handed file means;
            // transposing the left-handed rotation gives it.
            step = transpose(matrixRotationAxis({v[0], v[1], v[2]}, radians(v[3])));
        } else if (it->kind == "matrix" && v.size() >= 16) {
            step = matrixFromFloats(v.data());
        }
        m = m * step;
    }
    return m;
}

void Document::pose(SceneObject& object, const Mat4& m) {
    object.position = {m.m[3][0], m.m[3][1], m.m[3][2]};
    object.scale = {length(Vec3{m.m[0][0], m.m[0][1], m.m[0][2]}), length(Vec3{m.m[1][0], m.m[1][1], m.m[1][2]}),
                    length(Vec3{m.m[2][0], m.m[2][1], m.m[2][2]})};
    object.orientation = quatFromMatrix(m);
    const AxisAngle aa = quatToAxisAngle(object.orientation);
    object.rotationAxis = aa.axis;
    object.rotationAngle = aa.angle;
}

void readSkins(Document& doc) {
    for (pugi::xml_node controller : doc.root.child("library_controllers").children("controller")) {
        const pugi::xml_node skin = controller.child("skin");
        if (!skin) {
            if (controller.child("morph")) doc.result.report.count("COLLADA morph controllers, not read");
            continue;
        }
        const std::string geometry = withoutHash(skin.attribute("source").value());
        if (doc.skins.count(geometry) != 0) {
            doc.result.report.count("COLLADA geometries with a second skin, only the first read");
            continue;
        }
        Skin s;
        s.controllerId = controller.attribute("id").value();
        s.geometryId = geometry;
        const std::vector<float> bind = floatList(skin.child("bind_shape_matrix"), 16);
        if (bind.size() == 16) s.bindShape = doc.convert(matrixFromFloats(bind.data()));
        for (pugi::xml_node in : skin.child("joints").children("input")) {
            const std::string semantic = in.attribute("semantic").value();
            const Source& src = doc.source(withoutHash(in.attribute("source").value()));
            if (semantic == "JOINT") s.jointNames = src.names;
            if (semantic == "INV_BIND_MATRIX") {
                for (std::size_t i = 0; i < src.count && src.stride >= 16; ++i) {
                    float values[16];
                    for (std::size_t k = 0; k < 16; ++k) values[k] = src.at(i, k);
                    s.inverseBind.push_back(doc.convert(matrixFromFloats(values)));
                }
            }
        }
        if (s.jointNames.size() > kBoneSlots) {
            doc.result.report.count("skins with more joints than the 60 bone slots");
        }
        s.vertices = readInfluences(doc, skin.child("vertex_weights"), s.jointNames.size());
        doc.skins.emplace(geometry, std::move(s));
    }
}

namespace {

class NodeWalker {
public:
    explicit NodeWalker(Document& doc) : doc_(doc) {}

    void visit(pugi::xml_node node, SceneObject* parent, const Mat4& above, std::size_t depth) {
        if (depth > kMaxNodeDepth) {
            doc_.result.report.count("COLLADA nodes nested too deep, skipped");
            return;
        }
        if (!path_.insert(node.internal_object()).second) {
            doc_.result.report.damage("COLLADA node instances that contain themselves, skipped");
            return;
        }
        std::vector<TransformStep> steps;
        for (pugi::xml_node t : node.children()) {
            const std::string kind = t.name();
            if (kind == "translate" || kind == "rotate" || kind == "scale" || kind == "matrix") {
                steps.push_back({kind, t.attribute("sid").value(), floatList(t, 16)});
            } else if (kind == "skew" || kind == "lookat") {
                doc_.result.report.count("COLLADA skew and lookat transforms, ignored");
            }
        }
        const Mat4 local = stackMatrix(steps) * above;
        std::vector<SceneObject*> found = objectsOf(node);
        for (SceneObject* object : found) {
            if (parent != nullptr && !isAncestor(object, parent)) parent->addChild(*object);
            Document::pose(*object, doc_.convert(local));
            if (parent == nullptr) doc_.result.frameObject = object;  // the model: the last top-level one
        }
        const std::string id = node.attribute("id").value();
        if (!found.empty()) {
            doc_.placedNodes[id] = {found.front(), above, steps};
            for (const char* key : {"sid", "name", "id"}) {
                const std::string k = node.attribute(key).value();
                if (!k.empty()) jointObjects_.emplace(k, found.front());
            }
        }
        SceneObject* childParent = found.empty() ? parent : found.front();
        const Mat4 childAbove = found.empty() ? local : Mat4{};
        for (pugi::xml_node child : node.children()) {
            const std::string kind = child.name();
            if (kind == "node") visit(child, childParent, childAbove, depth + 1);
            if (kind == "instance_node") {
                const pugi::xml_node target = doc_.resolve(child.attribute("url").value());
                if (target) visit(target, childParent, childAbove, depth + 1);
            }
        }
        path_.erase(node.internal_object());
    }

    std::map<std::string, SceneObject*>& jointObjects() { return jointObjects_; }

private:
    static bool isAncestor(const SceneObject* object, const SceneObject* of) {
        std::size_t steps = 0;
        for (const SceneObject* up = of; up != nullptr && steps < 100000; up = up->parent, ++steps) {
            if (up == object) return true;
        }
        return false;
    }

    // The objects a node places: the one named after the node (its joint
    // object), else those of its geometry on its first instance.
    std::vector<SceneObject*> objectsOf(pugi::xml_node node) {
        for (const char* key : {"id", "name"}) {
            const std::string name = node.attribute(key).value();
            if (name.empty()) continue;
            for (const auto& object : doc_.result.objects) {
                if (object->name == name && byName_.insert(object.get()).second) {
                    return {object.get()};
                }
            }
        }
        std::string geometry;
        if (const pugi::xml_node g = node.child("instance_geometry")) {
            geometry = withoutHash(g.attribute("url").value());
            if (!doc_.resolve(g.attribute("url").value())) return {};
        } else if (const pugi::xml_node c = node.child("instance_controller")) {
            const pugi::xml_node controller = doc_.resolve(c.attribute("url").value());
            geometry = withoutHash(controller.child("skin").attribute("source").value());
        }
        const auto it = doc_.geometryObjects.find(geometry);
        if (it == doc_.geometryObjects.end()) return {};
        if (it->second.placed) {
            doc_.result.report.count("COLLADA geometries placed by more than one node, later places skipped");
            return {};
        }
        it->second.placed = true;
        std::vector<SceneObject*> out;
        for (SceneObject* object : it->second.objects) {
            if (byName_.count(object) == 0) out.push_back(object);
        }
        if (out.size() == 1) {
            const std::string name = node.attribute("name").value();
            if (!name.empty()) out.front()->name = name;
        }
        return out;
    }

    Document& doc_;
    std::set<const void*> path_;
    std::set<const SceneObject*> byName_;
    std::map<std::string, SceneObject*> jointObjects_;
};

void buildSkeletons(Document& doc, const std::map<std::string, SceneObject*>& jointObjects) {
    for (const auto& [geometry, skin] : doc.skins) {
        ImportedSkeleton skeleton;
        for (std::size_t j = 0; j < skin.jointNames.size(); ++j) {
            ImportedBone bone;
            bone.jointName = skin.jointNames[j];
            const auto it = jointObjects.find(bone.jointName);
            bone.object = it == jointObjects.end() ? nullptr : it->second;
            if (j < skin.inverseBind.size()) bone.inverseBindMatrix = skin.inverseBind[j];
            skeleton.bones.push_back(bone);
        }
        for (ImportedBone& bone : skeleton.bones) {
            if (bone.object == nullptr) continue;
            for (std::size_t p = 0; p < skeleton.bones.size(); ++p) {
                if (skeleton.bones[p].object != nullptr && skeleton.bones[p].object == bone.object->parent) {
                    bone.parent = static_cast<std::int32_t>(p);
                }
            }
            if (skeleton.root == nullptr) {
                SceneObject* top = bone.object;
                for (std::size_t steps = 0; top->parent != nullptr && steps < 100000; ++steps) top = top->parent;
                skeleton.root = top;
            }
        }
        skeleton.name = skeleton.root != nullptr ? skeleton.root->name : skin.controllerId;
        doc.result.skeletons.push_back(std::move(skeleton));
    }
}

}  // namespace

void placeNodes(Document& doc) {
    pugi::xml_node scene = doc.resolve(doc.root.child("scene").child("instance_visual_scene").attribute("url").value());
    if (!scene) scene = doc.root.child("library_visual_scenes").child("visual_scene");
    NodeWalker walker(doc);
    for (pugi::xml_node node : scene.children("node")) walker.visit(node, nullptr, Mat4{}, 0);
    buildSkeletons(doc, walker.jointObjects());
}

namespace {

struct Channel {
    std::size_t step = 0;
    std::vector<std::size_t> components;  // value positions the samples set, in order
    const Source* input = nullptr;
    const Source* output = nullptr;
};

// The value positions a target member names in a step of this kind.
std::vector<std::size_t> componentsOf(const TransformStep& step, std::string_view member) {
    std::vector<std::size_t> all(step.values.size());
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
    if (member.empty()) return all;
    if (member == "X") return {0};
    if (member == "Y") return {1};
    if (member == "Z") return {2};
    if (member == "ANGLE") return step.kind == "rotate" ? std::vector<std::size_t>{3} : std::vector<std::size_t>{};
    // "(i)" or "(r)(c)"
    std::vector<std::size_t> numbers;
    std::size_t at = 0;
    while ((at = member.find('(', at)) != std::string_view::npos) {
        numbers.push_back(static_cast<std::size_t>(std::strtoul(std::string(member.substr(at + 1)).c_str(), nullptr, 10)));
        ++at;
    }
    if (numbers.size() == 1) return {numbers[0]};
    if (numbers.size() == 2) return {numbers[1] * 4 + numbers[0]};  // (column)(row) of the written matrix
    return {};
}

float sampleAt(const Channel& c, std::size_t component, double time) {
    const Source& in = *c.input;
    const Source& out = *c.output;
    const std::size_t n = std::min(in.count, out.count);
    if (n == 0) return 0.0f;
    std::size_t hi = 0;
    while (hi < n && in.at(hi, 0) < time) ++hi;
    if (hi == 0) return out.at(0, component);
    if (hi >= n) return out.at(n - 1, component);
    const double t0 = in.at(hi - 1, 0), t1 = in.at(hi, 0);
    const float f = t1 > t0 ? static_cast<float>((time - t0) / (t1 - t0)) : 1.0f;
    return lerp(out.at(hi - 1, component), out.at(hi, component), f);
}

void collectChannels(Document& doc, pugi::xml_node animation, std::map<std::string, std::vector<Channel>>& out,
                     std::size_t depth) {
    if (depth > kMaxNodeDepth) return;
    for (pugi::xml_node channel : animation.children("channel")) {
        const std::string target = channel.attribute("target").value();
        const std::size_t slash = target.find('/');
        const std::string nodeId = target.substr(0, slash);
        const auto placed = doc.placedNodes.find(nodeId);
        if (slash == std::string::npos || placed == doc.placedNodes.end()) {
            doc.result.report.count("COLLADA animation channels of nodes without an object, skipped");
            continue;
        }
        std::string sid = target.substr(slash + 1);
        std::string member;
        const std::size_t cut = sid.find_first_of(".(");
        if (cut != std::string::npos) {
            member = sid.substr(cut + (sid[cut] == '.' ? 1 : 0));
            sid.resize(cut);
        }
        const std::vector<TransformStep>& steps = placed->second.steps;
        const auto step = std::find_if(steps.begin(), steps.end(), [&](const TransformStep& s) { return s.sid == sid; });
        const pugi::xml_node sampler = doc.resolve(channel.attribute("source").value());
        Channel c;
        if (step != steps.end()) {
            c.step = static_cast<std::size_t>(step - steps.begin());
            c.components = componentsOf(*step, member);
        }
        for (pugi::xml_node in : sampler.children("input")) {
            const std::string semantic = in.attribute("semantic").value();
            const Source& src = doc.source(withoutHash(in.attribute("source").value()));
            if (semantic == "INPUT") c.input = &src;
            if (semantic == "OUTPUT") c.output = &src;
        }
        const bool fits = std::all_of(c.components.begin(), c.components.end(),
                                      [&](std::size_t k) { return step != steps.end() && k < step->values.size(); });
        if (step == steps.end() || c.components.empty() || !fits || c.input == nullptr || c.output == nullptr ||
            c.output->stride < c.components.size()) {
            doc.result.report.count("COLLADA animation channels not understood, skipped");
            continue;
        }
        out[nodeId].push_back(std::move(c));
    }
    for (pugi::xml_node nested : animation.children("animation")) collectChannels(doc, nested, out, depth + 1);
}

}  // namespace

void readAnimations(Document& doc) {
    std::map<std::string, std::vector<Channel>> channels;
    for (pugi::xml_node animation : doc.root.child("library_animations").children("animation")) {
        collectChannels(doc, animation, channels, 0);
    }
    for (const auto& [nodeId, list] : channels) {
        const PlacedNode& node = doc.placedNodes.at(nodeId);
        std::set<double> times;
        for (const Channel& c : list) {
            for (std::size_t i = 0; i < c.input->count; ++i) {
                const float t = c.input->at(i, 0);
                if (std::isfinite(t)) times.insert(t);
            }
        }
        if (times.empty()) continue;
        auto animation = std::make_unique<Animation>(node.object->name);
        animation->target = node.object;
        node.object->animation = animation.get();
        Sequence& sequence = animation->addSequence("Animation poser");
        SceneObject pose("pose");
        for (double t : times) {
            std::vector<TransformStep> steps = node.steps;
            for (const Channel& c : list) {
                for (std::size_t k = 0; k < c.components.size(); ++k) {
                    steps[c.step].values[c.components[k]] = sampleAt(c, k, t);
                }
            }
            Document::pose(pose, doc.convert(stackMatrix(steps) * node.above));
            ObjectState& state = sequence.addKeyImage(t).addState(node.object);
            state.position = pose.position;
            state.rotationAxis = pose.rotationAxis;
            state.rotationAngle = pose.rotationAngle;
            state.scale = pose.scale;
        }
        sequence.sortKeyImages();
        doc.result.animations.push_back(std::move(animation));
    }
}

}  // namespace morvanex::collada
