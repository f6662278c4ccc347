// memrchr and memmem where the C library has them (glibc), and the same searches written out
// where it has not (Windows' runtime).
#pragma once

#include <cstddef>
#include <cstring>

namespace orvek::detail {

// The last byte equal to value in [data, data + size), or nullptr.
inline const char* FindLastByte(const char* data, char value, std::size_t size) {
#ifdef __GLIBC__
  return static_cast<const char*>(::memrchr(data, value, size));
#else
  while (size > 0) {
    if (data[--size] == value) return data + size;
  }
  return nullptr;
#endif
}

// The first occurrence of needle[0, length) in [data, data + size), or nullptr.
inline const char* FindBytes(const char* data, std::size_t size, const char* needle,
                             std::size_t length) {
#ifdef __GLIBC__
  return static_cast<const char*>(::memmem(data, size, needle, length));
#else
  if (length == 0) return data;
  const char* const end = data + size;
  for (const char* p = data; static_cast<std::size_t>(end - p) >= length; ++p) {
    p = static_cast<const char*>(std::memchr(p, needle[0], static_cast<std::size_t>(end - p)));
    if (p == nullptr || static_cast<std::size_t>(end - p) < length) return nullptr;
    if (std::memcmp(p, needle, length) == 0) return p;
  }
  return nullptr;
#endif
}

}  // namespace orvek::detail
