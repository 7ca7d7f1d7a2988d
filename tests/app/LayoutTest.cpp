// The layouts of all four windows, checked on the real windows in several
// desktop fonts: every control where its twips put it (relative to the
// client area), its text inside it, no two controls on top of each other, the
// tab order, the first focus, the default and cancel keys and the access keys.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTest>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/AboutBox.h"
#include "app/Main.h"
#include "split/Progress.h"
#include "support/ScriptedAsker.h"
#include "support/TempDir.h"
#include "target/Save.h"
#include "target/TargetRecord.h"
#include "target/WindowGeometry.h"

namespace vornak {
namespace {

enum class Kind {
  Label,
  TextBox,
  Button,
  Combo,
  List,
  Check,
  FolderList,
  DriveList,
  Picture,
  Status,
  Bar,
  Image,
  Line
};

// Kinds that take the focus and so have a place in the tab order.
bool TakesFocus(Kind kind) {
  switch (kind) {
    case Kind::TextBox:
    case Kind::Button:
    case Kind::Combo:
    case Kind::List:
    case Kind::Check:
    case Kind::FolderList:
    case Kind::DriveList:
      return true;
    default:
      return false;
  }
}

struct Control {
  const char* name;
  Kind kind;
  int left, top, width, height;  // twips; a line has height 0
  int tab;                       // -1: none
  bool sizesItself = false;      // may grow to its caption
};

struct Layout {
  const char* window;
  int clientWidth, clientHeight;  // twips
  std::vector<Control> controls;
  const char* firstFocus;
};

const Layout kMain{"Main",
                   4980,
                   2445,
                   {
                       {"lblFilename", Kind::Label, 120, 120, 675, 195, 0, true},
                       {"edFilename", Kind::TextBox, 120, 360, 2925, 285, 1},
                       {"butFilename", Kind::Button, 3120, 360, 330, 285, 2},
                       {"Label2", Kind::Label, 120, 720, 555, 195, 3, true},
                       {"lblSize", Kind::Label, 840, 720, 2535, 255, 4},
                       {"picParts", Kind::Picture, 105, 1050, 3330, 240, 11},
                       {"lblFilesize", Kind::Label, 105, 1365, 1155, 195, 5, true},
                       {"edPartsize", Kind::Combo, 105, 1620, 3315, 315, 6},
                       {"butSplit", Kind::Button, 3720, 105, 1170, 345, 7},
                       {"butClose", Kind::Button, 3720, 525, 1170, 345, 8},
                       {"cmdAbout", Kind::Button, 3720, 1050, 1170, 345, 10},
                       {"StatusBar", Kind::Status, 0, 2130, 4980, 315, 9},
                   },
                   "edFilename"};

const Layout kSave{"Save",
                   6555,
                   3225,
                   {
                       {"Label2", Kind::Label, 120, 120, 2055, 195, 0, true},
                       {"edActName", Kind::TextBox, 120, 360, 2055, 285, 1},
                       {"List1", Kind::List, 120, 720, 2055, 1935, 2},
                       {"chkOverwrite", Kind::Check, 120, 2760, 2175, 255, 3},
                       {"Label1", Kind::Label, 2400, 120, 2655, 195, 4, true},
                       {"lblActFolder", Kind::Label, 2400, 405, 2655, 195, 10, true},
                       {"Dir1", Kind::FolderList, 2400, 720, 2655, 1665, 5},
                       {"Label3", Kind::Label, 2400, 2520, 2655, 195, 6, true},
                       {"Drive1", Kind::DriveList, 2400, 2760, 2655, 315, 7},
                       {"Command1", Kind::Button, 5280, 120, 1170, 345, 8},
                       {"Command2", Kind::Button, 5280, 600, 1170, 345, 9},
                   },
                   "edActName"};

const Layout kAbout{"AboutBox",
                    4230,
                    2460,
                    {
                        {"Image1", Kind::Image, 120, 120, 480, 480, -1},
                        {"Label1", Kind::Label, 840, 135, 1380, 195, 0, true},
                        {"lblVersion", Kind::Label, 840, 375, 795, 195, 6, true},
                        {"lblDescription", Kind::Label, 840, 630, 2370, 195, 1, true},
                        {"lblCopyright", Kind::Label, 840, 1050, 2610, 195, 2, true},
                        {"Label4", Kind::Label, 840, 1470, 1230, 195, 3, true},
                        {"lblWWW", Kind::Label, 2070, 1455, 1620, 195, 4, true},
                        {"Line1", Kind::Line, 105, 1890, 3990, 0, -1},
                        {"Line2", Kind::Line, 105, 1905, 3990, 0, -1},
                        {"Command1", Kind::Button, 3045, 1995, 1095, 375, 5},
                    },
                    "Command1"};

const Layout kProgress{"Progress",
                       4830,
                       1110,
                       {
                           {"lblStatus1", Kind::Label, 120, 120, 4575, 225, 3},
                           {"lblStatus2", Kind::Label, 120, 360, 4575, 225, 0},
                           {"ProgressBar", Kind::Bar, 120, 720, 3400, 195, 2},
                           {"butCancel", Kind::Button, 3640, 645, 1065, 345, 1},
                       },
                       "butCancel"};

QString WithoutMnemonic(QString text) {
  text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  text.remove(QLatin1Char('&'));
  text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
  return text;
}

// Builds the four windows on demand with throw-away settings and folders.
struct Windows {
  test::TempDir dir;
  ScriptedAsker asker;
  TargetRecord record;
  std::vector<QUrl> opened;

  std::unique_ptr<QWidget> Make(const Layout& layout) {
    const std::string name = layout.window;
    if (name == "Main") {
      Main::Options options;
      options.settingsFile = QString::fromStdString(dir.Join("settings.ini"));
      options.openFileDialog = [](QWidget*, const QString&) { return QString(); };
      return std::make_unique<Main>(asker, nullptr, options);
    }
    if (name == "Save") {
      record.savepath = dir.Path();
      record.saveftitle = "holiday-video.avi";
      record.savefext = "avi";
      record.savefcount = 12;
      record.saveformat = CounterPattern(record.savefcount);
      std::vector<Volumes::Volume> volumes{{"/", "", "ext4", "/dev/sda1"}};
      return std::make_unique<Save>(record, asker, nullptr, [volumes] { return volumes; });
    }
    if (name == "AboutBox")
      return std::make_unique<AboutBox>(nullptr, [this](const QUrl& url) { opened.push_back(url); });
    return std::make_unique<Progress>(nullptr, &asker);
  }
};

std::unique_ptr<QWidget> ShowActive(Windows& windows, const Layout& layout) {
  auto window = windows.Make(layout);
  window->show();
  QApplication::setActiveWindow(window.get());
  EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
  return window;
}

QWidget* Find(QWidget* window, const char* name) {
  return window->findChild<QWidget*>(QString::fromLatin1(name));
}

// What does not fit: the text of the control against the room it has.
std::string TextProblem(QWidget* w, Kind kind) {
  const QFontMetrics fm(w->font());
  auto tooSmall = [&](QSize need, QSize room) {
    if (need.width() <= room.width() && need.height() <= room.height()) return std::string();
    return "needs " + std::to_string(need.width()) + " x " + std::to_string(need.height()) + ", has " +
           std::to_string(room.width()) + " x " + std::to_string(room.height());
  };
  if (auto* label = qobject_cast<QLabel*>(w)) {
    if (label->text().isEmpty() && label->pixmap().isNull()) return {};
    return tooSmall(label->sizeHint(), label->size());
  }
  if (auto* check = qobject_cast<QCheckBox*>(w)) return tooSmall(check->sizeHint(), check->size());
  if (auto* button = qobject_cast<QPushButton*>(w)) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.features = button->isDefault() ? QStyleOptionButton::DefaultButton : QStyleOptionButton::None;
    const QRect contents = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    return tooSmall(QSize(fm.horizontalAdvance(WithoutMnemonic(button->text())), fm.height()),
                    contents.size());
  }
  if (auto* edit = qobject_cast<QLineEdit*>(w))
    return tooSmall(QSize(0, edit->minimumSizeHint().height()), edit->size());
  if (auto* combo = qobject_cast<QComboBox*>(w)) {
    if (combo->height() < combo->minimumSizeHint().height())
      return "height " + std::to_string(combo->height()) + " < " +
             std::to_string(combo->minimumSizeHint().height());
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    option.frame = combo->hasFrame();
    option.subControls = QStyle::SC_All;
    const QRect field =
        combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
    for (int i = 0; i < combo->count(); ++i) {
      const QString item = combo->itemText(i);
      if (fm.horizontalAdvance(item) > field.width())
        return "row \"" + item.toStdString() + "\" " +
               tooSmall(QSize(fm.horizontalAdvance(item), 0), field.size());
    }
    return {};
  }
  if (kind == Kind::Status) {
    const QFrame* frame = qobject_cast<QFrame*>(w);
    const QRect room = frame != nullptr ? frame->contentsRect() : w->rect();
    return tooSmall(QSize(0, fm.height()), room.size());
  }
  return {};
}

struct FontCase {
  const char* name;
  std::function<QFont()> make;
};

QFont Family(const char* family, double points) {
  QFont font(QString::fromLatin1(family));
  font.setPointSizeF(points);
  return font;
}

const FontCase kFonts[] = {
    {"DesktopFont", [] { return QApplication::font(); }},
    {"Large", [] { return Family("DejaVu Sans", 12); }},
    {"Small", [] { return Family("DejaVu Sans", 7); }},
    {"Narrow", [] { return Family("Nimbus Sans", 10); }},
};

struct LayoutCase {
  const Layout* layout;
  const FontCase* font;
};

void PrintTo(const LayoutCase& c, std::ostream* os) {
  *os << c.layout->window << " in " << c.font->name;
}

class LayoutTest : public ::testing::TestWithParam<LayoutCase> {
 protected:
  void SetUp() override {
    saved_ = QApplication::font();
    QApplication::setFont(GetParam().font->make());
  }
  void TearDown() override { QApplication::setFont(saved_); }

  Windows windows_;

 private:
  QFont saved_;
};

TEST_P(LayoutTest, ControlsSitWhereTheirTwipsPutThem) {
  const Layout& layout = *GetParam().layout;
  auto window = ShowActive(windows_, layout);
  const QSize client = window->size();
  // The client area keeps its proportions.
  const double scale = double(client.width()) / layout.clientWidth;
  EXPECT_NEAR(client.height() / scale, layout.clientHeight, 0.05 * layout.clientHeight);
  // Each control keeps its place relative to the client area.
  const double tolerance = 0.03 * layout.clientWidth;
  for (const Control& c : layout.controls) {
    SCOPED_TRACE(c.name);
    QWidget* w = Find(window.get(), c.name);
    ASSERT_NE(w, nullptr) << "no control named " << c.name;
    const QRect r = w->geometry();
    EXPECT_NEAR(r.left() / scale, c.left, tolerance);
    EXPECT_NEAR(r.top() / scale, c.top, tolerance);
    if (c.kind == Kind::Line) {
      EXPECT_EQ(r.height(), 1);
    } else if (c.sizesItself) {
      // Takes the size of its caption: only its place is fixed.
    } else {
      EXPECT_NEAR(r.width() / scale, c.width, tolerance);
      EXPECT_NEAR(r.height() / scale, c.height, tolerance);
    }
    EXPECT_TRUE(window->rect().contains(r)) << "outside the client area";
  }
}

TEST_P(LayoutTest, EveryTextFitsItsControl) {
  const Layout& layout = *GetParam().layout;
  auto window = ShowActive(windows_, layout);
  for (const Control& c : layout.controls) {
    QWidget* w = Find(window.get(), c.name);
    ASSERT_NE(w, nullptr) << c.name;
    const std::string problem = TextProblem(w, c.kind);
    EXPECT_EQ(problem, "") << layout.window << "." << c.name;
  }
}

TEST_P(LayoutTest, NoTwoControlsOverlap) {
  const Layout& layout = *GetParam().layout;
  auto window = ShowActive(windows_, layout);
  for (std::size_t i = 0; i < layout.controls.size(); ++i) {
    for (std::size_t j = i + 1; j < layout.controls.size(); ++j) {
      const Control& a = layout.controls[i];
      const Control& b = layout.controls[j];
      QWidget* wa = Find(window.get(), a.name);
      QWidget* wb = Find(window.get(), b.name);
      ASSERT_TRUE(wa != nullptr && wb != nullptr);
      EXPECT_FALSE(wa->geometry().intersects(wb->geometry())) << a.name << " overlaps " << b.name;
    }
  }
}

TEST_P(LayoutTest, TabOrderAndFirstFocus) {
  const Layout& layout = *GetParam().layout;
  auto window = ShowActive(windows_, layout);
  std::vector<const Control*> byTab;
  for (const Control& c : layout.controls)
    if (c.tab >= 0 && TakesFocus(c.kind)) byTab.push_back(&c);
  std::sort(byTab.begin(), byTab.end(), [](const Control* a, const Control* b) { return a->tab < b->tab; });
  std::vector<std::string> expected;
  std::map<QWidget*, std::string> names;
  for (const Control* c : byTab) {
    expected.push_back(c->name);
    names[Find(window.get(), c->name)] = c->name;
  }
  // The focus chain, from the first control on, as Tab walks it.
  std::vector<std::string> chain;
  QWidget* first = Find(window.get(), byTab.front()->name);
  QWidget* w = first;
  do {
    if (names.count(w) != 0 && (w->focusPolicy() & Qt::TabFocus)) chain.push_back(names[w]);
    w = w->nextInFocusChain();
  } while (w != first && chain.size() <= expected.size());
  EXPECT_EQ(chain, expected);
  // Controls outside the tab order never take the focus from the keyboard.
  for (const Control& c : layout.controls) {
    if (TakesFocus(c.kind)) continue;
    EXPECT_FALSE(Find(window.get(), c.name)->focusPolicy() & Qt::TabFocus) << c.name;
  }
  EXPECT_EQ(QApplication::focusWidget(), Find(window.get(), layout.firstFocus));
}

std::vector<LayoutCase> AllCases() {
  std::vector<LayoutCase> cases;
  for (const Layout* layout : {&kMain, &kSave, &kAbout, &kProgress})
    for (const FontCase& font : kFonts) cases.push_back({layout, &font});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Windows, LayoutTest, ::testing::ValuesIn(AllCases()),
                         [](const ::testing::TestParamInfo<LayoutCase>& info) {
                           return std::string(info.param.layout->window) + "_" + info.param.font->name;
                         });

// ---------------------------------------------------------------------------
// Keys

// Cuts a button's own handler off so that a key's effect can be counted
// without running the command behind it.
std::unique_ptr<QSignalSpy> Detached(QPushButton* button) {
  QObject::disconnect(button, &QAbstractButton::clicked, nullptr, nullptr);
  return std::make_unique<QSignalSpy>(button, &QAbstractButton::clicked);
}

// A button's access key clicks it after a short press animation.
bool WaitForClicks(QSignalSpy& spy, int count) {
  for (int i = 0; i < 50 && spy.count() < count; ++i) QTest::qWait(10);
  return spy.count() == count;
}

QWidget* Focused(QWidget* window) {
  return QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : window;
}

TEST(LayoutKeys, MainEnterSplitsOnlyWhileEnabledAndEscCloses) {
  Windows windows;
  auto window = ShowActive(windows, kMain);
  auto& main = static_cast<Main&>(*window);
  auto split = Detached(main.butSplit);
  main.edFilename->setFocus();
  QTest::keyClick(Focused(window.get()), Qt::Key_Return);
  EXPECT_EQ(split->count(), 0);
  main.butSplit->setEnabled(true);
  for (QWidget* focus : {static_cast<QWidget*>(main.edFilename), static_cast<QWidget*>(main.edPartsize)}) {
    focus->setFocus();
    QTest::keyClick(Focused(window.get()), Qt::Key_Return);
  }
  EXPECT_EQ(split->count(), 2);
  QTest::keyClick(Focused(window.get()), Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());
}

TEST(LayoutKeys, ProgressEnterAndEscBothPressCancel) {
  Windows windows;
  auto window = ShowActive(windows, kProgress);
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
    windows.asker.Push(Answer::No);
    QTest::keyClick(Focused(window.get()), key);
  }
  ASSERT_EQ(windows.asker.messages.size(), 2u);
  EXPECT_EQ(windows.asker.messages[0], windows.asker.messages[1]);
  EXPECT_EQ(windows.asker.messages[0].buttons, Buttons::YesNo);
  EXPECT_TRUE(window->isVisible());
}

// The about box's keys (only Enter closes it) are tested with the about box.

TEST(LayoutKeys, SaveEnterConfirmsAndEscCancels) {
  Windows windows;
  auto window = ShowActive(windows, kSave);
  auto& save = static_cast<Save&>(*window);
  auto confirm = Detached(save.Command1);
  QTest::keyClick(Focused(window.get()), Qt::Key_Return);
  EXPECT_EQ(confirm->count(), 1);
  QTest::keyClick(Focused(window.get()), Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());
}

struct AccessKey {
  const Layout* layout;
  Qt::Key key;
  const char* target;  // the control that gets the focus or, for a button, is clicked
};

TEST(LayoutKeys, AccessKeysReachTheirControls) {
  const AccessKey keys[] = {
      {&kMain, Qt::Key_F, "edFilename"}, {&kMain, Qt::Key_I, "edPartsize"},
      {&kSave, Qt::Key_F, "edActName"},  {&kSave, Qt::Key_O, "chkOverwrite"},
      {&kSave, Qt::Key_D, "Dir1"},       {&kSave, Qt::Key_R, "Drive1"},
      {&kSave, Qt::Key_S, "Command1"},   {&kSave, Qt::Key_C, "Command2"},
  };
  for (const AccessKey& k : keys) {
    SCOPED_TRACE(std::string(k.layout->window) + " Alt+" + char(k.key) + " -> " + k.target);
    Windows windows;
    auto window = ShowActive(windows, *k.layout);
    QWidget* target = Find(window.get(), k.target);
    ASSERT_NE(target, nullptr);
    // Start somewhere else: on the last button of the window.
    QList<QPushButton*> buttons = window->findChildren<QPushButton*>();
    if (buttons.back() != target) buttons.back()->setFocus();
    if (auto* button = qobject_cast<QPushButton*>(target)) {
      auto spy = Detached(button);
      QTest::keyClick(Focused(window.get()), k.key, Qt::AltModifier);
      EXPECT_TRUE(WaitForClicks(*spy, 1));
    } else {
      QTest::keyClick(Focused(window.get()), k.key, Qt::AltModifier);
      EXPECT_EQ(QApplication::focusWidget(), target)
          << "focus on "
          << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString()
                                          : std::string("nothing"));
    }
  }
}

TEST(LayoutKeys, MainStatusBarSpansTheBottomEdge) {
  Windows windows;
  auto window = ShowActive(windows, kMain);
  const QRect bar = Find(window.get(), "StatusBar")->geometry();
  EXPECT_EQ(bar.left(), 0);
  EXPECT_EQ(bar.width(), window->width());
  EXPECT_EQ(bar.bottom(), window->height() - 1);
}

// ---------------------------------------------------------------------------
// The twip conversion itself

TEST(WindowGeometryTest, ControlsThatMeetInTwipsMeetInPixels) {
  for (const double factor : {1.0, 1.25, 1.3165, 1.5, 2.0}) {
    const WindowGeometry g(QApplication::font(), factor);
    // Widths that round differently on their own must not open gaps or make
    // neighbours overlap: the left strip ends where the next one starts.
    for (int left = 0; left < 600; left += 37) {
      const QRect first = g.rect(left, 0, 97, 10);
      const QRect second = g.rect(left + 97, 0, 113, 10);
      EXPECT_EQ(first.right() + 1, second.left()) << factor << " at " << left;
    }
    // The status bar ends on the client's bottom edge and spans its width.
    EXPECT_EQ(g.rect(0, 2130, 4980, 315).bottom() + 1, g.size(4980, 2445).height()) << factor;
    EXPECT_EQ(g.rect(0, 2130, 4980, 315).width(), g.size(4980, 2445).width()) << factor;
  }
}

TEST(WindowGeometryTest, FactorGrowsWithTheFontAndNeverShrinksTheLayout) {
  double previous = 0;
  for (const double points : {5.0, 7.0, 9.0, 12.0, 16.0, 24.0}) {
    const double factor = WindowGeometry::FontFactor(Family("DejaVu Sans", points));
    EXPECT_GE(factor, 1.0) << points;
    EXPECT_GE(factor, previous) << points;
    previous = factor;
  }
  EXPECT_GT(previous, 2.0);
  EXPECT_EQ(WindowGeometry(QApplication::font(), 1.5).factor(), 1.5);
}

}  // namespace
}  // namespace vornak
