#include "platform/window.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "platform/backend.h"
#include "platform/cwnd.h"
#include "platform/dialogwindow.h"
#include "platform/edit.h"
#include "platform/ime.h"
#include "platform/listbox.h"

namespace platform {
namespace {

// Every live window, owned here from creation to DestroyWindow. A handle that is not in this
// table is not a window, so a stale handle is refused instead of being followed.
std::unordered_map<Window*, std::unique_ptr<Window>>& LiveWindows() {
  static std::unordered_map<Window*, std::unique_ptr<Window>> windows;
  return windows;
}

// The window found live most recently: a search sends thousands of messages to one list box,
// and this spares each of them the table lookup. Cleared whenever a window goes.
Window* g_last_live = nullptr;

// Windows without a parent, oldest first.
std::vector<Window*>& TopLevels() {
  static std::vector<Window*> windows;
  return windows;
}

}  // namespace

Window::Window(WindowKind kind, int id, std::string text, DWORD style, DWORD ex_style, RECT rect,
               Window* parent)
    : kind_(kind),
      id_(id),
      text_(std::move(text)),
      style_(style),
      ex_style_(ex_style),
      rect_(rect),
      parent_(parent),
      enabled_((style & WS_DISABLED) == 0),
      visible_((style & WS_VISIBLE) != 0) {
  if (parent_ != nullptr) parent_->children_.push_back(this);
}

Window::~Window() {
  if (parent_ != nullptr) std::erase(parent_->children_, this);
}

void Window::SetImage(HICON image) {
  image_ = image;
  ChangedState();
}

Window* Window::TopLevel() {
  Window* window = this;
  while (window->parent_ != nullptr) window = window->parent_;
  return window;
}

Window* Window::Child(int id) const {
  for (Window* child : children_) {
    if (child->Id() == id) return child;
  }
  return nullptr;
}

void Window::SetRect(const RECT& rect) {
  rect_ = rect;
  ChangedState();
}

void Window::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  ChangedState();
}

void Window::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  if (visible) {
    style_ |= WS_VISIBLE;
  } else {
    style_ &= ~WS_VISIBLE;
  }
  ChangedState();
}

void Window::SetStyle(DWORD style, DWORD ex_style) {
  style_ = style;
  ex_style_ = ex_style;
  ChangedState();
}

void Window::StoreText(std::string text) {
  text_ = std::move(text);
  if (view_ != nullptr) view_->TextChanged();
}

void Window::ChangedState() {
  if (view_ != nullptr) view_->StateChanged();
}

LRESULT Window::Dispatch(UINT message, WPARAM wparam, LPARAM lparam) {
  if (handler_ != nullptr) {
    bool to_default = false;  // the core's dialogs never hand a message back
    return handler_->HandleSystemMessage(message, wparam, lparam, to_default);
  }
  return DefaultProcedure(message, wparam, lparam);
}

LRESULT Window::DefaultProcedure(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SETTEXT:
      StoreText(lparam != 0 ? reinterpret_cast<const char*>(lparam) : "");
      return TRUE;
    case WM_GETTEXT: {
      // wparam is the buffer's size including the NUL.
      if (wparam == 0 || lparam == 0) return 0;
      const std::size_t n = std::min<std::size_t>(std::strlen(text_.c_str()), wparam - 1);
      auto* buffer = reinterpret_cast<char*>(lparam);
      std::memcpy(buffer, text_.data(), n);
      buffer[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(std::strlen(text_.c_str()));
    case WM_ENABLE:
      return 0;
    case WM_VKEYTOITEM:  // a list box's key that its owner leaves to the box
      return -1;
    default:
      return 0;
  }
}

void Window::NotifyParent(WORD code) {
  if (parent_ == nullptr) return;
  parent_->Dispatch(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id_), code),
                    reinterpret_cast<LPARAM>(this));
}

HWND CreateWindowObject(WindowKind kind, int id, std::string text, DWORD style, DWORD ex_style,
                        RECT rect, HWND parent) {
  if (parent != nullptr && !IsWindow(parent)) return nullptr;
  std::unique_ptr<Window> window;
  if (kind == WindowKind::ListBox) {
    window = std::make_unique<ListBoxWindow>(id, style, ex_style, rect, parent);
  } else if (kind == WindowKind::Edit) {
    window = std::make_unique<EditWindow>(id, std::move(text), style, ex_style, rect, parent);
  } else {
    window = std::make_unique<Window>(kind, id, std::move(text), style, ex_style, rect, parent);
  }
  return AdoptWindow(std::move(window));
}

HWND AdoptWindow(std::unique_ptr<Window> window) {
  Window* handle = window.get();
  if (handle->Parent() == nullptr) TopLevels().push_back(handle);
  LiveWindows().emplace(handle, std::move(window));
  return handle;
}

std::vector<Window*> TopLevelWindows() {
  return TopLevels();
}

Window* ActiveWindow() {
  const auto& windows = TopLevels();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    Window* window = *it;
    if (window->Kind() == WindowKind::Dialog && window->IsVisible() && window->IsEnabled()) {
      return window;
    }
  }
  return nullptr;
}

void DestroyWindowTree(Window* window) {
  // Children go first, as with the classic window system; copy, since each one unlinks itself.
  const std::vector<Window*> children = window->children_;
  for (Window* child : children) DestroyWindowTree(child);
  window->Dispatch(WM_DESTROY, 0, 0);
  if (window->view_ != nullptr) window->view_->WindowDestroying();
  // Nothing may point at it afterwards: its dialog's focus, a dialog it owned.
  if (Window* top = window->TopLevel(); top != window && top->Kind() == WindowKind::Dialog) {
    auto* dialog = static_cast<DialogWindow*>(top);
    if (dialog->Focus() == window) dialog->SetFocusChild(nullptr);
  }
  for (auto& [other, owned] : LiveWindows()) {
    if (other->owner_ == window) other->owner_ = nullptr;
  }
  if (window->Parent() == nullptr) ForgetInputContext(window);
  std::erase(TopLevels(), window);
  g_last_live = nullptr;
  LiveWindows().erase(window);
}

}  // namespace platform

LRESULT SendMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (!IsWindow(window)) return 0;
  return window->Dispatch(message, wparam, lparam);
}

BOOL IsWindow(HWND window) {
  if (window == nullptr) return FALSE;
  if (window == platform::g_last_live) return TRUE;
  if (platform::LiveWindows().count(window) == 0) return FALSE;
  platform::g_last_live = window;
  return TRUE;
}

BOOL DestroyWindow(HWND window) {
  if (!IsWindow(window)) return FALSE;
  platform::DestroyWindowTree(window);
  return TRUE;
}

HWND SetFocus(HWND window) {
  if (!IsWindow(window)) return nullptr;
  platform::Window* top = window->TopLevel();
  if (top->Kind() != platform::WindowKind::Dialog) return nullptr;
  auto* dialog = static_cast<platform::DialogWindow*>(top);
  platform::Window* previous = dialog->Focus();
  if (previous == window) return previous;
  // The control losing the focus is told first, then the one getting it.
  if (previous != nullptr && previous->Kind() == platform::WindowKind::Edit) {
    dialog->SetFocusChild(nullptr);
    previous->NotifyParent(EN_KILLFOCUS);
    if (!IsWindow(window)) return previous;
  }
  dialog->SetFocusChild(window == top ? nullptr : window);
  if (dialog->View() != nullptr) dialog->View()->FocusChanged();
  if (window->Kind() == platform::WindowKind::Edit) window->NotifyParent(EN_SETFOCUS);
  return previous;
}

HWND GetFocus() {
  platform::Window* active = platform::ActiveWindow();
  if (active == nullptr) return nullptr;
  return static_cast<platform::DialogWindow*>(active)->Focus();
}

BOOL EnableWindow(HWND window, BOOL enable) {
  if (!IsWindow(window)) return FALSE;
  const BOOL was_disabled = window->IsEnabled() ? FALSE : TRUE;
  window->SetEnabled(enable != FALSE);
  return was_disabled;
}

BOOL IsWindowEnabled(HWND window) {
  return IsWindow(window) && window->IsEnabled();
}

BOOL IsWindowVisible(HWND window) {
  return IsWindow(window) && window->IsVisible();
}

HWND GetDlgItem(HWND dialog, int id) {
  return IsWindow(dialog) ? dialog->Child(id) : nullptr;
}
