#include "platform/edit.h"

#include <algorithm>

#include "platform/clipboard.h"
#include "platform/encoding.h"

namespace platform {

std::size_t Cp932Prefix(const std::string& text, std::size_t max_bytes) {
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t width =
        IsCp932LeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size() ? 2 : 1;
    if (end + width > max_bytes) break;
    end += width;
  }
  return end;
}

EditWindow::EditWindow(int id, std::string text, DWORD style, DWORD ex_style, RECT rect,
                       Window* parent)
    : Window(WindowKind::Edit, id, std::move(text), style, ex_style, rect, parent) {}

LRESULT EditWindow::DefaultProcedure(UINT message, WPARAM wparam, LPARAM lparam) {
  const int length = static_cast<int>(Text().size());
  switch (message) {
    case WM_SETTEXT: {
      // Not limited: data exchange may put any text in.
      StoreText(lparam != 0 ? reinterpret_cast<const char*>(lparam) : "");
      SetSelection(0, 0);
      NotifyParent(EN_UPDATE);
      NotifyParent(EN_CHANGE);
      return TRUE;
    }
    case EM_LIMITTEXT:
      limit_ =
          wparam == 0 ? kLargestLimit : static_cast<int>(std::min<WPARAM>(wparam, kLargestLimit));
      return 0;
    case EM_GETLIMITTEXT:
      return limit_;
    case EM_SETSEL: {
      const auto start = static_cast<std::intptr_t>(wparam);
      if (start == -1) {  // no selection; the caret stays where it is
        SetSelection(sel_end_, sel_end_);
        return 0;
      }
      const auto clamp = [length](std::intptr_t v) {
        return v < 0 || v > length ? length : static_cast<int>(v);
      };
      SetSelection(clamp(start), clamp(lparam));
      return 0;
    }
    case EM_GETSEL: {
      if (wparam != 0) *reinterpret_cast<DWORD*>(wparam) = static_cast<DWORD>(sel_start_);
      if (lparam != 0) *reinterpret_cast<DWORD*>(lparam) = static_cast<DWORD>(sel_end_);
      return static_cast<LRESULT>(
          MAKEWPARAM(static_cast<WORD>(sel_start_), static_cast<WORD>(sel_end_)));
    }
    case EM_SCROLLCARET:
      ++caret_scrolls_;
      ChangedState();
      return TRUE;
    case EM_REPLACESEL:
      ReplaceSelection(lparam != 0 ? reinterpret_cast<const char*>(lparam) : "", true);
      return 0;
    case WM_COPY:
      CopyToClipboard();
      return 0;
    case WM_PASTE:
      ReplaceSelection(ClipboardText().c_str(), true);
      return 0;
    default:
      return Window::DefaultProcedure(message, wparam, lparam);
  }
}

void EditWindow::SetSelection(int start, int end) {
  if (start > end) std::swap(start, end);
  if (start == sel_start_ && end == sel_end_) return;
  sel_start_ = start;
  sel_end_ = end;
  if (View() != nullptr) View()->SelectionChanged();
}

void EditWindow::CopyToClipboard() const {
  if (sel_start_ == sel_end_) return;
  SetClipboardText(Text().substr(static_cast<std::size_t>(sel_start_),
                                 static_cast<std::size_t>(sel_end_ - sel_start_)));
}

int EditWindow::ReplaceSelection(const std::string& cp932, bool limited) {
  const std::string& text = Text();
  const std::size_t kept = text.size() - static_cast<std::size_t>(sel_end_ - sel_start_);
  std::string insert = cp932;
  bool cut = false;
  if (limited) {
    const std::size_t room =
        kept >= static_cast<std::size_t>(limit_) ? 0 : static_cast<std::size_t>(limit_) - kept;
    if (insert.size() > room) {
      insert.resize(Cp932Prefix(insert, room));
      cut = true;
    }
  }
  if (!insert.empty() || sel_start_ != sel_end_) {
    std::string updated = text.substr(0, static_cast<std::size_t>(sel_start_)) + insert +
                          text.substr(static_cast<std::size_t>(sel_end_));
    const int caret = sel_start_ + static_cast<int>(insert.size());
    StoreText(std::move(updated));
    SetSelection(caret, caret);
    NotifyParent(EN_UPDATE);
    NotifyParent(EN_CHANGE);
  }
  if (cut) NotifyParent(EN_MAXTEXT);
  return static_cast<int>(insert.size());
}

int EditWindow::UserInsert(const std::string& cp932) {
  return ReplaceSelection(cp932, true);
}

void EditWindow::UserReplaceAll(const std::string& cp932) {
  if (cp932 == Text()) return;
  SetSelection(0, static_cast<int>(Text().size()));
  ReplaceSelection(cp932, true);
}

void EditWindow::UserSelect(int start, int end) {
  const int length = static_cast<int>(Text().size());
  SetSelection(std::clamp(start, 0, length), std::clamp(end, 0, length));
}

}  // namespace platform
