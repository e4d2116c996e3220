#include "platform/Random.h"

#include <random>

namespace {
std::mt19937_64& Generator() {
  static std::mt19937_64 generator(0x5EED);
  return generator;
}
std::function<int(int)>& Source() {
  static std::function<int(int)> source;
  return source;
}
}  // namespace

int Random(int n) {
  if (n <= 0) return 0;
  if (Source()) return Source()(n);
  return int(std::uniform_int_distribution<int>(0, n - 1)(Generator()));
}

void Randomize(std::uint64_t seed) { Generator().seed(seed); }

void SetRandomSource(std::function<int(int)> source) { Source() = std::move(source); }
