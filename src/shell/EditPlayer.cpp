// The editor's clock, loop and music stream on SDL's millisecond clock and the music player.
#include "shell/EditPlayer.h"
#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include "shell/Platform.h"

EditPlayer::EditPlayer(EditSession& session) : session_(session)
{
    anchorAt(session.time());
}

void EditPlayer::openMusic(const std::string& path)
{
    if (path == musicPath_) return;
    musicPath_ = path;
    stream_ = audioStreamCreateFile(path.c_str());
    if (stream_ == 0)
        std::fprintf(stderr, "no music (%s): editing without sound\n", path.c_str());
    else
        audioChannelPlay(stream_);
    seek(now());
}

double EditPlayer::now() const
{
    if (paused_ || held_) return anchor_;
    const double elapsed = static_cast<double>(SDL_GetTicks64() - anchorTicks_) / 1000.0;
    return anchor_ + std::max(0.0, elapsed - heardAfter_) * speed_;
}

void EditPlayer::anchorAt(double t)
{
    anchor_ = t;
    anchorTicks_ = SDL_GetTicks64();
}

void EditPlayer::seek(double t)
{
    session_.seek(keptInLoop(loop_, std::max(0.0, t)));
    anchorAt(session_.time());
    // The time holds until the music put there is heard, so the picture, marks and sound agree.
    heardAfter_ = stream_ != 0 && !silent() ? audioOutputLatency() : 0.0;
    if (stream_ != 0) {
        audioSetPosition(stream_, anchor_);
        audioPause(stream_, silent());
    }
}

void EditPlayer::play()
{
    if (paused_ || held_) return;
    const double t = now();
    if (keptInLoop(loop_, t) != t)
        seek(t);
    else
        session_.play(t);
}

void EditPlayer::setPaused(bool paused)
{
    const double t = now();
    paused_ = paused;
    seek(t);
}

void EditPlayer::playAt(double speed)
{
    const double t = now();
    speed_ = speed;
    paused_ = false;
    seek(t);
}

void EditPlayer::hold(bool held)
{
    const double t = now();
    held_ = held;
    seek(t);
}

void EditPlayer::stepFrames(int frames)
{
    const double t = now();
    paused_ = true;
    seek(steppedFrames(t, frames));
}

void EditPlayer::setLoopIn()
{
    loop_ = withLoopIn(loop_, now());
}

void EditPlayer::setLoopOut()
{
    loop_ = withLoopOut(loop_, now());
}

void EditPlayer::toggleLoop()
{
    loop_.on = !loop_.on;
    seek(now());
}
