// OBJ text to vertices and indices in one pass over the bytes: line splitting, number scanning,
// faces with their fan triangulation, and corner merging through a hash table. No GL, no file
// access and no printing here.
#include "resources/ObjParse.h"
#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

// White space as isspace() knows it in the C locale.
inline bool isBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

inline bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

inline const char* skipBlanks(const char* s, const char* end)
{
    while (s < end && isBlank(*s)) ++s;
    return s;
}

// readFloat for what readShortDecimal leaves.
const char* readFloatSlowly(const char* s, const char* end, float& value)
{
    const char* digits = (s < end && *s == '-') ? s + 1 : s;
    if (digits < end && (isDigit(*digits) || *digits == '.')) {
        float v;
        const auto [stop, error] = std::from_chars(s, end, v);
        // "0x..." converts as its leading zero here but as a hexadecimal number in strtof.
        if (error == std::errc() && !(stop < end && (*stop == 'x' || *stop == 'X'))) {
            value = v;
            return stop;
        }
    }
    char buffer[kObjLineMax];
    const size_t length = std::min(static_cast<size_t>(end - s), sizeof buffer - 1);
    std::memcpy(buffer, s, length);
    buffer[length] = '\0';
    char* stop = nullptr;
    const float v = std::strtof(buffer, &stop);
    if (stop == buffer) return s;
    value = v;
    return s + (stop - buffer);
}

// A plain decimal "[-]digits[.digits]" whose digits make an integer m up to 2^24 with at most 10
// of them after the point: m and 10^k are then exact floats and one division rounds correctly,
// so the value is the one strtof gives. Returns the end of the number, or nullptr for anything
// else (an exponent, more digits, no digits), which the general path reads.
inline const char* readShortDecimal(const char* s, const char* end, float& value)
{
    static const float kPowersOfTen[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
    const bool negative = s < end && *s == '-';
    const char* p = negative ? s + 1 : s;
    uint64_t m = 0;
    int digits = 0, decimals = 0;
    for (; p < end && isDigit(*p); ++p, ++digits) m = m * 10 + static_cast<unsigned>(*p - '0');
    if (p < end && *p == '.')
        for (++p; p < end && isDigit(*p); ++p, ++digits, ++decimals) m = m * 10 + static_cast<unsigned>(*p - '0');
    if (digits == 0 || digits > 19 || decimals > 10 || m > (1u << 24)) return nullptr;
    if (p < end && (*p == 'e' || *p == 'E' || *p == 'x' || *p == 'X')) return nullptr;
    const float magnitude = static_cast<float>(m) / kPowersOfTen[decimals];
    value = negative ? -magnitude : magnitude;
    return p;
}

// One float at `s` read as strtof reads it (decimal, hexadecimal, "inf", "nan", correctly
// rounded, out-of-range values as strtof gives them). Short decimals are read above, other plain
// decimals by from_chars; anything else, and what from_chars refuses, by strtof on a terminated
// copy. Returns the end of the number, or `s` when none converts.
inline const char* readFloat(const char* s, const char* end, float& value)
{
    if (const char* stop = readShortDecimal(s, end, value)) return stop;
    return readFloatSlowly(s, end, value);
}

// Up to `count` floats, each after any white space; stops at the first that does not convert.
// Values not read keep what the caller put there.
void readFloats(const char* s, const char* end, float* values, int count)
{
    for (int i = 0; i < count; ++i) {
        s = skipBlanks(s, end);
        const char* next = readFloat(s, end, values[i]);
        if (next == s) return;
        s = next;
    }
}

// One index: an optional sign and decimal digits that fit an int. Returns its end, or nullptr.
inline const char* readIndex(const char* s, const char* end, int& value)
{
    bool negative = false;
    if (s < end && (*s == '+' || *s == '-')) negative = *s++ == '-';
    if (s == end || !isDigit(*s)) return nullptr;
    const char* digits = s;
    while (s < end && isDigit(*s)) ++s;
    while (s - digits > 10 && *digits == '0') ++digits; // leading zeros of a long run
    if (s - digits > 10) return nullptr;                // at least 10^10: too large for either sign
    long long v = 0;
    for (const char* d = digits; d < s; ++d) v = v * 10 + (*d - '0');
    if (negative) v = -v;
    if (v < INT_MIN || v > INT_MAX) return nullptr;
    value = static_cast<int>(v);
    return s;
}

// Absolute 1-based index of a corner part and 0 for "none": the key of the corner merge.
struct CornerKey {
    uint32_t position, normal, texture;
};

// Open-addressing hash table from corner key to output vertex, linear probing. A free slot has
// position 0, which no resolved index is. It holds only the corners of positions used with many
// different normal and texture indices (see ObjParser::vertexFor).
class CornerMap {
public:
    explicit CornerMap(size_t expected)
    {
        size_t capacity = 64;
        while (capacity < 2 * expected) capacity *= 2;
        slots_.assign(capacity, Slot{});
    }

    // The vertex stored for `key`, or `fresh` after storing it when there is none yet.
    uint32_t findOrAdd(const CornerKey& key, uint32_t fresh, bool& added)
    {
        if (2 * (used_ + 1) > slots_.size()) grow();
        const size_t mask = slots_.size() - 1;
        for (size_t i = hash(key) & mask;; i = (i + 1) & mask) {
            Slot& s = slots_[i];
            if (s.key.position == 0) {
                s.key = key;
                s.vertex = fresh;
                ++used_;
                added = true;
                return fresh;
            }
            if (s.key.position == key.position && s.key.normal == key.normal && s.key.texture == key.texture) {
                added = false;
                return s.vertex;
            }
        }
    }

private:
    struct Slot {
        CornerKey key{0, 0, 0};
        uint32_t vertex = 0;
    };

    static size_t hash(const CornerKey& k)
    {
        uint64_t h =
            k.position * 0x9E3779B97F4A7C15ull ^ k.normal * 0xC2B2AE3D27D4EB4Full ^ k.texture * 0x165667B19E3779F9ull;
        h ^= h >> 33;
        h *= 0xFF51AFD7ED558CCDull;
        h ^= h >> 33;
        return static_cast<size_t>(h);
    }

    void grow()
    {
        std::vector<Slot> old(slots_.size() * 2);
        old.swap(slots_);
        const size_t mask = slots_.size() - 1;
        for (const Slot& s : old) {
            if (s.key.position == 0) continue;
            size_t i = hash(s.key) & mask;
            while (slots_[i].key.position != 0) i = (i + 1) & mask;
            slots_[i] = s;
        }
    }

    std::vector<Slot> slots_;
    size_t used_ = 0;
};

class ObjParser {
public:
    ObjParser(const char* fileName, ObjMesh& mesh, size_t size)
        : fileName_(fileName ? fileName : ""), mesh_(mesh), crowded_(0)
    {
        // Guesses from the file size for files as exporters write them; the lists still grow
        // past these when needed.
        positions_.reserve(size / 96);
        firstCorner_.reserve(size / 96);
        links_.reserve(size / 128);
        normals_.reserve(size / 128);
        texcoords_.reserve(size / 128);
        mesh_.vertices.reserve(size / 128);
        mesh_.indices.reserve(size / 24);
    }

    void line(const char* text, const char* end)
    {
        ++lineNumber_;
        const char first = text < end ? text[0] : '\0';
        const char second = end - text >= 2 ? text[1] : '\0';
        if (first == 'v' && second == ' ') {
            Vec3 v{};
            readFloats(text + 1, end, &v.x, 3);
            positions_.push_back(v);
            firstCorner_.push_back(0);
        } else if (first == 'v' && second == 'n') {
            Vec3 v{};
            readFloats(text + 2, end, &v.x, 3);
            normals_.push_back(v);
        } else if (first == 'v' && second == 't') {
            Vec2 v{};
            readFloats(text + 2, end, &v.u, 2);
            texcoords_.push_back(v);
        } else if (first == 'f' && second == ' ') {
            face(text + 1, end);
        }
    }

private:
    struct Vec3 {
        float x, y, z;
    };
    struct Vec2 {
        float u, v;
    };

    // A written index made absolute (1-based; negative counts back from the last one read), or 0
    // when it names nothing read so far.
    static uint32_t resolve(int index, size_t count)
    {
        const long long absolute = index < 0 ? static_cast<long long>(count) + index + 1 : index;
        if (absolute < 1 || static_cast<unsigned long long>(absolute) > count || absolute > UINT32_MAX) return 0;
        return static_cast<uint32_t>(absolute);
    }

    // One corner "p", "p/t", "p//n" or "p/t/n" ending at white space or the line end, every index
    // valid; absent parts stay 0. Returns its end, or nullptr.
    const char* corner(const char* s, const char* end, CornerKey& key) const
    {
        int index = 0;
        key = CornerKey{0, 0, 0};
        if (!(s = readIndex(s, end, index)) || !(key.position = resolve(index, positions_.size()))) return nullptr;
        if (s < end && *s == '/') {
            ++s;
            if (s < end && *s == '/') {
                if (!(s = readIndex(s + 1, end, index)) || !(key.normal = resolve(index, normals_.size())))
                    return nullptr;
            } else {
                if (!(s = readIndex(s, end, index)) || !(key.texture = resolve(index, texcoords_.size())))
                    return nullptr;
                if (s < end && *s == '/' &&
                    (!(s = readIndex(s + 1, end, index)) || !(key.normal = resolve(index, normals_.size()))))
                    return nullptr;
            }
        }
        return s == end || isBlank(*s) ? s : nullptr;
    }

    void skip(const char* why)
    {
        mesh_.messages.push_back(std::string("Skipped face with ") + why + " in " + fileName_ + " line " +
                                 std::to_string(lineNumber_));
    }

    void face(const char* s, const char* end)
    {
        keys_.clear();
        for (s = skipBlanks(s, end); s < end; s = skipBlanks(s, end)) {
            CornerKey key;
            if (!(s = corner(s, end, key))) {
                skip("a bad index");
                return;
            }
            keys_.push_back(key);
        }
        if (keys_.size() < 3) {
            skip("a bad index");
            return;
        }
        if (mesh_.vertices.size() > std::numeric_limits<uint32_t>::max() - keys_.size()) {
            skip("too many vertices");
            return;
        }
        ids_.clear();
        for (const CornerKey& k : keys_) ids_.push_back(vertexFor(k));
        for (size_t i = 1; i + 1 < ids_.size(); ++i) {
            mesh_.indices.push_back(ids_[0]);
            mesh_.indices.push_back(ids_[i]);
            mesh_.indices.push_back(ids_[i + 1]);
        }
    }

    // The output vertex of a corner: the one made for the same index triple before, or a new one.
    // The vertices made for one position form a short list from firstCorner_ through links_, in
    // memory near the position and the corners used just before it (faces mostly use positions
    // close to each other); only past kListMax vertices on one position do further ones go to the
    // hash table, which bounds the walk on files made to defeat it.
    uint32_t vertexFor(const CornerKey& key)
    {
        static constexpr int kListMax = 8;
        const uint32_t fresh = static_cast<uint32_t>(mesh_.vertices.size());
        uint32_t& first = firstCorner_[key.position - 1];
        int listed = 0;
        for (uint32_t v = first; v; v = links_[v - 1].next, ++listed) {
            const Link& l = links_[v - 1];
            if (l.normal == key.normal && l.texture == key.texture) return v - 1;
        }
        if (listed < kListMax) {
            links_.push_back(Link{key.normal, key.texture, first});
            first = fresh + 1;
        } else {
            bool added = false;
            const uint32_t index = crowded_.findOrAdd(key, fresh, added);
            if (!added) return index;
            links_.push_back(Link{0, 0, 0}); // keeps links_ indexed by vertex; never walked
        }
        ObjVertex v{};
        const Vec3& p = positions_[key.position - 1];
        v.position[0] = p.x;
        v.position[1] = p.y;
        v.position[2] = p.z;
        if (key.normal) {
            const Vec3& n = normals_[key.normal - 1];
            v.normal[0] = n.x;
            v.normal[1] = n.y;
            v.normal[2] = n.z;
        }
        if (key.texture) {
            const Vec2& t = texcoords_[key.texture - 1];
            v.texcoords[0] = t.u;
            v.texcoords[1] = t.v;
        }
        mesh_.vertices.push_back(v);
        return fresh;
    }

    const char* fileName_;
    ObjMesh& mesh_;
    std::vector<Vec3> positions_, normals_;
    std::vector<Vec2> texcoords_;
    // Per position: 1 + the newest vertex made for it, 0 for none.
    std::vector<uint32_t> firstCorner_;
    // Per vertex: its normal and texture index and 1 + the vertex made before it for the same
    // position (0 ends the list).
    struct Link {
        uint32_t normal, texture, next;
    };
    std::vector<Link> links_;
    CornerMap crowded_;
    std::vector<CornerKey> keys_; // the corners of the face being read
    std::vector<uint32_t> ids_;   // and their vertices
    long lineNumber_ = 0;
};

} // namespace

ObjMesh parseObj(const char* data, size_t size, const char* fileName)
{
    ObjMesh mesh;
    ObjParser parser(fileName, mesh, size);
    const char* const end = data + size;
    for (const char* p = data; p < end;) {
        const char* newline = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        const char* stop = newline ? newline : end;
        if (stop - p > kObjLineMax - 1) stop = p + (kObjLineMax - 1);
        if (const void* nul = std::memchr(p, '\0', static_cast<size_t>(stop - p))) stop = static_cast<const char*>(nul);
        if (stop > p && stop[-1] == '\r') --stop;
        parser.line(p, stop);
        p = newline ? newline + 1 : end;
    }
    return mesh;
}
