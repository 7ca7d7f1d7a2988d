// SPDX-License-Identifier: GPL-3.0-or-later
#include "split/HeadlessFrontEnd.h"

namespace vornak {

void HeadlessFrontEnd::Note(const std::string& operation) {
  if (journal_ != nullptr) journal_->push_back(operation);
}

void HeadlessFrontEnd::Setter(const std::string& operation) {
  if (beforeSetter) beforeSetter(operation);
}

void HeadlessFrontEnd::SetTitle(const std::string& title) {
  Setter("SetTitle");
  titles.push_back(title);
}

void HeadlessFrontEnd::SetStatus1(const std::string& text) {
  Setter("SetStatus1");
  status1.push_back(text);
}

void HeadlessFrontEnd::SetStatus2(const std::string& text) {
  Setter("SetStatus2");
  if (recordAll) status2.push_back(text);
}

void HeadlessFrontEnd::SetProgress(float percent) {
  Setter("SetProgress");
  if (recordAll) progress.push_back(percent);
}

void HeadlessFrontEnd::UnloadProgress() {
  Note("UnloadProgress");
  ++unloads;
}

Answer HeadlessFrontEnd::Ask(const Message& message) {
  Note("Ask");
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

void HeadlessFrontEnd::Yield() {
  ++yields;
  Note("Yield");
  if (onYield) onYield();
}

void HeadlessFrontEnd::EnableMain() {
  Note("EnableMain");
  ++enables;
  mainEnabled = true;
}

void HeadlessFrontEnd::SetMainStatus(const std::string& text) {
  Note("SetMainStatus " + text);
  mainStatus.push_back(text);
}

}  // namespace vornak
