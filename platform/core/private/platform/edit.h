// The single-line edit control of the classic window system. The text and its limit are in
// CP932 bytes.
#pragma once

#include "platform/window.h"

namespace platform {

class EditWindow final : public Window {
 public:
  static constexpr int kDefaultLimit = 30000;
  static constexpr int kLargestLimit = 0x7FFFFFFE;

  EditWindow(int id, std::string text, DWORD style, DWORD ex_style, RECT rect, Window* parent);

  LRESULT DefaultProcedure(UINT message, WPARAM wparam, LPARAM lparam) override;

  int Limit() const { return limit_; }
  int SelectionStart() const { return sel_start_; }
  int SelectionEnd() const { return sel_end_; }
  // How often the caret was scrolled into view; the backends scroll, tests count.
  int CaretScrolls() const { return caret_scrolls_; }

  // A person types or pastes CP932 text over the selection. Text over the limit is cut at a
  // character boundary and EN_MAXTEXT is sent; EN_UPDATE and EN_CHANGE follow any change.
  // Returns the number of bytes taken.
  int UserInsert(const std::string& cp932);
  // A person's edit that replaced the whole text (a backend that edits in its own widget);
  // the limit applies the same way.
  void UserReplaceAll(const std::string& cp932);
  // A person moves the caret or selection.
  void UserSelect(int start, int end);

 private:
  int ReplaceSelection(const std::string& cp932, bool limited);
  void SetSelection(int start, int end);
  void CopyToClipboard() const;

  int limit_ = kDefaultLimit;
  int sel_start_ = 0;
  int sel_end_ = 0;
  int caret_scrolls_ = 0;
};

// The longest prefix of text, at most max_bytes long, that does not cut a double-byte
// character in half.
std::size_t Cp932Prefix(const std::string& text, std::size_t max_bytes);

}  // namespace platform
