// Conversions through the system's own code-page tables. Text that is not valid CP932 is
// converted character by character, so that only the broken character becomes U+FFFD, as
// with the core's table.
#include "platform/encoding.h"

#include "platform/wintypes.h"

namespace platform {
namespace {

constexpr UINT kCp932 = 932;

std::wstring ToWide(UINT code_page, std::string_view text, DWORD flags) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = ::MultiByteToWideChar(code_page, flags, text.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(code_page, flags, text.data(), size, wide.data(), length);
  return wide;
}

// Nothing when a character has no form in the code page.
std::optional<std::string> FromWide(UINT code_page, std::wstring_view wide) {
  if (wide.empty()) return std::string();
  const int size = static_cast<int>(wide.size());
  BOOL lossy = FALSE;
  // The UTF-8 code page takes neither a default character nor the question about it.
  const bool utf8 = code_page == CP_UTF8;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  const int length = ::WideCharToMultiByte(code_page, flags, wide.data(), size, nullptr, 0, nullptr,
                                           utf8 ? nullptr : &lossy);
  if (length <= 0 || lossy) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(code_page, flags, wide.data(), size, bytes.data(), length, nullptr,
                        utf8 ? nullptr : &lossy);
  if (lossy) return std::nullopt;
  return bytes;
}

// CP932 to UTF-16; a byte sequence that is no CP932 character becomes U+FFFD.
std::wstring Cp932ToWide(std::string_view cp932) {
  std::wstring whole = ToWide(kCp932, cp932, MB_ERR_INVALID_CHARS);
  if (!whole.empty() || cp932.empty()) return whole;
  std::wstring wide;
  wide.reserve(cp932.size());
  for (std::size_t i = 0; i < cp932.size();) {
    const bool lead = IsCp932LeadByte(static_cast<unsigned char>(cp932[i]));
    const std::size_t width = lead && i + 1 < cp932.size() ? 2 : 1;
    std::wstring one = (lead && width == 1)
                           ? std::wstring()
                           : ToWide(kCp932, cp932.substr(i, width), MB_ERR_INVALID_CHARS);
    if (one.empty() && width == 2) {
      // A lead byte whose trail is no trail: the lead alone is broken, the next byte stands.
      wide += L'\xFFFD';
      ++i;
      continue;
    }
    wide += one.empty() ? std::wstring(1, L'\xFFFD') : one;
    i += width;
  }
  return wide;
}

// The code page that text for the console is written in: the console's own, or the ANSI
// code page when the output goes to a file or pipe.
UINT OutputCodePage() {
  const UINT console = ::GetConsoleOutputCP();
  return console != 0 ? console : ::GetACP();
}

}  // namespace

std::string Cp932ToUtf8(std::string_view cp932) {
  return FromWide(CP_UTF8, Cp932ToWide(cp932)).value_or(std::string());
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
  if (utf8.empty()) return std::string();
  const std::wstring wide = ToWide(CP_UTF8, utf8, MB_ERR_INVALID_CHARS);
  if (wide.empty()) return std::nullopt;
  return FromWide(kCp932, wide);
}

std::string Cp932ToLocale(std::string_view cp932) {
  const UINT code_page = OutputCodePage();
  if (code_page == kCp932) return std::string(cp932);
  const std::wstring wide = Cp932ToWide(cp932);
  // A character the console cannot show becomes its default character rather than nothing.
  const int size = static_cast<int>(wide.size());
  const int length =
      ::WideCharToMultiByte(code_page, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return std::string();
  std::string bytes(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(code_page, 0, wide.data(), size, bytes.data(), length, nullptr, nullptr);
  return bytes;
}

std::optional<std::string> LocaleToCp932(std::string_view text) {
  // Arguments arrive in the ANSI code page.
  const UINT code_page = ::GetACP();
  if (code_page == kCp932) return std::string(text);
  if (text.empty()) return std::string();
  const std::wstring wide = ToWide(code_page, text, MB_ERR_INVALID_CHARS);
  if (wide.empty()) return std::nullopt;
  return FromWide(kCp932, wide);
}

}  // namespace platform
