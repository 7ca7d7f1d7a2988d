#include <gtest/gtest.h>

#include <QTest>
#include <QtWidgets>

#include "fileservices/Filenames.h"
#include "support/ScriptedAsker.h"
#include "support/TempDir.h"
#include "target/DirList.h"
#include "target/Save.h"

namespace {

using namespace vornak;

const auto Q = [](const std::string& s) { return QString::fromStdString(s); };

std::string Row(const Save& dialog, int row) {
  return dialog.List1->model()->index(row, 0).data().toString().toStdString();
}

const Message kTypeAName{"Type a filename in the 'Filename' field.", Icon::Exclamation, Buttons::Ok, 0};

class SaveDialogTest : public ::testing::Test {
 protected:
  SaveDialogTest() : data(temp.MakeFolder("data")) {
    for (const char* folder : {"data/alpha", "data/beta"}) temp.MakeFolder(folder);
    record.savepath = data, record.saveftitle = "movie.avi", record.savefcount = 12, record.saveformat = "00";
    record.saveoverwrite = 1;
  }
  std::unique_ptr<Save> Open(Save::VolumeSource drives = {}) {
    if (!drives) drives = [] { return std::vector<Volumes::Volume>{{"/", "", "ext4", "/dev/sda1"}}; };
    auto dialog = std::make_unique<Save>(record, asker, nullptr, std::move(drives));
    dialog->show();
    return dialog;
  }
  QPoint Centre(const Save& dialog, const std::string& folder) {
    return dialog.Dir1->visualItemRect(dialog.Dir1->FindRow(Q(folder))).center();
  }

  test::TempDir temp;
  std::string data;
  TargetRecord record;
  ScriptedAsker asker;
};

TEST_F(SaveDialogTest, OpensOnTheRecordsFolderNameAndOverwriteMode) {
  auto dialog = Open();
  EXPECT_EQ(dialog->Dir1->Path() + "|" + dialog->lblActFolder->text(), Q(data + "|" + data));
  EXPECT_EQ(dialog->Drive1->currentText() + "|" + dialog->edActName->text(), "/|movie.avi");
  ASSERT_EQ(dialog->List1->model()->rowCount(), 12);
  EXPECT_EQ(Row(*dialog, 0) + " " + Row(*dialog, 11), "movie01.avi movie12.avi");
  EXPECT_TRUE(dialog->chkOverwrite->isChecked());
  record.saveoverwrite = 7;  // only 1 means "overwrite"
  EXPECT_FALSE(Open()->chkOverwrite->isChecked());
}

TEST_F(SaveDialogTest, SaveSplitsTheNameIntoTitleAndExtension) {
  struct Case {
    const char *name, *fextBefore, *firstRow, *title /* nullptr: refused */, *fext;
  };
  // clang-format off
  const Case cases[] = {
      {"backup.zip", "", "backup01.zip", "backup", "zip"}, {"backup", "", "backup01.", "backup", ""},
      {"backup", "avi", "backup01.avi", "backup", "avi"},
      {"archive.tar.gz", "avi", "archive.tar01.gz", "archive.tar", "gz"},
      {"movie.", "avi", "movie01.avi", "movie", "avi"}, {".avi", "mpg", "01.avi", nullptr, "mpg"},
      {"", "mpg", "01.mpg", nullptr, "mpg"}};
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    record.savefext = c.fextBefore, record.saveoverwrite = 0;
    asker.messages.clear();
    auto dialog = Open();
    dialog->edActName->setText(c.name);
    EXPECT_EQ(Row(*dialog, 0), c.firstRow);
    dialog->chkOverwrite->setChecked(true);
    QTest::mouseClick(dialog->Command1, Qt::LeftButton);
    EXPECT_EQ(record.savefext, c.fext);
    EXPECT_EQ(dialog->isVisible(), !c.title);
    EXPECT_EQ(record.saveoverwrite, c.title ? 1 : 0);
    if (c.title) {
      EXPECT_EQ(record.saveftitle, c.title);
    }
    EXPECT_EQ(asker.messages, c.title ? std::vector<Message>{} : std::vector<Message>{kTypeAName});
  }
}

TEST_F(SaveDialogTest, RefusedCharactersBeepAndGiveOneCaretPositionBack) {
  record.savefext = "avi";
  auto dialog = Open();
  QLineEdit* name = dialog->edActName;
  for (const char* typed : {":", "/"}) {
    name->setText("ab");
    name->setCursorPosition(1);
    const int beeps = asker.beeps;
    QTest::keyClicks(name, typed);
    EXPECT_EQ(asker.beeps, beeps + 1) << typed;
    EXPECT_EQ(name->text() + QString::number(name->cursorPosition()), "ab1");
    EXPECT_EQ(Row(*dialog, 0), "ab01.avi");
  }
  name->setText("");
  name->insert("x:y*z");  // a paste with several refused characters gives back one position only
  EXPECT_EQ(name->text() + QString::number(name->cursorPosition()), "xyz3");
  name->setText("../evil.bin");
  EXPECT_EQ(name->text(), "..evil.bin");
}

TEST_F(SaveDialogTest, DriveThatIsNotAvailableWarnsOnceAndRestores) {
  // One volume vanishes after the list was built, one has no mount point at all.
  const std::string gone = temp.MakeFolder("gone"), missing = temp.Join("missing"),
                    stick = temp.MakeFolder("stick");
  int calls = 0;
  auto dialog = Open([&, gone, missing, stick] {
    std::vector<Volumes::Volume> volumes{
        {"/", "", "ext4", "a"}, {missing, "", "vfat", "b"}, {stick, "", "vfat", "c"}};
    if (calls++ == 0) volumes.push_back({gone, "", "vfat", "d"});
    return volumes;
  });
  for (const std::string& drive : {gone, missing}) {
    asker.messages.clear();
    dialog->Drive1->setCurrentIndex(dialog->Drive1->findText(Q(drive)));
    const Message warning{"Drive " + drive + " not available.", Icon::Exclamation, Buttons::Ok, 0};
    EXPECT_EQ(asker.messages, std::vector<Message>{warning});
    EXPECT_EQ(dialog->Drive1->currentText(), "/");
    EXPECT_EQ(dialog->lblActFolder->text(), Q(data));
  }
  dialog->Drive1->setCurrentIndex(dialog->Drive1->findText(Q(stick)));
  EXPECT_EQ(dialog->Dir1->Path(), Q(stick));
  QTest::mouseClick(dialog->Command1, Qt::LeftButton);
  EXPECT_EQ(record.savepath + "|" + record.savedrive, stick + "|" + Filenames::GetFolderDrive(stick));
}

TEST_F(SaveDialogTest, OnlyAnOpenedFolderIsTheTarget) {
  auto dialog = Open();
  DirList* dirs = dialog->Dir1;
  dirs->setFocus();
  QTest::mouseClick(dirs->viewport(), Qt::LeftButton, {}, Centre(*dialog, data + "/beta"));
  EXPECT_EQ(dirs->Path(), Q(data));  // highlighting alone changes nothing
  QTest::mouseDClick(dirs->viewport(), Qt::LeftButton, {}, Centre(*dialog, data + "/beta"));
  EXPECT_EQ(dialog->lblActFolder->text(), Q(data + "/beta"));
  dirs->setCurrentItem(dirs->FindRow(Q(temp.Path())));
  QTest::keyClick(dirs, Qt::Key_Return);  // opens the row, does not press Save
  EXPECT_EQ(dirs->Path(), Q(temp.Path()));
  EXPECT_TRUE(dialog->isVisible());
  dirs->setCurrentItem(dirs->FindRow(Q(data)));
  QTest::mouseClick(dialog->Command1, Qt::LeftButton);
  EXPECT_EQ(record.savepath, temp.Path());
}

TEST_F(SaveDialogTest, CancelEscapeAndCloseBoxLeaveOnlyTheTitleEmpty) {
  const std::function<void(Save&)> ways[] = {[](Save& d) { QTest::mouseClick(d.Command2, Qt::LeftButton); },
                                             [](Save& d) { QTest::keyClick(d.edActName, Qt::Key_Escape); },
                                             [](Save& d) { d.close(); }};
  for (const auto& act : ways) {
    record.saveftitle = "movie.avi", record.savedrive = "/before", record.savefext = "mpg";
    const TargetRecord before = record;
    auto dialog = Open();
    dialog->edActName->setText("other.zip");
    dialog->chkOverwrite->setChecked(false);
    dialog->Dir1->Open(dialog->Dir1->FindRow(Q(data + "/alpha")));
    act(*dialog);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(record.saveftitle, "");
    EXPECT_EQ(std::tie(record.savepath, record.savedrive, record.savefext, record.saveoverwrite),
              std::tie(before.savepath, before.savedrive, before.savefext, before.saveoverwrite));
  }
}

TEST_F(SaveDialogTest, RefusedSaveThenCancelKeepsTheShownFolder) {
  auto dialog = Open();
  dialog->Dir1->Open(dialog->Dir1->FindRow(Q(data + "/alpha")));
  dialog->edActName->setText(".zip");
  QTest::keyClick(dialog->edActName, Qt::Key_Return);  // Enter presses Save
  EXPECT_EQ(asker.messages, std::vector<Message>{kTypeAName});
  QTest::mouseClick(dialog->Command2, Qt::LeftButton);
  EXPECT_EQ(record.saveftitle, "");
  EXPECT_EQ(record.savepath + "|" + record.savedrive,
            data + "/alpha|" + Filenames::GetFolderDrive(data + "/alpha"));

  auto root = Open();  // the root of the file system stays "/"
  ASSERT_TRUE(root->Dir1->SetPath("/", "/"));
  QTest::mouseClick(root->Command1, Qt::LeftButton);
  EXPECT_EQ(record.savepath + record.savedrive, "//");
}

TEST_F(SaveDialogTest, StartFolderWhenTheRecordHasNoneOrALostOne) {
  // without a usable home folder, the root
  const QString home = QFileInfo(QDir::homePath()).isDir() ? QDir::cleanPath(QDir::homePath()) : "/";
  const std::pair<std::string, QString> cases[] = {
      {temp.Join("removed/medium"), home}, {"", QDir::cleanPath(QDir::currentPath())}, {data + "/", Q(data)}};
  for (const auto& [savepath, expected] : cases) {
    record.savepath = savepath;
    EXPECT_EQ(Open()->Dir1->Path(), expected) << savepath;
    EXPECT_EQ(record.savepath, savepath);  // nothing written before Save
  }
  EXPECT_TRUE(asker.messages.empty());
}

TEST_F(SaveDialogTest, LongFolderIsShortenedFromTheLeftToTheListWidth) {
  const std::string deep = "data/a-rather-long-folder-name/another-long-folder-name/yet-another-one/last";
  record.savepath = temp.MakeFolder(deep);
  auto dialog = Open();
  const QString shown = dialog->lblActFolder->text();
  EXPECT_TRUE(shown == "/...yet-another-one/last" || shown == "/...last") << shown.toStdString();
  EXPECT_LE(QFontMetrics(dialog->lblActFolder->font()).horizontalAdvance(shown), dialog->Dir1->width());
  EXPECT_EQ(dialog->Dir1->Path(), Q(record.savepath));  // only the label is shortened
}

}  // namespace
