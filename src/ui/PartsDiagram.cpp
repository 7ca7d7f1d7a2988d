// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PartsDiagram.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace vornak {

PartsDiagram::PartsDiagram(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(2);
}

QColor PartsDiagram::colourOf(DiagramColour colour) const {
  switch (colour) {
    case DiagramColour::Foreground:
      return palette().color(QPalette::WindowText);
    case DiagramColour::Fill:
      // The strip's own blue on a light window; on a dark one the palette's
      // highlight, against which the light outlines stand out.
      if (palette().color(QPalette::Window).lightness() < 128) return palette().color(QPalette::Highlight);
      return QColor(128, 128, 255);
    case DiagramColour::InactiveBorder:
      return palette().color(QPalette::Inactive, QPalette::Mid);
    case DiagramColour::InactiveCaption:
      return palette().color(QPalette::Inactive, QPalette::Midlight);
    case DiagramColour::Black:
      return Qt::black;
    case DiagramColour::Red:
      return QColor(255, 0, 0);
    case DiagramColour::White:
      return Qt::white;
  }
  return Qt::black;
}

void PartsDiagram::changeEvent(QEvent* event) {
  QFrame::changeEvent(event);
  if (event->type() == QEvent::PaletteChange && !image_.isNull()) paint(Diagram(last_));
}

void PartsDiagram::paint(const Diagram& diagram) {
  last_ = diagram;
  // Painted in device pixels, so that at a fractional scale every outline is
  // equally thick: logical column x covers device columns device(x) up to
  // device(x + 1) - 1.
  const qreal ratio = devicePixelRatioF();
  const auto device = [ratio](int logical) { return static_cast<int>(std::floor(logical * ratio)); };
  const auto deviceRect = [&device](const QRect& logical) {
    return QRect(QPoint(device(logical.left()), device(logical.top())),
                 QPoint(device(logical.right() + 1) - 1, device(logical.bottom() + 1) - 1));
  };
  const int edge = std::max(1, static_cast<int>(ratio));
  image_ = QImage(QSize(device(innerSize().width()), device(innerSize().height())),
                  QImage::Format_ARGB32_Premultiplied);
  image_.fill(palette().color(QPalette::Window));
  QPainter painter(&image_);
  painter.setRenderHint(QPainter::Antialiasing, false);
  for (const Primitive& p : diagram.primitives) {
    const QColor outline = colourOf(p.outline);
    switch (p.kind) {
      case Primitive::Kind::Box: {
        // Outline through both corner pixels, interior in the fill colour.
        const QRect box = QRect(QPoint(p.x1, p.y1), QPoint(p.x2, p.y2)).normalized();
        painter.fillRect(deviceRect(box), outline);
        if (box.width() > 2 && box.height() > 2)
          painter.fillRect(deviceRect(box).adjusted(edge, edge, -edge, -edge), colourOf(p.fill));
        break;
      }
      case Primitive::Kind::Line:
        painter.save();
        painter.scale(ratio, ratio);
        painter.setPen(QPen(outline, p.penWidth, Qt::SolidLine, Qt::SquareCap));
        painter.drawLine(p.x1, p.y1, p.x2, p.y2);
        painter.restore();
        break;
      case Primitive::Kind::Circle:
        painter.save();
        painter.scale(ratio, ratio);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(outline, 1));
        painter.setBrush(colourOf(p.fill));
        painter.drawEllipse(QPointF(p.x1 + 0.5, p.y1 + 0.5), p.radius, p.radius);
        painter.restore();
        break;
      case Primitive::Kind::Point:
        painter.fillRect(deviceRect(QRect(p.x1, p.y1, 1, 1)), outline);
        break;
    }
  }
  painter.end();
  image_.setDevicePixelRatio(ratio);
  update();
}

void PartsDiagram::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  const QRect inner = contentsRect();
  if (image_.isNull())
    painter.fillRect(inner, palette().color(QPalette::Window));
  else
    painter.drawImage(inner.topLeft(), image_);
}

void PartsDiagram::mouseReleaseEvent(QMouseEvent* event) {
  emit clicked(event->button(), event->modifiers(), event->position().x() - contentsRect().left());
  event->accept();
}

}  // namespace vornak
