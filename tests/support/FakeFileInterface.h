#pragma once
// An in-memory file interface for the split engine's tests. It holds files,
// folders and links, injects faults (full disk, failing reads and writes, short
// writes, a shrinking source, parts that cannot be created or closed, scripted
// free space), and records every call. Sources of many gigabytes are generated
// by a formula; in sparse mode written parts keep only their size and are
// checked at sample offsets against that formula, so nothing large is held.
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
  // The generated content: the byte at an offset of a pattern file.
  static unsigned char PatternByte(std::uint64_t offset);
  // The generated content of a whole (small) file.
  static std::string PatternText(std::uint64_t size);

  void AddFile(const std::string& path, const std::string& content);
  // A file whose size bytes are PatternByte(0..size-1).
  void AddPatternFile(const std::string& path, std::uint64_t size);
  void AddFolder(const std::string& path);
  void AddOther(const std::string& path);  // a device or FIFO
  // A second name for the object at target (a hard or symbolic link).
  void AddLink(const std::string& path, const std::string& target);
  void Remove(const std::string& path);

  bool Exists(const std::string& path) const { return nodes_.count(path) != 0; }
  std::uint64_t SizeOf(const std::string& path) const;
  std::string Content(const std::string& path) const;  // not in sparse mode

  // --- faults ------------------------------------------------------------
  // Sparse mode: pattern reads fill only the sample offsets, written parts
  // keep only their size and are checked at the sample offsets.
  bool sparse = false;
  static constexpr std::uint64_t kSampleStride = 4093;
  // Writes stop at this many bytes written to parts in total: the write that
  // reaches it is short, the next fails with ENOSPC. Negative: never.
  double diskFullAtByte = -1;
  // The source read that would pass this offset stops there; the next fails
  // with EIO. Negative: never.
  double readErrorAtByte = -1;
  // The source yields end of file at this offset, whatever its size says (it
  // became shorter). Negative: never.
  double sourceEndsAtByte = -1;
  // Every write writes at most this many bytes. 0: no limit.
  std::size_t maxWriteChunk = 0;
  // A write starting at this many bytes written in total writes nothing and
  // reports success. Negative: never.
  double noProgressAtByte = -1;
  std::map<std::string, int> openReadErrors;  // path -> errno
  std::map<std::string, int> createErrors;    // path -> errno
  std::map<std::string, int> closeErrors;     // path -> errno, for parts
  int syncError = 0;                          // Sync and SyncFileSystem
  // Free space answers in order; when used up, freeSpaceDefault.
  std::deque<double> freeSpaceScript;
  double freeSpaceDefault = 1e15;
  bool idsAvailable = true;  // false: IdOfPath and IdOfHandle give nothing

  // --- records -----------------------------------------------------------
  struct Call {
    std::string op;  // OpenRead CreatePart Read Write Sync SyncFileSystem Close FreeSpace Lookup
    std::string path;
    std::uint64_t size = 0;  // asked for
    std::uint64_t done = 0;  // read or written
    int code = 0;
  };
  std::vector<Call> calls;
  bool recordCalls = true;
  std::vector<std::string>* journal = nullptr;  // shared with a front end
  std::vector<std::string> created;             // part paths in creation order
  std::vector<std::uint64_t> writeSizes;        // asked size of every write
  std::vector<std::uint64_t> readSizes;         // asked size of every read
  std::uint64_t sampleMismatches = 0;           // sparse parts that disagree with the pattern
  std::uint64_t totalWritten = 0;               // bytes written to parts
  int openHandles() const { return static_cast<int>(handles_.size()); }
  int CountOf(const std::string& op) const;

  // FileInterface
  int OpenRead(const std::string& path, Handle& handle) override;
  int CreatePart(const std::string& path, Handle& handle) override;
  int Read(Handle handle, void* buffer, std::size_t size, std::size_t& bytesRead) override;
  int Write(Handle handle, const void* buffer, std::size_t size, std::size_t& bytesWritten) override;
  int Sync(Handle handle) override;
  int SyncFileSystem(const std::string& path) override;
  int Close(Handle handle) override;
  EntryKind Lookup(const std::string& path) override;
  std::optional<FileId> IdOfPath(const std::string& path) override;
  std::optional<FileId> IdOfHandle(Handle handle) override;
  double FreeSpace(const std::string& root) override;
  std::string ErrorText(int code) override;

  // The text ErrorText gives for a code.
  static std::string TextOf(int code);

 private:
  struct Node {
    EntryKind kind = EntryKind::File;
    bool pattern = false;  // content is PatternByte(offset)
    std::string data;      // content of a stored file
    std::uint64_t size = 0;
    std::uint64_t streamBase = 0;  // sparse part: offset of its first byte in the source
    FileId id;
  };
  struct Open {
    std::shared_ptr<Node> node;
    std::string path;
    bool writing = false;
    std::uint64_t position = 0;
  };
  std::shared_ptr<Node> NewNode(EntryKind kind);
  void Record(const std::string& op, const std::string& path, std::uint64_t size, std::uint64_t done,
              int code);

  std::map<std::string, std::shared_ptr<Node>> nodes_;
  std::map<Handle, Open> handles_;
  Handle nextHandle_ = 3;
  std::uint64_t nextInode_ = 100;
};

}  // namespace vornak::test
