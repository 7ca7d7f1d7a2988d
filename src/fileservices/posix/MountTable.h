// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mount table on Linux, read with libmount: the mount point of the file
// system that holds a folder, and the volumes of a mountinfo text.
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "fileservices/Volumes.h"

namespace Volumes {

// The storage volumes of a mountinfo text, escapes decoded; lines that cannot
// be read are skipped. labelsByDevice maps a device path ("/dev/sdb1") to its
// file system label.
std::vector<Volume> parseMountInfo(std::string_view text,
                                   const std::map<std::string, std::string>& labelsByDevice = {});

}  // namespace Volumes

namespace vornak::posix {

// The mount point of the file system holding folder ("/", "/media/alice/STICK").
// Links are resolved first; a folder that does not exist is looked up through
// its nearest existing parent. Empty for an empty or relative path or when no
// mount point can be found. Never fails.
std::string mountPointOf(const std::string& folder);

}  // namespace vornak::posix
