// Runs Morvane from InitInstance on the headless backend, with a scripted user, from the folder
// that holds the real data file.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "morvane_app.h"
#include "platform/dialogwindow.h"
#include "platform/encoding.h"
#include "platform/headless_backend.h"
#include "platform/listbox.h"

namespace morvane_test {

inline std::string Utf8(const std::string& cp932) {
  return platform::Cp932ToUtf8(cp932);
}

class AppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    backend_.SetEchoToStderr(false);
    original_dir_ = std::filesystem::current_path();
  }
  void TearDown() override {
    std::filesystem::current_path(original_dir_);
    EXPECT_EQ(0u, platform::TopLevelWindows().size()) << "a window outlived the program";
  }

  // Works in the folder with the real data file; false (and the test skipped) without it.
  bool UseRealData() {
    const char* dir = std::getenv("MORVANE_DATA_DIR");
    if (dir == nullptr || !std::filesystem::exists(std::filesystem::path(dir) / "KEN_ALL.CSV")) {
      return false;
    }
    std::filesystem::current_path(dir);
    return true;
  }

  // An empty folder of its own: no data file there.
  void UseEmptyFolder() {
    empty_dir_ =
        std::filesystem::temp_directory_path() / ("morvane-empty-" + std::to_string(::getpid()));
    std::filesystem::create_directories(empty_dir_);
    std::filesystem::current_path(empty_dir_);
  }

  // Runs the program from InitInstance until it ends; every scripted step must have been used.
  void RunProgram() {
    CMorvaneApp app;
    EXPECT_EQ(FALSE, app.InitInstance());
    EXPECT_EQ("", User().Failure());
    EXPECT_EQ(0u, User().StepsLeft()) << "the program ended before the script did";
  }

  platform::ScriptedUser& User() { return backend_.User(); }

  // The active dialog and what it shows, in UTF-8.
  static platform::DialogWindow* Active() {
    return static_cast<platform::DialogWindow*>(platform::ActiveWindow());
  }
  static std::string Caption() { return Active() != nullptr ? Utf8(Active()->Text()) : "<none>"; }
  static std::string TextOf(int id) {
    HWND control = Active() != nullptr ? Active()->Child(id) : nullptr;
    return control != nullptr ? Utf8(control->Text()) : "<no control>";
  }
  // Every control's text in template order, joined by '|'.
  static std::string AllTexts() {
    std::string texts;
    for (const platform::Window* child : Active()->Children()) {
      if (child != Active()->Children().front()) texts += '|';
      texts += Utf8(child->Text());
    }
    return texts;
  }
  static int FocusId() {
    HWND focus = GetFocus();
    return focus != nullptr ? focus->Id() : 0;
  }
  static platform::ListBoxWindow* List() {
    return static_cast<platform::ListBoxWindow*>(Active()->Child(1005));
  }
  static std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    for (int i = 0; i < List()->Count(); ++i) rows.push_back(Utf8(List()->Row(i)));
    return rows;
  }

  platform::HeadlessBackend backend_;
  std::filesystem::path original_dir_;
  std::filesystem::path empty_dir_;
};

}  // namespace morvane_test
