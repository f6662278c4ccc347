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
};

}  // namespace platform::qt
