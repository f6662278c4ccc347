#include <gtest/gtest.h>

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
