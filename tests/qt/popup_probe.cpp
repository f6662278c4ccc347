// Puts up a searching popup and then blocks the thread reading a named pipe, as a search
// reading its data file does. The screenshot script photographs the screen while it waits.
//   qt_popup_probe FIFO
#include <QApplication>
#include <cstdio>

#include "test_dialogs.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: qt_popup_probe FIFO\n");
    return 2;
  }
  const char* fifo = argv[1];
  platform::QtBackend backend(argc, argv);
  qt_test::RegisterTestResources();
  qt_test::TestDialog popup(qt_test::kPopupDialog);
  popup.on_init = [](qt_test::TestDialog& dialog) {
    RECT rect;
    dialog.GetWindowRect(&rect);
    dialog.SetWindowPos(CWnd::wndTopMost, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    ::SendMessageA(
        dialog.Item(1011), WM_SETTEXT, 0,
        reinterpret_cast<LPARAM>(
            qt_test::Sjis("データを検索しています。\r\nしばらくお待ち下さい。").c_str()));
  };
  if (!popup.Create(qt_test::kPopupDialog)) return 1;
  std::puts("blocked");
  std::fflush(stdout);
  // Blocks until the other side writes and closes: no event is processed meanwhile.
  if (FILE* pipe = std::fopen(fifo, "r")) {
    while (std::fgetc(pipe) != EOF) {
    }
    std::fclose(pipe);
  }
  popup.DestroyWindow();
  return 0;
}
