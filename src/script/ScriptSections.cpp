// Finding the section comments of a script and the time each one starts at.
#include "script/ScriptSections.h"
#include "script/EventTime.h"

namespace {
bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The name of a section comment and what follows it, or false for any other line.
bool readSectionComment(const std::string& line, std::string& name, std::string& rest)
{
    size_t i = 1;
    if (line.empty() || line[0] != '#') return false;
    while (i < line.size() && isBlank(line[i])) ++i;
    if (line.compare(i, 2, "==") != 0) return false;
    while (i < line.size() && (line[i] == '=' || isBlank(line[i]))) ++i;
    const size_t start = i;
    while (i < line.size() && line[i] != '=' && line[i] != '\t' && line.compare(i, 2, "  ") != 0) ++i;
    name = line.substr(start, i - start);
    while (!name.empty() && isBlank(name.back())) name.pop_back();
    if (name.size() > kMaxSectionName) name.resize(kMaxSectionName);
    while (i < line.size() && (line[i] == '=' || isBlank(line[i]))) ++i;
    rest = line.substr(i);
    return !name.empty();
}

// The seconds of an event time at the start of `text`; false when it reads as none (or a bad one).
bool readTime(const std::string& text, const ScriptHeader& header, double& seconds)
{
    const EventTime time = readEventTime(text.c_str(), header);
    if (time.kind != EventTime::Kind::Seconds && time.kind != EventTime::Kind::Bars) return false;
    seconds = time.seconds;
    return true;
}
} // namespace

std::vector<ScriptSection> readSections(const char* text, size_t size, const ScriptHeader& header)
{
    std::vector<ScriptSection> sections;
    size_t waiting = 0; // sections from this index on wait for the next line that runs
    forEachLine(text, size, [&](const char* start, size_t length, size_t) {
        if (sections.size() >= kMaxSections) return; // the rest of the file is passed over
        const std::string line(start, length);
        std::string name, rest;
        double seconds = 0.0;
        if (readSectionComment(line, name, rest)) {
            const bool timed = readTime(rest, header, seconds);
            sections.push_back(ScriptSection{timed ? seconds : -1.0, name});
        } else if (!line.empty() && line[0] != '#' && readTime(line, header, seconds) && seconds >= 0.0) {
            for (; waiting < sections.size(); ++waiting)
                if (sections[waiting].seconds < 0.0) sections[waiting].seconds = seconds;
        }
    });
    // Sections no running line follows name nothing.
    std::vector<ScriptSection> named;
    for (ScriptSection& s : sections)
        if (s.seconds >= 0.0) named.push_back(std::move(s));
    return named;
}
