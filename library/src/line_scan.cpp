#include "line_scan.h"

#include <immintrin.h>

#include <cstring>
#include <type_traits>

#include "record.h"

namespace orvek::detail {
namespace {

constexpr unsigned kCommasOfNineColumns = 8;

// Where the bytes of interest are in 64 bytes of the block: bit i stands for byte i.
struct ChunkBits {
  std::uint64_t lf;
  std::uint64_t comma;
  std::uint64_t cr;
  std::uint64_t nul;
};

std::uint64_t Below(unsigned bit) {
  return bit >= 64 ? ~0ULL : (1ULL << bit) - 1;
}

// The state of the line that the scan is in.
class LineTally {
 public:
  explicit LineTally(std::size_t begin) : line_start_(begin) {}

  // Accounts for the chunk at offset `chunk` and lists the irregular lines that end in it.
  // Lines are longer than a chunk in any real file, so the first LF of a chunk is handled
  // without branches and further ones in a loop.
  __attribute__((always_inline)) inline void Add(std::size_t chunk, const ChunkBits& bits,
                                                 std::vector<LineSpan>& lines) {
    const std::uint64_t after_comma = (bits.comma << 1) | comma_carry_;
    comma_carry_ = bits.comma >> 63;
    const std::uint64_t separator = bits.comma | bits.lf | bits.cr;
    const std::uint64_t irregular = bits.nul | (separator & after_comma);

    std::uint64_t ends = bits.lf;
    // Up to and including the first LF; the whole chunk when it has none.
    const std::uint64_t head = ends ^ (ends - 1);
    const unsigned commas =
        commas_ + static_cast<unsigned>(__builtin_popcountll(bits.comma & head));
    const bool odd = odd_ || (irregular & head) != 0;
    if (ends == 0) {
      commas_ = commas;
      odd_ = odd;
      return;
    }
    const std::size_t lf = chunk + static_cast<unsigned>(__builtin_ctzll(ends));
    EndLine(lf, commas, odd, lines);
    commas_ = static_cast<unsigned>(__builtin_popcountll(bits.comma & ~head));
    odd_ = (irregular & ~head) != 0;

    for (ends &= ends - 1; ends != 0; ends &= ends - 1) {
      // A line that starts and ends in this chunk: count it from its first byte.
      const auto bit = static_cast<unsigned>(__builtin_ctzll(ends));
      const std::uint64_t part =
          Below(bit + 1) & ~Below(static_cast<unsigned>(line_start_ - chunk));
      const unsigned line_commas = static_cast<unsigned>(__builtin_popcountll(bits.comma & part));
      EndLine(chunk + bit, line_commas, (irregular & part) != 0, lines);
      const std::uint64_t rest = ~Below(bit + 1);
      commas_ = static_cast<unsigned>(__builtin_popcountll(bits.comma & rest));
      odd_ = (irregular & rest) != 0;
    }
  }

 private:
  void EndLine(std::size_t lf, unsigned commas, bool odd, std::vector<LineSpan>& lines) {
    if (odd || commas < kCommasOfNineColumns || lf + 1 - line_start_ > kPieceBytes) {
      lines.push_back({static_cast<std::uint32_t>(line_start_), static_cast<std::uint32_t>(lf)});
    }
    line_start_ = lf + 1;
  }

  std::size_t line_start_;
  unsigned commas_ = 0;
  bool odd_ = false;
  std::uint64_t comma_carry_ = 0;  // a comma in the last byte of the previous chunk
};

std::uint64_t Bits16(__m128i chunk, char byte) {
  return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, _mm_set1_epi8(byte))));
}

__attribute__((always_inline)) inline ChunkBits Sse2Bits(const char* p) {
  ChunkBits bits{0, 0, 0, 0};
  for (int part = 0; part < 4; ++part) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * part));
    bits.lf |= Bits16(chunk, '\n') << (16 * part);
    bits.comma |= Bits16(chunk, ',') << (16 * part);
    bits.cr |= Bits16(chunk, '\r') << (16 * part);
    bits.nul |= Bits16(chunk, '\0') << (16 * part);
  }
  return bits;
}

__attribute__((target("avx2"), always_inline)) inline std::uint64_t Bits32(__m256i low,
                                                                           __m256i high,
                                                                           char byte) {
  const __m256i wanted = _mm256_set1_epi8(byte);
  const auto lo = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(low, wanted)));
  const auto hi = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(high, wanted)));
  return lo | (static_cast<std::uint64_t>(hi) << 32);
}

__attribute__((target("avx2"), always_inline)) inline ChunkBits Avx2Bits(const char* p) {
  const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
  const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32));
  return {Bits32(low, high, '\n'), Bits32(low, high, ','), Bits32(low, high, '\r'),
          Bits32(low, high, '\0')};
}

// The last, partial chunk, through a copy padded with NULs that are then masked off.
template <typename GetBits>
__attribute__((always_inline)) inline ChunkBits TailBits(const char* p, std::size_t left,
                                                         GetBits get_bits) {
  alignas(32) char tail[64] = {};
  std::memcpy(tail, p, left);
  ChunkBits bits = get_bits(tail);
  const std::uint64_t valid = Below(static_cast<unsigned>(left));
  bits.lf &= valid;
  bits.comma &= valid;
  bits.cr &= valid;
  bits.nul &= valid;
  return bits;
}

// A first look at a region, without branches: true when it may hold an irregular line. It
// takes each chunk to hold at most one LF (lines are longer than a chunk in any real file)
// and says true when one holds more, so that the exact count then runs.
class RegionScreen {
 public:
  explicit RegionScreen(std::size_t begin) : line_start_(begin) {}

  __attribute__((always_inline)) inline void Add(std::size_t chunk, const ChunkBits& bits) {
    const std::uint64_t after_comma = (bits.comma << 1) | comma_carry_;
    comma_carry_ = bits.comma >> 63;
    const std::uint64_t irregular = bits.nul | ((bits.comma | bits.lf | bits.cr) & after_comma);
    const std::uint64_t lf = bits.lf;
    const std::uint64_t head = lf ^ (lf - 1);  // through the first LF, or the whole chunk
    const bool ends = lf != 0;
    const unsigned commas =
        commas_ + static_cast<unsigned>(__builtin_popcountll(bits.comma & head));
    const bool odd = odd_ | ((irregular & head) != 0);
    const std::size_t next_start =
        chunk + static_cast<unsigned>(__builtin_ctzll(lf | (1ULL << 63))) + 1;
    flagged_ |=
        ends & (odd | (commas < kCommasOfNineColumns) | (next_start - line_start_ > kPieceBytes));
    flagged_ |= (lf & (lf - 1)) != 0;
    commas_ = ends ? static_cast<unsigned>(__builtin_popcountll(bits.comma & ~head)) : commas;
    odd_ = ends ? (irregular & ~head) != 0 : odd;
    line_start_ = ends ? next_start : line_start_;
  }

  bool Flagged() const { return flagged_; }

 private:
  std::size_t line_start_;
  unsigned commas_ = 0;
  bool odd_ = false;
  bool flagged_ = false;
  std::uint64_t comma_carry_ = 0;
};

template <typename Tally, typename GetBits>
__attribute__((always_inline)) inline void Scan(Tally& tally, const char* base, std::size_t begin,
                                                std::size_t end, GetBits get_bits,
                                                std::vector<LineSpan>* lines) {
  std::size_t chunk = begin;
  for (; end - chunk >= 64; chunk += 64) {
    if constexpr (std::is_same_v<Tally, LineTally>) {
      tally.Add(chunk, get_bits(base + chunk), *lines);
    } else {
      tally.Add(chunk, get_bits(base + chunk));
    }
  }
  if (chunk == end) return;
  if constexpr (std::is_same_v<Tally, LineTally>) {
    tally.Add(chunk, TailBits(base + chunk, end - chunk, get_bits), *lines);
  } else {
    tally.Add(chunk, TailBits(base + chunk, end - chunk, get_bits));
  }
}

void ScanSse2(const char* base, std::size_t begin, std::size_t end, std::vector<LineSpan>& lines) {
  RegionScreen screen(begin);
  Scan(screen, base, begin, end, Sse2Bits, nullptr);
  if (!screen.Flagged()) return;
  LineTally tally(begin);
  Scan(tally, base, begin, end, Sse2Bits, &lines);
}

__attribute__((target("avx2,popcnt,bmi"))) void ScanAvx2(const char* base, std::size_t begin,
                                                         std::size_t end,
                                                         std::vector<LineSpan>& lines) {
  RegionScreen screen(begin);
  Scan(screen, base, begin, end, Avx2Bits, nullptr);
  if (!screen.Flagged()) return;
  LineTally tally(begin);
  Scan(tally, base, begin, end, Avx2Bits, &lines);
}

bool HasAvx2() {
  static const bool has_avx2 = __builtin_cpu_supports("avx2") != 0 &&
                               __builtin_cpu_supports("popcnt") != 0 &&
                               __builtin_cpu_supports("bmi") != 0;
  return has_avx2;
}

}  // namespace

void FindIrregularLines(const char* base, std::size_t begin, std::size_t end,
                        std::vector<LineSpan>& lines) {
  if (HasAvx2()) {
    ScanAvx2(base, begin, end, lines);
  } else {
    ScanSse2(base, begin, end, lines);
  }
}

}  // namespace orvek::detail
