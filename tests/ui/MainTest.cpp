// SPDX-License-Identifier: GPL-3.0-or-later
// The main window driven through its real widgets: file names, sizes, the
// diagram's texts, click-to-size, presets, keys, hints, browsing and drops.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <QtTest>
#include <QtWidgets>
#include <filesystem>

#include "Version.h"
#include "parts/Presets.h"
#include "support/QStringPrint.h"
#include "support/ScriptedAsker.h"
#include "support/TempDir.h"
#include "ui/MainWindow.h"

namespace vornak {
namespace {

struct MainFixture : ::testing::Test {
  static QString Q(const std::string& text) { return QString::fromStdString(text); }
  test::TempDir dir;
  ScriptedAsker asker;
  QStringList browseStarts, browseAnswers;  // answers in order; none left = cancel
  std::unique_ptr<MainWindow> main;

  void SetUp() override {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    MainWindow::Options options;
    options.settingsFile = Q(dir.join("settings.ini"));
    options.openFileDialog = [this](QWidget*, const QString& start) {
      browseStarts.push_back(start);
      return browseAnswers.isEmpty() ? QString() : browseAnswers.takeFirst();
    };
    main = std::make_unique<MainWindow>(asker, nullptr, options);
    QCursor::setPos(4000, 4000);  // hints are driven by hand
    main->show();
    QApplication::setActiveWindow(main.get());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
  }
  void TearDown() override { QLocale::setDefault(QLocale::c()); }

  std::string sizedFile(const std::string& name, std::uintmax_t size) {
    const std::string path = dir.writeFile(name);
    std::filesystem::resize_file(test::native(path), size);
    return path;
  }
  void setName(const std::string& text) { main->fileEdit->setText(Q(text)); }
  void setSize(const QString& text) {
    main->partSizeBox->clearEditText();
    main->partSizeBox->lineEdit()->setFocus();
    QTest::keyClicks(main->partSizeBox->lineEdit(), text);
  }
  void movie() { setName(sizedFile("movie.avi", 3000000)), setSize("1 MB"); }
  QString status() const { return main->statusLine->simpleText(); }
};

TEST_F(MainFixture, StartsEmpty) {
  EXPECT_EQ(main->windowTitle(), "Vornak Split your files");
  EXPECT_EQ(main->fileEdit->text() + main->partSizeBox->currentText() + main->fileSizeLabel->text(), "");
  EXPECT_EQ(status(), "");
  EXPECT_FALSE(main->splitButton->isEnabled());
  EXPECT_EQ(QApplication::focusWidget(), main->fileEdit);
  EXPECT_EQ(main->aboutText, std::string("Vornak Version 2.2\t\t") + kLegalNotice);
  const QRect bar = main->statusLine->geometry();  // spans the bottom edge
  EXPECT_EQ(bar, QRect(0, main->height() - bar.height(), main->width(), bar.height()));
}

TEST_F(MainFixture, FileNamesAreCheckedLiterally) {
  sizedFile("disk.img", 1474560), sizedFile(".hidden", 3);
  sizedFile("big", 4294967296ULL), sizedFile("Grüße ñ.bin", 7), dir.makeFolder("folder");
#ifndef _WIN32  // no such names on Windows
  sizedFile("a*b?.txt", 5);
  ASSERT_EQ(::mkfifo(dir.join("pipe").c_str(), 0600), 0);
#endif
  // "$/" stands for the test's folder and the separator in the typed text and the expected sourcePath
  // clang-format off
  struct { std::string typed, sourcePath; QString size; } const cases[] = {
      {"  $/disk.img  ", "$/disk.img", "1,474,560 Bytes"}, {"\t$/disk.img", "", ""},  // only blanks are trimmed
      {"$/.hidden", "$/.hidden", "3 Bytes"}, {"$/folder", "", ""}, {"$/missing", "", ""}, {"   ", "", ""},
      {"$/disk*", "", ""}, {"$/disk.im?", "", ""}, {"$/big", "$/big", "4,294,967,296 Bytes"},
      {"$/Grüße ñ.bin", "$/Grüße ñ.bin", "7 Bytes"},
#ifndef _WIN32
      {"$/a*b?.txt", "$/a*b?.txt", "5 Bytes"}, {"$/a*", "", ""}, {"$/pipe", "$/pipe", ""},  // never opened
#endif
      // clang-format on
  };
  auto expand = [this](std::string s) {
    for (std::size_t at; (at = s.find("$/")) != std::string::npos;) s.replace(at, 2, dir.join(""));
    return s;
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    QElapsedTimer timer;
    timer.start();
    setName(expand(c.typed));
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_EQ(main->sourcePath, expand(c.sourcePath));
    EXPECT_EQ(main->fileSizeLabel->text(), c.size);
    EXPECT_TRUE(!c.size.isEmpty() || main->fileSize == -1);
    EXPECT_FALSE(main->splitButton->isEnabled());
  }
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  setName(dir.join("disk.img"));
  EXPECT_EQ(main->fileSizeLabel->text(), "1.474.560 Bytes");
}

TEST_F(MainFixture, TypingAPathAndASizeRefreshesEverything) {
  const std::string path = sizedFile("movie.avi", 3000000);
  main->fileEdit->setFocus();
  QTest::keyClicks(main->fileEdit, Q(path));
  EXPECT_EQ(main->fileSizeLabel->text(), "3,000,000 Bytes");
  const QString click = "Click to define the size of the split files";
  // clang-format off
  struct { QString size; DiagramState state; QString tooltip, status; bool split; } const cases[] = {
      {"", DiagramState::OnePart, click, "", false},
      {"1 MB", DiagramState::Parts, "2 x 1048576 Bytes  +  1 x 902848 Bytes", "3 split files", true},
      {"1000000", DiagramState::Parts, "3 x 1000000 Bytes", "3 split files", true},
      {"abc", DiagramState::SizeError, "Check the 'Size of split files'.", "", false},
      {"3000000", DiagramState::TooLong, "The 'Size of split files' is too long.", "", false},
      {"1 KB", DiagramState::TooManyParts, "2929 x 1024 Bytes  +  1 x 704 Bytes", "2930 split files", true},
      {"0", DiagramState::OnePart, click, "", false},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size.toStdString());
    setSize(c.size);
    EXPECT_EQ(main->diagram.state, c.state);
    EXPECT_EQ(main->diagramView->toolTip(), c.tooltip);
    EXPECT_EQ(status(), c.status);
    EXPECT_EQ(main->splitButton->isEnabled(), c.split);
  }
  setSize("1 MB");
  main->fileEdit->clear();  // no name: blank diagram and status
  EXPECT_EQ(main->diagram.state, DiagramState::Blank);
  EXPECT_EQ(status() + main->diagramView->toolTip(), "");
  EXPECT_FALSE(main->splitButton->isEnabled());
  // The status line is written only when it changes.
  movie();
  const int writes = main->statusLine->writes();
  main->drawParts();
  main->drawParts();
  EXPECT_EQ(main->statusLine->writes(), writes);
}

TEST_F(MainFixture, ClicksIntoTheDiagramSetTheEntry) {
  setName(sizedFile("movie.avi", 3000000));
  main->diagramWidth = 216;  // the strip's width at the twips' own scale, whatever the desktop font
  const int left = main->diagramView->contentsRect().left();
  const auto L = Qt::LeftButton, R = Qt::RightButton;
  // clang-format off
  struct { Qt::MouseButton button; Qt::KeyboardModifiers modifiers; int x; const char* text; } const cases[] = {
      {L, {}, 108, "1500000"}, {L, {}, 0, "13888"}, {L, {}, 216, "2986111"}, {R, {}, 54, "750000"},
      {R, {}, 107, "1500000"}, {R, {}, 109, "1500000"}, {R, {}, 200, "230770"}, {R, {}, 11, "150000"},
      {R, {}, 10, "136364"}, {R, {}, 0, "136364"}, {L, Qt::ControlModifier, 54, "750000"},
      // clang-format on
  };
  for (const auto& c : cases) {
    QTest::mouseClick(main->diagramView, c.button, c.modifiers, QPoint(left + c.x, 5));
    EXPECT_EQ(main->partSizeBox->currentText().toStdString(), c.text) << c.x;
    EXPECT_EQ(main->partSize, std::stod(c.text)) << c.x;
  }
  setName(dir.join("missing"));  // without an accepted file a click does nothing
  main->partSizeBox->setEditText("7");
  QTest::mouseClick(main->diagramView, L, {}, QPoint(left + 50, 5));
  EXPECT_EQ(main->partSizeBox->currentText(), "7");
}

TEST_F(MainFixture, PresetRowsMoveToTheTop) {
  std::vector<std::string> expected = defaultPresetRows('.');
  expected.insert(expected.begin(), "2 MB");  // a new text pushes the last row out
  expected.pop_back();
  auto rows = [this] {
    std::vector<std::string> r;
    for (int i = 0; i < main->partSizeBox->count(); ++i)
      r.push_back(main->partSizeBox->itemText(i).toStdString());
    return r;
  };
  // What is typed stays as typed, also when a row begins with it or differs in case only.
  for (const QString typed : {"10", "7", "64 kb", "2 MB"}) {
    setSize(typed);
    QTest::keyClick(main->partSizeBox->lineEdit(), Qt::Key_Return);
    main->fileEdit->setFocus();
    EXPECT_EQ(main->partSizeBox->currentText(), typed);
  }
  main->updatePartSizeList();
  EXPECT_EQ(rows(), expected);
  EXPECT_EQ(main->partSizeBox->currentText(), "2 MB");
  main->partSizeBox->setCurrentIndex(3);  // a known row moves up
  main->updatePartSizeList();
  std::rotate(expected.begin(), expected.begin() + 3, expected.begin() + 4);
  EXPECT_EQ(rows(), expected);
  setName(sizedFile("movie.avi", 3000000));
  main->partSizeBox->setCurrentIndex(main->partSizeBox->findText("64 KB"));  // picking a row parses it
  EXPECT_EQ(main->partSize, 65536);
  EXPECT_TRUE(main->splitButton->isEnabled());
}

TEST_F(MainFixture, EnterSplitsOnlyWhenEnabledAndEscCloses) {
  QSignalSpy clicks(main->splitButton, &QPushButton::clicked);
  QObject::disconnect(main->splitButton, &QPushButton::clicked, main.get(), &MainWindow::split);
  auto enter = [this] {
    for (QWidget* focus : std::initializer_list<QWidget*>{main->fileEdit, main->partSizeBox}) {
      focus->setFocus();
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
  };
  enter();
  EXPECT_EQ(clicks.count(), 0);
  movie();
  enter();
  EXPECT_EQ(clicks.count(), 2);
  main->disableMain();  // no closing during a split
  EXPECT_FALSE(main->close());
  main->setEnabled(true);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_FALSE(main->isVisible());
  EXPECT_TRUE(QFile::exists(Q(dir.join("settings.ini"))));
}

void moveOver(QWidget* widget) {
  const QPoint at(widget->width() / 2, widget->height() / 2);
  QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &move);
}

TEST_F(MainFixture, HintsFollowThePointer) {
  movie();
  const QString parts = "3 split files";
  const std::pair<QWidget*, QString> cases[] = {
      // clang-format off
      {main->browseButton, "Browse."}, {main->splitButton, "Split your file."}, {main->exitButton, "Quit Vornak."},
      {main->aboutButton, Q(main->aboutText)}, {main->fileLabel, "Path of the file you want to split."},
      {main->partSizeLabel, "Size of the split files (e.g. 12345, 12.34 KB, 1 MB)."}, {main.get(), parts},
      {main->fileSizeLabel, parts}, {main->diagramView, parts}, {main->fileEdit, parts}, {main->statusLine, parts},
      // clang-format on
  };
  for (const auto& [widget, text] : cases) {
    moveOver(widget);
    EXPECT_EQ(status(), text) << widget->objectName().toStdString();
  }
  moveOver(main->exitButton);
  const int writes = main->statusLine->writes();
  moveOver(main->exitButton);
  moveOver(main->exitButton);
  EXPECT_EQ(main->statusLine->writes(), writes);
  setSize("");  // over the disabled split button the background's text shows
  moveOver(main->exitButton);
  moveOver(main->splitButton);
  EXPECT_EQ(status(), "");
}

TEST_F(MainFixture, BrowseStartsInTheTypedFolderThenInThePickedOne) {
  const std::string picked = sizedFile("picked.bin", 10);
  const QString elsewhere = QDir::toNativeSeparators(Q(dir.path()) + "/somewhere/else");
  main->fileEdit->setText(elsewhere + QDir::separator() + "file.bin");
  main->browseButton->click();  // cancelled: nothing changes
  EXPECT_EQ(main->fileEdit->text(), elsewhere + QDir::separator() + "file.bin");
  browseAnswers = {QDir::fromNativeSeparators(Q(picked))};  // as the dialog answers, with "/"
  main->browseButton->click();
  EXPECT_EQ(main->fileEdit->text(), Q(picked));
  EXPECT_EQ(main->sourcePath, picked);
  EXPECT_EQ(main->fileSizeLabel->text(), "10 Bytes");
  main->fileEdit->setText("picked.bin");  // read in the folder browsed to
  EXPECT_EQ(main->sourcePath, picked);
  main->fileEdit->setText(QDir::toNativeSeparators("/another/place/x"));
  main->browseButton->click();
  EXPECT_EQ(browseStarts, QStringList({elsewhere, elsewhere, Q(dir.path())}));
}

TEST_F(MainFixture, DropsOfFilesOnlyAndOnlyOnTheTargets) {
  const QUrl first = QUrl::fromLocalFile(Q(sizedFile("first.bin", 11))), web("http://example.org/file.bin");
  const QUrl second = QUrl::fromLocalFile(Q(sizedFile("second.bin", 12)));
  // clang-format off
  const struct { const char* what; QList<QUrl> urls; } data[] = {  // no urls: a text instead
      {"files", {first, second}}, {"text", {}}, {"web link", {web}}, {"link and file", {web, first}}};
  const std::pair<QWidget*, bool> targets[] = {{main.get(), true}, {main->fileEdit, true}, {main->diagramView, true},
                                               {main->exitButton, false}, {main->partSizeBox->lineEdit(), false}};
  // clang-format on
  for (const auto& [widget, isTarget] : targets) {
    for (const auto& d : data) {
      SCOPED_TRACE(widget->objectName().toStdString() + " " + d.what);
      main->fileEdit->setText("before");
      QMimeData mime;
      d.urls.isEmpty() ? mime.setText(first.toLocalFile()) : mime.setUrls(d.urls);
      const QPoint at(widget->width() / 2, widget->height() / 2);
      QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(widget, &enter);
      const bool accepted = isTarget && d.what == std::string("files");
      // Refused: the no-drop pointer, and no action for the drag's source.
      EXPECT_EQ(enter.isAccepted(), accepted);
      EXPECT_EQ(enter.dropAction(), accepted ? Qt::CopyAction : Qt::IgnoreAction);
      QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(widget, &drop);
      EXPECT_EQ(drop.isAccepted(), accepted);
      EXPECT_EQ(main->fileSizeLabel->text(), accepted ? "11 Bytes" : "");
      EXPECT_EQ(main->fileEdit->text(), accepted ? first.toLocalFile() : QString("before"));
    }
  }
}

}  // namespace
}  // namespace vornak
