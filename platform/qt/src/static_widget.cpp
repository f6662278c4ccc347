#include "static_widget.h"

#include <QImage>
#include <QPixmap>

#include "platform/resource_registry.h"
#include "text.h"

namespace platform::qt {

QImage IconImage(const Icon& icon) {
  QImage image(icon.width, icon.height, QImage::Format_ARGB32);
  for (int y = 0; y < icon.height; ++y) {
    for (int x = 0; x < icon.width; ++x) image.setPixel(x, y, icon.Argb(x, y));
  }
  return image;
}

StaticWidget::StaticWidget(Window* window, POINT base_units, QWidget* parent)
    : QLabel(parent), ControlView(window, this, base_units) {
  const DWORD style = window->Style();
  Qt::Alignment align = Qt::AlignLeft;
  if ((style & 0x1F) == SS_CENTER) align = Qt::AlignHCenter;
  if ((style & 0x1F) == SS_RIGHT) align = Qt::AlignRight;
  align |= (style & SS_CENTERIMAGE) != 0 ? Qt::AlignVCenter : Qt::AlignTop;
  if (window->Kind() == WindowKind::StaticIcon) {
    // An icon without SS_CENTERIMAGE sits in the control's top left corner.
    align = (style & SS_CENTERIMAGE) != 0 ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignTop);
  } else {
    setWordWrap(true);
  }
  setAlignment(align);
  setTextFormat(Qt::PlainText);
  if ((style & SS_SUNKEN) != 0) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
  }
  setFocusPolicy(Qt::NoFocus);
  TextChanged();
  StateChanged();
}

QString StaticWidget::ShownText(const std::string& cp932, DWORD style) {
  QString text = ToQString(cp932);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  if ((style & SS_NOPREFIX) != 0) return text;
  QString shown;
  shown.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] != u'&') {
      shown += text[i];
    } else if (i + 1 < text.size()) {
      shown += text[++i];  // "&&" gives '&', "&x" gives x
    }
  }
  return shown;
}

void StaticWidget::TextChanged() {
  if (window_ == nullptr || window_->Kind() == WindowKind::StaticIcon) return;
  QString shown = ShownText(window_->Text(), window_->Style());
  // A label with a buddy reads '&' as a mnemonic marker: the shown text has none left.
  if (buddy() != nullptr) shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
  setText(shown);
}

void StaticWidget::LabelFor(QWidget* control) {
  setBuddy(control);
  TextChanged();
}

void StaticWidget::StateChanged() {
  if (window_ == nullptr) return;
  if (window_->Kind() == WindowKind::StaticIcon) {
    if (const Icon* icon = window_->Image()) {
      setPixmap(QPixmap::fromImage(IconImage(*icon)));
    } else {
      clear();
    }
  }
  ApplyState();
}

}  // namespace platform::qt
