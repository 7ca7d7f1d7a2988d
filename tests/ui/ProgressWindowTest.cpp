// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>

#include "support/QStringPrint.h"
#include "support/ScriptedAsker.h"
#include "ui/Progress.h"

namespace vornak {
namespace {

TEST(ProgressWindowTest, EveryWayOfCancellingAsksAndOnlyYesSetsTheFlag) {
  const std::pair<const char*, std::function<void(Progress&)>> ways[] = {
      {"button", [](Progress& p) { QTest::mouseClick(p.butCancel, Qt::LeftButton); }},
      {"Escape", [](Progress& p) { QTest::keyClick(&p, Qt::Key_Escape); }},
      {"Enter", [](Progress& p) { QTest::keyClick(&p, Qt::Key_Return); }},
      {"close box", [](Progress& p) { p.close(); }},
  };
  for (const auto& [name, act] : ways) {
    for (const Answer answer : {Answer::No, Answer::Yes}) {
      SCOPED_TRACE(std::string(name) + (answer == Answer::Yes ? " Yes" : " No"));
      ScriptedAsker asker{answer};
      Progress progress(nullptr, &asker);
      progress.show();
      progress.butCancel->setFocus();
      act(progress);
      EXPECT_EQ(asker.messages, (std::vector<Message>{{"Do you really want to cancel the process?",
                                                       Icon::Question, Buttons::YesNo, 0}}));
      EXPECT_EQ(progress.cancelFlag(), answer == Answer::Yes);
      EXPECT_TRUE(progress.isVisible());  // the window never goes away by the user's hand
      // A later No does not take back a confirmed cancel.
      asker.push(Answer::No);
      progress.butCancel_Click();
      EXPECT_EQ(progress.cancelFlag(), answer == Answer::Yes);
    }
  }
}

TEST(ProgressWindowTest, YieldServesCancelUnloadFromCodeNeverAsksEachLoadStartsClean) {
  ScriptedAsker asker{Answer::Yes};
  QWidget owner;
  auto first = std::make_unique<Progress>(&owner, &asker);
  first->show();
  QMetaObject::invokeMethod(first->butCancel, "click", Qt::QueuedConnection);
  EXPECT_FALSE(first->cancelFlag());
  first->yield();  // serves the pending click
  ASSERT_TRUE(first->cancelFlag());
  first->setProgress(42.9f);
  first->unloadProgress();
  EXPECT_FALSE(first->isVisible());
  EXPECT_EQ(asker.messages.size(), 1u);
  first.reset();

  const Progress second(&owner, &asker);
  EXPECT_FALSE(second.bCancelFlag);
  EXPECT_EQ(second.windowTitle(), "Processing...");
  EXPECT_EQ(second.ProgressBar->value(), 0);
}

}  // namespace
}  // namespace vornak
