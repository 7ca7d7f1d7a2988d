// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MessageBoxAsker.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTextBoundaryFinder>

#include "Version.h"
#include "ui/WindowGeometry.h"

namespace vornak {

namespace {

QMessageBox::Icon toQt(Icon icon) {
  switch (icon) {
    case Icon::Exclamation:
      return QMessageBox::Warning;
    case Icon::Question:
      return QMessageBox::Question;
    case Icon::Information:
      return QMessageBox::Information;
    case Icon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

struct ButtonPair {
  QMessageBox::StandardButton first;
  QMessageBox::StandardButton second;  // NoButton for a single button
};

ButtonPair toQt(Buttons buttons) {
  switch (buttons) {
    case Buttons::OkCancel:
      return {QMessageBox::Ok, QMessageBox::Cancel};
    case Buttons::RetryCancel:
      return {QMessageBox::Retry, QMessageBox::Cancel};
    case Buttons::YesNo:
      return {QMessageBox::Yes, QMessageBox::No};
    case Buttons::Ok:
      break;
  }
  return {QMessageBox::Ok, QMessageBox::NoButton};
}

Answer fromQt(int button, const ButtonPair& pair) {
  switch (button) {
    case QMessageBox::Ok:
      return Answer::Ok;
    case QMessageBox::Cancel:
      return Answer::Cancel;
    case QMessageBox::Retry:
      return Answer::Retry;
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    default:
      break;
  }
  // The box went away without a button (closed by the window system).
  return pair.second != QMessageBox::NoButton ? fromQt(pair.second, {QMessageBox::Ok, QMessageBox::NoButton})
                                              : Answer::Ok;
}

// The text as shown: a run of more than 30 characters without a blank (a long
// path or name) may break after any of its characters, so that all of it
// stays readable instead of running past the box's edge.
QString breakableAnywhere(const QString& text) {
  constexpr qsizetype kLongRun = 30;
  const QChar kBreak(0x200B);  // zero width space
  QString shown;
  qsizetype i = 0;
  while (i < text.size()) {
    if (text.at(i).isSpace()) {
      shown += text.at(i++);
      continue;
    }
    qsizetype end = i;
    while (end < text.size() && !text.at(end).isSpace()) ++end;
    const QString run = text.mid(i, end - i);
    if (run.size() <= kLongRun) {
      shown += run;
    } else {
      QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, run);
      qsizetype from = 0;
      for (qsizetype to = graphemes.toNextBoundary(); to > 0; to = graphemes.toNextBoundary()) {
        if (from > 0) shown += kBreak;
        shown += run.mid(from, to - from);
        from = to;
      }
    }
    i = end;
  }
  return shown;
}

// A message box fixes its size whenever it lays itself out. On Wayland, where a
// compositor may ask any window to take the maximized size and a window that
// keeps a fixed size then loses its connection, the size it computes is its
// minimum instead (see WindowGeometry::keepSize).
class MessageBox : public QMessageBox {
 public:
  using QMessageBox::QMessageBox;

 protected:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::LayoutRequest && isVisible() && WindowGeometry::onWayland())
      return QDialog::event(event);
    return QMessageBox::event(event);
  }
  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);
    if (WindowGeometry::onWayland()) setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  }
};

}  // namespace

QWidget* MessageBoxAsker::owner() const {
  // A box belongs over the window that is asking: an open modal dialog first,
  // then the given window, unless it is disabled (the main window during a
  // split), where a box would be disabled too and could never be answered.
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  if (parent_ && parent_->isEnabled()) return parent_.data();
  return QApplication::activeWindow();
}

Answer MessageBoxAsker::ask(const Message& message) {
  const ButtonPair pair = toQt(message.buttons);
  MessageBox box(toQt(message.icon), QString::fromUtf8(kApplicationTitle),
                 breakableAnywhere(QString::fromStdString(message.text)), pair.first | pair.second, owner());
  // Paths and names are shown as they are, never read as markup.
  box.setTextFormat(Qt::PlainText);
  const bool second = pair.second != QMessageBox::NoButton && message.defaultButton == 1;
  box.setDefaultButton(second ? pair.second : pair.first);
  box.setEscapeButton(pair.second != QMessageBox::NoButton ? pair.second : pair.first);
  return fromQt(box.exec(), pair);
}

void MessageBoxAsker::beep() {
  QApplication::beep();
}

}  // namespace vornak
