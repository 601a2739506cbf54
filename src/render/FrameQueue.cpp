// Bounded producer/consumer queue in front of a frame sink. Buffers circulate between the queue
// and a spare list, so a long render allocates only a few frames' worth of memory.
#include "render/FrameQueue.h"

FrameQueue::FrameQueue(std::unique_ptr<FrameSink> inner, int workers, size_t capacity)
    : inner_(std::move(inner)), capacity_(capacity < 1 ? 1 : capacity)
{
    for (int i = 0; i < (workers < 1 ? 1 : workers); ++i) workers_.emplace_back([this] { work(); });
}

FrameQueue::~FrameQueue()
{
    stop();
}

bool FrameQueue::write(uint64_t frame, const std::vector<uint8_t>& rgb)
{
    std::vector<uint8_t> copy(rgb);
    return take(frame, copy);
}

bool FrameQueue::take(uint64_t frame, std::vector<uint8_t>& rgb)
{
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return failed_ || queue_.size() < capacity_; });
    if (failed_) return false;
    queue_.emplace_back(frame, std::move(rgb));
    rgb.clear();
    if (!spare_.empty()) {
        rgb.swap(spare_.back());
        spare_.pop_back();
    }
    changed_.notify_all();
    return true;
}

void FrameQueue::work()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return closing_ || failed_ || !queue_.empty(); });
        if (failed_ || queue_.empty()) return;
        auto [frame, rgb] = std::move(queue_.front());
        queue_.pop_front();
        changed_.notify_all();
        lock.unlock();
        const bool ok = inner_->write(frame, rgb);
        lock.lock();
        if (!ok) failed_ = true;
        spare_.push_back(std::move(rgb));
        changed_.notify_all();
    }
}

void FrameQueue::stop()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closing_ = true;
    }
    changed_.notify_all();
    for (std::thread& t : workers_)
        if (t.joinable()) t.join();
}

bool FrameQueue::finish()
{
    stop();
    const bool ok = inner_->finish();
    return ok && !failed_;
}
