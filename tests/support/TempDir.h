#pragma once
#include <string>

namespace vornak::test {

// An empty folder under the system's temporary folder, removed with its content at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }  // absolute, no trailing "/"
  std::string Join(const std::string& name) const { return path_ + "/" + name; }
  // Creates or replaces the file; returns its path.
  std::string WriteFile(const std::string& name, const std::string& content = {}) const;
  std::string MakeFolder(const std::string& name) const;  // with its parents; returns its path

 private:
  std::string path_;
};

}  // namespace vornak::test
