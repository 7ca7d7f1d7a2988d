// SPDX-License-Identifier: GPL-3.0-or-later
// Splits started from the main window and carried out through the real Save
// dialog and progress window: completion, a cancelled dialog, cancels from the
// progress window, existing parts, a source that vanished, and media swapped.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/mount.h>
#endif

#include <QtTest>
#include <QtWidgets>
#include <filesystem>
#include <map>

#include "fileservices/HugeFileFunctions.h"
#include "split/SplitMessages.h"
#include "support/Media.h"
#include "support/QStringPrint.h"
#include "support/ScriptedAsker.h"
#include "ui/MainWindow.h"
#include "ui/MessageBoxAsker.h"
#include "ui/ProgressDialog.h"
#include "ui/StatusLine.h"
#include "ui/TargetDialog.h"
#include "ui/WindowKit.h"

namespace vornak {
namespace {

namespace fs = std::filesystem;
using test::find;
using test::readAll;

enum class InDialog { TargetDialog, Cancel, SaveWithOverwrite, RemoveSourceThenSave, SaveThenEnterTwice };
enum class CancelBy { Nothing, Button, Escape, CloseBox };

struct Rig {
  test::TempDir dir;
  ScriptedAsker asker;
  std::unique_ptr<MainWindow> main;
  std::string content;  // bytes that differ from part to part
  std::string source;
  int dialogs = 0;                        // Save dialogs shown; all but the first are cancelled
  QString statusWhileSplitting;           // with the pointer over the disabled split button
  std::function<void(QWidget*)> onShown;  // for the Save dialog and the progress window

  explicit Rig(std::size_t size = 3000000, const char* partSize = "1 MB") : content(size, '\0') {
    for (std::size_t i = 0; i < size; ++i) content[i] = static_cast<char>(i * 7 + i / 251);
    const std::string settings = dir.writeFile("settings.ini", "[Preferences]\nFileBufferSize=4096\n");
    main = std::make_unique<MainWindow>(asker, nullptr, MainWindow::Options{test::q(settings), {}});
    main->show();
    source = dir.writeFile("movie.avi", content);
    find<QLineEdit>(main.get(), "fileEdit")->setText(test::q(source));
    find<QComboBox>(main.get(), "partSizeBox")->setEditText(partSize);
    main->setup().state().target.folder = dir.makeFolder("parts");
  }

  // Presses Enter in the main window; answers the Save dialog and, once the
  // progress window shows, acts on it.
  void split(InDialog inDialog, CancelBy cancelBy = CancelBy::Nothing) {
    QPointer<TargetDialog> answered;
    bool progressSeen = false;
    dialogs = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
      auto* progress = main->findChild<ProgressDialog*>();
      if (auto* save = qobject_cast<TargetDialog*>(QApplication::activeModalWidget());
          save && save != answered) {
        answered = save;
        if (onShown) onShown(save);
        if (++dialogs > 1 || inDialog == InDialog::Cancel)
          return find<QPushButton>(save, "cancelButton")->click();
        if (inDialog == InDialog::SaveWithOverwrite) find<QCheckBox>(save, "overwriteBox")->setChecked(true);
        if (inDialog == InDialog::RemoveSourceThenSave) fs::remove(source);
        find<QPushButton>(save, "okButton")->click();
        for (int i = 0; inDialog == InDialog::SaveThenEnterTwice && i < 2; ++i)  // faster than the windows
          QCoreApplication::postEvent(main.get(),
                                      new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
      } else if (progress && progress->isVisible() && !progressSeen) {
        progressSeen = true;
        if (onShown) onShown(progress);
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(find<QPushButton>(main.get(), "splitButton"), &enter);
        statusWhileSplitting = find<StatusLine>(main.get(), "statusLine")->text();
        if (cancelBy == CancelBy::Button) find<QPushButton>(progress, "cancelButton")->click();
        if (cancelBy == CancelBy::Escape) QTest::keyClick(progress, Qt::Key_Escape);
        if (cancelBy == CancelBy::CloseBox) progress->close();
      }
    });
    watch.start(0);
    QTest::keyClick(main.get(), Qt::Key_Return);  // Enter presses Split
  }

  std::string part(int i) const { return dir.join("parts/movie" + std::to_string(i) + ".avi"); }
  static std::string joined(const std::string& folder) {  // the parts' contents, one after another
    return readAll(folder + "/movie1.avi") + readAll(folder + "/movie2.avi") +
           readAll(folder + "/movie3.avi");
  }
};

// What the target folder holds afterwards.
enum class Parts { All, OneBlock, Old, None };

struct Case {
  const char* name;
  InDialog inDialog;
  CancelBy cancelBy;
  bool existingPart;               // "old" stands at the first part's path
  std::vector<Answer> answers;     // for the questions, in order
  std::vector<std::string> asked;  // the texts asked ("overwrite" and "vanished" stand for those messages)
  const char* status;              // the status line afterwards
  Parts parts;
};

const std::string kCancel = cancelQuestion().text;

class SplitThroughWindows : public ::testing::TestWithParam<Case> {};

TEST_P(SplitThroughWindows, EndsAsExpected) {
  const Case& c = GetParam();
  Rig rig;
  if (c.existingPart) rig.dir.writeFile("parts/movie1.avi", "old");
  for (Answer answer : c.answers) rig.asker.push(answer);
  const std::map<std::string, std::string> named = {
      {"overwrite", overwriteQuestion(rig.part(1)).text},
      {"vanished", "Cannot open the file " + rig.source + ".\n" +
                       HugeFileFunctions::getSystemErrorText(2) +  // 2: ENOENT, and ERROR_FILE_NOT_FOUND
                       "\n\nCheck the file and try again."}};

  rig.split(c.inDialog, c.cancelBy);

  std::vector<std::string> asked, expected;
  for (const Message& m : rig.asker.messages) asked.push_back(m.text);
  for (const std::string& text : c.asked) expected.push_back(named.count(text) ? named.at(text) : text);
  EXPECT_EQ(asked, expected);
  EXPECT_EQ(rig.dialogs, 1);  // a second Enter or click does nothing while the split runs
  EXPECT_EQ(rig.statusWhileSplitting, c.parts == Parts::None ? "" : "Splitting...");
  EXPECT_TRUE(rig.main->isEnabled());
  EXPECT_EQ(rig.main->findChild<ProgressDialog*>(), nullptr);
  const auto* status = QAccessible::queryAccessibleInterface(find(rig.main.get(), "statusLine"));
  EXPECT_EQ(status->text(QAccessible::Name).toStdString(), c.status);  // as assistive technology reads it
  EXPECT_EQ(find<QComboBox>(rig.main.get(), "partSizeBox")->itemText(0) == "1 MB",  // moved to the top
            c.inDialog != InDialog::Cancel);
  EXPECT_EQ(fs::exists(rig.part(1)), c.parts != Parts::None);
  EXPECT_EQ(rig.main->setup().state().target.folder, rig.dir.join("parts"));  // where the next split starts
  // A cancel confirmed as the progress window shows lets one block of the 4096-byte buffer through.
  const std::string want[] = {rig.content, rig.content.substr(0, 4096), "old", ""};
  EXPECT_EQ(Rig::joined(rig.dir.join("parts")), want[int(c.parts)]);
  QTest::keyClick(rig.main.get(), Qt::Key_Escape);
  EXPECT_FALSE(rig.main->isVisible());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, SplitThroughWindows,
    ::testing::Values(
        Case{"Completes", InDialog::TargetDialog, CancelBy::Nothing, false, {}, {}, "Done.", Parts::All},
        Case{"EnterTwiceSplitsOnce", InDialog::SaveThenEnterTwice, CancelBy::Nothing, true, {Answer::Ok}, {"overwrite"}, "Done.", Parts::All},
        Case{"DialogCancelled", InDialog::Cancel, CancelBy::Nothing, false, {}, {}, "3 split files", Parts::None},
        Case{"ButtonNoGoesOn", InDialog::TargetDialog, CancelBy::Button, false, {Answer::No}, {kCancel}, "Done.", Parts::All},
        Case{"EscapeYesStops", InDialog::TargetDialog, CancelBy::Escape, false, {Answer::Yes}, {kCancel}, "Done.", Parts::OneBlock},
        Case{"CloseBoxYesStops", InDialog::TargetDialog, CancelBy::CloseBox, false, {Answer::Yes}, {kCancel}, "Done.", Parts::OneBlock},
        Case{"ExistingPartKeptOnCancel", InDialog::TargetDialog, CancelBy::Nothing, true, {Answer::Cancel}, {"overwrite"}, "Done.", Parts::Old},
        Case{"ExistingPartReplacedWithOverwrite", InDialog::SaveWithOverwrite, CancelBy::Nothing, true, {}, {}, "Done.", Parts::All},
        Case{"SourceVanished", InDialog::RemoveSourceThenSave, CancelBy::Nothing, false, {}, {"vanished"}, "3 split files", Parts::None}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });
// clang-format on

// Under a Wayland compositor (ctest runs this under a headless Weston) every
// window is asked to take the maximized size, the progress window mid-split
// included: the program keeps running and the split completes.
TEST(Wayland, MaximizedWindowsKeepTheProgramRunning) {
  if (!QGuiApplication::platformName().startsWith("wayland")) GTEST_SKIP() << "not a Wayland client";
  const auto maximize = [](QWidget* window) {
    window->setWindowState(Qt::WindowMaximized);
    QTest::qWait(300);  // the compositor's answer arrives
  };
  Rig rig(30000000, "10 MB");
  maximize(rig.main.get());
  test::onModal<QWidget>([&](QWidget* box) {
    maximize(box);
    box->close();
  });
  MessageBoxAsker(rig.main.get()).ask({"Maximized", Icon::Information, Buttons::Ok, 0});
  rig.onShown = maximize;
  rig.split(InDialog::TargetDialog);
  EXPECT_EQ(find<StatusLine>(rig.main.get(), "statusLine")->text(), "Done.");
  EXPECT_EQ(Rig::joined(rig.dir.join("parts")), rig.content);
}

#ifndef _WIN32  // under Wine: split.SplitSpansThreeMediaUnderWine
// Media in a private mount namespace (ctest runs this under unshare): 1 MiB
// ext2 images below a private /mnt, one 900 KB part each. At part 2's question
// come: Retry on the full medium; no medium (nothing written into the bare
// folder); two new media at once; one new medium at a new path, where the
// split goes on. Part 3 goes on a fresh medium at the old path.
TEST(SplitThroughWindowsMedium, FollowsTheMediumAndAsksWhileNoneIsMounted) {
  if (!test::PrivateMounts()) GTEST_SKIP() << "needs a private mount namespace";
  if (::mount("vornak", "/mnt", "tmpfs", 0, "size=1m") != 0) GTEST_SKIP() << "mounting is not permitted here";
  Rig rig(2700000, "900 KB");
  const std::string collected = rig.dir.makeFolder("collected");
  auto insert = [&](const std::string& medium, bool withFolder = true) {
    static int images = 0;
    const bool mounted = test::mountExt2(rig.dir.join("medium" + std::to_string(++images) + ".img"), medium);
    return mounted && (!withFolder || fs::create_directory(medium + "/films"));
  };
  auto takeOut = [&](const std::string& medium) {
    for (const auto& entry : fs::directory_iterator(medium + "/films"))
      fs::copy_file(entry.path(), collected + "/" + entry.path().filename().string());
    return test::unmount(medium);
  };
  if (!insert("/mnt/A")) GTEST_SKIP() << "cannot mount an ext2 image here";
  rig.main->setup().state().target.folder = "/mnt/A/films";

  std::vector<std::string> into;  // the progress window's "into" line at each question
  rig.asker.onAsk = [&](const Message&) {
    into.push_back(find<QLabel>(rig.main->findChild<ProgressDialog*>(), "partLabel")->text().toStdString());
    const std::size_t asked = rig.asker.messages.size();
    bool done = true;  // at 1: the same full medium stays
    if (asked == 2) done = takeOut("/mnt/A");
    if (asked == 3) {  // nothing was written into the bare folder; now two media come at once
      EXPECT_TRUE(fs::is_empty("/mnt/A"));
      done = insert("/mnt/B") && insert("/mnt/C", false);
    }
    if (asked == 4) done = test::unmount("/mnt/C");
    if (asked == 5) done = takeOut("/mnt/B") && insert("/mnt/B");
    EXPECT_TRUE(done) << "at question " << asked;
  };
  for (int i = 0; i < 5; ++i) rig.asker.push(Answer::Retry);
  rig.split(InDialog::TargetDialog);
  EXPECT_TRUE(takeOut("/mnt/B"));
  test::unmount("/mnt");

  std::vector<Message> asked(4, mediumQuestion("/mnt/A"));
  asked.push_back(mediumQuestion("/mnt/B"));
  EXPECT_EQ(rig.asker.messages, asked);
  std::vector<std::string> parts(4, "into /mnt/A/films/movie2.avi");
  parts.push_back("into /mnt/B/films/movie3.avi");
  EXPECT_EQ(into, parts);
  EXPECT_EQ(find<StatusLine>(rig.main.get(), "statusLine")->text(), "Done.");
  EXPECT_EQ(rig.main->setup().state().target.folder,
            "/mnt/B/films");  // a second split proposes the new medium
  EXPECT_EQ(Rig::joined(collected), rig.content);
}
#endif

}  // namespace
}  // namespace vornak
