#include "ui/MessageBoxAsker.h"

#include <QApplication>
#include <QMessageBox>

#include "Version.h"

namespace vornak {

namespace {

QMessageBox::Icon ToQt(Icon icon) {
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

ButtonPair ToQt(Buttons buttons) {
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

Answer FromQt(int button, const ButtonPair& pair) {
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
  return pair.second != QMessageBox::NoButton ? FromQt(pair.second, {QMessageBox::Ok, QMessageBox::NoButton})
                                              : Answer::Ok;
}

}  // namespace

QWidget* MessageBoxAsker::Owner() const {
  // A box belongs over the window that is asking: an open modal dialog first,
  // then the given window, unless it is disabled (the main window during a
  // split), where a box would be disabled too and could never be answered.
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  if (parent_ && parent_->isEnabled()) return parent_.data();
  return QApplication::activeWindow();
}

Answer MessageBoxAsker::Ask(const Message& message) {
  const ButtonPair pair = ToQt(message.buttons);
  QMessageBox box(ToQt(message.icon), QString::fromUtf8(kApplicationTitle),
                  QString::fromStdString(message.text), pair.first | pair.second, Owner());
  // Paths and names are shown as they are, never read as markup.
  box.setTextFormat(Qt::PlainText);
  const bool second = pair.second != QMessageBox::NoButton && message.defaultButton == 1;
  box.setDefaultButton(second ? pair.second : pair.first);
  box.setEscapeButton(pair.second != QMessageBox::NoButton ? pair.second : pair.first);
  return FromQt(box.exec(), pair);
}

void MessageBoxAsker::Beep() {
  QApplication::beep();
}

}  // namespace vornak
