// SPDX-License-Identifier: GPL-3.0-or-later
// The settings store: numbers read from stored text, loading at start-up and
// saving at close, through the real main window.
#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>
#include <optional>

#include "Version.h"
#include "parts/Presets.h"
#include "settings/Settings.h"
#include "settings/SettingsNumbers.h"
#include "support/ScriptedAsker.h"
#include "support/TempDir.h"
#include "ui/MainWindow.h"

namespace vornak {
namespace {

TEST(SettingsNumbers, ReadsTheLeadingNumberAndRoundsHalvesToEven) {
  const std::nullopt_t no = std::nullopt;
  // clang-format off
  const std::string zeros(400, '0');
  const struct { std::string text; std::optional<std::int32_t> int32; std::optional<std::int16_t> int16; } cases[] = {
      {"", 0, 0}, {"junk", 0, 0}, {"2.5", 2, 2}, {"3.5", 4, 4}, {"-2.5", -2, -2}, {"0.5", 0, 0},
      {"1e3", 1000, 1000}, {"1E+2x", 100, 100}, {"1e", 1, 1}, {" \t\n42 apples", 42, 42}, {"+7", 7, 7},
      {"-7", -7, -7}, {".75", 1, 1}, {"1,5", 1, 1}, {"inf", 0, 0}, {"nan", 0, 0}, {"1e-999", 0, 0},
      {"32767", 32767, 32767}, {"32768", 32768, no}, {"-32768", -32768, -32768}, {"2147483647", 2147483647, no},
      {"2147483647.5", no, no}, {"-2147483648", -2147483647 - 1, no}, {"99999999999", no, no}, {"1e999", no, no},
      {"1" + zeros + "e-10", no, no}, {"0." + zeros + "1e+50", 0, 0}, {"-0.0001e-999999999999999", 0, 0},
      // clang-format on
  };
  for (const auto& c : cases) {
    EXPECT_EQ(readInt32(c.text), c.int32) << '"' << c.text << '"';
    EXPECT_EQ(readInt16(c.text), c.int16) << '"' << c.text << '"';
  }
}

struct SettingsFixture : ::testing::Test {
  test::TempDir dir;
  QString file = QString::fromStdString(dir.join("settings.ini"));
  ScriptedAsker asker;

  void store(const std::string& lines, const std::string& name = "settings.ini") {
    dir.writeFile(name, "[Preferences]\n" + lines);
  }
  std::unique_ptr<MainWindow> open() {
    return std::make_unique<MainWindow>(asker, nullptr, MainWindow::Options{file, {}});
  }
  void saveTwoMegabytesAndOverwrite() {  // a new top row and the overwrite mode, stored at close
    auto main = open();
    box(*main)->setItemText(0, "2 MB");
    main->setup().state().target.overwriteAll = 1;
    main->close();
  }
  static QComboBox* box(const MainWindow& m) { return m.findChild<QComboBox*>("partSizeBox"); }
  static std::vector<std::string> rows(const MainWindow& m) {
    std::vector<std::string> rows;
    for (int i = 0; i < box(m)->count(); ++i) rows.push_back(box(m)->itemText(i).toStdString());
    return rows;
  }
  std::string stored(const std::string& key) const {  // "-" when absent
    const QSettings store(file, QSettings::IniFormat);
    return store.value(QString::fromStdString("Preferences/" + key), "-").toString().toStdString();
  }
};

TEST_F(SettingsFixture, StoredNumbersAreReadStepByStep) {
  // value stored for FileBufferSize and OverwriteMode; nullptr: no store at all
  // clang-format off
  const struct { const char* value; std::int32_t bufferSize; std::int16_t overwriteAll; } cases[] = {
      {nullptr, 4096, 0}, {"", 4096, 0}, {"3.5", 4, 4}, {"-7", 4096, -7}, {"0", 4096, 0},
      {"65536", 65536, 0}, {"99999999999", 4096, 0}, {"1", 1, 1},
      // clang-format on
  };
  for (const auto& c : cases) {
    // A file of its own per case: a store rewritten at the same size within
    // one timestamp tick would be read from the cache.
    const std::string value = c.value ? c.value : "(none)",
                      name = "settings" + std::to_string(&c - cases) + ".ini";
    file = QString::fromStdString(dir.join(name));
    if (c.value) store("FileBufferSize=" + value + "\nOverwriteMode=" + value + "\nSplitSize1=7\n", name);
    auto main = open();
    EXPECT_EQ(main->setup().state().bufferSize, c.bufferSize) << value;
    EXPECT_EQ(main->setup().state().target.overwriteAll, c.overwriteAll) << value;
    // A bad number fails its own step only: the rows still load.
    std::vector<std::string> want = defaultPresetRows('.');
    if (c.value) want[0] = "7";
    EXPECT_EQ(rows(*main), want) << value;
    EXPECT_EQ(box(*main)->currentText(), "");
  }
}

TEST_F(SettingsFixture, RowsAndModeAreWrittenBackButNeverTheBufferSize) {
  open()->close();
  EXPECT_EQ(stored("FileBufferSize") + stored("SplitSize1") + stored("SplitSize8") + stored("OverwriteMode"),
            "-" + defaultPresetRows('.')[0] + defaultPresetRows('.')[7] + "0");
  store("FileBufferSize=65536\nSplitSize5=\n");
  open()->close();
  EXPECT_EQ(stored("SplitSize5") + stored("FileBufferSize"), "65536");  // empty, not absent
  saveTwoMegabytesAndOverwrite();
  auto again = open();
  std::vector<std::string> want = defaultPresetRows('.');
  want[4] = "";
  want[0] = "2 MB";
  EXPECT_EQ(rows(*again), want);
  EXPECT_EQ(again->setup().state().bufferSize, 65536);
  EXPECT_EQ(again->setup().state().target.overwriteAll, 1);
}

TEST_F(SettingsFixture, UnwritableStoreStillStartsAndCloses) {
  file = QString::fromStdString(dir.writeFile("not-a-folder", "x")) + "/sub/settings.ini";
  auto main = open();
  EXPECT_EQ(rows(*main), defaultPresetRows('.'));
  main->show();
  EXPECT_TRUE(main->close());
  EXPECT_FALSE(QFile::exists(file));
}

#ifdef _WIN32
TEST_F(SettingsFixture, IsTheRegistryKeyOfTheApplicationWithStringValues) {
  EXPECT_EQ(Settings::defaultFileName(),
            "\\HKEY_CURRENT_USER\\Software\\Vornak\\Vornak Split your files 2.2");
  // A key of the test's own, so that the user's settings stay as they are.
  const QString parent = "HKEY_CURRENT_USER\\Software\\Vornak";
  const QString name = "Tests " + QString::number(QCoreApplication::applicationPid());
  file = parent + "\\" + name;
  saveTwoMegabytesAndOverwrite();
  {
    const QSettings registry(file + "\\Preferences", QSettings::NativeFormat);
    EXPECT_EQ(registry.value("SplitSize1").userType(), QMetaType::QString);
    EXPECT_EQ(registry.value("OverwriteMode").userType(), QMetaType::QString);
    EXPECT_EQ(registry.value("SplitSize1").toString() + registry.value("OverwriteMode").toString(), "2 MB1");
    EXPECT_FALSE(registry.contains("FileBufferSize"));
    auto again = open();
    EXPECT_EQ(box(*again)->itemText(0), "2 MB");
    EXPECT_EQ(again->setup().state().target.overwriteAll, 1);
  }
  QSettings(parent, QSettings::NativeFormat).remove(name);
}
#else
TEST(SettingsStore, LivesInTheConfigurationFolderUnderTheApplicationName) {
  const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  ASSERT_TRUE(config.startsWith(QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"))));
  EXPECT_TRUE(Settings::defaultFileName().startsWith(config + "/"));
  EXPECT_TRUE(Settings::defaultFileName().endsWith("/Vornak Split your files 2.2.ini"));
}
#endif

}  // namespace
}  // namespace vornak
