#include "search_keys.h"

namespace orvek::search_keys {

std::string Quoted(std::string_view text) {
  std::string quoted;
  quoted.reserve(text.size() + 2);
  quoted += '"';
  quoted += text;
  quoted += '"';
  return quoted;
}

std::string NameKey(std::string_view name) {
  return name.empty() ? std::string() : Quoted(name);
}

std::string CodeKey(std::string_view digits) {
  // A shorter code leaves the bytes up to the closing quote's place empty, and the library,
  // which reads a key up to its first NUL, never comes to the quote.
  if (digits.size() >= kCodeDigits) return Quoted(digits.substr(0, kCodeDigits));
  return '"' + std::string(digits);
}

int MatchMode(bool pref, bool city, bool town) {
  if (pref && city && town) return 1;
  if (pref && city) return 2;
  if (pref && town) return 3;
  if (city && town) return 4;
  if (pref || city || town) return 5;
  return 0;
}

}  // namespace orvek::search_keys
