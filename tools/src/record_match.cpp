#include "record_match.h"

#include <algorithm>

#include "kana_width.h"

namespace orvek_cli {
namespace {

// A find on characters, not bytes: the second byte of one CP932 character and the first of
// the next never make a match.
bool ContainsChars(std::string_view text, std::string_view word) {
  if (word.empty()) return true;
  for (std::size_t i = 0; i + word.size() <= text.size(); i += Cp932CharLength(text, i)) {
    if (text.compare(i, word.size(), word) == 0) return true;
  }
  return false;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// "100", "1000001" or "100-00": the digits, when the word can start a postal code.
std::string CodePrefix(const std::string& half_width) {
  std::string digits;
  for (std::size_t i = 0; i < half_width.size(); ++i) {
    const char c = half_width[i];
    if (IsDigit(c)) {
      digits += c;
    } else if (!(c == '-' && i == 3 && digits.size() == 3)) {
      return {};
    }
  }
  return digits.size() <= 7 ? digits : std::string();
}

std::string Quoted(const std::string& name) {
  return '"' + name + '"';
}

}  // namespace

std::vector<FindWord> FindWords(const std::vector<std::string>& words) {
  std::vector<FindWord> forms;
  for (const std::string& word : words) {
    FindWord form;
    form.address = ToFullWidth(word);
    bool complete = false;
    const std::string half = ToHalfWidth(word, &complete);
    if (complete) form.reading = half;
    form.code_prefix = CodePrefix(half);
    forms.push_back(std::move(form));
  }
  return forms;
}

bool FindMatches(const std::vector<FindWord>& words, const Record& record) {
  const std::string address = ToFullWidth(record[kPrefecture] + record[kCity] + record[kTown]);
  const std::string reading =
      ToHalfWidth(record[kPrefectureKana] + record[kCityKana] + record[kTownKana]);
  for (const FindWord& word : words) {
    const bool found =
        ContainsChars(address, word.address) ||
        (!word.reading.empty() && ContainsChars(reading, word.reading)) ||
        (!word.code_prefix.empty() && record[kPostalCode].starts_with(word.code_prefix));
    if (!found) return false;
  }
  return true;
}

Screen FindScreen(const std::vector<FindWord>& words) {
  const FindWord* rarest = nullptr;
  std::size_t rarest_length = 0;
  for (const FindWord& word : words) {
    std::size_t shortest = word.address.size();
    if (!word.reading.empty()) shortest = std::min(shortest, word.reading.size());
    if (!word.code_prefix.empty()) shortest = std::min(shortest, word.code_prefix.size() + 1);
    if (rarest == nullptr || shortest > rarest_length) {
      rarest = &word;
      rarest_length = shortest;
    }
  }
  Screen screen;
  if (rarest == nullptr) return screen;
  screen.needles.push_back(rarest->address);
  if (!rarest->reading.empty()) screen.needles.push_back(rarest->reading);
  // The code column is quoted: the quote keeps the digits from matching everywhere.
  if (!rarest->code_prefix.empty()) screen.needles.push_back('"' + rarest->code_prefix);
  return screen;
}

bool AddressMatches(const AddressKeys& keys, const Record& record) {
  const bool pref = keys.pref == record[kPrefecture];
  const bool city = keys.city == record[kCity];
  const bool town = keys.town == record[kTown];
  switch (keys.mode) {
    case 1:
      return pref && city && town;
    case 2:
      return pref && city;
    case 3:
      return pref && town;
    case 4:
      return city && town;
    case 5:
      return pref || city || town;
    default:
      return false;
  }
}

Screen AddressScreen(const AddressKeys& keys) {
  // A line can only match through a name it holds, quotes and all.
  Screen screen;
  switch (keys.mode) {
    case 1:
    case 2:
    case 3:
      screen.needles.push_back(Quoted(keys.pref));
      break;
    case 4:
      screen.needles.push_back(Quoted(keys.city));
      break;
    case 5:
      // An empty key equals an empty column, which no needle can find: read every line then.
      if (keys.pref.empty() || keys.city.empty() || keys.town.empty()) return Screen{};
      screen.needles = {Quoted(keys.pref), Quoted(keys.city), Quoted(keys.town)};
      break;
    default:
      break;
  }
  return screen;
}

}  // namespace orvek_cli
