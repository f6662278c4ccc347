// Runs Morvane from InitInstance on the headless backend, with a scripted user, from the folder
// that holds the real data file.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "morvane_app.h"
#include "platform/dialogwindow.h"
#include "platform/encoding.h"
#include "platform/headless_backend.h"
#include "platform/listbox.h"
#include "test_support.h"

namespace morvane_test {

using test_support::Utf8;

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
  static bool UseRealData() { return test_support::EnterDataDir(); }

  // An empty folder of its own: no data file there.
  void UseEmptyFolder() {
    empty_dir_ = std::make_unique<test_support::TemporaryFolder>("morvane-empty-");
    std::filesystem::current_path(empty_dir_->Path());
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
  std::unique_ptr<test_support::TemporaryFolder> empty_dir_;
};

}  // namespace morvane_test
