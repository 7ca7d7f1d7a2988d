// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileservices/posix/PosixFileInterface.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

#include "fileservices/Filenames.h"
#include "fileservices/HugeFileFunctions.h"
#include "fileservices/posix/MountTable.h"

namespace vornak {

namespace {

// Runs a system call again for as long as a signal interrupts it.
template <typename Call>
auto Retrying(Call call) {
  decltype(call()) result;
  do {
    result = call();
  } while (result < 0 && errno == EINTR);
  return result;
}

// The system reads a path up to its first NUL: such a path would name
// another file.
bool HoldsNul(const std::string& path) {
  return path.find('\0') != std::string::npos;
}

int OpenWith(const std::string& path, int flags, FileInterface::Handle& handle, mode_t mode = 0666) {
  handle = FileInterface::kNoHandle;
  if (path.empty()) return ENOENT;
  if (HoldsNul(path)) return EINVAL;
  const int fd = Retrying([&] { return ::open(path.c_str(), flags, mode); });
  if (fd < 0) return errno;
  handle = fd;
  return 0;
}

int Fd(FileInterface::Handle handle) {
  return static_cast<int>(handle);
}

FileId IdOf(const struct stat& info) {
  return FileId{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

}  // namespace

// O_NONBLOCK changes nothing for regular files, but a FIFO that stands at a
// path now gives an error at once instead of holding the window forever.
int PosixFileInterface::OpenRead(const std::string& path, Handle& handle) {
  return OpenWith(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK, handle);
}

int PosixFileInterface::CreatePart(const std::string& path, Handle like, Handle& handle) {
  handle = kNoHandle;
  if (HoldsNul(path)) return EINVAL;
  // The part may be read and written by whoever may read and write the
  // source; the umask still applies. Without the source's mode only the owner.
  struct stat source {};
  const mode_t mode = ::fstat(like, &source) == 0 ? source.st_mode & 0666 : 0600;
  constexpr int kFlags = O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK;
  struct stat entry {};
  if (!path.empty() && ::lstat(path.c_str(), &entry) == 0 && S_ISLNK(entry.st_mode)) {
    // The link itself is replaced, wherever it points.
    if (::unlink(path.c_str()) != 0) return errno;
    return OpenWith(path, kFlags | O_EXCL, handle, mode);
  }
  return OpenWith(path, kFlags | O_TRUNC, handle, mode);
}

int PosixFileInterface::Read(Handle handle, void* buffer, std::size_t size, std::size_t& bytesRead) {
  bytesRead = 0;
  const ssize_t result = Retrying([&] { return ::read(Fd(handle), buffer, size); });
  if (result < 0) return errno;
  bytesRead = static_cast<std::size_t>(result);
  return 0;
}

int PosixFileInterface::Write(Handle handle, const void* buffer, std::size_t size,
                              std::size_t& bytesWritten) {
  bytesWritten = 0;
  const ssize_t result = Retrying([&] { return ::write(Fd(handle), buffer, size); });
  if (result < 0) return errno;
  bytesWritten = static_cast<std::size_t>(result);
  return 0;
}

int PosixFileInterface::Sync(Handle handle) {
  return Retrying([&] { return ::fdatasync(Fd(handle)); }) == 0 ? 0 : errno;
}

int PosixFileInterface::SyncFileSystem(const std::string& path) {
  // The folder of a part path, or the path itself when it names a folder.
  std::string folder = Lookup(path) == EntryKind::Folder ? path : Filenames::GetFolder(path, '/');
  if (folder.empty()) folder.assign(1, '.');
  Handle handle = kNoHandle;
  if (OpenWith(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC, handle) == 0) {
    const int result = ::syncfs(Fd(handle));
    const int error = result == 0 ? 0 : errno;
    ::close(Fd(handle));
    if (result == 0) return 0;
    if (error != ENOSYS) return error;
  }
  // Without a way to name the file system, flush them all.
  ::sync();
  return 0;
}

int PosixFileInterface::Close(Handle handle) {
#ifdef __linux__
  // Start writing what is still only in memory to the medium without waiting
  // for it: the disk works on a finished part while the next one is copied,
  // and the flush before a medium change or "Done." has little left to do.
  // Nothing depends on it succeeding (a read-only handle has nothing to write).
  ::sync_file_range(Fd(handle), 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
  return ::close(Fd(handle)) == 0 ? 0 : errno;
}

namespace {

EntryKind KindOf(const std::string& path, int (*query)(const char*, struct stat*)) {
  struct stat info {};
  if (path.empty() || HoldsNul(path) || query(path.c_str(), &info) != 0) return EntryKind::None;
  if (S_ISREG(info.st_mode)) return EntryKind::File;
  if (S_ISDIR(info.st_mode)) return EntryKind::Folder;
  if (S_ISLNK(info.st_mode)) return EntryKind::Link;
  return EntryKind::Other;
}

}  // namespace

EntryKind PosixFileInterface::Lookup(const std::string& path) {
  return KindOf(path, ::stat);
}

EntryKind PosixFileInterface::LookupEntry(const std::string& path) {
  return KindOf(path, ::lstat);
}

std::optional<FileId> PosixFileInterface::IdOfPath(const std::string& path) {
  struct stat info {};
  if (path.empty() || HoldsNul(path) || ::stat(path.c_str(), &info) != 0) return std::nullopt;
  return IdOf(info);
}

std::optional<FileId> PosixFileInterface::IdOfHandle(Handle handle) {
  struct stat info {};
  if (::fstat(Fd(handle), &info) != 0) return std::nullopt;
  return IdOf(info);
}

double PosixFileInterface::FreeSpace(const std::string& root) {
  return HugeFileFunctions::GetHugeDiskFreeSpace(root);
}

double PosixFileInterface::MaxFileSize(const std::string& root) {
  const std::string point = posix::MountPointOf(root);
  const std::vector<Volumes::Volume> mounts = MountedVolumes();
  // The latest mount at that point is the one in view.
  for (auto it = mounts.rbegin(); it != mounts.rend(); ++it) {
    if (it->mountPoint == point) return Volumes::MaxFileSizeOf(it->fsType);
  }
  return std::numeric_limits<double>::infinity();
}

std::vector<Volumes::Volume> PosixFileInterface::MountedVolumes() {
  return Volumes::ReadMountTable();
}

std::string PosixFileInterface::ErrorText(int code) {
  return HugeFileFunctions::GetSystemErrorText(code);
}

PosixFileInterface& SystemFileInterface() {
  static PosixFileInterface instance;
  return instance;
}

}  // namespace vornak
