// The single-selection, unsorted list box of the classic window system. Rows are CP932 bytes.
#pragma once

#include "platform/window.h"

namespace platform {

class ListBoxWindow final : public Window {
 public:
  ListBoxWindow(int id, DWORD style, DWORD ex_style, RECT rect, Window* parent);

  LRESULT DefaultProcedure(UINT message, WPARAM wparam, LPARAM lparam) override;

  // Read access for views and tests.
  int Count() const;
  const std::string& Row(int index) const;
  int Selection() const { return selection_; }

  // A person moves the selection (mouse or keyboard); sends LBN_SELCHANGE when it changed
  // and the box has LBS_NOTIFY.
  void UserSelect(int index);

 private:
  LRESULT AddString(const char* text);
  LRESULT InsertString(WPARAM index, const char* text);
  LRESULT DeleteString(WPARAM index);
  LRESULT GetText(WPARAM index, char* buffer) const;
  LRESULT GetTextLength(WPARAM index) const;
  LRESULT SetSelection(WPARAM index);
  void ResetContent();
  void SetSelectionTo(int index);
  // Completes a deletion whose slot was kept for a re-insert at the same index.
  void FillHole() const;

  // Mutable so that read-only queries can settle a pending deletion first.
  mutable std::vector<std::string> rows_;
  mutable int hole_ = -1;
  int selection_ = -1;
};

}  // namespace platform
