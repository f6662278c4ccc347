// The control contracts on the core alone: the form is the core's dialog, a person's actions
// enter through platform::user, and what is seen is the core's own state.
#include <memory>
#include <string>
#include <vector>

#include "contract_driver.h"
#include "contract_form.h"
#include "platform/clipboard.h"
#include "platform/edit.h"
#include "platform/encoding.h"
#include "platform/headless_backend.h"
#include "platform/listbox.h"
#include "platform/user_input.h"

namespace contract {
namespace {

class CoreDriver final : public Driver {
 public:
  CoreDriver() : headless_(std::make_unique<platform::HeadlessBackend>()) {
    RegisterFormTemplate();
  }
  ~CoreDriver() override {
    if (IsWindow(form_.m_hWnd)) form_.DestroyWindow();
    headless_.reset();
  }
  bool Build() { return form_.Create(kFormTemplate) != FALSE; }

  LRESULT Send(int control, UINT message, WPARAM wparam, LPARAM lparam) override {
    return ::SendMessageA(Item(control), message, wparam, lparam);
  }
  std::vector<Note> Notes() override { return form_.notes; }
  void ClearNotes() override { form_.notes.clear(); }

  void PressKey(int control, UINT vk) override { platform::user::ListKey(Item(control), vk); }
  void PressRow(int list, int row) override { platform::user::ListPress(Item(list), row); }
  void ReleaseButton(int list) override { platform::user::ListRelease(Item(list)); }
  void DoubleClickRow(int list, int row) override {
    ClickRow(list, row);
    platform::user::ListDoubleClick(Item(list), row);
    ReleaseButton(list);
  }
  void Focus(int edit) override { platform::user::Focus(Item(edit)); }
  void Type(int edit, const std::string& ascii) override {
    Focus(edit);
    for (char key : ascii) platform::user::Type(Item(edit), std::string(1, key));
  }
  void Commit(int edit, const std::string& utf8) override {
    // Nothing reaches the core that it cannot hold: the backend refuses it first.
    if (auto bytes = platform::Utf8ToCp932(utf8)) platform::user::Type(Item(edit), *bytes);
  }
  void Paste(int edit, const std::string& utf8) override {
    platform::user::Type(Item(edit), Cp932(utf8));
  }

  std::vector<std::string> Rows(int list) override {
    std::vector<std::string> rows;
    platform::ListBoxWindow* box = List(list);
    for (int i = 0; i < box->Count(); ++i) rows.push_back(platform::Cp932ToUtf8(box->Row(i)));
    return rows;
  }
  int SelectedRow(int list) override { return List(list)->Selection(); }
  int CaretRow(int list) override { return List(list)->Caret(); }
  int TopRow(int list) override { return List(list)->TopIndex(); }
  int FullyVisibleRows(int list) override { return List(list)->FullyVisibleRows(); }
  EditView ShownEdit(int edit) override {
    const auto* box = static_cast<platform::EditWindow*>(Item(edit));
    const std::string& bytes = box->Text();
    const auto utf8_offset = [&](int at) {
      return platform::Cp932ToUtf8(bytes.substr(0, static_cast<std::size_t>(at))).size();
    };
    return {platform::Cp932ToUtf8(bytes), utf8_offset(box->SelectionStart()),
            utf8_offset(box->SelectionEnd())};
  }
  std::string Clipboard() override { return platform::Cp932ToUtf8(platform::ClipboardText()); }

 private:
  HWND Item(int id) const { return form_.Item(id); }
  platform::ListBoxWindow* List(int id) const {
    return static_cast<platform::ListBoxWindow*>(Item(id));
  }

  std::unique_ptr<platform::HeadlessBackend> headless_;
  RecordingDialog form_{kFormTemplate};
};

std::unique_ptr<Driver> MakeCoreDriver() {
  auto driver = std::make_unique<CoreDriver>();
  if (!driver->Build()) return nullptr;
  return driver;
}

}  // namespace

const Backend kCore{"Core", &MakeCoreDriver};
INSTANTIATE_TEST_SUITE_P(Core, ListBoxContract, ::testing::Values(&kCore), BackendName);
INSTANTIATE_TEST_SUITE_P(Core, EditContract, ::testing::Values(&kCore), BackendName);

}  // namespace contract
