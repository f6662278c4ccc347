// Morvane's process entry: the runtime's code page and the one application object are set up
// during static initialisation; the framework then runs InitInstance. The command line is
// ignored.
#include "morvane_app.h"
#include "platform/qt_backend.h"

namespace {
// The framework's set-up for a program: the runtime's multibyte code page, before anything else.
const int g_code_page_set = _setmbcp(_MB_CP_ANSI);
}  // namespace

CMorvaneApp theApp;

int main(int argc, char** argv) {
  static_cast<void>(g_code_page_set);
  platform::QtBackend backend(argc, argv);
  return AfxWinMain(nullptr, nullptr, const_cast<char*>(""), SW_SHOWNORMAL);
}
