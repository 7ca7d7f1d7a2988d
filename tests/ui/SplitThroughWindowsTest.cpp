// SPDX-License-Identifier: GPL-3.0-or-later
// Splits started from the main window and carried out through the real Save
// dialog and progress window: completion, a dialog left or refusing a name,
// cancels from the progress window and by SIGTERM, existing parts, a source that
// vanished. Save As opens with the stored overwrite mode, takes the opened
// folder and not the highlighted one; under Wayland every window is maximized.
#include <gtest/gtest.h>

#include <filesystem>

#include "fileservices/HugeFileFunctions.h"
#include "split/SplitMessages.h"
#include "support/QStringPrint.h"
#include "support/ScriptedAsker.h"
#include "ui/FolderList.h"
#include "ui/MainWindow.h"
#include "ui/ProgressDialog.h"
#include "ui/StatusLine.h"
#include "ui/TargetDialog.h"
#include "ui/TerminationSignals.h"
#include "ui/WindowKit.h"

namespace vornak {
namespace {

namespace fs = std::filesystem;
using test::find;
using test::readAll;

// What is done in the Save dialog, or else in the progress window once it shows.
// Signal: SIGTERM, as a logout sends it.
enum class Act {
  Save,
  EscapeSaveAs,
  NoTitle,
  Overwrite,
  RemoveSource,
  CancelButton,
  Escape,
  CloseBox,
  Signal
};

struct Rig {
  test::TempDir dir;
  ScriptedAsker asker;
  std::unique_ptr<MainWindow> main;
  std::string content;  // bytes that differ from part to part
  std::string source;

  explicit Rig(std::size_t size = 3000000, const char* partSize = "1 MB") : content(size, '\0') {
    for (std::size_t i = 0; i < size; ++i) content[i] = static_cast<char>(i * 7 + i / 251);
    const std::string settings =  // only 1 means "overwrite": Save As opens with the check box clear
        dir.writeFile("settings.ini", "[Preferences]\nFileBufferSize=4096\nOverwriteMode=7\n");
    main = std::make_unique<MainWindow>(asker, nullptr, MainWindow::Options{test::q(settings), {}});
    main->show();
    test::maximizeOnWayland(main.get());
    source = dir.writeFile("movie.avi", content);
    find<QLineEdit>(main.get(), "fileEdit")->setText(test::q(source));
    find<QComboBox>(main.get(), "partSizeBox")->setEditText(partSize);
    main->setup().state().target.folder = dir.makeFolder("parts");
    dir.makeFolder("parts/sub");
  }

  // Presses Enter in the main window (Enter presses Split) and acts in the windows that follow.
  void split(Act act = Act::Save) {
    bool saveSeen = false, progressSeen = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
      auto* progress = main->findChild<ProgressDialog*>();
      if (auto* save = qobject_cast<TargetDialog*>(QApplication::activeModalWidget()); save && !saveSeen) {
        saveSeen = true;
        test::maximizeOnWayland(save);
        auto* folders = find<FolderList>(save, "folderList");
        folders->setCurrentItem(folders->findRow(test::q(dir.join("parts/sub"))));  // highlighted, not opened
        if (act == Act::Overwrite) find<QCheckBox>(save, "overwriteBox")->setChecked(true);
        if (act == Act::RemoveSource) fs::remove(source);
        if (act == Act::NoTitle) find<QLineEdit>(save, "nameEdit")->setText(".zip");
        if (act == Act::EscapeSaveAs) return QTest::keyClick(save, Qt::Key_Escape);
        find<QPushButton>(save, "okButton")->click();
        if (act == Act::NoTitle) find<QPushButton>(save, "cancelButton")->click();  // Save refused
      } else if (progress && progress->isVisible() && !progressSeen) {
        progressSeen = true;
        test::maximizeOnWayland(progress);
        if (act == Act::CancelButton) find<QPushButton>(progress, "cancelButton")->click();
        if (act == Act::Escape) QTest::keyClick(progress, Qt::Key_Escape);
        if (act == Act::CloseBox) progress->close();
#ifndef _WIN32
        if (act == Act::Signal) ::raise(SIGTERM);
#endif
      }
    });
    watch.start(0);
    QTest::keyClick(main.get(), Qt::Key_Return);
  }

  static std::string joined(const std::string& at) {  // the parts' contents, one after another
    return readAll(at + "/movie1.avi") + readAll(at + "/movie2.avi") + readAll(at + "/movie3.avi");
  }
};

enum class Parts { All, Old, None };

struct Case {
  const char* name;
  Act act;
  bool existingPart;               // "old" stands at the first part's path
  std::vector<Answer> answers;     // for the questions, in order
  std::vector<std::string> asked;  // the texts asked ("overwrite" and "vanished" stand for those messages)
  const char* status;              // the status line afterwards
  Parts parts;                     // what the target folder holds afterwards
};

const std::string kCancel = cancelQuestion().text;

class SplitThroughWindows : public ::testing::TestWithParam<Case> {};

TEST_P(SplitThroughWindows, EndsAsExpected) {
  const Case& c = GetParam();
#ifdef _WIN32
  if (c.act == Act::Signal) GTEST_SKIP() << "no termination signals on Windows";
#endif
  Rig rig;
  TerminationSignals termination;
  QObject::connect(&termination, &TerminationSignals::received, rig.main.get(), &MainWindow::endProgram);
  if (c.existingPart) rig.dir.writeFile("parts/movie1.avi", "old");
  for (Answer answer : c.answers) rig.asker.push(answer);
  rig.split(c.act);
  // The signal ends the program: the window closes by itself, keeping the settings.
  const bool closed = c.act == Act::Signal ? QTest::qWaitFor([&] { return !rig.main->isVisible(); }, 2000)
                                           : !rig.main->isVisible();
  EXPECT_EQ(closed, c.act == Act::Signal);
  EXPECT_EQ(readAll(rig.dir.join("settings.ini")).find("SplitSize1=1 MB") != std::string::npos,
            c.act == Act::Signal);

  std::vector<std::string> asked, expected;
  for (const Message& m : rig.asker.messages) asked.push_back(m.text);
  for (std::string text : c.asked) {
    if (text == "overwrite") text = overwriteQuestion(rig.dir.join("parts/movie1.avi")).text;
    if (text == "vanished")  // 2: ENOENT, and ERROR_FILE_NOT_FOUND
      text = "Cannot open the file " + rig.source + ".\n" + HugeFileFunctions::getSystemErrorText(2) +
             "\n\nCheck the file and try again.";
    expected.push_back(text);
  }
  EXPECT_EQ(asked, expected);
  EXPECT_TRUE(rig.main->isEnabled());
  const auto* status = QAccessible::queryAccessibleInterface(find(rig.main.get(), "statusLine"));
  EXPECT_EQ(status->text(QAccessible::Name).toStdString(), c.status);  // as assistive technology reads it
  EXPECT_EQ(find<QComboBox>(rig.main.get(), "partSizeBox")->itemText(0) == "1 MB",  // moved to the top
            c.act != Act::EscapeSaveAs && c.act != Act::NoTitle);
  EXPECT_EQ(rig.main->setup().state().target.folder, rig.dir.join("parts"));  // where the next split starts
  // A cancelled part leaves nothing behind, not even under a temporary name.
  const std::string want[] = {rig.content, "old", ""};
  EXPECT_EQ(Rig::joined(rig.dir.join("parts")), want[int(c.parts)]);
  EXPECT_EQ(std::distance(fs::directory_iterator(rig.dir.join("parts")), {}), c.parts == Parts::All   ? 4
                                                                              : c.parts == Parts::Old ? 2
                                                                                                      : 1);
  QTest::keyClick(rig.main.get(), Qt::Key_Escape);
  EXPECT_FALSE(rig.main->isVisible());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, SplitThroughWindows,
    ::testing::Values(
        Case{"ExistingPartReplacedOnOk", Act::Save, true, {Answer::Ok}, {"overwrite"}, "Done.", Parts::All},
        Case{"DialogEscaped", Act::EscapeSaveAs, false, {}, {}, "3 split files", Parts::None},
        Case{"NameWithoutTitleRefused", Act::NoTitle, false, {}, {"Type a filename in the 'Filename' field."}, "3 split files", Parts::None},
        Case{"ButtonNoGoesOn", Act::CancelButton, false, {Answer::No}, {kCancel}, "Done.", Parts::All},
        Case{"EscapeYesStops", Act::Escape, false, {Answer::Yes}, {kCancel}, "Cancelled.", Parts::None},
        Case{"CloseBoxYesStops", Act::CloseBox, false, {Answer::Yes}, {kCancel}, "Cancelled.", Parts::None},
        Case{"TerminationSignalStops", Act::Signal, false, {}, {}, "Cancelled.", Parts::None},
        Case{"ExistingPartKeptOnCancel", Act::Save, true, {Answer::Cancel}, {"overwrite"}, "Cancelled.", Parts::Old},
        Case{"ExistingPartReplacedWithOverwrite", Act::Overwrite, true, {}, {}, "Done.", Parts::All},
        Case{"SourceVanished", Act::RemoveSource, false, {}, {"vanished"}, "3 split files", Parts::None}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace vornak
