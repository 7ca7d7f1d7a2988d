// SPDX-License-Identifier: GPL-3.0-or-later
// The message boxes every question goes through.
#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>

#include "Version.h"
#include "support/QStringPrint.h"
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
}

}  // namespace
}  // namespace vornak
