// SPDX-License-Identifier: GPL-3.0-or-later
#include "split/SplitMessages.h"

#include "Version.h"
#include "parts/PartSize.h"

namespace vornak {

namespace {

Message exclamation(std::string text) {
  return Message{std::move(text), Icon::Exclamation, Buttons::Ok, 0};
}

}  // namespace

std::string supportSentence() {
  return std::string("Contact the technical support at ") + kWebAddress + " to get help.";
}

Message errorMessage(const SplitError& error) {
  switch (error.kind) {
    case SplitError::Kind::PartOpen:
      return exclamation("Cannot open the file " + error.path + ".\n" + error.detail +
                         "\n\nCheck the file and try again.");
    case SplitError::Kind::Read:
      return exclamation("An error occured while reading the file " + error.path + ".\n" + error.detail +
                         "\n\nCheck the file and try again.");
    case SplitError::Kind::Write:
      return exclamation("An error occured while writing the file " + error.path + ".\n" + error.detail +
                         "\n\nCheck the file and try again.");
    case SplitError::Kind::Processing:
      return exclamation("The following error occured while processing the file " + error.path + ":\n" +
                         error.detail + "\n\n" + supportSentence());
    case SplitError::Kind::SourceOpen:
      return exclamation("Cannot open the file " + error.path + ".\n" + error.detail +
                         "\n\nCheck the file and try again.");
    case SplitError::Kind::Initialisation:
      return exclamation("The following error occured while initializing the split process:\n" +
                         error.detail + "\n\n" + supportSentence());
    case SplitError::Kind::FolderBusy:
      return exclamation("Another split is writing into the folder " + error.path +
                         ".\n\nWait until it has finished and try again.");
    case SplitError::Kind::SourceChanged:
      return exclamation(
          "The file " + error.path +
          " changed while it was being split.\nThe parts may not join to the file as it is now."
          "\n\nCheck the file and split it again.");
  }
  return exclamation(error.detail);
}

Message overwriteQuestion(const std::string& partPath) {
  return Message{"The file " + partPath + " already exists.\nContinuing will overwrite it.",
                 Icon::Information, Buttons::OkCancel, 1};
}

Message mediumQuestion(const std::string& drive) {
  return Message{
      "Not enough free space on medium (" + drive + ").\n\nPlease insert another medium and push Retry.",
      Icon::Exclamation, Buttons::RetryCancel, 0};
}

Message fileSizeLimitMessage(const std::string& drive, double largest) {
  return exclamation("The medium (" + drive + ") cannot hold a file larger than " +
                     std::to_string(static_cast<unsigned long long>(largest)) +
                     " bytes.\n\nChoose a smaller part size and split again.");
}

Message sourceMissingMessage(const std::string& filenameText) {
  return exclamation("Cannot find the file " + filenameText + ".\n\nCheck the filename and try again.");
}

Message partSizeMessage(char decimalSeparator) {
  return exclamation(
      "The value in 'Size of split files' is not correct.\n\n"
      "Valid input are the digits 0-9 followed by KB or MB if required.\n"
      "e.g. 12345, 12 KB, " +
      numberText(12.34, decimalSeparator) + " KB, 1 MB, " + numberText(1.234, decimalSeparator) + " MB");
}

Message lengthMessage() {
  return exclamation("The length of your file is not greater than \nthe value in 'Size of split files'.");
}

Message tooManyPartsMessage() {
  return exclamation("Vornak cannot create more than 32736 files.");
}

Message manyPartsQuestion() {
  return Message{"You will create more than 100 files.\nDo you want to continue?", Icon::Question,
                 Buttons::YesNo, 0};
}

Message cancelQuestion() {
  return Message{"Do you really want to cancel the process?", Icon::Question, Buttons::YesNo, 0};
}

}  // namespace vornak
