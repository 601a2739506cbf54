// The music player's contract without a sound card (SDL_AUDIODRIVER=dummy): unknown handles read as
// stopped at position 0, a missing file gives handle 0, and release is safe at any time. A track
// reads the position being heard: the mixed position less one buffer (the dummy driver reports no
// latency of its own), set at once by a seek, still while paused, running on when resumed.
#include <gtest/gtest.h>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <thread>
#include "shell/Platform.h"
#include "support/TempDir.h"

namespace {
// A silent 16-bit mono WAV of the given length.
std::string silentWav(int seconds)
{
    const uint32_t rate = 44100, bytes = rate * 2 * static_cast<uint32_t>(seconds);
    std::string wav;
    auto put = [&wav](uint32_t value, int size) {
        for (int i = 0; i < size; ++i) wav += static_cast<char>((value >> (8 * i)) & 0xff);
    };
    wav += "RIFF", put(36 + bytes, 4), wav += "WAVEfmt ";
    put(16, 4), put(1, 2), put(1, 2), put(rate, 4), put(rate * 2, 4), put(2, 2), put(16, 2);
    wav += "data", put(bytes, 4);
    wav.append(bytes, '\0');
    return wav;
}
} // namespace

TEST(Audio, NothingOpensOrPlaysWithoutAFileAndReleaseIsRepeatable)
{
    audioFree(); // before any init
    EXPECT_EQ(audioStreamCreateFile("anything.mp3"), 0u);
    EXPECT_FALSE(audioChannelPlay(1));
    EXPECT_EQ(audioChannelIsActive(0), AudioStopped);
    EXPECT_EQ(audioChannelPosition(0), 0.0);
    EXPECT_EQ(audioOutputLatency(), 0.0);
    audioUpdate();

    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ASSERT_TRUE(audioInit(44100));
    EXPECT_TRUE(audioInit(44100)); // already open
    EXPECT_EQ(audioStreamCreateFile("no/such/Tundrel.mp3"), 0u);
    EXPECT_EQ(audioStreamCreateFile(nullptr), 0u);
    audioFree();
    audioFree();
    EXPECT_TRUE(audioInit(44100)); // a restart opens the device again
    audioFree();
}

TEST(Audio, ThePositionIsTheMusicHeardSetBySeeksAndStillWhilePaused)
{
    const ScopedWorkDir dir;
    dir.write("silence.wav", silentWav(10));
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ASSERT_TRUE(audioInit(44100));
    const double buffer = 1024.0 / 44100.0;
    EXPECT_DOUBLE_EQ(audioOutputLatency(), buffer);
    const uint32_t stream = audioStreamCreateFile("silence.wav");
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(audioChannelPlay(stream));
    audioPause(stream, true);
    EXPECT_EQ(audioChannelIsActive(stream), AudioPaused);
    // Moved while paused, nothing more is mixed: the music at 5 s is heard one buffer after it.
    ASSERT_TRUE(audioSetPosition(stream, 5.0));
    EXPECT_NEAR(audioChannelPosition(stream), 5.0 - buffer, 1e-9);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_NEAR(audioChannelPosition(stream), 5.0 - buffer, 1e-9);
    // Resumed, it runs on from there (waiting for the mixer's thread, however slow the machine).
    audioPause(stream, false);
    for (int i = 0; i < 200 && audioChannelPosition(stream) <= 5.0 - buffer; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_GT(audioChannelPosition(stream), 5.0 - buffer);
    audioFree();
}
