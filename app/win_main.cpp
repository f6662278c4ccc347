// Morvane's process entry on Windows: the runtime's code page and the one application object
// are set up during static initialisation; the data folder is chosen; the framework then runs
// InitInstance. The command line is ignored.
#include "data_folder.h"
#include "morvane_app.h"

namespace {
// The framework's set-up for a program: the runtime's multibyte code page, before anything else.
const int g_code_page_set = _setmbcp(_MB_CP_ANSI);
}  // namespace

CMorvaneApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
  static_cast<void>(g_code_page_set);
  // The searches read the current folder: the one with the data file, if any has it
  // (%LOCALAPPDATA%\Morvane, where the updater puts it, then the program's own folder).
  orvek_data::ChooseDataFolder(orvek_data::InstalledDataFolders());
  return AfxWinMain(instance, previous, command_line, show);
}
