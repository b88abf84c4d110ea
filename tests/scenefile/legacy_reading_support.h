// Shared by the tests of older scene files: reading bytes built by the
// legacy builder, and the comparisons of what was read with what was written.
#pragma once

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

namespace morvanex::legacy_test {


namespace lf = morvanex::testing;

constexpr std::size_t kHead = kServiceObjectCount;
constexpr float kDefaultTurn = -1.5707964f;

inline SceneReadReport read(const std::vector<std::uint8_t>& bytes, Scene& scene,
                     const SceneReadOptions& options = {}) {
    return readScene(std::span<const std::uint8_t>(bytes.data(), bytes.size()), scene, options);
}

// The i-th object read from the file (after the service objects).
inline const SceneObject& readObject(const Scene& scene, std::size_t i) {
    return *scene.objects().at(kHead + i);
}

inline std::string tagOf(const std::string& version) { return "Morvanexv4 " + version; }

inline std::string paramName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    for (char& c : name) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0) c = '_';
    }
    return name;
}

// --- Comparisons -------------------------------------------------------------

inline void expectF3(const Vec3& got, const lf::F3& want, const std::string& what) {
    EXPECT_FLOAT_EQ(got.x, want[0]) << what << ".x";
    EXPECT_FLOAT_EQ(got.y, want[1]) << what << ".y";
    EXPECT_FLOAT_EQ(got.z, want[2]) << what << ".z";
}

inline void expectF3(const Vec3& got, const Vec3& want, const std::string& what) {
    expectF3(got, lf::F3{want.x, want.y, want.z}, what);
}

inline void expectF4(const Vec4& got, const lf::F4& want, const std::string& what) {
    EXPECT_FLOAT_EQ(got.x, want[0]) << what << ".x";
    EXPECT_FLOAT_EQ(got.y, want[1]) << what << ".y";
    EXPECT_FLOAT_EQ(got.z, want[2]) << what << ".z";
    EXPECT_FLOAT_EQ(got.w, want[3]) << what << ".w";
}

inline void expectMatrix(const Mat4& got, const lf::F16& want, const std::string& what) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_FLOAT_EQ(got.m[r][c], want[static_cast<std::size_t>(r * 4 + c)])
                << what << "[" << r << "][" << c << "]";
        }
    }
}

inline void expectLight(const SceneLight& got, const lf::LegacyLight& want, const std::string& what) {
    EXPECT_FLOAT_EQ(got.intensity, want.intensity) << what;
    expectF4(got.positionOrColour, want.positionOrColour, what + " position");
    EXPECT_FLOAT_EQ(got.secondValue, want.secondValue) << what;
}

using Adjust = std::function<lf::F3(const lf::F3&)>;

inline lf::F3 unchanged(const lf::F3& p) { return p; }

// Compares stored curve points; `step` is the expected step of every point
// (none: the stored step of each point; not checked for plain curves).
inline void expectPoints(const std::vector<CurvePoint>& got, const std::vector<lf::LegacyCurvePoint>& want,
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

inline Quaternion hamilton(const Quaternion& a, const Quaternion& b) {
    return {a.w * b.x + b.w * a.x + (a.y * b.z - a.z * b.y),
            a.w * b.y + b.w * a.y + (a.z * b.x - a.x * b.z),
            a.w * b.z + b.w * a.z + (a.x * b.y - a.y * b.x),
            a.w * b.w - (a.x * b.x + a.y * b.y + a.z * b.z)};
}

inline Quaternion aboutAxis(int axis, double angle) {
    Quaternion q;
    const double s = std::sin(angle / 2.0);
    q.w = std::cos(angle / 2.0);
    (axis == 0 ? q.x : axis == 1 ? q.y : q.z) = s;
    return q;
}

// Vector E and value G of a state stored as angles about X, Y and Z.
inline void axisAngleOfOldState(const lf::F3& angles, lf::F3& e, float& g) {
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

inline void expectObject(const SceneObject& got, const lf::LegacyObject& want, const std::string& v,
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
inline void expectState(const ObjectState& got, const lf::LegacyState& want, const std::string& v,
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

inline void expectSequence(const Sequence& got, const lf::LegacySequence& want, const std::string& v) {
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
inline lf::LegacySequence distinctSequence(std::string name, bool otherPattern = false) {
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
inline lf::LegacyState stateFor(const lf::LegacyState& values, std::int32_t saveIndex, std::string name) {
    lf::LegacyState s = values;
    s.objectIndex = saveIndex;
    s.objectName = std::move(name);
    return s;
}

inline lf::LegacyChild childRef(std::int32_t saveIndex, std::string name,
                         std::vector<lf::LegacyChild> children = {}) {
    return {saveIndex, std::move(name), std::move(children)};
}

inline const std::vector<std::string> kSampledVersions{
    "0.1", "0.2", "0.5", "0.7", "0.9", "1.1", "1.6", "1.8",
    "1.10", "1.15", "1.15a", "1.16", "1.16.5", "1.16.8"};

}  // namespace morvanex::legacy_test
