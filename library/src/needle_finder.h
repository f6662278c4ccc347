// Finding a search key as a substring of a block of the data file.
#pragma once

#include <cstddef>

#include "simd.h"

namespace orvek::detail {

class NeedleFinder {
 public:
  // needle: non-empty and NUL-terminated; it must outlive the finder.
  NeedleFinder(const char* needle, Simd simd);

  // The first occurrence of the needle that lies wholly in [begin, end), or nullptr.
  const char* Find(const char* begin, const char* end) const;

 private:
  const char* needle_;
  std::size_t length_;
  // Two bytes of the needle that are tested at 16 or 32 positions at once; only where both
  // agree is the whole needle compared.
  std::size_t first_;
  std::size_t second_;
  bool avx2_;
};

}  // namespace orvek::detail
