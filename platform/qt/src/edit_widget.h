// A single-line edit. Qt edits the text; every change a person makes is handed to the core as
// the replacement of a range (converted to CP932, the byte limit applied there), and the
// core's text is then shown again.
#pragma once

#include <QLineEdit>

#include "control_view.h"
#include "platform/edit.h"

namespace platform::qt {

class EditWidget final : public QLineEdit, public ControlView {
 public:
  EditWidget(Window* window, POINT base_units, QWidget* parent);

  void TextChanged() override;
  void SelectionChanged() override;
  void StateChanged() override;

  // The input method is allowed only while the dialog's input context is open: QLineEdit
  // ignores Qt::WA_InputMethodEnabled and its hints, and this answer is what ibus and fcitx5
  // both follow.
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  EditWindow* Edit() const { return static_cast<EditWindow*>(window_); }
  void PersonEdited(const QString& edited);
  void PersonMovedCaret();
  // Shows the core's text and selection.
  void ShowCore();

  bool showing_ = false;
  int caret_scrolls_ = 0;
};

}  // namespace platform::qt
