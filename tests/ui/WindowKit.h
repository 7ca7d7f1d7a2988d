// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the window tests share: controls by object name, file contents, an
// action on the next modal window (a message box's exec() blocks the caller).
#include <QtTest>
#include <QtWidgets>
#include <fstream>
#include <functional>

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

// ctest runs some window tests under a headless Weston, where every window is
// asked to take the maximized size: the program must keep running.
inline void maximizeOnWayland(QWidget* window) {
  if (!QGuiApplication::platformName().startsWith("wayland")) return;
  window->setWindowState(Qt::WindowMaximized);
  QTest::qWait(300);  // the compositor's answer arrives
}

}  // namespace vornak::test
