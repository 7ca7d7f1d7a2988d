// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real file interface on Windows: kernel32's file calls on HANDLEs, with
// UTF-16 paths in the long form where needed. Error numbers are the thread's
// last-error codes.
#include <map>
#include <string>
#include <vector>

#include "fileservices/FileInterface.h"

namespace vornak {

class Win32FileInterface : public FileInterface {
 public:
  // The source: read access, others may read it too.
  int OpenRead(const std::string& path, Handle& handle) override;
  // A part: write access, others may read it; created or emptied. A link that
  // stands at the path is replaced by the new file, never written through.
  // Its permissions are those the folder passes on to new files, as for any
  // file a Windows program makes; like is not consulted.
  int CreatePart(const std::string& path, Handle like, Handle& handle) override;
  int Read(Handle handle, void* buffer, std::size_t size, std::size_t& bytesRead) override;
  // Writes the whole block unless the system fails.
  int Write(Handle handle, const void* buffer, std::size_t size, std::size_t& bytesWritten) override;
  int Sync(Handle handle) override;
  // Flushes the parts closed since the last call: Windows flushes a volume as
  // a whole only for administrators, but any file its writer may open again.
  int SyncFileSystem(const std::string& path) override;
  int Close(Handle handle) override;
  EntryKind Lookup(const std::string& path) override;
  // A symbolic link or junction, even a dangling one, is a Link.
  EntryKind LookupEntry(const std::string& path) override;
  // Volume serial number and file index.
  std::optional<FileId> IdOfPath(const std::string& path) override;
  std::optional<FileId> IdOfHandle(Handle handle) override;
  double FreeSpace(const std::string& root) override;
  // By the file system's name as GetVolumeInformationW gives it for root.
  double MaxFileSize(const std::string& root) override;
  // The drive letters, in the form savedrive takes ("E:").
  std::vector<Volumes::Volume> MountedVolumes() override;
  std::string ErrorText(int code) override;

 private:
  std::map<Handle, std::wstring> writing_;  // open parts and their paths
  std::vector<std::wstring> closedUnflushed_;
};

// The one instance the program uses.
Win32FileInterface& SystemFileInterface();

}  // namespace vornak
