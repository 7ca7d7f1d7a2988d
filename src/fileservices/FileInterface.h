// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The platform file interface the split works through. The real ones are POSIX
// (posix/PosixFileInterface.h) and Win32 (win32/Win32FileInterface.h); tests
// use a fake that injects faults. Every call reports failure as the system's
// own error number (errno, or the Win32 last-error code; 0 = success); a path
// that holds a NUL is refused (EINVAL, ERROR_INVALID_NAME), never cut short.
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fileservices/Volumes.h"

namespace vornak {

enum class EntryKind { None, File, Folder, Other, Link };

// Identity of a file system object: a part path must never name the source.
struct FileId {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  bool operator==(const FileId&) const = default;
};

// What tells that a file has changed: its size and the time of its last write.
struct FileStamp {
  double size = 0;
  std::int64_t modified = 0;  // in the system's own unit
  bool operator==(const FileStamp&) const = default;
};

class FileInterface {
 public:
  // Wide enough for a file descriptor and for a Win32 HANDLE; -1 is also the
  // value of INVALID_HANDLE_VALUE.
  using Handle = std::intptr_t;
  static constexpr Handle kNoHandle = -1;
  // The error number for "a folder stands where a file is to be created":
  // EISDIR, or on Windows ERROR_ACCESS_DENIED, which CreateFileW gives then.
#ifdef _WIN32
  static constexpr int kIsFolderError = 5;
#else
  static constexpr int kIsFolderError = EISDIR;
#endif
  // The error number of a system without range copies: ENOSYS, or on Windows
  // ERROR_NOT_SUPPORTED.
#ifdef _WIN32
  static constexpr int kNoRangeCopy = 50;
#else
  static constexpr int kNoRangeCopy = ENOSYS;
#endif
  // Whether code means that the system will not range-copy between these two
  // files (another file system, a kind of file or a system without it), so
  // that they are to be copied through a buffer instead; any other error is a
  // real failure of the copy.
  static bool refusesRangeCopy(int code) {
#ifdef _WIN32
    return code == kNoRangeCopy || code == 1;  // ERROR_INVALID_FUNCTION
#else
    return code == EXDEV || code == EINVAL || code == EOPNOTSUPP || code == ENOSYS || code == EBADF ||
           code == ETXTBSY;
#endif
  }
  // Whether code means that the medium is full or takes no file this large:
  // another medium may take the part.
  static bool meansMediumFull(int code) {
#ifdef _WIN32
    return code == 112 || code == 39 || code == 223;  // DISK_FULL, HANDLE_DISK_FULL, FILE_TOO_LARGE
#else
    return code == ENOSPC || code == EFBIG || code == EDQUOT;
#endif
  }
  // Whether code means that something stands at a path already.
  static bool meansExists(int code) {
#ifdef _WIN32
    return code == 80 || code == 183;  // FILE_EXISTS, ALREADY_EXISTS
#else
    return code == EEXIST;
#endif
  }
  // Whether code means that a file name is longer than the file system takes.
  static bool meansNameTooLong(int code) {
#ifdef _WIN32
    return code == 206;  // FILENAME_EXCED_RANGE
#else
    return code == ENAMETOOLONG;
#endif
  }

  virtual ~FileInterface() = default;
  // The source: read-only, others may read it too.
  virtual int openRead(const std::string& path, Handle& handle) = 0;
  // A part under its temporary name: a new file, with the read and write
  // permissions of the file open as like (the source). Fails when anything
  // stands at path, a link included. While the handle is open, removeUnused
  // leaves the file alone, in this process and in any other.
  virtual int createPart(const std::string& path, Handle like, Handle& handle) = 0;
  // Gives a complete part its name: from is renamed to to, replacing what
  // stands at to (a link itself, never its target), and the change is on
  // the medium when the call returns.
  virtual int rename(const std::string& from, const std::string& to) = 0;
  virtual int remove(const std::string& path) = 0;
  // Removes the file at path unless a part handle holds it open (here or in
  // another program): a temporary part left behind by a run that was killed.
  virtual int removeUnused(const std::string& path) = 0;
  // 0 when the file at path could be removed or replaced, else why not.
  virtual int replaceable(const std::string& path) = 0;
  // The names in a folder, without "." and "..".
  virtual std::vector<std::string> folderEntries(const std::string& folder) = 0;
  // Moves the position of a file to offset bytes from its start.
  virtual int seek(Handle handle, double offset) = 0;
  // One read of at most size bytes; bytesRead 0 means end of file. EINTR is
  // retried inside.
  virtual int read(Handle handle, void* buffer, std::size_t size, std::size_t& bytesRead) = 0;
  // One write; it may write fewer bytes than asked (bytesWritten tells).
  virtual int write(Handle handle, const void* buffer, std::size_t size, std::size_t& bytesWritten) = 0;
  // Copies at most size bytes from the current position of from to the
  // current position of to inside the system, which may share the blocks of
  // from instead of copying them, and moves both positions on by bytesCopied.
  // It may copy fewer bytes than asked; 0 bytes and no error: nothing copied
  // (at the end of from, or the system gave up). By default the system has
  // no range copies (kNoRangeCopy).
  virtual int copyRange(Handle from, Handle to, std::size_t size, std::size_t& bytesCopied) {
    (void)from, (void)to, (void)size;
    bytesCopied = 0;
    return kNoRangeCopy;
  }
  // Starts writing what was written to the file so far to its medium, and
  // waits until all but its latest bytes are written: the data waiting for
  // the medium stays about one call's worth, and sync has little left to do.
  // A failure of the medium reported here is not reported again by sync. By
  // default the system writes in its own time.
  virtual int writeBehind(Handle handle, std::size_t latest) {
    (void)handle, (void)latest;
    return 0;
  }
  // Flushes a file's data to its medium.
  virtual int sync(Handle handle) = 0;
  // Flushes everything written to the file system that holds path.
  virtual int syncFileSystem(const std::string& path) = 0;
  virtual int close(Handle handle) = 0;
  // What stands at path, hidden entries included; links are followed.
  virtual EntryKind lookup(const std::string& path) = 0;
  // What stands at path itself: a link, even a dangling one, is a Link.
  virtual EntryKind lookupEntry(const std::string& path) = 0;
  virtual std::optional<FileId> idOfPath(const std::string& path) = 0;
  virtual std::optional<FileId> idOfHandle(Handle handle) = 0;
  // Size and time of the last change of the file at path, links followed.
  virtual std::optional<FileStamp> stampOfPath(const std::string& path) = 0;
  // Bytes available to the caller on the file system holding root, or -1.
  virtual double freeSpace(const std::string& root) = 0;
  // The largest file, in bytes, that the file system holding root can store;
  // infinity when it sets no limit of its own. FAT gives 4 GiB - 1 (on Linux
  // by the type in the mount table, on Windows by the file system name that
  // GetVolumeInformationW reports for the drive). A failed query counts as no
  // limit: the write then reports whatever the medium refuses.
  virtual double maxFileSize(const std::string& root) = 0;
  // Every mount of the system's mount table as it is now, in table order; the
  // split follows a medium that appears at a new mount point with it.
  virtual std::vector<Volumes::Volume> mountedVolumes() = 0;
  // The system's message for an error number (getSystemErrorText).
  virtual std::string errorText(int code) = 0;
};

}  // namespace vornak
