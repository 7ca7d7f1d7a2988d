// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Hints that follow the pointer: over a control, its status tip; over the
// window's background, and over a disabled control (which takes no mouse
// input), the window's own text. Controls without a status tip leave the text
// as it is. One event filter serves the window and every control in it.
#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace vornak {

class HoverHints : public QObject {
 public:
  // Watches window and the controls it holds now.
  HoverHints(QWidget* window, std::function<void(const QString&)> showTip,
             std::function<void()> showBackground);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* window_;
  std::function<void(const QString&)> showTip_;
  std::function<void()> showBackground_;
};

}  // namespace vornak
