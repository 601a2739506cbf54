// The two clock sources of the Demo: the platform clock with music, and the offline frame clock.
#include "demo/ClockSource.h"
#include "demo/Platform.h"

const char* const kMusicPath = "data/music/Tundrel.mp3";

namespace {
constexpr int kOutputRate = 44100;
const char* const kAudioCaption = "BASS";
} // namespace

uint32_t PlatformClock::startMusic()
{
    if (!audioInit(kOutputRate)) {
        showMessageBox("BASS error", kAudioCaption);
        return 0;
    }
    const uint32_t stream = audioStreamCreateFile(kMusicPath);
    if (stream == 0) {
        showMessageBox("BASS error, file not found?", kAudioCaption);
        return 0;
    }
    if (!audioChannelPlay(stream)) showMessageBox("BASS error, can not play stream?", kAudioCaption);
    return stream;
}

uint32_t PlatformClock::milliseconds()
{
    return timeGetTime();
}

double PlatformClock::musicPosition(uint32_t stream)
{
    return audioChannelPosition(stream);
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

FrameClock::FrameClock(uint32_t framesPerSecond) : framesPerSecond_(framesPerSecond ? framesPerSecond : 1) {}

uint32_t FrameClock::milliseconds()
{
    return millisecondsOf(frame_, framesPerSecond_);
}

uint32_t FrameClock::millisecondsOf(uint64_t frame, uint32_t framesPerSecond)
{
    // 64-bit product, then truncated to the 32-bit clock width (it wraps like the platform clock).
    return static_cast<uint32_t>(frame * 1000u / (framesPerSecond ? framesPerSecond : 1));
}
