// SPDX-License-Identifier: GPL-3.0-or-later
#include "split/SplitCommand.h"

#include "fileservices/Filenames.h"
#include "fileservices/HugeFileFunctions.h"
#include "parts/PartSize.h"
#include "split/Guarded.h"
#include "split/SplitLoop.h"
#include "split/SplitMessages.h"

namespace vornak {

namespace {

void refuse(SplitCommandHost& host, const char* status, const Message& message) {
  host.setStatus(status);
  host.questions().ask(message);
}

}  // namespace

std::string getSourceFilename(const std::string& typed, FileInterface& files, const std::string& folder) {
  const std::size_t first = typed.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const std::string name =
      Filenames::resolve(folder, typed.substr(first, typed.find_last_not_of(' ') - first + 1));
  // Looked up by its literal name; "*" and "?" are ordinary characters. A FIFO
  // or device counts (it is never opened); its size query then fails.
  const EntryKind kind = files.lookup(name);
  return kind == EntryKind::File || kind == EntryKind::Other ? name : std::string();
}

void runSplitCommand(SplitCommandHost& host, FileInterface& files, SplitState& state) {
  const std::string typed = host.filenameText();
  // Made absolute here: the parts and the Save dialog's folder follow from it.
  state.sourcePath = getSourceFilename(typed, files, host.currentFolder());
  if (state.sourcePath.empty()) {
    refuse(host, "Press OK and try again.", sourceMissingMessage(typed));
    return;
  }
  state.fileSize = HugeFileFunctions::getHugeFileSize(state.sourcePath);
  const char separator = host.decimalSeparator();
  state.partSize = getPartSize(host.partSizeText(), separator);
  if (state.partSize < 1) {
    refuse(host, "Press OK and try again.", partSizeMessage(separator));
    return;
  }
  // A size that cannot be taken (-1) is never greater than a part.
  if (!(state.partSize < state.fileSize)) {
    refuse(host, "Press OK and try again.", lengthMessage());
    return;
  }
  // The quotient is compared unrounded: exactly 32736 parts pass.
  const double quotient = state.fileSize / state.partSize;
  if (quotient > 32736) {
    refuse(host, "Check your parameters.", tooManyPartsMessage());
    return;
  }
  if (quotient > 100) {
    host.setStatus("Check your parameters.");
    if (host.questions().ask(manyPartsQuestion()) != Answer::Yes) return;
  }

  planTarget(state.target, state.sourcePath, state.fileSize, state.partSize);
  host.showTargetDialog(state.target);
  if (state.target.baseName.empty()) return;  // the dialog was cancelled
  host.yield();
  host.updatePartSizeList();

  FileInterface::Handle source = FileInterface::kNoHandle;
  if (const int code = files.openRead(state.sourcePath, source)) {
    host.questions().ask(
        errorMessage({SplitError::Kind::SourceOpen, state.sourcePath, code, files.errorText(code)}));
    return;
  }

  // From here on every way out goes through the split's ending. A failing
  // step is remembered and reported once the preparation is through.
  host.setStatus("Splitting...");
  std::string failure;
  auto step = [&failure](auto operation) { runGuarded(failure, operation); };
  SplitFrontEnd* frontEnd = nullptr;
  step([&] { frontEnd = &host.loadProgress(); });
  if (frontEnd != nullptr) {
    step([&] { frontEnd->setTitle("Splitting..."); });
    step([&] { frontEnd->setStatus1(state.sourcePath); });
    // Without a progress window nothing could enable the main window again.
    step([&] { host.disableMain(); });
    step([&] { host.showProgress(); });
    step([&] { host.yield(); });
  }
  CopyBuffer buffer;
  if (state.bufferSize < 1) {
    if (failure.empty())
      failure = "The copy buffer size " + std::to_string(state.bufferSize) + " is not valid.";
  } else {
    buffer = allocateCopyBuffer(static_cast<std::size_t>(state.bufferSize));
    if (!buffer && failure.empty()) {
      failure = "The copy buffer of " + std::to_string(state.bufferSize) + " bytes cannot be allocated.";
    }
  }

  if (!failure.empty()) {
    const Message message = errorMessage({SplitError::Kind::Initialisation, {}, 0, failure});
    if (frontEnd != nullptr) {
      frontEnd->ask(message);
      runSplitEnding(files, *frontEnd, source);
    } else {
      host.questions().ask(message);
      files.close(source);
      host.yield();
      host.setStatus("Failed.");
    }
    return;
  }

  SplitJob job;
  job.sourcePath = state.sourcePath;
  job.fileSize = state.fileSize;
  job.partSize = state.partSize;
  job.target = state.target;
  job.source = source;
  job.buffer = buffer.get();
  job.bufferSize = static_cast<std::size_t>(state.bufferSize);
  const SplitResult result = runSplitLoop(job, files, *frontEnd);
  // A split that followed its medium to a new mount point proposes that folder next time.
  state.target.drive = result.target.drive;
  state.target.folder = result.target.folder;
}

}  // namespace vornak
