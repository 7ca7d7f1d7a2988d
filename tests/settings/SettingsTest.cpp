// SPDX-License-Identifier: GPL-3.0-or-later
// The settings store through the real main window: numbers read from stored
// text, loading at start-up and saving at close.
#include <gtest/gtest.h>

#include <QtWidgets>

#include "parts/Presets.h"
#include "support/QStringPrint.h"
#include "support/ScriptedAsker.h"
#include "support/TempDir.h"
#include "ui/MainWindow.h"

namespace vornak {
namespace {

TEST(SettingsStore, NumbersAreReadOneByOneRowsAndModeWrittenBackButNeverTheBufferSize) {
  test::TempDir dir;
  const QString file = QString::fromStdString(dir.join("settings.ini"));
  ScriptedAsker asker;
  const auto open = [&] {
    return std::make_unique<MainWindow>(asker, nullptr, MainWindow::Options{file, {}});
  };
  const auto row = [](const std::unique_ptr<MainWindow>& m, int i) {
    return m->findChild<QComboBox*>("partSizeBox")->itemText(i).toStdString();
  };
  const auto stored = [&](const char* key) {  // "-" when absent
    return QSettings(file, QSettings::IniFormat).value(QString("Preferences/") + key, "-").toString();
  };
  // The leading number, rounded half to even; out of range, or a buffer under a byte: the default.
  for (const auto& [text, bufferSize, overwriteAll] :
       {std::tuple{"0", 4096, 0}, {"2.5", 2, 2}, {"1E+2x", 100, 100}, {"65536", 65536, 0}}) {
    dir.writeFile("settings.ini", std::string("[Preferences]\nFileBufferSize=") + text +
                                      "\nOverwriteMode=" + text + "\nSplitSize1=7,5\n");
    auto loaded = open();
    EXPECT_EQ(loaded->setup().state().bufferSize, bufferSize) << text;
    EXPECT_EQ(loaded->setup().state().target.overwriteAll, overwriteAll) << text;
    EXPECT_EQ(row(loaded, 0), "7,5");  // unquoted commas make a list
  }
  dir.writeFile("settings.ini", "[Preferences]\nFileBufferSize=65536\nSplitSize5=\n");
  auto main = open();  // all rows and the mode are saved at close, an emptied row stays empty
  main->findChild<QComboBox*>("partSizeBox")->setItemText(0, "2 MB");
  main->setup().state().target.overwriteAll = 1;
  EXPECT_TRUE(main->close());
  const std::vector<std::string> presets = defaultPresetRows('.');
  EXPECT_EQ(stored("SplitSize5") + stored("FileBufferSize") + stored("SplitSize8"),  // empty, not absent
            QString::fromStdString("65536" + presets[7]));
  auto again = open();
  EXPECT_EQ(row(again, 0) + "|" + row(again, 4) + "|" + row(again, 7), "2 MB||" + presets[7]);
  EXPECT_EQ(again->setup().state().bufferSize, 65536);
  EXPECT_EQ(again->setup().state().target.overwriteAll, 1);
}

}  // namespace
}  // namespace vornak
