// Test main for folders with windows: a QApplication on the offscreen platform
// (unless the caller chose another), with the configuration and data folders
// moved into a throw-away folder so that no test touches the user's settings.
#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QTemporaryDir home;
  if (!home.isValid()) return 2;
  const QByteArray base = home.path().toLocal8Bit();
  setenv("XDG_CONFIG_HOME", (base + "/config").constData(), 1);
  setenv("XDG_DATA_HOME", (base + "/data").constData(), 1);
  setenv("XDG_CACHE_HOME", (base + "/cache").constData(), 1);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
