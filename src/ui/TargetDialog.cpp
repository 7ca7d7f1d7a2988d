// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TargetDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>

#include "fileservices/Filenames.h"
#include "ui/FolderList.h"
#include "ui/MessageBoxAsker.h"
#include "ui/PreviewModel.h"
#include "ui/WindowGeometry.h"

namespace vornak {

namespace {

QString fromStd(const std::string& text) {
  return QString::fromStdString(text);
}
std::string toStd(const QString& text) {
  return text.toStdString();
}

// A folder of the record: "D:" stands for the root of drive D.
QString recordFolder(const std::string& folder) {
  QString text = fromStd(folder);
#ifdef _WIN32
  if (text.size() == 2 && text.at(1) == QLatin1Char(':')) text += QLatin1Char('\\');
#endif
  return text;
}

bool isEnterableFolder(const QString& folder) {
  const QFileInfo info(folder);
  return !folder.isEmpty() && info.isAbsolute() && info.isDir() && info.isExecutable();
}

}  // namespace

TargetDialog::TargetDialog(TargetRecord& record, Asker& asker, QWidget* parent, VolumeSource volumes)
    : QDialog(parent), record_(record), asker_(asker), volumeSource_(std::move(volumes)) {
  if (!volumeSource_) volumeSource_ = [] { return Volumes::listVolumes(); };
  buildControls();
  load();
}

TargetDialog::~TargetDialog() = default;

bool TargetDialog::showModal(TargetRecord& record, QWidget* owner, Asker* asker) {
  MessageBoxAsker boxes;
  TargetDialog dialog(record, asker ? *asker : boxes, owner);
  boxes.setParent(&dialog);
  dialog.exec();
  return !record.baseName.empty();
}

void TargetDialog::buildControls() {
  setObjectName("TargetDialog");
  setWindowTitle("Save As");
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setModal(true);

  const WindowGeometry g(font());
  WindowGeometry::keepSize(this, g.size(6555, 3225));

  auto label = [this](const char* name, const QString& text, QRect rect) {
    auto* l = new QLabel(text, this);
    l->setObjectName(name);
    l->move(rect.topLeft());
    l->adjustSize();
    return l;
  };

  nameLabel_ = label("nameLabel", "&Filename (without counter):", g.rect(120, 120, 2055, 195));

  nameEdit_ = new QLineEdit(this);
  nameEdit_->setObjectName("nameEdit");
  nameEdit_->setGeometry(g.rect(120, 360, 2055, 285));

  previewList_ = new QListView(this);
  previewList_->setObjectName("previewList");
  previewList_->setGeometry(g.rect(120, 720, 2055, 1935));
  previewList_->setUniformItemSizes(true);
  previewList_->setSelectionMode(QAbstractItemView::NoSelection);
  previewList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  {
    // The grey of an inactive frame: the list shows names, it takes no choice.
    QPalette palette = previewList_->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Inactive, QPalette::Window));
    previewList_->setPalette(palette);
  }
  previewList_->setAccessibleName("Parts to be written");
  preview_ = new PreviewModel(record_, this);
  previewList_->setModel(preview_);

  overwriteBox_ = new QCheckBox("&overwrite existing files", this);
  overwriteBox_->setObjectName("overwriteBox");
  overwriteBox_->setGeometry(g.rect(120, 2760, 2175, 255));

  folderCaption_ = label("folderCaption", "Fol&der:", g.rect(2400, 120, 2655, 195));
  folderLabel_ = label("folderLabel", "Specify a folder", g.rect(2400, 405, 2655, 195));
  folderLabel_->setTextFormat(Qt::PlainText);

  folderList_ = new FolderList(this);
  folderList_->setObjectName("folderList");
  folderList_->setGeometry(g.rect(2400, 720, 2655, 1665));
  folderList_->setToolTip("Double-click to specify the target folder");
  folderList_->setAccessibleName("Folders");
  folderList_->setHeaderLabel("Folders");

  driveLabel_ = label("driveLabel", "D&rive:", g.rect(2400, 2520, 2655, 195));

  driveBox_ = new QComboBox(this);
  driveBox_->setObjectName("driveBox");
  driveBox_->setGeometry(g.rect(2400, 2760, 2655, 315));

  okButton_ = new QPushButton("&Save", this);
  okButton_->setObjectName("okButton");
  okButton_->setGeometry(g.rect(5280, 120, 1170, 345));
  okButton_->setDefault(true);

  cancelButton_ = new QPushButton("&Cancel", this);
  cancelButton_->setObjectName("cancelButton");
  cancelButton_->setGeometry(g.rect(5280, 600, 1170, 345));

  nameLabel_->setBuddy(nameEdit_);
  folderCaption_->setBuddy(folderList_);
  driveLabel_->setBuddy(driveBox_);
  QWidget::setTabOrder(nameEdit_, previewList_);
  QWidget::setTabOrder(previewList_, overwriteBox_);
  QWidget::setTabOrder(overwriteBox_, folderList_);
  QWidget::setTabOrder(folderList_, driveBox_);
  QWidget::setTabOrder(driveBox_, okButton_);
  QWidget::setTabOrder(okButton_, cancelButton_);
  // A folder label too long to shorten must not cover the buttons.
  okButton_->raise();
  cancelButton_->raise();

  volumes_ = volumeSource_();
#ifndef _WIN32
  // Every absolute folder must lie on some listed drive.
  if (Volumes::findVolume(volumes_, "/") < 0)
    volumes_.insert(volumes_.begin(), Volumes::Volume{"/", "", "", ""});
#endif
  for (const auto& volume : volumes_) driveBox_->addItem(fromStd(Volumes::displayName(volume)));

  connect(nameEdit_, &QLineEdit::textChanged, this, &TargetDialog::nameChanged);
  connect(folderList_, &FolderList::pathChanged, this, &TargetDialog::folderChanged);
  connect(driveBox_, &QComboBox::currentIndexChanged, this, &TargetDialog::driveChanged);
  connect(okButton_, &QPushButton::clicked, this, &TargetDialog::confirm);
  connect(cancelButton_, &QPushButton::clicked, this, &TargetDialog::reject);
  nameEdit_->setFocus();
}

bool TargetDialog::openFolder(const QString& folder) {
  const int drive = Volumes::findVolume(volumes_, toStd(QDir::toNativeSeparators(folder)));
  if (drive < 0) {
    // A folder on a drive or share the list does not know: the folder list
    // shows it from its own root, and folderOpened lists that drive.
    return folderList_->setPath(folder, QString());
  }
  {
    const QSignalBlocker blocker(driveBox_);
    driveBox_->setCurrentIndex(drive);
  }
  return folderList_->setPath(folder, fromStd(volumes_[drive].mountPoint));
}

bool TargetDialog::volumeAvailable(const Volumes::Volume& volume) const {
  if (!isEnterableFolder(fromStd(volume.mountPoint)) || !Volumes::hasMedium(volume.mountPoint)) return false;
  if (volume.mountPoint == "/") return true;
  // Still mounted? A medium that was taken out leaves at most an empty folder.
  const auto now = volumeSource_();
  return std::any_of(now.begin(), now.end(),
                     [&](const Volumes::Volume& v) { return v.mountPoint == volume.mountPoint; });
}

void TargetDialog::load() {
  QString folder;
  if (!record_.folder.empty()) {
    folder = recordFolder(record_.folder);
    // The stored folder may be gone with its medium: start at home instead.
    if (!isEnterableFolder(folder)) folder = QDir::homePath();
  } else {
    folder = QDir::currentPath();
  }
  if (!openFolder(folder) && !openFolder(QDir::homePath())) openFolder(QDir::rootPath());
  folderOpened();

  {
    const QSignalBlocker blocker(nameEdit_);
    nameEdit_->setText(fromStd(record_.baseName));
  }
  nameChanged();
  overwriteBox_->setChecked(record_.overwriteAll == 1);
}

void TargetDialog::folderChanged() {
  folderOpened();
}

void TargetDialog::folderOpened() {
  // The volume that holds the folder is always listed and shown, even one the
  // list leaves out (a tmpfs, /proc below "/"): it is the drive Save takes.
  const std::string folder = toStd(folderList_->path());
  std::string drive = Filenames::getFolderDrive(folder);
#ifdef _WIN32
  // Listed as the drive list lists its drives: by the root, "C:\".
  if (drive.size() == 2 && drive[1] == ':') drive += '\\';
#endif
  int index = Volumes::findVolume(volumes_, folder);
  const std::size_t listed = index < 0 ? 0 : volumes_[index].mountPoint.size();
  if (!drive.empty() && drive.size() > listed && Volumes::findVolume(volumes_, drive) == index) {
    auto at = std::find_if(volumes_.begin(), volumes_.end(),
                           [&](const Volumes::Volume& v) { return v.mountPoint > drive; });
    index = static_cast<int>(at - volumes_.begin());
    at = volumes_.insert(at, Volumes::Volume{drive, "", "", ""});
    const QSignalBlocker blocker(driveBox_);
    driveBox_->insertItem(index, fromStd(Volumes::displayName(*at)));
  }
  if (index >= 0) {
    const QSignalBlocker blocker(driveBox_);
    driveBox_->setCurrentIndex(index);
  }
  showFolder(folderList_->path());
}

void TargetDialog::driveChanged() {
  if (restoringDrive_) return;
  const QString remembered = folderList_->path();
  const int drive = driveBox_->currentIndex();
  if (drive < 0 || drive >= static_cast<int>(volumes_.size())) return;
  const Volumes::Volume& volume = volumes_[drive];
  const QString root = fromStd(volume.mountPoint);
  if (!volumeAvailable(volume) || !folderList_->setPath(root, root)) {
    asker_.ask(Message{"Drive " + toStd(driveBox_->itemText(drive)) + " not available.", Icon::Exclamation,
                       Buttons::Ok, 0});
    restoringDrive_ = true;
    openFolder(remembered);
    restoringDrive_ = false;
  }
  folderOpened();
}

void TargetDialog::showFolder(const QString& text) {
  folderLabel_->setText(text);
  fitFolderLabel();
}

void TargetDialog::fitFolderLabel() {
  // While the folder is wider than the folder list, drop the first folder name
  // after the first "/" together with one "/", and mark the gap with "...".
  const QChar separator = QLatin1Char(Filenames::kSeparator);
  const QFontMetrics metrics(folderLabel_->font());
  const int limit = folderList_->width();
  QString text = folderLabel_->text();
  while (metrics.horizontalAdvance(text) > limit) {
    const qsizetype a = text.indexOf(separator);
    if (a < 0) break;
    const qsizetype b = text.indexOf(separator, a + 1);
    if (b < 0) break;
    text = text.left(a + 1) + "..." + text.mid(b + 1);
  }
  // A last name wider than the list on its own is shortened too; the whole
  // path shows in the tooltip.
  if (metrics.horizontalAdvance(text) > limit) text = metrics.elidedText(text, Qt::ElideMiddle, limit);
  folderLabel_->setToolTip(text != folderLabel_->text() ? folderLabel_->text() : QString());
  if (text != folderLabel_->text()) folderLabel_->setText(text);
  folderLabel_->adjustSize();
  // Never wider than the dialog leaves room for.
  folderLabel_->resize(std::min(folderLabel_->width(), width() - folderLabel_->x()), folderLabel_->height());
}

void TargetDialog::nameChanged() {
  std::string text = toStd(nameEdit_->text());
  const int caret = nameEdit_->cursorPosition();
  if (Filenames::removeInvalidChars(text) > 0) {
    asker_.beep();
    const QString cleaned = fromStd(text);
    {
      const QSignalBlocker blocker(nameEdit_);
      nameEdit_->setText(cleaned);
    }
    nameEdit_->setCursorPosition(std::clamp(caret - 1, 0, static_cast<int>(cleaned.size())));
  }
  preview_->setName(toStd(nameEdit_->text()));
}

void TargetDialog::confirm() {
  const std::string folder = toStd(folderList_->path());
  record_.drive = Filenames::getFolderDrive(folder);
  std::string path = folder;
  while (path.size() > 1 && path.back() == Filenames::kSeparator) path.pop_back();
  record_.folder = path;

  const std::string name = toStd(nameEdit_->text());
  const std::string title = Filenames::getTitle(name);
  if (title.empty()) {
    asker_.ask(Message{"Type a filename in the 'Filename' field.", Icon::Exclamation, Buttons::Ok, 0});
    nameEdit_->setFocus();
    return;
  }
  record_.baseName = title;
  if (const std::string ext = Filenames::getExtension(name); !ext.empty()) record_.extension = ext;
  record_.overwriteAll = overwriteBox_->isChecked() ? 1 : 0;
  accept();
}

void TargetDialog::reject() {
  record_.baseName.clear();
  QDialog::reject();
}

}  // namespace vornak
