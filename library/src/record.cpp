#include "record.h"

#include <emmintrin.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace orvek::detail {
namespace {

// The record's fields in column order.
template <typename Visit>
void ForEachField(ST_ORVEK_TBL* record, Visit visit) {
  visit(record->szLocalCode, sizeof record->szLocalCode);
  visit(record->szOldCode, sizeof record->szOldCode);
  visit(record->szPostalCode, sizeof record->szPostalCode);
  visit(record->szPrefKana, sizeof record->szPrefKana);
  visit(record->szCityKana, sizeof record->szCityKana);
  visit(record->szTownKana, sizeof record->szTownKana);
  visit(record->szPref, sizeof record->szPref);
  visit(record->szCity, sizeof record->szCity);
  visit(record->szTown, sizeof record->szTown);
}

// Bytes at which a column stops: the separators, and the NUL that ends the text.
constexpr auto kEndsColumn = [] {
  std::array<bool, 256> ends{};
  ends[static_cast<unsigned char>(',')] = true;
  ends[static_cast<unsigned char>('\n')] = true;
  ends[0] = true;
  return ends;
}();

// The first byte in [p, end) that ends a column, or end.
__attribute__((always_inline)) inline const char* FindColumnEnd(const char* p, const char* end) {
  const __m128i comma = _mm_set1_epi8(',');
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i nul = _mm_setzero_si128();
  while (end - p >= 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i stops =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, comma), _mm_cmpeq_epi8(bytes, lf)),
                     _mm_cmpeq_epi8(bytes, nul));
    const int mask = _mm_movemask_epi8(stops);
    if (mask != 0) return p + __builtin_ctz(static_cast<unsigned>(mask));
    p += 16;
  }
  while (p != end && !kEndsColumn[static_cast<unsigned char>(*p)]) ++p;
  return p;
}

// memcpy for a column's few bytes, without the call: two moves of a fixed size that overlap
// as much as needed. Reads and writes only [0, length).
inline void CopyColumn(char* to, const char* from, std::size_t length) {
  const auto move = [&](std::size_t at, auto word) {
    std::memcpy(&word, from + at, sizeof word);
    std::memcpy(to + at, &word, sizeof word);
  };
  if (length >= 16) {
    for (std::size_t at = 0; at + 16 < length; at += 16) std::memcpy(to + at, from + at, 16);
    std::memcpy(to + length - 16, from + length - 16, 16);
  } else if (length >= 8) {
    move(0, std::uint64_t{});
    move(length - 8, std::uint64_t{});
  } else if (length >= 4) {
    move(0, std::uint32_t{});
    move(length - 4, std::uint32_t{});
  } else if (length > 0) {
    to[0] = from[0];
    to[length / 2] = from[length / 2];
    to[length - 1] = from[length - 1];
  }
}

}  // namespace

void ParseLine(const char* line, ST_ORVEK_TBL* record) {
  // One byte more than the text can fill: a 500-byte text without a NUL still ends, and the
  // walk below may look at the byte after its last position.
  char work[kLineBufferSize + 1];
  CopyPadded(work, line, kLineBufferSize);
  work[kLineBufferSize] = '\0';

  if (work[0] != '\0') {
    for (std::size_t i = 0; i < kLineBufferSize; ++i) {
      if (work[i] == ',') work[i] = '\0';
      if (work[i] == '\n') work[i] = '\0';
      if (work[i + 1] == '\0') break;
    }
  }

  // A line with fewer columns than fields (say 499 bytes without a comma) would move the read
  // pointer past the buffer; it stops at the closing NUL, so the fields it cannot reach stay
  // empty.
  const char* const end = work + kLineBufferSize;
  const char* read = work;
  ForEachField(record, [&](char* field, std::size_t size) {
    CopyPadded(field, read, size);
    field[size - 1] = '\0';
    read = std::min(read + std::strlen(read) + 1, end);
  });
}

void ParsePiece(const char* data, std::size_t length, ST_ORVEK_TBL* record) {
  const char* read = data;
  const char* end = data + std::min(length, kLineBufferSize);
  std::memset(record, 0, sizeof *record);  // the NULs behind every field's text
  // Inlined: a call per field costs as much as the field's copy.
  ForEachField(
      record, [&](char* field, std::size_t size) __attribute__((always_inline)) {
        const char* column_end = FindColumnEnd(read, end);
        if (column_end != end && *column_end == '\0') end = column_end;  // the text ends there
        CopyColumn(field, read, std::min(static_cast<std::size_t>(column_end - read), size - 1));
        read = column_end == end ? end : column_end + 1;
      });
}

}  // namespace orvek::detail
