// The settings store: numbers read from stored text, loading at start-up and
// saving at close, through the real main window.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <optional>
#include <string>
#include <vector>

#include "Version.h"
#include "app/Main.h"
#include "app/Settings.h"
#include "app/SettingsNumbers.h"
#include "parts/Presets.h"
#include "support/ScriptedAsker.h"
#include "support/TempDir.h"

namespace vornak {
namespace {

struct NumberCase {
  const char* text;
  std::optional<std::int32_t> int32;
  std::optional<std::int16_t> int16;
};

TEST(SettingsNumbers, ReadsTheLeadingNumberAndRoundsHalvesToEven) {
  const std::vector<NumberCase> cases = {
      {"", 0, 0},
      {"junk", 0, 0},
      {"2.5", 2, 2},
      {"3.5", 4, 4},
      {"-2.5", -2, -2},
      {"0.5", 0, 0},
      {"1e3", 1000, 1000},
      {"1E+2x", 100, 100},
      {"1e", 1, 1},
      {" \t\n42 apples", 42, 42},
      {"+7", 7, 7},
      {"-7", -7, -7},
      {".75", 1, 1},
      {"1,5", 1, 1},  // the decimal point is always "."
      {"inf", 0, 0},
      {"nan", 0, 0},
      {"1e-999", 0, 0},
      {"32767", 32767, 32767},
      {"32768", 32768, std::nullopt},
      {"-32768", -32768, -32768},
      {"2147483647", 2147483647, std::nullopt},
      {"2147483647.5", std::nullopt, std::nullopt},
      {"-2147483648", -2147483647 - 1, std::nullopt},
      {"99999999999", std::nullopt, std::nullopt},
      {"1e999", std::nullopt, std::nullopt},
  };
  for (const NumberCase& c : cases) {
    EXPECT_EQ(ReadInt32(c.text), c.int32) << '"' << c.text << '"';
    EXPECT_EQ(ReadInt16(c.text), c.int16) << '"' << c.text << '"';
  }
}

// A settings file of the test's own.
struct SettingsFixture : ::testing::Test {
  test::TempDir dir;
  QString file = QString::fromStdString(dir.Join("settings.ini"));
  ScriptedAsker asker;

  void Store(const std::string& lines) { dir.WriteFile("settings.ini", "[Preferences]\n" + lines); }
  std::unique_ptr<Main> Open(const QString& settingsFile) {
    Main::Options options;
    options.settingsFile = settingsFile;
    return std::make_unique<Main>(asker, nullptr, options);
  }
  std::unique_ptr<Main> Open() { return Open(file); }
  static std::vector<std::string> Rows(const Main& main) {
    std::vector<std::string> rows;
    for (int i = 0; i < main.edPartsize->count(); ++i)
      rows.push_back(main.edPartsize->itemText(i).toStdString());
    return rows;
  }
  QVariant Stored(const char* key) const {
    return QSettings(file, QSettings::IniFormat).value(QStringLiteral("Preferences/") + QLatin1String(key));
  }
};

TEST_F(SettingsFixture, MissingStoreGivesTheDefaults) {
  auto main = Open();
  EXPECT_EQ(main->buffersize, 4096);
  EXPECT_EQ(main->target.saveoverwrite, 0);
  EXPECT_EQ(Rows(*main), DefaultPresetRows('.'));
  EXPECT_EQ(main->edPartsize->currentText(), "");
  EXPECT_EQ(main->edPartsize->count(), 8);
}

struct StoredCase {
  const char* value;  // nullptr: key absent
  std::int32_t buffersize;
  std::int16_t saveoverwrite;
};

TEST_F(SettingsFixture, StoredNumbersAreReadStepByStep) {
  const std::vector<StoredCase> cases = {
      {nullptr, 4096, 0},  {"", 4096, 0},    {"junk", 4096, 0}, {"2.5", 2, 2},       {"3.5", 4, 4},
      {"1e3", 1000, 1000}, {"-7", 4096, -7}, {"0", 4096, 0},    {"65536", 65536, 0}, {"99999999999", 4096, 0},
      {"1", 1, 1},
  };
  for (const StoredCase& c : cases) {
    const std::string value = c.value == nullptr ? std::string() : c.value;
    Store(c.value == nullptr ? "SplitSize1=7\n"
                             : "FileBufferSize=" + value + "\nOverwriteMode=" + value + "\nSplitSize1=7\n");
    auto main = Open();
    EXPECT_EQ(main->buffersize, c.buffersize) << value;
    EXPECT_EQ(main->target.saveoverwrite, c.saveoverwrite) << value;
    // A bad number fails its own step only: the rows still load.
    EXPECT_EQ(main->edPartsize->itemText(0), "7") << value;
    EXPECT_EQ(main->edPartsize->itemText(1).toStdString(), DefaultPresetRows('.')[1]) << value;
  }
}

TEST_F(SettingsFixture, EmptyRowStaysEmptyAndBufferSizeIsNeverWritten) {
  Store("FileBufferSize=65536\nSplitSize5=\nSplitSize8=1,5 MB\n");
  {
    auto main = Open();
    EXPECT_EQ(main->edPartsize->itemText(4), "");
    EXPECT_EQ(main->edPartsize->itemText(7), "1,5 MB");  // hand-written with a decimal comma
    main->edPartsize->setItemText(6, "  a, b; c = d  ");
    main->target.saveoverwrite = 1;
    main->close();
  }
  EXPECT_EQ(Stored("SplitSize5").toString(), "");
  EXPECT_TRUE(QSettings(file, QSettings::IniFormat).contains("Preferences/SplitSize5"));
  EXPECT_EQ(Stored("FileBufferSize").toString(), "65536");
  EXPECT_EQ(Stored("OverwriteMode").toString(), "1");
  auto again = Open();
  EXPECT_EQ(again->edPartsize->itemText(6), "  a, b; c = d  ");
  EXPECT_EQ(again->edPartsize->itemText(4), "");
  EXPECT_EQ(again->buffersize, 65536);
  EXPECT_EQ(again->target.saveoverwrite, 1);
}

TEST_F(SettingsFixture, FreshStoreGetsRowsAndModeButNoBufferSize) {
  Open()->close();
  EXPECT_FALSE(QSettings(file, QSettings::IniFormat).contains("Preferences/FileBufferSize"));
  for (int i = 1; i <= 8; ++i)
    EXPECT_EQ(Stored(("SplitSize" + std::to_string(i)).c_str()).toString().toStdString(),
              DefaultPresetRows('.')[static_cast<std::size_t>(i - 1)]);
  EXPECT_EQ(Stored("OverwriteMode").toString(), "0");
}

TEST_F(SettingsFixture, PresetOrderAndModeSurviveACloseAndANewWindow) {
  {
    auto main = Open();
    main->edPartsize->setEditText("2 MB");
    main->UpdatePartSizeList();
    main->target.saveoverwrite = 1;
    main->close();
  }
  auto main = Open();
  std::vector<std::string> expected = DefaultPresetRows('.');
  expected.insert(expected.begin(), "2 MB");
  expected.pop_back();
  EXPECT_EQ(Rows(*main), expected);
  EXPECT_EQ(main->target.saveoverwrite, 1);
  EXPECT_EQ(main->edPartsize->currentText(), "");
}

TEST_F(SettingsFixture, UnwritableStoreStillStartsAndCloses) {
  // A regular file stands where the store's folder would have to be.
  const std::string blocker = dir.WriteFile("not-a-folder", "x");
  const QString unwritable = QString::fromStdString(blocker) + "/sub/settings.ini";
  auto main = Open(unwritable);
  EXPECT_EQ(main->buffersize, 4096);
  EXPECT_EQ(Rows(*main), DefaultPresetRows('.'));
  main->show();
  EXPECT_TRUE(main->close());
  EXPECT_FALSE(QFile::exists(unwritable));
}

TEST_F(SettingsFixture, JunkFileCountsAsEmptyStore) {
  dir.WriteFile("settings.ini", std::string("\x01\x02 not an ini file\n=\n[[[\n", 24));
  auto main = Open();
  EXPECT_EQ(main->buffersize, 4096);
  EXPECT_EQ(Rows(*main), DefaultPresetRows('.'));
}

TEST(SettingsStore, LivesInTheConfigurationFolderUnderTheApplicationName) {
  const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  ASSERT_TRUE(config.startsWith(QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"))));
  EXPECT_EQ(Settings::DefaultFileName(),
            config + "/" + Settings::kOrganization + "/" + QString::fromUtf8(kApplicationTitle) + ".ini");
  EXPECT_TRUE(Settings::DefaultFileName().endsWith("/Vornak Split your files 2.2.ini"));
  ScriptedAsker asker;
  {
    Main main(asker);
    main.close();
  }
  QSettings store(Settings::DefaultFileName(), QSettings::IniFormat);
  EXPECT_EQ(store.childGroups(), QStringList{"Preferences"});
  EXPECT_EQ(store.value("Preferences/SplitSize6").toString(), "4096");
  QFile::remove(Settings::DefaultFileName());
}

}  // namespace
}  // namespace vornak
