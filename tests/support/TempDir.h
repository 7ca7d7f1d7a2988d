// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <filesystem>
#include <string>

namespace vornak::test {

// An empty folder under the system's temporary folder, removed with its content at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }  // absolute, UTF-8, no trailing separator
#ifdef _WIN32
  static constexpr char kSeparator = '\\';
#else
  static constexpr char kSeparator = '/';
#endif
  // name may hold "/" between folder names; the result has the platform's separators.
  std::string join(std::string name) const {
    for (char& c : name)
      if (c == '/') c = kSeparator;
    return path_ + kSeparator + name;
  }
  // Creates or replaces the file; returns its path.
  std::string writeFile(const std::string& name, const std::string& content = {}) const;
  std::string makeFolder(const std::string& name) const;  // with its parents; returns its path

 private:
  std::string path_;
};

// A UTF-8 path as the standard library's path type (UTF-16 on Windows).
std::filesystem::path native(const std::string& utf8);

}  // namespace vornak::test
