// The orvek command as a script would call it: the built binary, run as a process, on small
// data files written here and, when it has been unpacked, on Japan Post's real file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/encoding.h"
#include "run_program.h"

namespace fs = std::filesystem;

namespace {

using orvek_test::InTerminalEncoding;
using orvek_test::Outcome;

// Rows as the command prints them without --encoding, from their UTF-8 text.
std::string DefaultRows(const std::string& utf8) {
  return orvek_test::DefaultOutput(platform::Utf8ToCp932(utf8).value());
}

// One data-file line in the published layout, from UTF-8 names.
std::string Line(const std::string& code, const std::string& pref, const std::string& city,
                 const std::string& town) {
  const std::string utf8 = "01101,\"" + code.substr(0, 3) + "  \",\"" + code +
                           "\",\"ｶﾅ\",\"ｶﾅ\",\"ｶﾅ\",\"" + pref + "\",\"" + city + "\",\"" + town +
                           "\",0,0,0,0,0,0\r\n";
  return platform::Utf8ToCp932(utf8).value();
}

// The postal codes of the printed rows, e.g. "183-0001 726-0001".
std::string Codes(const std::string& rows) {
  std::string codes;
  std::istringstream lines(rows);
  for (std::string row; std::getline(lines, row);) {
    if (!codes.empty()) codes += ' ';
    codes += row.substr(0, 8);
  }
  return codes;
}

class OrvekCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = orvek_test::MakeTemporaryFolder("orvek-command-");
    ASSERT_FALSE(dir_.empty());
  }
  void TearDown() override { fs::remove_all(dir_); }

  void WriteData(const std::string& bytes, const char* name = "ken_all.csv") {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }
  Outcome Orvek(const std::vector<std::string>& args, const std::vector<std::string>& env = {}) {
    return orvek_test::RunProgram(ORVEK_BINARY, args, dir_, env);
  }

  fs::path dir_;
};

// Names chosen so that every match mode picks a different set of lines.
const std::string kFourTowns =
    Line("1830001", "東京都", "府中市", "本町") + Line("7260001", "広島県", "府中市", "本町") +
    Line("1000002", "東京都", "千代田区", "本町") + Line("1830002", "東京都", "府中市", "緑町");

TEST_F(OrvekCommandTest, UsageErrorsExitTwoAndSayWhatIsWrong) {
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const Case cases[] = {
      {{}, "no command"},
      {{"zip", "1000001"}, "unknown command"},
      {{"code"}, "seven digits"},
      {{"code", "100001"}, "seven digits"},
      {{"code", "1000-001"}, "seven digits"},
      {{"code", "100 0001"}, "seven digits"},
      {{"code", "１０００００１"}, "seven digits"},
      {{"code", "1000001", "1000002"}, "one postal code"},
      {{"code", "1000001", "--town", "x"}, "address command"},
      {{"address"}, "at least one"},
      {{"address", "--pref", "", "--city="}, "at least one"},
      {{"address", "--city", "府中市", "--mode", "two"}, "--mode must be an integer"},
      {{"address", "--town", "한국"}, "--town"},
      {{"address", "--city", "\xFF"}, "--city"},
      {{"code", "1000001", "--encoding", "latin1"}, "--encoding"},
      {{"code", "1000001", "--verbose"}, "unknown option --verbose"},
  };
  WriteData(kFourTowns);
  for (const Case& c : cases) {
    const Outcome outcome = Orvek(c.args);
    const std::string shown = c.args.empty() ? "(none)" : c.args.back();
    EXPECT_EQ(2, outcome.status) << shown;
    EXPECT_NE(std::string::npos, outcome.err.find(c.message)) << shown << ": " << outcome.err;
    EXPECT_EQ("", outcome.out) << shown;
  }
}

TEST_F(OrvekCommandTest, HelpAndVersion) {
  const Outcome help = Orvek({"code", "--help"});
  EXPECT_EQ(0, help.status);
  EXPECT_NE(std::string::npos, help.out.find("orvek code 100-0001"));
  EXPECT_NE(std::string::npos, help.out.find("Exit status"));
  const Outcome version = Orvek({"--version"});
  EXPECT_EQ(0, version.status);
  EXPECT_EQ("orvek 1.0.0.1\n", version.out);
}

TEST_F(OrvekCommandTest, CodeSearchPrintsRowsInFileOrderWithOrWithoutHyphen) {
  WriteData(Line("1000001", "東京都", "千代田区", "千代田") + kFourTowns +
            Line("1000001", "東京都", "千代田区", "皇居外苑"));
  const std::string expected =
      "100-0001  東京都      千代田区              千代田\n"
      "100-0001  東京都      千代田区              皇居外苑\n";
  for (const char* code : {"1000001", "100-0001"}) {
    const Outcome outcome = Orvek({"code", code});
    EXPECT_EQ(0, outcome.status) << outcome.err;
    EXPECT_EQ(DefaultRows(expected), outcome.out);
    EXPECT_EQ("", outcome.err);
  }
  EXPECT_EQ("2\n", Orvek({"--count", "code", "1000001"}).out);
  const Outcome none = Orvek({"code", "9999999"});
  EXPECT_EQ(0, none.status);
  EXPECT_EQ("", none.out);
  EXPECT_EQ("0\n", Orvek({"code", "9999999", "--count"}).out);
}

TEST_F(OrvekCommandTest, AddressChoosesTheModeFromTheNamesGiven) {
  WriteData(kFourTowns);
  struct Case {
    std::vector<std::string> args;
    std::string codes;
  };
  const Case cases[] = {
      {{"--pref", "東京都", "--city", "府中市", "--town", "本町"}, "183-0001"},
      {{"--pref", "東京都", "--city", "府中市"}, "183-0001 183-0002"},
      {{"--pref", "東京都", "--town", "本町"}, "183-0001 100-0002"},
      {{"--city", "府中市", "--town", "本町"}, "183-0001 726-0001"},
      {{"--city", "府中市"}, "183-0001 726-0001 183-0002"},
      {{"--town=本町", "--pref", ""}, "183-0001 726-0001 100-0002"},
      {{"--pref", "東京都", "--city", "府中市", "--mode", "5"},
       "183-0001 726-0001 100-0002 183-0002"},
      {{"--pref", "東京都", "--mode", "0"}, ""},
      {{"--pref", "東京都", "--mode", "-1"}, ""},
      {{"--pref", "東京"}, ""},  // names must be whole
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"address"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const Outcome outcome = Orvek(args);
    EXPECT_EQ(0, outcome.status) << c.args[1] << ": " << outcome.err;
    EXPECT_EQ(c.codes, Codes(outcome.out)) << c.args[1];
  }
}

TEST_F(OrvekCommandTest, OutputEncodings) {
  // The town's last character is cut after its lead byte, as an over-long column is.
  std::string data = Line("1000001", "東京都", "千代田区", "丸の内");
  const std::string quote_comma = "\",0,0";
  const std::size_t cut = data.find(quote_comma);
  data = data.substr(0, cut).append("\x93").append(data, cut);
  WriteData(data);

  const std::string listed =
      platform::Utf8ToCp932("100-0001  東京都      千代田区              丸の内").value() +
      orvek_test::CutLeadByteAsListed() + "\n";
  const std::string utf8_row = platform::Cp932ToUtf8(listed);
  const std::string cp932_row = listed;
  EXPECT_EQ(utf8_row, Orvek({"code", "1000001", "--encoding", "utf-8"}).out);
  const Outcome cp932 = Orvek({"code", "1000001", "--encoding=cp932"});
  EXPECT_EQ(0, cp932.status);
  EXPECT_EQ(cp932_row, cp932.out);
  EXPECT_EQ(orvek_test::DefaultOutput(cp932_row), Orvek({"code", "1000001"}).out);
}

TEST_F(OrvekCommandTest, ManyRowsComeOutWholeAndInOrderInBothEncodings) {
  // Far more rows than one write of the command holds, with town names of every length, so
  // that rows end at every place of its blocks.
  std::string data;
  std::string codes;
  const int rows = 3000;
  for (int i = 0; i < rows; ++i) {
    const std::string code = std::to_string(1000000 + i);
    data += Line(code, "北海道", "札幌市中央区", std::string(1 + i % 7 * 3, 'x') + "町");
    if (!codes.empty()) codes += ' ';
    codes.append(code, 0, 3).append(1, '-').append(code, 3);
  }
  WriteData(data);

  const Outcome cp932 = Orvek({"address", "--pref", "北海道", "--encoding", "cp932"});
  ASSERT_EQ(0, cp932.status) << cp932.err;
  EXPECT_EQ(codes, Codes(cp932.out));
  const Outcome utf8 = Orvek({"address", "--pref", "北海道", "--encoding", "utf-8"});
  ASSERT_EQ(0, utf8.status) << utf8.err;
  EXPECT_EQ(platform::Cp932ToUtf8(cp932.out), utf8.out);
  EXPECT_EQ(codes, Codes(utf8.out));
  EXPECT_EQ(std::to_string(rows) + "\n", Orvek({"address", "--pref", "北海道", "--count"}).out);
}

TEST_F(OrvekCommandTest, DataFolderAndMissingFile) {
  fs::create_directory(dir_ / "data");
  std::ofstream(dir_ / "data" / "ken_all.csv", std::ios::binary) << kFourTowns;

  // Nothing in the current folder: the library's message, exit 1, no rows.
  const Outcome missing = Orvek({"address", "--city", "府中市"});
  EXPECT_EQ(1, missing.status);
  EXPECT_NE(std::string::npos,
            missing.err.find(InTerminalEncoding("郵便番号ファイルオープンエラー")))
      << missing.err;
  EXPECT_EQ("", missing.out);

  const Outcome found = Orvek({"--data-dir", "data", "address", "--city", "府中市", "--count"});
  EXPECT_EQ(0, found.status) << found.err;
  EXPECT_EQ("3\n", found.out);
  EXPECT_EQ("3\n", Orvek({"address", "--city", "府中市", "--count", "--data-dir",
                          (dir_ / "data").string()})
                       .out);

  const Outcome no_folder = Orvek({"--data-dir", "nowhere", "code", "1000001"});
  EXPECT_EQ(1, no_folder.status);
  EXPECT_NE(std::string::npos, no_folder.err.find("'nowhere'")) << no_folder.err;
}

TEST_F(OrvekCommandTest, ADataFileThatCannotBeReadIsAFailure) {
  // A directory of the data file's name: the open error, not an empty result.
  fs::create_directory(dir_ / "ken_all.csv");
  const Outcome directory = Orvek({"code", "1000001"});
  EXPECT_EQ(1, directory.status);
  EXPECT_NE(std::string::npos,
            directory.err.find(InTerminalEncoding("郵便番号ファイルオープンエラー")))
      << directory.err;
  EXPECT_EQ("", directory.out);
#ifdef FAILING_READ_SHIM  // file names that differ in case only, and LD_PRELOAD: not on Windows
  // Japan Post's name beside it is read.
  WriteData(kFourTowns, "KEN_ALL.CSV");
  const Outcome beside = Orvek({"address", "--city", "府中市", "--count"});
  EXPECT_EQ(0, beside.status) << beside.err;
  EXPECT_EQ("3\n", beside.out);
  fs::remove(dir_ / "ken_all.csv");

  // A read that fails after the first line: the read error, exit 1, no rows printed as if the
  // file had ended there.
  const std::string first = Line("1830001", "東京都", "府中市", "本町");
  const Outcome failed = Orvek({"address", "--city", "府中市"},
                               {"LD_PRELOAD=" FAILING_READ_SHIM,
                                "ORVEK_TEST_READ_BUDGET=" + std::to_string(first.size() + 3)});
  EXPECT_EQ(1, failed.status);
  EXPECT_NE(std::string::npos, failed.err.find("郵便番号ファイル読み込みエラー")) << failed.err;
  EXPECT_EQ(std::string::npos, failed.err.find("オープン")) << failed.err;
  EXPECT_EQ("", failed.out);
  // The same reads with enough bytes for the whole file: no failure.
  const Outcome whole = Orvek({"address", "--city", "府中市", "--count"},
                              {"LD_PRELOAD=" FAILING_READ_SHIM, "ORVEK_TEST_READ_BUDGET=100000"});
  EXPECT_EQ(0, whole.status) << whole.err;
  EXPECT_EQ("3\n", whole.out);
#endif
}

// Japan Post's file, unpacked into the build folder by the build; skipped when it is absent.
TEST_F(OrvekCommandTest, RealData) {
  const fs::path data = fs::absolute(MORVANE_DATA_DIR);
  if (!fs::exists(data / "KEN_ALL.CSV") && !fs::exists(data / "ken_all.csv")) {
    GTEST_SKIP() << "no KEN_ALL.CSV in " << data;
  }
  const std::vector<std::string> in_data{"--data-dir", data.string()};
  auto orvek = [&](std::vector<std::string> args) {
    args.insert(args.begin(), in_data.begin(), in_data.end());
    return Orvek(args);
  };
  EXPECT_EQ(DefaultRows("100-0001  東京都      千代田区              千代田\n"),
            orvek({"code", "1000001"}).out);
  EXPECT_EQ("66\n", orvek({"code", "452-0961", "--count"}).out);
  EXPECT_EQ("8201\n", orvek({"address", "--pref", "北海道", "--count"}).out);

  std::string prefectures;
  std::istringstream rows(orvek({"address", "--city", "府中市", "--encoding", "utf-8"}).out);
  for (std::string row; std::getline(rows, row);) {
    const std::string pref = row.substr(10, row.find(' ', 10) - 10);
    if (prefectures.find(pref) == std::string::npos) prefectures += pref + " ";
  }
  EXPECT_EQ("東京都 広島県 ", prefectures);
}

}  // namespace
