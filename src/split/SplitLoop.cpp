// SPDX-License-Identifier: GPL-3.0-or-later
#include "split/SplitLoop.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

#include "split/Guarded.h"
#include "split/PartFile.h"
#include "split/RangeCopySize.h"
#include "split/TargetMedium.h"

namespace vornak {

namespace {

using Handle = FileInterface::Handle;

// How one step of the loop went: on, the part failed on its medium (and is
// written again from its start on another one), or the split ends.
enum class Step { Go, PartFailed, End };

// One run of the loop with its ending. Byte counts are doubles; they become
// size_t only where a block is read or written.
class SplitRun {
 public:
  SplitRun(const SplitJob& job, FileInterface& files, SplitFrontEnd& frontEnd)
      : job_(job),
        files_(files),
        frontEnd_(frontEnd),
        source_(job.source),
        part_(files),
        target_(job.target),
        medium_(files, target_),
        rangeCopy_(job.rangeCopy),
        rangeSize_(job.bufferSize, job.fileSize / 100) {}

  SplitResult copy() {
    const double progressStep = std::trunc(job_.fileSize / 100) + 1;
    double nextMark = progressStep;
    std::int32_t partNumber = 1;
    double partStart = 0, partRemaining = 0;
    sourceId_ = files_.idOfHandle(source_);
    if (!sourceId_) sourceId_ = files_.idOfPath(job_.sourcePath);
    const std::optional<FileStamp> sourceStamp = files_.stampOfPath(job_.sourcePath);

    while (result_.bytesDone < job_.fileSize) {
      failure_.clear();
      // A confirmed cancel stops at once: no question, no new part.
      if (frontEnd_.cancelFlag()) {
        result_.outcome = SplitResult::Outcome::Cancelled;
        break;
      }
      Step step = Step::Go;
      if (!part_.isOpen()) {
        partStart = result_.bytesDone;
        partRemaining = std::min(job_.fileSize - partStart, job_.partSize);
        step = startPart(partNumber, partRemaining);
      }
      if (step == Step::Go) step = copyBlock(partRemaining);
      if (step == Step::Go && result_.bytesDone > nextMark) {
        const float percent = static_cast<float>(result_.bytesDone / job_.fileSize * 100);
        guarded([&] { frontEnd_.setProgress(percent); });
        nextMark += progressStep;
      }
      if (step == Step::Go && partRemaining == 0) {
        step = finishPart();
        if (step == Step::Go) ++partNumber;
      }
      if (step == Step::PartFailed && !retryPart(partStart)) break;
      if (step == Step::End) break;
      if (!failure_.empty()) {
        report({SplitError::Kind::Processing, partPath_, 0, failure_});
        break;
      }
      frontEnd_.yield();
    }
    if (!result_.error && result_.outcome != SplitResult::Outcome::Cancelled &&
        result_.bytesDone >= job_.fileSize) {
      result_.outcome = SplitResult::Outcome::Completed;
      // Parts of a file that changed meanwhile may not join to what it is now.
      if (sourceStamp && files_.stampOfPath(job_.sourcePath) != sourceStamp)
        report({SplitError::Kind::SourceChanged, job_.sourcePath, 0, {}});
    }
    result_.target = target_;
    ending();
    return result_;
  }

  // Every outcome: source closed, the names of the finished parts flushed, an
  // unfinished part removed, progress window unloaded, main window back with
  // the outcome in its status line.
  void ending() {
    if (source_ != FileInterface::kNoHandle) {
      files_.close(source_);
      source_ = FileInterface::kNoHandle;
    }
    part_.discard();
    // A failure that was already reported stands alone; the flush still runs.
    const bool reportable = !result_.error.has_value();
    if (std::optional<SplitError> flushError = flush(); flushError && reportable) report(*flushError);
    guarded([&] { frontEnd_.unloadProgress(); });
    guarded([&] { frontEnd_.yield(); });
    guarded([&] { frontEnd_.enableMain(); });
    guarded([&] { frontEnd_.setMainStatus(statusText(result_.outcome)); });
  }

 private:
  static const char* statusText(SplitResult::Outcome outcome) {
    switch (outcome) {
      case SplitResult::Outcome::Completed:
        return "Done.";
      case SplitResult::Outcome::Cancelled:
        return "Cancelled.";
      case SplitResult::Outcome::Failed:
        break;
    }
    return "Failed.";
  }

  // Names the part, asks before replacing what stands there, waits for a
  // medium with room for the whole part (length bytes) and creates it under
  // its temporary name.
  Step startPart(std::int32_t partNumber, double length) {
    followed_ = false;
    partPath_ = partPath(target_, partNumber);
    guarded([&] { frontEnd_.setStatus2("into " + partPath_); });
    if (checkedFolder_ != target_.folder) {
      // A new folder: what a killed run left goes, and every part that would
      // be replaced must be replaceable before anything is written.
      checkedFolder_ = target_.folder;
      PartFile::removeLeftovers(files_, target_.folder);
      if (!checkReplaceable(partNumber)) return Step::End;
    }
    // A link counts as what stands there, dangling or not: it is replaced,
    // never written through.
    const EntryKind existing = files_.lookupEntry(partPath_);
    double freed = 0;  // by removing the part that is replaced
    if (existing != EntryKind::None) {
      // A part never replaces the file being split (under a second name),
      // whatever the overwrite mode.
      const std::optional<FileId> id =
          existing == EntryKind::Link ? std::nullopt : files_.idOfPath(partPath_);
      if (id && id == sourceId_)
        return report({SplitError::Kind::PartOpen, partPath_, 0, kPartIsSourceDetail});
      if (job_.target.overwriteAll != 1 && askUser(overwriteQuestion(partPath_)) != Answer::Ok) {
        result_.outcome = SplitResult::Outcome::Cancelled;
        return Step::End;
      }
      if (existing == EntryKind::File) freed = files_.stampOfPath(partPath_).value_or(FileStamp{}).size;
    }
    if (!fitsOnMedium(length) || !waitForSpace(length - freed)) return Step::End;
    // The medium appeared at a new mount point: its part path is checked afresh.
    if (followed_) return startPart(partNumber, length);
    // The old part goes right before the new one is written, so that its
    // space counts (ENOENT has the same number on Windows).
    if (const int code = existing != EntryKind::None ? files_.remove(partPath_) : 0;
        code != 0 && code != ENOENT)
      return partFailed(systemError(SplitError::Kind::PartOpen, partPath_, code));
    const int code = part_.create(partPath_, target_.baseName, source_);
    if (FileInterface::meansExists(code))
      return report({SplitError::Kind::FolderBusy, target_.folder, code, {}});
    if (code != 0) return partFailed(systemError(SplitError::Kind::PartOpen, partPath_, code));
    volumesBeforeQuestion_.reset();
    return Step::Go;
  }

  // Every part from first on that stands in the folder can be replaced.
  bool checkReplaceable(std::int32_t first) {
    for (std::int32_t n = first; n <= target_.partCount; ++n) {
      const std::string path = partPath(target_, n);
      const EntryKind kind = files_.lookupEntry(path);
      if (kind == EntryKind::None) continue;
      const int code = kind == EntryKind::Folder ? FileInterface::kIsFolderError : files_.replaceable(path);
      if (code != 0) {
        partPath_ = path;
        report(systemError(SplitError::Kind::PartOpen, path, code));
        return false;
      }
    }
    return true;
  }

  // The whole part must fit on a medium mounted at drive; a failed query
  // counts as too little space.
  bool waitForSpace(double needed) {
    while (!followed_ && medium_.freeSpace() < needed) {
      if (!askForMedium()) return false;
    }
    return true;
  }

  // The medium question. What was written before is flushed first, so that a
  // medium taken out now holds complete parts. Retry with nothing mounted at
  // drive follows a single storage volume that has appeared since the
  // question first came for this part (followed_ is then set and the part
  // starts afresh there). False: the split ends.
  bool askForMedium() {
    if (std::optional<SplitError> error = flush()) {
      report(*error);
      return false;
    }
    if (!volumesBeforeQuestion_) volumesBeforeQuestion_ = Volumes::storageVolumes(files_.mountedVolumes());
    const Answer answer = askUser(mediumQuestion(target_.drive));
    largest_.reset();  // the medium may have changed meanwhile
    if (answer != Answer::Retry) {
      result_.outcome = SplitResult::Outcome::Cancelled;
      return false;
    }
    if (!medium_.mounted() && medium_.follow(*volumesBeforeQuestion_)) followed_ = true;
    return true;
  }

  // A part that failed on its medium goes; the user is told why, unless the
  // medium is simply full, and may go on with another medium, where the
  // part is written again from its start. False: the split ends.
  bool retryPart(double partStart) {
    part_.discard();
    const SplitError error = *partFailure_;
    partFailure_.reset();
    result_.bytesDone = partStart;
    if (const int code = files_.seek(source_, partStart)) {
      report(systemError(SplitError::Kind::Read, job_.sourcePath, code));
      return false;
    }
    const bool full = FileInterface::meansMediumFull(error.code);
    if (!full) askUser(errorMessage(error));
    if (askForMedium()) return true;
    if (!full && result_.outcome == SplitResult::Outcome::Cancelled) {
      result_.error = error;
      result_.outcome = SplitResult::Outcome::Failed;
    }
    return false;
  }

  // A part longer than the largest file the medium holds (FAT: 4 GiB - 1) is
  // refused before anything of it is written.
  bool fitsOnMedium(double length) {
    if (!largest_) largest_ = files_.maxFileSize(medium_.root());
    const double largest = *largest_;
    if (!(length > largest)) return true;
    result_.error = SplitError{SplitError::Kind::PartOpen, partPath_, EFBIG, {}};
    result_.outcome = SplitResult::Outcome::Failed;
    askUser(fileSizeLimitMessage(target_.drive, largest));
    return false;
  }

  // Copies the next block of the part, never past its end.
  Step copyBlock(double& partRemaining) {
    std::size_t copied = 0;
    if (rangeCopy_) {
      if (const Step step = copyRange(partRemaining, copied); step != Step::Go || copied > 0) return step;
    }
    return copyThroughBuffer(partRemaining);
  }

  // One range copy. When the system refuses it for these two files, or
  // copies nothing before the source's end, the rest of the run copies
  // through the buffer from where the range copies stopped.
  Step copyRange(double& partRemaining, std::size_t& copied) {
    const std::size_t size = partRemaining < static_cast<double>(rangeSize_.next())
                                 ? static_cast<std::size_t>(partRemaining)
                                 : rangeSize_.next();
    const auto start = std::chrono::steady_clock::now();
    const int code = files_.copyRange(source_, part_.handle(), size, copied);
    // Where the system copied the data instead of sharing it, the medium
    // writes the previous range while this one is copied: the part's flush
    // at its end has little left to wait for, also on a slow medium, and a
    // call waits for about one range, however the sizes change.
    const int writeBackCode = copied > 0 ? files_.writeBehind(part_.handle(), previousRange_ + copied) : 0;
    previousRange_ = copied;
    rangeSize_.took(std::chrono::steady_clock::now() - start, copied == size);
    counted(copied, partRemaining);
    if (writeBackCode != 0) return partFailed(systemError(SplitError::Kind::Write, partPath_, writeBackCode));
    if (code != 0 && !FileInterface::refusesRangeCopy(code))
      return partFailed(systemError(SplitError::Kind::Write, partPath_, code));
    if (code != 0 || copied == 0) rangeCopy_ = false;
    return Step::Go;
  }

  void counted(std::size_t bytes, double& partRemaining) {
    partRemaining -= static_cast<double>(bytes);
    result_.bytesDone += static_cast<double>(bytes);
  }

  // One read and one write of at most bufferSize bytes; a short write is
  // completed.
  Step copyThroughBuffer(double& partRemaining) {
    const std::size_t toRead = partRemaining > static_cast<double>(job_.bufferSize)
                                   ? job_.bufferSize
                                   : static_cast<std::size_t>(partRemaining);
    std::size_t bytesRead = 0;
    int code = files_.read(source_, job_.buffer, toRead, bytesRead);
    if (code != 0) return report(systemError(SplitError::Kind::Read, job_.sourcePath, code));
    // The source ended before the size taken at the start.
    if (bytesRead == 0) return report({SplitError::Kind::Read, job_.sourcePath, 0, kSourceShrankDetail});
    std::size_t written = 0;
    while (written < bytesRead) {
      std::size_t bytesWritten = 0;
      code = files_.write(part_.handle(), job_.buffer + written, bytesRead - written, bytesWritten);
      written += bytesWritten;
      if (code != 0) return partFailed(systemError(SplitError::Kind::Write, partPath_, code));
      if (bytesWritten == 0) return partFailed({SplitError::Kind::Write, partPath_, 0, kNoProgressDetail});
    }
    counted(written, partRemaining);
    return Step::Go;
  }

  // The complete part: flushed on its own, closed and named.
  Step finishPart() {
    if (const int code = part_.finish())
      return partFailed(systemError(SplitError::Kind::Write, partPath_, code));
    ++result_.partsCreated;
    unflushedFolder_ = target_.folder;
    return Step::Go;
  }

  Step partFailed(const SplitError& error) {
    partFailure_ = error;
    return Step::PartFailed;
  }

  // Flushes the file system that holds the folder of the parts named since
  // the last flush: their names are then on the medium too.
  std::optional<SplitError> flush() {
    if (unflushedFolder_.empty()) return std::nullopt;
    const std::string folder = std::exchange(unflushedFolder_, std::string());
    if (const int code = files_.syncFileSystem(folder))
      return systemError(SplitError::Kind::Write, folder, code);
    return std::nullopt;
  }

  SplitError systemError(SplitError::Kind kind, const std::string& path, int code) {
    return SplitError{kind, path, code, files_.errorText(code)};
  }

  Step report(const SplitError& error) {
    result_.error = error;
    result_.outcome = SplitResult::Outcome::Failed;
    askUser(errorMessage(error));
    return Step::End;
  }

  Answer askUser(const Message& message) {
    // After a confirmed cancel only messages still show; no question is asked.
    if (frontEnd_.cancelFlag() && message.buttons != Buttons::Ok) return Answer::Cancel;
    try {
      return frontEnd_.ask(message);
    } catch (...) {
      return Answer::Cancel;  // a question that cannot be shown is not consent
    }
  }

  // Runs a front-end operation; its failure is kept for the end of the pass.
  template <typename Operation>
  void guarded(Operation operation) {
    runGuarded(failure_, operation);
  }

  const SplitJob& job_;
  FileInterface& files_;
  SplitFrontEnd& frontEnd_;
  Handle source_;
  PartFile part_;
  TargetRecord target_;  // drive and folder follow the medium
  TargetMedium medium_;
  bool rangeCopy_;  // until the system refuses it
  RangeCopySize rangeSize_;
  std::size_t previousRange_ = 0;  // the bytes of the last range copy
  bool followed_ = false;
  std::optional<std::vector<Volumes::Volume>> volumesBeforeQuestion_;  // of the part's first question
  std::optional<double> largest_;  // of the medium at drive, asked once per medium
  std::optional<FileId> sourceId_;
  std::string partPath_;
  std::string checkedFolder_;    // the folder whose old parts were checked
  std::string unflushedFolder_;  // holds parts named since the last flush
  std::optional<SplitError> partFailure_;
  std::string failure_;
  SplitResult result_;
};

}  // namespace

CopyBuffer allocateCopyBuffer(std::size_t size) {
  if (size == 0 || size > SIZE_MAX - kCopyBufferAlignment) return nullptr;
  return CopyBuffer(
      static_cast<char*>(::operator new (size, std::align_val_t{kCopyBufferAlignment}, std::nothrow)));
}

SplitResult runSplitLoop(const SplitJob& job, FileInterface& files, SplitFrontEnd& frontEnd) {
  return SplitRun(job, files, frontEnd).copy();
}

void runSplitEnding(FileInterface& files, SplitFrontEnd& frontEnd, FileInterface::Handle source) {
  SplitJob job;
  job.source = source;
  SplitRun(job, files, frontEnd).ending();
}

}  // namespace vornak
