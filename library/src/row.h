// The result row: the text a search puts into the caller's list box.
#pragma once

#include <cstddef>

#include "orvek/orvek.h"

namespace orvek::detail {

// The row is composed in, and read back from the list into, buffers of this size; the
// longest row a record allows is 130 bytes.
inline constexpr std::size_t kRowBufferSize = 300;

// fnCreateString: "postal code", two spaces, prefecture, padding, two spaces, city, padding,
// town area, all with the quotes that the record keeps.
void CreateRow(const ST_ORVEK_TBL& record, char (&row)[kRowBufferSize]);

// fnDeleteTen: removes every double-quote byte from the NUL-terminated row in place.
void DeleteQuotes(char* row);

}  // namespace orvek::detail
