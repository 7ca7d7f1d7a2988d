// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/FakeFileInterface.h"

#include <algorithm>
#include <cerrno>

#include "fileservices/Filenames.h"

namespace vornak::test {

unsigned char FakeFileInterface::patternByte(std::uint64_t offset) {
  std::uint64_t x = (offset ^ (offset >> 29)) * 0xBF58476D1CE4E5B9ULL;
  return static_cast<unsigned char>((x ^ (x >> 31)) >> 56);
}

std::vector<Volumes::Volume> FakeFileInterface::defaultMounts() {
  const std::string separator(1, Filenames::kSeparator);
  return {{separator, "", "ext4", "/dev/sda1"}, {separator + "t", "", "ext4", "/dev/sdb1"}};
}

std::shared_ptr<FakeFileInterface::Node>& FakeFileInterface::add(const std::string& path) {
  auto& node = nodes_[path] = std::make_shared<Node>();
  node->id = FileId{7, nextInode_++};
  return node;
}

int FakeFileInterface::openRead(const std::string& path, Handle& handle) {
  handle = kNoHandle;
  auto found = nodes_.find(path);
  if (openReadErrors.count(path)) return openReadErrors.at(path);
  if (found == nodes_.end()) return ENOENT;
  if (found->second->folder) return EISDIR;
  handle = nextHandle_++;
  handles_[handle] = Open{found->second, path, false, 0};
  return 0;
}

int FakeFileInterface::createPart(const std::string& path, Handle, Handle& handle) {
  handle = kNoHandle;
  auto found = nodes_.find(path);
  if (createErrors.count(path)) return createErrors.at(path);
  if (found != nodes_.end() && found->second->folder) return EISDIR;
  // An existing file is truncated in place and keeps its identity.
  std::shared_ptr<Node> node = found != nodes_.end() ? found->second : add(path);
  *node = Node{false, 0, totalWritten, node->id};
  handle = nextHandle_++;
  handles_[handle] = Open{node, path, true, 0};
  created.push_back(path);
  note("CreatePart " + path);
  return 0;
}

int FakeFileInterface::read(Handle handle, void* buffer, std::size_t size, std::size_t& bytesRead) {
  bytesRead = 0;
  Open& open = handles_.at(handle);
  readSizes.push_back(size);
  std::uint64_t end = open.node->size;
  if (sourceEndsAtByte >= 0) end = std::min(end, static_cast<std::uint64_t>(sourceEndsAtByte));
  if (readErrorAtByte >= 0) {
    if (open.position >= static_cast<std::uint64_t>(readErrorAtByte)) return EIO;
    end = std::min(end, static_cast<std::uint64_t>(readErrorAtByte));
  }
  const std::uint64_t n = open.position >= end ? 0 : std::min<std::uint64_t>(size, end - open.position);
  const std::uint64_t step = stride();
  for (std::uint64_t o = (open.position + step - 1) / step * step; o < open.position + n; o += step) {
    static_cast<unsigned char*>(buffer)[o - open.position] = patternByte(o);
  }
  open.position += n;
  bytesRead = n;
  return 0;
}

int FakeFileInterface::write(Handle handle, const void* buffer, std::size_t size, std::size_t& bytesWritten) {
  bytesWritten = 0;
  Node& node = *handles_.at(handle).node;
  writeSizes.push_back(size);
  if (noProgressAtByte >= 0 && static_cast<double>(totalWritten) >= noProgressAtByte) return 0;
  std::uint64_t n = maxWriteChunk != 0 ? std::min<std::uint64_t>(size, maxWriteChunk) : size;
  if (diskFullAtByte >= 0) {
    const auto limit = static_cast<std::uint64_t>(diskFullAtByte);
    if (totalWritten >= limit) return ENOSPC;
    n = std::min(n, limit - totalWritten);
  }
  const std::uint64_t start = node.streamBase + node.size, step = stride();
  for (std::uint64_t o = (start + step - 1) / step * step; o < start + n; o += step) {
    if (static_cast<const unsigned char*>(buffer)[o - start] != patternByte(o)) ++mismatches;
  }
  node.size += n;
  totalWritten += n;
  bytesWritten = n;
  return 0;
}

int FakeFileInterface::close(Handle handle) {
  const Open open = handles_.at(handle);
  handles_.erase(handle);
  note((open.writing ? "Close part " : "Close source ") + open.path);
  return open.writing && closeErrors.count(open.path) ? closeErrors.at(open.path) : 0;
}

EntryKind FakeFileInterface::lookup(const std::string& path) {
  auto found = nodes_.find(path);
  if (found == nodes_.end()) return EntryKind::None;
  return found->second->folder ? EntryKind::Folder : EntryKind::File;
}

std::optional<FileId> FakeFileInterface::idOfPath(const std::string& path) {
  auto found = nodes_.find(path);
  return found == nodes_.end() ? std::nullopt : std::optional(found->second->id);
}

double FakeFileInterface::freeSpace(const std::string& root) {
  note("FreeSpace " + root);
  if (freeSpaceScript.empty()) return 1e15;
  const double value = freeSpaceScript.front();
  freeSpaceScript.pop_front();
  return value;
}

}  // namespace vornak::test
