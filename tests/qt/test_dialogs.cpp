#include "test_dialogs.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include "platform/encoding.h"
#include "platform/resource_registry.h"

namespace qt_test {

using platform::ControlTemplate;
using platform::WindowKind;

void RegisterTestResources() {
  constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT;
  constexpr DWORD kEditStyle = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
  platform::RegisterDialogTemplate(
      {static_cast<int>(kFormDialog),
       Cp932("テスト"),
       kDialogStyle | WS_VISIBLE | WS_SYSMENU | DS_CENTER,
       0,
       200,
       120,
       Cp932("ＭＳ ゴシック"),
       9,
       {
           ControlTemplate{kEdit, WindowKind::Edit, "", kEditStyle, 10, 10, 80, 14},
           ControlTemplate{kRightEdit, WindowKind::Edit, "", kEditStyle | ES_RIGHT, 10, 30, 80, 14},
           ControlTemplate{kNoTabEdit, WindowKind::Edit, "", ES_AUTOHSCROLL | WS_BORDER, 100, 10,
                           80, 14},
           ControlTemplate{kList, WindowKind::ListBox, "",
                           LBS_NOTIFY | LBS_DISABLENOSCROLL | LBS_NOINTEGRALHEIGHT | WS_VSCROLL |
                               WS_BORDER | WS_TABSTOP,
                           10, 50, 180, 40},
           ControlTemplate{kPress, WindowKind::PushButton, Cp932("押す"), WS_TABSTOP, 10, 95, 50,
                           14},
           ControlTemplate{kEnd, WindowKind::PushButton, Cp932("終わる"), WS_TABSTOP, 70, 95, 50,
                           14},
           ControlTemplate{kHeading, WindowKind::StaticText, Cp932("見出し&&A"),
                           SS_CENTER | SS_CENTERIMAGE | SS_SUNKEN, 130, 95, 60, 14},
       }});
  platform::RegisterDialogTemplate(
      {static_cast<int>(kPopupDialog),
       Cp932("データ検索中"),
       kDialogStyle | WS_VISIBLE | DS_CENTER,
       0,
       110,
       33,
       Cp932("ＭＳ ゴシック"),
       9,
       {ControlTemplate{1011, WindowKind::StaticText, "TXT", SS_CENTER | WS_GROUP, 5, 6, 99, 21}}});
  platform::RegisterDialogTemplate(
      {static_cast<int>(kAboutDialog),
       Cp932("Morvaneのﾊﾞｰｼﾞｮﾝ情報"),
       kDialogStyle | WS_SYSMENU,
       0,
       235,
       75,
       Cp932("ＭＳ Ｐゴシック"),
       9,
       {
           ControlTemplate{-1, WindowKind::StaticIcon, "", SS_ICON, 11, 17, 20, 21, kIcon},
           ControlTemplate{201, WindowKind::StaticText, "A&B C&&D", SS_NOPREFIX, 40, 10, 119, 8},
           ControlTemplate{202, WindowKind::StaticText, "A&B C&&D", SS_LEFT, 40, 29, 119, 8},
           ControlTemplate{IDOK, WindowKind::PushButton, "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 178,
                           7, 50, 14},
       }});
  constexpr DWORD kListStyle = LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
  platform::RegisterDialogTemplate(
      {static_cast<int>(kLabelledDialog),
       Cp932("名前"),
       kDialogStyle | DS_CENTER,
       0,
       200,
       100,
       Cp932("ＭＳ ゴシック"),
       9,
       {
           ControlTemplate{-1, WindowKind::StaticText, Cp932("郵便番号"), 0, 5, 5, 40, 10},
           ControlTemplate{201, WindowKind::Edit, "", kEditStyle, 50, 5, 20, 12},
           ControlTemplate{-1, WindowKind::StaticText, "-", 0, 72, 5, 5, 10},
           ControlTemplate{202, WindowKind::Edit, "", kEditStyle, 80, 5, 20, 12, 0,
                           Cp932("郵便番号 下4桁")},
           ControlTemplate{-1, WindowKind::StaticText, Cp932("見出し"), SS_SUNKEN, 5, 20, 190, 10},
           ControlTemplate{203, WindowKind::ListBox, "", kListStyle, 5, 30, 190, 40, 0,
                           Cp932("一覧")},
           ControlTemplate{-1, WindowKind::StaticText, Cp932("町&&域(&T)"), 0, 5, 75, 40, 10},
           ControlTemplate{204, WindowKind::Edit, "", kEditStyle, 50, 75, 60, 12},
           ControlTemplate{205, WindowKind::PushButton, Cp932("押す"), WS_TABSTOP, 120, 75, 30, 14},
           ControlTemplate{206, WindowKind::Edit, "", kEditStyle, 160, 75, 30, 12},
       }});
  // Two colours: a dark square on a transparent ground.
  platform::Icon icon{kIcon, 32, 32, {0x00000000, 0xFF203060}, std::vector<std::uint8_t>(32 * 32)};
  for (int y = 8; y < 24; ++y) {
    for (int x = 8; x < 24; ++x) icon.pixels[static_cast<std::size_t>(y * 32 + x)] = 1;
  }
  platform::RegisterIconResource(std::move(icon));
}

LRESULT TestDialog::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_COMMAND && lparam != 0) {
    notes.emplace_back(LOWORD(wparam), HIWORD(wparam));
    if (HIWORD(wparam) == BN_CLICKED && LOWORD(wparam) == kPress) ++presses;
    if (HIWORD(wparam) == BN_CLICKED && LOWORD(wparam) == kEnd) EndDialog(kEndResult);
  }
  if (message == WM_SYSCOMMAND) system_commands.push_back(static_cast<UINT>(wparam));
  return CDialog::WindowProc(message, wparam, lparam);
}

BOOL TestDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  if (CMenu* menu = GetSystemMenu(FALSE)) {
    menu->AppendMenu(MF_SEPARATOR);
    menu->AppendMenu(MF_STRING, kAppendedCommand, Cp932("Morvane のﾊﾞｰｼﾞｮﾝ情報(&A)...").c_str());
  }
  if (on_init) on_init(*this);
  return TRUE;
}

void TestDialog::OnOK() {
  if (classic_keys_) CDialog::OnOK();
}

void TestDialog::OnCancel() {
  if (classic_keys_) CDialog::OnCancel();
}

QWidget* WidgetOf(HWND window) {
  return platform::QtBackend::Instance()->WidgetOf(window);
}

bool Activate(HWND dialog) {
  QWidget* widget = WidgetOf(dialog);
  if (widget == nullptr) return false;
  widget->activateWindow();
  return QTest::qWaitForWindowActive(widget, 3000);
}

int RunModal(TestDialog& dialog, std::function<void(QWidget*)> person) {
  bool ran = false;
  // Looks for the dialog from inside its loop, then acts.
  auto* poll = new QTimer();
  poll->setInterval(10);
  QElapsedTimer clock;
  clock.start();
  QObject::connect(poll, &QTimer::timeout, [&] {
    if (clock.elapsed() > 8000) {
      dialog.EndDialog(-99);
      return;
    }
    if (ran || !IsWindow(dialog.m_hWnd) || WidgetOf(dialog.m_hWnd) == nullptr) return;
    ran = true;
    QWidget* widget = WidgetOf(dialog.m_hWnd);
    Activate(dialog.m_hWnd);
    person(widget);
  });
  poll->start();
  const int result = dialog.DoModal();
  delete poll;
  return result;
}

int CountNotes(const TestDialog& dialog, int id, WORD code) {
  int count = 0;
  for (const auto& [control, note] : dialog.notes) {
    if (control == id && note == code) ++count;
  }
  return count;
}

}  // namespace qt_test
