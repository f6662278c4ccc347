// Cuts a result row back into prefecture, city and town area at the runs of spaces between
// them.
#pragma once

#include <cstddef>

class CRowSplitter {
 public:
  // Sizes of the destinations. The town area takes the rest of the row, so its destination
  // holds a whole row.
  static constexpr std::size_t kRowSize = 300;
  static constexpr std::size_t kPrefSize = 11;
  static constexpr std::size_t kCitySize = 41;
  static constexpr std::size_t kTownSize = kRowSize;

  CRowSplitter() = default;
  virtual ~CRowSplitter() = default;

  // Reads row (never changed) and writes only the destinations that the row reaches: the
  // prefecture and the city as fixed-length pieces from their first byte, the town area as
  // the rest of the row from the last word that starts after the city.
  void SplitRow(const char* row, char* pref, char* city, char* town);
};
