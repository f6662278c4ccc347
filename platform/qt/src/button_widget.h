// A push button.
#pragma once

#include <QPushButton>

#include "control_view.h"

namespace platform::qt {

class ButtonWidget final : public QPushButton, public ControlView {
 public:
  ButtonWidget(Window* window, POINT base_units, QWidget* parent);
  void TextChanged() override;

 protected:
  void focusInEvent(QFocusEvent* event) override;
  // Drawn as a classic dialog draws its buttons: the focused one with its focus frame, and the
  // default frame on the button that Enter presses.
  void initStyleOption(QStyleOptionButton* option) const override;

 private:
  // The button Enter presses: this one when it has the focus, else the dialog's default button
  // while no other push button has the focus.
  bool PressedByEnter() const;
};

}  // namespace platform::qt
