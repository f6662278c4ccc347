// The searches on Japan Post's file, unpacked into the build's data folder by the test fixture.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "orvek_test_support.h"
#include "row.h"

namespace {

using orvek::detail::SearchFast;
using orvek::detail::SearchKeys;
using orvek::detail::SearchLiteral;
using orvek_test::Quoted;
using orvek_test::Rows;
using test_support::CountRealDataLinesWith;
// How many lines of the data file hold the text (counted by a plain scan of the file).
const auto& LinesWith = CountRealDataLinesWith;
using orvek_test::Cp932;

class RealDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    if (!test_support::EnterDataDir()) {
      GTEST_SKIP() << "no KEN_ALL.CSV in " << test_support::DataDir()
                   << " (the zip named by MORVANE_DATA_ZIP is missing; see the README)";
    }
    ASSERT_TRUE(list_.Create(0, RECT{0, 0, 100, 100}, nullptr, 1005));
  }
  void TearDown() override {
    if (!previous_.empty()) std::filesystem::current_path(previous_);
  }

  void Code(std::string code) {
    ASSERT_EQ(0, COrvek_Bango_Kensaku().fnGetChimei(code.data(), &list_));
  }
  void Address(std::string pref, std::string city, std::string town, int mode) {
    ASSERT_EQ(
        0, COrvek_Bango_Kensaku().fnGetOrvek(pref.data(), city.data(), town.data(), mode, &list_));
  }

  std::filesystem::path previous_;
  CListBox list_;
};

TEST_F(RealDataTest, CodeSearches) {
  Code("\"1000001\"");
  EXPECT_EQ((std::vector<std::string>{Cp932("100-0001  東京都      千代田区              千代田")}),
            Rows(list_));
  // Many town areas share 452-0961 (a row each, as the file lists them); a second search adds
  // to the first.
  Code("\"4520961\"");
  const std::vector<std::string> rows = Rows(list_);
  ASSERT_EQ(1 + LinesWith(",\"4520961\","), rows.size());
  for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_EQ("452-0961", rows[i].substr(0, 8));
}

TEST_F(RealDataTest, AddressSearches) {
  Address(Quoted("北海道"), "", "", 5);
  EXPECT_EQ(LinesWith(",\"北海道\","), static_cast<std::size_t>(list_.GetCount()));
  list_.ResetContent();

  Address("", Quoted("府中市"), "", 5);
  std::set<std::string> prefectures;
  for (const std::string& row : Rows(list_)) prefectures.insert(row.substr(10, 6));
  EXPECT_EQ((std::set<std::string>{Cp932("東京都"), Cp932("広島県")}), prefectures);
  list_.ResetContent();

  Address(Quoted("東京都"), Quoted("千代田区"), Quoted("千代田"), 0);
  Address(Quoted("東京都"), Quoted("千代田区"), Quoted("千代田"), 6);
  EXPECT_EQ(0, list_.GetCount());
}

// The fast search against the literal one, row for row, in file order.
TEST_F(RealDataTest, FastSearchGivesTheLiteralRows) {
  const std::string path = test_support::RealDataFile().string();
  const std::string hokkaido = Quoted("北海道"), tokyo = Quoted("東京都");
  const std::string chiyoda = Quoted("千代田区"), fuchu = Quoted("府中市");
  const SearchKeys searches[] = {
      SearchKeys::ForPostalCode("\"4520961\""),
      SearchKeys::ForAddress(hokkaido.c_str(), "", "", 5),
      SearchKeys::ForAddress(tokyo.c_str(), chiyoda.c_str(), "", 2),
      SearchKeys::ForAddress("", fuchu.c_str(), "", 5),
      SearchKeys::ForAddress("", "", "", 5),
  };
  std::size_t total = 0;
  for (const SearchKeys& keys : searches) {
    const std::vector<std::string> fast = orvek_test::SearchRows(SearchFast, path, keys);
    EXPECT_EQ(orvek_test::SearchRows(SearchLiteral, path, keys), fast);
    total += fast.size();
  }
  EXPECT_EQ(LinesWith(",\"4520961\",") + LinesWith(",\"北海道\",") +
                LinesWith(",\"東京都\",\"千代田区\",") + LinesWith(",\"府中市\","),
            total);
}

}  // namespace
