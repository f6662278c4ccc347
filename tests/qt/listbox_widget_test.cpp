// The list view beyond the shared contract: the caret drawn, the page measured on the view, a
// burst of rows told to the view at once, and a font in which the rows' columns line up.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QListView>
#include <QScrollBar>
#include <QTest>
#include <cstdio>

#include "platform/listbox.h"
#include "test_dialogs.h"

namespace {

using namespace qt_test;

class ListBoxWidgetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dialog_.Create(kFormDialog));
    ASSERT_TRUE(Activate(dialog_.m_hWnd));
    list_.Attach(dialog_.Item(kList));
    view_ = qobject_cast<QListView*>(WidgetOf(dialog_.Item(kList)));
    ASSERT_NE(nullptr, view_);
  }
  void TearDown() override { dialog_.DestroyWindow(); }

  TestDialog dialog_{kFormDialog};
  CListBox list_;
  QListView* view_ = nullptr;
};

// The caret is seen: a dotted rectangle on its row while the list has the focus, none without.
TEST_F(ListBoxWidgetTest, CaretShowsAsADottedRectangleWhileTheListHasTheFocus) {
  for (const char* row : {"a", "b", "c"}) list_.AddString(row);
  QCoreApplication::processEvents();
  const QRect row0 = view_->visualRect(view_->model()->index(0, 0));
  const QColor ink = view_->palette().color(QPalette::Text);
  // Pixels of the text colour along the top edge of row 0.
  const auto inked_top_edge = [&] {
    const QImage image = view_->viewport()->grab().toImage();
    int inked = 0;
    for (int x = row0.left(); x <= row0.right(); ++x) {
      inked += image.pixelColor(x, row0.top()) == ink ? 1 : 0;
    }
    return inked;
  };
  view_->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(QTest::qWaitFor([&] { return view_->hasFocus(); }));
  EXPECT_EQ(LB_ERR, list_.GetCurSel());
  EXPECT_LT(row0.width() / 4, inked_top_edge()) << "no focus rectangle on the caret row";
  WidgetOf(dialog_.Item(kEdit))->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !view_->hasFocus(); }));
  EXPECT_EQ(0, inked_top_edge());
}

// Page Down moves by the rows the view really shows whole, less one, whatever the font.
TEST_F(ListBoxWidgetTest, PageKeysUseTheRowsTheViewShows) {
  QFont large = view_->font();
  large.setPixelSize(28);
  view_->setFont(large);
  for (int i = 0; i < 30; ++i) list_.AddString(("row " + std::to_string(i)).c_str());
  QCoreApplication::processEvents();
  const int row_height = view_->visualRect(view_->model()->index(0, 0)).height();
  const int whole_rows = view_->viewport()->height() / row_height;
  ASSERT_LE(1, whole_rows);
  view_->setFocus(Qt::TabFocusReason);
  QTest::keyClick(view_, Qt::Key_Home);
  QTest::keyClick(view_, Qt::Key_PageDown);
  QTest::keyClick(view_, Qt::Key_PageDown);
  EXPECT_EQ(2 * (whole_rows - 1), list_.GetCurSel()) << whole_rows << " rows shown whole";
}

// With the button held, the selection follows the mouse; the release notifies once.
TEST_F(ListBoxWidgetTest, DraggingWithTheButtonHeldMovesTheSelection) {
  for (const char* row : {"a", "b", "c", "d"}) list_.AddString(row);
  QCoreApplication::processEvents();
  const auto centre = [&](int row) {
    return view_->visualRect(view_->model()->index(row, 0)).center();
  };
  QTest::mousePress(view_->viewport(), Qt::LeftButton, {}, centre(0));
  QTest::mouseMove(view_->viewport(), centre(2));
  EXPECT_EQ(2, list_.GetCurSel());
  EXPECT_EQ(0, CountNotes(dialog_, kList, LBN_SELCHANGE));
  QTest::mouseRelease(view_->viewport(), Qt::LeftButton, {}, centre(2));
  EXPECT_EQ(2, list_.GetCurSel());
  EXPECT_EQ(1, CountNotes(dialog_, kList, LBN_SELCHANGE));
  QTest::mouseMove(view_->viewport(), centre(3));
  EXPECT_EQ(2, list_.GetCurSel()) << "the button is up: moving selects nothing";
}

TEST_F(ListBoxWidgetTest, BurstOfRowsReachesTheViewInOneSignal) {
  int inserts = 0;
  int resets = 0;
  int changes = 0;
  QAbstractItemModel* model = view_->model();
  QObject::connect(model, &QAbstractItemModel::rowsInserted, [&] { ++inserts; });
  QObject::connect(model, &QAbstractItemModel::modelReset, [&] { ++resets; });
  QObject::connect(model, &QAbstractItemModel::dataChanged, [&] { ++changes; });
  QElapsedTimer clock;
  clock.start();
  // As a search does: thousands of rows while the thread is busy, then every row rewritten.
  for (int i = 0; i < 5000; ++i) {
    std::string row(1, '"');
    row += std::to_string(i);
    row += '"';
    list_.AddString(row.c_str());
  }
  for (int i = 0; i < 5000; ++i) {
    list_.DeleteString(static_cast<UINT>(i));
    list_.InsertString(i, std::to_string(i).c_str());
  }
  QCoreApplication::processEvents();
  view_->repaint();
  std::printf("5000 rows added, rewritten and shown in %lld ms\n",
              static_cast<long long>(clock.elapsed()));
  EXPECT_EQ(1, inserts);
  EXPECT_EQ(0, resets);
  EXPECT_EQ(0, changes);  // rewritten before the view knew of them
  EXPECT_EQ(5000, model->rowCount());
  EXPECT_EQ("4999", model->index(4999, 0).data().toString().toStdString());
}

TEST_F(ListBoxWidgetTest, RowsShowInAFontWhereFullWidthIsTwoHalfWidths) {
  EXPECT_EQ("IPAGothic", QFontInfo(view_->font()).family().toStdString());
  const QFontMetrics metrics(view_->font());
  EXPECT_EQ(6 * metrics.horizontalAdvance(QStringLiteral("a")),
            metrics.horizontalAdvance(QString::fromUtf8("東京都")));
}

}  // namespace
