// Small dialog templates and a dialog class for the Qt backend's tests, and the helpers that
// act as a person on the widgets.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/afxwin.h"
#include "platform/dialogwindow.h"
#include "platform/qt_backend.h"
#include "test_support.h"

namespace qt_test {

// Template numbers.
inline constexpr UINT kFormDialog = 9001;      // edits, a list box, buttons, statics
inline constexpr UINT kPopupDialog = 9002;     // the searching popup's shape
inline constexpr UINT kAboutDialog = 9003;     // proportional font, icon, centred over its owner
inline constexpr UINT kLabelledDialog = 9004;  // edits and a list after statics, for names
inline constexpr int kIcon = 9100;

// Controls of kFormDialog.
inline constexpr int kEdit = 101;
inline constexpr int kRightEdit = 102;
inline constexpr int kNoTabEdit = 103;  // focusable, but no tab stop
inline constexpr int kList = 104;
inline constexpr int kPress = 105;
inline constexpr int kEnd = 106;  // ends a modal run with kEndResult
inline constexpr int kHeading = 107;
inline constexpr int kEndResult = 7;
inline constexpr UINT kAppendedCommand = 16;

void RegisterTestResources();

using test_support::Cp932;

// A dialog that records its controls' notifications. With classic_keys, OnOK and OnCancel
// end it as CDialog does; otherwise they do nothing, as in the program's dialogs.
class TestDialog : public CDialog {
 public:
  explicit TestDialog(UINT template_id, CWnd* parent = nullptr, bool classic_keys = false)
      : CDialog(template_id, parent), classic_keys_(classic_keys) {}

  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

  HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }
  // Notifications (control, code) in the order they came.
  std::vector<std::pair<int, WORD>> notes;
  std::vector<UINT> system_commands;
  int presses = 0;
  // Runs in OnInitDialog after the base.
  std::function<void(TestDialog&)> on_init;

 private:
  bool classic_keys_;
};

// The widget of a core window.
QWidget* WidgetOf(HWND window);
// Shows the dialog's widget as the active window and processes events until it is.
bool Activate(HWND dialog);
// Runs the dialog modally; `person` runs inside the loop once the dialog is active. A run
// that does not end within a few seconds ends with -99.
int RunModal(TestDialog& dialog, std::function<void(QWidget*)> person);
// How many times code appears among the notes of control id.
int CountNotes(const TestDialog& dialog, int id, WORD code);

}  // namespace qt_test
