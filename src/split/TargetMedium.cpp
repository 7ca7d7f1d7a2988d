// SPDX-License-Identifier: GPL-3.0-or-later
#include "split/TargetMedium.h"

#include <algorithm>

#include "fileservices/Filenames.h"

namespace vornak {

std::string TargetMedium::root() const {
  std::string root = target_.drive;
  if (root.empty() || root.back() != Filenames::kSeparator) root += Filenames::kSeparator;
  return root;
}

bool TargetMedium::mounted() {
  if (root() == std::string(1, Filenames::kSeparator)) return true;
  const std::vector<Volumes::Volume> mounts = files_.mountedVolumes();
  return std::any_of(mounts.begin(), mounts.end(),
                     [&](const Volumes::Volume& v) { return v.mountPoint == target_.drive; });
}

bool TargetMedium::follow(const std::vector<Volumes::Volume>& before) {
  std::vector<Volumes::Volume> appeared;
  for (const Volumes::Volume& volume : Volumes::storageVolumes(files_.mountedVolumes())) {
    if (std::none_of(before.begin(), before.end(),
                     [&](const Volumes::Volume& v) { return v.mountPoint == volume.mountPoint; }))
      appeared.push_back(volume);
  }
  const std::string& drive = target_.drive;
  const std::string& path = target_.folder;
  const bool below = path.compare(0, drive.size(), drive) == 0 &&
                     (path.size() == drive.size() || path[drive.size()] == Filenames::kSeparator);
  if (appeared.size() != 1 || drive.empty() || !below) return false;
  target_.folder = appeared.front().mountPoint + path.substr(drive.size());
  target_.drive = appeared.front().mountPoint;
  return true;
}

}  // namespace vornak
