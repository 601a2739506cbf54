// Parsing of the offline renderer's command line.
#include "render/RenderOptions.h"
#include "resources/Numbers.h"
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {
// Digits only, a whole number in [low, high]; `end` gets the first character after the digits.
bool readWhole(const char* text, long low, long high, long& out, const char** end = nullptr)
{
    if (!text || !std::isdigit(static_cast<unsigned char>(*text))) return false;
    char* rest = nullptr;
    errno = 0;
    const unsigned long value = std::strtoul(text, &rest, 10);
    if (errno != 0 || value < static_cast<unsigned long>(low) || value > static_cast<unsigned long>(high)) return false;
    if (end)
        *end = rest;
    else if (*rest != '\0')
        return false;
    out = static_cast<long>(value);
    return true;
}

template <typename T>
bool readWhole(const char* text, long low, long high, T& out)
{
    long value = 0;
    if (!readWhole(text, low, high, value)) return false;
    out = static_cast<T>(value);
    return true;
}

// "AxB" with both parts whole numbers in [1, high] (sizes as "1920x1080", segments as "2/4").
bool readPair(const char* text, char separator, long high, long& a, long& b)
{
    const char* rest = nullptr;
    return readWhole(text, 1, high, a, &rest) && *rest == separator && readWhole(rest + 1, 1, high, b);
}

bool fail(std::string& error, const std::string& text)
{
    error = text;
    return false;
}

// What each preset sets; the options given beside it (`given`) keep their own values.
struct Given {
    bool fps = false, size = false;
};

void applyPreset(RenderOptions& o, const Given& given)
{
    if (o.preset.empty()) return;
    if (!given.size) o.width = 1920, o.height = 1080;
    if (o.preset == "compo") {
        // The video copy of a real-time entry: 1080p30, H.264 Main 4.1, at least 6 Mbit/s, AAC
        // stereo at least 192 kbit/s.
        if (!given.fps) o.fps = 30;
        o.profile = "main";
        // Level 4.1 holds 8192 macroblocks a frame and 245760 a second (1080p30 just fits); a
        // larger size or rate given beside the preset leaves the level to x264, which marks the
        // one the video needs instead of a wrong 4.1.
        const int64_t blocks = int64_t((o.width + 15) / 16) * ((o.height + 15) / 16);
        if (blocks <= 8192 && blocks * o.fps <= 245760) o.level = "4.1";
        if (!o.crfGiven) o.videoKbps = 8000;
        o.audioKbps = 320;
    } else {
        // Publishing online: 1080p60, High profile, CRF 18, AAC 384 kbit/s.
        if (!given.fps) o.fps = 60;
        o.profile = "high";
        if (!o.crfGiven) o.crf = 18;
        o.audioKbps = 384;
    }
}

// Whether the combination of options is sensible once all are read.
bool checkCombination(const RenderOptions& o, bool gotPath, bool gotRange, std::string& error)
{
    if (o.output == RenderOptions::Output::SingleFrame) {
        if (gotPath) return fail(error, "--at names its own output file; give no other output");
        if (gotRange) return fail(error, "--at cannot be combined with --start or --end");
        if (o.jobs > 1 || o.segment > 0 || o.join > 0)
            return fail(error, "--at renders one frame: give no --jobs, --segment or --join");
        return true;
    }
    if (o.end >= 0.0 && o.end <= o.start) return fail(error, "--end must lie after --start");
    const bool video = o.output == RenderOptions::Output::Video;
    if (video && (o.width % 2 != 0 || o.height % 2 != 0))
        return fail(error, "a video needs an even width and height (yuv420p); --size " + std::to_string(o.width) + "x" +
                               std::to_string(o.height) + " is odd");
    if (o.segment > 0 && o.jobs > 1) return fail(error, "--segment renders one segment: give no --jobs");
    if (o.join > 0 && !video) return fail(error, "--join makes a video: the output must end in .mp4");
    if (o.join > 0 && (o.segment > 0 || o.jobs > 1))
        return fail(error, "--join renders nothing: give no --jobs or --segment");
    return true;
}
} // namespace

bool isVideoPath(const std::string& path)
{
    if (path.size() < 4) return false;
    std::string tail = path.substr(path.size() - 4);
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == ".mp4";
}

bool parseRenderOptions(int argc, const char* const* argv, RenderOptions& o, std::string& error)
{
    o = RenderOptions{};
    bool gotPath = false, gotRange = false;
    Given given;
    for (int i = 0; i < argc; ++i) {
        const char* arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            o.help = true;
        } else if (std::strcmp(arg, "--fps") == 0) {
            if (!readWhole(value, 1, kMaxRenderFps, o.fps))
                return fail(error, "--fps needs a whole number from 1 to 240");
            given.fps = true;
            ++i;
        } else if (std::strcmp(arg, "--size") == 0) {
            long w = 0, h = 0;
            if (!readPair(value, 'x', kMaxRenderSide, w, h) || w * h > kMaxRenderPixels)
                return fail(error, "--size needs WIDTHxHEIGHT, each side from 1 to 3840 and at most 3840x2160 pixels");
            o.width = static_cast<int>(w);
            o.height = static_cast<int>(h);
            given.size = true;
            ++i;
        } else if (std::strcmp(arg, "--msaa") == 0) {
            if (!readWhole(value, 1, kMaxRenderMsaa, o.msaa) || (o.msaa & (o.msaa - 1)) != 0)
                return fail(error, "--msaa needs 1, 2, 4, 8, 16 or 32 samples per pixel");
            ++i;
        } else if (std::strcmp(arg, "--crf") == 0) {
            if (!readWhole(value, 0, 51, o.crf)) return fail(error, "--crf needs a whole number from 0 to 51");
            o.crfGiven = true;
            ++i;
        } else if (std::strcmp(arg, "--preset") == 0) {
            if (!value || (std::strcmp(value, "compo") != 0 && std::strcmp(value, "web") != 0))
                return fail(error, "--preset needs compo or web");
            o.preset = value;
            ++i;
        } else if (std::strcmp(arg, "--jobs") == 0) {
            if (!readWhole(value, 1, kMaxRenderJobs, o.jobs))
                return fail(error, "--jobs needs a whole number from 1 to 64");
            ++i;
        } else if (std::strcmp(arg, "--segment") == 0) {
            long k = 0, n = 0;
            if (!readPair(value, '/', kMaxRenderSegments, k, n) || k > n)
                return fail(error, "--segment needs K/N with 1 <= K <= N <= 10000");
            o.segment = static_cast<int>(k);
            o.segments = static_cast<int>(n);
            ++i;
        } else if (std::strcmp(arg, "--join") == 0) {
            if (!readWhole(value, 1, kMaxRenderSegments, o.join))
                return fail(error, "--join needs the number of segments, 1 to 10000");
            ++i;
        } else if (std::strcmp(arg, "--progress-fd") == 0) {
            if (!readWhole(value, 0, 1023, o.progressFd))
                return fail(error, "--progress-fd needs a file descriptor number");
            ++i;
        } else if (std::strcmp(arg, "--start") == 0 || std::strcmp(arg, "--end") == 0) {
            double& target = arg[2] == 's' ? o.start : o.end;
            if (!readSeconds(value, kMaxRenderSeconds, target))
                return fail(error, std::string(arg) + " needs a time in seconds from 0 to 86400");
            gotRange = true;
            ++i;
        } else if (std::strcmp(arg, "--at") == 0) {
            if (!readSeconds(value, kMaxRenderSeconds, o.start))
                return fail(error, "--at needs a time in seconds from 0 to 86400");
            if (i + 2 >= argc || argv[i + 2][0] == '\0') return fail(error, "--at needs an output file after the time");
            o.output = RenderOptions::Output::SingleFrame;
            o.path = argv[i + 2];
            i += 2;
        } else if (arg[0] == '-' && arg[1] != '\0') {
            return fail(error, std::string("unknown option ") + arg);
        } else {
            if (gotPath) return fail(error, std::string("more than one output given: ") + arg);
            if (arg[0] == '\0') return fail(error, "the output name is empty");
            o.path = arg;
            gotPath = true;
        }
    }
    if (o.output != RenderOptions::Output::SingleFrame && isVideoPath(o.path)) o.output = RenderOptions::Output::Video;
    applyPreset(o, given);
    return checkCombination(o, gotPath, gotRange, error);
}

const char* renderUsage()
{
    return "Usage: zemblar-render [OUTPUT] [--fps N] [--start SECONDS] [--end SECONDS] [--size WxH]\n"
           "                     [--msaa N] [--crf Q] [--preset compo|web] [--jobs N | --segment K/N]\n"
           "       zemblar-render OUTPUT.mp4 --join N [--fps N] [--start SECONDS] [--end SECONDS]\n"
           "       zemblar-render --at SECONDS FILE.png [--size WxH] [--msaa N]\n"
           "\n"
           "Plays the demo in data/ (relative to the working directory) frame by frame at a fixed\n"
           "rate and renders each frame offscreen. The demo clock is the frame number divided by the\n"
           "rate, so every run gives the same frames. No audio device is opened.\n"
           "\n"
           "  OUTPUT           a directory for numbered PNG frames (OUTPUT/frame_000000.png, numbered\n"
           "                   by the frame's position in the demo), or a file name ending in \".mp4\":\n"
           "                   the frames are encoded by ffmpeg (H.264, yuv420p) with the music of\n"
           "                   the rendered span (the script's MUSIC, else data/music/Tundrel.mp3).\n"
           "                   Default: out\n"
           "  --fps N          frames per second, 1 to 240 (default 60)\n"
           "  --start SECONDS  first frame to write (default 0); earlier frames are still played\n"
           "                   so that everything before it has happened\n"
           "  --end SECONDS    stop before this time (default: the script's END, else the music's\n"
           "                   length; one of them must be known)\n"
           "  --size WxH       frame size (default 1280x720; a side up to 3840, at most 3840x2160\n"
           "                   pixels, even sides for video); the view keeps its vertical angle, so\n"
           "                   every 16:9 size shows what 1280x720 shows\n"
           "  --msaa N         samples per pixel for smoother edges: 1 (default), 2, 4, 8, ... as\n"
           "                   far as the GL driver offers\n"
           "  --crf Q          video quality, 0 (best, largest) to 51 (default 18)\n"
           "  --preset compo   the video copy a demo party asks for: 1920x1080, 30 fps, H.264 Main\n"
           "                   profile level 4.1, yuv420p, 8 Mbit/s constant, AAC stereo 320 kbit/s,\n"
           "                   index at the front\n"
           "  --preset web     for publishing online: 1920x1080, 60 fps, H.264 High profile, CRF 18,\n"
           "                   AAC stereo 384 kbit/s; options given beside a preset win over it\n"
           "  --jobs N         split the span into N consecutive segments rendered by N processes\n"
           "                   at once; the frames are the same as from one process\n"
           "  --segment K/N    render only segment K of N (a video goes to OUTPUT.partKofN.mp4,\n"
           "                   without sound), for spreading a render over several machines\n"
           "  --join N         join OUTPUT.part1ofN.mp4 ... OUTPUT.partNofN.mp4 into OUTPUT.mp4\n"
           "                   without re-encoding and add the music; give the same --fps, --start\n"
           "                   and --end as to the segments\n"
           "  --progress-fd FD instead of a progress bar, write the number of frames done as a line\n"
           "                   to the open file descriptor FD\n"
           "  --at SECONDS FILE.png\n"
           "                   render the single frame at that time into FILE.png\n"
           "  --help           show this text\n"
           "\n"
           "The frame at time T is the first frame whose time is at or after T (frame ceil(T * fps)).\n"
           "Rendering stops before a frame in which the script's END would run, so the output ends\n"
           "with the last frame the demo shows. Progress goes to standard error, the demo's own\n"
           "lines to standard output. Bad options, and an output folder that cannot be made (missing\n"
           "folders are made), end the program with status 2.\n"
           "\n"
           "Each file is written as NAME.partial and renamed to NAME when complete. Ctrl-C (SIGINT),\n"
           "SIGTERM or SIGHUP stops every job and ffmpeg and removes the unfinished files of the run\n"
           "(a video's segments among them); frames already written stay.\n";
}
