// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/InputBlocker.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace vornak {

InputBlocker::InputBlocker(QWidget* window) : window_(window) {
  qApp->installEventFilter(this);
}

InputBlocker::~InputBlocker() {
  qApp->removeEventFilter(this);
}

bool InputBlocker::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
      auto* widget = qobject_cast<QWidget*>(watched);
      return widget != nullptr && widget->window() == window_;
    }
    default:
      return false;
  }
}

}  // namespace vornak
