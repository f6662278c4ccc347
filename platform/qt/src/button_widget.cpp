#include "button_widget.h"

#include "platform/user_input.h"
#include "text.h"

namespace platform::qt {

ButtonWidget::ButtonWidget(Window* window, POINT base_units, QWidget* parent)
    : QPushButton(parent), ControlView(window, this, base_units) {
  // Enter belongs to the dialog's keyboard (the core), not to Qt's default-button habit.
  setAutoDefault(false);
  setDefault((window->Style() & 0xF) == BS_DEFPUSHBUTTON);
  setFocusPolicy(Qt::StrongFocus);
  TextChanged();
  ApplyState();
  connect(this, &QPushButton::clicked, this, [this] {
    if (window_ == nullptr) return;
    user::Click(window_);
    AfterAction();
  });
}

void ButtonWidget::TextChanged() {
  if (window_ != nullptr) setText(ToQString(window_->Text()));
}

void ButtonWidget::focusInEvent(QFocusEvent* event) {
  QPushButton::focusInEvent(event);
  FocusArrived();
}

}  // namespace platform::qt
