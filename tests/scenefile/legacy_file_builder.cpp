#include "scenefile/legacy_file_builder.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>
#include <stdexcept>
#include <system_error>

namespace morvanex::testing {

// ---------------------------------------------------------------------------
// Version ladder

const std::vector<std::string>& legacyVersionLadder() {
    static const std::vector<std::string> ladder{
        "0.1",    "0.2",    "0.3",    "0.4",    "0.5",    "0.6",   "0.7",  "0.8",  "0.9",
        "0.95",   "1.0",    "1.1",    "1.2",    "1.3",    "1.4",   "1.5",  "1.6",  "1.7",
        "1.8",    "1.9",    "1.10",   "1.11",   "1.12",   "1.13",  "1.14", "1.15", "1.15a",
        "1.16",   "1.16.1", "1.16.2", "1.16.3", "1.16.4", "1.16.5", "1.16.6", "1.16.7", "1.16.8",
    };
    return ladder;
}

std::optional<std::size_t> legacyVersionRung(std::string_view version) {
    const auto& ladder = legacyVersionLadder();
    for (std::size_t i = 0; i < ladder.size(); ++i) {
        if (ladder[i] == version) return i;
    }
    return std::nullopt;
}

namespace {

std::size_t rungOf(std::string_view version) {
    const auto rung = legacyVersionRung(version);
    if (!rung) throw std::logic_error("not a version of the ladder: " + std::string(version));
    return *rung;
}

}  // namespace

bool legacyHasField(std::string_view version, std::string_view since) {
    const std::size_t needed = rungOf(since);
    const auto rung = legacyVersionRung(version);
    return rung && *rung >= needed;
}

bool legacyVersionBetween(std::string_view version, std::string_view first,
                          std::string_view last) {
    const auto rung = legacyVersionRung(version);
    return rung && *rung >= rungOf(first) && *rung <= rungOf(last);
}

// ---------------------------------------------------------------------------
// Byte writer

void LegacyByteWriter::u8(std::uint8_t value) { data_.push_back(value); }

void LegacyByteWriter::u32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        data_.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFFu));
    }
}

void LegacyByteWriter::i32(std::int32_t value) { u32(static_cast<std::uint32_t>(value)); }

void LegacyByteWriter::f32(float value) { u32(std::bit_cast<std::uint32_t>(value)); }

void LegacyByteWriter::f64(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    u32(static_cast<std::uint32_t>(bits & 0xFFFFFFFFu));
    u32(static_cast<std::uint32_t>(bits >> 32));
}

void LegacyByteWriter::bool32(bool value) { u32(value ? trueWord : falseWord); }

void LegacyByteWriter::vec3(const std::array<float, 3>& v) {
    for (float c : v) f32(c);
}

void LegacyByteWriter::vec4(const std::array<float, 4>& v) {
    for (float c : v) f32(c);
}

void LegacyByteWriter::mat4(const std::array<float, 16>& m) {
    for (float c : m) f32(c);
}

void LegacyByteWriter::cstr(std::string_view text) {
    for (char c : text) u8(static_cast<std::uint8_t>(c));
    u8(0);
}

void LegacyByteWriter::fixedText(std::string_view text, std::size_t size) {
    const std::size_t kept = std::min(text.size(), size - 1);
    for (std::size_t i = 0; i < kept; ++i) u8(static_cast<std::uint8_t>(text[i]));
    zeros(size - kept);
}

void LegacyByteWriter::bytes(const std::vector<std::uint8_t>& data) {
    data_.insert(data_.end(), data.begin(), data.end());
}

void LegacyByteWriter::zeros(std::size_t count) { data_.insert(data_.end(), count, 0); }

// ---------------------------------------------------------------------------
// Writing

namespace {

constexpr std::string_view kCurrentFamily = "Morvanexv4 ";
constexpr std::string_view kOlderFamily = "Morvanexv3 ";
constexpr std::string_view kDecimalTimeTag = "Morvanexv3 1.0";

std::string_view orSpace(const std::string& text) {
    return text.empty() ? std::string_view(" ") : std::string_view(text);
}

class FileWriter {
public:
    explicit FileWriter(const LegacyScene& scene) : scene_(scene), version_(scene.version) {
        olderFamily_ = version_.starts_with(kOlderFamily);
        if (!olderFamily_) rungOf(version_);  // a mistyped version fails loudly
        out_.trueWord = scene.trueWord;
        out_.falseWord = scene.falseWord;
    }

    LegacyFile build() {
        const std::string tag =
            scene_.tagOverride ? *scene_.tagOverride
                               : (olderFamily_ ? version_ : std::string(kCurrentFamily) + version_);
        out_.cstr(tag);
        file_.layout.tagBytes = out_.size();
        if (!olderFamily_) {
            header();
            file_.layout.headerEnd = out_.size();
            out_.i32(static_cast<std::int32_t>(scene_.objects.size()));
            for (std::size_t i = 0; i < scene_.objects.size(); ++i) writeObject(i);
        } else {
            file_.layout.headerEnd = out_.size();
        }
        file_.layout.animationCountAt = out_.size();
        out_.i32(static_cast<std::int32_t>(scene_.animations.size()));
        for (const auto& anim : scene_.animations) writeAnimation(anim);
        file_.bytes = std::move(out_.data());
        return std::move(file_);
    }

private:
    bool has(std::string_view since) const { return legacyHasField(version_, since); }

    void light(const LegacyLight& l) {
        out_.f32(l.intensity);
        out_.vec4(l.positionOrColour);
        out_.f32(l.secondValue);
    }

    void header() {
        out_.vec3(scene_.cameraPosition);
        out_.f32(scene_.cameraPitch);
        out_.f32(scene_.cameraYaw);
        out_.f32(scene_.fieldOfView);
        out_.f32(scene_.rangeValue);
        out_.i32(scene_.shadingMode);
        if (has("0.2")) {
            out_.i32(scene_.activeLightCount);
            for (const auto& l : scene_.lights) light(l);
        }
        if (has("1.1")) {
            out_.bool32(scene_.flagA);
            out_.bool32(scene_.embedTextures);
            out_.i32(static_cast<std::int32_t>(scene_.viewpoints.size()));
            for (const auto& view : scene_.viewpoints) {
                out_.f32(view.pitch);
                out_.f32(view.yaw);
                out_.vec3(view.eye);
                out_.cstr(orSpace(view.imageFileName));
            }
        }
        if (has("1.6")) out_.vec4(scene_.backgroundColour);
        if (has("1.10")) out_.bool32(scene_.flagB);
        if (has("1.11")) out_.bool32(scene_.flagC);
        if (has("1.16")) {
            out_.bool32(scene_.flagD);
            out_.f32(scene_.valueE);
            out_.f32(scene_.valueF);
            out_.f32(scene_.groundShading);
            out_.vec4(scene_.groundColour);
            out_.i32(scene_.groundMode);
            out_.f32(scene_.groundScale);
            out_.cstr(orSpace(scene_.groundImageName));
        }
    }

    void curvePoint(const LegacyCurvePoint& p, bool timed) {
        out_.vec3(p.point);
        out_.vec3(p.handle1);
        out_.vec3(p.handle2);
        if (timed && has("1.15a")) out_.i32(p.step);
    }

    void curvePoints(const std::vector<LegacyCurvePoint>& points, bool timed) {
        out_.i32(static_cast<std::int32_t>(points.size()));
        for (const auto& p : points) curvePoint(p, timed);
    }

    // A path written with the count of another path it runs in parallel with.
    void parallelPath(const std::vector<LegacyCurvePoint>& points, std::size_t count) {
        out_.i32(static_cast<std::int32_t>(count));
        for (std::size_t i = 0; i < count; ++i) {
            curvePoint(i < points.size() ? points[i] : LegacyCurvePoint{}, true);
        }
    }

    void flaggedCurve(const LegacyCurve& curve) {
        out_.bool32(curve.used);
        curvePoints(curve.points, false);
    }

    void skipped(const LegacyObject& o, std::size_t words) {
        for (std::size_t i = 0; i < words; ++i) out_.i32(o.skippedWord);
    }

    void writeObject(std::size_t index) {
        const LegacyObject& o = scene_.objects[index];
        file_.layout.objectStart.push_back(out_.size());

        out_.cstr(o.name);                                               // 1
        out_.i32(static_cast<std::int32_t>(o.vertices.size()));          // 2
        out_.i32(static_cast<std::int32_t>(o.indices.size()));           // 3
        out_.i32(o.meshValueA);                                          // 4
        out_.i32(o.meshValueB);                                          // 5
        out_.i32(o.triangleCount.value_or(static_cast<std::int32_t>(o.indices.size() / 3)));  // 6
        out_.bool32(o.meshFlagA);                                        // 7
        out_.bool32(o.meshFlagB);                                        // 8
        out_.mat4(o.localMatrix);                                        // 9
        out_.vec3(o.pivot);                                              // 10
        out_.vec3(o.position);                                           // 11
        out_.vec3(o.positionOffset);                                     // 12
        out_.vec3(o.rotationAxis);                                       // 13
        out_.f32(o.rotationAngle);                                       // 14
        out_.vec3(o.scale);                                              // 15
        out_.f32(o.opacity);                                             // 16
        for (const auto& colour : o.materialColours) out_.vec4(colour);  // 17
        // 18: switches 1 and 3 to 9, then 10; switch 2 comes with the lights.
        out_.bool32(o.renderSwitches[0]);
        for (std::size_t s = 2; s <= 8; ++s) out_.bool32(o.renderSwitches[s]);
        out_.bool32(o.renderSwitches[9]);
        for (std::size_t v = 0; v < 3; ++v) out_.f32(o.renderValues[v]);  // 19
        if (has("0.9")) out_.f32(o.renderValues[3]);                      // 20
        for (std::size_t v = 4; v < 9; ++v) out_.f32(o.renderValues[v]);  // 21
        out_.f32(o.renderValues[9]);                                      // 22
        if (has("0.2")) {
            out_.bool32(o.objectLightFlag);                // 23
            out_.i32(o.objectLightCount);                  // 24
            for (const auto& l : o.lights) light(l);       // 25
            out_.bool32(o.renderSwitches[1]);              // 26
            out_.bool32(o.lightFlagB);                     // 27
            out_.i32(o.lightMode);                         // 28
        }
        if (has("0.5")) {
            for (const auto& block : o.lightParameters) {  // 29
                out_.vec4(block.values);
                for (std::int32_t v : block.integers) out_.i32(v);
            }
            out_.i32(static_cast<std::int32_t>(o.links.size()));  // 30
            if (!o.links.empty()) out_.cstr(o.linkGroupName);     // 31
            for (const auto& link : o.links) {                    // 32
                out_.vec3(link.position);
                out_.vec3(link.rotationAxis);
                out_.f32(link.rotationAngle);
                out_.vec3(link.scale);
                if (has("0.7")) out_.vec3(link.pivot);
            }
        }
        if (has("0.8")) {
            out_.bool32(o.secondMatrixFlag);  // 33
            out_.mat4(o.secondMatrix);        // 34
        }
        if (has("0.95")) {
            out_.bool32(o.flagP);  // 35
            out_.f32(o.valueP);    // 36
        }
        if (has("1.0")) flaggedCurve(o.profileCurves[0]);     // 37, 38
        if (has("1.7")) flaggedCurve(o.profileCurves[1]);     // 39, 40
        if (has("1.16.1")) flaggedCurve(o.profileCurves[2]);  // 41, 42
        if (has("1.1")) {
            out_.bool32(o.flagE);  // 43
            if (version_ == "1.2") out_.bool32(o.extraFlag12);
        }
        if (has("1.6")) {
            out_.bool32(o.flagF1);  // 44
            out_.bool32(o.flagF2);
        }
        if (has("1.9")) out_.bool32(o.flagG);  // 45
        if (has("1.11")) {
            out_.f32(o.valueH1);  // 46
            out_.f32(o.valueH2);
            out_.bool32(o.flagI1);  // 47
            out_.bool32(o.flagI2);
        }
        if (has("1.12")) {
            const auto& block = o.timedPath;
            out_.i32(block.present);  // 48
            if (block.present != 0) {
                for (std::int32_t v : block.values) out_.i32(v);  // 48.1, 48.2
                curvePoints(block.paths[0], true);                // 48.3
                curvePoints(block.paths[1], true);                // 48.4
                parallelPath(block.paths[2], block.paths[1].size());  // 48.5
                if (has("1.13")) {
                    parallelPath(block.paths[3], block.paths[1].size());  // 48.6
                    out_.bool32(block.pathDClosed);                       // 48.7
                }
            }
        }
        if (has("1.14")) {
            const auto& block = o.sweepCurves;
            out_.i32(block.present);  // 49
            if (block.present != 0) {
                out_.i32(block.values[0]);                         // 49.1
                if (has("1.16.4")) out_.i32(block.values[1]);      // 49.2
                for (std::size_t v = 2; v < 7; ++v) out_.i32(block.values[v]);  // 49.3
                curvePoints(block.curves[0], false);               // 49.4
                if (has("1.16.4")) {                               // 49.5
                    curvePoints(block.curves[1], false);
                    curvePoints(block.curves[2], false);
                }
                curvePoints(block.curves[3], false);               // 49.6
            }
        }
        if (has("1.16")) {
            out_.bool32(o.styleFlag);                       // 50
            for (float v : o.styleValues) out_.f32(v);      // 51
            out_.vec4(o.styleColour);                       // 52
            out_.i32(o.styleMode);                          // 53
            out_.f32(o.styleScale);                         // 54
            out_.cstr(orSpace(o.soundFileName));            // 55
            out_.bool32(o.soundFlagA);                      // 56
            out_.bool32(o.soundEnabled);                    // 57
            out_.f32(o.soundValue);                         // 58
            out_.bool32(o.soundFlagB);                      // 59
            out_.f32(o.soundVolume);                        // 60
            out_.bool32(o.soundFlagC);                      // 61
            out_.bool32(o.soundLoop);                       // 62
        }
        if (has("1.16.3")) {
            out_.bool32(o.flagS);  // 63
            out_.f32(o.valueS);    // 64
            out_.i32(o.valueT);    // 65
        }
        if (has("1.16.5")) {
            out_.bool32(o.boneNumberFlag);  // 66
            out_.i32(o.boneNumber);         // 67
        }
        if (has("1.16.7")) {
            out_.bool32(o.flagV);      // 68
            out_.f32(o.valueV);        // 69
            out_.bool32(o.meshFlagC);  // 70
            out_.bool32(o.archFlag);   // 71
            out_.bool32(o.thirdPath.used);  // 72
            if (o.thirdPath.used) curvePoints(o.thirdPath.points, true);
            out_.bool32(o.flagW);      // 73
            out_.f32(o.valueW);        // 74
            out_.f32(o.valueX);        // 75
            out_.i32(o.extensionBlockMarker);  // 76
            if (o.extensionBlockMarker == 0) {
                out_.bool32(o.extensionMarkerZeroFlag);
                skipped(o, 55);
            } else {
                out_.f32(o.extensionValuesA[0]);  // 77
                out_.f32(o.extensionValuesA[1]);
                out_.bool32(o.extensionFlagA);    // 78
                out_.bool32(o.extensionCopyFile);
                out_.cstr(orSpace(o.extensionFileName));  // 79
                out_.bool32(o.extensionFlagC);    // 80
                out_.i32(o.extensionValueY);      // 81
                out_.i32(o.extensionMode);        // 82
                if ((static_cast<std::uint32_t>(o.extensionMode) & 0xFFu) == 1u) {
                    out_.f32(o.extensionValueZ);        // 83
                    out_.vec3(o.extensionDirection);    // 84
                    out_.vec4(o.extensionColour1);      // 85
                    out_.f32(o.extensionValuesB[0]);    // 86
                    out_.f32(o.extensionValuesB[1]);
                    out_.vec4(o.extensionColour2);      // 87
                    skipped(o, 40);                     // 88
                } else {
                    skipped(o, 54);
                }
            }
        }

        writeTextures(index, o);
        writeVertices(o);
        for (std::int32_t i : o.indices) out_.i32(i);
        if (!has("1.7")) legacyBlock(o);
        file_.layout.objectEnd.push_back(out_.size());
    }

    void writeTextures(std::size_t index, const LegacyObject& o) {
        const std::size_t slots = has("0.5") ? 3 : 2;
        for (std::size_t slot = 0; slot < slots; ++slot) {
            const LegacyTextureRef& ref = o.textures[slot];
            const std::string_view name = orSpace(ref.name);
            out_.cstr(name);
            if (name == " ") continue;
            if (has("1.3")) out_.bool32(ref.embedded);
            const bool withBytes =
                (has("1.1") && scene_.embedTextures) || (has("1.3") && ref.embedded);
            if (!withBytes) continue;
            out_.i32(static_cast<std::int32_t>(ref.bytes.size()));
            file_.layout.textureBytes.push_back({index, slot, out_.size(), ref.bytes.size()});
            out_.bytes(ref.bytes);
        }
    }

    void writeVertices(const LegacyObject& o) {
        const bool full = has("1.16.5");
        for (const auto& v : o.vertices) {
            out_.vec3(v.position);
            if (full) {
                out_.vec4(v.weights);
                for (std::int32_t b : v.boneIndices) out_.i32(b);
            } else {
                out_.f32(v.w);
            }
            out_.vec3(v.normal);
            out_.f32(v.uv[0]);
            out_.f32(v.uv[1]);
            out_.f32(v.uv2[0]);
            out_.f32(v.uv2[1]);
        }
    }

    void legacyBlock(const LegacyObject& o) {
        out_.i32(static_cast<std::int32_t>(o.legacyRecords.size()));
        for (const auto& record : o.legacyRecords) {
            for (std::uint8_t b : record) out_.u8(b);
        }
        out_.i32(static_cast<std::int32_t>(o.legacyPoints.size()));
        for (const auto& entry : o.legacyPoints) {
            for (const auto& p : entry) out_.vec3(p);
        }
        out_.i32(static_cast<std::int32_t>(o.legacyNames.size()));
        for (const auto& name : o.legacyNames) out_.cstr(name);
        out_.i32(static_cast<std::int32_t>(o.legacyEntries.size()));
        for (const auto& entry : o.legacyEntries) {
            for (std::uint8_t b : entry.header) out_.u8(b);
            for (const auto& text : entry.texts) out_.cstr(text);
        }
    }

    void childTree(const std::vector<LegacyChild>& children) {
        out_.i32(static_cast<std::int32_t>(children.size()));
        for (const auto& child : children) {
            if (has("1.8")) {
                out_.i32(child.saveIndex);
            } else {
                out_.cstr(child.name);
            }
            childTree(child.children);
        }
    }

    void writeAnimation(const LegacyAnimation& a) {
        out_.fixedText(a.targetName, 255);
        for (const auto& reference : a.sequenceReferences) out_.fixedText(reference, 255);
        out_.u8(a.animationFlag);
        out_.u8(a.cameraFlag);
        if (has("1.16.6")) out_.f32(a.turnValue);
        if (has("1.8")) out_.i32(a.targetNumber);
        childTree(a.children);
        out_.i32(static_cast<std::int32_t>(a.sequences.size()));
        for (const auto& seq : a.sequences) writeSequence(seq);
    }

    void writeSequence(const LegacySequence& s) {
        if (has("0.3")) {
            out_.i32(s.value);
            out_.cstr(s.name);
            out_.bool32(s.flagA);
            out_.bool32(s.flagB);
            out_.i32(s.valueC);
            out_.bool32(s.flagD);
            out_.bool32(s.flagE);
            out_.i32(s.valueF);
            if (has("0.4")) {
                out_.bool32(s.flagG);
                out_.bool32(s.flagH);
            }
            if (has("1.16.8")) {
                out_.bool32(s.flagI);
                out_.bool32(s.flagJ);
                for (int i = 0; i < 64; ++i) out_.i32(s.reservedWord);
            }
        } else {
            LegacyByteWriter block;
            block.fixedText(s.name, 264);
            block.i32(s.valueC);  // 264
            block.i32(s.valueF);  // 268
            block.u8(s.flagE ? 1 : 0);  // 272
            block.u8(0);
            block.u8(s.flagA ? 1 : 0);  // 274
            block.u8(s.flagB ? 1 : 0);  // 275
            block.zeros(4);
            block.u8(s.flagD ? 1 : 0);  // 280
            block.zeros(3);
            out_.bytes(block.data());
        }
        out_.i32(static_cast<std::int32_t>(s.keyImages.size()));
        for (const auto& key : s.keyImages) writeKeyImage(key);
    }

    void writeKeyImage(const LegacyKeyImage& key) {
        if (version_ == kDecimalTimeTag) {
            if (!key.timeText.empty()) {
                out_.cstr(key.timeText);
            } else {
                char text[64];
                const auto result = std::to_chars(text, text + sizeof text, key.time);
                out_.cstr(std::string_view(text, static_cast<std::size_t>(result.ptr - text)));
            }
        } else {
            out_.f64(key.time);
        }
        out_.i32(static_cast<std::int32_t>(key.states.size()));
        for (const auto& st : key.states) {
            if (has("1.8")) {
                out_.i32(st.objectIndex);
            } else {
                out_.cstr(st.objectName);
            }
            writeState(st);
        }
    }

    void writeState(const LegacyState& s) {
        if (!has("0.3")) {
            out_.vec3(s.vectorA);  // 0
            out_.zeros(12);        // 12
            out_.vec3(s.vectorB);  // 24
            out_.u8(s.flagI ? 1 : 0);  // 36
            out_.u8(s.flagK ? 1 : 0);  // 37
            out_.zeros(2);
            return;
        }
        out_.vec3(s.vectorA);
        out_.vec3(s.vectorB);
        if (has("0.6")) {
            out_.vec3(s.vectorC);
            out_.vec3(s.vectorD);
        }
        out_.vec3(s.vectorE);
        out_.vec3(s.vectorF);
        out_.f32(s.valueG);
        out_.f32(s.valueH);
        out_.bool32(s.flagI);
        if (has("1.16")) out_.bool32(s.flagJ);
        out_.bool32(s.flagK);
        if (has("1.4")) {
            out_.f32(s.valueL);
            out_.bool32(s.flagM);
        }
        if (has("1.0")) flaggedCurve(s.curves[0]);
        if (has("1.7")) flaggedCurve(s.curves[1]);
        if (has("1.16.1")) flaggedCurve(s.curves[2]);
        if (has("1.16.2")) {
            out_.cstr(orSpace(s.soundFileName));
            out_.bool32(s.soundEnabled);
            out_.f32(s.soundVolume);
            out_.bool32(s.soundFlagB);
            out_.f32(s.soundValue);
            out_.bool32(s.soundFlagC);
            out_.bool32(s.soundFlagD);
        }
    }

    const LegacyScene& scene_;
    std::string version_;
    bool olderFamily_ = false;
    LegacyByteWriter out_;
    LegacyFile file_;
};

}  // namespace

LegacyFile buildLegacyFileWithLayout(const LegacyScene& scene) {
    return FileWriter(scene).build();
}

std::vector<std::uint8_t> buildLegacyFile(const LegacyScene& scene) {
    return buildLegacyFileWithLayout(scene).bytes;
}

// ---------------------------------------------------------------------------
// Test values

LegacyScene distinctScene(std::string version) {
    LegacyScene scene;
    scene.version = std::move(version);
    scene.cameraPosition = {12.5f, -3.25f, 40.0f};
    scene.cameraPitch = 0.3f;
    scene.cameraYaw = 1.1f;
    scene.fieldOfView = 0.9f;
    scene.rangeValue = 222.0f;
    scene.shadingMode = 3;
    scene.activeLightCount = 5;
    for (std::size_t i = 0; i < scene.lights.size(); ++i) {
        const float f = static_cast<float>(i);
        scene.lights[i] = {0.5f + 0.125f * f, {f, 2.0f * f + 1.0f, -f, 1.0f}, 2.0f + f};
    }
    scene.flagA = true;
    scene.viewpoints = {
        {0.25f, 0.5f, {1.0f, 2.0f, 3.0f}, "ink2024111213.bmp"},
        {-0.75f, 2.5f, {-4.0f, 5.5f, 6.0f}, "ink2024111214.bmp"},
    };
    scene.backgroundColour = {0.1f, 0.2f, 0.3f, 0.4f};
    scene.flagB = true;
    scene.flagC = true;
    scene.flagD = true;
    scene.valueE = 3.5f;
    scene.valueF = -7.25f;
    scene.groundShading = 0.33f;
    scene.groundColour = {0.5f, 0.25f, 0.125f, 0.75f};
    scene.groundMode = 3;
    scene.groundScale = 2.5f;
    scene.groundImageName = "sol.bmp";
    return scene;
}

namespace {

LegacyCurvePoint pointAt(float base, std::int32_t step = 0) {
    return {{base, base + 1.0f, base + 2.0f},
            {base + 0.25f, base + 1.25f, base + 2.25f},
            {base - 0.5f, base + 0.5f, base + 1.5f},
            step};
}

std::vector<LegacyCurvePoint> pointsFrom(float base, std::size_t count, std::int32_t step = 0) {
    std::vector<LegacyCurvePoint> points;
    for (std::size_t i = 0; i < count; ++i) {
        points.push_back(pointAt(base + 3.0f * static_cast<float>(i),
                                 step + static_cast<std::int32_t>(i)));
    }
    return points;
}

}  // namespace

LegacyObject distinctObject(std::string name, int seed) {
    LegacyObject o;
    const float s = static_cast<float>(seed);
    o.name = std::move(name);
    for (int i = 0; i < 9; ++i) {
        const float f = static_cast<float>(i);
        LegacyVertex v;
        v.position = {f + s, 2.0f * f - 3.0f, 0.5f * f + 1.0f};
        v.w = 0.25f;
        v.weights = {0.625f, 0.25f, 0.125f, 0.0f};
        v.boneIndices = {2, 5, -1, -1};
        v.normal = {0.0f, 0.0f, -1.0f};
        v.uv = {0.125f * f, 1.0f - 0.125f * f};
        v.uv2 = {0.9f, 0.8f};
        o.vertices.push_back(v);
        o.indices.push_back(i);
    }
    o.meshValueA = 11 + seed;
    o.meshValueB = 12 + seed;
    o.meshFlagA = true;
    o.meshFlagB = true;
    for (std::size_t i = 0; i < 16; ++i) o.localMatrix[i] = 0.5f + static_cast<float>(i) + s;
    o.pivot = {1.0f + s, 2.0f, 3.0f};
    o.position = {4.0f, 5.0f + s, 6.0f};
    o.positionOffset = {0.5f, -0.5f, 0.25f + s};
    o.rotationAxis = {0.6f, 0.0f, 0.8f};
    o.rotationAngle = 0.7f + 0.01f * s;
    o.scale = {2.0f, 3.0f, 4.0f + s};
    o.opacity = 0.6f + 0.01f * s;
    for (std::size_t c = 0; c < 4; ++c) {
        const float f = static_cast<float>(c);
        o.materialColours[c] = {0.1f * f, 0.2f + 0.1f * f, 0.3f + 0.01f * s, 0.5f + 0.1f * f};
    }
    for (std::size_t i = 0; i < 10; ++i) {
        o.renderSwitches[i] = (static_cast<int>(i) + 1 + seed) % 3 != 0;
    }
    for (std::size_t i = 0; i < 10; ++i) o.renderValues[i] = 1.5f + static_cast<float>(i) + 0.1f * s;
    o.objectLightFlag = true;
    o.objectLightCount = 3;
    for (std::size_t i = 0; i < 8; ++i) {
        const float f = static_cast<float>(i);
        o.lights[i] = {0.25f + 0.5f * f, {f + s, -f, 3.0f * f, 0.5f}, 4.0f - f};
    }
    o.lightFlagB = true;
    o.lightMode = 2;
    for (std::size_t b = 0; b < 3; ++b) {
        const float f = static_cast<float>(b);
        const auto k = static_cast<std::int32_t>(b);
        o.lightParameters[b] = {{f + 0.5f, f + 1.5f, f + 2.5f, f + 3.5f}, {k + 7, k + 8, k + 9}};
    }
    o.linkGroupName = "chaine";
    o.links = {
        {{10.0f, 0.0f, -1.0f}, {1.0f, 0.0f, 0.0f}, 0.5f, {1.5f, 1.5f, 1.5f}, {0.25f, 0.5f, 0.75f}},
        {{-10.0f, 2.0f, 1.0f}, {0.0f, 0.0f, 1.0f}, 1.25f, {0.5f, 2.0f, 1.0f}, {-1.0f, -2.0f, -3.0f}},
    };
    o.secondMatrixFlag = true;
    for (std::size_t i = 0; i < 16; ++i) o.secondMatrix[i] = -2.0f + static_cast<float>(i) * 0.5f;
    o.flagP = true;
    o.valueP = 3.25f + s;
    o.profileCurves[0] = {true, pointsFrom(20.0f + s, 3)};
    o.profileCurves[1] = {true, pointsFrom(40.0f + s, 2)};
    o.profileCurves[2] = {true, pointsFrom(60.0f + s, 4)};
    o.flagE = true;
    o.extraFlag12 = true;
    o.flagF1 = true;
    o.flagF2 = true;
    o.flagG = true;
    o.valueH1 = 1.25f;
    o.valueH2 = -2.5f + s;
    o.flagI1 = true;
    o.flagI2 = true;
    o.timedPath.present = 1;
    o.timedPath.values = {1, 2, 3, 4, 5, 7 + seed, 8, 9};
    o.timedPath.paths[0] = pointsFrom(100.0f, 2, 20);
    o.timedPath.paths[1] = pointsFrom(110.0f, 3, 30);
    o.timedPath.paths[2] = pointsFrom(120.0f, 3, 40);
    o.timedPath.paths[3] = pointsFrom(130.0f, 3, 50);
    o.timedPath.pathDClosed = true;
    o.sweepCurves.present = 1;
    o.sweepCurves.values = {31, 32, 33, 34, 35, 36, 37 + seed};
    o.sweepCurves.curves[0] = pointsFrom(200.0f, 2);
    o.sweepCurves.curves[1] = pointsFrom(210.0f, 3);
    o.sweepCurves.curves[2] = pointsFrom(220.0f, 1);
    o.sweepCurves.curves[3] = pointsFrom(230.0f, 2);
    o.styleFlag = true;
    o.styleValues = {0.1f, 0.2f, 0.3f + 0.01f * s};
    o.styleColour = {0.2f, 0.3f, 0.4f, 0.5f};
    o.styleMode = 4;
    o.styleScale = 1.75f;
    o.soundFileName = "son.wav";
    o.soundFlagA = true;
    o.soundEnabled = true;
    o.soundValue = 0.8f;
    o.soundFlagB = true;
    o.soundVolume = 0.4f;
    o.soundFlagC = true;
    o.soundLoop = true;
    o.flagS = true;
    o.valueS = 6.5f;
    o.valueT = 9 + seed;
    o.boneNumberFlag = false;
    o.boneNumber = 17 + seed;
    o.flagV = false;
    o.valueV = 4.5f;
    o.meshFlagC = true;
    o.archFlag = true;
    o.thirdPath = {true, pointsFrom(300.0f, 2, 60)};
    o.flagW = true;
    o.valueW = 3.5f;
    o.valueX = 2.75f;
    o.extensionBlockMarker = 1;
    o.extensionValuesA = {6.5f, 16.5f};
    o.extensionFlagA = true;
    o.extensionCopyFile = true;
    o.extensionFileName = "ext.dat";
    o.extensionFlagC = true;
    o.extensionValueY = 42 + seed;
    o.extensionMode = 1;
    o.extensionValueZ = 1.5f;
    o.extensionDirection = {0.1f, 0.2f, 0.3f};
    o.extensionColour1 = {0.1f, 0.2f, 0.3f, 0.9f};
    o.extensionValuesB = {9.5f, 2.5f};
    o.extensionColour2 = {0.4f, 0.5f, 0.6f, 0.8f};
    o.skippedWord = 0x7F7F7F7F;
    if (seed % 2 != 0) {
        // Neighbouring flags differ from the even seed's, so that a swap of
        // two fields shows.
        o.meshFlagA = false;
        o.flagF2 = false;
        o.flagI1 = false;
        o.soundFlagA = false;
        o.soundFlagC = false;
        o.extensionCopyFile = false;
        o.meshFlagC = false;
        o.lightFlagB = false;
    }
    std::array<std::uint8_t, 80> record{};
    for (std::size_t i = 0; i < record.size(); ++i) record[i] = static_cast<std::uint8_t>(i * 3 + 1);
    o.legacyRecords = {record};
    o.legacyPoints = {
        {F3{1, 2, 3}, F3{4, 5, 6}, F3{7, 8, 9}, F3{10, 11, 12}},
        {F3{-1, -2, -3}, F3{-4, -5, -6}, F3{-7, -8, -9}, F3{-10, -11, -12}},
    };
    o.legacyNames = {"premier", "second"};
    LegacyEntryRecord entry;
    for (std::size_t i = 0; i < entry.header.size(); ++i) entry.header[i] = static_cast<std::uint8_t>(0xA0 + i);
    entry.texts = {"t1", "t2", "", "t4", "t5", "t6", "t7"};
    o.legacyEntries = {entry};
    return o;
}

LegacyObject plainObject(std::string name) {
    LegacyObject o;
    o.name = std::move(name);
    for (int i = 0; i < 3; ++i) {
        const float f = static_cast<float>(i);
        LegacyVertex v;
        v.position = {f, f * f, 1.0f - f};
        v.uv = {0.5f * f, 0.25f * f};
        o.vertices.push_back(v);
        o.indices.push_back(i);
    }
    return o;
}

LegacyState distinctState(int seed) {
    LegacyState st;
    const float s = static_cast<float>(seed);
    st.vectorA = {0.1f + s, 0.2f, 0.3f};
    st.vectorB = {10.0f, 20.0f + s, 30.0f};
    st.vectorC = {1.5f, 2.5f, 3.5f + s};
    st.vectorD = {-1.5f, -2.5f + s, -3.5f};
    st.vectorE = {0.0f, 0.0f, 1.0f};
    st.vectorF = {2.0f, 2.5f, 3.0f + s};
    st.valueG = 0.75f + s;
    st.valueH = 0.5f;
    // Flags I and K alternate with the seed so that neither can stand in
    // for the other.
    st.flagI = seed % 2 == 0;
    st.flagJ = true;
    st.flagK = seed % 2 != 0;
    st.valueL = 0.35f + s;
    st.flagM = true;
    st.curves[0] = {true, pointsFrom(5.0f + s, 2)};
    st.curves[1] = {true, pointsFrom(15.0f, 1)};
    st.curves[2] = {true, pointsFrom(25.0f, 3)};
    st.soundFileName = "pas.wav";
    st.soundEnabled = true;
    st.soundVolume = 0.3f;
    st.soundFlagB = true;
    st.soundValue = 0.45f + s;
    st.soundFlagC = true;
    st.soundFlagD = true;
    return st;
}

std::vector<std::uint8_t> tinyBmpImage(std::uint8_t shade) {
    LegacyByteWriter w;
    constexpr std::uint32_t kRowBytes = 8;  // 2 pixels x 3 bytes, padded to 4
    constexpr std::uint32_t kPixelBytes = kRowBytes * 2;
    constexpr std::uint32_t kDataOffset = 14 + 40;
    w.u8('B');
    w.u8('M');
    w.u32(kDataOffset + kPixelBytes);
    w.u32(0);
    w.u32(kDataOffset);
    w.u32(40);  // info header size
    w.i32(2);   // width
    w.i32(2);   // height
    w.u8(1);
    w.u8(0);  // planes
    w.u8(24);
    w.u8(0);  // bits per pixel
    w.u32(0);  // no compression
    w.u32(kPixelBytes);
    w.i32(2835);
    w.i32(2835);
    w.u32(0);
    w.u32(0);
    for (int row = 0; row < 2; ++row) {
        for (int px = 0; px < 2; ++px) {
            w.u8(shade);
            w.u8(static_cast<std::uint8_t>(shade + 0x20 * px));
            w.u8(static_cast<std::uint8_t>(0xFF - 0x40 * row));
        }
        w.zeros(2);
    }
    return std::move(w.data());
}

}  // namespace morvanex::testing
