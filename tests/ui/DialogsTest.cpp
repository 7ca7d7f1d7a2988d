// SPDX-License-Identifier: GPL-3.0-or-later
// The dialogs: the message box every question goes through, and the Save As
// dialog's guards (the overwrite check box as stored, an unavailable drive
// refused, only an opened folder taken, a name without a title refused, and
// every way of leaving that saves nothing).
#include <gtest/gtest.h>

#include <QTest>
#include <QtWidgets>

#include "Version.h"
#include "fileservices/Filenames.h"
#include "fileservices/Volumes.h"
#include "support/QStringPrint.h"
#include "support/ScriptedAsker.h"
#include "ui/FolderList.h"
#include "ui/MessageBoxAsker.h"
#include "ui/TargetDialog.h"
#include "ui/WindowKit.h"

namespace vornak {
namespace {

using test::find;
using test::q;

using SB = QMessageBox::StandardButton;

// Caption, text (never markup), icon, buttons and default of the open box; then a press (NoButton: Escape).
TEST(MessageBoxAskerTest, CaptionIconButtonsDefaultAndAnswer) {
  // clang-format off
  const struct { Buttons buttons; int defaultButton; Icon icon; QMessageBox::Icon qtIcon; QList<SB> shown;
                 SB press; Answer answer; } rows[] = {
      {Buttons::Ok, 0, Icon::Exclamation, QMessageBox::Warning, {SB::Ok}, SB::NoButton, Answer::Ok},
      {Buttons::OkCancel, 0, Icon::Information, QMessageBox::Information, {SB::Ok, SB::Cancel}, SB::NoButton, Answer::Cancel},
      {Buttons::OkCancel, 0, Icon::None, QMessageBox::NoIcon, {SB::Ok, SB::Cancel}, SB::Ok, Answer::Ok},
      {Buttons::RetryCancel, 1, Icon::Exclamation, QMessageBox::Warning, {SB::Retry, SB::Cancel}, SB::Retry, Answer::Retry},
      {Buttons::YesNo, 1, Icon::Question, QMessageBox::Question, {SB::Yes, SB::No}, SB::Yes, Answer::Yes}};
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(static_cast<int>(r.buttons) * 10 + r.defaultButton);
    test::onModal<QMessageBox>([&](QMessageBox* box) {
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->windowTitle() + "|" + box->text(),
                QString(kApplicationTitle) + "|Line one\nline <b>two</b>");
      EXPECT_EQ(box->textFormat(), Qt::PlainText);
      EXPECT_EQ(box->icon(), r.qtIcon);
      QList<SB> buttons;
      for (QAbstractButton* b : box->buttons()) buttons.push_back(box->standardButton(b));
      std::sort(buttons.begin(), buttons.end());
      EXPECT_EQ(buttons, r.shown);
      EXPECT_EQ(box->standardButton(box->defaultButton()), r.shown[r.defaultButton]);
      r.press == SB::NoButton ? QTest::keyClick(box, Qt::Key_Escape)
                              : QTest::mouseClick(box->button(r.press), Qt::LeftButton);
    });
    EXPECT_EQ(MessageBoxAsker().ask({"Line one\nline <b>two</b>", r.icon, r.buttons, r.defaultButton}),
              r.answer);
  }
}

TEST(TargetDialogTest, OnlyAnOpenedFolderOrAnAvailableDriveIsTheTargetAndLeavingSavesNothing) {
  test::TempDir temp;
  const std::string data = temp.makeFolder("data"), beta = temp.makeFolder("data/beta");
  // One volume vanishes after the list was built, one has no mount point at all.
  const std::string gone = temp.makeFolder("gone"), lost = temp.join("lost"), stick = temp.join("stick");
  const std::string sub = temp.makeFolder("stick/sub");
  std::vector<std::string> refused = {gone, lost};
#ifdef _WIN32
  refused.push_back("M:\\");  // a drive letter without its medium (made so by tools/wine-prefix.sh)
#endif
  const TargetDialog::VolumeSource volumes = [gone, lost, stick, refused, calls = 0]() mutable {
    std::vector<Volumes::Volume> volumes{{lost, "", "vfat", "b"}, {stick, "", "vfat", "c"}};
    if (refused.size() > 2) volumes.push_back({refused.back(), "", "", "removable"});
    if (calls++ == 0) volumes.push_back({gone, "", "vfat", "d"});
    return volumes;  // the root is always listed
  };
  TargetRecord record{"", data, "movie.avi", "mpg", "00", 12, 7};  // only 1 means "overwrite"
  ScriptedAsker asker;
  auto dialog = std::make_unique<TargetDialog>(record, asker, nullptr, volumes);
  dialog->show();
  EXPECT_FALSE(find<QCheckBox>(dialog.get(), "overwriteBox")->isChecked());
  auto* drives = find<QComboBox>(dialog.get(), "driveBox");
  FolderList* dirs = find<FolderList>(dialog.get(), "folderList");
  const QString root = drives->currentText();
  for (const std::string& drive : refused) {
    asker.messages.clear();
    const std::string name = Volumes::displayName({drive, "", "", ""});  // on Windows "m:" for "M:\\"
    drives->setCurrentIndex(drives->findText(q(name)));
    EXPECT_EQ(asker.messages, std::vector<Message>{{"Drive " + name + " not available."}});
    EXPECT_EQ(drives->currentText() + "|" + dirs->path(), root + "|" + q(data));
  }
  const QPoint row = dirs->visualItemRect(dirs->findRow(q(beta))).center();
  QTest::mouseClick(dirs->viewport(), Qt::LeftButton, {}, row);
  QTest::mouseDClick(dirs->viewport(), Qt::LeftButton, {}, row);
  EXPECT_EQ(dirs->path(), q(beta));  // the label may shorten a long path
  drives->setCurrentIndex(drives->findText(q(stick)));
  dirs->setCurrentItem(dirs->findRow(q(sub)));  // highlighted, not opened
  find<QCheckBox>(dialog.get(), "overwriteBox")->setChecked(true);
  find<QPushButton>(dialog.get(), "okButton")->click();
  const auto saved = [&record] {
    return record.folder + "|" + record.drive + "|" + record.baseName + "|" + record.extension + "|" +
           std::to_string(record.overwriteAll);
  };
  EXPECT_EQ(saved(), stick + "|" + Filenames::getFolderDrive(stick) + "|movie|avi|1");

  // Cancel, Escape, and Cancel after a Save refused for a name without a title.
  const std::tuple<const char*, std::function<void(TargetDialog&)>, bool> ways[] = {
      {"Cancel", [](TargetDialog& d) { find<QPushButton>(&d, "cancelButton")->click(); }, false},
      {"Escape", [](TargetDialog& d) { QTest::keyClick(find(&d, "nameEdit"), Qt::Key_Escape); }, false},
      {"refused, Cancel", [](TargetDialog& d) { find<QPushButton>(&d, "cancelButton")->click(); }, true}};
  for (const auto& [way, leave, refused] : ways) {
    SCOPED_TRACE(way);
    asker.messages.clear();
    record = {"", data, "movie.avi", "mpg", "00", 12, 1};
    dialog = std::make_unique<TargetDialog>(record, asker, nullptr, volumes);
    dialog->show();
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
