// The list view beyond the shared contract: the keyboard, a burst of rows told to the view at
// once, and a font in which the rows' columns line up.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QFontMetrics>
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

TEST_F(ListBoxWidgetTest, KeysMoveTheSelectionAndNotify) {
  for (int i = 0; i < 30; ++i) list_.AddString(("row " + std::to_string(i)).c_str());
  QCoreApplication::processEvents();
  QTest::mouseClick(view_->viewport(), Qt::LeftButton, {},
                    view_->visualRect(view_->model()->index(3, 0)).center());
  EXPECT_EQ(3, list_.GetCurSel());
  QTest::keyClick(view_, Qt::Key_Down);
  EXPECT_EQ(4, list_.GetCurSel());
  QTest::keyClick(view_, Qt::Key_End);
  EXPECT_EQ(29, list_.GetCurSel());
  QTest::keyClick(view_, Qt::Key_Home);
  EXPECT_EQ(0, list_.GetCurSel());
  QTest::keyClick(view_, Qt::Key_PageDown);
  EXPECT_LT(1, list_.GetCurSel());
  EXPECT_EQ(5, CountNotes(dialog_, kList, LBN_SELCHANGE));
  EXPECT_EQ(Qt::ScrollBarAlwaysOn, view_->verticalScrollBarPolicy());
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
