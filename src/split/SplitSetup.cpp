// SPDX-License-Identifier: GPL-3.0-or-later
#include "split/SplitSetup.h"

#include <exception>
#include <utility>

#include "fileservices/Filenames.h"
#include "fileservices/HugeFileFunctions.h"
#include "parts/PartSize.h"
#include "parts/Presets.h"

namespace vornak {

namespace {

// Blanks (and only blanks) removed at both ends.
std::string trimBlanks(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

SplitSetup::SplitSetup(FileInterface& files, std::string workingFolder)
    : files_(files), workingFolder_(std::move(workingFolder)) {}

void SplitSetup::setFileText(const std::string& typed) {
  try {
    state_.sourcePath = getSourceFilename(typed, files_, workingFolder_);
  } catch (const std::exception&) {
    state_.sourcePath.clear();  // a name the system cannot look up is no source
  }
  state_.fileSize = HugeFileFunctions::getHugeFileSize(state_.sourcePath);
}

void SplitSetup::setPartSizeText(const std::string& text, char decimalSeparator) {
  state_.partSize = getPartSize(text, decimalSeparator);
}

void SplitSetup::fileChosen(const std::string& path) {
  browseFolder_ = Filenames::getFolder(path);
  workingFolder_ = browseFolder_;
}

std::string SplitSetup::browseFolder(const std::string& typed) {
  if (browseFolder_.empty() && !trimBlanks(typed).empty())
    browseFolder_ = Filenames::getFolder(Filenames::resolve(workingFolder_, trimBlanks(typed)));
  return browseFolder_;
}

bool SplitSetup::canSplit() const {
  return state_.partSize > 0 && !state_.sourcePath.empty() && state_.partSize < state_.fileSize;
}

Diagram SplitSetup::diagram(int width, int height) const {
  DiagramInput input;
  input.width = width;
  input.height = height;
  input.haveSourceFile = !state_.sourcePath.empty();
  input.fileSize = state_.fileSize;
  input.partSize = state_.partSize;
  return computeDiagram(input);
}

std::optional<std::string> SplitSetup::sizeForClick(const DiagramClick& click, int width) const {
  return clickToSize(state_.fileSize, !state_.sourcePath.empty(), width, click);
}

}  // namespace vornak
