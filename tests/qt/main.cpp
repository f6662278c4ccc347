// The Qt backend's tests: one QApplication, on the offscreen platform unless told otherwise.
#include <gtest/gtest.h>

#include "platform/qt_backend.h"
#include "test_dialogs.h"

// fontconfig keeps its pattern cache until exit, and Qt's font database never frees it: not a
// leak of this program's.
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  platform::QtBackend backend(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  qt_test::RegisterTestResources();
  return RUN_ALL_TESTS();
}
