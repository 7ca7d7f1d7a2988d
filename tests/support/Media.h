// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Removable media for tests that run in a private mount namespace (ctest runs
// them under unshare as root): small ext2 images mounted through a loop device.
#include <string>

namespace vornak::test {

// True when the test runs in a private mount namespace where it may mount.
bool PrivateMounts();

// Makes an ext2 image of kib KiB at image (reservePercent of it kept for the
// superuser) and mounts it at folder, which is created. False when that fails.
bool mountExt2(const std::string& image, const std::string& folder, int kib = 1024, int reservePercent = 0);

// Unmounts folder at once; the loop device goes with it.
bool unmount(const std::string& folder);

}  // namespace vornak::test
