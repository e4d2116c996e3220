#pragma once
#include <cstdint>
#include <functional>

namespace slatewick {

// The program's one pseudo-random generator: PCG32 (XSH-RR), one multiply a draw, plenty for
// chalk and dust. Draw(n) is uniform in 0..n-1 (0 for n <= 0; its bias lies below n / 2^32);
// every draw is a new one. Its state is a single number, so a run can be replayed from it.
class Random {
 public:
  int Draw(int n) {
    if (n <= 0) return 0;
    if (script_) return script_(n);
    return int((std::uint64_t(Next()) * std::uint64_t(n)) >> 32);
  }
  int operator()(int n) { return Draw(n); }

  // Starts the sequence that `seed` chooses.
  void Seed(std::uint64_t seed);
  std::uint64_t State() const { return state_; }
  void SetState(std::uint64_t state) { state_ = state; }
  // Tests: every draw comes from script (each in 0..n-1) until an empty script restores the
  // generator.
  void Script(std::function<int(int)> script) { script_ = std::move(script); }

 private:
  // 32 bits drawn from the state, which then takes one step.
  std::uint32_t Next() {
    const std::uint64_t old = state_;
    state_ = old * Multiplier + Increment;
    const auto xorshifted = std::uint32_t(((old >> 18) ^ old) >> 27);
    const auto rotation = unsigned(old >> 59);
    return (xorshifted >> rotation) | (xorshifted << ((32 - rotation) & 31));
  }

  static constexpr std::uint64_t Multiplier = 6364136223846793005ull;
  static constexpr std::uint64_t Increment = 1442695040888963407ull;
  std::uint64_t state_ = 0x853C49E6748FEA9Bull;
  std::function<int(int)> script_;
};

}  // namespace slatewick
