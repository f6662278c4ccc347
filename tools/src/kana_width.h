// Half- and full-width forms of CP932 text, so that what a person types and what the data file
// holds compare equal whichever width either side uses. Works on CP932 bytes throughout; kanji
// and every character without another width pass through unchanged.
#pragma once

#include <string>
#include <string_view>

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

// Length in bytes of the CP932 character that starts at text[at]: 2 for a lead byte followed
// by another byte, else 1. Inline: every walk over a name takes it once per character.
inline std::size_t Cp932CharLength(std::string_view text, std::size_t at) {
  return platform::IsCp932LeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size()
             ? 2
             : 1;
}

}  // namespace orvek_cli
