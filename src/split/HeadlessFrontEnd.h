// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A front end without windows for tests and benchmarks: it records what the
// split shows, answers questions from a script (or with a default per button
// set), and can run a callback in every yield, where a real progress window
// would serve its Cancel button.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "split/SplitFrontEnd.h"

namespace vornak {

class HeadlessFrontEnd : public SplitFrontEnd {
 public:
  // When set, every operation also appends its name to this shared journal
  // (for checking the order of the ending against the file calls).
  explicit HeadlessFrontEnd(std::vector<std::string>* journal = nullptr) : journal_(journal) {}

  void setTitle(const std::string& title) override;
  void setStatus1(const std::string& text) override;
  void setStatus2(const std::string& text) override;
  void setProgress(float percent) override;
  bool cancelFlag() const override { return cancelFlag_; }
  void unloadProgress() override;
  Answer ask(const Message& message) override;
  void yield() override;
  void enableMain() override;
  void setMainStatus(const std::string& text) override;

  // What the cancel question's Yes does.
  void confirmCancel() { cancelFlag_ = true; }

  // Answers given in order; when they run out, onAsk decides, else the default:
  // OK, Retry is not given (Cancel, so that a medium question cannot repeat
  // forever), Yes.
  std::deque<Answer> answers;
  std::function<Answer(const Message&)> onAsk;
  // Runs inside every yield (for example to confirm a cancel after n blocks).
  std::function<void()> onYield;
  // Runs before every setter with its name; a throw there is a failing window.
  std::function<void(const std::string& operation)> beforeSetter;
  // Keeps every status line and progress value (off in benchmarks).
  bool recordAll = true;

  std::vector<std::string> titles;
  std::vector<std::string> status1;
  std::vector<std::string> status2;
  std::vector<float> progress;
  std::vector<Message> questions;
  std::vector<std::string> mainStatus;
  long yields = 0;
  int unloads = 0;
  int enables = 0;
  bool mainEnabled = false;  // what enableMain last left

 private:
  void note(const std::string& operation);
  void setter(const std::string& operation);

  std::vector<std::string>* journal_;
  bool cancelFlag_ = false;
};

}  // namespace vornak
