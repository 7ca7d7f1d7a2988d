// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's status line: one text in a sunken frame. A tab moves the
// text after it to the centre, a second tab to the right end.
#include <QFrame>
#include <QString>

namespace vornak {

class StatusLine : public QFrame {
  Q_OBJECT
 public:
  explicit StatusLine(QWidget* parent = nullptr);
  QString text() const { return text_; }
  void setText(const QString& text);
  // How often the text was written (hints must not rewrite an unchanged text).
  int writes() const { return writes_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString text_;
  int writes_ = 0;
};

}  // namespace vornak
