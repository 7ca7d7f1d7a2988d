#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace vornak::test {

TempDir::TempDir() : path_((fs::temp_directory_path() / "vornak-test-XXXXXX").string()) {
  if (::mkdtemp(path_.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
  std::error_code ignored;
  // Folders a test made unreadable must become readable again to be removed.
  for (auto it =
           fs::recursive_directory_iterator(path_, fs::directory_options::skip_permission_denied, ignored);
       !ignored && it != fs::recursive_directory_iterator(); it.increment(ignored)) {
    if (it->is_directory(ignored) && !it->is_symlink(ignored))
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  }
  fs::remove_all(path_, ignored);
}

std::string TempDir::WriteFile(const std::string& name, const std::string& content) const {
  std::ofstream out(Join(name), std::ios::binary | std::ios::trunc);
  if (!(out << content)) throw std::runtime_error("cannot write " + Join(name));
  return Join(name);
}

std::string TempDir::MakeFolder(const std::string& name) const {
  fs::create_directories(Join(name));
  return Join(name);
}

}  // namespace vornak::test
