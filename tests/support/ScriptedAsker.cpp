// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ScriptedAsker.h"

namespace vornak {

Answer ScriptedAsker::ask(const Message& message) {
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

}  // namespace vornak
