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

}  // namespace slatewick
