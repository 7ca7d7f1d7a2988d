// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An in-memory file interface for the split tests: folders and files,
// injected faults, and a record of what was read and written. Sources hold the
// generated patternByte sequence, so they may be many gigabytes: reads fill
// every stride-th byte (stride 1 unless sparse), and every write is checked
// against the source offset it must come from, so parts keep only their size.
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fileservices/FileInterface.h"

namespace vornak::test {

class FakeFileInterface : public FileInterface {
 public:
  static unsigned char patternByte(std::uint64_t offset);
  static std::vector<Volumes::Volume> defaultMounts();

  void addFile(const std::string& path, std::uint64_t size) { add(path)->size = size; }
  void addFolder(const std::string& path) { add(path)->folder = true; }
  std::uint64_t sizeOf(const std::string& path) const { return nodes_.at(path)->size; }

  // Faults; a negative byte position means never.
  bool sparse = false;
  double diskFullAtByte = -1;     // of all parts: writes stop there, then ENOSPC
  double readErrorAtByte = -1;    // of the source: reads stop there, then EIO
  double sourceEndsAtByte = -1;   // the source ends early
  double noProgressAtByte = -1;   // of all parts: writes write nothing from there
  std::size_t maxWriteChunk = 0;  // 0: no limit
  std::map<std::string, int> openReadErrors, createErrors, closeErrors;  // path -> errno
  int syncError = 0;
  std::deque<double> freeSpaceScript;  // answers in order, then plenty
  double fileSizeLimit = 1e300;        // of every medium
  // The root and /t, written with the platform's separator.
  std::vector<Volumes::Volume> mounts = defaultMounts();

  // Records; the journal is shared with a front end.
  std::vector<std::string>* journal = nullptr;
  std::vector<std::string> created;
  std::vector<std::uint64_t> writeSizes, readSizes;  // as asked
  std::uint64_t mismatches = 0, totalWritten = 0;    // mismatches: bytes written from the wrong offset
  int openHandles() const { return static_cast<int>(handles_.size()); }

  int openRead(const std::string& path, Handle& handle) override;
  int createPart(const std::string& path, Handle like, Handle& handle) override;
  int read(Handle handle, void* buffer, std::size_t size, std::size_t& bytesRead) override;
  int write(Handle handle, const void* buffer, std::size_t size, std::size_t& bytesWritten) override;
  int sync(Handle) override { return note("Sync"), syncError; }
  int syncFileSystem(const std::string& path) override { return note("SyncFileSystem " + path), syncError; }
  int close(Handle handle) override;
  EntryKind lookup(const std::string& path) override;
  EntryKind lookupEntry(const std::string& path) override { return lookup(path); }
  std::optional<FileId> idOfPath(const std::string& path) override;
  std::optional<FileId> idOfHandle(Handle handle) override { return handles_.at(handle).node->id; }
  double freeSpace(const std::string& root) override;
  double maxFileSize(const std::string&) override { return fileSizeLimit; }
  std::vector<Volumes::Volume> mountedVolumes() override { return mounts; }
  std::string errorText(int code) override { return "System text " + std::to_string(code) + ".\n"; }

 private:
  struct Node {
    bool folder = false;
    std::uint64_t size = 0, streamBase = 0;  // streamBase: source offset of a part's first byte
    FileId id;
  };
  struct Open {
    std::shared_ptr<Node> node;
    std::string path;
    bool writing = false;
    std::uint64_t position = 0;
  };
  std::shared_ptr<Node>& add(const std::string& path);
  std::uint64_t stride() const { return sparse ? 4093 : 1; }
  void note(const std::string& text) {
    if (journal != nullptr) journal->push_back(text);
  }

  std::map<std::string, std::shared_ptr<Node>> nodes_;
  std::map<Handle, Open> handles_;
  Handle nextHandle_ = 3;
  std::uint64_t nextInode_ = 100;
};

}  // namespace vornak::test
