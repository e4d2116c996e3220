#pragma once
#include <cstdint>
#include <functional>

namespace slatewick {

// The program's one pseudo-random generator. Random(n) is uniform in 0..n-1 (0 for n <= 0);
// every call draws anew.
int Random(int n);
void Randomize(std::uint64_t seed);
// Replaces the generator (tests script exact draws); an empty function restores it.
void SetRandomSource(std::function<int(int)> source);

// One step of the generator (PCG32, XSH-RR) from `state`: 32 random bits.
inline std::uint32_t NextRandomBits(std::uint64_t& state) {
  const std::uint64_t old = state;
  state = old * 6364136223846793005ull + 1442695040888963407ull;
  const auto xorshifted = std::uint32_t(((old >> 18) ^ old) >> 27);
  const auto rotation = unsigned(old >> 59);
  return (xorshifted >> rotation) | (xorshifted << ((32 - rotation) & 31));
}

// A run of draws, each the same as a Random(n) call in its place, inlined: the generator's state
// is held here from construction to destruction, when nothing else may draw.
class RandomRun {
 public:
  RandomRun();
  ~RandomRun();
  RandomRun(const RandomRun&) = delete;
  RandomRun& operator=(const RandomRun&) = delete;
  int operator()(int n) {
    if (scripted_ || n <= 0) return Random(n);
    return int((std::uint64_t(NextRandomBits(state_)) * std::uint64_t(n)) >> 32);
  }

 private:
  bool scripted_;
  std::uint64_t state_;
};

}  // namespace slatewick
