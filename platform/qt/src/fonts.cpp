#include "fonts.h"

#include <QFontMetrics>
#include <QStringList>

#include "text.h"

namespace platform::qt {
namespace {
const QString kGothic = QStringLiteral("IPAGothic");
const QString kPGothic = QStringLiteral("IPAPGothic");
const QString kMsGothic = QString::fromUtf8("ＭＳ ゴシック");
const QString kMsPGothic = QString::fromUtf8("ＭＳ Ｐゴシック");

QString MappedFamily(const QString& family) {
  if (family == kMsGothic ||
      family.compare(QStringLiteral("MS Gothic"), Qt::CaseInsensitive) == 0) {
    return kGothic;
  }
  if (family == kMsPGothic ||
      family.compare(QStringLiteral("MS PGothic"), Qt::CaseInsensitive) == 0) {
    return kPGothic;
  }
  return family;
}
}  // namespace

void InstallFontSubstitutions() {
  QFont::insertSubstitutions(kMsGothic, QStringList{kGothic});
  QFont::insertSubstitutions(kMsPGothic, QStringList{kPGothic});
}

QFont DialogFont(const std::string& cp932_name, int point_size) {
  QFont font(MappedFamily(ToQString(cp932_name)));
  // Pixels as the classic system computes them at 96 dpi: 9 points are 12 pixels.
  font.setPixelSize(point_size > 0 ? (point_size * 96 + 36) / 72 : 12);
  font.setKerning(false);
  return font;
}

QFont FixedPitchFont(const QFont& font) {
  // fontconfig calls the gothic dual-width, so QFontInfo::fixedPitch() says no: go by name.
  QFont fixed(font);
  fixed.setFamily(kGothic);
  return fixed;
}

POINT BaseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  const int width = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return POINT{(width / 26 + 1) / 2, metrics.height()};
}

}  // namespace platform::qt
