// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A part while it is written: a file under a temporary name in the part's
// folder, which takes the part's name only once it is complete and on its
// medium. A name of a part therefore never stands for an incomplete part.
#include <string>

#include "fileservices/FileInterface.h"

namespace vornak {

class PartFile {
 public:
  explicit PartFile(FileInterface& files) : files_(files) {}
  PartFile(const PartFile&) = delete;
  PartFile& operator=(const PartFile&) = delete;

  // Creates the temporary file of the part at partPath (whose parts begin
  // with baseName), with the permissions of like. A temporary file of that
  // name that no run holds open is left from a killed run and goes first.
  // Returns the system's error; one that meansExists: another run is writing
  // into the folder.
  int create(const std::string& partPath, const std::string& baseName, FileInterface::Handle like);
  // Flushes the part to its medium, closes it and gives it its name. On a
  // failure the temporary file is still there for discard.
  int finish();
  // Closes and removes the temporary file, after a cancel or a failure.
  void discard();

  bool isOpen() const { return handle_ != FileInterface::kNoHandle; }
  FileInterface::Handle handle() const { return handle_; }

  // The temporary name of a part called partName whose parts begin with
  // baseName: no "baseName*.extension" pattern matches it, and each run
  // writes one part at a time, so the short form serves when the long one
  // is longer than the file system takes.
  static std::string temporaryName(const std::string& partName, const std::string& baseName,
                                   bool shortForm = false);
  static bool isTemporaryName(const std::string& name);
  // Removes the temporary files in folder that no run holds open.
  static void removeLeftovers(FileInterface& files, const std::string& folder);

 private:
  FileInterface& files_;
  FileInterface::Handle handle_ = FileInterface::kNoHandle;
  std::string temporaryPath_, partPath_;
};

}  // namespace vornak
