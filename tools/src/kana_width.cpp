#include "kana_width.h"

#include <array>
#include <cstdint>

#include "platform/encoding.h"

namespace orvek_cli {
namespace {

// CP932 codes of U+FF01..U+FF5E, the full-width forms of ASCII 0x21..0x7E.
constexpr std::array<std::uint16_t, 94> kFullWidthAscii = {
    0x8149, 0xFA57, 0x8194, 0x8190, 0x8193, 0x8195, 0xFA56, 0x8169, 0x816A, 0x8196, 0x817B, 0x8143,
    0x817C, 0x8144, 0x815E, 0x824F, 0x8250, 0x8251, 0x8252, 0x8253, 0x8254, 0x8255, 0x8256, 0x8257,
    0x8258, 0x8146, 0x8147, 0x8183, 0x8181, 0x8184, 0x8148, 0x8197, 0x8260, 0x8261, 0x8262, 0x8263,
    0x8264, 0x8265, 0x8266, 0x8267, 0x8268, 0x8269, 0x826A, 0x826B, 0x826C, 0x826D, 0x826E, 0x826F,
    0x8270, 0x8271, 0x8272, 0x8273, 0x8274, 0x8275, 0x8276, 0x8277, 0x8278, 0x8279, 0x816D, 0x815F,
    0x816E, 0x814F, 0x8151, 0x814D, 0x8281, 0x8282, 0x8283, 0x8284, 0x8285, 0x8286, 0x8287, 0x8288,
    0x8289, 0x828A, 0x828B, 0x828C, 0x828D, 0x828E, 0x828F, 0x8290, 0x8291, 0x8292, 0x8293, 0x8294,
    0x8295, 0x8296, 0x8297, 0x8298, 0x8299, 0x829A, 0x816F, 0x8162, 0x8170, 0x8160};

// CP932 codes of the full-width forms of the half-width bytes 0xA1..0xDF (｡ to ﾟ).
constexpr std::array<std::uint16_t, 63> kFullWidthKana = {
    0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392, 0x8340, 0x8342, 0x8344, 0x8346, 0x8348,
    0x8383, 0x8385, 0x8387, 0x8362, 0x815B, 0x8341, 0x8343, 0x8345, 0x8347, 0x8349, 0x834A,
    0x834C, 0x834E, 0x8350, 0x8352, 0x8354, 0x8356, 0x8358, 0x835A, 0x835C, 0x835E, 0x8360,
    0x8363, 0x8365, 0x8367, 0x8369, 0x836A, 0x836B, 0x836C, 0x836D, 0x836E, 0x8371, 0x8374,
    0x8377, 0x837A, 0x837D, 0x837E, 0x8380, 0x8381, 0x8382, 0x8384, 0x8386, 0x8388, 0x8389,
    0x838A, 0x838B, 0x838C, 0x838D, 0x838F, 0x8393, 0x814A, 0x814B};

constexpr unsigned char kVoicedMark = 0xDE;      // ﾞ
constexpr unsigned char kSemiVoicedMark = 0xDF;  // ﾟ

// A half-width kana and a sound mark that CP932 writes as one full-width character.
struct Composed {
  unsigned char kana;
  unsigned char mark;
  std::uint16_t full;
};
constexpr Composed kComposed[] = {{0xB3, kVoicedMark, 0x8394},     {0xB6, kVoicedMark, 0x834B},
                                  {0xB7, kVoicedMark, 0x834D},     {0xB8, kVoicedMark, 0x834F},
                                  {0xB9, kVoicedMark, 0x8351},     {0xBA, kVoicedMark, 0x8353},
                                  {0xBB, kVoicedMark, 0x8355},     {0xBC, kVoicedMark, 0x8357},
                                  {0xBD, kVoicedMark, 0x8359},     {0xBE, kVoicedMark, 0x835B},
                                  {0xBF, kVoicedMark, 0x835D},     {0xC0, kVoicedMark, 0x835F},
                                  {0xC1, kVoicedMark, 0x8361},     {0xC2, kVoicedMark, 0x8364},
                                  {0xC3, kVoicedMark, 0x8366},     {0xC4, kVoicedMark, 0x8368},
                                  {0xCA, kVoicedMark, 0x836F},     {0xCB, kVoicedMark, 0x8372},
                                  {0xCC, kVoicedMark, 0x8375},     {0xCD, kVoicedMark, 0x8378},
                                  {0xCE, kVoicedMark, 0x837B},     {0xCA, kSemiVoicedMark, 0x8370},
                                  {0xCB, kSemiVoicedMark, 0x8373}, {0xCC, kSemiVoicedMark, 0x8376},
                                  {0xCD, kSemiVoicedMark, 0x8379}, {0xCE, kSemiVoicedMark, 0x837C}};

// kComposed by kana and mark, for the conversion of every reading: 0 where they compose none.
constexpr std::size_t kHalfKanaCount = 0xDF - 0xA1 + 1;
constexpr auto kComposedByKana = [] {
  std::array<std::uint16_t, kHalfKanaCount * 2> table{};
  for (const Composed& c : kComposed) {
    table[(c.kana - 0xA1) * 2 + (c.mark == kSemiVoicedMark ? 1 : 0)] = c.full;
  }
  return table;
}();

void AppendCode(std::string& out, std::uint16_t code) {
  out += static_cast<char>(code >> 8);
  out += static_cast<char>(code & 0xFF);
}

// Katakana of the hiragana ぁ..ん (0x829F..0x82F1): katakana skip 0x837F.
constexpr std::uint16_t KatakanaOf(std::uint16_t hiragana) {
  const int i = hiragana - 0x829F;
  return static_cast<std::uint16_t>(0x8340 + i + (i >= 63 ? 1 : 0));
}

// Half-width forms of the full-width characters with lead bytes 0x81 to 0x83, where all
// of them live: one or two bytes, or none.
struct HalfForm {
  char bytes[2] = {0, 0};
  unsigned char length = 0;
};
using HalfTable = std::array<HalfForm, 3 * 256>;

void SetHalf(HalfTable& table, std::uint16_t code, unsigned char first, unsigned char second = 0) {
  if (code < 0x8100 || code > 0x83FF) return;
  HalfForm& form = table[code - 0x8100];
  form.bytes[0] = static_cast<char>(first);
  form.bytes[1] = static_cast<char>(second);
  form.length = second != 0 ? 2 : 1;
}

const HalfTable& HalfForms() {
  static const HalfTable table = [] {
    HalfTable t{};
    for (std::size_t i = 0; i < kFullWidthAscii.size(); ++i) {
      SetHalf(t, kFullWidthAscii[i], static_cast<unsigned char>(0x21 + i));
    }
    for (std::size_t i = 0; i < kFullWidthKana.size(); ++i) {
      SetHalf(t, kFullWidthKana[i], static_cast<unsigned char>(0xA1 + i));
    }
    for (const Composed& c : kComposed) SetHalf(t, c.full, c.kana, c.mark);
    // Katakana that half-width lacks, written as Japan Post writes them.
    SetHalf(t, 0x838E, 0xDC);  // ヮ ﾜ
    SetHalf(t, 0x8390, 0xB2);  // ヰ ｲ
    SetHalf(t, 0x8391, 0xB4);  // ヱ ｴ
    SetHalf(t, 0x8395, 0xB6);  // ヵ ｶ
    SetHalf(t, 0x8396, 0xB9);  // ヶ ｹ
    // Hiragana ぁ..ん as their katakana.
    for (std::uint16_t c = 0x829F; c <= 0x82F1; ++c) t[c - 0x8100] = t[KatakanaOf(c) - 0x8100];
    return t;
  }();
  return table;
}

bool IsHalfWidthKana(unsigned char byte) {
  return byte >= 0xA1 && byte <= 0xDF;
}

constexpr std::uint16_t kSmallKe = 0x8396;  // ヶ, the name form of ガ, ケ, ヶ, ヵ, が and け

// Name forms of the double-byte characters with lead bytes 0x81 to 0x83, where every kana is.
using FoldTable = std::array<std::uint16_t, 3 * 256>;
constexpr FoldTable kNameFolds = [] {
  FoldTable table{};
  for (std::size_t i = 0; i < table.size(); ++i) table[i] = static_cast<std::uint16_t>(0x8100 + i);
  for (std::uint16_t c = 0x829F; c <= 0x82F1; ++c) table[c - 0x8100] = KatakanaOf(c);
  table[0x8154 - 0x8100] = 0x8152;  // ゝ ヽ
  table[0x8155 - 0x8100] = 0x8153;  // ゞ ヾ
  for (std::uint16_t& folded : table) {
    if (folded == 0x834B || folded == 0x8350 || folded == 0x8395) folded = kSmallKe;  // ガ ケ ヵ
  }
  return table;
}();

std::uint16_t NameFoldOf(std::uint16_t code) {
  return code >= 0x8100 && code <= 0x83FF ? kNameFolds[code - 0x8100] : code;
}

// The full-width form, with kana folded to their name forms when fold is set: one walk, since
// every record that find looks at goes through it.
template <bool fold>
std::string FullWidth(std::string_view cp932) {
  std::string out;
  out.reserve(cp932.size() * 2);
  const auto append = [&out](std::uint16_t code) {
    AppendCode(out, fold ? NameFoldOf(code) : code);
  };
  for (std::size_t i = 0; i < cp932.size();) {
    const std::size_t length = Cp932CharLength(cp932, i);
    const auto byte = static_cast<unsigned char>(cp932[i]);
    if (length == 2) {
      if (fold) {
        append(static_cast<std::uint16_t>(byte << 8 | static_cast<unsigned char>(cp932[i + 1])));
      } else {
        out.append(cp932.substr(i, 2));
      }
    } else if (byte >= 0x21 && byte <= 0x7E) {
      AppendCode(out, kFullWidthAscii[byte - 0x21]);
    } else if (IsHalfWidthKana(byte)) {
      std::uint16_t full = kFullWidthKana[byte - 0xA1];
      if (i + 1 < cp932.size()) {
        const auto mark = static_cast<unsigned char>(cp932[i + 1]);
        if (mark == kVoicedMark || mark == kSemiVoicedMark) {
          const std::uint16_t composed =
              kComposedByKana[(byte - 0xA1) * 2 + (mark == kSemiVoicedMark ? 1 : 0)];
          if (composed != 0) {
            full = composed;
            ++i;
          }
        }
      }
      append(full);
    } else {
      out += cp932[i];
    }
    i += length;
  }
  return out;
}

}  // namespace

std::string ToFullWidth(std::string_view cp932) {
  return FullWidth<false>(cp932);
}

std::string ToHalfWidth(std::string_view cp932, bool* complete) {
  if (complete != nullptr) *complete = true;
  const HalfTable& table = HalfForms();
  std::string out;
  out.reserve(cp932.size());
  for (std::size_t i = 0; i < cp932.size();) {
    const std::size_t length = Cp932CharLength(cp932, i);
    if (length == 1) {
      out += cp932[i];
    } else {
      const unsigned code =
          static_cast<unsigned char>(cp932[i]) << 8 | static_cast<unsigned char>(cp932[i + 1]);
      const HalfForm* form = code >= 0x8100 && code <= 0x83FF ? &table[code - 0x8100] : nullptr;
      if (form != nullptr && form->length > 0) {
        out.append(form->bytes, form->length);
      } else {
        out.append(cp932.substr(i, 2));
        if (complete != nullptr) *complete = false;
      }
    }
    i += length;
  }
  return out;
}

std::string NameForm(std::string_view cp932) {
  return FullWidth<true>(cp932);
}

std::vector<std::string> NameSpellings(std::string_view cp932_char) {
  std::vector<std::string> spellings{std::string(cp932_char)};
  if (cp932_char.size() != 2) return spellings;
  const auto code = static_cast<std::uint16_t>(static_cast<unsigned char>(cp932_char[0]) << 8 |
                                               static_cast<unsigned char>(cp932_char[1]));
  const std::uint16_t folded = NameFoldOf(code);
  for (std::size_t i = 0; i < kNameFolds.size(); ++i) {
    const auto other = static_cast<std::uint16_t>(0x8100 + i);
    if (kNameFolds[i] == folded && other != code) {
      spellings.emplace_back();
      AppendCode(spellings.back(), other);
    }
  }
  return spellings;
}

std::string WithCp932Kana(std::string_view utf8) {
  struct Replacement {
    std::string_view lacking, kept;
  };
  constexpr Replacement kReplacements[] = {
      {"\xE3\x82\x94", "\xE3\x83\xB4"},  // ゔ ヴ
      {"\xE3\x82\x95", "\xE3\x83\xB5"},  // ゕ ヵ
      {"\xE3\x82\x96", "\xE3\x83\xB6"},  // ゖ ヶ
  };
  std::string out(utf8);
  for (const Replacement& r : kReplacements) {
    for (std::size_t at = out.find(r.lacking); at != std::string::npos;
         at = out.find(r.lacking, at + r.kept.size())) {
      out.replace(at, r.lacking.size(), r.kept);
    }
  }
  return out;
}

}  // namespace orvek_cli
