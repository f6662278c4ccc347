// The control contracts: cases that hold every backend's list box and edit control to the
// classic behaviour. The cases (listbox_contract.cpp, edit_contract.cpp) talk only to the
// Driver below and use nothing but the classic message constants, so the very same files
// compile against this project's core, its Qt backend, and the real user32 controls.
//
// Adding a backend:
//  1. Implement Driver for it. A driver builds "the form" (below) when it is made and
//     destroys it when it is destroyed; every test gets a fresh driver.
//  2. Answer as a person sees the screen: Rows/SelectedRow/CaretRow/ShownEdit read what is
//     drawn (the widget, the real control), not the state a message would report, so a
//     backend that draws something else than it answers fails.
//  3. Record the parent's WM_COMMAND notifications (control id, code) in the order they
//     come; Notes() returns them.
//  4. Where the backend is known to differ from the classic window system, and the
//     difference is the backend's own and not something to fix here, override the matching
//     query below (e.g. RenotifiesKeyOnSelectedRow) and say why next to it. Never weaken a
//     case for one backend.
//  5. Instantiate the suites in the backend's test program, inside namespace contract (the
//     macros paste the suite's name into identifiers), e.g.
//       namespace contract {
//       const Backend kWin32{"Win32", [] { return MakeWin32Driver(); }};
//       INSTANTIATE_TEST_SUITE_P(Win32, ListBoxContract, ::testing::Values(&kWin32),
//                                BackendName);
//       INSTANTIATE_TEST_SUITE_P(Win32, EditContract, ::testing::Values(&kWin32), BackendName);
//       }
//     and link that program with the target morvane_contract (the cases, and the form as a
//     dialog in contract_form.h). The tests are then named Win32/ListBoxContract.<case>/Win32.
//
// The form: a dialog in "ＭＳ ゴシック" 9 pt, 200 x 120 dialog units, holding
//   kEdit       edit      ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP            10, 10, 80 x 14
//   kRightEdit  edit      the same | ES_RIGHT                                10, 30, 80 x 14
//   kList       list box  LBS_NOTIFY | LBS_DISABLENOSCROLL | LBS_NOINTEGRALHEIGHT | WS_VSCROLL
//                         | WS_BORDER | WS_TABSTOP (single selection, unsorted) 10, 50, 180 x 40
//   and two push buttons, ids 105 and 106, at 10, 95 and 70, 95, 50 x 14.
// Its dialog procedure does nothing with the notifications but record them.
//
// Text: the programs speak CP932 to the controls (LB_ADDSTRING, WM_SETTEXT, ... take CP932
// bytes, as SendMessageA does under code page 932); what a person sees is returned in UTF-8.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include "platform/wintypes.h"
#endif

#include <gtest/gtest.h>

#include "test_support.h"

namespace contract {

// Control ids of the form.
inline constexpr int kEdit = 101;
inline constexpr int kRightEdit = 102;
inline constexpr int kList = 104;

// A notification the form's parent got: (control id, notification code).
using Note = std::pair<int, WORD>;

// What a person sees of an edit: its text, and the selection as offsets in bytes of that
// text (start == end: no selection, the caret there).
struct EditView {
  std::string text;  // UTF-8
  std::size_t start = 0;
  std::size_t end = 0;
};

class Driver {
 public:
  virtual ~Driver() = default;

  // The program's side: a message sent to a control of the form, as SendMessageA sends it.
  virtual LRESULT Send(int control, UINT message, WPARAM wparam, LPARAM lparam) = 0;

  // A person's side. Each action that needs the focus gives it to the control first, as a
  // person's click or Tab would.
  // A key (a VK_ code) pressed and released with the focus in the control.
  virtual void PressKey(int control, UINT vk) = 0;
  // The left button pressed on a row of a list box, and released (inside the list).
  virtual void PressRow(int list, int row) = 0;
  virtual void ReleaseButton(int list) = 0;
  void ClickRow(int list, int row) {
    PressRow(list, row);
    ReleaseButton(list);
  }
  virtual void DoubleClickRow(int list, int row) = 0;
  // A click into an edit, at the end of its text.
  virtual void Focus(int edit) = 0;
  // Keys typed one at a time (ASCII letters and digits).
  virtual void Type(int edit, const std::string& ascii) = 0;
  // What an input method commits at once, in UTF-8 (may hold characters CP932 lacks).
  virtual void Commit(int edit, const std::string& utf8) = 0;
  // Text put on the system clipboard by another program, then Ctrl+V.
  virtual void Paste(int edit, const std::string& utf8) = 0;

  // What a person sees.
  virtual std::vector<std::string> Rows(int list) = 0;  // UTF-8
  virtual int SelectedRow(int list) = 0;                // -1: none shown
  virtual int CaretRow(int list) = 0;                   // the focus rectangle's row
  virtual int TopRow(int list) = 0;                     // the first row shown, even in part
  virtual int FullyVisibleRows(int list) = 0;
  virtual EditView ShownEdit(int edit) = 0;
  // The text another program would paste now (UTF-8).
  virtual std::string Clipboard() = 0;

  // The notifications the parent got since the form was made or ClearNotes.
  virtual std::vector<Note> Notes() = 0;
  virtual void ClearNotes() = 0;

  // UTF-8 to the CP932 bytes that the programs send.
  static std::string Cp932(const std::string& utf8) { return test_support::Cp932(utf8); }

  // How a row shows a double-byte character cut in half (UTF-8).
  virtual std::string BrokenCharacterShownAs() const { return "\uFFFD"; }

  // Recorded differences from the classic window system, each the backend's own.
  // This key (a VK_ code), landing on the row already selected, sends LBN_SELCHANGE again.
  virtual bool RenotifiesKeyOnSelectedRow(UINT /*vk*/) const { return false; }
  // A keystroke refused at the limit (EN_MAXTEXT) also sends EN_UPDATE and EN_CHANGE, though
  // nothing changed.
  virtual bool NotifiesChangeOnRefusedKey() const { return false; }
  // Why the edit cannot keep code-page text with a limit in bytes (it keeps UTF-16, whatever
  // the window's code page); empty when it can. The cases that need it are skipped with it.
  virtual std::string EditKeepsUtf16() const { return {}; }
};

struct Backend {
  const char* name;
  std::unique_ptr<Driver> (*make)();
};

inline std::string BackendName(const ::testing::TestParamInfo<const Backend*>& info) {
  return info.param->name;
}

// The fixture of both suites: a fresh driver, and so a fresh form, for every test.
class ContractTest : public ::testing::TestWithParam<const Backend*> {
 protected:
  void SetUp() override {
    driver_ = GetParam()->make();
    ASSERT_NE(nullptr, driver_) << "the backend could not build the form";
  }
  void TearDown() override { driver_.reset(); }

  Driver& D() { return *driver_; }
  int CountNotes(int control, WORD code) {
    int count = 0;
    for (const Note& note : driver_->Notes()) count += note == Note{control, code} ? 1 : 0;
    return count;
  }

  std::unique_ptr<Driver> driver_;
};

class ListBoxContract : public ContractTest {};
class EditContract : public ContractTest {};

}  // namespace contract
