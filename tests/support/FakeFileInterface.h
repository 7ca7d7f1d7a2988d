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

// The system's numbers for a full medium, a file too large for it, a name too
// long and a file that exists, and its refusals of a range copy.
#ifdef _WIN32
inline constexpr int kMediumFull = 112, kFileTooLarge = 223, kNameTooLong = 206, kExists = 80;
inline constexpr int kRangeCopyRefusals[] = {50, 1};
#else
inline constexpr int kMediumFull = ENOSPC, kFileTooLarge = EFBIG, kNameTooLong = ENAMETOOLONG,
                     kExists = EEXIST;
inline constexpr int kRangeCopyRefusals[] = {EXDEV, EINVAL, EOPNOTSUPP, ENOSYS, EBADF, ETXTBSY};
#endif

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
  std::vector<std::string> paths() const {
    std::vector<std::string> all;
    for (const auto& entry : nodes_) all.push_back(entry.first);
    return all;
  }

  // Faults. A call as the journal names it ("CreatePart <path>", "Sync <path>",
  // "SyncFileSystem <folder>", "Replaceable <path>"...) -> its error, once.
  std::map<std::string, int> fails;
  // Reads of the source stop at readsStopAtByte, then fail with readError (0:
  // the source ends there); writes of all parts together stop at
  // writesStopAtByte, then fail with writeError (0: they write nothing); range
  // copies are made only with rangeCopies (else refused, each refusal in turn) and
  // from rangeCopiesStopAtByte on fail with rangeCopyError (0: copy nothing).
  double readsStopAtByte = -1, writesStopAtByte = -1, rangeCopiesStopAtByte = -1;  // -1: never
  int readError = EIO, writeError = kMediumFull, rangeCopyError = 0;
  bool sparse = false, rangeCopies = false;
  std::size_t maxWriteChunk = 0;        // short writes; 0: no limit
  std::set<std::string> symbolicLinks;  // with a node: the target's; without: dangling
  std::set<std::string> heldByOthers;   // open in another run: removeUnused leaves them
  std::deque<double> freeSpaceScript;   // answers in order, then plenty
  double fileSizeLimit = 1e300;
  std::vector<Volumes::Volume> mounts = {{onPlatform("/"), "", "ext4", "/dev/sda1"},
                                         {onPlatform("/t"), "", "ext4", "/dev/sdb1"}};

  // Records; the journal is shared with a front end.
  std::vector<std::string>* journal = nullptr;
  std::vector<std::string> created;                  // the parts that got their names, in order
  std::vector<std::uint64_t> writeSizes, readSizes;  // as asked
  std::uint64_t mismatches = 0;                      // bytes from the wrong source offset
  int openHandles() const { return static_cast<int>(handles_.size()); }

  int openRead(const std::string& path, Handle& handle) override {
    handle = kNoHandle;
    if (const int code = call("OpenRead " + path)) return code;
    if (!nodes_.count(path)) return ENOENT;
    handles_[handle = nextHandle_++] = Open{nodes_.at(path), path, false, 0};
    return 0;
  }
  int createPart(const std::string& path, Handle like, Handle& handle) override {
    handle = kNoHandle;
    if (const int code = call("CreatePart " + path)) return code;
    if (nodes_.count(path) || symbolicLinks.count(path)) return kExists;
    std::shared_ptr<Node> node = add(path);
    node->streamBase = handles_.count(like) ? handles_.at(like).position : 0;
    handles_[handle = nextHandle_++] = Open{node, path, true, 0};
    return 0;
  }
  int rename(const std::string& from, const std::string& to) override {
    if (const int code = call("Rename " + from)) return code;
    symbolicLinks.erase(to);
    nodes_[to] = nodes_.at(from);
    nodes_.erase(from);
    created.push_back(to);
    return 0;
  }
  int remove(const std::string& path) override {
    if (const int code = call("Remove " + path)) return code;
    return symbolicLinks.erase(path) + nodes_.erase(path) > 0 ? 0 : ENOENT;
  }
  int removeUnused(const std::string& path) override {
    const bool open = std::any_of(handles_.begin(), handles_.end(),
                                  [&](const auto& h) { return h.second.writing && h.second.path == path; });
    return open || heldByOthers.count(path) ? EBUSY : remove(path);
  }
  int replaceable(const std::string& path) override { return call("Replaceable " + path); }
  std::vector<std::string> folderEntries(const std::string& folder) override {
    std::vector<std::string> names;
    for (const auto& entry : nodes_)
      if (Filenames::getFolder(entry.first) == folder) names.push_back(Filenames::getFilename(entry.first));
    return names;
  }
  int seek(Handle handle, double offset) override {
    handles_.at(handle).position = static_cast<std::uint64_t>(offset);
    return call("Seek " + std::to_string(handles_.at(handle).position));
  }
  int read(Handle handle, void* buffer, std::size_t size, std::size_t& bytesRead) override {
    Open& open = handles_.at(handle);
    readSizes.push_back(size);
    const std::uint64_t end = std::min(open.node->size, upTo(readsStopAtByte, 0));
    bytesRead = open.position >= end ? 0 : std::min<std::uint64_t>(size, end - open.position);
    if (bytesRead == 0 && end < open.node->size) return readError;
    for (std::uint64_t o = firstChecked(open.position); o < open.position + bytesRead; o += stride())
      static_cast<unsigned char*>(buffer)[o - open.position] = patternByte(o);
    return open.position += bytesRead, 0;
  }
  int copyRange(Handle from, Handle to, std::size_t size, std::size_t& bytesCopied) override {
    Open& source = handles_.at(from);
    Node& node = *handles_.at(to).node;
    bytesCopied = 0;
    if (const int code = call("CopyRange " + std::to_string(size))) return code;
    if (!rangeCopies) return kRangeCopyRefusals[refusals_++ % std::size(kRangeCopyRefusals)];  // each in turn
    const std::uint64_t end = std::min(source.node->size, upTo(readsStopAtByte, 0));
    const std::uint64_t n =
        std::min(writable(std::min<std::uint64_t>(size, end - std::min(end, source.position))),
                 upTo(rangeCopiesStopAtByte, totalWritten_));
    if (n == 0 && upTo(rangeCopiesStopAtByte, totalWritten_) == 0) return rangeCopyError;
    if (n == 0 && upTo(writesStopAtByte, totalWritten_) == 0) return writeError;
    mismatches += source.position == node.streamBase + node.size ? 0 : n;
    source.position += n, node.size += n, totalWritten_ += n, bytesCopied = n;
    return 0;
  }
  int write(Handle handle, const void* buffer, std::size_t size, std::size_t& bytesWritten) override {
    Node& node = *handles_.at(handle).node;
    writeSizes.push_back(size);
    if (const int code = call("Write " + std::to_string(size))) return bytesWritten = 0, code;
    const std::uint64_t n = bytesWritten = writable(size), start = node.streamBase + node.size;
    if (n == 0 && size > 0) return writeError;
    for (std::uint64_t o = firstChecked(start); o < start + n; o += stride())
      mismatches += static_cast<const unsigned char*>(buffer)[o - start] != patternByte(o);
    return node.size += n, totalWritten_ += n, 0;
  }
  int writeBehind(Handle handle, std::size_t) override {
    return call("WriteBehind " + handles_.at(handle).path, false);  // can fail, not journaled
  }
  int sync(Handle handle) override { return call("Sync " + handles_.at(handle).path); }
  int syncFileSystem(const std::string& path) override { return call("SyncFileSystem " + path); }
  int close(Handle handle) override {
    const Open open = handles_.at(handle);
    handles_.erase(handle);
    return call((open.writing ? "Close part " : "Close source ") + open.path);
  }
  EntryKind lookup(const std::string& path) override {
    if (!nodes_.count(path)) return EntryKind::None;
    return nodes_.at(path)->folder ? EntryKind::Folder : EntryKind::File;
  }
  EntryKind lookupEntry(const std::string& path) override {
    return symbolicLinks.count(path) ? EntryKind::Link : lookup(path);
  }
  std::optional<FileId> idOfPath(const std::string& path) override {
    return nodes_.count(path) ? std::optional(nodes_.at(path)->id) : std::nullopt;
  }
  std::optional<FileId> idOfHandle(Handle handle) override { return handles_.at(handle).node->id; }
  std::optional<FileStamp> stampOfPath(const std::string& path) override {
    if (!nodes_.count(path)) return std::nullopt;
    return FileStamp{static_cast<double>(nodes_.at(path)->size), nodes_.at(path)->changes};
  }
  double freeSpace(const std::string& root) override {
    call("FreeSpace " + root);
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
  // Notes a call in the journal and gives its injected error.
  int call(const std::string& what, bool journaled = true) {
    if (journal != nullptr && journaled) journal->push_back(what);
    const auto found = fails.find(what);
    if (found == fails.end()) return 0;
    const int code = found->second;
    fails.erase(found);
    return code;
  }
  static unsigned char patternByte(std::uint64_t offset) {
    const std::uint64_t x = (offset ^ (offset >> 29)) * 0xBF58476D1CE4E5B9ULL;
    return static_cast<unsigned char>((x ^ (x >> 31)) >> 56);
  }
  // What may still be written of size bytes, by the faults of writes.
  std::uint64_t writable(std::uint64_t size) const {
    return std::min<std::uint64_t>(maxWriteChunk != 0 ? std::min<std::uint64_t>(size, maxWriteChunk) : size,
                                   upTo(writesStopAtByte, totalWritten_));
  }
  // Bytes left from done to a stop (-1: none).
  static std::uint64_t upTo(double stop, std::uint64_t done) {
    return stop < 0 ? UINT64_MAX : std::uint64_t(stop) - std::min(done, std::uint64_t(stop));
  }
  std::uint64_t stride() const { return sparse ? 4093 : 1; }
  std::uint64_t firstChecked(std::uint64_t offset) const {
    return (offset + stride() - 1) / stride() * stride();
  }

  std::map<std::string, std::shared_ptr<Node>> nodes_;
  std::map<Handle, Open> handles_;
  Handle nextHandle_ = 3;
  std::uint64_t totalWritten_ = 0, nextInode_ = 100;
  inline static std::size_t refusals_ = 0;  // counts across fakes: a run stops asking at the first
};

}  // namespace vornak::test
