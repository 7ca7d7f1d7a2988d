// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The drive a folder lies on, on Windows: a drive letter and colon, or the
// \\server\share of a network folder.
#include <functional>
#include <string>

namespace vornak::win32 {

// True when the folder (given with its trailing "\") exists and can be listed.
using FolderProbe = std::function<bool(const std::string& folder)>;
bool listableFolder(const std::string& folder);

// The drive of folder: "C:" when it begins with a letter (any character) and
// ":\", the first prefix "\\server\share" that probe finds to be a folder for
// a network path, empty otherwise. A missing trailing "\" is added first, so
// "C:" means the root of C.
std::string driveOfFolder(std::string folder, const FolderProbe& probe = listableFolder);

}  // namespace vornak::win32
