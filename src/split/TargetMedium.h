// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The medium that the parts go to: the volume at the target's drive, which
// the user may change between parts and which may come back at another
// mount point.
#include <string>
#include <vector>

#include "destination/TargetRecord.h"
#include "fileservices/FileInterface.h"

namespace vornak {

class TargetMedium {
 public:
  // drive and folder of target follow the medium.
  TargetMedium(FileInterface& files, TargetRecord& target) : files_(files), target_(target) {}

  // The root folder of drive, with a separator at its end.
  std::string root() const;
  // A medium is in the drive when a mount sits exactly at drive; the root
  // always is. Without one the free space counts as -1, so nothing is ever
  // written into the bare folder that a medium leaves behind.
  bool mounted();
  double freeSpace() { return mounted() ? files_.freeSpace(root()) : -1; }
  // Exactly one storage volume that is not in before: drive becomes its
  // mount point and folder the same folder below it.
  bool follow(const std::vector<Volumes::Volume>& before);

 private:
  FileInterface& files_;
  TargetRecord& target_;
};

}  // namespace vornak
