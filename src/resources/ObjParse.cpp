// OBJ text to vertices and indices: line reader, the small scanf-like field scanner, faces and
// corner merging. No GL and no file access here.
#include "resources/ObjParse.h"
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <optional>
#include <tuple>

namespace {

// Reads fields from `s` as the pattern says, in the manner of sscanf: "%d" an int, "%f" a float,
// a blank skips any white space, any other character must match itself. Stops at the first field
// that does not convert or character that does not match and returns the number of fields
// converted. Unlike sscanf, an integer out of the int range does not convert (no undefined value).
int scanFields(const char* s, const char* pattern, int* ints, float* floats)
{
    int converted = 0;
    for (const char* p = pattern; *p; ++p) {
        if (*p == ' ') {
            while (std::isspace(static_cast<unsigned char>(*s))) ++s;
        } else if (p[0] == '%' && p[1] == 'd') {
            ++p;
            char* end = nullptr;
            errno = 0;
            const long value = std::strtol(s, &end, 10);
            if (end == s || errno == ERANGE || value < INT_MIN || value > INT_MAX) break;
            *ints++ = static_cast<int>(value);
            s = end;
            ++converted;
        } else if (p[0] == '%' && p[1] == 'f') {
            ++p;
            char* end = nullptr;
            const float value = std::strtof(s, &end);
            if (end == s) break;
            *floats++ = value;
            s = end;
            ++converted;
        } else {
            if (*s != *p) break;
            ++s;
        }
    }
    return converted;
}

// Reads one line into `buffer` (NUL-terminated, line feed dropped, a trailing carriage return
// dropped too). A line of kObjLineMax characters or more keeps its start; the rest of it is
// consumed and dropped. Returns false once the stream holds no further line.
bool readLine(std::istream& in, char (&buffer)[kObjLineMax])
{
    buffer[0] = '\0';
    if (!in.good()) return false;
    in.getline(buffer, kObjLineMax);
    if (in.gcount() == 0 && in.eof()) return false;
    if (in.fail() && !in.eof() && !in.bad()) {
        in.clear();
        in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    }
    const size_t length = std::strlen(buffer);
    if (length > 0 && buffer[length - 1] == '\r') buffer[length - 1] = '\0';
    return true;
}

struct CornerKey {
    int position, normal, texture;
    bool operator<(const CornerKey& o) const
    {
        return std::tie(position, normal, texture) < std::tie(o.position, o.normal, o.texture);
    }
};

// 1-based file indices as written. Normal and texture index may be absent; a written index is
// checked like any other, so "-1" (a relative index, unsupported here) is refused, not read as
// "none". A missing position stays 0, which no check accepts.
struct Corner {
    int position = 0;
    std::optional<int> texture, normal;
};

class ObjParser {
public:
    ObjParser(const char* fileName, std::vector<ObjVertex>& vertices, std::vector<uint32_t>& indices,
              std::FILE* messages)
        : fileName_(fileName ? fileName : ""), vertices_(vertices), indices_(indices), messages_(messages)
    {
    }

    void line(const char* text)
    {
        ++lineNumber_;
        if (text[0] == 'v' && text[1] == ' ') {
            float v[3] = {0, 0, 0};
            scanFields(text, "v %f %f %f", nullptr, v);
            positions_.push_back({v[0], v[1], v[2]});
        } else if (text[0] == 'v' && text[1] == 'n') {
            float v[3] = {0, 0, 0};
            scanFields(text, "vn %f %f %f", nullptr, v);
            normals_.push_back({v[0], v[1], v[2]});
        } else if (text[0] == 'v' && text[1] == 't') {
            float v[2] = {0, 0};
            scanFields(text, "vt %f %f", nullptr, v);
            texcoords_.push_back({v[0], v[1]});
        } else if (text[0] == 'f' && text[1] == ' ') {
            face(text);
        }
    }

    int skippedFaces() const { return skipped_; }

private:
    struct Vec3 { float x, y, z; };
    struct Vec2 { float u, v; };

    // Reads the three corners by the face form; returns false when a corner lacks its position.
    static bool scanFace(const char* text, Corner corners[3])
    {
        int f[9];
        if (std::strstr(text, "//")) {
            const int n = scanFields(text, "f %d//%d %d//%d %d//%d", f, nullptr);
            for (int c = 0; c < 3; ++c) {
                if (n > 2 * c) corners[c].position = f[2 * c];
                if (n > 2 * c + 1) corners[c].normal = f[2 * c + 1];
            }
            return n >= 5;
        }
        if (std::strchr(text, '/')) {
            const int n = scanFields(text, "f %d/%d/%d %d/%d/%d %d/%d/%d", f, nullptr);
            for (int c = 0; c < 3; ++c) {
                if (n > 3 * c) corners[c].position = f[3 * c];
                if (n > 3 * c + 1) corners[c].texture = f[3 * c + 1];
                if (n > 3 * c + 2) corners[c].normal = f[3 * c + 2];
            }
            return n >= 7;
        }
        const int n = scanFields(text, "f %d %d %d", f, nullptr);
        for (int c = 0; c < n; ++c) corners[c].position = f[c];
        return n == 3;
    }

    static bool inRange(int index, size_t count) { return index >= 1 && static_cast<size_t>(index) <= count; }
    static bool optionalInRange(std::optional<int> index, size_t count) { return !index || inRange(*index, count); }

    bool valid(const Corner& c) const
    {
        return inRange(c.position, positions_.size()) && optionalInRange(c.normal, normals_.size()) &&
               optionalInRange(c.texture, texcoords_.size());
    }

    void skip(const char* why)
    {
        ++skipped_;
        if (messages_) std::fprintf(messages_, "Skipped face with %s in %s line %ld\n", why, fileName_, lineNumber_);
    }

    void face(const char* text)
    {
        Corner corners[3];
        if (!scanFace(text, corners) || !valid(corners[0]) || !valid(corners[1]) || !valid(corners[2])) {
            skip("a bad index");
            return;
        }
        if (vertices_.size() > std::numeric_limits<uint32_t>::max() - 3) {
            skip("too many vertices");
            return;
        }
        for (const Corner& c : corners) indices_.push_back(vertexFor(c));
    }

    // The output vertex of a corner: the one made for the same index triple before, or a new one.
    // Parts the file does not give (no normal, no texture coordinates) are zero. In the two forms
    // that carry texture indices a later corner can only have one when the first has one too.
    uint32_t vertexFor(const Corner& c)
    {
        const CornerKey key{c.position, c.normal.value_or(0), c.texture.value_or(0)};
        auto it = corners_.lower_bound(key);
        if (it != corners_.end() && !(key < it->first)) return it->second;
        ObjVertex v{};
        const Vec3& p = positions_[static_cast<size_t>(c.position) - 1];
        v.position[0] = p.x; v.position[1] = p.y; v.position[2] = p.z;
        if (c.normal) {
            const Vec3& n = normals_[static_cast<size_t>(*c.normal) - 1];
            v.normal[0] = n.x; v.normal[1] = n.y; v.normal[2] = n.z;
        }
        if (c.texture) {
            const Vec2& t = texcoords_[static_cast<size_t>(*c.texture) - 1];
            v.texcoords[0] = t.u; v.texcoords[1] = t.v;
        }
        const uint32_t index = static_cast<uint32_t>(vertices_.size());
        vertices_.push_back(v);
        corners_.emplace_hint(it, key, index);
        return index;
    }

    const char* fileName_;
    std::vector<ObjVertex>& vertices_;
    std::vector<uint32_t>& indices_;
    std::FILE* messages_;
    std::vector<Vec3> positions_, normals_;
    std::vector<Vec2> texcoords_;
    std::map<CornerKey, uint32_t> corners_;
    long lineNumber_ = 0;
    int skipped_ = 0;
};

} // namespace

int parseObj(std::istream& in, const char* fileName, std::vector<ObjVertex>& vertices,
             std::vector<uint32_t>& indices, std::FILE* messages)
{
    ObjParser parser(fileName, vertices, indices, messages);
    char buffer[kObjLineMax];
    while (readLine(in, buffer)) parser.line(buffer);
    return parser.skippedFaces();
}
