// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PartsDiagram.h"

#include <QMouseEvent>
#include <QPainter>

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

void PartsDiagram::paint(const Diagram& diagram) {
  const qreal ratio = devicePixelRatioF();
  image_ = QImage(innerSize() * ratio, QImage::Format_ARGB32_Premultiplied);
  image_.setDevicePixelRatio(ratio);
  image_.fill(palette().color(QPalette::Window));
  QPainter painter(&image_);
  painter.setRenderHint(QPainter::Antialiasing, false);
  for (const Primitive& p : diagram.primitives) {
    const QColor outline = colourOf(p.outline);
    switch (p.kind) {
      case Primitive::Kind::Box: {
        // Outline through both corner pixels, interior in the fill colour.
        const QRect box = QRect(QPoint(p.x1, p.y1), QPoint(p.x2, p.y2)).normalized();
        painter.fillRect(box, outline);
        if (box.width() > 2 && box.height() > 2)
          painter.fillRect(box.adjusted(1, 1, -1, -1), colourOf(p.fill));
        break;
      }
      case Primitive::Kind::Line:
        painter.setPen(QPen(outline, p.penWidth, Qt::SolidLine, Qt::SquareCap));
        painter.drawLine(p.x1, p.y1, p.x2, p.y2);
        break;
      case Primitive::Kind::Circle:
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(outline, 1));
        painter.setBrush(colourOf(p.fill));
        painter.drawEllipse(QPointF(p.x1 + 0.5, p.y1 + 0.5), p.radius, p.radius);
        painter.setBrush(Qt::NoBrush);
        painter.setRenderHint(QPainter::Antialiasing, false);
        break;
      case Primitive::Kind::Point:
        painter.fillRect(QRect(p.x1, p.y1, 1, 1), outline);
        break;
    }
  }
  painter.end();
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
