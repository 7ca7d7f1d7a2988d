// The volumes on Windows are the drive letters: each one's root ("C:\"), the
// label and file system of the medium in it, and the kind of drive.
#include <windows.h>

#include <cwctype>

#include "fileservices/Volumes.h"
#include "fileservices/win32/WideText.h"

namespace Volumes {

namespace {

const char* DriveKind(UINT type) {
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

char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// True when path lies on the drive whose root is root ("C:\"): letters
// compare without case, and "C:" stands for the root.
bool OnDrive(const std::string& root, const std::string& path) {
  if (root.size() == 3 && root[1] == ':') {
    return path.size() >= 2 && Upper(path[0]) == Upper(root[0]) && path[1] == ':' &&
           (path.size() == 2 || path[2] == '\\');
  }
  return path.compare(0, root.size(), root) == 0 ||
         (root.size() > 1 && root.back() == '\\' && path == root.substr(0, root.size() - 1));
}

}  // namespace

std::vector<Volume> ListVolumes() {
  std::vector<Volume> volumes;
  wchar_t buffer[512] = {};
  const DWORD length = ::GetLogicalDriveStringsW(static_cast<DWORD>(std::size(buffer) - 1), buffer);
  if (length == 0 || length >= std::size(buffer)) return volumes;
  vornak::win32::NoCriticalErrorBoxes quiet;
  for (const wchar_t* root = buffer; *root != L'\0'; root += std::wcslen(root) + 1) {
    Volume volume;
    volume.mountPoint = vornak::win32::Narrow(root);
    const UINT type = ::GetDriveTypeW(root);
    volume.source = DriveKind(type);
    // Diskette drives answer slowly, and only when asked for their medium.
    const wchar_t letter = static_cast<wchar_t>(std::towupper(root[0]));
    if (!(type == DRIVE_REMOVABLE && (letter == L'A' || letter == L'B'))) {
      wchar_t label[MAX_PATH + 1] = {}, fileSystem[MAX_PATH + 1] = {};
      if (::GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, fileSystem,
                                  MAX_PATH + 1)) {
        volume.label = vornak::win32::Narrow(label);
        volume.fsType = vornak::win32::Narrow(fileSystem);
      }
    }
    volumes.push_back(std::move(volume));
  }
  return volumes;
}

int FindVolume(const std::vector<Volume>& volumes, const std::string& path) {
  int best = -1;
  std::size_t bestLength = 0;
  for (std::size_t i = 0; i < volumes.size(); ++i) {
    const std::string& root = volumes[i].mountPoint;
    if (!root.empty() && OnDrive(root, path) && (best < 0 || root.size() > bestLength)) {
      best = static_cast<int>(i);
      bestLength = root.size();
    }
  }
  return best;
}

// As a drive list writes a drive: "c: [SYSTEM]".
std::string DisplayName(const Volume& volume) {
  std::string name = volume.mountPoint;
  if (name.size() == 3 && name[1] == ':' && name[2] == '\\') {
    name.pop_back();
    if (name[0] >= 'A' && name[0] <= 'Z') name[0] = static_cast<char>(name[0] - 'A' + 'a');
  }
  return volume.label.empty() ? name : name + " [" + volume.label + "]";
}

}  // namespace Volumes
