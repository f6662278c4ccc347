// The framework over the real window system: dialogs from the program's own tables, modal and
// modeless runs, the message map's way back to the dialog manager, data exchange, the list
// box the command line fills, and the conversions.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/afxwin.h"
#include "platform/encoding.h"
#include "platform/headless_backend.h"
#include "platform/list_redraw.h"
#include "program_resources.h"
#include "resource_ids.h"
#include "searching_dlg.h"
#include "test_form.h"
#include "test_support.h"

namespace {

using win32_test::Pump;
using win32_test::RecordingDialog;

std::string Utf8Text(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return test_support::Utf8(text);
}

std::string ClassOf(HWND window) {
  char name[32] = {};
  ::GetClassNameA(window, name, sizeof name);
  return name;
}

const char* ClassFor(platform::WindowKind kind) {
  switch (kind) {
    case platform::WindowKind::PushButton:
      return "Button";
    case platform::WindowKind::Edit:
      return "Edit";
    case platform::WindowKind::ListBox:
      return "ListBox";
    default:
      return "Static";
  }
}

std::vector<HWND> Children(HWND dialog) {
  std::vector<HWND> children;
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

class FrameworkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(932u, ::GetACP()) << "the tests need the ANSI code page 932";
    morvane::RegisterResources();
    win32_test::RegisterFormTemplate();
    backend_.SetEchoToStderr(false);
  }
  void TearDown() override { Pump(); }

  platform::HeadlessBackend backend_;
};

// Every dialog of the program comes out of its table as the system's dialog manager builds it:
// caption, font, and each control's number, class, style and place in dialog units.
TEST_F(FrameworkTest, ProgramDialogsAreBuiltFromTheirTables) {
  for (int id : {morvane::IDD_ABOUTBOX, morvane::IDD_MORVANE_DIALOG, morvane::IDD_CODE_TO_ADDRESS,
                 morvane::IDD_ADDRESS_TO_CODE, morvane::IDD_SEARCHING}) {
    SCOPED_TRACE("template " + std::to_string(id));
    const platform::DialogTemplate* tpl = platform::FindDialogTemplate(id);
    ASSERT_NE(nullptr, tpl);
    RecordingDialog dialog(static_cast<UINT>(id));
    ASSERT_TRUE(dialog.Create(static_cast<UINT>(id)));
    EXPECT_EQ(platform::Cp932ToUtf8(tpl->caption), Utf8Text(dialog.m_hWnd));

    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(dialog.m_hWnd, WM_GETFONT, 0, 0)),
                 sizeof font, &font);
    EXPECT_EQ(platform::Cp932ToUtf8(tpl->font_name),
              test_support::Utf8(std::wstring(font.lfFaceName)));
    EXPECT_EQ(-::MulDiv(tpl->point_size, ::GetDeviceCaps(::GetDC(nullptr), LOGPIXELSY), 72),
              font.lfHeight);

    const std::vector<HWND> children = Children(dialog.m_hWnd);
    ASSERT_EQ(tpl->controls.size(), children.size());
    for (std::size_t i = 0; i < children.size(); ++i) {
      const platform::ControlTemplate& c = tpl->controls[i];
      HWND child = children[i];
      SCOPED_TRACE("control " + std::to_string(c.id));
      EXPECT_EQ(static_cast<WORD>(c.id), static_cast<WORD>(::GetDlgCtrlID(child)));
      EXPECT_STRCASEEQ(ClassFor(c.kind), ClassOf(child).c_str());
      // The dialog manager draws a border of a control as its sunken client edge.
      const auto style = static_cast<DWORD>(::GetWindowLongW(child, GWL_STYLE));
      const auto ex_style = static_cast<DWORD>(::GetWindowLongW(child, GWL_EXSTYLE));
      const DWORD wanted = (c.style | WS_CHILD | WS_VISIBLE) & ~WS_BORDER;
      EXPECT_EQ(wanted, style & wanted);
      if ((c.style & WS_BORDER) != 0) {
        EXPECT_TRUE((style & WS_BORDER) != 0 || (ex_style & WS_EX_CLIENTEDGE) != 0);
      }
      // Place and size are converted each on its own, as the dialog manager does.
      RECT place{c.x, c.y, c.cx, c.cy};
      ::MapDialogRect(dialog.m_hWnd, &place);
      const RECT expected{place.left, place.top, place.left + place.right,
                          place.top + place.bottom};
      RECT actual{};
      ::GetWindowRect(child, &actual);
      ::MapWindowPoints(nullptr, dialog.m_hWnd, reinterpret_cast<POINT*>(&actual), 2);
      if (c.kind != platform::WindowKind::StaticIcon) {  // an icon static takes the icon's size
        EXPECT_EQ(expected.left, actual.left);
        EXPECT_EQ(expected.top, actual.top);
        EXPECT_EQ(expected.right, actual.right);
        EXPECT_EQ(expected.bottom, actual.bottom);
      } else {
        EXPECT_NE(nullptr, reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0)))
            << "the icon static shows icon 128";
      }
    }
    dialog.DestroyWindow();
  }
}

// The first tab stop has the focus as Tab would give it: a push button there is the default
// one, which Enter presses.
TEST_F(FrameworkTest, FirstTabStopHasTheFocusAndAButtonThereIsTheDefault) {
  RecordingDialog menu(morvane::IDD_MORVANE_DIALOG);
  ASSERT_TRUE(menu.Create(morvane::IDD_MORVANE_DIALOG));
  EXPECT_EQ(menu.Item(morvane::IDC_CODE_TO_ADDRESS), ::GetFocus());
  EXPECT_TRUE(::SendMessageA(::GetFocus(), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON);
  menu.DestroyWindow();
}

TEST_F(FrameworkTest, Icon128IsARealIconResourceOfTheExecutable) {
  HICON icon = platform::FindIconResource(morvane::IDR_MAINFRAME);
  ASSERT_NE(nullptr, icon);
  ICONINFO info{};
  ASSERT_TRUE(::GetIconInfo(icon, &info));
  BITMAP bitmap{};
  ::GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
  EXPECT_EQ(32, bitmap.bmWidth);
  EXPECT_EQ(32, bitmap.bmHeight);
  ::DeleteObject(info.hbmColor);
  ::DeleteObject(info.hbmMask);
}

// A modal run: the owner is the main window when no parent is named, it is disabled while the
// dialog runs and enabled again afterwards; the result is EndDialog's, -1 without a template.
class OwnerProbe : public CDialog {
 public:
  explicit OwnerProbe(CWnd* parent = nullptr) : CDialog(win32_test::kFormTemplate, parent) {}
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    owner = ::GetWindow(m_hWnd, GW_OWNER);
    owner_enabled = owner != nullptr && ::IsWindowEnabled(owner);
    EndDialog(42);
    return TRUE;
  }
  HWND owner = nullptr;
  bool owner_enabled = true;
};

TEST_F(FrameworkTest, ModalDialogsAreOwnedByTheMainWindowWhichWaitsDisabled) {
  CWinApp app("Morvane test");
  RecordingDialog main(win32_test::kFormTemplate);
  ASSERT_TRUE(main.Create(win32_test::kFormTemplate));
  app.m_pMainWnd = &main;

  OwnerProbe probe;
  EXPECT_EQ(42, probe.DoModal());
  EXPECT_EQ(main.m_hWnd, probe.owner);
  EXPECT_FALSE(probe.owner_enabled) << "the owner waits, disabled";
  EXPECT_TRUE(::IsWindowEnabled(main.m_hWnd)) << "and is enabled again";

  RecordingDialog other(win32_test::kFormTemplate);
  ASSERT_TRUE(other.Create(win32_test::kFormTemplate));
  OwnerProbe named(&other);
  EXPECT_EQ(42, named.DoModal());
  EXPECT_EQ(other.m_hWnd, named.owner) << "a parent named is the owner";

  CDialog missing(4711);
  EXPECT_EQ(-1, missing.DoModal());
  app.m_pMainWnd = nullptr;
}

// The searching popup must be on the screen, painted, when Create returns: the search blocks
// the thread right after.
TEST_F(FrameworkTest, ModelessDialogIsPaintedWhenCreateReturns) {
  CSearchingDlg popup;
  ASSERT_TRUE(popup.Create(morvane::IDD_SEARCHING));
  EXPECT_TRUE(::IsWindowVisible(popup.m_hWnd));
  EXPECT_FALSE(::GetUpdateRect(popup.m_hWnd, nullptr, FALSE)) << "the dialog waits for a paint";
  for (HWND child : Children(popup.m_hWnd)) {
    EXPECT_FALSE(::GetUpdateRect(child, nullptr, FALSE)) << "a control waits for a paint";
  }
  EXPECT_TRUE(::GetWindowLongW(popup.m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
  popup.DestroyWindow();
  EXPECT_EQ(nullptr, popup.m_hWnd);
}

// The map takes what it names; what a handler leaves to the default goes back to the dialog
// manager (WM_CLOSE becomes IDCANCEL), and IDOK and IDCANCEL reach OnOK and OnCancel.
class MappedDialog : public RecordingDialog {
 public:
  MappedDialog() : RecordingDialog(win32_test::kFormTemplate) {}
  int clicks = 0;
  int oks = 0;
  int cancels = 0;
  int closes = 0;

 protected:
  const platform::MessageMap* GetMessageMap() const override {
    static const platform::MessageMap map = {
        platform::OnNotify(BN_CLICKED, 105, &MappedDialog::OnButton),
        platform::OnMessage(WM_CLOSE, &MappedDialog::OnClose),
        platform::OnQueryDragIcon(&MappedDialog::OnQueryDragIcon),
    };
    return &map;
  }
  void OnButton() { ++clicks; }
  void OnClose() {
    ++closes;
    CDialog::OnClose();
  }
  HCURSOR OnQueryDragIcon() { return platform::FindIconResource(morvane::IDR_MAINFRAME); }
  void OnOK() override { ++oks; }
  void OnCancel() override { ++cancels; }
};

TEST_F(FrameworkTest, MessageMapHandlersAndTheDialogManagersDefault) {
  MappedDialog dialog;
  ASSERT_TRUE(dialog.Create(win32_test::kFormTemplate));
  ::SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(105, BN_CLICKED),
                 reinterpret_cast<LPARAM>(dialog.Item(105)));
  ::SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ::SendMessageA(dialog.m_hWnd, WM_CLOSE, 0, 0);
  Pump();  // the dialog manager posts IDCANCEL
  EXPECT_EQ(1, dialog.clicks);
  EXPECT_EQ(1, dialog.oks);
  EXPECT_EQ(1, dialog.closes);
  EXPECT_EQ(1, dialog.cancels) << "the dialog manager turns WM_CLOSE into IDCANCEL";
  EXPECT_EQ(reinterpret_cast<LRESULT>(platform::FindIconResource(morvane::IDR_MAINFRAME)),
            ::SendMessageA(dialog.m_hWnd, WM_QUERYDRAGICON, 0, 0))
      << "answered directly, not through DWLP_MSGRESULT";
  EXPECT_TRUE(::IsWindow(dialog.m_hWnd));
  dialog.DestroyWindow();
}

class ExchangeDialog : public RecordingDialog {
 public:
  ExchangeDialog() : RecordingDialog(win32_test::kFormTemplate) {}
  CString m_strText;

 protected:
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Text(dx, 101, m_strText);
    DDV_MaxChars(dx, m_strText, 4);
  }
};

TEST_F(FrameworkTest, DataExchangeMovesCp932TextAndChecksItsLength) {
  ExchangeDialog dialog;
  ASSERT_TRUE(dialog.Create(win32_test::kFormTemplate));
  HWND edit = dialog.Item(101);
  dialog.m_strText = test_support::Cp932("東京").c_str();
  ASSERT_TRUE(dialog.UpdateData(FALSE));
  EXPECT_EQ("東京", Utf8Text(edit));
  EXPECT_EQ(4, ::SendMessageA(edit, EM_GETLIMITTEXT, 0, 0)) << "loading limits the control";

  dialog.m_strText.Empty();
  ASSERT_TRUE(dialog.UpdateData(TRUE));
  EXPECT_EQ(test_support::Cp932("東京"), dialog.m_strText.Bytes());
  EXPECT_TRUE(backend_.MessageBoxes().empty());

  // Text set by the program is not limited; saving it fails the exchange with the message.
  ::SetWindowTextA(edit, test_support::Cp932("東京都").c_str());
  ::SetFocus(dialog.Item(105));
  EXPECT_FALSE(dialog.UpdateData(TRUE));
  ASSERT_EQ(1u, backend_.MessageBoxes().size());
  EXPECT_EQ("4 文字以内で入力してください。",
            platform::Cp932ToUtf8(backend_.MessageBoxes()[0].text));
  EXPECT_EQ(platform::ApplicationName(), backend_.MessageBoxes()[0].caption);
  EXPECT_EQ(edit, ::GetFocus()) << "the focus goes to the field";
  DWORD start = 1;
  DWORD end = 0;
  ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(0u, start);
  EXPECT_EQ(3u, end) << "its text selected";
  dialog.DestroyWindow();
}

// The command line's list box: no dialog holds it, the rows keep their CP932 bytes.
TEST_F(FrameworkTest, AListBoxWithoutParentKeepsItsRowsBytes) {
  CListBox list;
  ASSERT_TRUE(list.Create(LBS_NOTIFY, RECT{0, 0, 0, 0}, nullptr, 1));
  const std::string row = test_support::Cp932("100-0001  東京都      千代田区");
  EXPECT_EQ(0, list.AddString(row.c_str()));
  EXPECT_EQ(1, list.AddString("x"));
  CString text;
  list.GetText(0, text);
  EXPECT_EQ(row, text.Bytes());
  EXPECT_EQ(static_cast<int>(row.size()), list.GetTextLen(0));
  list.GetText(5, text);
  EXPECT_TRUE(text.IsEmpty());
  EXPECT_EQ(2, list.GetCount());
}

// A visible list filled by a blocking loop paints once the loop runs again: its scroll bar
// then tells all the rows.
TEST_F(FrameworkTest, AListFilledWhileBlockedIsPaintedWhenTheLoopRuns) {
  RecordingDialog dialog(win32_test::kFormTemplate);
  ASSERT_TRUE(dialog.Create(win32_test::kFormTemplate));
  CListBox list;
  CDataExchange dx(&dialog, FALSE);
  DDX_Control(&dx, 104, list);
  for (int i = 0; i < 300; ++i) list.AddString(("row " + std::to_string(i)).c_str());
  list.DeleteString(0);
  list.InsertString(0, "first");
  EXPECT_EQ(300, list.GetCount()) << "the answers never wait";
  Pump();
  SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
  ASSERT_TRUE(::GetScrollInfo(list.m_hWnd, SB_VERT, &info));
  EXPECT_EQ(299, info.nMax);
  EXPECT_TRUE(::IsWindowVisible(list.m_hWnd));
  list.SetCurSel(1);
  ::UpdateWindow(list.m_hWnd);
  RECT row{};
  list.SendMessage(LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
  HDC dc = ::GetDC(list.m_hWnd);
  const COLORREF shown = ::GetPixel(dc, row.right - 4, (row.top + row.bottom) / 2);
  ::ReleaseDC(list.m_hWnd, dc);
  EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), shown) << "a change is painted again";
  dialog.DestroyWindow();
}

// What reaches the system's list box under the deferring subclass.
WNDPROC spied_procedure = nullptr;
int rows_deleted = 0;
LRESULT CALLBACK CountingDeletions(HWND list, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == LB_DELETESTRING) ++rows_deleted;
  return ::CallWindowProcA(spied_procedure, list, message, wparam, lparam);
}

struct ListState {
  std::vector<std::string> rows;
  LRESULT selection, caret, top;
  bool operator==(const ListState&) const = default;
};
ListState StateOf(HWND list) {
  ListState state{{},
                  ::SendMessageA(list, LB_GETCURSEL, 0, 0),
                  ::SendMessageA(list, LB_GETCARETINDEX, 0, 0),
                  ::SendMessageA(list, LB_GETTOPINDEX, 0, 0)};
  char row[64];
  for (LRESULT i = 0; i < ::SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
    ::SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(row));
    state.rows.emplace_back(row);
  }
  return state;
}

// A search into a list that holds the rows of earlier ones: rows appended, then every row
// deleted and its text without quotes inserted at the same index. Rows that come back as they
// were cost the system's list box nothing (it moves every later row for each deletion and
// insertion), and the box answers as a plain one given the same messages: rows, selection,
// caret and top row, wherever those stand.
TEST_F(FrameworkTest, RowsThatACleaningPassLeavesAsTheyWereAreNotMovedInTheBox) {
  struct Case {
    const char* what;
    int selection, caret, top;
  };
  const Case cases[] = {
      {"nothing chosen", -1, 0, 0},
      {"an older row chosen", 50, 50, 0},
      {"the caret on the last row", 20, 99, 0},
      {"scrolled down", 10, 40, 60},
  };
  RecordingDialog form(win32_test::kFormTemplate);
  ASSERT_TRUE(form.Create(win32_test::kFormTemplate));
  HWND box = form.Item(104);
  spied_procedure = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingDeletions)));
  CListBox list;
  CDataExchange dx(&form, FALSE);
  DDX_Control(&dx, 104, list);
  // The same box beside it, plain. It does not paint while it changes, as the deferring one,
  // or the test would take minutes.
  RECT place{};
  ::GetWindowRect(box, &place);
  ::MapWindowPoints(nullptr, form.m_hWnd, reinterpret_cast<POINT*>(&place), 2);
  HWND plain =
      ::CreateWindowExA(0, "LISTBOX", "", static_cast<DWORD>(::GetWindowLongA(box, GWL_STYLE)),
                        place.left, place.top, place.right - place.left, place.bottom - place.top,
                        form.m_hWnd, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(nullptr, plain);
  ::SendMessageA(plain, WM_SETFONT, ::SendMessageA(box, WM_GETFONT, 0, 0), FALSE);
  const HWND lists[] = {box, plain};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ::SendMessageA(plain, WM_SETREDRAW, FALSE, 0);
    for (HWND l : lists) {
      ::SendMessageA(l, LB_RESETCONTENT, 0, 0);
      for (int i = 0; i < 100; ++i) {
        ::SendMessageA(l, LB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(("row " + std::to_string(i)).c_str()));
      }
      Pump();
      ::SendMessageA(l, LB_SETCURSEL, static_cast<WPARAM>(c.selection), 0);
      ::SendMessageA(l, LB_SETCARETINDEX, static_cast<WPARAM>(c.caret), 0);
      ::SendMessageA(l, LB_SETTOPINDEX, static_cast<WPARAM>(c.top), 0);
    }
    rows_deleted = 0;
    for (HWND l : lists) {
      for (int i = 0; i < 40; ++i) {
        ::SendMessageA(l, LB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(("\"new\" " + std::to_string(i)).c_str()));
      }
      char row[64];
      for (WPARAM i = 0; static_cast<LRESULT>(i) < ::SendMessageA(l, LB_GETCOUNT, 0, 0); ++i) {
        ::SendMessageA(l, LB_GETTEXT, i, reinterpret_cast<LPARAM>(row));
        std::string text(row);
        std::erase(text, '"');
        EXPECT_EQ(static_cast<LRESULT>(139), ::SendMessageA(l, LB_DELETESTRING, i, 0));
        ::SendMessageA(l, LB_INSERTSTRING, i, reinterpret_cast<LPARAM>(text.c_str()));
      }
    }
    // The new rows, those down to the top row, the selection and the caret pass on.
    EXPECT_LE(rows_deleted, 40 + c.top + 1 + 2);
    EXPECT_EQ(StateOf(plain), StateOf(box));
    EXPECT_EQ("new 39", StateOf(box).rows.back());
    ::SendMessageA(plain, WM_SETREDRAW, TRUE, 0);
    Pump();
    EXPECT_EQ(StateOf(plain), StateOf(box)) << "once painted";
  }
  form.DestroyWindow();
}

void PutOnClipboard(HWND owner, const std::wstring& text) {
  ASSERT_TRUE(::OpenClipboard(owner));
  ::EmptyClipboard();
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
  std::memcpy(::GlobalLock(memory), text.c_str(), bytes);
  ::GlobalUnlock(memory);
  ::SetClipboardData(CF_UNICODETEXT, memory);
  ::CloseClipboard();
}

// A character without a CP932 form is refused where it enters an edit, typed, from the input
// method or pasted (the whole paste, as on Linux): the program would read it as '?' and search
// for that. Others go in.
TEST_F(FrameworkTest, EditsRefuseCharactersWithoutACp932Form) {
  const struct {
    const char* what;
    UINT message;  // WM_PASTE: the text is on the clipboard
    std::wstring units;
    const char* shown;
  } cases[] = {
      {"typed 𠮷, a surrogate pair", WM_CHAR, L"\xD842\xDFB7", "a"},
      {"typed é", WM_CHAR, L"\xE9", "a"},
      {"typed 野", WM_CHAR, L"\x91CE", "a野"},
      {"😀 from the input method", WM_IME_CHAR, L"\xD83D\xDE00", "a"},
      {"𠮷 as one code point", WM_UNICHAR, L"", "a"},
      {"pasted 𠮷野町😀", WM_PASTE, L"\xD842\xDFB7\x91CE\x753A\xD83D\xDE00", "a"},
      {"pasted 野町", WM_PASTE, L"\x91CE\x753A", "a野町"},
  };
  RecordingDialog form(win32_test::kFormTemplate);
  ASSERT_TRUE(form.Create(win32_test::kFormTemplate));
  HWND edit = form.Item(101);  // the form's edit
  ::SetFocus(edit);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ::SetWindowTextA(edit, "a");
    ::SendMessageW(edit, EM_SETSEL, 1, 1);
    if (c.message == WM_PASTE) {
      PutOnClipboard(form.m_hWnd, c.units);
      ::SendMessageW(edit, WM_PASTE, 0, 0);
    } else if (c.message == WM_UNICHAR) {
      ::SendMessageW(edit, WM_UNICHAR, 0x20BB7, 1);
    } else {
      for (wchar_t unit : c.units) ::SendMessageW(edit, c.message, unit, 1);
    }
    Pump();
    EXPECT_EQ(c.shown, Utf8Text(edit));
    char bytes[64] = {};
    ::GetWindowTextA(edit, bytes, sizeof bytes);
    EXPECT_EQ(test_support::Cp932(c.shown), bytes) << "as the program reads it";
  }
  form.DestroyWindow();
}

TEST(Win32Encoding, ConvertsThroughTheSystemTablesAndMarksBrokenCharacters) {
  const std::string tokyo = "\x93\x8c\x8b\x9e\x93\x73";  // 東京都
  EXPECT_EQ("東京都", platform::Cp932ToUtf8(tokyo));
  EXPECT_EQ(tokyo, platform::Utf8ToCp932("東京都").value());
  EXPECT_EQ("cut\uFFFD", platform::Cp932ToUtf8("cut\x82"));
  EXPECT_EQ(
      "a\uFFFD\x01"
      "b",
      platform::Cp932ToUtf8("a\x82\x01"
                            "b"))
      << "a lead byte without its trail: only the lead is lost";
  EXPECT_EQ(std::string("a\0b", 3), platform::Cp932ToUtf8(std::string("a\0b", 3)));
  EXPECT_FALSE(platform::Utf8ToCp932("é").has_value());
  EXPECT_FALSE(platform::Utf8ToCp932("\xff").has_value()) << "not UTF-8";
  EXPECT_EQ("", platform::Utf8ToCp932("").value());
  EXPECT_EQ(tokyo, platform::LocaleToCp932(tokyo).value()) << "arguments in code page 932";
}

}  // namespace
