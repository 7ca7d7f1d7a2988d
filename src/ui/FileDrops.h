// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Files dragged onto a window: the drop targets and the window's background
// take a drag of local files and hand on the first one; every other control
// refuses drags, also where a refused drag travels on to the background (the
// no-drop pointer, and no action for the drag's source).
#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class QPointF;
class QWidget;

namespace vornak {

class FileDrops : public QObject {
 public:
  FileDrops(QWidget* window, QList<QWidget*> targets, std::function<void(const QString&)> dropped);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool takesDropsAt(QObject* watched, const QPointF& position) const;

  QWidget* window_;
  QList<QWidget*> targets_;
  std::function<void(const QString&)> dropped_;
};

}  // namespace vornak
