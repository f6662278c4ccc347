// A top-level dialog window: caption (its text), font, icons, system menu, focus, and the
// state of a modal run.
#pragma once

#include <string>
#include <vector>

#include "platform/window.h"

namespace platform {

struct MenuItem {
  UINT flags;  // MF_STRING or MF_SEPARATOR
  UINT id;
  std::string text;  // CP932
};

struct Menu {
  std::vector<MenuItem> items;
};

class DialogWindow final : public Window {
 public:
  DialogWindow(int template_id, std::string caption, DWORD style, DWORD ex_style, RECT rect,
               std::string font_name, int point_size);
  ~DialogWindow() override;

  LRESULT DefaultProcedure(UINT message, WPARAM wparam, LPARAM lparam) override;

  int TemplateId() const { return template_id_; }
  const std::string& FontName() const { return font_name_; }  // CP932, as the template names it
  int PointSize() const { return point_size_; }

  // Placement on the screen in pixels; the backend sets it, GetWindowRect reads it.
  const RECT& ScreenRect() const { return screen_rect_; }
  POINT ClientSize() const { return client_size_; }
  void SetScreenGeometry(const RECT& screen_rect, POINT client_size);

  bool IsTopmost() const { return topmost_; }
  void SetTopmost(bool topmost);
  bool IsMinimized() const { return minimized_; }
  void SetMinimized(bool minimized);

  HICON Icon(bool big) const { return big ? big_icon_ : small_icon_; }
  // The system menu, or nullptr when the style has none.
  Menu* SystemMenu() { return has_system_menu_ ? &system_menu_ : nullptr; }

  // The control that has the focus inside this dialog (nullptr for none).
  Window* Focus() const { return focus_; }
  void SetFocusChild(Window* child) { focus_ = child; }

  // Modal run state.
  bool IsModal() const { return modal_; }
  void BeginModal() {
    modal_ = true;
    modal_ended_ = false;
  }
  bool ModalEnded() const { return modal_ended_; }
  int ModalResult() const { return modal_result_; }
  void EndModal(int result) {
    modal_ended_ = true;
    modal_result_ = result;
  }

  // A paint (WM_PAINT) records what it drew; the backend shows it, tests read it.
  struct DrawnIcon {
    HICON icon;
    POINT at;
  };
  std::vector<DrawnIcon>& Drawn() { return drawn_; }

 private:
  int template_id_;
  std::string font_name_;
  int point_size_;
  RECT screen_rect_{0, 0, 0, 0};
  POINT client_size_{0, 0};
  bool topmost_ = false;
  bool minimized_ = false;
  HICON big_icon_ = nullptr;
  HICON small_icon_ = nullptr;
  bool has_system_menu_;
  Menu system_menu_;
  Window* focus_ = nullptr;
  bool modal_ = false;
  bool modal_ended_ = false;
  int modal_result_ = 0;
  std::vector<DrawnIcon> drawn_;
};

// Dialog units to pixels with the font's base units, as the classic dialog manager converts.
inline LONG DluToPixelsX(int dlu, POINT base_units) {
  return dlu * base_units.x / 4;
}
inline LONG DluToPixelsY(int dlu, POINT base_units) {
  return dlu * base_units.y / 8;
}

// Sizes the dialog's client area from its dialog units, adds the frame, and places it: centred
// on the screen with DS_CENTER or without an owner, else centred over its owner.
void PlaceDialog(DialogWindow* dialog, POINT base_units, POINT screen_size, RECT frame);

}  // namespace platform
