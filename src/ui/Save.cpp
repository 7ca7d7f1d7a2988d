// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Save.h"

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
#include "ui/DirList.h"
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

Save::Save(TargetRecord& record, Asker& asker, QWidget* parent, VolumeSource volumes)
    : QDialog(parent), record_(record), asker_(asker), volumeSource_(std::move(volumes)) {
  if (!volumeSource_) volumeSource_ = [] { return Volumes::listVolumes(); };
  buildControls();
  Form_Load();
}

Save::~Save() = default;

bool Save::showModal(TargetRecord& record, QWidget* owner, Asker* asker) {
  MessageBoxAsker boxes;
  Save dialog(record, asker ? *asker : boxes, owner);
  boxes.setParent(&dialog);
  dialog.exec();
  return !record.baseName.empty();
}

void Save::buildControls() {
  setObjectName("Save");
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

  Label2 = label("Label2", "&Filename (without counter):", g.rect(120, 120, 2055, 195));

  edActName = new QLineEdit(this);
  edActName->setObjectName("edActName");
  edActName->setGeometry(g.rect(120, 360, 2055, 285));

  List1 = new QListView(this);
  List1->setObjectName("List1");
  List1->setGeometry(g.rect(120, 720, 2055, 1935));
  List1->setUniformItemSizes(true);
  List1->setSelectionMode(QAbstractItemView::NoSelection);
  List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  {
    // The grey of an inactive frame: the list shows names, it takes no choice.
    QPalette palette = List1->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Inactive, QPalette::Window));
    List1->setPalette(palette);
  }
  preview_ = new PreviewModel(record_, this);
  List1->setModel(preview_);

  chkOverwrite = new QCheckBox("&overwrite existing files", this);
  chkOverwrite->setObjectName("chkOverwrite");
  chkOverwrite->setGeometry(g.rect(120, 2760, 2175, 255));

  Label1 = label("Label1", "Fol&der:", g.rect(2400, 120, 2655, 195));
  lblActFolder = label("lblActFolder", "Specify a folder", g.rect(2400, 405, 2655, 195));
  lblActFolder->setTextFormat(Qt::PlainText);

  Dir1 = new DirList(this);
  Dir1->setObjectName("Dir1");
  Dir1->setGeometry(g.rect(2400, 720, 2655, 1665));
  Dir1->setToolTip("Double-click to specify the target folder");

  Label3 = label("Label3", "D&rive:", g.rect(2400, 2520, 2655, 195));

  Drive1 = new QComboBox(this);
  Drive1->setObjectName("Drive1");
  Drive1->setGeometry(g.rect(2400, 2760, 2655, 315));

  Command1 = new QPushButton("&Save", this);
  Command1->setObjectName("Command1");
  Command1->setGeometry(g.rect(5280, 120, 1170, 345));
  Command1->setDefault(true);

  Command2 = new QPushButton("&Cancel", this);
  Command2->setObjectName("Command2");
  Command2->setGeometry(g.rect(5280, 600, 1170, 345));

  Label2->setBuddy(edActName);
  Label1->setBuddy(Dir1);
  Label3->setBuddy(Drive1);
  QWidget::setTabOrder(edActName, List1);
  QWidget::setTabOrder(List1, chkOverwrite);
  QWidget::setTabOrder(chkOverwrite, Dir1);
  QWidget::setTabOrder(Dir1, Drive1);
  QWidget::setTabOrder(Drive1, Command1);
  QWidget::setTabOrder(Command1, Command2);
  // A folder label too long to shorten must not cover the buttons.
  Command1->raise();
  Command2->raise();

  volumes_ = volumeSource_();
#ifndef _WIN32
  // Every absolute folder must lie on some listed drive.
  if (Volumes::findVolume(volumes_, "/") < 0)
    volumes_.insert(volumes_.begin(), Volumes::Volume{"/", "", "", ""});
#endif
  for (const auto& volume : volumes_) Drive1->addItem(fromStd(Volumes::displayName(volume)));

  connect(edActName, &QLineEdit::textChanged, this, &Save::edActName_Change);
  connect(Dir1, &DirList::Change, this, &Save::Dir1_Change);
  connect(Drive1, &QComboBox::currentIndexChanged, this, &Save::Drive1_Change);
  connect(Command1, &QPushButton::clicked, this, &Save::Command1_Click);
  connect(Command2, &QPushButton::clicked, this, &Save::Command2_Click);
  edActName->setFocus();
}

bool Save::openFolder(const QString& folder) {
  const int drive = Volumes::findVolume(volumes_, toStd(QDir::toNativeSeparators(folder)));
  if (drive < 0) {
    // A folder on a drive or share the list does not know: the folder list
    // shows it from its own root, and folderOpened lists that drive.
    return Dir1->setPath(folder, QString());
  }
  {
    const QSignalBlocker blocker(Drive1);
    Drive1->setCurrentIndex(drive);
  }
  return Dir1->setPath(folder, fromStd(volumes_[drive].mountPoint));
}

bool Save::volumeAvailable(const Volumes::Volume& volume) const {
  if (!isEnterableFolder(fromStd(volume.mountPoint))) return false;
  if (volume.mountPoint == "/") return true;
  // Still mounted? A medium that was taken out leaves at most an empty folder.
  const auto now = volumeSource_();
  return std::any_of(now.begin(), now.end(),
                     [&](const Volumes::Volume& v) { return v.mountPoint == volume.mountPoint; });
}

void Save::Form_Load() {
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
    const QSignalBlocker blocker(edActName);
    edActName->setText(fromStd(record_.baseName));
  }
  edActName_Change();
  chkOverwrite->setChecked(record_.overwriteAll == 1);
}

void Save::Dir1_Change() {
  folderOpened();
}

void Save::folderOpened() {
  // The volume that holds the folder is always listed and shown, even one the
  // list leaves out (a tmpfs, /proc below "/"): it is the drive Save takes.
  const std::string folder = toStd(Dir1->path());
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
    const QSignalBlocker blocker(Drive1);
    Drive1->insertItem(index, fromStd(Volumes::displayName(*at)));
  }
  if (index >= 0) {
    const QSignalBlocker blocker(Drive1);
    Drive1->setCurrentIndex(index);
  }
  setActFolder(Dir1->path());
}

void Save::Drive1_Change() {
  if (restoringDrive_) return;
  const QString remembered = Dir1->path();
  const int drive = Drive1->currentIndex();
  if (drive < 0 || drive >= static_cast<int>(volumes_.size())) return;
  const Volumes::Volume& volume = volumes_[drive];
  const QString root = fromStd(volume.mountPoint);
  if (!volumeAvailable(volume) || !Dir1->setPath(root, root)) {
    asker_.ask(Message{"Drive " + toStd(Drive1->itemText(drive)) + " not available.", Icon::Exclamation,
                       Buttons::Ok, 0});
    restoringDrive_ = true;
    openFolder(remembered);
    restoringDrive_ = false;
  }
  folderOpened();
}

void Save::setActFolder(const QString& text) {
  lblActFolder->setText(text);
  lblActFolder_Change();
}

void Save::lblActFolder_Change() {
  // While the folder is wider than the folder list, drop the first folder name
  // after the first "/" together with one "/", and mark the gap with "...".
  const QChar separator = QLatin1Char(Filenames::kSeparator);
  const QFontMetrics metrics(lblActFolder->font());
  const int limit = Dir1->width();
  QString text = lblActFolder->text();
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
  lblActFolder->setToolTip(text != lblActFolder->text() ? lblActFolder->text() : QString());
  if (text != lblActFolder->text()) lblActFolder->setText(text);
  lblActFolder->adjustSize();
  // Never wider than the dialog leaves room for.
  lblActFolder->resize(std::min(lblActFolder->width(), width() - lblActFolder->x()), lblActFolder->height());
}

void Save::edActName_Change() {
  std::string text = toStd(edActName->text());
  const int caret = edActName->cursorPosition();
  if (Filenames::removeInvalidChars(text) > 0) {
    asker_.beep();
    const QString cleaned = fromStd(text);
    {
      const QSignalBlocker blocker(edActName);
      edActName->setText(cleaned);
    }
    edActName->setCursorPosition(std::clamp(caret - 1, 0, static_cast<int>(cleaned.size())));
  }
  preview_->setName(toStd(edActName->text()));
}

void Save::Command1_Click() {
  const std::string folder = toStd(Dir1->path());
  record_.drive = Filenames::getFolderDrive(folder);
  std::string path = folder;
  while (path.size() > 1 && path.back() == Filenames::kSeparator) path.pop_back();
  record_.folder = path;

  const std::string name = toStd(edActName->text());
  const std::string title = Filenames::getTitle(name);
  if (title.empty()) {
    asker_.ask(Message{"Type a filename in the 'Filename' field.", Icon::Exclamation, Buttons::Ok, 0});
    edActName->setFocus();
    return;
  }
  record_.baseName = title;
  if (const std::string ext = Filenames::getExtension(name); !ext.empty()) record_.extension = ext;
  record_.overwriteAll = chkOverwrite->isChecked() ? 1 : 0;
  accept();
}

void Save::Command2_Click() {
  record_.baseName.clear();
  QDialog::reject();
}

void Save::reject() {
  Command2_Click();
}

}  // namespace vornak
