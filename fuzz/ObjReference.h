// The OBJ parser as it was before it was made fast: strtof and strtol on copied tokens, a line
// buffer and an ordered map for the corner merge. Kept as the reference the fast parser must
// match byte for byte (vertices, indices, messages) on every input.
#pragma once
#include <string>
#include <vector>
#include "resources/ObjParse.h"
#include <cctype>
#include <cerrno>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <tuple>

namespace objreference {

// Reads up to `count` floats from `s`, each after any white space, in the manner of strtof; stops
// at the first that does not convert. Values not read keep what the caller put there.
inline void scanFloats(const char* s, float* values, int count)
{
    for (int i = 0; i < count; ++i) {
        while (std::isspace(static_cast<unsigned char>(*s))) ++s;
        char* end = nullptr;
        const float value = std::strtof(s, &end);
        if (end == s) return;
        values[i] = value;
        s = end;
    }
}

// One index: an optional sign and decimal digits that fit an int, nothing else.
inline bool readIndex(const std::string& text, int& value)
{
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
    if (text[0] == '+' && (text.size() < 2 || !std::isdigit(static_cast<unsigned char>(text[1])))) return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || end == text.c_str() || errno == ERANGE || v < INT_MIN || v > INT_MAX) return false;
    value = static_cast<int>(v);
    return true;
}

struct CornerKey {
    uint32_t position, normal, texture;
    bool operator<(const CornerKey& o) const
    {
        return std::tie(position, normal, texture) < std::tie(o.position, o.normal, o.texture);
    }
};

class ObjParser {
public:
    ObjParser(const char* fileName, ObjMesh& mesh) : fileName_(fileName ? fileName : ""), mesh_(mesh) {}

    void line(const char* text)
    {
        ++lineNumber_;
        if (text[0] == 'v' && text[1] == ' ') {
            Vec3 v{};
            scanFloats(text + 1, &v.x, 3);
            positions_.push_back(v);
        } else if (text[0] == 'v' && text[1] == 'n') {
            Vec3 v{};
            scanFloats(text + 2, &v.x, 3);
            normals_.push_back(v);
        } else if (text[0] == 'v' && text[1] == 't') {
            Vec2 v{};
            scanFloats(text + 2, &v.u, 2);
            texcoords_.push_back(v);
        } else if (text[0] == 'f' && text[1] == ' ') {
            face(text + 1);
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

    // "p", "p/t", "p//n" or "p/t/n" with every index valid; absent parts stay 0.
    bool corner(const std::string& token, CornerKey& key) const
    {
        std::string parts[3];
        int slashes = 0;
        for (char c : token) {
            if (c == '/') {
                if (++slashes > 2) return false;
            } else {
                parts[slashes] += c;
            }
        }
        int index = 0;
        key = CornerKey{0, 0, 0};
        if (!readIndex(parts[0], index) || !(key.position = resolve(index, positions_.size()))) return false;
        if (slashes >= 1 && (slashes == 1 || !parts[1].empty())) {
            if (!readIndex(parts[1], index) || !(key.texture = resolve(index, texcoords_.size()))) return false;
        }
        if (slashes == 2 && (!readIndex(parts[2], index) || !(key.normal = resolve(index, normals_.size()))))
            return false;
        return true;
    }

    void skip(const char* why)
    {
        mesh_.messages.push_back(std::string("Skipped face with ") + why + " in " + fileName_ + " line " +
                                 std::to_string(lineNumber_));
    }

    void face(const char* text)
    {
        std::vector<CornerKey> corners;
        while (*text) {
            while (std::isspace(static_cast<unsigned char>(*text))) ++text;
            if (!*text) break;
            std::string token;
            while (*text && !std::isspace(static_cast<unsigned char>(*text))) token += *text++;
            CornerKey key;
            if (!corner(token, key)) {
                skip("a bad index");
                return;
            }
            corners.push_back(key);
        }
        if (corners.size() < 3) {
            skip("a bad index");
            return;
        }
        if (mesh_.vertices.size() > std::numeric_limits<uint32_t>::max() - corners.size()) {
            skip("too many vertices");
            return;
        }
        std::vector<uint32_t> ids;
        for (const CornerKey& c : corners) ids.push_back(vertexFor(c));
        for (size_t i = 1; i + 1 < ids.size(); ++i) {
            mesh_.indices.push_back(ids[0]);
            mesh_.indices.push_back(ids[i]);
            mesh_.indices.push_back(ids[i + 1]);
        }
    }

    // The output vertex of a corner: the one made for the same index triple before, or a new one.
    uint32_t vertexFor(const CornerKey& key)
    {
        auto it = corners_.lower_bound(key);
        if (it != corners_.end() && !(key < it->first)) return it->second;
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
        const uint32_t index = static_cast<uint32_t>(mesh_.vertices.size());
        mesh_.vertices.push_back(v);
        corners_.emplace_hint(it, key, index);
        return index;
    }

    const char* fileName_;
    ObjMesh& mesh_;
    std::vector<Vec3> positions_, normals_;
    std::vector<Vec2> texcoords_;
    std::map<CornerKey, uint32_t> corners_;
    long lineNumber_ = 0;
};

inline ObjMesh parseObj(const char* data, size_t size, const char* fileName)
{
    ObjMesh mesh;
    ObjParser parser(fileName, mesh);
    const char* end = data + size;
    for (const char* p = data; p < end;) {
        const char* newline = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        const char* stop = newline ? newline : end;
        char buffer[kObjLineMax];
        const size_t length = std::min(static_cast<size_t>(stop - p), static_cast<size_t>(kObjLineMax - 1));
        std::memcpy(buffer, p, length);
        buffer[length] = '\0';
        const size_t text = std::strlen(buffer);
        if (text > 0 && buffer[text - 1] == '\r') buffer[text - 1] = '\0';
        parser.line(buffer);
        p = newline ? newline + 1 : end;
    }
    return mesh;
}

} // namespace objreference
