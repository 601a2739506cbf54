// Section comments of a script: the comment lines that name a part of the show, for the editor's
// timeline. A section comment is a line that starts with "#", then (after any spaces) two or more
// "=", then the section's name:
//   # == Drop ==                      "Drop", starting at the first line after it that runs
//   # == Drop == 25:1                 "Drop" at bar 25 (a time as an event line writes it)
//   # ========== DROP 1  25:1 - 41:1  "DROP 1" at 25:1; after the name, the rest is a remark
// The name ends at a "=", at two spaces (or a tab) in a row, or at the end of the line. The first
// word after it, when it reads as an event time, is the section's start; otherwise the section
// starts at the time of the first later line whose time is not negative (start-up lines set a
// part up without saying when it plays). A comment of "=" alone, or a section no line follows,
// names nothing. Other comments ("# ---- camera") are no sections.
#pragma once
#include <cstddef>
#include <string>
#include <vector>
#include "script/ScriptHeader.h"

struct ScriptSection {
    double seconds;
    std::string name;
};

// The sections of the script text (size bytes; lines end at "\n" or "\r"), in file order, their
// times read with the header's tempo. At most kMaxSections, names cut to kMaxSectionName bytes.
std::vector<ScriptSection> readSections(const char* text, size_t size, const ScriptHeader& header);

constexpr size_t kMaxSections = 1000;
constexpr size_t kMaxSectionName = 40;
