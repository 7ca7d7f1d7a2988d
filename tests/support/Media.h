// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Removable media for tests that run in a private mount namespace (ctest runs
// them under unshare as root): small ext2 images mounted through a loop device.
#ifndef _WIN32
#include <sys/mount.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace vornak::test {

// True when the test runs in a private mount namespace where it may mount.
inline bool PrivateMounts() {
  return std::getenv("VORNAK_PRIVATE_MOUNTS") != nullptr;
}

// Makes an ext2 image of kib KiB at image (reservePercent of it kept for the
// superuser) and mounts it at folder, which is created. False when that fails.
inline bool mountExt2(const std::string& image, const std::string& folder, int kib = 1024,
                      int reservePercent = 0) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  const std::string command = "mkfs.ext2 -q -F -m " + std::to_string(reservePercent) + " '" + image + "' " +
                              std::to_string(kib) + " && mount -o loop '" + image + "' '" + folder + "'";
  return !error && std::system(command.c_str()) == 0;
}

// Unmounts folder at once; the loop device goes with it.
inline bool unmount(const std::string& folder) {
  return ::umount2(folder.c_str(), MNT_DETACH) == 0;
}

}  // namespace vornak::test
#endif
