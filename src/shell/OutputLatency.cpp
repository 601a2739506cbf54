// The output latency's window of server readings and the heard position (see OutputLatency.h).
#include "shell/OutputLatency.h"
#include <algorithm>

void OutputLatency::addServerReading(double seconds)
{
    if (seconds >= 0.0 && seconds <= kMaxSeconds) window_.add(seconds);
}

double OutputLatency::seconds() const
{
    return window_.count() == 0 ? buffer_ : buffer_ / 2 + window_.median();
}

double heardPosition(double mixed, double latency)
{
    return std::max(0.0, mixed - latency);
}
