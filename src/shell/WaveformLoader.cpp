// Decoding the music to its envelope on a thread of its own.
#include "shell/WaveformLoader.h"
#include <SDL.h>
#include <SDL_mixer.h>
#include <algorithm>
#include <vector>

namespace {
constexpr int kBlockBytes = 1 << 16; // fed to the converter at a time

// Why the track at `path` is not to be decoded whole, "" when it is: the player cannot open it, or
// it is too long (or of unknown length) to be held in memory.
std::string refusal(const std::string& path)
{
    Mix_Music* music = Mix_LoadMUS(path.c_str());
    if (!music) return "cannot decode " + path + ": " + Mix_GetError();
    const double seconds = Mix_MusicDuration(music);
    Mix_FreeMusic(music);
    if (seconds < 0.0) return "cannot tell the length of " + path;
    if (seconds > WaveformLoader::kLongestTrack) return "the track is longer than 10 minutes";
    return "";
}

// Takes what the converter holds into the envelope; false on a conversion error.
bool drain(SDL_AudioStream* stream, std::vector<float>& mono, WaveEnvelope& envelope)
{
    int got = 0;
    while ((got = SDL_AudioStreamGet(stream, mono.data(), static_cast<int>(mono.size() * sizeof(float)))) > 0)
        envelope.add(mono.data(), static_cast<size_t>(got) / sizeof(float));
    return got == 0;
}

// The chunk's samples, in the device's format, as mono floats into the envelope.
bool reduce(const Mix_Chunk& chunk, int rate, Uint16 format, int channels, WaveEnvelope& envelope)
{
    SDL_AudioStream* stream = SDL_NewAudioStream(format, static_cast<Uint8>(channels), rate, AUDIO_F32SYS, 1, rate);
    if (!stream) return false;
    std::vector<float> mono(kBlockBytes / sizeof(float));
    bool ok = true;
    for (Uint32 at = 0, length = 0; at < chunk.alen && ok; at += length) {
        length = std::min<Uint32>(kBlockBytes, chunk.alen - at);
        ok = SDL_AudioStreamPut(stream, chunk.abuf + at, static_cast<int>(length)) == 0 && drain(stream, mono, envelope);
    }
    ok = ok && SDL_AudioStreamFlush(stream) == 0 && drain(stream, mono, envelope);
    SDL_FreeAudioStream(stream);
    return ok;
}
} // namespace

WaveformLoader::~WaveformLoader()
{
    wait();
}

void WaveformLoader::wait()
{
    if (thread_.joinable()) thread_.join();
}

void WaveformLoader::load(const std::string& path)
{
    if (path == path_ && thread_.joinable()) return;
    wait();
    path_ = path;
    done_ = false;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        envelope_.reset();
        why_.clear();
    }
    thread_ = std::thread([this, path] { decode(path); });
}

const WaveEnvelope* WaveformLoader::envelope() const
{
    return done_ ? envelope_.get() : nullptr;
}

std::string WaveformLoader::why() const
{
    if (!done_) return path_.empty() ? "" : "decoding";
    const std::lock_guard<std::mutex> lock(mutex_);
    return why_;
}

void WaveformLoader::decode(std::string path)
{
    std::unique_ptr<WaveEnvelope> envelope;
    int rate = 0, channels = 0;
    Uint16 format = 0;
    std::string why = Mix_QuerySpec(&rate, &format, &channels) ? refusal(path) : "no sound device";
    Mix_Chunk* chunk = why.empty() ? Mix_LoadWAV(path.c_str()) : nullptr;
    if (why.empty() && !chunk) why = "cannot decode " + path + ": " + Mix_GetError();
    if (chunk) {
        envelope = std::make_unique<WaveEnvelope>(rate);
        if (!reduce(*chunk, rate, format, channels, *envelope)) why = SDL_GetError(), envelope.reset();
        Mix_FreeChunk(chunk);
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    envelope_ = std::move(envelope);
    why_ = why;
    done_ = true;
}
