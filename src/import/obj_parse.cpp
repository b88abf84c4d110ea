// Parsing one piece of OBJ text, statement by statement.
#include <algorithm>
#include <cstring>

#include "import/obj_chunk.h"
#include "import/text_scan.h"

namespace morvanex::obj {

namespace {

constexpr std::string_view kUnreadableNumbers = "unreadable numbers in vertex statements, read as 0";
constexpr std::string_view kUnreadableFaces = "face or line statements with unreadable indices, skipped";
constexpr std::string_view kShortFaces = "faces with fewer than three corners, skipped";
constexpr std::string_view kShortLines = "line statements with fewer than two points, skipped";
constexpr std::string_view kFreeForm = "free-form curve and surface statements, skipped";
constexpr std::string_view kPoints = "point statements, skipped";
constexpr std::string_view kUnknown = "statements not understood, skipped";

bool oneOf(std::string_view w, std::initializer_list<std::string_view> words) {
    return std::find(words.begin(), words.end(), w) != words.end();
}

// True when the line [start, end) ends with a continuation backslash.
const char* contentEnd(const char* start, const char* end) {
    while (end > start && end[-1] == '\r') --end;
    return end;
}
bool continues(const char* start, const char* end) {
    const char* e = contentEnd(start, end);
    return e > start && e[-1] == '\\';
}

class ChunkParser {
public:
    explicit ChunkParser(Chunk& chunk) : c_(chunk) {}

    // `readable`: how far the text may be read ahead of `end` (see
    // scan::number()).
    void line(const char* p, const char* end, const char* readable) {
        readable_ = readable;
        const std::string_view key = scan::word(p, end);
        if (key.empty()) return;
        switch (key[0]) {
        case 'v':
            if (key.size() == 1) return floats(p, end, c_.positions, 3, 3);
            if (key == "vt") return floats(p, end, c_.texcoords, 2, 1);
            if (key == "vn") return floats(p, end, c_.normals, 3, 3);
            if (key == "vp") return c_.report.count(kFreeForm);
            break;
        case 'f':
            if (key.size() == 1) return face(p, end, false);
            break;
        case 'l':
            if (key.size() == 1) return face(p, end, true);
            break;
        case '#':
            return;
        default:
            break;
        }
        if (key == "g" || key == "o") return event(EventKind::Group, lastWord(p, end));
        if (key == "usemtl") return event(EventKind::Material, rest(p, end));
        if (key == "mtllib") return event(EventKind::Library, rest(p, end));
        if (key == "s" || key == "mg") return;  // normals come from the file or the faces
        if (key == "p") return c_.report.count(kPoints);
        if (oneOf(key, {"curv", "curv2", "surf", "cstype", "parm", "end", "deg", "trim", "hole", "scrv", "sp",
                        "bmat", "step", "con"})) {
            return c_.report.count(kFreeForm);
        }
        c_.report.count(kUnknown);
    }

private:
    static std::string lastWord(const char* p, const char* end) {
        std::string_view last;
        for (std::string_view w = scan::word(p, end); !w.empty(); w = scan::word(p, end)) last = w;
        return std::string(last);
    }
    static std::string rest(const char* p, const char* end) {
        return std::string(scan::trim(std::string_view(p, static_cast<std::size_t>(end - p))));
    }

    void event(EventKind kind, std::string name) { c_.events.push_back({c_.faceCount(), kind, std::move(name)}); }

    // `needed` numbers are appended whatever the line holds, so that the
    // indices of later entries stay right; the first `required` must be there.
    void floats(const char* p, const char* end, std::vector<float>& list, int needed, int required) {
        bool unreadable = false;
        for (int i = 0; i < needed; ++i) {
            float value = 0.0f;
            if (!scan::number(p, end, readable_, value)) {
                value = 0.0f;
                if (i < required) unreadable = true;
            }
            list.push_back(value);
        }
        if (unreadable) c_.report.damage(kUnreadableNumbers);
    }

    void face(const char* p, const char* end, bool line) {
        const std::size_t index = c_.faceCount();
        const std::size_t first = c_.corners.size();
        std::int32_t lowest = 1;  // of the indices written
        bool bad = false;
        for (;;) {
            p = scan::skipBlanks(p, end);
            if (p >= end) break;
            Corner k;
            if (!scan::integer(p, end, readable_, k.v)) {
                bad = true;
                break;
            }
            if (p < end && *p == '/') {
                ++p;
                if (p < end && *p != '/' && !scan::isBlank(*p) && !scan::integer(p, end, readable_, k.t)) bad = true;
                if (p < end && *p == '/') {
                    ++p;
                    if (!scan::integer(p, end, readable_, k.n)) bad = true;
                }
            }
            if (bad || (p < end && !scan::isBlank(*p))) {
                bad = true;
                break;
            }
            lowest = std::min({lowest, k.v, k.t == kAbsent ? 1 : k.t, k.n == kAbsent ? 1 : k.n});
            c_.largestPosition = std::max(c_.largestPosition, k.v);
            c_.largestTexcoord = std::max(c_.largestTexcoord, k.t);
            c_.largestNormal = std::max(c_.largestNormal, k.n);
            c_.corners.push_back({storedIndex(k.v), k.t == kAbsent ? kAbsent : storedIndex(k.t),
                                  k.n == kAbsent ? kAbsent : storedIndex(k.n)});
        }
        const bool relative = lowest < 0;
        c_.anyIndexBelowOne = c_.anyIndexBelowOne || lowest < 1;
        const std::size_t count = c_.corners.size() - first;
        if (bad || count > UINT32_MAX) {
            c_.corners.resize(first);
            return c_.report.damage(kUnreadableFaces);
        }
        if (count < (line ? 2u : 3u)) {
            c_.corners.resize(first);
            return c_.report.damage(line ? kShortLines : kShortFaces);
        }
        if (relative) {
            c_.relative.push_back({index, c_.positions.size() / 3, c_.texcoords.size() / 2,
                                   c_.normals.size() / 3});
        }
        c_.addFace({first, static_cast<std::uint32_t>(count), line});
    }

    Chunk& c_;
    const char* readable_ = nullptr;
};

}  // namespace

std::vector<std::string_view> splitAtLines(std::string_view text, std::size_t pieces) {
    std::vector<std::string_view> out;
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    const char* start = begin;
    for (std::size_t k = 1; k < pieces && start < end; ++k) {
        const char* cut = begin + text.size() / pieces * k;
        if (cut < start) cut = start;
        // Forward to just after a line end whose line does not continue.
        for (;;) {
            const void* nl = std::memchr(cut, '\n', static_cast<std::size_t>(end - cut));
            if (nl == nullptr) {
                cut = end;
                break;
            }
            const char* lineEnd = static_cast<const char*>(nl);
            cut = lineEnd + 1;
            const char* lineStart = lineEnd;
            while (lineStart > begin && lineStart[-1] != '\n') --lineStart;
            if (!continues(lineStart, lineEnd)) break;
        }
        out.emplace_back(start, static_cast<std::size_t>(cut - start));
        start = cut;
    }
    if (start < end || out.empty()) out.emplace_back(start, static_cast<std::size_t>(end - start));
    return out;
}

namespace {

// Room for the lists of a large piece, from the lines of a few windows
// spread over it, with a quarter more for safety: growing lists of millions
// of entries would copy them and take fresh memory several times. Room that
// stays unused is never touched, so it costs only address space; a piece
// that holds more than foreseen grows its lists as usual.
void reserveForPiece(std::string_view text, Chunk& out) {
    constexpr std::size_t kWindows = 16;
    constexpr std::size_t kWindowBytes = 4096;
    if (text.size() < kWindows * kWindowBytes * 4) return;
    std::size_t sampled = 0, positions = 0, texcoords = 0, normals = 0, corners = 0;
    for (std::size_t w = 0; w < kWindows; ++w) {
        const std::string_view window = text.substr(text.size() / kWindows * w, kWindowBytes);
        std::size_t at = window.find('\n');
        if (at == std::string_view::npos) continue;
        for (++at; at < window.size();) {
            const std::size_t lineEnd = window.find('\n', at);
            if (lineEnd == std::string_view::npos) break;
            const std::string_view line = window.substr(at, lineEnd - at);
            if (line.starts_with("v ")) ++positions;
            else if (line.starts_with("vt ")) ++texcoords;
            else if (line.starts_with("vn ")) ++normals;
            else if (line.starts_with("f ") || line.starts_with("l ")) {
                for (std::size_t k = 1; k + 1 < line.size(); ++k) corners += (line[k] == ' ' && line[k + 1] != ' ') ? 1 : 0;
            }
            sampled += lineEnd + 1 - at;
            at = lineEnd + 1;
        }
    }
    if (sampled == 0) return;
    const auto scaled = [&](std::size_t n) { return n * text.size() / sampled * 5 / 4 + 16; };
    out.positions.reserve(3 * scaled(positions));
    out.texcoords.reserve(2 * scaled(texcoords));
    out.normals.reserve(3 * scaled(normals));
    out.corners.reserve(scaled(corners));
}

}  // namespace

void parseChunk(std::string_view text, Chunk& out) {
    reserveForPiece(text, out);
    ChunkParser parser(out);
    const char* p = text.data();
    const char* end = text.data() + text.size();
    std::string joined;
    while (p < end) {
        // The text is read once, front to back, but the processor does not
        // fetch ahead across its pages by itself: asking for the bytes a
        // little ahead spares waiting for them line after line.
        constexpr std::ptrdiff_t kReadAhead = 2048;
        if (end - p > kReadAhead) __builtin_prefetch(p + kReadAhead);
        const void* nl = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
        const char* lineEnd = nl != nullptr ? static_cast<const char*>(nl) : end;
        const char* next = nl != nullptr ? lineEnd + 1 : end;
        if (!continues(p, lineEnd)) {
            // The line ends at a line break or the text's end: no digit
            // or point follows it.
            parser.line(p, contentEnd(p, lineEnd), end);
            p = next;
            continue;
        }
        // A statement continued over several lines: join them with blanks.
        joined.assign(p, contentEnd(p, lineEnd) - 1);
        while (next < end) {
            const void* nl2 = std::memchr(next, '\n', static_cast<std::size_t>(end - next));
            const char* e2 = nl2 != nullptr ? static_cast<const char*>(nl2) : end;
            const bool more = continues(next, e2);
            joined += ' ';
            joined.append(next, contentEnd(next, e2) - (more ? 1 : 0));
            next = nl2 != nullptr ? e2 + 1 : end;
            if (!more) break;
        }
        parser.line(joined.data(), joined.data() + joined.size(), joined.data() + joined.size());
        p = next;
    }
}

}  // namespace morvanex::obj
