// A fixed-size queue between exactly one producing and one consuming thread that never waits and never
// allocates: a full queue refuses an item, an empty one has nothing to give. The audio thread and the frame
// loop talk through these.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>

template <typename T, std::size_t capacity>
class ring_buffer_class
{
public:
    // Producer side; false (and the item dropped) when the queue is full.
    bool push(const T& item)
    {
        const std::size_t head = head_index.load(std::memory_order_relaxed);
        const std::size_t next = (head + 1) % capacity;
        if (next == tail_index.load(std::memory_order_acquire))
            return false;
        items[head] = item;
        head_index.store(next, std::memory_order_release);
        return true;
    }

    // Consumer side: the oldest item, left in the queue.
    bool peek(T& item) const
    {
        const std::size_t tail = tail_index.load(std::memory_order_relaxed);
        if (tail == head_index.load(std::memory_order_acquire))
            return false;
        item = items[tail];
        return true;
    }

    // Consumer side: takes the oldest item; only after a successful peek.
    void drop_oldest()
    {
        const std::size_t tail = tail_index.load(std::memory_order_relaxed);
        tail_index.store((tail + 1) % capacity, std::memory_order_release);
    }

    bool pop(T& item)
    {
        if (!peek(item))
            return false;
        drop_oldest();
        return true;
    }

private:
    std::array<T, capacity> items{};
    std::atomic<std::size_t> head_index{0};
    std::atomic<std::size_t> tail_index{0};
};
