// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The control of a window by its object name, as the tests drive them.
#include <QObject>
#include <memory>

namespace vornak {

template <typename T = QWidget>
T* find(const QObject* window, const char* name) {
  return window->findChild<T*>(name);
}
template <typename T = QWidget, typename Window>
T* find(const std::unique_ptr<Window>& window, const char* name) {
  return window->template findChild<T*>(name);
}

}  // namespace vornak
