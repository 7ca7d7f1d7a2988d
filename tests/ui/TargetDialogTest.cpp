// SPDX-License-Identifier: GPL-3.0-or-later
// The Save As dialog's guards: the overwrite check box as stored, an
// unavailable drive refused, only an opened folder taken, a name without a
// title refused, and every way of leaving that saves nothing.
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

void click(const TargetDialog& dialog, const char* button) {
  QTest::mouseClick(find<QPushButton>(&dialog, button), Qt::LeftButton);
}

TEST(TargetDialogTest, OnlyAnOpenedFolderOrAnAvailableDriveIsTheTargetAndLeavingSavesNothing) {
  test::TempDir temp;
  const std::string data = temp.makeFolder("data"), beta = temp.makeFolder("data/beta");
  // One volume vanishes after the list was built, one has no mount point at all.
  const std::string gone = temp.makeFolder("gone"), lost = temp.join("lost"), stick = temp.join("stick");
  const std::string sub = temp.makeFolder("stick/sub");
  const TargetDialog::VolumeSource volumes = [gone, lost, stick, calls = 0]() mutable {
    std::vector<Volumes::Volume> volumes{{lost, "", "vfat", "b"}, {stick, "", "vfat", "c"}};
    if (calls++ == 0) volumes.push_back({gone, "", "vfat", "d"});
    return volumes;  // the root is always listed
  };
  TargetRecord record{"", data, "movie.avi", "mpg", "00", 12, 7};  // only 1 means "overwrite"
  ScriptedAsker asker;
  auto dialog = std::make_unique<TargetDialog>(record, asker, nullptr, volumes);
  dialog->show();
  EXPECT_FALSE(find<QCheckBox>(dialog.get(), "overwriteBox")->isChecked());
  auto* drives = find<QComboBox>(dialog.get(), "driveBox");
  auto* folderLabel = find<QLabel>(dialog.get(), "folderLabel");
  const QString root = drives->currentText();
  for (const std::string& drive : {gone, lost}) {
    asker.messages.clear();
    drives->setCurrentIndex(drives->findText(q(drive)));
    EXPECT_EQ(asker.messages, std::vector<Message>{{"Drive " + drive + " not available."}});
    EXPECT_EQ(drives->currentText() + "|" + folderLabel->text(), root + "|" + q(data));
  }
  FolderList* dirs = find<FolderList>(dialog.get(), "folderList");
  const QPoint row = dirs->visualItemRect(dirs->findRow(q(beta))).center();
  QTest::mouseClick(dirs->viewport(), Qt::LeftButton, {}, row);
  EXPECT_EQ(dirs->path(), q(data));  // highlighting alone changes nothing
  QTest::mouseDClick(dirs->viewport(), Qt::LeftButton, {}, row);
  EXPECT_EQ(folderLabel->text(), q(beta));
  drives->setCurrentIndex(drives->findText(q(stick)));
  dirs->setCurrentItem(dirs->findRow(q(sub)));  // highlighted, not opened
  find<QCheckBox>(dialog.get(), "overwriteBox")->setChecked(true);
  click(*dialog, "okButton");
  const auto saved = [&record] {
    return record.folder + "|" + record.drive + "|" + record.baseName + "|" + record.extension + "|" +
           std::to_string(record.overwriteAll);
  };
  EXPECT_EQ(saved(), stick + "|" + Filenames::getFolderDrive(stick) + "|movie|avi|1");

  // Cancel, Escape, the close box, and Cancel after a Save refused for a name without a title.
  const std::pair<std::function<void(TargetDialog&)>, bool> ways[] = {
      {[](TargetDialog& d) { click(d, "cancelButton"); }, false},
      {[](TargetDialog& d) { QTest::keyClick(find(&d, "nameEdit"), Qt::Key_Escape); }, false},
      {[](TargetDialog& d) { d.close(); }, false},
      {[](TargetDialog& d) { click(d, "cancelButton"); }, true}};
  for (const auto& [leave, refused] : ways) {
    asker.messages.clear(), record.folder = data, record.drive = "", record.baseName = "movie.avi";
    record.extension = "mpg", record.overwriteAll = 1;
    dialog = std::make_unique<TargetDialog>(record, asker, nullptr, volumes);
    dialog->show();
    EXPECT_TRUE(find<QCheckBox>(dialog.get(), "overwriteBox")->isChecked());
    find<QLineEdit>(dialog.get(), "nameEdit")->setText(refused ? ".zip" : "other.zip");
    find<QCheckBox>(dialog.get(), "overwriteBox")->setChecked(false);
    dirs = find<FolderList>(dialog.get(), "folderList");
    dirs->open(dirs->findRow(q(beta)));
    if (refused) QTest::keyClick(find(dialog.get(), "nameEdit"), Qt::Key_Return);  // Enter presses Save
    leave(*dialog);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->isVisible());
    const std::string folder = refused ? beta + "|" + Filenames::getFolderDrive(beta) : data + "|";
    EXPECT_EQ(saved(), folder + "||mpg|1");
    const Message typeAName{"Type a filename in the 'Filename' field.", Icon::Exclamation, Buttons::Ok, 0};
    EXPECT_EQ(asker.messages, refused ? std::vector<Message>{typeAName} : std::vector<Message>{});
  }
}

}  // namespace
}  // namespace vornak
