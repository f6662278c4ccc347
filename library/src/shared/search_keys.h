// The keys of the library's two searches, made from what a person gives: the dialogs and the
// orvek command both make them here. The library compares a key byte for byte with a column as
// the data file writes it, so a key is the text between double quotes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvek::search_keys {

// The text between double quotes, as the data file writes a column.
std::string Quoted(std::string_view text);

// The key of a name: the name quoted. A name left empty gives an empty key, which stands for
// a name not given.
std::string NameKey(std::string_view name);

// The key of a search by postal code: a double quote, the digits and a double quote, written
// at the places where seven digits put them. With fewer digits the text ends before the
// closing quote, so that the key matches no record; digits past the seventh are cut.
inline constexpr std::size_t kCodeDigits = 7;
std::string CodeKey(std::string_view digits);

// The match mode of the search by names, by which names are given: 1 all three, 2 prefecture
// and city, 3 prefecture and town area, 4 city and town area, 5 any one alone; 0 for none,
// when there is nothing to search for.
int MatchMode(bool pref, bool city, bool town);

}  // namespace orvek::search_keys
