// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real file interface on POSIX systems: plain system calls on file
// descriptors.
#include "fileservices/FileInterface.h"

namespace vornak {

class PosixFileInterface : public FileInterface {
 public:
  int OpenRead(const std::string& path, Handle& handle) override;
  int CreatePart(const std::string& path, Handle like, Handle& handle) override;
  int Read(Handle handle, void* buffer, std::size_t size, std::size_t& bytesRead) override;
  // One write call; the caller writes the rest of a short write.
  int Write(Handle handle, const void* buffer, std::size_t size, std::size_t& bytesWritten) override;
  int Sync(Handle handle) override;
  int SyncFileSystem(const std::string& path) override;
  // Not retried on EINTR: the descriptor is gone either way.
  int Close(Handle handle) override;
  EntryKind Lookup(const std::string& path) override;
  EntryKind LookupEntry(const std::string& path) override;
  std::optional<FileId> IdOfPath(const std::string& path) override;
  std::optional<FileId> IdOfHandle(Handle handle) override;
  double FreeSpace(const std::string& root) override;
  // By the type of the mount that holds root, as libmount reads the table.
  double MaxFileSize(const std::string& root) override;
  std::vector<Volumes::Volume> MountedVolumes() override;
  std::string ErrorText(int code) override;
};

// The one instance the program uses.
PosixFileInterface& SystemFileInterface();

}  // namespace vornak
