#include "platform/encoding.h"

#include <iconv.h>
#include <langinfo.h>

#include <cerrno>
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
char* PutUtf8(char* out, unsigned code) {
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

std::string Cp932ToUtf8(std::string_view cp932) {
  // Table-driven: rows of thousands of search results are converted on their way out, and a
  // converter call per row costs far more than the lookups. A byte that starts no valid
  // character becomes U+FFFD and the next byte is read afresh, as with the converter.
  // One byte gives at most three bytes of UTF-8 (a half-width katakana or U+FFFD).
  std::string out(cp932.size() * 3, '\0');
  char* put = out.data();
  const auto* bytes = reinterpret_cast<const unsigned char*>(cp932.data());
  const std::size_t size = cp932.size();
  for (std::size_t i = 0; i < size;) {
    const unsigned char lead = bytes[i];
    unsigned code = kSingle[lead];
    std::size_t used = 1;
    if (code == 0xFFFE) {
      code = 0xFFFF;
      if (i + 1 < size) {
        const unsigned two = kDouble[kLeadIndex[lead]][bytes[i + 1]];
        if (two != 0xFFFF) {
          code = two;
          used = 2;
        }
      }
    }
    put = PutUtf8(put, code == 0xFFFF ? 0xFFFD : code);
    i += used;
  }
  out.resize(static_cast<std::size_t>(put - out.data()));
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
