#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <random>
#include <string>

#include "platform/cstring.h"
#include "platform/encoding.h"

namespace {

TEST(CStringTest, ReplaceStepsOverDoubleByteCharacters) {
  // "ソ" is 0x83 0x5C in CP932: its trail byte is '\', which must not be taken for one.
  CString text("\x83\x5C a\\b");
  EXPECT_EQ(2, text.Replace('\\', '/') + text.Replace(' ', '_'));
  EXPECT_EQ(std::string("\x83\x5C_a/b"), text.Bytes());
}

TEST(CStringTest, ReplaceByNulKeepsLengthAndCutsTheCString) {
  CString text("ab cd");
  text.Replace(' ', '\0');
  EXPECT_EQ(5, text.GetLength());
  EXPECT_STREQ("ab", static_cast<const char*>(text));
}

TEST(EncodingTest, RoundTripsJapaneseAndReplacesBrokenBytes) {
  const std::string tokyo_cp932 = "\x93\x8C\x8B\x9E\x93\x73";  // 東京都
  EXPECT_EQ("東京都", platform::Cp932ToUtf8(tokyo_cp932));
  EXPECT_EQ(tokyo_cp932, platform::Utf8ToCp932("東京都").value_or("?"));
  EXPECT_EQ("ｿ", platform::Cp932ToUtf8("\xBF"));  // half-width katakana
  // A lead byte cut off at the end, and one followed by a byte that cannot trail it.
  EXPECT_EQ("a\xEF\xBF\xBD", platform::Cp932ToUtf8("a\x93"));
  EXPECT_EQ(
      "\xEF\xBF\xBD"
      "\n",
      platform::Cp932ToUtf8("\x93\n"));
  EXPECT_FALSE(platform::Utf8ToCp932("😀").has_value());
  EXPECT_FALSE(platform::Utf8ToCp932("\xFF").has_value());
}

}  // namespace

namespace {

// The system converter with the same policy for broken input: U+FFFD, then the next byte.
std::string ConverterToUtf8(const std::string& cp932) {
  iconv_t cd = iconv_open("UTF-8", "CP932");
  std::string out;
  char* in = const_cast<char*>(cp932.data());
  std::size_t left = cp932.size();
  while (left > 0) {
    char buffer[64];
    char* out_ptr = buffer;
    std::size_t out_left = sizeof buffer;
    const std::size_t rc = iconv(cd, &in, &left, &out_ptr, &out_left);
    out.append(buffer, static_cast<std::size_t>(out_ptr - buffer));
    if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
      out += "\xEF\xBF\xBD";
      ++in;
      --left;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

TEST(EncodingTest, DecodingTableAgreesWithTheSystemConverterOnEverySequence) {
  for (int a = 0; a < 256; ++a) {
    const std::string one(1, static_cast<char>(a));
    ASSERT_EQ(ConverterToUtf8(one), platform::Cp932ToUtf8(one)) << "byte " << a;
    for (int b = 0; b < 256; ++b) {
      const std::string two = one + static_cast<char>(b);
      ASSERT_EQ(ConverterToUtf8(two), platform::Cp932ToUtf8(two)) << "bytes " << a << " " << b;
    }
  }
  std::mt19937 random(932);
  for (int i = 0; i < 2000; ++i) {
    std::string text(random() % 40, '\0');
    for (char& c : text) c = static_cast<char>(random());
    ASSERT_EQ(ConverterToUtf8(text), platform::Cp932ToUtf8(text));
  }
}

TEST(EncodingTest, LongTextsDecodeAsTheSystemConverterDoes) {
  // Texts of thousands of bytes, as the rows of a search are written: runs of ASCII of every
  // length, kanji, half-width katakana, broken pairs, and lead bytes at every position, so
  // that runs and characters straddle the decoder's internal blocks and words.
  std::mt19937 random(9320);
  const std::string pieces[] = {
      " ",        "  ",       "0123456",  "-",        "abcdefghijklmnop",  "\n",  // ASCII
      "\x96\x6b", "\x8a\x43", "\x93\x8c", "\x83\x5c", "\xfc\xfc",                 // pairs
      "\xbf",     "\xa0",     "\x81",     "\x81\x0a", std::string(1, '\0')};  // single, broken, NUL
  for (int i = 0; i < 40; ++i) {
    std::string text;
    const std::size_t length = 1000 + random() % 12000;
    while (text.size() < length) text += pieces[random() % std::size(pieces)];
    ASSERT_EQ(ConverterToUtf8(text), platform::Cp932ToUtf8(text)) << "text " << i;
  }
}

}  // namespace
