// The command's own reader: widths and kana, the CSV columns, joining split town areas, and
// the screen that lets it pass over most lines, which must never pass over a match.
#include <gtest/gtest.h>

#include "test_support.h"

#if !defined(_WIN32)
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "command_line.h"
#include "console.h"
#include "file_view.h"
#include "kana_width.h"
#include "platform/encoding.h"
#include "record_match.h"
#include "record_scan.h"
#include "whole_record.h"

namespace fs = std::filesystem;
using namespace orvek_cli;

namespace {

using test_support::Cp932;
using test_support::Utf8;

// One line of the file in the published layout, from UTF-8 columns.
std::string Line(const std::string& code, const std::string& kana, const std::string& town,
                 const std::string& city = "千代田区", const std::string& flags = "0,0,0,0,0,0") {
  return Cp932("13101,\"100  \",\"" + code + "\",\"ﾄｳｷｮｳﾄ\",\"ﾁﾖﾀﾞｸ\",\"" + kana +
               "\",\"東京都\",\"" + city + "\",\"" + town + "\"," + flags + "\r\n");
}

TEST(KanaWidth, BothDirections) {
  struct Case {
    std::string text, full, half;
  };
  const Case cases[] = {
      {"ｻｯﾎﾟﾛ", "サッポロ", "ｻｯﾎﾟﾛ"},
      {"ガギグゲゴ", "ガギグゲゴ", "ｶﾞｷﾞｸﾞｹﾞｺﾞ"},
      {"ｳﾞｧ", "ヴァ", "ｳﾞｧ"},
      {"ぱっちょー", "ぱっちょー", "ﾊﾟｯﾁｮｰ"},  // hiragana keeps its kind in the full form
      {"ヮヵヶヰヱ", "ヮヵヶヰヱ", "ﾜｶｹｲｴ"},
      {"AZaz09-(,)", "ＡＺａｚ０９－（，）", "AZaz09-(,)"},
      {"ＡＺ０９－（）、", "ＡＺ０９－（）、", "AZ09-()､"},
      {"ﾊﾞﾟ", "バ゜", "ﾊﾞﾟ"},  // a second mark stays a mark of its own
      {"ﾞｱ", "゛ア", "ﾞｱ"},    // a mark with no kana before it
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.full, Utf8(ToFullWidth(Cp932(c.text)))) << c.text;
    bool complete = false;
    EXPECT_EQ(c.half, Utf8(ToHalfWidth(Cp932(c.text), &complete))) << c.text;
    EXPECT_TRUE(complete) << c.text;
  }
  bool complete = true;
  EXPECT_EQ("丸ﾉ内", Utf8(ToHalfWidth(Cp932("丸の内"), &complete)));
  EXPECT_FALSE(complete);
  // A lead byte cut off at the end is kept, not read past.
  EXPECT_EQ("\x93", ToFullWidth("\x93"));
  EXPECT_EQ("\x93", ToHalfWidth("\x93"));
}

TEST(KanaWidth, NameFormsFoldKanaButNoKanji) {
  const std::pair<std::string, std::string> forms[] = {
      {"霞ヶ関", "霞ヶ関"},     {"霞ケ関", "霞ヶ関"},         {"霞が関", "霞ヶ関"},
      {"霞ヵ関", "霞ヶ関"},     {"ｶﾞけｹ", "ヶヶヶ"},          {"まるのうちゎゐ", "マルノウチヮヰ"},
      {"いすゞゝ", "イスヾヽ"}, {"丸之内カキ", "丸之内カキ"}, {"ぱﾊﾟば", "パパバ"},
  };
  for (const auto& [text, form] : forms) EXPECT_EQ(form, Utf8(NameForm(Cp932(text)))) << text;

  const auto spellings = [](const std::string& c) {
    std::vector<std::string> utf8;
    for (const std::string& s : NameSpellings(Cp932(c))) utf8.push_back(Utf8(s));
    std::sort(utf8.begin() + 1, utf8.end());
    return utf8;
  };
  EXPECT_EQ((std::vector<std::string>{"ヶ", "が", "け", "ガ", "ケ", "ヵ"}), spellings("ヶ"));
  EXPECT_EQ((std::vector<std::string>{"ノ", "の"}), spellings("ノ"));
  EXPECT_EQ((std::vector<std::string>{"丸"}), spellings("丸"));

  EXPECT_EQ("ヴぃそんヵヶ", WithCp932Kana("ゔぃそんゕゖ"));
}

TEST(FindWords, SplitAndForms) {
  EXPECT_EQ((std::vector<std::string>{Cp932("千代田"), Cp932("丸の内"), "x"}),
            SplitWords(Cp932("  千代田　丸の内 x　")));
  // 0x81 0x40 is a full-width space only where a character starts: here 0x40 ends 繋.
  EXPECT_EQ(1u, SplitWords(Cp932("繋@")).size());

  const std::vector<FindWord> words = FindWords(
      {Cp932("ちよだ"), Cp932("千代田"), "100-00", Cp932("１００"), "1000-1", "12345678"});
  EXPECT_EQ("チヨダ", Utf8(words[0].address));
  EXPECT_EQ("ﾁﾖﾀﾞ", Utf8(words[0].reading));
  EXPECT_EQ("", words[1].reading);
  EXPECT_EQ("１００－００", Utf8(words[2].address));
  EXPECT_EQ("10000", words[2].code_prefix);
  EXPECT_EQ("100", words[3].code_prefix);
  EXPECT_EQ("", words[4].code_prefix);  // the hyphen stands after the third digit only
  EXPECT_EQ("", words[5].code_prefix);  // longer than a postal code
}

#if !defined(_WIN32)
// The POSIX console's check (console_posix.cpp); Windows takes the wide command line instead.
TEST(CommandLine, LocalesThatNeedNoLoading) {
  // LC_ALL before LC_CTYPE before LANG; an empty one counts as unset.
  EXPECT_TRUE(LocaleIsUtf8OrAscii(nullptr, nullptr, nullptr));
  EXPECT_TRUE(LocaleIsUtf8OrAscii("", "", "C.UTF-8"));
  EXPECT_TRUE(LocaleIsUtf8OrAscii(nullptr, "ja_JP.utf8", "ja_JP.eucJP"));
  EXPECT_FALSE(LocaleIsUtf8OrAscii("ja_JP.SJIS", "C", "C.UTF-8"));
  EXPECT_FALSE(LocaleIsUtf8OrAscii(nullptr, "", "ja_JP.eucJP"));
  EXPECT_TRUE(LocaleIsUtf8OrAscii("POSIX", nullptr, "ja_JP.eucJP"));
  EXPECT_TRUE(LocaleIsUtf8OrAscii("de_DE.Utf-8@euro", nullptr, nullptr));
  EXPECT_FALSE(LocaleIsUtf8OrAscii("ja_JP", nullptr, nullptr));  // EUC-JP where it exists
  EXPECT_FALSE(LocaleIsUtf8OrAscii("en_US.utf16", nullptr, nullptr));
}
#endif

TEST(Record, ParseLineAsCsv) {
  Record record;
  ParseLine(R"(1,"a,b","say ""hi""",,"",x"y,7)", record);
  EXPECT_EQ("1", record[kLocalGovernmentCode]);
  EXPECT_EQ("a,b", record[kOldCode]);
  EXPECT_EQ("say \"hi\"", record[kPostalCode]);
  EXPECT_EQ("", record[kPrefectureKana]);
  EXPECT_EQ("", record[kCityKana]);
  EXPECT_EQ("x\"y", record[kTownKana]);
  EXPECT_EQ("7", record[kPrefecture]);
  EXPECT_EQ("", record[kUpdateReason]);

  // Reused for a shorter line, nothing of the longer one is left.
  ParseLine("\"only", record);
  EXPECT_EQ("only", record[kLocalGovernmentCode]);
  EXPECT_EQ("", record[kOldCode]);
  EXPECT_EQ("", record[kPrefecture]);
}

TEST(Record, ClassicRowKeepsTheLibrarysColumns) {
  Record record;
  ParseLine(
      Line("1000001", "ﾁﾖﾀﾞ", "千代田").substr(0, Line("1000001", "ﾁﾖﾀﾞ", "千代田").size() - 2),
      record);
  EXPECT_EQ("100-0001  東京都      千代田区              千代田", Utf8(ClassicRow(record)));
  record[kPrefecture] = Cp932("神奈川県");
  record[kCity] = "abc";  // an odd length makes the column one byte narrower
  record[kTown].clear();
  EXPECT_EQ("100-0001  神奈川県    abc" + std::string(18, ' '), Utf8(ClassicRow(record)));
}

TEST(Record, CleanOnlyTheNotListedTownArea) {
  Record record;
  record[kTown] = Cp932("以下に掲載がない場合");
  record[kTownKana] = Cp932("ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ");
  CleanRecord(record);
  EXPECT_EQ("", record[kTown]);
  EXPECT_EQ("", record[kTownKana]);
  record[kTown] = Cp932("以下に掲載がない場合（その他）");
  CleanRecord(record);
  EXPECT_EQ("以下に掲載がない場合（その他）", Utf8(record[kTown]));
}

class ScanTest : public ::testing::Test {
 protected:
  void SetUp() override { path_ = folder_.Path() / "scanned.csv"; }

  // Every record the scan visits, as "code:town:town reading:lines" in UTF-8.
  std::vector<std::string> Scan(const std::string& bytes, const Screen& screen, bool join) {
    test_support::WriteWholeFile(path_, bytes);
    return ScanFile(path_, screen, join);
  }

  // Read both ways, mapped and in blocks through the stream, which must agree.
  static std::vector<std::string> ScanFile(const fs::path& path, const Screen& screen, bool join) {
    const std::vector<std::string> mapped = ScanFile(path, screen, join, Reading::kMapped);
    EXPECT_EQ(mapped, ScanFile(path, screen, join, Reading::kBlocks));
    return mapped;
  }

  static std::vector<std::string> ScanFile(const fs::path& path, const Screen& screen, bool join,
                                           Reading reading) {
    std::vector<std::string> seen;
    std::FILE* in = std::fopen(path.string().c_str(), "rb");
    EXPECT_NE(nullptr, in);
    if (in == nullptr) return seen;
    EXPECT_EQ(ScanResult::kRead, ScanRecords(
                                     in, screen, join,
                                     [&](Record& r) {
                                       seen.push_back(r[kPostalCode] + ":" + Utf8(r[kTown]) + ":" +
                                                      Utf8(r[kTownKana]) + ":" +
                                                      std::to_string(r.lines));
                                       return true;
                                     },
                                     reading));
    std::fclose(in);
    return seen;
  }

  test_support::TemporaryFolder folder_{"orvek-scan-"};
  fs::path path_;
};

// Split town areas as Japan Post writes them: the reading split too, or repeated unchanged.
const std::string kSplitRecords =
    Line("0660005", "ｷｮｳﾜ(88-2､", "協和（８８－２、") +
    Line("0660005", "271ﾊﾞﾝﾁ)", "２７１番地）") +
    Line("6020033", "ｲﾏﾃﾞｶﾞﾜﾁｮｳ", "今出川町（烏丸通") + Line("6020033", "ｲﾏﾃﾞｶﾞﾜﾁｮｳ", "上る、") +
    Line("6020033", "ｲﾏﾃﾞｶﾞﾜﾁｮｳ", "下る）") + Line("6020033", "ｲﾏﾃﾞｶﾞﾜﾁｮｳ", "次の町") +
    // Never closed before the code changes: what was gathered is one record.
    Line("1000001", "ﾁﾖﾀﾞ(", "千代田（") + Line("1000002", "ｺｳｷｮｶﾞｲｴﾝ", "皇居外苑") +
    // Closed on its own line: nothing to join.
    Line("1000003", "ﾁﾖﾀﾞ(1)", "千代田（１）") + Line("1000003", "ﾁﾖﾀﾞ(2)", "千代田（２）");

TEST_F(ScanTest, JoinsSplitTownAreas) {
  const std::vector<std::string> joined{
      "0660005:協和（８８－２、２７１番地）:ｷｮｳﾜ(88-2､271ﾊﾞﾝﾁ):2",
      "6020033:今出川町（烏丸通上る、下る）:ｲﾏﾃﾞｶﾞﾜﾁｮｳ:3",
      "6020033:次の町:ｲﾏﾃﾞｶﾞﾜﾁｮｳ:1",
      "1000001:千代田（:ﾁﾖﾀﾞ(:1",
      "1000002:皇居外苑:ｺｳｷｮｶﾞｲｴﾝ:1",
      "1000003:千代田（１）:ﾁﾖﾀﾞ(1):1",
      "1000003:千代田（２）:ﾁﾖﾀﾞ(2):1",
  };
  EXPECT_EQ(joined, Scan(kSplitRecords, Screen{}, true));
  EXPECT_EQ(10u, Scan(kSplitRecords, Screen{}, false).size());

  // A screen that finds only a later line still gives the whole record, once; every record
  // that opens a split town area is visited, since a word may sit on any of its lines.
  const Screen later{{Cp932("下る")}};
  EXPECT_EQ((std::vector<std::string>{joined[0], joined[1], joined[3]}),
            Scan(kSplitRecords, later, true));
  EXPECT_EQ(std::vector<std::string>{"6020033:下る）:ｲﾏﾃﾞｶﾞﾜﾁｮｳ:1"},
            Scan(kSplitRecords, later, false));
}

TEST_F(ScanTest, RecordsAcrossBlocks) {
  // Filler lines put the split records across the reader's 128 KB block boundary, at every
  // place from before the first line to after the last, and a line without CR LF ends the file.
  const std::string filler = Line("9000000", "ｱ", "あ");
  const std::string last = Line("9999999", "ｵﾜﾘ", "終わり");
  const Screen screen{{Cp932("協和"), Cp932("上る"), "9999999"}};
  const std::vector<std::string> expected{
      "0660005:協和（８８－２、２７１番地）:ｷｮｳﾜ(88-2､271ﾊﾞﾝﾁ):2",
      "6020033:今出川町（烏丸通上る、下る）:ｲﾏﾃﾞｶﾞﾜﾁｮｳ:3", "1000001:千代田（:ﾁﾖﾀﾞ(:1",
      "9999999:終わり:ｵﾜﾘ:1"};
  std::string bytes;
  while (bytes.size() + filler.size() < (std::size_t{128} << 10) - kSplitRecords.size()) {
    bytes += filler;
  }
  const std::size_t lines = bytes.size() / filler.size() + 12;
  for (std::size_t shift = 0; shift < kSplitRecords.size() + 40; shift += 9) {
    const std::string file =
        bytes + std::string(shift, 'x') + "\r\n" + kSplitRecords + last.substr(0, last.size() - 2);
    EXPECT_EQ(expected, Scan(file, screen, true)) << shift;
    EXPECT_EQ(lines, Scan(file, Screen{}, false).size()) << shift;
    EXPECT_EQ(lines - 3, Scan(file, Screen{}, true).size()) << shift;
  }
}

TEST_F(ScanTest, RecordsLongerThanABlockButNoLineLongerThanARecord) {
  // A split record of 200 lines of 1 KB each does not fit a block, so the reader widens its
  // block (or its window over the mapped file) until it does. A line longer than any record
  // is no Japan Post line: the reader stops there rather than hold it, whether it outgrows a
  // block (300 KB) or only a record (5 KB, parsed for a match).
  std::string bytes = Line("1000001", "ｱ", "前") + Line("1000003", "ｳ", "中（");
  std::string joined = "中（";
  for (int i = 0; i < 200; ++i) {
    std::string part;
    for (int j = 0; j < 340; ++j) part += "丁";
    bytes += Line("1000003", "ｳ", part);
    joined += part;
  }
  bytes += Line("1000003", "ｳ", "）") + Line("1000004", "ｴ", "後");
  joined += "）";
  const std::vector<std::string> expected{"1000001:前:ｱ:1", "1000003:" + joined + ":ｳ:202",
                                          "1000004:後:ｴ:1"};
  EXPECT_EQ(expected, Scan(bytes, Screen{}, true));
  EXPECT_EQ((std::vector<std::string>{expected[1], expected[2]}),
            Scan(bytes, Screen{{Cp932("後"), Cp932("丁丁")}}, true));

  for (const std::size_t length : {std::size_t{5000}, std::size_t{300000}}) {
    std::string town;  // UTF-8 here; two bytes a character in the file
    for (std::size_t i = 0; i < length / 2; ++i) town += "町";
    const std::string file = Line("1000001", "ｱ", "前") + Line("1000002", "ｲ", town);
    test_support::WriteWholeFile(path_, file);
    for (const Reading reading : {Reading::kMapped, Reading::kBlocks}) {
      std::FILE* in = std::fopen(path_.string().c_str(), "rb");
      ASSERT_NE(nullptr, in);
      orvek::detail::DataFileCheck why = orvek::detail::DataFileCheck::kJapanPost;
      EXPECT_EQ(ScanResult::kNotData,
                ScanRecords(
                    in, Screen{{Cp932("町町")}}, true, [](Record&) { return true; }, reading, &why))
          << length;
      EXPECT_EQ(orvek::detail::DataFileCheck::kLongLine, why) << length;
      std::fclose(in);
    }
  }
}

TEST_F(ScanTest, StopsWhenTold) {
  const std::string bytes = kSplitRecords;
  for (const Reading reading : {Reading::kMapped, Reading::kBlocks}) {
    test_support::WriteWholeFile(path_, bytes);
    std::FILE* in = std::fopen(path_.string().c_str(), "rb");
    ASSERT_NE(nullptr, in);
    int visited = 0;
    EXPECT_EQ(ScanResult::kRead,
              ScanRecords(
                  in, Screen{}, true, [&](Record&) { return ++visited < 2; }, reading));
    std::fclose(in);
    EXPECT_EQ(2, visited);
  }
}

TEST_F(ScanTest, MapsOnlyWhatCanBeMapped) {
  // A regular file is mapped whole (not on Windows); an empty file and a folder are not, and
  // the reader then takes the stream: no records from the one, a read error from the other.
  const std::string bytes = kSplitRecords;
  test_support::WriteWholeFile(path_, bytes);
  std::FILE* in = std::fopen(path_.string().c_str(), "rb");
  ASSERT_NE(nullptr, in);
  {
    const FileView view(in, "");
#ifdef _WIN32
    EXPECT_FALSE(view.mapped());  // a failed page would be an exception no one catches
#else
    ASSERT_TRUE(view.mapped());
    EXPECT_EQ(bytes, std::string(view.data(), view.size()));
#endif
  }
  std::fclose(in);

  std::fclose(std::fopen(path_.string().c_str(), "wb"));
  in = std::fopen(path_.string().c_str(), "rb");
  ASSERT_NE(nullptr, in);
  EXPECT_FALSE(FileView(in, "").mapped());
  int visited = 0;
  EXPECT_EQ(ScanResult::kRead, ScanRecords(in, Screen{}, true, [&](Record&) { return ++visited; }));
  EXPECT_EQ(0, visited);
  std::fclose(in);

  fs::remove(path_);
  fs::create_directory(path_);
  in = std::fopen(path_.string().c_str(), "rb");
  if (in != nullptr) {  // a folder opens as a stream on Linux, and fails at its first read
    EXPECT_FALSE(FileView(in, "").mapped());
    EXPECT_EQ(ScanResult::kReadError,
              ScanRecords(in, Screen{}, true, [&](Record&) { return ++visited; }));
    std::fclose(in);
  }
  EXPECT_EQ(0, visited);
  fs::remove(path_);
}

#if !defined(_WIN32)
TEST_F(ScanTest, AMappedFileCutShortEndsTheProcessAsAFailedRead) {
  // The pages of a mapped file that is cut short are gone, and touching one raises SIGBUS:
  // the process must end as after a failed read (status 1 and the message), not crash.
  std::string bytes;
  while (bytes.size() < (std::size_t{256} << 10)) bytes += kSplitRecords;
  test_support::WriteWholeFile(path_, bytes);
  int err[2];
  ASSERT_EQ(0, ::pipe(err));
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::dup2(err[1], STDERR_FILENO);
    std::FILE* in = std::fopen(path_.string().c_str(), "rb");
    if (in == nullptr) ::_exit(3);
    const FileView view(in, "cut short\n");
    if (!view.mapped() || ::truncate(path_.string().c_str(), 0) != 0) ::_exit(4);
    const volatile char* last = view.data() + view.size() - 1;
    ::_exit(*last == '\n' ? 0 : 5);
  }
  ::close(err[1]);
  std::string message;
  char buffer[256];
  for (ssize_t n; (n = ::read(err[0], buffer, sizeof buffer)) > 0;) message.append(buffer, n);
  ::close(err[0]);
  int status = 0;
  ASSERT_EQ(child, ::waitpid(child, &status, 0));
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(1, WEXITSTATUS(status));
  EXPECT_EQ("cut short\n", message);
}
#endif

TEST_F(ScanTest, OpensEitherNameButNoFolder) {
  // In a folder of its own: ken_all.csv first, else KEN_ALL.CSV; a folder of either name is
  // passed over, as the library passes over it.
  const fs::path before = fs::current_path();
  fs::create_directory(path_);
  fs::current_path(path_);
  const auto opens = [] {
    std::FILE* file = OpenDataFile();
    std::string first;
    if (file != nullptr) {
      char line[64] = {};
      if (std::fgets(line, sizeof line, file) != nullptr) first = line;
      std::fclose(file);
    }
    return first;
  };
  EXPECT_EQ("", opens());
  std::ofstream("KEN_ALL.CSV", std::ios::binary) << "upper\n";
  EXPECT_EQ("upper\n", opens());
#ifndef _WIN32  // names that differ in case only
  fs::create_directory("ken_all.csv");
  EXPECT_EQ("upper\n", opens());
  fs::remove("ken_all.csv");
  std::ofstream("ken_all.csv", std::ios::binary) << "lower\n";
  EXPECT_EQ("lower\n", opens());
#endif
  fs::current_path(before);
  fs::remove_all(path_);
}

TEST_F(ScanTest, ScreenAllowsColumnBoundariesInsideAWord) {
  const std::string bytes = kSplitRecords;
  std::vector<FindWord> words = FindWords({Cp932("千代田区協和")});
  EXPECT_EQ(std::vector<std::string>{"0660005:協和（８８－２、:ｷｮｳﾜ(88-2､:1"},
            Scan(bytes, FindScreen(words), false));
  words = FindWords({Cp932("とうきょうとちよだくこうきょ")});
  EXPECT_EQ(std::vector<std::string>{"1000002:皇居外苑:ｺｳｷｮｶﾞｲｴﾝ:1"},
            Scan(bytes, FindScreen(words), false));
}

// Japan Post's file, unpacked into the build folder; skipped when it is absent.
class RealDataScan : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = test_support::RealDataFile();
    if (path_.empty()) GTEST_SKIP() << "no KEN_ALL.CSV in " << test_support::DataDir();
  }
  std::vector<Record> All(bool join) {
    std::vector<Record> records;
    std::FILE* in = std::fopen(path_.string().c_str(), "rb");
    EXPECT_NE(nullptr, in);
    ScanRecords(in, Screen{}, join, [&](Record& r) {
      records.push_back(r);
      return true;
    });
    std::fclose(in);
    return records;
  }
  fs::path path_;
};

// The lines whose town column opens a parenthesis that it does not close, by a plain scan of
// the file's columns.
std::size_t OpeningLines() {
  std::size_t count = 0;
  for (const std::string& line : test_support::RealDataLines()) {
    const std::string utf8 = Utf8(line);
    std::size_t at = 0;
    for (int column = 0; column < 8 && at != std::string::npos; ++column)
      at = utf8.find(',', at) + 1;
    const std::string town = utf8.substr(at, utf8.find(',', at) - at);
    count += town.find("（") != std::string::npos && town.find("）") == std::string::npos ? 1 : 0;
  }
  return count;
}

TEST_F(RealDataScan, SplitTownAreasOfThisEdition) {
  const std::vector<Record> lines = All(false);
  const std::vector<Record> records = All(true);
  EXPECT_EQ(test_support::RealDataLines().size(), lines.size());
  std::size_t openings = 0;
  std::size_t joined_lines = 0;
  for (const Record& record : records) {
    if (record.lines == 1) continue;
    ++openings;
    joined_lines += record.lines;
    // Every joined town area closes what it opened.
    EXPECT_FALSE(OpensSplitTownArea(record)) << record[kPostalCode];
  }
  EXPECT_EQ(OpeningLines(), openings);
  EXPECT_EQ(lines.size(), records.size() - openings + joined_lines);
}

TEST_F(RealDataScan, ScreenNeverPassesOverAMatch) {
  const std::vector<Record> records = All(true);
  const char* const texts[] = {"千代田", "ちよだ", "ﾁﾖﾀﾞ", "東京都千代田区", "丸の内", "まるのうち",
                               "とうきょうとちよだく", "100-00", "ほっかいどう さっぽろ", "ヶ丘",
                               "１２", "ｷｮｳﾜ", "番地）", "ｰ",
                               // Kana that the file writes in several ways in names.
                               "泉が丘", "霞ヶ関", "ケ丘", "が丘", "ひかり", "ヒカ", "丸ノ内",
                               "つつじ", "さいたま", "ぼ", "ガ"};
  for (const char* text : texts) {
    const std::vector<FindWord> words = FindWords(SplitWords(Cp932(text)));
    std::size_t expected = 0;
    for (const Record& record : records) expected += FindMatches(words, record) ? 1 : 0;
    std::size_t found = 0;
    std::FILE* in = std::fopen(path_.string().c_str(), "rb");
    ScanRecords(in, FindScreen(words), true, [&](Record& r) {
      found += FindMatches(words, r) ? 1 : 0;
      return true;
    });
    std::fclose(in);
    EXPECT_EQ(expected, found) << text;
    EXPECT_GT(expected, 0u) << text;
  }
}

}  // namespace
