// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Window geometry given in twips (1/1440 inch; 15 twips are one pixel at 96
// DPI), converted with the screen's logical DPI and scaled by one factor taken
// from the font's metrics, so that relative placement holds and text written
// in the desktop's font is not clipped. Every window places its controls
// through this one helper.
#include <QFont>
#include <QRect>
#include <QSize>

class QWidget;

namespace vornak {

class WindowGeometry {
 public:
  // factor <= 0: derive it from the application's font.
  explicit WindowGeometry(const QFont& font, double factor = 0);
  double factor() const { return factor_; }
  int px(int twips) const;
  QRect rect(int left, int top, int width, int height) const;
  QSize size(int width, int height) const;
  QPoint point(int x, int y) const;

  // The font-derived factor alone: how much larger the font's metrics (line
  // height, average width and the width of typical captions, compared at
  // 96 DPI) are than those of the 8.25 pt dialog font the layouts were drawn
  // for, and, once a QApplication exists, how much taller the style wants a
  // text box, button, drop-down box and check box in this font than the
  // layouts make them; never below 1.
  static double fontFactor(const QFont& font);

  // Gives a window the size it keeps. A Wayland compositor may still ask the
  // window to take the maximized size, and a window that then keeps a fixed
  // size loses its connection and the program ends: there the window gets a
  // minimum size and no maximize button instead.
  static void keepSize(QWidget* window, const QSize& size);
  static bool onWayland();

 private:
  double factor_ = 1;
  double pixelsPerTwip_ = 1.0 / 15.0;
};

}  // namespace vornak
