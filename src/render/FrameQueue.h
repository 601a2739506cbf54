// A frame sink that hands frames to worker threads through a bounded queue, so the drawing thread
// goes on with the next frame while earlier ones are encoded and written. With one worker the
// frames reach the inner sink in order (a video); more workers suit sinks whose frames are
// independent (PNG files).
#pragma once
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>
#include "render/FrameSink.h"

class FrameQueue : public FrameSink {
public:
    FrameQueue(std::unique_ptr<FrameSink> inner, int workers, size_t capacity);
    ~FrameQueue() override;
    FrameQueue(const FrameQueue&) = delete;
    FrameQueue& operator=(const FrameQueue&) = delete;

    // Queues a copy of the frame, waiting while the queue is full. False once a worker failed.
    bool write(uint64_t frame, const std::vector<uint8_t>& rgb) override;
    // As write, but takes the pixels and leaves a spare buffer in `rgb` (no copy).
    bool take(uint64_t frame, std::vector<uint8_t>& rgb) override;
    // Writes what is queued, stops the workers and finishes the inner sink.
    bool finish() override;

private:
    void work();
    void stop();

    std::unique_ptr<FrameSink> inner_;
    std::vector<std::thread> workers_;
    size_t capacity_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::pair<uint64_t, std::vector<uint8_t>>> queue_;
    std::vector<std::vector<uint8_t>> spare_;
    bool closing_ = false;
    bool failed_ = false;
};
