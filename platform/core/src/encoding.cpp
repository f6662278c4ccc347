#include "platform/encoding.h"

#include <iconv.h>
#include <langinfo.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

namespace platform {
namespace {

// Converters are opened once per thread and direction: rows are converted one at a time, and
// opening a converter costs far more than converting a row.
iconv_t OpenConverter(const char* to, const char* from) {
  struct Entry {
    std::string key;
    iconv_t cd;
  };
  struct Cache {
    std::vector<Entry> entries;
    ~Cache() {
      for (auto& e : entries) iconv_close(e.cd);
    }
  };
  thread_local Cache cache;
  std::string key = std::string(to) + "<" + from;
  for (auto& e : cache.entries) {
    if (e.key == key) return e.cd;
  }
  iconv_t cd = iconv_open(to, from);
  if (cd != reinterpret_cast<iconv_t>(-1)) cache.entries.push_back({std::move(key), cd});
  return cd;
}

// One conversion through iconv. With replace set, an input byte that cannot be converted
// becomes U+FFFD (the target must be UTF-8) and conversion goes on; otherwise it fails.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view input,
                                   bool replace) {
  iconv_t cd = OpenConverter(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string out;
  out.reserve(input.size() * 3 / 2 + 4);
  char* in_ptr = const_cast<char*>(input.data());
  std::size_t in_left = input.size();
  char buffer[4096];
  bool ok = true;
  while (in_left > 0) {
    char* out_ptr = buffer;
    std::size_t out_left = sizeof buffer;
    const std::size_t rc = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
    out.append(buffer, static_cast<std::size_t>(out_ptr - buffer));
    if (rc != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    if (!replace) {
      ok = false;
      break;
    }
    out += "\xEF\xBF\xBD";  // U+FFFD
    ++in_ptr;               // EILSEQ or EINVAL (cut at the end): skip one byte
    --in_left;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  if (!ok) return std::nullopt;
  return out;
}

// The C locale's ASCII is taken as UTF-8: a terminal without a locale set is almost always
// a UTF-8 one, and ASCII could not show a single Japanese character.
bool LocaleIsUtf8() {
  const char* codeset = nl_langinfo(CODESET);
  return codeset == nullptr || std::strcmp(codeset, "UTF-8") == 0 ||
         std::strcmp(codeset, "ANSI_X3.4-1968") == 0;
}

}  // namespace

// The decoding table, generated at build time from the same converter (see generator/).
#include "cp932_table.inc"

namespace {
// Writes one BMP character as UTF-8 and returns the position after it.
inline __attribute__((always_inline)) char* PutUtf8(char* out, unsigned code) {
  if (code < 0x80) {
    *out++ = static_cast<char>(code);
  } else if (code < 0x800) {
    *out++ = static_cast<char>(0xC0 | (code >> 6));
    *out++ = static_cast<char>(0x80 | (code & 0x3F));
  } else {
    *out++ = static_cast<char>(0xE0 | (code >> 12));
    *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (code & 0x3F));
  }
  return out;
}
}  // namespace

namespace {
// True when the table keeps every ASCII byte as it is (the system's CP932 does), so that runs
// of them can be copied a word at a time.
bool AsciiUnchanged() {
  static const bool unchanged = [] {
    for (unsigned b = 0; b < 0x80; ++b) {
      if (kSingle[b] != b) return false;
    }
    return true;
  }();
  return unchanged;
}
}  // namespace

std::string Cp932ToUtf8(std::string_view cp932) {
  // Table-driven: rows of thousands of search results are converted on their way out, and a
  // converter call per row costs far more than the lookups. A byte that starts no valid
  // character becomes U+FFFD and the next byte is read afresh, as with the converter.
  // The text is put together in a small buffer and appended a buffer at a time, so that the
  // result is never sized (and its pages touched) for the worst case of three bytes a byte.
  std::string out;
  out.reserve(cp932.size() + cp932.size() / 2);  // two bytes of kanji give three
  char buffer[4096];
  const auto* bytes = reinterpret_cast<const unsigned char*>(cp932.data());
  const std::size_t size = cp932.size();
  const bool ascii_unchanged = AsciiUnchanged();
  for (std::size_t i = 0; i < size;) {
    // A byte gives at most three bytes, and a run of ASCII is stored eight bytes at a time,
    // so this much input fits the buffer; the character that begins last may take one byte
    // beyond it.
    const std::size_t stop = std::min(size, i + (sizeof buffer - 8) / 3 - 1);
    char* put = buffer;
    while (i < stop) {
      if (ascii_unchanged && size - i >= 8) {
        // The ASCII bytes at the front of the next eight (a row's spaces and digits).
        std::uint64_t eight;
        std::memcpy(&eight, bytes + i, 8);
        const std::uint64_t high = eight & 0x8080808080808080ULL;
        const std::size_t ascii =
            high == 0 ? 8 : static_cast<std::size_t>(__builtin_ctzll(high)) / 8;
        if (ascii > 0) {
          std::memcpy(put, &eight, 8);
          put += ascii;
          i += ascii;
          continue;
        }
      }
      const unsigned char lead = bytes[i];
      const unsigned single = kSingle[lead];
      if (single < 0x80) {
        *put++ = static_cast<char>(single);
        ++i;
        continue;
      }
      if (single == 0xFFFE && i + 1 < size) {
        unsigned two = kDouble[kLeadIndex[lead]][bytes[i + 1]];
        if (two != 0xFFFF) {
          // A run of double-byte characters, most of them kanji and kana: three bytes each.
          // kLeadIndex is -1 for every byte that leads none.
          for (;;) {
            if (two >= 0x800) {
              put[0] = static_cast<char>(0xE0 | (two >> 12));
              put[1] = static_cast<char>(0x80 | ((two >> 6) & 0x3F));
              put[2] = static_cast<char>(0x80 | (two & 0x3F));
              put += 3;
            } else {
              put = PutUtf8(put, two);
            }
            i += 2;
            if (i + 1 >= stop) break;
            const int row = kLeadIndex[bytes[i]];
            if (row < 0) break;
            two = kDouble[row][bytes[i + 1]];
            if (two == 0xFFFF) break;
          }
          continue;
        }
      }
      // 0xFFFF: no character; 0xFFFE: a lead byte without a valid second byte.
      put = PutUtf8(put, single >= 0xFFFE ? 0xFFFD : single);
      ++i;
    }
    out.append(buffer, static_cast<std::size_t>(put - buffer));
  }
  return out;
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
  return Convert("CP932", "UTF-8", utf8, false);
}

std::string Cp932ToLocale(std::string_view cp932) {
  std::string utf8 = Cp932ToUtf8(cp932);
  if (LocaleIsUtf8()) return utf8;
  const char* codeset = nl_langinfo(CODESET);
  std::string target = std::string(codeset ? codeset : "ASCII") + "//TRANSLIT";
  return Convert(target.c_str(), "UTF-8", utf8, false).value_or(utf8);
}

std::optional<std::string> LocaleToCp932(std::string_view text) {
  if (LocaleIsUtf8()) return Utf8ToCp932(text);
  const char* codeset = nl_langinfo(CODESET);
  return Convert("CP932", codeset ? codeset : "UTF-8", text, false);
}

}  // namespace platform
