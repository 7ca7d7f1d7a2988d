// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/Media.h"

#include <sys/mount.h>

#include <cstdlib>
#include <filesystem>

namespace vornak::test {

bool PrivateMounts() {
  return std::getenv("VORNAK_PRIVATE_MOUNTS") != nullptr;
}

bool mountExt2(const std::string& image, const std::string& folder, int kib, int reservePercent) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  const std::string command = "mkfs.ext2 -q -F -m " + std::to_string(reservePercent) + " '" + image + "' " +
                              std::to_string(kib) + " && mount -o loop '" + image + "' '" + folder + "'";
  return !error && std::system(command.c_str()) == 0;
}

bool unmount(const std::string& folder) {
  return ::umount2(folder.c_str(), MNT_DETACH) == 0;
}

}  // namespace vornak::test
