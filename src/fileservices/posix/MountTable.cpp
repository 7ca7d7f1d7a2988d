// SPDX-License-Identifier: GPL-3.0-or-later
// The mount table on Linux, read with util-linux's libmount: the volumes of
// the drive list and the mount point that holds a folder.
#include "fileservices/posix/MountTable.h"

#include <libmount/libmount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>

#include "fileservices/Volumes.h"

namespace {

struct TableDeleter {
  void operator()(libmnt_table* table) const { mnt_unref_table(table); }
};
using Table = std::unique_ptr<libmnt_table, TableDeleter>;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// A line that cannot be read is passed over; the rest of the table still counts.
int skipBadLine(libmnt_table*, const char*, int) {
  return 1;
}

// The table read from stream (mountinfo lines); null when it cannot be read.
Table parseStream(std::FILE* stream, const char* name) {
  Table table(mnt_new_table());
  if (!table || stream == nullptr) return nullptr;
  mnt_table_set_parser_errcb(table.get(), skipBadLine);
  if (mnt_table_parse_stream(table.get(), stream, name) != 0) return nullptr;
  return table;
}

Table readOwnTable() {
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen("/proc/self/mountinfo", "re"));
  return file ? parseStream(file.get(), "/proc/self/mountinfo") : nullptr;
}

// The process's mount table, read again only when libmount's monitor reports
// that the kernel's table has changed: the split looks at it before every
// part, and a desktop's table runs to dozens of lines. A forked child or a new
// mount namespace starts a monitor of its own. Null when it cannot be read.
libmnt_table* ownTable() {
  static struct Cache {
    Table table;
    libmnt_monitor* monitor = nullptr;
    pid_t process = 0;
    ino_t mountNamespace = 0;
  } cache;
  struct stat space {};
  ::stat("/proc/self/ns/mnt", &space);
  bool changed = true;
  if (cache.process != ::getpid() || cache.mountNamespace != space.st_ino) {
    if (cache.monitor != nullptr) mnt_unref_monitor(cache.monitor);
    cache.monitor = mnt_new_monitor();
    if (cache.monitor != nullptr &&
        (mnt_monitor_enable_kernel(cache.monitor, 1) != 0 || mnt_monitor_get_fd(cache.monitor) < 0)) {
      mnt_unref_monitor(cache.monitor);
      cache.monitor = nullptr;
    }
    cache.process = ::getpid();
    cache.mountNamespace = space.st_ino;
  } else if (cache.monitor != nullptr && cache.table) {
    const char* name = nullptr;
    int type = 0;
    // 1: nothing happened since the last look; a change or an error reads again.
    changed = mnt_monitor_next_change(cache.monitor, &name, &type) != 1;
  }
  if (changed) {
    if (cache.monitor != nullptr) mnt_monitor_event_cleanup(cache.monitor);
    cache.table = readOwnTable();
  }
  return cache.table.get();
}

std::string text(const char* text) {
  return text != nullptr ? text : "";
}

std::vector<Volumes::Volume> mountsOf(libmnt_table* table) {
  std::vector<Volumes::Volume> mounts;
  if (table == nullptr) return mounts;
  libmnt_iter* iterator = mnt_new_iter(MNT_ITER_FORWARD);
  libmnt_fs* fs = nullptr;
  while (iterator != nullptr && mnt_table_next_fs(table, iterator, &fs) == 0) {
    Volumes::Volume volume{text(mnt_fs_get_target(fs)), "", text(mnt_fs_get_fstype(fs)),
                           text(mnt_fs_get_source(fs))};
    if (!volume.mountPoint.empty()) mounts.push_back(std::move(volume));
  }
  mnt_free_iter(iterator);
  return mounts;
}

// The file system labels of /dev/disk/by-label, by the device they name.
std::map<std::string, std::string> labelsByDevice() {
  std::map<std::string, std::string> labels;
  std::error_code error;
  for (std::filesystem::directory_iterator it("/dev/disk/by-label", error), end; !error && it != end;
       it.increment(error)) {
    std::error_code linkError;
    const auto device = std::filesystem::canonical(it->path(), linkError);
    if (linkError) continue;
    // udev writes blanks and other bytes of a label as "\x20".
    std::string name = it->path().filename().string(), label;
    for (std::size_t i = 0; i < name.size(); ++i) {
      if (name.compare(i, 2, "\\x") == 0 && i + 3 < name.size() &&
          std::isxdigit(static_cast<unsigned char>(name[i + 2])) &&
          std::isxdigit(static_cast<unsigned char>(name[i + 3]))) {
        label += static_cast<char>(std::stoi(name.substr(i + 2, 2), nullptr, 16));
        i += 3;
      } else {
        label += name[i];
      }
    }
    labels[device.string()] = label;
  }
  return labels;
}

std::string parentOf(const std::string& path) {
  const std::size_t index = path.rfind('/');
  if (index == std::string::npos || index == 0) return "/";
  return path.substr(0, index);
}

// The absolute, link-free form of the nearest existing folder at or above path;
// empty when there is none.
std::string existingCanonical(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  for (;;) {
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
      std::string result(resolved);
      std::free(resolved);
      return result;
    }
    if (path == "/") return {};
    path = parentOf(path);
  }
}

// Walks up from an existing absolute path while the device number stays the
// same; used when the mount table cannot be read.
std::string mountPointByDevice(std::string path, dev_t device) {
  while (path != "/") {
    const std::string parent = parentOf(path);
    struct stat parentInfo {};
    if (::stat(parent.c_str(), &parentInfo) != 0 || parentInfo.st_dev != device) break;
    path = parent;
  }
  return path;
}

}  // namespace

namespace Volumes {

std::vector<Volume> parseMountInfo(std::string_view text,
                                   const std::map<std::string, std::string>& labelsByDevice) {
  std::vector<Volume> mounts;
  if (!text.empty()) {
    std::string copy(text);  // fmemopen reads from writable memory
    const std::unique_ptr<std::FILE, FileCloser> stream(fmemopen(copy.data(), copy.size(), "r"));
    mounts = mountsOf(parseStream(stream.get(), "mountinfo").get());
  }
  std::vector<Volume> volumes = storageVolumes(mounts);
  for (Volume& volume : volumes) {
    if (const auto label = labelsByDevice.find(volume.source); label != labelsByDevice.end())
      volume.label = label->second;
  }
  return volumes;
}

std::vector<Volume> readMountTable() {
  return mountsOf(ownTable());
}

bool hasMedium(const std::string&) {
  return true;
}

std::vector<Volume> listVolumes() {
  const std::map<std::string, std::string> labels = labelsByDevice();
  std::vector<Volume> volumes = storageVolumes(readMountTable());
  // The mount table may name a device by another of its links (/dev/mapper/x for /dev/dm-0).
  for (Volume& volume : volumes) {
    if (volume.source.rfind("/dev/", 0) != 0) continue;
    std::error_code linkError;
    const auto device = std::filesystem::canonical(volume.source, linkError);
    if (const auto label = labels.find(linkError ? volume.source : device.string()); label != labels.end())
      volume.label = label->second;
  }
  return volumes;
}

}  // namespace Volumes

namespace vornak::posix {

std::string mountPointOf(const std::string& folder) {
  // Only absolute paths name a place on a volume; relative ones depend on the
  // current folder, which is not consulted.
  if (folder.empty() || folder[0] != '/') return {};
  std::string path = existingCanonical(folder);
  if (path.empty()) return {};
  struct stat info {};
  const bool haveDevice = ::stat(path.c_str(), &info) == 0;
  libmnt_table* const table = ownTable();
  if (table == nullptr) return haveDevice ? mountPointByDevice(path, info.st_dev) : std::string();
  // The latest mount at the nearest folder at or above the path whose
  // components hold it. A mount hidden under a later mount over one of its
  // parents is on another device: it is passed by.
  for (;;) {
    libmnt_fs* fs = mnt_table_find_mountpoint(table, path.c_str(), MNT_ITER_BACKWARD);
    if (fs == nullptr) return haveDevice ? mountPointByDevice(path, info.st_dev) : std::string();
    const std::string point = text(mnt_fs_get_target(fs));
    struct stat pointInfo {};
    if (!haveDevice || point == "/" ||
        (::stat(point.c_str(), &pointInfo) == 0 && pointInfo.st_dev == info.st_dev))
      return point;
    path = parentOf(point);
  }
}

}  // namespace vornak::posix
