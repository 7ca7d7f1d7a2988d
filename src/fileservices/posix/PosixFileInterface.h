// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real file interface on POSIX systems: plain system calls on file
// descriptors.
#include "fileservices/FileInterface.h"

namespace vornak {

class PosixFileInterface : public FileInterface {
 public:
  int openRead(const std::string& path, Handle& handle) override;
  // Exclusive, and locked with flock(2) while open.
  int createPart(const std::string& path, Handle like, Handle& handle) override;
  int rename(const std::string& from, const std::string& to) override;
  int remove(const std::string& path) override;
  int removeUnused(const std::string& path) override;
  // The folder must be writable (and, when sticky, ours or the file's).
  int replaceable(const std::string& path) override;
  std::vector<std::string> folderEntries(const std::string& folder) override;
  int seek(Handle handle, double offset) override;
  int read(Handle handle, void* buffer, std::size_t size, std::size_t& bytesRead) override;
  // One write call; the caller writes the rest of a short write.
  int write(Handle handle, const void* buffer, std::size_t size, std::size_t& bytesWritten) override;
  // copy_file_range(2) from and to the descriptors' own positions.
  int copyRange(Handle from, Handle to, std::size_t size, std::size_t& bytesCopied) override;
  int writeBehind(Handle handle, std::size_t latest) override;
  int sync(Handle handle) override;
  int syncFileSystem(const std::string& path) override;
  // Not retried on EINTR: the descriptor is gone either way.
  int close(Handle handle) override;
  EntryKind lookup(const std::string& path) override;
  EntryKind lookupEntry(const std::string& path) override;
  std::optional<FileId> idOfPath(const std::string& path) override;
  std::optional<FileId> idOfHandle(Handle handle) override;
  std::optional<FileStamp> stampOfPath(const std::string& path) override;
  double freeSpace(const std::string& root) override;
  // By the type of the mount that holds root, as libmount reads the table.
  double maxFileSize(const std::string& root) override;
  std::vector<Volumes::Volume> mountedVolumes() override;
  std::string errorText(int code) override;

 private:
  // Flushes a folder's entries (a new name) to the medium.
  static int syncFolder(const std::string& folder);
};

// The one instance the program uses.
PosixFileInterface& systemFileInterface();

}  // namespace vornak
