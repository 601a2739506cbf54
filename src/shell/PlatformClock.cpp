// The live clock: platform milliseconds and the music, with the "BASS" boxes on audio failures.
#include "shell/PlatformClock.h"
#include "shell/FrameLog.h"
#include "shell/Platform.h"

namespace {
constexpr int kOutputRate = 44100;
const char* const kAudioCaption = "BASS";
} // namespace

uint32_t PlatformClock::startMusic(const char* path)
{
    smoother_.reset();
    if (!audioInit(kOutputRate)) {
        showMessageBox("BASS error", kAudioCaption);
        return 0;
    }
    const uint32_t stream = audioStreamCreateFile(path);
    if (stream == 0) {
        showMessageBox("BASS error, file not found?", kAudioCaption);
        return 0;
    }
    if (!audioChannelPlay(stream)) showMessageBox("BASS error, can not play stream?", kAudioCaption);
    return stream;
}

uint32_t PlatformClock::milliseconds()
{
    return getTicks32();
}

double PlatformClock::musicPosition(uint32_t stream)
{
    const double position = audioChannelPosition(stream);
    const int state = audioChannelIsActive(stream);
    const double wallMs = preciseMilliseconds();
    const double time = smoother_.update(wallMs, position, state == AudioPlaying || state == AudioStalled);
    frameLogClock(wallMs, time);
    return time;
}

int PlatformClock::musicState(uint32_t stream)
{
    return audioChannelIsActive(stream);
}

void PlatformClock::service()
{
    audioUpdate();
}

void PlatformClock::stopMusic()
{
    audioFree();
}

ClockSource& platformClock()
{
    static PlatformClock clock;
    return clock;
}
