// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Save dialog's folder list: the chain of folders from the volume's root
// down to the current folder, each one indented below its parent, followed by
// the current folder's sub-folders. A double-click or Enter on a row opens that
// folder and makes it current; moving the highlight alone changes nothing.
#include <QString>
#include <QTreeWidget>

namespace vornak {

class DirList : public QTreeWidget {
  Q_OBJECT
 public:
  explicit DirList(QWidget* parent = nullptr);

  // Makes folder current and shows it below root (the file system root when
  // folder does not lie inside root). Returns false, and changes nothing, when
  // folder is not a folder that can be entered.
  bool SetPath(const QString& folder, const QString& root);
  // The current folder: absolute, without a trailing "/" except for "/" itself.
  QString Path() const { return path_; }
  QString Root() const { return root_; }
  // The folder a row stands for, and the row of a folder (-1 when not shown).
  QString RowPath(const QTreeWidgetItem* item) const;
  QTreeWidgetItem* FindRow(const QString& folder) const;
  // Opens the folder of a row, as a double-click does.
  bool Open(QTreeWidgetItem* item);

 signals:
  // The current folder has changed.
  void Change();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;

 private:
  void Fill();
  QString root_;
  QString path_;
};

}  // namespace vornak
