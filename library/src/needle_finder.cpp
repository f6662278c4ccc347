#include "needle_finder.h"

#include <immintrin.h>

#include <cstdint>
#include <cstring>

#include "byte_search.h"

namespace orvek::detail {
namespace {

struct Needle {
  const char* text;
  std::size_t length;
  std::size_t first;
  std::size_t second;
};

const char* FindTail(const char* p, const char* end, const Needle& needle) {
  if (static_cast<std::size_t>(end - p) < needle.length) return nullptr;
  return FindBytes(p, static_cast<std::size_t>(end - p), needle.text, needle.length);
}

const char* FindSse2(const char* p, const char* end, const Needle& needle) {
  const __m128i first = _mm_set1_epi8(needle.text[needle.first]);
  const __m128i second = _mm_set1_epi8(needle.text[needle.second]);
  // Every load and every compared needle stays below end.
  while (static_cast<std::size_t>(end - p) >= needle.length + 15) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + needle.first));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + needle.second));
    auto mask = static_cast<std::uint32_t>(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, second))));
    while (mask != 0) {
      const char* candidate = p + __builtin_ctz(mask);
      if (std::memcmp(candidate, needle.text, needle.length) == 0) return candidate;
      mask &= mask - 1;
    }
    p += 16;
  }
  return FindTail(p, end, needle);
}

__attribute__((target("avx2"))) const char* FindAvx2(const char* p, const char* end,
                                                     const Needle& needle) {
  const __m256i first = _mm256_set1_epi8(needle.text[needle.first]);
  const __m256i second = _mm256_set1_epi8(needle.text[needle.second]);
  while (static_cast<std::size_t>(end - p) >= needle.length + 31) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + needle.first));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + needle.second));
    auto mask = static_cast<std::uint32_t>(_mm256_movemask_epi8(
        _mm256_and_si256(_mm256_cmpeq_epi8(a, first), _mm256_cmpeq_epi8(b, second))));
    while (mask != 0) {
      const char* candidate = p + __builtin_ctz(mask);
      if (std::memcmp(candidate, needle.text, needle.length) == 0) return candidate;
      mask &= mask - 1;
    }
    p += 32;
  }
  return FindSse2(p, end, needle);
}

}  // namespace

NeedleFinder::NeedleFinder(const char* needle, Simd simd)
    : needle_(needle), length_(std::strlen(needle)), first_(0), second_(0), avx2_(UseAvx2(simd)) {
  // The keys come quoted, and quotes are everywhere in the file: test the bytes inside them.
  if (length_ >= 4) {
    first_ = 1;
    second_ = length_ - 2;
  } else {
    second_ = length_ - 1;
  }
}

const char* NeedleFinder::Find(const char* begin, const char* end) const {
  if (length_ == 1) {
    return static_cast<const char*>(
        std::memchr(begin, needle_[0], static_cast<std::size_t>(end - begin)));
  }
  const Needle needle{needle_, length_, first_, second_};
  return avx2_ ? FindAvx2(begin, end, needle) : FindSse2(begin, end, needle);
}

}  // namespace orvek::detail
