// A data-file line cut into the record, the match test, and the row made from the record.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "match.h"
#include "orvek_test_support.h"
#include "record.h"
#include "row.h"

namespace {

using orvek_test::Cp932;
using orvek_test::Quoted;

// A published-style line for 千代田, with the extra columns that the record ignores.
std::string ChiyodaLine() {
  return "13101,\"100  \",\"1000001\",\"" + Cp932("ﾄｳｷｮｳﾄ") + "\",\"" + Cp932("ﾁﾖﾀﾞｸ") + "\",\"" +
         Cp932("ﾁﾖﾀﾞ") + "\"," + Quoted("東京都") + "," + Quoted("千代田区") + "," +
         Quoted("千代田") + ",0,0,0,0,0,0\n";
}

ST_ORVEK_TBL Parse(const std::string& line) {
  ST_ORVEK_TBL record;
  std::memset(&record, 'Z', sizeof record);  // every byte must be written
  COrvekTestAccess::GetData(line, &record);
  return record;
}

std::string VisibleRow(ST_ORVEK_TBL record) {
  std::string row = COrvekTestAccess::CreateString(&record);
  COrvekTestAccess::DeleteTen(row.data());
  return row.c_str();
}

TEST(RecordTest, KeepsTheQuotedColumnsOfAPublishedLine) {
  const ST_ORVEK_TBL record = Parse(ChiyodaLine());
  EXPECT_EQ("13101", std::string(record.szLocalCode));
  EXPECT_EQ("\"100  \"", std::string(record.szOldCode));
  EXPECT_EQ("\"1000001\"", std::string(record.szPostalCode));
  EXPECT_EQ(Quoted("東京都"), record.szPref);
  EXPECT_EQ(Quoted("千代田区"), record.szCity);
  EXPECT_EQ(Quoted("千代田"), record.szTown);
  // The same line as the last one of a file, without its LF.
  std::string last = ChiyodaLine();
  last.pop_back();
  EXPECT_EQ(0, std::memcmp(&record, &static_cast<const ST_ORVEK_TBL&>(Parse(last)), sizeof record));
}

TEST(RecordTest, CutsLongColumnsAndShiftsAtStrayCommas) {
  const std::string town =
      Quoted("あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよ");
  const ST_ORVEK_TBL record =
      Parse("1,2,3,4,5,6," + Quoted("神奈川県") + "," + Quoted("千代田,区") + "," + town + "\n");
  EXPECT_EQ(Quoted("神奈川県"), record.szPref);  // 10 bytes: the longest kept whole
  EXPECT_EQ(std::string(1, '"').append(Cp932("千代田")), std::string(record.szCity));
  EXPECT_EQ(Cp932("区") + "\"", std::string(record.szTown));

  const ST_ORVEK_TBL cut = Parse("1,2,3,4,5,6,7,8," + town + "\n");
  EXPECT_EQ(town.substr(0, 80), std::string(cut.szTown));  // the closing quote is gone
}

TEST(RecordTest, MissingColumnsAreEmptyWhateverTheLineHolds) {
  for (const std::string& line :
       {std::string("\n"), std::string(499, 'x'), std::string(600, 'x'), std::string("1,2\n"),
        std::string("1,2,\"100") + '\0' + "0001\",4\n"}) {
    const ST_ORVEK_TBL record = Parse(line);
    EXPECT_EQ(line.substr(0, std::min<std::size_t>(5, line.find_first_of(",\n"))),
              std::string(record.szLocalCode));
    EXPECT_EQ("", std::string(record.szTown)) << line.size();
  }
  // The text ends at a NUL byte and after 500 bytes.
  EXPECT_EQ("\"100", std::string(Parse(std::string("1,2,\"100") + '\0' + "0001\"\n").szPostalCode));
  EXPECT_EQ("", std::string(Parse(std::string(500, 'x') + ",\"1000001\"\n").szOldCode));
  EXPECT_EQ("\"1000", std::string(Parse(std::string(492, 'x') + ",2,\"1000001\"").szPostalCode));
}

TEST(RecordTest, FieldsLeftInThePieceAreThoseOfTheWorkBuffer) {
  // The search leaves the four fields it needs where they lie in a piece; fnGetData copies the
  // piece into its work buffer and cuts it into the record. Fields, matches and rows must
  // agree, for columns of every length against every field, and pieces of every length.
  std::mt19937 random(500);
  const std::string bytes[] = {",",
                               ",",
                               ",",
                               ",",
                               "\n",
                               std::string(1, '\0'),
                               "\"",
                               "x",
                               "yz",
                               "\x93\x8c",
                               "0123456789abcdef"};
  for (int round = 0; round < 4000; ++round) {
    std::string line;
    const std::size_t length = random() % 620;
    while (line.size() < length) line += bytes[random() % std::size(bytes)];
    ST_ORVEK_TBL record;
    orvek::detail::ParseLine(line.c_str(), &record);
    orvek::detail::RowFields fields;
    orvek::detail::ParseRowFields(line.data(), line.size(), &fields);
    const auto text = [](orvek::detail::FieldText field) {
      return std::string(field.data, field.length);
    };
    ASSERT_EQ(std::string(record.szPostalCode), text(fields.code)) << "round " << round;
    ASSERT_EQ(std::string(record.szPref), text(fields.pref)) << "round " << round;
    ASSERT_EQ(std::string(record.szCity), text(fields.city)) << "round " << round;
    ASSERT_EQ(std::string(record.szTown), text(fields.town)) << "round " << round;

    char from_record[orvek::detail::kRowBufferSize];
    char from_fields[orvek::detail::kRowBufferSize];
    orvek::detail::CreateRow(record, from_record);
    orvek::detail::CreateRow(fields, from_fields);
    ASSERT_STREQ(from_record, from_fields) << "round " << round;
    // Keys taken from the line itself, so that some of them match.
    const std::string pref = record.szPref;
    const std::string other = random() % 2 == 0 ? std::string(record.szCity) : "x";
    for (int mode = 1; mode <= 5; ++mode) {
      const auto keys =
          orvek::detail::SearchKeys::ForAddress(pref.c_str(), other.c_str(), other.c_str(), mode);
      ASSERT_EQ(orvek::detail::Matches(keys, record), orvek::detail::Matches(keys, fields))
          << "round " << round << ", mode " << mode;
    }
    const auto code = orvek::detail::SearchKeys::ForPostalCode(record.szPostalCode);
    ASSERT_TRUE(orvek::detail::Matches(code, fields)) << "round " << round;
  }
}

TEST(MatchTest, ModesCompareTheirFieldsOnly) {
  ST_ORVEK_TBL record = Parse(ChiyodaLine());
  const std::string pref = Quoted("東京都"), city = Quoted("千代田区"), town = Quoted("千代田");
  const std::string other = Quoted("大阪府");
  struct Case {
    std::string pref, city, town;
    int mode, expected;
  } const cases[] = {
      {pref, city, town, 1, 1},        {pref, city, other, 1, 0}, {pref, city, other, 2, 1},
      {other, city, town, 2, 0},       {pref, other, town, 3, 1}, {pref, other, town, 4, 0},
      {other, city, town, 4, 1},       {other, "", town, 5, 1},   {pref, city, town, 6, 0},
      {Cp932("東京都"), "", "", 5, 0},  // a key without its quotes
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, COrvekTestAccess::ChkJusho(c.pref, c.city, c.town, c.mode, &record))
        << "mode " << c.mode;
  }
  // An empty key matches an empty field.
  ST_ORVEK_TBL blank = Parse("\n");
  EXPECT_EQ(1, COrvekTestAccess::ChkJusho(other, "", other, 5, &blank));
}

TEST(RowTest, LinesUpTheColumnsOnceTheQuotesAreGone) {
  EXPECT_EQ(Cp932("100-0001  東京都      千代田区              千代田"),
            VisibleRow(Parse(ChiyodaLine())));
  // A four-character prefecture gets one pair of spaces; a ten-kanji city one pair as well, so
  // the town area still starts at column 44.
  const std::string ten = "一二三四五六七八九十";
  const std::string row = VisibleRow(Parse("1,2,\"1234567\",4,5,6," + Quoted("神奈川県") + "," +
                                           Quoted(ten.c_str()) + "," + Quoted("町") + "\n"));
  EXPECT_EQ("123-4567  " + Cp932("神奈川県") + "    " + Cp932(ten.c_str()) + "  " + Cp932("町"),
            row);
  EXPECT_EQ(44u, row.find(Cp932("町")));
  // Eleven kanji are cut to the quote, ten kanji and a lone lead byte; everything moves right.
  const std::string cut =
      VisibleRow(Parse("1,2,\"1234567\",4,5,6," + Quoted("東京都") + "," +
                       Quoted((ten + "百").c_str()) + "," + Quoted("町") + "\n"));
  EXPECT_EQ("123-4567  " + Cp932("東京都") + "      " + Cp932(ten.c_str()) + "\x95  " + Cp932("町"),
            cut);
  EXPECT_EQ(45u, cut.find(Cp932("町")));
  // No town area: the row ends with the city's padding.
  EXPECT_EQ(Cp932("100-0001  東京都      千代田区              "),
            VisibleRow(Parse("1,2,\"1000001\",4,5,6," + Quoted("東京都") + "," +
                             Quoted("千代田区") + "\n")));
}

// The rest of the row moves left over each quote, leaving NULs behind the shorter row.
TEST(RowTest, DeletingQuotesShiftsTheRestLeft) {
  char row[16] = "\"\"a\"b\"";
  row[8] = 'X';
  COrvekTestAccess::DeleteTen(row);
  EXPECT_EQ(std::string("ab\0\0\0\0\0\0X", 9), std::string(row, 9));
}

// fnCreateString as first written, with strncpy, strcat and strncat.
std::string ConcatenatedRow(const ST_ORVEK_TBL& record) {
  char code[16];
  std::memset(code, 0, sizeof code);
  std::memcpy(code, record.szPostalCode, strnlen(record.szPostalCode, 4));
  code[4] = '-';
  code[5] = '\0';
  std::strncat(code, record.szPostalCode + 4, 5);
  code[10] = '\0';
  char row[orvek::detail::kRowBufferSize];
  std::strcpy(row, code);
  std::strcat(row, "  ");
  std::strcat(row, record.szPref);
  if (std::strlen(record.szPref) < 11) {
    for (std::size_t i = 0; i < (12 - std::strlen(record.szPref)) / 2; ++i) std::strcat(row, "  ");
  }
  std::strcat(row, "  ");
  std::strcat(row, record.szCity);
  if (std::strlen(record.szCity) < 23) {
    for (std::size_t i = 0; i < (24 - std::strlen(record.szCity)) / 2; ++i) std::strcat(row, "  ");
  }
  std::strcat(row, record.szTown);
  return row;
}

TEST(RowTest, RowsAreThoseOfTheConcatenatingCode) {
  // Fields of every length their arrays allow, odd and even, and bytes behind a field's NUL
  // (a postal code shorter than four bytes has its fifth byte on appended all the same).
  std::mt19937 random(130);
  const auto fill = [&](char* field, std::size_t size) {
    for (std::size_t i = 0; i + 1 < size; ++i) field[i] = static_cast<char>(1 + random() % 255);
    field[random() % size] = '\0';
    field[size - 1] = '\0';
  };
  for (int round = 0; round < 5000; ++round) {
    ST_ORVEK_TBL record;
    std::memset(&record, 0, sizeof record);
    fill(record.szPostalCode, round % 3 == 0 ? 6 : sizeof record.szPostalCode);
    fill(record.szPref, sizeof record.szPref);
    fill(record.szCity, sizeof record.szCity);
    fill(record.szTown, sizeof record.szTown);
    char row[orvek::detail::kRowBufferSize];
    orvek::detail::CreateRow(record, row);
    ASSERT_EQ(ConcatenatedRow(record), std::string(row)) << "round " << round;
  }
}

// fnDeleteTen as first written: move the rest of the row left over each quote and look again
// from the front.
void ShiftOutQuotes(char* row) {
  for (std::size_t i = 0; i < std::strlen(row);) {
    if (row[i] != '"') {
      ++i;
      continue;
    }
    const std::size_t length = std::strlen(row);
    std::memmove(row + i, row + i + 1, length - i - 1);
    row[length - 1] = '\0';
    i = 0;
  }
}

TEST(RowTest, DeletingQuotesGivesTheBytesOfTheShiftingLoopOnEveryPath) {
  // Rows of every length up to the row buffer, quotes from none to all, and bytes behind the
  // NUL that must stay as they are.
  std::mt19937 random(300);
  for (int round = 0; round < 3000; ++round) {
    char original[orvek::detail::kRowBufferSize];
    const std::size_t length = random() % sizeof original;
    const unsigned quote_in = 1 + random() % 8;
    for (char& c : original) {
      c = random() % quote_in == 0 ? '"' : static_cast<char>(1 + random() % 255);
    }
    original[length] = '\0';
    char expected[sizeof original];
    std::memcpy(expected, original, sizeof original);
    ShiftOutQuotes(expected);
    for (const auto simd : {orvek::detail::Simd::kBest, orvek::detail::Simd::kSse2}) {
      char row[sizeof original];
      std::memcpy(row, original, sizeof original);
      orvek::detail::DeleteQuotes(row, simd);
      ASSERT_EQ(std::string(expected, sizeof expected), std::string(row, sizeof row))
          << "round " << round << (simd == orvek::detail::Simd::kSse2 ? " (SSE2)" : "");
    }
  }
}

}  // namespace
