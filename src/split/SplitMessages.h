// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one place where the split command's and the split loop's situations and
// failures become the texts, icons and buttons the user sees. Failures travel
// as SplitError values up to errorMessage; questions have builders of their own.
#include <string>

#include "fileservices/Question.h"

namespace vornak {

struct SplitError {
  enum class Kind {
    PartOpen,        // a part file cannot be created (path: the part)
    Read,            // the source cannot be read (path: the source)
    Write,           // a part file cannot be written, flushed or closed (path: the part)
    Processing,      // a failure without a message of its own during a pass (path: the part)
    SourceOpen,      // the source cannot be opened (path: the source)
    Initialisation,  // a failure while preparing the split (path unused)
    FolderBusy,      // another run is writing parts into the folder (path: the folder)
    SourceChanged,   // the source changed while it was split (path: the source)
  };
  Kind kind = Kind::Processing;
  std::string path;
  int code = 0;  // the system error number, 0 when there is none
  // The system's text for code (ending in a line break), or a line of our own
  // when the failure has no system error; for Processing and Initialisation
  // the failure's description.
  std::string detail;
};

// The message that reports an error.
Message errorMessage(const SplitError& error);

// "Contact the technical support at " + web address + " to get help."
std::string supportSentence();

// Detail lines for failures that have no system error number.
inline constexpr const char* kSourceShrankDetail = "The file became shorter while it was being split.\n";
inline constexpr const char* kPartIsSourceDetail = "This is the file being split.\n";
inline constexpr const char* kNoProgressDetail = "The medium accepted no more data.\n";

// Questions of the split loop.
Message overwriteQuestion(const std::string& partPath);
Message mediumQuestion(const std::string& drive);
// A part is longer than the largest file the medium can hold (largest bytes).
Message fileSizeLimitMessage(const std::string& drive, double largest);

// Messages of the split command.
Message sourceMissingMessage(const std::string& filenameText);
Message partSizeMessage(char decimalSeparator);
Message lengthMessage();
Message tooManyPartsMessage();
Message manyPartsQuestion();

// The progress window's question before it raises its cancel flag.
Message cancelQuestion();

}  // namespace vornak
