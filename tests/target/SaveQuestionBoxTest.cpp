// The message boxes behind the dialogs' questions: caption, icon, buttons,
// default button, and what Escape answers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "Version.h"
#include "target/MessageBoxAsker.h"

namespace vornak {
namespace {

struct Seen {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QList<QMessageBox::StandardButton> buttons;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Looks at the box once it is open, then presses key (or clicks press).
Seen AskAndPress(const Message& message, Answer* answer, Qt::Key key, QMessageBox::StandardButton press) {
  Seen seen;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    for (QAbstractButton* b : box->buttons()) seen.buttons.push_back(box->standardButton(b));
    seen.defaultButton = box->standardButton(box->defaultButton());
    if (press != QMessageBox::NoButton)
      QTest::mouseClick(box->button(press), Qt::LeftButton);
    else
      QTest::keyClick(box, key);
  });
  MessageBoxAsker asker;
  *answer = asker.Ask(message);
  return seen;
}

TEST(SaveQuestionBoxTest, ButtonsDefaultsAndEscape) {
  struct Case {
    Buttons buttons;
    int defaultButton;
    QList<QMessageBox::StandardButton> shown;
    QMessageBox::StandardButton expectedDefault;
    Answer onEscape;
  };
  const std::vector<Case> cases = {
      {Buttons::Ok, 0, {QMessageBox::Ok}, QMessageBox::Ok, Answer::Ok},
      {Buttons::OkCancel, 0, {QMessageBox::Ok, QMessageBox::Cancel}, QMessageBox::Ok, Answer::Cancel},
      {Buttons::RetryCancel,
       1,
       {QMessageBox::Retry, QMessageBox::Cancel},
       QMessageBox::Cancel,
       Answer::Cancel},
      {Buttons::YesNo, 0, {QMessageBox::Yes, QMessageBox::No}, QMessageBox::Yes, Answer::No},
      {Buttons::YesNo, 1, {QMessageBox::Yes, QMessageBox::No}, QMessageBox::No, Answer::No},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.buttons) * 10 + c.defaultButton);
    Answer answer = Answer::Retry;
    const Seen seen = AskAndPress({"Line one\nline <b>two</b>", Icon::Question, c.buttons, c.defaultButton},
                                  &answer, Qt::Key_Escape, QMessageBox::NoButton);
    EXPECT_EQ(seen.title, kApplicationTitle);
    EXPECT_EQ(seen.text, "Line one\nline <b>two</b>");
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    auto sorted = seen.buttons;
    std::sort(sorted.begin(), sorted.end());
    auto expected = c.shown;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(sorted, expected);
    EXPECT_EQ(seen.defaultButton, c.expectedDefault);
    EXPECT_EQ(answer, c.onEscape);
  }
}

TEST(SaveQuestionBoxTest, ReturnsTheButtonPressed) {
  struct Case {
    Buttons buttons;
    QMessageBox::StandardButton press;
    Answer answer;
    Icon icon;
    QMessageBox::Icon qtIcon;
  };
  for (const Case& c : std::vector<Case>{
           {Buttons::RetryCancel, QMessageBox::Retry, Answer::Retry, Icon::Exclamation, QMessageBox::Warning},
           {Buttons::YesNo, QMessageBox::Yes, Answer::Yes, Icon::Question, QMessageBox::Question},
           {Buttons::OkCancel, QMessageBox::Ok, Answer::Ok, Icon::Information, QMessageBox::Information},
           {Buttons::OkCancel, QMessageBox::Cancel, Answer::Cancel, Icon::None, QMessageBox::NoIcon}}) {
    Answer answer = Answer::No;
    const Seen seen = AskAndPress({"?", c.icon, c.buttons, 0}, &answer, Qt::Key_unknown, c.press);
    EXPECT_EQ(seen.icon, c.qtIcon);
    EXPECT_EQ(answer, c.answer);
  }
}

}  // namespace
}  // namespace vornak
