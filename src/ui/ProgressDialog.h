// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The progress window of a running split: the source, the part being written,
// the share of the source copied, and the only way to stop the split. It never
// goes away by the user's hand; the split's ending unloads it from code.
#include <QDialog>
#include <functional>
#include <memory>
#include <string>

#include "fileservices/Question.h"
#include "split/SplitFrontEnd.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace vornak {

class MessageBoxAsker;

class ProgressDialog : public QDialog, public SplitFrontEnd {
  Q_OBJECT
 public:
  // owner: the main window, which the window is centred on. The questions go
  // through asker, or through message boxes over this window when it is null.
  explicit ProgressDialog(QWidget* owner = nullptr, Asker* asker = nullptr);
  ~ProgressDialog() override;

  // What the split's ending does to the main window.
  void setMainCallbacks(std::function<void()> enableMain,
                        std::function<void(const std::string&)> setMainStatus);

  // Closes the window from code; never refused and never asks.
  void unload();
  // Stops the split at its next step without the cancel question, and from
  // now on answers whatever the split would ask with the message's way out
  // (Cancel, No or OK) without showing it: the program is ending.
  void stop() { cancelled_ = stopped_ = true; }

  // SplitFrontEnd
  void setTitle(const std::string& title) override;
  void setStatus1(const std::string& text) override;
  void setStatus2(const std::string& text) override;
  void setProgress(float percent) override;
  bool cancelFlag() const override { return cancelled_; }
  void unloadProgress() override { unload(); }
  Answer ask(const Message& message) override;
  void yield() override;
  void enableMain() override;
  void setMainStatus(const std::string& text) override;

 public slots:
  // Asks the cancel question; Yes stops the split at its next step.
  void confirmCancel();

 protected:
  // A close that does not come from unload() asks the cancel question and is
  // refused whatever the answer.
  void closeEvent(QCloseEvent* event) override;
  // Escape presses Cancel.
  void reject() override;

 private:
  QLabel* sourceLabel_ = nullptr;
  QLabel* partLabel_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  std::unique_ptr<MessageBoxAsker> ownAsker_;
  Asker* asker_ = nullptr;
  std::function<void()> enableMain_;
  std::function<void(const std::string&)> setMainStatus_;
  bool unloading_ = false;
  bool cancelled_ = false;  // the user has confirmed the cancel question
  bool stopped_ = false;
};

}  // namespace vornak
