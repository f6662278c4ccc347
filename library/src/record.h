// Cutting a data-file line into the fixed-width record.
#pragma once

#include <cstddef>
#include <cstring>

#include "orvek/orvek.h"

namespace orvek::detail {

// The line buffer of one read: at most 499 bytes of a line and the NUL.
inline constexpr std::size_t kLineBufferSize = 500;
inline constexpr std::size_t kPieceBytes = kLineBufferSize - 1;

// strncpy: at most size bytes of source, stopping at its NUL, and NUL bytes up to size. Cutting
// is what the callers want here, which is why this is spelt out rather than left to strncpy
// and its truncation warnings.
inline void CopyPadded(char* destination, const char* source, std::size_t size) {
  const std::size_t length = strnlen(source, size);
  std::memcpy(destination, source, length);
  std::memset(destination + length, 0, size - length);
}

// fnGetData: copies the line into a 500-byte work buffer, turns commas and LFs into NULs and
// takes the first nine columns, each cut to its field's size - 1.
void ParseLine(const char* line, ST_ORVEK_TBL* record);

// A field's text where it lies in a piece: the bytes that ParseLine would copy into it.
struct FieldText {
  const char* data;
  std::size_t length;
};

// The four fields that a search compares and shows.
struct RowFields {
  FieldText code;  // szPostalCode
  FieldText pref;  // szPref
  FieldText city;  // szCity
  FieldText town;  // szTown
};

// The szPostalCode, szPref, szCity and szTown that ParseLine gives for data[0, length)
// followed by a NUL, left in the piece rather than copied, for a search looks at them once:
// the text ends at the first NUL or after 500 bytes, columns end at ',' and '\n', and a
// column the text does not reach is empty.
void ParseRowFields(const char* data, std::size_t length, RowFields* fields);

}  // namespace orvek::detail
