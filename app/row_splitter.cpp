#include "row_splitter.h"

#include <cstring>

void CRowSplitter::SplitRow(const char* row, char* pref, char* city, char* town) {
  // A row longer than the buffer is cut, never copied past it.
  char work[kRowSize];
  std::strncpy(work, row, sizeof work);
  work[sizeof work - 1] = '\0';
  const std::size_t length = std::strlen(work);
  // The names start where the prefecture's column does, after the code and its separator.
  constexpr std::size_t kNames = orvek::row_layout::kPrefColumn;
  if (length <= kNames) return;

  enum class Next { kPref, kCity, kTown };
  Next next = Next::kPref;
  bool in_word = false;
  std::size_t word_start = 0;
  for (std::size_t pos = kNames; pos < length; ++pos) {
    if (work[pos] != ' ') {
      if (!in_word) {
        in_word = true;
        word_start = pos;
        if (next == Next::kTown) std::memcpy(town, work + pos, length - pos + 1);
      }
    } else if (in_word) {
      if (next == Next::kPref) {
        std::strncpy(pref, work + word_start, kPrefSize);
        pref[kPrefSize - 1] = '\0';
        next = Next::kCity;
      } else if (next == Next::kCity) {
        std::strncpy(city, work + word_start, kCitySize);
        city[kCitySize - 1] = '\0';
        next = Next::kTown;
      }
      in_word = false;
    }
  }
}
