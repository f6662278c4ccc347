#include "record.h"

#include <emmintrin.h>

#include <algorithm>
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

// Where the columns of text[0, size) end: at ',', '\n' and the NUL that ends the text, found
// 64 bytes at a time and handed out in order. The loads of a window do not wait for one
// another, where a search from each column's start would wait for the last column's end.
class ColumnEnds {
 public:
  ColumnEnds(const char* text, std::size_t size) : text_(text), size_(size) { Load(0); }

  // The next place where a column ends, or size when the text has no more.
  __attribute__((always_inline)) std::size_t Next() {
    while (ends_ == 0) {
      if (size_ - window_ <= kWindow) return size_;
      Load(window_ + kWindow);
    }
    const std::size_t at = window_ + static_cast<std::size_t>(__builtin_ctzll(ends_));
    ends_ &= ends_ - 1;
    return at;
  }

 private:
  static constexpr std::size_t kWindow = 64;

  static std::uint64_t Ends(const char* p) {
    const __m128i comma = _mm_set1_epi8(',');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i nul = _mm_setzero_si128();
    std::uint64_t ends = 0;
    for (int part = 0; part < 4; ++part) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * part));
      const __m128i stops =
          _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, comma), _mm_cmpeq_epi8(bytes, lf)),
                       _mm_cmpeq_epi8(bytes, nul));
      ends |= static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm_movemask_epi8(stops)))
              << (16 * part);
    }
    return ends;
  }

  // The window at text[window]; nothing outside text[0, size) is read.
  void Load(std::size_t window) {
    window_ = window;
    const std::size_t left = size_ - window;
    if (left >= kWindow) {
      ends_ = Ends(text_ + window);
    } else if (size_ >= kWindow) {  // the text's last 64 bytes, shifted into place
      ends_ = Ends(text_ + size_ - kWindow) >> (kWindow - left);
    } else {
      char padded[kWindow]{};
      std::memcpy(padded, text_ + window, left);
      ends_ = Ends(padded) & ((std::uint64_t{1} << left) - 1);
    }
  }

  const char* text_;
  std::size_t size_;
  std::size_t window_ = 0;
  std::uint64_t ends_ = 0;
};

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

void ParseRowFields(const char* data, std::size_t length, RowFields* fields) {
  // The record's fields in column order, and where each of the four is wanted.
  constexpr std::size_t kSizes[] = {
      sizeof ST_ORVEK_TBL::szLocalCode,  sizeof ST_ORVEK_TBL::szOldCode,
      sizeof ST_ORVEK_TBL::szPostalCode, sizeof ST_ORVEK_TBL::szPrefKana,
      sizeof ST_ORVEK_TBL::szCityKana,   sizeof ST_ORVEK_TBL::szTownKana,
      sizeof ST_ORVEK_TBL::szPref,       sizeof ST_ORVEK_TBL::szCity,
      sizeof ST_ORVEK_TBL::szTown};
  FieldText* const wanted[] = {nullptr, nullptr,       &fields->code, nullptr,      nullptr,
                               nullptr, &fields->pref, &fields->city, &fields->town};
  const std::size_t size = std::min(length, kLineBufferSize);
  ColumnEnds ends(data, size);
  std::size_t read = 0;
  bool ended = false;  // at the end of the text or at a NUL: the other fields are empty
  for (std::size_t column = 0; column < std::size(kSizes); ++column) {
    std::size_t end = read;
    if (!ended) {
      end = ends.Next();
      ended = end == size || data[end] == '\0';
    }
    if (wanted[column] != nullptr) {
      *wanted[column] = {data + read, std::min(end - read, kSizes[column] - 1)};
    }
    read = ended ? end : end + 1;
  }
}

}  // namespace orvek::detail
