// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Progress.h"

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

Progress::Progress(QWidget* owner, Asker* asker) : QDialog(owner) {
  if (asker) {
    asker_ = asker;
  } else {
    ownAsker_ = std::make_unique<MessageBoxAsker>(this);
    asker_ = ownAsker_.get();
  }
  setObjectName("Progress");
  setWindowTitle("Processing...");
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setModal(false);

  const WindowGeometry g(font());
  setFixedSize(g.size(4830, 1110));

  lblStatus1 = new QLabel(this);
  lblStatus1->setObjectName("lblStatus1");
  lblStatus1->setGeometry(g.rect(120, 120, 4575, 225));
  lblStatus1->setTextFormat(Qt::PlainText);

  lblStatus2 = new QLabel(this);
  lblStatus2->setObjectName("lblStatus2");
  lblStatus2->setGeometry(g.rect(120, 360, 4575, 225));
  lblStatus2->setTextFormat(Qt::PlainText);

  ProgressBar = new QProgressBar(this);
  ProgressBar->setObjectName("ProgressBar");
  ProgressBar->setGeometry(g.rect(120, 720, 3400, 195));
  ProgressBar->setTextVisible(false);

  butCancel = new QPushButton("Cancel", this);
  butCancel->setObjectName("butCancel");
  butCancel->setGeometry(g.rect(3640, 645, 1065, 345));
  butCancel->setDefault(true);
  butCancel->setAutoDefault(true);
  butCancel->setFocus();

  connect(butCancel, &QPushButton::clicked, this, &Progress::butCancel_Click);
  Form_Load();
}

Progress::~Progress() = default;

void Progress::setMainCallbacks(std::function<void()> enableMain,
                                std::function<void(const std::string&)> setMainStatus) {
  enableMain_ = std::move(enableMain);
  setMainStatus_ = std::move(setMainStatus);
}

void Progress::Form_Load() {
  lblStatus1->clear();
  lblStatus2->clear();
  ProgressBar->setRange(0, 100);
  ProgressBar->setValue(0);
  bCancelFlag = false;
  unloading_ = false;
}

void Progress::butCancel_Click() {
  if (asker_->ask(cancelQuestion()) == Answer::Yes) bCancelFlag = true;
}

void Progress::closeEvent(QCloseEvent* event) {
  if (unloading_) {
    event->accept();
    return;
  }
  event->ignore();
  butCancel_Click();
}

void Progress::reject() {
  butCancel_Click();
}

void Progress::unload() {
  unloading_ = true;
  close();
}

void Progress::setTitle(const std::string& title) {
  setWindowTitle(QString::fromStdString(title));
}

void Progress::setStatus1(const std::string& text) {
  lblStatus1->setText(QString::fromStdString(text));
}

void Progress::setStatus2(const std::string& text) {
  lblStatus2->setText(QString::fromStdString(text));
}

void Progress::setProgress(float percent) {
  // The bar shows whole percents; it reaches 100 only when everything is copied.
  const float clamped = std::isnan(percent) ? 0.0f : std::clamp(percent, 0.0f, 100.0f);
  ProgressBar->setValue(static_cast<int>(clamped));
}

Answer Progress::ask(const Message& message) {
  return asker_->ask(message);
}

void Progress::yield() {
  QCoreApplication::processEvents();
}

void Progress::enableMain() {
  if (enableMain_) enableMain_();
}

void Progress::setMainStatus(const std::string& text) {
  if (setMainStatus_) setMainStatus_(text);
}

}  // namespace vornak
