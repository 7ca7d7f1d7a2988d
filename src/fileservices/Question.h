// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one small interface through which every modal question and message goes.
// The windows use a message-box implementation; tests answer with a script and
// read back the text, icon and buttons.
#include <string>

namespace vornak {

enum class Icon { None, Exclamation, Question, Information };
enum class Buttons { Ok, OkCancel, RetryCancel, YesNo };
enum class Answer { Ok, Cancel, Retry, Yes, No };

struct Message {
  std::string text;  // lines separated by "\n"
  Icon icon = Icon::Exclamation;
  Buttons buttons = Buttons::Ok;
  int defaultButton = 0;  // 0 = first button, 1 = second
  bool operator==(const Message&) const = default;
};

class Asker {
 public:
  virtual ~Asker() = default;
  // Shows the message modally and returns the button pressed.
  virtual Answer ask(const Message& message) = 0;
  // An audible hint (a refused character in a name field).
  virtual void beep() {}
};

}  // namespace vornak
