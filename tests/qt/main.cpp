// The Qt backend's tests: one QApplication, on the offscreen platform unless told otherwise.
#include <gtest/gtest.h>

#include "platform/qt_backend.h"
#include "test_dialogs.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  platform::QtBackend backend(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  qt_test::RegisterTestResources();
  return RUN_ALL_TESTS();
}
