// SPDX-License-Identifier: GPL-3.0-or-later
#include "split/SplitMessages.h"

#include "Version.h"
#include "parts/PartSize.h"

namespace vornak {

namespace {

Message Exclamation(std::string text) {
  return Message{std::move(text), Icon::Exclamation, Buttons::Ok, 0};
}

}  // namespace

std::string SupportSentence() {
  return std::string("Contact the technical support at ") + kWebAddress + " to get help.";
}

Message ErrorMessage(const SplitError& error) {
  switch (error.kind) {
    case SplitError::Kind::PartOpen:
      return Exclamation("Cannot open the file " + error.path + ".\n" + error.detail +
                         "\n\nCheck the file and try again.");
    case SplitError::Kind::Read:
      return Exclamation("An error occured while reading the file " + error.path + ".\n" + error.detail +
                         "\n\nCheck the file and try again.");
    case SplitError::Kind::Write:
      return Exclamation("An error occured while writing the file " + error.path + ".\n" + error.detail +
                         "\n\nCheck the file and try again.");
    case SplitError::Kind::Processing:
      return Exclamation("The following error occured while processing the file " + error.path + ":\n" +
                         error.detail + "\n\n" + SupportSentence());
    case SplitError::Kind::SourceOpen:
      return Exclamation("Cannot open the file " + error.path + ".\n" + error.detail +
                         "\n\nCheck the file and try again.");
    case SplitError::Kind::Initialisation:
      return Exclamation("The following error occured while initializing the split process:\n" +
                         error.detail + "\n\n" + SupportSentence());
  }
  return Exclamation(error.detail);
}

Message OverwriteQuestion(const std::string& partPath) {
  return Message{"The file " + partPath + " already exists.\nContinuing will overwrite it.",
                 Icon::Information, Buttons::OkCancel, 1};
}

Message MediumQuestion(const std::string& savedrive) {
  return Message{
      "Not enough free space on medium (" + savedrive + ").\n\nPlease insert another medium and push Retry.",
      Icon::Exclamation, Buttons::RetryCancel, 0};
}

Message FileSizeLimitMessage(const std::string& savedrive, double largest) {
  return Exclamation("The medium (" + savedrive + ") cannot hold a file larger than " +
                     std::to_string(static_cast<unsigned long long>(largest)) +
                     " bytes.\n\nChoose a smaller part size and split again.");
}

Message SourceMissingMessage(const std::string& filenameText) {
  return Exclamation("Cannot find the file " + filenameText + ".\n\nCheck the filename and try again.");
}

Message PartSizeMessage(char decimalSeparator) {
  return Exclamation(
      "The value in 'Size of split files' is not correct.\n\n"
      "Valid input are the digits 0-9 followed by KB or MB if required.\n"
      "e.g. 12345, 12 KB, " +
      NumberText(12.34, decimalSeparator) + " KB, 1 MB, " + NumberText(1.234, decimalSeparator) + " MB");
}

Message LengthMessage() {
  return Exclamation("The length of your file is not greater than \nthe value in 'Size of split files'.");
}

Message TooManyPartsMessage() {
  return Exclamation("Vornak cannot create more than 32736 files.");
}

Message ManyPartsQuestion() {
  return Message{"You will create more than 100 files.\nDo you want to continue?", Icon::Question,
                 Buttons::YesNo, 0};
}

Message CancelQuestion() {
  return Message{"Do you really want to cancel the process?", Icon::Question, Buttons::YesNo, 0};
}

}  // namespace vornak
