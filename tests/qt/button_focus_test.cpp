// What a person sees of the push buttons: the focused one shows its focus as the style draws
// it, from the moment the dialog opens, and the default frame is on the button Enter presses.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include "platform/resource_registry.h"
#include "test_dialogs.h"

namespace {

using namespace qt_test;

constexpr UINT kButtonsDialog = 9004;
constexpr int kPlain = 301;    // the first tab stop
constexpr int kDefault = 302;  // BS_DEFPUSHBUTTON, the same size and text as kPlain
constexpr int kBox = 303;

void RegisterButtonsDialog() {
  using platform::ControlTemplate;
  using platform::WindowKind;
  platform::RegisterDialogTemplate(
      {static_cast<int>(kButtonsDialog),
       Cp932("ボタン"),
       WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT | WS_VISIBLE | DS_CENTER,
       0,
       160,
       60,
       Cp932("ＭＳ ゴシック"),
       9,
       {
           ControlTemplate{kPlain, WindowKind::PushButton, Cp932("同じ"), WS_TABSTOP, 10, 10, 60,
                           16},
           ControlTemplate{kDefault, WindowKind::PushButton, Cp932("同じ"),
                           BS_DEFPUSHBUTTON | WS_TABSTOP, 90, 10, 60, 16},
           ControlTemplate{kBox, WindowKind::Edit, "", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 10,
                           36, 60, 14},
       }});
}

// Pixels that differ between two pictures of the same size (all of them when the sizes differ).
int Differing(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return a.width() * a.height();
  int count = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) count += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
  }
  return count;
}

class ButtonFocusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterButtonsDialog();
    ASSERT_TRUE(dialog_.Create(kButtonsDialog));
    ASSERT_TRUE(Activate(dialog_.m_hWnd));
  }
  void TearDown() override { dialog_.DestroyWindow(); }
  QImage Picture(int id) { return WidgetOf(dialog_.Item(id))->grab().toImage(); }

  TestDialog dialog_{kButtonsDialog};
};

TEST_F(ButtonFocusTest, FocusedButtonShowsItFromTheStartAndTheDefaultFrameFollowsTheFocus) {
  // Opened: the first tab stop has the focus, given by the core, not by a key.
  ASSERT_EQ(dialog_.Item(kPlain), ::GetFocus());
  const QImage plain_focused = Picture(kPlain);
  const QImage default_beside_focus = Picture(kDefault);

  ::SetFocus(dialog_.Item(kBox));
  const QImage plain = Picture(kPlain);
  const QImage default_idle = Picture(kDefault);
  EXPECT_LT(0, Differing(plain_focused, plain)) << "the focused button looks unfocused";
  EXPECT_LT(0, Differing(default_idle, plain)) << "no default frame while an edit has the focus";
  // While another push button has the focus, Enter presses that one, and the frame is there.
  EXPECT_EQ(0, Differing(default_beside_focus, plain));

  // Focused, the default button looks as the other one did with the focus.
  ::SetFocus(dialog_.Item(kDefault));
  EXPECT_EQ(0, Differing(Picture(kDefault), plain_focused));
  EXPECT_EQ(0, Differing(Picture(kPlain), plain));
}

}  // namespace
