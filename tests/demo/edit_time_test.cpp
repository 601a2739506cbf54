// The editor's time arithmetic as one table, each row worked out by hand: the strip's x <-> time
// mapping, zoom and follow; the play loop; frame steps; marks (raw and on the nearest sixteenth,
// with and without a tempo); section comments; the waveform envelope's columns.
#include <gtest/gtest.h>
#include <cstdio>
#include <string>
#include <vector>
#include "demo/EditTime.h"
#include "demo/TimelineView.h"
#include "demo/WaveEnvelope.h"
#include "script/ScriptSections.h"

namespace {
std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", value);
    return text;
}

TempoMap tempo(double bpm, double offset)
{
    TempoMap map;
    map.start(bpm, offset, 4);
    return map;
}

std::string sections(const std::string& text)
{
    ScriptHeader header;
    header.tempo = tempo(125, 0); // a bar is 1.92 s
    header.tempoWritten = true;
    std::string out;
    for (const ScriptSection& s : readSections(text.data(), text.size(), header))
        out += s.name + "@" + number(s.seconds) + " ";
    return out;
}

PlayLoop loop(double in, double out, bool on)
{
    PlayLoop l;
    l.in = in, l.out = out, l.on = on;
    return l;
}
} // namespace

TEST(EditTime, StripMappingLoopFrameStepsMarksSectionsAndEnvelopeColumns)
{
    const TimelineView view{2.0, 16.0};
    const TimelineView in2 = zoomed(TimelineView{0.0, 16.0}, 2); // 8 s about its middle: 4 to 12
    WaveEnvelope envelope(1000.0);                               // a second at 1000 Hz, a spike at 0.5 s
    std::vector<float> samples(1000, 0.25f);
    samples[500] = -0.75f, samples[504] = 1.0f;
    envelope.add(samples.data(), samples.size());
    const auto range = [&](double from, double to) {
        return number(envelope.range(from, to).first) + " " + number(envelope.range(from, to).second);
    };
    const std::pair<std::string, std::string> rows[] = {
        {number(timeAtX(view, 960, 1280)), "14.0000"}, // three quarters across
        {number(xAtTime(in2, 6.0, 1280)), "320.0000"},
        {number(timeAtX(in2, 1280, 1280)), "12.0000"},
        {number(zoomed(TimelineView{0.0, 1.0}, 3).span), "1.0000"}, // zoomed in all the way
        {number(zoomed(TimelineView{0.0, 16.0}, -1).span), "22.6274"},
        {number(followed(view, 100.0).start), "92.0000"}, // the cursor in the middle
        {number(followed(view, 5.0).start), "0.0000"},    // but not before 0
        {number(keptInLoop(loop(2, 4, true), 3.99)), "3.9900"},
        {number(keptInLoop(loop(2, 4, true), 4.0)), "2.0000"}, // the out point plays the in point
        {number(keptInLoop(loop(2, 4, true), 1.0)), "2.0000"},
        {number(keptInLoop(loop(2, 4, false), 5.0)), "5.0000"},
        {number(withLoopIn(loop(2, 4, true), 5.0).out), "-1.0000"}, // an in point past the out drops it
        {number(withLoopOut(loop(5, -1, false), 3.0).in), "0.0000"},
        {number(steppedFrames(1.0, 1)), "1.0167"},
        {number(steppedFrames(0.01, -1)), "0.0000"},
        {markText(30.72, tempo(125, 0), false), "Mark: 30.720 (17:1)"},
        {markText(30.8, tempo(125, 0), false), "Mark: 30.800 (17:1.167)"},
        {markText(30.8, tempo(125, 0), true), "Mark: 30.840 (17:1.25)"}, // 0.08 s on: nearer the next sixteenth
        {markText(30.77, tempo(125, 0), true), "Mark: 30.720 (17:1)"},
        {markText(0.5, tempo(120, 1), true), "Mark: 0.500 (before bar 1)"},
        {markText(30.8, TempoMap(), true), "Mark: 30.800"},
        {sections("# == Intro == 1:1\n-1 a x\n# ===== DROP 1  25:1 - 41:1\n# == Late ==\n-1 b x\n# x\n33:1 a y\n"
                  "# ---- no\n# ======\n# == Never =="),
         "Intro@0.0000 DROP 1@46.0800 Late@61.4400 "},
        {range(0.2, 0.3), "0.2500 0.2500"},
        {range(0.5, 0.5), "-0.7500 1.0000"}, // the bin the time falls in, 0.5 to 0.505 s
        {range(2.0, 3.0), "0.0000 0.0000"},  // past the end
    };
    for (const auto& row : rows) EXPECT_EQ(row.first, row.second);
}
