// Musical time of a script: the tempo map built from its TEMPO header lines, converting between
// seconds on the music clock and bar:beat positions, both ways. Pure arithmetic: no files, no
// printing, no globals, so the script reader, --check and the editor's timeline use the same rules.
//
// Positions count from 1: bar 1 beat 1 is the map's offset in seconds. A beat may have a fraction
// (17:2.5 is half way between beats 2 and 3 of bar 17). The map is a list of segments; the first
// comes from "TEMPO BPM [OFFSET [BEATS]]", every later one from a change "TEMPO BPM @ BAR:BEAT
// [BEATS]" and runs from that position on at its own tempo. A change may fall inside a bar (the
// bar keeps its length); a change of beats per bar starts on beat 1. Times before bar 1 read as
// bar 0 and below, at the first segment's tempo.
//
// Not supported: gradual tempo changes (ramps) and beats of unequal length (swing).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct BarBeat {
    int64_t bar = 1;
    double beat = 1.0;
};

// One stretch of constant tempo, from `at` (which lies at `seconds`) to the next segment.
struct TempoSegment {
    BarBeat at;
    double seconds = 0.0;
    double bpm = 120.0;
    int beatsPerBar = 4;
};

// A grid line of the timeline: one beat (or subdivision), with whether it starts a bar.
struct GridLine {
    double seconds;
    BarBeat at;
    bool barStart;
};

constexpr double kMaxBpm = 10000.0;
constexpr int kMaxBeatsPerBar = 64;
constexpr int64_t kMaxBar = 100000000; // beyond every demo, well inside exact doubles

class TempoMap {
public:
    // True until start() has been called: the script has no tempo.
    bool empty() const { return segments_.empty(); }
    // The first tempo: bar 1 beat 1 at `offset` seconds. Replaces whatever the map held.
    void start(double bpm, double offset, int beatsPerBar);
    // A change of tempo (and, with beatsPerBar > 0, of beats per bar) from `at` on. False with
    // the reason in `error` when the map is empty, the values are out of range, the position is no
    // proper bar:beat or does not come after the last segment's start, or the bar length changes
    // away from beat 1.
    bool change(BarBeat at, double bpm, int beatsPerBar, std::string& error);

    // Why `at` is no proper position ("" when it is): before bar 1, a beat before 1 or a beat past
    // the bar. Positions are checked against the bar length where they fall.
    std::string problemOf(BarBeat at) const;
    // Seconds of a position (not checked: beats past the bar run on into the next bar). On an
    // empty map, 0.
    double secondsAt(BarBeat at) const;
    // The position of a time: the bar it falls in and the beat with its fraction. Times within a
    // billionth of a beat of a whole beat read as that beat, so secondsAt() round trips read back
    // the position written. On an empty map, bar 1 beat 1.
    BarBeat barBeatAt(double seconds) const;
    // The time of the nearest sixteenth note (a quarter of a beat) to `seconds`; on an empty map,
    // `seconds` itself.
    double nearestSixteenth(double seconds) const;
    // Every beat from `from` to `to` seconds (both included) split into `subdivisions` parts (1:
    // beats only), in time order, at most `limit` lines. Empty on an empty map.
    std::vector<GridLine> grid(double from, double to, int subdivisions = 1, size_t limit = 4096) const;

    // Beats per minute and beats per bar in force at a time.
    const TempoSegment& segmentAt(double seconds) const;
    const std::vector<TempoSegment>& segments() const { return segments_; }

private:
    size_t segmentIndexAt(BarBeat at) const;
    size_t segmentIndexAt(double seconds) const;

    std::vector<TempoSegment> segments_;
};

// "17:2.5" style text of a position (the beat with up to three decimals, trailing zeros dropped).
std::string formatBarBeat(BarBeat at);
