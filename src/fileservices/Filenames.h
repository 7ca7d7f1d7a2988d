// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Taking path strings apart. Apart from getDrive, these functions look only at
// the characters of their argument: "dir" and "dir/" are different inputs, and
// nothing checks that a path exists. Every string has a defined result.
#include <cstdint>
#include <string>

namespace Filenames {

#ifdef _WIN32
inline constexpr char kSeparator = '\\';
#else
inline constexpr char kSeparator = '/';
#endif

// The text after the last ".", without the dot; empty when there is no "." or
// the "." is the last character.
std::string getExtension(const std::string& name);
// The text before the last "."; the whole argument when there is no ".".
std::string stripExtension(const std::string& name);
// The text after the last separator; the whole argument when there is none or
// it is the last character.
std::string getFilename(const std::string& path, char separator = kSeparator);
// stripExtension of getFilename: the name without folder and extension.
std::string getTitle(const std::string& path, char separator = kSeparator);
// The text before the last separator. Empty when there is none or the only one
// is the first character; the whole argument when it is the last character.
// On the "/" platform the root of the file system stays "/": getFolder of
// "/movie.avi" is "/".
std::string getFolder(const std::string& path, char separator = kSeparator);
// The volume the path's folder lies on: on Linux the mount point of the file
// system that holds getFolder(path) ("/", "/media/alice/STICK"), links
// resolved; a folder that does not exist counts by its nearest existing parent.
// Empty for an empty or relative path or when none can be found. On Windows
// the drive letter and colon ("C:") of a path that begins with one, the share
// ("\\server\share") of a network path, empty otherwise. Never fails.
std::string getDrive(const std::string& path);
// The volume that holds the folder itself (not its parent): what a target
// folder's free space is measured on.
std::string getFolderDrive(const std::string& folder);
// name read against folder: folder, a separator and name when name is relative
// and folder is not empty; otherwise name itself.
std::string resolve(const std::string& folder, const std::string& name);
// Removes the characters that may not stand in a file name: \ ? : * " < > |
// and the "/" separator, so a base name can never reach outside its folder,
// and the control characters (0x00 to 0x1F and 0x7F). Returns the number of
// characters removed.
std::int32_t removeInvalidChars(std::string& text);

}  // namespace Filenames
