// The about box driven through its real widgets, and the embedded artwork.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <vector>

#include "Version.h"
#include "app/AboutBox.h"
#include "app/Resources.h"

namespace vornak {
namespace {

struct AboutFixture : ::testing::Test {
  std::vector<QUrl> opened;
  AboutBox box{nullptr, [this](const QUrl& url) { opened.push_back(url); }};

  void SetUp() override {
    box.show();
    QApplication::setActiveWindow(&box);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  }
  // Keys go where the user's keys go: to the widget that has the focus.
  QWidget* Focused() { return box.focusWidget() != nullptr ? box.focusWidget() : &box; }
};

TEST_F(AboutFixture, ShowsProductVersionAndMakerData) {
  EXPECT_EQ(box.windowTitle(), "About Vornak");
  EXPECT_EQ(box.Label1->text(), "Vornak Split your files");
  EXPECT_EQ(box.lblVersion->text(), "Version 2.2");
  EXPECT_EQ(box.lblDescription->text(), "Split large files into multiple parts.");
  EXPECT_EQ(box.lblCopyright->text(), QString::fromUtf8(kLegalNotice));
  EXPECT_EQ(box.Label4->text(), "Worldwide Web: ");
  EXPECT_EQ(box.lblWWW->text(), QString::fromUtf8(kWebAddress));
  EXPECT_EQ(box.lblWWW->palette().color(QPalette::WindowText), QColor(0, 0, 255));
  EXPECT_TRUE(box.lblWWW->font().underline());
  EXPECT_TRUE(box.Command1->isDefault());
  EXPECT_EQ(box.focusWidget(), box.Command1);
  EXPECT_TRUE(box.isModal());
}

TEST_F(AboutFixture, EnterClosesTheBox) {
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
    box.show();
    QTest::keyClick(Focused(), key);
    EXPECT_FALSE(box.isVisible()) << key;
    EXPECT_EQ(box.result(), QDialog::Accepted);
  }
}

TEST_F(AboutFixture, EscDoesNothingButTheCloseBoxCloses) {
  QTest::keyClick(Focused(), Qt::Key_Escape);
  QTest::keyClick(&box, Qt::Key_Escape);
  EXPECT_TRUE(box.isVisible());
  EXPECT_TRUE(box.close());
  EXPECT_FALSE(box.isVisible());
}

TEST_F(AboutFixture, IconAndAddressOpenTheSameAddressAndTheBoxStaysOpen) {
  QTest::mouseClick(box.lblWWW, Qt::LeftButton);
  QTest::mouseClick(box.Image1, Qt::LeftButton);
  QTest::mouseClick(box.lblVersion, Qt::LeftButton);
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[0], opened[1]);
  EXPECT_EQ(opened[0], QUrl(QString::fromUtf8(kWebAddress)));
  EXPECT_TRUE(box.isVisible());
}

TEST_F(AboutFixture, OpensWhateverTheAddressLabelShows) {
  box.lblWWW->setText(QStringLiteral("https://example.net/other"));
  QTest::mouseClick(box.Image1, Qt::LeftButton);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].toString(), "https://example.net/other");
}

TEST_F(AboutFixture, LinkAndIconShowTheHandPointer) {
  for (QWidget* w : {static_cast<QWidget*>(box.Image1), static_cast<QWidget*>(box.lblWWW)}) {
    EXPECT_EQ(w->cursor().shape(), Qt::BitmapCursor) << w->objectName().toStdString();
    EXPECT_EQ(w->cursor().hotSpot(), QPoint(12, 5));
  }
}

TEST(Resources, IconHasEverySizeAndPointersTheirHotSpots) {
  InitResources();
  InitResources();  // twice does no harm
  const QIcon icon = AppIcon();
  for (const int size : {16, 32, 48, 256}) {
    EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
  }
  EXPECT_TRUE(QFile::exists(":/icons/vornak.svg"));
  const struct {
    QCursor cursor;
    QPoint hotSpot;
  } pointers[] = {{SplitCursor(), {17, 15}}, {HandCursor(), {12, 5}}};
  for (const auto& [cursor, hotSpot] : pointers) {
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.pixmap().size(), QSize(32, 32));
    EXPECT_EQ(cursor.hotSpot(), hotSpot);
    // The hot spot lies on the drawing, not on the transparent background.
    EXPECT_GT(qAlpha(cursor.pixmap().toImage().pixel(hotSpot)), 0);
  }
}

}  // namespace
}  // namespace vornak
