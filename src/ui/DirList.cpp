// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DirList.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyle>

namespace vornak {

namespace {

constexpr int kPathRole = Qt::UserRole + 1;

bool IsInside(const QString& path, const QString& folder) {
  if (folder == "/") return path.startsWith('/');
  return path == folder || (path.startsWith(folder) && path.at(folder.size()) == '/');
}

bool CanEnter(const QString& folder) {
  const QFileInfo info(folder);
  return info.isDir() && info.isExecutable();
}

}  // namespace

DirList::DirList(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setColumnCount(1);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setExpandsOnDoubleClick(false);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setIndentation(fontMetrics().horizontalAdvance(QLatin1Char('M')));
  header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  header()->setStretchLastSection(false);
  connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { Open(item); });
}

bool DirList::SetPath(const QString& folder, const QString& root) {
  if (folder.isEmpty() || !QDir::isAbsolutePath(folder)) return false;
  const QString clean = QDir::cleanPath(folder);
  if (!CanEnter(clean)) return false;
  QString top = root.isEmpty() ? QStringLiteral("/") : QDir::cleanPath(root);
  if (!IsInside(clean, top)) top = QStringLiteral("/");
  const bool changed = clean != path_;
  path_ = clean;
  root_ = top;
  Fill();
  if (changed) emit Change();
  return true;
}

QString DirList::RowPath(const QTreeWidgetItem* item) const {
  return item ? item->data(0, kPathRole).toString() : QString();
}

QTreeWidgetItem* DirList::FindRow(const QString& folder) const {
  for (QTreeWidgetItemIterator it(const_cast<DirList*>(this)); *it; ++it)
    if (RowPath(*it) == folder) return *it;
  return nullptr;
}

bool DirList::Open(QTreeWidgetItem* item) {
  const QString folder = RowPath(item);
  if (folder.isEmpty()) return false;
  if (SetPath(folder, root_)) return true;
  // The folder went away or may not be entered: show what is there now.
  Fill();
  return false;
}

void DirList::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
    // Enter opens the highlighted folder here; it must not reach the dialog's
    // default button.
    Open(currentItem());
    event->accept();
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

void DirList::Fill() {
  clear();
  const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);

  auto* rootItem = new QTreeWidgetItem(this, QStringList(root_));
  rootItem->setData(0, kPathRole, root_);
  rootItem->setIcon(0, open);
  QTreeWidgetItem* current = rootItem;
  QString walked = root_;
  const QString rest = path_.mid(root_ == "/" ? 1 : root_.size() + 1);
  for (const QString& name : rest.split('/', Qt::SkipEmptyParts)) {
    walked = walked == "/" ? "/" + name : walked + "/" + name;
    auto* item = new QTreeWidgetItem(current, QStringList(name));
    item->setData(0, kPathRole, walked);
    item->setIcon(0, open);
    current = item;
  }
  const QDir dir(path_);
  for (const QString& name :
       dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware)) {
    auto* item = new QTreeWidgetItem(current, QStringList(name));
    item->setData(0, kPathRole, path_ == "/" ? "/" + name : path_ + "/" + name);
    item->setIcon(0, closed);
  }
  expandAll();
  setCurrentItem(current);
  scrollToItem(current, QAbstractItemView::PositionAtCenter);
  horizontalScrollBar()->setValue(0);
}

void DirList::drawBranches(QPainter*, const QRect&, const QModelIndex&) const {
  // Every shown folder is open already: no expand and collapse marks, only the indent.
}

void DirList::showEvent(QShowEvent* event) {
  QTreeWidget::showEvent(event);
  // Only a shown list knows its rows' places: bring the current folder into view.
  if (QTreeWidgetItem* current = FindRow(path_)) scrollToItem(current, QAbstractItemView::PositionAtCenter);
  horizontalScrollBar()->setValue(0);
}

}  // namespace vornak
