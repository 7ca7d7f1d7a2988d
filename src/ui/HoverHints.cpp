// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/HoverHints.h"

#include <QEvent>
#include <QWidget>

namespace vornak {

HoverHints::HoverHints(QWidget* window, std::function<void(const QString&)> showTip,
                       std::function<void()> showBackground)
    : QObject(window),
      window_(window),
      showTip_(std::move(showTip)),
      showBackground_(std::move(showBackground)) {
  window->setMouseTracking(true);
  window->installEventFilter(this);
  for (QWidget* control : window->findChildren<QWidget*>()) {
    control->setMouseTracking(true);
    // A move over a control without a hint keeps the text: it must not reach
    // the background.
    control->setAttribute(Qt::WA_NoMousePropagation, true);
    control->installEventFilter(this);
  }
}

bool HoverHints::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (watched == window_) {
    if (type == QEvent::MouseMove) showBackground_();
    return false;
  }
  if (type != QEvent::Enter && type != QEvent::MouseMove) return false;
  auto* control = qobject_cast<QWidget*>(watched);
  if (control == nullptr) return false;
  if (!control->isEnabled() && window_->isEnabled()) {
    // A disabled control takes no mouse input: the background gets it.
    showBackground_();
    return true;
  }
  if (!control->statusTip().isEmpty()) showTip_(control->statusTip());
  return false;
}

}  // namespace vornak
