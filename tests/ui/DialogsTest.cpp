// SPDX-License-Identifier: GPL-3.0-or-later
// The message boxes every question goes through, the about box and the artwork.
#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>

#include "Version.h"
#include "support/QStringPrint.h"
#include "ui/AboutDialog.h"
#include "ui/Artwork.h"
#include "ui/MessageBoxAsker.h"
#include "ui/WindowKit.h"

namespace vornak {
namespace {

using SB = QMessageBox::StandardButton;

// Caption, text (never markup), icon, buttons and default of the open box; then a press (NoButton: Escape).
TEST(MessageBoxAskerTest, CaptionIconButtonsDefaultAndAnswer) {
  // clang-format off
  const struct { Buttons buttons; int defaultButton; Icon icon; QMessageBox::Icon qtIcon; QList<SB> shown;
                 SB press; Answer answer; } rows[] = {
      {Buttons::Ok, 0, Icon::Exclamation, QMessageBox::Warning, {SB::Ok}, SB::NoButton, Answer::Ok},
      {Buttons::OkCancel, 0, Icon::Information, QMessageBox::Information, {SB::Ok, SB::Cancel}, SB::NoButton, Answer::Cancel},
      {Buttons::OkCancel, 0, Icon::None, QMessageBox::NoIcon, {SB::Ok, SB::Cancel}, SB::Ok, Answer::Ok},
      {Buttons::RetryCancel, 1, Icon::Exclamation, QMessageBox::Warning, {SB::Retry, SB::Cancel}, SB::Retry, Answer::Retry},
      {Buttons::YesNo, 0, Icon::Question, QMessageBox::Question, {SB::Yes, SB::No}, SB::NoButton, Answer::No},
      {Buttons::YesNo, 1, Icon::Question, QMessageBox::Question, {SB::Yes, SB::No}, SB::Yes, Answer::Yes}};
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(static_cast<int>(r.buttons) * 10 + r.defaultButton);
    test::onModal<QMessageBox>([&](QMessageBox* box) {
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->windowTitle() + "|" + box->text(),
                QString(kApplicationTitle) + "|Line one\nline <b>two</b>");
      EXPECT_EQ(box->textFormat(), Qt::PlainText);
      EXPECT_EQ(box->icon(), r.qtIcon);
      QList<SB> buttons;
      for (QAbstractButton* b : box->buttons()) buttons.push_back(box->standardButton(b));
      std::sort(buttons.begin(), buttons.end());
      EXPECT_EQ(buttons, r.shown);
      EXPECT_EQ(box->standardButton(box->defaultButton()), r.shown[r.defaultButton]);
      r.press == SB::NoButton ? QTest::keyClick(box, Qt::Key_Escape)
                              : QTest::mouseClick(box->button(r.press), Qt::LeftButton);
    });
    EXPECT_EQ(MessageBoxAsker().ask({"Line one\nline <b>two</b>", r.icon, r.buttons, r.defaultButton}),
              r.answer);
  }
  // A 255-byte name without a blank wraps inside the box instead of being cut at its edge.
  const QString text = "Cannot open the file /media/" + QString(250, QChar('n')) + ".";
  test::onModal<QMessageBox>([&](QMessageBox* box) {
    EXPECT_EQ(QString(box->text()).remove(QChar(0x200B)), text);
    const QLabel* label = box->findChild<QLabel*>("qt_msgbox_label");
    EXPECT_LE(label->minimumSizeHint().width(), label->width());
    EXPECT_LE(box->width(), box->screen()->availableGeometry().width());
    box->close();
  });
  MessageBoxAsker().ask({text.toStdString(), Icon::Exclamation, Buttons::Ok, 0});
}

TEST(AboutDialogTest, OpensTheAddressAndClosesOnEnterOnly) {
  std::vector<QUrl> opened;
  AboutDialog box{nullptr, [&opened](const QUrl& url) { opened.push_back(url); }};
  box.show();
  QApplication::setActiveWindow(&box);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  EXPECT_EQ(box.findChild<QLabel*>("versionLabel")->text(), "Version 2.2");
  for (const char* label : {"webLabel", "iconLabel", "versionLabel"})
    QTest::mouseClick(box.findChild<QLabel*>(label), Qt::LeftButton);
  EXPECT_EQ(opened, (std::vector<QUrl>(2, QUrl(QString::fromUtf8(kWebAddress)))));
  QTest::keyClick(box.focusWidget(), Qt::Key_Escape);
  EXPECT_TRUE(box.isVisible());
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
    box.show();
    QTest::keyClick(box.focusWidget(), key);
    EXPECT_FALSE(box.isVisible()) << key;
    EXPECT_EQ(box.result(), QDialog::Accepted);
  }
  for (const int size : {16, 32, 48, 256})
    EXPECT_TRUE(appIcon().availableSizes().contains(QSize(size, size)));
  for (const QCursor& pointer : {splitCursor(), handCursor()})  // the hot spot lies on the drawing
    EXPECT_GT(qAlpha(pointer.pixmap().toImage().pixel(pointer.hotSpot())), 0) << pointer.hotSpot().x();
}

}  // namespace
}  // namespace vornak
