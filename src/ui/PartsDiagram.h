// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's picture of the planned parts: a sunken frame around a
// backing image that keeps the last drawing until the next one. Widget pixel
// (x, y) inside the frame is image pixel (x, y); the drawing uses columns 1..W
// and rows 1..H.
#include <QFrame>
#include <QImage>

#include "parts/Diagram.h"

namespace vornak {

class PartsDiagram : public QFrame {
  Q_OBJECT
 public:
  explicit PartsDiagram(QWidget* parent = nullptr);

  // The drawable size (inside the frame).
  QSize innerSize() const { return contentsRect().size(); }
  // Clears the picture and paints the diagram's primitives.
  void paint(const Diagram& diagram);
  QColor colourOf(DiagramColour colour) const;

 signals:
  // A mouse button was released over the picture; x in drawing columns, may
  // lie outside them.
  void clicked(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, double x);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // A new palette (a light or dark theme chosen meanwhile) repaints the
  // last diagram in its colours.
  void changeEvent(QEvent* event) override;

 private:
  QImage image_;
  Diagram last_;
};

}  // namespace vornak
