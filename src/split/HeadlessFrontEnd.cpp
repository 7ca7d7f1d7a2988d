// SPDX-License-Identifier: GPL-3.0-or-later
#include "split/HeadlessFrontEnd.h"

namespace vornak {

void HeadlessFrontEnd::note(const std::string& operation) {
  if (journal_ != nullptr) journal_->push_back(operation);
}

void HeadlessFrontEnd::setter(const std::string& operation) {
  if (beforeSetter) beforeSetter(operation);
}

void HeadlessFrontEnd::setTitle(const std::string& title) {
  setter("SetTitle");
  titles.push_back(title);
}

void HeadlessFrontEnd::setStatus1(const std::string& text) {
  setter("SetStatus1");
  status1.push_back(text);
}

void HeadlessFrontEnd::setStatus2(const std::string& text) {
  setter("SetStatus2");
  if (recordAll) status2.push_back(text);
}

void HeadlessFrontEnd::setProgress(float percent) {
  setter("SetProgress");
  if (recordAll) progress.push_back(percent);
}

void HeadlessFrontEnd::unloadProgress() {
  note("UnloadProgress");
  ++unloads;
}

Answer HeadlessFrontEnd::ask(const Message& message) {
  note("Ask");
  questions.push_back(message);
  if (!answers.empty()) {
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  if (onAsk) return onAsk(message);
  switch (message.buttons) {
    case Buttons::Ok:
    case Buttons::OkCancel:
      return Answer::Ok;
    case Buttons::RetryCancel:
      return Answer::Cancel;
    case Buttons::YesNo:
      return Answer::Yes;
  }
  return Answer::Cancel;
}

void HeadlessFrontEnd::yield() {
  ++yields;
  note("Yield");
  if (onYield) onYield();
}

void HeadlessFrontEnd::enableMain() {
  note("EnableMain");
  ++enables;
  mainEnabled = true;
}

void HeadlessFrontEnd::setMainStatus(const std::string& text) {
  note("SetMainStatus " + text);
  mainStatus.push_back(text);
}

}  // namespace vornak
