// The two searches through the class, on small data files written for each test.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "orvek_test_support.h"
#include "platform/headless_backend.h"
#include "text_reader.h"

namespace {

using orvek_test::Quoted;
using orvek_test::Rows;
using orvek_test::Sj;

std::string Line(const char* code, const char* pref, const char* city, const char* town) {
  return "1,\"2\",\"" + std::string(code) + "\",k,k,k," + Quoted(pref) + "," + Quoted(city) + "," +
         Quoted(town) + ",0\r\n";
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
  EXPECT_EQ((std::vector<std::string>{Sj("100-0001  東京都      千代田区              千代田"),
                                      Sj("100-0001  東京都      千代田区              皇居外苑")}),
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
  EXPECT_EQ(
      (std::vector<std::string>{"older row", Sj("183-0000  東京都      府中市                府中"),
                                Sj("726-0000  広島県      府中市                府中町"),
                                Sj("183-0000  東京都      府中市                府中")}),
      Rows(list_));
}

TEST_F(SearchTest, MissingFileShowsTheMessageAndLeavesTheList) {
  list_.AddString("\"kept\"");
  EXPECT_EQ(-1, Code("\"1000001\""));
  EXPECT_EQ(-1, Address(Quoted("東京都"), "", "", 5));
  EXPECT_EQ((std::vector<std::string>{"\"kept\""}), Rows(list_));
  ASSERT_EQ(2u, backend_.MessageBoxes().size());
  EXPECT_EQ("[fnGetChimei]\n" + Sj("郵便番号ファイルオープンエラー"),
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

// Without the CR of each CR LF dropped, the last column would end in a CR and never match.
TEST_F(SearchTest, LinesReadAsInTextMode) {
  folder_.Write("ken_all.csv", "1,2,\"1000001\",4,5,6," + Quoted("東京都") + "," +
                                   Quoted("千代田区") + "," + Quoted("千代田") + "\r\n" +
                                   "1,2,\"1000002\",4,5,6,7,8," + Quoted("丸の内") + "\r\r\n");
  EXPECT_EQ(0, Address("", "", Quoted("千代田"), 5));
  EXPECT_EQ(1, list_.GetCount());
  EXPECT_EQ(0, Address("", "", Quoted("丸の内"), 5));  // a lone CR stays in the column
  EXPECT_EQ(1, list_.GetCount());
}

TEST_F(SearchTest, LongRowsOfTheCallerAreCleanedWhole) {
  const std::string long_row = "\"" + std::string(400, 'r') + "\"";
  list_.AddString(long_row.c_str());
  folder_.Write("ken_all.csv", "");
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
