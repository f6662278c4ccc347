// Cuts a result row back into prefecture, city and town area at the runs of spaces between
// them.
#pragma once

#include <cstddef>

#include "row_layout.h"

class CRowSplitter {
 public:
  // Sizes of the destinations: the prefecture's column and its NUL, and the city box's 40
  // bytes and a NUL. The town area takes the rest of the row, so its destination holds a
  // whole row.
  static constexpr std::size_t kRowSize = orvek::row_layout::kRowBufferSize;
  static constexpr std::size_t kPrefSize = orvek::row_layout::kPrefWidth + 1;
  static constexpr std::size_t kCitySize = 41;
  static constexpr std::size_t kTownSize = kRowSize;

  CRowSplitter() = default;
  virtual ~CRowSplitter() = default;

  // Reads row (never changed) and writes only the destinations that the row reaches: the
  // prefecture and the city as fixed-length pieces from their first byte, the town area as
  // the rest of the row from the last word that starts after the city.
  void SplitRow(const char* row, char* pref, char* city, char* town);
};
