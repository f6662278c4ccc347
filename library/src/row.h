// The result row: the text a search puts into the caller's list box.
#pragma once

#include <cstddef>

#include "orvek/orvek.h"
#include "simd.h"

namespace orvek::detail {

// The row is composed in, and read back from the list into, buffers of this size; the
// longest row a record allows is 130 bytes.
inline constexpr std::size_t kRowBufferSize = 300;

// fnCreateString: "postal code", two spaces, prefecture, padding, two spaces, city, padding,
// town area, all with the quotes that the record keeps.
void CreateRow(const ST_ORVEK_TBL& record, char (&row)[kRowBufferSize]);

// fnDeleteTen: removes every double-quote byte from the NUL-terminated row in place.
// kBest moves sixteen bytes at a time where the processor has SSSE3.
void DeleteQuotes(char* row, Simd simd);
inline void DeleteQuotes(char* row) {
  DeleteQuotes(row, Simd::kBest);
}

}  // namespace orvek::detail
