// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Paths and texts are UTF-8 inside the program and UTF-16 at every Windows
// call; these are the two crossings.
#include <string>

namespace vornak::win32 {

// UTF-16 of a UTF-8 text; empty for an empty text, for bytes that are not
// UTF-8 and for a text holding a NUL (which a Windows call would cut off).
std::wstring widen(const std::string& text);
std::string narrow(const std::wstring& text);
// A path as the Windows calls take it: UTF-16, and in the "\\?\" form once it
// is too long for the classic 260-character limit (relative parts, "/" and ".."
// resolved first, since that form takes the path literally). Empty when the
// path cannot be converted.
std::wstring widePath(const std::string& path);

// Keeps Windows from asking "There is no disk in the drive" in a window of its
// own while a drive without a medium is queried; the query just fails.
class NoCriticalErrorBoxes {
 public:
  NoCriticalErrorBoxes();
  ~NoCriticalErrorBoxes();
  NoCriticalErrorBoxes(const NoCriticalErrorBoxes&) = delete;
  NoCriticalErrorBoxes& operator=(const NoCriticalErrorBoxes&) = delete;

 private:
  unsigned long previous_ = 0;
};

}  // namespace vornak::win32
