// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// While it lives, keys, mouse buttons, the wheel and drops meant for one
// window's own controls are dropped; the program's other windows (dialogs,
// progress, messages) still take them. The main window holds one while a
// split runs, so that a second click or Enter cannot start another.
#include <QObject>

class QWidget;

namespace vornak {

class InputBlocker : public QObject {
 public:
  explicit InputBlocker(QWidget* window);
  ~InputBlocker() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* window_;
};

}  // namespace vornak
