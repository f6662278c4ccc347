// The program's main menu on the real window system, from InitInstance to its end: the About
// item in the system menu, the About box owned by the main menu, which waits disabled, and
// 終了 ending the program. The steps run from a timer inside the dialogs' own modal loops.
#include <gtest/gtest.h>

#include <string>

#include "morvane_app.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "resources.h"

namespace {

struct Flow {
  int step = 0;
  int ticks = 0;
  std::string failure;
  HWND main = nullptr;
  UINT about_item = 0;
  std::string about_text;
  bool separator_before = false;
  bool icon_set = false;
  bool survives_enter_and_esc = false;
  HWND about_owner = nullptr;
  bool main_enabled_under_about = true;
  bool main_enabled_after = false;
};

Flow g_flow;

std::string AboutCaption() {
  return platform::FindDialogTemplate(morvane::IDD_ABOUTBOX)->caption;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  Flow& f = g_flow;
  if (++f.ticks > 300) {  // about ten seconds: give up, and end whatever is open
    if (f.failure.empty()) f.failure = "stuck at step " + std::to_string(f.step);
    if (HWND about = ::FindWindowA(nullptr, AboutCaption().c_str())) ::EndDialog(about, IDOK);
    if (f.main != nullptr) ::EndDialog(f.main, 0);
    return;
  }
  switch (f.step) {
    case 0: {
      f.main = ::FindWindowA(nullptr, "Morvane");
      if (f.main == nullptr || !::IsWindowVisible(f.main)) return;
      HMENU menu = ::GetSystemMenu(f.main, FALSE);
      const int count = ::GetMenuItemCount(menu);
      f.about_item = ::GetMenuItemID(menu, count - 1);
      char text[64] = {};
      ::GetMenuStringA(menu, static_cast<UINT>(count - 1), text, sizeof text, MF_BYPOSITION);
      f.about_text = text;
      f.separator_before =
          (::GetMenuState(menu, static_cast<UINT>(count - 2), MF_BYPOSITION) & MF_SEPARATOR) != 0;
      f.icon_set = ::SendMessageA(f.main, WM_GETICON, ICON_BIG, 0) != 0;
      ::SendMessageA(f.main, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      ::SendMessageA(f.main, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      f.survives_enter_and_esc = ::IsWindow(f.main) != FALSE;
      ::PostMessageA(f.main, WM_SYSCOMMAND, f.about_item, 0);
      f.step = 1;
      return;
    }
    case 1: {
      HWND about = ::FindWindowA(nullptr, AboutCaption().c_str());
      if (about == nullptr || !::IsWindowVisible(about)) return;
      f.about_owner = ::GetWindow(about, GW_OWNER);
      f.main_enabled_under_about = ::IsWindowEnabled(f.main) != FALSE;
      ::PostMessageA(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      f.step = 2;
      return;
    }
    case 2:
      if (::FindWindowA(nullptr, AboutCaption().c_str()) != nullptr) return;
      f.main_enabled_after = ::IsWindowEnabled(f.main) != FALSE;
      ::PostMessageA(f.main, WM_COMMAND, MAKEWPARAM(morvane::IDC_QUIT, BN_CLICKED),
                     reinterpret_cast<LPARAM>(::GetDlgItem(f.main, morvane::IDC_QUIT)));
      f.step = 3;
      return;
    default:
      return;
  }
}

TEST(AppFlow, SystemMenuOpensTheAboutBoxAndQuitEndsTheProgram) {
  CMorvaneApp app;
  g_flow = Flow{};
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, &Tick);
  ASSERT_NE(0u, timer);
  EXPECT_FALSE(app.InitInstance()) << "the program ends with its main menu";
  ::KillTimer(nullptr, timer);

  EXPECT_EQ("", g_flow.failure);
  EXPECT_EQ(3, g_flow.step);
  EXPECT_EQ(16u, g_flow.about_item);
  EXPECT_EQ(morvane::Sjis("Morvane のﾊﾞｰｼﾞｮﾝ情報(&A)..."), g_flow.about_text);
  EXPECT_TRUE(g_flow.separator_before);
  EXPECT_TRUE(g_flow.icon_set) << "icon 128 on the main menu";
  EXPECT_TRUE(g_flow.survives_enter_and_esc) << "IDOK and IDCANCEL leave the main menu open";
  EXPECT_EQ(g_flow.main, g_flow.about_owner) << "the About box is owned by the main menu";
  EXPECT_FALSE(g_flow.main_enabled_under_about);
  EXPECT_TRUE(g_flow.main_enabled_after);
  EXPECT_FALSE(::IsWindow(g_flow.main));
}

}  // namespace
