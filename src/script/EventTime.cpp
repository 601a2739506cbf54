// Reading the time of a script line: seconds through "%lf", or a BAR:BEAT through the tempo map.
#include "script/EventTime.h"
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {
bool isDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// A decimal beat at `text`: digits with an optional fraction, or a fraction alone.
bool readBeat(const char* text, double& beat, const char** end)
{
    if (!isDigit(text[0]) && !(text[0] == '.' && isDigit(text[1]))) return false;
    char* rest = nullptr;
    beat = std::strtod(text, &rest);
    *end = rest;
    return std::isfinite(beat);
}

// The BAR:BEAT's problem, "" when it is a proper position of the map.
std::string problemOf(double bar, const char* beatText, const TempoMap& tempo, double& seconds)
{
    if (tempo.empty()) return "no tempo: the TEMPO line is bad";
    if (!(bar == std::floor(bar))) return "the bar is not a whole number";
    double beat = 0.0;
    const char* end = nullptr;
    if (!readBeat(beatText, beat, &end)) return "no beat after the colon";
    const BarBeat at{bar < 1.0 ? 0 : bar > kMaxBar ? kMaxBar + 1 : static_cast<int64_t>(bar), beat};
    const std::string problem = tempo.problemOf(at);
    if (problem.empty()) seconds = tempo.secondsAt(at);
    return problem;
}
} // namespace

bool readBarBeat(const char* text, BarBeat& out, const char** end)
{
    int64_t bar = 0;
    const char* p = text;
    if (!isDigit(*p)) return false;
    for (; isDigit(*p); ++p) {
        bar = bar * 10 + (*p - '0');
        if (bar > kMaxBar) return false;
    }
    double beat = 0.0;
    if (*p != ':' || !readBeat(p + 1, beat, end)) return false;
    out = BarBeat{bar, beat};
    return true;
}

EventTime readEventTime(const char* line, const ScriptHeader& header)
{
    EventTime out;
    double value = 0.0;
    int used = 0;
    if (std::sscanf(line, "%lf%n", &value, &used) != 1) return out;
    if (line[used] != ':' || !header.tempoWritten) {
        out.kind = EventTime::Kind::Seconds;
        out.seconds = value;
        return out;
    }
    out.problem = problemOf(value, line + used + 1, header.tempo, out.seconds);
    out.kind = out.problem.empty() ? EventTime::Kind::Bars : EventTime::Kind::Bad;
    return out;
}
