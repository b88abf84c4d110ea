// What `morvanex info` prints, as text and as JSON: a scene is built,
// written and read back, and the descriptions of what was read are checked.
#include "scenefile/scene_info.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/text_encoding.h"
#include "scene/scene.h"
#include "scenefile/scene_reader.h"
#include "scenefile/scene_writer.h"

namespace morvanex {
namespace {

// --- A strict little JSON reader ------------------------------------------------
// Enough to take the output apart: it refuses anything RFC 8259 does not
// allow (raw control characters in strings, bad escapes, malformed UTF-8,
// leading zeros, trailing commas, duplicate keys, text after the value).

struct JsonValue {
    enum class Kind { Null, Boolean, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0.0;
    std::string string;
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members;

    bool isNull() const { return kind == Kind::Null; }

    const JsonValue* find(std::string_view key) const {
        for (const auto& [name, value] : members) {
            if (name == key) return &value;
        }
        return nullptr;
    }
    // A missing key or index fails the test and reads as null.
    const JsonValue& operator[](std::string_view key) const {
        static const JsonValue missing;
        if (kind != Kind::Object) {
            ADD_FAILURE() << "not an object where key \"" << key << "\" was looked up";
            return missing;
        }
        const JsonValue* value = find(key);
        if (value == nullptr) ADD_FAILURE() << "no key \"" << key << "\"";
        return value != nullptr ? *value : missing;
    }
    const JsonValue& operator[](std::size_t index) const {
        static const JsonValue missing;
        if (kind != Kind::Array || index >= items.size()) {
            ADD_FAILURE() << "no item " << index;
            return missing;
        }
        return items[index];
    }
    std::size_t size() const { return kind == Kind::Array ? items.size() : members.size(); }
    float asFloat() const { return static_cast<float>(number); }
    long long asInteger() const { return static_cast<long long>(number); }
};

class JsonParser {
public:
    explicit JsonParser(std::string_view text) : text_(text) {}

    // The value, or nothing with problem() saying why.
    std::optional<JsonValue> parseDocument() {
        JsonValue value;
        skipSpace();
        if (!parseValue(value, 0)) return std::nullopt;
        skipSpace();
        if (pos_ != text_.size()) return fail("text after the value");
        return value;
    }
    const std::string& problem() const { return problem_; }

private:
    std::nullopt_t fail(std::string what) {
        if (problem_.empty()) problem_ = what + " at byte " + std::to_string(pos_);
        return std::nullopt;
    }
    bool failed(std::string what) {
        fail(std::move(what));
        return false;
    }
    void skipSpace() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n' || text_[pos_] == '\r'))
            ++pos_;
    }
    bool literal(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) return false;
        pos_ += word.size();
        return true;
    }
    bool parseValue(JsonValue& value, int depth) {
        if (depth > 64) return failed("nested too deep");
        if (pos_ >= text_.size()) return failed("end of text where a value was expected");
        const char c = text_[pos_];
        if (c == '{') return parseObject(value, depth);
        if (c == '[') return parseArray(value, depth);
        if (c == '"') {
            value.kind = JsonValue::Kind::String;
            return parseString(value.string);
        }
        if (literal("true")) {
            value.kind = JsonValue::Kind::Boolean;
            value.boolean = true;
            return true;
        }
        if (literal("false")) {
            value.kind = JsonValue::Kind::Boolean;
            return true;
        }
        if (literal("null")) return true;
        return parseNumber(value);
    }
    bool parseObject(JsonValue& value, int depth) {
        value.kind = JsonValue::Kind::Object;
        ++pos_;
        skipSpace();
        if (pos_ < text_.size() && text_[pos_] == '}') {
            ++pos_;
            return true;
        }
        while (true) {
            skipSpace();
            std::string key;
            if (pos_ >= text_.size() || text_[pos_] != '"') return failed("expected a key");
            if (!parseString(key)) return false;
            if (value.find(key) != nullptr) return failed("duplicate key \"" + key + "\"");
            skipSpace();
            if (pos_ >= text_.size() || text_[pos_] != ':') return failed("expected ':'");
            ++pos_;
            skipSpace();
            JsonValue member;
            if (!parseValue(member, depth + 1)) return false;
            value.members.emplace_back(std::move(key), std::move(member));
            skipSpace();
            if (pos_ < text_.size() && text_[pos_] == ',') {
                ++pos_;
                continue;
            }
            if (pos_ < text_.size() && text_[pos_] == '}') {
                ++pos_;
                return true;
            }
            return failed("expected ',' or '}'");
        }
    }
    bool parseArray(JsonValue& value, int depth) {
        value.kind = JsonValue::Kind::Array;
        ++pos_;
        skipSpace();
        if (pos_ < text_.size() && text_[pos_] == ']') {
            ++pos_;
            return true;
        }
        while (true) {
            skipSpace();
            JsonValue item;
            if (!parseValue(item, depth + 1)) return false;
            value.items.push_back(std::move(item));
            skipSpace();
            if (pos_ < text_.size() && text_[pos_] == ',') {
                ++pos_;
                continue;
            }
            if (pos_ < text_.size() && text_[pos_] == ']') {
                ++pos_;
                return true;
            }
            return failed("expected ',' or ']'");
        }
    }
    static int hexValue(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }
    static void appendUtf8(std::string& out, char32_t cp) {
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    bool parseString(std::string& out) {
        ++pos_;  // the opening quote
        while (true) {
            if (pos_ >= text_.size()) return failed("unterminated string");
            const auto byte = static_cast<unsigned char>(text_[pos_]);
            if (byte == '"') {
                ++pos_;
                return true;
            }
            if (byte < 0x20) return failed("raw control character in a string");
            if (byte == '\\') {
                if (++pos_ >= text_.size()) return failed("unterminated escape");
                const char e = text_[pos_++];
                switch (e) {
                case '"': out.push_back('"'); break;
                case '\\': out.push_back('\\'); break;
                case '/': out.push_back('/'); break;
                case 'b': out.push_back('\b'); break;
                case 'f': out.push_back('\f'); break;
                case 'n': out.push_back('\n'); break;
                case 'r': out.push_back('\r'); break;
                case 't': out.push_back('\t'); break;
                case 'u': {
                    if (pos_ + 4 > text_.size()) return failed("short \\u escape");
                    char32_t cp = 0;
                    for (int i = 0; i < 4; ++i) {
                        const int h = hexValue(text_[pos_++]);
                        if (h < 0) return failed("bad \\u escape");
                        cp = (cp << 4) | static_cast<char32_t>(h);
                    }
                    if (cp >= 0xD800 && cp <= 0xDFFF) return failed("surrogate escape (not produced here)");
                    appendUtf8(out, cp);
                    break;
                }
                default: return failed("unknown escape");
                }
                continue;
            }
            if (byte < 0x80) {
                out.push_back(static_cast<char>(byte));
                ++pos_;
                continue;
            }
            // A multi-byte character: it must be well formed.
            const std::size_t start = pos_;
            const char32_t cp = decodeUtf8(text_, pos_);
            const std::string_view sequence = text_.substr(start, pos_ - start);
            if (cp == 0xFFFD && sequence != "\xEF\xBF\xBD") return failed("malformed UTF-8");
            out.append(sequence);
        }
    }
    bool parseNumber(JsonValue& value) {
        const std::size_t start = pos_;
        auto digits = [&] {
            const std::size_t from = pos_;
            while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
            return pos_ - from;
        };
        if (pos_ < text_.size() && text_[pos_] == '-') ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '0') {
            ++pos_;
        } else if (digits() == 0) {
            return failed("not a value");
        }
        if (pos_ < text_.size() && text_[pos_] == '.') {
            ++pos_;
            if (digits() == 0) return failed("no digits after '.'");
        }
        if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
            ++pos_;
            if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) ++pos_;
            if (digits() == 0) return failed("no digits in the exponent");
        }
        value.kind = JsonValue::Kind::Number;
        value.number = std::strtod(std::string(text_.substr(start, pos_ - start)).c_str(), nullptr);
        return true;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::string problem_;
};

JsonValue parseJson(const std::string& text) {
    JsonParser parser(text);
    std::optional<JsonValue> value = parser.parseDocument();
    if (!value) {
        ADD_FAILURE() << "not valid JSON: " << parser.problem() << "\n" << text;
        return {};
    }
    return *value;
}

TEST(SceneInfoJsonChecker, RefusesWhatJsonDoesNotAllow) {
    // The checker must itself catch faults, or the tests below prove nothing.
    for (const std::string bad : {"{\"a\":1,}", "{\"a\":\"x\ty\"}", "{\"a\":\"\\x41\"}", "{\"a\":01}", "{\"a\":1}{",
                                  "{\"a\":1,\"a\":2}", "{\"a\":\"\xC3\"}", "{\"a\":\"\xE9\"}", "[1 2]", "{a:1}",
                                  "{\"a\":nan}"}) {
        JsonParser parser(bad);
        EXPECT_FALSE(parser.parseDocument().has_value()) << bad;
    }
    JsonParser good("{\"a\":[1,-2.5e3,true,null,\"\\u00e9\\\"\"],\"b\":{}}");
    const std::optional<JsonValue> value = good.parseDocument();
    ASSERT_TRUE(value.has_value()) << good.problem();
    EXPECT_EQ((*value)["a"][4].string, "\xC3\xA9\"");
    EXPECT_EQ((*value)["a"][1].number, -2500.0);
}

// --- The scene ---------------------------------------------------------------------

constexpr const char* kOddName = "caf\xE9 \"bar\" back\\slash";  // Windows-1252
constexpr const char* kOddNameUtf8 = "caf\xC3\xA9 \"bar\" back\\slash";
constexpr const char* kTabName = "tab\there";

MeshVertex vertexAt(float x, float y) {
    MeshVertex v;
    v.position = {x, y, 0.0f};
    v.normal = {0.0f, 0.0f, -1.0f};
    return v;
}

void buildScene(Scene& scene) {
    scene.eyeTarget = {1.5f, -2.0f, 300.0f};
    scene.eye = scene.eyeTarget;
    scene.pitch = 0.25f;
    scene.yaw = -1.5f;
    scene.fieldOfView = 0.75f;
    scene.rangeValue = 220.0f;
    scene.settings.shadingMode = 2;
    scene.activeLightCount = 3;
    scene.lights[2].intensity = 0.5f;
    scene.lights[2].positionOrColour = {1.0f, 2.0f, 3.0f, 1.0f};
    scene.lights[3].intensity = 9.0f;  // not in use: not listed
    scene.viewpoints.push_back(
        {.eye = {4.0f, 5.0f, 6.0f}, .yaw = 0.5f, .pitch = -0.125f, .imageFileName = "vue \xE9.bmp", .imagePath = ""});
    scene.backgroundColour = {0.125f, 0.25f, 0.5f, 1.0f};
    scene.settings.flagB = true;
    scene.settings.valueF = 2.5f;
    scene.settings.groundMode = 3;
    scene.settings.groundScale = 4.0f;
    scene.settings.groundImageName = "sol.jpg";

    SceneTexture& box = scene.addTexture("bo\xEEte.jpg");
    box.embedded = true;
    box.embeddedBytes = {1, 2, 3};
    SceneTexture& summer = scene.addTexture("\xE9t\xE9.png");
    summer.embedded = true;
    summer.embeddedBytes = {4, 5};

    SceneObject& body = scene.addObject("corps");  // 1
    body.assignMesh({vertexAt(0, 0), vertexAt(1, 0), vertexAt(0, 1)}, {0, 1, 2});
    body.textures[0] = &box;
    body.textureEnabled[0] = true;
    SceneObject& arm = scene.addObject("bras");  // 2
    arm.boneNumber = 7;
    SceneObject& hand = scene.addObject("main");  // 3
    hand.boneNumber = 8;
    body.addChild(arm);
    body.addChild(hand);

    SceneObject& odd = scene.addObject(kOddName);  // 4
    odd.assignMesh({vertexAt(0, 0), vertexAt(1, 0), vertexAt(0, 1), vertexAt(1, 1)}, {0, 1, 2, 1, 3, 2});
    odd.textures[0] = &box;
    odd.textureEnabled[0] = true;
    odd.textures[2] = &summer;
    odd.textureEnabled[2] = true;

    SceneObject& pillar = scene.addObject("pilier");  // 5, its linked copy 6
    SceneObject& pillarCopy = scene.addObject("pilier");
    ObjectLink link;
    link.position = {50.0f, 0.0f, 0.0f};
    link.object = &pillarCopy;
    pillar.links.push_back(link);
    pillar.linkGroupName = "colonnade \xE9";

    scene.addObject(kTabName);  // 7

    Animation& walk = scene.addAnimation("corps");
    walk.target = &body;
    body.animation = arm.animation = hand.animation = &walk;
    Sequence& march = walk.addSequence("marche");
    for (double t : {0.0, 1.0, 2.0}) march.addKeyImage(t).addState(&arm).position = {static_cast<float>(t), 0, 0};
    walk.addSequence("saut \xE9").addKeyImage(0.5);

    Animation& ride = scene.addAnimation("Camera");
    ride.cameraFlag = 1;
    ride.target = scene.cameraObject();
    scene.cameraObject()->animation = &ride;
    Sequence& flight = ride.addSequence("vol");
    for (double t : {1.0, 2.0}) flight.addKeyImage(t).addState(scene.cameraObject());
}

class SceneInfoTest : public ::testing::Test {
protected:
    void SetUp() override {
        Scene original;
        buildScene(original);
        bytes_ = writeScene(original, SceneWriteOptions{});
        report_ = readScene(bytes_, scene_, SceneReadOptions{});
        ASSERT_EQ(report_.status, ReadStatus::Complete) << report_.error;
        json_ = parseJson(sceneInfoJson(scene_, report_, "sc\xC3\xA8ne.mrx"));
        text_ = sceneInfoText(scene_, report_, "sc\xC3\xA8ne.mrx");
    }

    std::vector<std::uint8_t> bytes_;
    Scene scene_;
    SceneReadReport report_;
    JsonValue json_;
    std::string text_;
};

// --- JSON --------------------------------------------------------------------------

TEST_F(SceneInfoTest, JsonTopLevelOfACompleteFile) {
    EXPECT_EQ(json_["file"].string, "sc\xC3\xA8ne.mrx");
    EXPECT_EQ(json_["tag"].string, "Morvanexv4 1.16.8");
    EXPECT_EQ(json_["status"].string, "complete");
    EXPECT_TRUE(json_["error"].isNull());
    EXPECT_TRUE(json_["errorOffset"].isNull());
    EXPECT_EQ(json_["unreadBytes"].asInteger(), 0);
    EXPECT_EQ(json_["objectsDeclared"].asInteger(), 6);  // linked copies have no record
    EXPECT_EQ(json_["objectRecordsRead"].asInteger(), 6);
    EXPECT_EQ(json_["animationsDeclared"].asInteger(), 2);
    EXPECT_EQ(json_["animationRecordsRead"].asInteger(), 2);
}

TEST_F(SceneInfoTest, JsonHeaderHoldsTheFileHeader) {
    const JsonValue& h = json_["header"];
    ASSERT_EQ(h["cameraPosition"].size(), 3u);
    EXPECT_EQ(h["cameraPosition"][0].asFloat(), 1.5f);
    EXPECT_EQ(h["cameraPosition"][2].asFloat(), 300.0f);
    EXPECT_EQ(h["pitch"].asFloat(), 0.25f);
    EXPECT_EQ(h["yaw"].asFloat(), -1.5f);
    EXPECT_EQ(h["fieldOfView"].asFloat(), 0.75f);
    EXPECT_EQ(h["rangeValue"].asFloat(), 220.0f);
    EXPECT_EQ(h["shadingMode"].asInteger(), 2);
    EXPECT_EQ(h["activeLightCount"].asInteger(), 3);
    ASSERT_EQ(h["lights"].size(), 3u);  // only the lights in use
    EXPECT_EQ(h["lights"][2]["intensity"].asFloat(), 0.5f);
    EXPECT_EQ(h["lights"][2]["positionOrColour"][1].asFloat(), 2.0f);
    EXPECT_EQ(h["embedTextures"].boolean, false);
    ASSERT_EQ(h["viewpoints"].size(), 1u);
    EXPECT_EQ(h["viewpoints"][0]["eye"][1].asFloat(), 5.0f);
    EXPECT_EQ(h["viewpoints"][0]["yaw"].asFloat(), 0.5f);
    EXPECT_EQ(h["viewpoints"][0]["pitch"].asFloat(), -0.125f);
    EXPECT_EQ(h["viewpoints"][0]["image"].string, "vue \xC3\xA9.bmp");
    EXPECT_EQ(h["backgroundColour"][2].asFloat(), 0.5f);
    EXPECT_FALSE(h["flagA"].boolean);
    EXPECT_TRUE(h["flagB"].boolean);
    EXPECT_EQ(h["valueF"].asFloat(), 2.5f);
    EXPECT_EQ(h["ground"]["mode"].asInteger(), 3);
    EXPECT_EQ(h["ground"]["scale"].asFloat(), 4.0f);
    EXPECT_EQ(h["ground"]["shading"].asFloat(), 0.55f);
    EXPECT_EQ(h["ground"]["image"].string, "sol.jpg");
}

TEST_F(SceneInfoTest, JsonListsTheFileObjectsInOrderWithoutServiceObjects) {
    const JsonValue& objects = json_["objects"];
    ASSERT_EQ(objects.size(), 7u);
    EXPECT_EQ(scene_.objectCount(), 7u + kServiceObjectCount);
    const std::vector<std::string> names{"corps", "bras", "main", kOddNameUtf8, "pilier", "pilier", "tab\there"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(objects[i]["number"].asInteger(), static_cast<long long>(i + 1));
        EXPECT_EQ(objects[i]["name"].string, names[i]) << i;
    }
    for (const JsonValue& object : objects.items) {
        for (std::string_view service : kServiceObjectNames) EXPECT_NE(object["name"].string, service);
    }
}

TEST_F(SceneInfoTest, JsonObjectCountsTexturesAndLinks) {
    const JsonValue& objects = json_["objects"];
    const JsonValue& odd = objects[3];
    EXPECT_EQ(odd["vertices"].asInteger(), 4);
    EXPECT_EQ(odd["triangles"].asInteger(), 2);
    ASSERT_EQ(odd["textures"].size(), 3u);
    EXPECT_EQ(odd["textures"][0].string, "bo\xC3\xAEte.jpg");
    EXPECT_TRUE(odd["textures"][1].isNull());
    EXPECT_EQ(odd["textures"][2].string, "\xC3\xA9t\xC3\xA9.png");
    EXPECT_EQ(objects[0]["vertices"].asInteger(), 3);
    EXPECT_EQ(objects[0]["triangles"].asInteger(), 1);
    EXPECT_EQ(objects[0]["textures"][0].string, "bo\xC3\xAEte.jpg");  // shared
    EXPECT_EQ(objects[1]["vertices"].asInteger(), 0);

    const JsonValue& owner = objects[4];
    EXPECT_EQ(owner["linkCount"].asInteger(), 1);
    EXPECT_EQ(owner["linkGroup"].string, "colonnade \xC3\xA9");
    EXPECT_TRUE(owner["linkedCopyOf"].isNull());
    const JsonValue& copy = objects[5];
    EXPECT_EQ(copy["linkCount"].asInteger(), 0);
    EXPECT_TRUE(copy["linkGroup"].isNull());
    EXPECT_EQ(copy["linkedCopyOf"].asInteger(), 5);
    EXPECT_TRUE(objects[0]["linkedCopyOf"].isNull());
}

TEST_F(SceneInfoTest, JsonHierarchyAndBones) {
    const JsonValue& objects = json_["objects"];
    const JsonValue& body = objects[0];
    ASSERT_EQ(body["children"].size(), 2u);
    EXPECT_EQ(body["children"][0].string, "bras");
    EXPECT_EQ(body["children"][1].string, "main");
    EXPECT_TRUE(body["parent"].isNull());
    EXPECT_EQ(objects[1]["parent"].string, "corps");
    EXPECT_EQ(objects[2]["parent"].string, "corps");
    EXPECT_EQ(objects[1]["children"].size(), 0u);
    EXPECT_EQ(objects[1]["boneNumber"].asInteger(), 7);
    EXPECT_EQ(objects[2]["boneNumber"].asInteger(), 8);
}

TEST_F(SceneInfoTest, JsonAnimationsWithTheirSequences) {
    const JsonValue& animations = json_["animations"];
    ASSERT_EQ(animations.size(), 2u);
    const JsonValue& walk = animations[0];
    EXPECT_EQ(walk["target"].string, "corps");
    EXPECT_FALSE(walk["camera"].boolean);
    EXPECT_EQ(walk["children"].asInteger(), 2);
    ASSERT_EQ(walk["sequences"].size(), 2u);
    EXPECT_EQ(walk["sequences"][0]["name"].string, "marche");
    EXPECT_EQ(walk["sequences"][0]["keyImages"].asInteger(), 3);
    EXPECT_EQ(walk["sequences"][1]["name"].string, "saut \xC3\xA9");
    EXPECT_EQ(walk["sequences"][1]["keyImages"].asInteger(), 1);
    const JsonValue& ride = animations[1];
    EXPECT_EQ(ride["target"].string, "Camera");
    EXPECT_TRUE(ride["camera"].boolean);
    EXPECT_EQ(ride["children"].asInteger(), 0);
    ASSERT_EQ(ride["sequences"].size(), 1u);
    EXPECT_EQ(ride["sequences"][0]["keyImages"].asInteger(), 2);
}

TEST_F(SceneInfoTest, JsonEscapesNamesAndStaysUtf8) {
    const std::string raw = sceneInfoJson(scene_, report_, "x.mrx");
    // The escapes themselves, not only what they decode to.
    EXPECT_NE(raw.find("\"caf\xC3\xA9 \\\"bar\\\" back\\\\slash\""), std::string::npos) << raw;
    EXPECT_NE(raw.find("\"tab\\u0009here\""), std::string::npos) << raw;
    // No Windows-1252 byte left: every byte of 0x80 and above is part of a
    // well-formed UTF-8 sequence.
    EXPECT_EQ(validUtf8(raw), raw);
    EXPECT_EQ(raw.find('\xE9'), std::string::npos);
    EXPECT_EQ(raw.back(), '\n');
    EXPECT_EQ(std::count(raw.begin(), raw.end(), '\n'), 1);
}

TEST(SceneInfoJsonValues, ValuesJsonCannotHoldAreNull) {
    Scene original;
    original.rangeValue = std::numeric_limits<float>::quiet_NaN();
    original.pitch = std::numeric_limits<float>::infinity();
    const std::vector<std::uint8_t> bytes = writeScene(original, {});
    Scene scene;
    const SceneReadReport report = readScene(bytes, scene, {});
    ASSERT_TRUE(report.complete()) << report.error;
    const JsonValue json = parseJson(sceneInfoJson(scene, report, "n.mrx"));
    EXPECT_TRUE(json["header"]["rangeValue"].isNull());
    EXPECT_TRUE(json["header"]["pitch"].isNull());
    EXPECT_EQ(json["header"]["yaw"].asFloat(), 0.0f);
    EXPECT_TRUE(json["header"]["ground"]["image"].isNull());  // " ": none
    EXPECT_EQ(json["objects"].size(), 0u);
}

TEST(SceneInfoJsonQuoting, EscapesAndRepairsText) {
    EXPECT_EQ(jsonQuoted("plain"), "\"plain\"");
    EXPECT_EQ(jsonQuoted("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(jsonQuoted(std::string_view("\x01\n\x1F\x7F", 4)), "\"\\u0001\\u000a\\u001f\\u007f\"");
    EXPECT_EQ(jsonQuoted(std::string_view("\0", 1)), "\"\\u0000\"");
    EXPECT_EQ(jsonQuoted("\xC3\xA9\xE2\x82\xAC"), "\"\xC3\xA9\xE2\x82\xAC\"");  // kept as they are
    // Bytes that are not UTF-8 (a Windows-1252 e acute, a cut sequence) become U+FFFD.
    EXPECT_EQ(jsonQuoted("\xE9t\xE9"), "\"\xEF\xBF\xBDt\xEF\xBF\xBD\"");
    EXPECT_EQ(validUtf8("ab\xE2\x82"), "ab\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(validUtf8("\xC0\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD");  // overlong slash
}

// --- Text --------------------------------------------------------------------------

TEST_F(SceneInfoTest, TextDescribesHeaderObjectsAndAnimations) {
    for (const std::string expected : {
             "file: sc\xC3\xA8ne.mrx\n",
             "tag: \"Morvanexv4 1.16.8\"\n",
             "status: complete\n",
             "  camera position: (1.5, -2, 300)\n",
             "  field of view: 0.75 rad\n",
             "  lights in use: 3\n",
             "    light 3: intensity 0.5, position or colour (1, 2, 3, 1), value 1\n",
             "  saved viewpoints: 1\n",
             "image \"vue \xC3\xA9.bmp\"",
             "  ground: shading 0.55, colour (0.87, 0.87, 0.87, 1), mode 3, scale 4, image \"sol.jpg\"\n",
             "objects: 7\n",
             "  1. \"corps\"\n     3 vertices, 1 triangle\n",
             "  4. \"caf\xC3\xA9 \"bar\" back\\slash\"\n     4 vertices, 2 triangles\n"
             "     textures: \"bo\xC3\xAEte.jpg\", none, \"\xC3\xA9t\xC3\xA9.png\"\n",
             "     links: 1 in group \"colonnade \xC3\xA9\"\n",
             "     linked copy of object 5\n",
             "     children: \"bras\", \"main\"\n",
             "     parent: \"corps\"\n",
             "     bone number: 7\n",
             "  7. \"tab\\x09here\"\n",
             "animations: 2\n",
             "  1. \"corps\" (object), 2 children\n     sequence \"marche\": 3 key images\n"
             "     sequence \"saut \xC3\xA9\": 1 key image\n",
             "  2. \"Camera\" (camera), 0 children\n     sequence \"vol\": 2 key images\n",
         }) {
        EXPECT_NE(text_.find(expected), std::string::npos) << "missing: " << expected << "\nin:\n" << text_;
    }
    EXPECT_EQ(text_.find("light 4:"), std::string::npos);
    EXPECT_EQ(text_.find("error"), std::string::npos);
    EXPECT_EQ(text_.find("PointGroupe"), std::string::npos);
    EXPECT_EQ(text_.find("\"light\""), std::string::npos);
    EXPECT_EQ(std::count(text_.begin(), text_.end(), '\t'), 0);
    EXPECT_EQ(validUtf8(text_), text_);
}

// --- Files that did not read completely ---------------------------------------------

TEST(SceneInfoDamaged, ShowsWhatWasReadTheErrorAndItsOffset) {
    Scene original;
    buildScene(original);
    std::vector<std::uint8_t> bytes = writeScene(original, {});
    // Cut inside the last object record, just after its name.
    const std::string_view name(kTabName);
    const auto at = std::search(bytes.begin(), bytes.end(), name.begin(), name.end());
    ASSERT_NE(at, bytes.end());
    bytes.resize(static_cast<std::size_t>(at - bytes.begin()) + name.size() + 20);

    Scene scene;
    const SceneReadReport report = readScene(bytes, scene, {});
    ASSERT_EQ(report.status, ReadStatus::Damaged);
    const std::string error = utf8FromCp1252(describeReadReport(report));
    ASSERT_NE(error.find("tab\there"), std::string::npos) << error;  // the reader names the object

    const JsonValue json = parseJson(sceneInfoJson(scene, report, "cut.mrx"));
    EXPECT_EQ(json["status"].string, "damaged");
    EXPECT_EQ(json["error"].string, error);
    EXPECT_EQ(static_cast<std::size_t>(json["errorOffset"].number), report.errorOffset);
    EXPECT_GT(report.errorOffset, 0u);
    EXPECT_EQ(json["objectsDeclared"].asInteger(), 6);
    EXPECT_EQ(json["objectRecordsRead"].asInteger(), 5);
    EXPECT_EQ(json["objects"].size(), 6u);  // the last record is dropped
    EXPECT_EQ(json["objects"][5]["linkedCopyOf"].asInteger(), 5);
    EXPECT_EQ(json["animations"].size(), 0u);
    EXPECT_EQ(json["header"]["rangeValue"].asFloat(), 220.0f);  // the header was read

    const std::string text = sceneInfoText(scene, report, "cut.mrx");
    EXPECT_NE(text.find("status: damaged\n"), std::string::npos) << text;
    EXPECT_NE(text.find("error: damaged at byte " + std::to_string(report.errorOffset)), std::string::npos) << text;
    EXPECT_NE(text.find("error offset: " + std::to_string(report.errorOffset) + "\n"), std::string::npos) << text;
    EXPECT_NE(text.find("read: 5 of 6 object records, animations not reached\n"), std::string::npos) << text;
    EXPECT_NE(text.find("objects: 6\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  range value: 220\n"), std::string::npos) << text;
}

TEST(SceneInfoDamaged, DamageInTheLastAnimationKeepsTheOthers) {
    Scene original;
    buildScene(original);
    std::vector<std::uint8_t> bytes = writeScene(original, {});
    bytes.resize(bytes.size() - 50);  // inside the camera animation, the last record
    Scene scene;
    const SceneReadReport report = readScene(bytes, scene, {});
    ASSERT_EQ(report.status, ReadStatus::Damaged);
    EXPECT_EQ(readProgressText(report), "6 of 6 object records, 1 of 2 animation records");
    const JsonValue json = parseJson(sceneInfoJson(scene, report, "a.mrx"));
    EXPECT_EQ(json["objects"].size(), 7u);
    ASSERT_EQ(json["animations"].size(), 1u);
    EXPECT_EQ(json["animations"][0]["target"].string, "corps");
    EXPECT_EQ(json["animationsDeclared"].asInteger(), 2);
    EXPECT_EQ(json["animationRecordsRead"].asInteger(), 1);
    EXPECT_NE(sceneInfoText(scene, report, "a.mrx").find("read: 6 of 6 object records, 1 of 2 animation records\n"),
              std::string::npos);
}

TEST(SceneInfoDamaged, UnreadBytesAfterTheLastRecordAreCountedFromTheirOffset) {
    Scene original;
    buildScene(original);
    std::vector<std::uint8_t> bytes = writeScene(original, {});
    bytes.insert(bytes.end(), 5, 0xAB);
    Scene scene;
    const SceneReadReport report = readScene(bytes, scene, {});
    ASSERT_EQ(report.status, ReadStatus::Damaged);
    EXPECT_EQ(report.errorOffset, bytes.size() - 5);
    // Every record was reached and read: not "animations not reached".
    EXPECT_EQ(readProgressText(report), "6 of 6 object records, 2 of 2 animation records");
    const JsonValue json = parseJson(sceneInfoJson(scene, report, "t.mrx"));
    EXPECT_EQ(json["status"].string, "damaged");
    EXPECT_EQ(json["unreadBytes"].asInteger(), 5);
    EXPECT_EQ(static_cast<std::size_t>(json["errorOffset"].number), bytes.size() - 5);
    const std::string text = sceneInfoText(scene, report, "t.mrx");
    EXPECT_NE(text.find("error: damaged at byte " + std::to_string(bytes.size() - 5) +
                        ": 5 bytes after the last record were not read\n"),
              std::string::npos)
        << text;
}

TEST(SceneInfoDamaged, DamageInTheHeaderShowsNoHeader) {
    Scene original;
    original.rangeValue = 99.0f;
    std::vector<std::uint8_t> bytes = writeScene(original, {});
    bytes.resize(40);  // the tag and a few header values
    Scene scene;
    const SceneReadReport report = readScene(bytes, scene, {});
    ASSERT_EQ(report.status, ReadStatus::Damaged);
    const JsonValue json = parseJson(sceneInfoJson(scene, report, "h.mrx"));
    EXPECT_TRUE(json["header"].isNull());
    EXPECT_EQ(static_cast<std::size_t>(json["errorOffset"].number), report.errorOffset);
    const std::string text = sceneInfoText(scene, report, "h.mrx");
    EXPECT_NE(text.find("header: none read\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("range value"), std::string::npos) << text;
}

TEST(SceneInfoUnread, UnknownTagListsNothingWhateverTheSceneHolds) {
    const std::string garbage = "GIF89a\x01\x02 not a scene at all";
    const std::vector<std::uint8_t> bytes(garbage.begin(), garbage.end());
    Scene scene;
    scene.addObject("left over");  // not from the file: never listed
    const SceneReadReport report = readScene(bytes, scene, {});
    ASSERT_EQ(report.status, ReadStatus::UnknownTag);
    const JsonValue json = parseJson(sceneInfoJson(scene, report, "g.mrx"));
    EXPECT_EQ(json["status"].string, "unknown-tag");
    EXPECT_EQ(json["error"].string, "not a scene file of a known version");
    EXPECT_TRUE(json["errorOffset"].isNull());
    EXPECT_TRUE(json["header"].isNull());
    EXPECT_EQ(json["objects"].size(), 0u);
    EXPECT_EQ(json["animations"].size(), 0u);
    const std::string text = sceneInfoText(scene, report, "g.mrx");
    EXPECT_NE(text.find("status: unknown-tag\nerror: not a scene file of a known version\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("left over"), std::string::npos) << text;
}

TEST(SceneInfoUnread, RefusedAndUnreadableFilesSayWhy) {
    const std::string old("Morvanexv3 0.6\0rest", 19);
    Scene scene;
    const SceneReadReport refused = readScene({reinterpret_cast<const std::uint8_t*>(old.data()), old.size()}, scene, {});
    ASSERT_EQ(refused.status, ReadStatus::RefusedTag);
    const JsonValue json = parseJson(sceneInfoJson(scene, refused, "o.mrx"));
    EXPECT_EQ(json["status"].string, "refused-tag");
    EXPECT_EQ(json["tag"].string, "Morvanexv3 0.6");
    EXPECT_NE(json["error"].string.find("too old"), std::string::npos) << json["error"].string;

    SceneReadReport unreadable;
    unreadable.error = "cannot open the file";
    const JsonValue missing = parseJson(sceneInfoJson(scene, unreadable, "\xFFmissing.mrx"));
    EXPECT_EQ(missing["status"].string, "unreadable");
    EXPECT_EQ(missing["error"].string, "cannot open the file");
    EXPECT_EQ(missing["file"].string, "\xEF\xBF\xBDmissing.mrx");  // a name that is not UTF-8 is repaired
    EXPECT_EQ(readStatusName(ReadStatus::Damaged), "damaged");
}

}  // namespace
}  // namespace morvanex
