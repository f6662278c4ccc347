#include "platform/mbstring.h"

#include <cstring>

int _mbscmp(const unsigned char* a, const unsigned char* b) {
  // CP932 orders by byte value within and across characters, so a byte comparison agrees.
  return std::strcmp(reinterpret_cast<const char*>(a), reinterpret_cast<const char*>(b));
}

char* _itoa(int value, char* buffer, int radix) {
  if (radix < 2 || radix > 36) {
    buffer[0] = '\0';
    return buffer;
  }
  char digits[33];
  int n = 0;
  const bool negative = value < 0 && radix == 10;
  // Other bases show the two's complement bits, as the runtime does.
  unsigned int magnitude =
      negative ? 0u - static_cast<unsigned int>(value) : static_cast<unsigned int>(value);
  do {
    const unsigned int digit = magnitude % static_cast<unsigned int>(radix);
    digits[n++] = static_cast<char>(digit < 10 ? '0' + digit : 'a' + digit - 10);
    magnitude /= static_cast<unsigned int>(radix);
  } while (magnitude != 0);
  char* out = buffer;
  if (negative) *out++ = '-';
  while (n > 0) *out++ = digits[--n];
  *out = '\0';
  return buffer;
}

namespace {
int g_mbcp = 0;
}  // namespace

int _setmbcp(int code_page) {
  if (code_page != _MB_CP_ANSI && code_page != 932) return -1;
  g_mbcp = 932;
  return 0;
}

int _getmbcp() {
  return g_mbcp;
}
