// Test-only writer of scene files of any older version.
//
// The builder knows the field tables of every version of the scene file and
// writes exactly the fields a file of the chosen version holds, so that the
// tests can check what the reader makes of files the program no longer
// writes. It shares no code with the reader or the writer of the program: it
// has its own byte writer and its own version ladder.
//
// Every value of the description is settable. The defaults of the records are
// neutral (they match what a fresh scene or object holds); the distinct*()
// helpers fill a record with values that differ from every default, so that
// a test can tell a value read from the file from a default kept.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvanex::testing {

// ---------------------------------------------------------------------------
// Version ladder

// The 36 versions of the current family, oldest first.
const std::vector<std::string>& legacyVersionLadder();

// Position of a version on the ladder; none for a text that is not listed.
std::optional<std::size_t> legacyVersionRung(std::string_view version);

// True when a file of `version` holds a field present since `since`. A
// version off the ladder (the older family, say) holds none of them.
bool legacyHasField(std::string_view version, std::string_view since);

// True when `version` lies from `first` to `last`, both included.
bool legacyVersionBetween(std::string_view version, std::string_view first,
                          std::string_view last);

// ---------------------------------------------------------------------------
// Little-endian byte writer

class LegacyByteWriter {
public:
    void u8(std::uint8_t value);
    void u32(std::uint32_t value);
    void i32(std::int32_t value);
    void f32(float value);
    void f64(double value);
    // Written as the raw words chosen for true and false (normally 1 and 0).
    void bool32(bool value);
    void vec3(const std::array<float, 3>& v);
    void vec4(const std::array<float, 4>& v);
    void mat4(const std::array<float, 16>& m);
    void cstr(std::string_view text);  // the bytes, then one 0 byte
    // A fixed field of `size` bytes: the text cut at size - 1 bytes, then 0s.
    void fixedText(std::string_view text, std::size_t size);
    void bytes(const std::vector<std::uint8_t>& data);
    void zeros(std::size_t count);

    std::size_t size() const { return data_.size(); }
    std::vector<std::uint8_t>& data() { return data_; }

    std::uint32_t trueWord = 1;
    std::uint32_t falseWord = 0;

private:
    std::vector<std::uint8_t> data_;
};

// ---------------------------------------------------------------------------
// What to write

using F3 = std::array<float, 3>;
using F4 = std::array<float, 4>;
using F16 = std::array<float, 16>;

inline constexpr F16 kLegacyIdentity{1, 0, 0, 0, 0, 1, 0, 0,
                                     0, 0, 1, 0, 0, 0, 0, 1};

struct LegacyLight {
    float intensity = 1.0f;
    F4 positionOrColour{50.0f, 100.0f, 100.0f, 0.0f};
    float secondValue = 1.0f;
};

struct LegacyViewpoint {
    float pitch = 0.0f;
    float yaw = 0.0f;
    F3 eye{};
    std::string imageFileName = " ";
};

// A point of a curve: the point and its two handles (36 bytes), plus the
// step value that timed points carry since "1.15a".
struct LegacyCurvePoint {
    F3 point{};
    F3 handle1{};
    F3 handle2{};
    std::int32_t step = 0;
};

struct LegacyCurve {
    bool used = false;
    std::vector<LegacyCurvePoint> points;
};

struct LegacyLink {
    F3 position{};
    F3 rotationAxis{0.0f, 1.0f, 0.0f};
    float rotationAngle = 0.0f;
    F3 scale{1.0f, 1.0f, 1.0f};
    F3 pivot{};  // written since "0.7"
};

struct LegacyLightParameters {
    F4 values{};
    std::array<std::int32_t, 3> integers{};
};

// One vertex with everything either layout holds. Files before "1.16.5"
// store position, w, normal, uv and uv2; later files the 72-byte vertex with
// weights and indices.
struct LegacyVertex {
    F3 position{};
    float w = 0.0f;
    F4 weights{1.0f, 0.0f, 0.0f, 0.0f};
    std::array<std::int32_t, 4> boneIndices{0, -1, -1, -1};
    F3 normal{0.0f, 1.0f, 0.0f};
    std::array<float, 2> uv{};
    std::array<float, 2> uv2{};
};

// One texture reference. An empty name (or " ") is an empty slot and holds
// nothing else. The bytes follow an i32 length when the file's embed flag or
// this reference's embedded flag is set; a later reference to a texture whose
// bytes came earlier is written with empty bytes (length 0).
struct LegacyTextureRef {
    std::string name;
    bool embedded = false;  // written since "1.3"
    std::vector<std::uint8_t> bytes;
};

struct LegacyTimedPathBlock {
    std::int32_t present = 0;  // i32, 0 or 1
    std::array<std::int32_t, 8> values{};  // path values 1 to 8
    // Paths A to D. C and D are written with the count of path B and must
    // hold as many points.
    std::array<std::vector<LegacyCurvePoint>, 4> paths;
    bool pathDClosed = false;
};

struct LegacySweepCurveBlock {
    std::int32_t present = 0;  // i32, 0 or 1
    std::array<std::int32_t, 7> values{};  // curve block values 1 to 7
    std::array<std::vector<LegacyCurvePoint>, 4> curves;
};

struct LegacyEntryRecord {
    std::array<std::uint8_t, 16> header{};
    std::array<std::string, 7> texts;
};

struct LegacyObject {
    std::string name = "objet";

    std::vector<LegacyVertex> vertices;
    std::vector<std::int32_t> indices;
    std::int32_t meshValueA = 0;
    std::int32_t meshValueB = 0;
    std::optional<std::int32_t> triangleCount;  // index count / 3 when unset
    bool meshFlagA = false;
    bool meshFlagB = false;
    F16 localMatrix = kLegacyIdentity;
    F3 pivot{};
    F3 position{};
    F3 positionOffset{};
    F3 rotationAxis{0.0f, 1.0f, 0.0f};
    float rotationAngle = 0.0f;
    F3 scale{1.0f, 1.0f, 1.0f};
    float opacity = 1.0f;
    std::array<F4, 4> materialColours{F4{0.7f, 0.7f, 0.7f, 1.0f}, F4{0.7f, 0.7f, 0.7f, 1.0f},
                                      F4{0.7f, 0.7f, 0.7f, 1.0f}, F4{0.7f, 0.7f, 0.7f, 1.0f}};
    std::array<bool, 10> renderSwitches{};  // index = switch - 1
    std::array<float, 10> renderValues{};   // index = value - 1

    bool objectLightFlag = false;
    std::int32_t objectLightCount = 1;
    std::array<LegacyLight, 8> lights{};
    bool lightFlagB = false;
    std::int32_t lightMode = 0;
    std::array<LegacyLightParameters, 3> lightParameters{};

    std::string linkGroupName = "groupe";  // written only with links
    std::vector<LegacyLink> links;

    bool secondMatrixFlag = false;
    F16 secondMatrix = kLegacyIdentity;
    bool flagP = false;
    float valueP = 0.0f;
    std::array<LegacyCurve, 3> profileCurves;
    bool flagE = false;
    bool extraFlag12 = false;  // the bool32 only "1.2" files hold after flag E
    bool flagF1 = true;
    bool flagF2 = false;
    bool flagG = false;
    float valueH1 = 0.0f;
    float valueH2 = 0.0f;
    bool flagI1 = false;
    bool flagI2 = false;
    LegacyTimedPathBlock timedPath;
    LegacySweepCurveBlock sweepCurves;

    bool styleFlag = false;
    F3 styleValues{0.0f, 0.0f, 0.55f};
    F4 styleColour{0.87f, 0.87f, 0.87f, 1.0f};
    std::int32_t styleMode = 1;
    float styleScale = 1.0f;

    std::string soundFileName = " ";
    bool soundFlagA = false;
    bool soundEnabled = false;
    float soundValue = 0.0f;
    bool soundFlagB = false;
    float soundVolume = 1.0f;
    bool soundFlagC = false;
    bool soundLoop = false;

    bool flagS = false;
    float valueS = 0.0f;
    std::int32_t valueT = 0;
    bool boneNumberFlag = true;
    std::int32_t boneNumber = 0;
    bool flagV = true;
    float valueV = 0.0f;
    bool meshFlagC = false;
    bool archFlag = false;
    LegacyCurve thirdPath;  // timed points; written only when used
    bool flagW = false;
    float valueW = 2.0f;
    float valueX = 1.2f;

    // Extension block. A marker of 0 stands for one bool32 and 55 skipped
    // words; any other marker for the fields below. A mode whose first byte
    // is not 1 stands for 54 skipped words in place of value Z to the end.
    std::int32_t extensionBlockMarker = 1;
    bool extensionMarkerZeroFlag = false;  // the bool32 of the marker-0 form
    std::array<float, 2> extensionValuesA{5.0f, 15.0f};
    bool extensionFlagA = false;
    bool extensionCopyFile = false;
    std::string extensionFileName = " ";
    bool extensionFlagC = false;
    std::int32_t extensionValueY = 0;
    std::int32_t extensionMode = 1;
    float extensionValueZ = 1.0f;
    F3 extensionDirection{-0.458f, 0.074f, 0.145f};
    F4 extensionColour1{0.7f, 0.7f, 0.7f, 1.0f};
    std::array<float, 2> extensionValuesB{8.4f, 1.528f};
    F4 extensionColour2{0.7f, 0.7f, 0.7f, 1.0f};
    // Word written in every reserved or skipped slot (readers skip them).
    std::int32_t skippedWord = 0;

    std::array<LegacyTextureRef, 3> textures;

    // Legacy block of files "0.1" to "1.6".
    std::vector<std::array<std::uint8_t, 80>> legacyRecords;
    std::vector<std::array<F3, 4>> legacyPoints;
    std::vector<std::string> legacyNames;
    std::vector<LegacyEntryRecord> legacyEntries;
};

// A child reference of an animation's child tree: by save index in files
// since "1.8", by name before.
struct LegacyChild {
    std::int32_t saveIndex = 0;
    std::string name;
    std::vector<LegacyChild> children;
};

struct LegacyState {
    std::int32_t objectIndex = 0;  // reference since "1.8"
    std::string objectName;        // reference before "1.8"

    F3 vectorA{};
    F3 vectorB{};
    F3 vectorC{};  // since "0.6"
    F3 vectorD{};  // since "0.6"
    F3 vectorE{0.0f, 1.0f, 0.0f};
    F3 vectorF{1.0f, 1.0f, 1.0f};
    float valueG = 0.0f;
    float valueH = 1.0f;
    bool flagI = false;
    bool flagJ = false;  // since "1.16"
    bool flagK = false;
    float valueL = 0.0f;  // since "1.4"
    bool flagM = false;   // since "1.4"
    std::array<LegacyCurve, 3> curves;  // since "1.0", "1.7", "1.16.1"
    std::string soundFileName = " ";   // sound fields since "1.16.2"
    bool soundEnabled = false;
    float soundVolume = 1.0f;
    bool soundFlagB = false;
    float soundValue = 0.0f;
    bool soundFlagC = false;
    bool soundFlagD = false;
};

struct LegacyKeyImage {
    double time = 0.0;
    // The decimal text of the time in a "Morvanexv3 1.0" file; when empty the
    // shortest text that reads back as `time` is written.
    std::string timeText;
    std::vector<LegacyState> states;
};

struct LegacySequence {
    std::int32_t value = 0;
    std::string name = "Sequence";
    bool flagA = false;
    bool flagB = false;
    std::int32_t valueC = 0;
    bool flagD = false;
    bool flagE = false;
    std::int32_t valueF = 0;
    bool flagG = false;  // since "0.4"
    bool flagH = false;  // since "0.4"
    bool flagI = false;  // since "1.16.8"
    bool flagJ = false;  // since "1.16.8"
    std::int32_t reservedWord = 0;  // the 64 reserved words since "1.16.8"
    std::vector<LegacyKeyImage> keyImages;
};

struct LegacyAnimation {
    std::string targetName = "Camera";
    std::array<std::string, 5> sequenceReferences{};
    std::uint8_t animationFlag = 0;
    std::uint8_t cameraFlag = 0;
    float turnValue = -1.5707964f;   // since "1.16.6"
    std::int32_t targetNumber = 0;   // since "1.8"
    std::vector<LegacyChild> children;
    std::vector<LegacySequence> sequences;
};

struct LegacyScene {
    // A version of the ladder ("0.1" ... "1.16.8"), or a whole tag of the
    // older family ("Morvanexv3 1.0"), whose file holds only an animation
    // section.
    std::string version = "1.16.8";
    // Written in place of the tag the version implies; the fields still
    // follow the layout of `version`.
    std::optional<std::string> tagOverride;

    F3 cameraPosition{};
    float cameraPitch = 0.0f;
    float cameraYaw = 0.0f;
    float fieldOfView = 0.78539816f;
    float rangeValue = 150.0f;
    std::int32_t shadingMode = 0;
    std::int32_t activeLightCount = 1;
    std::array<LegacyLight, 8> lights{};
    bool flagA = false;
    bool embedTextures = false;
    std::vector<LegacyViewpoint> viewpoints;
    F4 backgroundColour{0.73f, 0.73f, 0.73f, 1.0f};
    bool flagB = false;
    bool flagC = false;
    bool flagD = false;
    float valueE = 0.0f;
    float valueF = 0.0f;
    float groundShading = 0.55f;
    F4 groundColour{0.87f, 0.87f, 0.87f, 1.0f};
    std::int32_t groundMode = 1;
    float groundScale = 1.0f;
    std::string groundImageName = " ";

    std::vector<LegacyObject> objects;
    std::vector<LegacyAnimation> animations;

    // The raw words written for every bool32 of the file.
    std::uint32_t trueWord = 1;
    std::uint32_t falseWord = 0;
};

// ---------------------------------------------------------------------------
// Writing

// Where things landed in a built file.
struct LegacyTextureBytesAt {
    std::size_t object = 0;  // index into LegacyScene::objects
    std::size_t slot = 0;    // 0..2
    std::size_t offset = 0;  // first byte of the image bytes (after the length)
    std::size_t length = 0;
};

struct LegacyFileLayout {
    std::size_t tagBytes = 0;              // the tag with its 0 byte
    std::size_t headerEnd = 0;             // offset of the object count
    std::vector<std::size_t> objectStart;  // offset of each object record
    std::vector<std::size_t> objectEnd;    // offset after its legacy block
    std::size_t animationCountAt = 0;      // offset of the animation count
    std::vector<LegacyTextureBytesAt> textureBytes;
};

struct LegacyFile {
    std::vector<std::uint8_t> bytes;
    LegacyFileLayout layout;
};

LegacyFile buildLegacyFileWithLayout(const LegacyScene& scene);
std::vector<std::uint8_t> buildLegacyFile(const LegacyScene& scene);

// ---------------------------------------------------------------------------
// Test values

// A header whose every value differs from the scene's defaults.
LegacyScene distinctScene(std::string version);

// An object of three triangles whose every field differs from the defaults
// of a fresh object (flag F1 stays true so that the opacity is kept); `seed`
// shifts the values so that two objects of one file can be told apart.
LegacyObject distinctObject(std::string name, int seed = 0);

// A small object with one triangle and otherwise neutral values.
LegacyObject plainObject(std::string name);

// A state whose every value differs from a fresh state's.
LegacyState distinctState(int seed = 0);

// A complete uncompressed 24-bit BMP image of 2 x 2 pixels.
std::vector<std::uint8_t> tinyBmpImage(std::uint8_t shade = 0x40);

}  // namespace morvanex::testing
