// Spotting the lines of a block whose columns may not all be filled.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "simd.h"

namespace orvek::detail {

// A line of a block: the offsets of its first byte and of its LF.
struct LineSpan {
  std::uint32_t begin;
  std::uint32_t lf;

  friend bool operator<(const LineSpan& a, const LineSpan& b) { return a.begin < b.begin; }
  friend bool operator==(const LineSpan& a, const LineSpan& b) { return a.begin == b.begin; }
};

// Appends every line in base[begin, end) that may yield an empty field in columns 2 to 9:
// one with fewer than eight commas, a comma followed by a comma, CR or LF, a NUL byte, or
// more than one piece's worth of bytes. Each line ends with its LF, and end - 1 is an LF.
// A line not listed is one piece whose columns 2 to 9 all hold at least one byte.
void FindIrregularLines(const char* base, std::size_t begin, std::size_t end,
                        std::vector<LineSpan>& lines, Simd simd = Simd::kBest);

}  // namespace orvek::detail
