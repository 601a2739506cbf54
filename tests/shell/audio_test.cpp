// The music player's contract without a sound card (SDL_AUDIODRIVER=dummy): unknown handles read as
// stopped at position 0, a missing file gives handle 0, and release is safe at any time.
#include <gtest/gtest.h>
#include <cstdlib>
#include "shell/Platform.h"

TEST(Audio, NothingOpensOrPlaysWithoutAFileAndReleaseIsRepeatable)
{
    audioFree(); // before any init
    EXPECT_EQ(audioStreamCreateFile("anything.mp3"), 0u);
    EXPECT_FALSE(audioChannelPlay(1));
    EXPECT_EQ(audioChannelIsActive(0), AudioStopped);
    EXPECT_EQ(audioChannelPosition(0), 0.0);
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
