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
  setFixedSize(g.size(6555, 3225));

  auto label = [this](const char* name, const QString& text, QRect rect) {
    auto* l = new QLabel(text, this);
    l->setObjectName(name);
    l->move(rect.topLeft());
    l->adjustSize();
    return l;
  };

  nameLabel = label("nameLabel", "&Filename (without counter):", g.rect(120, 120, 2055, 195));

  nameEdit = new QLineEdit(this);
  nameEdit->setObjectName("nameEdit");
  nameEdit->setGeometry(g.rect(120, 360, 2055, 285));

  previewList = new QListView(this);
  previewList->setObjectName("previewList");
  previewList->setGeometry(g.rect(120, 720, 2055, 1935));
  previewList->setUniformItemSizes(true);
  previewList->setSelectionMode(QAbstractItemView::NoSelection);
  previewList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  {
    // The grey of an inactive frame: the list shows names, it takes no choice.
    QPalette palette = previewList->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Inactive, QPalette::Window));
    previewList->setPalette(palette);
  }
  preview_ = new PreviewModel(record_, this);
  previewList->setModel(preview_);

  overwriteBox = new QCheckBox("&overwrite existing files", this);
  overwriteBox->setObjectName("overwriteBox");
  overwriteBox->setGeometry(g.rect(120, 2760, 2175, 255));

  folderCaption = label("folderCaption", "Fol&der:", g.rect(2400, 120, 2655, 195));
  folderLabel = label("folderLabel", "Specify a folder", g.rect(2400, 405, 2655, 195));
  folderLabel->setTextFormat(Qt::PlainText);

  folderList = new FolderList(this);
  folderList->setObjectName("folderList");
  folderList->setGeometry(g.rect(2400, 720, 2655, 1665));
  folderList->setToolTip("Double-click to specify the target folder");

  driveLabel = label("driveLabel", "D&rive:", g.rect(2400, 2520, 2655, 195));

  driveBox = new QComboBox(this);
  driveBox->setObjectName("driveBox");
  driveBox->setGeometry(g.rect(2400, 2760, 2655, 315));

  okButton = new QPushButton("&Save", this);
  okButton->setObjectName("okButton");
  okButton->setGeometry(g.rect(5280, 120, 1170, 345));
  okButton->setDefault(true);

  cancelButton = new QPushButton("&Cancel", this);
  cancelButton->setObjectName("cancelButton");
  cancelButton->setGeometry(g.rect(5280, 600, 1170, 345));

  nameLabel->setBuddy(nameEdit);
  folderCaption->setBuddy(folderList);
  driveLabel->setBuddy(driveBox);
  QWidget::setTabOrder(nameEdit, previewList);
  QWidget::setTabOrder(previewList, overwriteBox);
  QWidget::setTabOrder(overwriteBox, folderList);
  QWidget::setTabOrder(folderList, driveBox);
  QWidget::setTabOrder(driveBox, okButton);
  QWidget::setTabOrder(okButton, cancelButton);
  // A folder label too long to shorten must not cover the buttons.
  okButton->raise();
  cancelButton->raise();

  volumes_ = volumeSource_();
#ifndef _WIN32
  // Every absolute folder must lie on some listed drive.
  if (Volumes::findVolume(volumes_, "/") < 0)
    volumes_.insert(volumes_.begin(), Volumes::Volume{"/", "", "", ""});
#endif
  for (const auto& volume : volumes_) driveBox->addItem(fromStd(Volumes::displayName(volume)));

  connect(nameEdit, &QLineEdit::textChanged, this, &TargetDialog::nameChanged);
  connect(folderList, &FolderList::pathChanged, this, &TargetDialog::folderChanged);
  connect(driveBox, &QComboBox::currentIndexChanged, this, &TargetDialog::driveChanged);
  connect(okButton, &QPushButton::clicked, this, &TargetDialog::Command1_Click);
  connect(cancelButton, &QPushButton::clicked, this, &TargetDialog::Command2_Click);
  nameEdit->setFocus();
}

bool TargetDialog::openFolder(const QString& folder) {
  const int drive = Volumes::findVolume(volumes_, toStd(QDir::toNativeSeparators(folder)));
  if (drive < 0) {
    // A folder on a drive or share the list does not know: the folder list
    // shows it from its own root, and folderOpened lists that drive.
    return folderList->setPath(folder, QString());
  }
  {
    const QSignalBlocker blocker(driveBox);
    driveBox->setCurrentIndex(drive);
  }
  return folderList->setPath(folder, fromStd(volumes_[drive].mountPoint));
}

bool TargetDialog::volumeAvailable(const Volumes::Volume& volume) const {
  if (!isEnterableFolder(fromStd(volume.mountPoint))) return false;
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
    const QSignalBlocker blocker(nameEdit);
    nameEdit->setText(fromStd(record_.baseName));
  }
  nameChanged();
  overwriteBox->setChecked(record_.overwriteAll == 1);
}

void TargetDialog::folderChanged() {
  folderOpened();
}

void TargetDialog::folderOpened() {
  // The volume that holds the folder is always listed and shown, even one the
  // list leaves out (a tmpfs, /proc below "/"): it is the drive Save takes.
  const std::string folder = toStd(folderList->path());
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
    const QSignalBlocker blocker(driveBox);
    driveBox->insertItem(index, fromStd(Volumes::displayName(*at)));
  }
  if (index >= 0) {
    const QSignalBlocker blocker(driveBox);
    driveBox->setCurrentIndex(index);
  }
  showFolder(folderList->path());
}

void TargetDialog::driveChanged() {
  if (restoringDrive_) return;
  const QString remembered = folderList->path();
  const int drive = driveBox->currentIndex();
  if (drive < 0 || drive >= static_cast<int>(volumes_.size())) return;
  const Volumes::Volume& volume = volumes_[drive];
  const QString root = fromStd(volume.mountPoint);
  if (!volumeAvailable(volume) || !folderList->setPath(root, root)) {
    asker_.ask(Message{"Drive " + toStd(driveBox->itemText(drive)) + " not available.", Icon::Exclamation,
                       Buttons::Ok, 0});
    restoringDrive_ = true;
    openFolder(remembered);
    restoringDrive_ = false;
  }
  folderOpened();
}

void TargetDialog::showFolder(const QString& text) {
  folderLabel->setText(text);
  fitFolderLabel();
}

void TargetDialog::fitFolderLabel() {
  // While the folder is wider than the folder list, drop the first folder name
  // after the first "/" together with one "/", and mark the gap with "...".
  const QChar separator = QLatin1Char(Filenames::kSeparator);
  const QFontMetrics metrics(folderLabel->font());
  const int limit = folderList->width();
  QString text = folderLabel->text();
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
  folderLabel->setToolTip(text != folderLabel->text() ? folderLabel->text() : QString());
  if (text != folderLabel->text()) folderLabel->setText(text);
  folderLabel->adjustSize();
  // Never wider than the dialog leaves room for.
  folderLabel->resize(std::min(folderLabel->width(), width() - folderLabel->x()), folderLabel->height());
}

void TargetDialog::nameChanged() {
  std::string text = toStd(nameEdit->text());
  const int caret = nameEdit->cursorPosition();
  if (Filenames::removeInvalidChars(text) > 0) {
    asker_.beep();
    const QString cleaned = fromStd(text);
    {
      const QSignalBlocker blocker(nameEdit);
      nameEdit->setText(cleaned);
    }
    nameEdit->setCursorPosition(std::clamp(caret - 1, 0, static_cast<int>(cleaned.size())));
  }
  preview_->setName(toStd(nameEdit->text()));
}

void TargetDialog::Command1_Click() {
  const std::string folder = toStd(folderList->path());
  record_.drive = Filenames::getFolderDrive(folder);
  std::string path = folder;
  while (path.size() > 1 && path.back() == Filenames::kSeparator) path.pop_back();
  record_.folder = path;

  const std::string name = toStd(nameEdit->text());
  const std::string title = Filenames::getTitle(name);
  if (title.empty()) {
    asker_.ask(Message{"Type a filename in the 'Filename' field.", Icon::Exclamation, Buttons::Ok, 0});
    nameEdit->setFocus();
    return;
  }
  record_.baseName = title;
  if (const std::string ext = Filenames::getExtension(name); !ext.empty()) record_.extension = ext;
  record_.overwriteAll = overwriteBox->isChecked() ? 1 : 0;
  accept();
}

void TargetDialog::Command2_Click() {
  record_.baseName.clear();
  QDialog::reject();
}

void TargetDialog::reject() {
  Command2_Click();
}

}  // namespace vornak
