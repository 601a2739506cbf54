// Cuts one script line into words in place: every space and comma becomes a NUL byte and the text
// after it becomes the next word. Word 0 (the time) is not stored; at most kMaxWords words after it
// are kept and any further words are ignored. Tabs and other bytes are ordinary word characters.
#pragma once

struct ScriptWords {
    static constexpr int kMaxWords = 20;
    char* words[kMaxWords]; // words[0] is the instance name, words[1] the command, then arguments
    int count;              // number of words kept (the separators seen, at most kMaxWords)

    // Word i (0-based after the time), or null when the line has no such word.
    const char* word(int i) const { return i >= 0 && i < kMaxWords && i < count ? words[i] : nullptr; }
};

// Cuts `line` (NUL-terminated, writable) over its length at entry. Afterwards `line` reads as its
// first word alone. A null line gives no words.
ScriptWords cutWords(char* line);
