// A modeless popup must be on the screen, painted, when Create returns: the caller blocks the
// thread right after, and no event is processed until the search ends.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

#include "test_dialogs.h"

namespace {

using namespace qt_test;

// The popup as the program makes it: topmost, its message set in OnInitDialog.
void MakePopup(TestDialog& popup) {
  popup.on_init = [](TestDialog& dialog) {
    RECT rect;
    dialog.GetWindowRect(&rect);
    dialog.SetWindowPos(CWnd::wndTopMost, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    ::SendMessageA(dialog.Item(1011), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(
                       Cp932("データを検索しています。\r\nしばらくお待ち下さい。").c_str()));
  };
}

int DarkPixels(const QImage& image, const QRect& area) {
  int dark = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (qGray(image.pixel(x, y)) < 96) ++dark;
    }
  }
  return dark;
}

TEST(PopupTest, PaintedWithItsMessageBeforeCreateReturns) {
  TestDialog popup(kPopupDialog);
  MakePopup(popup);
  ASSERT_TRUE(popup.Create(kPopupDialog));
  // No event processing from here on, as under a search. What the screen holds:
  QWidget* widget = WidgetOf(popup.m_hWnd);
  ASSERT_NE(nullptr, widget);
  const QImage shot = QGuiApplication::primaryScreen()->grabWindow(widget->winId()).toImage();
  ASSERT_EQ(widget->size(), shot.size());
  const QRect label = WidgetOf(popup.Item(1011))->geometry();
  const int upper = DarkPixels(shot, QRect(label.left(), label.top(), label.width(), 12));
  const int lower = DarkPixels(shot, QRect(label.left(), label.top() + 14, label.width(), 12));
  EXPECT_LT(100, upper) << "first line not painted";
  EXPECT_LT(100, lower) << "second line not painted";
  EXPECT_TRUE(widget->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  popup.DestroyWindow();
  EXPECT_FALSE(widget->isVisible());
}

}  // namespace
