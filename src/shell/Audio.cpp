// The music player on SDL2_mixer: one output device at the requested rate and one music stream,
// identified by a non-zero handle. Position comes from the mixer when the decoder reports it, and
// otherwise from the time since playback started. The mixer decodes and plays on its own thread.
#include <SDL.h>
#include <SDL_mixer.h>
#include "shell/Platform.h"

namespace {
bool g_deviceOpen = false;
Mix_Music* g_music = nullptr;
uint32_t g_handle = 0;     // handle of g_music; 0 when there is none
uint32_t g_lastHandle = 0; // handles are never reused within a run
uint64_t g_playStartMs = 0;

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
} // namespace

bool audioInit(int rate)
{
    if (g_deviceOpen) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    Mix_Init(MIX_INIT_MP3);
    if (Mix_OpenAudio(rate, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    g_deviceOpen = true;
    return true;
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
    if (Mix_PlayMusic(g_music, 0) != 0) return false;
    g_playStartMs = SDL_GetTicks64();
    return true;
}

double audioChannelPosition(uint32_t stream)
{
    if (!isCurrent(stream)) return 0.0;
    const double position = Mix_GetMusicPosition(g_music);
    if (position >= 0.0) return position;
    return static_cast<double>(SDL_GetTicks64() - g_playStartMs) / 1000.0;
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
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    g_deviceOpen = false;
}

bool audioSetPosition(uint32_t stream, double seconds)
{
    if (!isCurrent(stream)) return false;
    if (!Mix_PlayingMusic() && Mix_PlayMusic(g_music, 0) != 0) return false; // played to its end
    if (Mix_SetMusicPosition(seconds) != 0) return false;
    g_playStartMs = SDL_GetTicks64() - static_cast<uint64_t>(seconds * 1000.0);
    return true;
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
