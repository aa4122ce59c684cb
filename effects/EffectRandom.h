#pragma once
// The program's one random generator: a 32-bit linear congruential generator shared by the
// random effect choice, the shred and speckle effects and the choice of a background picture.
// A draw below n advances seed = seed x 134775813 + 1 (mod 2^32) and returns the high 32 bits
// of seed x n. Reseeding asks one reseed source: the clock normally, or a deterministic
// sequence derived from a user's seed, so that a whole render can be reproduced.
// The generator is used from one thread (the GUI thread, or the CLI's main thread).

#include <cstdint>
#include <functional>

namespace velmora {

/// Where a reseed takes its new seed from.
using ReseedSource = std::function<std::uint32_t()>;

/// The current seed.
std::uint32_t RandSeed() noexcept;
/// Sets the seed.
void SetRandSeed(std::uint32_t seed) noexcept;

/// A draw below n: advances the seed and returns a value from 0 to n - 1 (0 when n is 0).
std::uint32_t RandomBelow(std::uint32_t n) noexcept;

/// Reseeds the generator from the installed reseed source (the clock by default).
void Randomize();

/// The clock's reseed value: the low 32 bits of the monotonic clock in nanoseconds.
std::uint32_t ClockSeed() noexcept;

/// Installs a reseed source and returns the previous one; an empty function restores the
/// clock.
ReseedSource SetReseedSource(ReseedSource source);

/// A reseed source giving a fixed sequence derived from userSeed: the k-th reseed returns the
/// k-th value of a mixing function of (userSeed, k), different for different seeds.
ReseedSource SeededSource(std::uint32_t userSeed);

/// Makes everything random reproducible for its lifetime: installs SeededSource(userSeed) and
/// sets the seed from it; the destructor restores the previous source and seed.
class TScopedSeed {
public:
    explicit TScopedSeed(std::uint32_t userSeed);
    ~TScopedSeed();
    TScopedSeed(const TScopedSeed&) = delete;
    TScopedSeed& operator=(const TScopedSeed&) = delete;

private:
    ReseedSource FPrevious;
    std::uint32_t FPreviousSeed;
};

}  // namespace velmora
