// A static control: text (alignment, line breaks, mnemonic markers, sunken frame) or icon.
#pragma once

#include <QLabel>

#include "control_view.h"

namespace platform::qt {

class StaticWidget final : public QLabel, public ControlView {
 public:
  StaticWidget(Window* window, POINT base_units, QWidget* parent);
  void TextChanged() override;
  void StateChanged() override;
  // Becomes the label of a control that has no text of its own: assistive technology names
  // the control after this text and links the two.
  void LabelFor(QWidget* control);

  // The text as the classic static draws it: "\r\n" breaks the line; without SS_NOPREFIX
  // "&&" shows one '&' and a single '&' marks the next character (not shown here).
  static QString ShownText(const std::string& cp932, DWORD style);
};

// The picture of an icon resource.
QImage IconImage(const Icon& icon);

}  // namespace platform::qt
