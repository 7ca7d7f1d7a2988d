#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace vornak::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vornak-test-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (::mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder");
  path_ = buffer.data();
}

TempDir::~TempDir() {
  std::error_code ignored;
  // Folders a test made unreadable must become readable again to be removed.
  for (auto it = std::filesystem::recursive_directory_iterator(
           path_, std::filesystem::directory_options::skip_permission_denied, ignored);
       !ignored && it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ignored);
    }
  }
  ignored.clear();
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Join(const std::string& name) const {
  return path_ + "/" + name;
}

std::string TempDir::WriteFile(const std::string& name, const std::string& content) const {
  const std::string path = Join(name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
  if (!out) throw std::runtime_error("cannot write " + path);
  return path;
}

std::string TempDir::MakeFolder(const std::string& name) const {
  const std::string path = Join(name);
  std::filesystem::create_directories(path);
  return path;
}

}  // namespace vornak::test
