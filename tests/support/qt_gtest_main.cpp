// SPDX-License-Identifier: GPL-3.0-or-later
// Test main for folders with windows: a QApplication on the offscreen platform
// (on Windows its own platform, as Wine hangs on offscreen) unless the caller
// chose another, with the configuration and data folders in a throw-away
// folder so that no test touches the user's settings. Listing the tests needs
// no QApplication and so no display.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
#ifndef _WIN32
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
  QTemporaryDir home;
  if (!home.isValid()) return 2;
  for (const char* kind : {"CONFIG", "DATA", "CACHE"})
    qputenv(QByteArray("XDG_") + kind + "_HOME",
            home.path().toLocal8Bit() + "/" + QByteArray(kind).toLower());
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
