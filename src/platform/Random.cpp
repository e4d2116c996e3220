#include "platform/Random.h"

namespace slatewick {

namespace {

// PCG32 (XSH-RR): one multiply per draw, well mixed, plenty for chalk and dust.
struct Generator {
  std::uint64_t state = 0x853C49E6748FEA9Bull;
  std::uint32_t Next() { return NextRandomBits(state); }
};

Generator generator;
std::function<int(int)> source;

}  // namespace

int Random(int n) {
  if (n <= 0) return 0;
  if (source) return source(n);
  return ScaledDraw(generator.Next(), n);
}

void Randomize(std::uint64_t seed) {
  generator.state = 0;
  generator.Next();
  generator.state += seed;
  generator.Next();
}

RandomRun::RandomRun() : scripted_(bool(source)), state_(generator.state) {}

RandomRun::~RandomRun() {
  if (!scripted_) generator.state = state_;
}

void SetRandomSource(std::function<int(int)> s) {
  source = std::move(s);
}

}  // namespace slatewick
