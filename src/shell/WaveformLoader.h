// The music's waveform for the editor's timeline, decoded once on a thread of its own: the track is
// decoded whole through SDL_mixer (Mix_LoadWAV_RW, in the open device's format), turned into mono
// float samples a block at a time by an SDL audio stream and reduced to a WaveEnvelope; the decoded
// sound is freed as soon as the envelope is made. Needs the music device open (audioInit); without
// one, or for a track that does not decode or is longer than kLongestTrack, there is no envelope
// and why() says so. The decoded track takes about 10 MB a minute while it lives.
#pragma once
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include "demo/WaveEnvelope.h"

class WaveformLoader {
public:
    static constexpr double kLongestTrack = 600.0; // seconds

    WaveformLoader() = default;
    // Waits for a decode under way to finish.
    ~WaveformLoader();
    WaveformLoader(const WaveformLoader&) = delete;
    WaveformLoader& operator=(const WaveformLoader&) = delete;

    // Starts decoding `path` unless it is the track already loaded or being loaded (the previous
    // decode is waited for first).
    void load(const std::string& path);
    // Waits for the decode under way, if any.
    void wait();
    // The envelope once the decode has finished; null while it runs or when it failed.
    const WaveEnvelope* envelope() const;
    // Why there is no envelope: "decoding" while it runs, the reason when it failed, "" otherwise.
    std::string why() const;

private:
    void decode(std::string path);

    std::string path_;
    std::thread thread_;
    std::atomic<bool> done_{false};
    mutable std::mutex mutex_; // guards the two below until done_
    std::unique_ptr<WaveEnvelope> envelope_;
    std::string why_;
};
