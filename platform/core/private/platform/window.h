// The window objects of the window-system core. Every dialog and control is a Window: plain
// C++ state that a backend shows (the Qt backend) or a test reads (the headless backend).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/resource_registry.h"
#include "platform/wintypes.h"

class CWnd;

namespace platform {

// A backend's view of one window. The core calls these after its state changed; a view only
// shows that state and never holds the only copy of it.
class WindowView {
 public:
  virtual ~WindowView() = default;
  virtual void TextChanged() {}
  virtual void StateChanged() {}  // enabled, visible, position, style
  virtual void RowsInserted(int /*first*/, int /*count*/) {}
  virtual void RowsRemoved(int /*first*/, int /*count*/) {}
  virtual void RowChanged(int /*index*/) {}
  virtual void RowsReset() {}
  virtual void SelectionChanged() {}  // a list box's selection or caret
  // A list box's rows that fit whole in what the backend shows; 0 when it cannot tell.
  virtual int FullyVisibleRows() const { return 0; }
  virtual void FocusChanged() {}  // on a dialog: its focus child changed
  virtual void WindowDestroying() {}
};

class Window {
 public:
  Window(WindowKind kind, int id, std::string text, DWORD style, DWORD ex_style, RECT rect,
         Window* parent);
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  WindowKind Kind() const { return kind_; }
  int Id() const { return id_; }
  const std::string& Text() const { return text_; }
  DWORD Style() const { return style_; }
  DWORD ExStyle() const { return ex_style_; }
  // Position and size: for a control in its dialog's dialog units; for a top-level window
  // in the units the backend places it in.
  const RECT& Rect() const { return rect_; }
  Window* Parent() const { return parent_; }
  Window* Owner() const { return owner_; }
  const std::vector<Window*>& Children() const { return children_; }
  Window* Child(int id) const;
  bool IsEnabled() const { return enabled_; }
  bool IsVisible() const { return visible_; }
  // The picture of a static icon control.
  HICON Image() const { return image_; }
  void SetImage(HICON image);
  // The dialog this window belongs to (itself for a top-level window).
  Window* TopLevel();

  void SetOwner(Window* owner) { owner_ = owner; }
  void SetRect(const RECT& rect);
  void SetEnabled(bool enabled);
  void SetVisible(bool visible);
  void SetStyle(DWORD style, DWORD ex_style);

  // The framework's object that gets the window's messages before the window's own procedure
  // (a dialog's CDialog); its message map picks a handler.
  void SetHandler(CWnd* handler) { handler_ = handler; }
  CWnd* Handler() const { return handler_; }
  void SetView(WindowView* view) { view_ = view; }
  WindowView* View() const { return view_; }

  // Entry for SendMessageA: the subclassing handler if any, else the window's own procedure.
  LRESULT Dispatch(UINT message, WPARAM wparam, LPARAM lparam);
  // The window's own behaviour (the classic DefWindowProc plus the control's class procedure).
  virtual LRESULT DefaultProcedure(UINT message, WPARAM wparam, LPARAM lparam);

  // Sends WM_COMMAND(id, code) with this window as lParam to the parent.
  void NotifyParent(WORD code);

 protected:
  // Replaces the text and tells the view; no notification to the parent.
  void StoreText(std::string text);
  void ChangedState();

 private:
  friend void DestroyWindowTree(Window*);
  WindowKind kind_;
  int id_;
  std::string text_;
  DWORD style_;
  DWORD ex_style_;
  RECT rect_;
  Window* parent_;
  Window* owner_ = nullptr;
  std::vector<Window*> children_;
  bool enabled_;
  bool visible_;
  CWnd* handler_ = nullptr;
  WindowView* view_ = nullptr;
  HICON image_ = nullptr;
};

// Creates a window of the right class for its kind; the core owns it until DestroyWindow.
HWND CreateWindowObject(WindowKind kind, int id, std::string text, DWORD style, DWORD ex_style,
                        RECT rect, HWND parent);

// Sends WM_DESTROY to the window and its children (children first) and frees them.
void DestroyWindowTree(Window* window);

// Registers a window made elsewhere (a dialog) with the core, which owns it from then on.
HWND AdoptWindow(std::unique_ptr<Window> window);

// Top-level windows in the order they were made; the last visible and enabled one is the
// active window, which gets the keyboard.
std::vector<Window*> TopLevelWindows();
Window* ActiveWindow();

}  // namespace platform
