// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/StatusLine.h"

#include <QPainter>
#include <QStringList>
#include <algorithm>

namespace vornak {

StatusLine::StatusLine(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(1);
}

void StatusLine::setText(const QString& text) {
  text_ = text;
  ++writes_;
  // Read and announced by assistive technology as the line's name.
  setAccessibleName(QString(text).replace(QLatin1Char('\t'), QLatin1Char(' ')).simplified());
  update();
}

void StatusLine::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  const QRect area = contentsRect().adjusted(3, 0, -3, 0);
  const QStringList pieces = text_.split(QLatin1Char('\t'));
  static constexpr Qt::Alignment kAlign[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
  for (int i = 0; i < pieces.size(); ++i) {
    const Qt::Alignment align = kAlign[std::min(i, 2)] | Qt::AlignVCenter;
    painter.drawText(area, static_cast<int>(align | Qt::TextSingleLine), pieces[i]);
  }
}

}  // namespace vornak
