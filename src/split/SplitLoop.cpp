// SPDX-License-Identifier: GPL-3.0-or-later
#include "split/SplitLoop.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

#include "fileservices/Filenames.h"
#include "split/Guarded.h"

namespace vornak {

namespace {

using Handle = FileInterface::Handle;

// One run of the loop with its ending. Byte counts are doubles; they become
// size_t only where a block is read or written.
class SplitRun {
 public:
  SplitRun(const SplitJob& job, FileInterface& files, SplitFrontEnd& frontEnd)
      : job_(job), files_(files), frontEnd_(frontEnd), source_(job.source), target_(job.target) {}

  SplitResult Copy() {
    const double step = std::trunc(job_.FileSize / 100) + 1;
    double nextMark = step;
    std::int32_t partNumber = 1;
    double partRemaining = 0;
    sourceId_ = files_.IdOfHandle(source_);
    if (!sourceId_) sourceId_ = files_.IdOfPath(job_.sourcefile);

    bool ended = false;
    while (!ended && result_.bytesDone < job_.FileSize) {
      failure_.clear();
      if (partRemaining == 0) {
        partRemaining = job_.FileSize - result_.bytesDone;
        if (partRemaining > job_.partsize) partRemaining = job_.partsize;
        if (!StartPart(partNumber, partRemaining)) break;
        ++partNumber;
      }
      ended = !CopyBlock(partRemaining);
      if (ended) break;
      if (result_.bytesDone > nextMark) {
        const float percent = static_cast<float>(result_.bytesDone / job_.FileSize * 100);
        Guarded([&] { frontEnd_.SetProgress(percent); });
        nextMark += step;
      }
      if (partRemaining == 0 && !ClosePart()) break;
      if (frontEnd_.CancelFlag()) {
        result_.outcome = SplitResult::Outcome::Cancelled;
        break;
      }
      if (!failure_.empty()) {
        Report({SplitError::Kind::Processing, partPath_, 0, failure_});
        break;
      }
      frontEnd_.Yield();
    }
    if (!result_.error && result_.outcome != SplitResult::Outcome::Cancelled &&
        result_.bytesDone >= job_.FileSize) {
      result_.outcome = SplitResult::Outcome::Completed;
    }
    result_.target = target_;
    Ending();
    return result_;
  }

  // Every outcome: source closed, everything written flushed and the part
  // closed, progress window unloaded, main window back with "Done.". Nothing
  // is deleted.
  void Ending() {
    if (source_ != FileInterface::kNoHandle) {
      files_.Close(source_);
      source_ = FileInterface::kNoHandle;
    }
    // A failure that was already reported stands alone; the flush still runs.
    const bool reportable = !result_.error.has_value();
    std::optional<SplitError> flushError = Flush();
    if (part_ != FileInterface::kNoHandle) {
      const int code = files_.Close(part_);
      part_ = FileInterface::kNoHandle;
      if (code != 0 && !flushError) flushError = SystemError(SplitError::Kind::Write, partPath_, code);
    }
    if (flushError && reportable) Report(*flushError);
    Guarded([&] { frontEnd_.UnloadProgress(); });
    Guarded([&] { frontEnd_.Yield(); });
    Guarded([&] { frontEnd_.EnableMain(); });
    Guarded([&] { frontEnd_.SetMainStatus("Done."); });
  }

 private:
  // Names the part, asks before replacing what stands there, waits for a
  // medium with room for the whole part (length bytes) and creates it. False:
  // go to the ending.
  bool StartPart(std::int32_t partNumber, double length) {
    partPath_ = PartPath(target_, partNumber);
    Guarded([&] { frontEnd_.SetStatus2("into " + partPath_); });
    // A link counts as what stands there, dangling or not: it is replaced,
    // never written through.
    const EntryKind existing = files_.LookupEntry(partPath_);
    if (existing == EntryKind::Folder) {
      Report(SystemError(SplitError::Kind::PartOpen, partPath_, FileInterface::kIsFolderError));
      return false;
    }
    if (existing != EntryKind::None) {
      // A part never replaces the file being split or a part of this run (a
      // second name for the same file), whatever the overwrite mode.
      const std::optional<FileId> id =
          existing == EntryKind::Link ? std::nullopt : files_.IdOfPath(partPath_);
      if (id && id == sourceId_) {
        Report({SplitError::Kind::PartOpen, partPath_, 0, kPartIsSourceDetail});
        return false;
      }
      if (id && std::find(written_.begin(), written_.end(), *id) != written_.end()) {
        Report({SplitError::Kind::PartOpen, partPath_, 0, kPartIsEarlierPartDetail});
        return false;
      }
      if (job_.target.saveoverwrite != 1 && AskUser(OverwriteQuestion(partPath_)) != Answer::Ok) {
        result_.outcome = SplitResult::Outcome::Cancelled;
        return false;
      }
    }
    if (!WaitForSpace(length)) return false;
    if (followed_) {
      // The medium appeared at a new mount point: its part path is checked afresh.
      followed_ = false;
      return StartPart(partNumber, length);
    }
    Handle handle = FileInterface::kNoHandle;
    const int code = files_.CreatePart(partPath_, source_, handle);
    if (code != 0) {
      Report(SystemError(SplitError::Kind::PartOpen, partPath_, code));
      return false;
    }
    part_ = handle;
    if (const std::optional<FileId> id = files_.IdOfHandle(handle)) written_.push_back(*id);
    ++result_.partsCreated;
    return true;
  }

  // The whole part must fit on a medium mounted at savedrive; a failed query
  // counts as too little space. What was written before is flushed first, so
  // that a medium taken out now holds complete parts. Retry with nothing
  // mounted at savedrive follows a single storage volume that has appeared
  // since the question first came for this part (followed_ is then set and
  // the part starts afresh there).
  bool WaitForSpace(double needed) {
    if (!FitsOnMedium(needed)) return false;
    std::optional<std::vector<Volumes::Volume>> before;
    while (FreeSpaceOnDrive() < needed) {
      if (std::optional<SplitError> error = Flush()) {
        Report(*error);
        return false;
      }
      if (!before) before = Volumes::StorageVolumes(files_.MountedVolumes());
      const Answer answer = AskUser(MediumQuestion(target_.savedrive));
      largest_.reset();  // the medium may have changed meanwhile
      if (answer != Answer::Retry) {
        result_.outcome = SplitResult::Outcome::Cancelled;
        return false;
      }
      if (!DriveMounted() && FollowMedium(*before)) return followed_ = true;
    }
    return true;
  }

  // The root folder of savedrive, with a separator at its end.
  std::string DriveRoot() const {
    std::string root = target_.savedrive;
    if (root.empty() || root.back() != Filenames::kSeparator) root += Filenames::kSeparator;
    return root;
  }

  // A medium is in the drive when a mount sits exactly at savedrive; the root
  // always is. Without one the free space counts as -1, so nothing is ever
  // written into the bare folder that a medium leaves behind.
  bool DriveMounted() {
    if (DriveRoot() == std::string(1, Filenames::kSeparator)) return true;
    const std::vector<Volumes::Volume> mounts = files_.MountedVolumes();
    return std::any_of(mounts.begin(), mounts.end(),
                       [&](const Volumes::Volume& v) { return v.mountPoint == target_.savedrive; });
  }

  double FreeSpaceOnDrive() { return DriveMounted() ? files_.FreeSpace(DriveRoot()) : -1; }

  // Exactly one storage volume that was not in before: savedrive becomes its
  // mount point and savepath the same folder below it.
  bool FollowMedium(const std::vector<Volumes::Volume>& before) {
    std::vector<Volumes::Volume> appeared;
    for (const Volumes::Volume& volume : Volumes::StorageVolumes(files_.MountedVolumes())) {
      if (std::none_of(before.begin(), before.end(),
                       [&](const Volumes::Volume& v) { return v.mountPoint == volume.mountPoint; }))
        appeared.push_back(volume);
    }
    const std::string& drive = target_.savedrive;
    const std::string& path = target_.savepath;
    const bool below = path.compare(0, drive.size(), drive) == 0 &&
                       (path.size() == drive.size() || path[drive.size()] == Filenames::kSeparator);
    if (appeared.size() != 1 || drive.empty() || !below) return false;
    target_.savepath = appeared.front().mountPoint + path.substr(drive.size());
    target_.savedrive = appeared.front().mountPoint;
    return true;
  }

  // A part longer than the largest file the medium holds (FAT: 4 GiB - 1) is
  // refused before anything of it is written.
  bool FitsOnMedium(double length) {
    if (!largest_) largest_ = files_.MaxFileSize(DriveRoot());
    const double largest = *largest_;
    if (!(length > largest)) return true;
    result_.error = SplitError{SplitError::Kind::PartOpen, partPath_, EFBIG, {}};
    result_.outcome = SplitResult::Outcome::Failed;
    AskUser(FileSizeLimitMessage(target_.savedrive, largest));
    return false;
  }

  // One read and one write of at most buffersize bytes, never past the part's
  // end; a short write is completed. False: go to the ending.
  bool CopyBlock(double& partRemaining) {
    const std::size_t toRead = partRemaining > static_cast<double>(job_.buffersize)
                                   ? job_.buffersize
                                   : static_cast<std::size_t>(partRemaining);
    std::size_t bytesRead = 0;
    int code = files_.Read(source_, job_.buffer, toRead, bytesRead);
    if (code != 0) {
      Report(SystemError(SplitError::Kind::Read, job_.sourcefile, code));
      return false;
    }
    if (bytesRead == 0) {
      // The source ended before the size taken at the start.
      Report({SplitError::Kind::Read, job_.sourcefile, 0, kSourceShrankDetail});
      return false;
    }
    std::size_t written = 0;
    std::optional<SplitError> error;
    while (written < bytesRead) {
      std::size_t bytesWritten = 0;
      code = files_.Write(part_, job_.buffer + written, bytesRead - written, bytesWritten);
      if (code != 0) {
        error = SystemError(SplitError::Kind::Write, partPath_, code);
        break;
      }
      if (bytesWritten == 0) {
        error = SplitError{SplitError::Kind::Write, partPath_, 0, kNoProgressDetail};
        break;
      }
      written += bytesWritten;
    }
    if (written > 0) partDirty_ = true;
    partRemaining -= static_cast<double>(written);
    result_.bytesDone += static_cast<double>(written);
    if (error) {
      Report(*error);
      return false;
    }
    return true;
  }

  bool ClosePart() {
    const int code = files_.Close(part_);
    part_ = FileInterface::kNoHandle;
    partDirty_ = false;
    lastClosedPath_ = partPath_;
    closedUnflushed_ = true;
    if (code != 0) {
      Report(SystemError(SplitError::Kind::Write, partPath_, code));
      return false;
    }
    return true;
  }

  // Flushes the open part and the file system of the parts closed since the
  // last flush.
  std::optional<SplitError> Flush() {
    if (part_ != FileInterface::kNoHandle && partDirty_) {
      partDirty_ = false;
      if (const int code = files_.Sync(part_)) return SystemError(SplitError::Kind::Write, partPath_, code);
    }
    if (closedUnflushed_) {
      closedUnflushed_ = false;
      if (const int code = files_.SyncFileSystem(Filenames::GetFolder(lastClosedPath_))) {
        return SystemError(SplitError::Kind::Write, lastClosedPath_, code);
      }
    }
    return std::nullopt;
  }

  SplitError SystemError(SplitError::Kind kind, const std::string& path, int code) {
    return SplitError{kind, path, code, files_.ErrorText(code)};
  }

  void Report(const SplitError& error) {
    result_.error = error;
    result_.outcome = SplitResult::Outcome::Failed;
    AskUser(ErrorMessage(error));
  }

  Answer AskUser(const Message& message) {
    try {
      return frontEnd_.Ask(message);
    } catch (...) {
      return Answer::Cancel;  // a question that cannot be shown is not consent
    }
  }

  // Runs a front-end operation; its failure is kept for the end of the pass.
  template <typename Operation>
  void Guarded(Operation operation) {
    RunGuarded(failure_, operation);
  }

  const SplitJob& job_;
  FileInterface& files_;
  SplitFrontEnd& frontEnd_;
  Handle source_;
  Handle part_ = FileInterface::kNoHandle;
  TargetRecord target_;  // savedrive and savepath follow the medium
  bool followed_ = false;
  std::optional<double> largest_;  // of the medium at savedrive, asked once per medium
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

CopyBuffer AllocateCopyBuffer(std::size_t size) {
  if (size == 0 || size > SIZE_MAX - kCopyBufferAlignment) return nullptr;
  return CopyBuffer(
      static_cast<char*>(::operator new (size, std::align_val_t{kCopyBufferAlignment}, std::nothrow)));
}

SplitResult RunSplitLoop(const SplitJob& job, FileInterface& files, SplitFrontEnd& frontEnd) {
  return SplitRun(job, files, frontEnd).Copy();
}

void RunSplitEnding(FileInterface& files, SplitFrontEnd& frontEnd, FileInterface::Handle source) {
  SplitJob job;
  job.source = source;
  SplitRun(job, files, frontEnd).Ending();
}

}  // namespace vornak
