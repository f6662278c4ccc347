// Cutting result rows back into prefecture, city and town area.
#include <gtest/gtest.h>

#include <string>

#include "platform/encoding.h"
#include "row_splitter.h"
#include "test_support.h"

namespace {

struct Split {
  std::string pref, city, town;
};

// Splits a row given in UTF-8 into destinations prefilled with a marker, so that unreached
// destinations show.
Split SplitUtf8(const std::string& row_utf8) {
  const std::string row = test_support::Cp932(row_utf8);
  char pref[CRowSplitter::kPrefSize] = "-";
  char city[CRowSplitter::kCitySize] = "-";
  char town[CRowSplitter::kTownSize] = "-";
  CRowSplitter().SplitRow(row.c_str(), pref, city, town);
  return {platform::Cp932ToUtf8(pref), platform::Cp932ToUtf8(city), platform::Cp932ToUtf8(town)};
}

TEST(RowSplitterTest, ThreeKanjiPrefectureRow) {
  const Split s = SplitUtf8("100-0001  東京都      千代田区              千代田");
  EXPECT_EQ("東京都    ", s.pref);  // ten bytes from the word: the name runs into its padding
  EXPECT_EQ("千代田区              千代田", s.city);
  EXPECT_EQ("千代田", s.town);
}

TEST(RowSplitterTest, FourKanjiPrefectureAndTenKanjiCityKeepTheirColumns) {
  // 神奈川県 fills its column but for the two separator spaces; a ten-kanji city fills its
  // column, and the city piece runs 18 bytes into the town area.
  const Split s = SplitUtf8("999-9999  神奈川県  一二三四五六七八九十  あいうえおかきくけこさ");
  EXPECT_EQ("神奈川県  ", s.pref);
  EXPECT_EQ("一二三四五六七八九十  あいうえおかきくけ", s.city);
  EXPECT_EQ("あいうえおかきくけこさ", s.town);
}

TEST(RowSplitterTest, TownAreaWithBlanksKeepsOnlyItsLastWord) {
  const Split s = SplitUtf8("060-0000  北海道      札幌市中央区          大通 西 (１丁目)");
  EXPECT_EQ("(１丁目)", s.town);
}

TEST(RowSplitterTest, ShortOrUnfinishedRowsLeaveTheDestinationsAlone) {
  EXPECT_EQ("-", SplitUtf8("100-0001  ").pref);
  EXPECT_EQ("-", SplitUtf8("").town);
  // A first and second word with no space after them are never taken.
  const Split s = SplitUtf8("100-0001  東京都");
  EXPECT_EQ("-", s.pref);
  EXPECT_EQ("-", s.city);
  EXPECT_EQ("-", s.town);
}

TEST(RowSplitterTest, LongestTownAreaAndOverlongRowsStayInsideTheirArrays) {
  // The town area of 78 bytes with quotes: 76 bytes once the quotes are gone.
  std::string town_utf8;
  for (int i = 0; i < 38; ++i) town_utf8 += "町";
  const Split s = SplitUtf8("000-0000  県        市                    " + town_utf8);
  EXPECT_EQ(town_utf8, s.town);
  // A row longer than the row buffer: cut, never copied past it.
  std::string huge = "000-0000  a b " + std::string(1000, 'c');
  const Split h = SplitUtf8(huge);
  EXPECT_EQ(CRowSplitter::kRowSize - 1 - 14, h.town.size());
}

}  // namespace
