// Header lines of a script: lines without a time that set up the whole demo. A reader that knows
// only timed lines skips them, since they do not start with a number.
//   MUSIC FILE                 the track (opened by the name, then under data/music/); the rest of
//                              the line is the name, so it may hold spaces
//   TITLE TEXT                 the window's title; the rest of the line
//   TEMPO BPM [OFFSET [BEATS]] beats per minute, the time of bar 1 beat 1 in seconds (default 0) and
//                              beats per bar (default 4)
//   TEMPO BPM @ BAR:BEAT [BEATS]  a tempo change from that position on (":BEAT" may be left out for
//                              beat 1); BEATS changes the bar length from a bar's beat 1 on
// The header word is the line's first word, from its first byte, followed by a space or a comma.
// TEMPO words are separated by spaces and commas, and a word starting with "#" ends them (a
// remark). Header lines may stand anywhere in the file and apply to all of it; tempo changes are
// taken in file order. A bad header line is left out and noted; a second MUSIC or TITLE line is
// noted and the first one holds.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>
#include "script/TempoMap.h"

extern const char* const kMusicPath;    // "data/music/Tundrel.mp3": the track without a MUSIC line
extern const char* const kDefaultTitle; // "Zemblar"

// A line of the script that the reader passed over, with the reason: a bad header line, or a
// BAR:BEAT time that names no proper position. `offset` is the line's first byte in the text.
struct ScriptNote {
    size_t offset;
    std::string message;
};

struct ScriptHeader {
    std::string music;            // the MUSIC name as written; empty: none given
    size_t musicOffset = SIZE_MAX; // the MUSIC line's first byte
    std::string title;            // empty: none given
    TempoMap tempo;               // empty: no (good) TEMPO line
    bool tempoWritten = false;    // some line starts with TEMPO, good or bad
    std::vector<ScriptNote> notes;
};

// Calls line(start, length, offset) for every line of the text (size bytes), where a line ends at
// each "\n" or "\r" (a CR LF pair leaves an empty line between them, which no reader of header or
// comment lines minds).
template <typename Line>
void forEachLine(const char* text, size_t size, Line line)
{
    size_t pos = 0;
    while (pos < size) {
        size_t end = pos;
        while (end < size && text[end] != '\n' && text[end] != '\r') ++end;
        line(text + pos, end - pos, pos);
        pos = end + 1;
    }
}

// Whether the line (from its first byte) is a header line: MUSIC, TITLE or TEMPO as its first word.
bool isHeaderLine(const char* line, size_t length);
// Reads every header line of the text (size bytes, not changed; lines end at "\n" or "\r").
ScriptHeader readScriptHeader(const char* text, size_t size);
// The header of the script file at `path`; a file that cannot be read has none.
ScriptHeader readScriptHeaderFile(const char* path);

// The file the music is played from: the MUSIC name when a file of that name opens, else the name
// under data/music/ (which may not exist either); kMusicPath without a MUSIC line.
std::string musicPathOf(const ScriptHeader& header);
// The TITLE text, or kDefaultTitle without one.
std::string titleOf(const ScriptHeader& header);
