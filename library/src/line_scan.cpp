// Well-formed files have no irregular lines, so a region is first screened as a whole: the
// odd bytes are gathered in a vector register, and each line's commas and length are
// checked without a branch, taking each 64-byte chunk to hold at most one LF (lines are
// longer than that in any real file; a chunk with more flags the region). Only a flagged
// region is walked line by line to list its irregular lines.
#include "line_scan.h"

#include <immintrin.h>

#include <algorithm>
#include <cstring>

#include "record.h"

namespace orvek::detail {
namespace {

constexpr unsigned kCommasOfNineColumns = 8;
constexpr std::size_t kChunk = 64;

std::uint64_t Below(unsigned bit) {
  return bit >= 64 ? ~0ULL : (1ULL << bit) - 1;
}

// The first chunk (no byte before it) and the last, partial one are read from a copy padded
// with bytes that stop nothing; the byte before the region counts as one of those.
constexpr std::size_t kBefore = 32;
using Padding = char[kBefore + kChunk];

__attribute__((always_inline)) inline const char* ChunkData(const char* base, std::size_t begin,
                                                            std::size_t chunk, std::size_t end,
                                                            Padding& padded) {
  if (chunk != begin && end - chunk >= kChunk) return base + chunk;
  std::memset(padded, 'x', sizeof padded);
  if (chunk != begin) padded[kBefore - 1] = base[chunk - 1];
  std::memcpy(padded + kBefore, base + chunk, std::min(kChunk, end - chunk));
  return padded + kBefore;
}

// Per chunk, bit i standing for byte i: the LFs, the commas, and the odd bytes (a NUL, or a
// comma, CR or LF right after a comma). p[-1] must be readable.
struct ChunkBits {
  std::uint64_t lf;
  std::uint64_t comma;
  std::uint64_t odd;
};

std::uint64_t Movemask16(__m128i bytes, int part) {
  return static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm_movemask_epi8(bytes)))
         << (16 * part);
}

ChunkBits Sse2Bits(const char* p) {
  ChunkBits bits{0, 0, 0};
  for (int part = 0; part < 4; ++part) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * part));
    const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * part - 1));
    const __m128i lf = _mm_cmpeq_epi8(x, _mm_set1_epi8('\n'));
    const __m128i comma = _mm_cmpeq_epi8(x, _mm_set1_epi8(','));
    const __m128i stop =
        _mm_or_si128(_mm_or_si128(lf, comma), _mm_cmpeq_epi8(x, _mm_set1_epi8('\r')));
    const __m128i odd =
        _mm_or_si128(_mm_cmpeq_epi8(x, _mm_setzero_si128()),
                     _mm_and_si128(stop, _mm_cmpeq_epi8(before, _mm_set1_epi8(','))));
    bits.lf |= Movemask16(lf, part);
    bits.comma |= Movemask16(comma, part);
    bits.odd |= Movemask16(odd, part);
  }
  return bits;
}

// The line the screen is in; Add() has no branch.
class LineScreen {
 public:
  // Lines are longer than a chunk but not by much, so whether a chunk holds an LF is a coin
  // toss for a branch predictor: the state is selected with masks instead.
  __attribute__((always_inline)) inline void Add(std::uint64_t lf, std::uint64_t comma) {
    const std::uint64_t head = lf ^ (lf - 1);  // through the first LF, or the whole chunk
    const auto ends = static_cast<unsigned>(lf != 0);
    const unsigned restart = 0U - ends;  // all ones when the line ends in this chunk
    const unsigned commas = commas_ + static_cast<unsigned>(__builtin_popcountll(comma & head));
    // A line of more than 499 bytes holds at least six whole chunks without an LF.
    chunks_without_lf_ = (chunks_without_lf_ + 1) & ~restart;
    flagged_ |= (ends & static_cast<unsigned>(commas < kCommasOfNineColumns)) |
                static_cast<unsigned>(chunks_without_lf_ >= 5) |
                static_cast<unsigned>((lf & (lf - 1)) != 0);
    // After an LF the count starts again behind it.
    commas_ = (static_cast<unsigned>(__builtin_popcountll(comma & ~head)) & restart) |
              (commas & ~restart);
  }
  bool Flagged() const { return flagged_ != 0; }

 private:
  unsigned commas_ = 0;
  unsigned chunks_without_lf_ = 0;
  unsigned flagged_ = 0;
};

bool ScreenSse2(const char* base, std::size_t begin, std::size_t end) {
  LineScreen screen;
  std::uint64_t odd = 0;
  for (std::size_t chunk = begin; chunk < end; chunk += kChunk) {
    alignas(32) Padding padded;
    const ChunkBits bits = Sse2Bits(ChunkData(base, begin, chunk, end, padded));
    odd |= bits.odd;
    screen.Add(bits.lf, bits.comma);
  }
  return screen.Flagged() || odd != 0;
}

__attribute__((target("avx2"), always_inline)) inline std::uint64_t Movemask32(__m256i low,
                                                                               __m256i high) {
  return static_cast<std::uint32_t>(_mm256_movemask_epi8(low)) |
         (static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(high))) << 32);
}

__attribute__((target("avx2,popcnt,bmi"))) bool ScreenAvx2(const char* base, std::size_t begin,
                                                           std::size_t end) {
  LineScreen screen;
  __m256i odd = _mm256_setzero_si256();
  const __m256i lf_byte = _mm256_set1_epi8('\n');
  const __m256i comma_byte = _mm256_set1_epi8(',');
  const __m256i cr_byte = _mm256_set1_epi8('\r');
  for (std::size_t chunk = begin; chunk < end; chunk += kChunk) {
    alignas(32) Padding padded;
    const char* p = ChunkData(base, begin, chunk, end, padded);
    const __m256i x0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    const __m256i x1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32));
    const __m256i before0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p - 1));
    const __m256i before1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 31));
    const __m256i lf0 = _mm256_cmpeq_epi8(x0, lf_byte);
    const __m256i lf1 = _mm256_cmpeq_epi8(x1, lf_byte);
    const __m256i comma0 = _mm256_cmpeq_epi8(x0, comma_byte);
    const __m256i comma1 = _mm256_cmpeq_epi8(x1, comma_byte);
    const __m256i stop0 =
        _mm256_or_si256(_mm256_or_si256(lf0, comma0), _mm256_cmpeq_epi8(x0, cr_byte));
    const __m256i stop1 =
        _mm256_or_si256(_mm256_or_si256(lf1, comma1), _mm256_cmpeq_epi8(x1, cr_byte));
    const __m256i nul = _mm256_or_si256(_mm256_cmpeq_epi8(x0, _mm256_setzero_si256()),
                                        _mm256_cmpeq_epi8(x1, _mm256_setzero_si256()));
    const __m256i after_comma =
        _mm256_or_si256(_mm256_and_si256(stop0, _mm256_cmpeq_epi8(before0, comma_byte)),
                        _mm256_and_si256(stop1, _mm256_cmpeq_epi8(before1, comma_byte)));
    odd = _mm256_or_si256(odd, _mm256_or_si256(nul, after_comma));
    screen.Add(Movemask32(lf0, lf1), Movemask32(comma0, comma1));
  }
  return screen.Flagged() || _mm256_testz_si256(odd, odd) == 0;
}

// The exact walk of a flagged region: every line, with all its LFs.
void ListIrregularLines(const char* base, std::size_t begin, std::size_t end,
                        std::vector<LineSpan>& lines) {
  std::size_t line_start = begin;
  unsigned commas = 0;
  bool odd = false;
  for (std::size_t chunk = begin; chunk < end; chunk += kChunk) {
    alignas(32) Padding padded;
    const ChunkBits bits = Sse2Bits(ChunkData(base, begin, chunk, end, padded));
    unsigned from = 0;  // first bit of the chunk in the current line
    for (std::uint64_t ends = bits.lf; ends != 0; ends &= ends - 1) {
      const auto bit = static_cast<unsigned>(__builtin_ctzll(ends));
      const std::uint64_t part = Below(bit + 1) & ~Below(from);
      commas += static_cast<unsigned>(__builtin_popcountll(bits.comma & part));
      odd = odd || (bits.odd & part) != 0;
      const std::size_t lf = chunk + bit;
      if (odd || commas < kCommasOfNineColumns || lf + 1 - line_start > kPieceBytes) {
        lines.push_back({static_cast<std::uint32_t>(line_start), static_cast<std::uint32_t>(lf)});
      }
      line_start = lf + 1;
      commas = 0;
      odd = false;
      from = bit + 1;
    }
    const std::uint64_t rest = ~Below(from);
    commas += static_cast<unsigned>(__builtin_popcountll(bits.comma & rest));
    odd = odd || (bits.odd & rest) != 0;
  }
}

}  // namespace

bool UseAvx2(Simd simd) {
  static const bool has_avx2 = __builtin_cpu_supports("avx2") != 0 &&
                               __builtin_cpu_supports("popcnt") != 0 &&
                               __builtin_cpu_supports("bmi") != 0;
  return simd == Simd::kBest && has_avx2;
}

void FindIrregularLines(const char* base, std::size_t begin, std::size_t end,
                        std::vector<LineSpan>& lines, Simd simd) {
  const bool flagged = UseAvx2(simd) ? ScreenAvx2(base, begin, end) : ScreenSse2(base, begin, end);
  if (flagged) ListIrregularLines(base, begin, end, lines);
}

}  // namespace orvek::detail
