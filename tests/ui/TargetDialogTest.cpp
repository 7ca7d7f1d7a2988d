// SPDX-License-Identifier: GPL-3.0-or-later
// The Save As dialog: where it opens, how it takes the name, the folder and
// the drive (an unavailable one is refused), and every way of leaving it.
#include <gtest/gtest.h>

#include <QTest>
#include <QtWidgets>

#include "fileservices/Filenames.h"
#include "support/QStringPrint.h"
#include "support/ScriptedAsker.h"
#include "ui/FolderList.h"
#include "ui/TargetDialog.h"
#include "ui/WindowKit.h"

namespace vornak {
namespace {

using test::find;
using test::q;

const Message kTypeAName{"Type a filename in the 'Filename' field.", Icon::Exclamation, Buttons::Ok, 0};
const std::string kSep(1, test::TempDir::kSeparator);

struct TargetDialogTest : ::testing::Test {
  test::TempDir temp;
  std::string data = temp.makeFolder("data"), beta = temp.makeFolder("data/beta");
  TargetRecord record{"", data, "movie.avi", "", "00", 12, 0};
  ScriptedAsker asker;

  std::unique_ptr<TargetDialog> open(TargetDialog::VolumeSource drives = [] {
    return std::vector<Volumes::Volume>{};
  }) {
    auto dialog = std::make_unique<TargetDialog>(record, asker, nullptr, std::move(drives));
    dialog->show();
    return dialog;
  }
  static FolderList* folders(const TargetDialog& d) { return find<FolderList>(&d, "folderList"); }
  static QString field(const TargetDialog& d, const char* name) {
    if (auto* box = find<QComboBox>(&d, name)) return box->currentText();
    if (auto* view = find<QListView>(&d, name)) return view->model()->index(0, 0).data().toString();
    return find<QLabel>(&d, name)->text();
  }
  static void click(const TargetDialog& d, const char* button) {
    QTest::mouseClick(find<QPushButton>(&d, button), Qt::LeftButton);
  }
  std::string saved() const {
    return record.folder + "|" + record.drive + "|" + record.baseName + "|" + record.extension + "|" +
           std::to_string(record.overwriteAll);
  }
  static std::string at(const std::string& folder) {
    return folder + "|" + Filenames::getFolderDrive(folder);
  }
  // How the drive list names the root that holds the temporary folder: "/", or "c:" on Windows.
  QString rootDrive() const { return kSep == "/" ? QString("/") : q(temp.path().substr(0, 2)).toLower(); }
};

TEST_F(TargetDialogTest, OpensOnTheRecordsFolderAndSaveSplitsTheName) {
  record.overwriteAll = 7;  // only 1 means "overwrite"
  auto dialog = open();
  EXPECT_EQ(field(*dialog, "folderLabel") + "|" + field(*dialog, "driveBox"), q(data) + "|" + rootDrive());
  EXPECT_FALSE(find<QCheckBox>(dialog.get(), "overwriteBox")->isChecked());
  // The name typed, the extension before, the first part, the title (empty: refused), the extension.
  // clang-format off
  const std::tuple<const char*, const char*, const char*, const char*, const char*> names[] = {
      {"archive.tar.gz", "avi", "archive.tar01.gz", "archive.tar", "gz"}, {"movie.", "avi", "movie01.avi", "movie", "avi"},
      {".avi", "mpg", "01.avi", "", "mpg"}};
  // clang-format on
  for (const auto& [name, extensionBefore, firstPart, title, extension] : names) {
    record.folder = data, record.baseName = "movie.avi", record.extension = extensionBefore;
    record.overwriteAll = 0, asker.messages.clear();
    dialog = open();
    find<QLineEdit>(dialog.get(), "nameEdit")->setText(name);
    find<QCheckBox>(dialog.get(), "overwriteBox")->setChecked(true);
    EXPECT_EQ(field(*dialog, "previewList"), firstPart);
    click(*dialog, "okButton");
    const bool refused = *title == '\0';
    EXPECT_EQ(saved(),
              at(data) + "|" + (refused ? "movie.avi" : title) + "|" + extension + (refused ? "|0" : "|1"));
    EXPECT_EQ(dialog->isVisible(), refused) << name;
    EXPECT_EQ(asker.messages, refused ? std::vector<Message>{kTypeAName} : std::vector<Message>{}) << name;
  }
  record.overwriteAll = 1, record.folder = temp.join("removed");  // a lost folder opens on the home folder
  dialog = open();
  EXPECT_TRUE(find<QCheckBox>(dialog.get(), "overwriteBox")->isChecked());
  const QString home = QFileInfo(QDir::homePath()).isDir() ? QDir::homePath() : QDir::rootPath();
  EXPECT_EQ(folders(*dialog)->path(), QDir::toNativeSeparators(home));
}

TEST_F(TargetDialogTest, OnlyAnOpenedFolderOrAnAvailableDriveIsTheTargetAndLeavingSavesNothing) {
  // One volume vanishes after the list was built, one has no mount point at all.
  const std::string gone = temp.makeFolder("gone"), lost = temp.join("lost"), stick = temp.join("stick");
  const std::string sub = temp.makeFolder("stick/sub");
  auto dialog = open([gone, lost, stick, calls = 0]() mutable {  // the root "/" is always listed
    std::vector<Volumes::Volume> volumes{{lost, "", "vfat", "b"}, {stick, "", "vfat", "c"}};
    if (calls++ == 0) volumes.push_back({gone, "", "vfat", "d"});
    return volumes;
  });
  auto* drives = find<QComboBox>(dialog.get(), "driveBox");
  for (const std::string& drive : {gone, lost}) {
    asker.messages.clear();
    drives->setCurrentIndex(drives->findText(q(drive)));
    EXPECT_EQ(asker.messages, std::vector<Message>{{"Drive " + drive + " not available."}});
    EXPECT_EQ(field(*dialog, "driveBox") + "|" + field(*dialog, "folderLabel"), rootDrive() + "|" + q(data));
  }
  FolderList* dirs = folders(*dialog);
  const QPoint row = dirs->visualItemRect(dirs->findRow(q(beta))).center();
  QTest::mouseClick(dirs->viewport(), Qt::LeftButton, {}, row);
  EXPECT_EQ(dirs->path(), q(data));  // highlighting alone changes nothing
  QTest::mouseDClick(dirs->viewport(), Qt::LeftButton, {}, row);
  EXPECT_EQ(field(*dialog, "folderLabel"), q(beta));
  drives->setCurrentIndex(drives->findText(q(stick)));
  EXPECT_EQ(dirs->path(), q(stick));
  dirs->setCurrentItem(dirs->findRow(q(sub)));  // highlighted, not opened
  click(*dialog, "okButton");
  EXPECT_EQ(record.folder + "|" + record.drive, at(stick));

  // Cancel, Escape, the close box, and Cancel after a refused Save (which keeps the folder shown).
  const std::pair<std::function<void(TargetDialog&)>, bool> ways[] = {
      {[](TargetDialog& d) { click(d, "cancelButton"); }, false},
      {[](TargetDialog& d) { QTest::keyClick(find(&d, "nameEdit"), Qt::Key_Escape); }, false},
      {[](TargetDialog& d) { d.close(); }, false},
      {[](TargetDialog& d) { click(d, "cancelButton"); }, true}};
  for (const auto& [leave, refused] : ways) {
    asker.messages.clear(), record.folder = data, record.drive = "", record.baseName = "movie.avi";
    record.extension = "mpg";
    dialog = open();
    find<QLineEdit>(dialog.get(), "nameEdit")->setText(refused ? ".zip" : "other.zip");
    find<QCheckBox>(dialog.get(), "overwriteBox")->setChecked(true);
    folders(*dialog)->open(folders(*dialog)->findRow(q(beta)));
    if (refused) QTest::keyClick(find(dialog.get(), "nameEdit"), Qt::Key_Return);  // Enter presses Save
    leave(*dialog);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(saved(), (refused ? at(beta) : data + "|") + "||mpg|0");
    EXPECT_EQ(asker.messages, refused ? std::vector<Message>{kTypeAName} : std::vector<Message>{});
  }
}

}  // namespace
}  // namespace vornak
