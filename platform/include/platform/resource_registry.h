// The program's resources as it registers them at start-up, as a resource script would hold
// them: the string table, the dialog templates and the icons. The core makes its windows from
// the templates; on Windows they become in-memory templates for the dialog manager, and icons
// are the executable's own (the registered pixels are what the build writes as its .ico).
#pragma once

#include <string>
#include <vector>

#include "platform/icon.h"
#include "platform/wintypes.h"

namespace platform {

// Strings of the string table, CP932.
void RegisterStringResource(UINT id, std::string cp932_text);
// The string, or nullptr when the program has none of that number.
const std::string* FindStringResource(UINT id);

// The kinds of window a dialog template names.
enum class WindowKind { Dialog, PushButton, Edit, ListBox, StaticText, StaticIcon };

// A control of a dialog template. Position and size are in dialog units.
struct ControlTemplate {
  int id;
  WindowKind kind;
  std::string text;  // CP932
  DWORD style;
  int x, y, cx, cy;
  int icon_id = 0;  // for a static icon
  // CP932: what assistive technology calls an edit or a list box where the static text before
  // it would mislead; empty to be named after that static, as the window system does.
  std::string accessible_name = {};
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

void RegisterIconResource(Icon icon);
// The icon resource of that number (nullptr when there is none): the registered picture in the
// core, the executable's icon on Windows.
HICON FindIconResource(int id);

}  // namespace platform
