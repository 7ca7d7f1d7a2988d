// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The copy of the source into the part files, and the split's ending that
// every run goes through, whether it completes, is cancelled or fails.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <optional>
#include <string>

#include "destination/TargetRecord.h"
#include "fileservices/FileInterface.h"
#include "split/SplitFrontEnd.h"
#include "split/SplitMessages.h"

namespace vornak {

// What the split command hands over: the plan, the open source and the one
// copy buffer of the run.
struct SplitJob {
  std::string sourcePath;
  double fileSize = 0;  // whole bytes, more than partSize
  double partSize = 0;  // whole bytes, at least 1
  TargetRecord target;
  FileInterface::Handle source = FileInterface::kNoHandle;  // closed by the ending
  char* buffer = nullptr;                                   // bufferSize bytes
  std::size_t bufferSize = 0;                               // at least 1
  // Range copies first, where the system makes them; false: every byte
  // through the buffer.
  bool rangeCopy = true;
};

inline constexpr std::size_t kCopyBufferAlignment = 4096;  // a memory page
struct FreeDeleter {
  void operator()(char* p) const { ::operator delete (p, std::align_val_t{kCopyBufferAlignment}); }
};
using CopyBuffer = std::unique_ptr<char, FreeDeleter>;

// The one copy buffer of a run, of size bytes, starting at a memory page (the
// system copies whole pages fastest); null when the memory cannot be had.
CopyBuffer allocateCopyBuffer(std::size_t size);

// How a run ended; the user sees only the parts, the messages and "Done.".
struct SplitResult {
  enum class Outcome { Completed, Cancelled, Failed };
  Outcome outcome = Outcome::Failed;
  double bytesDone = 0;
  std::int32_t partsCreated = 0;
  std::optional<SplitError> error;  // the failure that was reported
  // The target as the run left it: drive and folder follow a medium
  // that appeared at a new mount point.
  TargetRecord target;
};

// Runs the loop and then the ending. The source handle is closed on return.
SplitResult runSplitLoop(const SplitJob& job, FileInterface& files, SplitFrontEnd& frontEnd);

// The ending for a run that never reached the loop (a failed preparation):
// closes the source, unloads the progress window, yields, enables the main
// window and sets the status text "Done.".
void runSplitEnding(FileInterface& files, SplitFrontEnd& frontEnd, FileInterface::Handle source);

}  // namespace vornak
