// The orvek command as a script would call it: the built binary, run as a process, on small
// data files written here and, when it has been unpacked, on Japan Post's real file.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "platform/encoding.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

using test_support::Cp932;
using test_support::InTerminalEncoding;
using test_support::Outcome;

// Rows as the command prints them without --encoding, from their UTF-8 text.
std::string DefaultRows(const std::string& utf8) {
  return test_support::DefaultOutput(Cp932(utf8));
}

// One data-file line with every column given, from UTF-8 text.
std::string FullLine(const std::string& code, const std::string& kana, const std::string& pref,
                     const std::string& city, const std::string& town,
                     const std::string& flags = "0,0,0,0,0,0") {
  const std::string utf8 = "13101,\"" + code.substr(0, 3) + "  \",\"" + code + "\"," + kana +
                           ",\"" + pref + "\",\"" + city + "\",\"" + town + "\"," + flags + "\r\n";
  return Cp932(utf8);
}

// One data-file line in the published layout, from UTF-8 names.
std::string Line(const std::string& code, const std::string& pref, const std::string& city,
                 const std::string& town) {
  const std::string utf8 = "01101,\"" + code.substr(0, 3) + "  \",\"" + code +
                           "\",\"ｶﾅ\",\"ｶﾅ\",\"ｶﾅ\",\"" + pref + "\",\"" + city + "\",\"" + town +
                           "\",0,0,0,0,0,0\r\n";
  return Cp932(utf8);
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
    dir_ = test_support::MakeTemporaryFolder("orvek-command-");
    ASSERT_FALSE(dir_.empty());
  }
  void TearDown() override {
    if (const std::string why = test_support::RemoveFolder(dir_); !why.empty())
      ADD_FAILURE() << why;
  }

  void WriteData(const std::string& bytes, const char* name = "ken_all.csv") {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }
  // orvek in dir_, where no installed data folder of this machine is seen: the data folders
  // are under dir_ (env may name others).
  Outcome Orvek(const std::vector<std::string>& args, const std::vector<std::string>& env = {}) {
    return test_support::RunProgram(ORVEK_BINARY, args, dir_,
                                    {WithDataFolders(env), false, {}, {}});
  }
  // The same with the output going to stdout_path.
  Outcome OrvekTo(const std::vector<std::string>& args, const fs::path& stdout_path) {
    return test_support::RunProgram(ORVEK_BINARY, args, dir_,
                                    {WithDataFolders({}), false, stdout_path, {}});
  }
  std::vector<std::string> WithDataFolders(const std::vector<std::string>& env) const {
    std::vector<std::string> all{"MORVANE_DATA_DIR=", "XDG_DATA_HOME=" + (dir_ / "home").string(),
                                 "XDG_DATA_DIRS=" + (dir_ / "share").string(),
                                 "LOCALAPPDATA=" + (dir_ / "local").string()};
    all.insert(all.end(), env.begin(), env.end());
    return all;
  }

  // The folder where the updater puts the file, as the environment above names it.
  fs::path UserDataFolder() const {
#ifdef _WIN32
    return dir_ / "local" / "Morvane";
#else
    return dir_ / "home" / "morvane";
#endif
  }
  static std::string NoDataFile() {
    return "no ken_all.csv (or KEN_ALL.CSV) in the current folder or the data folders";
  }

  fs::path dir_;
};

#ifdef _WIN32
constexpr char kUpdater[] = "郵便番号データの更新";
#else
constexpr char kUpdater[] = "morvane-update-data";
#endif

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
      {{"-x", "code", "1000001"}, "unknown option -x"},
      {{"code", "1000001", "-x"}, "unknown option -x"},
      {{"zip"}, "use code, address, find or info"},
      {{"code", "1000001", "--join=yes"}, "--join takes no value"},
      {{"find"}, "find needs a text"},
      {{"find", "", " \u3000 "}, "find needs a text"},
      {{"find", "x", "--pref", "東京都"}, "address command"},
      {{"find", "x", "--limit", "0"}, "--limit must be 1 or more"},
      {{"find", "x", "--limit=-2"}, "--limit must be 1 or more"},
      {{"find", "x", "--limit", "1e3"}, "--limit must be an integer"},
      {{"find", "x", "--limit", "99999999999999999999"}, "--limit is out of range"},
      {{"address", "--city", "府中市", "--mode", "4294967297"}, "--mode is out of range"},
      {{"code", "1000001", "--data-dir", ""}, "--data-dir needs a folder"},
      {{"code", "1000001", "--data-dir="}, "--data-dir needs a folder"},
      {{"find", "x", "--format", "xml"}, "--format must be"},
      {{"find", "x", "--format", "json", "--encoding", "cp932"}, "JSON is always UTF-8"},
      {{"code", "1000001", "--format=jsonl", "--encoding=cp932"}, "JSON is always UTF-8"},
      {{"find", "x", "--limit"}, "--limit needs a value"},
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
  // Every option stands on a line of its own, apart from its description.
  EXPECT_NE(std::string::npos, help.out.find("\n  --join, --no-join\n"));
  // Where the data file is looked for without --data-dir, and how it gets there.
  for (const char* folder : {"~/.local/share/morvane", "/usr/share/morvane", "morvane-update-data",
                             "%LOCALAPPDATA%\\Morvane"}) {
    EXPECT_NE(std::string::npos, help.out.find(folder)) << folder;
  }
  // The examples' folders are the system's own.
#ifdef _WIN32
  EXPECT_NE(std::string::npos, help.out.find("orvek info --data-dir %LOCALAPPDATA%\\Morvane\n"));
  EXPECT_EQ(std::string::npos, help.out.find("--data-dir ~/"));
#else
  EXPECT_NE(std::string::npos, help.out.find("orvek info --data-dir ~/.local/share/morvane\n"));
#endif
  const Outcome version = Orvek({"--version"});
  EXPECT_EQ(0, version.status);
  EXPECT_EQ("orvek 1.0.0.1\n", version.out);

  // --help wins wherever it stands, over mistakes too; after -- it is only a word.
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--bogus", "--help"},
                                             {"-x", "-h"},
                                             {"code", "12", "--limit", "0", "--help"},
                                             {"find", "--version", "-h"}}) {
    const Outcome outcome = Orvek(args);
    EXPECT_EQ(0, outcome.status) << args[0];
    EXPECT_EQ(help.out, outcome.out) << args[0];
    EXPECT_EQ("", outcome.err) << args[0];
  }
  WriteData(kFourTowns);
  const Outcome word = Orvek({"find", "--", "--help"});
  EXPECT_EQ(0, word.status) << word.err;
  EXPECT_EQ("", word.out);

#ifndef _WIN32
  // A help or version that cannot be written is a failure, said on stderr.
  for (const char* option : {"--help", "--version"}) {
    const Outcome full = OrvekTo({option}, "/dev/full");
    EXPECT_EQ(1, full.status) << option;
    EXPECT_NE(std::string::npos, full.err.find("cannot write")) << option << ": " << full.err;
  }
#endif
}

// Output that cannot be written: a full device gives the system's own reason, and a reader
// that went away (head) ends the command quietly, by SIGPIPE on Linux and with status 1 on
// Windows. Each path that writes: help, the library's rows, the command's reader, info.
TEST_F(OrvekCommandTest, FailedWritesSayTheSystemsReasonAndAClosedPipeEndsQuietly) {
  WriteData(kFourTowns);
#ifdef _WIN32
  const bool wine = ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version");
  const fs::path full_device = wine ? fs::path("Z:\\dev\\full") : fs::path();
  const std::string disk_full = "(error 112)";  // ERROR_DISK_FULL, after the system's text
#else
  const fs::path full_device = "/dev/full";
  const std::string disk_full = "No space left on device";
#endif
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--help"},
                                             {"address", "--pref", "東京都"},
                                             {"find", "本町", "--format", "json"},
                                             {"info"}}) {
    SCOPED_TRACE(args[0]);
    if (!full_device.empty()) {
      const Outcome full = OrvekTo(args, full_device);
      EXPECT_EQ(1, full.status);
      EXPECT_NE(std::string::npos, full.err.find("cannot write")) << full.err;
      EXPECT_NE(std::string::npos, full.err.find(disk_full)) << full.err;
    }
    const Outcome closed = test_support::RunProgram(ORVEK_BINARY, args, dir_,
                                                    {WithDataFolders({}), false, {}, {}, true});
#ifdef _WIN32
    EXPECT_EQ(1, closed.status);
    EXPECT_EQ("", closed.err);
#else
    // Unless whoever started the tests ignores SIGPIPE: then the system's reason.
    if (closed.signal != SIGPIPE) {
      EXPECT_NE(std::string::npos, closed.err.find("Broken pipe")) << closed.err;
    }
#endif
  }
  if (full_device.empty())
    GTEST_SKIP() << "no full device on Windows itself (Wine has Z:\\dev\\full)";
}

// Messages on stderr come in the encoding that --encoding names for the rows: the command's
// own (a warning that quotes a name) and the library's message box.
TEST_F(OrvekCommandTest, MessagesFollowTheEncodingOfTheRows) {
  fs::create_directory(dir_ / "empty");
  const std::string empty = (dir_ / "empty").string();
  for (const char* encoding : {"utf-8", "cp932"}) {
    SCOPED_TRACE(encoding);
    const auto in_encoding = [&](const std::string& utf8) {
      return std::string(encoding) == "utf-8" ? utf8 : Cp932(utf8);
    };
    const Outcome outcome =
        Orvek({"address", "--city", "府中市 ", "--data-dir", empty, "--encoding", encoding});
    EXPECT_EQ(1, outcome.status);
    EXPECT_NE(std::string::npos, outcome.err.find(in_encoding("warning: --city '府中市 '")))
        << outcome.err;
    EXPECT_NE(std::string::npos, outcome.err.find(in_encoding("郵便番号ファイルオープンエラー")))
        << outcome.err;
  }
}

TEST_F(OrvekCommandTest, AddressWarnsOfNamesWithSpaces) {
  WriteData(kFourTowns);
  for (const char* name : {"府中市 ", " 府中市", "府中市\u3000", "\u3000府中市"}) {
    const Outcome outcome = Orvek({"address", "--city", name});
    EXPECT_EQ(0, outcome.status) << name;
    EXPECT_EQ("", outcome.out) << name;
    EXPECT_NE(std::string::npos,
              outcome.err.find(InTerminalEncoding("warning: --city '" + std::string(name) + "'")))
        << name << ": " << outcome.err;
    EXPECT_NE(std::string::npos, outcome.err.find("matches nothing as written")) << outcome.err;
  }
  // Spaces inside a name, and bytes 0x81 0x40 that end 堰 (0x89 0x81) and an @, are no
  // spaces at either end.
  EXPECT_EQ("", Orvek({"address", "--city", "府中 市", "--town", "堰@"}).err);
  EXPECT_EQ("", Orvek({"address", "--city", "府中市"}).err);
}

TEST_F(OrvekCommandTest, FindWordsThatCp932CannotHoldMatchNothing) {
  WriteData(kFourTowns);
  for (const char* word : {"😀", "𠮷野家", "한국"}) {
    const Outcome outcome = Orvek({"find", "本町", word});
    EXPECT_EQ(1, outcome.status) << word;
    EXPECT_EQ("", outcome.out) << word;
    EXPECT_NE(std::string::npos, outcome.err.find("no Shift-JIS")) << word << ": " << outcome.err;
    EXPECT_EQ("", Orvek({"find", word, "--count"}).out) << word;
  }
}

// Readings in every width and kana, as people type them; a split town area and a city with
// no town areas listed.
const std::string kReadings =
    FullLine("0600000", R"x("ﾎｯｶｲﾄﾞｳ","ｻｯﾎﾟﾛｼﾁｭｳｵｳｸ","ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ")x", "北海道", "札幌市中央区",
             "以下に掲載がない場合") +
    FullLine("0600042", R"x("ﾎｯｶｲﾄﾞｳ","ｻｯﾎﾟﾛｼﾁｭｳｵｳｸ","ｵｵﾄﾞｵﾘﾆｼ(1-19ﾁｮｳﾒ)")x", "北海道",
             "札幌市中央区", "大通西（１～１９丁目）", "0,0,1,0,0,0") +
    FullLine("1000005", R"x("ﾄｳｷｮｳﾄ","ﾁﾖﾀﾞｸ","ﾏﾙﾉｳﾁ(ﾂｷﾞﾉﾋﾞﾙｦﾉｿﾞｸ)")x", "東京都", "千代田区",
             "丸の内（次のビルを除く）") +
    FullLine("6020033", R"x("ｷｮｳﾄﾌ","ｷｮｳﾄｼｶﾐｷﾞｮｳｸ","ｲﾏﾃﾞｶﾞﾜﾁｮｳ")x", "京都府", "京都市上京区",
             "今出川町（烏丸通今出川上る、") +
    FullLine("6020033", R"x("ｷｮｳﾄﾌ","ｷｮｳﾄｼｶﾐｷﾞｮｳｸ","ｲﾏﾃﾞｶﾞﾜﾁｮｳ")x", "京都府", "京都市上京区",
             "今出川通室町東入）") +
    FullLine("1000001", R"x("ﾄｳｷｮｳﾄ","ﾁﾖﾀﾞｸ","ﾁﾖﾀﾞ")x", "東京都", "千代田区", "千代田") +
    FullLine("3300000", R"x("ｻｲﾀﾏｹﾝ","ｻｲﾀﾏｼ","ｾﾝﾀｰ")x", "埼玉県", "さいたま市", "センター");

TEST_F(OrvekCommandTest, FindComparesWidthsKanaAndCodes) {
  WriteData(kReadings);
  struct Case {
    std::string text;
    std::string codes;
  };
  const Case cases[] = {
      {"千代田", "100-0005 100-0001"},
      {"千代田 丸の内", "100-0005"},
      {"東京 ちよだ", "100-0005 100-0001"},  // one word in the address, one in the reading
      {"東京都千代田区丸の内", "100-0005"},  // across prefecture, city and town area
      {"ちよだく", "100-0005 100-0001"},
      {"チヨダク", "100-0005 100-0001"},
      {"ﾁﾖﾀﾞｸ", "100-0005 100-0001"},
      {"ほっかいどう　おおどおり", "060-0042"},  // small kana as written, a full-width space
      {"ｻｯﾎﾟﾛ", "060-0000 060-0042"},
      {"19丁目", "060-0042"},    // half-width digits find the full-width ones
      {"１－１９", "060-0042"},  // in the reading; the address writes ～
      {"1-19ちょうめ", "060-0042"},
      {"せんたー", "330-0000"},
      {"ｾﾝﾀｰ", "330-0000"},
      {"サイタマ", "330-0000"},  // the reading; さいたま市 itself is written in hiragana
      {"さいたま市", "330-0000"},
      {"今出川上る、今出川通", "602-0033"},  // joined over the line break
      {"100-00", "100-0005 100-0001"},
      {"１０００００", "100-0005 100-0001"},
      {"0600", "060-0000 060-0042"},
      {"以下に掲載", ""},  // cleaned away
      {"ｲｶﾆｹｲｻｲ", ""},
      {"北海道", "060-0000 060-0042"},
      {"京都 東京", "100-0005 100-0001"},  // 京都 is in 東京都 too
  };
  for (const Case& c : cases) {
    const Outcome outcome = Orvek({"find", c.text});
    EXPECT_EQ(0, outcome.status) << c.text << ": " << outcome.err;
    EXPECT_EQ(c.codes, Codes(outcome.out)) << c.text;
    EXPECT_EQ("", outcome.err) << c.text;
  }

  EXPECT_EQ(DefaultRows("060-0000  北海道      札幌市中央区          以下に掲載がない場合\n"),
            Orvek({"find", "以下に掲載", "--no-clean"}).out);
  EXPECT_EQ(DefaultRows("602-0033  京都府      京都市上京区          今出川通室町東入）\n"),
            Orvek({"find", "今出川通室町", "--no-join"}).out);
  EXPECT_EQ("2\n", Orvek({"find", "千代田", "--count"}).out);
  EXPECT_EQ("1\n", Orvek({"find", "千代田", "--count", "--limit", "1"}).out);
  EXPECT_EQ("100-0005", Codes(Orvek({"find", "千代田", "--limit=1"}).out));
  EXPECT_EQ("100-0005 100-0001", Codes(Orvek({"find", "千代田", "--limit", "9"}).out));
  const Outcome dash = Orvek({"find", "--", "-1"});  // a word after --: in the reading 1-19
  EXPECT_EQ(0, dash.status) << dash.err;
  EXPECT_EQ("060-0042", Codes(dash.out));
}

TEST_F(OrvekCommandTest, FindIsExactAboutKana) {
  // Japan Post writes one sound in several ways in names, and readings in half-width, where a
  // voiced kana is two bytes (ｶﾞ).
  WriteData(
      FullLine("6650851", R"x("ﾋｮｳｺﾞｹﾝ","ﾀｶﾗﾂﾞｶｼ","ｲｽﾞﾐｶﾞｵｶ")x", "兵庫県", "宝塚市", "泉ガ丘") +
      FullLine("1000013", R"x("ﾄｳｷｮｳﾄ","ﾁﾖﾀﾞｸ","ｶｽﾐｶﾞｾｷ")x", "東京都", "千代田区", "霞が関") +
      FullLine("4600002", R"x("ｱｲﾁｹﾝ","ﾅｺﾞﾔｼﾅｶｸ","ﾏﾙﾉｳﾁ")x", "愛知県", "名古屋市中区", "丸の内") +
      FullLine("7900001", R"x("ｴﾋﾒｹﾝ","ﾏﾂﾔﾏｼ","ﾏﾙﾉｳﾁ")x", "愛媛県", "松山市", "丸ノ内") +
      FullLine("0600001", R"x("ﾎｯｶｲﾄﾞｳ","ｻｯﾎﾟﾛｼ","ｵｵﾄﾞｵﾘﾋｶﾞｼ")x", "北海道", "札幌市", "大通東") +
      FullLine("0600002", R"x("ﾎｯｶｲﾄﾞｳ","ｻｯﾎﾟﾛｼ","ﾋｶﾘﾏﾁ")x", "北海道", "札幌市", "光町") +
      FullLine("4300001", R"x("ｼｽﾞｵｶｹﾝ","ﾊﾏﾏﾂｼ","ﾓﾄｼﾞｮｳﾅｲ")x", "静岡県", "浜松市", "元城内") +
      FullLine("5192170", R"x("ﾐｴｹﾝ","ﾀｷｸﾞﾝﾀｷﾁｮｳ","ｳﾞｨｿﾝ")x", "三重県", "多気郡多気町",
               "ヴィソン"));
  struct Case {
    std::string text;
    std::string codes;
  };
  const Case cases[] = {
      {"ひか", "060-0002"},  // not ﾋｶﾞ: a kana and its mark are one character
      {"ひが", "060-0001"},
      {"ｶﾞ", "665-0851 100-0013 060-0001"},
      {"とし", ""},              // ﾓﾄｼﾞｮｳﾅｲ
      {"さっぽろしおおと", ""},  // ｵｵﾄﾞ
      {"さっぽろしおおど", "060-0001"},
      {"ﾞ", ""},  // no half of a character
      {"泉が丘", "665-0851"},
      {"泉ケ丘", "665-0851"},
      {"いずみが", "665-0851"},
      {"霞ヶ関", "100-0013"},
      {"霞ケ関", "100-0013"},
      {"霞ヵ関", "100-0013"},
      {"霞が関", "100-0013"},
      {"丸ノ内", "460-0002 790-0001"},
      {"丸の内", "460-0002 790-0001"},
      {"丸之内", ""},  // kanji compare as they are
      {"ゔぃそん", "519-2170"},
      {"ヴィソン", "519-2170"},
      {"ゔ", "519-2170"},
  };
  for (const Case& c : cases) {
    const Outcome outcome = Orvek({"find", c.text});
    EXPECT_EQ(0, outcome.status) << c.text << ": " << outcome.err;
    EXPECT_EQ(c.codes, Codes(outcome.out)) << c.text;
  }
}

TEST_F(OrvekCommandTest, MachineFormatsParseBack) {
  std::string data = kReadings;
  // A town area with a comma, a quote and a tab in it, quoted as CSV quotes them.
  data += platform::Utf8ToCp932(
              "13101,\"100  \",\"1000002\",\"ﾄｳｷｮｳﾄ\",\"ﾁﾖﾀﾞｸ\",\"ｱ\",\"東京都\",\"千代田区\","
              "\"皇居,\"\"外\"\"\t苑\",0,1,0,1,2,5\r\n")
              .value();
  WriteData(data);

  const Outcome json = Orvek({"find", "千代田区", "--format", "json"});
  ASSERT_EQ(0, json.status) << json.err;
  const nlohmann::json records = nlohmann::json::parse(json.out);
  ASSERT_EQ(3u, records.size());
  const nlohmann::json& first = records[0];
  EXPECT_EQ("1000005", first["code"]);
  EXPECT_EQ("東京都", first["prefecture"]);
  EXPECT_EQ("千代田区", first["city"]);
  EXPECT_EQ("丸の内（次のビルを除く）", first["town"]);
  EXPECT_EQ("トウキョウト", first["prefecture_kana"]);
  EXPECT_EQ("チヨダク", first["city_kana"]);
  EXPECT_EQ("マルノウチ（ツギノビルヲノゾク）", first["town_kana"]);
  EXPECT_EQ("13101", first["local_government_code"]);
  EXPECT_EQ(false, first["town_has_several_codes"]);
  EXPECT_EQ(0, first["update_status"]);
  const nlohmann::json& odd = records[2];
  EXPECT_EQ("皇居,\"外\"\t苑", odd["town"]);
  EXPECT_EQ(false, odd["town_has_several_codes"]);
  EXPECT_EQ(true, odd["numbered_per_koaza"]);
  EXPECT_EQ(false, odd["has_chome"]);
  EXPECT_EQ(true, odd["code_has_several_towns"]);
  EXPECT_EQ(2, odd["update_status"]);
  EXPECT_EQ(5, odd["update_reason"]);
  EXPECT_EQ(14u, odd.size());

  // JSON Lines: the same objects, one a line; joined and cleaned as find's are.
  const Outcome jsonl = Orvek({"address", "--pref", "京都府", "--format", "jsonl"});
  ASSERT_EQ(0, jsonl.status) << jsonl.err;
  std::istringstream lines(jsonl.out);
  std::vector<nlohmann::json> objects;
  for (std::string line; std::getline(lines, line);) objects.push_back(nlohmann::json::parse(line));
  ASSERT_EQ(1u, objects.size());
  EXPECT_EQ("今出川町（烏丸通今出川上る、今出川通室町東入）", objects[0]["town"]);
  EXPECT_EQ("イマデガワチョウ", objects[0]["town_kana"]);
  const Outcome cleaned = Orvek({"code", "0600000", "--format=jsonl"});
  EXPECT_EQ("", nlohmann::json::parse(cleaned.out)["town"]);
  EXPECT_EQ("", nlohmann::json::parse(cleaned.out)["town_kana"]);
  const Outcome raw = Orvek({"code", "0600000", "--format=jsonl", "--no-clean"});
  EXPECT_EQ("以下に掲載がない場合", nlohmann::json::parse(raw.out)["town"]);

  const std::string header =
      "code,prefecture,city,town,prefecture_kana,city_kana,town_kana,local_government_code,"
      "town_has_several_codes,numbered_per_koaza,has_chome,code_has_several_towns,"
      "update_status,update_reason\r\n";
  const std::string csv_row =
      "1000002,東京都,千代田区,\"皇居,\"\"外\"\"\t苑\",トウキョウト,チヨダク,ア,13101,0,1,0,1,2,"
      "5\r\n";
  const Outcome csv = Orvek({"code", "1000002", "--format", "csv"});
  EXPECT_EQ(DefaultRows(header + csv_row), csv.out);
  EXPECT_EQ(Cp932(header + csv_row),
            Orvek({"code", "1000002", "--format", "csv", "--encoding", "cp932"}).out);

  std::string tsv_header = header.substr(0, header.size() - 2) + "\n";
  std::replace(tsv_header.begin(), tsv_header.end(), ',', '\t');
  EXPECT_EQ(DefaultRows(tsv_header +
                        "1000002\t東京都\t千代田区\t皇居,"
                        "\"外\"\\t苑\tトウキョウト\tチヨダク\tア\t13101\t0\t1\t0\t1\t2\t5\n"),
            Orvek({"code", "100-0002", "--format", "tsv"}).out);
  EXPECT_EQ("1\n", Orvek({"code", "1000002", "--format", "tsv", "--count"}).out);
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
  EXPECT_EQ("1\n", Orvek({"--count", "code", "1000001", "--limit", "1"}).out);
  EXPECT_EQ(DefaultRows(expected.substr(0, expected.find('\n') + 1)),
            Orvek({"code", "1000001", "--limit=1"}).out);
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
  WriteData(Line("1000002", "東京都", "千代田区", "大手町") + data);  // a good first line

  const std::string listed = Cp932("100-0001  東京都      千代田区              丸の内") +
                             test_support::CutLeadByteAsListed() + "\n";
  const std::string utf8_row = platform::Cp932ToUtf8(listed);
  const std::string cp932_row = listed;
  EXPECT_EQ(utf8_row, Orvek({"code", "1000001", "--encoding", "utf-8"}).out);
  const Outcome cp932 = Orvek({"code", "1000001", "--encoding=cp932"});
  EXPECT_EQ(0, cp932.status);
  EXPECT_EQ(cp932_row, cp932.out);
  EXPECT_EQ(test_support::DefaultOutput(cp932_row), Orvek({"code", "1000001"}).out);
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

  // Nothing in the current folder nor the data folders: which folders, and how to fill one.
  const Outcome missing = Orvek({"address", "--city", "府中市"});
  EXPECT_EQ(1, missing.status);
  EXPECT_NE(std::string::npos, missing.err.find(NoDataFile())) << missing.err;
  EXPECT_NE(std::string::npos, missing.err.find(UserDataFolder().string())) << missing.err;
  EXPECT_NE(std::string::npos, missing.err.find(InTerminalEncoding(kUpdater))) << missing.err;
  EXPECT_EQ("", missing.out);

  const Outcome found = Orvek({"--data-dir", "data", "address", "--city", "府中市", "--count"});
  EXPECT_EQ(0, found.status) << found.err;
  EXPECT_EQ("3\n", found.out);
  EXPECT_EQ("3\n", Orvek({"address", "--city", "府中市", "--count", "--data-dir",
                          (dir_ / "data").string()})
                       .out);

  // The command's own reader says so in its own words.
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"find", "府中"}, {"code", "1000001", "--format", "json"}}) {
    const Outcome own = Orvek(args);
    EXPECT_EQ(1, own.status) << args[0];
    EXPECT_EQ("", own.out) << args[0];
    EXPECT_NE(std::string::npos, own.err.find(NoDataFile())) << own.err;
  }
  EXPECT_EQ("3\n", Orvek({"--data-dir", "data", "find", "府中市", "--count"}).out);

  const Outcome no_folder = Orvek({"--data-dir", "nowhere", "code", "1000001"});
  EXPECT_EQ(1, no_folder.status);
  EXPECT_NE(std::string::npos, no_folder.err.find("'nowhere'")) << no_folder.err;
}

// Without --data-dir and without a data file in the current folder: the folders where the
// updater and the package put the file, in the launcher's order.
TEST_F(OrvekCommandTest, DataFoldersWhenTheCurrentOneHasNoFile) {
  const fs::path user = UserDataFolder();
  const fs::path shared = dir_ / "second" / "morvane";
  const std::vector<std::string> env{"XDG_DATA_DIRS=" + (dir_ / "first").string() + ":" +
                                     (dir_ / "second").string()};
  fs::create_directories(user);
  fs::create_directories(shared);
  std::ofstream(shared / "KEN_ALL.CSV", std::ios::binary) << kFourTowns;
  const auto counts = [&](const char* step, const std::string& expected) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"address", "--city", "府中市", "--count"}, {"find", "府中市", "--count"}}) {
      const Outcome outcome = Orvek(args, env);
      EXPECT_EQ(0, outcome.status) << step << " " << args[0] << ": " << outcome.err;
      EXPECT_EQ(expected, outcome.out) << step << " " << args[0];
    }
  };
#ifndef _WIN32  // the second folder is the program's own on Windows
  counts("a shared folder", "3\n");
#endif
  std::ofstream(user / "ken_all.csv", std::ios::binary)
      << Line("1830001", "東京都", "府中市", "本町") + Line("1830002", "東京都", "府中市", "緑町");
  counts("the person's own folder first", "2\n");
  WriteData(Line("1830001", "東京都", "府中市", "本町"));
  counts("the current folder before all", "1\n");

  // A folder named with --data-dir is the only one.
  fs::create_directory(dir_ / "empty");
  const Outcome named = Orvek({"--data-dir", "empty", "code", "1830001"}, env);
  EXPECT_EQ(1, named.status);
  EXPECT_NE(std::string::npos, named.err.find(InTerminalEncoding("郵便番号ファイルオープンエラー")))
      << named.err;
}

TEST_F(OrvekCommandTest, ADataFileThatCannotBeReadIsAFailure) {
  // A directory of the data file's name: no data file, not an empty result.
  fs::create_directory(dir_ / "ken_all.csv");
  const Outcome directory = Orvek({"code", "1000001"});
  EXPECT_EQ(1, directory.status);
  EXPECT_NE(std::string::npos, directory.err.find(NoDataFile())) << directory.err;
  EXPECT_EQ("", directory.out);
  const Outcome named = Orvek({"--data-dir", ".", "code", "1000001"});
  EXPECT_EQ(1, named.status);
  EXPECT_NE(std::string::npos, named.err.find(InTerminalEncoding("郵便番号ファイルオープンエラー")))
      << named.err;
  EXPECT_EQ("", named.out);
  const Outcome own_directory = Orvek({"--data-dir", ".", "find", "府中市"});
  EXPECT_EQ(1, own_directory.status);
  EXPECT_NE(std::string::npos, own_directory.err.find("no ken_all.csv could be opened"))
      << own_directory.err;
  EXPECT_EQ("", own_directory.out);
#ifdef FAILING_READ_SHIM  // file names that differ in case only, and LD_PRELOAD: not on Windows
  // Japan Post's name beside it is read.
  WriteData(kFourTowns, "KEN_ALL.CSV");
  const Outcome beside = Orvek({"address", "--city", "府中市", "--count"});
  EXPECT_EQ(0, beside.status) << beside.err;
  EXPECT_EQ("3\n", beside.out);
  // The command's own reader passes over the folder too.
  const Outcome own_beside = Orvek({"find", "府中市", "--count"});
  EXPECT_EQ(0, own_beside.status) << own_beside.err;
  EXPECT_EQ("3\n", own_beside.out);
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

// A file that is not Japan Post's is refused by every command before a row, and the message
// says what it is. The library's classic rows, the command's own reader and info alike.
TEST_F(OrvekCommandTest, AFileThatIsNotJapanPostsIsRefusedWithTheReason) {
  const std::string good = Line("1830001", "東京都", "府中市", "本町");
  std::string zip = std::string("PK\x03\x04\x14\x00", 6) + good;
  if (std::ifstream real{MORVANE_DATA_ZIP, std::ios::binary}) {
    zip.assign(std::istreambuf_iterator<char>(real), {});  // Japan Post's archive itself
  }
  const std::string utf8 =
      "01101,\"183  \",\"1830001\",\"ｶﾅ\",\"ｶﾅ\",\"ｶﾅ\",\"東京都\",\"府中市\","
      "\"本町\",0,0,0,0,0,0\r\n";
  const struct {
    std::string bytes;
    const char* reason;
  } cases[] = {
      {"", "is empty"},
      {zip, "looks like a ZIP archive, not the data: unpack KEN_ALL.CSV from it"},
      {"<!DOCTYPE html>\n<html><body>Not Found</body></html>\n", "is an HTML page"},
      {utf8 + utf8, "looks like Japan Post's UTF-8 edition"},
      {"postal code,address\n" + good, "does not start with a Japan Post record"},
      {good + "23101,\"500  \",\"5008025\"", "ends in a cut line"},
      {good + good.substr(0, good.size() - 20), "ends in a cut line"},
      {Line("1830001", "東京都", "府中市", std::string(5000, 'x')) + good,
       "has a line longer than any"},
  };
  const std::vector<std::vector<std::string>> commands{
      {"code", "1830001"},
      {"address", "--pref", "東京都"},
      {"find", "府中"},
      {"code", "1830001", "--format", "json"},
      {"info"},
  };
  for (const auto& c : cases) {
    WriteData(c.bytes);
    const std::string expected = "orvek: " + (dir_ / "ken_all.csv").string() + " " + c.reason;
    for (const std::vector<std::string>& args : commands) {
      const Outcome outcome = Orvek(args);
      EXPECT_EQ(1, outcome.status) << args[0] << ": " << c.reason;
      EXPECT_EQ(0u, outcome.err.find(InTerminalEncoding(expected))) << outcome.err;
      if (args[0] != "info") {
        EXPECT_EQ("", outcome.out) << args[0] << ": " << c.reason;
      }
    }
  }

#ifndef _WIN32
  // A device that reads without end is no file: refused at once, never read into memory.
  fs::remove(dir_ / "ken_all.csv");
  fs::create_symlink("/dev/zero", dir_ / "ken_all.csv");
  for (const std::vector<std::string>& args : commands) {
    const Outcome outcome = Orvek(args);
    EXPECT_EQ(1, outcome.status) << args[0];
    EXPECT_NE(std::string::npos, outcome.err.find("is not a regular file")) << outcome.err;
  }
#endif
}

#ifndef _WIN32
// A named pipe cannot be looked at before it is read: the reader holds its first line and its
// last to the rule as they stream by, and the library its own way (with its own message).
TEST_F(OrvekCommandTest, APipeIsHeldToTheRuleAsItStreams) {
  const struct {
    std::vector<std::string> args;
    std::string bytes;
    int status;
    const char* said;
  } cases[] = {
      {{"find", "府中", "--count"}, kFourTowns, 0, ""},
      {{"find", "府中"}, "<html>\n" + kFourTowns, 1, "is an HTML page"},
      {{"find", "府中"}, kFourTowns + "01101,\"060", 1, "ends in a cut line"},
      {{"info"}, kFourTowns + "01101,\"060", 1, "ends in a cut line"},
      {{"code", "1830001"}, "<html>\n" + kFourTowns, 1, "郵便番号ファイルオープンエラー"},
  };
  const fs::path pipe = dir_ / "ken_all.csv";
  for (const auto& c : cases) {
    ASSERT_EQ(0, ::mkfifo(pipe.c_str(), 0600));
    std::thread writer([&] {
      const int fd = ::open(pipe.c_str(), O_WRONLY);
      if (fd < 0) return;
      const ssize_t written = ::write(fd, c.bytes.data(), c.bytes.size());
      (void)written;
      ::close(fd);
    });
    const Outcome outcome = Orvek(c.args);
    writer.join();
    fs::remove(pipe);
    EXPECT_EQ(c.status, outcome.status) << c.said << ": " << outcome.err;
    EXPECT_NE(std::string::npos, outcome.err.find(InTerminalEncoding(c.said))) << outcome.err;
    if (c.status == 0) {
      EXPECT_EQ("3\n", outcome.out);
    } else if (c.args[0] != "info") {
      EXPECT_EQ("", outcome.out) << c.said;
    }
  }
}
#endif

TEST_F(OrvekCommandTest, InfoTellsWhichFileAndWhetherItIsWhole) {
  // Two lines of one split town area make one record.
  WriteData(kFourTowns + Line("1000001", "東京都", "千代田区", "千代田（一") +
            Line("1000001", "東京都", "千代田区", "二）"));
  const Outcome text = Orvek({"info"});
  EXPECT_EQ(0, text.status) << text.err;
  EXPECT_EQ("", text.err);
  EXPECT_NE(std::string::npos, text.out.find((dir_ / "ken_all.csv").string())) << text.out;
  EXPECT_NE(std::string::npos, text.out.find("lines:    6\n")) << text.out;
  EXPECT_NE(std::string::npos, text.out.find("records:  5 ")) << text.out;

  const Outcome json = Orvek({"info", "--format", "json", "--data-dir", dir_.string()});
  EXPECT_EQ(0, json.status) << json.err;
  const nlohmann::json info = nlohmann::json::parse(json.out);
  EXPECT_EQ((dir_ / "ken_all.csv").string(), info["file"]);
  EXPECT_EQ(fs::file_size(dir_ / "ken_all.csv"), info["size"].get<std::uintmax_t>());
  EXPECT_EQ(6, info["lines"]);
  EXPECT_EQ(5, info["records"]);
  EXPECT_EQ(true, info["japan_post"]);

  WriteData(kFourTowns + "01101,\"060");
  const Outcome cut = Orvek({"info", "--format=json"});
  EXPECT_EQ(1, cut.status);
  const nlohmann::json why = nlohmann::json::parse(cut.out);
  EXPECT_EQ(false, why["japan_post"]);
  EXPECT_NE(std::string::npos, why["reason"].get<std::string>().find("ends in a cut line"));
  EXPECT_NE(std::string::npos, cut.err.find("ends in a cut line")) << cut.err;

  fs::remove(dir_ / "ken_all.csv");
  const Outcome none = Orvek({"info"});
  EXPECT_EQ(1, none.status);
  EXPECT_NE(std::string::npos, none.err.find("no ken_all.csv")) << none.err;
  EXPECT_EQ(2, Orvek({"info", "extra"}).status);
  EXPECT_EQ(2, Orvek({"info", "--format", "csv"}).status);
}

#ifdef FAILING_READ_SHIM
// A file cut short while the library reads it: the read error and no rows, never the rows of
// the part read as if they were all.
TEST_F(OrvekCommandTest, AFileCutDuringTheSearchIsAFailure) {
  std::string data;
  for (int i = 0; i < 3000; ++i) data += kFourTowns;
  WriteData(data);
  const std::vector<std::string> address{"address", "--pref", "東京都", "--city",
                                         "府中市",  "--town", "本町"};
  const Outcome cut = Orvek(address, {"LD_PRELOAD=" FAILING_READ_SHIM,
                                      "ORVEK_TEST_TRUNCATE_TO=" + std::to_string(data.size() / 3)});
  EXPECT_EQ(1, cut.status);
  EXPECT_NE(std::string::npos, cut.err.find("郵便番号ファイル読み込みエラー")) << cut.err;
  EXPECT_EQ("", cut.out);
}
#endif

// Japan Post's file, unpacked into the build folder by the build; skipped when it is absent.
TEST_F(OrvekCommandTest, RealData) {
  const fs::path data = fs::absolute(test_support::DataDir());
  if (test_support::RealDataFile().empty()) GTEST_SKIP() << "no KEN_ALL.CSV in " << data;
  // A count as a plain scan of the file finds it: the lines that hold the text.
  const auto count_of = [](const std::string& utf8) {
    return std::to_string(test_support::CountRealDataLinesWith(utf8)) + "\n";
  };
  const std::vector<std::string> in_data{"--data-dir", data.string()};
  auto orvek = [&](std::vector<std::string> args) {
    args.insert(args.begin(), in_data.begin(), in_data.end());
    return Orvek(args);
  };
  EXPECT_EQ(DefaultRows("100-0001  東京都      千代田区              千代田\n"),
            orvek({"code", "1000001"}).out);
  EXPECT_EQ(count_of(",\"4520961\","), orvek({"code", "452-0961", "--count"}).out);
  EXPECT_EQ(count_of(",\"北海道\","), orvek({"address", "--pref", "北海道", "--count"}).out);

  std::string prefectures;
  std::istringstream rows(orvek({"address", "--city", "府中市", "--encoding", "utf-8"}).out);
  for (std::string row; std::getline(rows, row);) {
    const std::string pref = row.substr(10, row.find(' ', 10) - 10);
    if (prefectures.find(pref) == std::string::npos) prefectures += pref + " ";
  }
  EXPECT_EQ("東京都 広島県 ", prefectures);

  // find, joined records and the machine formats on the real file.
  const std::string found = orvek({"find", "千代田", "丸の内", "--encoding", "utf-8"}).out;
  EXPECT_NE(std::string::npos, found.find("100-0005  東京都      千代田区              丸の内"))
      << found;
  EXPECT_NE(std::string::npos,
            orvek({"find", "ちよだく", "--encoding", "utf-8"})
                .out.find("100-0001  東京都      千代田区              千代田\n"));
  const nlohmann::json kyowa =
      nlohmann::json::parse(orvek({"code", "0660005", "--format", "json"}).out);
  ASSERT_EQ(1u, kyowa.size());
  const std::string town = kyowa[0]["town"];
  EXPECT_EQ("協和（", town.substr(0, 9));
  EXPECT_EQ("番地）", town.substr(town.size() - 9)) << town;
  EXPECT_EQ(count_of(",\"0660005\","), orvek({"code", "0660005", "--count"}).out);

  // One place spelled in several ways finds the same records; a voiced kana is no plain one.
  const std::string kasumi = orvek({"find", "霞ヶ関"}).out;
  EXPECT_NE("", kasumi);
  EXPECT_EQ(kasumi, orvek({"find", "霞ケ関"}).out);
  EXPECT_EQ(kasumi, orvek({"find", "霞が関"}).out);
  EXPECT_NE(std::string::npos, orvek({"find", "泉が丘"}).out.find(DefaultRows("665-0851")));
  EXPECT_EQ(orvek({"find", "丸の内", "--count"}).out, orvek({"find", "丸ノ内", "--count"}).out);
  EXPECT_EQ("519-2170", Codes(orvek({"find", "ゔぃそん"}).out));
  // ｱｻﾋｶﾞｵｶ in a hundred records; ﾋｶ only where the city is ｱｻﾋｶﾜｼ.
  EXPECT_EQ("070-0822", Codes(orvek({"find", "ひか", "あさひがおか"}).out));

  // The command's rows equal the library's where nothing is joined or cleaned.
  EXPECT_EQ(orvek({"code", "4520961"}).out, orvek({"code", "4520961", "--join", "--clean"}).out);
  EXPECT_EQ(orvek({"address", "--city", "府中市"}).out,
            orvek({"address", "--city", "府中市", "--join"}).out);
  const std::string hokkaido = orvek({"address", "--pref", "北海道", "--format", "jsonl"}).out;
  EXPECT_EQ(orvek({"address", "--pref", "北海道", "--count", "--join"}).out,
            std::to_string(std::count(hokkaido.begin(), hokkaido.end(), '\n')) + "\n");
}

#ifndef _WIN32
// The completion script as bash runs it: the words offered after what was typed (COMP_WORDS as
// bash splits them: --format=j is --format, = and j), joined by |, and the compopt options.
TEST(OrvekCompletion, OffersCommandsOptionsAndValues) {
  struct Case {
    std::string words;
    std::string offered;
  };
  const Case cases[] = {
      {"orvek ''", "code|address|find|info"},
      {"orvek f", "find"},
      {"orvek --data-dir /tmp ''", "code|address|find|info"},
      {"orvek find x --fo", "--format"},
      {"orvek find --format j", "json|jsonl"},
      {"orvek --encoding ''", "utf-8|cp932"},
      {"orvek address --c", "--city|--count|--clean"},
      {"orvek code --c", "--count|--clean"},
      {"orvek --limit ''", ""},
      // --name=value
      {"orvek --format =", "text|tsv|csv|json|jsonl"},
      {"orvek find x --format = j", "json|jsonl"},
      {"orvek --data-dir = my find --f", "--format"},
      // Folders as one word each, quoted by readline as file names.
      {"orvek --data-dir my", "my data -o filenames"},
      {"orvek --data-dir =", "my data -o filenames"},
      {"orvek --data-dir 'my\\ d'", "my data -o filenames"},
      {"orvek --data-dir \"'my d\"", "my data -o filenames"},
      // After -- only words.
      {"orvek find -- --f", ""},
      {"orvek find x -- y --format ''", ""},
      {"orvek -- c", "code"},
  };
  const test_support::TemporaryFolder dir("orvek-completion-");
  fs::create_directory(dir.Path() / "my data");
  for (const Case& c : cases) {
    const std::string script = "source '" ORVEK_COMPLETION
                               "'; compopt() { options+=\" $*\"; }; "
                               "COMP_WORDS=(" +
                               c.words +
                               "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _orvek; "
                               "(IFS='|'; echo \"${COMPREPLY[*]}$options\")";
    const Outcome offered =
        test_support::RunProgram("/bin/bash", {"--norc", "-c", script}, dir.Path());
    EXPECT_EQ(0, offered.status) << c.words;
    EXPECT_EQ(c.offered + "\n", offered.out) << c.words;
  }
}
#endif

}  // namespace
