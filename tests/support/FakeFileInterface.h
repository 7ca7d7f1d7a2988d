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
#include <utility>

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
  // The file changes size (and so its time of change).
  void resize(const std::string& path, std::uint64_t size) {
    nodes_.at(path)->size = size, ++nodes_.at(path)->changes;
  }
  // Names in the fake, parts and whatever else.
  std::vector<std::string> paths() const {
    std::vector<std::string> all;
    for (const auto& [path, node] : nodes_) all.push_back(path);
    return all;
  }

  // Faults. Reads of the source stop at readsStopAtByte, then fail with
  // readError (0: the source ends there); writes of all parts together stop
  // at writesStopAtByte, then fail with writeError (0: they write nothing).
  bool sparse = false;
  double readsStopAtByte = -1, writesStopAtByte = -1;  // -1: never
  // The system's numbers for a full medium, a file too large for it, a name
  // too long and a file that exists.
#ifdef _WIN32
  static constexpr int kMediumFull = 112, kFileTooLarge = 223, kNameTooLong = 206, kExists = 80;
#else
  static constexpr int kMediumFull = ENOSPC, kFileTooLarge = EFBIG, kNameTooLong = ENAMETOOLONG,
                       kExists = EEXIST;
#endif
  int readError = EIO, writeError = kMediumFull;
  int syncError = 0, syncFileSystemError = 0;  // the first flush of a part fails with syncError
  std::size_t maxWriteChunk = 0;               // short writes; 0: no limit
  // Range copies are made only with rangeCopies (else refused, as on Windows)
  // and meet the faults of reads and writes; from rangeCopiesStopAtByte on
  // (all parts together) they fail with rangeCopyError (0: copy nothing).
  bool rangeCopies = false;
  double rangeCopiesStopAtByte = -1;
  int rangeCopyError = 0;
  // Paths of symbolic links (with a node: the target's; without: dangling); a part replaces them.
  std::set<std::string> symbolicLinks;
  // path -> errno; every one but openReadErrors and replaceErrors fails once.
  std::map<std::string, int> openReadErrors, createErrors, closeErrors, renameErrors, removeErrors,
      replaceErrors;
  std::set<std::string> heldByOthers;  // open in another run: removeUnused leaves them
  std::deque<double> freeSpaceScript;  // answers in order, then plenty
  double fileSizeLimit = 1e300;
  std::vector<Volumes::Volume> mounts = {{std::string(1, Filenames::kSeparator), "", "ext4", "/dev/sda1"},
                                         {Filenames::kSeparator + std::string("t"), "", "ext4", "/dev/sdb1"}};

  // Records; the journal is shared with a front end.
  std::vector<std::string>* journal = nullptr;
  std::vector<std::string> created;                              // the parts that got their names, in order
  std::vector<std::uint64_t> writeSizes, readSizes, rangeSizes;  // as asked
  std::uint64_t mismatches = 0, totalWritten = 0;  // mismatches: bytes from the wrong source offset
  int openHandles() const {
    return static_cast<int>(handles_.size());
  }

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
  int createPart(const std::string& path, Handle like, Handle& handle) override {
    handle = kNoHandle;
    if (const int code = once(createErrors, path)) return code;
    if (nodes_.count(path) || symbolicLinks.count(path)) return kExists;
    std::shared_ptr<Node> node = add(path);
    node->streamBase = handles_.count(like) ? handles_.at(like).position : 0;
    handles_[handle = nextHandle_++] = Open{node, path, true, 0};
    return note("CreatePart " + path), 0;
  }
  int rename(const std::string& from, const std::string& to) override {
    if (const int code = once(renameErrors, from)) return code;
    symbolicLinks.erase(to);
    nodes_[to] = nodes_.at(from);
    nodes_.erase(from);
    created.push_back(to);
    return note("Rename " + from + " " + to), 0;
  }
  int remove(const std::string& path) override {
    if (const int code = once(removeErrors, path)) return code;
    const bool link = symbolicLinks.erase(path) > 0;
    if (!nodes_.erase(path) && !link) return ENOENT;
    return note("Remove " + path), 0;
  }
  int removeUnused(const std::string& path) override {
    const bool open = std::any_of(handles_.begin(), handles_.end(),
                                  [&](const auto& h) { return h.second.writing && h.second.path == path; });
    return open || heldByOthers.count(path) ? EBUSY : remove(path);
  }
  int replaceable(const std::string& path) override {
    return replaceErrors.count(path) ? replaceErrors.at(path) : 0;
  }
  std::vector<std::string> folderEntries(const std::string& folder) override {
    std::vector<std::string> names;
    for (const auto& [path, node] : nodes_)
      if (Filenames::getFolder(path) == folder) names.push_back(Filenames::getFilename(path));
    return names;
  }
  int seek(Handle handle, double offset) override {
    handles_.at(handle).position = static_cast<std::uint64_t>(offset);
    return note("Seek " + std::to_string(handles_.at(handle).position)), 0;
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
  int sync(Handle) override {
    return note("Sync"), std::exchange(syncError, 0);
  }
  int syncFileSystem(const std::string& path) override {
    return note("SyncFileSystem " + path), syncFileSystemError;
  }
  int close(Handle handle) override {
    const Open open = handles_.at(handle);
    handles_.erase(handle);
    note((open.writing ? "Close part " : "Close source ") + open.path);
    return open.writing ? once(closeErrors, open.path) : 0;
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
  std::optional<FileId> idOfHandle(Handle handle) override {
    return handles_.at(handle).node->id;
  }
  std::optional<FileStamp> stampOfPath(const std::string& path) override {
    auto found = nodes_.find(path);
    if (found == nodes_.end()) return std::nullopt;
    return FileStamp{static_cast<double>(found->second->size), found->second->changes};
  }
  double freeSpace(const std::string& root) override {
    note("FreeSpace " + root);
    const double space = freeSpaceScript.empty() ? 1e15 : freeSpaceScript.front();
    if (!freeSpaceScript.empty()) freeSpaceScript.pop_front();
    return space;
  }
  double maxFileSize(const std::string&) override {
    return fileSizeLimit;
  }
  std::vector<Volumes::Volume> mountedVolumes() override {
    return mounts;
  }
  std::string errorText(int code) override {
    return "System text " + std::to_string(code) + ".\n";
  }

 private:
  struct Node {
    bool folder = false;
    std::uint64_t size = 0, streamBase = 0;  // streamBase: source offset of a part's first byte
    FileId id;
    std::int64_t changes = 0;
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
  std::uint64_t stride() const {
    return sparse ? 4093 : 1;
  }
  std::uint64_t firstChecked(std::uint64_t offset) const {
    return (offset + stride() - 1) / stride() * stride();
  }
  static int once(std::map<std::string, int>& faults, const std::string& path) {
    auto found = faults.find(path);
    if (found == faults.end()) return 0;
    const int code = found->second;
    faults.erase(found);
    return code;
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
