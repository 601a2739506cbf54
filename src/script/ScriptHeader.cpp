// The header reader: one pass over the script's lines before the timeline is cut, picking out the
// MUSIC, TITLE and TEMPO lines.
#include "script/ScriptHeader.h"
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "resources/FileBytes.h"
#include "script/EventTime.h"

const char* const kMusicPath = "data/music/Tundrel.mp3";
const char* const kDefaultTitle = "Zemblar";

namespace {
constexpr double kMaxOffset = 1e6; // seconds; far beyond any track
constexpr size_t kMaxTitle = 255;  // bytes of a window title

bool isSeparator(char c)
{
    return c == ' ' || c == ',';
}

// The header word the line starts with, or null.
const char* headerWord(const char* line, size_t length)
{
    for (const char* word : {"MUSIC", "TITLE", "TEMPO"}) {
        const size_t n = std::strlen(word);
        if (length >= n && std::memcmp(line, word, n) == 0 && (length == n || isSeparator(line[n]))) return word;
    }
    return nullptr;
}

// The rest of the line after the header word and its separators, without trailing blanks, cut to
// at most `limit` bytes at the start of a UTF-8 character.
std::string restOfLine(const char* line, size_t length, size_t from, size_t limit)
{
    while (from < length && isSeparator(line[from])) ++from;
    size_t end = length;
    while (end > from && (line[end - 1] == ' ' || line[end - 1] == '\t')) --end;
    if (end - from > limit) {
        end = from + limit;
        while (end > from && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80) --end;
    }
    return std::string(line + from, end - from);
}

// The TEMPO line's words after the header word, up to a "#" remark.
std::vector<std::string> tempoWords(const char* line, size_t length)
{
    std::vector<std::string> words;
    size_t i = 5;
    while (i < length) {
        while (i < length && isSeparator(line[i])) ++i;
        const size_t start = i;
        while (i < length && !isSeparator(line[i])) ++i;
        if (i == start) break;
        if (line[start] == '#') break;
        words.emplace_back(line + start, i - start);
    }
    return words;
}

// A whole word as a finite number.
bool number(const std::string& word, double& out)
{
    if (word.empty()) return false;
    char* rest = nullptr;
    errno = 0;
    const double value = std::strtod(word.c_str(), &rest);
    if (errno == ERANGE || *rest != '\0' || !std::isfinite(value)) return false;
    out = value;
    return true;
}

// A whole word as beats per bar, 1 to 64.
bool beatsPerBar(const std::string& word, int& out)
{
    double value = 0.0;
    if (!number(word, value) || value != std::floor(value) || value < 1.0 || value > kMaxBeatsPerBar) return false;
    out = static_cast<int>(value);
    return true;
}

// "BAR:BEAT" or "BAR", the whole word.
bool position(const std::string& word, BarBeat& out)
{
    const char* end = nullptr;
    if (readBarBeat(word.c_str(), out, &end) && *end == '\0') return true;
    double bar = 0.0;
    if (!number(word, bar) || bar != std::floor(bar) || bar < 1.0 || bar > kMaxBar) return false;
    out = BarBeat{static_cast<int64_t>(bar), 1.0};
    return true;
}

// Applies one TEMPO line to the map; the reason when it is bad.
std::string applyTempo(const std::vector<std::string>& w, TempoMap& tempo)
{
    const char* const usage = "needs TEMPO BPM [OFFSET [BEATS]] or TEMPO BPM @ BAR:BEAT [BEATS]";
    double bpm = 0.0;
    if (w.empty() || !number(w[0], bpm)) return usage;
    if (!(bpm > 0.0 && bpm <= kMaxBpm)) return "BPM must be above 0 and at most 10000";
    int beats = 0;
    if (w.size() >= 2 && w[1] == "@") {
        BarBeat at;
        if (w.size() < 3 || w.size() > 4 || !position(w[2], at)) return usage;
        if (w.size() == 4 && !beatsPerBar(w[3], beats)) return "BEATS must be a whole number from 1 to 64";
        std::string error;
        if (!tempo.change(at, bpm, beats, error)) return error;
        return "";
    }
    if (w.size() > 3) return usage;
    double offset = 0.0;
    if (w.size() >= 2 && (!number(w[1], offset) || std::fabs(offset) > kMaxOffset))
        return "OFFSET must be a number of seconds";
    beats = 4;
    if (w.size() == 3 && !beatsPerBar(w[2], beats)) return "BEATS must be a whole number from 1 to 64";
    if (!tempo.empty()) return "a second TEMPO without @ (a change is written TEMPO BPM @ BAR:BEAT)";
    tempo.start(bpm, offset, beats);
    return "";
}

void readHeaderLine(const char* line, size_t length, size_t offset, ScriptHeader& h)
{
    const char* word = headerWord(line, length);
    if (!word) return;
    auto note = [&](const std::string& message) { h.notes.push_back(ScriptNote{offset, message}); };
    if (std::strcmp(word, "TEMPO") == 0) {
        h.tempoWritten = true;
        const std::string problem = applyTempo(tempoWords(line, length), h.tempo);
        if (!problem.empty()) note("bad TEMPO line: " + problem);
        return;
    }
    const bool music = std::strcmp(word, "MUSIC") == 0;
    const std::string text = restOfLine(line, length, 5, music ? std::string::npos : kMaxTitle);
    std::string& value = music ? h.music : h.title;
    if (text.empty()) {
        note(music ? "MUSIC needs a file name" : "TITLE needs a text");
    } else if (!value.empty()) {
        note(std::string("a second ") + word + " line: the first one holds");
    } else {
        value = text;
        if (music) h.musicOffset = offset;
    }
}
} // namespace

bool isHeaderLine(const char* line, size_t length)
{
    return headerWord(line, length) != nullptr;
}

ScriptHeader readScriptHeader(const char* text, size_t size)
{
    ScriptHeader h;
    forEachLine(text, size, [&h](const char* line, size_t length, size_t offset) {
        readHeaderLine(line, length, offset, h);
    });
    return h;
}

ScriptHeader readScriptHeaderFile(const char* path)
{
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes)) return ScriptHeader{};
    return readScriptHeader(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

std::string musicPathOf(const ScriptHeader& header)
{
    if (header.music.empty()) return kMusicPath;
    if (fileReadable(header.music, UINT64_MAX)) return header.music; // streamed, not read whole
    return "data/music/" + header.music;
}

std::string titleOf(const ScriptHeader& header)
{
    return header.title.empty() ? kDefaultTitle : header.title;
}
