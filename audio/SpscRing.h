#pragma once
// A lock-free ring buffer for one producer thread and one consumer thread. Positions are
// 64-bit counters that only grow (they never wrap in practice), so "how much is there" is a
// plain difference and a position can name a place in the stream of everything ever written.
// The producer is whoever holds the producer's role at a time (the engine serialises its
// producers with a mutex); the consumer never waits and never allocates.

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

namespace velmora {

template <typename T>
class TSpscRing {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    /// A ring of at least `capacity` elements (rounded up to a power of two).
    explicit TSpscRing(std::size_t capacity) {
        std::size_t size = 1;
        while (size < capacity) size *= 2;
        FData.resize(size);
        FMask = size - 1;
    }
    TSpscRing(const TSpscRing&) = delete;
    TSpscRing& operator=(const TSpscRing&) = delete;

    std::size_t Capacity() const noexcept { return FData.size(); }

    // --- producer side ---

    /// Position after the last element written.
    std::uint64_t WritePosition() const noexcept { return FWrite.load(std::memory_order_relaxed); }
    /// Elements that can be written now without overtaking the consumer.
    std::size_t FreeSpace() const noexcept {
        return Capacity() - std::size_t(FWrite.load(std::memory_order_relaxed) -
                                        FRead.load(std::memory_order_acquire));
    }
    /// Writes up to `count` elements; returns how many fitted.
    std::size_t Write(const T* data, std::size_t count) noexcept {
        count = std::min(count, FreeSpace());
        const std::uint64_t at = FWrite.load(std::memory_order_relaxed);
        Copy(at, count, [&](std::size_t slot, std::size_t done, std::size_t n) {
            std::memcpy(&FData[slot], data + done, n * sizeof(T));
        });
        FWrite.store(at + count, std::memory_order_release);
        return count;
    }

    // --- consumer side ---

    /// Position of the next element to read.
    std::uint64_t ReadPosition() const noexcept { return FRead.load(std::memory_order_relaxed); }
    /// Position after the last element the producer has published; what lies before it may
    /// be read once this has been seen.
    std::uint64_t PublishedPosition() const noexcept {
        return FWrite.load(std::memory_order_acquire);
    }
    /// Reads up to `count` elements, never past `limit` (a position already seen through
    /// PublishedPosition); returns how many were read.
    std::size_t Read(T* out, std::size_t count, std::uint64_t limit) noexcept {
        const std::uint64_t at = FRead.load(std::memory_order_relaxed);
        count = limit > at ? std::size_t(std::min<std::uint64_t>(count, limit - at)) : 0;
        Copy(at, count, [&](std::size_t slot, std::size_t done, std::size_t n) {
            std::memcpy(out + done, &FData[slot], n * sizeof(T));
        });
        FRead.store(at + count, std::memory_order_release);
        return count;
    }
    /// Drops everything before `position` (at most the published end).
    void SkipTo(std::uint64_t position) noexcept {
        const std::uint64_t end = FWrite.load(std::memory_order_acquire);
        const std::uint64_t at = FRead.load(std::memory_order_relaxed);
        FRead.store(std::clamp(position, at, end), std::memory_order_release);
    }

    /// Elements written and not yet read; a snapshot for any thread.
    std::size_t Filled() const noexcept {
        const std::uint64_t read = FRead.load(std::memory_order_acquire);
        return std::size_t(FWrite.load(std::memory_order_acquire) - read);
    }

private:
    // Calls fn(slot, done, n) for the one or two contiguous pieces of [at, at + count).
    template <typename F>
    void Copy(std::uint64_t at, std::size_t count, F&& fn) const {
        std::size_t done = 0;
        while (done < count) {
            const std::size_t slot = std::size_t((at + done) & FMask);
            const std::size_t n = std::min(count - done, Capacity() - slot);
            fn(slot, done, n);
            done += n;
        }
    }

    std::vector<T> FData;
    std::size_t FMask = 0;
    alignas(64) std::atomic<std::uint64_t> FWrite{0};
    alignas(64) std::atomic<std::uint64_t> FRead{0};
};

}  // namespace velmora
