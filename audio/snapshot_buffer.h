// The latest value one thread wrote, read whole by another: three slots handed round through one atomic, so
// neither side waits and the reader never sees a value half written. The frame loop publishes the grid this
// way and the audio thread reads it once per buffer.
#pragma once

#include <array>
#include <atomic>

template <typename T>
class snapshot_buffer_class
{
public:
    // Writer side.
    void write(const T& value)
    {
        slots[back] = value;
        back = middle.exchange(back | fresh, std::memory_order_acq_rel) & index_mask;
    }

    // Reader side: the newest value written, or the one read last time when nothing newer came.
    const T& read()
    {
        if (middle.load(std::memory_order_relaxed) & fresh)
            front = middle.exchange(front, std::memory_order_acq_rel) & index_mask;
        return slots[front];
    }

private:
    static constexpr unsigned fresh = 4;
    static constexpr unsigned index_mask = 3;
    std::array<T, 3> slots{};
    unsigned front = 0;
    unsigned back = 2;
    std::atomic<unsigned> middle{1};
};
