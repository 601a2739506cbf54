// The output latency's window of server readings and the heard position (see OutputLatency.h).
#include "shell/OutputLatency.h"
#include <algorithm>

void OutputLatency::addServerReading(double seconds)
{
    if (!(seconds >= 0.0 && seconds <= kMaxSeconds)) return;
    window_[next_] = seconds;
    next_ = (next_ + 1) % kWindow;
    count_ = std::min(count_ + 1, kWindow);
}

double OutputLatency::seconds() const
{
    if (count_ == 0) return buffer_;
    double sorted[kWindow];
    std::copy(window_, window_ + count_, sorted);
    std::nth_element(sorted, sorted + count_ / 2, sorted + count_);
    return buffer_ / 2 + sorted[count_ / 2];
}

double heardPosition(double mixed, double latency)
{
    return std::max(0.0, mixed - latency);
}
