// The dialog framework on the headless backend: modal runs, data exchange, message maps,
// focus notifications, input contexts, and the scripted user's refusal to wait.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/afxwin.h"
#include "platform/dialogwindow.h"
#include "platform/edit.h"
#include "platform/encoding.h"
#include "platform/headless_backend.h"

namespace {

constexpr int kTestDialog = 9001;
constexpr int kOwnerDialog = 9002;

void RegisterTemplates() {
  using platform::WindowKind;
  platform::RegisterDialogTemplate(platform::DialogTemplate{
      kTestDialog,
      "Test",
      WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
      0,
      100,
      50,
      "font",
      9,
      {
          {-1, WindowKind::StaticText, "label", SS_LEFT, 0, 0, 10, 10},
          {10, WindowKind::Edit, "", WS_TABSTOP, 0, 0, 10, 10},
          {11, WindowKind::Edit, "", WS_TABSTOP, 0, 0, 10, 10},
          {12, WindowKind::PushButton, "go", WS_TABSTOP, 0, 0, 10, 10},
          {IDCANCEL, WindowKind::PushButton, "cancel", WS_TABSTOP, 0, 0, 10, 10},
      }});
  platform::RegisterDialogTemplate(
      platform::DialogTemplate{kOwnerDialog,
                               "Owner",
                               WS_POPUP | WS_CAPTION,
                               0,
                               200,
                               100,
                               "font",
                               9,
                               {{20, WindowKind::PushButton, "open", WS_TABSTOP, 0, 0, 10, 10}}});
}

// A dialog whose handlers record what reached them.
class RecordingDlg : public CDialog {
 public:
  explicit RecordingDlg(CWnd* parent = nullptr) : CDialog(kTestDialog, parent) {}

  std::vector<std::string> events;
  CString first;
  CString second;
  int limit = 4;

 protected:
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Text(dx, 10, first);
    DDV_MaxChars(dx, first, limit);
    DDX_Text(dx, 11, second);
  }
  const platform::MessageMap* GetMessageMap() const override {
    static const platform::MessageMap map = {
        platform::OnNotify(BN_CLICKED, 12, &RecordingDlg::OnGo),
        platform::OnNotify(EN_SETFOCUS, 10, &RecordingDlg::OnFirstIn),
        platform::OnNotify(EN_KILLFOCUS, 10, &RecordingDlg::OnFirstOut),
        platform::OnNotify(EN_SETFOCUS, 11, &RecordingDlg::OnSecondIn),
        platform::OnNotify(EN_KILLFOCUS, 11, &RecordingDlg::OnSecondOut),
    };
    return &map;
  }
  void OnOK() override {
    events.push_back("ok");
    CDialog::OnOK();
  }

 private:
  void OnGo() {
    events.push_back("go");
    EndDialog(7);
  }
  void OnFirstIn() { events.push_back("in 10"); }
  void OnFirstOut() { events.push_back("out 10"); }
  void OnSecondIn() { events.push_back("in 11"); }
  void OnSecondOut() { events.push_back("out 11"); }
};

class OwnerDlg : public CDialog {
 public:
  OwnerDlg() : CDialog(kOwnerDialog) {}
  int child_result = 0;
  bool child_names_owner = true;

 protected:
  const platform::MessageMap* GetMessageMap() const override {
    static const platform::MessageMap map = {platform::OnNotify(BN_CLICKED, 20, &OwnerDlg::OnOpen)};
    return &map;
  }

 private:
  void OnOpen() {
    RecordingDlg child(child_names_owner ? this : nullptr);
    child_result = child.DoModal();
  }
};

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTemplates();
    backend_.SetEchoToStderr(false);
  }
  void TearDown() override { EXPECT_EQ(0u, platform::TopLevelWindows().size()); }
  platform::ScriptedUser& User() { return backend_.User(); }
  platform::HeadlessBackend backend_;
};

TEST_F(DialogTest, ModalRunReturnsTheEndDialogValueAndDisablesItsOwner) {
  OwnerDlg owner;
  User()
      .Click(20)
      .Then([] {
        const auto windows = platform::TopLevelWindows();
        ASSERT_EQ(2u, windows.size());
        EXPECT_FALSE(windows[0]->IsEnabled());
        EXPECT_EQ(windows[0], windows[1]->Owner());
      })
      .Click(12)
      .Then([&owner] {
        EXPECT_EQ(7, owner.child_result);
        EXPECT_TRUE(platform::ActiveWindow()->IsEnabled());
      })
      .Escape();  // the owner's default cancel ends it
  EXPECT_EQ(IDCANCEL, owner.DoModal());
  EXPECT_EQ("", User().Failure());
}

TEST_F(DialogTest, DialogsThatNameNoParentAreOwnedByTheMainWindow) {
  CWinApp app;
  OwnerDlg menu;
  menu.child_names_owner = false;
  app.m_pMainWnd = &menu;
  RecordingDlg popup;
  User()
      .Then([&] {
        // Modeless: owned, and the owner stays usable.
        EXPECT_EQ(nullptr, menu.m_hWnd->Owner()) << "the main window has no owner";
        ASSERT_EQ(TRUE, popup.Create(kOwnerDialog));
        EXPECT_EQ(menu.m_hWnd, popup.m_hWnd->Owner());
        EXPECT_TRUE(menu.m_hWnd->IsEnabled());
        popup.DestroyWindow();
      })
      .Click(20)
      .Then([&menu] {
        const auto windows = platform::TopLevelWindows();
        ASSERT_EQ(2u, windows.size());
        EXPECT_EQ(menu.m_hWnd, windows[1]->Owner());
        EXPECT_FALSE(menu.m_hWnd->IsEnabled());
      })
      .Click(12)
      .Then([&menu] {
        EXPECT_EQ(7, menu.child_result);
        EXPECT_TRUE(menu.m_hWnd->IsEnabled());
        EXPECT_EQ(menu.m_hWnd, platform::ActiveWindow());
      })
      .Escape();
  EXPECT_EQ(IDCANCEL, menu.DoModal());
  EXPECT_EQ("", User().Failure());
}

TEST_F(DialogTest, FocusMovesNotifyTheLosingControlFirst) {
  RecordingDlg dialog;
  User().Tab().Tab().Click(10).Escape();
  dialog.DoModal();
  // Initial focus on the first tab stop, then Tab, Tab, and a click back.
  EXPECT_EQ((std::vector<std::string>{"in 10", "out 10", "in 11", "out 11", "in 10"}),
            dialog.events);
}

TEST_F(DialogTest, EnterSendsOkAndTheDefaultOkSavesTheData) {
  RecordingDlg dialog;
  User().Type(10, "abc").Type(11, "de").Enter();
  EXPECT_EQ(IDOK, dialog.DoModal());
  EXPECT_EQ("abc", std::string(dialog.first));
  EXPECT_EQ("de", std::string(dialog.second));
  EXPECT_EQ("ok", dialog.events.back());
}

TEST_F(DialogTest, LoadingLimitsTheEditAndSavingALongerTextFailsWithAMessage) {
  RecordingDlg dialog;
  dialog.first = "toolong";  // data exchange into the control is not limited
  User()
      .Then([] { EXPECT_EQ("toolong", platform::ActiveWindow()->Child(10)->Text()); })
      .Type(11, "x")
      .Enter()  // OnOK: the exchange fails, the dialog stays, focus goes to the field
      .Then([] {
        EXPECT_EQ(10, GetFocus()->Id());
        auto* edit = static_cast<platform::EditWindow*>(platform::ActiveWindow()->Child(10));
        EXPECT_EQ(4, edit->Limit());
      })
      .Escape();
  EXPECT_EQ(IDCANCEL, dialog.DoModal());
  ASSERT_EQ(1u, backend_.MessageBoxes().size());
  EXPECT_EQ("4 文字以内で入力してください。",
            platform::Cp932ToUtf8(backend_.MessageBoxes()[0].text));
}

TEST_F(DialogTest, CloseBoxIsTheCancelCommand) {
  RecordingDlg dialog;
  User().CloseBox();
  EXPECT_EQ(IDCANCEL, dialog.DoModal());
}

TEST_F(DialogTest, ScriptRunningDryEndsEveryDialogInsteadOfWaiting) {
  OwnerDlg owner;
  User().Click(20);
  EXPECT_EQ(-1, owner.DoModal());
  EXPECT_EQ(-1, owner.child_result);
  EXPECT_NE(std::string::npos, User().Failure().find("\"Test\" waits for an action"))
      << User().Failure();
}

TEST_F(DialogTest, MissingControlFailsTheScriptWithItsNumber) {
  RecordingDlg dialog;
  User().Click(99).Escape();
  dialog.DoModal();
  EXPECT_NE(std::string::npos, User().Failure().find("has no control 99")) << User().Failure();
}

TEST_F(DialogTest, DialogThatCannotBeMadeGivesMinusOne) {
  RecordingDlg dialog;
  backend_.FailNextDialog();
  EXPECT_EQ(-1, dialog.DoModal());
  CDialog unknown(4242);
  EXPECT_EQ(-1, unknown.DoModal());
}

TEST_F(DialogTest, InputContextIsReleasedOnceAndStaleHandlesAreRefused) {
  RecordingDlg dialog;
  HIMC context = nullptr;
  User()
      .Then([&context] {
        HWND window = platform::ActiveWindow();
        context = ImmGetContext(window);
        EXPECT_EQ(TRUE, ImmSetOpenStatus(context, TRUE));
        EXPECT_EQ(TRUE, ImmGetOpenStatus(context));
        EXPECT_EQ(TRUE, ImmReleaseContext(window, context));
        EXPECT_EQ(FALSE, ImmReleaseContext(window, context)) << "a second release";
        EXPECT_EQ(0, platform::OutstandingInputContexts());
      })
      .Escape();
  dialog.DoModal();
  EXPECT_EQ(FALSE, ImmSetOpenStatus(context, TRUE)) << "the window and its context are gone";
}

TEST_F(DialogTest, ModelessDialogIsShownWhenCreateReturnsAndGoesWithItsObject) {
  {
    RecordingDlg popup;
    ASSERT_EQ(TRUE, popup.Create(kOwnerDialog));  // the template has no WS_VISIBLE
    EXPECT_FALSE(popup.m_hWnd->IsVisible());
    popup.ShowWindow(SW_SHOW);
    EXPECT_TRUE(popup.m_hWnd->IsVisible());
  }
  EXPECT_EQ(0u, platform::TopLevelWindows().size());
}

TEST(WindowHandleTest, StaleHandlesAreRefused) {
  HWND stale = nullptr;
  {
    CListBox list;
    list.Create(0, RECT{0, 0, 1, 1}, nullptr, 1);
    stale = list.m_hWnd;
    EXPECT_TRUE(IsWindow(stale));
    EXPECT_EQ(0, SendMessageA(stale, LB_GETCOUNT, 0, 0));
  }
  EXPECT_FALSE(IsWindow(stale));
  EXPECT_EQ(0, SendMessageA(stale, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("x")));
}

}  // namespace

namespace {

TEST(ApplicationTest, NameGivenToTheApplicationCaptionsMessageBoxes) {
  platform::HeadlessBackend backend;
  backend.SetEchoToStderr(false);
  {
    CWinApp app("Named");
    EXPECT_STREQ("Named", app.m_pszAppName);
    AfxMessageBox("x");
  }
  platform::SetApplicationName("");
  ASSERT_EQ(1u, backend.MessageBoxes().size());
  EXPECT_EQ("Named", backend.MessageBoxes()[0].caption);
}

}  // namespace
