// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the window tests share: controls by object name, file contents, and an
// action on the next modal window (a message box's exec() blocks the caller).
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <fstream>
#include <functional>
#include <string>

#include "support/TempDir.h"

namespace vornak::test {

template <typename T = QWidget>
T* find(const QObject* window, const char* name) {
  return window->findChild<T*>(name);
}
inline QString q(const std::string& text) {
  return QString::fromStdString(text);
}

inline std::string readAll(const std::string& path) {
  std::ifstream in(native(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

template <typename T = QWidget>
void onModal(std::function<void(T*)> act) {
  QTimer::singleShot(0, [act] { act(qobject_cast<T*>(QApplication::activeModalWidget())); });
}

}  // namespace vornak::test
