// The split started from the main window: refusals, and a whole run through
// the Save dialog and the progress window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "app/Main.h"
#include "split/Progress.h"
#include "support/ScriptedAsker.h"
#include "support/TempDir.h"
#include "target/Save.h"

namespace vornak {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct SplitFixture : ::testing::Test {
  test::TempDir dir;
  ScriptedAsker asker;
  std::unique_ptr<Main> main;

  void SetUp() override {
    dir.WriteFile("settings.ini", "[Preferences]\nFileBufferSize=65536\n");
    Main::Options options;
    options.settingsFile = QString::fromStdString(dir.Join("settings.ini"));
    main = std::make_unique<Main>(asker, nullptr, options);
    main->show();
  }
};

TEST_F(SplitFixture, RefusesWithoutAFile) {
  main->edFilename->setText(QString::fromStdString(dir.Join("missing.bin")));
  main->butSplit_Click();
  ASSERT_EQ(asker.messages.size(), 1u);
  EXPECT_EQ(main->StatusBar->SimpleText(), "Press OK and try again.");
  EXPECT_TRUE(main->isEnabled());
}

TEST_F(SplitFixture, SplitsThroughTheSaveDialogAndTheProgressWindow) {
  std::string content(3000000, '\0');
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7 + i / 251);
  const std::string source = dir.WriteFile("movie.avi", content);
  main->edFilename->setText(QString::fromStdString(source));
  main->edPartsize->setEditText("1 MB");
  ASSERT_TRUE(main->butSplit->isEnabled());

  bool saveShown = false;
  QTimer::singleShot(0, [&] {
    auto* save = qobject_cast<Save*>(QApplication::activeModalWidget());
    saveShown = save != nullptr;
    if (save != nullptr) save->Command1->click();
  });
  // While the parts are copied the main window is disabled and the progress
  // window (its child) stays usable.
  bool sawProgress = false, mainDisabled = false, progressEnabled = false;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    auto* progress = main->findChild<Progress*>();
    if (progress == nullptr || !progress->isVisible() || sawProgress) return;
    sawProgress = true;
    mainDisabled = !main->isEnabled();
    progressEnabled = progress->isEnabled() && progress->butCancel->isEnabled();
  });
  watch.start(0);
  main->butSplit->click();
  watch.stop();

  EXPECT_TRUE(saveShown);
  EXPECT_TRUE(asker.messages.empty());
  EXPECT_TRUE(sawProgress);
  EXPECT_TRUE(mainDisabled);
  EXPECT_TRUE(progressEnabled);
  EXPECT_TRUE(main->isEnabled());
  EXPECT_EQ(main->StatusBar->SimpleText(), "Done.");
  EXPECT_EQ(main->edPartsize->itemText(0), "1 MB");
  EXPECT_EQ(main->target.savepath, dir.Path());
  EXPECT_EQ(main->target.savefcount, 3);
  EXPECT_EQ(main->buffersize, 65536);
  std::string joined;
  for (int i = 1; i <= 3; ++i) joined += ReadAll(PartPath(main->target, i));
  EXPECT_EQ(joined, content);
  EXPECT_EQ(std::filesystem::file_size(PartPath(main->target, 1)), 1048576u);
  EXPECT_EQ(main->findChild<Progress*>(), nullptr);
}

}  // namespace
}  // namespace vornak
