// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;

namespace vornak::test {

fs::path native(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

TempDir::TempDir() {
  // A new folder of a random name; creating it fails when the name is taken.
  const fs::path base = fs::temp_directory_path();
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    // Six letters or digits, as mkdtemp makes them: tests measure paths shown in windows.
    std::string name = "vornak-test-";
    for (int i = 0; i < 6; ++i)
      name += "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"[random() % 62];
    const fs::path candidate = base / name;
    std::error_code error;
    if (fs::create_directory(candidate, error)) {
      // UTF-8 inside the program, whatever the platform's path type.
      const std::u8string text = candidate.lexically_normal().u8string();
      path_.assign(text.begin(), text.end());
      while (path_.size() > 1 && (path_.back() == '/' || path_.back() == '\\')) path_.pop_back();
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
  std::error_code ignored;
  // Folders a test made unreadable must become readable again to be removed.
  for (auto it = fs::recursive_directory_iterator(native(path_),
                                                  fs::directory_options::skip_permission_denied, ignored);
       !ignored && it != fs::recursive_directory_iterator(); it.increment(ignored)) {
    if (it->is_directory(ignored) && !it->is_symlink(ignored))
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  }
  fs::remove_all(native(path_), ignored);
}

std::string TempDir::writeFile(const std::string& name, const std::string& content) const {
  std::ofstream out(native(join(name)), std::ios::binary | std::ios::trunc);
  if (!(out << content)) throw std::runtime_error("cannot write " + join(name));
  return join(name);
}

std::string TempDir::makeFolder(const std::string& name) const {
  fs::create_directories(native(join(name)));
  return join(name);
}

}  // namespace vornak::test
