// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the split loop shows and asks while it runs. The progress window and
// the main window implement it for the desktop; a headless front end serves
// tests and benchmarks.
#include <string>

#include "fileservices/Question.h"

namespace vornak {

class SplitFrontEnd {
 public:
  virtual ~SplitFrontEnd() = default;

  // Progress window operations. A setter may throw std::exception; the loop
  // reports such a failure as a processing error at the end of its pass.
  virtual void setTitle(const std::string& title) = 0;   // the window's caption
  virtual void setStatus1(const std::string& text) = 0;  // the source path
  virtual void setStatus2(const std::string& text) = 0;  // "into " + part path
  virtual void setProgress(float percent) = 0;           // ProgressBar, 0 to 100
  virtual bool cancelFlag() const = 0;                   // the user confirmed Cancel
  virtual void unloadProgress() = 0;                     // unload from code, never refused

  // Modal questions and messages (overwrite, medium, errors).
  virtual Answer ask(const Message& message) = 0;
  // Lets pending user-interface events run once.
  virtual void yield() = 0;

  // Main window operations used by the split's ending.
  virtual void enableMain() = 0;  // enable the main window and give it the focus
  virtual void setMainStatus(const std::string& text) = 0;
};

}  // namespace vornak
