// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WindowGeometry.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace vornak {

namespace {
// Metrics of the 8.25 pt dialog font at 96 DPI that the twip layouts assume.
constexpr double kReferenceLineHeight = 13.0;
constexpr double kReferenceAverageWidth = 5.0;

// Captions that the layouts size to their text, with their width in pixels in
// that font at 96 DPI. The average character width alone underestimates how
// much wider running text becomes in a wider font (DejaVu Sans needs about
// 30 % more than the reference, its average width says 22 %), so the widest
// ratio over these samples decides.
struct Sample {
  const char* text;
  double width;
};
constexpr Sample kReferenceSamples[] = {
    {"Filename:", 45},
    {"Filesize:", 37},
    {"Size of split files:", 77},
    {"Filename (without counter):", 137},
    {"Worldwide Web: ", 82},
    {"Split large files into multiple parts.", 158},
};

// The smallest heights the layouts give the controls that hold a line of
// text, in pixels at 96 DPI: text box and small button 285 twips, drop-down
// box 315, check box 255. The reference font leaves 4 to 8 pixels around its
// 13-pixel line there; the toolkit's styles may want more, so the controls'
// own minimum heights in the font also decide.
int minimumHeight(QWidget& widget, const QFont& font) {
  widget.setFont(font);
  return std::max(widget.minimumSizeHint().height(), widget.sizeHint().height());
}

double controlFactor(const QFont& font) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return 1.0;
  QLineEdit edit;
  QPushButton button(QStringLiteral("..."));
  QComboBox combo;
  combo.setEditable(true);
  QCheckBox check(QStringLiteral("x"));
  double factor = 1.0;
  factor = std::max(factor, minimumHeight(edit, font) / 19.0);
  factor = std::max(factor, minimumHeight(button, font) / 19.0);
  factor = std::max(factor, minimumHeight(combo, font) / 21.0);
  factor = std::max(factor, minimumHeight(check, font) / 17.0);
  return factor;
}

double logicalDpi() {
  double dpi = 96.0;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) dpi = screen->logicalDotsPerInch();
  return dpi > 0 ? dpi : 96.0;
}
}  // namespace

double WindowGeometry::fontFactor(const QFont& font) {
  const QFontMetricsF fm(font);
  // The font's metrics are in pixels at the screen's logical DPI; the twip
  // conversion already accounts for the DPI, so compare at 96 DPI.
  const double to96 = 96.0 / logicalDpi();
  double factor = 1.0;
  factor = std::max(factor, fm.height() * to96 / kReferenceLineHeight);
  factor = std::max(factor, fm.averageCharWidth() * to96 / kReferenceAverageWidth);
  for (const Sample& sample : kReferenceSamples)
    factor = std::max(factor, fm.horizontalAdvance(QString::fromLatin1(sample.text)) * to96 / sample.width);
  return std::max(factor, controlFactor(font) * to96);
}

WindowGeometry::WindowGeometry(const QFont& font, double factor) {
  factor_ = factor > 0 ? factor : fontFactor(font);
  pixelsPerTwip_ = logicalDpi() / 1440.0;
}

int WindowGeometry::px(int twips) const {
  return static_cast<int>(std::lround(twips * pixelsPerTwip_ * factor_));
}

QRect WindowGeometry::rect(int left, int top, int width, int height) const {
  const int l = px(left), t = px(top);
  // Right and bottom edges are converted on their own so that controls that
  // meet in twips still meet in pixels.
  return QRect(l, t, px(left + width) - l, px(top + height) - t);
}

QSize WindowGeometry::size(int width, int height) const {
  return QSize(px(width), px(height));
}

QPoint WindowGeometry::point(int x, int y) const {
  return QPoint(px(x), px(y));
}

bool WindowGeometry::onWayland() {
  return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void WindowGeometry::keepSize(QWidget* window, const QSize& size) {
  if (!onWayland()) {
    window->setFixedSize(size);
    return;
  }
  window->setWindowFlag(Qt::WindowMaximizeButtonHint, false);
  window->setMinimumSize(size);
  window->resize(size);
}

}  // namespace vornak
