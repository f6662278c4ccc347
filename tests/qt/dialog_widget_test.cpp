// How a dialog looks in Qt: size and font from its template, window decorations from its
// style, statics and icons.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

#include "platform/resource_registry.h"
#include "test_dialogs.h"

namespace {

using namespace qt_test;

class DialogWidgetTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (TestDialog* dialog : {&form_, &about_}) {
      if (IsWindow(dialog->m_hWnd)) dialog->DestroyWindow();
    }
  }
  QLabel* Label(TestDialog& dialog, int id) {
    return qobject_cast<QLabel*>(WidgetOf(dialog.Item(id)));
  }

  TestDialog form_{kFormDialog};
  TestDialog about_{kAboutDialog};
};

TEST_F(DialogWidgetTest, SizeAndPlaceComeFromDialogUnitsInTheMappedFont) {
  ASSERT_TRUE(form_.Create(kFormDialog));
  QWidget* widget = WidgetOf(form_.m_hWnd);
  ASSERT_NE(nullptr, widget);
  // "ＭＳ ゴシック" 9 pt is IPAGothic, 6 x 12 pixels a half-width character.
  EXPECT_EQ("IPAGothic", QFontInfo(widget->font()).family().toStdString());
  // Its line is 13 pixels high (ascent 11, descent 2), a pixel more than the Windows font's.
  const POINT units = platform::QtBackend::Instance()->BaseUnits(
      static_cast<platform::DialogWindow*>(form_.m_hWnd));
  EXPECT_EQ(6, units.x);
  EXPECT_EQ(13, units.y);
  EXPECT_EQ(QSize(300, 195), widget->size());  // 200 x 120 dialog units
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(QPoint((screen.width() - 300) / 2, (screen.height() - 195) / 2),
            widget->geometry().topLeft());
  // Control 102 at 10, 30, 80 x 14 dialog units.
  EXPECT_EQ(QRect(15, 48, 120, 23), WidgetOf(form_.Item(kRightEdit))->geometry());
  EXPECT_EQ(Qt::AlignRight,
            qobject_cast<QLineEdit*>(WidgetOf(form_.Item(kRightEdit)))->alignment() &
                Qt::AlignHorizontal_Mask);
}

TEST_F(DialogWidgetTest, CloseBoxOnlyWithSystemMenuAndNoMinMaxBoxes) {
  ASSERT_TRUE(form_.Create(kFormDialog));
  TestDialog popup(kPopupDialog);
  ASSERT_TRUE(popup.Create(kPopupDialog));
  const Qt::WindowFlags with_menu = WidgetOf(form_.m_hWnd)->windowFlags();
  const Qt::WindowFlags without = WidgetOf(popup.m_hWnd)->windowFlags();
  EXPECT_TRUE(with_menu.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_FALSE(without.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_FALSE(with_menu.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(with_menu.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_FALSE(without.testFlag(Qt::WindowStaysOnTopHint));
  popup.SetWindowPos(CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
  EXPECT_TRUE(WidgetOf(popup.m_hWnd)->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(WidgetOf(popup.m_hWnd)->isVisible());
}

TEST_F(DialogWidgetTest, StaticsShowTheirTextAsTheClassicStaticDraws) {
  ASSERT_TRUE(form_.Create(kFormDialog));
  ASSERT_TRUE(about_.Create(kAboutDialog));
  EXPECT_EQ("A&B C&&D", Label(about_, 201)->text().toStdString());  // SS_NOPREFIX
  EXPECT_EQ("AB C&D", Label(about_, 202)->text().toStdString());
  QLabel* heading = Label(form_, kHeading);
  EXPECT_EQ("見出し&A", heading->text().toStdString());
  EXPECT_EQ(Qt::AlignHCenter | Qt::AlignVCenter, heading->alignment());
  EXPECT_EQ(QFrame::Panel | QFrame::Sunken, heading->frameStyle());
  // The popup's message: "\r\n" is a line break.
  TestDialog popup(kPopupDialog);
  ASSERT_TRUE(popup.Create(kPopupDialog));
  ::SendMessageA(popup.Item(1011), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(
                     Cp932("データを検索しています。\r\nしばらくお待ち下さい。").c_str()));
  EXPECT_EQ("データを検索しています。\nしばらくお待ち下さい。",
            Label(popup, 1011)->text().toStdString());
}

TEST_F(DialogWidgetTest, OwnedDialogInProportionalFontWithIcons) {
  ASSERT_TRUE(form_.Create(kFormDialog));
  ASSERT_TRUE(about_.Create(kAboutDialog, &form_));
  QWidget* about = WidgetOf(about_.m_hWnd);
  EXPECT_EQ("IPAPGothic", QFontInfo(about->font()).family().toStdString());
  // Centred over its owner, having no DS_CENTER.
  const QPoint offset = WidgetOf(form_.m_hWnd)->geometry().center() - about->geometry().center();
  EXPECT_LE(offset.manhattanLength(), 1);
  // The static icon shows the icon resource's pixels.
  QLabel* icon = nullptr;
  for (QLabel* label : about->findChildren<QLabel*>()) {
    if (!label->pixmap().isNull()) icon = label;
  }
  ASSERT_NE(nullptr, icon);
  const QImage image = icon->pixmap().toImage();
  EXPECT_EQ(QSize(32, 32), image.size());
  EXPECT_EQ(0xFF203060u, image.pixel(16, 16));
  EXPECT_EQ(0u, qAlpha(image.pixel(0, 0)));
  // WM_SETICON becomes the window icon.
  EXPECT_TRUE(about->windowIcon().isNull());
  HICON program_icon = platform::FindIconResource(kIcon);
  about_.SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(program_icon));
  ASSERT_FALSE(about->windowIcon().isNull());
  EXPECT_EQ(0xFF203060u, about->windowIcon().pixmap(32, 32).toImage().pixel(16, 16));
}

}  // namespace
