#include "target/WindowGeometry.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace vornak {

namespace {
// Metrics of the 8.25 pt dialog font at 96 DPI that the twip layouts assume.
constexpr double kReferenceLineHeight = 13.0;
constexpr double kReferenceAverageWidth = 5.0;
}  // namespace

double WindowGeometry::FontFactor(const QFont& font) {
  const QFontMetricsF fm(font);
  const double byHeight = fm.height() / kReferenceLineHeight;
  const double byWidth = fm.averageCharWidth() / kReferenceAverageWidth;
  return std::max(1.0, std::max(byHeight, byWidth));
}

WindowGeometry::WindowGeometry(const QFont& font, double factor) {
  factor_ = factor > 0 ? factor : FontFactor(font);
  double dpi = 96.0;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) dpi = screen->logicalDotsPerInch();
  if (!(dpi > 0)) dpi = 96.0;
  pixelsPerTwip_ = dpi / 1440.0;
}

int WindowGeometry::px(int twips) const { return static_cast<int>(std::lround(twips * pixelsPerTwip_ * factor_)); }

QRect WindowGeometry::rect(int left, int top, int width, int height) const {
  const int l = px(left), t = px(top);
  // Right and bottom edges are converted on their own so that controls that
  // meet in twips still meet in pixels.
  return QRect(l, t, px(left + width) - l, px(top + height) - t);
}

QSize WindowGeometry::size(int width, int height) const { return QSize(px(width), px(height)); }

QPoint WindowGeometry::point(int x, int y) const { return QPoint(px(x), px(y)); }

}  // namespace vornak
