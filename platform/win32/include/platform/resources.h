// The program's resources as it registers them at start-up: the string table and the dialog
// templates (built into in-memory templates for the dialog manager). Icons are real resources
// of the executable; the registered pixels are what the build turns into its .ico.
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

// The template in the system's binary form (DLGTEMPLATE and its DLGITEMTEMPLATEs, texts in
// UTF-16, DWORD-aligned), ready for DialogBoxIndirectParam. Controls get WS_CHILD and
// WS_VISIBLE as the core gives them.
std::vector<WORD> BuildDialogTemplate(const DialogTemplate& dialog_template);

void RegisterIconResource(Icon icon);
// The executable's icon resource of that number (nullptr when it has none).
HICON FindIconResource(int id);

}  // namespace platform
