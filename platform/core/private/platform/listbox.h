// The single-selection, unsorted list box of the classic window system. Rows are CP932 bytes.
#pragma once

#include <optional>
#include <string_view>

#include "platform/row_store.h"
#include "platform/window.h"

namespace platform {

class ListBoxWindow final : public Window {
 public:
  ListBoxWindow(int id, DWORD style, DWORD ex_style, RECT rect, Window* parent);

  LRESULT DefaultProcedure(UINT message, WPARAM wparam, LPARAM lparam) override;

  // Read access for views and tests.
  int Count() const;
  // Valid until the box next changes.
  std::string_view Row(int index) const;
  int Selection() const { return selection_; }
  // The row of the focus rectangle: row 0 until a row is selected, then the selected row.
  // 0 in an empty box.
  int Caret() const;
  // The first row the box shows, as it scrolls a selected row into view.
  int TopIndex() const { return top_; }
  // Rows that fit whole in the box: what the view measures, else an estimate from the
  // template rectangle (a row of the dialog font is 8 dialog units high).
  int FullyVisibleRows() const;

  // A person's keys and mouse, as the classic single-selection box with LBS_NOTIFY answers
  // them. A key (VK_ code) selects its target row, scrolls it into view and sends
  // LBN_SELCHANGE, unless the target is the row already selected. The left button selects
  // the row it is pressed on; its release inside the box sends LBN_SELCHANGE even when that
  // row was selected before. A double click sends LBN_DBLCLK. With LBS_WANTKEYBOARDINPUT the
  // owner is asked first (WM_VKEYTOITEM, any key): -2 leaves the key to it, a row number moves
  // there instead, -1 lets the key do what it does.
  void UserKey(UINT vk);
  void UserPress(int index);
  void UserRelease(bool inside);
  void UserDoubleClick(int index);

 private:
  // The row a key moves to, before clamping; nothing for a key the box does not answer.
  std::optional<int> KeyTarget(UINT vk) const;
  LRESULT AddString(const char* text);
  LRESULT InsertString(WPARAM index, const char* text);
  LRESULT DeleteString(WPARAM index);
  LRESULT GetText(WPARAM index, char* buffer) const;
  LRESULT GetTextLength(WPARAM index) const;
  LRESULT SetSelection(WPARAM index);
  void ResetContent();
  void SetSelectionTo(int index);
  void ScrollIntoView(int index);
  void Notify(WORD code);
  // Completes a deletion whose slot was kept for a re-insert at the same index.
  void FillHole() const;

  // Mutable so that read-only queries can settle a pending deletion first.
  mutable RowStore rows_;
  mutable int hole_ = -1;
  int selection_ = -1;
  int caret_ = 0;
  int top_ = 0;
  bool pressed_ = false;  // the button went down on a row: its release notifies
};

}  // namespace platform
