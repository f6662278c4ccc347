#include "row.h"

#include <immintrin.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "record.h"

namespace orvek::detail {
namespace {

namespace layout = row_layout;

// The quotes that the record keeps around each field, counted in the widths below.
constexpr std::size_t kQuotes = 2;

// The longest row: the postal code with its quotes, the prefecture's column with its quotes
// and padding, the city's likewise, the separators, and the longest town area.
static_assert(layout::kCodeWidth + kQuotes + layout::kSeparatorWidth + layout::kPrefWidth +
                  kQuotes + layout::kSeparatorWidth + layout::kMostPadding +
                  sizeof(ST_ORVEK_TBL::szTown) - 1 <
              kRowBufferSize);

// Copies a name of a few bytes without a call to memcpy (a row takes five of them): two moves
// of a fixed size that overlap as much as needed. Reads only text[0, length).
char* Put(char* row, const char* text, std::size_t length) {
  const auto move = [&](std::size_t at, auto word) {
    std::memcpy(&word, text + at, sizeof word);
    std::memcpy(row + at, &word, sizeof word);
  };
  if (length >= 16) {
    for (std::size_t at = 0; at + 16 < length; at += 16) std::memcpy(row + at, text + at, 16);
    std::memcpy(row + length - 16, text + length - 16, 16);
  } else if (length >= 8) {
    move(0, std::uint64_t{});
    move(length - 8, std::uint64_t{});
  } else if (length >= 4) {
    move(0, std::uint32_t{});
    move(length - 4, std::uint32_t{});
  } else if (length > 0) {
    row[0] = text[0];
    row[length / 2] = text[length / 2];
    row[length - 1] = text[length - 1];
  }
  return row + length;
}

// The padding after a name of `length` bytes, its quotes counted, in a column `width` bytes
// wide once the quotes are gone. The widths are constants, so each call folds to a compare and
// a shift. As many spaces as any name gets are written; the rest of the row goes over those
// past its padding.
char* PutPadding(char* row, std::size_t length, std::size_t width) {
  const std::size_t padding = layout::PaddingAfter(length, width);
  if (padding == 0) return row;
  std::memset(row, ' ', layout::kMostPadding);
  return row + padding;
}

// The bytes of szPostalCode before the hyphen (the opening quote and the head digits) and at
// most this many after it (the tail digits and the closing quote).
constexpr std::size_t kCodeBeforeHyphen = 1 + layout::kCodeHead;
constexpr std::size_t kCodeAfterHyphen = layout::kCodeTail + 1;

// "1234567" becomes "123-4567": the opening quote and three digits, a hyphen, then at most
// five bytes from the fifth on (head and tail bytes). As with strncpy, a hyphen and strncat,
// the hyphen stands only behind four bytes, and what follows is appended wherever the text
// ended. Then the names, each padded.
void PutRow(char* row, const char* code, std::size_t head, std::size_t tail, FieldText pref,
            FieldText city, FieldText town) {
  char* put = Put(row, code, head);
  if (head == kCodeBeforeHyphen) *put++ = layout::kCodeHyphen;
  put = Put(put, code + kCodeBeforeHyphen, tail);
  put = Put(put, layout::kSeparator, layout::kSeparatorWidth);
  put = PutPadding(Put(put, pref.data, pref.length), pref.length, layout::kPrefWidth);
  put = Put(put, layout::kSeparator, layout::kSeparatorWidth);
  put = PutPadding(Put(put, city.data, city.length), city.length, layout::kCityWidth);
  put = Put(put, town.data, town.length);
  *put = '\0';
}

FieldText Text(const char* field) {
  return {field, std::strlen(field)};
}

}  // namespace

// fnCreateString's row, and the literal search's; each piece is copied once, with its length
// taken once, rather than appended by strcat.
void CreateRow(const ST_ORVEK_TBL& record, char (&row)[kRowBufferSize]) {
  const char* code = record.szPostalCode;
  PutRow(row, code, strnlen(code, kCodeBeforeHyphen),
         strnlen(code + kCodeBeforeHyphen, kCodeAfterHyphen), Text(record.szPref),
         Text(record.szCity), Text(record.szTown));
}

void CreateRow(const RowFields& fields, char (&row)[kRowBufferSize]) {
  // In the record, the bytes behind the postal code's text are NULs.
  const FieldText code = fields.code;
  PutRow(row, code.data, std::min(code.length, kCodeBeforeHyphen),
         code.length > kCodeBeforeHyphen
             ? std::min(code.length - kCodeBeforeHyphen, kCodeAfterHyphen)
             : 0,
         fields.pref, fields.city, fields.town);
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
