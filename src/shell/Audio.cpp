// The music player on SDL2_mixer: one output device at the requested rate and one music stream,
// identified by a non-zero handle. The mixer decodes and plays on its own thread.
// The position is the music being heard. The mixer's post-mix hook counts the music it has mixed
// (the decoders read ahead of that by a format-dependent amount, so their own position is not
// used), and the output latency (OutputLatency: the mixer's buffer, plus what PulseAudio or PipeWire
// report for the stream when SDL plays through one of them, asked on a thread of its own by
// ServerLatency) is taken off it.
#include <SDL.h>
#include <SDL_mixer.h>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include "shell/OutputLatency.h"
#include "shell/Platform.h"
#include "shell/ServerLatency.h"

namespace {
constexpr int kBufferFrames = 1024;
// Readings to wait for when the device opens, so the first seek already knows the latency.
constexpr size_t kFirstReadings = ServerLatency::kQuickReadings;
constexpr auto kFirstReadingsWait = std::chrono::milliseconds(400);

bool g_deviceOpen = false;
SDL_AudioDeviceID g_device = 0; // the mixer's device, locked while the mixer mixes
double g_bytesPerSecond = 0.0;
Mix_Music* g_music = nullptr;
uint32_t g_handle = 0;     // handle of g_music; 0 when there is none
uint32_t g_lastHandle = 0; // handles are never reused within a run
// The end of the music mixed so far, in seconds of the track. The mixer's thread adds to it after
// each buffer; the main thread sets it with the device locked, in the same step as a play or seek.
std::atomic<double> g_mixedEnd{0.0};
std::mutex g_latencyLock; // the server's thread adds readings while the main thread reads
OutputLatency g_latency;
ServerLatency g_server;

bool isCurrent(uint32_t stream)
{
    return stream != 0 && stream == g_handle && g_music != nullptr;
}

void releaseMusic()
{
    if (g_music) {
        Mix_HaltMusic();
        Mix_FreeMusic(g_music);
    }
    g_music = nullptr;
    g_handle = 0;
}

// Runs on the mixer's thread after every buffer, the device locked.
void countMixed(void*, Uint8*, int bytes)
{
    if (g_bytesPerSecond > 0.0 && Mix_PlayingMusic() && !Mix_PausedMusic())
        g_mixedEnd.store(g_mixedEnd.load() + bytes / g_bytesPerSecond);
}

// The device SDL_mixer opened: the only one this process opens, so the first open id (SDL numbers
// devices opened by id from 2). 0 when none is found.
SDL_AudioDeviceID mixerDevice()
{
    for (SDL_AudioDeviceID id = 2; id < 64; ++id)
        if (SDL_GetAudioDeviceStatus(id) != SDL_AUDIO_STOPPED) return id;
    return 0;
}

// Runs `change` (a play or a seek) with the mixer stopped between buffers, and sets the mixed end
// to `seconds` when it succeeds, so no buffer is counted from the old place or lost from the new.
template <typename Change>
bool moveMixedEnd(double seconds, Change change)
{
    if (g_device) SDL_LockAudioDevice(g_device);
    const bool moved = change();
    if (moved) g_mixedEnd.store(seconds);
    if (g_device) SDL_UnlockAudioDevice(g_device);
    return moved;
}

size_t latencyReadings()
{
    const std::lock_guard<std::mutex> lock(g_latencyLock);
    return g_latency.readings();
}

// Asks the sound server for the stream's latency when SDL plays through one that reports it, and
// waits briefly for the first readings.
void startLatencyReadings()
{
    const char* driver = SDL_GetCurrentAudioDriver();
    if (!driver || (SDL_strcmp(driver, "pulseaudio") != 0 && SDL_strcmp(driver, "pipewire") != 0)) return;
    const bool asking = g_server.start([](double seconds) {
        const std::lock_guard<std::mutex> lock(g_latencyLock);
        g_latency.addServerReading(seconds);
    });
    if (!asking) return;
    const auto deadline = std::chrono::steady_clock::now() + kFirstReadingsWait;
    while (latencyReadings() < kFirstReadings && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}
} // namespace

bool audioInit(int rate)
{
    if (g_deviceOpen) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    Mix_Init(MIX_INIT_MP3);
    if (Mix_OpenAudio(rate, MIX_DEFAULT_FORMAT, 2, kBufferFrames) != 0) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    int openedRate = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&openedRate, &format, &channels);
    g_bytesPerSecond = static_cast<double>(openedRate) * channels * SDL_AUDIO_BITSIZE(format) / 8;
    g_device = mixerDevice();
    Mix_SetPostMix(countMixed, nullptr);
    {
        const std::lock_guard<std::mutex> lock(g_latencyLock);
        g_latency = OutputLatency(openedRate > 0 ? static_cast<double>(kBufferFrames) / openedRate : 0.0);
        g_deviceOpen = true;
    }
    startLatencyReadings();
    return true;
}

double audioOutputLatency()
{
    const std::lock_guard<std::mutex> lock(g_latencyLock);
    return g_deviceOpen ? g_latency.seconds() : 0.0;
}

uint32_t audioStreamCreateFile(const char* path)
{
    if (!g_deviceOpen || !path) return 0;
    releaseMusic();
    g_music = Mix_LoadMUS(path);
    if (!g_music) return 0;
    g_handle = ++g_lastHandle;
    if (g_handle == 0) g_handle = ++g_lastHandle;
    return g_handle;
}

bool audioChannelPlay(uint32_t stream)
{
    if (!isCurrent(stream)) return false;
    return moveMixedEnd(0.0, [] { return Mix_PlayMusic(g_music, 0) == 0; });
}

double audioChannelPosition(uint32_t stream)
{
    if (!isCurrent(stream)) return 0.0;
    return heardPosition(g_mixedEnd.load(), audioOutputLatency());
}

int audioChannelIsActive(uint32_t stream)
{
    if (!isCurrent(stream)) return AudioStopped;
    // A paused track still counts as playing for the mixer, so ask about playing first.
    if (!Mix_PlayingMusic()) return AudioStopped;
    return Mix_PausedMusic() ? AudioPaused : AudioPlaying;
}

void audioUpdate() {}

void audioFree()
{
    releaseMusic();
    if (!g_deviceOpen) return;
    g_server.stop();
    {
        const std::lock_guard<std::mutex> lock(g_latencyLock);
        g_deviceOpen = false;
    }
    Mix_SetPostMix(nullptr, nullptr);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    g_device = 0;
}

bool audioSetPosition(uint32_t stream, double seconds)
{
    if (!isCurrent(stream)) return false;
    return moveMixedEnd(seconds, [seconds] {
        if (!Mix_PlayingMusic() && Mix_PlayMusic(g_music, 0) != 0) return false; // played to its end
        return Mix_SetMusicPosition(seconds) == 0;
    });
}

bool audioFilePlays(const char* path, std::string& why)
{
    const bool ownDevice = !g_deviceOpen;
    if (ownDevice) {
        // A check needs no sound card: the dummy driver decodes without one.
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        const bool opened = audioInit(44100);
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
        if (!opened) return why = std::string("no music player: ") + SDL_GetError(), false;
    }
    Mix_Music* music = Mix_LoadMUS(path);
    if (!music) why = Mix_GetError();
    else Mix_FreeMusic(music);
    if (ownDevice) audioFree();
    return music != nullptr;
}

void audioPause(uint32_t stream, bool paused)
{
    if (!isCurrent(stream)) return;
    if (paused)
        Mix_PauseMusic();
    else
        Mix_ResumeMusic();
}
