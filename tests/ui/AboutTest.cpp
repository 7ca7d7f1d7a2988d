// SPDX-License-Identifier: GPL-3.0-or-later
// The about box driven through its real widgets, and the embedded artwork.
#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>

#include "Version.h"
#include "ui/AboutDialog.h"
#include "ui/Artwork.h"

namespace vornak {
namespace {

TEST(AboutBoxTest, ShowsTheVersionOpensTheAddressAndClosesOnEnterOnly) {
  std::vector<QUrl> opened;
  AboutDialog box{nullptr, [&opened](const QUrl& url) { opened.push_back(url); }};
  box.show();
  QApplication::setActiveWindow(&box);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  EXPECT_EQ(box.versionLabel->text(), "Version 2.2");
  QTest::mouseClick(box.webLabel, Qt::LeftButton);
  QTest::mouseClick(box.iconLabel, Qt::LeftButton);
  QTest::mouseClick(box.versionLabel, Qt::LeftButton);
  EXPECT_EQ(opened, (std::vector<QUrl>(2, QUrl(QString::fromUtf8(kWebAddress)))));
  QTest::keyClick(box.focusWidget(), Qt::Key_Escape);
  EXPECT_TRUE(box.isVisible());
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
    box.show();
    QTest::keyClick(box.focusWidget(), key);
    EXPECT_FALSE(box.isVisible()) << key;
    EXPECT_EQ(box.result(), QDialog::Accepted);
  }
}

TEST(Resources, IconHasEverySizeAndPointersTheirHotSpots) {
  initResources();
  for (const int size : {16, 32, 48, 256})
    EXPECT_TRUE(appIcon().availableSizes().contains(QSize(size, size)));
  const std::pair<QCursor, QPoint> pointers[] = {{splitCursor(), {17, 15}}, {handCursor(), {12, 5}}};
  for (const auto& [cursor, hotSpot] : pointers) {
    EXPECT_EQ(cursor.hotSpot(), hotSpot);
    EXPECT_GT(qAlpha(cursor.pixmap().toImage().pixel(hotSpot)), 0);  // on the drawing
  }
}

}  // namespace
}  // namespace vornak
