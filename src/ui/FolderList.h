// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Save dialog's folder list: the chain of folders from the volume's root
// down to the current folder, each one indented below its parent, followed by
// the current folder's sub-folders. A double-click or Enter on a row opens that
// folder and makes it current; moving the highlight alone changes nothing.
#include <QString>
#include <QTreeWidget>

namespace vornak {

class FolderList : public QTreeWidget {
  Q_OBJECT
 public:
  explicit FolderList(QWidget* parent = nullptr);

  // Makes folder current and shows it below root (the root of folder's file
  // system, drive or share when folder does not lie inside root). Both take
  // either separator; "C:" stands for the root of drive C. Returns false, and
  // changes nothing, when folder is not a folder that can be entered.
  bool setPath(const QString& folder, const QString& root);
  // The current folder, absolute and with the platform's separators: a root
  // ends in its separator ("/", "C:\"), no other folder does.
  QString path() const;
  // The folder a row stands for, and the row of a folder (null when not shown).
  QString rowPath(const QTreeWidgetItem* item) const;
  QTreeWidgetItem* findRow(const QString& folder) const;
  // Opens the folder of a row, as a double-click does.
  bool open(QTreeWidgetItem* item);

 signals:
  // The current folder has changed.
  void pathChanged();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;

 private:
  void fill();
  void showFocus();
  QString root_;
  QString path_;
};

}  // namespace vornak
