#include "row.h"

#include <immintrin.h>

#include <cstdint>
#include <cstring>

#include "record.h"

namespace orvek::detail {
namespace {

// strcat that remembers where the row ends.
class RowWriter {
 public:
  explicit RowWriter(char* row) : row_(row) { row_[0] = '\0'; }
  void Append(const char* text) { Append(text, std::strlen(text)); }
  void Append(const char* text, std::size_t length) {
    std::memcpy(row_ + length_, text, length);
    length_ += length;
    row_[length_] = '\0';
  }
  // Pairs of spaces after a name of `length` bytes, quotes counted: (width - length) / 2 of
  // them when the name is shorter than limit, so that the column is width - 2 bytes wide once
  // the quotes are gone.
  void AppendPadding(std::size_t length, std::size_t limit, std::size_t width) {
    if (length >= limit) return;
    for (std::size_t pair = 0; pair < (width - length) / 2; ++pair) Append("  ", 2);
  }

 private:
  char* row_;
  std::size_t length_ = 0;
};

}  // namespace

// The longest row: 10 bytes of postal code, 2 + 12 of prefecture and padding, 2 + 24 of city
// and padding, 80 of town area.
static_assert(10 + 2 + 12 + 2 + 24 + sizeof(ST_ORVEK_TBL::szTown) - 1 < kRowBufferSize);

void CreateRow(const ST_ORVEK_TBL& record, char (&row)[kRowBufferSize]) {
  // "1234567" becomes "123-4567"; the opening quote and three digits, then the rest.
  char code[16];
  CopyPadded(code, record.szPostalCode, 4);
  code[4] = '-';
  code[5] = '\0';
  std::strncat(code, record.szPostalCode + 4, 5);
  code[10] = '\0';

  RowWriter writer(row);
  writer.Append(code);
  writer.Append("  ", 2);
  const std::size_t pref = std::strlen(record.szPref);
  writer.Append(record.szPref, pref);
  writer.AppendPadding(pref, 11, 12);
  writer.Append("  ", 2);
  const std::size_t city = std::strlen(record.szCity);
  writer.Append(record.szCity, city);
  writer.AppendPadding(city, 23, 24);
  writer.Append(record.szTown);
}

namespace {

// For every set of quotes among eight bytes (bit i: byte i is one), the shuffle that gathers
// the other bytes at the front.
struct KeptBytes {
  std::uint8_t from[256][8];
};
constexpr KeptBytes kKeptBytes = [] {
  KeptBytes table{};
  for (unsigned quotes = 0; quotes < 256; ++quotes) {
    unsigned kept = 0;
    for (unsigned byte = 0; byte < 8; ++byte) {
      if ((quotes & (1U << byte)) == 0)
        table.from[quotes][kept++] = static_cast<std::uint8_t>(byte);
    }
    while (kept < 8) table.from[quotes][kept++] = 0x80;  // a NUL, written over or cleared later
  }
  return table;
}();

bool UseSsse3(Simd simd) {
  static const bool has_ssse3 =
      __builtin_cpu_supports("ssse3") != 0 && __builtin_cpu_supports("popcnt") != 0;
  return simd == Simd::kBest && has_ssse3;
}

// Moves the bytes of row[0, length) other than quotes to the front, sixteen at a time, as far
// as whole blocks of sixteen go; returns where the kept bytes end, and sets read to the first
// byte not yet looked at. Each store ends within the block just read.
__attribute__((target("ssse3,popcnt"))) char* KeepNonQuotesSsse3(char* row, std::size_t length,
                                                                 std::size_t& read) {
  const __m128i quote = _mm_set1_epi8('"');
  char* kept = row;
  for (read = 0; length - read >= 16; read += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + read));
    const auto quotes = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, quote)));
    const unsigned low = quotes & 0xFF;
    const unsigned high = quotes >> 8;
    const __m128i low_from =
        _mm_loadl_epi64(reinterpret_cast<const __m128i*>(kKeptBytes.from[low]));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(kept), _mm_shuffle_epi8(bytes, low_from));
    kept += 8 - __builtin_popcount(low);
    const __m128i high_from =
        _mm_loadl_epi64(reinterpret_cast<const __m128i*>(kKeptBytes.from[high]));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(kept),
                     _mm_shuffle_epi8(_mm_srli_si128(bytes, 8), high_from));
    kept += 8 - __builtin_popcount(high);
  }
  return kept;
}

}  // namespace

void DeleteQuotes(char* row, Simd simd) {
  // Removing a quote by moving the rest of the row left (the freed last byte becomes NUL) and
  // looking again from the front finds the next quote no earlier than the last one, so one
  // pass that keeps every other byte gives the same bytes, NULs behind the row included.
  // The cleaning pass runs this on every row of the list; a byte loop costs a few cycles a
  // byte whether it branches on the quotes (which fall where no predictor learns) or not.
  const std::size_t length = std::strlen(row);
  std::size_t read = 0;
  char* kept = UseSsse3(simd) ? KeepNonQuotesSsse3(row, length, read) : row;
  for (; read < length; ++read) {
    *kept = row[read];
    kept += row[read] != '"' ? 1 : 0;
  }
  std::memset(kept, '\0', static_cast<std::size_t>(row + length - kept) + 1);
}

}  // namespace orvek::detail
