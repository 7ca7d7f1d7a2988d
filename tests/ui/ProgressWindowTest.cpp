// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>

#include "support/QStringPrint.h"
#include "support/ScriptedAsker.h"
#include "ui/ProgressDialog.h"

namespace vornak {
namespace {

TEST(ProgressWindowTest, EveryWayOfCancellingAsksAndOnlyYesSetsTheFlag) {
  const std::pair<const char*, std::function<void(ProgressDialog&)>> ways[] = {
      {"button", [](ProgressDialog& p) { QTest::mouseClick(p.cancelButton, Qt::LeftButton); }},
      {"Escape", [](ProgressDialog& p) { QTest::keyClick(&p, Qt::Key_Escape); }},
      {"Enter", [](ProgressDialog& p) { QTest::keyClick(&p, Qt::Key_Return); }},
      {"close box", [](ProgressDialog& p) { p.close(); }},
  };
  for (const auto& [name, act] : ways) {
    for (const Answer answer : {Answer::No, Answer::Yes}) {
      SCOPED_TRACE(std::string(name) + (answer == Answer::Yes ? " Yes" : " No"));
      ScriptedAsker asker{answer};
      ProgressDialog progress(nullptr, &asker);
      progress.show();
      progress.cancelButton->setFocus();
      act(progress);
      EXPECT_EQ(asker.messages, (std::vector<Message>{{"Do you really want to cancel the process?",
                                                       Icon::Question, Buttons::YesNo, 0}}));
      EXPECT_EQ(progress.cancelFlag(), answer == Answer::Yes);
      EXPECT_TRUE(progress.isVisible());  // the window never goes away by the user's hand
      // A later No does not take back a confirmed cancel.
      asker.push(Answer::No);
      progress.confirmCancel();
      EXPECT_EQ(progress.cancelFlag(), answer == Answer::Yes);
    }
  }
}

TEST(ProgressWindowTest, YieldServesCancelUnloadFromCodeNeverAsksEachLoadStartsClean) {
  ScriptedAsker asker{Answer::Yes};
  QWidget owner;
  auto first = std::make_unique<ProgressDialog>(&owner, &asker);
  first->show();
  QMetaObject::invokeMethod(first->cancelButton, "click", Qt::QueuedConnection);
  EXPECT_FALSE(first->cancelFlag());
  first->yield();  // serves the pending click
  ASSERT_TRUE(first->cancelFlag());
  first->setProgress(42.9f);
  first->unloadProgress();
  EXPECT_FALSE(first->isVisible());
  EXPECT_EQ(asker.messages.size(), 1u);
  first.reset();

  const ProgressDialog second(&owner, &asker);
  EXPECT_FALSE(second.cancelled);
  EXPECT_EQ(second.windowTitle(), "Processing...");
  EXPECT_EQ(second.progressBar->value(), 0);
}

}  // namespace
}  // namespace vornak
