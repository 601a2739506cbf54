// Musical time as tables: BAR:BEAT times read by the splitter under a header (tempo changes,
// fractions, the plain number reading without TEMPO, bad positions), the header lines themselves,
// and the tempo map read backwards: positions of times, the nearest sixteenth and the beat grid.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>
#include "script/Timeline.h"

namespace {
// Splits HEADER and one line "TIME x" and returns the event's time, or the line's note.
struct Reading {
    bool event = false;
    double seconds = 0.0;
    std::string note;
};

Reading readTime(const std::string& header, const std::string& time)
{
    std::string text = header + "\n" + time + " x\n";
    std::vector<char> buffer(text.begin(), text.end());
    buffer.resize(buffer.size() + 4, '\0');
    std::vector<ScriptEvent> events;
    ScriptHeader h;
    splitScript(buffer.data(), static_cast<int64_t>(text.size()), events, &h);
    Reading out;
    out.event = events.size() == 1;
    if (out.event) out.seconds = events[0].time;
    for (const ScriptNote& note : h.notes)
        if (note.offset == header.size() + 1) out.note = note.message;
    return out;
}
} // namespace

TEST(Tempo, BarBeatTimesSumOverTheSegmentsAndPlainNumbersReadAsEver)
{
    const char* const changes = "TEMPO 120\nTEMPO 60 @ 3 3\nTEMPO 240 @ 5:1"; // 3:1 at 4 s, 5:1 at 10 s
    const std::tuple<const char*, const char*, double> good[] = {
        {"", "2:1", 2.0}, // without TEMPO the number reading, as the script format always had it
        {"", "17:5", 17.0},
        {"TEMPO 125", "17:1", 30.72}, // exactly the double of the decimal seconds
        {"TEMPO 125", "24:3.5", 45.36},
        {"TEMPO 125", "45.36", 45.36}, // seconds beside bars
        {"TEMPO 125", "-1", -1.0},
        {"TEMPO 120 1.5", "2:1", 3.5},
        {"TEMPO 120,0,3 # waltz", "3:2", 3.5},
        {"TEMPO 120", "1:4.75", 1.875},
        {changes, "2:4", 3.5},  // before the first change
        {changes, "4:2", 8.0},  // 60 BPM, 3 beats a bar from bar 3
        {changes, "6:2", 11.0}, // 240 BPM, the bar still 3 beats
        {"TEMPO 120\nTEMPO 60 @ 3:3", "3:4", 6.0}, // a change inside a bar
    };
    for (const auto& [header, time, seconds] : good) {
        const Reading r = readTime(header, time);
        EXPECT_TRUE(r.event && r.note.empty()) << header << " | " << time << ": " << r.note;
        EXPECT_EQ(r.seconds, seconds) << header << " | " << time;
    }
    const std::tuple<const char*, const char*, const char*> bad[] = {
        {"TEMPO 125", "0:4", "before bar 1"},
        {"TEMPO 125", "-2:1", "before bar 1"},
        {"TEMPO 125", "17:5", "past the bar of 4 beats"},
        {"TEMPO 125", "17:0.5", "before beat 1"},
        {"TEMPO 125", "1.5:1", "not a whole number"},
        {"TEMPO 125", "17:", "no beat"},
        {"TEMPO 125", "17: 1", "no beat"},
        {"TEMPO 125", "1e300:1", "past bar"},
        {changes, "3:4", "past the bar of 3 beats"},
        {"TEMPO fast", "17:1", "no tempo"}, // a bad TEMPO: bars are never taken for seconds
    };
    for (const auto& [header, time, problem] : bad) {
        const Reading r = readTime(header, time);
        EXPECT_FALSE(r.event) << time;
        EXPECT_NE(r.note.find(problem), std::string::npos) << header << " | " << time << ": " << r.note;
        const std::string word(time, std::strcspn(time, " "));
        EXPECT_EQ(r.note.rfind("bad time " + word + " (", 0), 0u) << r.note;
    }
}

TEST(Tempo, HeaderLinesAndTheirNotes)
{
    using Notes = std::vector<std::string>; // the start of each note, in order
    // {text, music, title, tempo segments, notes}
    const std::tuple<std::string, const char*, std::string, size_t, Notes> cases[] = {
        {"MUSIC my song.ogg \t\nTITLE  Demo, by Us\n1 a b", "my song.ogg", "Demo, by Us", 0, {}},
        {" TEMPO 120\nTEMPOS 1\nMUSICAL x\n#TITLE y", "", "", 0, {}}, // not header lines
        {"MUSIC\nTITLE ,\r\nMUSIC a.ogg\rMUSIC b.ogg", "a.ogg", "", 0,
         {"MUSIC needs a file name", "TITLE needs a text", "a second MUSIC line: the first one holds"}},
        {"TITLE " + std::string(254, 'a') + "\xc3\xa9", "", std::string(254, 'a'), 0, {}}, // 255 bytes, whole "é" only
        {"TEMPO 0\nTEMPO 120 x\nTEMPO 120 0 0\nTEMPO 120 0 4 5\nTEMPO 60 @ 2:1", "", "", 0,
         {"bad TEMPO line: BPM must be above 0", "bad TEMPO line: OFFSET", "bad TEMPO line: BEATS",
          "bad TEMPO line: needs TEMPO BPM", "bad TEMPO line: a tempo change needs a TEMPO line without @ first"}},
        {"TEMPO 120\nTEMPO 130\nTEMPO 60 @ 3:1\nTEMPO 90 @ 2:1\nTEMPO 80 @ 4:2 3\nTEMPO 80 @ 0:1\n"
         "TEMPO 80 @ 4:5\nTEMPO 80 @ 4 x",
         "", "", 2,
         {"bad TEMPO line: a second TEMPO without @", "bad TEMPO line: the change at 2:1 does not come after 3:1",
          "bad TEMPO line: a change of beats per bar must start on beat 1",
          "bad TEMPO line: the change at 0:1 is before bar 1",
          "bad TEMPO line: the change at 4:5 is past the bar of 4 beats", "bad TEMPO line: BEATS"}},
    };
    for (const auto& [text, music, title, segments, notes] : cases) {
        const ScriptHeader h = readScriptHeader(text.data(), text.size());
        EXPECT_EQ(std::make_tuple(h.music, h.title, h.tempo.segments().size()),
                  std::make_tuple(std::string(music), title, segments))
            << text;
        ASSERT_EQ(h.notes.size(), notes.size()) << text;
        for (size_t i = 0; i < notes.size(); ++i) {
            EXPECT_EQ(h.notes[i].message.rfind(notes[i], 0), 0u) << h.notes[i].message;
            EXPECT_TRUE(isHeaderLine(text.data() + h.notes[i].offset, 5)) << notes[i]; // noted on its own line
        }
    }
}

TEST(Tempo, PositionsOfTimesTheNearestSixteenthAndTheGrid)
{
    TempoMap map; // 120 BPM from 1 s, then 60 BPM and 3 beats a bar from bar 3 (at 5 s)
    EXPECT_EQ(formatBarBeat(map.barBeatAt(7.0)), "1:1");
    EXPECT_EQ(map.nearestSixteenth(7.01), 7.01);
    EXPECT_TRUE(map.grid(0.0, 10.0).empty());
    map.start(120.0, 1.0, 4);
    std::string error;
    ASSERT_TRUE(map.change(BarBeat{3, 1.0}, 60.0, 3, error)) << error;
    const std::pair<double, const char*> positions[] = {{1.0, "1:1"},    {0.75, "0:4.5"}, {-1.0, "0:1"},
                                                        {5.0, "3:1"},    {6.5, "3:2.5"},  {11.0, "5:1"},
                                                        {4.999, "2:4.998"}};
    for (const auto& [seconds, text] : positions) EXPECT_EQ(formatBarBeat(map.barBeatAt(seconds)), text) << seconds;
    // Every sixteenth reads back as itself (no 2:4.9999 for bar 3).
    for (int bar = 1; bar <= 8; ++bar)
        for (int q = 0; q < (bar < 3 ? 16 : 12); ++q) {
            const BarBeat at{bar, 1.0 + q / 4.0};
            EXPECT_EQ(formatBarBeat(map.barBeatAt(map.secondsAt(at))), formatBarBeat(at));
        }
    TempoMap odd; // 125 BPM from 0.3 s: beats that are no exact doubles
    odd.start(125.0, 0.3, 4);
    for (int q = 0; q < 16 * 40; ++q) {
        const BarBeat at{1 + q / 16, 1.0 + (q % 16) / 4.0};
        EXPECT_EQ(formatBarBeat(odd.barBeatAt(odd.secondsAt(at))), formatBarBeat(at));
    }
    const std::pair<double, double> snaps[] = {{1.06, 1.0}, {1.07, 1.125}, {5.13, 5.25}, {4.99, 5.0}, {0.9, 0.875}};
    for (const auto& [seconds, snapped] : snaps) EXPECT_DOUBLE_EQ(map.nearestSixteenth(seconds), snapped) << seconds;

    std::string beats;
    for (const GridLine& g : map.grid(0.9, 6.5)) beats += (g.barStart ? "|" : " ") + formatBarBeat(g.at);
    EXPECT_EQ(beats, "|1:1 1:2 1:3 1:4|2:1 2:2 2:3 2:4|3:1 3:2");
    const std::vector<GridLine> halves = map.grid(5.0, 6.5, 2, 3);
    ASSERT_EQ(halves.size(), 3u); // the limit
    EXPECT_EQ(std::vector<double>({halves[0].seconds, halves[1].seconds, halves[2].seconds}),
              std::vector<double>({5.0, 5.5, 6.0}));
}
