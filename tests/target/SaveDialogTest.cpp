#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <string>
#include <vector>

#include "fileservices/Filenames.h"
#include "support/ScriptedAsker.h"
#include "support/TempDir.h"
#include "target/DirList.h"
#include "target/PreviewModel.h"
#include "target/Save.h"

namespace vornak {
namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

std::string Row(const Save& dialog, int row) {
  return dialog.List1->model()->index(row, 0).data().toString().toStdString();
}

// A drive list of the root and the given extra mount points.
Save::VolumeSource Drives(std::vector<std::string> extra) {
  return [extra] {
    std::vector<Volumes::Volume> volumes{{"/", "", "ext4", "/dev/sda1"}};
    for (const auto& m : extra) volumes.push_back({m, "", "vfat", "/dev/sdb1"});
    return volumes;
  };
}

class SaveDialogTest : public ::testing::Test {
 protected:
  SaveDialogTest() {
    data = temp.MakeFolder("data");
    temp.WriteFile("data/movie.avi", "x");
    temp.MakeFolder("data/alpha");
    temp.MakeFolder("data/beta");
    record.savepath = data;
    record.saveftitle = "movie.avi";
    record.savefcount = 12;
    record.saveformat = "00";
    record.saveoverwrite = 1;
  }

  std::unique_ptr<Save> Open(Save::VolumeSource drives = Drives({})) {
    auto dialog = std::make_unique<Save>(record, asker, nullptr, std::move(drives));
    dialog->show();
    return dialog;
  }

  test::TempDir temp;
  std::string data;
  TargetRecord record;
  ScriptedAsker asker;
};

TEST_F(SaveDialogTest, OpensOnTheRecordsFolderNameAndOverwriteMode) {
  auto dialog = Open();
  EXPECT_EQ(dialog->windowTitle(), "Save As");
  EXPECT_EQ(dialog->Dir1->Path(), Q(data));
  EXPECT_EQ(dialog->lblActFolder->text(), Q(data));
  EXPECT_EQ(dialog->Drive1->currentText(), "/");
  EXPECT_EQ(dialog->edActName->text(), "movie.avi");
  ASSERT_EQ(dialog->List1->model()->rowCount(), 12);
  EXPECT_EQ(Row(*dialog, 0), "movie01.avi");
  EXPECT_EQ(Row(*dialog, 11), "movie12.avi");
  EXPECT_TRUE(dialog->chkOverwrite->isChecked());
  EXPECT_EQ(dialog->focusWidget(), dialog->edActName);
  EXPECT_TRUE(asker.messages.empty());

  // Only 1 means "overwrite"; another stored value opens unchecked.
  record.saveoverwrite = 7;
  EXPECT_FALSE(Open()->chkOverwrite->isChecked());
}

TEST_F(SaveDialogTest, SaveSplitsTheNameIntoTitleAndExtension) {
  struct Case {
    const char* name;
    const char* fextBefore;
    const char* firstRow;
    const char* title;  // expected saveftitle; nullptr: refused
    const char* fext;   // expected savefext
  };
  const std::vector<Case> cases = {
      {"backup.zip", "", "backup01.zip", "backup", "zip"},
      {"backup", "", "backup01.", "backup", ""},
      {"backup", "avi", "backup01.avi", "backup", "avi"},
      {"archive.tar.gz", "avi", "archive.tar01.gz", "archive.tar", "gz"},
      {"movie.", "avi", "movie01.avi", "movie", "avi"},
      {"   ", "avi", "   01.avi", "   ", "avi"},
      {".avi", "mpg", "01.avi", nullptr, "mpg"},
      {"", "mpg", "01.mpg", nullptr, "mpg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    record.saveftitle = "movie.avi";
    record.savefext = c.fextBefore;
    record.saveoverwrite = 0;
    asker.messages.clear();
    auto dialog = Open();
    dialog->edActName->setText(c.name);
    EXPECT_EQ(Row(*dialog, 0), c.firstRow);
    dialog->chkOverwrite->setChecked(true);
    QTest::mouseClick(dialog->Command1, Qt::LeftButton);
    EXPECT_EQ(record.savepath, data);
    EXPECT_EQ(record.savefext, c.fext);
    if (c.title) {
      EXPECT_TRUE(asker.messages.empty());
      EXPECT_EQ(record.saveftitle, c.title);
      EXPECT_EQ(record.saveoverwrite, 1);
      EXPECT_FALSE(dialog->isVisible());
      EXPECT_EQ(dialog->result(), QDialog::Accepted);
    } else {
      ASSERT_EQ(asker.messages.size(), 1u);
      EXPECT_EQ(asker.messages[0],
                (Message{"Type a filename in the 'Filename' field.", Icon::Exclamation, Buttons::Ok, 0}));
      EXPECT_TRUE(dialog->isVisible());
      EXPECT_EQ(dialog->focusWidget(), dialog->edActName);
      EXPECT_EQ(record.saveoverwrite, 0);
    }
  }
}

TEST_F(SaveDialogTest, RefusedCharactersBeepAndGiveOneCaretPositionBack) {
  record.savefext = "avi";
  auto dialog = Open();
  QLineEdit* name = dialog->edActName;
  for (const char* typed : {":", "/", "*", "\\", "?"}) {
    SCOPED_TRACE(typed);
    name->setText("ab");
    name->setCursorPosition(1);
    const int beeps = asker.beeps;
    QTest::keyClicks(name, typed);
    EXPECT_EQ(asker.beeps, beeps + 1);
    EXPECT_EQ(name->text(), "ab");
    EXPECT_EQ(name->cursorPosition(), 1);
    EXPECT_EQ(Row(*dialog, 0), "ab01.avi");
  }
  // Several refused characters at once (a paste) still give back one position only.
  name->setText("");
  name->insert("x:y*z");
  EXPECT_EQ(name->text(), "xyz");
  EXPECT_EQ(name->cursorPosition(), 3);
  name->setText("");
  name->insert(":");
  EXPECT_EQ(name->text(), "");
  EXPECT_EQ(name->cursorPosition(), 0);
  // "../x" can never leave the chosen folder.
  name->setText("../evil.bin");
  EXPECT_EQ(name->text(), "..evil.bin");
  EXPECT_TRUE(asker.messages.empty());
}

TEST_F(SaveDialogTest, DriveThatIsNotAvailableWarnsOnceAndRestores) {
  // A volume that vanishes after the list was built (its folder remains, like
  // an unmounted /mnt/x), and one whose mount point does not exist at all.
  const std::string gone = temp.MakeFolder("gone");
  const std::string missing = temp.Join("missing");
  int calls = 0;
  auto drives = [&, gone, missing] {
    std::vector<Volumes::Volume> volumes{{"/", "", "ext4", "/dev/sda1"}, {missing, "", "vfat", "/dev/sdc1"}};
    if (calls++ == 0) volumes.push_back({gone, "", "vfat", "/dev/sdb1"});
    return volumes;
  };
  auto dialog = Open(drives);
  for (const std::string& drive : {gone, missing}) {
    SCOPED_TRACE(drive);
    asker.messages.clear();
    dialog->Drive1->setCurrentIndex(dialog->Drive1->findText(Q(drive)));
    ASSERT_EQ(asker.messages.size(), 1u);
    EXPECT_EQ(asker.messages[0],
              (Message{"Drive " + drive + " not available.", Icon::Exclamation, Buttons::Ok, 0}));
    EXPECT_EQ(dialog->Drive1->currentText(), "/");
    EXPECT_EQ(dialog->Dir1->Path(), Q(data));
    EXPECT_EQ(dialog->lblActFolder->text(), Q(data));
  }
}

TEST_F(SaveDialogTest, ChoosingADriveMovesTheFolderListToItsRoot) {
  const std::string stick = temp.MakeFolder("stick");
  temp.MakeFolder("stick/photos");
  auto dialog = Open(Drives({stick}));
  dialog->Drive1->setCurrentIndex(dialog->Drive1->findText(Q(stick)));
  EXPECT_TRUE(asker.messages.empty());
  EXPECT_EQ(dialog->Dir1->Path(), Q(stick));
  EXPECT_EQ(dialog->Dir1->Root(), Q(stick));
  EXPECT_NE(dialog->Dir1->FindRow(Q(stick + "/photos")), nullptr);
  EXPECT_EQ(dialog->Dir1->FindRow(Q(data)), nullptr);
  dialog->edActName->setText("m.avi");
  QTest::mouseClick(dialog->Command1, Qt::LeftButton);
  EXPECT_EQ(record.savepath, stick);
  EXPECT_EQ(record.savedrive, Filenames::GetFolderDrive(stick));
}

TEST_F(SaveDialogTest, OnlyAnOpenedFolderIsTheTarget) {
  auto dialog = Open();
  DirList* dirs = dialog->Dir1;
  // The chain down to the current folder, then its sub-folders.
  ASSERT_NE(dirs->FindRow("/"), nullptr);
  ASSERT_NE(dirs->FindRow(Q(temp.Path())), nullptr);
  ASSERT_NE(dirs->FindRow(Q(data + "/alpha")), nullptr);
  ASSERT_NE(dirs->FindRow(Q(data + "/beta")), nullptr);

  // Highlighting alone changes nothing.
  dirs->setFocus();
  dirs->setCurrentItem(dirs->FindRow(Q(data + "/alpha")));
  EXPECT_EQ(dirs->Path(), Q(data));
  QTest::mouseClick(dirs->viewport(), Qt::LeftButton, {},
                    dirs->visualItemRect(dirs->FindRow(Q(data + "/beta"))).center());
  EXPECT_EQ(dirs->Path(), Q(data));

  // A double-click opens; Enter opens the highlighted row and does not press Save.
  QTest::mouseDClick(dirs->viewport(), Qt::LeftButton, {},
                     dirs->visualItemRect(dirs->FindRow(Q(data + "/beta"))).center());
  EXPECT_EQ(dirs->Path(), Q(data + "/beta"));
  EXPECT_EQ(dialog->lblActFolder->text(), Q(data + "/beta"));
  dirs->setCurrentItem(dirs->FindRow(Q(temp.Path())));
  QTest::keyClick(dirs, Qt::Key_Return);
  EXPECT_EQ(dirs->Path(), Q(temp.Path()));
  EXPECT_TRUE(dialog->isVisible());

  dirs->setCurrentItem(dirs->FindRow(Q(data)));  // highlighted, not opened
  QTest::mouseClick(dialog->Command1, Qt::LeftButton);
  EXPECT_EQ(record.savepath, temp.Path());
}

TEST_F(SaveDialogTest, CancelEscapeAndCloseBoxLeaveOnlyTheTitleEmpty) {
  const std::vector<std::pair<const char*, std::function<void(Save&)>>> ways = {
      {"Cancel", [](Save& d) { QTest::mouseClick(d.Command2, Qt::LeftButton); }},
      {"Escape", [](Save& d) { QTest::keyClick(d.edActName, Qt::Key_Escape); }},
      {"close box", [](Save& d) { d.close(); }},
  };
  for (const auto& [how, act] : ways) {
    SCOPED_TRACE(how);
    record.saveftitle = "movie.avi";
    record.savedrive = "/before";
    record.savefext = "mpg";
    const TargetRecord before = record;
    auto dialog = Open();
    dialog->edActName->setText("other.zip");
    dialog->chkOverwrite->setChecked(false);
    dialog->Dir1->Open(dialog->Dir1->FindRow(Q(data + "/alpha")));
    act(*dialog);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(record.saveftitle, "");
    EXPECT_EQ(record.savepath, before.savepath);
    EXPECT_EQ(record.savedrive, before.savedrive);
    EXPECT_EQ(record.savefext, before.savefext);
    EXPECT_EQ(record.saveoverwrite, before.saveoverwrite);
  }
}

TEST_F(SaveDialogTest, RefusedSaveThenCancelKeepsTheShownFolder) {
  auto dialog = Open();
  dialog->Dir1->Open(dialog->Dir1->FindRow(Q(data + "/alpha")));
  dialog->edActName->setText(".zip");
  QTest::keyClick(dialog->edActName, Qt::Key_Return);  // Enter presses Save
  EXPECT_EQ(asker.messages.size(), 1u);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(record.savepath, data + "/alpha");
  EXPECT_EQ(record.savedrive, Filenames::GetFolderDrive(data + "/alpha"));
  QTest::mouseClick(dialog->Command2, Qt::LeftButton);
  EXPECT_EQ(record.saveftitle, "");
  EXPECT_EQ(record.savepath, data + "/alpha");
  EXPECT_EQ(record.savedrive, Filenames::GetFolderDrive(data + "/alpha"));
}

TEST_F(SaveDialogTest, FileSystemRootStaysSlash) {
  auto dialog = Open();
  ASSERT_TRUE(dialog->Dir1->SetPath("/", "/"));
  EXPECT_EQ(dialog->lblActFolder->text(), "/");
  QTest::mouseClick(dialog->Command1, Qt::LeftButton);
  EXPECT_EQ(record.savepath, "/");
  EXPECT_EQ(record.savedrive, "/");
  EXPECT_EQ(record.saveftitle, "movie");
}

TEST_F(SaveDialogTest, StartFolderWhenTheRecordHasNoneOrALostOne) {
  struct Case {
    std::string savepath;
    QString expected;
  };
  // Without a usable home folder the dialog falls back to the root.
  const QString home = QFileInfo(QDir::homePath()).isDir() ? QDir::cleanPath(QDir::homePath()) : "/";
  const std::vector<Case> cases = {
      {temp.Join("removed/medium"), home},
      {temp.WriteFile("plain-file"), home},
      {"", QDir::cleanPath(QDir::currentPath())},
      {data + "/", Q(data)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.savepath);
    record.savepath = c.savepath;
    auto dialog = Open();
    EXPECT_EQ(dialog->Dir1->Path(), c.expected);
    EXPECT_TRUE(asker.messages.empty());
    EXPECT_EQ(record.savepath, c.savepath);  // nothing written before Save
  }
}

TEST_F(SaveDialogTest, LongFolderIsShortenedFromTheLeftToTheListWidth) {
  std::string deep = data;
  for (const char* name :
       {"a-rather-long-folder-name", "another-long-folder-name", "yet-another-one", "last"})
    deep = temp.MakeFolder(deep.substr(temp.Path().size() + 1) + "/" + name);
  record.savepath = deep;
  auto dialog = Open();
  const QString shown = dialog->lblActFolder->text();
  const QFontMetrics metrics(dialog->lblActFolder->font());
  EXPECT_TRUE(shown.startsWith("/...")) << shown.toStdString();
  EXPECT_TRUE(shown == "/...yet-another-one/last" || shown == "/...last") << shown.toStdString();
  EXPECT_LE(metrics.horizontalAdvance(shown), dialog->Dir1->width());
  // What is left after "/..." is the tail of the real path from a folder boundary on.
  EXPECT_TRUE(Q(deep).endsWith("/" + shown.mid(4))) << shown.toStdString();
  EXPECT_EQ(dialog->Dir1->Path(), Q(deep));  // only the label is shortened

  // A single folder name too wide for the list keeps its "/" and is not cut further.
  const std::string wide = temp.MakeFolder(std::string(120, 'w'));
  dialog->Dir1->SetPath(Q(wide), "/");
  EXPECT_EQ(dialog->lblActFolder->text(), "/..." + QString(120, 'w'));
  EXPECT_LE(dialog->lblActFolder->geometry().right(), dialog->width());
}

TEST_F(SaveDialogTest, PreviewListIsDisplayOnly) {
  record.savefcount = 32736;
  record.saveformat = "00000";
  auto dialog = Open();
  ASSERT_EQ(dialog->List1->model()->rowCount(), 32736);
  EXPECT_EQ(Row(*dialog, 32735), "movie32736.avi");
  QTest::mouseClick(dialog->List1->viewport(), Qt::LeftButton, {},
                    dialog->List1->visualRect(dialog->List1->model()->index(2, 0)).center());
  EXPECT_FALSE(dialog->List1->selectionModel()->hasSelection());
  EXPECT_EQ(record.saveftitle, "movie.avi");
}

}  // namespace
}  // namespace vornak
