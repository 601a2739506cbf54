// The median of the last N readings: a ring of N values, the oldest replaced by each new one, and
// the middle one found on request. The output latency and the frame look-ahead both smooth a
// reading that swings from call to call and now and then goes wild this way. Pure logic, not
// thread-safe.
#pragma once
#include <algorithm>
#include <cstddef>

template <size_t N>
class RecentMedian {
public:
    void add(double value)
    {
        values_[next_] = value;
        next_ = (next_ + 1) % N;
        count_ = std::min(count_ + 1, N);
    }
    // Readings held, at most N.
    size_t count() const { return count_; }
    // The middle reading (the upper one of the two middles of an even count); 0 without readings.
    double median() const
    {
        if (count_ == 0) return 0.0;
        double sorted[N];
        std::copy(values_, values_ + count_, sorted);
        std::nth_element(sorted, sorted + count_ / 2, sorted + count_);
        return sorted[count_ / 2];
    }

private:
    double values_[N] = {};
    size_t count_ = 0; // readings held
    size_t next_ = 0;  // where the next reading goes
};
