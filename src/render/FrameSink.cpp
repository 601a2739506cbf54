// Frame outputs: PNG files written through FramePng, video through VideoEncoder, each under a
// temporary name until it is complete (PendingFile).
#include "render/FrameSink.h"
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include "render/FramePng.h"
#include "render/PendingFile.h"

namespace {
// Renames the complete file into place; prints why when that fails.
bool commitOrSay(PendingFile& pending)
{
    if (pending.commit()) return true;
    std::fprintf(stderr, "cannot rename %s to %s: %s\n", pending.temporary().c_str(), pending.path().c_str(),
                 std::strerror(errno));
    return false;
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    PendingFile pending(path);
    std::FILE* file = pending.create();
    if (!file) {
        std::fprintf(stderr, "cannot write %s: %s\n", pending.temporary().c_str(), std::strerror(errno));
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        std::fprintf(stderr, "cannot write %s\n", pending.temporary().c_str());
        return false;
    }
    return commitOrSay(pending);
}

bool writePng(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height)
{
    thread_local std::vector<uint8_t> png; // reused: see encodePng
    if (!encodePng(rgb.data(), static_cast<uint32_t>(width), static_cast<uint32_t>(height), png)) {
        std::fprintf(stderr, "cannot encode %s\n", path.c_str());
        return false;
    }
    return writeFile(path, png);
}

class PngDirectory : public FrameSink {
public:
    PngDirectory(std::string directory, int width, int height)
        : directory_(std::move(directory)), width_(width), height_(height)
    {
    }
    bool write(uint64_t frame, const std::vector<uint8_t>& rgb) override
    {
        return writePng(frameFileName(directory_, frame), rgb, width_, height_);
    }
    bool finish() override { return true; }

private:
    std::string directory_;
    int width_, height_;
};

class PngFile : public FrameSink {
public:
    PngFile(std::string path, int width, int height) : path_(std::move(path)), width_(width), height_(height) {}
    bool write(uint64_t, const std::vector<uint8_t>& rgb) override
    {
        written_ = writePng(path_, rgb, width_, height_);
        return written_;
    }
    bool finish() override { return written_; }

private:
    std::string path_;
    int width_, height_;
    bool written_ = false;
};

class Video : public FrameSink {
public:
    explicit Video(const std::string& path) : pending_(path) {}
    bool open(VideoSettings settings)
    {
        if (!pending_.expect()) return false;
        settings.path = pending_.temporary();
        return encoder_.open(settings);
    }
    bool write(uint64_t, const std::vector<uint8_t>& rgb) override
    {
        if (encoder_.write(rgb)) return true;
        if (!stopping()) std::fprintf(stderr, "ffmpeg stopped taking frames\n");
        return false;
    }
    bool finish() override
    {
        if (!encoder_.finish()) {
            std::fprintf(stderr, "ffmpeg failed\n");
            return false;
        }
        return commitOrSay(pending_);
    }

private:
    PendingFile pending_; // outlives the encoder: ffmpeg has ended before its file is removed
    VideoEncoder encoder_;
};
} // namespace

std::string frameFileName(const std::string& directory, uint64_t frame)
{
    char name[48];
    std::snprintf(name, sizeof name, "frame_%06llu.png", static_cast<unsigned long long>(frame));
    return (std::filesystem::path(directory) / name).string();
}

bool makeDirectory(const std::string& directory, std::string& error)
{
    if (directory.empty()) return true; // the working directory
    std::error_code failed;
    std::filesystem::create_directories(directory, failed);
    if (!failed && std::filesystem::is_directory(directory, failed)) return true;
    error = "cannot make the directory " + directory + (failed ? ": " + failed.message() : ": a file is in the way");
    return false;
}

std::unique_ptr<FrameSink> openPngDirectory(const std::string& directory, int width, int height)
{
    return std::make_unique<PngDirectory>(directory, width, height);
}

std::unique_ptr<FrameSink> openPngFile(const std::string& path, int width, int height)
{
    return std::make_unique<PngFile>(path, width, height);
}

std::unique_ptr<FrameSink> openVideo(const VideoSettings& settings)
{
    auto video = std::make_unique<Video>(settings.path);
    if (!video->open(settings)) return nullptr;
    return video;
}
