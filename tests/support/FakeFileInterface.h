// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An in-memory file interface with injected faults and a record of the calls.
// A source holds patternByte(offset) at every stride-th byte (stride 1 unless
// sparse), so it may be many gigabytes; every write is checked against the
// source offset it must come from, and a part keeps only its size.
#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <set>

#include "fileservices/FileInterface.h"
#include "fileservices/Filenames.h"

namespace vornak::test {

// A path written with "/", taken with the platform's separator.
inline std::string onPlatform(std::string path) {
  std::replace(path.begin(), path.end(), '/', Filenames::kSeparator);
  return path;
}

class FakeFileInterface : public FileInterface {
 public:
  void addFile(const std::string& path, std::uint64_t size) { add(path)->size = size; }
  void addFolder(const std::string& path) { add(path)->folder = true; }
  void addHardLink(const std::string& path, const std::string& existing) {
    nodes_[path] = nodes_.at(existing);
  }
  std::uint64_t sizeOf(const std::string& path) const { return nodes_.at(path)->size; }

  // Faults. Reads of the source stop at readsStopAtByte, then fail with
  // readError (0: the source ends there); writes of all parts together stop
  // at writesStopAtByte, then fail with writeError (0: they write nothing).
  bool sparse = false;
  double readsStopAtByte = -1, writesStopAtByte = -1;  // -1: never
  int readError = EIO, writeError = ENOSPC, syncError = 0;
  std::size_t maxWriteChunk = 0;  // short writes; 0: no limit
  // Range copies are made only with rangeCopies (else refused, as on Windows)
  // and meet the faults of reads and writes; from rangeCopiesStopAtByte on
  // (all parts together) they fail with rangeCopyError (0: copy nothing).
  bool rangeCopies = false;
  double rangeCopiesStopAtByte = -1;
  int rangeCopyError = 0;
  // Paths of symbolic links (with a node: the target's; without: dangling); a part replaces them.
  std::set<std::string> symbolicLinks;
  std::map<std::string, int> openReadErrors, createErrors, closeErrors;  // path -> errno
  std::deque<double> freeSpaceScript;                                    // answers in order, then plenty
  double fileSizeLimit = 1e300;
  std::vector<Volumes::Volume> mounts = {{std::string(1, Filenames::kSeparator), "", "ext4", "/dev/sda1"},
                                         {Filenames::kSeparator + std::string("t"), "", "ext4", "/dev/sdb1"}};

  // Records; the journal is shared with a front end.
  std::vector<std::string>* journal = nullptr;
  std::vector<std::string> created;
  std::vector<std::uint64_t> writeSizes, readSizes, rangeSizes;  // as asked
  std::uint64_t mismatches = 0, totalWritten = 0;  // mismatches: bytes from the wrong source offset
  int openHandles() const { return static_cast<int>(handles_.size()); }

  static unsigned char patternByte(std::uint64_t offset) {
    const std::uint64_t x = (offset ^ (offset >> 29)) * 0xBF58476D1CE4E5B9ULL;
    return static_cast<unsigned char>((x ^ (x >> 31)) >> 56);
  }
  int openRead(const std::string& path, Handle& handle) override {
    auto found = nodes_.find(path);
    handle = kNoHandle;
    if (openReadErrors.count(path)) return openReadErrors.at(path);
    if (found == nodes_.end()) return ENOENT;
    if (found->second->folder) return EISDIR;
    handles_[handle = nextHandle_++] = Open{found->second, path, false, 0};
    return 0;
  }
  int createPart(const std::string& path, Handle, Handle& handle) override {
    if (symbolicLinks.erase(path)) nodes_.erase(path);
    auto found = nodes_.find(path);
    handle = kNoHandle;
    if (createErrors.count(path)) return createErrors.at(path);
    if (found != nodes_.end() && found->second->folder) return EISDIR;
    // An existing file is emptied in place and keeps its identity.
    std::shared_ptr<Node> node = found != nodes_.end() ? found->second : add(path);
    *node = Node{false, 0, totalWritten, node->id};
    handles_[handle = nextHandle_++] = Open{node, path, true, 0};
    created.push_back(path);
    return note("CreatePart " + path), 0;
  }
  int read(Handle handle, void* buffer, std::size_t size, std::size_t& bytesRead) override {
    Open& open = handles_.at(handle);
    readSizes.push_back(size);
    std::uint64_t end = open.node->size;
    if (readsStopAtByte >= 0) end = std::min(end, static_cast<std::uint64_t>(readsStopAtByte));
    bytesRead = open.position >= end ? 0 : std::min<std::uint64_t>(size, end - open.position);
    if (bytesRead == 0 && end < open.node->size) return readError;
    for (std::uint64_t o = firstChecked(open.position); o < open.position + bytesRead; o += stride())
      static_cast<unsigned char*>(buffer)[o - open.position] = patternByte(o);
    return open.position += bytesRead, 0;
  }
  int copyRange(Handle from, Handle to, std::size_t size, std::size_t& bytesCopied) override {
    Open& source = handles_.at(from);
    Node& node = *handles_.at(to).node;
    rangeSizes.push_back(size);
    bytesCopied = 0;
    if (!rangeCopies) return kNoRangeCopy;
    const std::uint64_t end = readsStopAtByte < 0 ? source.node->size : std::uint64_t(readsStopAtByte);
    std::uint64_t n = writable(std::min<std::uint64_t>(size, end - std::min(end, source.position)));
    if (rangeCopiesStopAtByte >= 0) n = std::min(n, upTo(rangeCopiesStopAtByte));
    if (n == 0 && rangeCopiesStopAtByte >= 0 && upTo(rangeCopiesStopAtByte) == 0) return rangeCopyError;
    if (n == 0 && upTo(writesStopAtByte) == 0) return writeError;
    mismatches += source.position == node.streamBase + node.size ? 0 : n;
    source.position += n, node.size += n, totalWritten += n, bytesCopied = n;
    return 0;
  }
  int write(Handle handle, const void* buffer, std::size_t size, std::size_t& bytesWritten) override {
    Node& node = *handles_.at(handle).node;
    writeSizes.push_back(size);
    const std::uint64_t n = writable(size);
    bytesWritten = n;
    if (n == 0 && size > 0) return writeError;
    const std::uint64_t start = node.streamBase + node.size;
    for (std::uint64_t o = firstChecked(start); o < start + n; o += stride())
      mismatches += static_cast<const unsigned char*>(buffer)[o - start] != patternByte(o);
    return node.size += n, totalWritten += n, 0;
  }
  int sync(Handle) override { return note("Sync"), syncError; }
  int syncFileSystem(const std::string& path) override { return note("SyncFileSystem " + path), syncError; }
  int close(Handle handle) override {
    const Open open = handles_.at(handle);
    handles_.erase(handle);
    note((open.writing ? "Close part " : "Close source ") + open.path);
    return open.writing && closeErrors.count(open.path) ? closeErrors.at(open.path) : 0;
  }
  EntryKind lookup(const std::string& path) override {
    auto found = nodes_.find(path);
    if (found == nodes_.end()) return EntryKind::None;
    return found->second->folder ? EntryKind::Folder : EntryKind::File;
  }
  EntryKind lookupEntry(const std::string& path) override {
    return symbolicLinks.count(path) ? EntryKind::Link : lookup(path);
  }
  std::optional<FileId> idOfPath(const std::string& path) override {
    auto found = nodes_.find(path);
    return found == nodes_.end() ? std::nullopt : std::optional(found->second->id);
  }
  std::optional<FileId> idOfHandle(Handle handle) override { return handles_.at(handle).node->id; }
  double freeSpace(const std::string& root) override {
    note("FreeSpace " + root);
    const double space = freeSpaceScript.empty() ? 1e15 : freeSpaceScript.front();
    if (!freeSpaceScript.empty()) freeSpaceScript.pop_front();
    return space;
  }
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
  std::shared_ptr<Node>& add(const std::string& path) {
    auto& node = nodes_[path] = std::make_shared<Node>();
    node->id = FileId{7, nextInode_++};
    return node;
  }
  // What may still be written of size bytes, by the faults of writes.
  std::uint64_t writable(std::uint64_t size) const {
    return std::min(maxWriteChunk != 0 ? std::min<std::uint64_t>(size, maxWriteChunk) : size,
                    upTo(writesStopAtByte));
  }
  // Bytes left before a stop of all parts together (-1: none).
  std::uint64_t upTo(double stop) const {
    if (stop < 0) return UINT64_MAX;
    return totalWritten >= std::uint64_t(stop) ? 0 : std::uint64_t(stop) - totalWritten;
  }
  std::uint64_t stride() const { return sparse ? 4093 : 1; }
  std::uint64_t firstChecked(std::uint64_t offset) const {
    return (offset + stride() - 1) / stride() * stride();
  }
  void note(const std::string& text) {
    if (journal != nullptr) journal->push_back(text);
  }

  std::map<std::string, std::shared_ptr<Node>> nodes_;
  std::map<Handle, Open> handles_;
  Handle nextHandle_ = 3;
  std::uint64_t nextInode_ = 100;
};

}  // namespace vornak::test
