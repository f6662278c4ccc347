// Half- and full-width forms of CP932 text, so that what a person types and what the data file
// holds compare equal whichever width either side uses. Works on CP932 bytes throughout; kanji
// and every character without another width pass through unchanged.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/encoding.h"

namespace orvek_cli {

// The full-width form, as the file writes names: ASCII letters, digits and signs, and
// half-width katakana (a sound mark joined to its kana: ｶﾞ is ガ) become full-width.
std::string ToFullWidth(std::string_view cp932);

// The half-width form, as the file writes readings: full-width ASCII becomes ASCII, hiragana
// and katakana become half-width katakana (ガ is ｶﾞ; small kana stay small where half-width
// has them, ヮ ヵ ヶ become ﾜ ｶ ｹ), and ー becomes ｰ. Sets *complete to false when a character
// had no half-width form (a kanji, for instance) and was kept as it was.
std::string ToHalfWidth(std::string_view cp932, bool* complete = nullptr);

// The form in which find compares names: full-width, hiragana as katakana (ゝ ゞ as ヽ ヾ),
// and ガ, ケ, ヶ and ヵ (が and け with them) as one character, ヶ, since Japan Post writes the
// same place with any of them (霞ヶ関, 霞ケ関, 霞が関). Kanji stay as they are.
std::string NameForm(std::string_view cp932);

// Every full-width character whose name form is that of the character given (ひ and ヒ for
// ヒ; が, け, ガ, ケ, ヵ and ヶ for ヶ), the character itself first: the spellings the file
// may have where a name holds it.
std::vector<std::string> NameSpellings(std::string_view cp932_char);

// A find word in UTF-8 with the kana that CP932 lacks written as those it has: ゔ as ヴ, ゕ as
// ヵ, ゖ as ヶ. Other text is left as it is.
std::string WithCp932Kana(std::string_view utf8);

// Length in bytes of the CP932 character that starts at text[at]: 2 for a lead byte followed
// by another byte, else 1. Inline: every walk over a name takes it once per character.
inline std::size_t Cp932CharLength(std::string_view text, std::size_t at) {
  return platform::IsCp932LeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size()
             ? 2
             : 1;
}

// Length in bytes of the character that starts at text[at] in a reading: as Cp932CharLength,
// except that a half-width kana and the sound mark after it (ｶﾞ, ﾊﾟ) are one character, so
// that ｶ is no part of ｶﾞ.
inline std::size_t ReadingCharLength(std::string_view text, std::size_t at) {
  const auto byte = static_cast<unsigned char>(text[at]);
  if (at + 1 >= text.size()) return 1;
  if (platform::IsCp932LeadByte(byte)) return 2;
  const auto next = static_cast<unsigned char>(text[at + 1]);
  return byte >= 0xA6 && byte <= 0xDD && (next == 0xDE || next == 0xDF) ? 2 : 1;
}

}  // namespace orvek_cli
