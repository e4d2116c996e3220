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

// The generator (PCG32, XSH-RR): a linear step of the 64-bit state, and 32 bits drawn from the
// state before the step.
inline constexpr std::uint64_t RandomMultiplier = 6364136223846793005ull;
inline constexpr std::uint64_t RandomIncrement = 1442695040888963407ull;

inline std::uint32_t RandomBitsOf(std::uint64_t old) {
  const auto xorshifted = std::uint32_t(((old >> 18) ^ old) >> 27);
  const auto rotation = unsigned(old >> 59);
  return (xorshifted >> rotation) | (xorshifted << ((32 - rotation) & 31));
}

inline std::uint32_t NextRandomBits(std::uint64_t& state) {
  const std::uint64_t old = state;
  state = old * RandomMultiplier + RandomIncrement;
  return RandomBitsOf(old);
}

// The state `steps` steps after s, as one multiply-add: mul * s + add.
struct RandomJump {
  std::uint64_t mul = 1, add = 0;
  constexpr std::uint64_t operator()(std::uint64_t s) const { return mul * s + add; }
};

constexpr RandomJump RandomJumpOf(int steps) {
  RandomJump j;
  for (int k = 0; k < steps; ++k) {
    j.mul *= RandomMultiplier;
    j.add = j.add * RandomMultiplier + RandomIncrement;
  }
  return j;
}

// A draw of 0..n-1 from 32 random bits (bias below n / 2^32).
inline int ScaledDraw(std::uint32_t bits, int n) {
  return int((std::uint64_t(bits) * std::uint64_t(n)) >> 32);
}

// Two draws made at once: the pair's states are one step apart, and the state after the pair is
// one jump of two steps from the first, so successive pairs wait on one multiply, not two.
class RandomPair {
 public:
  explicit RandomPair(std::uint64_t& state) : first_(state), second_(One(state)) {
    state = Two(state);
  }
  // Uniform in 0..n-1 for n > 0: the first call draws from the first state, later ones from the
  // second.
  int operator()(int n) {
    const std::uint64_t old = used_ ? second_ : first_;
    used_ = true;
    return ScaledDraw(RandomBitsOf(old), n);
  }

 private:
  static constexpr RandomJump One = RandomJumpOf(1), Two = RandomJumpOf(2);
  std::uint64_t first_, second_;
  bool used_ = false;
};

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
    return ScaledDraw(NextRandomBits(state_), n);
  }
  // A script replaces the generator (see SetRandomSource): draws must go through operator().
  bool Scripted() const { return scripted_; }
  // The generator's state, for loops that draw in pairs (RandomPair) when not Scripted().
  std::uint64_t& State() { return state_; }

 private:
  bool scripted_;
  std::uint64_t state_;
};

}  // namespace slatewick
