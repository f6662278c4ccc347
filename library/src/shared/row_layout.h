// The columns of a result row: written by the library (and by the orvek command for the
// records it reads itself), cut again by the program's row splitter. As a person sees it:
//
//   0   the postal code, three digits, a hyphen, four digits
//   8   two spaces
//   10  the prefecture, padded with spaces to 10 bytes, then two spaces
//   22  the city, padded with spaces to 22 bytes
//   44  the town area, to the end of the row
//
// The library pads each name while it still has its double quotes and takes the quotes out
// afterwards, so a name of an odd number of bytes leaves its column one byte narrower and
// moves the rest of the row left. The padding is spaces only: a reader finds the fields by
// the spaces between them.
#pragma once

#include <cstddef>

namespace orvek::row_layout {

inline constexpr std::size_t kCodeHead = 3;  // digits before the hyphen
inline constexpr std::size_t kCodeTail = 4;  // digits after it
inline constexpr char kCodeHyphen = '-';
inline constexpr std::size_t kCodeWidth = kCodeHead + 1 + kCodeTail;

// Between the code and the prefecture, and between the prefecture's column and the city.
inline constexpr char kSeparator[] = "  ";
inline constexpr std::size_t kSeparatorWidth = sizeof kSeparator - 1;

inline constexpr std::size_t kPrefColumn = kCodeWidth + kSeparatorWidth;
inline constexpr std::size_t kPrefWidth = 10;
inline constexpr std::size_t kCityColumn = kPrefColumn + kPrefWidth + kSeparatorWidth;
inline constexpr std::size_t kCityWidth = 22;
inline constexpr std::size_t kTownColumn = kCityColumn + kCityWidth;

static_assert(kPrefColumn == 10 && kCityColumn == 22 && kTownColumn == 44);

// A row is composed in, and read back from a list into, a buffer of this size; the longest
// row that a record allows is 130 bytes.
inline constexpr std::size_t kRowBufferSize = 300;

// The spaces after a name of `quoted` bytes, its two quotes counted, in a column `width`
// bytes wide: pairs of spaces, (width + 2 - quoted) / 2 of them, while the quoted name is no
// wider than the column; none after a wider one. Once the quotes are gone, a name of an even
// number of bytes and its padding fill the column exactly.
constexpr std::size_t PaddingAfter(std::size_t quoted, std::size_t width) {
  return quoted <= width ? (width + 2 - quoted) / 2 * 2 : 0;
}

// The most padding a name is given: one with no bytes at all, not even its quotes, in the
// city's column.
inline constexpr std::size_t kMostPadding = PaddingAfter(0, kCityWidth);

}  // namespace orvek::row_layout
