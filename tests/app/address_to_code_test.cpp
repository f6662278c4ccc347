// Address to postal code, from the main menu, on the real data file.
#include <fstream>

#include "app_fixture.h"
#include "orvek/orvek.h"
#include "platform/clipboard.h"
#include "platform/ime.h"

namespace morvane_test {
namespace {

class AddressToCodeTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    if (!UseRealData()) GTEST_SKIP() << "no KEN_ALL.CSV in " << test_support::DataDir();
    User().Click(1001);
  }
  void Finish() {
    User().Click(1007);
    RunProgram();
    EXPECT_EQ(0, platform::OutstandingInputContexts());
  }

  // The rows the library itself gives for quoted keys in one mode.
  static std::vector<std::string> LibraryRows(const char* pref, const char* city, const char* town,
                                              int mode) {
    const auto key = [](const char* utf8) {
      std::string quoted;
      if (*utf8 == '\0') return quoted;
      quoted += '"';
      quoted += test_support::Cp932(utf8);
      quoted += '"';
      return quoted;
    };
    std::string p = key(pref), c = key(city), t = key(town);
    CListBox list;
    list.Create(0, RECT{0, 0, 1, 1}, nullptr, 1);
    COrvek_Bango_Kensaku().fnGetOrvek(p.data(), c.data(), t.data(), mode, &list);
    std::vector<std::string> rows;
    for (int i = 0; i < list.GetCount(); ++i) {
      CString row;
      list.GetText(i, row);
      rows.push_back(Utf8(row.Bytes()));
    }
    return rows;
  }

  // The lines of the data file in 東京都, by a plain scan of the file.
  static std::size_t TokyoRows() { return test_support::CountRealDataLinesWith(",\"東京都\","); }

  std::size_t ime_changes_ = 0;

  // Types the three names (empty ones are skipped), searches, and compares the list with the
  // library's rows for the mode that those names should choose.
  void ExpectMode(const char* pref, const char* city, const char* town, int mode) {
    if (*pref) User().Type(1001, pref);
    if (*city) User().Type(1002, city);
    if (*town) User().Type(1003, town);
    const std::vector<std::string> expected = LibraryRows(pref, city, town, mode);
    EXPECT_FALSE(expected.empty());
    User().Click(1008).Then([expected] {
      EXPECT_EQ(expected, Rows());
      EXPECT_EQ(std::to_string(expected.size()) + "件", TextOf(1009));
    });
    Finish();
  }
};

TEST_F(AddressToCodeTest, PrefectureAloneListsItsRecordsAndCountsThem) {
  User()
      .Then([] { EXPECT_EQ("0件", TextOf(1009)); })
      .Type(1001, "東京都")
      .Click(1008)
      .Then([] {
        EXPECT_EQ(TokyoRows(), static_cast<std::size_t>(List()->Count()));
        EXPECT_EQ(std::to_string(TokyoRows()) + "件", TextOf(1009));
        for (const std::string& row : Rows()) ASSERT_EQ(10u, row.find("東京都")) << row;
      })
      .Click(1008)  // again, without clearing: the label counts the whole list
      .Then([] { EXPECT_EQ(std::to_string(2 * TokyoRows()) + "件", TextOf(1009)); })
      .Click(1010)
      .Then([] {
        EXPECT_EQ("", TextOf(1001));
        EXPECT_EQ(0, List()->Count());
        EXPECT_EQ("0件", TextOf(1009));
      });
  Finish();
}

TEST_F(AddressToCodeTest, PrefectureAndCityIsMode2) {
  ExpectMode("東京都", "千代田区", "", 2);
}
TEST_F(AddressToCodeTest, PrefectureAndTownIsMode3) {
  ExpectMode("東京都", "", "千代田", 3);
}
TEST_F(AddressToCodeTest, CityAndTownIsMode4) {
  ExpectMode("", "府中市", "本町", 4);
}
TEST_F(AddressToCodeTest, AllThreeIsMode1) {
  ExpectMode("東京都", "府中市", "本町", 1);
}

TEST_F(AddressToCodeTest, CityAloneMatchesEveryPrefectureThatHasIt) {
  User().Type(1002, "府中市").Click(1008).Then([] {
    bool tokyo = false, hiroshima = false;
    for (const std::string& row : Rows()) {
      tokyo = tokyo || row.find("東京都") == 10;
      hiroshima = hiroshima || row.find("広島県") == 10;
    }
    EXPECT_TRUE(tokyo);
    EXPECT_TRUE(hiroshima);
  });
  Finish();
}

TEST_F(AddressToCodeTest, ResultFieldsShowTheSelectedRow) {
  User()
      .Type(1001, "東京都")
      .Type(1002, "千代田区")
      .Type(1003, "千代田")
      .Click(1008)
      .SelectRow(1005, 0)
      .Then([] {
        EXPECT_EQ("東京都", TextOf(1004));
        EXPECT_EQ("千代田区", TextOf(1011));
        EXPECT_EQ("千代田", TextOf(1012));
        EXPECT_EQ("東京都千代田区千代田", TextOf(1013));
        EXPECT_EQ("東京都", TextOf(1001)) << "the boxes show the searched texts again";
      })
      .Click(1010)
      .Then([] { EXPECT_EQ("東京都千代田区千代田", TextOf(1013)); });
  Finish();
}

// The keys of the result list on a long list: each row they land on fills the fields.
TEST_F(AddressToCodeTest, ListKeysWalkTheRowsAndFillTheFields) {
  const auto shows_row = [](int index) {
    EXPECT_EQ(index, List()->Selection());
    const std::string row = Utf8(List()->Row(index));
    EXPECT_NE(std::string::npos, row.find(TextOf(1012))) << "row " << index << ": " << row;
  };
  User()
      .Type(1001, "東京都")
      .Click(1008)
      .Tab()
      .Tab()
      .Then([] { EXPECT_EQ(1005, FocusId()); })
      .Key(VK_DOWN)
      .Then([&] { shows_row(0); })
      .Key(VK_DOWN)
      .Then([&] { shows_row(1); })
      .Key(VK_END)
      .Then([&] { shows_row(List()->Count() - 1); })
      .Key(VK_HOME)
      .Then([&] { shows_row(0); })
      .Key(VK_NEXT)
      .Then([&] { shows_row(List()->FullyVisibleRows() - 1); });
  Finish();
}

// With no row chosen Ctrl+C copies nothing; then each chosen row's code is copied.
TEST_F(AddressToCodeTest, CtrlCInTheListCopiesTheChosenRowsCode) {
  int writes = 0;
  const auto code_of = [](int index) { return Utf8(List()->Row(index)).substr(0, 8); };
  User()
      .Type(1001, "東京都")
      .Click(1008)
      .Focus(1005)
      .Then([&] { writes = platform::ClipboardWrites(); })
      .Key('C', true)
      .Then([&] {
        EXPECT_EQ(writes, platform::ClipboardWrites());
        EXPECT_EQ(LB_ERR, List()->Selection());
      })
      .Key(VK_END)
      .Key('C', true)
      .Then([&] {
        EXPECT_EQ(code_of(List()->Count() - 1), Utf8(platform::ClipboardText()));
        EXPECT_EQ(List()->Count() - 1, List()->Selection());
      });
  Finish();
}

TEST_F(AddressToCodeTest, EmptyFieldsDoNothingAndABlankCountsAsFilled) {
  User()
      .Type(1001, "東京都")
      .Click(1008)
      .Focus(1001)
      .Tab(true)
      .Tab()  // selects the box's text
      .Type(1001, " ")
      .Then([] { EXPECT_EQ(" ", TextOf(1001)); })
      .Click(1008)  // one blank: a search that matches nothing
      .Then([this] {
        EXPECT_EQ(2u, backend_.ModelessShown().size());
        EXPECT_EQ(std::to_string(TokyoRows()) + "件", TextOf(1009));
      })
      .Click(1010)
      .Type(1002, "x")
      .Click(1010)
      .Click(1008)  // every box empty: no popup, no search, nothing changes
      .Then([this] {
        EXPECT_EQ(2u, backend_.ModelessShown().size());
        EXPECT_EQ("0件", TextOf(1009));
      });
  Finish();
}

// A data file cut short (an interrupted copy) is refused as one that cannot be opened: its cut
// last line, whose empty columns would equal the blank names, never becomes a row.
TEST_F(AddressToCodeTest, ACutDataFileShowsTheOpenErrorAndNoRows) {
  User()
      .Then([this] {
        UseEmptyFolder();
        std::ofstream("ken_all.csv", std::ios::binary) << test_support::Cp932(
            "13101,\"100  \",\"1000001\",\"ﾄｳｷｮｳﾄ\",\"ﾁﾖﾀﾞｸ\",\"ﾁﾖﾀﾞ\",\"東京都\","
            "\"千代田区\",\"千代田\",0,0,0,0,0,0\r\n23101,\"500  \",\"5008025\"");
      })
      .Type(1001, "東京都")
      .Click(1008)
      .Then([this] {
        std::filesystem::remove("ken_all.csv");
        ASSERT_EQ(1u, backend_.MessageBoxes().size());
        EXPECT_EQ("[fnGetChimei]\n郵便番号ファイルオープンエラー",
                  Utf8(backend_.MessageBoxes()[0].text));
        EXPECT_EQ(0, List()->Count());
      });
  Finish();
}

TEST_F(AddressToCodeTest, NamesSpelledOtherwiseThanTheFileFindNothingAndSayNothing) {
  User()
      .Type(1001, "東京")
      .Click(1008)
      .Click(1010)
      .Type(1002, "ﾁﾖﾀﾞｸ")
      .Click(1008)
      .Click(1010)
      .Type(1001, "東京都 ")
      .Click(1008)
      .Then([this] {
        EXPECT_EQ(0, List()->Count());
        EXPECT_EQ("0件", TextOf(1009));
        EXPECT_TRUE(backend_.MessageBoxes().empty());
      });
  Finish();
}

// The longest town names of the file (up to 76 bytes) fit the box whole and are found; the box
// stops at the 78 bytes that the library's town column can hold.
TEST_F(AddressToCodeTest, TheTownBoxHoldsTheLongestTownNames) {
  const std::string tower =
      "桜丘町渋谷サクラステージＳＨＩＢＵＹＡサイドＳＨＩＢＵＹＡタワー（７階）";
  User()
      .Type(1003, tower)
      .Then([tower] { EXPECT_EQ(tower, TextOf(1003)); })
      .Click(1008)
      .Then([] {
        ASSERT_EQ(1, List()->Count());
        EXPECT_EQ(0u, Rows()[0].find("150-6207  東京都      渋谷区")) << Rows()[0];
        EXPECT_EQ("1件", TextOf(1009));
      })
      .Click(1010)
      .Type(1003, std::string(80, 'x'))
      .Then([] { EXPECT_EQ(std::string(78, 'x'), TextOf(1003)); });
  Finish();
}

TEST_F(AddressToCodeTest, InputMethodIsOnInTheSearchBoxesOnly) {
  const auto open = [] { return platform::InputContextOf(Active())->open; };
  User()
      .Then([open] {
        EXPECT_EQ(1001, FocusId());
        EXPECT_TRUE(open());
      })
      .Then([this] { ime_changes_ = backend_.InputMethodLog().size(); })
      .Tab()
      .Then([this, open] {
        EXPECT_EQ(1002, FocusId());
        EXPECT_TRUE(open());
        const std::vector<bool>& log = backend_.InputMethodLog();
        ASSERT_EQ(ime_changes_ + 2, log.size()) << "off, then on again";
        EXPECT_FALSE(log[ime_changes_]);
        EXPECT_TRUE(log[ime_changes_ + 1]);
      })
      .Tab()
      .Tab()  // from 1003 to 検索
      .Then([open] {
        EXPECT_EQ(1008, FocusId());
        EXPECT_FALSE(open());
      })
      .Click(1013)  // a result field leaves it alone
      .Then([open] { EXPECT_FALSE(open()); })
      .Click(1006)
      .Click(1001)  // a second opening gets a context of its own, released again
      .Then([open] { EXPECT_TRUE(open()); });
  Finish();
}

}  // namespace
}  // namespace morvane_test
