#include "board/DustMotion.h"

#include <cstddef>
#include <cstdint>

#include "platform/Random.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace slatewick {

namespace {

// One particle's step. True when it is then below the tray's first row.
template <class Draw>
bool StepKona(TKona& kona, int trayTop, Draw&& draw) {
  // Arithmetic, not branches: which way a particle goes cannot be predicted.
  const int falls = int(draw(5) >= 3);
  const int step = draw(3 + falls) + 5 * falls - 1;
  const int fallMask = -falls;
  kona.Y += step & fallMask;
  kona.X += step & ~fallMask;
  return kona.Y > trayTop;
}

#if defined(__x86_64__)

// The vector code moves particles from the front of the list in groups while no particle of a
// group would go below the tray, and leaves the rest to StepKona. Particle i draws from the
// generator's states s(2i) and s(2i+1), computed ahead by jumps; each 64-bit lane of a vector
// holds one state, or one particle's (X, Y) pair.

// s(0)..s(count-1) from s(0) = state.
template <int count>
void StatesAhead(std::uint64_t state, std::uint64_t (&s)[count]) {
  s[0] = state;
  for (int k = 1; k < count; ++k) s[k] = RandomMultiplier * s[k - 1] + RandomIncrement;
}

// ScaledDraw(bits, 5) >= 3 exactly when bits >= 0x9999999A; compared signed, biased by 2^31.
constexpr std::int32_t FallsAbove = std::int32_t(0x99999999u ^ 0x80000000u);

static_assert(offsetof(TKona, Y) == offsetof(TKona, X) + 4);

inline __m128i LoadXY(const TKona* p) {
  const __m128i low = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(&p[0].X));
  return _mm_castps_si128(
      _mm_loadh_pi(_mm_castsi128_ps(low), reinterpret_cast<const __m64*>(&p[1].X)));
}

inline void StoreXY(TKona* p, __m128i xy) {
  _mm_storel_epi64(reinterpret_cast<__m128i*>(&p[0].X), xy);
  _mm_storeh_pi(reinterpret_cast<__m64*>(&p[1].X), _mm_castsi128_ps(xy));
}

// SSE2: two lanes.

// RandomBitsOf each lane's state, in the lane's low 32 bits.
inline __m128i RandomBitsOf2(__m128i state) {
  const __m128i xorshifted = _mm_srli_epi64(_mm_xor_si128(_mm_srli_epi64(state, 18), state), 27);
  // The 32 bits twice over: a right shift by the rotation leaves them rotated in the low half.
  const __m128i doubled = _mm_shuffle_epi32(xorshifted, _MM_SHUFFLE(2, 2, 0, 0));
  const __m128i rotation = _mm_srli_epi64(state, 59);
  const __m128i low = _mm_srl_epi64(doubled, rotation);
  const __m128i high = _mm_srl_epi64(doubled, _mm_unpackhi_epi64(rotation, rotation));
  return _mm_castpd_si128(_mm_move_sd(_mm_castsi128_pd(high), _mm_castsi128_pd(low)));
}

// Each lane's move (dX, dY) from the bits of the particle's first and second draws.
inline __m128i MovesOf2(__m128i first, __m128i second) {
  const __m128i falls = _mm_shuffle_epi32(
      _mm_cmpgt_epi32(_mm_xor_si128(first, _mm_set1_epi32(INT32_MIN)), _mm_set1_epi32(FallsAbove)),
      _MM_SHUFFLE(2, 2, 0, 0));
  // ScaledDraw(bits, 3 or 4): the high half of the product, copied to both halves of the lane.
  const __m128i product = _mm_mul_epu32(second, _mm_sub_epi32(_mm_set1_epi32(3), falls));
  const __m128i draw = _mm_shuffle_epi32(product, _MM_SHUFFLE(3, 3, 1, 1));
  // A fall moves Y by draw + 4, a drift X by draw - 1.
  return _mm_and_si128(_mm_add_epi32(draw, _mm_set_epi32(4, -1, 4, -1)),
                       _mm_xor_si128(falls, _mm_set_epi32(0, -1, 0, -1)));
}

inline __m128i Lanes(std::uint64_t low, std::uint64_t high) {
  return _mm_set_epi64x(std::int64_t(high), std::int64_t(low));
}

// Groups of four; the states come from eight scalar chains that each jump eight steps.
int MoveInGroupsSse2(TKonaList& dust, int trayTop, std::uint64_t& state) {
  constexpr RandomJump eight = RandomJumpOf(8);
  std::uint64_t s[8];
  StatesAhead(state, s);
  const __m128i limit = _mm_set_epi32(trayTop, INT32_MAX, trayTop, INT32_MAX);
  const int n = dust.Count();
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    TKona* p = &dust[i];
    const __m128i xy01 = _mm_add_epi32(
        LoadXY(p), MovesOf2(RandomBitsOf2(Lanes(s[0], s[2])), RandomBitsOf2(Lanes(s[1], s[3]))));
    const __m128i xy23 = _mm_add_epi32(LoadXY(p + 2), MovesOf2(RandomBitsOf2(Lanes(s[4], s[6])),
                                                               RandomBitsOf2(Lanes(s[5], s[7]))));
    const __m128i below = _mm_or_si128(_mm_cmpgt_epi32(xy01, limit), _mm_cmpgt_epi32(xy23, limit));
    if (_mm_movemask_epi8(below) != 0) break;
    StoreXY(p, xy01);
    StoreXY(p + 2, xy23);
    for (std::uint64_t& chain : s) chain = eight(chain);
  }
  state = s[0];
  return i;
}

// AVX2: four lanes, the same steps; the variable shift does the rotation in one instruction.
#define SLATEWICK_AVX2 __attribute__((target("avx2")))

SLATEWICK_AVX2 inline __m256i RandomBitsOf4(__m256i state) {
  const __m256i xorshifted =
      _mm256_srli_epi64(_mm256_xor_si256(_mm256_srli_epi64(state, 18), state), 27);
  const __m256i doubled = _mm256_shuffle_epi32(xorshifted, _MM_SHUFFLE(2, 2, 0, 0));
  return _mm256_srlv_epi64(doubled, _mm256_srli_epi64(state, 59));
}

SLATEWICK_AVX2 inline __m256i MovesOf4(__m256i first, __m256i second) {
  const __m256i falls =
      _mm256_shuffle_epi32(_mm256_cmpgt_epi32(_mm256_xor_si256(first, _mm256_set1_epi32(INT32_MIN)),
                                              _mm256_set1_epi32(FallsAbove)),
                           _MM_SHUFFLE(2, 2, 0, 0));
  const __m256i product = _mm256_mul_epu32(second, _mm256_sub_epi32(_mm256_set1_epi32(3), falls));
  const __m256i draw = _mm256_shuffle_epi32(product, _MM_SHUFFLE(3, 3, 1, 1));
  return _mm256_and_si256(_mm256_add_epi32(draw, _mm256_set_epi32(4, -1, 4, -1, 4, -1, 4, -1)),
                          _mm256_xor_si256(falls, _mm256_set_epi32(0, -1, 0, -1, 0, -1, 0, -1)));
}

// Each lane's state `jump` steps on; the 64-bit product from three 32 x 32-bit ones.
SLATEWICK_AVX2 inline __m256i JumpLanes(__m256i s, RandomJump jump) {
  const __m256i mulLow = _mm256_set1_epi64x(std::int64_t(jump.mul & 0xFFFFFFFFu));
  const __m256i mulHigh = _mm256_set1_epi64x(std::int64_t(jump.mul >> 32));
  const __m256i cross = _mm256_add_epi64(_mm256_mul_epu32(_mm256_srli_epi64(s, 32), mulLow),
                                         _mm256_mul_epu32(s, mulHigh));
  return _mm256_add_epi64(
      _mm256_add_epi64(_mm256_mul_epu32(s, mulLow), _mm256_slli_epi64(cross, 32)),
      _mm256_set1_epi64x(std::int64_t(jump.add)));
}

SLATEWICK_AVX2 inline __m256i LoadXY4(const TKona* p) {
  return _mm256_set_m128i(LoadXY(p + 2), LoadXY(p));
}

SLATEWICK_AVX2 inline void StoreXY4(TKona* p, __m256i xy) {
  StoreXY(p, _mm256_castsi256_si128(xy));
  StoreXY(p + 2, _mm256_extracti128_si256(xy, 1));
}

// Lanes s[0], s[2], s[4], s[6].
SLATEWICK_AVX2 inline __m256i EveryOther(const std::uint64_t* s) {
  return _mm256_set_epi64x(std::int64_t(s[6]), std::int64_t(s[4]), std::int64_t(s[2]),
                           std::int64_t(s[0]));
}

// Groups of eight; the states come from four vector chains that each jump sixteen steps.
SLATEWICK_AVX2 int MoveInGroupsAvx2(TKonaList& dust, int trayTop, std::uint64_t& state) {
  constexpr RandomJump sixteen = RandomJumpOf(16);
  std::uint64_t s[16];
  StatesAhead(state, s);
  __m256i first0 = EveryOther(s), second0 = EveryOther(s + 1), first1 = EveryOther(s + 8),
          second1 = EveryOther(s + 9);
  const __m256i limit = _mm256_set_epi32(trayTop, INT32_MAX, trayTop, INT32_MAX, trayTop, INT32_MAX,
                                         trayTop, INT32_MAX);
  const int n = dust.Count();
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    TKona* p = &dust[i];
    const __m256i xy0 =
        _mm256_add_epi32(LoadXY4(p), MovesOf4(RandomBitsOf4(first0), RandomBitsOf4(second0)));
    const __m256i xy1 =
        _mm256_add_epi32(LoadXY4(p + 4), MovesOf4(RandomBitsOf4(first1), RandomBitsOf4(second1)));
    const __m256i below =
        _mm256_or_si256(_mm256_cmpgt_epi32(xy0, limit), _mm256_cmpgt_epi32(xy1, limit));
    if (!_mm256_testz_si256(below, below)) break;
    StoreXY4(p, xy0);
    StoreXY4(p + 4, xy1);
    first0 = JumpLanes(first0, sixteen);
    second0 = JumpLanes(second0, sixteen);
    first1 = JumpLanes(first1, sixteen);
    second1 = JumpLanes(second1, sixteen);
  }
  state = std::uint64_t(_mm_cvtsi128_si64(_mm256_castsi256_si128(first0)));
  return i;
}

#undef SLATEWICK_AVX2

int MoveInGroups(TKonaList& dust, int trayTop, std::uint64_t& state, DustVectors vectors) {
  static const bool avx2 = __builtin_cpu_supports("avx2");
  if (vectors == DustVectors::Widest && avx2) return MoveInGroupsAvx2(dust, trayTop, state);
  return MoveInGroupsSse2(dust, trayTop, state);
}

#else

int MoveInGroups(TKonaList&, int, std::uint64_t&, DustVectors) {
  return 0;
}

#endif

}  // namespace

void MoveDust(TKonaList& dust, int trayTop, DustVectors vectors) {
  const int n = dust.Count();
  RandomRun random;
  int i = 0;
  if (random.Scripted()) {
    while (i < n && !StepKona(dust[i], trayTop, random)) ++i;
  } else {
    std::uint64_t state = random.State();  // kept in a register through the loops
    i = MoveInGroups(dust, trayTop, state, vectors);
    while (i < n && !StepKona(dust[i], trayTop, RandomPair(state))) ++i;
    random.State() = state;
  }
  if (i < n) dust.Delete(i);
}

}  // namespace slatewick
