// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as a user drives it: typing a name and a size, the plan it
// shows, the presets, the keys, browsing, the hints under the pointer and
// drops. What the texts mean is tested on SplitSetup.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QtTest>
#include <QtWidgets>
#include <filesystem>

#include "Version.h"
#include "support/QStringPrint.h"
#include "support/ScriptedAsker.h"
#include "ui/MainWindow.h"
#include "ui/StatusLine.h"
#include "ui/WindowKit.h"

namespace vornak {
namespace {

using test::q;

struct MainWindowTest : ::testing::Test {
  test::TempDir dir;
  ScriptedAsker asker;
  QStringList browseStarts, browseAnswers;  // answers in order; none left = cancel
  std::unique_ptr<MainWindow> window;
  QLineEdit* name = nullptr;
  QComboBox* size = nullptr;
  QPushButton* split = nullptr;
  StatusLine* status = nullptr;

  void SetUp() override {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    MainWindow::Options options{q(dir.join("settings.ini")), [this](QWidget*, const QString& start) {
                                  browseStarts.push_back(start);
                                  return browseAnswers.isEmpty() ? QString() : browseAnswers.takeFirst();
                                }};
    window = std::make_unique<MainWindow>(asker, nullptr, options);
    name = child<QLineEdit>("fileEdit"), size = child<QComboBox>("partSizeBox");
    split = child<QPushButton>("splitButton"), status = child<StatusLine>("statusLine");
    QCursor::setPos(4000, 4000);  // hints are driven by hand
    window->show();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }
  void TearDown() override { QLocale::setDefault(QLocale::c()); }

  template <typename T = QWidget>
  T* child(const char* objectName) const {
    return test::find<T>(window.get(), objectName);
  }
  std::string movie() {
    const std::string path = dir.writeFile("movie.avi");
    std::filesystem::resize_file(test::native(path), 3000000);
    return path;
  }
  void typeSize(const QString& text) {
    size->clearEditText();
    size->lineEdit()->setFocus();
    QTest::keyClicks(size->lineEdit(), text);
  }
  void pressEnterIn(QWidget* widget) {
    widget->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  }
};

TEST_F(MainWindowTest, TypedNameAndSizeGiveThePlanEnterSplitsBrowseFillsTheNameEscapeCloses) {
  EXPECT_EQ(window->windowTitle(), "Vornak Split your files");
  QSignalSpy splits(split, &QPushButton::clicked);
  QObject::disconnect(split, &QPushButton::clicked, window.get(), &MainWindow::split);
  pressEnterIn(name);
  EXPECT_EQ(splits.count(), 0);  // not while Split is disabled
  const std::string picked = movie();
  QTest::keyClicks(name, q(picked));
  EXPECT_EQ(child<QLabel>("fileSizeLabel")->text(), "3,000,000 Bytes");
  // clang-format off
  const struct { QString typed; QString tooltip, status; bool split; } cases[] = {
      {"1 MB", "2 x 1048576 Bytes  +  1 x 902848 Bytes", "3 split files", true},
      {"3000000", "The 'Size of split files' is too long.", "", false},
      {"64 kb", "45 x 65536 Bytes  +  1 x 50880 Bytes", "46 split files", true}};
  // clang-format on
  for (const auto& c : cases) {
    typeSize(c.typed);
    QTest::keyClick(size->lineEdit(), Qt::Key_Tab);  // leaving the entry keeps the text as typed
    EXPECT_EQ(size->currentText() + "|" + child("diagramView")->toolTip() + "|" + status->text(),
              c.typed + "|" + c.tooltip + "|" + c.status);
    EXPECT_EQ(split->isEnabled(), c.split) << c.typed.toStdString();
  }
  typeSize("abc");
  size->setCurrentIndex(size->findText("64 KB"));                  // picking a row takes its size
  const auto read = [](QWidget* widget, QAccessible::Text text) {  // as assistive technology does
    return QAccessible::queryAccessibleInterface(widget)->text(text);
  };
  EXPECT_EQ(read(status, QAccessible::Name), "46 split files");
  EXPECT_EQ(read(child("diagramView"), QAccessible::Description), "45 x 65536 Bytes  +  1 x 50880 Bytes");
  QTest::mouseClick(child("diagramView"), Qt::LeftButton, {}, child("diagramView")->rect().center());
  EXPECT_GT(size->currentText().toLongLong(), 0) << size->currentText().toStdString();  // a click sets a size

  const QString elsewhere = QDir::toNativeSeparators(q(dir.path()) + "/somewhere/else");
  name->setText(elsewhere + QDir::separator() + "file.bin"), typeSize("1 MB");
  browseAnswers = {QDir::fromNativeSeparators(q(picked))};  // as the dialog answers, with "/"
  pressEnterIn(child("browseButton"));                      // a focused button is the default one
  EXPECT_EQ(browseStarts, QStringList{elsewhere});          // in the typed name's folder
  EXPECT_EQ(name->text(), q(picked));
  name->setText("movie.avi");  // read in the folder browsed to
  EXPECT_EQ(window->setup().state().sourcePath, picked);
  pressEnterIn(name), pressEnterIn(size);
  EXPECT_EQ(splits.count(), 2);
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  name->setText(name->text() + " ");
  EXPECT_EQ(child<QLabel>("fileSizeLabel")->text(), "3.000.000 Bytes");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(QFile::exists(q(dir.join("settings.ini"))));
}

void moveOver(QWidget* widget) {
  const QPoint at(widget->width() / 2, widget->height() / 2);
  QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &move);
}

TEST_F(MainWindowTest, HintsFollowThePointerAndDropsLandOnlyOnTheTargets) {
  name->setText(q(movie())), typeSize("1 MB");
  const QString parts = "3 split files", about = QString("Vornak Version 2.2\t\t") + kLegalNotice;
  // clang-format off
  const std::pair<const char*, QString> hints[] = {
      {"browseButton", "Browse."}, {"aboutButton", about}, {"fileLabel", "Path of the file you want to split."},
      {"partSizeLabel", "Size of the split files (e.g. 12345, 12.34 KB, 1 MB)."},
      {"splitButton", "Split your file."}, {"fileEdit", "Split your file."}, {"MainWindow", parts}};
  const std::pair<QWidget*, bool> targets[] = {
      {window.get(), true}, {name, true}, {child("diagramView"), true}, {child("fileSizeLabel"), true},
      {child("exitButton"), false}, {child("browseButton"), false}, {size->lineEdit(), false}};
  // clang-format on
  for (const auto& [control, text] : hints) {  // a control without a hint keeps the text
    moveOver(window->objectName() == control ? window.get() : child(control));
    EXPECT_EQ(status->text(), text) << control;
  }
  const int writes = status->writes();  // an unchanged text is not written again
  moveOver(child("exitButton")), moveOver(child("exitButton")), moveOver(child("exitButton"));
  EXPECT_EQ(status->writes(), writes + 1);
  typeSize("");  // over the disabled Split button the background's text shows
  moveOver(child("exitButton")), moveOver(split);
  EXPECT_EQ(status->text(), "");

  const QUrl file = QUrl::fromLocalFile(q(dir.writeFile("dropped.bin", "12345"))),
             web("http://example.org/x");
  for (const auto& [widget, isTarget] : targets) {
    for (const QList<QUrl>& urls : {QList<QUrl>{file}, QList<QUrl>{}, QList<QUrl>{web, file}}) {
      name->setText("before");
      QMimeData mime;
      urls.isEmpty() ? mime.setText(file.toLocalFile()) : mime.setUrls(urls);
      const QPoint at(widget->width() / 2, widget->height() / 2);
      const bool taken = isTarget && urls.size() == 1;
      QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(widget, &enter);
      // Refused: the no-drop pointer, and no action for the drag's source.
      EXPECT_EQ(enter.dropAction(), taken ? Qt::CopyAction : Qt::IgnoreAction)
          << widget->objectName().toStdString();
      QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(widget, &drop);
      EXPECT_EQ(drop.isAccepted(), taken);
      EXPECT_EQ(name->text(), taken ? file.toLocalFile() : "before") << widget->objectName().toStdString();
    }
  }
}

}  // namespace
}  // namespace vornak
