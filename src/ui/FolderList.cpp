// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FolderList.h"

#include <QApplication>
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

#ifdef _WIN32
constexpr Qt::CaseSensitivity kCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity kCase = Qt::CaseSensitive;
#endif

// Folders are kept in Qt's form, with "/" between names. A root keeps its
// trailing "/" ("/", "C:/", "//server/share/"); no other folder has one.
bool isDriveRoot(const QString& path) {
#ifdef _WIN32
  // "C:" on its own stands for the root of drive C.
  if (path.size() == 2 && path.at(1) == QLatin1Char(':') && path.at(0).isLetter()) return true;
  // A network share: "//server/share" and nothing below it.
  if (path.startsWith(QLatin1String("//")))
    return path.mid(2).split(QLatin1Char('/'), Qt::SkipEmptyParts).size() == 2 && !path.endsWith('/');
#else
  Q_UNUSED(path);
#endif
  return false;
}

QString cleanPath(const QString& folder) {
  const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(folder));
  return isDriveRoot(clean) ? clean + QLatin1Char('/') : clean;
}

// The root of the file system, drive or share that holds an absolute folder.
QString rootOf(const QString& path) {
#ifdef _WIN32
  if (path.size() >= 3 && path.at(1) == QLatin1Char(':')) return path.left(3);
  if (path.startsWith(QLatin1String("//"))) {
    const QStringList names = path.mid(2).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (names.size() >= 2) return "//" + names[0] + '/' + names[1] + '/';
  }
#else
  Q_UNUSED(path);
#endif
  return QStringLiteral("/");
}

bool isInside(const QString& path, const QString& folder) {
  if (folder.endsWith(QLatin1Char('/'))) return path.startsWith(folder, kCase);
  return path.compare(folder, kCase) == 0 ||
         (path.startsWith(folder, kCase) && path.at(folder.size()) == QLatin1Char('/'));
}

QString join(const QString& folder, const QString& name) {
  return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

bool canEnter(const QString& folder) {
  const QFileInfo info(folder);
  return info.isDir() && info.isExecutable();
}

}  // namespace

FolderList::FolderList(QWidget* parent) : QTreeWidget(parent) {
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
  connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { open(item); });
}

bool FolderList::setPath(const QString& folder, const QString& root) {
  if (folder.isEmpty() || !QDir::isAbsolutePath(QDir::fromNativeSeparators(folder))) return false;
  const QString clean = cleanPath(folder);
  if (!canEnter(clean)) return false;
  QString top = root.isEmpty() ? rootOf(clean) : cleanPath(root);
  if (!isInside(clean, top)) top = rootOf(clean);
  const bool moved = clean.compare(path_, kCase) != 0;
  path_ = clean;
  root_ = top;
  fill();
  if (moved) emit pathChanged();
  return true;
}

QString FolderList::path() const {
  return QDir::toNativeSeparators(path_);
}

QString FolderList::rowPath(const QTreeWidgetItem* item) const {
  return item ? QDir::toNativeSeparators(item->data(0, kPathRole).toString()) : QString();
}

QTreeWidgetItem* FolderList::findRow(const QString& folder) const {
  const QString clean = cleanPath(folder);
  for (QTreeWidgetItemIterator it(const_cast<FolderList*>(this)); *it; ++it)
    if ((*it)->data(0, kPathRole).toString().compare(clean, kCase) == 0) return *it;
  return nullptr;
}

bool FolderList::open(QTreeWidgetItem* item) {
  const QString folder = rowPath(item);
  if (folder.isEmpty()) return false;
  if (setPath(folder, root_)) return true;
  // The folder went away or may not be entered: show what is there now.
  fill();
  return false;
}

void FolderList::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
    // Enter opens the highlighted folder here; it must not reach the dialog's
    // default button.
    open(currentItem());
    event->accept();
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

void FolderList::fill() {
  clear();
  const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);

  auto* rootItem = new QTreeWidgetItem(this, QStringList(QDir::toNativeSeparators(root_)));
  rootItem->setData(0, kPathRole, root_);
  rootItem->setIcon(0, open);
  QTreeWidgetItem* current = rootItem;
  QString walked = root_;
  const QString rest = path_.mid(root_.size());
  for (const QString& name : rest.split('/', Qt::SkipEmptyParts)) {
    walked = join(walked, name);
    auto* item = new QTreeWidgetItem(current, QStringList(name));
    item->setData(0, kPathRole, walked);
    item->setIcon(0, open);
    current = item;
  }
  const QDir dir(path_);
  for (const QString& name :
       dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware)) {
    auto* item = new QTreeWidgetItem(current, QStringList(name));
    item->setData(0, kPathRole, join(path_, name));
    item->setIcon(0, closed);
  }
  expandAll();
  setCurrentItem(current);
  scrollToItem(current, QAbstractItemView::PositionAtCenter);
  horizontalScrollBar()->setValue(0);
}

void FolderList::drawBranches(QPainter*, const QRect&, const QModelIndex&) const {
  // Every shown folder is open already: no expand and collapse marks, only the indent.
}

// The current folder's row is in the full highlight only while the list has
// the focus; without it the row stays marked in a paler one (half highlight,
// half background), so that the focus can be seen wherever it is.
void FolderList::showFocus() {
  QPalette colours = QApplication::palette(this);
  if (!hasFocus()) {
    const QColor full = colours.color(QPalette::Highlight), base = colours.color(QPalette::Base);
    colours.setColor(QPalette::Highlight,
                     QColor((full.red() + base.red()) / 2, (full.green() + base.green()) / 2,
                            (full.blue() + base.blue()) / 2));
    colours.setColor(QPalette::HighlightedText, colours.color(QPalette::Text));
  }
  setPalette(colours);
}

void FolderList::focusInEvent(QFocusEvent* event) {
  QTreeWidget::focusInEvent(event);
  showFocus();
}

void FolderList::focusOutEvent(QFocusEvent* event) {
  QTreeWidget::focusOutEvent(event);
  showFocus();
}

void FolderList::showEvent(QShowEvent* event) {
  QTreeWidget::showEvent(event);
  showFocus();
  // Only a shown list knows its rows' places: bring the current folder into view.
  if (QTreeWidgetItem* current = findRow(path_)) scrollToItem(current, QAbstractItemView::PositionAtCenter);
  horizontalScrollBar()->setValue(0);
}

}  // namespace vornak
