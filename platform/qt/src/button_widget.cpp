#include "button_widget.h"

#include <QStyleOptionButton>

#include "platform/dialogwindow.h"
#include "platform/user_input.h"
#include "text.h"

namespace platform::qt {

ButtonWidget::ButtonWidget(Window* window, POINT base_units, QWidget* parent)
    : QPushButton(parent), ControlView(window, this, base_units) {
  // Enter belongs to the dialog's keyboard (the core), not to Qt's default-button habit.
  setAutoDefault(false);
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

bool ButtonWidget::PressedByEnter() const {
  if (window_ == nullptr) return false;
  const Window* top = window_->TopLevel();
  if (top == window_ || top->Kind() != WindowKind::Dialog) return false;
  const Window* focus = static_cast<const DialogWindow*>(top)->Focus();
  if (focus == window_) return true;
  const bool focus_on_button = focus != nullptr && focus->Kind() == WindowKind::PushButton;
  return !focus_on_button && (window_->Style() & 0xF) == BS_DEFPUSHBUTTON;
}

void ButtonWidget::initStyleOption(QStyleOptionButton* option) const {
  QPushButton::initStyleOption(option);
  if (PressedByEnter()) {
    option->features |= QStyleOptionButton::DefaultButton;
  } else {
    option->features &= ~QStyleOptionButton::DefaultButton;
  }
  // A classic dialog always draws the focus rectangle; Qt's styles draw it only once the
  // keyboard has moved the focus, and the core moves Qt's focus for every reason.
  if ((option->state & QStyle::State_HasFocus) != 0) {
    option->state |= QStyle::State_KeyboardFocusChange;
  }
}

}  // namespace platform::qt
