// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Save As" dialog of a split: drive, folder, base name of the parts and
// overwrite mode. It starts from the target record and writes the user's
// choice back into it; an empty baseName afterwards means "cancelled".
#include <QDialog>
#include <functional>
#include <vector>

#include "destination/TargetRecord.h"
#include "fileservices/Question.h"
#include "fileservices/Volumes.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace vornak {

class FolderList;
class PreviewModel;

class TargetDialog : public QDialog {
  Q_OBJECT
 public:
  using VolumeSource = std::function<std::vector<Volumes::Volume>()>;

  // volumes lists the drives; the mount table of this process when empty.
  TargetDialog(TargetRecord& record, Asker& asker, QWidget* parent = nullptr, VolumeSource volumes = {});
  ~TargetDialog() override;

  // Shows the dialog modally over owner; the questions go through asker, or
  // through message boxes over the dialog when asker is null. Returns whether
  // the user confirmed (baseName not empty).
  static bool showModal(TargetRecord& record, QWidget* owner, Asker* asker = nullptr);

 protected:
  // Escape and the close box cancel.
  void reject() override;

 private slots:
  void folderChanged();
  void driveChanged();
  void nameChanged();
  // Save: takes the folder, the name and the overwrite mode into the record.
  void confirm();

 private:
  void buildControls();
  // Shows a folder in the label above the folder list, shortened to the
  // list's width.
  void showFolder(const QString& text);
  void load();
  void fitFolderLabel();
  bool openFolder(const QString& folder);
  // Lists and selects the drive of the folder now open, and shows the folder.
  void folderOpened();
  bool volumeAvailable(const Volumes::Volume& volume) const;

  TargetRecord& record_;
  Asker& asker_;
  VolumeSource volumeSource_;
  std::vector<Volumes::Volume> volumes_;
  PreviewModel* preview_ = nullptr;
  bool restoringDrive_ = false;

  QLabel* nameLabel_ = nullptr;
  QLineEdit* nameEdit_ = nullptr;
  QListView* previewList_ = nullptr;
  QCheckBox* overwriteBox_ = nullptr;
  QLabel* folderCaption_ = nullptr;
  QLabel* folderLabel_ = nullptr;
  FolderList* folderList_ = nullptr;
  QLabel* driveLabel_ = nullptr;
  QComboBox* driveBox_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
};

}  // namespace vornak
