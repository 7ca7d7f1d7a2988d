#pragma once
// A temporary folder for one test: created empty under the system's temporary
// folder, removed with everything in it when the object goes away.
#include <string>

namespace vornak::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder's absolute path, without a trailing "/".
  const std::string& Path() const { return path_; }
  // Path() + "/" + name.
  std::string Join(const std::string& name) const;
  // Creates (or replaces) the file name with the given content; returns its path.
  std::string WriteFile(const std::string& name, const std::string& content = {}) const;
  // Creates the sub-folder name; returns its path.
  std::string MakeFolder(const std::string& name) const;

 private:
  std::string path_;
};

}  // namespace vornak::test
