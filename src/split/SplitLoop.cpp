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

#include "fileservices/Filenames.h"
#include "split/Guarded.h"
#include "split/RangeCopySize.h"

namespace vornak {

namespace {

using Handle = FileInterface::Handle;

// One run of the loop with its ending. Byte counts are doubles; they become
// size_t only where a block is read or written.
class SplitRun {
 public:
  SplitRun(const SplitJob& job, FileInterface& files, SplitFrontEnd& frontEnd)
      : job_(job),
        files_(files),
        frontEnd_(frontEnd),
        source_(job.source),
        target_(job.target),
        rangeCopy_(job.rangeCopy),
        rangeSize_(job.bufferSize, job.fileSize / 100) {}

  SplitResult copy() {
    const double step = std::trunc(job_.fileSize / 100) + 1;
    double nextMark = step;
    std::int32_t partNumber = 1;
    double partRemaining = 0;
    sourceId_ = files_.idOfHandle(source_);
    if (!sourceId_) sourceId_ = files_.idOfPath(job_.sourcePath);

    bool ended = false;
    while (!ended && result_.bytesDone < job_.fileSize) {
      failure_.clear();
      if (partRemaining == 0) {
        partRemaining = job_.fileSize - result_.bytesDone;
        if (partRemaining > job_.partSize) partRemaining = job_.partSize;
        if (!startPart(partNumber, partRemaining)) break;
        ++partNumber;
      }
      ended = !copyBlock(partRemaining);
      if (ended) break;
      if (result_.bytesDone > nextMark) {
        const float percent = static_cast<float>(result_.bytesDone / job_.fileSize * 100);
        guarded([&] { frontEnd_.setProgress(percent); });
        nextMark += step;
      }
      if (partRemaining == 0 && !closePart()) break;
      if (frontEnd_.cancelFlag()) {
        result_.outcome = SplitResult::Outcome::Cancelled;
        break;
      }
      if (!failure_.empty()) {
        report({SplitError::Kind::Processing, partPath_, 0, failure_});
        break;
      }
      frontEnd_.yield();
    }
    if (!result_.error && result_.outcome != SplitResult::Outcome::Cancelled &&
        result_.bytesDone >= job_.fileSize) {
      result_.outcome = SplitResult::Outcome::Completed;
    }
    result_.target = target_;
    ending();
    return result_;
  }

  // Every outcome: source closed, everything written flushed and the part
  // closed, progress window unloaded, main window back with "Done.". Nothing
  // is deleted.
  void ending() {
    if (source_ != FileInterface::kNoHandle) {
      files_.close(source_);
      source_ = FileInterface::kNoHandle;
    }
    // A failure that was already reported stands alone; the flush still runs.
    const bool reportable = !result_.error.has_value();
    std::optional<SplitError> flushError = flush();
    if (part_ != FileInterface::kNoHandle) {
      const int code = files_.close(part_);
      part_ = FileInterface::kNoHandle;
      if (code != 0 && !flushError) flushError = systemError(SplitError::Kind::Write, partPath_, code);
    }
    if (flushError && reportable) report(*flushError);
    guarded([&] { frontEnd_.unloadProgress(); });
    guarded([&] { frontEnd_.yield(); });
    guarded([&] { frontEnd_.enableMain(); });
    guarded([&] { frontEnd_.setMainStatus("Done."); });
  }

 private:
  // Names the part, asks before replacing what stands there, waits for a
  // medium with room for the whole part (length bytes) and creates it. False:
  // go to the ending.
  bool startPart(std::int32_t partNumber, double length) {
    partPath_ = partPath(target_, partNumber);
    guarded([&] { frontEnd_.setStatus2("into " + partPath_); });
    // A link counts as what stands there, dangling or not: it is replaced,
    // never written through.
    const EntryKind existing = files_.lookupEntry(partPath_);
    if (existing == EntryKind::Folder) {
      report(systemError(SplitError::Kind::PartOpen, partPath_, FileInterface::kIsFolderError));
      return false;
    }
    if (existing != EntryKind::None) {
      // A part never replaces the file being split or a part of this run (a
      // second name for the same file), whatever the overwrite mode.
      const std::optional<FileId> id =
          existing == EntryKind::Link ? std::nullopt : files_.idOfPath(partPath_);
      if (id && id == sourceId_) {
        report({SplitError::Kind::PartOpen, partPath_, 0, kPartIsSourceDetail});
        return false;
      }
      if (id && std::find(written_.begin(), written_.end(), *id) != written_.end()) {
        report({SplitError::Kind::PartOpen, partPath_, 0, kPartIsEarlierPartDetail});
        return false;
      }
      if (job_.target.overwriteAll != 1 && askUser(overwriteQuestion(partPath_)) != Answer::Ok) {
        result_.outcome = SplitResult::Outcome::Cancelled;
        return false;
      }
    }
    if (!waitForSpace(length)) return false;
    if (followed_) {
      // The medium appeared at a new mount point: its part path is checked afresh.
      followed_ = false;
      return startPart(partNumber, length);
    }
    Handle handle = FileInterface::kNoHandle;
    const int code = files_.createPart(partPath_, source_, handle);
    if (code != 0) {
      report(systemError(SplitError::Kind::PartOpen, partPath_, code));
      return false;
    }
    part_ = handle;
    if (const std::optional<FileId> id = files_.idOfHandle(handle)) written_.push_back(*id);
    ++result_.partsCreated;
    return true;
  }

  // The whole part must fit on a medium mounted at drive; a failed query
  // counts as too little space. What was written before is flushed first, so
  // that a medium taken out now holds complete parts. Retry with nothing
  // mounted at drive follows a single storage volume that has appeared
  // since the question first came for this part (followed_ is then set and
  // the part starts afresh there).
  bool waitForSpace(double needed) {
    if (!fitsOnMedium(needed)) return false;
    std::optional<std::vector<Volumes::Volume>> before;
    while (freeSpaceOnDrive() < needed) {
      if (std::optional<SplitError> error = flush()) {
        report(*error);
        return false;
      }
      if (!before) before = Volumes::storageVolumes(files_.mountedVolumes());
      const Answer answer = askUser(mediumQuestion(target_.drive));
      largest_.reset();  // the medium may have changed meanwhile
      if (answer != Answer::Retry) {
        result_.outcome = SplitResult::Outcome::Cancelled;
        return false;
      }
      if (!driveMounted() && followMedium(*before)) return followed_ = true;
    }
    return true;
  }

  // The root folder of drive, with a separator at its end.
  std::string driveRoot() const {
    std::string root = target_.drive;
    if (root.empty() || root.back() != Filenames::kSeparator) root += Filenames::kSeparator;
    return root;
  }

  // A medium is in the drive when a mount sits exactly at drive; the root
  // always is. Without one the free space counts as -1, so nothing is ever
  // written into the bare folder that a medium leaves behind.
  bool driveMounted() {
    if (driveRoot() == std::string(1, Filenames::kSeparator)) return true;
    const std::vector<Volumes::Volume> mounts = files_.mountedVolumes();
    return std::any_of(mounts.begin(), mounts.end(),
                       [&](const Volumes::Volume& v) { return v.mountPoint == target_.drive; });
  }

  double freeSpaceOnDrive() { return driveMounted() ? files_.freeSpace(driveRoot()) : -1; }

  // Exactly one storage volume that was not in before: drive becomes its
  // mount point and folder the same folder below it.
  bool followMedium(const std::vector<Volumes::Volume>& before) {
    std::vector<Volumes::Volume> appeared;
    for (const Volumes::Volume& volume : Volumes::storageVolumes(files_.mountedVolumes())) {
      if (std::none_of(before.begin(), before.end(),
                       [&](const Volumes::Volume& v) { return v.mountPoint == volume.mountPoint; }))
        appeared.push_back(volume);
    }
    const std::string& drive = target_.drive;
    const std::string& path = target_.folder;
    const bool below = path.compare(0, drive.size(), drive) == 0 &&
                       (path.size() == drive.size() || path[drive.size()] == Filenames::kSeparator);
    if (appeared.size() != 1 || drive.empty() || !below) return false;
    target_.folder = appeared.front().mountPoint + path.substr(drive.size());
    target_.drive = appeared.front().mountPoint;
    return true;
  }

  // A part longer than the largest file the medium holds (FAT: 4 GiB - 1) is
  // refused before anything of it is written.
  bool fitsOnMedium(double length) {
    if (!largest_) largest_ = files_.maxFileSize(driveRoot());
    const double largest = *largest_;
    if (!(length > largest)) return true;
    result_.error = SplitError{SplitError::Kind::PartOpen, partPath_, EFBIG, {}};
    result_.outcome = SplitResult::Outcome::Failed;
    askUser(fileSizeLimitMessage(target_.drive, largest));
    return false;
  }

  // Copies the next block of the part, never past its end. False: go to the
  // ending.
  bool copyBlock(double& partRemaining) {
    std::size_t copied = 0;
    if (rangeCopy_) {
      if (!copyRange(partRemaining, copied)) return false;
      if (copied > 0) return true;
    }
    return copyThroughBuffer(partRemaining);
  }

  // One range copy. When the system refuses it for these two files, or
  // copies nothing before the source's end, the rest of the run copies
  // through the buffer from where the range copies stopped. False: a failure
  // was reported.
  bool copyRange(double& partRemaining, std::size_t& copied) {
    const std::size_t size = partRemaining < static_cast<double>(rangeSize_.next())
                                 ? static_cast<std::size_t>(partRemaining)
                                 : rangeSize_.next();
    const auto start = std::chrono::steady_clock::now();
    const int code = files_.copyRange(source_, part_, size, copied);
    rangeSize_.took(std::chrono::steady_clock::now() - start, copied == size);
    counted(copied, partRemaining);
    if (code != 0 && !FileInterface::refusesRangeCopy(code)) {
      report(systemError(SplitError::Kind::Write, partPath_, code));
      return false;
    }
    if (code != 0 || copied == 0) rangeCopy_ = false;
    return true;
  }

  void counted(std::size_t bytes, double& partRemaining) {
    if (bytes > 0) partDirty_ = true;
    partRemaining -= static_cast<double>(bytes);
    result_.bytesDone += static_cast<double>(bytes);
  }

  // One read and one write of at most bufferSize bytes; a short write is
  // completed.
  bool copyThroughBuffer(double& partRemaining) {
    const std::size_t toRead = partRemaining > static_cast<double>(job_.bufferSize)
                                   ? job_.bufferSize
                                   : static_cast<std::size_t>(partRemaining);
    std::size_t bytesRead = 0;
    int code = files_.read(source_, job_.buffer, toRead, bytesRead);
    if (code != 0) {
      report(systemError(SplitError::Kind::Read, job_.sourcePath, code));
      return false;
    }
    if (bytesRead == 0) {
      // The source ended before the size taken at the start.
      report({SplitError::Kind::Read, job_.sourcePath, 0, kSourceShrankDetail});
      return false;
    }
    std::size_t written = 0;
    std::optional<SplitError> error;
    while (written < bytesRead) {
      std::size_t bytesWritten = 0;
      code = files_.write(part_, job_.buffer + written, bytesRead - written, bytesWritten);
      if (code != 0) {
        error = systemError(SplitError::Kind::Write, partPath_, code);
        break;
      }
      if (bytesWritten == 0) {
        error = SplitError{SplitError::Kind::Write, partPath_, 0, kNoProgressDetail};
        break;
      }
      written += bytesWritten;
    }
    counted(written, partRemaining);
    if (error) {
      report(*error);
      return false;
    }
    return true;
  }

  bool closePart() {
    const int code = files_.close(part_);
    part_ = FileInterface::kNoHandle;
    partDirty_ = false;
    lastClosedPath_ = partPath_;
    closedUnflushed_ = true;
    if (code != 0) {
      report(systemError(SplitError::Kind::Write, partPath_, code));
      return false;
    }
    return true;
  }

  // Flushes the open part and the file system of the parts closed since the
  // last flush.
  std::optional<SplitError> flush() {
    if (part_ != FileInterface::kNoHandle && partDirty_) {
      partDirty_ = false;
      if (const int code = files_.sync(part_)) return systemError(SplitError::Kind::Write, partPath_, code);
    }
    if (closedUnflushed_) {
      closedUnflushed_ = false;
      if (const int code = files_.syncFileSystem(Filenames::getFolder(lastClosedPath_))) {
        return systemError(SplitError::Kind::Write, lastClosedPath_, code);
      }
    }
    return std::nullopt;
  }

  SplitError systemError(SplitError::Kind kind, const std::string& path, int code) {
    return SplitError{kind, path, code, files_.errorText(code)};
  }

  void report(const SplitError& error) {
    result_.error = error;
    result_.outcome = SplitResult::Outcome::Failed;
    askUser(errorMessage(error));
  }

  Answer askUser(const Message& message) {
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
  Handle part_ = FileInterface::kNoHandle;
  TargetRecord target_;  // drive and folder follow the medium
  bool rangeCopy_;       // until the system refuses it
  RangeCopySize rangeSize_;
  bool followed_ = false;
  std::optional<double> largest_;  // of the medium at drive, asked once per medium
  std::optional<FileId> sourceId_;
  std::vector<FileId> written_;  // the parts of this run
  std::string partPath_;
  std::string lastClosedPath_;
  bool partDirty_ = false;
  bool closedUnflushed_ = false;
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
