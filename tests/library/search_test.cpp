// The two searches through the class, on small data files written for each test.
#include <fcntl.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "data_file.h"
#include "orvek_test_support.h"
#include "platform/headless_backend.h"
#include "text_reader.h"

namespace {

using orvek_test::Cp932;
using orvek_test::Quoted;
using orvek_test::Rows;

std::string Line(const char* code, const char* pref, const char* city, const char* town) {
  return "13101,\"100  \",\"" + std::string(code) + "\",\"k\",\"k\",\"k\"," + Quoted(pref) + "," +
         Quoted(city) + "," + Quoted(town) + ",0\r\n";
}

class SearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    backend_.SetEchoToStderr(false);
    ASSERT_TRUE(list_.Create(0, RECT{0, 0, 100, 100}, nullptr, 1005));
  }

  int Code(std::string code) { return COrvek_Bango_Kensaku().fnGetChimei(code.data(), &list_); }
  int Address(std::string pref, std::string city, std::string town, int mode) {
    return COrvek_Bango_Kensaku().fnGetOrvek(pref.data(), city.data(), town.data(), mode, &list_);
  }

  platform::HeadlessBackend backend_;
  orvek_test::WorkingFolder folder_;
  CListBox list_;
};

TEST_F(SearchTest, CodeSearchAppendsCleanRowsInFileOrder) {
  folder_.Write("ken_all.csv", Line("1000001", "東京都", "千代田区", "千代田") +
                                   Line("4520961", "愛知県", "清須市", "春日") +
                                   Line("1000001", "東京都", "千代田区", "皇居外苑"));
  EXPECT_EQ(0, Code("\"1000001\""));
  EXPECT_EQ(
      (std::vector<std::string>{Cp932("100-0001  東京都      千代田区              千代田"),
                                Cp932("100-0001  東京都      千代田区              皇居外苑")}),
      Rows(list_));
  EXPECT_EQ(0u, backend_.MessageBoxes().size());
}

TEST_F(SearchTest, AddressModesAndRowsAccumulate) {
  folder_.Write("ken_all.csv", Line("1830000", "東京都", "府中市", "府中") +
                                   Line("7260000", "広島県", "府中市", "府中町") +
                                   Line("1000001", "東京都", "千代田区", "千代田"));
  list_.AddString("\"older\" row");
  EXPECT_EQ(0, Address("", Quoted("府中市"), "", 5));
  EXPECT_EQ(0, Address(Quoted("東京都"), Quoted("府中市"), "", 2));
  EXPECT_EQ(0, Address(Quoted("東京都"), "", Quoted("府中町"), 3));  // no such record
  EXPECT_EQ(0, Address(Quoted("東京都"), Quoted("府中市"), Quoted("府中"), 0));
  EXPECT_EQ(0, Address(Quoted("東京都"), Quoted("府中市"), Quoted("府中"), 6));
  // The cleaning pass covers the caller's rows too.
  EXPECT_EQ((std::vector<std::string>{"older row",
                                      Cp932("183-0000  東京都      府中市                府中"),
                                      Cp932("726-0000  広島県      府中市                府中町"),
                                      Cp932("183-0000  東京都      府中市                府中")}),
            Rows(list_));
}

TEST_F(SearchTest, MissingFileShowsTheMessageAndLeavesTheList) {
  list_.AddString("\"kept\"");
  EXPECT_EQ(-1, Code("\"1000001\""));
  EXPECT_EQ(-1, Address(Quoted("東京都"), "", "", 5));
  EXPECT_EQ((std::vector<std::string>{"\"kept\""}), Rows(list_));
  ASSERT_EQ(2u, backend_.MessageBoxes().size());
  EXPECT_EQ("[fnGetChimei]\n" + Cp932("郵便番号ファイルオープンエラー"),
            backend_.MessageBoxes()[1].text);
  EXPECT_EQ(MB_OK, backend_.MessageBoxes()[1].type);
}

TEST_F(SearchTest, FallsBackToJapanPostsFileName) {
  folder_.Write("KEN_ALL.CSV", Line("1000001", "東京都", "千代田区", "千代田"));
  EXPECT_EQ(0, Code("\"1000001\""));
  EXPECT_EQ(1, list_.GetCount());
  // The lower-case name comes first when both are there.
  folder_.Write("ken_all.csv", Line("1000002", "東京都", "千代田区", "大手町"));
  EXPECT_EQ(0, Code("\"1000001\""));
  EXPECT_EQ(1, list_.GetCount());
  EXPECT_EQ(0u, backend_.MessageBoxes().size());
}

// Something that opens but is no file (a directory) is no data file: it reports the open error,
// and a KEN_ALL.CSV beside a ken_all.csv that is no file is read.
TEST_F(SearchTest, ADirectoryIsNoDataFile) {
  ASSERT_TRUE(std::filesystem::create_directory("ken_all.csv"));
  list_.AddString("\"kept\"");
  EXPECT_EQ(-1, Code("\"1000001\""));
  EXPECT_EQ(-1, Address(Quoted("東京都"), "", "", 5));
  EXPECT_EQ((std::vector<std::string>{"\"kept\""}), Rows(list_));
  ASSERT_EQ(2u, backend_.MessageBoxes().size());
  EXPECT_EQ("[fnGetChimei]\n" + Cp932("郵便番号ファイルオープンエラー"),
            backend_.MessageBoxes()[1].text);

#ifndef _WIN32  // names that differ only in case are one name on Windows
  folder_.Write("KEN_ALL.CSV", Line("1000001", "東京都", "千代田区", "千代田"));
  EXPECT_EQ(0, Code("\"1000001\""));
  EXPECT_EQ(2, list_.GetCount());
  EXPECT_EQ(2u, backend_.MessageBoxes().size());

  // Japan Post's name as a directory, with no other file: the open error again.
  folder_.Remove("KEN_ALL.CSV");
  ASSERT_TRUE(std::filesystem::remove("ken_all.csv"));
  ASSERT_TRUE(std::filesystem::create_directory("KEN_ALL.CSV"));
  EXPECT_EQ(-1, Code("\"1000001\""));
  EXPECT_EQ(3u, backend_.MessageBoxes().size());
#endif
}

// Only Japan Post's file is read: anything else is refused as a file that cannot be opened,
// before a row of it is shown.
TEST_F(SearchTest, AFileThatIsNotJapanPostsIsRefusedAsUnopenable) {
  const std::string good = Line("1000001", "東京都", "千代田区", "千代田");
  std::string long_town(5000, 'x');
  const std::string utf8 =
      "13101,\"100  "
      "\",\"1000001\",\"ﾄｳｷｮｳﾄ\",\"ﾁﾖﾀﾞｸ\",\"ﾁﾖﾀﾞ\",\"東京都\",\"千代田区\",\"千代田\","
      "0,0,0,0,0,0\r\n";
  std::string cut_lead = good;
  cut_lead.insert(cut_lead.find("\",0"), "\x93");
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"ZIP archive", std::string("PK\x03\x04\x14\x00\x00\x00", 8) + good},
      {"HTML page", "<!DOCTYPE html>\n<html><body>" + good + "</body></html>\n"},
      {"UTF-8 edition", utf8 + utf8},
      {"no record first", "code,name\r\n" + good},
      {"local code of 4 digits", good.substr(1) + good},
      {"postal code unquoted", "13101,\"100  \",1000001," + good.substr(good.find("\"k\""))},
      {"not CP932", cut_lead + good},
      {"first line longer than a record",
       Line("1000001", "東京都", "千代田区", long_town.c_str()) + good},
      {"last line cut after its code", good + "23101,\"500  \",\"5008025\""},
      {"last line cut in its ninth column", good + good.substr(0, good.size() - 8)},
      {"last line longer than a record", good + good + long_town},
  };
  list_.AddString("\"kept\"");
  for (const auto& c : cases) {
    folder_.Write("ken_all.csv", c.bytes);
    const std::size_t boxes = backend_.MessageBoxes().size();
    EXPECT_EQ(-1, Code("\"1000001\"")) << c.what;
    EXPECT_EQ(-1, Address(Quoted("東京都"), "", "", 5)) << c.what;
    ASSERT_EQ(boxes + 2, backend_.MessageBoxes().size()) << c.what;
    EXPECT_EQ("[fnGetChimei]\n" + Cp932("郵便番号ファイルオープンエラー"),
              backend_.MessageBoxes().back().text)
        << c.what;
  }
  EXPECT_EQ((std::vector<std::string>{"\"kept\""}), Rows(list_));

  // The rule looks at the first line and the end only: a file may end without a line end,
  // and a damaged line inside an otherwise good file is read as it always was.
  folder_.Write("ken_all.csv",
                good + "1,2,3\r\n" + "\xff\xfe\r\n" + good.substr(0, good.size() - 2));
  const std::size_t boxes = backend_.MessageBoxes().size();
  EXPECT_EQ(0, Code("\"1000001\""));
  EXPECT_EQ(3, list_.GetCount());
  EXPECT_EQ(boxes, backend_.MessageBoxes().size());
  list_.ResetContent();

#ifndef _WIN32
  // A device reads without end: it is no file.
  folder_.Remove("ken_all.csv");
  std::filesystem::create_symlink("/dev/zero", "ken_all.csv");
  EXPECT_EQ(-1, Code("\"1000001\""));
  EXPECT_EQ(0, list_.GetCount());
  EXPECT_EQ(boxes + 1, backend_.MessageBoxes().size());
#endif
}

#ifndef _WIN32
// A named pipe streams its lines: its first line is checked as it arrives, and a cut last line
// is found at its end, a read error then.
TEST_F(SearchTest, APipeIsHeldToTheRuleAsItStreams) {
  const std::string good = Line("1000001", "東京都", "千代田区", "千代田");
  const struct {
    std::string bytes;
    int result;
    int rows;
    const char* message;
  } cases[] = {
      {good + good, 0, 2, nullptr},
      {"<html>\n" + good, -1, 0, "郵便番号ファイルオープンエラー"},
      {good + "23101,\"500  \",\"5008025\"", -1, 1, "郵便番号ファイル読み込みエラー"},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(0, ::mkfifo("ken_all.csv", 0600));
    std::thread writer([&] {
      const int fd = ::open("ken_all.csv", O_WRONLY);
      if (fd < 0) return;
      const ssize_t written = ::write(fd, c.bytes.data(), c.bytes.size());
      (void)written;
      ::close(fd);
    });
    list_.ResetContent();
    const std::size_t boxes = backend_.MessageBoxes().size();
    EXPECT_EQ(c.result, Code("\"1000001\"")) << c.bytes;
    writer.join();
    EXPECT_EQ(c.rows, list_.GetCount()) << c.bytes;
    if (c.message == nullptr) {
      EXPECT_EQ(boxes, backend_.MessageBoxes().size());
    } else {
      ASSERT_EQ(boxes + 1, backend_.MessageBoxes().size());
      EXPECT_EQ("[fnGetChimei]\n" + Cp932(c.message), backend_.MessageBoxes().back().text);
    }
    folder_.Remove("ken_all.csv");
  }
}
#endif

// Reads that give the first `budget` bytes of the file and then fail, as a failing disk or a
// network share that went away would.
class FailingReads {
 public:
  explicit FailingReads(std::size_t budget) {
    budget_ = budget;
    orvek::detail::SetReadFunctionForTesting(&Read);
  }
  ~FailingReads() { orvek::detail::SetReadFunctionForTesting(nullptr); }
  FailingReads(const FailingReads&) = delete;
  FailingReads& operator=(const FailingReads&) = delete;

 private:
  static ssize_t Read(int fd, void* buffer, std::size_t size) {
    if (budget_ == 0) {
      errno = EIO;
      return -1;
    }
    const ssize_t n = ::read(fd, buffer, static_cast<unsigned>(std::min(size, budget_)));
    if (n > 0) budget_ -= static_cast<std::size_t>(n);
    return n;
  }
  static inline std::size_t budget_ = 0;
};

TEST_F(SearchTest, AReadErrorIsReportedAndKeepsTheRowsFoundBeforeIt) {
  const std::string first = Line("1000001", "東京都", "千代田区", "千代田");
  const std::string second = Line("1000001", "東京都", "千代田区", "皇居外苑");
  folder_.Write("ken_all.csv", first + second + Line("1000001", "東京都", "千代田区", "丸の内"));
  list_.AddString("\"older\"");
  {
    const FailingReads failing(first.size() + second.size() + 5);
    EXPECT_EQ(-1, Code("\"1000001\""));
  }
  EXPECT_EQ((std::vector<std::string>{
                "older", Cp932("100-0001  東京都      千代田区              千代田"),
                Cp932("100-0001  東京都      千代田区              皇居外苑")}),
            Rows(list_));
  ASSERT_EQ(1u, backend_.MessageBoxes().size());
  EXPECT_EQ("[fnGetChimei]\n" + Cp932("郵便番号ファイル読み込みエラー"),
            backend_.MessageBoxes()[0].text);
  EXPECT_EQ(MB_OK, backend_.MessageBoxes()[0].type);

  {
    const FailingReads failing(0);
    EXPECT_EQ(-1, Address(Quoted("東京都"), "", "", 5));
  }
  EXPECT_EQ(3, list_.GetCount());
  EXPECT_EQ(2u, backend_.MessageBoxes().size());
  // Reads that do not fail: the whole file, no message.
  EXPECT_EQ(0, Address(Quoted("東京都"), "", "", 5));
  EXPECT_EQ(6, list_.GetCount());
  EXPECT_EQ(2u, backend_.MessageBoxes().size());
}

// Whatever byte the error comes after, both searches report it and give the rows of exactly the
// lines read whole before it.
TEST(ReadErrorTest, BothSearchesStopAtTheSameLine) {
  orvek_test::WorkingFolder folder;
  std::string file;
  std::vector<std::size_t> line_ends;
  for (int i = 0; i < 3000; ++i) {
    file += Line(i % 3 == 0 ? "1000001" : "1000002", "東京都", "千代田区", "千代田");
    line_ends.push_back(file.size());
  }
  folder.Write("data", file);
  const auto keys = orvek::detail::SearchKeys::ForPostalCode("\"1000001\"");
  for (const std::size_t budget : {std::size_t{0}, std::size_t{1}, line_ends[0] - 1, line_ends[0],
                                   line_ends[2000] - 1, line_ends[2000] + 7, std::size_t{64 * 1024},
                                   std::size_t{64 * 1024 + 1}, line_ends[2999] - 1}) {
    const auto whole_lines = static_cast<std::size_t>(
        std::upper_bound(line_ends.begin(), line_ends.end(), budget) - line_ends.begin());
    const std::size_t expected_rows = (whole_lines + 2) / 3;
    for (const auto search :
         {&orvek::detail::SearchLiteral,
          static_cast<orvek_test::SearchFunction>(&orvek::detail::SearchFast)}) {
      const int fd = orvek_test::OpenBinary("data");
      ASSERT_GE(fd, 0);
      struct Counter final : orvek::detail::RowSink {
        void AddRow(const char*) override { ++rows; }
        std::size_t rows = 0;
      } counter;
      const FailingReads failing(budget);
      EXPECT_FALSE(search(fd, keys, counter)) << budget;
      EXPECT_EQ(expected_rows, counter.rows) << "after " << budget << " bytes";
      ::close(fd);
    }
  }
}

// Reads that change the file under the search once it has begun: cut short (an interrupted
// copy over it) or grown (a longer one written in place).
class ChangingReads {
 public:
  explicit ChangingReads(void (*change)()) {
    change_ = change;
    calls_ = 0;
    orvek::detail::SetReadFunctionForTesting(&Read);
  }
  ~ChangingReads() { orvek::detail::SetReadFunctionForTesting(nullptr); }
  ChangingReads(const ChangingReads&) = delete;
  ChangingReads& operator=(const ChangingReads&) = delete;

 private:
  static ssize_t Read(int fd, void* buffer, std::size_t size) {
    if (++calls_ == 2) change_();
    return ::read(fd, buffer, static_cast<unsigned>(size));
  }
  static inline void (*change_)() = nullptr;
  static inline int calls_ = 0;
};

// A file cut or grown during a search is a read error in both searches, never a shorter (or
// longer) result that passes for the file's.
TEST(ChangedFileTest, ASearchOfAFileChangedUnderItFails) {
  orvek_test::WorkingFolder folder;
  std::string file;
  for (int i = 0; i < 3000; ++i) file += Line("1000001", "東京都", "千代田区", "千代田");
  const auto keys = orvek::detail::SearchKeys::ForPostalCode("\"1000001\"");
  void (*const changes[])() = {
      [] { ASSERT_EQ(0, ::truncate("data", 100000)); },
      [] { ASSERT_EQ(0, ::truncate("data", 0)); },
      [] {
        const int fd = ::open("data", O_WRONLY | O_APPEND);
        ASSERT_EQ(5, ::write(fd, "more\n", 5));
        ::close(fd);
      },
  };
  for (const auto change : changes) {
    for (const auto search :
         {&orvek::detail::SearchLiteral,
          static_cast<orvek_test::SearchFunction>(&orvek::detail::SearchFast)}) {
      folder.Write("data", file);
      const int fd = orvek_test::OpenBinary("data");
      ASSERT_GE(fd, 0);
      struct Counter final : orvek::detail::RowSink {
        void AddRow(const char*) override {}
      } counter;
      const ChangingReads changing(change);
      EXPECT_FALSE(search(fd, keys, counter));
      ::close(fd);
    }
  }
}

// Through the class: the read error's message and -1, as for a read that failed.
TEST_F(SearchTest, AFileCutDuringTheSearchIsAReadError) {
  std::string file;
  for (int i = 0; i < 3000; ++i) file += Line("1000001", "東京都", "千代田区", "千代田");
  folder_.Write("ken_all.csv", file);
  {
    const ChangingReads changing([] { ASSERT_EQ(0, ::truncate("ken_all.csv", 100000)); });
    EXPECT_EQ(-1, Address(Quoted("東京都"), Quoted("千代田区"), Quoted("千代田"), 1));
  }
  ASSERT_EQ(1u, backend_.MessageBoxes().size());
  EXPECT_EQ("[fnGetChimei]\n" + Cp932("郵便番号ファイル読み込みエラー"),
            backend_.MessageBoxes()[0].text);
}

// Without the CR of each CR LF dropped, the last column would end in a CR and never match.
TEST_F(SearchTest, LinesReadAsInTextMode) {
  folder_.Write("ken_all.csv", "13101,\"2\",\"1000001\",\"4\",\"5\",\"6\"," + Quoted("東京都") +
                                   "," + Quoted("千代田区") + "," + Quoted("千代田") + "\r\n" +
                                   "1,2,\"1000002\",4,5,6,7,8," + Quoted("丸の内") + "\r\r\n");
  EXPECT_EQ(0, Address("", "", Quoted("千代田"), 5));
  EXPECT_EQ(1, list_.GetCount());
  EXPECT_EQ(0, Address("", "", Quoted("丸の内"), 5));  // a lone CR stays in the column
  EXPECT_EQ(1, list_.GetCount());
}

TEST_F(SearchTest, LongRowsOfTheCallerAreCleanedWhole) {
  std::string long_row(402, 'r');
  long_row.front() = long_row.back() = '"';
  list_.AddString(long_row.c_str());
  folder_.Write("ken_all.csv", Line("1000002", "東京都", "千代田区", "大手町"));
  EXPECT_EQ(0, Code("\"1000001\""));
  EXPECT_EQ((std::vector<std::string>{std::string(400, 'r')}), Rows(list_));
}

// fgets in text mode: CR LF becomes LF first, then at most 499 bytes a piece.
TEST(TextModeReaderTest, GivesThePiecesOfFgets) {
  orvek_test::WorkingFolder folder;
  const std::string long_line = std::string(498, 'a') + "\r\r\n";
  folder.Write("f", "ab\r\ncd\r\r\n" + long_line + std::string(1000, 'b') + "\ne\rf\r");
  const int fd = orvek_test::OpenBinary("f");
  ASSERT_GE(fd, 0);
  orvek::detail::TextModeReader reader(fd);
  std::vector<std::string> pieces;
  char buffer[500];
  std::size_t length = 0;
  while (reader.ReadPiece(buffer, sizeof buffer, &length)) pieces.emplace_back(buffer, length);
  ::close(fd);
  EXPECT_EQ(
      (std::vector<std::string>{"ab\n", "cd\r\n", std::string(498, 'a') + "\r", "\n",
                                std::string(499, 'b'), std::string(499, 'b'), "bb\n", "e\rf\r"}),
      pieces);
}

}  // namespace
