// The program's main menu on the real window system, from InitInstance to its end: the About
// item in the system menu, the About box owned by the main menu, which waits disabled, and
// 終了 ending the program. The steps run from a timer inside the dialogs' own modal loops.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "address_to_code_dlg.h"
#include "code_to_address_dlg.h"
#include "morvane_app.h"
#include "platform/encoding.h"
#include "platform/resource_registry.h"
#include "program_resources.h"
#include "resource_ids.h"
#include "test_support.h"

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

// Steps run one per timer tick inside a dialog's modal loop; a step returns false to be tried
// again on the next tick (a condition not reached yet). A run that does not finish within
// about ten seconds ends the dialog and fails.
class StepRunner {
 public:
  using Step = std::function<bool(HWND dialog)>;
  StepRunner(std::string caption_utf8, std::vector<Step> steps)
      : caption_(test_support::Cp932(caption_utf8)), steps_(std::move(steps)) {}

  int Run(CDialog& dialog) {
    current_ = this;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, &StepRunner::OnTick);
    const int result = dialog.DoModal();
    ::KillTimer(nullptr, timer);
    current_ = nullptr;
    return result;
  }
  bool Finished() const { return next_ == steps_.size(); }
  std::size_t NextStep() const { return next_; }

 private:
  static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
    StepRunner* self = current_;
    if (self == nullptr || self->Finished() || self->busy_) return;
    HWND dialog = ::FindWindowA(nullptr, self->caption_.c_str());
    if (++self->ticks_ > 300) {
      if (dialog != nullptr) ::EndDialog(dialog, 99);
      return;
    }
    if (dialog == nullptr) return;
    self->busy_ = true;  // a step may run a search, and its own loop ticks meanwhile
    if (self->steps_[self->next_](dialog)) ++self->next_;
    self->busy_ = false;
  }

  static inline StepRunner* current_ = nullptr;
  std::string caption_;
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  int ticks_ = 0;
  bool busy_ = false;
};

void Click(HWND dialog, int id) {
  ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

// The focus moved as Tab moves it.
void FocusOn(HWND dialog, int id) {
  ::SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(dialog, id)), TRUE);
}

// A key pressed with Ctrl held, as the system delivers it to the control with the focus: the
// key down, then the character it makes.
void PressWithControl(HWND control, char key) {
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  const BYTE control_before = keys[VK_CONTROL];
  keys[VK_CONTROL] = 0x80;
  ::SetKeyboardState(keys);
  ::SendMessageA(control, WM_KEYDOWN, static_cast<WPARAM>(key), 0);
  ::SendMessageA(control, WM_CHAR, static_cast<WPARAM>(key - 'A' + 1), 0);
  keys[VK_CONTROL] = control_before;
  ::SetKeyboardState(keys);
}

std::string ClipboardText() {
  std::string text;
  if (!::OpenClipboard(nullptr)) return text;
  if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
    if (const auto* bytes = static_cast<const char*>(::GlobalLock(data))) {
      text = bytes;
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  return text;
}

class SearchFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    morvane::RegisterResources();
    previous_ = std::filesystem::current_path();
    if (!test_support::EnterDataDir())
      GTEST_SKIP() << "no KEN_ALL.CSV in " << test_support::DataDir();
  }
  void TearDown() override {
    if (!previous_.empty()) std::filesystem::current_path(previous_);
  }
  std::filesystem::path previous_;
};

// The code search: the typed code finds its row; the chosen row fills the four fields; Ctrl+C
// in the list copies its code; a field that gets the focus is on the clipboard as CF_TEXT; 戻る
// ends the dialog with 0.
TEST_F(SearchFlowTest, CodeSearchFillsTheFieldsAndCopiesTheFocusedOne) {
  std::string row;
  std::string pref_field;
  std::string clipboard;
  std::string code_copied;  // by Ctrl+C in the list
  int selected_after = LB_ERR;
  CCodeToAddressDlg dialog;
  StepRunner runner(
      "郵便番号から住所を検索",
      {
          [&](HWND d) {
            ::SetDlgItemTextA(d, morvane::IDC_CODE3, "100");
            ::SetDlgItemTextA(d, morvane::IDC_CODE4, "0001");
            Click(d, morvane::IDC_SEARCH);
            return true;
          },
          [&](HWND d) {
            HWND list = ::GetDlgItem(d, morvane::IDC_RESULT_LIST);
            if (::SendMessageA(list, LB_GETCOUNT, 0, 0) != 1) return false;
            char text[300] = {};
            ::SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
            row = text;
            ::SendMessageA(list, LB_SETCURSEL, 0, 0);
            ::SendMessageA(d, WM_COMMAND, MAKEWPARAM(morvane::IDC_RESULT_LIST, LBN_SELCHANGE),
                           reinterpret_cast<LPARAM>(list));
            FocusOn(d, morvane::IDC_RESULT_LIST);
            PressWithControl(list, 'C');
            code_copied = ClipboardText();
            selected_after = static_cast<int>(::SendMessageA(list, LB_GETCURSEL, 0, 0));
            FocusOn(d, morvane::IDC_CODE_RES_PREF);
            char field[64] = {};
            ::GetDlgItemTextA(d, morvane::IDC_CODE_RES_PREF, field, sizeof field);
            pref_field = field;
            clipboard = ClipboardText();
            Click(d, morvane::IDC_BACK);
            return true;
          },
      });
  EXPECT_EQ(0, runner.Run(dialog));
  EXPECT_TRUE(runner.Finished()) << "stopped before step " << runner.NextStep();
  EXPECT_EQ("100-0001  東京都      千代田区              千代田", platform::Cp932ToUtf8(row));
  EXPECT_EQ("東京都", platform::Cp932ToUtf8(pref_field));
  EXPECT_EQ("東京都", platform::Cp932ToUtf8(clipboard));
  EXPECT_EQ("100-0001", code_copied);
  EXPECT_EQ(0, selected_after);
}

// The address search counts its rows; the input method is open in the search boxes and closed
// elsewhere; 終了 ends the dialog with -1.
TEST_F(SearchFlowTest, AddressSearchCountsRowsAndTheInputMethodFollowsTheFocus) {
  std::string count;
  bool open_in_pref = false;
  bool open_in_result = true;
  CAddressToCodeDlg dialog;
  StepRunner runner("住所から郵便番号を検索",
                    {
                        [&](HWND d) {
                          ::SetDlgItemTextA(d, morvane::IDC_PREF,
                                            test_support::Cp932("東京都").c_str());
                          Click(d, morvane::IDC_SEARCH);
                          return true;
                        },
                        [&](HWND d) {
                          char text[32] = {};
                          ::GetDlgItemTextA(d, morvane::IDC_COUNT, text, sizeof text);
                          count = text;
                          if (count == test_support::Cp932("0件")) return false;
                          HIMC context = ::ImmGetContext(d);
                          FocusOn(d, morvane::IDC_PREF);
                          open_in_pref = ::ImmGetOpenStatus(context) != FALSE;
                          FocusOn(d, morvane::IDC_ADDR_RES_PREF);
                          open_in_result = ::ImmGetOpenStatus(context) != FALSE;
                          ::ImmReleaseContext(d, context);
                          Click(d, morvane::IDC_EXIT);
                          return true;
                        },
                    });
  EXPECT_EQ(-1, runner.Run(dialog));
  EXPECT_TRUE(runner.Finished()) << "stopped before step " << runner.NextStep();
  EXPECT_EQ(std::to_string(test_support::CountRealDataLinesWith(",\"東京都\",")) + "件",
            platform::Cp932ToUtf8(count));
  EXPECT_TRUE(open_in_pref);
  EXPECT_FALSE(open_in_result);
}

}  // namespace
