// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as a user drives it: typing a name and a size, the keys and
// browsing. What the plan's texts mean is tested on SplitSetup.
#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>
#include <filesystem>

#include "support/QStringPrint.h"
#include "support/ScriptedAsker.h"
#include "ui/MainWindow.h"
#include "ui/StatusLine.h"
#include "ui/WindowKit.h"

namespace vornak {
namespace {

using test::find;
using test::q;

void pressEnterIn(QWidget* widget) {
  widget->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
}

TEST(MainWindowTest, TypedNameAndSizeGiveThePlanEnterSplitsBrowseFillsTheNameEscapeCloses) {
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  test::TempDir dir;
  ScriptedAsker asker;
  QStringList browseStarts;
  const std::string picked = dir.writeFile("movie.avi");
  std::filesystem::resize_file(test::native(picked), 3000000);
  MainWindow window(asker, nullptr,
                    {q(dir.join("settings.ini")), [&](QWidget*, const QString& start) {
                       browseStarts.push_back(start);
                       return QDir::fromNativeSeparators(q(picked));  // with "/", as the dialog
                     }});
  auto* name = find<QLineEdit>(&window, "fileEdit");
  auto* size = find<QComboBox>(&window, "partSizeBox");
  auto* split = find<QPushButton>(&window, "splitButton");
  QCursor::setPos(4000, 4000);  // away from the window and its hints
  window.show();
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QSignalSpy splits(split, &QPushButton::clicked);
  QObject::disconnect(split, &QPushButton::clicked, &window, &MainWindow::split);
  pressEnterIn(name);
  EXPECT_EQ(splits.count(), 0);  // not while Split is disabled
  QTest::keyClicks(name, q(picked));
  EXPECT_EQ(find<QLabel>(&window, "fileSizeLabel")->text(), "3,000,000 Bytes");
  for (const auto& [typed, parts] :
       {std::pair{"64 kb", "46 split files"}, {"3000000", ""}, {"1 MB", "3 split files"}}) {
    size->clearEditText();
    size->lineEdit()->setFocus();
    QTest::keyClicks(size->lineEdit(), typed);
    QTest::keyClick(size->lineEdit(), Qt::Key_Tab);  // leaving the entry keeps the text as typed
    EXPECT_EQ(size->currentText() + "|" + find<StatusLine>(&window, "statusLine")->text(),
              QString(typed) + "|" + parts);
    EXPECT_EQ(split->isEnabled(), *parts != '\0') << typed;
  }
  const QString elsewhere = QDir::toNativeSeparators(q(dir.path()) + "/somewhere/else");
  name->setText(elsewhere + QDir::separator() + "file.bin");
  pressEnterIn(find(&window, "browseButton"));      // a focused button is the default one
  EXPECT_EQ(browseStarts, QStringList{elsewhere});  // in the typed name's folder
  EXPECT_EQ(name->text(), q(picked));
  name->setText("movie.avi");  // read in the folder browsed to
  EXPECT_EQ(window.setup().state().sourcePath, picked);
  pressEnterIn(name), pressEnterIn(size);
  EXPECT_EQ(splits.count(), 2);
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  name->setText(name->text() + " ");
  EXPECT_EQ(find<QLabel>(&window, "fileSizeLabel")->text(), "3.000.000 Bytes");
  QLocale::setDefault(QLocale::c());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(QFile::exists(q(dir.join("settings.ini"))));
}

}  // namespace
}  // namespace vornak
