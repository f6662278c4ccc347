// Which records a search wants: find's words, a postal code, or the library's match modes
// over names; each also says which bytes a line needs to be worth reading (word_screen.h).
#pragma once

#include <string>
#include <vector>

#include "whole_record.h"
#include "word_screen.h"

namespace orvek_cli {

// One word of find, in the forms it is compared in.
struct FindWord {
  std::string address;      // the name form (kana_width.h): full-width, kana folded
  std::string reading;      // half-width katakana, as the file writes readings; empty when
                            // the word has no reading form (it holds a kanji)
  std::string code_prefix;  // the digits a postal code may start with; empty if no such word
};

// Each word's forms; words are CP932.
std::vector<FindWord> FindWords(const std::vector<std::string>& words);

// True when every word occurs in the record's address (prefecture, city and town area as one
// text, in the name form) or in its reading (the three readings as one, a kana and its sound
// mark being one character), or starts its postal code.
bool FindMatches(const std::vector<FindWord>& words, const Record& record);

// The needles of the word that is likely rarest in the file: the longest one.
Screen FindScreen(const std::vector<FindWord>& words);

// The library's address match (mode 1 to 5) on the record's names; keys are unquoted CP932,
// empty for a name not given.
struct AddressKeys {
  std::string pref, city, town;
  int mode = 0;
};
bool AddressMatches(const AddressKeys& keys, const Record& record);
Screen AddressScreen(const AddressKeys& keys);

}  // namespace orvek_cli
