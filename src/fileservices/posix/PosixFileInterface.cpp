// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileservices/posix/PosixFileInterface.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>

#include "fileservices/Filenames.h"
#include "fileservices/HugeFileFunctions.h"
#include "fileservices/posix/MountTable.h"

namespace vornak {

namespace {

// Runs a system call again for as long as a signal interrupts it.
template <typename Call>
auto retrying(Call call) {
  decltype(call()) result;
  do {
    result = call();
  } while (result < 0 && errno == EINTR);
  return result;
}

// The system reads a path up to its first NUL: such a path would name
// another file.
bool holdsNul(const std::string& path) {
  return path.find('\0') != std::string::npos;
}

int openWith(const std::string& path, int flags, FileInterface::Handle& handle, mode_t mode = 0666) {
  handle = FileInterface::kNoHandle;
  if (path.empty()) return ENOENT;
  if (holdsNul(path)) return EINVAL;
  const int fd = retrying([&] { return ::open(path.c_str(), flags, mode); });
  if (fd < 0) return errno;
  handle = fd;
  return 0;
}

int fd(FileInterface::Handle handle) {
  return static_cast<int>(handle);
}

FileId idOf(const struct stat& info) {
  return FileId{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

}  // namespace

// O_NONBLOCK changes nothing for regular files, but a FIFO that stands at a
// path now gives an error at once instead of holding the window forever.
int PosixFileInterface::openRead(const std::string& path, Handle& handle) {
  return openWith(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK, handle);
}

int PosixFileInterface::createPart(const std::string& path, Handle like, Handle& handle) {
  // The part may be read and written by whoever may read and write the
  // source; the umask still applies. Without the source's mode only the owner.
  struct stat source {};
  const mode_t mode = ::fstat(fd(like), &source) == 0 ? source.st_mode & 0666 : 0600;
  const int code =
      openWith(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, handle, mode);
  // The lock tells another run's removeUnused that the file is in use. A file
  // system without locks still gets the part.
  if (code == 0) ::flock(fd(handle), LOCK_EX | LOCK_NB);
  return code;
}

int PosixFileInterface::rename(const std::string& from, const std::string& to) {
  if (holdsNul(from) || holdsNul(to)) return EINVAL;
  if (::rename(from.c_str(), to.c_str()) != 0) return errno;
  // The new name is on the medium once its folder is.
  return syncFolder(Filenames::getFolder(to, '/'));
}

int PosixFileInterface::remove(const std::string& path) {
  if (holdsNul(path)) return EINVAL;
  return ::unlink(path.c_str()) == 0 ? 0 : errno;
}

int PosixFileInterface::removeUnused(const std::string& path) {
  Handle handle = kNoHandle;
  if (const int code = openWith(path, O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, handle)) {
    return code == ELOOP ? remove(path) : code;  // a link holds nothing open
  }
  const int code = ::flock(fd(handle), LOCK_EX | LOCK_NB) == 0 ? remove(path) : errno;
  ::close(fd(handle));
  return code == EWOULDBLOCK ? EBUSY : code;
}

int PosixFileInterface::replaceable(const std::string& path) {
  if (holdsNul(path)) return EINVAL;
  std::string folder = Filenames::getFolder(path, '/');
  if (folder.empty()) folder.assign(1, '.');
  if (::access(folder.c_str(), W_OK | X_OK) != 0) return errno;
  // In a sticky folder (/tmp) only the owners of the folder or of the file may.
  struct stat folderInfo {
  }, fileInfo{};
  if (::geteuid() != 0 && ::stat(folder.c_str(), &folderInfo) == 0 && (folderInfo.st_mode & S_ISVTX) != 0 &&
      ::lstat(path.c_str(), &fileInfo) == 0 && fileInfo.st_uid != ::geteuid() &&
      folderInfo.st_uid != ::geteuid())
    return EPERM;
  return 0;
}

std::vector<std::string> PosixFileInterface::folderEntries(const std::string& folder) {
  std::vector<std::string> names;
  if (holdsNul(folder)) return names;
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return names;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(dir);
  return names;
}

int PosixFileInterface::seek(Handle handle, double offset) {
  return ::lseek(fd(handle), static_cast<off_t>(offset), SEEK_SET) < 0 ? errno : 0;
}

int PosixFileInterface::read(Handle handle, void* buffer, std::size_t size, std::size_t& bytesRead) {
  bytesRead = 0;
  const ssize_t result = retrying([&] { return ::read(fd(handle), buffer, size); });
  if (result < 0) return errno;
  bytesRead = static_cast<std::size_t>(result);
  return 0;
}

int PosixFileInterface::write(Handle handle, const void* buffer, std::size_t size,
                              std::size_t& bytesWritten) {
  bytesWritten = 0;
  const ssize_t result = retrying([&] { return ::write(fd(handle), buffer, size); });
  if (result < 0) return errno;
  bytesWritten = static_cast<std::size_t>(result);
  return 0;
}

int PosixFileInterface::copyRange(Handle from, Handle to, std::size_t size, std::size_t& bytesCopied) {
  bytesCopied = 0;
  const ssize_t result =
      retrying([&] { return ::copy_file_range(fd(from), nullptr, fd(to), nullptr, size, 0); });
  if (result < 0) return errno;
  bytesCopied = static_cast<std::size_t>(result);
  return 0;
}

int PosixFileInterface::writeBehind(Handle handle, std::size_t latest) {
  const off_t end = ::lseek(fd(handle), 0, SEEK_CUR);
  if (end < 0) return errno;
  const off_t settled =
      end - static_cast<off_t>(std::min<std::size_t>(latest, static_cast<std::size_t>(end)));
  // A system without it writes in its own time.
  const auto syncRange = [&](off_t length, unsigned flags) {
    if (retrying([&] { return ::sync_file_range(fd(handle), 0, length, flags); }) == 0) return 0;
    return errno == ENOSYS || errno == EINVAL || errno == ESPIPE ? 0 : errno;
  };
  // Only the pages still dirty are queued: those before the latest were
  // queued by an earlier call.
  if (const int code = syncRange(0, SYNC_FILE_RANGE_WRITE)) return code;
  return settled > 0 ? syncRange(settled, SYNC_FILE_RANGE_WAIT_BEFORE) : 0;
}

int PosixFileInterface::sync(Handle handle) {
  return retrying([&] { return ::fdatasync(fd(handle)); }) == 0 ? 0 : errno;
}

int PosixFileInterface::syncFileSystem(const std::string& path) {
  // The folder of a part path, or the path itself when it names a folder.
  std::string folder = lookup(path) == EntryKind::Folder ? path : Filenames::getFolder(path, '/');
  if (folder.empty()) folder.assign(1, '.');
  Handle handle = kNoHandle;
  if (openWith(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC, handle) == 0) {
    const int result = ::syncfs(fd(handle));
    const int error = result == 0 ? 0 : errno;
    ::close(fd(handle));
    if (result == 0) return 0;
    if (error != ENOSYS) return error;
  }
  // Without a way to name the file system, flush them all.
  ::sync();
  return 0;
}

int PosixFileInterface::syncFolder(const std::string& folder) {
  Handle handle = kNoHandle;
  if (const int code = openWith(folder.empty() ? "." : folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC, handle))
    return code;
  // Some file systems (vfat among them) cannot flush a folder on its own:
  // their folder is written with its files.
  int code = retrying([&] { return ::fsync(fd(handle)); }) == 0 ? 0 : errno;
  if (code == EINVAL || code == EROFS) code = 0;
  ::close(fd(handle));
  return code;
}

int PosixFileInterface::close(Handle handle) {
  // A part is flushed before it is closed.
  return ::close(fd(handle)) == 0 ? 0 : errno;
}

namespace {

EntryKind kindOf(const std::string& path, int (*query)(const char*, struct stat*)) {
  struct stat info {};
  if (path.empty() || holdsNul(path) || query(path.c_str(), &info) != 0) return EntryKind::None;
  if (S_ISREG(info.st_mode)) return EntryKind::File;
  if (S_ISDIR(info.st_mode)) return EntryKind::Folder;
  if (S_ISLNK(info.st_mode)) return EntryKind::Link;
  return EntryKind::Other;
}

}  // namespace

EntryKind PosixFileInterface::lookup(const std::string& path) {
  return kindOf(path, ::stat);
}

EntryKind PosixFileInterface::lookupEntry(const std::string& path) {
  return kindOf(path, ::lstat);
}

std::optional<FileId> PosixFileInterface::idOfPath(const std::string& path) {
  struct stat info {};
  if (path.empty() || holdsNul(path) || ::stat(path.c_str(), &info) != 0) return std::nullopt;
  return idOf(info);
}

std::optional<FileId> PosixFileInterface::idOfHandle(Handle handle) {
  struct stat info {};
  if (::fstat(fd(handle), &info) != 0) return std::nullopt;
  return idOf(info);
}

std::optional<FileStamp> PosixFileInterface::stampOfPath(const std::string& path) {
  struct stat info {};
  if (path.empty() || holdsNul(path) || ::stat(path.c_str(), &info) != 0) return std::nullopt;
  return FileStamp{static_cast<double>(info.st_size),
                   std::int64_t{info.st_mtim.tv_sec} * 1000000000 + info.st_mtim.tv_nsec};
}

double PosixFileInterface::freeSpace(const std::string& root) {
  return HugeFileFunctions::getHugeDiskFreeSpace(root);
}

double PosixFileInterface::maxFileSize(const std::string& root) {
  const std::string point = posix::mountPointOf(root);
  const std::vector<Volumes::Volume> mounts = mountedVolumes();
  // The latest mount at that point is the one in view.
  for (auto it = mounts.rbegin(); it != mounts.rend(); ++it) {
    if (it->mountPoint == point) return Volumes::maxFileSizeOf(it->fsType);
  }
  return std::numeric_limits<double>::infinity();
}

std::vector<Volumes::Volume> PosixFileInterface::mountedVolumes() {
  return Volumes::readMountTable();
}

std::string PosixFileInterface::errorText(int code) {
  return HugeFileFunctions::getSystemErrorText(code);
}

PosixFileInterface& systemFileInterface() {
  static PosixFileInterface instance;
  return instance;
}

}  // namespace vornak
