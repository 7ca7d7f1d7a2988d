// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop's answer to vornak::Asker: a modal message box with the
// application's title as caption.
#include <QPointer>
#include <QWidget>

#include "fileservices/Question.h"

namespace vornak {

class MessageBoxAsker : public Asker {
 public:
  explicit MessageBoxAsker(QWidget* parent = nullptr) : parent_(parent) {}
  // The window the message boxes are centred on and modal to.
  void setParent(QWidget* parent) { parent_ = parent; }
  QWidget* parent() const { return parent_; }

  // Escape and the close box give Cancel or No where the message has such a
  // button, Ok for a message with an OK button only.
  Answer ask(const Message& message) override;
  void beep() override;

 private:
  QWidget* owner() const;
  QPointer<QWidget> parent_;
};

}  // namespace vornak
