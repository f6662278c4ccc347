#include "record_match.h"

#include <algorithm>

#include "kana_width.h"
#include "search_keys.h"

namespace orvek_cli {
namespace {

using orvek::search_keys::Quoted;

// A find on characters, not bytes: the word must start and end where characters of the text
// do, so the second byte of one CP932 character and the first of the next never make a match,
// and in a reading ｶ never matches the first half of ｶﾞ. The bytes are found first; only where
// they are is the text walked, to see whether characters start and end there.
template <std::size_t (*CharLength)(std::string_view, std::size_t)>
bool ContainsChars(std::string_view text, std::string_view word) {
  if (word.empty()) return true;
  std::size_t boundary = 0;  // a character start, never past the place looked at
  for (std::size_t at = text.find(word); at != std::string_view::npos;
       at = text.find(word, at + 1)) {
    while (boundary < at) boundary += CharLength(text, boundary);
    if (boundary != at) continue;
    std::size_t end = at;
    while (end < at + word.size()) end += CharLength(text, end);
    if (end == at + word.size()) return true;
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

}  // namespace

std::vector<FindWord> FindWords(const std::vector<std::string>& words) {
  std::vector<FindWord> forms;
  for (const std::string& word : words) {
    FindWord form;
    form.address = NameForm(word);
    bool complete = false;
    const std::string half = ToHalfWidth(word, &complete);
    if (complete) form.reading = half;
    form.code_prefix = CodePrefix(half);
    forms.push_back(std::move(form));
  }
  return forms;
}

bool FindMatches(const std::vector<FindWord>& words, const Record& record) {
  const std::string address = NameForm(record[kPrefecture] + record[kCity] + record[kTown]);
  std::string reading;  // made only for a word that the address and the code do not hold
  bool reading_made = false;
  for (const FindWord& word : words) {
    if (!word.code_prefix.empty() && record[kPostalCode].starts_with(word.code_prefix)) continue;
    if (ContainsChars<Cp932CharLength>(address, word.address)) continue;
    if (word.reading.empty()) return false;
    if (!reading_made) {
      reading = ToHalfWidth(record[kPrefectureKana] + record[kCityKana] + record[kTownKana]);
      reading_made = true;
    }
    if (!ContainsChars<ReadingCharLength>(reading, word.reading)) return false;
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
  // The file may spell each kana of a name in any of the ways that share its name form.
  Needle address;
  for (std::size_t i = 0; i < rarest->address.size();) {
    const std::size_t length = Cp932CharLength(rarest->address, i);
    address.chars.push_back(NameSpellings(std::string_view(rarest->address).substr(i, length)));
    i += length;
  }
  screen.needles.push_back(std::move(address));
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
      // The names given; a blank one would match only an empty column, which Japan Post's
      // file never has, and no screen could find it without parsing every line.
      return (pref && !keys.pref.empty()) || (city && !keys.city.empty()) ||
             (town && !keys.town.empty());
    default:
      return false;
  }
}

Screen AddressScreen(const AddressKeys& keys) {
  // A line can only match through a name it holds, quotes and all: for modes 1 to 4 one of
  // the names that must all be equal, for mode 5 any name given.
  const std::string* required[3] = {};
  switch (keys.mode) {
    case 1:
      required[0] = &keys.pref, required[1] = &keys.city, required[2] = &keys.town;
      break;
    case 2:
      required[0] = &keys.pref, required[1] = &keys.city;
      break;
    case 3:
      required[0] = &keys.pref, required[1] = &keys.town;
      break;
    case 4:
      required[0] = &keys.city, required[1] = &keys.town;
      break;
    case 5: {
      Screen screen;
      for (const std::string* name : {&keys.pref, &keys.city, &keys.town}) {
        if (!name->empty()) screen.needles.push_back(Quoted(*name));
      }
      return screen;
    }
    default:
      return Screen{{"\n\n"}};  // matches nothing: pass over every line
  }
  // The town area last: a joined one is on no single line (split records are read anyway).
  for (const std::string* name : required) {
    if (name != nullptr && !name->empty() && name != &keys.town) return Screen{{Quoted(*name)}};
  }
  for (const std::string* name : required) {
    if (name != nullptr && !name->empty()) return Screen{{Quoted(*name)}};
  }
  return Screen{{Quoted("")}};
}

}  // namespace orvek_cli
