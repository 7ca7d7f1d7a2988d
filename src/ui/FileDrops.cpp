// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FileDrops.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace vornak {

namespace {

// The local file paths of a drag, or an empty list when it carries no list of
// files (text, web links).
QStringList droppedFiles(const QMimeData* data) {
  QStringList paths;
  if (data == nullptr || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) return QStringList();
    paths << url.toLocalFile();
  }
  return paths;
}

void refuse(QDropEvent* event) {
  event->setDropAction(Qt::IgnoreAction);
  event->ignore();
}

}  // namespace

FileDrops::FileDrops(QWidget* window, QList<QWidget*> targets, std::function<void(const QString&)> dropped)
    : QObject(window), window_(window), targets_(std::move(targets)), dropped_(std::move(dropped)) {
  window->setAcceptDrops(true);
  window->installEventFilter(this);
  // Every control takes part, so that the refusing ones refuse instead of
  // passing the drag on to the background.
  for (QWidget* control : window->findChildren<QWidget*>()) {
    control->setAcceptDrops(true);
    control->installEventFilter(this);
  }
}

bool FileDrops::takesDropsAt(QObject* watched, const QPointF& position) const {
  if (watched != window_) return targets_.contains(watched);
  const QWidget* under = window_->childAt(position.toPoint());
  return under == nullptr || targets_.contains(under);
}

bool FileDrops::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
      break;
    case QEvent::DragLeave:
      return true;
    default:
      return false;
  }
  auto* drop = static_cast<QDropEvent*>(event);
  const QStringList files = droppedFiles(drop->mimeData());
  if (!takesDropsAt(watched, drop->position()) || files.isEmpty()) {
    refuse(drop);
  } else if (event->type() != QEvent::Drop) {
    if (drop->possibleActions() & Qt::CopyAction) {
      drop->setDropAction(Qt::CopyAction);
      drop->accept();
    } else {
      refuse(drop);
    }
  } else {
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    dropped_(files.first());
  }
  return true;
}

}  // namespace vornak
