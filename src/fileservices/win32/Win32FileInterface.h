// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real file interface on Windows: kernel32's file calls on HANDLEs, with
// UTF-16 paths in the long form where needed. Error numbers are the thread's
// last-error codes.
#include <string>
#include <vector>

#include "fileservices/FileInterface.h"

namespace vornak {

class Win32FileInterface : public FileInterface {
 public:
  // The source: read access, others may read it too.
  int openRead(const std::string& path, Handle& handle) override;
  // A part: write access, others may read it but not remove it. Its
  // permissions are those the folder passes on to new files, as for any file
  // a Windows program makes; like is not consulted.
  int createPart(const std::string& path, Handle like, Handle& handle) override;
  // MoveFileExW, replacing and writing through.
  int rename(const std::string& from, const std::string& to) override;
  int remove(const std::string& path) override;
  int removeUnused(const std::string& path) override;
  // A read-only file (or a folder) cannot be replaced.
  int replaceable(const std::string& path) override;
  std::vector<std::string> folderEntries(const std::string& folder) override;
  int seek(Handle handle, double offset) override;
  int read(Handle handle, void* buffer, std::size_t size, std::size_t& bytesRead) override;
  // Writes the whole block unless the system fails.
  int write(Handle handle, const void* buffer, std::size_t size, std::size_t& bytesWritten) override;
  int sync(Handle handle) override;
  int syncFileSystem(const std::string& path) override;
  int close(Handle handle) override;
  EntryKind lookup(const std::string& path) override;
  // A symbolic link or junction, even a dangling one, is a Link.
  EntryKind lookupEntry(const std::string& path) override;
  // Volume serial number and file index.
  std::optional<FileId> idOfPath(const std::string& path) override;
  std::optional<FileId> idOfHandle(Handle handle) override;
  std::optional<FileStamp> stampOfPath(const std::string& path) override;
  double freeSpace(const std::string& root) override;
  // By the file system's name as GetVolumeInformationW gives it for root.
  double maxFileSize(const std::string& root) override;
  // The drive letters, in the form drive takes ("E:").
  std::vector<Volumes::Volume> mountedVolumes() override;
  std::string errorText(int code) override;
};

// The one instance the program uses.
Win32FileInterface& systemFileInterface();

}  // namespace vornak
