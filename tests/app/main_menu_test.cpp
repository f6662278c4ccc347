// The main menu as a person uses it, from program start to its end.
#include "app_fixture.h"
#include "platform/clipboard.h"
#include "platform/resource_registry.h"

namespace morvane_test {
namespace {

class MainMenuTest : public AppTest {};

TEST_F(MainMenuTest, OpensWithFocusOnTheFirstButtonAndEndsByItsExitButton) {
  User()
      .Then([] {
        EXPECT_EQ("Morvane", Caption());
        EXPECT_EQ(1000, FocusId());
        EXPECT_EQ("郵便番号検索　　Morvane Ver.1.0", TextOf(-1));
        EXPECT_EQ(platform::FindIconResource(128), Active()->Icon(true));
        EXPECT_EQ(platform::FindIconResource(128), Active()->Icon(false));
        EXPECT_EQ(platform::FindIconResource(128), Active()->Child(1014)->Image());
      })
      .Click(1002);
  RunProgram();
}

TEST_F(MainMenuTest, EndsByCloseBoxAndByAltF4) {
  User().CloseBox();
  RunProgram();
  User().AltF4();
  RunProgram();
}

TEST_F(MainMenuTest, EscapeDoesNothingAndEnterPressesOnlyTheFocusedButton) {
  User()
      .Escape()
      .Then([] { EXPECT_EQ("Morvane", Caption()); })
      .Tab()
      .Tab()  // the title and the icon are no tab stops
      .Then([] { EXPECT_EQ(1002, FocusId()); })
      .Tab(true)
      .Tab(true)
      .Enter()  // 1000 has the focus: its dialog opens
      .Then([] { EXPECT_EQ("郵便番号から住所を検索", Caption()); })
      .Click(1006)
      .Then([] { EXPECT_EQ("Morvane", Caption()); })
      .Space()  // presses the focused button as Enter does
      .Then([] { EXPECT_EQ("郵便番号から住所を検索", Caption()); })
      .Click(1006)
      .Click(1002);
  RunProgram();
}

TEST_F(MainMenuTest, SystemMenuEndsWithTheAboutItemAndCommands16To31OpenTheAboutBox) {
  User()
      .Then([] {
        platform::Menu* menu = Active()->SystemMenu();
        ASSERT_NE(nullptr, menu);
        ASSERT_EQ(4u, menu->items.size());
        EXPECT_EQ(static_cast<UINT>(SC_MOVE), menu->items[0].id);
        EXPECT_EQ(static_cast<UINT>(SC_CLOSE), menu->items[1].id);
        EXPECT_EQ(static_cast<UINT>(MF_SEPARATOR), menu->items[2].flags);
        EXPECT_EQ(16u, menu->items[3].id);
        EXPECT_EQ("Morvane のﾊﾞｰｼﾞｮﾝ情報(&A)...", Utf8(menu->items[3].text));
      })
      .SystemCommand(16)
      .Then([] {
        EXPECT_EQ("Morvaneのﾊﾞｰｼﾞｮﾝ情報", Caption());
        EXPECT_EQ("|Morvane Version 1.0|郵便番号データ：日本郵便|OK|Copyright (C) 2026 Morvane",
                  AllTexts());
        EXPECT_EQ(1, FocusId()) << "OK is the only tab stop";
        EXPECT_FALSE(platform::TopLevelWindows().front()->IsEnabled()) << "menu not disabled";
      })
      .Click(IDOK)
      .Then([] {
        EXPECT_EQ("Morvane", Caption());
        EXPECT_TRUE(Active()->IsEnabled());
      })
      .SystemCommand(31)
      .Escape()
      .SystemCommand(17)
      .Enter()
      .SystemCommand(20)
      .CloseBox()
      .SystemCommand(32)  // outside 16..31: the default processing, nothing opens
      .Then([] { EXPECT_EQ("Morvane", Caption()); })
      .Click(1002);
  RunProgram();
}

TEST_F(MainMenuTest, SearchDialogEndingWithMinusOneEndsTheProgram) {
  User()
      .Click(1001)
      .Then([] {
        EXPECT_EQ("住所から郵便番号を検索", Caption());
        EXPECT_FALSE(platform::TopLevelWindows().front()->IsEnabled());
      })
      .Click(1006)  // 戻る: back to a usable menu
      .Then([] {
        EXPECT_EQ("Morvane", Caption());
        EXPECT_TRUE(Active()->IsEnabled());
      })
      .Click(1000)
      .Click(1007);  // 終了 ends everything: no step is needed after it
  RunProgram();
}

TEST_F(MainMenuTest, SearchDialogThatCannotBeMadeEndsTheProgram) {
  User().Then([this] { backend_.FailNextDialog(); }).Click(1000);
  RunProgram();
}

TEST_F(MainMenuTest, MinimisedMenuDrawsItsIconCentredWithTruncatingDivision) {
  User()
      .Then([] {
        platform::DialogWindow* menu = Active();
        menu->SetMinimized(true);
        const RECT screen = menu->ScreenRect();
        for (const auto& [size, expected] :
             std::vector<std::pair<int, int>>{{36, 2}, {35, 2}, {31, 0}, {0, -15}}) {
          menu->SetScreenGeometry(screen, POINT{size, size});
          SendMessageA(menu, WM_PAINT, 0, 0);
          ASSERT_FALSE(menu->Drawn().empty());
          EXPECT_EQ(expected, menu->Drawn().back().at.x) << "client " << size;
          EXPECT_EQ(expected, menu->Drawn().back().at.y) << "client " << size;
          EXPECT_EQ(platform::FindIconResource(128), menu->Drawn().back().icon);
        }
        const std::size_t drawn = menu->Drawn().size();
        menu->SetMinimized(false);
        SendMessageA(menu, WM_PAINT, 0, 0);
        EXPECT_EQ(drawn, menu->Drawn().size()) << "an open menu draws no icon";
        EXPECT_EQ(reinterpret_cast<LRESULT>(platform::FindIconResource(128)),
                  SendMessageA(menu, WM_QUERYDRAGICON, 0, 0));
      })
      .Click(1002);
  RunProgram();
}

}  // namespace
}  // namespace morvane_test
