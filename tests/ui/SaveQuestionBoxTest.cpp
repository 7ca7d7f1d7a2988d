// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>

#include "Version.h"
#include "ui/MessageBoxAsker.h"

namespace {

using namespace vornak;

using SB = QMessageBox::StandardButton;

// Caption, text, icon, buttons and default of the open box; then press (Escape for NoButton).
TEST(SaveQuestionBoxTest, CaptionIconButtonsDefaultAndAnswer) {
  struct Row {
    Buttons buttons;
    int defaultButton;
    Icon icon;
    QMessageBox::Icon qtIcon;
    QList<SB> shown;
    SB press;
    Answer answer;
  };
  // clang-format off
  const Row rows[] = {
      {Buttons::Ok, 0, Icon::Exclamation, QMessageBox::Warning, {SB::Ok}, SB::NoButton, Answer::Ok},
      {Buttons::OkCancel, 0, Icon::Information, QMessageBox::Information, {SB::Ok, SB::Cancel}, SB::NoButton, Answer::Cancel},
      {Buttons::OkCancel, 0, Icon::None, QMessageBox::NoIcon, {SB::Ok, SB::Cancel}, SB::Ok, Answer::Ok},
      {Buttons::RetryCancel, 1, Icon::Exclamation, QMessageBox::Warning, {SB::Retry, SB::Cancel}, SB::NoButton, Answer::Cancel},
      {Buttons::RetryCancel, 1, Icon::Exclamation, QMessageBox::Warning, {SB::Retry, SB::Cancel}, SB::Retry, Answer::Retry},
      {Buttons::YesNo, 0, Icon::Question, QMessageBox::Question, {SB::Yes, SB::No}, SB::NoButton, Answer::No},
      {Buttons::YesNo, 1, Icon::Question, QMessageBox::Question, {SB::Yes, SB::No}, SB::Yes, Answer::Yes}};
  // clang-format on
  for (const Row& r : rows) {
    SCOPED_TRACE(static_cast<int>(r.buttons) * 10 + r.defaultButton);
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->windowTitle(), kApplicationTitle);
      EXPECT_EQ(box->text(), "Line one\nline <b>two</b>");
      EXPECT_EQ(box->icon(), r.qtIcon);
      QList<SB> buttons;
      for (QAbstractButton* b : box->buttons()) buttons.push_back(box->standardButton(b));
      std::sort(buttons.begin(), buttons.end());
      EXPECT_EQ(buttons, r.shown);
      EXPECT_EQ(box->standardButton(box->defaultButton()), r.shown[r.defaultButton]);
      if (r.press == SB::NoButton)
        QTest::keyClick(box, Qt::Key_Escape);
      else
        QTest::mouseClick(box->button(r.press), Qt::LeftButton);
    });
    MessageBoxAsker asker;
    EXPECT_EQ(asker.ask({"Line one\nline <b>two</b>", r.icon, r.buttons, r.defaultButton}), r.answer);
  }
  // A 255-byte name without a blank wraps inside the box instead of being cut at its edge.
  const QString path = "/media/" + QString(250, QChar('n'));
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    auto* label = box->findChild<QLabel*>("qt_msgbox_label");
    EXPECT_EQ(QString(box->text()).remove(QChar(0x200B)), "Cannot open the file " + path + ".");
    EXPECT_LE(label->minimumSizeHint().width(), label->width());
    EXPECT_LE(box->width(), box->screen()->availableGeometry().width());
    box->close();
  });
  MessageBoxAsker().ask(
      {("Cannot open the file " + path + ".").toStdString(), Icon::Exclamation, Buttons::Ok, 0});
}

}  // namespace
