// A single-line edit. Qt edits the text; every change a person makes is handed to the core as
// the replacement of a range (converted to CP932, the byte limit applied there), and the
// core's text is then shown again. So is a change that Qt makes without reporting it as a
// person's edit (an assistive tool's text set, insert or delete; an undo): the box never
// shows a text the core does not hold.
#pragma once

#include <QLineEdit>
#include <optional>

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
  // The text changed, and PersonEdited has not handed it on.
  void TextSetElsewhere();
  // Hands the change from the core's text to edited to the core. typed_at is the cursor after
  // a person's typing (which places an ambiguous change); typing also gives the box the focus.
  void HandOver(const QString& edited, std::optional<qsizetype> typed_at);
  void PersonMovedCaret();
  // Shows the core's text and selection.
  void ShowCore();

  bool showing_ = false;
  int caret_scrolls_ = 0;
};

}  // namespace platform::qt
