#include "support/FakeFileInterface.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vornak::test {

unsigned char FakeFileInterface::PatternByte(std::uint64_t offset) {
  std::uint64_t x = (offset ^ (offset >> 29)) * 0xBF58476D1CE4E5B9ULL;
  x ^= x >> 31;
  return static_cast<unsigned char>(x >> 56);
}

std::string FakeFileInterface::PatternText(std::uint64_t size) {
  std::string text(size, '\0');
  for (std::uint64_t i = 0; i < size; ++i) text[i] = static_cast<char>(PatternByte(i));
  return text;
}

std::shared_ptr<FakeFileInterface::Node> FakeFileInterface::NewNode(EntryKind kind) {
  auto node = std::make_shared<Node>();
  node->kind = kind;
  node->id = FileId{7, nextInode_++};
  return node;
}

void FakeFileInterface::AddFile(const std::string& path, const std::string& content) {
  auto node = NewNode(EntryKind::File);
  node->data = content;
  node->size = content.size();
  nodes_[path] = node;
}

void FakeFileInterface::AddPatternFile(const std::string& path, std::uint64_t size) {
  auto node = NewNode(EntryKind::File);
  node->pattern = true;
  node->size = size;
  nodes_[path] = node;
}

void FakeFileInterface::AddFolder(const std::string& path) {
  nodes_[path] = NewNode(EntryKind::Folder);
}

void FakeFileInterface::AddOther(const std::string& path) {
  nodes_[path] = NewNode(EntryKind::Other);
}

void FakeFileInterface::AddLink(const std::string& path, const std::string& target) {
  nodes_[path] = nodes_.at(target);
}

void FakeFileInterface::Remove(const std::string& path) {
  nodes_.erase(path);
}

std::uint64_t FakeFileInterface::SizeOf(const std::string& path) const {
  return nodes_.at(path)->size;
}

std::string FakeFileInterface::Content(const std::string& path) const {
  const Node& node = *nodes_.at(path);
  return node.pattern ? PatternText(node.size) : node.data;
}

int FakeFileInterface::CountOf(const std::string& op) const {
  return static_cast<int>(
      std::count_if(calls.begin(), calls.end(), [&](const Call& c) { return c.op == op; }));
}

void FakeFileInterface::Record(const std::string& op, const std::string& path, std::uint64_t size,
                               std::uint64_t done, int code) {
  if (recordCalls) calls.push_back(Call{op, path, size, done, code});
}

int FakeFileInterface::OpenRead(const std::string& path, Handle& handle) {
  handle = kNoHandle;
  int code = 0;
  auto found = nodes_.find(path);
  if (openReadErrors.count(path)) {
    code = openReadErrors.at(path);
  } else if (found == nodes_.end()) {
    code = ENOENT;
  } else if (found->second->kind == EntryKind::Folder) {
    code = EISDIR;
  } else {
    handle = nextHandle_++;
    handles_[handle] = Open{found->second, path, false, 0};
  }
  Record("OpenRead", path, 0, 0, code);
  return code;
}

int FakeFileInterface::CreatePart(const std::string& path, Handle& handle) {
  handle = kNoHandle;
  int code = 0;
  auto found = nodes_.find(path);
  if (createErrors.count(path)) {
    code = createErrors.at(path);
  } else if (found != nodes_.end() && found->second->kind == EntryKind::Folder) {
    code = EISDIR;
  } else {
    std::shared_ptr<Node> node = found != nodes_.end() ? found->second : NewNode(EntryKind::File);
    nodes_[path] = node;
    node->pattern = false;
    node->data.clear();
    node->size = 0;
    node->streamBase = totalWritten;
    handle = nextHandle_++;
    handles_[handle] = Open{node, path, true, 0};
    created.push_back(path);
  }
  Record("CreatePart", path, 0, 0, code);
  if (journal != nullptr && code == 0) journal->push_back("CreatePart " + path);
  return code;
}

int FakeFileInterface::Read(Handle handle, void* buffer, std::size_t size, std::size_t& bytesRead) {
  bytesRead = 0;
  auto found = handles_.find(handle);
  if (found == handles_.end() || found->second.writing) {
    Record("Read", "", size, 0, EBADF);
    return EBADF;
  }
  Open& open = found->second;
  readSizes.push_back(size);
  std::uint64_t end = open.node->size;
  if (sourceEndsAtByte >= 0) end = std::min<std::uint64_t>(end, static_cast<std::uint64_t>(sourceEndsAtByte));
  if (readErrorAtByte >= 0) {
    const auto errorAt = static_cast<std::uint64_t>(readErrorAtByte);
    if (open.position >= errorAt) {
      Record("Read", open.path, size, 0, EIO);
      return EIO;
    }
    end = std::min(end, errorAt);
  }
  const std::uint64_t n = open.position >= end ? 0 : std::min<std::uint64_t>(size, end - open.position);
  auto* bytes = static_cast<unsigned char*>(buffer);
  if (!open.node->pattern) {
    std::memcpy(bytes, open.node->data.data() + open.position, n);
  } else if (!sparse) {
    for (std::uint64_t i = 0; i < n; ++i) bytes[i] = PatternByte(open.position + i);
  } else {
    std::uint64_t first = (open.position + kSampleStride - 1) / kSampleStride * kSampleStride;
    for (std::uint64_t o = first; o < open.position + n; o += kSampleStride) {
      bytes[o - open.position] = PatternByte(o);
    }
  }
  open.position += n;
  bytesRead = n;
  Record("Read", open.path, size, n, 0);
  return 0;
}

int FakeFileInterface::Write(Handle handle, const void* buffer, std::size_t size, std::size_t& bytesWritten) {
  bytesWritten = 0;
  auto found = handles_.find(handle);
  if (found == handles_.end() || !found->second.writing) {
    Record("Write", "", size, 0, EBADF);
    return EBADF;
  }
  Open& open = found->second;
  writeSizes.push_back(size);
  if (noProgressAtByte >= 0 && static_cast<double>(totalWritten) >= noProgressAtByte) {
    Record("Write", open.path, size, 0, 0);
    return 0;
  }
  std::uint64_t n = size;
  if (maxWriteChunk != 0) n = std::min<std::uint64_t>(n, maxWriteChunk);
  if (diskFullAtByte >= 0) {
    const auto limit = static_cast<std::uint64_t>(diskFullAtByte);
    if (totalWritten >= limit) {
      Record("Write", open.path, size, 0, ENOSPC);
      return ENOSPC;
    }
    n = std::min(n, limit - totalWritten);
  }
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  Node& node = *open.node;
  if (sparse) {
    const std::uint64_t start = node.streamBase + node.size;
    std::uint64_t first = (start + kSampleStride - 1) / kSampleStride * kSampleStride;
    for (std::uint64_t o = first; o < start + n; o += kSampleStride) {
      if (bytes[o - start] != PatternByte(o)) ++sampleMismatches;
    }
  } else {
    node.data.append(reinterpret_cast<const char*>(bytes), n);
  }
  node.size += n;
  open.position += n;
  totalWritten += n;
  bytesWritten = n;
  Record("Write", open.path, size, n, 0);
  return 0;
}

int FakeFileInterface::Sync(Handle handle) {
  auto found = handles_.find(handle);
  const int code = found == handles_.end() ? EBADF : syncError;
  Record("Sync", found == handles_.end() ? "" : found->second.path, 0, 0, code);
  if (journal != nullptr) journal->push_back("Sync");
  return code;
}

int FakeFileInterface::SyncFileSystem(const std::string& path) {
  Record("SyncFileSystem", path, 0, 0, syncError);
  if (journal != nullptr) journal->push_back("SyncFileSystem " + path);
  return syncError;
}

int FakeFileInterface::Close(Handle handle) {
  auto found = handles_.find(handle);
  if (found == handles_.end()) {
    Record("Close", "", 0, 0, EBADF);
    return EBADF;
  }
  const std::string path = found->second.path;
  const bool writing = found->second.writing;
  handles_.erase(found);
  const int code = writing && closeErrors.count(path) ? closeErrors.at(path) : 0;
  Record("Close", path, 0, 0, code);
  if (journal != nullptr) journal->push_back(std::string(writing ? "Close part " : "Close source ") + path);
  return code;
}

EntryKind FakeFileInterface::Lookup(const std::string& path) {
  auto found = nodes_.find(path);
  const EntryKind kind = found == nodes_.end() ? EntryKind::None : found->second->kind;
  Record("Lookup", path, 0, 0, 0);
  return kind;
}

std::optional<FileId> FakeFileInterface::IdOfPath(const std::string& path) {
  auto found = nodes_.find(path);
  if (!idsAvailable || found == nodes_.end()) return std::nullopt;
  return found->second->id;
}

std::optional<FileId> FakeFileInterface::IdOfHandle(Handle handle) {
  auto found = handles_.find(handle);
  if (!idsAvailable || found == handles_.end()) return std::nullopt;
  return found->second.node->id;
}

double FakeFileInterface::FreeSpace(const std::string& root) {
  double value = freeSpaceDefault;
  if (!freeSpaceScript.empty()) {
    value = freeSpaceScript.front();
    freeSpaceScript.pop_front();
  }
  Record("FreeSpace", root, 0, 0, 0);
  if (journal != nullptr) journal->push_back("FreeSpace");
  return value;
}

std::string FakeFileInterface::TextOf(int code) {
  return "System text " + std::to_string(code) + ".\n";
}

std::string FakeFileInterface::ErrorText(int code) {
  return TextOf(code);
}

}  // namespace vornak::test
