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

class DirList;
class PreviewModel;

class Save : public QDialog {
  Q_OBJECT
 public:
  using VolumeSource = std::function<std::vector<Volumes::Volume>()>;

  // volumes lists the drives; the mount table of this process when empty.
  Save(TargetRecord& record, Asker& asker, QWidget* parent = nullptr, VolumeSource volumes = {});
  ~Save() override;

  // Shows the dialog modally over owner; the questions go through asker, or
  // through message boxes over the dialog when asker is null. Returns whether
  // the user confirmed (baseName not empty).
  static bool showModal(TargetRecord& record, QWidget* owner, Asker* asker = nullptr);

  // Controls, by their names.
  QLabel* Label2 = nullptr;
  QLineEdit* edActName = nullptr;
  QListView* List1 = nullptr;
  QCheckBox* chkOverwrite = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* lblActFolder = nullptr;
  DirList* Dir1 = nullptr;
  QLabel* Label3 = nullptr;
  QComboBox* Drive1 = nullptr;
  QPushButton* Command1 = nullptr;
  QPushButton* Command2 = nullptr;

  // The preview's rows.
  PreviewModel* preview() const { return preview_; }
  // The drives in Drive1's order.
  const std::vector<Volumes::Volume>& drives() const { return volumes_; }

  // Sets lblActFolder's text and runs its change handling.
  void setActFolder(const QString& text);

 public slots:
  void Form_Load();
  void Dir1_Change();
  void Drive1_Change();
  void lblActFolder_Change();
  void edActName_Change();
  void Command1_Click();
  void Command2_Click();

 protected:
  // Escape and the close box cancel.
  void reject() override;

 private:
  void buildControls();
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
};

}  // namespace vornak
