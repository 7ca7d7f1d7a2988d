// SPDX-License-Identifier: GPL-3.0-or-later
// The four windows in several desktop fonts: every control where its twips put it, its text inside it, no
// overlaps, the tab order and first focus; then the default, cancel and access keys.
#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>

#include "destination/TargetRecord.h"
#include "support/QStringPrint.h"
#include "support/ScriptedAsker.h"
#include "support/TempDir.h"
#include "ui/AboutDialog.h"
#include "ui/MainWindow.h"
#include "ui/ProgressDialog.h"
#include "ui/TargetDialog.h"
#include "ui/WindowGeometry.h"

namespace vornak {
namespace {

struct Control {
  const char* name;
  int left, top, width, height;  // twips; a line has height 0
  int tab;                       // place in the tab order; -1: never takes the focus from the keyboard
  bool sizesItself = false;      // a caption that may grow to its text
};

struct Layout {
  const char* window;
  int clientWidth, clientHeight;  // twips
  const char* firstFocus;
  std::vector<Control> controls;
};

// clang-format off
const Layout kMain{"Main", 4980, 2445, "fileEdit", {
    {"fileLabel", 120, 120, 675, 195, -1, true}, {"fileEdit", 120, 360, 2925, 285, 1},
    {"browseButton", 3120, 360, 330, 285, 2}, {"fileSizeCaption", 120, 720, 555, 195, -1, true},
    {"fileSizeLabel", 840, 720, 2535, 255, -1}, {"diagramView", 105, 1050, 3330, 240, -1},
    {"partSizeLabel", 105, 1365, 1155, 195, -1, true}, {"partSizeBox", 105, 1620, 3315, 315, 6},
    {"splitButton", 3720, 105, 1170, 345, 7}, {"exitButton", 3720, 525, 1170, 345, 8},
    {"aboutButton", 3720, 1050, 1170, 345, 10}, {"statusLine", 0, 2130, 4980, 315, -1}}};
const Layout kSave{"Save", 6555, 3225, "nameEdit", {
    {"nameLabel", 120, 120, 2055, 195, -1, true}, {"nameEdit", 120, 360, 2055, 285, 1},
    {"previewList", 120, 720, 2055, 1935, 2}, {"overwriteBox", 120, 2760, 2175, 255, 3},
    {"folderCaption", 2400, 120, 2655, 195, -1, true}, {"folderLabel", 2400, 405, 2655, 195, -1, true},
    {"folderList", 2400, 720, 2655, 1665, 5}, {"driveLabel", 2400, 2520, 2655, 195, -1, true},
    {"driveBox", 2400, 2760, 2655, 315, 7}, {"okButton", 5280, 120, 1170, 345, 8},
    {"cancelButton", 5280, 600, 1170, 345, 9}}};
const Layout kAbout{"AboutBox", 4230, 2460, "okButton", {
    {"iconLabel", 120, 120, 480, 480, -1}, {"productLabel", 840, 135, 1380, 195, -1, true},
    {"versionLabel", 840, 375, 795, 195, -1, true}, {"descriptionLabel", 840, 630, 2370, 195, -1, true},
    {"copyrightLabel", 840, 1050, 2610, 195, -1, true}, {"webCaption", 840, 1470, 1230, 195, -1, true},
    {"webLabel", 2070, 1455, 1620, 195, -1, true}, {"ruleDark", 105, 1890, 3990, 0, -1},
    {"ruleLight", 105, 1905, 3990, 0, -1}, {"okButton", 3045, 1995, 1095, 375, 5}}};
const Layout kProgress{"Progress", 4830, 1110, "cancelButton", {
    {"sourceLabel", 120, 120, 4575, 225, -1}, {"partLabel", 120, 360, 4575, 225, -1},
    {"progressBar", 120, 720, 3400, 195, -1}, {"cancelButton", 3640, 645, 1065, 345, 1}}};
// clang-format on

// Builds a window with throw-away settings and folders, shown and active.
struct Windows {
  test::TempDir dir;
  ScriptedAsker asker;
  TargetRecord record;

  std::unique_ptr<QWidget> show(const Layout& layout) {
    std::unique_ptr<QWidget> window;
    const std::string name = layout.window;
    if (name == "Main") {
      MainWindow::Options options;
      options.settingsFile = QString::fromStdString(dir.join("settings.ini"));
      window = std::make_unique<MainWindow>(asker, nullptr, options);
    } else if (name == "Save") {
      record = {"", dir.path(), "holiday-video.avi", "avi", counterPattern(12), 12, 0};
      const std::vector<Volumes::Volume> volumes{{"/", "", "ext4", "/dev/sda1"}};
      window = std::make_unique<TargetDialog>(record, asker, nullptr, [volumes] { return volumes; });
    } else if (name == "AboutBox") {
      window = std::make_unique<AboutDialog>(nullptr, [](const QUrl&) {});
    } else {
      window = std::make_unique<ProgressDialog>(nullptr, &asker);
    }
    window->show();
    QApplication::setActiveWindow(window.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    return window;
  }
};

const auto Find = [](QWidget* window, const char* name) { return window->findChild<QWidget*>(name); };
const auto Focused = [](QWidget* w) { return QApplication::focusWidget() ? QApplication::focusWidget() : w; };

// The size a control's text needs and the room it has.
std::pair<QSize, QSize> textRoom(QWidget* w) {
  const QFontMetrics fm(w->font());
  QSize need(0, 0), room = w->size();
  if (auto* label = qobject_cast<QLabel*>(w)) {
    if (!label->text().isEmpty() || !label->pixmap().isNull()) need = label->sizeHint();
  } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
    need = check->sizeHint();
  } else if (auto* button = qobject_cast<QPushButton*>(w)) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.features = button->isDefault() ? QStyleOptionButton::DefaultButton : QStyleOptionButton::None;
    room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).size();
    need = QSize(fm.horizontalAdvance(QString(button->text()).remove('&')), fm.height());
  } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    need = QSize(0, edit->minimumSizeHint().height());
  } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    option.frame = combo->hasFrame();
    room.setWidth(combo->style()
                      ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
                      .width());
    need.setHeight(combo->minimumSizeHint().height());
    for (int i = 0; i < combo->count(); ++i)
      need.setWidth(std::max(need.width(), fm.horizontalAdvance(combo->itemText(i))));
  } else if (w->objectName() == "statusLine") {
    need = QSize(0, fm.height());
    if (auto* frame = qobject_cast<QFrame*>(w)) room = frame->contentsRect().size();
  }
  return {need, room};
}

QFont family(const char* family, double points) {
  QFont font(QString::fromLatin1(family));
  font.setPointSizeF(points);
  return font;
}

const struct {
  const char* name;
  const char* family;  // nullptr: the desktop's own font
  double points;
} kFonts[] = {{"DesktopFont", nullptr, 0},
              {"Large", "DejaVu Sans", 12},
              {"Small", "DejaVu Sans", 7},
              {"Narrow", "Nimbus Sans", 10}};

using LayoutCase = std::pair<const Layout*, std::size_t>;  // window, font

class LayoutTest : public ::testing::TestWithParam<LayoutCase> {
 protected:
  void SetUp() override {
    if (const auto& f = kFonts[GetParam().second]; f.family)
      QApplication::setFont(family(f.family, f.points));
  }
  void TearDown() override { QApplication::setFont(saved_); }
  QFont saved_ = QApplication::font();
};

TEST_P(LayoutTest, ControlsSitWhereTheirTwipsPutThemInTheirTabOrder) {
  const Layout& layout = *GetParam().first;
  Windows windows;
  auto window = windows.show(layout);
  const double scale = double(window->width()) / layout.clientWidth, tolerance = 0.03 * layout.clientWidth;
  EXPECT_NEAR(window->height() / scale, layout.clientHeight, 0.05 * layout.clientHeight);
  std::vector<std::pair<int, QWidget*>> byTab;
  for (const Control& c : layout.controls) {
    SCOPED_TRACE(c.name);
    QWidget* w = Find(window.get(), c.name);
    ASSERT_NE(w, nullptr);
    const QRect r = w->geometry();
    EXPECT_NEAR(r.left() / scale, c.left, tolerance);
    EXPECT_NEAR(r.top() / scale, c.top, tolerance);
    EXPECT_TRUE(c.height != 0 || r.height() == 1) << "a line is one pixel high";
    if (c.height != 0 && !c.sizesItself) {
      EXPECT_NEAR(r.width() / scale, c.width, tolerance);
      EXPECT_NEAR(r.height() / scale, c.height, tolerance);
    }
    EXPECT_TRUE(window->rect().contains(r)) << "outside the client area";
    const auto [need, room] = textRoom(w);
    EXPECT_TRUE(need.width() <= room.width() && need.height() <= room.height())
        << "text needs " << need.width() << "x" << need.height() << ", has " << room.width() << "x"
        << room.height();
    for (const Control& other : layout.controls)
      EXPECT_FALSE(&other < &c && r.intersects(Find(window.get(), other.name)->geometry())) << other.name;
    EXPECT_EQ(bool(w->focusPolicy() & Qt::TabFocus), c.tab >= 0);
    if (c.tab >= 0) byTab.emplace_back(c.tab, w);
  }
  std::sort(byTab.begin(), byTab.end());
  for (std::size_t i = 0; i + 1 < byTab.size(); ++i) {  // Tab walks them in order
    QWidget* next = byTab[i].second->nextInFocusChain();
    while (std::none_of(byTab.begin(), byTab.end(), [next](auto& t) { return t.second == next; }))
      next = next->nextInFocusChain();
    EXPECT_EQ(next, byTab[i + 1].second) << byTab[i].second->objectName().toStdString();
  }
  EXPECT_EQ(QApplication::focusWidget(), Find(window.get(), layout.firstFocus));
}

std::vector<LayoutCase> allCases() {
  std::vector<LayoutCase> cases;
  for (const Layout* layout : {&kMain, &kSave, &kAbout, &kProgress})
    for (std::size_t font = 0; font < std::size(kFonts); ++font) cases.emplace_back(layout, font);
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Windows, LayoutTest, ::testing::ValuesIn(allCases()),
                         [](const ::testing::TestParamInfo<LayoutCase>& info) {
                           return std::string(info.param.first->window) + "_" +
                                  kFonts[info.param.second].name;
                         });

// Cuts a button's own handler off so that its clicks can be counted.
std::unique_ptr<QSignalSpy> detached(QPushButton* button) {
  QObject::disconnect(button, &QAbstractButton::clicked, nullptr, nullptr);
  return std::make_unique<QSignalSpy>(button, &QAbstractButton::clicked);
}

// Access keys: the target gets the focus or, for a button, is clicked. Enter and Escape in Save and
// Progress: their own tests.
TEST(LayoutKeys, KeysReachTheirControls) {
  // clang-format off
  const struct { const Layout* layout; Qt::Key key; const char* target; } keys[] = {
      {&kMain, Qt::Key_F, "fileEdit"}, {&kMain, Qt::Key_I, "partSizeBox"}, {&kSave, Qt::Key_F, "nameEdit"},
      {&kSave, Qt::Key_O, "overwriteBox"}, {&kSave, Qt::Key_D, "folderList"}, {&kSave, Qt::Key_R, "driveBox"},
      {&kSave, Qt::Key_S, "okButton"}, {&kSave, Qt::Key_C, "cancelButton"}};
  // clang-format on
  for (const auto& k : keys) {
    SCOPED_TRACE(std::string(k.layout->window) + " " + k.target);
    Windows windows;
    auto window = windows.show(*k.layout);
    QWidget* target = Find(window.get(), k.target);
    QList<QPushButton*> buttons = window->findChildren<QPushButton*>();
    if (buttons.back() != target) buttons.back()->setFocus();  // start elsewhere
    auto* button = qobject_cast<QPushButton*>(target);
    auto spy = button ? detached(button) : nullptr;
    QTest::keyClick(Focused(window.get()), k.key, Qt::AltModifier);
    if (button) {  // clicked after a short press animation
      for (int i = 0; i < 50 && spy->count() == 0; ++i) QTest::qWait(10);
      EXPECT_EQ(spy->count(), 1);
    } else {
      EXPECT_EQ(Focused(window.get())->objectName().toStdString(), k.target);
    }
  }
}

TEST(WindowGeometryTest, NeighboursMeetAndTheFactorGrowsWithTheFont) {
  for (const double factor : {1.0, 1.25, 1.3165, 1.5, 2.0}) {
    const WindowGeometry g(QApplication::font(), factor);
    for (int left = 0; left < 600; left += 37)  // no gaps or overlaps from rounding
      EXPECT_EQ(g.rect(left, 0, 97, 10).right() + 1, g.rect(left + 97, 0, 113, 10).left()) << factor;
    EXPECT_EQ(g.rect(0, 2130, 4980, 315).bottom() + 1, g.size(4980, 2445).height()) << factor;
  }
  std::vector<double> factors{1.0};
  for (const double points : {5.0, 7.0, 9.0, 12.0, 16.0, 24.0})
    factors.push_back(WindowGeometry::fontFactor(family("DejaVu Sans", points)));
  EXPECT_TRUE(std::is_sorted(factors.begin(), factors.end()));
  EXPECT_GT(factors.back(), 2.0);
}

}  // namespace
}  // namespace vornak
