#pragma once
// Finding the volume a folder lies on: the mount point of the file system that
// holds it.
#include <string>

namespace vornak::posix {

// The mount point of the file system holding folder ("/", "/media/alice/STICK").
// Links are resolved first; a folder that does not exist is looked up through
// its nearest existing parent. Empty for an empty or relative path or when no
// mount point can be found. Never fails.
std::string MountPointOf(const std::string& folder);

}  // namespace vornak::posix
