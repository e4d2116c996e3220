#include "platform/Random.h"

namespace slatewick {

void Random::Seed(std::uint64_t seed) {
  state_ = 0;
  Next();
  state_ += seed;
  Next();
}

}  // namespace slatewick
