// SPDX-License-Identifier: GPL-3.0-or-later
// The main window and Save As in two desktop fonts: texts fit, nothing overlaps, the tab
// order, the access keys, and a name for every control that takes the focus.
#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>

#include "support/QStringPrint.h"
#include "support/ScriptedAsker.h"
#include "ui/MainWindow.h"
#include "ui/TargetDialog.h"
#include "ui/WindowKit.h"

namespace vornak {
namespace {

enum Window { Main, Target };
const char* const kWindowNames[] = {"Main", "Target"};
// The controls that take the focus from the keyboard, in tab order; the first has it at the start.
const QStringList kTabOrder[] = {
    {"fileEdit", "browseButton", "partSizeBox", "splitButton", "exitButton", "aboutButton"},
    {"nameEdit", "previewList", "overwriteBox", "folderList", "driveBox", "okButton", "cancelButton"}};
// The desktop's font and a large wide one (smaller fonts have room to spare).
const std::tuple<const char*, const char*, double> kFonts[] = {{"DesktopFont", nullptr, 0},
                                                               {"Large", "DejaVu Sans", 12}};

// The room a caption needs and the room it has (entries and lists show text of any length).
std::pair<QSize, QSize> textRoom(QWidget* w) {
  QSize need(0, 0), room = w->size();
  if (auto* label = qobject_cast<QLabel*>(w);
      label && (!label->text().isEmpty() || !label->pixmap().isNull()))
    need = label->sizeHint();
  if (auto* check = qobject_cast<QCheckBox*>(w)) need = check->sizeHint();
  if (auto* button = qobject_cast<QPushButton*>(w)) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.features = button->isDefault() ? QStyleOptionButton::DefaultButton : QStyleOptionButton::None;
    room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).size();
    const QFontMetrics fm(w->font());
    need = QSize(fm.horizontalAdvance(QString(button->text()).remove('&')), fm.height());
  }
  return {need, room};
}

// Focusable controls (not their rows) without a name with a letter, own or label's.
QStringList unnamed(QAccessibleInterface* node) {
  const auto hasLetter = [](const QString& text) { return text.contains(QRegularExpression("\\p{L}")); };
  bool named = hasLetter(node->text(QAccessible::Name));
  for (const auto& [label, relation] : node->relations(QAccessible::Label))
    named = named || hasLetter(label->text(QAccessible::Name));
  QStringList found;
  if (QObject* o = node->object();
      o && o->isWidgetType() && node->state().focusable && !node->state().invisible && !named)
    found << o->objectName();
  for (int i = 0; i < node->childCount(); ++i) found << unnamed(node->child(i));
  return found;
}

class LayoutTest : public ::testing::TestWithParam<std::tuple<Window, int>> {
 protected:
  void SetUp() override {
    if (const auto& [name, family, points] = kFonts[std::get<1>(GetParam())]; family) {
      QFont font{QString::fromLatin1(family)};
      font.setPointSizeF(points);
      QApplication::setFont(font);
    }
  }
  void TearDown() override { QApplication::setFont(saved_); }
  QFont saved_ = QApplication::font();
};

TEST_P(LayoutTest, TextsFitNothingOverlapsAndTabWalksTheControlsInOrder) {
  const Window which = std::get<0>(GetParam());
  test::TempDir dir;
  ScriptedAsker asker;
  TargetRecord record{"", dir.path(), "holiday-video.avi", "avi", counterPattern(12), 12, 0};
  const auto drives = [] { return std::vector<Volumes::Volume>{{"/", "", "ext4", "/dev/sda1"}}; };
  std::unique_ptr<QWidget> window;
  if (which == Main) window.reset(new MainWindow(asker, nullptr, {test::q(dir.join("s.ini")), {}}));
  if (which == Target) window.reset(new TargetDialog(record, asker, nullptr, drives));
  window->show();
  QApplication::setActiveWindow(window.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));

  QList<QWidget*> controls;  // the window's own controls, not their parts
  for (QWidget* w : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (w->isVisible() && !w->objectName().isEmpty()) controls << w;
  for (QWidget* w : controls) {
    SCOPED_TRACE(w->objectName().toStdString());
    EXPECT_TRUE(window->rect().contains(w->geometry())) << "outside the window";
    const auto [need, room] = textRoom(w);
    EXPECT_TRUE(need.width() <= room.width() && need.height() <= room.height()) << "text does not fit";
    for (QWidget* other : controls)
      EXPECT_FALSE(other != w && w->geometry().intersects(other->geometry()))
          << other->objectName().toStdString();
  }
  EXPECT_EQ(unnamed(QAccessible::queryAccessibleInterface(window.get())), QStringList());
  ASSERT_NE(QApplication::focusWidget(), nullptr) << "the window lost the focus";
  QStringList walked{QApplication::focusWidget()->objectName()};
  for (QWidget* w = QApplication::focusWidget(); walked.size() < kTabOrder[which].size();) {
    w = w->nextInFocusChain();
    if (w->window() == window.get() && (w->focusPolicy() & Qt::TabFocus) && w->isVisible() &&
        !w->objectName().isEmpty())
      walked << w->objectName();
  }
  EXPECT_EQ(walked, kTabOrder[which]);

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

INSTANTIATE_TEST_SUITE_P(Windows, LayoutTest,
                         ::testing::Combine(::testing::Values(Main, Target),
                                            ::testing::Range(0, int(std::size(kFonts)))),
                         [](const ::testing::TestParamInfo<std::tuple<Window, int>>& info) {
                           return std::string(kWindowNames[std::get<0>(info.param)]) + "_" +
                                  std::get<0>(kFonts[std::get<1>(info.param)]);
                         });

}  // namespace
}  // namespace vornak
