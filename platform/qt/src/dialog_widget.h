// A top-level dialog: a plain QWidget window (not a QDialog, whose Esc and Enter habits would
// leak through). The keyboard of a classic dialog goes to the core: Tab in the core's order,
// Enter, Esc, Space on a button, the close box and Alt+F4; a right click on the background,
// the Menu key and Shift+F10 open a copy of the system menu.
#pragma once

#include <QWidget>

#include "platform/dialogwindow.h"

namespace platform::qt {

class DialogWidget final : public QWidget, public WindowView {
 public:
  explicit DialogWidget(DialogWindow* dialog);
  ~DialogWidget() override;

  DialogWindow* Dialog() const { return dialog_; }
  POINT BaseUnits() const { return base_units_; }

  void TextChanged() override;
  void StateChanged() override;
  void FocusChanged() override;
  void WindowDestroying() override;

  // Gives the Qt focus to the control that has the core's focus.
  void ShowFocus();
  // True while ShowFocus moves the Qt focus: the focus that arrives is the core's own.
  bool ShowingFocus() const { return showing_focus_; }
  // Opens the system-menu substitute at a point on the screen; false when there is none.
  bool OpenSystemMenu(const QPoint& at);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void changeEvent(QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  // A key of the dialog's keyboard; true when it was one.
  bool DialogKey(QKeyEvent* event, QWidget* target);
  void ApplyState();
  void Detach();
  void HideAndPassActivation(Window* going);
  // The widget of the window that owns this dialog, nullptr for none.
  QWidget* OwnerWidget() const;
  // While this dialog is disabled under a modal dialog it owns, a person who activates or
  // restores it gets that dialog, restored if the window manager had minimised it.
  void PresentOwnedModal();

  DialogWindow* dialog_;
  POINT base_units_;
  RECT frame_;
  bool showing_focus_ = false;
  bool applying_ = false;
  const Icon* shown_icon_ = nullptr;
};

}  // namespace platform::qt
