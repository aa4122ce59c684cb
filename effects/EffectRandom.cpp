#include "effects/EffectRandom.h"

#include <chrono>
#include <memory>
#include <utility>

namespace velmora {

namespace {

std::uint32_t gSeed = 0;
ReseedSource gSource;

// SplitMix64's finaliser: neighbouring inputs give unrelated outputs.
std::uint64_t Mix(std::uint64_t z) noexcept {
    z += 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

}  // namespace

std::uint32_t RandSeed() noexcept { return gSeed; }

void SetRandSeed(std::uint32_t seed) noexcept { gSeed = seed; }

std::uint32_t RandomBelow(std::uint32_t n) noexcept {
    gSeed = gSeed * 134775813u + 1u;
    return std::uint32_t((std::uint64_t(gSeed) * n) >> 32);
}

std::uint32_t ClockSeed() noexcept {
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch();
    return std::uint32_t(std::chrono::duration_cast<std::chrono::nanoseconds>(ticks).count());
}

void Randomize() { gSeed = gSource ? gSource() : ClockSeed(); }

ReseedSource SetReseedSource(ReseedSource source) {
    return std::exchange(gSource, std::move(source));
}

ReseedSource SeededSource(std::uint32_t userSeed) {
    auto counter = std::make_shared<std::uint32_t>(0);
    return [userSeed, counter]() {
        const std::uint64_t k = (*counter)++;
        return std::uint32_t(Mix(std::uint64_t(userSeed) << 32 | k));
    };
}

TScopedSeed::TScopedSeed(std::uint32_t userSeed)
    : FPrevious(SetReseedSource(SeededSource(userSeed))), FPreviousSeed(RandSeed()) {
    Randomize();
}

TScopedSeed::~TScopedSeed() {
    SetReseedSource(std::move(FPrevious));
    SetRandSeed(FPreviousSeed);
}

}  // namespace velmora
