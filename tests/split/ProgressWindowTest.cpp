#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>

#include "split/Progress.h"
#include "support/ScriptedAsker.h"

namespace vornak {
namespace {

const Message kCancelQuestion{"Do you really want to cancel the process?", Icon::Question, Buttons::YesNo, 0};

struct Way {
  const char* name;
  std::function<void(Progress&)> act;
};

const std::vector<Way>& Ways() {
  static const std::vector<Way> ways = {
      {"button", [](Progress& p) { QTest::mouseClick(p.butCancel, Qt::LeftButton); }},
      {"Escape", [](Progress& p) { QTest::keyClick(&p, Qt::Key_Escape); }},
      {"Enter", [](Progress& p) { QTest::keyClick(&p, Qt::Key_Return); }},
      {"close box", [](Progress& p) { p.close(); }},
  };
  return ways;
}

TEST(ProgressWindowTest, EveryWayOfCancellingAsksAndOnlyYesSetsTheFlag) {
  for (const Way& way : Ways()) {
    for (const Answer answer : {Answer::No, Answer::Yes}) {
      SCOPED_TRACE(std::string(way.name) + (answer == Answer::Yes ? " Yes" : " No"));
      ScriptedAsker asker{answer};
      Progress progress(nullptr, &asker);
      progress.show();
      progress.butCancel->setFocus();
      bool shownWhileAsked = false;
      asker.onAsk = [&](const Message&) { shownWhileAsked = progress.isVisible(); };
      way.act(progress);
      ASSERT_EQ(asker.messages.size(), 1u);
      EXPECT_EQ(asker.messages[0], kCancelQuestion);
      EXPECT_TRUE(shownWhileAsked);
      EXPECT_EQ(progress.bCancelFlag, answer == Answer::Yes);
      EXPECT_EQ(progress.CancelFlag(), answer == Answer::Yes);
      // The window never goes away by the user's hand.
      EXPECT_TRUE(progress.isVisible());
    }
  }
}

TEST(ProgressWindowTest, LaterNoDoesNotClearAConfirmedCancel) {
  ScriptedAsker asker{Answer::Yes, Answer::No};
  Progress progress(nullptr, &asker);
  progress.show();
  progress.butCancel_Click();
  progress.butCancel_Click();
  EXPECT_TRUE(progress.bCancelFlag);
}

TEST(ProgressWindowTest, UnloadFromCodeNeverAsks) {
  ScriptedAsker asker;
  auto progress = std::make_unique<Progress>(nullptr, &asker);
  progress->show();
  progress->bCancelFlag = true;
  progress->UnloadProgress();
  EXPECT_FALSE(progress->isVisible());
  EXPECT_TRUE(asker.messages.empty());
}

TEST(ProgressWindowTest, EachLoadStartsClean) {
  ScriptedAsker asker{Answer::Yes};
  QWidget owner;
  auto first = std::make_unique<Progress>(&owner, &asker);
  first->SetTitle("Splitting...");
  first->SetStatus1("/data/movie.avi");
  first->SetStatus2("into /data/movie01.avi");
  first->SetProgress(42.9f);
  first->show();
  first->butCancel_Click();
  ASSERT_TRUE(first->bCancelFlag);
  EXPECT_EQ(first->windowTitle(), "Splitting...");
  EXPECT_EQ(first->lblStatus1->text(), "/data/movie.avi");
  EXPECT_EQ(first->lblStatus2->text(), "into /data/movie01.avi");
  EXPECT_EQ(first->ProgressBar->value(), 42);
  first->Unload();
  first.reset();

  const Progress second(&owner, &asker);
  EXPECT_FALSE(second.bCancelFlag);
  EXPECT_EQ(second.windowTitle(), "Processing...");
  EXPECT_EQ(second.lblStatus1->text(), "");
  EXPECT_EQ(second.lblStatus2->text(), "");
  EXPECT_EQ(second.ProgressBar->minimum(), 0);
  EXPECT_EQ(second.ProgressBar->maximum(), 100);
  EXPECT_EQ(second.ProgressBar->value(), 0);
}

TEST(ProgressWindowTest, ProgressValueStaysInRange) {
  ScriptedAsker asker;
  Progress progress(nullptr, &asker);
  for (const auto& [percent, shown] : std::vector<std::pair<float, int>>{
           {0.0f, 0}, {99.99f, 99}, {100.0f, 100}, {250.0f, 100}, {-3.0f, 0}}) {
    progress.SetProgress(percent);
    EXPECT_EQ(progress.ProgressBar->value(), shown) << percent;
  }
}

TEST(ProgressWindowTest, QuestionsAndMainWindowOperationsReachTheirTargets) {
  ScriptedAsker asker{Answer::Retry};
  Progress progress(nullptr, &asker);
  int enabled = 0;
  std::string status;
  progress.SetMainCallbacks([&] { ++enabled; }, [&](const std::string& s) { status = s; });
  EXPECT_EQ(progress.Ask({"Insert a medium", Icon::Exclamation, Buttons::RetryCancel, 0}), Answer::Retry);
  progress.EnableMain();
  progress.SetMainStatus("Done.");
  EXPECT_EQ(enabled, 1);
  EXPECT_EQ(status, "Done.");

  // A yield lets a pending click on Cancel run.
  asker.Push(Answer::Yes);
  progress.show();
  QMetaObject::invokeMethod(progress.butCancel, "click", Qt::QueuedConnection);
  EXPECT_FALSE(progress.CancelFlag());
  progress.Yield();
  EXPECT_TRUE(progress.CancelFlag());
}

TEST(ProgressWindowTest, FixedWindowWithCancelAsDefault) {
  ScriptedAsker asker;
  Progress progress(nullptr, &asker);
  EXPECT_EQ(progress.minimumSize(), progress.maximumSize());
  EXPECT_FALSE(progress.isModal());
  EXPECT_TRUE(progress.butCancel->isDefault());
  EXPECT_EQ(progress.butCancel->text(), "Cancel");
  for (QWidget* w : std::initializer_list<QWidget*>{progress.lblStatus1, progress.lblStatus2,
                                                    progress.ProgressBar, progress.butCancel})
    EXPECT_TRUE(progress.rect().contains(w->geometry())) << w->objectName().toStdString();
}

}  // namespace
}  // namespace vornak
