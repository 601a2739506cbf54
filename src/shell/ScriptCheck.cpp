// zemblar --check: the whole script run offscreen on a 60 fps frame clock without drawing, every
// event's output caught and reported against its line, plus the problems the demo passes over in
// silence: bad header lines and BAR:BEAT times, a MUSIC file that is missing or will not play,
// lines that do nothing. The message sink is captured while the script runs; the report is printed
// once the run is over.
#include "shell/ScriptCheck.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>
#include "demo/ClockSource.h"
#include "demo/Demo.h"
#include "demo/ProcessState.h"
#include "demo/ScriptEnd.h"
#include "effects/EffectRegistry.h"
#include "effects/Model.h"
#include "effects/Particles.h"
#include "resources/FileBytes.h"
#include "resources/Messages.h"
#include "resources/ObjFile.h"
#include "script/ScriptCommands.h"
#include "script/WordCutter.h"
#include "shell/OffscreenContext.h"
#include "shell/Platform.h"

namespace {
constexpr uint32_t kCheckFps = 60;
constexpr double kLongestCheck = 3600.0; // events later than this are not waited for

using Report = std::pair<int, std::string>;

// The script as the timeline splits it, with the file line of every event and of every byte.
struct ScriptCopy {
    std::unique_ptr<char[]> text;
    std::string original;
    std::vector<ScriptEvent> events;
    ScriptHeader header;
    std::vector<int> lineAt; // file line of each byte's offset
    std::vector<int> lineOf; // file line of each event
};

bool readScript(const char* path, ScriptCopy& copy)
{
    int64_t size = 0;
    if (!loadScriptFile(copy.text, size, path)) return false;
    copy.original.assign(copy.text.get(), static_cast<size_t>(size));
    splitScript(copy.text.get(), size, copy.events, &copy.header);
    // A line ends at "\n", "\r\n" or a lone "\r".
    std::vector<int>& lineAt = copy.lineAt;
    lineAt.assign(copy.original.size() + 1, 1);
    for (size_t i = 0; i < copy.original.size(); ++i) {
        const char c = copy.original[i];
        const bool ends = c == '\n' || (c == '\r' && (i + 1 >= copy.original.size() || copy.original[i + 1] != '\n'));
        lineAt[i + 1] = lineAt[i] + (ends ? 1 : 0);
    }
    for (const ScriptEvent& e : copy.events)
        copy.lineOf.push_back(lineAt[static_cast<size_t>(e.line - copy.text.get())]);
    return true;
}

// Lines that hold text but no time: the timeline drops them without a word.
void reportUntimedLines(const std::string& text, std::vector<Report>& out)
{
    int number = 0;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        ++number;
        const std::string line = text.substr(pos, end - pos);
        const bool blank = line.find_first_not_of(" \t") == std::string::npos;
        double time = 0.0;
        if (!blank && line[0] != '#' && line[0] != 'B' && !isHeaderLine(line.data(), line.size()) &&
            std::sscanf(line.c_str(), "%lf", &time) != 1)
            out.emplace_back(number, "no time at the start: the line never runs");
        if (end >= text.size()) break;
        pos = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
}

// The header's bad lines and bad BAR:BEAT times, and a MUSIC file that cannot be found or played.
void reportHeader(const ScriptCopy& copy, std::vector<Report>& out)
{
    for (const ScriptNote& note : copy.header.notes) out.emplace_back(copy.lineAt[note.offset], note.message);
    const ScriptHeader& h = copy.header;
    if (h.music.empty()) return;
    const int line = copy.lineAt[h.musicOffset];
    const std::string path = musicPathOf(h);
    std::string why;
    if (!fileReadable(path, UINT64_MAX))
        out.emplace_back(line, "missing music file " + h.music + " (looked for " + h.music + " and data/music/" +
                                   h.music + ")");
    else if (!audioFilePlays(path.c_str(), why))
        out.emplace_back(line, "unplayable music file " + path + ": " + why);
}

Demoeffect* boundOrNull(const char* name)
{
    return EffectRegistry::contains(name) ? EffectRegistry::findOrAdd(name) : nullptr;
}

class CheckWatch : public EventWatch {
public:
    CheckWatch(const ScriptCopy& copy, std::vector<Report>& reports) : copy_(copy), reports_(reports) {}

    bool beforeEvent(const ScriptEvent& event, size_t index) override
    {
        mark_ = capturedLength();
        if (index >= copy_.events.size()) return true;
        line_ = copy_.lineOf[index];
        if (endTime_ != kNoEnd) {
            report("never runs: it comes after END at " + std::to_string(endTime_));
            return false;
        }
        if (isEndLine(copy_.events[index].line)) {
            endTime_ = event.time;
            return false;
        }
        words_.assign(copy_.events[index].line, copy_.events[index].line + std::strlen(copy_.events[index].line) + 1);
        cut_ = cutWords(words_.data());
        ignoredLocals_ = ignoredLocalCount();
        silentProblemsBefore(event);
        return true;
    }

    void afterEvent(const ScriptEvent&, size_t index) override
    {
        if (index >= copy_.events.size()) return;
        const std::string printed = capturedFrom(mark_);
        size_t pos = 0;
        while (pos < printed.size()) {
            size_t end = printed.find('\n', pos);
            if (end == std::string::npos) end = printed.size();
            if (end > pos) report(printed.substr(pos, end - pos));
            pos = end + 1;
        }
        // The effect's type takes no per-type words: its handler dropped this one in silence.
        if (ignoredLocalCount() != ignoredLocals_ && cut_.count >= 3) {
            const std::string argument = cut_.words[2];
            report("unknown local word " + argument.substr(0, argument.find(';')) + ": " + cut_.words[0] +
                   " takes no local commands");
        }
        if (endTime_ != kNoEnd || cut_.count < 2) return;
        const std::string command = cut_.words[1];
        if (command == "new" && cut_.count >= 3 && !boundOrNull(cut_.words[0]))
            report(std::string("unknown effect type ") + cut_.words[2] + ": nothing is bound to " + cut_.words[0]);
        // A name that is still unbound after its line ran, where the line printed nothing about it.
        if (printed.empty())
            for (const char* name : usedNames())
                if (name && !boundOrNull(name)) report(std::string(name) + " is used but never bound");
    }

    bool ended() const { return endTime_ != kNoEnd; }
    double endTime() const { return endTime_; }

private:
    void report(const std::string& message) { reports_.emplace_back(line_, message); }

    // The names the line reads besides its instance (which the interpreter checks itself).
    std::vector<const char*> usedNames() const
    {
        const std::string command = cut_.words[1];
        if (cut_.count >= 3 && (command == "append" || command == "remove" || command == "clone"))
            return {cut_.words[2]};
        return {};
    }

    void silentProblemsBefore(const ScriptEvent& event)
    {
        if (cut_.count < 2) {
            report("no command: the line does nothing");
            return;
        }
        ScriptEvent scratch = event;
        std::vector<Demoeffect*> scene;
        bool stop = false;
        CommandLine line{scratch, cut_, scene, stop};
        if (findCommand(line, false) || findCommand(line, true)) {
            if (std::strcmp(line.command(), "local") == 0 && cut_.count >= 3) localWord(cut_.words[0], cut_.words[2]);
            if (std::strcmp(line.command(), "SHADER") == 0)
                for (int i = 2; i < cut_.count && i < 5; ++i)
                    if (*cut_.words[i] && !fileReadable(std::string("data/shaders/") + cut_.words[i]))
                        report(std::string("missing shader file data/shaders/") + cut_.words[i]);
            return;
        }
        ScriptWords all = cut_;
        all.count = ScriptWords::kMaxWords;
        const CommandLine anyLength{scratch, all, scene, stop};
        if (findCommand(anyLength, false) || findCommand(anyLength, true))
            report(std::string("too few words for ") + line.command() + ": the line does nothing");
        else
            report(std::string("unknown command ") + line.command());
    }

    // Words the effect types drop without a message: bad particle layouts and modes, and mesh files
    // the loader cannot read. (A word given to a type without per-type words is noted by the type
    // itself; afterEvent reports it.)
    void localWord(const char* name, const char* argument)
    {
        Demoeffect* e = boundOrNull(name);
        if (!e) return;
        const std::string text = argument;
        const size_t semi = text.find(';');
        const std::string word = text.substr(0, semi);
        const std::string value =
            semi == std::string::npos ? "" : text.substr(semi + 1, text.find(';', semi + 1) - semi - 1);
        if (dynamic_cast<Particles*>(e)) {
            int32_t unused = 0;
            if (word == "type" && !particleTypeWord(value.c_str(), unused)) report("unknown particle type " + value);
            if (word == "anim" && !particleAnimWord(value.c_str(), unused))
                report("unknown particle animation " + value);
        } else if (dynamic_cast<Model*>(e)) {
            if (word == "loadobj" && !objFileReadable(value.c_str())) report("missing mesh file " + value);
        }
    }

    const ScriptCopy& copy_;
    std::vector<Report>& reports_;
    size_t mark_ = 0;
    int line_ = 0;
    double endTime_ = kNoEnd;
    std::vector<char> words_;
    ScriptWords cut_{};
    uint64_t ignoredLocals_ = 0;
};

void runChecked(const char* path, const ScriptCopy& copy, std::vector<Report>& reports)
{
    if (!createOffscreenContext(1280, 720)) {
        reports.emplace_back(0, "no GL context: nothing could be checked");
        return;
    }
    {
        FrameClock clock(kCheckFps);
        CheckWatch watch(copy, reports);
        DemoSetup setup;
        setup.scriptPath = path;
        setup.watch = &watch;
        Demo demo(clock, setup);
        double last = 0.0;
        for (const ScriptEvent& e : demo.events)
            if (std::isfinite(e.time)) last = std::max(last, std::min(e.time, kLongestCheck));
        const uint64_t lastFrame = static_cast<uint64_t>(std::ceil(last * kCheckFps)) + 1;
        auto pending = [&] {
            return std::any_of(demo.events.begin(), demo.events.end(), [](const ScriptEvent& e) { return !e.done; });
        };
        while (!watch.ended() && pending() && clock.frame() <= lastFrame) {
            demo.update();
            clock.advance();
        }
        for (size_t i = 0; i < demo.events.size(); ++i)
            if (!demo.events[i].done)
                reports.emplace_back(copy.lineOf[i],
                                     watch.ended()
                                         ? "never runs: it comes after END at " + std::to_string(watch.endTime())
                                         : std::string("never runs: its time is never reached"));
    }
    resetProcessState();
    destroyOffscreenContext();
}
} // namespace

int runScriptCheck(const std::string& script)
{
    const std::string path = script.empty() ? kScriptPath : script;
    std::vector<Report> reports;
    ScriptCopy copy;
    bool read = false;
    startMessageCapture(); // the reader's own "Couldn't open" becomes the report below
    read = readScript(path.c_str(), copy);
    endMessageCapture();
    if (!read) {
        reports.emplace_back(0, "Couldn't open: " + path);
    } else {
        reportUntimedLines(copy.original, reports);
        reportHeader(copy, reports);
        startMessageCapture(); // what the run prints is reported against its lines
        runChecked(path.c_str(), copy, reports);
        endMessageCapture();
    }
    std::stable_sort(reports.begin(), reports.end(),
                     [](const Report& a, const Report& b) { return a.first < b.first; });
    for (const Report& r : reports) printMessage("%d: %s\n", r.first, r.second.c_str());
    flushMessages();
    return reports.empty() ? 0 : 1;
}
