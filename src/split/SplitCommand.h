// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The split command behind the main window's "Split File..." button: checks the
// source and the part size again, limits and confirms the plan, lets the user
// choose the target, opens the source, prepares the progress window and the
// copy buffer, and hands over to the split loop. Written against the seams
// below so that it runs headless in tests.
#include <cstdint>
#include <string>

#include "destination/TargetRecord.h"
#include "fileservices/FileInterface.h"
#include "fileservices/Question.h"
#include "split/SplitFrontEnd.h"

namespace vornak {

// The main window's working state that the command reads and writes.
struct SplitState {
  std::string sourcePath;
  double fileSize = -1;
  double partSize = 0;
  std::int32_t bufferSize = 4096;
  TargetRecord target;
};

// What the command needs from the main window and the other windows.
class SplitCommandHost {
 public:
  virtual ~SplitCommandHost() = default;
  virtual std::string filenameText() = 0;               // the name field exactly as typed
  virtual std::string currentFolder() = 0;              // what a relative file name is read against
  virtual std::string partSizeText() = 0;               // the part-size entry's text
  virtual char decimalSeparator() = 0;                  // the user's locale
  virtual void setStatus(const std::string& text) = 0;  // the main window's status line
  virtual Asker& questions() = 0;
  // Shows the Save dialog modally over the main window; it writes the user's
  // choice into the record (baseName empty = not confirmed).
  virtual void showTargetDialog(TargetRecord& record) = 0;
  virtual void updatePartSizeList() = 0;  // moves the entry's text to the top of the presets
  // Loads the progress window (its load clears both labels, the bar and the
  // cancel flag) and returns it; the command then sets its caption and
  // source line through it, calls disableMain and showProgress. The front end
  // stays valid until its unloadProgress has run. Its Ask must show over the
  // progress window: the main window is disabled while it is used.
  virtual SplitFrontEnd& loadProgress() = 0;
  virtual void disableMain() = 0;
  virtual void showProgress() = 0;  // modeless, owned by and centred on the main window
  virtual void yield() = 0;
};

// The typed file name without leading and trailing blanks, read against folder
// when it is relative, when something other than a folder stands there (hidden
// files count), else the empty string.
std::string getSourceFilename(const std::string& typed, FileInterface& files, const std::string& folder);

// Runs the whole command; returns when the split has ended (or was refused).
void runSplitCommand(SplitCommandHost& host, FileInterface& files, SplitState& state);

}  // namespace vornak
