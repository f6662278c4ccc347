#include "platform/user_input.h"

#include <utility>

#include "platform/dialogwindow.h"
#include "platform/edit.h"
#include "platform/listbox.h"

namespace platform::user {
namespace {

// Ctrl, while the key pressed with it is being handled.
bool control_held = false;

// A person can reach a window only when it and its dialog are shown and enabled: a dialog
// under a modal one is disabled, and so is everything in it.
bool Reachable(HWND window) {
  if (!IsWindow(window) || !window->IsVisible() || !window->IsEnabled()) return false;
  Window* top = window->TopLevel();
  return top->IsVisible() && top->IsEnabled();
}

DialogWindow* DialogOf(HWND window) {
  Window* top = window->TopLevel();
  return top->Kind() == WindowKind::Dialog ? static_cast<DialogWindow*>(top) : nullptr;
}

bool IsPushButton(const Window* window) {
  return window->Kind() == WindowKind::PushButton;
}

void Command(HWND dialog, int id, HWND control) {
  dialog->Dispatch(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                   reinterpret_cast<LPARAM>(control));
}

}  // namespace

void Focus(HWND control) {
  if (!Reachable(control)) return;
  ::SetFocus(control);
}

void Click(HWND control) {
  if (!Reachable(control)) return;
  switch (control->Kind()) {
    case WindowKind::PushButton:
      ::SetFocus(control);
      if (IsWindow(control)) control->NotifyParent(BN_CLICKED);
      break;
    case WindowKind::Edit:
    case WindowKind::ListBox:
      ::SetFocus(control);
      break;
    default:
      break;
  }
}

void Type(HWND edit, const std::string& cp932) {
  if (!Reachable(edit) || edit->Kind() != WindowKind::Edit) return;
  ::SetFocus(edit);
  if (IsWindow(edit)) static_cast<EditWindow*>(edit)->UserInsert(cp932);
}

void ReplaceText(HWND edit, const std::string& cp932) {
  if (!Reachable(edit) || edit->Kind() != WindowKind::Edit) return;
  static_cast<EditWindow*>(edit)->UserReplaceAll(cp932);
}

void EditRange(HWND edit, int start, int end, const std::string& cp932) {
  if (!Reachable(edit) || edit->Kind() != WindowKind::Edit || (edit->Style() & ES_READONLY) != 0) {
    return;
  }
  auto* box = static_cast<EditWindow*>(edit);
  box->UserSelect(start, end);
  box->UserInsert(cp932);
}

namespace {

// The list box a person acts on, with the focus given to it; nullptr when it cannot be
// reached or lost the window while taking the focus.
ListBoxWindow* FocusedList(HWND list) {
  if (!Reachable(list) || list->Kind() != WindowKind::ListBox) return nullptr;
  ::SetFocus(list);
  return IsWindow(list) ? static_cast<ListBoxWindow*>(list) : nullptr;
}

}  // namespace

void ListPress(HWND list, int index) {
  if (ListBoxWindow* box = FocusedList(list)) box->UserPress(index);
}

void ListRelease(HWND list, bool inside) {
  if (!IsWindow(list) || list->Kind() != WindowKind::ListBox) return;
  static_cast<ListBoxWindow*>(list)->UserRelease(inside && Reachable(list));
}

void ListDoubleClick(HWND list, int index) {
  if (ListBoxWindow* box = FocusedList(list)) box->UserDoubleClick(index);
}

void SelectRow(HWND list, int index) {
  ListPress(list, index);
  ListRelease(list);
}

void ListKey(HWND list, UINT vk, bool with_control) {
  ListBoxWindow* box = FocusedList(list);
  if (box == nullptr) return;
  const bool outer = std::exchange(control_held, with_control);
  box->UserKey(vk);
  control_held = outer;
}

void Tab(HWND dialog, bool backwards) {
  if (!Reachable(dialog)) return;
  DialogWindow* owner = DialogOf(dialog);
  if (owner == nullptr) return;
  std::vector<Window*> stops;
  for (Window* child : owner->Children()) {
    if ((child->Style() & WS_TABSTOP) != 0 && child->IsVisible() && child->IsEnabled()) {
      stops.push_back(child);
    }
  }
  if (stops.empty()) return;
  const auto count = static_cast<int>(stops.size());
  int current = -1;
  for (int i = 0; i < count; ++i) {
    if (stops[static_cast<std::size_t>(i)] == owner->Focus()) current = i;
  }
  int next = 0;
  if (current < 0) {
    next = backwards ? count - 1 : 0;
  } else {
    next = (current + (backwards ? count - 1 : 1)) % count;
  }
  Window* target = stops[static_cast<std::size_t>(next)];
  // The dialog manager selects an edit's whole text when Tab brings the focus to it.
  if (target->Kind() == WindowKind::Edit) target->Dispatch(EM_SETSEL, 0, -1);
  ::SetFocus(target);
}

void Enter(HWND dialog) {
  if (!Reachable(dialog)) return;
  DialogWindow* owner = DialogOf(dialog);
  if (owner == nullptr) return;
  if (Window* focus = owner->Focus(); focus != nullptr && IsPushButton(focus)) {
    Click(focus);
    return;
  }
  for (Window* child : owner->Children()) {
    if (IsPushButton(child) && (child->Style() & 0xF) == BS_DEFPUSHBUTTON) {
      if (child->IsEnabled()) Command(owner, child->Id(), child);
      return;
    }
  }
  Command(owner, IDOK, owner->Child(IDOK));
}

void Space(HWND dialog) {
  if (!Reachable(dialog)) return;
  DialogWindow* owner = DialogOf(dialog);
  if (owner == nullptr) return;
  Window* focus = owner->Focus();
  if (focus == nullptr) return;
  if (IsPushButton(focus)) {
    Click(focus);
  } else if (focus->Kind() == WindowKind::ListBox) {
    ListKey(focus, VK_SPACE);
  }
}

void Escape(HWND dialog) {
  if (!Reachable(dialog)) return;
  if (DialogWindow* owner = DialogOf(dialog)) Command(owner, IDCANCEL, owner->Child(IDCANCEL));
}

void CloseBox(HWND dialog) {
  if (!Reachable(dialog) || (dialog->Style() & WS_SYSMENU) == 0) return;
  dialog->Dispatch(WM_SYSCOMMAND, SC_CLOSE, 0);
}

void AltF4(HWND dialog) {
  if (!Reachable(dialog)) return;
  dialog->Dispatch(WM_SYSCOMMAND, SC_CLOSE, 0);
}

void SystemCommand(HWND dialog, UINT command) {
  if (!Reachable(dialog)) return;
  dialog->Dispatch(WM_SYSCOMMAND, command, 0);
}

}  // namespace platform::user

SHORT GetKeyState(int vk) {
  const bool held = vk == VK_CONTROL && platform::user::control_held;
  return static_cast<SHORT>(held ? 0x8000 : 0);
}
