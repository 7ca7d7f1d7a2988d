// The main window driven through its real widgets: file names, sizes, the
// diagram's texts, click-to-size, presets, keys, hints, browsing and drops.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QComboBox>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Version.h"
#include "app/Main.h"
#include "parts/Presets.h"
#include "support/ScriptedAsker.h"
#include "support/TempDir.h"

namespace vornak {
namespace {

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

struct MainFixture : ::testing::Test {
  test::TempDir dir;
  ScriptedAsker asker;
  std::vector<QString> browseStarts;   // start folders the open-file dialog was given
  std::vector<QString> browseAnswers;  // what it answers, in order ("" = cancel)
  std::unique_ptr<Main> main;

  void SetUp() override {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    Main::Options options;
    options.settingsFile = Q(dir.Join("settings.ini"));
    options.openFileDialog = [this](QWidget*, const QString& start) {
      browseStarts.push_back(start);
      if (browseAnswers.empty()) return QString();
      const QString answer = browseAnswers.front();
      browseAnswers.erase(browseAnswers.begin());
      return answer;
    };
    main = std::make_unique<Main>(asker, nullptr, options);
    // The pointer stays away from the window: its hints are driven by hand.
    QCursor::setPos(4000, 4000);
    main->show();
    QApplication::setActiveWindow(main.get());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
  }
  void TearDown() override { QLocale::setDefault(QLocale::c()); }

  std::string SizedFile(const std::string& name, std::uintmax_t size) {
    const std::string path = dir.WriteFile(name);
    std::filesystem::resize_file(path, size);
    return path;
  }
  void Type(QWidget* widget, const QString& text) {
    widget->setFocus();
    QTest::keyClicks(widget, text);
  }
  void SetName(const std::string& text) { main->edFilename->setText(Q(text)); }
  void SetSize(const QString& text) {
    main->edPartsize->clearEditText();
    Type(main->edPartsize->lineEdit(), text);
  }
  QString Status() const { return main->StatusBar->SimpleText(); }
  QString Tooltip() const { return main->picParts->toolTip(); }
};

TEST_F(MainFixture, StartsEmptyWithEveryControlNamed) {
  EXPECT_EQ(main->windowTitle(), "Vornak Split your files");
  EXPECT_EQ(main->minimumSize(), main->maximumSize());
  for (const char* name : {"lblFilename", "edFilename", "butFilename", "Label2", "lblSize", "picParts",
                           "lblFilesize", "edPartsize", "butSplit", "butClose", "cmdAbout", "StatusBar"})
    EXPECT_NE(main->findChild<QWidget*>(name), nullptr) << name;
  EXPECT_EQ(main->lblFilename->buddy(), main->edFilename);
  EXPECT_EQ(main->lblFilesize->buddy(), main->edPartsize);
  EXPECT_EQ(main->edFilename->text(), "");
  EXPECT_EQ(main->edPartsize->currentText(), "");
  EXPECT_EQ(main->lblSize->text(), "");
  EXPECT_EQ(Status(), "");
  EXPECT_FALSE(main->butSplit->isEnabled());
  EXPECT_EQ(QApplication::focusWidget(), main->edFilename);
  EXPECT_EQ(main->sourcefile, "");
  EXPECT_EQ(main->FileSize, -1);
  EXPECT_EQ(main->partsize, 0);
  EXPECT_EQ(main->diagram.state, DiagramState::Blank);
  EXPECT_EQ(main->diagwidth, main->picParts->contentsRect().width() - 2);
  EXPECT_EQ(main->diagheight, main->picParts->contentsRect().height() - 2);
  EXPECT_EQ(main->abouttext, std::string("Vornak Version 2.2\t\t") + kLegalNotice);
  // The status bar spans the client width at the bottom edge.
  EXPECT_EQ(main->StatusBar->geometry().left(), 0);
  EXPECT_EQ(main->StatusBar->geometry().width(), main->width());
  EXPECT_EQ(main->StatusBar->geometry().bottom(), main->height() - 1);
  // Tab order.
  std::vector<QWidget*> order{main->edFilename};
  for (QWidget* w = main->edFilename->nextInFocusChain(); w != main->edFilename; w = w->nextInFocusChain())
    if (w->focusPolicy() & Qt::TabFocus) order.push_back(w);
  const std::vector<QWidget*> expected{main->edFilename, main->butFilename, main->edPartsize,
                                       main->butSplit,   main->butClose,    main->cmdAbout};
  std::vector<QWidget*> head(order.begin(), order.begin() + std::min(order.size(), expected.size()));
  EXPECT_EQ(head, expected);
}

struct NameCase {
  std::string typed;       // $ stands for the test's folder
  std::string sourcefile;  // expected; $ as above
  QString size;            // lblSize
};

TEST_F(MainFixture, FileNamesAreCheckedLiterally) {
  SizedFile("disk.img", 1474560);
  SizedFile(".hidden", 3);
  SizedFile("empty", 0);
  SizedFile("a*b?.txt", 5);
  SizedFile("big", 4294967296ULL);
  SizedFile("Grüße ñ.bin", 7);
  dir.MakeFolder("folder");
  ASSERT_EQ(::mkfifo(dir.Join("pipe").c_str(), 0600), 0);
  const std::vector<NameCase> cases = {
      {"  $/disk.img  ", "$/disk.img", "1,474,560 Bytes"},
      {"$/disk.img", "$/disk.img", "1,474,560 Bytes"},
      {"\t$/disk.img", "", ""},  // only blanks are trimmed
      {"$/.hidden", "$/.hidden", "3 Bytes"},
      {"$/empty", "$/empty", "0 Bytes"},
      {"$/folder", "", ""},
      {"$/folder/", "", ""},
      {"$/missing", "", ""},
      {"", "", ""},
      {"   ", "", ""},
      {"$/a*b?.txt", "$/a*b?.txt", "5 Bytes"},
      {"$/a*", "", ""},  // no wildcard matching
      {"$/big", "$/big", "4,294,967,296 Bytes"},
      {"$/Grüße ñ.bin", "$/Grüße ñ.bin", "7 Bytes"},
      {"$/pipe", "$/pipe", ""},  // accepted as a name, never opened
  };
  auto expand = [this](std::string s) {
    for (std::size_t at; (at = s.find('$')) != std::string::npos;) s.replace(at, 1, dir.Path());
    return s;
  };
  for (const NameCase& c : cases) {
    QElapsedTimer timer;
    timer.start();
    SetName(expand(c.typed));
    EXPECT_LT(timer.elapsed(), 2000) << c.typed;
    EXPECT_EQ(main->sourcefile, expand(c.sourcefile)) << c.typed;
    EXPECT_EQ(main->lblSize->text(), c.size) << c.typed;
    EXPECT_EQ(main->diagram.state, c.sourcefile.empty() ? DiagramState::Blank
                                   : c.size.isEmpty()   ? DiagramState::FileError
                                                        : DiagramState::OnePart)
        << c.typed;
    EXPECT_FALSE(main->butSplit->isEnabled()) << c.typed;
  }
}

TEST_F(MainFixture, FileSizeFollowsTheLocalesGrouping) {
  const std::string path = SizedFile("disk.img", 1474560);
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  SetName(path);
  EXPECT_EQ(main->lblSize->text(), "1.474.560 Bytes");
}

struct StateCase {
  QString size;
  DiagramState state;
  QString tooltip;
  QString status;
  bool splitEnabled;
  bool customPointer;
};

TEST_F(MainFixture, TypingAPathAndASizeRefreshesEverything) {
  const std::string path = SizedFile("movie.avi", 3000000);
  Type(main->edFilename, Q(path));
  EXPECT_EQ(main->sourcefile, path);
  EXPECT_EQ(main->lblSize->text(), "3,000,000 Bytes");
  const std::vector<StateCase> cases = {
      {"", DiagramState::OnePart, "Click to define the size of the split files", "", false, true},
      {"1 MB", DiagramState::Parts, "2 x 1048576 Bytes  +  1 x 902848 Bytes", "3 split files", true, true},
      {"1000000", DiagramState::Parts, "3 x 1000000 Bytes", "3 split files", true, true},
      {"abc", DiagramState::SizeError, "Check the 'Size of split files'.", "", false, true},
      {"3000000", DiagramState::TooLong, "The 'Size of split files' is too long.", "", false, true},
      {"1 KB", DiagramState::TooManyParts, "2929 x 1024 Bytes  +  1 x 704 Bytes", "2930 split files", true,
       true},
      {"0", DiagramState::OnePart, "Click to define the size of the split files", "", false, true},
  };
  for (const StateCase& c : cases) {
    SetSize(c.size);
    EXPECT_EQ(main->diagram.state, c.state) << c.size.toStdString();
    EXPECT_EQ(Tooltip(), c.tooltip) << c.size.toStdString();
    EXPECT_EQ(Status(), c.status) << c.size.toStdString();
    EXPECT_EQ(main->butSplit->isEnabled(), c.splitEnabled) << c.size.toStdString();
    EXPECT_EQ(main->picParts->testAttribute(Qt::WA_SetCursor), c.customPointer) << c.size.toStdString();
  }
  // Removing the name blanks the diagram and the status line.
  SetSize("1 MB");
  main->edFilename->clear();
  EXPECT_EQ(main->diagram.state, DiagramState::Blank);
  EXPECT_EQ(Status(), "");
  EXPECT_EQ(Tooltip(), "");
  EXPECT_FALSE(main->picParts->testAttribute(Qt::WA_SetCursor));
  EXPECT_FALSE(main->butSplit->isEnabled());
}

TEST_F(MainFixture, DiagramIsPaintedIntoTheBackingImage) {
  SetName(SizedFile("movie.avi", 3000000));
  SetSize("1 MB");
  const QImage& image = main->picParts->Image();
  ASSERT_EQ(image.deviceIndependentSize().toSize(), main->picParts->contentsRect().size());
  // Strip pixel (x, y), whatever the screen's pixel ratio.
  auto at = [&image](int x, int y) {
    const qreal ratio = image.devicePixelRatio();
    return image.pixelColor(static_cast<int>(x * ratio), static_cast<int>(y * ratio));
  };
  const QColor fill(128, 128, 255);
  const QColor foreground = main->picParts->ColourOf(DiagramColour::Foreground);
  const QColor background = main->picParts->palette().color(QPalette::Window);
  const int h = main->diagheight;
  // The first box's outline and interior, the gap after it.
  const int pw = static_cast<int>(1048576 / (3000000.0 / main->diagwidth));
  EXPECT_EQ(at(1, 1), foreground);
  EXPECT_EQ(at(pw - 1, h), foreground);
  EXPECT_EQ(at(2, 2), fill);
  EXPECT_EQ(at(pw, 2), background);
  EXPECT_EQ(at(0, 0), background);
}

TEST_F(MainFixture, StatusIsWrittenOnlyWhenItChanges) {
  SetName(SizedFile("movie.avi", 3000000));
  SetSize("1 MB");
  const int writes = main->StatusBar->Writes();
  main->DrawParts();
  main->DrawParts();
  EXPECT_EQ(main->StatusBar->Writes(), writes);
}

// Where the specified clicks land for F = 3,000,000 with the window's own W.
std::string ExpectedClick(double f, int w, bool byCount, double x) {
  double size;
  if (byCount) {
    if (x > w / 2.0) x = std::trunc(w - x);
    if (x < w / 20.0) x = std::trunc(w / 20.0);
    const double q = w / x, t = std::trunc(q);
    const double n = q - t > 0.5 ? t + 1 : t;
    size = std::trunc(f / n) + (std::fmod(f, n) != 0 ? 1 : 0);
  } else {
    size = std::trunc(x / w * f);
  }
  if (size >= f)
    size = std::trunc((w - 1.0) / w * f);
  else if (size <= 0)
    size = std::trunc(1.0 / w * f);
  return std::to_string(static_cast<long long>(size));
}

struct ClickCase {
  Qt::MouseButton button;
  Qt::KeyboardModifiers modifiers;
  int x;             // for W = 216
  const char* text;  // entry text for W = 216
};

TEST_F(MainFixture, ClicksIntoTheDiagramSetTheEntry) {
  SetName(SizedFile("movie.avi", 3000000));
  const int w = main->diagwidth;
  const std::vector<ClickCase> cases = {
      {Qt::LeftButton, Qt::NoModifier, 108, "1500000"},  {Qt::LeftButton, Qt::NoModifier, 0, "13888"},
      {Qt::LeftButton, Qt::NoModifier, 216, "2986111"},  {Qt::RightButton, Qt::NoModifier, 54, "750000"},
      {Qt::RightButton, Qt::NoModifier, 108, "1500000"}, {Qt::RightButton, Qt::NoModifier, 107, "1500000"},
      {Qt::RightButton, Qt::NoModifier, 109, "1500000"}, {Qt::RightButton, Qt::NoModifier, 200, "230770"},
      {Qt::RightButton, Qt::NoModifier, 11, "150000"},   {Qt::RightButton, Qt::NoModifier, 10, "136364"},
      {Qt::RightButton, Qt::NoModifier, 3, "136364"},    {Qt::RightButton, Qt::NoModifier, 0, "136364"},
      {Qt::RightButton, Qt::NoModifier, 216, "136364"},  {Qt::LeftButton, Qt::ControlModifier, 54, "750000"},
  };
  const int left = main->picParts->contentsRect().left();
  for (const ClickCase& c : cases) {
    // Positions scale with the strip so that they hit the same places.
    const int x = w == 216 ? c.x : static_cast<int>(std::lround(c.x * w / 216.0));
    const std::string expected =
        w == 216 ? c.text
                 : ExpectedClick(3000000, w, c.button == Qt::RightButton || c.modifiers != Qt::NoModifier, x);
    QTest::mouseClick(main->picParts, c.button, c.modifiers, QPoint(left + x, 5));
    EXPECT_EQ(main->edPartsize->currentText().toStdString(), expected) << c.x << " W=" << w;
    EXPECT_EQ(main->partsize, std::stod(expected)) << c.x;
  }
  // Without an accepted file a click does nothing.
  main->edFilename->setText(Q(dir.Join("missing")));
  main->edPartsize->setEditText("7");
  QTest::mouseClick(main->picParts, Qt::LeftButton, {}, QPoint(left + 50, 5));
  EXPECT_EQ(main->edPartsize->currentText(), "7");
}

TEST_F(MainFixture, PresetRowsMoveToTheTop) {
  std::vector<std::string> rows = DefaultPresetRows('.');
  // A new text pushes the last row out; a known row moves up.
  main->edPartsize->setEditText("2 MB");
  main->UpdatePartSizeList();
  std::vector<std::string> expected = rows;
  expected.insert(expected.begin(), "2 MB");
  expected.pop_back();
  for (int i = 0; i < 8; ++i)
    EXPECT_EQ(main->edPartsize->itemText(i).toStdString(), expected[static_cast<std::size_t>(i)]) << i;
  EXPECT_EQ(main->edPartsize->currentIndex(), 0);
  EXPECT_EQ(main->edPartsize->currentText(), "2 MB");

  main->edPartsize->setCurrentIndex(3);
  main->UpdatePartSizeList();
  EXPECT_EQ(main->edPartsize->itemText(0).toStdString(), expected[3]);
  EXPECT_EQ(main->edPartsize->itemText(1), "2 MB");
  EXPECT_EQ(main->edPartsize->itemText(4).toStdString(), expected[4]);
  EXPECT_EQ(main->edPartsize->count(), 8);
}

TEST_F(MainFixture, PickingARowParsesIt) {
  SetName(SizedFile("movie.avi", 3000000));
  main->edPartsize->setCurrentIndex(4);  // 64 KB
  EXPECT_EQ(main->partsize, 65536);
  EXPECT_TRUE(main->butSplit->isEnabled());
}

TEST_F(MainFixture, EnterDoesNothingWhileSplitIsDisabled) {
  QSignalSpy clicks(main->butSplit, &QPushButton::clicked);
  QObject::disconnect(main->butSplit, &QPushButton::clicked, main.get(), &Main::butSplit_Click);
  for (QWidget* focus : {static_cast<QWidget*>(main->edFilename), static_cast<QWidget*>(main->edPartsize)}) {
    focus->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
  }
  EXPECT_EQ(clicks.count(), 0);
  EXPECT_TRUE(main->isVisible());
  SetName(SizedFile("movie.avi", 3000000));
  SetSize("1 MB");
  for (QWidget* focus : {static_cast<QWidget*>(main->edFilename), static_cast<QWidget*>(main->edPartsize)}) {
    focus->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  }
  EXPECT_EQ(clicks.count(), 2);
}

TEST_F(MainFixture, EscapeClosesAndSavesTheSettings) {
  for (QWidget* focus : {static_cast<QWidget*>(main->edPartsize), static_cast<QWidget*>(main->butFilename)}) {
    main->show();
    focus->setFocus();
    QTest::keyClick(focus, Qt::Key_Escape);
    EXPECT_FALSE(main->isVisible());
  }
  EXPECT_TRUE(QFile::exists(Q(dir.Join("settings.ini"))));
}

TEST_F(MainFixture, WindowStaysWhileDisabledForASplit) {
  main->DisableMain();
  EXPECT_FALSE(main->close());
  EXPECT_TRUE(main->isVisible());
  EXPECT_FALSE(QFile::exists(Q(dir.Join("settings.ini"))));
  main->setEnabled(true);
}

struct HintCase {
  QWidget* Main::*control;
  QString text;
};

void MoveOver(QWidget* widget) {
  const QPoint at(widget->width() / 2, widget->height() / 2);
  QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &move);
}

TEST_F(MainFixture, HintsFollowThePointer) {
  SetName(SizedFile("movie.avi", 3000000));
  SetSize("1 MB");
  struct Case {
    QWidget* widget;
    QString text;
  };
  const std::vector<Case> cases = {
      {main->butFilename, "Browse."},
      {main->butSplit, "Split your file."},
      {main->butClose, "Quit Vornak."},
      {main->cmdAbout, Q(main->abouttext)},
      {main->lblFilename, "Path of the file you want to split."},
      {main->lblFilesize, "Size of the split files (e.g. 12345, 12.34 KB, 1 MB)."},
      {main.get(), "3 split files"},
      // Controls without a hint keep the status text.
      {main->lblSize, "3 split files"},
      {main->Label2, "3 split files"},
      {main->picParts, "3 split files"},
      {main->edFilename, "3 split files"},
      {main->StatusBar, "3 split files"},
  };
  for (const Case& c : cases) {
    MoveOver(c.widget);
    EXPECT_EQ(Status(), c.text) << c.widget->objectName().toStdString();
  }
  // Moving within one control writes the status bar once.
  MoveOver(main->butClose);
  const int writes = main->StatusBar->Writes();
  MoveOver(main->butClose);
  MoveOver(main->butClose);
  EXPECT_EQ(main->StatusBar->Writes(), writes);
  EXPECT_EQ(main->hinttext, "Quit Vornak.");
  // Over the disabled split button the background's text shows.
  SetSize("");
  MoveOver(main->butClose);
  ASSERT_FALSE(main->butSplit->isEnabled());
  MoveOver(main->butSplit);
  EXPECT_EQ(Status(), "");
}

TEST_F(MainFixture, BrowseStartsInTheTypedFolderThenInThePickedOne) {
  const std::string picked = SizedFile("picked.bin", 10);
  main->edFilename->setText("/somewhere/else/file.bin");
  browseAnswers = {""};
  main->butFilename->click();
  EXPECT_EQ(main->browsefolder, "/somewhere/else");  // a cancel keeps it
  EXPECT_EQ(main->edFilename->text(), "/somewhere/else/file.bin");
  browseAnswers = {Q(picked)};
  main->butFilename->click();
  EXPECT_EQ(main->edFilename->text(), Q(picked));
  EXPECT_EQ(main->sourcefile, picked);
  EXPECT_EQ(main->lblSize->text(), "10 Bytes");
  main->edFilename->setText("/another/place/x");
  main->butFilename->click();
  EXPECT_EQ(browseStarts, (std::vector<QString>{"/somewhere/else", "/somewhere/else", Q(dir.Path())}));
}

struct DropCase {
  const char* what;
  std::function<void(QMimeData&)> fill;
  bool accepted;
};

TEST_F(MainFixture, DropsOfFilesOnlyAndOnlyOnTheTargets) {
  const std::string first = SizedFile("first.bin", 11);
  const std::string second = SizedFile("second.bin", 12);
  const std::string third = SizedFile("third.bin", 13);
  const std::vector<DropCase> data = {
      {"three files",
       [&](QMimeData& m) {
         m.setUrls(
             {QUrl::fromLocalFile(Q(first)), QUrl::fromLocalFile(Q(second)), QUrl::fromLocalFile(Q(third))});
       },
       true},
      {"text", [&](QMimeData& m) { m.setText(Q(second)); }, false},
      {"web link", [](QMimeData& m) { m.setUrls({QUrl("http://example.org/file.bin")}); }, false},
      {"link and file",
       [&](QMimeData& m) {
         m.setUrls({QUrl("http://example.org/file.bin"), QUrl::fromLocalFile(Q(first))});
       },
       false},
  };
  const std::vector<std::pair<QWidget*, bool>> targets = {
      {main.get(), true},         {main->edFilename, true}, {main->lblSize, true},
      {main->picParts, true},     {main->butClose, false},  {main->edPartsize->lineEdit(), false},
      {main->lblFilesize, false}, {main->StatusBar, false},
  };
  for (const auto& [widget, isTarget] : targets) {
    for (const DropCase& d : data) {
      main->edFilename->setText("before");
      QMimeData mime;
      d.fill(mime);
      const QPoint at(widget->width() / 2, widget->height() / 2);
      QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(widget, &enter);
      const bool expected = isTarget && d.accepted;
      const std::string where = widget->objectName().toStdString() + " " + d.what;
      EXPECT_EQ(enter.isAccepted() && enter.dropAction() != Qt::IgnoreAction, expected) << where;
      if (expected) {
        EXPECT_EQ(enter.dropAction(), Qt::CopyAction) << where;
      }
      QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(widget, &drop);
      EXPECT_EQ(main->edFilename->text(), expected ? Q(first) : QString("before")) << where;
      if (expected) {
        EXPECT_EQ(main->lblSize->text(), "11 Bytes") << where;
      }
    }
  }
  // A drag that may only move is refused.
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(Q(first))});
  QDragEnterEvent moveOnly(QPoint(1, 1), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(main->edFilename, &moveOnly);
  EXPECT_FALSE(moveOnly.isAccepted() && moveOnly.dropAction() != Qt::IgnoreAction);
}

}  // namespace
}  // namespace vornak
