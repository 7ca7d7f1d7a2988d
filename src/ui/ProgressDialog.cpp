// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ProgressDialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "split/SplitMessages.h"
#include "ui/MessageBoxAsker.h"
#include "ui/WindowGeometry.h"

namespace vornak {

ProgressDialog::ProgressDialog(QWidget* owner, Asker* asker) : QDialog(owner) {
  if (asker) {
    asker_ = asker;
  } else {
    ownAsker_ = std::make_unique<MessageBoxAsker>(this);
    asker_ = ownAsker_.get();
  }
  setObjectName("ProgressDialog");
  setWindowTitle("Processing...");
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setModal(false);

  const WindowGeometry g(font());
  WindowGeometry::keepSize(this, g.size(4830, 1110));

  sourceLabel_ = new QLabel(this);
  sourceLabel_->setObjectName("sourceLabel");
  sourceLabel_->setGeometry(g.rect(120, 120, 4575, 225));
  sourceLabel_->setTextFormat(Qt::PlainText);

  partLabel_ = new QLabel(this);
  partLabel_->setObjectName("partLabel");
  partLabel_->setGeometry(g.rect(120, 360, 4575, 225));
  partLabel_->setTextFormat(Qt::PlainText);

  progressBar_ = new QProgressBar(this);
  progressBar_->setObjectName("progressBar");
  progressBar_->setGeometry(g.rect(120, 720, 3400, 195));
  progressBar_->setTextVisible(false);
  progressBar_->setAccessibleName("Share of the file copied");

  cancelButton_ = new QPushButton("Cancel", this);
  cancelButton_->setObjectName("cancelButton");
  cancelButton_->setGeometry(g.rect(3640, 645, 1065, 345));
  cancelButton_->setDefault(true);
  cancelButton_->setAutoDefault(true);
  cancelButton_->setFocus();

  progressBar_->setRange(0, 100);
  progressBar_->setValue(0);
  connect(cancelButton_, &QPushButton::clicked, this, &ProgressDialog::confirmCancel);
}

ProgressDialog::~ProgressDialog() = default;

void ProgressDialog::setMainCallbacks(std::function<void()> enableMain,
                                      std::function<void(const std::string&)> setMainStatus) {
  enableMain_ = std::move(enableMain);
  setMainStatus_ = std::move(setMainStatus);
}

void ProgressDialog::confirmCancel() {
  if (asker_->ask(cancelQuestion()) == Answer::Yes) cancelled_ = true;
}

void ProgressDialog::closeEvent(QCloseEvent* event) {
  if (unloading_) {
    event->accept();
    return;
  }
  event->ignore();
  confirmCancel();
}

void ProgressDialog::reject() {
  confirmCancel();
}

void ProgressDialog::unload() {
  unloading_ = true;
  close();
}

void ProgressDialog::setTitle(const std::string& title) {
  setWindowTitle(QString::fromStdString(title));
}

void ProgressDialog::setStatus1(const std::string& text) {
  sourceLabel_->setText(QString::fromStdString(text));
}

void ProgressDialog::setStatus2(const std::string& text) {
  partLabel_->setText(QString::fromStdString(text));
}

void ProgressDialog::setProgress(float percent) {
  // The bar shows whole percents; it reaches 100 only when everything is copied.
  const float clamped = std::isnan(percent) ? 0.0f : std::clamp(percent, 0.0f, 100.0f);
  progressBar_->setValue(static_cast<int>(clamped));
}

Answer ProgressDialog::ask(const Message& message) {
  if (!stopped_) return asker_->ask(message);
  switch (message.buttons) {
    case Buttons::Ok:
      return Answer::Ok;
    case Buttons::YesNo:
      return Answer::No;
    case Buttons::OkCancel:
    case Buttons::RetryCancel:
      break;
  }
  return Answer::Cancel;
}

void ProgressDialog::yield() {
  QCoreApplication::processEvents();
}

void ProgressDialog::enableMain() {
  if (enableMain_) enableMain_();
}

void ProgressDialog::setMainStatus(const std::string& text) {
  if (setMainStatus_) setMainStatus_(text);
}

}  // namespace vornak
