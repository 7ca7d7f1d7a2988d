// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An Asker for tests: records every message and beep and answers from a queue;
// when the queue is empty, with the message's default button (as Enter would).
#include <deque>
#include <functional>
#include <vector>

#include "fileservices/Question.h"

namespace vornak {

class ScriptedAsker : public Asker {
 public:
  Answer ask(const Message& message) override {
    messages.push_back(message);
    if (onAsk) onAsk(message);
    if (!answers_.empty()) {
      const Answer answer = answers_.front();
      answers_.pop_front();
      return answer;
    }
    const bool second = message.defaultButton == 1;
    switch (message.buttons) {
      case Buttons::OkCancel:
        return second ? Answer::Cancel : Answer::Ok;
      case Buttons::RetryCancel:
        return second ? Answer::Cancel : Answer::Retry;
      case Buttons::YesNo:
        return second ? Answer::No : Answer::Yes;
      case Buttons::Ok:
        break;
    }
    return Answer::Ok;
  }
  void beep() override { ++beeps; }
  void push(Answer answer) { answers_.push_back(answer); }

  std::vector<Message> messages;
  int beeps = 0;
  std::function<void(const Message&)> onAsk;  // runs while the question is "open"

 private:
  std::deque<Answer> answers_;
};

}  // namespace vornak
