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

void Refuse(SplitCommandHost& host, const char* status, const Message& message) {
  host.SetStatus(status);
  host.Questions().Ask(message);
}

}  // namespace

std::string GetSourceFilename(const std::string& typed, FileInterface& files, const std::string& folder) {
  const std::size_t first = typed.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const std::string name =
      Filenames::Resolve(folder, typed.substr(first, typed.find_last_not_of(' ') - first + 1));
  // Looked up by its literal name; "*" and "?" are ordinary characters. A FIFO
  // or device counts (it is never opened); its size query then fails.
  const EntryKind kind = files.Lookup(name);
  return kind == EntryKind::File || kind == EntryKind::Other ? name : std::string();
}

void RunSplitCommand(SplitCommandHost& host, FileInterface& files, SplitState& state) {
  const std::string typed = host.FilenameText();
  // Made absolute here: the parts and the Save dialog's folder follow from it.
  state.sourcefile = GetSourceFilename(typed, files, host.CurrentFolder());
  if (state.sourcefile.empty()) {
    Refuse(host, "Press OK and try again.", SourceMissingMessage(typed));
    return;
  }
  state.FileSize = HugeFileFunctions::GetHugeFileSize(state.sourcefile);
  const char separator = host.DecimalSeparator();
  state.partsize = GetPartSize(host.PartSizeText(), separator);
  if (state.partsize < 1) {
    Refuse(host, "Press OK and try again.", PartSizeMessage(separator));
    return;
  }
  // A size that cannot be taken (-1) is never greater than a part.
  if (!(state.partsize < state.FileSize)) {
    Refuse(host, "Press OK and try again.", LengthMessage());
    return;
  }
  // The quotient is compared unrounded: exactly 32736 parts pass.
  const double quotient = state.FileSize / state.partsize;
  if (quotient > 32736) {
    Refuse(host, "Check your parameters.", TooManyPartsMessage());
    return;
  }
  if (quotient > 100) {
    host.SetStatus("Check your parameters.");
    if (host.Questions().Ask(ManyPartsQuestion()) != Answer::Yes) return;
  }

  PlanTarget(state.target, state.sourcefile, state.FileSize, state.partsize);
  host.ShowTargetDialog(state.target);
  if (state.target.saveftitle.empty()) return;  // the dialog was cancelled
  host.Yield();
  host.UpdatePartSizeList();

  FileInterface::Handle source = FileInterface::kNoHandle;
  if (const int code = files.OpenRead(state.sourcefile, source)) {
    host.Questions().Ask(
        ErrorMessage({SplitError::Kind::SourceOpen, state.sourcefile, code, files.ErrorText(code)}));
    return;
  }

  // From here on every way out goes through the split's ending. A failing
  // step is remembered and reported once the preparation is through.
  host.SetStatus("Splitting...");
  std::string failure;
  auto step = [&failure](auto operation) { RunGuarded(failure, operation); };
  SplitFrontEnd* frontEnd = nullptr;
  step([&] { frontEnd = &host.LoadProgress(); });
  if (frontEnd != nullptr) {
    step([&] { frontEnd->SetTitle("Splitting..."); });
    step([&] { frontEnd->SetStatus1(state.sourcefile); });
    // Without a progress window nothing could enable the main window again.
    step([&] { host.DisableMain(); });
    step([&] { host.ShowProgress(); });
    step([&] { host.Yield(); });
  }
  CopyBuffer buffer;
  if (state.buffersize < 1) {
    if (failure.empty())
      failure = "The copy buffer size " + std::to_string(state.buffersize) + " is not valid.";
  } else {
    buffer = AllocateCopyBuffer(static_cast<std::size_t>(state.buffersize));
    if (!buffer && failure.empty()) {
      failure = "The copy buffer of " + std::to_string(state.buffersize) + " bytes cannot be allocated.";
    }
  }

  if (!failure.empty()) {
    const Message message = ErrorMessage({SplitError::Kind::Initialisation, {}, 0, failure});
    if (frontEnd != nullptr) {
      frontEnd->Ask(message);
      RunSplitEnding(files, *frontEnd, source);
    } else {
      host.Questions().Ask(message);
      files.Close(source);
      host.Yield();
      host.SetStatus("Done.");
    }
    return;
  }

  SplitJob job;
  job.sourcefile = state.sourcefile;
  job.FileSize = state.FileSize;
  job.partsize = state.partsize;
  job.target = state.target;
  job.source = source;
  job.buffer = buffer.get();
  job.buffersize = static_cast<std::size_t>(state.buffersize);
  const SplitResult result = RunSplitLoop(job, files, *frontEnd);
  // A split that followed its medium to a new mount point proposes that folder next time.
  state.target.savedrive = result.target.savedrive;
  state.target.savepath = result.target.savepath;
}

}  // namespace vornak
