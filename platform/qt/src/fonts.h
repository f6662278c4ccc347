// The fonts that dialog templates name, as this system has them.
#pragma once

#include <QFont>
#include <string>

#include "platform/wintypes.h"

namespace platform::qt {

// The templates name Japanese Windows fonts; fontconfig has no alias for them, and Qt would
// fall back to a Latin font. The gothic is fixed-pitch, a half-width character exactly half a
// full-width one, which the space-padded columns of list rows rely on.
void InstallFontSubstitutions();
// The font of a dialog: the family mapped, the size in pixels as at 96 dots per inch.
QFont DialogFont(const std::string& cp932_name, int point_size);
// The fixed-pitch gothic at the same size.
QFont FixedPitchFont(const QFont& font);
// Average character width and height in pixels, as the classic dialog manager measures them.
POINT BaseUnitsOf(const QFont& font);

}  // namespace platform::qt
