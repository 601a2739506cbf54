// Parsing of the offline renderer's command line.
#include "render/RenderOptions.h"
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {
// A whole argument as a finite number of seconds in [0, kMaxRenderSeconds].
bool readSeconds(const char* text, double& out)
{
    if (!text || !*text) return false;
    char* rest = nullptr;
    errno = 0;
    const double value = std::strtod(text, &rest);
    if (errno != 0 || *rest != '\0' || !std::isfinite(value) || value < 0.0 || value > kMaxRenderSeconds)
        return false;
    out = value;
    return true;
}

bool readFps(const char* text, uint32_t& out)
{
    if (!text || !std::isdigit(static_cast<unsigned char>(*text))) return false;
    char* rest = nullptr;
    errno = 0;
    const unsigned long value = std::strtoul(text, &rest, 10);
    if (errno != 0 || *rest != '\0' || value < 1 || value > kMaxRenderFps) return false;
    out = static_cast<uint32_t>(value);
    return true;
}

bool fail(std::string& error, const std::string& text)
{
    error = text;
    return false;
}

// Whether the combination of options is sensible once all are read.
bool checkCombination(const RenderOptions& o, bool gotPath, bool gotRange, std::string& error)
{
    if (o.output == RenderOptions::Output::SingleFrame) {
        if (gotPath) return fail(error, "--at names its own output file; give no other output");
        if (gotRange) return fail(error, "--at cannot be combined with --start or --end");
        return true;
    }
    if (o.end >= 0.0 && o.end <= o.start) return fail(error, "--end must lie after --start");
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
    for (int i = 0; i < argc; ++i) {
        const char* arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            o.help = true;
        } else if (std::strcmp(arg, "--fps") == 0) {
            if (!readFps(value, o.fps)) return fail(error, "--fps needs a whole number from 1 to 240");
            ++i;
        } else if (std::strcmp(arg, "--start") == 0 || std::strcmp(arg, "--end") == 0) {
            double& target = arg[2] == 's' ? o.start : o.end;
            if (!readSeconds(value, target))
                return fail(error, std::string(arg) + " needs a time in seconds from 0 to 86400");
            gotRange = true;
            ++i;
        } else if (std::strcmp(arg, "--at") == 0) {
            if (!readSeconds(value, o.start)) return fail(error, "--at needs a time in seconds from 0 to 86400");
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
    return checkCombination(o, gotPath, gotRange, error);
}

const char* renderUsage()
{
    return "Usage: zemblar-render [OUTPUT] [--fps N] [--start SECONDS] [--end SECONDS]\n"
           "       zemblar-render --at SECONDS FILE.png\n"
           "\n"
           "Plays the demo in data/ (relative to the working directory) frame by frame at a fixed\n"
           "rate and renders each frame offscreen at 1280 x 720. The demo clock is the frame number\n"
           "divided by the rate, so every run gives the same frames. No audio device is opened.\n"
           "\n"
           "  OUTPUT           a directory for numbered PNG frames (OUTPUT/frame_000000.png, numbered\n"
           "                   by the frame's position in the demo), or a file name ending in \".mp4\":\n"
           "                   the frames are encoded by ffmpeg (H.264, yuv420p) with the music\n"
           "                   data/music/Tundrel.mp3 of the rendered span. Default: out\n"
           "  --fps N          frames per second, 1 to 240 (default 60)\n"
           "  --start SECONDS  first frame to write (default 0); earlier frames are still played\n"
           "                   so that everything before it has happened\n"
           "  --end SECONDS    stop before this time (default: the script's END, else the music's\n"
           "                   length; one of them must be known)\n"
           "  --at SECONDS FILE.png\n"
           "                   render the single frame at that time into FILE.png\n"
           "  --help           show this text\n"
           "\n"
           "The frame at time T is the first frame whose time is at or after T (frame ceil(T * fps)).\n"
           "Rendering stops before a frame in which the script's END would run, so the output ends\n"
           "with the last frame the demo shows. Progress goes to standard error, the demo's own\n"
           "lines to standard output.\n";
}
