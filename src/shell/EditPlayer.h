// The editor's playback of an edit session: the music time, kept on the wall clock from the last
// seek or resume (held there until the music put on it is heard); pause, speed, the play loop and
// frame steps; and the music stream, put on that time at every seek, resume and change of speed.
// At half and quarter speed the music is silent (SDL_mixer cannot slow a track down), as it is
// while the pointer holds the time (a scrub).
#pragma once
#include <cstdint>
#include <string>
#include "demo/EditSession.h"
#include "demo/EditTime.h"

class EditPlayer {
public:
    // Paused at 0 until told otherwise. The session must outlive the player.
    explicit EditPlayer(EditSession& session);

    // Opens the track at `path` when it is another file than the one open, and puts it on the time.
    // Without a sound device or a readable track it says so once on standard error and plays silent.
    void openMusic(const std::string& path);
    const std::string& musicPath() const { return musicPath_; }

    // The music time: where the session is to be now.
    double now() const;
    // Moves the session, the clock and the music to `t` (never before 0; while the loop is on, a
    // time outside it goes to its in point).
    void seek(double t);
    // One frame of playing: the session moved on to now() as the show plays (see EditSession), and
    // back to the loop's in point once the time reaches its out point.
    void play();

    bool paused() const { return paused_; }
    void setPaused(bool paused);
    double speed() const { return speed_; }
    // Plays (paused or not) at `speed` (1, 0.5 or 0.25) times the rate of the wall clock.
    void playAt(double speed);
    // While held, the time stands where seeks put it and the music is silent (the pointer scrubs).
    void hold(bool held);
    // Pauses, then moves `frames` frames of 1/60 s on (back when negative).
    void stepFrames(int frames);

    const PlayLoop& loop() const { return loop_; }
    void setLoopIn();
    void setLoopOut();
    // Loop on or off; turned on with the cursor outside it, the cursor goes to its in point.
    void toggleLoop();

private:
    // Takes the current time as the new anchor of the wall clock.
    void anchorAt(double t);
    bool silent() const { return paused_ || held_ || speed_ != 1.0; }

    EditSession& session_;
    uint32_t stream_ = 0;
    std::string musicPath_; // the file stream_ plays
    bool paused_ = true;
    bool held_ = false;
    double speed_ = 1.0;
    PlayLoop loop_;
    double anchor_ = 0.0;
    uint64_t anchorTicks_ = 0;
    double heardAfter_ = 0.0; // seconds from the last seek until its music is heard
};
