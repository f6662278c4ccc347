// The program's string resources: the table that a resource script would hold, registered at
// start-up by the program.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/icon.h"
#include "platform/window.h"
#include "platform/wintypes.h"

namespace platform {

// Strings of the string table, CP932.
void RegisterStringResource(UINT id, std::string cp932_text);
// The string, or nullptr when the program has none of that number.
const std::string* FindStringResource(UINT id);

// A control of a dialog template. Position and size are in dialog units.
struct ControlTemplate {
  int id;
  WindowKind kind;
  std::string text;  // CP932
  DWORD style;
  int x, y, cx, cy;
  int icon_id = 0;  // for a static icon
};

// A dialog template: what a resource script holds for one dialog.
struct DialogTemplate {
  int id;
  std::string caption;  // CP932
  DWORD style;
  DWORD ex_style;
  int cx, cy;             // dialog units
  std::string font_name;  // CP932, as named in the template
  int point_size;
  std::vector<ControlTemplate> controls;  // in tab order
};

void RegisterDialogTemplate(DialogTemplate dialog_template);
const DialogTemplate* FindDialogTemplate(int id);

}  // namespace platform

namespace platform {

void RegisterIconResource(Icon icon);
HICON FindIconResource(int id);

}  // namespace platform
