// Code page 932 (Shift-JIS as Windows writes it) and its conversions. Text inside the program
// is CP932 bytes; these functions are used only where text meets the outside world.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// True for a byte that starts a double-byte CP932 character.
constexpr bool IsCp932LeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// CP932 bytes to UTF-8. Bytes that are not valid CP932 (a double-byte character cut in half,
// an unassigned code) each become U+FFFD; NUL bytes are kept.
std::string Cp932ToUtf8(std::string_view cp932);

// UTF-8 to CP932, or nothing when a character has no CP932 form or the input is not UTF-8.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

// Text in the encoding of the current locale (LC_CTYPE), for the terminal and stderr.
std::string Cp932ToLocale(std::string_view cp932);
std::optional<std::string> LocaleToCp932(std::string_view text);

}  // namespace platform
