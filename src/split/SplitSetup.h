// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the main window knows about the split it would start: the source file
// and its size, the part size, the planned parts and where relative names are
// read from. The window hands it the texts the user types and shows what it
// answers; the split command works on its state.
#include <cstdint>
#include <optional>
#include <string>

#include "fileservices/FileInterface.h"
#include "parts/Diagram.h"
#include "parts/Presets.h"
#include "split/SplitCommand.h"

namespace vornak {

class SplitSetup {
 public:
  // workingFolder: what relative file names are read against until a file is
  // chosen with Browse. The process's own working folder is never changed (on
  // a medium it would keep that medium busy).
  SplitSetup(FileInterface& files, std::string workingFolder);

  // The name field's text: the source is looked up again and its size taken.
  void setFileText(const std::string& typed);
  // The part-size entry's text.
  void setPartSizeText(const std::string& text, char decimalSeparator);
  // A file chosen with Browse: its folder becomes the one Browse starts in and
  // the one relative names are read against.
  void fileChosen(const std::string& path);
  // The folder Browse starts in: the last one chosen, else the typed name's.
  std::string browseFolder(const std::string& typed);

  // Split is offered for a source larger than a part of at least one byte.
  bool canSplit() const;
  // The diagram of the plan for a strip of width x height pixels.
  Diagram diagram(int width, int height) const;
  // The part-size text a click into a strip of the given width sets, if any.
  std::optional<std::string> sizeForClick(const DiagramClick& click, int width) const;

  const std::string& workingFolder() const { return workingFolder_; }
  // The state the split command reads and writes: source, sizes, copy buffer
  // size and target record, kept for the whole run of the program.
  SplitState& state() { return state_; }
  const SplitState& state() const { return state_; }

 private:
  FileInterface& files_;
  std::string workingFolder_;
  std::string browseFolder_;
  SplitState state_;
};

}  // namespace vornak
