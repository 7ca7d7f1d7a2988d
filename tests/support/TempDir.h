// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>

namespace vornak::test {

// A UTF-8 path as the standard library's path type (UTF-16 on Windows).
inline std::filesystem::path native(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// An empty folder under the system's temporary folder, removed with its content at the end.
class TempDir {
 public:
  TempDir() {
    namespace fs = std::filesystem;
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
      // Six digits in the place of mkdtemp's six characters: tests measure paths shown in windows.
      const std::string name = "vornak-test-" + std::to_string(100000 + random() % 900000);
      const fs::path candidate = fs::temp_directory_path() / name;
      if (std::error_code error; fs::create_directory(candidate, error)) {
        const std::u8string text = candidate.lexically_normal().u8string();  // UTF-8 on every platform
        path_.assign(text.begin(), text.end());
        while (path_.size() > 1 && (path_.back() == '/' || path_.back() == '\\')) path_.pop_back();
        return;
      }
    }
    throw std::runtime_error("cannot create a temporary folder");
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(native(path_), ignored);
  }
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
  std::string writeFile(const std::string& name, const std::string& content = {}) const {
    std::ofstream out(native(join(name)), std::ios::binary | std::ios::trunc);
    if (!(out << content)) throw std::runtime_error("cannot write " + join(name));
    return join(name);
  }
  std::string makeFolder(const std::string& name) const {  // with its parents; returns its path
    std::filesystem::create_directories(native(join(name)));
    return join(name);
  }

 private:
  std::string path_;
};

}  // namespace vornak::test
