// Morvane's process entry: the runtime's code page and the one application object are set up
// during static initialisation; the framework then runs InitInstance. The command line is
// ignored, but for --help and --version, which a terminal user may try before anything else.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "data_folder.h"
#include "morvane_app.h"
#include "platform/qt_backend.h"

namespace {
// The framework's set-up for a program: the runtime's multibyte code page, before anything else.
const int g_code_page_set = _setmbcp(_MB_CP_ANSI);

constexpr char kUsage[] =
    "Usage: morvane\n"
    "Looks up Japanese postal codes in windows: the addresses of a postal code, or the codes\n"
    "of an address. It reads Japan Post's ken_all.csv (or KEN_ALL.CSV) in the current folder,\n"
    "or else in the first of $XDG_DATA_HOME/morvane (~/.local/share/morvane, where\n"
    "morvane-update-data puts it) and each $XDG_DATA_DIRS/morvane (/usr/local/share/morvane,\n"
    "/usr/share/morvane) that has one. It needs a graphical display; orvek runs the same\n"
    "searches in a terminal.\n"
    "\n"
    "  --help     show this text\n"
    "  --version  show the version\n";

// Started from a terminal without a display, or with one that cannot be opened: one line that
// says which and why, rather than Qt's abort.
[[noreturn]] void NoDisplay(const std::string& why) {
  std::fprintf(stderr, "morvane: needs a graphical display, but %s\n", why.c_str());
  std::fflush(stderr);
  std::_Exit(1);
}

}  // namespace

CMorvaneApp theApp;

int main(int argc, char** argv) {
  static_cast<void>(g_code_page_set);
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::puts("morvane " MORVANE_VERSION);
      return 0;
    }
  }
  // The searches read the current folder: the one with the data file, if any has it.
  orvek_data::ChooseDataFolder(orvek_data::InstalledDataFolders());
  platform::QtBackend backend(argc, argv, NoDisplay);
  return AfxWinMain(nullptr, nullptr, const_cast<char*>(""), SW_SHOWNORMAL);
}
