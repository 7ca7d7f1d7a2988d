// SPDX-License-Identifier: GPL-3.0-or-later
// The settings store: numbers read from stored text, loading at start-up and
// saving at close, through the real main window.
#include <gtest/gtest.h>

#include <QtWidgets>
#include <optional>

#include "parts/Presets.h"
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
      {"1" + zeros + "e-10", no, no}, {"0." + zeros + "1e+50", 0, 0}, {"-0.0001e-999999999999999", 0, 0}};
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(readInt32(c.text), c.int32) << '"' << c.text << '"';
    EXPECT_EQ(readInt16(c.text), c.int16) << '"' << c.text << '"';
  }
}

struct SettingsFixture : ::testing::Test {
  test::TempDir dir;
  QString file = QString::fromStdString(dir.join("settings.ini"));
  ScriptedAsker asker;

  std::unique_ptr<MainWindow> open() {
    return std::make_unique<MainWindow>(asker, nullptr, MainWindow::Options{file, {}});
  }
  static std::string row(const MainWindow& m, int i) {
    return m.findChild<QComboBox*>("partSizeBox")->itemText(i).toStdString();
  }
  std::string stored(const char* key) const {  // "-" when absent
    const QSettings settings(file, QSettings::IniFormat);
    return settings.value(QString("Preferences/") + key, "-").toString().toStdString();
  }
};

TEST_F(SettingsFixture, RowsAndModeAreWrittenBackButNeverTheBufferSize) {
  open()->close();
  const std::vector<std::string> presets = defaultPresetRows('.');
  EXPECT_EQ(stored("FileBufferSize") + stored("SplitSize1") + stored("SplitSize8") + stored("OverwriteMode"),
            "-" + presets[0] + presets[7] + "0");
  // Each number is read on its own: a bad one takes its default, a fraction is rounded half to even.
  for (const auto& [text, bufferSize, overwriteAll] :
       {std::tuple{"0", 4096, 0}, {"3.5", 4, 4}, {"65536", 65536, 0}}) {
    dir.writeFile("settings.ini", std::string("[Preferences]\nFileBufferSize=") + text +
                                      "\nOverwriteMode=" + text + "\nSplitSize1=7,5\n");
    auto loaded = open();
    EXPECT_EQ(loaded->setup().state().bufferSize, bufferSize) << text;
    EXPECT_EQ(loaded->setup().state().target.overwriteAll, overwriteAll) << text;
    EXPECT_EQ(row(*loaded, 0), "7,5");  // unquoted commas make a list
  }
  dir.writeFile("settings.ini", "[Preferences]\nFileBufferSize=65536\nSplitSize5=\n");
  open()->close();
  EXPECT_EQ(stored("SplitSize5") + stored("FileBufferSize"), "65536");  // empty, not absent
  auto main = open();  // the changed top row and mode are saved at close
  main->findChild<QComboBox*>("partSizeBox")->setItemText(0, "2 MB");
  main->setup().state().target.overwriteAll = 1;
  EXPECT_TRUE(main->close());
  auto again = open();
  EXPECT_EQ(row(*again, 0) + "|" + row(*again, 4) + "|" + row(*again, 7), "2 MB||" + presets[7]);
  EXPECT_EQ(again->setup().state().bufferSize, 65536);
  EXPECT_EQ(again->setup().state().target.overwriteAll, 1);
}

}  // namespace
}  // namespace vornak
