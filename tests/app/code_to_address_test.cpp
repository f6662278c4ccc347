// Postal code to address, from the main menu, on the real data file.
#include <fstream>

#include "app_fixture.h"
#include "platform/clipboard.h"
#include "platform/edit.h"

namespace morvane_test {
namespace {

class CodeToAddressTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    if (!UseRealData()) GTEST_SKIP() << "no KEN_ALL.CSV in " << test_support::DataDir();
    User().Click(1000);
  }
  // Ends the dialog and the program by 終了.
  void Finish() {
    User().Click(1007);
    RunProgram();
  }
  static std::string Clipboard() { return Utf8(platform::ClipboardText()); }
};

constexpr const char* kChiyodaRow = "100-0001  東京都      千代田区              千代田";

TEST_F(CodeToAddressTest, CodeGivesItsAddressAndEachFieldCopiesItselfOnFocus) {
  User()
      .Type(1001, "100")
      .Type(1002, "0001")
      .Click(1008)
      .Then([] { EXPECT_EQ(std::vector<std::string>{kChiyodaRow}, Rows()); })
      .SelectRow(1005, 0)
      .Then([] {
        EXPECT_EQ("東京都", TextOf(1013));
        EXPECT_EQ("千代田区", TextOf(1014));
        EXPECT_EQ("千代田", TextOf(1015));
        EXPECT_EQ("東京都千代田区千代田", TextOf(1016));
      })
      .Click(1014)
      .Then([] {
        EXPECT_EQ("千代田区", Clipboard());
        auto* edit = static_cast<platform::EditWindow*>(Active()->Child(1014));
        EXPECT_EQ(0, edit->SelectionStart());
        EXPECT_EQ(8, edit->SelectionEnd()) << "the whole text is selected (CP932 bytes)";
        EXPECT_LT(0, edit->CaretScrolls());
      })
      .Tab()
      .Then([] { EXPECT_EQ("千代田", Clipboard()); })
      .Tab()
      .Then([] { EXPECT_EQ("東京都千代田区千代田", Clipboard()); })
      .Click(1013)
      .Then([] { EXPECT_EQ("東京都", Clipboard()); });
  Finish();
}

// A keyboard user: Tab to 検索, Space, Tab into the list; the first Down picks row 0.
TEST_F(CodeToAddressTest, KeyboardAloneSearchesAndTheFirstDownPicksTheOnlyRow) {
  User()
      .Type(1001, "100")
      .Tab()
      .Type(1002, "0001")
      .Tab()
      .Space()
      .Tab()
      .Tab()
      .Then([] {
        EXPECT_EQ(1005, FocusId());
        EXPECT_EQ(LB_ERR, List()->Selection());
      })
      .Key(VK_DOWN)
      .Then([] {
        EXPECT_EQ(0, List()->Selection());
        EXPECT_EQ("東京都千代田区千代田", TextOf(1016));
      })
      .Then(
          [] { SendMessageA(Active()->Child(1016), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("")); })
      .Key(VK_DOWN)
      .Key(VK_HOME)
      .Then([] {
        EXPECT_EQ(0, List()->Selection());
        EXPECT_EQ("", TextOf(1016)) << "keys that land on the selected row send nothing";
      });
  Finish();
}

// Ctrl+C (and Ctrl+Insert) in the list copies the chosen row's code as the row shows it, and
// changes nothing else; C alone is not Copy.
TEST_F(CodeToAddressTest, CtrlCInTheListCopiesTheRowsPostalCode) {
  int writes = 0;
  User()
      .Type(1001, "100")
      .Type(1002, "0001")
      .Click(1008)
      .SelectRow(1005, 0)
      .Then([&] { writes = platform::ClipboardWrites(); })
      .Key('C')
      .Then([&] { EXPECT_EQ(writes, platform::ClipboardWrites()); })
      .Key('C', true)
      .Then([] {
        EXPECT_EQ("100-0001", Clipboard());
        EXPECT_EQ(0, List()->Selection());
        EXPECT_EQ(1005, FocusId());
        EXPECT_EQ("東京都千代田区千代田", TextOf(1016));
      })
      .Click(1013)
      .Then([] { EXPECT_EQ("東京都", Clipboard()); })
      .Focus(1005)
      .Key(VK_INSERT, true)
      .Then([] { EXPECT_EQ("100-0001", Clipboard()); });
  Finish();
}

TEST_F(CodeToAddressTest, SharedCodeListsEveryRecordInFileOrderAndRepeatsWithoutClear) {
  // The town areas of 4520961 as the file lists them, read independently of the library.
  std::vector<std::string> towns;
  for (const std::string& line : test_support::RealDataLines()) {
    if (line.find(",\"4520961\",") == std::string::npos) continue;
    std::size_t start = 0;
    for (int column = 0; column < 8; ++column) start = line.find(',', start) + 1;
    const std::size_t end = line.find(',', start);
    towns.push_back(Utf8(line.substr(start + 1, end - start - 2)));
  }
  ASSERT_GT(towns.size(), 1u);
  User().Type(1001, "452").Type(1002, "0961").Click(1008).Click(1008).Then([towns] {
    const std::vector<std::string> rows = Rows();
    ASSERT_EQ(2 * towns.size(), rows.size());
    for (std::size_t i = 0; i < towns.size(); ++i) {
      EXPECT_EQ(rows[i], rows[i + towns.size()]);
      EXPECT_EQ(0u, rows[i].find("452-0961  愛知県      清須市")) << rows[i];
      EXPECT_EQ(towns[i], rows[i].substr(rows[i].rfind(' ') + 1)) << "row " << i;
    }
  });
  Finish();
}

TEST_F(CodeToAddressTest, IncompleteOrEmptyCodesReadTheFileUnderThePopupAndAddNothing) {
  User()
      .Click(1008)
      .Then([this] {
        EXPECT_EQ(0, List()->Count());
        ASSERT_EQ(1u, backend_.ModelessShown().size());
        const platform::ShownModeless& popup = backend_.ModelessShown()[0];
        EXPECT_EQ("データ検索中", Utf8(popup.caption));
        EXPECT_EQ("データを検索しています。\r\nしばらくお待ち下さい。", Utf8(popup.texts));
        EXPECT_TRUE(popup.topmost);
        EXPECT_TRUE(popup.visible);
        EXPECT_EQ(2u, platform::TopLevelWindows().size()) << "the popup is gone afterwards";
      })
      .Type(1001, "100")
      .Type(1002, "000")
      .Click(1008)
      .Then([] { EXPECT_EQ(0, List()->Count()); })
      .Type(1002, "12345")  // the box takes four characters at most
      .Then([] { EXPECT_EQ("0001", TextOf(1002)); });
  Finish();
}

TEST_F(CodeToAddressTest, ClearEmptiesBoxesAndListButKeepsTheResultFields) {
  User().Type(1001, "100").Type(1002, "0001").Click(1008).SelectRow(1005, 0).Click(1012).Then([] {
    EXPECT_EQ("", TextOf(1001));
    EXPECT_EQ("", TextOf(1002));
    EXPECT_EQ(0, List()->Count());
    EXPECT_EQ("東京都千代田区千代田", TextOf(1016));
  });
  Finish();
}

TEST_F(CodeToAddressTest, EnterAndEscapeDoNothing) {
  User().Type(1001, "100").Type(1002, "0001").Enter().Escape().Then([] {
    EXPECT_EQ("郵便番号から住所を検索", Caption());
    EXPECT_EQ(0, List()->Count()) << "Enter must not search";
    EXPECT_EQ("100", TextOf(1001));
  });
  Finish();
}

TEST_F(CodeToAddressTest, SelectingARowShowsTheLastSearchedTextsInTheBoxesAgain) {
  User()
      .Type(1001, "100")
      .Type(1002, "0001")
      .Click(1008)
      .Focus(1001)
      .Type(1001, "9")  // the box was full: nothing more fits
      .Tab(true)
      .Tab()  // Tab selects the whole text, so typing replaces it
      .Type(1001, "999")
      .SelectRow(1005, 0)
      .Then([] { EXPECT_EQ("100", TextOf(1001)); });
  Finish();
}

TEST_F(CodeToAddressTest, MissingDataFileShowsTheMessageUnderThePopupAndKeepsTheRows) {
  User()
      .Type(1001, "100")
      .Type(1002, "0001")
      .Click(1008)
      .Then([this] { UseEmptyFolder(); })
      .Click(1008)
      .Then([this] {
        ASSERT_EQ(1u, backend_.MessageBoxes().size());
        const platform::ShownMessageBox& box = backend_.MessageBoxes()[0];
        EXPECT_EQ("[fnGetChimei]\n郵便番号ファイルオープンエラー", Utf8(box.text));
        EXPECT_EQ("データ検索中", Utf8(box.active_caption)) << "the popup stands meanwhile";
        EXPECT_EQ(std::vector<std::string>{kChiyodaRow}, Rows());
      });
  Finish();
}

TEST_F(CodeToAddressTest, BackReturnsToTheMenu) {
  User().Click(1006).Then([] { EXPECT_EQ("Morvane", Caption()); }).Click(1002);
  RunProgram();
}

}  // namespace
}  // namespace morvane_test
