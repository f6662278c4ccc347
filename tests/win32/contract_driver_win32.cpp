// The control contracts on the real controls: the form is a dialog of platform/win32 built
// from its template by the system's dialog manager, the list box and the edits are user32's
// own. A person's actions are the messages the window system gives a control for them (keys,
// buttons, characters, Ctrl+V as WM_PASTE), sent to the control that has the focus; what a
// person sees is read from the control in UTF-16, as it draws it.
#include <cstring>
#include <memory>
#include <string>

#include "contract_driver.h"
#include "platform/encoding.h"
#include "test_form.h"
#include "test_support.h"

namespace contract {
namespace {

using test_support::Utf8;
using test_support::Wide;

// Mouse messages carry the point in the control's client coordinates.
LPARAM PointOf(HWND list, int row) {
  RECT item{};
  ::SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return MAKELPARAM(item.left + 4, (item.top + item.bottom) / 2);
}

class Win32Driver final : public Driver {
 public:
  Win32Driver() {
    win32_test::RegisterFormTemplate();
    if (!form_.Create(win32_test::kFormTemplate)) return;
    // The program's lists are attached as data exchange attaches them.
    CDataExchange dx(&form_, FALSE);
    DDX_Control(&dx, kList, list_);
    win32_test::Pump();
    made_ = true;
  }
  ~Win32Driver() override {
    if (::IsWindow(form_.m_hWnd)) form_.DestroyWindow();
    win32_test::Pump();
  }
  bool Made() const { return made_; }

  LRESULT Send(int control, UINT message, WPARAM wparam, LPARAM lparam) override {
    const LRESULT result = ::SendMessageA(form_.Item(control), message, wparam, lparam);
    win32_test::Pump();
    return result;
  }

  void PressKey(int control, UINT vk) override {
    HWND window = FocusOn(control);
    ::SendMessageW(window, WM_KEYDOWN, vk, 1);
    if (vk == VK_SPACE) ::SendMessageW(window, WM_CHAR, L' ', 1);
    ::SendMessageW(window, WM_KEYUP, vk, 0xC0000001);
    win32_test::Pump();
  }
  void PressRow(int list, int row) override {
    HWND window = FocusOn(list);
    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, PointOf(window, row));
    win32_test::Pump();
    pressed_at_ = PointOf(window, row);
  }
  void ReleaseButton(int list) override {
    ::SendMessageW(form_.Item(list), WM_LBUTTONUP, 0, pressed_at_);
    win32_test::Pump();
  }
  void DoubleClickRow(int list, int row) override {
    HWND window = FocusOn(list);
    const LPARAM at = PointOf(window, row);
    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(window, WM_LBUTTONUP, 0, at);
    ::SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    ::SendMessageW(window, WM_LBUTTONUP, 0, at);
    win32_test::Pump();
  }
  void Focus(int edit) override {
    HWND window = FocusOn(edit);
    const LRESULT length = ::GetWindowTextLengthW(window);
    ::SendMessageW(window, EM_SETSEL, static_cast<WPARAM>(length), length);
    win32_test::Pump();
  }
  void Type(int edit, const std::string& ascii) override {
    HWND window = FocusOn(edit);
    for (char ch : ascii) ::SendMessageA(window, WM_CHAR, static_cast<unsigned char>(ch), 1);
    win32_test::Pump();
  }
  // An input method's result arrives as WM_IME_CHAR, one character each, which the control's
  // default processing turns into its characters.
  void Commit(int edit, const std::string& utf8) override {
    HWND window = FocusOn(edit);
    for (wchar_t ch : Wide(utf8)) ::SendMessageW(window, WM_IME_CHAR, ch, 1);
    win32_test::Pump();
  }
  void Paste(int edit, const std::string& utf8) override {
    SetClipboard(utf8);
    HWND window = FocusOn(edit);
    ::SendMessageW(window, WM_PASTE, 0, 0);
    win32_test::Pump();
  }

  std::vector<std::string> Rows(int list) override {
    HWND window = form_.Item(list);
    std::vector<std::string> rows;
    const LRESULT count = ::SendMessageW(window, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      std::wstring row(static_cast<std::size_t>(::SendMessageW(window, LB_GETTEXTLEN, i, 0)) + 1,
                       L'\0');
      const LRESULT length =
          ::SendMessageW(window, LB_GETTEXT, i, reinterpret_cast<LPARAM>(row.data()));
      row.resize(static_cast<std::size_t>(length < 0 ? 0 : length));
      rows.push_back(Utf8(row));
    }
    return rows;
  }
  int SelectedRow(int list) override {
    return static_cast<int>(::SendMessageW(form_.Item(list), LB_GETCURSEL, 0, 0));
  }
  int CaretRow(int list) override {
    return static_cast<int>(::SendMessageW(form_.Item(list), LB_GETCARETINDEX, 0, 0));
  }
  int TopRow(int list) override {
    return static_cast<int>(::SendMessageW(form_.Item(list), LB_GETTOPINDEX, 0, 0));
  }
  int FullyVisibleRows(int list) override {
    HWND window = form_.Item(list);
    RECT client{};
    ::GetClientRect(window, &client);
    const auto height = static_cast<LONG>(::SendMessageW(window, LB_GETITEMHEIGHT, 0, 0));
    return height > 0 ? static_cast<int>((client.bottom - client.top) / height) : 0;
  }
  // Offsets in the UTF-16 text the control holds, turned into offsets in its UTF-8 form.
  EditView ShownEdit(int edit) override {
    HWND window = form_.Item(edit);
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageW(window, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    EditView view;
    view.text = Utf8(text);
    view.start = Utf8(text.substr(0, start)).size();
    view.end = Utf8(text.substr(0, end)).size();
    return view;
  }
  std::string Clipboard() override {
    std::string text;
    if (!::OpenClipboard(form_.m_hWnd)) return text;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
      if (const auto* wide = static_cast<const wchar_t*>(::GlobalLock(data))) {
        text = Utf8(wide);
        ::GlobalUnlock(data);
      }
    }
    ::CloseClipboard();
    return text;
  }

  std::vector<Note> Notes() override { return form_.notes; }
  void ClearNotes() override { form_.notes.clear(); }

  // The system converts a broken character of code page 932 into that code page's default
  // character, KATAKANA MIDDLE DOT; the core and Qt show U+FFFD instead.
  std::string BrokenCharacterShownAs() const override { return "\u30FB"; }

  // Where Wine (8.0) is not Windows; Wine's own behaviour, nothing for this project to copy.
  // Its list box sends LBN_SELCHANGE again for a navigation key whose target is the row
  // already selected (it notifies after every caret move that selects, changed or not);
  // Space goes another way and sends nothing, as on Windows.
  bool RenotifiesKeyOnSelectedRow(UINT vk) const override { return IsWine() && vk != VK_SPACE; }
  // Its edit sends EN_UPDATE and EN_CHANGE after EN_MAXTEXT although the key was refused.
  bool NotifiesChangeOnRefusedKey() const override { return IsWine(); }
  // Its edit keeps UTF-16 also in a window of code page 932, where Windows keeps the
  // code-page text: the limit counts UTF-16 units (東京都 is 3, not 6) and a character without
  // a CP932 form is kept (the program then reads a best-fit or '?').
  std::string EditKeepsUtf16() const override {
    return IsWine() ? "Wine's edit control keeps UTF-16 and counts its limit in UTF-16 units"
                    : std::string();
  }

 private:
  static bool IsWine() {
    HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }

  // A person's click or Tab puts the focus on the control first.
  HWND FocusOn(int control) {
    HWND window = form_.Item(control);
    if (::GetFocus() != window) ::SetFocus(window);
    return window;
  }

  void SetClipboard(const std::string& utf8) {
    const std::wstring wide = Wide(utf8);
    if (!::OpenClipboard(form_.m_hWnd)) return;
    ::EmptyClipboard();
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes)) {
      if (void* data = ::GlobalLock(memory)) {
        std::memcpy(data, wide.c_str(), bytes);
        ::GlobalUnlock(memory);
        if (::SetClipboardData(CF_UNICODETEXT, memory) == nullptr) ::GlobalFree(memory);
      }
    }
    ::CloseClipboard();
  }

  win32_test::RecordingDialog form_{win32_test::kFormTemplate};
  CListBox list_;
  LPARAM pressed_at_ = 0;
  bool made_ = false;
};

std::unique_ptr<Driver> MakeWin32Driver() {
  auto driver = std::make_unique<Win32Driver>();
  if (!driver->Made()) return nullptr;
  return driver;
}

}  // namespace

const Backend kWin32{"Win32", [] { return MakeWin32Driver(); }};
INSTANTIATE_TEST_SUITE_P(Win32, ListBoxContract, ::testing::Values(&kWin32), BackendName);
INSTANTIATE_TEST_SUITE_P(Win32, EditContract, ::testing::Values(&kWin32), BackendName);

}  // namespace contract
