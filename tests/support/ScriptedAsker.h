#pragma once
// An Asker for tests: records every message and every beep, and answers from
// a queue of scripted answers. When the queue is empty it answers with the
// message's default button (the first of the pair unless the message says
// otherwise), as a user pressing Enter would.
#include <deque>
#include <functional>
#include <vector>

#include "fileservices/Question.h"

namespace vornak {

class ScriptedAsker : public Asker {
 public:
  ScriptedAsker() = default;
  explicit ScriptedAsker(std::initializer_list<Answer> answers) : answers_(answers) {}

  Answer Ask(const Message& message) override;
  void Beep() override { ++beeps; }

  void Push(Answer answer) { answers_.push_back(answer); }
  std::size_t Pending() const { return answers_.size(); }

  std::vector<Message> messages;  // in the order asked
  int beeps = 0;
  // Runs inside Ask before the answer is returned (to look at the window
  // while the question is "open").
  std::function<void(const Message&)> onAsk;

 private:
  std::deque<Answer> answers_;
};

}  // namespace vornak
