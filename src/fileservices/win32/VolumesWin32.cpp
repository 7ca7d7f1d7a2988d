// SPDX-License-Identifier: GPL-3.0-or-later
// The volumes on Windows are the drive letters: each one's root ("C:\"), the
// label and file system of the medium in it, and the kind of drive.
#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <iterator>
#include <limits>
#include <string>

#include "fileservices/Volumes.h"
#include "fileservices/win32/WideText.h"

namespace Volumes {

namespace {

const char* driveKind(UINT type) {
  switch (type) {
    case DRIVE_REMOVABLE:
      return "removable";
    case DRIVE_FIXED:
      return "fixed";
    case DRIVE_REMOTE:
      return "network";
    case DRIVE_CDROM:
      return "cdrom";
    case DRIVE_RAMDISK:
      return "ramdisk";
    default:
      return "";
  }
}

char upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// True when path lies on the drive whose root is root ("C:\" or "C:"):
// letters compare without case, and "C:" stands for the root.
bool onDrive(const std::string& root, const std::string& path) {
  if ((root.size() == 3 && root[1] == ':' && root[2] == '\\') || (root.size() == 2 && root[1] == ':')) {
    return path.size() >= 2 && upper(path[0]) == upper(root[0]) && path[1] == ':' &&
           (path.size() == 2 || path[2] == '\\');
  }
  return path.compare(0, root.size(), root) == 0 ||
         (root.size() > 1 && root.back() == '\\' && path == root.substr(0, root.size() - 1));
}

std::vector<Volume> listDrives(bool describe);

}  // namespace

bool isStorageVolume(const Volume& volume) {
  return !volume.mountPoint.empty() && !volume.source.empty();
}

std::vector<Volume> storageVolumes(const std::vector<Volume>& mounts) {
  std::vector<Volume> volumes;
  std::copy_if(mounts.begin(), mounts.end(), std::back_inserter(volumes), isStorageVolume);
  std::sort(volumes.begin(), volumes.end(),
            [](const Volume& a, const Volume& b) { return a.mountPoint < b.mountPoint; });
  return volumes;
}

// The drives in drive's form: a medium that takes a new letter is
// followed there, and one that keeps its letter is simply found again.
std::vector<Volume> readMountTable() {
  std::vector<Volume> drives = listDrives(false);
  for (Volume& drive : drives) {
    if (drive.mountPoint.size() > 2 && drive.mountPoint.back() == '\\') drive.mountPoint.pop_back();
  }
  return drives;
}

double maxFileSizeOf(std::string_view fsType) {
  if (fsType == "FAT" || fsType == "FAT12" || fsType == "FAT16" || fsType == "FAT32") return 4294967295.0;
  return std::numeric_limits<double>::infinity();
}

std::vector<Volume> listVolumes() {
  return listDrives(true);
}

bool hasMedium(const std::string& mountPoint) {
  std::wstring pattern = vornak::win32::widen(mountPoint);
  if (pattern.empty() || pattern.back() != L'\\') pattern += L'\\';
  pattern += L'*';
  vornak::win32::NoCriticalErrorBoxes quiet;
  WIN32_FIND_DATAW entry;
  const HANDLE found =
      ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0);
  if (found == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_FILE_NOT_FOUND;  // an empty root
  ::FindClose(found);
  return true;
}

namespace {

// The drive letters; with describe, also the label and file system of the
// medium in each (a query that may wait for the drive).
std::vector<Volume> listDrives(bool describe) {
  std::vector<Volume> volumes;
  wchar_t buffer[512] = {};
  const DWORD length = ::GetLogicalDriveStringsW(static_cast<DWORD>(std::size(buffer) - 1), buffer);
  if (length == 0 || length >= std::size(buffer)) return volumes;
  vornak::win32::NoCriticalErrorBoxes quiet;
  for (const wchar_t* root = buffer; *root != L'\0'; root += std::wcslen(root) + 1) {
    Volume volume;
    volume.mountPoint = vornak::win32::narrow(root);
    const UINT type = ::GetDriveTypeW(root);
    volume.source = driveKind(type);
    // Diskette drives answer slowly, and only when asked for their medium.
    const wchar_t letter = static_cast<wchar_t>(std::towupper(root[0]));
    if (describe && !(type == DRIVE_REMOVABLE && (letter == L'A' || letter == L'B'))) {
      wchar_t label[MAX_PATH + 1] = {}, fileSystem[MAX_PATH + 1] = {};
      if (::GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, fileSystem,
                                  MAX_PATH + 1)) {
        volume.label = vornak::win32::narrow(label);
        volume.fsType = vornak::win32::narrow(fileSystem);
      }
    }
    volumes.push_back(std::move(volume));
  }
  return volumes;
}

}  // namespace

int findVolume(const std::vector<Volume>& volumes, const std::string& path) {
  int best = -1;
  std::size_t bestLength = 0;
  for (std::size_t i = 0; i < volumes.size(); ++i) {
    const std::string& root = volumes[i].mountPoint;
    if (!root.empty() && onDrive(root, path) && (best < 0 || root.size() > bestLength)) {
      best = static_cast<int>(i);
      bestLength = root.size();
    }
  }
  return best;
}

// As a drive list writes a drive: "c: [SYSTEM]".
std::string displayName(const Volume& volume) {
  std::string name = volume.mountPoint;
  if (name.size() == 3 && name[1] == ':' && name[2] == '\\') {
    name.pop_back();
    if (name[0] >= 'A' && name[0] <= 'Z') name[0] = static_cast<char>(name[0] - 'A' + 'a');
  }
  return volume.label.empty() ? name : name + " [" + volume.label + "]";
}

}  // namespace Volumes
