// What the reader makes of scene files of older versions, written field by
// field by the test-only legacy builder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "scene/animation.h"
#include "scene/scene.h"
#include "scene/scene_object.h"
#include "scene/scene_texture.h"
#include "scenefile/legacy_file_builder.h"
#include "scenefile/scene_reader.h"

namespace morvanex {
namespace {

namespace lf = morvanex::testing;

constexpr std::size_t kHead = kServiceObjectCount;
constexpr float kDefaultTurn = -1.5707964f;

SceneReadReport read(const std::vector<std::uint8_t>& bytes, Scene& scene,
                     const SceneReadOptions& options = {}) {
    return readScene(std::span<const std::uint8_t>(bytes.data(), bytes.size()), scene, options);
}

// The i-th object read from the file (after the service objects).
const SceneObject& readObject(const Scene& scene, std::size_t i) {
    return *scene.objects().at(kHead + i);
}

std::string tagOf(const std::string& version) { return "Morvanexv4 " + version; }

std::string paramName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    for (char& c : name) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0) c = '_';
    }
    return name;
}

// --- Comparisons -------------------------------------------------------------

void expectF3(const Vec3& got, const lf::F3& want, const std::string& what) {
    EXPECT_FLOAT_EQ(got.x, want[0]) << what << ".x";
    EXPECT_FLOAT_EQ(got.y, want[1]) << what << ".y";
    EXPECT_FLOAT_EQ(got.z, want[2]) << what << ".z";
}

void expectF3(const Vec3& got, const Vec3& want, const std::string& what) {
    expectF3(got, lf::F3{want.x, want.y, want.z}, what);
}

void expectF4(const Vec4& got, const lf::F4& want, const std::string& what) {
    EXPECT_FLOAT_EQ(got.x, want[0]) << what << ".x";
    EXPECT_FLOAT_EQ(got.y, want[1]) << what << ".y";
    EXPECT_FLOAT_EQ(got.z, want[2]) << what << ".z";
    EXPECT_FLOAT_EQ(got.w, want[3]) << what << ".w";
}

void expectMatrix(const Mat4& got, const lf::F16& want, const std::string& what) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_FLOAT_EQ(got.m[r][c], want[static_cast<std::size_t>(r * 4 + c)])
                << what << "[" << r << "][" << c << "]";
        }
    }
}

void expectLight(const SceneLight& got, const lf::LegacyLight& want, const std::string& what) {
    EXPECT_FLOAT_EQ(got.intensity, want.intensity) << what;
    expectF4(got.positionOrColour, want.positionOrColour, what + " position");
    EXPECT_FLOAT_EQ(got.secondValue, want.secondValue) << what;
}

using Adjust = std::function<lf::F3(const lf::F3&)>;

lf::F3 unchanged(const lf::F3& p) { return p; }

// Compares stored curve points; `step` is the expected step of every point
// (none: the stored step of each point; not checked for plain curves).
void expectPoints(const std::vector<CurvePoint>& got, const std::vector<lf::LegacyCurvePoint>& want,
                  const std::string& what, const Adjust& adjust = unchanged,
                  const std::optional<std::int32_t>& step = std::nullopt, bool timed = false,
                  bool animatedCopies = false) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < want.size(); ++i) {
        const std::string at = what + " point " + std::to_string(i);
        expectF3(got[i].point, adjust(want[i].point), at);
        expectF3(got[i].handle1, adjust(want[i].handle1), at + " handle 1");
        expectF3(got[i].handle2, adjust(want[i].handle2), at + " handle 2");
        if (timed) {
            EXPECT_EQ(got[i].step, step.value_or(want[i].step)) << at << " step";
        }
        if (animatedCopies) {
            // The copies playback animates start on the base values, moved
            // with them.
            expectF3(got[i].animatedPoint, adjust(want[i].point), at + " animated");
            expectF3(got[i].animatedHandle1, adjust(want[i].handle1), at + " animated handle 1");
            expectF3(got[i].animatedHandle2, adjust(want[i].handle2), at + " animated handle 2");
        }
    }
}

// --- Quaternion of the oldest state blocks -------------------------------------

struct Quaternion {
    double x = 0, y = 0, z = 0, w = 1;
};

Quaternion hamilton(const Quaternion& a, const Quaternion& b) {
    return {a.w * b.x + b.w * a.x + (a.y * b.z - a.z * b.y),
            a.w * b.y + b.w * a.y + (a.z * b.x - a.x * b.z),
            a.w * b.z + b.w * a.z + (a.x * b.y - a.y * b.x),
            a.w * b.w - (a.x * b.x + a.y * b.y + a.z * b.z)};
}

Quaternion aboutAxis(int axis, double angle) {
    Quaternion q;
    const double s = std::sin(angle / 2.0);
    q.w = std::cos(angle / 2.0);
    (axis == 0 ? q.x : axis == 1 ? q.y : q.z) = s;
    return q;
}

// Vector E and value G of a state stored as angles about X, Y and Z.
void axisAngleOfOldState(const lf::F3& angles, lf::F3& e, float& g) {
    const Quaternion q = hamilton(hamilton(aboutAxis(2, angles[2]), aboutAxis(1, -angles[1])),
                                  aboutAxis(0, angles[0]));
    const double norm = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
    if (norm == 0.0) {
        e = {1.0f, 0.0f, 0.0f};
        g = 0.0f;
        return;
    }
    e = {static_cast<float>(q.x / norm), static_cast<float>(q.y / norm),
         static_cast<float>(q.z / norm)};
    g = static_cast<float>(2.0 * std::acos(std::min(1.0, std::max(-1.0, q.w))));
}

// --- What an object of a given version must read as ----------------------------------

void expectObject(const SceneObject& got, const lf::LegacyObject& want, const std::string& v,
                  const std::string& what) {
    SCOPED_TRACE(what + " \"" + want.name + "\" of a \"" + v + "\" file");
    const SceneObject fresh(want.name);
    const auto has = [&](const char* since) { return lf::legacyHasField(v, since); };

    // Mesh.
    EXPECT_EQ(got.name, want.name);
    ASSERT_EQ(got.vertexCount(), want.vertices.size());
    ASSERT_EQ(got.indexCount(), want.indices.size());
    EXPECT_EQ(got.meshValueA, want.meshValueA);
    EXPECT_EQ(got.meshValueB, want.meshValueB);
    EXPECT_EQ(got.triangleCount,
              want.triangleCount.value_or(static_cast<std::int32_t>(want.indices.size() / 3)));
    EXPECT_EQ(got.meshFlagA, want.meshFlagA);
    EXPECT_EQ(got.meshFlagB, want.meshFlagB);
    for (std::size_t i = 0; i < want.indices.size(); ++i) {
        EXPECT_EQ(got.indices[i], want.indices[i]) << "index " << i;
    }
    for (std::size_t i = 0; i < want.vertices.size(); ++i) {
        const auto& wv = want.vertices[i];
        const auto& gv = got.vertices[i];
        const std::string at = "vertex " + std::to_string(i);
        expectF3(gv.position, wv.position, at + " position");
        expectF3(gv.normal, wv.normal, at + " normal");
        EXPECT_FLOAT_EQ(gv.texcoord.x, wv.uv[0]) << at;
        EXPECT_FLOAT_EQ(gv.texcoord.y, wv.uv[1]) << at;
        // The second pair is always made equal to the first.
        EXPECT_FLOAT_EQ(gv.texcoord2.x, wv.uv[0]) << at << " second texcoord";
        EXPECT_FLOAT_EQ(gv.texcoord2.y, wv.uv[1]) << at << " second texcoord";
        const lf::F4 weights = has("1.16.5") ? wv.weights : lf::F4{1.0f - wv.w, 0.0f, 0.0f, 0.0f};
        const std::array<std::int32_t, 4> bones =
            has("1.16.5") ? wv.boneIndices : std::array<std::int32_t, 4>{0, -1, -1, -1};
        for (std::size_t k = 0; k < 4; ++k) {
            EXPECT_FLOAT_EQ(gv.blendWeights[k], weights[k]) << at << " weight " << k;
            EXPECT_EQ(gv.blendIndices[k], bones[k]) << at << " bone index " << k;
        }
    }

    // Transform.
    expectMatrix(got.baseMatrix, want.localMatrix, "local matrix");
    expectF3(got.pivot, want.pivot, "pivot");
    expectF3(got.position, want.position, "position");
    expectF3(got.positionOffset, want.positionOffset, "position offset");
    expectF3(got.rotationAxis, want.rotationAxis, "rotation axis");
    EXPECT_FLOAT_EQ(got.rotationAngle, want.rotationAngle);
    expectF3(got.scale, want.scale, "scale");
    const bool forcedOpacity = has("1.6") && !want.flagF1;
    EXPECT_FLOAT_EQ(got.opacity, forcedOpacity ? 0.2f : want.opacity) << "opacity";

    // Material.
    for (std::size_t c = 0; c < 4; ++c) {
        expectF4(got.materialColours[c], want.materialColours[c], "colour " + std::to_string(c + 1));
    }
    for (std::size_t s = 0; s < 10; ++s) {
        const bool expected = (s == 1 && !has("0.2")) ? fresh.renderSwitches[s] : want.renderSwitches[s];
        EXPECT_EQ(got.renderSwitches[s], expected) << "render switch " << s + 1;
    }
    for (std::size_t r = 0; r < 10; ++r) {
        const float expected = (r == 3 && !has("0.9")) ? fresh.renderValues[r] : want.renderValues[r];
        EXPECT_FLOAT_EQ(got.renderValues[r], expected) << "render value " << r + 1;
    }
    for (std::size_t slot = 0; slot < 3; ++slot) {
        if (lf::LegacyTextureRef{}.name == want.textures[slot].name) {
            EXPECT_EQ(got.textures[slot], nullptr) << "texture slot " << slot + 1;
            EXPECT_FALSE(got.textureEnabled[slot]) << "texture slot " << slot + 1;
        }
    }

    // Lights.
    if (has("0.2")) {
        EXPECT_EQ(got.objectLightFlag, want.objectLightFlag);
        EXPECT_EQ(got.objectLightFlagInverse, !want.objectLightFlag);
        EXPECT_EQ(got.objectLightCount, want.objectLightCount);
        for (std::size_t l = 0; l < 8; ++l) {
            expectLight(got.lights[l], want.lights[l], "object light " + std::to_string(l));
        }
        EXPECT_EQ(got.lightFlagB, want.lightFlagB);
        EXPECT_EQ(got.lightMode, want.lightMode);
    } else {
        EXPECT_EQ(got.objectLightFlag, fresh.objectLightFlag);
        EXPECT_EQ(got.objectLightFlagInverse, fresh.objectLightFlagInverse);
        EXPECT_EQ(got.objectLightCount, fresh.objectLightCount);
        for (std::size_t l = 0; l < 8; ++l) {
            expectLight(got.lights[l], lf::LegacyLight{}, "object light " + std::to_string(l));
        }
        EXPECT_EQ(got.lightFlagB, fresh.lightFlagB);
        EXPECT_EQ(got.lightMode, fresh.lightMode);
    }
    if (has("0.5")) {  // older files rebuild the blocks from the render values
        for (std::size_t b = 0; b < 3; ++b) {
            for (std::size_t k = 0; k < 4; ++k) {
                EXPECT_FLOAT_EQ(got.lightParameters[b].values[k], want.lightParameters[b].values[k])
                    << "light parameter block " << b << " value " << k;
            }
            for (std::size_t k = 0; k < 3; ++k) {
                EXPECT_EQ(got.lightParameters[b].integers[k], want.lightParameters[b].integers[k])
                    << "light parameter block " << b << " integer " << k;
            }
        }
    }

    // Links (the linked objects themselves are checked by the caller).
    if (has("0.5")) {
        ASSERT_EQ(got.links.size(), want.links.size());
        if (!want.links.empty()) {
            EXPECT_EQ(got.linkGroupName, want.linkGroupName);
        }
    } else {
        EXPECT_TRUE(got.links.empty());
    }

    // Lettered values up to the sweep blocks.
    EXPECT_EQ(got.secondMatrixFlag, has("0.8") ? want.secondMatrixFlag : fresh.secondMatrixFlag);
    expectMatrix(got.secondMatrix, has("0.8") ? want.secondMatrix : lf::kLegacyIdentity, "second matrix");
    EXPECT_EQ(got.flagP, has("0.95") ? want.flagP : fresh.flagP);
    EXPECT_FLOAT_EQ(got.valueP, has("0.95") ? want.valueP : fresh.valueP);
    EXPECT_EQ(got.flagE, has("1.1") ? want.flagE : fresh.flagE);
    EXPECT_EQ(got.flagF1, has("1.6") ? want.flagF1 : true);
    EXPECT_EQ(got.flagF2, has("1.6") ? want.flagF2 : false);
    EXPECT_EQ(got.flagG, has("1.9") ? want.flagG : fresh.flagG);
    EXPECT_FLOAT_EQ(got.valueH1, has("1.11") ? want.valueH1 : fresh.valueH1);
    EXPECT_FLOAT_EQ(got.valueH2, has("1.11") ? want.valueH2 : fresh.valueH2);
    EXPECT_EQ(got.flagI1, has("1.11") ? want.flagI1 : fresh.flagI1);
    EXPECT_EQ(got.flagI2, has("1.11") ? want.flagI2 : fresh.flagI2);

    // Profile curves, moved into the present frame for files "1.0" to "1.16".
    const std::array<const char*, 3> curveSince{"1.0", "1.7", "1.16.1"};
    float minX = want.vertices.empty() ? 0.0f : want.vertices[0].position[0];
    for (const auto& wv : want.vertices) minX = std::min(minX, wv.position[0]);
    const Adjust lowerY = [](const lf::F3& p) { return lf::F3{p[0], p[1] - 10.0f, p[2]}; };
    const Adjust ontoMinX = [minX](const lf::F3& p) { return lf::F3{minX, p[1] - 10.0f, p[2]}; };
    for (std::size_t c = 0; c < 3; ++c) {
        const std::string name = "profile curve " + std::to_string(c + 1);
        if (!has(curveSince[c])) {
            // The object's default curve takes the place of an absent one.
            EXPECT_FALSE(got.profileCurves[c].used) << name;
            continue;
        }
        EXPECT_EQ(got.profileCurves[c].used, want.profileCurves[c].used) << name;
        if (!want.profileCurves[c].used) continue;
        Adjust adjust = unchanged;
        if (c == 0 && lf::legacyVersionBetween(v, "1.0", "1.16")) adjust = lowerY;
        if (c == 1 && lf::legacyVersionBetween(v, "1.7", "1.16")) adjust = ontoMinX;
        expectPoints(got.profileCurves[c].points, want.profileCurves[c].points, name, adjust,
                     std::nullopt, false, true);
    }

    // Timed path block: before "1.15a" every point takes path value 6 as step.
    const auto& gotPath = got.timedPath;
    const auto& wantPath = want.timedPath;
    if (has("1.12") && wantPath.present != 0) {
        EXPECT_TRUE(gotPath.present);
        for (std::size_t k = 0; k < 8; ++k) {
            EXPECT_EQ(gotPath.values[k], wantPath.values[k]) << "path value " << k + 1;
        }
        std::optional<std::int32_t> step;
        if (!has("1.15a")) step = wantPath.values[5];
        expectPoints(gotPath.paths[0], wantPath.paths[0], "path A", unchanged, step, true);
        expectPoints(gotPath.paths[1], wantPath.paths[1], "path B", unchanged, step, true);
        expectPoints(gotPath.paths[2], wantPath.paths[2], "path C", unchanged, step, true);
        if (has("1.13")) {
            expectPoints(gotPath.paths[3], wantPath.paths[3], "path D", unchanged, step, true);
            EXPECT_EQ(gotPath.pathDClosed, wantPath.pathDClosed);
        } else {
            EXPECT_TRUE(gotPath.paths[3].empty());
            EXPECT_FALSE(gotPath.pathDClosed);
        }
    } else {
        EXPECT_FALSE(gotPath.present);
        for (const auto& path : gotPath.paths) EXPECT_TRUE(path.empty());
    }

    // Curve block.
    const auto& gotSweep = got.sweepCurves;
    const auto& wantSweep = want.sweepCurves;
    if (has("1.14") && wantSweep.present != 0 && !wantSweep.curves[0].empty()) {
        EXPECT_TRUE(gotSweep.present);
        for (std::size_t k = 0; k < 7; ++k) {
            const std::int32_t expected = (k == 1 && !has("1.16.4")) ? 0 : wantSweep.values[k];
            EXPECT_EQ(gotSweep.values[k], expected) << "curve block value " << k + 1;
        }
        expectPoints(gotSweep.curves[0], wantSweep.curves[0], "block curve 1");
        if (has("1.16.4")) {
            expectPoints(gotSweep.curves[1], wantSweep.curves[1], "block curve 2");
            expectPoints(gotSweep.curves[2], wantSweep.curves[2], "block curve 3");
        } else {
            EXPECT_TRUE(gotSweep.curves[1].empty());
            EXPECT_TRUE(gotSweep.curves[2].empty());
        }
        expectPoints(gotSweep.curves[3], wantSweep.curves[3], "block curve 4");
    } else {
        EXPECT_FALSE(gotSweep.present);
    }

    // Style and sound.
    const bool v116 = has("1.16");
    EXPECT_EQ(got.styleFlag, v116 ? want.styleFlag : fresh.styleFlag);
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_FLOAT_EQ(got.styleValues[k], v116 ? want.styleValues[k] : fresh.styleValues[k])
            << "style value " << k + 1;
    }
    expectF4(got.styleColour, v116 ? want.styleColour : lf::F4{0.87f, 0.87f, 0.87f, 1.0f}, "style colour");
    EXPECT_EQ(got.styleMode, v116 ? want.styleMode : 1);
    EXPECT_FLOAT_EQ(got.styleScale, v116 ? want.styleScale : 1.0f);
    const bool namedSound = want.soundFileName.size() > 2 && want.soundFileName != " ";
    EXPECT_EQ(got.soundFileName, v116 && namedSound ? want.soundFileName : std::string());
    EXPECT_EQ(got.soundFlagA, v116 ? want.soundFlagA : fresh.soundFlagA);
    EXPECT_EQ(got.soundEnabled, v116 ? want.soundEnabled : fresh.soundEnabled);
    EXPECT_FLOAT_EQ(got.soundValue, v116 ? want.soundValue : fresh.soundValue);
    EXPECT_EQ(got.soundFlagB, v116 ? want.soundFlagB : fresh.soundFlagB);
    EXPECT_FLOAT_EQ(got.soundVolume, v116 ? want.soundVolume : 1.0f);
    EXPECT_EQ(got.soundFlagC, v116 ? want.soundFlagC : fresh.soundFlagC);
    EXPECT_EQ(got.soundLoop, v116 ? want.soundLoop : fresh.soundLoop);

    EXPECT_EQ(got.flagS, has("1.16.3") ? want.flagS : fresh.flagS);
    EXPECT_FLOAT_EQ(got.valueS, has("1.16.3") ? want.valueS : fresh.valueS);
    EXPECT_EQ(got.valueT, has("1.16.3") ? want.valueT : fresh.valueT);
    // Outside any animation tree an older object keeps the skin defaults.
    EXPECT_EQ(got.boneNumberFlag, has("1.16.5") ? want.boneNumberFlag : true);
    EXPECT_EQ(got.boneNumber, has("1.16.5") ? want.boneNumber : 0);

    // Fields of "1.16.7".
    const bool v1167 = has("1.16.7");
    EXPECT_EQ(got.flagV, v1167 ? want.flagV : SceneObject::defaultFlagV(want.name));
    EXPECT_FLOAT_EQ(got.valueV, v1167 ? want.valueV : fresh.valueV);
    EXPECT_EQ(got.meshFlagC, v1167 ? want.meshFlagC : fresh.meshFlagC);
    EXPECT_EQ(got.archFlag, v1167 ? want.archFlag : fresh.archFlag);
    if (v1167 && want.thirdPath.used) {
        EXPECT_TRUE(got.thirdPath.used);
        expectPoints(got.thirdPath.points, want.thirdPath.points, "third path", unchanged,
                     std::nullopt, true);
    } else {
        EXPECT_FALSE(got.thirdPath.used);
        EXPECT_TRUE(got.thirdPath.points.empty());
    }
    EXPECT_EQ(got.flagW, v1167 ? want.flagW : fresh.flagW);
    EXPECT_FLOAT_EQ(got.valueW, v1167 ? want.valueW : 2.0f);
    EXPECT_FLOAT_EQ(got.valueX, v1167 && want.valueX != 0.0f ? want.valueX : 1.2f);

    const bool extension = v1167 && want.extensionBlockMarker != 0;
    const bool extensionTail =
        extension && (static_cast<std::uint32_t>(want.extensionMode) & 0xFFu) == 1u;
    EXPECT_FLOAT_EQ(got.extensionValuesA[0], extension ? want.extensionValuesA[0] : 5.0f);
    EXPECT_FLOAT_EQ(got.extensionValuesA[1], extension ? want.extensionValuesA[1] : 15.0f);
    EXPECT_EQ(got.extensionFlagA, extension ? want.extensionFlagA : fresh.extensionFlagA);
    EXPECT_EQ(got.extensionCopyFile, extension ? want.extensionCopyFile : fresh.extensionCopyFile);
    EXPECT_EQ(got.extensionFileName, extension ? want.extensionFileName : std::string(" "));
    EXPECT_EQ(got.extensionFlagC, extension ? want.extensionFlagC : fresh.extensionFlagC);
    EXPECT_EQ(got.extensionValueY, extension ? want.extensionValueY : fresh.extensionValueY);
    EXPECT_FLOAT_EQ(got.extensionValueZ, extensionTail ? want.extensionValueZ : 1.0f);
    expectF3(got.extensionDirection,
             extensionTail ? want.extensionDirection : lf::F3{-0.458f, 0.074f, 0.145f},
             "extension direction");
    expectF4(got.extensionColour1,
             extensionTail ? want.extensionColour1 : lf::F4{0.7f, 0.7f, 0.7f, 1.0f}, "extension colour 1");
    EXPECT_FLOAT_EQ(got.extensionValuesB[0], extensionTail ? want.extensionValuesB[0] : 8.4f);
    EXPECT_FLOAT_EQ(got.extensionValuesB[1], extensionTail ? want.extensionValuesB[1] : 1.528f);
    expectF4(got.extensionColour2,
             extensionTail ? want.extensionColour2 : lf::F4{0.7f, 0.7f, 0.7f, 1.0f}, "extension colour 2");

    // Legacy block of files up to "1.6".
    if (!has("1.7")) {
        ASSERT_EQ(got.legacyRecords.size(), want.legacyRecords.size());
        for (std::size_t i = 0; i < want.legacyRecords.size(); ++i) {
            EXPECT_EQ(got.legacyRecords[i], want.legacyRecords[i]) << "legacy record " << i;
        }
        ASSERT_EQ(got.legacyPoints.size(), want.legacyPoints.size());
        for (std::size_t i = 0; i < want.legacyPoints.size(); ++i) {
            for (std::size_t k = 0; k < 4; ++k) {
                expectF3(got.legacyPoints[i][k], want.legacyPoints[i][k],
                         "legacy point " + std::to_string(i) + "/" + std::to_string(k));
            }
        }
        EXPECT_EQ(got.legacyNames, want.legacyNames);
        ASSERT_EQ(got.legacyEntries.size(), want.legacyEntries.size());
        for (std::size_t i = 0; i < want.legacyEntries.size(); ++i) {
            EXPECT_EQ(got.legacyEntries[i].header, want.legacyEntries[i].header);
            EXPECT_EQ(got.legacyEntries[i].texts, want.legacyEntries[i].texts);
        }
    } else {
        EXPECT_TRUE(got.legacyRecords.empty());
        EXPECT_TRUE(got.legacyPoints.empty());
        EXPECT_TRUE(got.legacyNames.empty());
        EXPECT_TRUE(got.legacyEntries.empty());
    }
}

// What a state of a given version must read as. `object` is the object it
// must pose.
void expectState(const ObjectState& got, const lf::LegacyState& want, const std::string& v,
                 const std::string& what) {
    SCOPED_TRACE(what + " of a \"" + v + "\" file");
    const ObjectState fresh;
    const auto has = [&](const char* since) { return lf::legacyHasField(v, since); };
    const bool block = !has("0.3");  // the 40-byte block of the oldest files

    expectF3(got.angles, want.vectorA, "vector A");
    expectF3(got.position, want.vectorB, "vector B");
    expectF3(got.handle1, has("0.6") ? want.vectorC : lf::F3{}, "vector C");
    expectF3(got.handle2, has("0.6") ? want.vectorD : lf::F3{}, "vector D");
    if (block) {
        lf::F3 e{};
        float g = 0.0f;
        axisAngleOfOldState(want.vectorA, e, g);
        EXPECT_NEAR(got.rotationAxis.x, e[0], 1e-5f) << "vector E";
        EXPECT_NEAR(got.rotationAxis.y, e[1], 1e-5f) << "vector E";
        EXPECT_NEAR(got.rotationAxis.z, e[2], 1e-5f) << "vector E";
        EXPECT_NEAR(got.rotationAngle, g, 1e-5f) << "value G";
        expectF3(got.scale, fresh.scale, "vector F");
        EXPECT_FLOAT_EQ(got.opacity, fresh.opacity) << "value H";
    } else {
        expectF3(got.rotationAxis, want.vectorE, "vector E");
        expectF3(got.scale, want.vectorF, "vector F");
        EXPECT_FLOAT_EQ(got.rotationAngle, want.valueG) << "value G";
        EXPECT_FLOAT_EQ(got.opacity, want.valueH) << "value H";
    }
    EXPECT_EQ(got.flagI, want.flagI);
    EXPECT_EQ(got.relativeRotation, has("1.16") ? want.flagJ : false) << "flag J";
    EXPECT_EQ(got.flagK, want.flagK);
    EXPECT_FLOAT_EQ(got.easeRate, has("1.4") ? want.valueL : 0.0f) << "value L";
    EXPECT_EQ(got.easeEnabled, has("1.4") ? want.flagM : false) << "flag M";
    const std::array<const char*, 3> curveSince{"1.0", "1.7", "1.16.1"};
    for (std::size_t c = 0; c < 3; ++c) {
        const std::string name = "state curve " + std::to_string(c + 1);
        if (has(curveSince[c])) {
            EXPECT_EQ(got.curves[c].used, want.curves[c].used) << name;
            expectPoints(got.curves[c].points, want.curves[c].points, name);
        } else {
            EXPECT_FALSE(got.curves[c].used) << name;
        }
    }
    const bool sound = has("1.16.2");
    EXPECT_EQ(got.soundFileName, sound && want.soundFileName != " " ? want.soundFileName : std::string());
    EXPECT_EQ(got.soundEnabled, sound ? want.soundEnabled : false);
    EXPECT_FLOAT_EQ(got.soundVolume, sound ? want.soundVolume : 1.0f);
    EXPECT_EQ(got.soundFlagB, sound ? want.soundFlagB : false);
    EXPECT_FLOAT_EQ(got.soundValue, sound ? want.soundValue : 0.0f);
    EXPECT_EQ(got.soundFlagC, sound ? want.soundFlagC : false);
    EXPECT_EQ(got.soundFlagD, sound ? want.soundFlagD : false);
}

void expectSequence(const Sequence& got, const lf::LegacySequence& want, const std::string& v) {
    SCOPED_TRACE("sequence \"" + want.name + "\" of a \"" + v + "\" file");
    const auto has = [&](const char* since) { return lf::legacyHasField(v, since); };
    EXPECT_EQ(got.name, want.name);
    EXPECT_EQ(got.value, has("0.3") ? want.value : 0);
    EXPECT_EQ(got.restoreCamera, want.flagA) << "flag A";
    EXPECT_EQ(got.repeat, want.flagB) << "flag B";
    EXPECT_EQ(got.loopBackKey, want.valueC) << "value C";
    EXPECT_EQ(got.flagD, want.flagD);
    EXPECT_EQ(got.flagE, want.flagE);
    EXPECT_EQ(got.startKey, want.valueF) << "value F";
    EXPECT_EQ(got.pathMode, has("0.4") ? want.flagG : false) << "flag G";
    EXPECT_EQ(got.orientAlongPath, has("0.4") ? want.flagH : false) << "flag H";
    EXPECT_EQ(got.pausable, has("1.16.8") ? want.flagI : false) << "flag I";
    EXPECT_EQ(got.flagJ, has("1.16.8") ? want.flagJ : false) << "flag J";
}

// Flags A, B, D and E follow one of two patterns; between them every pair
// of the four differs once, so that no flag can stand in for another.
lf::LegacySequence distinctSequence(std::string name, bool otherPattern = false) {
    lf::LegacySequence s;
    s.value = 5;
    s.name = std::move(name);
    s.flagA = true;
    s.flagB = otherPattern;
    s.valueC = 3;
    s.flagD = !otherPattern;
    s.flagE = false;
    s.valueF = 2;
    s.flagG = true;
    s.flagH = true;
    s.flagI = true;
    s.flagJ = true;
    s.reservedWord = 0x5A5A5A5A;
    return s;
}

// A state reference by save index in files since "1.8", by name before.
lf::LegacyState stateFor(const lf::LegacyState& values, std::int32_t saveIndex, std::string name) {
    lf::LegacyState s = values;
    s.objectIndex = saveIndex;
    s.objectName = std::move(name);
    return s;
}

lf::LegacyChild childRef(std::int32_t saveIndex, std::string name,
                         std::vector<lf::LegacyChild> children = {}) {
    return {saveIndex, std::move(name), std::move(children)};
}

const std::vector<std::string> kSampledVersions{
    "0.1", "0.2", "0.5", "0.7", "0.9", "1.1", "1.6", "1.8",
    "1.10", "1.15", "1.15a", "1.16", "1.16.5", "1.16.8"};

// =============================================================================
// The builder itself

TEST(LegacyFileBuilder, HeaderSizesFollowTheVersion) {
    lf::LegacyScene scene;
    scene.version = "1.16.8";
    lf::LegacyFile file = lf::buildLegacyFileWithLayout(scene);
    EXPECT_EQ(file.layout.tagBytes, 18u);
    // 304 bytes of fixed rows, no viewpoint, the ground image name " ".
    EXPECT_EQ(file.layout.headerEnd - file.layout.tagBytes, 304u + 2u);
    // Object count and animation count end the file.
    EXPECT_EQ(file.bytes.size(), file.layout.headerEnd + 8u);

    scene.viewpoints.push_back({0.0f, 0.0f, {}, "ab.bmp"});
    scene.groundImageName = "sol.bmp";
    file = lf::buildLegacyFileWithLayout(scene);
    EXPECT_EQ(file.layout.headerEnd - file.layout.tagBytes, 304u + (20u + 7u) + 8u);

    // A "0.7" header stops after the eight light slots.
    scene.version = "0.7";
    file = lf::buildLegacyFileWithLayout(scene);
    EXPECT_EQ(file.layout.tagBytes, 15u);
    EXPECT_EQ(file.layout.headerEnd - file.layout.tagBytes, 32u + 4u + 8u * 24u);
}

TEST(LegacyFileBuilder, Version07ObjectRecordMatchesTheResourceSceneSize) {
    // The "0.7" resource scene holds "souder 1" (620 vertices, 3540 indices)
    // and "volume~0" (4 vertices, 6 indices) and is 43,145 bytes long.
    lf::LegacyScene scene;
    scene.version = "0.7";
    lf::LegacyObject first;
    first.name = "souder 1";
    first.vertices.resize(620);
    first.indices.resize(3540);
    lf::LegacyObject second;
    second.name = "volume~0";
    second.vertices.resize(4);
    second.indices.resize(6);
    scene.objects = {first, second};
    EXPECT_EQ(lf::buildLegacyFile(scene).size(), 43145u);
}

// =============================================================================
// Every version: header, objects, animations

class EveryVersion : public ::testing::TestWithParam<std::string> {};

TEST_P(EveryVersion, HeaderValuesPresentAreReadAndAbsentOnesKeepDefaults) {
    const std::string v = GetParam();
    lf::LegacyScene file = lf::distinctScene(v);
    file.embedTextures = true;
    const auto has = [&](const char* since) { return lf::legacyHasField(v, since); };

    Scene scene;
    const Scene fresh;
    const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    EXPECT_EQ(report.tag, tagOf(v));
    EXPECT_EQ(scene.objectCount(), kHead);
    EXPECT_TRUE(scene.animations().empty());
    EXPECT_EQ(scene.loadedVersionTag, kProgramVersionLabel);

    // Camera: the stored eye is where the view glides to.
    expectF3(scene.eyeTarget, file.cameraPosition, "eye target");
    EXPECT_NEAR(distance(scene.eye, scene.eyeTarget), 500.0f, 0.05f);
    EXPECT_FLOAT_EQ(scene.pitch, file.cameraPitch);
    EXPECT_FLOAT_EQ(scene.yaw, file.cameraYaw);
    EXPECT_FLOAT_EQ(scene.fieldOfView, file.fieldOfView);
    EXPECT_FLOAT_EQ(scene.rangeValue, file.rangeValue);
    EXPECT_EQ(scene.settings.shadingMode, file.shadingMode);

    EXPECT_EQ(scene.activeLightCount, has("0.2") ? file.activeLightCount : 1);
    for (std::size_t i = 0; i < kGlobalLightSlots; ++i) {
        expectLight(scene.lights[i], has("0.2") ? file.lights[i] : lf::LegacyLight{},
                    "scene light " + std::to_string(i));
    }

    const bool v11 = has("1.1");
    EXPECT_EQ(scene.settings.flagA, v11 && file.flagA);
    EXPECT_EQ(scene.settings.embedTextures, v11 && file.embedTextures);
    ASSERT_EQ(scene.viewpoints.size(), v11 ? file.viewpoints.size() : 0u);
    for (std::size_t i = 0; i < scene.viewpoints.size(); ++i) {
        EXPECT_FLOAT_EQ(scene.viewpoints[i].pitch, file.viewpoints[i].pitch);
        EXPECT_FLOAT_EQ(scene.viewpoints[i].yaw, file.viewpoints[i].yaw);
        expectF3(scene.viewpoints[i].eye, file.viewpoints[i].eye, "viewpoint eye");
        EXPECT_EQ(scene.viewpoints[i].imageFileName, file.viewpoints[i].imageFileName);
    }

    expectF4(scene.backgroundColour,
             has("1.6") ? file.backgroundColour : lf::F4{0.73f, 0.73f, 0.73f, 1.0f}, "background");
    EXPECT_EQ(scene.settings.flagB, has("1.10") && file.flagB);
    EXPECT_EQ(scene.settings.flagC, has("1.11") && file.flagC);
    const bool v116 = has("1.16");
    EXPECT_EQ(scene.settings.flagD, v116 && file.flagD);
    EXPECT_FLOAT_EQ(scene.settings.valueE, v116 ? file.valueE : fresh.settings.valueE);
    EXPECT_FLOAT_EQ(scene.settings.valueF, v116 ? file.valueF : fresh.settings.valueF);
    EXPECT_FLOAT_EQ(scene.settings.groundShading, v116 ? file.groundShading : 0.55f);
    expectF4(scene.settings.groundColour,
             v116 ? file.groundColour : lf::F4{0.87f, 0.87f, 0.87f, 1.0f}, "ground colour");
    EXPECT_EQ(scene.settings.groundMode, v116 ? file.groundMode : 1);
    EXPECT_FLOAT_EQ(scene.settings.groundScale, v116 ? file.groundScale : 1.0f);
    EXPECT_EQ(scene.settings.groundImageName, v116 ? file.groundImageName : std::string(" "));
}

TEST_P(EveryVersion, ObjectFieldsPresentAreReadAndAbsentOnesKeepDefaults) {
    const std::string v = GetParam();
    const auto has = [&](const char* since) { return lf::legacyHasField(v, since); };
    lf::LegacyScene file = lf::distinctScene(v);
    // The first object has links and every optional block; the second none
    // of them, a flag F1 that forces its opacity and a too-short sound name.
    lf::LegacyObject first = lf::distinctObject("premier", 0);
    lf::LegacyObject second = lf::distinctObject("second", 1);
    second.links.clear();
    second.flagF1 = false;
    second.opacity = 0.45f;
    second.timedPath.present = 0;
    second.sweepCurves.present = 0;
    second.thirdPath.used = false;
    second.profileCurves[1].used = false;
    second.soundFileName = "ab";
    second.extensionFileName = "autre.dat";
    file.objects = {first, second};

    Scene scene;
    const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    EXPECT_EQ(report.objectsDeclared, 2);
    EXPECT_EQ(report.objectRecordsRead, 2);

    const std::size_t links = has("0.5") ? first.links.size() : 0;
    ASSERT_EQ(scene.objectCount(), kHead + 2 + links);
    const SceneObject& owner = readObject(scene, 0);
    expectObject(owner, first, v, "first object");
    expectObject(readObject(scene, 1 + links), second, v, "second object");

    // Each link became an object placed right after its owner.
    for (std::size_t k = 0; k < links; ++k) {
        SCOPED_TRACE("link " + std::to_string(k) + " of a \"" + v + "\" file");
        const SceneObject& linked = readObject(scene, 1 + k);
        ASSERT_EQ(owner.links.size(), links);
        EXPECT_EQ(owner.links[k].object, &linked);
        const lf::LegacyLink& want = first.links[k];
        expectF3(linked.position, want.position, "position");
        expectF3(linked.rotationAxis, want.rotationAxis, "rotation axis");
        EXPECT_FLOAT_EQ(linked.rotationAngle, want.rotationAngle);
        expectF3(linked.scale, want.scale, "scale");
        expectF3(linked.pivot, has("0.7") ? want.pivot : first.pivot, "pivot");
        ASSERT_EQ(linked.vertexCount(), first.vertices.size());
        ASSERT_EQ(linked.indexCount(), first.indices.size());
        expectF3(linked.vertices[4].position, first.vertices[4].position, "shared mesh");
    }
}

TEST_P(EveryVersion, AnimationRecordsAreReadInTheirLayout) {
    const std::string v = GetParam();
    const auto has = [&](const char* since) { return lf::legacyHasField(v, since); };
    const bool storedBones = has("1.16.5");

    lf::LegacyScene file = lf::distinctScene(v);
    lf::LegacyObject body = lf::plainObject("corps");
    lf::LegacyObject arm = lf::plainObject("bras");
    lf::LegacyObject hand = lf::plainObject("main");
    for (auto& vertex : body.vertices) {
        vertex.w = 1.0f;
        vertex.weights = {0.5f, 0.5f, 0.0f, 0.0f};
        vertex.boneIndices = {3, 4, -1, -1};
    }
    for (auto& vertex : arm.vertices) vertex.w = 0.25f;
    for (auto& vertex : hand.vertices) vertex.w = 1.0f;
    body.boneNumber = 7;
    arm.boneNumber = 8;
    arm.boneNumberFlag = false;
    hand.boneNumber = 9;
    file.objects = {body, arm, hand};

    lf::LegacyAnimation animation;
    animation.targetName = "corps";
    animation.targetNumber = 1;
    animation.animationFlag = 1;
    animation.turnValue = 0.5f;
    animation.sequenceReferences = {"marche", "", "inconnue", "marche", ""};
    animation.children = {childRef(2, "bras", {childRef(3, "main")})};
    lf::LegacySequence walk = distinctSequence("marche");
    lf::LegacyKeyImage late{2.5, {}, {stateFor(lf::distinctState(0), 2, "bras"),
                                      stateFor(lf::distinctState(1), 3, "main")}};
    lf::LegacyKeyImage early{1.25, {}, {stateFor(lf::distinctState(2), 1, "corps")}};
    walk.keyImages = {late, early};
    animation.sequences = {walk};
    file.animations = {animation};

    Scene scene;
    const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    EXPECT_EQ(report.animationsDeclared, 1);
    EXPECT_EQ(report.animationRecordsRead, 1);
    ASSERT_EQ(scene.objectCount(), kHead + 3);
    const SceneObject& gotBody = readObject(scene, 0);
    const SceneObject& gotArm = readObject(scene, 1);
    const SceneObject& gotHand = readObject(scene, 2);

    ASSERT_EQ(scene.animations().size(), 1u);
    const Animation& anim = *scene.animations()[0];
    EXPECT_EQ(anim.target, &gotBody);
    EXPECT_EQ(anim.targetName, "corps");
    EXPECT_EQ(anim.animationFlag, 1);
    EXPECT_EQ(anim.cameraFlag, 0);
    EXPECT_FLOAT_EQ(anim.turnValue, has("1.16.6") ? animation.turnValue : kDefaultTurn);
    EXPECT_EQ(gotBody.animation, &anim);

    // The child tree gives parents, children and the driving animation.
    EXPECT_EQ(gotBody.parent, nullptr);
    EXPECT_EQ(gotArm.parent, &gotBody);
    EXPECT_EQ(gotHand.parent, &gotArm);
    EXPECT_EQ(gotBody.children, std::vector<SceneObject*>{const_cast<SceneObject*>(&gotArm)});
    EXPECT_EQ(gotArm.children, std::vector<SceneObject*>{const_cast<SceneObject*>(&gotHand)});
    EXPECT_TRUE(gotHand.children.empty());
    EXPECT_EQ(gotArm.animation, &anim);
    EXPECT_EQ(gotHand.animation, &anim);

    // Older files number the bones along the tree and bind the vertices.
    struct Skin {
        std::int32_t bone;
        bool flag;
        lf::F4 weights;
        std::array<std::int32_t, 4> bones;
    };
    const std::array<Skin, 3> skins =
        storedBones
            ? std::array<Skin, 3>{Skin{7, true, {0.5f, 0.5f, 0, 0}, {3, 4, -1, -1}},
                                  Skin{8, false, {1, 0, 0, 0}, {0, -1, -1, -1}},
                                  Skin{9, true, {1, 0, 0, 0}, {0, -1, -1, -1}}}
            : std::array<Skin, 3>{Skin{0, true, {0, 0, 0, 1}, {0, -1, -1, -1}},
                                  Skin{1, true, {0.75f, 0.25f, 0, 0}, {1, 0, -1, -1}},
                                  Skin{2, true, {0, 1, 0, 1}, {2, 1, -1, -1}}};
    const std::array<const SceneObject*, 3> tree{&gotBody, &gotArm, &gotHand};
    for (std::size_t o = 0; o < 3; ++o) {
        SCOPED_TRACE("skin of " + tree[o]->name + " in a \"" + v + "\" file");
        EXPECT_EQ(tree[o]->boneNumber, skins[o].bone);
        EXPECT_EQ(tree[o]->boneNumberFlag, skins[o].flag);
        ASSERT_FALSE(tree[o]->vertices.empty());
        for (std::size_t k = 0; k < 4; ++k) {
            EXPECT_FLOAT_EQ(tree[o]->vertices[0].blendWeights[k], skins[o].weights[k]) << "weight " << k;
            EXPECT_EQ(tree[o]->vertices[0].blendIndices[k], skins[o].bones[k]) << "bone index " << k;
        }
    }

    // The sequence, its key images in time order and their states.
    ASSERT_EQ(anim.sequences.size(), 1u);
    const Sequence& seq = *anim.sequences[0];
    expectSequence(seq, walk, v);
    EXPECT_EQ(seq.animation, &anim);
    ASSERT_EQ(seq.keyImages.size(), 2u);
    EXPECT_DOUBLE_EQ(seq.keyImages[0]->time, 1.25);
    EXPECT_DOUBLE_EQ(seq.keyImages[1]->time, 2.5);
    EXPECT_EQ(seq.keyImages[0]->number, 0);
    EXPECT_EQ(seq.keyImages[1]->number, 1);
    EXPECT_EQ(seq.keyImages[0]->displayName(), "Image cl\xE9, temps : 1.25");
    EXPECT_EQ(seq.keyImages[1]->displayName(), "Image cl\xE9, temps : 2.5");
    EXPECT_EQ(seq.keyImages[0]->sequence, &seq);
    ASSERT_EQ(seq.keyImages[0]->states.size(), 1u);
    EXPECT_EQ(seq.keyImages[0]->states[0]->object, &gotBody);
    expectState(*seq.keyImages[0]->states[0], early.states[0], v, "state of corps");
    ASSERT_EQ(seq.keyImages[1]->states.size(), 2u);
    EXPECT_EQ(seq.keyImages[1]->states[0]->object, &gotArm);
    expectState(*seq.keyImages[1]->states[0], late.states[0], v, "state of bras");
    EXPECT_EQ(seq.keyImages[1]->states[1]->object, &gotHand);
    expectState(*seq.keyImages[1]->states[1], late.states[1], v, "state of main");

    // References 1 and 4 name the sequence; a name of no sequence stays empty.
    EXPECT_EQ(anim.sequenceReferences[0], &seq);
    EXPECT_EQ(anim.sequenceReferences[1], nullptr);
    EXPECT_EQ(anim.sequenceReferences[2], nullptr);
    EXPECT_EQ(anim.sequenceReferences[3], &seq);
    EXPECT_EQ(anim.sequenceReferences[4], nullptr);
    EXPECT_EQ(seq.referenceIndex, 0);
}

INSTANTIATE_TEST_SUITE_P(LegacyVersions, EveryVersion,
                         ::testing::ValuesIn(lf::legacyVersionLadder()), paramName);

// =============================================================================
// Odd bool32 words

class OddBoolWords : public ::testing::TestWithParam<std::string> {};

TEST_P(OddBoolWords, OnlyTheFirstByteOfABool32Counts) {
    // Every true bool32 of the file holds 0xCD in its first byte only, every
    // false one 0 in its first byte and 0xCD in the three others.
    const std::string v = GetParam();
    lf::LegacyScene file = lf::distinctScene(v);
    file.trueWord = 0x000000CDu;
    file.falseWord = 0xCDCDCD00u;
    lf::LegacyObject object = lf::distinctObject("damier", 0);
    object.renderSwitches = {true, false, true, false, false, true, false, true, true, false};
    object.flagF2 = false;
    file.objects = {object};

    Scene scene;
    const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    EXPECT_EQ(scene.settings.flagA, lf::legacyHasField(v, "1.1"));
    EXPECT_EQ(scene.settings.embedTextures, false);
    EXPECT_EQ(scene.settings.flagD, lf::legacyHasField(v, "1.16"));
    ASSERT_GE(scene.objectCount(), kHead + 1);
    expectObject(readObject(scene, 0), object, v, "object");
}

INSTANTIATE_TEST_SUITE_P(LegacyVersions, OddBoolWords,
                         ::testing::Values("0.2", "1.1", "1.16", "1.16.8"), paramName);

// =============================================================================
// Field rules of single versions

TEST(LegacyObjectRules, Version12HoldsOneMoreBoolAfterFlagE) {
    for (const bool extra : {false, true}) {
        lf::LegacyScene file = lf::distinctScene("1.2");
        lf::LegacyObject object = lf::distinctObject("douze", 0);
        object.extraFlag12 = extra;
        object.flagE = !extra;
        file.objects = {object, lf::distinctObject("suivant", 1)};
        Scene scene;
        const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
        ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
        ASSERT_EQ(scene.objectCount(), kHead + 6);
        EXPECT_EQ(readObject(scene, 0).flagE, !extra);
        expectObject(readObject(scene, 3), file.objects[1], "1.2", "object after");
    }
}

TEST(LegacyObjectRules, ExtensionModeWithFirstByteOtherThanOneSkips54Words) {
    for (const std::string v : {"1.16.7", "1.16.8"}) {
        lf::LegacyScene file = lf::distinctScene(v);
        lf::LegacyObject skipping = lf::distinctObject("saute", 0);
        skipping.links.clear();
        skipping.extensionMode = 2;
        lf::LegacyObject firstByteOne = lf::distinctObject("octet", 1);
        firstByteOne.links.clear();
        firstByteOne.extensionMode = 0x0201;  // only the first byte is tested
        lf::LegacyObject last = lf::distinctObject("dernier", 2);
        last.links.clear();
        file.objects = {skipping, firstByteOne, last};

        Scene scene;
        const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
        ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
        ASSERT_EQ(scene.objectCount(), kHead + 3);
        expectObject(readObject(scene, 0), skipping, v, "object with mode 2");
        expectObject(readObject(scene, 1), firstByteOne, v, "object with mode 0x0201");
        expectObject(readObject(scene, 2), last, v, "last object");
    }
}

TEST(LegacyObjectRules, ExtensionMarkerZeroHoldsOneBoolAnd55Words) {
    lf::LegacyScene file = lf::distinctScene("1.16.8");
    lf::LegacyObject marked = lf::distinctObject("zero", 0);
    marked.links.clear();
    marked.extensionBlockMarker = 0;
    marked.extensionMarkerZeroFlag = true;
    lf::LegacyObject last = lf::distinctObject("apres", 1);
    last.links.clear();
    file.objects = {marked, last};

    Scene scene;
    const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    ASSERT_EQ(scene.objectCount(), kHead + 2);
    // Values 77 to 87 keep their defaults.
    expectObject(readObject(scene, 0), marked, "1.16.8", "object with marker 0");
    expectObject(readObject(scene, 1), last, "1.16.8", "object after");
}

TEST(LegacyObjectRules, StoredValueXZeroReadsAsOnePointTwo) {
    lf::LegacyScene file = lf::distinctScene("1.16.7");
    lf::LegacyObject object = lf::plainObject("x");
    object.valueX = 0.0f;
    lf::LegacyObject kept = lf::plainObject("y");
    kept.valueX = 0.5f;
    file.objects = {object, kept};
    Scene scene;
    ASSERT_TRUE(read(lf::buildLegacyFile(file), scene).complete());
    EXPECT_FLOAT_EQ(readObject(scene, 0).valueX, 1.2f);
    EXPECT_FLOAT_EQ(readObject(scene, 1).valueX, 0.5f);
}

TEST(LegacyObjectRules, FlagVDefaultsFalseForTheEarsWhenAbsent) {
    lf::LegacyScene older = lf::distinctScene("1.16.6");
    older.objects = {lf::plainObject("oreille g"), lf::plainObject("oreille d"), lf::plainObject("nez")};
    Scene olderScene;
    ASSERT_TRUE(read(lf::buildLegacyFile(older), olderScene).complete());
    EXPECT_FALSE(readObject(olderScene, 0).flagV);
    EXPECT_FALSE(readObject(olderScene, 1).flagV);
    EXPECT_TRUE(readObject(olderScene, 2).flagV);

    // Once stored, the stored value is kept, whatever the name.
    lf::LegacyScene newer = lf::distinctScene("1.16.7");
    newer.objects = {lf::plainObject("oreille g"), lf::plainObject("nez")};
    newer.objects[0].flagV = true;
    newer.objects[1].flagV = false;
    Scene newerScene;
    ASSERT_TRUE(read(lf::buildLegacyFile(newer), newerScene).complete());
    EXPECT_TRUE(readObject(newerScene, 0).flagV);
    EXPECT_FALSE(readObject(newerScene, 1).flagV);
}

TEST(LegacyObjectRules, CurveBlockWithEmptyFirstCurveIsClearedAndFullyConsumed) {
    for (const std::string v : {"1.14", "1.16.4"}) {
        lf::LegacyScene file = lf::distinctScene(v);
        lf::LegacyObject object = lf::distinctObject("balai", 0);
        object.links.clear();
        object.sweepCurves.curves[0].clear();
        lf::LegacyObject last = lf::distinctObject("apres", 1);
        last.links.clear();
        file.objects = {object, last};
        Scene scene;
        const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
        ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
        ASSERT_EQ(scene.objectCount(), kHead + 2);
        EXPECT_FALSE(readObject(scene, 0).sweepCurves.present) << v;
        expectObject(readObject(scene, 1), last, v, "object after");
    }
}

TEST(LegacyObjectRules, TimedPointsBefore115aTakePathValue6AsStep) {
    for (const std::string v : {"1.12", "1.15", "1.15a"}) {
        lf::LegacyScene file = lf::distinctScene(v);
        lf::LegacyObject object = lf::plainObject("trajet");
        object.timedPath.present = 1;
        object.timedPath.values = {0, 0, 0, 0, 0, 6, 0, 0};
        object.timedPath.paths[0] = {{{1, 2, 3}, {}, {}, 40}};
        object.timedPath.paths[1] = {{{4, 5, 6}, {}, {}, 41}, {{7, 8, 9}, {}, {}, 42}};
        object.timedPath.paths[2] = {{{0, 0, 1}, {}, {}, 43}, {{0, 0, 2}, {}, {}, 44}};
        object.timedPath.paths[3] = {{{0, 1, 0}, {}, {}, 45}, {{0, 2, 0}, {}, {}, 46}};
        file.objects = {object, lf::plainObject("apres")};
        Scene scene;
        const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
        ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
        const TimedPathBlock& path = readObject(scene, 0).timedPath;
        ASSERT_EQ(path.paths[1].size(), 2u) << v;
        const bool stored = v == "1.15a";
        EXPECT_EQ(path.paths[0].at(0).step, stored ? 40 : 6) << v;
        EXPECT_EQ(path.paths[1][1].step, stored ? 42 : 6) << v;
        EXPECT_EQ(path.paths[2].at(0).step, stored ? 43 : 6) << v;
        EXPECT_EQ(readObject(scene, 1).name, "apres") << v;
    }
}

// =============================================================================
// Textures

lf::LegacyObject texturedObject(std::string name, std::string texture, bool embedded,
                                std::vector<std::uint8_t> bytes, std::size_t slot = 0) {
    lf::LegacyObject object = lf::plainObject(std::move(name));
    object.textures[slot] = {std::move(texture), embedded, std::move(bytes)};
    return object;
}

class TextureReferences : public ::testing::TestWithParam<std::string> {};

// A texture file found nowhere is not drawn, but its name stays in the slot
// so that saving the scene keeps the reference.
TEST_P(TextureReferences, NameFoundNowhereStaysNamedInADisabledSlot) {
    const std::string v = GetParam();
    lf::LegacyScene file = lf::distinctScene(v);
    lf::LegacyObject object = texturedObject("mur", "absente.bmp", false, {});
    object.textures[1] = {"introuvable.bmp", false, {}};
    file.objects = {object, lf::plainObject("apres")};
    Scene scene;
    const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    ASSERT_EQ(scene.objectCount(), kHead + 2);
    const SceneObject& wall = readObject(scene, 0);
    ASSERT_NE(wall.textures[0], nullptr);
    ASSERT_NE(wall.textures[1], nullptr);
    EXPECT_EQ(wall.textures[0]->fileName, "absente.bmp");
    EXPECT_EQ(wall.textures[1]->fileName, "introuvable.bmp");
    EXPECT_TRUE(wall.textures[0]->missing);
    EXPECT_EQ(wall.textures[2], nullptr);
    for (std::size_t slot = 0; slot < 3; ++slot) EXPECT_FALSE(wall.textureEnabled[slot]) << "slot " << slot + 1;
    EXPECT_EQ(report.missingTextures, (std::vector<std::string>{"absente.bmp", "introuvable.bmp"}));
    expectObject(wall, object, v, "textured object");
    expectObject(readObject(scene, 1), file.objects[1], v, "object after");
}

INSTANTIATE_TEST_SUITE_P(LegacyVersions, TextureReferences,
                         ::testing::Values("0.2", "0.5", "1.1", "1.3", "1.16.8"), paramName);

class EmbeddedTextures : public ::testing::TestWithParam<std::string> {};

TEST_P(EmbeddedTextures, EmbeddedTextureKeepsItsBytesOffsetAndLength) {
    const std::string v = GetParam();
    const bool perTextureFlag = lf::legacyHasField(v, "1.3");
    lf::LegacyScene file = lf::distinctScene(v);
    file.embedTextures = !perTextureFlag;  // older files embed through the header only
    const std::vector<std::uint8_t> image = lf::tinyBmpImage();
    file.objects = {texturedObject("tableau", "peinture.bmp", perTextureFlag, image, 1),
                    lf::plainObject("apres")};
    const lf::LegacyFile built = lf::buildLegacyFileWithLayout(file);
    ASSERT_EQ(built.layout.textureBytes.size(), 1u);

    Scene scene;
    SceneReadOptions options;
    options.backupPath = "/tmp/sauvegarde/tableau.mrx";
    const SceneReadReport report = read(built.bytes, scene, options);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    ASSERT_EQ(scene.objectCount(), kHead + 2);
    const SceneObject& painting = readObject(scene, 0);
    EXPECT_EQ(painting.textures[0], nullptr);
    EXPECT_EQ(painting.textures[2], nullptr);
    const SceneTexture* texture = painting.textures[1];
    ASSERT_NE(texture, nullptr);
    EXPECT_TRUE(painting.textureEnabled[1]);
    EXPECT_EQ(texture->fileName, "peinture.bmp");
    EXPECT_TRUE(texture->embedded);
    EXPECT_EQ(texture->embeddedBytes, image);
    EXPECT_EQ(texture->embeddedOffset, built.layout.textureBytes[0].offset);
    EXPECT_EQ(texture->embeddedLength, image.size());
    EXPECT_EQ(texture->backupPath, options.backupPath);
    EXPECT_EQ(scene.findTexture("peinture.bmp"), texture);
    expectObject(readObject(scene, 1), file.objects[1], v, "object after");
}

TEST_P(EmbeddedTextures, TextureUsedThreeTimesCarriesItsBytesOnce) {
    const std::string v = GetParam();
    const bool perTextureFlag = lf::legacyHasField(v, "1.3");
    lf::LegacyScene file = lf::distinctScene(v);
    file.embedTextures = !perTextureFlag;
    const std::vector<std::uint8_t> image = lf::tinyBmpImage(0x10);
    file.objects = {texturedObject("planche 1", "bois.bmp", perTextureFlag, image),
                    texturedObject("planche 2", "bois.bmp", perTextureFlag, {}),
                    texturedObject("planche 3", "bois.bmp", perTextureFlag, {}, 1)};
    const lf::LegacyFile built = lf::buildLegacyFileWithLayout(file);

    Scene scene;
    const SceneReadReport report = read(built.bytes, scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    ASSERT_EQ(scene.objectCount(), kHead + 3);
    const SceneTexture* texture = readObject(scene, 0).textures[0];
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(readObject(scene, 1).textures[0], texture);
    EXPECT_EQ(readObject(scene, 2).textures[1], texture);
    EXPECT_TRUE(readObject(scene, 2).textureEnabled[1]);
    EXPECT_EQ(texture->embeddedBytes, image);
    EXPECT_EQ(texture->embeddedOffset, built.layout.textureBytes.at(0).offset);
    EXPECT_EQ(texture->embeddedLength, image.size());
    std::size_t named = 0;
    for (const auto& cached : scene.textures()) named += cached->fileName == "bois.bmp" ? 1u : 0u;
    EXPECT_EQ(named, 1u);
}

TEST_P(EmbeddedTextures, ZeroLengthReferenceToAnUncachedTextureLeavesTheSlotEmpty) {
    const std::string v = GetParam();
    const bool perTextureFlag = lf::legacyHasField(v, "1.3");
    lf::LegacyScene file = lf::distinctScene(v);
    file.embedTextures = !perTextureFlag;
    file.objects = {texturedObject("vide", "jamais.bmp", perTextureFlag, {}),
                    lf::plainObject("apres")};
    Scene scene;
    const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    ASSERT_EQ(scene.objectCount(), kHead + 2);
    EXPECT_EQ(readObject(scene, 0).textures[0], nullptr);
    EXPECT_FALSE(readObject(scene, 0).textureEnabled[0]);
    expectObject(readObject(scene, 1), file.objects[1], v, "object after");
}

TEST_P(EmbeddedTextures, NormalMapSwitchTurnsSlotOneIntoANormalMap) {
    const std::string v = GetParam();
    const bool perTextureFlag = lf::legacyHasField(v, "1.3");
    lf::LegacyScene file = lf::distinctScene(v);
    file.embedTextures = !perTextureFlag;
    lf::LegacyObject bumpy = texturedObject("relief", "bosses.bmp", perTextureFlag, lf::tinyBmpImage());
    bumpy.renderSwitches[6] = true;  // switch 7
    bumpy.textures[1] = {"couleur.bmp", perTextureFlag, lf::tinyBmpImage(0x80)};
    file.objects = {bumpy};
    Scene scene;
    const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    const SceneObject& object = readObject(scene, 0);
    EXPECT_TRUE(object.normalMapEnabled());
    ASSERT_NE(object.textures[0], nullptr);
    ASSERT_NE(object.textures[1], nullptr);
    EXPECT_TRUE(object.textures[0]->normalMap);
    EXPECT_FALSE(object.textures[1]->normalMap);
}

INSTANTIATE_TEST_SUITE_P(LegacyVersions, EmbeddedTextures,
                         ::testing::Values("1.1", "1.2", "1.3", "1.16.4", "1.16.8"), paramName);

// =============================================================================
// Animation targets, trees and states

lf::LegacyAnimation cameraAnimation(std::string sequenceName, std::vector<double> times) {
    lf::LegacyAnimation animation;
    animation.targetName = "Camera";
    animation.cameraFlag = 1;
    animation.sequenceReferences = {sequenceName, "", "", sequenceName, ""};
    lf::LegacySequence seq = distinctSequence(std::move(sequenceName), true);
    for (std::size_t i = 0; i < times.size(); ++i) {
        seq.keyImages.push_back(
            {times[i], {}, {stateFor(lf::distinctState(static_cast<int>(i)), 0, "Camera")}});
    }
    animation.sequences = {seq};
    return animation;
}

class CameraAnimations : public ::testing::TestWithParam<std::string> {};

TEST_P(CameraAnimations, CameraAnimationLandsOnTheCameraObject) {
    const std::string v = GetParam();
    lf::LegacyScene file = lf::distinctScene(v);
    file.objects = {lf::plainObject("decor")};
    file.animations = {cameraAnimation("Nouvelle animation", {3.9, 7.8, 11.66})};
    Scene scene;
    const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    ASSERT_EQ(scene.animations().size(), 1u);
    const Animation& anim = *scene.animations()[0];
    ASSERT_NE(scene.cameraObject(), nullptr);
    EXPECT_EQ(anim.target, scene.cameraObject());
    EXPECT_EQ(scene.cameraObject()->animation, &anim);
    EXPECT_EQ(anim.targetName, "Camera");
    EXPECT_EQ(anim.cameraFlag, 1);
    EXPECT_EQ(readObject(scene, 0).animation, nullptr);
    ASSERT_EQ(anim.sequences.size(), 1u);
    const Sequence& seq = *anim.sequences[0];
    expectSequence(seq, file.animations[0].sequences[0], v);
    ASSERT_EQ(seq.keyImages.size(), 3u);
    EXPECT_EQ(seq.keyImages[0]->displayName(), "Image cl\xE9, temps : 3.9");
    EXPECT_EQ(seq.keyImages[2]->displayName(), "Image cl\xE9, temps : 11.66");
    for (std::size_t k = 0; k < 3; ++k) {
        ASSERT_EQ(seq.keyImages[k]->states.size(), 1u);
        EXPECT_EQ(seq.keyImages[k]->states[0]->object, scene.cameraObject());
        expectState(*seq.keyImages[k]->states[0], file.animations[0].sequences[0].keyImages[k].states[0],
                    v, "camera state " + std::to_string(k));
    }
}

TEST_P(CameraAnimations, CameraFlagOrCameraNameEachMakeACameraAnimation) {
    const std::string v = GetParam();
    for (const bool byFlag : {true, false}) {
        lf::LegacyScene file = lf::distinctScene(v);
        file.objects = {lf::plainObject("Camera 2")};
        lf::LegacyAnimation animation = cameraAnimation("vol", {1.0});
        animation.targetName = byFlag ? "Camera 2" : "Camera";
        animation.cameraFlag = byFlag ? 1 : 0;
        animation.targetNumber = byFlag ? 1 : 0;
        file.animations = {animation};
        Scene scene;
        const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
        ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
        ASSERT_EQ(scene.animations().size(), 1u) << (byFlag ? "by flag" : "by name");
        const Animation& anim = *scene.animations()[0];
        EXPECT_EQ(anim.target, scene.cameraObject()) << (byFlag ? "by flag" : "by name");
        EXPECT_EQ(anim.targetName, "Camera");
        EXPECT_EQ(anim.cameraFlag, 1);
        EXPECT_EQ(readObject(scene, 0).animation, nullptr);
    }
}

TEST_P(CameraAnimations, TwoCameraAnimationsMergeIntoOne) {
    const std::string v = GetParam();
    lf::LegacyScene file = lf::distinctScene(v);
    file.animations = {cameraAnimation("aller", {1.0, 2.0}), cameraAnimation("retour", {0.5})};
    Scene scene;
    const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    EXPECT_EQ(report.animationRecordsRead, 2);
    ASSERT_EQ(scene.animations().size(), 1u);
    const Animation& anim = *scene.animations()[0];
    EXPECT_EQ(anim.target, scene.cameraObject());
    EXPECT_EQ(scene.cameraObject()->animation, &anim);
    ASSERT_EQ(anim.sequences.size(), 2u);
    EXPECT_EQ(anim.sequences[0]->name, "aller");
    EXPECT_EQ(anim.sequences[1]->name, "retour");
    EXPECT_EQ(anim.sequences[0]->keyImages.size(), 2u);
    EXPECT_EQ(anim.sequences[1]->keyImages.size(), 1u);
    EXPECT_EQ(anim.sequences[1]->animation, &anim);
}

INSTANTIATE_TEST_SUITE_P(LegacyVersions, CameraAnimations,
                         ::testing::Values("0.1", "0.2", "0.7", "1.7", "1.8", "1.16.5", "1.16.8"),
                         paramName);

TEST(LegacyAnimationTargets, ByNameBeforeVersion18TheFirstOfTheName) {
    lf::LegacyScene file = lf::distinctScene("1.7");
    file.objects = {lf::plainObject("jumeau"), lf::plainObject("jumeau"), lf::plainObject("autre")};
    lf::LegacyAnimation animation;
    animation.targetName = "jumeau";
    animation.children = {childRef(0, "autre")};
    lf::LegacySequence seq = distinctSequence("s");
    seq.keyImages = {{1.0, {}, {stateFor(lf::distinctState(0), 0, "jumeau")}}};
    animation.sequences = {seq};
    file.animations = {animation};
    Scene scene;
    const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    ASSERT_EQ(scene.animations().size(), 1u);
    const Animation& anim = *scene.animations()[0];
    EXPECT_EQ(anim.target, &readObject(scene, 0));
    EXPECT_EQ(readObject(scene, 1).animation, nullptr);
    EXPECT_EQ(readObject(scene, 2).parent, &readObject(scene, 0));
    EXPECT_EQ(anim.sequences.at(0)->keyImages.at(0)->states.at(0)->object, &readObject(scene, 0));
}

TEST(LegacyAnimationTargets, BySaveIndexSinceVersion18WithLinkedObjectsNumbered) {
    // Save indices: "chaine" 1, its two linked copies 2 and 3, "jumeau" 4
    // and 5.
    for (const std::string v : {"1.8", "1.16.8"}) {
        lf::LegacyScene file = lf::distinctScene(v);
        lf::LegacyObject chain = lf::plainObject("chaine");
        chain.links = {lf::LegacyLink{}, lf::LegacyLink{}};
        file.objects = {chain, lf::plainObject("jumeau"), lf::plainObject("jumeau")};
        lf::LegacyAnimation animation;
        animation.targetName = "jumeau";
        animation.targetNumber = 5;
        animation.children = {childRef(4, "jumeau"), childRef(3, "chaine")};
        lf::LegacySequence seq = distinctSequence("s");
        seq.keyImages = {{1.0, {}, {stateFor(lf::distinctState(0), 2, "chaine"),
                                    stateFor(lf::distinctState(1), 5, "jumeau")}}};
        animation.sequences = {seq};
        file.animations = {animation};
        Scene scene;
        const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
        ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
        ASSERT_EQ(scene.objectCount(), kHead + 5);
        ASSERT_EQ(scene.animations().size(), 1u);
        const Animation& anim = *scene.animations()[0];
        const SceneObject& target = readObject(scene, 4);
        EXPECT_EQ(anim.target, &target) << v;
        EXPECT_EQ(target.animation, &anim);
        EXPECT_EQ(readObject(scene, 3).parent, &target) << v;
        EXPECT_EQ(readObject(scene, 2).parent, &target) << v;
        EXPECT_EQ(target.children.size(), 2u);
        const KeyImage& key = *anim.sequences.at(0)->keyImages.at(0);
        ASSERT_EQ(key.states.size(), 2u);
        EXPECT_EQ(key.states[0]->object, &readObject(scene, 1)) << v;
        EXPECT_EQ(key.states[1]->object, &target) << v;
    }
}

TEST(LegacyAnimationTargets, MissingTargetDropsItsAnimationButNotTheNext) {
    for (const std::string v : {"1.7", "1.16.8"}) {
        lf::LegacyScene file = lf::distinctScene(v);
        file.objects = {lf::plainObject("present"), lf::plainObject("enfant")};
        lf::LegacyAnimation lost;
        lost.targetName = "fantome";
        lost.targetNumber = 9;
        lost.children = {childRef(2, "enfant", {childRef(7, "inconnu")})};
        lf::LegacySequence lostSeq = distinctSequence("perdue");
        lostSeq.keyImages = {{1.0, {}, {stateFor(lf::distinctState(0), 1, "present")}}};
        lost.sequences = {lostSeq};
        lf::LegacyAnimation kept;
        kept.targetName = "present";
        kept.targetNumber = 1;
        lf::LegacySequence keptSeq = distinctSequence("gardee");
        keptSeq.keyImages = {{2.0, {}, {stateFor(lf::distinctState(1), 1, "present")}}};
        kept.sequences = {keptSeq};
        file.animations = {lost, kept};

        Scene scene;
        const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
        ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
        ASSERT_EQ(scene.animations().size(), 1u) << v;
        const Animation& anim = *scene.animations()[0];
        EXPECT_EQ(anim.target, &readObject(scene, 0));
        ASSERT_EQ(anim.sequences.size(), 1u);
        expectSequence(*anim.sequences[0], keptSeq, v);
        const KeyImage& key = *anim.sequences[0]->keyImages.at(0);
        ASSERT_EQ(key.states.size(), 1u);
        expectState(*key.states[0], keptSeq.keyImages[0].states[0], v, "state of the kept animation");
    }
}

TEST(LegacyAnimationTrees, BoneNumbersComeFromTheTreeBeforeVersion1165) {
    // Target, a child "soutien gorge" and its child "x"; a second child
    // "culotte" after them.
    lf::LegacyScene file = lf::distinctScene("1.16.4");
    file.objects = {lf::plainObject("buste"), lf::plainObject("soutien gorge"), lf::plainObject("x"),
                    lf::plainObject("culotte"), lf::plainObject("y")};
    lf::LegacyAnimation animation;
    animation.targetName = "buste";
    animation.targetNumber = 1;
    animation.children = {childRef(2, "soutien gorge", {childRef(3, "x")}), childRef(4, "culotte"),
                          childRef(5, "y")};
    file.animations = {animation};
    Scene scene;
    const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    EXPECT_EQ(readObject(scene, 0).boneNumber, 0);
    EXPECT_EQ(readObject(scene, 1).boneNumber, 53);
    EXPECT_EQ(readObject(scene, 2).boneNumber, 1);
    EXPECT_EQ(readObject(scene, 3).boneNumber, 54);
    // "culotte" advances the running number, "soutien gorge" does not.
    EXPECT_EQ(readObject(scene, 4).boneNumber, 3);
    EXPECT_EQ(readObject(scene, 2).parent, &readObject(scene, 1));
    EXPECT_TRUE(readObject(scene, 2).boneNumberFlag);
}

TEST(LegacyAnimationTrees, StoredBoneNumbersAreKeptSinceVersion1165) {
    lf::LegacyScene file = lf::distinctScene("1.16.5");
    file.objects = {lf::plainObject("buste"), lf::plainObject("soutien gorge"), lf::plainObject("x")};
    file.objects[0].boneNumber = 12;
    file.objects[1].boneNumber = 13;
    file.objects[1].boneNumberFlag = false;
    file.objects[2].boneNumber = 14;
    lf::LegacyAnimation animation;
    animation.targetName = "buste";
    animation.targetNumber = 1;
    animation.children = {childRef(2, "soutien gorge", {childRef(3, "x")})};
    file.animations = {animation};
    Scene scene;
    const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    EXPECT_EQ(readObject(scene, 0).boneNumber, 12);
    EXPECT_EQ(readObject(scene, 1).boneNumber, 13);
    EXPECT_FALSE(readObject(scene, 1).boneNumberFlag);
    EXPECT_EQ(readObject(scene, 2).boneNumber, 14);
}

TEST(LegacyKeyImageStates, StateOfAMissingObjectIsDroppedWithoutLosingTheNextOnes) {
    for (const std::string v : {"0.2", "0.5", "1.7", "1.8", "1.16.8"}) {
        lf::LegacyScene file = lf::distinctScene(v);
        file.objects = {lf::plainObject("tete"), lf::plainObject("pied")};
        lf::LegacyAnimation animation;
        animation.targetName = "tete";
        animation.targetNumber = 1;
        lf::LegacySequence seq = distinctSequence("pas");
        seq.keyImages = {{0.5, {}, {stateFor(lf::distinctState(0), 1, "tete"),
                                    stateFor(lf::distinctState(1), 42, "efface"),
                                    stateFor(lf::distinctState(2), 2, "pied")}},
                         {0.75, {}, {stateFor(lf::distinctState(3), 2, "pied")}}};
        animation.sequences = {seq};
        file.animations = {animation};
        Scene scene;
        const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
        ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
        ASSERT_EQ(scene.animations().size(), 1u) << v;
        const Sequence& gotSeq = *scene.animations()[0]->sequences.at(0);
        ASSERT_EQ(gotSeq.keyImages.size(), 2u) << v;
        const KeyImage& first = *gotSeq.keyImages[0];
        ASSERT_EQ(first.states.size(), 2u) << v;
        EXPECT_EQ(first.states[0]->object, &readObject(scene, 0));
        EXPECT_EQ(first.states[1]->object, &readObject(scene, 1));
        expectState(*first.states[1], seq.keyImages[0].states[2], v, "state after the dropped one");
        ASSERT_EQ(gotSeq.keyImages[1]->states.size(), 1u) << v;
        expectState(*gotSeq.keyImages[1]->states[0], seq.keyImages[1].states[0], v, "state of the next key");
    }
}

TEST(LegacyKeyImageStates, KeyImagesComeBackSortedByTime) {
    lf::LegacyScene file = lf::distinctScene("1.16.8");
    file.animations = {cameraAnimation("desordre", {11.66, 3.9, 7.8, 0.25})};
    Scene scene;
    ASSERT_TRUE(read(lf::buildLegacyFile(file), scene).complete());
    ASSERT_EQ(scene.animations().size(), 1u);
    const Sequence& seq = *scene.animations()[0]->sequences.at(0);
    ASSERT_EQ(seq.keyImages.size(), 4u);
    const std::array<double, 4> times{0.25, 3.9, 7.8, 11.66};
    const std::array<int, 4> stored{3, 1, 2, 0};  // position of each in the file
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_DOUBLE_EQ(seq.keyImages[k]->time, times[k]);
        EXPECT_EQ(seq.keyImages[k]->number, static_cast<std::int32_t>(k));
        ASSERT_EQ(seq.keyImages[k]->states.size(), 1u);
        // Each key image keeps its own states.
        expectState(*seq.keyImages[k]->states[0],
                    file.animations[0].sequences[0].keyImages[static_cast<std::size_t>(stored[k])].states[0],
                    "1.16.8", "state of key " + std::to_string(k));
    }
    EXPECT_EQ(seq.keyImages[0]->displayName(), "Image cl\xE9, temps : 0.25");
}

TEST(LegacyOldestStates, ZeroAnglesGiveVectorEZeroAndValueGZero) {
    lf::LegacyScene file = lf::distinctScene("0.2");
    lf::LegacyAnimation animation = cameraAnimation("zero", {1.0});
    lf::LegacyState& state = animation.sequences[0].keyImages[0].states[0];
    state.vectorA = {0.0f, 0.0f, 0.0f};
    file.animations = {animation};
    Scene scene;
    ASSERT_TRUE(read(lf::buildLegacyFile(file), scene).complete());
    ASSERT_EQ(scene.animations().size(), 1u);
    const ObjectState& got = *scene.animations()[0]->sequences.at(0)->keyImages.at(0)->states.at(0);
    expectF3(got.rotationAxis, lf::F3{0.0f, 0.0f, 0.0f}, "vector E");
    EXPECT_FLOAT_EQ(got.rotationAngle, 0.0f);
    expectF3(got.position, state.vectorB, "vector B");
    EXPECT_EQ(got.flagI, state.flagI);
    EXPECT_EQ(got.flagK, state.flagK);
}

TEST(LegacyOldestStates, AnglesBecomeAxisAndAngleAndTheSequenceBlockIsRead) {
    lf::LegacyScene file = lf::distinctScene("0.1");
    lf::LegacyAnimation animation = cameraAnimation("tourne", {1.0, 2.0, 3.0});
    auto& keys = animation.sequences[0].keyImages;
    keys[0].states[0].vectorA = {0.0f, 0.0f, kHalfPi};
    keys[1].states[0].vectorA = {0.0f, 0.5f, 0.0f};
    keys[2].states[0].vectorA = {0.3f, -0.4f, 0.5f};
    keys[2].states[0].flagI = false;
    file.animations = {animation};
    Scene scene;
    ASSERT_TRUE(read(lf::buildLegacyFile(file), scene).complete());
    ASSERT_EQ(scene.animations().size(), 1u);
    const Sequence& seq = *scene.animations()[0]->sequences.at(0);
    expectSequence(seq, animation.sequences[0], "0.1");
    ASSERT_EQ(seq.keyImages.size(), 3u);
    // A quarter turn about Z: E = (0, 0, sin(pi/4)), G = pi/2.
    const ObjectState& quarter = *seq.keyImages[0]->states.at(0);
    EXPECT_NEAR(quarter.rotationAxis.z, std::sin(kPi / 4.0f), 1e-6f);
    EXPECT_NEAR(quarter.rotationAngle, kHalfPi, 1e-5f);
    // The Y angle turns the other way.
    const ObjectState& aboutY = *seq.keyImages[1]->states.at(0);
    EXPECT_NEAR(aboutY.rotationAxis.y, -std::sin(0.25f), 1e-6f);
    EXPECT_NEAR(aboutY.rotationAngle, 0.5f, 1e-5f);
    for (std::size_t k = 0; k < 3; ++k) {
        expectState(*seq.keyImages[k]->states.at(0), keys[k].states[0], "0.1", "state " + std::to_string(k));
    }
}

// =============================================================================
// Tags

TEST(LegacyTags, OlderFamilyAnimationFileReadsDecimalTimes) {
    lf::LegacyScene file;
    file.version = "Morvanexv3 1.0";
    lf::LegacyAnimation animation = cameraAnimation("ancienne", {3.9, 1.5});
    animation.sequences[0].keyImages[0].timeText = "3.9";
    animation.sequences[0].keyImages[1].timeText = "1.5";
    file.animations = {animation};
    Scene scene;
    const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
    ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
    EXPECT_EQ(report.tag, "Morvanexv3 1.0");
    EXPECT_EQ(scene.objectCount(), kHead);
    ASSERT_EQ(scene.animations().size(), 1u);
    const Animation& anim = *scene.animations()[0];
    EXPECT_EQ(anim.target, scene.cameraObject());
    EXPECT_FLOAT_EQ(anim.turnValue, kDefaultTurn);
    ASSERT_EQ(anim.sequences.size(), 1u);
    const Sequence& seq = *anim.sequences[0];
    // Read with the oldest layout: the 284-byte sequence block.
    expectSequence(seq, animation.sequences[0], "0.1");
    ASSERT_EQ(seq.keyImages.size(), 2u);
    EXPECT_NEAR(seq.keyImages[0]->time, 1.5, 1e-6);
    EXPECT_NEAR(seq.keyImages[1]->time, 3.9, 1e-6);
    EXPECT_EQ(seq.keyImages[1]->displayName(), "Image cl\xE9, temps : 3.9");
    ASSERT_EQ(seq.keyImages[0]->states.size(), 1u);
    EXPECT_EQ(seq.keyImages[0]->states[0]->object, scene.cameraObject());
    expectState(*seq.keyImages[0]->states[0], animation.sequences[0].keyImages[1].states[0], "0.1",
                "state at 1.5 s");
}

TEST(LegacyTags, UnknownTagsAddNothing) {
    const std::vector<std::string> tags{"Morvanexv4 1.17", "Morvanexv4 1.9a", "Morvanexv4 1.16.9",
                                        "Morvanexv4 ", "Morvanexv4 1.16.8 ", "garbage",
                                        "Morvanexv3 1.1"};
    for (const auto& tag : tags) {
        lf::LegacyScene file = lf::distinctScene("1.16.8");
        file.tagOverride = tag;
        file.objects = {lf::distinctObject("objet", 0)};
        file.animations = {cameraAnimation("s", {1.0})};
        Scene scene;
        const SceneReadReport report = read(lf::buildLegacyFile(file), scene);
        EXPECT_EQ(report.status, ReadStatus::UnknownTag) << "\"" << tag << "\"";
        EXPECT_EQ(scene.objectCount(), kHead) << tag;
        EXPECT_TRUE(scene.animations().empty()) << tag;
        expectF4(scene.backgroundColour, lf::F4{0.73f, 0.73f, 0.73f, 1.0f}, "background after " + tag);
        EXPECT_EQ(scene.activeLightCount, 1) << tag;
    }
    // Bytes that are no text at all.
    const std::vector<std::uint8_t> noise{0xFF, 0x10, 0x00, 0x01, 0x00, 0x00, 0x00};
    Scene scene;
    EXPECT_EQ(read(noise, scene).status, ReadStatus::UnknownTag);
    EXPECT_EQ(scene.objectCount(), kHead);
}

TEST(LegacyTags, OlderFamilyTagsWithUnreadBlocksAreRefused) {
    for (const std::string tag : {"Morvanexv3 0.6", "Morvanexv3 0.8", "Morvanexv3 0.9"}) {
        lf::LegacyByteWriter bytes;
        bytes.cstr(tag);
        bytes.i32(16);  // a view settings block of 16 bytes
        bytes.zeros(16);
        bytes.i32(0);
        Scene scene;
        const SceneReadReport report = read(bytes.data(), scene);
        EXPECT_EQ(report.status, ReadStatus::RefusedTag) << tag;
        EXPECT_EQ(report.tag, tag);
        EXPECT_EQ(scene.objectCount(), kHead) << tag;
        EXPECT_TRUE(scene.animations().empty()) << tag;
    }
}

// =============================================================================
// Merging

TEST(LegacyMerge, KeptHeaderLeavesTheSceneSettingsButAddsTheContent) {
    for (const std::string v : {"0.1", "1.16.8"}) {
        lf::LegacyScene file = lf::distinctScene(v);
        file.objects = {lf::plainObject("ajoute")};
        file.animations = {cameraAnimation("s", {1.0})};
        Scene scene;
        const Scene fresh;
        SceneReadOptions options;
        options.keepSceneHeader = true;
        const SceneReadReport report = read(lf::buildLegacyFile(file), scene, options);
        ASSERT_EQ(report.status, ReadStatus::Complete) << report.error;
        ASSERT_EQ(scene.objectCount(), kHead + 1) << v;
        EXPECT_EQ(readObject(scene, 0).name, "ajoute");
        EXPECT_EQ(scene.animations().size(), 1u) << v;
        expectF3(scene.eyeTarget, fresh.eyeTarget, "eye target " + v);
        EXPECT_FLOAT_EQ(scene.fieldOfView, fresh.fieldOfView) << v;
        EXPECT_EQ(scene.settings.shadingMode, fresh.settings.shadingMode) << v;
        expectF4(scene.backgroundColour, lf::F4{0.73f, 0.73f, 0.73f, 1.0f}, "background " + v);
        EXPECT_EQ(scene.activeLightCount, 1) << v;
        EXPECT_TRUE(scene.viewpoints.empty()) << v;
        EXPECT_EQ(scene.settings.groundImageName, " ") << v;
    }
}

// =============================================================================
// Damage

TEST(LegacyDamage, TruncatedObjectIsDiscardedAndEarlierOnesKept) {
    for (const std::string v : {"0.7", "1.16.8"}) {
        lf::LegacyScene file = lf::distinctScene(v);
        file.objects = {lf::plainObject("entier"), lf::plainObject("coupe")};
        const lf::LegacyFile built = lf::buildLegacyFileWithLayout(file);
        // Cut the file in the middle of the second object's vertices.
        std::vector<std::uint8_t> bytes = built.bytes;
        bytes.resize(built.layout.objectEnd[1] - 40);
        Scene scene;
        const SceneReadReport report = read(bytes, scene);
        EXPECT_EQ(report.status, ReadStatus::Damaged) << v;
        EXPECT_EQ(report.objectRecordsRead, 1) << v;
        EXPECT_LE(report.errorOffset, bytes.size()) << v;
        ASSERT_EQ(scene.objectCount(), kHead + 1) << v;
        EXPECT_EQ(readObject(scene, 0).name, "entier");
    }
}

}  // namespace
}  // namespace morvanex
