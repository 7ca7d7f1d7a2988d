// SPDX-License-Identifier: GPL-3.0-or-later
// The Save As dialog: where it opens, how it takes the name, the folder and
// the drive, and every way of leaving it.
#include <gtest/gtest.h>

#include <QTest>
#include <QtWidgets>

#include "fileservices/Filenames.h"
#include "support/QStringPrint.h"
#include "support/ScriptedAsker.h"
#include "support/TempDir.h"
#include "ui/FolderList.h"
#include "ui/TargetDialog.h"

namespace {

using namespace vornak;

const auto previewList = [](const TargetDialog& d) { return d.findChild<QListView*>("previewList"); };
const auto folderLabel = [](const TargetDialog& d) { return d.findChild<QLabel*>("folderLabel"); };
const auto folderList = [](const TargetDialog& d) { return d.findChild<FolderList*>("folderList"); };
const auto driveBox = [](const TargetDialog& d) { return d.findChild<QComboBox*>("driveBox"); };
const auto nameEdit = [](const TargetDialog& d) { return d.findChild<QLineEdit*>("nameEdit"); };
const auto overwriteBox = [](const TargetDialog& d) { return d.findChild<QCheckBox*>("overwriteBox"); };
const auto okButton = [](const TargetDialog& d) { return d.findChild<QPushButton*>("okButton"); };
const auto cancelButton = [](const TargetDialog& d) { return d.findChild<QPushButton*>("cancelButton"); };
const auto q = [](const std::string& s) { return QString::fromStdString(s); };
const Message kTypeAName{"Type a filename in the 'Filename' field.", Icon::Exclamation, Buttons::Ok, 0};

const auto previewRow = [](const TargetDialog& dialog, int row) {
  return previewList(dialog)->model()->index(row, 0).data().toString().toStdString();
};
const auto click = [](QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); };
const auto native = [](const QString& path) { return QDir::toNativeSeparators(QDir::cleanPath(path)); };
const std::string kSep(1, test::TempDir::kSeparator);
// The folder label's whole text: a shortened label keeps it in its tooltip.
const auto fullLabel = [](const TargetDialog& d) {
  return folderLabel(d)->toolTip().isEmpty() ? folderLabel(d)->text() : folderLabel(d)->toolTip();
};

class TargetDialogTest : public ::testing::Test {
 protected:
  TargetDialogTest() {
    for (const char* folder : {"data/alpha", "data/beta", "stick/sub"}) temp.makeFolder(folder);
    record.folder = data, record.baseName = "movie.avi", record.counterFormat = "00", record.partCount = 12;
  }
  std::unique_ptr<TargetDialog> open(TargetDialog::VolumeSource drives = [] {
    return std::vector<Volumes::Volume>{};
  }) {
    auto dialog = std::make_unique<TargetDialog>(record, asker, nullptr, std::move(drives));
    dialog->show();
    return dialog;
  }
  std::string target() const { return record.folder + "|" + record.drive; }
  std::string targetAt(const std::string& folder) { return folder + "|" + Filenames::getFolderDrive(folder); }
  // How the drive list names the root that holds the temporary folder: "/", or "c:" on Windows.
  QString rootDrive() const {
#ifdef _WIN32
    return q(temp.path().substr(0, 2)).toLower();
#else
    return "/";
#endif
  }

  test::TempDir temp;
  std::string data = temp.makeFolder("data");
  TargetRecord record;
  ScriptedAsker asker;
};

TEST_F(TargetDialogTest, OpensOnTheRecordsFolderNameAndOverwriteModeOrAStartFolder) {
  record.overwriteAll = 1;
  record.folder =
      temp.makeFolder("data/a-rather-long-folder-name/another-long-folder-name/yet-another-one/last");
  auto dialog = open();
  EXPECT_EQ(folderList(*dialog)->path(), q(record.folder));
  const QString shown = folderLabel(*dialog)->text();  // shortened from the left to the list's width
  EXPECT_TRUE(shown.endsWith(native("...yet-another-one/last")) || shown.endsWith(native("...last")))
      << shown.toStdString();
  EXPECT_LE(QFontMetrics(folderLabel(*dialog)->font()).horizontalAdvance(shown),
            folderList(*dialog)->width());
  {  // a last name wider than the list is shortened too, the whole path in the tooltip
    record.folder = temp.makeFolder(std::string(200, 'w'));
    auto wide = open();
    const QString text = folderLabel(*wide)->text();
    EXPECT_LE(QFontMetrics(folderLabel(*wide)->font()).horizontalAdvance(text), folderList(*wide)->width());
    EXPECT_EQ(folderLabel(*wide)->toolTip(), q(record.folder));
    record.folder = temp.join("data/a-rather-long-folder-name/another-long-folder-name/yet-another-one/last");
  }
  EXPECT_EQ(driveBox(*dialog)->currentText() + "|" + nameEdit(*dialog)->text(), rootDrive() + "|movie.avi");
  ASSERT_EQ(previewList(*dialog)->model()->rowCount(), 12);
  EXPECT_EQ(previewRow(*dialog, 0) + " " + previewRow(*dialog, 11), "movie01.avi movie12.avi");
  EXPECT_TRUE(overwriteBox(*dialog)->isChecked());
  record.overwriteAll = 7;  // only 1 means "overwrite"
  EXPECT_FALSE(overwriteBox(*open())->isChecked());

  // A lost folder opens on the home folder (without a usable one, the root), none on the current folder.
  const QString home = native(QFileInfo(QDir::homePath()).isDir() ? QDir::homePath() : QDir::rootPath());
  const std::pair<std::string, QString> cases[] = {
      {temp.join("removed"), home}, {"", native(QDir::currentPath())}, {data + kSep, q(data)}};
  for (const auto& [folder, expected] : cases) {
    record.folder = folder;
    EXPECT_EQ(folderList(*open())->path(), expected) << folder;
    EXPECT_EQ(record.folder, folder);  // nothing written before Save
  }
  EXPECT_TRUE(asker.messages.empty());
#ifdef _WIN32
  record.folder = temp.path().substr(0, 2);  // "C:" stands for the root, and Save gives the root as "C:"
  auto root = open();
  EXPECT_EQ(folderList(*root)->path(), q(record.folder + "\\"));
  click(okButton(*root));
  EXPECT_EQ(target(), record.folder + "|" + record.folder);
#else
  record.folder = "/";
  click(okButton(*open()));
  EXPECT_EQ(target(), "/|/");  // the root of the file system stays "/"
  // A folder on a volume the list leaves out (/proc below "/") lists and shows that volume, as Save takes it.
  record.folder = "/proc";
  auto proc = open();
  EXPECT_EQ(driveBox(*proc)->currentText(), "/proc");
  click(okButton(*proc));
  EXPECT_EQ(target(), "/proc|/proc");
#endif
}

TEST_F(TargetDialogTest, SaveSplitsTheNameIntoTitleAndExtensionRefusedCharactersBeep) {
  // The name typed, the extension before, the first preview row, the title (null: refused), the extension.
  // clang-format off
  const std::tuple<const char*, const char*, const char*, const char*, const char*> cases[] = {
      {"backup.zip", "", "backup01.zip", "backup", "zip"}, {"backup", "", "backup01.", "backup", ""},
      {"backup", "avi", "backup01.avi", "backup", "avi"},
      {"archive.tar.gz", "avi", "archive.tar01.gz", "archive.tar", "gz"},
      {"movie.", "avi", "movie01.avi", "movie", "avi"}, {".avi", "mpg", "01.avi", nullptr, "mpg"},
      {"", "mpg", "01.mpg", nullptr, "mpg"}, {"../evil.bin", "", "..evil01.bin", "..evil", "bin"}};
  // clang-format on
  for (const auto& [name, fextBefore, firstRow, title, fext] : cases) {
    SCOPED_TRACE(name);
    record.baseName = "movie.avi", record.extension = fextBefore, record.overwriteAll = 0;
    asker.messages.clear();
    auto dialog = open();
    nameEdit(*dialog)->setText(name), overwriteBox(*dialog)->setChecked(true);
    EXPECT_EQ(previewRow(*dialog, 0), firstRow);
    click(okButton(*dialog));
    EXPECT_EQ(record.baseName + "|" + record.extension + "|" + std::to_string(record.overwriteAll),
              std::string(title ? title : "movie.avi") + "|" + fext + (title ? "|1" : "|0"));
    EXPECT_EQ(dialog->isVisible(), !title);
    EXPECT_EQ(asker.messages, title ? std::vector<Message>{} : std::vector<Message>{kTypeAName});
  }

  // Refused characters beep and give one caret position back.
  record.extension = "avi", asker.beeps = 0;
  auto dialog = open();
  QLineEdit* name = nameEdit(*dialog);
  for (const char* typed : {":", "/"}) {
    name->setText("ab"), name->setCursorPosition(1);
    QTest::keyClicks(name, typed);
    EXPECT_EQ(name->text() + QString::number(name->cursorPosition()) + q(previewRow(*dialog, 0)),
              "ab1ab01.avi");
  }
  EXPECT_EQ(asker.beeps, 2);
  name->clear(), name->insert("x:y*z");  // a paste of several refused characters gives back one position
  EXPECT_EQ(name->text() + QString::number(name->cursorPosition()), "xyz3");
}

TEST_F(TargetDialogTest, OnlyAnOpenedFolderOrAnAvailableDriveIsTheTarget) {
  // One volume vanishes after the list was built, one has no mount point at all.
  const std::string gone = temp.makeFolder("gone"), lost = temp.join("lost"), stick = temp.join("stick");
  auto dialog = open([gone, lost, stick, calls = 0]() mutable {  // the root "/" is always listed
    std::vector<Volumes::Volume> volumes{{lost, "", "vfat", "b"}, {stick, "", "vfat", "c"}};
    if (calls++ == 0) volumes.push_back({gone, "", "vfat", "d"});
    return volumes;
  });
  for (const std::string& drive : {gone, lost}) {
    asker.messages.clear();
    driveBox(*dialog)->setCurrentIndex(driveBox(*dialog)->findText(q(drive)));
    EXPECT_EQ(asker.messages, std::vector<Message>{{"Drive " + drive + " not available."}});
    EXPECT_EQ(driveBox(*dialog)->currentText() + "|" + fullLabel(*dialog), rootDrive() + "|" + q(data));
  }
  FolderList* dirs = folderList(*dialog);
  dirs->setFocus();
  const QPoint beta = dirs->visualItemRect(dirs->findRow(q(data + kSep + "beta"))).center();
  QTest::mouseClick(dirs->viewport(), Qt::LeftButton, {}, beta);
  EXPECT_EQ(dirs->path(), q(data));  // highlighting alone changes nothing
  QTest::mouseDClick(dirs->viewport(), Qt::LeftButton, {}, beta);
  EXPECT_EQ(fullLabel(*dialog), q(data + kSep + "beta"));
  dirs->setCurrentItem(dirs->findRow(q(temp.path())));
  QTest::keyClick(dirs, Qt::Key_Return);  // opens the row, does not press Save
  EXPECT_EQ(dirs->path(), q(temp.path()));
  EXPECT_TRUE(dialog->isVisible());
  driveBox(*dialog)->setCurrentIndex(driveBox(*dialog)->findText(q(stick)));
  EXPECT_EQ(dirs->path(), q(stick));
  dirs->setCurrentItem(dirs->findRow(q(stick + kSep + "sub")));
  click(okButton(*dialog));
  EXPECT_EQ(target(), targetAt(stick));
}

TEST_F(TargetDialogTest, CancelEscapeCloseBoxAndRefusedSaveLeaveOnlyTheTitleEmpty) {
  // After a refused Save (the last way here) the folder shown is kept.
  const std::pair<std::function<void(TargetDialog&)>, bool> ways[] = {
      {[](TargetDialog& d) { click(cancelButton(d)); }, false},
      {[](TargetDialog& d) { QTest::keyClick(nameEdit(d), Qt::Key_Escape); }, false},
      {[](TargetDialog& d) { d.close(); }, false},
      {[](TargetDialog& d) { click(cancelButton(d)); }, true}};
  for (const auto& [act, refused] : ways) {
    asker.messages.clear(), record.baseName = "movie.avi", record.extension = "mpg";
    auto dialog = open();
    nameEdit(*dialog)->setText(refused ? ".zip" : "other.zip");
    overwriteBox(*dialog)->setChecked(true);
    folderList(*dialog)->open(folderList(*dialog)->findRow(q(data + kSep + "alpha")));
    if (refused) QTest::keyClick(nameEdit(*dialog), Qt::Key_Return);  // Enter presses Save
    act(*dialog);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(record.baseName + "|" + record.extension + "|" + std::to_string(record.overwriteAll), "|mpg|0");
    EXPECT_EQ(target(), refused ? targetAt(data + kSep + "alpha") : data + "|");
    EXPECT_EQ(asker.messages, refused ? std::vector<Message>{kTypeAName} : std::vector<Message>{});
  }
}

}  // namespace
