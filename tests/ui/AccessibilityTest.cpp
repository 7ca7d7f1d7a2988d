// SPDX-License-Identifier: GPL-3.0-or-later
// What assistive technology reads: every control that takes the focus has a
// name, and the status line and the plan can be read.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QtTest>
#include <QtWidgets>
#include <filesystem>
#include <functional>

#include "support/QStringPrint.h"
#include "support/ScriptedAsker.h"
#include "support/TempDir.h"
#include "ui/MainWindow.h"
#include "ui/TargetDialog.h"

namespace vornak {
namespace {

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

QString accessibleText(QWidget* widget, QAccessible::Text text) {
  return QAccessible::queryAccessibleInterface(widget)->text(text);
}

TEST(AccessibilityTest, FocusableControlsHaveNamesAndStatusAndPlanCanBeRead) {
  test::TempDir dir;
  ScriptedAsker asker;
  MainWindow window(asker, nullptr, MainWindow::Options{QString::fromStdString(dir.join("s.ini")), {}});
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_EQ(unnamed(&window), QStringList());
  const std::string source = dir.writeFile("movie.avi");
  std::filesystem::resize_file(test::native(source), 3000000);
  window.findChild<QLineEdit*>("fileEdit")->setText(QString::fromStdString(source));
  window.findChild<QComboBox*>("partSizeBox")->setEditText("1 MB");
  EXPECT_EQ(accessibleText(window.findChild<QWidget*>("statusLine"), QAccessible::Name), "3 split files");
  EXPECT_EQ(accessibleText(window.findChild<QWidget*>("diagramView"), QAccessible::Description),
            "2 x 1048576 Bytes  +  1 x 902848 Bytes");

  TargetRecord record{"", dir.path(), "movie.avi", "avi", "0", 3, 0};
  TargetDialog dialog(record, asker, nullptr, [] { return std::vector<Volumes::Volume>{}; });
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  EXPECT_EQ(unnamed(&dialog), QStringList());
}

}  // namespace
}  // namespace vornak
