// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>

#include "Version.h"
#include "settings/Settings.h"
#include "ui/Artwork.h"
#include "ui/MainWindow.h"
#include "ui/MessageBoxAsker.h"
#include "ui/TerminationSignals.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QCoreApplication::setOrganizationName(QString::fromLatin1(vornak::Settings::kOrganization));
  QCoreApplication::setApplicationName(QString::fromUtf8(vornak::kApplicationTitle));
  // Lets the desktop match the window to the installed vornak.desktop entry.
  QGuiApplication::setDesktopFileName(QStringLiteral("vornak"));
  vornak::initResources();
  QApplication::setWindowIcon(vornak::appIcon());
  vornak::MessageBoxAsker asker;
  vornak::MainWindow window(asker);
  asker.setParent(&window);
  vornak::TerminationSignals termination;
  QObject::connect(&termination, &vornak::TerminationSignals::received, &window,
                   &vornak::MainWindow::endProgram);
  window.show();
  return app.exec();
}
