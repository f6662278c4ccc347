// The result row: the text a search puts into the caller's list box.
#pragma once

#include <cstddef>

#include "orvek/orvek.h"
#include "record.h"
#include "shared/row_layout.h"
#include "simd.h"

namespace orvek::detail {

using row_layout::kRowBufferSize;

// fnCreateString: "postal code", two spaces, prefecture, padding, two spaces, city, padding,
// town area, all with the quotes that the record keeps.
void CreateRow(const ST_ORVEK_TBL& record, char (&row)[kRowBufferSize]);
// The same row from the fields where they lie in the piece, for the record that ParseLine
// would fill from it (whose bytes behind each field's text are NULs).
void CreateRow(const RowFields& fields, char (&row)[kRowBufferSize]);

// fnDeleteTen: removes every double-quote byte from the NUL-terminated row in place.
// kBest moves sixteen bytes at a time where the processor has SSSE3.
void DeleteQuotes(char* row, Simd simd);
inline void DeleteQuotes(char* row) {
  DeleteQuotes(row, Simd::kBest);
}

}  // namespace orvek::detail
