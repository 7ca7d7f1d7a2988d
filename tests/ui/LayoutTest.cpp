// SPDX-License-Identifier: GPL-3.0-or-later
// The four windows in several desktop fonts: every text inside its control,
// no control over another or outside the window, the tab order and the first
// focus, the access keys, and a name for assistive technology on every
// control that takes the focus.
#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>
#include <functional>
#include <memory>

#include "destination/TargetRecord.h"
#include "support/QStringPrint.h"
#include "support/ScriptedAsker.h"
#include "support/TempDir.h"
#include "ui/AboutDialog.h"
#include "ui/MainWindow.h"
#include "ui/ProgressDialog.h"
#include "ui/TargetDialog.h"

namespace vornak {
namespace {

enum class Window { Main, Target, About, Progress };
// The controls that take the focus from the keyboard, in tab order; the first has it at the start.
const std::map<Window, QStringList> kTabOrder = {
    {Window::Main, {"fileEdit", "browseButton", "partSizeBox", "splitButton", "exitButton", "aboutButton"}},
    {Window::Target,
     {"nameEdit", "previewList", "overwriteBox", "folderList", "driveBox", "okButton", "cancelButton"}},
    {Window::About, {"okButton"}},
    {Window::Progress, {"cancelButton"}}};

struct Windows {
  test::TempDir dir;
  ScriptedAsker asker;
  TargetRecord record{"", dir.path(), "holiday-video.avi", "avi", counterPattern(12), 12, 0};

  std::unique_ptr<QWidget> show(Window which) {
    std::unique_ptr<QWidget> window;
    if (which == Window::Main)
      window = std::make_unique<MainWindow>(asker, nullptr, MainWindow::Options{q(dir.join("s.ini")), {}});
    if (which == Window::Target)
      window = std::make_unique<TargetDialog>(record, asker, nullptr, [] {
        return std::vector<Volumes::Volume>{{"/", "", "ext4", "/dev/sda1"}};
      });
    if (which == Window::About) window = std::make_unique<AboutDialog>(nullptr, [](const QUrl&) {});
    if (which == Window::Progress) window = std::make_unique<ProgressDialog>(nullptr, &asker);
    window->show();
    QApplication::setActiveWindow(window.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    return window;
  }
  static QString q(const std::string& s) { return QString::fromStdString(s); }
};

// The room a caption needs and the room it has (entries and lists show text
// of any length).
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
  }
  return {need, room};
}

const struct {
  const char* name;
  const char* family;
  double points;
} kFonts[] = {{"DesktopFont", nullptr, 0},
              {"Large", "DejaVu Sans", 12},
              {"Small", "DejaVu Sans", 7},
              {"Narrow", "Nimbus Sans", 10}};

bool hasLetter(const QString& text) {
  return text.contains(QRegularExpression("\\p{L}"));
}

// The focusable controls (not their rows) that have no name with a letter in
// it. On Linux a combo box's name is its current text: its label names it.
QStringList unnamed(QWidget* window) {
  QStringList found;
  std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
    auto* control = qobject_cast<QWidget*>(node->object());
    bool named = hasLetter(node->text(QAccessible::Name));
    for (const auto& [label, relation] : node->relations(QAccessible::Label))
      named = named || hasLetter(label->text(QAccessible::Name));
    if (control && node->state().focusable && !node->state().invisible && !named)
      found << control->objectName();
    for (int i = 0; i < node->childCount(); ++i) walk(node->child(i));
  };
  walk(QAccessible::queryAccessibleInterface(window));
  return found;
}

class LayoutTest : public ::testing::TestWithParam<std::tuple<Window, int>> {
 protected:
  void SetUp() override {
    if (const auto& f = kFonts[std::get<1>(GetParam())]; f.family) {
      QFont font{QString::fromLatin1(f.family)};
      font.setPointSizeF(f.points);
      QApplication::setFont(font);
    }
  }
  void TearDown() override { QApplication::setFont(saved_); }
  QFont saved_ = QApplication::font();
};

TEST_P(LayoutTest, TextsFitNothingOverlapsAndTabWalksTheControlsInOrder) {
  const Window which = std::get<0>(GetParam());
  Windows windows;
  auto window = windows.show(which);
  QList<QWidget*> controls;  // the window's own controls, not their parts
  for (QWidget* w : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (w->isVisible() && !w->objectName().isEmpty()) controls << w;
  for (QWidget* w : controls) {
    SCOPED_TRACE(w->objectName().toStdString());
    EXPECT_TRUE(window->rect().contains(w->geometry())) << "outside the window";
    const auto [need, room] = textRoom(w);
    EXPECT_TRUE(need.width() <= room.width() && need.height() <= room.height())
        << "text needs " << need.width() << "x" << need.height() << ", has " << room.width() << "x"
        << room.height();
    for (QWidget* other : controls)
      EXPECT_FALSE(other != w && w->geometry().intersects(other->geometry()))
          << other->objectName().toStdString();
  }
  EXPECT_EQ(unnamed(window.get()), QStringList());
  const QStringList order = kTabOrder.at(which);
  EXPECT_EQ(QApplication::focusWidget()->objectName(), order.first());
  QStringList walked{order.first()};
  for (QWidget* w = QApplication::focusWidget(); walked.size() < order.size();) {
    w = w->nextInFocusChain();
    if (w->window() == window.get() && (w->focusPolicy() & Qt::TabFocus) && w->isVisible() &&
        !w->objectName().isEmpty())
      walked << w->objectName();
  }
  EXPECT_EQ(walked, order);

  // Alt and the underlined letter focus a caption's control or click a button.
  for (QWidget* w : controls) {
    auto* label = qobject_cast<QLabel*>(w);
    auto* button = qobject_cast<QAbstractButton*>(w);
    const QString text = label ? label->text() : button ? button->text() : QString();
    const qsizetype key = text.indexOf('&') + 1;
    if (key == 0 || !w->isEnabled()) continue;
    SCOPED_TRACE(w->objectName().toStdString());
    ASSERT_TRUE(button || label->buddy()) << "an access key without a control";
    std::unique_ptr<QSignalSpy> clicks;
    if (button) {  // its own handler cut off, to count its clicks
      QObject::disconnect(button, &QAbstractButton::clicked, nullptr, nullptr);
      clicks = std::make_unique<QSignalSpy>(button, &QAbstractButton::clicked);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(text.at(key).toUpper().unicode()), Qt::AltModifier);
    for (int i = 0; clicks && i < 50 && clicks->count() == 0; ++i) QTest::qWait(10);  // a short press
    QWidget* focus = QApplication::focusWidget();
    EXPECT_TRUE(button ? clicks->count() == 1
                       : label->buddy() == focus || label->buddy()->isAncestorOf(focus));
  }
}

std::string caseName(const ::testing::TestParamInfo<std::tuple<Window, int>>& info) {
  const char* names[] = {"Main", "Target", "About", "Progress"};
  return std::string(names[int(std::get<0>(info.param))]) + "_" + kFonts[std::get<1>(info.param)].name;
}

INSTANTIATE_TEST_SUITE_P(Windows, LayoutTest,
                         ::testing::Combine(::testing::Values(Window::Main, Window::Target, Window::About,
                                                              Window::Progress),
                                            ::testing::Range(0, int(std::size(kFonts)))),
                         caseName);

}  // namespace
}  // namespace vornak
