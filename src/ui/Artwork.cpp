// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Artwork.h"

#include <QPixmap>

// Q_INIT_RESOURCE declares a function in the global namespace, so it cannot be
// used inside namespace vornak.
static void initVornakResources() {
  Q_INIT_RESOURCE(vornak);
}

namespace vornak {

void initResources() {
  static const bool done = [] {
    initVornakResources();
    return true;
  }();
  (void)done;
}

QIcon appIcon() {
  initResources();
  QIcon icon;
  for (const int size : {16, 32, 48, 256})
    icon.addFile(QStringLiteral(":/icons/vornak-%1.png").arg(size), QSize(size, size));
  return icon;
}

namespace {
QCursor cursorFrom(const char* path, int hotX, int hotY, Qt::CursorShape fallback) {
  initResources();
  const QPixmap pixmap(QString::fromLatin1(path));
  if (pixmap.isNull()) return QCursor(fallback);
  return QCursor(pixmap, hotX, hotY);
}
}  // namespace

QCursor splitCursor() {
  return cursorFrom(":/cursors/split.png", 17, 15, Qt::SplitHCursor);
}

QCursor handCursor() {
  return cursorFrom(":/cursors/hand.png", 12, 5, Qt::PointingHandCursor);
}

}  // namespace vornak
